#!/usr/bin/env bash
# Takes pictures of the window under a virtual X server: the four modes, a
# refused confirmation, a run in progress, a first run into a new folder half
# way, the folder picker, the dustbin dialog (also with its picker open), a
# question with the window behind it, and the smallest and an enlarged
# window, at normal and at double scale. Needs xvfb (tools/install-deps.sh).
#   tools/screenshots.sh [BUILD_DIR] [OUTPUT_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build}"
out="${2:-/tmp/zandvast-screenshots}"
mkdir -p "$out"
ninja -C "$build" zv_screenshots >/dev/null
for scale in 1 2; do
    ZV_SCREENSHOT_DIR="$out/scale$scale" QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale \
        xvfb-run -a -s "-screen 0 1600x1200x24" "$build/zv_screenshots"
done
echo "Pictures in $out"
