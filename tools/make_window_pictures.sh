#!/usr/bin/env bash
# Makes the pictures of the main window that docs/medium.md shows, with ./dev preview: the x86_64
# Setup.exe on the sample medium under Wine, in English. Each page with every text's control
# outlined and numbered by the interface text slot it shows (the preview's --outline, from the
# running window); the menu page as it shows at 100 % and at 200 % display scale; and the six
# list pictures an item's "icon" picks. Re-run it when the layout, the skin or the sample
# medium changes.
#   tools/make_window_pictures.sh [OUT_DIR]      (default: docs/images)
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="$(mkdir -p "${1:-$ROOT/docs/images}" && cd "${1:-$ROOT/docs/images}" && pwd)"
WORK="$ROOT/build/window-pictures"
MONTAGE=/usr/bin/montage
FONT=DejaVu-Sans-Bold

log() { printf '== %s\n' "$*" >&2; }

# The preview of the English file; status 1 (a text that does not fit) still gives pictures.
preview() {  # output folder, preview options...
    local out="$1" rc=0
    shift
    "$ROOT/dev" preview --language en-us --out "$out" "$@" >/dev/null || rc=$?
    [ "$rc" -le 1 ] || { log "./dev preview $* failed ($rc)"; exit 1; }
}

rm -rf "$WORK"
mkdir -p "$WORK"

log "the six list pictures"
# In the order the window's image list holds them (src/window/layout.cpp): an item's "icon" is
# this index.
LIST_ICONS=(list_pdf list_application list_computer list_device list_archive list_document)
montage_args=()
# [2]: the 32 x 32 image the list shows at 100 % (tools/make_icons.sh stores 64, 48, 32, 16).
for index in "${!LIST_ICONS[@]}"; do
    montage_args+=(-label "icon=\"$index\"" "$ROOT/resources/icons/${LIST_ICONS[$index]}.ico[2]")
done
"$MONTAGE" -font "$FONT" -pointsize 11 -background white "${montage_args[@]}" -tile 6x1 -geometry 32x32+18+6 \
    -strip "$OUT/list-icons.png"

log "the pages, outlined"
preview "$WORK/outlined" --outline
# The preview's restart page is the finish page with the countdown running.
for page in menu:menu default:default custom:custom manuals:manuals progress:progress restart:finish; do
    cp "$WORK/outlined/en-us/${page%%:*}.png" "$OUT/window-${page#*:}.png"
done

for scale in 100 200; do
    log "the menu page at $scale %"
    preview "$WORK/$scale" --scale "$scale"
    cp "$WORK/$scale/en-us/menu.png" "$OUT/scale-$scale.png"
done
rm -rf "$WORK"
ls "$OUT"
