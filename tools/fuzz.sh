#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each in turn, starting from the seed
# corpus in tests/fuzz/corpus/<target>/ (left untouched: new inputs go to build-fuzz/corpus/<target>/).
# Usage: bash tools/fuzz.sh [seconds per target, default 60] [target...]
# FUZZ_RUNS=N also stops a target after N executions. A finding leaves its input in build-fuzz/findings/
# and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(compatibility codec saved_reading refer_a_friend batch)
build=${FUZZ_BUILD_DIR:-build-fuzz}

if [ ! -f "$build/build.ninja" ]; then
    CC=${CC:-clang-14} CXX=${CXX:-clang++-14} cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQZ_BUILD_FUZZERS=ON -DQZ_BUILD_TESTS=OFF -DQZ_BUILD_BENCHMARKS=OFF
fi
cmake --build "$build" --target fuzzers

# The calculation and the saved-reading parser are also checked on inputs far past the data model's
# limit; their targets reach those lengths by repetition, so inputs themselves stay small.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=0
mkdir -p "$build/findings"
for t in "${targets[@]}"; do
    work="$build/corpus/$t"
    mkdir -p "$work"
    log="$build/fuzz-$t.log"
    args=(-max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=3072 -print_final_stats=1
          -artifact_prefix="$build/findings/$t-")
    [ -z "${FUZZ_RUNS:-}" ] || args+=(-runs="$FUZZ_RUNS")
    start=$(date +%s)
    if "$build/fuzz/fuzz_$t" "${args[@]}" "$work" "tests/fuzz/corpus/$t" >"$log" 2>&1; then
        outcome=ok
    else
        outcome=FINDING
        failed=1
        grep -E "property failed|ERROR:|runtime error|SUMMARY" "$log" | head -5 || true
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    echo "fuzz_$t: $outcome, ${runs:-?} executions in $(( $(date +%s) - start )) s (log: $log)"
done
exit $failed
