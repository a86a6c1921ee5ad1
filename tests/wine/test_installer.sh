#!/usr/bin/env bash
# The installer in a Wine prefix of its own, made fresh under the build folder: a silent install puts
# the programs, their licences, a Start menu entry and an Apps & features entry in place; the installed
# program starts; while it runs, a silent install or the registered quiet uninstall changes nothing and
# fails; once it has ended, the registered quiet uninstall removes what was installed, and says so.
# Runs on the X display of tests/wine/run.sh.
set -euo pipefail
setup=$(realpath "$1")
export WINEPREFIX=$(dirname "$setup")/wine-installer-prefix
bash "$(dirname "$0")/new-prefix.sh"
trap 'wineserver --kill || true' EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

# Windows stretches an installer that declares no DPI awareness as a bitmap, blurred.
wrestool -x --raw -t 24 "$setup" | grep -q '<dpiAware[^>]*>true</dpiAware>' ||
    fail "the installer's manifest declares no DPI awareness"
echo "PASS: the installer is DPI-aware"

wine "$setup" /S
wineserver --wait
folder="$WINEPREFIX/drive_c/Program Files/QZ Name Compatibility"
entry="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/QZ Name Compatibility"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\QZNameCompatibility'
for file in QZFreeNameCompatibility.exe qzcompat.exe Qt6Widgets.dll platforms/qwindows.dll Uninstall.exe \
    licenses/README.txt licenses/LGPL-3.0.txt licenses/Qt-third-party.txt licenses/MinGW-runtime.txt; do
    [ -f "$folder/$file" ] || fail "not installed: $file"
done
for file in "$folder"/licenses/*; do
    ! grep -qv $'\r$' "$file" || fail "a line without a Windows line end in ${file#"$folder/"}"
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
# The registered quiet uninstall command, run as a deployment tool runs it: read from the Apps & features
# entry and handed to cmd as it stands; its status is cmd's.
quiet_uninstall() {
    local command
    command=$(wine reg query "$key" /v QuietUninstallString | sed -n 's/.*REG_SZ\s*//p' | tr -d '\r')
    [ -n "$command" ] || fail "no QuietUninstallString"
    printf '%s\r\nexit %%ERRORLEVEL%%\r\n' "$command" >"$WINEPREFIX/drive_c/quiet-uninstall.bat"
    wine cmd /c 'C:\quiet-uninstall.bat'
}
temp=$(winepath -u "$(wine cmd /c echo %TEMP% | tr -d '\r')")
temp_before=$(ls -A "$temp")
temp_unchanged() {
    [ "$(ls -A "$temp")" = "$temp_before" ] || fail "left in the temporary folder: $(ls -A "$temp")"
}
before=$(state)
status=0
wine "$setup" /S || status=$?
[ "$status" -ne 0 ] || fail "installing over the running program ended with status 0"
status=0
quiet_uninstall || status=$?
[ "$status" -ne 0 ] || fail "uninstalling the running program ended with status 0"
[ "$(state)" = "$before" ] || fail "changed while the program ran: $(diff <(echo "$before") <(state))"
temp_unchanged
echo "PASS: while the program runs, a silent install or uninstall changes nothing and fails"

kill "$program"
wait "$program" || true
wineserver --kill

# Installed again, the program replaces its copy in the same folder and leaves none behind in another.
wine "$setup" /S
wineserver --wait
[ -f "$folder/Uninstall.exe" ] || fail "installed again in its folder, the program has no uninstaller"
wine "$setup" /S '/D=C:\Tools'
wineserver --wait
first=$folder
folder=$WINEPREFIX/drive_c/Tools
[ -f "$folder/QZFreeNameCompatibility.exe" ] || fail "not installed in C:\\Tools"
echo "PASS: installed again, in its folder and in another"

status=0
quiet_uninstall || status=$?
[ "$status" -eq 0 ] || fail "uninstalling ended with status $status"
left=$([ ! -e "$folder" ] || find "$folder" -mindepth 1 ! -iname '*Uninstall.exe')
[ -z "$left" ] || fail "left behind at status 0: $left"
[ ! -e "$entry" ] || fail "the Start menu entry is left"
! wine reg query "$key" >/dev/null 2>&1 || fail "the Apps & features entry is left"
# The uninstaller's own file goes, with the folder, once the uninstaller has ended.
for _ in $(seq 150); do
    [ -e "$folder" ] || [ -e "$first" ] || break
    sleep 0.2
done
[ ! -e "$folder" ] || fail "left behind: $(find "$folder")"
[ ! -e "$first" ] || fail "the first copy is left: $(find "$first")"
temp_unchanged
echo "PASS: silent uninstall"
