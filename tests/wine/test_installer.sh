#!/usr/bin/env bash
# The installer in a Wine prefix of its own, made fresh under the build folder: a silent install puts
# the programs and a Start menu entry in place, the installed program starts, and a silent uninstall
# removes what was installed. Runs on the X display of tests/wine/run.sh.
set -euo pipefail
setup=$(realpath "$1")
export WINEPREFIX=$(dirname "$setup")/wine-installer-prefix
rm -rf "$WINEPREFIX"
wineboot --init
wineserver --wait
trap 'wineserver --kill || true' EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

wine "$setup" /S
wineserver --wait
folder="$WINEPREFIX/drive_c/Program Files/QZ Name Compatibility"
entry="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/QZ Name Compatibility"
for file in QZFreeNameCompatibility.exe qzcompat.exe Qt6Widgets.dll platforms/qwindows.dll Uninstall.exe; do
    [ -f "$folder/$file" ] || fail "not installed: $file"
done
[ -f "$entry/QZ Name Compatibility.lnk" ] || fail "no Start menu entry"
echo "PASS: silent install"

env -u WINEPATH -u QT_QPA_PLATFORM wine "$folder/QZFreeNameCompatibility.exe" >/dev/null 2>&1 &
program=$!
for _ in $(seq 120); do
    xdotool search --name '^QZ Name Compatibility v1\.15$' >/dev/null && break
    sleep 0.5
done
xdotool search --name '^QZ Name Compatibility v1\.15$' >/dev/null || fail "the installed program showed no window"
kill "$program"
wait "$program" || true
wineserver --kill
echo "PASS: the installed program starts"

# The uninstaller copies itself to a temporary folder and returns at once; the server waits for it.
wine "$folder/Uninstall.exe" /S
wineserver --wait
[ ! -e "$folder" ] || fail "left behind: $(find "$folder")"
[ ! -e "$entry" ] || fail "the Start menu entry is left"
echo "PASS: silent uninstall"
