#!/usr/bin/env bash
# Builds the libFuzzer targets in the clang sanitizer build (the asan preset, build-asan/) and runs them,
# as many at a time as there are processors, each starting from the seed corpus in
# tests/fuzz/corpus/<target>/ (left untouched: new inputs go to build-asan/corpus/<target>/).
# Usage: bash tools/fuzz.sh [seconds per target, default 60] [target...]
# FUZZ_RUNS=N also stops a target after N executions. A finding leaves its input in build-asan/findings/
# and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(compatibility codec saved_reading refer_a_friend batch settings_file)
build=build-asan

[ -f "$build/build.ninja" ] || cmake --preset asan
cmake --build "$build" --target fuzzers

# The calculation and the saved-reading parser are also checked on inputs far past the data model's
# limit; their targets reach those lengths by repetition, so inputs themselves stay small.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p "$build/findings"

# fuzz_one TARGET: one target for the given time; fails on a finding.
fuzz_one()
{
    local t=$1 work="$build/corpus/$1" log="$build/fuzz-$1.log" start outcome=ok runs
    mkdir -p "$work"
    local args=(-max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=3072 -print_final_stats=1
                -artifact_prefix="$build/findings/$t-")
    [ -z "${FUZZ_RUNS:-}" ] || args+=(-runs="$FUZZ_RUNS")
    start=$(date +%s)
    "$build/fuzz/fuzz_$t" "${args[@]}" "$work" "tests/fuzz/corpus/$t" >"$log" 2>&1 || outcome=FINDING
    [ $outcome = ok ] || grep -E "property failed|ERROR:|runtime error|SUMMARY" "$log" | head -5 || true
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    echo "fuzz_$t: $outcome, ${runs:-?} executions in $(( $(date +%s) - start )) s (log: $log)"
    [ $outcome = ok ]
}
export -f fuzz_one
export build seconds FUZZ_RUNS
# xargs runs every target even when one fails, and then exits non-zero.
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'fuzz_one "$1"' _ {}
