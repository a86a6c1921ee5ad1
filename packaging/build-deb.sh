#!/bin/sh
# Builds the release programs and makes the Debian package.
# Usage: packaging/build-deb.sh [BUILD_DIR]   (default: build-deb beside the sources)
# Needs cmake, ninja, g++, qt6-base-dev and dpkg-dev (dpkg-shlibdeps fills in the dependencies).
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$src/build-deb}
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZ_BUILD_TESTS=OFF \
    -DQZ_BUILD_BENCHMARKS=OFF -DQZ_BUILD_FUZZERS=OFF
cmake --build "$build"
(cd "$build" && cpack -G DEB)
ls "$build"/*.deb
