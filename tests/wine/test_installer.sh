#!/usr/bin/env bash
# The installer in a Wine prefix of its own, made fresh under the build folder: a silent install puts
# the programs, their licences, a Start menu entry and an Apps & features entry in place; the installed
# program starts; while it runs, a silent install or uninstall changes nothing and fails; once it has
# ended, a silent uninstall removes what was installed. Runs on the X display of tests/wine/run.sh.
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
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QZNameCompatibility'
for file in QZFreeNameCompatibility.exe qzcompat.exe Qt6Widgets.dll platforms/qwindows.dll Uninstall.exe \
    licenses/README.txt licenses/LGPL-3.0.txt licenses/Qt-third-party.txt licenses/MinGW-runtime.txt; do
    [ -f "$folder/$file" ] || fail "not installed: $file"
done
[ -f "$entry/QZ Name Compatibility.lnk" ] || fail "no Start menu entry"
# Apps & features shows the size in KiB: within a tenth of what the files take.
estimated=$(wine reg query "$key" /v EstimatedSize | sed -n 's/.*REG_DWORD\s*//p' | tr -d '\r') ||
    fail "no EstimatedSize in the Apps & features entry"
estimated=$((estimated))
actual=$(du -sk --apparent-size "$folder" | cut -f1)
[ $((estimated * 10)) -ge $((actual * 9)) ] && [ $((estimated * 10)) -le $((actual * 11)) ] ||
    fail "EstimatedSize $estimated KiB for $actual KiB installed"
echo "PASS: silent install"

env -u WINEPATH -u QT_QPA_PLATFORM wine "$folder/QZFreeNameCompatibility.exe" >/dev/null 2>&1 &
program=$!
for _ in $(seq 120); do
    xdotool search --name '^QZ Name Compatibility v1\.15$' >/dev/null && break
    sleep 0.5
done
xdotool search --name '^QZ Name Compatibility v1\.15$' >/dev/null || fail "the installed program showed no window"
echo "PASS: the installed program starts"

# Each file's change time and the uninstall entry: what a second install or an uninstall would touch.
state() {
    find "$folder" "$entry" -printf '%P %s %C@\n' | sort
    wine reg query "$key"
}
before=$(state)
status=0
wine "$setup" /S || status=$?
[ "$status" -ne 0 ] || fail "installing over the running program ended with status 0"
# The uninstaller works from a temporary copy, and its status is lost, unless "_?=<folder>" keeps it in
# place; NSIS reads that only unquoted at the end of the command line, which a batch file can give.
printf '"C:\\Program Files\\QZ Name Compatibility\\Uninstall.exe" /S _?=C:\\Program Files\\QZ Name Compatibility\r\nexit %%ERRORLEVEL%%\r\n' \
    >"$WINEPREFIX/drive_c/uninstall-in-place.bat"
status=0
wine cmd /c 'C:\uninstall-in-place.bat' || status=$?
[ "$status" -ne 0 ] || fail "uninstalling the running program ended with status 0"
[ "$(state)" = "$before" ] || fail "changed while the program ran: $(diff <(echo "$before") <(state))"
echo "PASS: while the program runs, a silent install or uninstall changes nothing and fails"

kill "$program"
wait "$program" || true
wineserver --kill

# The uninstaller copies itself to a temporary folder and returns at once; the server waits for it.
wine "$folder/Uninstall.exe" /S
wineserver --wait
[ ! -e "$folder" ] || fail "left behind: $(find "$folder")"
[ ! -e "$entry" ] || fail "the Start menu entry is left"
! wine reg query "$key" >/dev/null 2>&1 || fail "the Apps & features entry is left"
echo "PASS: silent uninstall"
