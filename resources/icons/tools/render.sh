#!/usr/bin/env sh
# Renders the tool buttons' larger forms from their drawings with ImageMagick's own SVG
# renderer: name@2x.png (32 pixels, for 2x) and name@24.png (for 1.5x). The PNGs are committed so a build needs no SVG renderer; run
# this after changing a drawing.
set -eu
cd "$(dirname "$0")"
for icon in cut copy paste today exec; do
    convert -background none -density 576 "MSVG:$icon.svg" -resize 32x32 "../$icon@2x.png"
    convert -background none -density 576 "MSVG:$icon.svg" -resize 24x24 "../$icon@24.png"
done
