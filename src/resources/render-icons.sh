#!/bin/sh
# Renders the program's icon and pointer from their SVG drawings. The PNGs are committed, so a build
# never needs this; run it again after changing app.svg or hand.svg. Needs rsvg-convert (librsvg2-bin).
set -eu
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" app.svg -o "icons/app-$size.png"
done
cp icons/app-256.png app.png
rsvg-convert -w 32 -h 32 hand.svg -o hand.png
