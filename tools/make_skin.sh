#!/usr/bin/env bash
# Draws the sample skin of the launcher with ImageMagick into OUTDIR (the medium's ImageIcon
# folder): "menu.png" (800 x 570 background: a dark left panel and a light content area),
# "logo.png" (transparent) and the three state images of the four button sizes, with the
# file names the window asks for.
#   tools/make_skin.sh OUTDIR
set -euo pipefail
OUT="${1:?usage: make_skin.sh OUTDIR}"
IM=/usr/bin/convert
FONT=DejaVu-Sans-Bold
FONT_LIGHT=DejaVu-Sans
mkdir -p "$OUT"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# --- background ------------------------------------------------------------------------
# Left panel 0..249 under the logo, content area to the right, a footer band where the page
# buttons sit (y 502 and below). The skin carries no words of any language: only the product's
# name and version, so it serves every language file.
$IM -size 250x570 gradient:'#16467f-#0a1d3a' \
    -fill '#ffffff10' -draw 'circle 40,470 40,300' \
    -fill '#ffffff0c' -draw 'circle 230,360 230,250' \
    -fill '#ffffff08' -draw 'circle 120,140 120,40' \
    -fill none -stroke '#4fa3ff40' -strokewidth 2 -draw 'arc -120,330 380,830 200,340' \
    -stroke '#4fa3ff28' -draw 'arc -160,360 420,880 200,340' -stroke none \
    -fill none -stroke '#4fa3ff60' -strokewidth 2 \
    -draw "path 'M 30,300 C 50,260 70,260 90,300 S 130,340 150,300 S 190,260 210,300'" -stroke none \
    -fill '#ffffffd8' -font "$FONT" -pointsize 22 -annotate +30+350 'Lumetra Scope' \
    -fill '#b9d3f2' -font "$FONT_LIGHT" -pointsize 14 -annotate +30+372 '4.2' \
    -fill '#7f9cc0' -pointsize 10 -annotate +30+548 '4.2.1  ·  © 2024 Lumetra Instruments' \
    "$work/panel.png"
$IM -size 550x570 gradient:'#fbfcfe-#e8eef5' \
    -fill '#dde6f0' -draw 'rectangle 0,502 550,570' \
    -fill '#c3d1e0' -draw 'rectangle 0,502 550,503' \
    -fill '#ffffff' -draw 'rectangle 0,504 550,504' \
    -fill none -stroke '#1e6fd120' -strokewidth 30 -draw 'circle 560,-10 560,150' -stroke none \
    "$work/content.png"
$IM "$work/panel.png" "$work/content.png" +append \
    -fill '#2f80d8' -draw 'rectangle 250,0 252,570' \
    -alpha off -strip PNG24:"$OUT/menu.png"

# --- logo ----------------------------------------------------------------------------------
# 180 x 40, transparent: an emblem (a screen with a trace) and the maker's name, drawn for the
# dark panel.
$IM -size 180x40 xc:none \
    -fill '#4fa3ff' -draw 'roundrectangle 3,5 37,35 6,6' \
    -fill '#0a1d3a' -draw 'roundrectangle 6,8 34,32 4,4' \
    -fill none -stroke '#ffb300' -strokewidth 2 -draw "path 'M 8,20 L 13,20 L 16,12 L 20,28 L 24,14 L 27,20 L 32,20'" \
    -stroke none \
    -fill white -font "$FONT" -pointsize 19 -annotate +44+22 'LUMETRA' \
    -fill '#9cc6f5' -font "$FONT_LIGHT" -pointsize 10 -annotate +45+35 'INSTRUMENTS' \
    -strip PNG32:"$OUT/logo.png"

# --- buttons -------------------------------------------------------------------------------
# name prefix, width, height, corner radius
button() {
    local prefix="$1" w="$2" h="$3" r="$4"
    local x2=$((w - 1)) y2=$((h - 1)) mid=$((h / 2))
    $IM -size "${w}x${h}" xc:none -fill white -draw "roundrectangle 0,0 $x2,$y2 $r,$r" "$work/mask.png"
    # state, top colour, bottom colour, border, gloss
    local state top bottom border gloss
    while read -r state top bottom border gloss; do
        $IM -size "${w}x${h}" gradient:"$top-$bottom" \
            -fill "$gloss" -draw "roundrectangle 2,2 $((w - 3)),$mid $r,$r" \
            "$work/mask.png" -compose CopyOpacity -composite -compose Over \
            -fill none -stroke "$border" -strokewidth 1 -draw "roundrectangle 0,0 $x2,$y2 $r,$r" \
            -strip PNG32:"$OUT/${prefix}_${state}.png"
    done <<EOF
Normal #ffffff #d5dfea #98abc0 #ffffff50
Hover #5cb0ff #1c6fd0 #124f96 #ffffff40
Pressed #0f4c94 #2a7ad6 #0a3266 #00000020
EOF
}
button 400x70_Button 400 70 12
button 280x50_Button 280 50 10
button 136x40_button 136 40 8
button 120x26_button 120 26 6

ls "$OUT"
