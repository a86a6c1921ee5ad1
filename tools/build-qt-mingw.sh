#!/usr/bin/env bash
# Qt 6.4.2 (qtbase: Core, Gui, Widgets, Test) for 64-bit Windows, cross-built with MinGW-w64, installed
# into a prefix outside the clone. Prints the prefix on its last line.
# Usage: bash tools/build-qt-mingw.sh [prefix]
#
# In order of preference:
#   1. a prefix already there, made for the same Qt version with the same options, is reused;
#   2. the ready prefix ../shared/cache/qt-6.4.2-mingw-x86_64-small.tar.xz beside the clone is unpacked
#      (made by this same kind of build, DLLs stripped; its BUILD-INFO says how);
#   3. Debian's qt6-base source is built (about 20 minutes on two idle cores), with the installed Linux
#      Qt 6.4.2 as host tools.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

version=6.4.2
name=qt-$version-mingw-x86_64-small
prefix=${1:-${QZ_QT_MINGW_PREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/qz-name-compatibility/$name}}
tarball=${QZ_QT_MINGW_TARBALL:-$root/../shared/cache/$name.tar.xz}
toolchain=$root/cmake/mingw-w64-x86_64.cmake

# Built for size and without the Qt features the programs do not use: the DLLs stay shared and
# replaceable, and a third smaller. The input dialog stays: the windowsvista style includes its header
# without checking the feature.
options=(-xplatform win32-g++ -qt-host-path /usr -release -opensource -confirm-license
    -nomake tests -nomake examples -no-opengl -optimize-size
    -no-feature-sql -no-feature-network -no-feature-dbus -no-feature-concurrent -no-feature-xml
    -no-feature-printsupport
    -no-feature-vulkan -no-feature-textodfwriter -no-feature-textmarkdownreader
    -no-feature-textmarkdownwriter -no-feature-pdf -no-feature-movie -no-feature-sessionmanager
    -no-feature-systemtrayicon -no-feature-calendarwidget -no-feature-datetimeedit -no-feature-dial
    -no-feature-lcdnumber -no-feature-mdiarea -no-feature-dockwidget -no-feature-toolbox
    -no-feature-undocommand -no-feature-undostack -no-feature-undogroup -no-feature-undoview
    -no-feature-wizard -no-feature-columnview -no-feature-fontcombobox -no-feature-colordialog
    -no-feature-fontdialog -no-feature-errormessage -no-feature-keysequenceedit
    -no-feature-splashscreen -no-feature-gestures)
# Debian's source drops the tablet header wintab.h, so tablet events are left out.
cmake_options=(-DFEATURE_tabletevent=OFF)
stamp="Qt $version ${options[*]} ${cmake_options[*]}"
stamp_file=$prefix/qz-build-options

log() { echo "build-qt-mingw: $*" >&2; }

# The prefix is relocatable: Qt's toolchain file chain-loads the compiler toolchain by a path relative
# to itself, so the prefix works wherever it is unpacked or moved.
finish_prefix()
{
    cp "$toolchain" "$prefix/mingw-w64-x86_64.cmake"
    sed -i 's|^set(__qt_initially_configured_toolchain_file .*|set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/../../../mingw-w64-x86_64.cmake")|' \
        "$prefix/lib/cmake/Qt6/qt.toolchain.cmake"
    echo "$stamp" >"$stamp_file"
}

if [ -f "$stamp_file" ] && [ "$(cat "$stamp_file")" = "$stamp" ] && [ -x "$prefix/bin/qt-cmake" ]; then
    log "reusing $prefix"
    echo "$prefix"
    exit 0
fi

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

rm -rf "$prefix"
mkdir -p "$(dirname "$prefix")"

if [ -f "$tarball" ]; then
    log "unpacking $tarball"
    unpack=$(mktemp -d "$(dirname "$prefix")/unpack.XXXXXX")
    tar -xJf "$tarball" -C "$unpack"
    grep -q "^Qt $version qtbase for Windows x86_64" "$unpack/$name/BUILD-INFO"
    mv "$unpack/$name" "$prefix"
    rmdir "$unpack"
    finish_prefix
    echo "$prefix"
    exit 0
fi

log "no ready prefix at $tarball: building Qt $version from Debian's qt6-base source"
bash "$root/tools/install-missing.sh" g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix \
    mingw-w64-tools qt6-base-dev qt6-base-dev-tools cmake ninja-build perl python3 xz-utils dpkg-dev
# apt-get source needs a deb-src entry beside the deb one.
if ! grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
            "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/qz-deb-src.sources >/dev/null
    else
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
            "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/qz-deb-src.list >/dev/null
    fi
fi
"${sudo_cmd[@]}" apt-get update -q

work=$prefix.build
rm -rf "$work"
mkdir -p "$work/build"
# Upstream tarball only: Debian's patches are for the Linux build.
(cd "$work" && apt-get source --download-only qt6-base)
tar -xJf "$work"/qt6-base_"$version"*.orig.tar.xz -C "$work"
source_dir=$(find "$work" -maxdepth 1 -type d -name 'qtbase-*' | head -n 1)
cd "$work/build"
"$source_dir/configure" -prefix "$prefix" "${options[@]}" \
    -- -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake -G Ninja
cmake "${cmake_options[@]}" .
ninja -j"$(nproc)"
cmake --install .
find "$prefix" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
finish_prefix
cd /
rm -rf "$work"
echo "$prefix"
