#!/usr/bin/env bash
# Draws the program's icon (two links of a chain on a blue tile) at 48, 32 and 16 pixels and
# writes quorvant.ico beside this script. The .ico is kept in the repository; run this only to
# change it. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 48 32 16; do
  # Drawn at 256 pixels and scaled down, so the small sizes stay smooth.
  convert -size 256x256 xc:none \
    -fill '#1565C0' -draw 'roundrectangle 8,8 247,247 48,48' \
    -fill none -stroke white -strokewidth 26 \
    -draw 'roundrectangle 40,92 148,164 36,36' \
    -draw 'roundrectangle 108,92 216,164 36,36' \
    -resize "${size}x${size}" "$work/icon-$size.png"
done
convert "$work/icon-48.png" "$work/icon-32.png" "$work/icon-16.png" quorvant.ico
