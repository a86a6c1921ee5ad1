#!/bin/sh
# Saves a picture of the main window: screenshot.sh <QZFreeNameCompatibility> [output.png]
# Runs the program on a virtual X display of its own, with private settings, so no reminder or
# "already running" message gets in the way. Default output: docs/main-window.png of this repository.
set -eu

binary=${1:?usage: screenshot.sh <path to QZFreeNameCompatibility> [output.png]}
here=$(cd "$(dirname "$0")" && pwd)
output=${2:-$here/../../docs/main-window.png}

if [ -z "${QZ_SCREENSHOT_DISPLAY_READY:-}" ]; then
    QZ_SCREENSHOT_DISPLAY_READY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$binary" "$output"
fi

work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

mkdir -p "$work/home" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime \
    QT_QPA_PLATFORM=xcb LANG=en_US.UTF-8 "$binary" >"$work/program.log" 2>&1 &
pid=$!

# Poll every 20 ms, for at most 10 s, for the main window to be mapped.
window=
tries=0
while [ -z "$window" ]; do
    window=$(xdotool search --all --onlyvisible --pid "$pid" --name '^QZ Name Compatibility v1\.15$' 2>/dev/null | head -n 1 || true)
    tries=$((tries + 1))
    if [ "$tries" -gt 500 ]; then
        echo "screenshot.sh: the main window did not appear" >&2
        cat "$work/program.log" >&2
        exit 1
    fi
    [ -n "$window" ] || sleep 0.02
done
# Mapped is not yet painted: give the first paint a moment.
sleep 0.5

mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
echo "saved $output"
