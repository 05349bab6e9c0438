#!/usr/bin/env bash
# Checks the program as a packager and a new user meet it:
#   1. a Release build for /usr, tests included, warnings as errors
#      (BUILD_DIR, build-pkg/): what a packager types, with GCC's -O3 warnings;
#   2. `cmake --install` into a staging folder: the files, the validators,
#      the man page and the bash completion against --help;
#   3. the staged copy is a portable one: Init.dat beside it;
#   4. `cpack -G DEB`; as root and where no zandvast package is installed:
#      dpkg -i, a run of /usr/bin/zandvast that keeps Init.dat in the user's
#      data folder, the example systemd units, dpkg -r, nothing left.
#   tools/check-install.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build-pkg}"
tmp="$(mktemp -d)"
installed_by_us=
failures=0

cleanup() {
    if [ -n "$installed_by_us" ] && dpkg-query -W -f='${Status}' zandvast 2>/dev/null |
        grep -q 'install ok installed'; then
        dpkg -r zandvast >/dev/null || true
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}
ok() { echo "ok: $*"; }
skip() { echo "skipped: $*"; }
have() { command -v "$1" >/dev/null 2>&1; }

# A run as cron starts it (no display, no runtime folder) in $tmp/work, into
# an empty $tmp/backup. Prints its output and a non-zero exit status.
run_as_cron() {
    rm -rf "$tmp/backup" "$tmp/work" && mkdir -p "$tmp/backup" "$tmp/work"
    (cd "$tmp/work" && env -i PATH=/usr/bin:/bin LC_ALL=C.UTF-8 HOME="$tmp/home" \
        timeout -s KILL 60 "$@" 2>&1) || echo "exit status $?"
}
# The job as options: $tmp/source into $tmp/backup.
job=(-ps "$tmp/source" -pd "$tmp/backup" -cd 0 -vf 1)
copied() { cmp -s "$tmp/source/sub/boom.txt" "$tmp/backup/sub/boom.txt"; }

# --- 1. Release build ----------------------------------------------------
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DZV_BUILD_TESTS=ON -DZV_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
ok "Release build for /usr, tests included"

# --- 2. cmake --install ----------------------------------------------------
stage="$tmp/stage"
DESTDIR="$stage" cmake --install "$build" >/dev/null
id=nl.zandvast.Zandvast
expected=(
    usr/bin/zandvast
    "usr/share/applications/$id.desktop"
    usr/share/bash-completion/completions/zandvast
    usr/share/doc/zandvast/README.md
    usr/share/doc/zandvast/ZandvastHelp.html
    usr/share/doc/zandvast/examples/zandvast-nightly.service
    usr/share/doc/zandvast/examples/zandvast-nightly.timer
    "usr/share/icons/hicolor/scalable/apps/$id.svg"
    usr/share/man/man1/zandvast.1
    "usr/share/metainfo/$id.metainfo.xml"
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
    file "$stage/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" |
        grep -q "PNG image data, $size x $size," || fail "the ${size}px icon is no ${size}x${size} PNG"
done
laid_out="$(cd "$stage" && find . -type f -printf '%P\n' | sort)"
if [ "$laid_out" = "$(printf '%s\n' "${expected[@]}" | sort)" ]; then
    ok "install layout (${#expected[@]} files)"
else
    fail "install layout differs:"
    diff <(printf '%s\n' "${expected[@]}" | sort) <(echo "$laid_out") >&2 || true
fi

if have desktop-file-validate; then
    desktop-file-validate "$stage/usr/share/applications/$id.desktop" &&
        ok "desktop-file-validate" || fail "desktop-file-validate"
else
    skip "desktop-file-validate is missing (package desktop-file-utils)"
fi
if have appstreamcli; then
    appstreamcli validate --no-net "$stage/usr/share/metainfo/$id.metainfo.xml" >"$tmp/as" 2>&1 &&
        ok "appstreamcli validate" || { cat "$tmp/as" >&2; fail "appstreamcli validate"; }
else
    skip "appstreamcli is missing (package appstream)"
fi
if have man; then
    warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$stage/usr/share/man/man1/zandvast.1" \
        2>&1 >"$tmp/man.txt")"
    [ -z "$warnings" ] && ok "man --warnings" || fail "man page warnings: $warnings"
else
    skip "man is missing (package man-db)"
    : >"$tmp/man.txt"
fi

# Every option --help names is in the man page and in the completion.
options="$("$stage/usr/bin/zandvast" --help | grep -oE '(^|[[:space:]])--?[a-z]+' | tr -d ' ' |
    sort -u)"
completion="$(bash -c 'source "$1"; COMP_WORDS=(zandvast ""); COMP_CWORD=1; _zandvast
    printf "%s\n" "${COMPREPLY[@]}"; COMP_WORDS=(zandvast -if x ""); COMP_CWORD=3; _zandvast
    printf "%s\n" "${COMPREPLY[@]}"' _ "$stage/usr/share/bash-completion/completions/zandvast")"
