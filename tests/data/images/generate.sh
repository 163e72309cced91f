#!/usr/bin/env bash
# Regenerates the small PNG fixtures of the image conversion tests (ImageMagick).
# Each file has a known decoded pixel format; the tests check the converted bitmap against it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
IM=/usr/bin/convert
# 3 x 2 pixels, so a 24-bit row (9 bytes) needs padding to 12.
# Top row: red, green, blue; bottom row: white, black, half-transparent orange (alpha 128).
pixels=(xc:red xc:lime xc:blue +append \( xc:white xc:black "xc:rgba(200,100,50,0.50196)" +append \) -append)
$IM "${pixels[@]}" -strip PNG32:argb32.png
$IM "${pixels[@]}" -alpha off -strip PNG24:rgb24.png
# Four opaque colours plus a fully transparent one in a palette of 8-bit indices.
$IM xc:red xc:lime xc:blue +append \( xc:white xc:black xc:none +append \) -append -strip PNG8:palette8.png
# Two colours at 1 bit per pixel.
$IM xc:black xc:white xc:white +append \( xc:white xc:black xc:black +append \) -append \
    -strip -type palette -define png:bit-depth=1 -define png:color-type=3 png:palette1.png
# 16 bits per channel: with alpha (64-bit), without (48-bit) and grey.
$IM "${pixels[@]}" -strip -depth 16 PNG64:rgba64.png
$IM "${pixels[@]}" -alpha off -strip -depth 16 PNG48:rgb48.png
$IM xc:gray25 xc:gray50 xc:gray75 +append -strip -depth 16 -define png:bit-depth=16 -define png:color-type=0 png:gray16.png
# Not an image at all.
printf 'not a picture\n' > not_an_image.png
# 8-bit TIFF with associated (premultiplied) alpha: decoded as 32-bit PARGB, which GDI can't
# take as it is, so the conversion draws it.
$IM "${pixels[@]}" -depth 8 -define tiff:alpha=associated -compress none pargb32.tif
# Opaque palette image: decoded as 8-bit indexed.
$IM "${pixels[@]}" -alpha off -strip -type palette PNG8:palette8_opaque.png
# Button state images: 40 x 20 in three colours, and a larger 60 x 30 one.
$IM -size 40x20 xc:red -strip PNG32:button_normal.png
$IM -size 40x20 xc:lime -strip PNG32:button_hover.png
$IM -size 40x20 xc:blue -strip PNG32:button_pressed.png
$IM -size 60x30 xc:yellow -strip PNG32:button_large.png
