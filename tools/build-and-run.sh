#!/usr/bin/env bash
# Installs what is missing, builds the program into build/ and starts it.
# Arguments are passed on to the program (for example -if Job.dat -qu).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZV_BUILD_TESTS=OFF >/dev/null
cmake --build build --target zandvast -j"$(nproc)"
exec build/zandvast "$@"
