#!/usr/bin/env bash
# Builds the fuzz harnesses as libFuzzer fuzzers with clang (build-fuzz/) and
# fuzzes each in turn on one core:
#
#   tools/fuzz.sh [SECONDS-PER-HARNESS] [HARNESS...]
#
# Harnesses: JobFileRun OptionsRun DateText VolumePaths DustbinPlace (all by
# default, 180 seconds each). The fuzzer starts from fuzz/corpus/<harness>/
# and keeps what it learns in build-fuzz/corpus/<harness>/; crashes, hangs
# and broken properties go to build-fuzz/findings/<harness>/. It carries on
# after a finding. Add a finding to fuzz/corpus/<harness>/, named after what
# it does, once it is fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-180}"
shift || true
harnesses=("$@")
[ ${#harnesses[@]} -eq 0 ] && harnesses=(JobFileRun OptionsRun DateText VolumePaths DustbinPlace)

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZV_BUILD_GUI=OFF -DZV_FUZZ=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${harnesses[@]/#/fuzz_}"

export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The run harnesses work in scratch folders of their own, and in them: the
# paths here are absolute, and the scratch folders an input that crashed
# leaves behind are cleared away afterwards.
export TMPDIR="$PWD/build-fuzz/tmp"
for harness in "${harnesses[@]}"; do
    corpus="$PWD/build-fuzz/corpus/$harness" findings="$PWD/build-fuzz/findings/$harness"
    mkdir -p "$corpus" "$findings" "$TMPDIR"
    echo "== $harness: $seconds s"
    build-fuzz/fuzz/"fuzz_$harness" "$corpus" "$PWD/fuzz/corpus/$harness" -fork=1 -ignore_crashes=1 \
        -ignore_timeouts=1 -ignore_ooms=1 -timeout=3 -max_total_time="$seconds" \
        -artifact_prefix="$findings/" >"build-fuzz/$harness.log" 2>&1 || true
    chmod -R u+rwx "$TMPDIR" && rm -rf "${TMPDIR:?}"/*
    grep -E '^#[0-9]+: cov' "build-fuzz/$harness.log" | tail -n 1
    echo "$(ls "$findings" | wc -l) finding(s) in $findings, log in build-fuzz/$harness.log"
done
