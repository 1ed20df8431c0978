#!/usr/bin/env sh
# Renders the desktop icon sizes from the drawing. The PNGs are committed so a build needs no
# SVG renderer; run this (needs rsvg-convert from librsvg2-bin) after changing the drawing.
set -eu
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" quavscheduler.svg -o "quavscheduler-$size.png"
done
