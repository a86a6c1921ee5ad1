#!/usr/bin/env bash
# Start-up and peak memory of the Windows program under Wine against a minimal Qt window built the same
# way (bench/minimal_qt, with the same compiler, Qt and options, beside the same DLLs), alternating.
# Needs the Windows build (bash tools/build-windows.sh) and map_watch from a Linux build (build-bench/,
# made by bench/run-all.sh). Each start is a first start (the program's registry key is removed before
# it); one Wine server stays up for all of them, as it does on a desktop where Wine already runs.
# Usage: bash bench/wine-startup.sh [perf.py options, e.g. --pairs 10 --json out.json]
#        (--wine-bound FOLDER: against the program unpacked in FOLDER, another build, instead)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

qt=$(bash tools/build-qt-mingw.sh | tail -n 1)
stages=("$root"/build-windows/QZNameCompatibility-*-win64)
stage=${stages[0]}
[ -f "$stage/QZFreeNameCompatibility.exe" ] || { echo "wine-startup: run tools/build-windows.sh first" >&2; exit 1; }
[ -x build-bench/bench/map_watch ] || { echo "wine-startup: run bench/run-all.sh --only startup first" >&2; exit 1; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/qz-wine-startup.XXXXXX")
trap 'WINEPREFIX=$tmp/prefix wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT
cp -r "$stage" "$tmp/stage"
# The flags of the Windows build's Release programs: a GUI program, optimised, stripped.
x86_64-w64-mingw32-g++-posix -std=c++17 -O3 -DNDEBUG -DQT_NO_DEBUG -DQT_CORE_LIB -DQT_GUI_LIB \
    -DQT_WIDGETS_LIB -DUNICODE -D_UNICODE -DWIN32 -DWIN64 -D_WIN64 -mwindows \
    -isystem "$qt/mkspecs/win32" -isystem "$qt/include" -isystem "$qt/include/QtCore" -isystem "$qt/include/QtGui" \
    -isystem "$qt/include/QtWidgets" \
    bench/minimal_qt/main.cpp -o "$tmp/stage/minimal_qt.exe" \
    -L"$qt/lib" -lQt6EntryPoint -lQt6Widgets -lQt6Gui -lQt6Core -lshell32
x86_64-w64-mingw32-strip --strip-unneeded "$tmp/stage/minimal_qt.exe"

export WINEPREFIX=$tmp/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# shellcheck disable=SC2016 # expanded by the inner shell
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    wineboot -i >/dev/null 2>&1
    wineserver -p
    exec /usr/bin/python3 bench/perf.py build-bench --only startup --wine "$0" "$@"
' "$tmp/stage" "$@"
