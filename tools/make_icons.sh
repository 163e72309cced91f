#!/usr/bin/env bash
# Draws the program's icons with ImageMagick into resources/icons (or the folder given):
# app.ico (window icon) and the six list icons. Each is drawn at 128 x 128 and scaled to
# 64, 48, 32 and 16 pixels with alpha (the lists take 48 and 64 at 150 % and 200 %), each image then stored PNG-compressed (tools/png_icon.py). The
# output is committed, so a build never needs this.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${1:-$ROOT/resources/icons}"
IM=/usr/bin/convert
FONT=DejaVu-Sans-Bold
mkdir -p "$OUT"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# name, then drawing arguments applied to a transparent 128 x 128 canvas
icon() {
    local name="$1"; shift
    $IM -size 128x128 xc:none "$@" "$work/$name-128.png"
    local size sizes=()
    for size in 64 48 32 16; do
        $IM "$work/$name-128.png" -resize "${size}x$size" "$work/$name-$size.png"
        sizes+=("$work/$name-$size.png")
    done
    $IM "${sizes[@]}" "$OUT/$name.ico"
    python3 "$ROOT/tools/png_icon.py" "$OUT/$name.ico" >/dev/null
}

# A page with a folded top-right corner, in the given fill: sets PAGE.
page() {  # fill, outline
    PAGE=(-fill "$1" -stroke "$2" -strokewidth 4
          -draw "path 'M 24,6 L 84,6 L 106,28 L 106,122 L 24,122 Z'"
          -fill "$2" -draw "path 'M 84,6 L 84,28 L 106,28 Z'")
}

# Window icon: a blue tile with a white disc and a setup arrow.
icon app \
    -fill '#1565c0' -stroke '#0d3c78' -strokewidth 3 -draw 'roundrectangle 6,6 121,121 22,22' \
    -fill '#42a5f5' -stroke none -draw 'roundrectangle 10,10 117,60 18,18' \
    -fill white -stroke '#0d3c78' -strokewidth 2 -draw 'circle 64,70 64,28' \
    -fill '#1565c0' -stroke none -draw 'circle 64,70 64,58' \
    -fill '#ffb300' -stroke '#8a5a00' -strokewidth 2 \
    -draw "polygon 56,84 72,84 72,100 84,100 64,122 44,100 56,100"

# 132: PDF document, a page with a red band lettered PDF.
page white '#7a7a7a'
icon list_pdf "${PAGE[@]}" \
    -fill '#d32f2f' -stroke none -draw 'rectangle 14,56 98,92' \
    -fill white -font "$FONT" -pointsize 30 -annotate +19+86 'PDF'

# 133 is drawn as list_device, 135 as list_application (see resources/setup.rc).
# Dark blue application tile.
icon list_application \
    -fill '#0d2a6b' -stroke '#061737' -strokewidth 3 -draw 'roundrectangle 8,8 119,119 18,18' \
    -fill '#e3ecff' -stroke none -draw 'rectangle 28,34 100,92' \
    -fill '#3d6ad6' -draw 'rectangle 28,34 100,46' \
    -fill '#0d2a6b' -draw 'rectangle 36,56 76,62' -draw 'rectangle 36,70 90,76'

# Software setup: a computer with a disc and a box.
icon list_computer \
    -fill '#cfd8dc' -stroke '#455a64' -strokewidth 3 -draw 'roundrectangle 8,10 104,78 6,6' \
    -fill '#1e88e5' -stroke none -draw 'rectangle 16,18 96,70' \
    -fill '#90a4ae' -draw 'rectangle 46,78 66,92' -draw 'rectangle 30,92 82,98' \
    -fill '#c58b3c' -stroke '#7a4f16' -strokewidth 3 -draw 'polygon 66,84 120,84 120,124 66,124' \
    -fill '#e0a95a' -draw 'polygon 66,84 78,72 126,72 120,84' \
    -fill '#eceff1' -stroke '#78909c' -strokewidth 3 -draw 'circle 36,100 36,76' \
    -fill '#b0bec5' -stroke none -draw 'circle 36,100 36,90' \
    -fill '#eceff1' -draw 'circle 36,100 36,96'

# Hardware device with a cable.
icon list_device \
    -fill none -stroke '#37474f' -strokewidth 6 -draw "path 'M 64,84 C 64,112 104,100 104,122'" \
    -fill '#546e7a' -stroke '#263238' -strokewidth 3 -draw 'roundrectangle 18,14 110,84 12,12' \
    -fill '#78909c' -stroke none -draw 'roundrectangle 26,22 102,46 6,6' \
    -fill '#66bb6a' -draw 'circle 34,68 34,62' \
    -fill '#263238' -draw 'rectangle 56,62 100,66' -draw 'rectangle 56,72 100,76' \
    -fill '#cfd8dc' -stroke '#263238' -strokewidth 2 -draw 'rectangle 96,112 112,126'

# Compressed archive: a strapped box with a zipper.
icon list_archive \
    -fill '#f9a825' -stroke '#8d5f00' -strokewidth 4 -draw 'roundrectangle 14,22 114,120 8,8' \
    -fill '#fbc02d' -draw 'roundrectangle 10,10 118,36 6,6' \
    -fill '#5d4037' -stroke none -draw 'rectangle 56,10 72,120' \
    -fill '#eeeeee' -draw 'rectangle 59,40 69,46' -draw 'rectangle 59,52 69,58' -draw 'rectangle 59,64 69,70' \
    -draw 'rectangle 59,76 69,82' \
    -fill '#9e9e9e' -stroke '#424242' -strokewidth 2 -draw 'roundrectangle 54,86 74,106 4,4'

# 137: blank grey document.
page '#e0e0e0' '#8a8a8a'
icon list_document "${PAGE[@]}"

ls -l "$OUT"
