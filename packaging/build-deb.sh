#!/bin/sh
# Builds the release programs and makes the Debian package.
# Usage: packaging/build-deb.sh [BUILD_DIR]   (default: build-deb beside the sources)
# Needs cmake, ninja, g++, qt6-base-dev and dpkg-dev (dpkg-shlibdeps fills in the dependencies,
# dpkg-buildflags gives the compiler flags).
#
# The same commit gives the same package, byte for byte, wherever and whenever it is built: every time
# stamp in it (the file times in its archives) is the time of the last commit, and its folders get
# their modes from a fixed umask, not the builder's. tools/check-reproducible.sh checks this.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$src/build-deb}
# Outside a git clone, and unless the caller sets it, the time stamps are the time of the build.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$src" log -1 --format=%ct 2>/dev/null || date +%s)}
export SOURCE_DATE_EPOCH
umask 022
# Debian's hardening, as its own packages have it: the stack protector, _FORTIFY_SOURCE, and full RELRO
# (-z now); tools/check-hardening.sh checks the programs for them. CMake reads no CPPFLAGS, so they go
# with the compiler's flags. Its -ffile-prefix-map maps the folder it is run in, here the sources.
flags() { (cd "$src" && DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --get "$1"); }
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZ_BUILD_TESTS=OFF \
    -DQZ_BUILD_BENCHMARKS=OFF -DQZ_BUILD_FUZZERS=OFF \
    -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)"
cmake --build "$build"
(cd "$build" && cpack -G DEB)
sha256sum "$build"/*.deb
