#!/usr/bin/env bash
# Draws the sample skin of the launcher with ImageMagick into OUTDIR (the medium's ImageIcon
# folder): "menu.png" (800 x 570 background: a dark left panel and a light content area),
# "logo.png" (transparent) and the three state images of the four button sizes, with the
# file names the window asks for; and each of them again for 150 % and 200 % display scale
# ("menu.scale-150.png", "menu.scale-200.png", ...), the same design drawn at that size.
#   tools/make_skin.sh OUTDIR
set -euo pipefail
OUT="${1:?usage: make_skin.sh OUTDIR}"
IM=/usr/bin/convert
FONT=DejaVu-Sans-Bold
FONT_LIGHT=DejaVu-Sans
SCALES=(100 150 200)
mkdir -p "$OUT"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The design is written in the pixels of 100 %; these turn its numbers into those of scale F.
F=1
calc() { awk "BEGIN { printf \"%.4g\", $1 }"; }
px() { calc "int(($1) * $F + 0.5)"; }  # a length in whole pixels
len() { calc "($1) * $F"; }           # a length: a radius, a stroke, a font size
# A filled rectangle of whole pixels (x0..x1, y0..y1 inclusive, as -draw fills them) covers the
# same area at scale F: its edges scaled, not its pixel centres.
box() { echo "$(px "$1"),$(px "$2") $(( $(px "$3 + 1") - 1 )),$(( $(px "$4 + 1") - 1 ))"; }
# Strokes, curves and soft shapes: drawn through a transform that maps pixel centres of 100 %
# onto those of scale F, so a stroke of 1 px keeps to the outermost F pixels.
transform() { echo "affine $F,0,0,$F,$(calc "($F - 1) / 2"),$(calc "($F - 1) / 2")"; }
# Round joins for the open paths: with mitred ones ImageMagick 6 closes a path whose stroke is
# wider than 2 px.

# --- background ------------------------------------------------------------------------
# Left panel 0..249 under the logo, content area to the right, a footer band where the page
# buttons sit (y 502 and below). The skin carries no words of any language: only the product's
# name and version, so it serves every language file.
background() {  # output file
    local t; t="$(transform)"
    $IM -size "$(px 250)x$(px 570)" gradient:'#16467f-#0a1d3a' \
        -fill '#ffffff10' -draw "$t circle 40,470 40,300" \
        -fill '#ffffff0c' -draw "$t circle 230,360 230,250" \
        -fill '#ffffff08' -draw "$t circle 120,140 120,40" \
        -fill none -stroke '#4fa3ff40' -strokewidth 2 -draw "$t arc -120,330 380,830 200,340" \
        -stroke '#4fa3ff28' -draw "$t arc -160,360 420,880 200,340" -stroke none \
        -fill none -stroke '#4fa3ff60' -strokewidth 2 \
        -draw "$t stroke-linejoin round path 'M 30,300 C 50,260 70,260 90,300 S 130,340 150,300 S 190,260 210,300'" \
        -stroke none \
        -fill '#ffffffd8' -font "$FONT" -pointsize "$(len 22)" -annotate "+$(px 30)+$(px 350)" 'Lumetra Scope' \
        -fill '#b9d3f2' -font "$FONT_LIGHT" -pointsize "$(len 14)" -annotate "+$(px 30)+$(px 372)" '4.2' \
        -fill '#7f9cc0' -pointsize "$(len 10)" -annotate "+$(px 30)+$(px 548)" '4.2.1  ·  © 2024 Lumetra Instruments' \
        "$work/panel.png"
    $IM -size "$(px 550)x$(px 570)" gradient:'#fbfcfe-#e8eef5' \
        -fill '#dde6f0' -draw "rectangle $(box 0 502 550 570)" \
        -fill '#c3d1e0' -draw "rectangle $(box 0 502 550 503)" \
        -fill '#ffffff' -draw "rectangle $(box 0 504 550 504)" \
        -fill none -stroke '#1e6fd120' -strokewidth 30 -draw "$t circle 560,-10 560,150" -stroke none \
        "$work/content.png"
    $IM "$work/panel.png" "$work/content.png" +append \
        -fill '#2f80d8' -draw "rectangle $(box 250 0 252 570)" \
        -alpha off -strip PNG24:"$1"
}

# --- logo ----------------------------------------------------------------------------------
# 180 x 40, transparent: an emblem (a screen with a trace) and the maker's name, drawn for the
# dark panel.
logo() {  # output file
    $IM -size "$(px 180)x$(px 40)" xc:none \
        -fill '#4fa3ff' -draw "roundrectangle $(box 3 5 37 35) $(len 6),$(len 6)" \
        -fill '#0a1d3a' -draw "roundrectangle $(box 6 8 34 32) $(len 4),$(len 4)" \
        -fill none -stroke '#ffb300' -strokewidth 2 \
        -draw "$(transform) stroke-linejoin round path 'M 8,20 L 13,20 L 16,12 L 20,28 L 24,14 L 27,20 L 32,20'" \
        -stroke none \
        -fill white -font "$FONT" -pointsize "$(len 19)" -annotate "+$(px 44)+$(px 22)" 'LUMETRA' \
        -fill '#9cc6f5' -font "$FONT_LIGHT" -pointsize "$(len 10)" -annotate "+$(px 45)+$(px 35)" 'INSTRUMENTS' \
        -strip PNG32:"$1"
}

# --- buttons -------------------------------------------------------------------------------
# name prefix, width, height, corner radius, file name suffix
button() {
    local prefix="$1" w="$2" h="$3" r="$4" suffix="$5"
    local size="$(px "$w")x$(px "$h")" corner="$(len "$r"),$(len "$r")" t
    t="$(transform)"
    $IM -size "$size" xc:none -fill white -draw "roundrectangle $(box 0 0 $((w - 1)) $((h - 1))) $corner" \
        "$work/mask.png"
    # state, top colour, bottom colour, border, gloss
    local state top bottom border gloss
    while read -r state top bottom border gloss; do
        $IM -size "$size" gradient:"$top-$bottom" \
            -fill "$gloss" -draw "roundrectangle $(box 2 2 $((w - 3)) $((h / 2))) $corner" \
            "$work/mask.png" -compose CopyOpacity -composite -compose Over \
            -fill none -stroke "$border" -strokewidth 1 \
            -draw "$t roundrectangle 0,0 $((w - 1)),$((h - 1)) $r,$r" \
            -strip PNG32:"$OUT/${prefix}_${state}${suffix}.png"
    done <<EOF
Normal #ffffff #d5dfea #98abc0 #ffffff50
Hover #5cb0ff #1c6fd0 #124f96 #ffffff40
Pressed #0f4c94 #2a7ad6 #0a3266 #00000020
EOF
}

for scale in "${SCALES[@]}"; do
    F="$(calc "$scale / 100")"
    suffix=""
    [ "$scale" = 100 ] || suffix=".scale-$scale"
    background "$OUT/menu$suffix.png"
    logo "$OUT/logo$suffix.png"
    button 400x70_Button 400 70 12 "$suffix"
    button 280x50_Button 280 50 10 "$suffix"
    button 136x40_button 136 40 8 "$suffix"
    button 120x26_button 120 26 6 "$suffix"
done

ls "$OUT"
