#!/usr/bin/env bash
# The Windows build's tests under Wine, in a fresh Wine prefix made under the build folder and on a
# virtual X display (Wine needs one even for programs that show nothing: Qt's event dispatcher makes a
# hidden window): the cross-built QtTest suites, qzcompat's cases, the packaged program and the installer.
# Usage: bash tests/wine/run.sh [build-windows] [ctest options...]   (after tools/build-windows.sh)
set -euo pipefail
build=$(cd "${1:-build-windows}" && pwd)
[ $# -gt 0 ] && shift
if [ -z "${QZ_WINE_DISPLAY:-}" ]; then
    exec env QZ_WINE_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$build" "$@"
fi

export WINEPREFIX=$build/wine-prefix WINEARCH=win64 WINEDEBUG=-all
# Wine would otherwise offer to download Mono and Gecko, in a dialog nobody answers.
export WINEDLLOVERRIDES="mscoree,mshtml="
# The locale of the Linux tests: US English dates, the Windows-1252 code page.
export LANG=en_US.UTF-8
unset LC_ALL
bash "$(dirname "$0")/new-prefix.sh"
# No persistent Wine server: the system processes it keeps (explorer.exe, services.exe) would inherit
# CTest's output pipes and hold each test open until its timeout. Each program brings up its own.
trap 'wineserver --kill || true' EXIT
# The QtTest programs run side by side, each in a copy of this prefix on an X display of its own (see
# wine-run); the scenarios (label wine) drive this display with xdotool, so they run one at a time.
# A whole run that finds no test fails; a run narrowed by options (-R ...) may leave one half empty.
[ $# -gt 0 ] || set -- --no-tests=error
status=0
ctest --test-dir "$build" --output-on-failure -j 4 -LE wine "$@" || status=1
ctest --test-dir "$build" --output-on-failure -L wine "$@" || status=1
exit $status
