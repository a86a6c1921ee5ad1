#!/bin/sh
# Pictures of the Windows build's main and About windows under Wine at 100% and 150% scale:
# take-wine.sh <QZNameCompatibility-*-win64.zip> [folder] [suffix]
# Saves wine-main-<percent><suffix>.png and wine-about-<percent><suffix>.png (default folder: the one of
# this script). The scale is Windows' own setting (LogPixels 96 or 144) in a fresh Wine prefix; a virtual
# X display with openbox. Needs xvfb-run, openbox, wine, unzip, xdotool and ImageMagick's import.
set -eu

zip=$(realpath "${1:?usage: take-wine.sh <package.zip> [folder] [suffix]}")
here=$(cd "$(dirname "$0")" && pwd)
out=$(realpath "${2:-$here}")
suffix=${3:-}

if [ -z "${QZ_SCREENS_DISPLAY_READY:-}" ]; then
    QZ_SCREENS_DISPLAY_READY=1 exec xvfb-run -a -s "-screen 0 1920x1440x24" "$0" "$zip" "$out" "$suffix"
fi

work=$(mktemp -d)
pid=
wm=
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=en_US.UTF-8
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    wineserver --kill 2>/dev/null || true
    if [ -n "$wm" ]; then kill "$wm" 2>/dev/null || true; wait "$wm" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

mkdir -p "$work/bin" "$out"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
unzip -q "$zip" -d "$work"
exe=$(find "$work" -name QZFreeNameCompatibility.exe | head -n 1)
HOME=$work XDG_CONFIG_HOME=$work openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
wineboot --init
wineserver --wait

# Wine starts slowly: a minute for each window.
. "$here/windows.sh"

shoot() {
    sleep 1.5
    import -window "$1" "$out/$2"
    echo "saved $out/$2"
}

for dpi in 96 144; do
    percent=$((dpi * 100 / 96))
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    wineserver --wait
    PATH=$work/bin:$PATH wine "$exe" >"$work/program.log" 2>&1 &
    pid=$!
    main=$(new_window 60 "")
    shoot "$main" "wine-main-$percent$suffix.png"
    xdotool windowactivate --sync "$main"
    xdotool key --delay 200 alt+h a
    about=$(new_window 60 "$main")
    shoot "$about" "wine-about-$percent$suffix.png"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=
    wineserver --kill 2>/dev/null || true
    wineserver --wait 2>/dev/null || true
done
