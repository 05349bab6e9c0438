#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-svg-dev libblkid-dev libgtest-dev
          qt6-translations-l10n                    # Qt's standard buttons in Dutch
          xvfb                                     # tools/screenshots.sh
          e2fsprogs dosfstools acl                 # mkfs for test images; setfacl for the ACL tests
          strace                                   # the order of flushes in a real run
          dbus                                     # dbus-run-session for the desktop notice tests
          desktop-file-utils appstream man-db file # validators of tools/check-install.sh
          dpkg-dev                                 # dpkg-shlibdeps for cpack -G DEB
          shellcheck)                              # our own scripts, warnings as errors
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