for option in $options; do
    [ -s "$tmp/man.txt" ] && ! grep -qE -- "(^|[[:space:]])$option( |$)" "$tmp/man.txt" &&
        fail "the man page lacks $option"
    grep -qx -- "$option" <<<"$completion" || fail "the bash completion lacks $option"
done
ok "man page and completion name the $(wc -w <<<"$options") options of --help"
# The man page shows the example units as they are installed.
if [ -s "$tmp/man.txt" ]; then
    for unit in zandvast-nightly.service zandvast-nightly.timer; do
        while IFS= read -r line; do
            [ -z "$line" ] || [ "${line:0:1}" = "#" ] || grep -qF -- "$line" "$tmp/man.txt" ||
                fail "the man page's $unit lacks: $line"
        done <"$stage/usr/share/doc/zandvast/examples/$unit"
    done
    ok "man page examples match the example units"
fi

# --- 3. A copy elsewhere is portable ---------------------------------------
mkdir -p "$tmp/source/sub" "$tmp/home" && echo "blad" >"$tmp/source/sub/boom.txt"
output="$(run_as_cron "$stage/usr/bin/zandvast" "${job[@]}")"
[ -z "$output" ] || fail "a run of the staged copy printed: $output"
[ -f "$stage/usr/bin/Init.dat" ] && [ ! -e "$tmp/home/.local/share/zandvast/Init.dat" ] && copied &&
    ok "the staged (portable) copy keeps Init.dat beside itself" ||
    fail "the staged copy's Init.dat is not beside it"

# --- 4. The Debian package ---------------------------------------------------
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/zandvast_*.deb)"
dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6 && ok "$(basename "$deb"): $(
    dpkg-deb --field "$deb" Depends)" || fail "the package's dependencies lack Qt"
if [ "$(id -u)" -ne 0 ]; then
    skip "installing the package needs root"
elif dpkg-query -W -f='${Status}' zandvast 2>/dev/null | grep -q 'install ok installed'; then
    skip "a zandvast package is installed on this machine already; it is left alone"
else
    for stray in Init.dat Error.Log; do
        [ -e "/usr/bin/$stray" ] && fail "/usr/bin/$stray is there before the test"
    done
    installed_by_us=yes
    dpkg -i "$deb" >/dev/null
    files="$(dpkg -L zandvast)"
    version="$(env -i PATH=/usr/bin:/bin /usr/bin/zandvast --version)"
    [ "$version" = "Zandvast v.$(dpkg-deb --field "$deb" Version)" ] &&
        ok "installed: $version" || fail "zandvast --version printed $version"
    rm -rf "${tmp:?}/home" && mkdir -p "$tmp/home"
    output="$(run_as_cron /usr/bin/zandvast "${job[@]}")"
    [ -z "$output" ] || fail "a run of the installed copy printed: $output"
    userdata="$tmp/home/.local/share/zandvast"
    [ -f "$userdata/Init.dat" ] && copied &&
        ok "the installed copy, run as root, keeps Init.dat in $userdata" ||
        fail "the installed copy's Init.dat is not in the user's data folder"
    for stray in Init.dat Error.Log; do
        [ -e "/usr/bin/$stray" ] && rm -f "/usr/bin/$stray" && fail "the run wrote /usr/bin/$stray"
    done
    # The job saved there runs again by its bare name (from another folder)
    # and takes the file that is new since.
    echo "nieuw" >"$tmp/source/sub/nieuw.txt"
    output="$(cd / && env -i PATH=/usr/bin:/bin HOME="$tmp/home" /usr/bin/zandvast -if Init.dat -qu \
        2>&1)" || output+="exit status $?"
    [ -z "$output" ] && cmp -s "$tmp/source/sub/nieuw.txt" "$tmp/backup/sub/nieuw.txt" &&
        ok "-if Init.dat runs the job saved in the user's data folder" ||
        fail "-if Init.dat did not run the saved job: $output"
    if have systemd-analyze; then
        mkdir -m 0700 "$tmp/runtime"
        XDG_RUNTIME_DIR="$tmp/runtime" systemd-analyze --user verify --man=no \
            /usr/share/doc/zandvast/examples/zandvast-nightly.{timer,service} &&
            ok "systemd-analyze verify of the example units" || fail "systemd-analyze verify"
    else
        skip "systemd-analyze is missing"
    fi
    dpkg -r zandvast >/dev/null
    installed_by_us=
    left="$(while IFS= read -r f; do [ -f "$f" ] && echo "$f"; done <<<"$files" || true)"
    status="$(dpkg-query -W -f='${Status}' zandvast 2>/dev/null || true)"
    [ -z "$left" ] && [[ "$status" != *installed* || "$status" == *not-installed* ]] &&
        ok "dpkg -r removed the package cleanly" || fail "after dpkg -r: '$status', left: $left"
fi

if [ "$failures" -ne 0 ]; then
    echo "check-install: $failures failure(s)" >&2
    exit 1
fi
echo "check-install: all good"
