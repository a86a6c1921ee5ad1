#!/bin/sh
# Pictures of every window at 100%, 150% and 200% scale: take.sh <QZFreeNameCompatibility> [folder]
# Saves main-, result-, about- and exit-<percent>.png (default folder: the one of this script). Runs on a
# virtual X display of its own with the openbox window manager, private settings and a browser stand-in
# that opens nothing. Needs xvfb-run, openbox, xdotool and ImageMagick's import.
set -eu

binary=$(realpath "${1:?usage: take.sh <path to QZFreeNameCompatibility> [folder]}")
here=$(cd "$(dirname "$0")" && pwd)
out=$(realpath "${2:-$here}")

if [ -z "${QZ_SCREENS_DISPLAY_READY:-}" ]; then
    QZ_SCREENS_DISPLAY_READY=1 exec xvfb-run -a -s "-screen 0 1920x1440x24" "$0" "$binary" "$out"
fi

work=$(mktemp -d)
pid=
wm=
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    if [ -n "$wm" ]; then kill "$wm" 2>/dev/null || true; wait "$wm" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

mkdir -p "$work/home" "$work/config" "$work/runtime" "$work/bin" "$out"
chmod 700 "$work/runtime"
printf '#!/bin/sh\nexit 0\n' >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
HOME=$work/home XDG_CONFIG_HOME=$work/home openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm=$!
sleep 1

. "$here/windows.sh"

shoot() {
    # Mapped is not yet painted: give the paint a moment.
    sleep 0.7
    import -window "$1" "$out/$2"
    echo "saved $out/$2"
}

for scale in 1 1.5 2; do
    percent=$(echo "$scale" | awk '{ print $1 * 100 }')
    HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime PATH=$work/bin:$PATH \
        QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=$scale LANG=en_US.UTF-8 "$binary" >"$work/program.log" 2>&1 &
    pid=$!

    main=$(new_window 10 "" --pid "$pid")
    shoot "$main" "main-$percent.png"

    xdotool windowactivate --sync "$main"
    xdotool type --delay 15 JOHN
    xdotool key --delay 30 Tab
    xdotool type --delay 15 MARY
    xdotool key --delay 30 alt+g
    shoot "$main" "result-$percent.png"

    xdotool key --delay 60 alt+h a
    about=$(new_window 10 "$main" --pid "$pid")
    shoot "$about" "about-$percent.png"
    xdotool key --delay 30 Escape
    sleep 0.3

    xdotool windowactivate --sync "$main"
    xdotool key --delay 60 alt+f x
    screen=$(new_window 10 "$main" --pid "$pid")
    shoot "$screen" "exit-$percent.png"

    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=
done
