#!/usr/bin/env bash
# Builds a Release tree in build-bench/ (if needed) and runs every side-by-side measurement, printing
# one table: measurement, our figure, the bound's figure, ratio.
# Usage: bash bench/run-all.sh [perf.py options, e.g. --pairs 40 --lines 100000 --json out.json]
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-bench
if [ ! -f "$build/build.ninja" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
# Only what the measurements run; the rest of the tree (tests, windows tests) is not needed here.
cmake --build "$build" --target QZFreeNameCompatibility qzcompat minimal_qt map_watch bench_compatibility \
    | grep -v '^\[' || true

# No window manager: each top-level window is mapped straight onto the root, where map_watch sees it.
exec xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 bench/perf.py "$build" "$@"
