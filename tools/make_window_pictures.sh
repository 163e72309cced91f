#!/usr/bin/env bash
# Takes the pictures of the main window that docs/medium.md shows. The x86_64 Setup.exe runs on
# the sample medium under wine64 and Xvfb (English locale); each page is photographed and every
# control that shows a text is outlined and numbered by the interface text slot it shows. The
# rectangles come from the program's own control table (window_facts.exe --facts), so the
# pictures follow the layout when it changes. Also draws the six list pictures an item's "icon"
# picks. Re-run it when the layout, the skin or the sample medium changes.
#   tools/make_window_pictures.sh [BUILD_DIR] [OUT_DIR]      (defaults: build/win64, docs/images)
# Needs a built BUILD_DIR (Setup.exe, window_facts.exe, the sample installer): ./dev build.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$(cd "${1:-$ROOT/build/win64}" && pwd)"
OUT="${2:-$ROOT/docs/images}"
WORK="$ROOT/build/window-pictures"
WINE64=/usr/lib/wine/wine64
WINESERVER64=/usr/lib/wine/wineserver64
IM=/usr/bin/convert  # /usr/local/bin/convert may be a stand-in
MONTAGE=/usr/bin/montage
SCREEN_W=1280
SCREEN_H=1024
WINDOW_W=800
WINDOW_H=570
LOCALE=en_US.UTF-8
FONT=DejaVu-Sans-Bold
COLOUR_LABEL='#d6006f'
COLOUR_BUTTON='#0a58c2'
COLOUR_LIST='#1d8a3c'
COLOUR_FIXED='#6b6b6b'

log() { printf '== %s\n' "$*" >&2; }
die() { log "$*"; exit 1; }

for needed in "$BUILD/Setup.exe" "$BUILD/window_facts.exe"; do
    [ -f "$needed" ] || die "no $needed: build first (./dev build)"
done

XVFB_PID=""
MOVER_PID=""
SETUP_PID=""
stop() {  # pid
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}
cleanup() {
    stop "$MOVER_PID"; MOVER_PID=""
    if [ -d "$WORK/prefix" ]; then
        WINEPREFIX="$WORK/prefix" "$WINESERVER64" -k 2>/dev/null || true
        WINEPREFIX="$WORK/prefix" "$WINESERVER64" -w 2>/dev/null || true
    fi
    stop "$SETUP_PID"; SETUP_PID=""
    stop "$XVFB_PID"; XVFB_PID=""
    rm -rf "$WORK/prefix"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

rm -rf "$WORK"
mkdir -p "$WORK" "$OUT"
"$ROOT/tools/make_medium.sh" "$BUILD" "$WORK/medium" >/dev/null

# ---------------------------------------------------------------- the six list pictures

# In the order the window's image list holds them (src/window/layout.cpp): an item's "icon" is
# this index.
LIST_ICONS=(list_pdf list_application list_computer list_device list_archive list_document)
montage_args=()
for index in "${!LIST_ICONS[@]}"; do
    montage_args+=(-label "icon=\"$index\"" "$ROOT/resources/icons/${LIST_ICONS[$index]}.ico[0]")
done
"$MONTAGE" -font "$FONT" -pointsize 11 -background white "${montage_args[@]}" -tile 6x1 -geometry 32x32+18+6 \
    -strip "$OUT/list-icons.png"

# ---------------------------------------------------------------- Xvfb, Wine, Setup

Xvfb -displayfd 3 -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 100); do [ -s "$WORK/display" ] && break; sleep 0.05; done
[ -s "$WORK/display" ] || die "Xvfb did not start"
export DISPLAY=":$(tr -d '[:space:]' <"$WORK/display")"

export WINEPREFIX="$WORK/prefix" WINEDEBUG=-all
log "making a Wine prefix"
"$WINE64" wineboot -i >/dev/null 2>&1 </dev/null || true
"$WINESERVER64" -k 2>/dev/null || true
"$WINESERVER64" -w 2>/dev/null || true
# The server takes its locale when it starts: English texts for every picture.
LC_ALL="$LOCALE" "$WINESERVER64" -p >/dev/null 2>&1 </dev/null
LC_ALL="$LOCALE" "$WINE64" "$BUILD/window_facts.exe" --facts </dev/null 2>/dev/null | tr -d '\r' >"$WORK/facts.tsv"
grep -q '^1005	' "$WORK/facts.tsv" || die "window_facts.exe --facts printed no control table"

log "starting Setup.exe on the sample medium ($LOCALE)"
LC_ALL="$LOCALE" "$WINE64" "$WORK/medium/Setup.exe" >"$WORK/setup.log" 2>&1 </dev/null &
SETUP_PID=$!

WIN_X=""
WIN_ID=""
for _ in $(seq 300); do
    while read -r id; do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        if [ "$WIDTH" = "$WINDOW_W" ] && [ "$HEIGHT" = "$WINDOW_H" ]; then
            WIN_X=$X; WIN_Y=$Y; WIN_ID="$(printf '0x%x' "$id")"; break
        fi
    done < <(xdotool search --onlyvisible --classname '^setup\.exe$' 2>/dev/null || true)
    [ -n "$WIN_X" ] && break
    kill -0 "$SETUP_PID" 2>/dev/null || die "Setup.exe ended without a window: $(cat "$WORK/setup.log")"
    sleep 0.1
done
[ -n "$WIN_X" ] || die "Setup's main window did not come up"
log "main window at $WIN_X,$WIN_Y"

# Installers open their own windows over Setup's (the sample's are named setup.exe too): every
# named window but the main one is moved beside it as soon as it shows.
# Their titles are kept in a file, one a line, so the pictures can wait for the nth installer (X
# reuses the ids of windows that have gone).
: >"$WORK/installers"
keep_installers_aside() {
    while :; do
        xwininfo -root -children 2>/dev/null \
            | awk -v main="$WIN_ID" '$1 ~ /^0x/ && $2 ~ /^"/ && !/"Default IME"/ && !/ 1x1\+/ && $1 != main {
                split($0, quoted, "\""); print $1, quoted[2] }' \
            | while read -r id title; do
            xdotool windowmove "$id" $((WIN_X + WINDOW_W + 10)) "$WIN_Y" 2>/dev/null || true
            grep -qxF "$title" "$WORK/installers" || echo "$title" >>"$WORK/installers"
        done
        sleep 0.2
    done
}
keep_installers_aside &
MOVER_PID=$!

# The pointer rests outside the window, so no button is photographed in its hover state.
park_pointer() { xdotool mousemove $((SCREEN_W - 1)) $((SCREEN_H - 1)); }
park_pointer

# The screen as an image file. xwd fails now and then with BadDrawable when a window goes away
# while it reads the screen (an installer ending): it is asked again.
grab_screen() {  # output file (.xwd)
    local attempt
    for attempt in 1 2 3 4 5; do
        xwd -root -display "$DISPLAY" -out "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    die "xwd could not read the screen"
}
window_image() {  # output file
    grab_screen "$WORK/screen.xwd"
    "$IM" "xwd:$WORK/screen.xwd" -crop "${WINDOW_W}x${WINDOW_H}+$WIN_X+$WIN_Y" +repage "$1"
}
window_hash() {
    grab_screen "$WORK/screen.xwd"
    "$IM" "xwd:$WORK/screen.xwd" -crop "${WINDOW_W}x${WINDOW_H}+$WIN_X+$WIN_Y" rgb:- | md5sum
}

# A button's rectangle: the table's, except that an image button takes the size of its normal
# image, which in the sample skin is the size its file name states (120x26_button: 120 x 26).
# Prints "x y width height".
control_rect() {  # id
    awk -F'\t' -v id="$1" '$1 == id {
        w = $4; h = $5
        if ($10 != "-") { split($10, size, "_"); split(size[1], wh, "x"); w = wh[1]; h = wh[2] }
        print $2, $3, w, h }' "$WORK/facts.tsv"
}

# Clicks a control and waits until the window has changed and then holds still.
click() {  # id
    local x y w h before now last="" i
    read -r x y w h < <(control_rect "$1")
    before="$(window_hash)"
    xdotool mousemove $((WIN_X + x + w / 2)) $((WIN_Y + y + h / 2)) click 1
    park_pointer
    for i in $(seq 60); do
        sleep 0.25
        now="$(window_hash)"
        if [ "$now" != "$before" ] && [ "$now" = "$last" ]; then return 0; fi
        last="$now"
    done
    die "the window did not change after a click on control $1"
}

# Whether client rectangle x y w h holds a pixel of one colour (#RRGGBB).
holds_colour() {  # x y w h colour
    grab_screen "$WORK/screen.xwd"
    "$IM" "xwd:$WORK/screen.xwd" -crop "$3x$4+$((WIN_X + $1))+$((WIN_Y + $2))" +repage \
        -depth 8 -format %c histogram:info:- | grep -qi "$5"
}

# ---------------------------------------------------------------- the pages

log "photographing the pages"
window_image "$WORK/menu.png"
click 1000; window_image "$WORK/default.png"
click 1015; click 1001; click 1033; window_image "$WORK/custom.png"
click 1015; click 1002; window_image "$WORK/manuals.png"
click 1015; click 1001
# The run: the picture is taken while the second installer runs, so the first row already
# shows its result and the second the progress heading.
click 1016
for _ in $(seq 600); do [ "$(wc -l <"$WORK/installers")" -ge 2 ] && break; sleep 0.1; done
[ "$(wc -l <"$WORK/installers")" -ge 2 ] || die "the installation run did not start its second installer"
sleep 1.5
window_image "$WORK/progress.png"
# The finish page comes with the countdown, whose seconds are red.
read -r sx sy sw sh < <(control_rect 1057)
for _ in $(seq 900); do holds_colour "$sx" "$sy" "$sw" "$sh" '#FF0000' && break; sleep 0.2; done
holds_colour "$sx" "$sy" "$sw" "$sh" '#FF0000' || die "the finish page did not come"
sleep 0.5
window_image "$WORK/finish.png"
# The countdown would now restart Wine's "computer": end it all first.
cleanup

# ---------------------------------------------------------------- the outlines

# ImageMagick draw arguments that outline the controls of the pages given (and of the extra
# ids) with a numbered tag: the slot of a text, "8" for the fixed seconds, the list's role for
# a list. A tag stands left of its control, or right of it where another outline is there.
outline_args() {  # pages (comma-separated), extra ids (comma-separated)
    awk -F'\t' -v pages="$1" -v extra="$2" -v label="$COLOUR_LABEL" -v button="$COLOUR_BUTTON" \
        -v list="$COLOUR_LIST" -v fixed="$COLOUR_FIXED" -v font="$FONT" '
    function shown(row_pages, id,    n, i, want) {
        n = split(pages, want, ",")
        for (i = 1; i <= n; i++) if (index("," row_pages ",", "," want[i] ",")) return 1
        return index("," extra ",", "," id ",") > 0
    }
    function inside(px, py, except,    j) {
        for (j = 1; j <= count; j++)
            if (j != except && px >= X[j] && px < X[j] + W[j] && py >= Y[j] && py < Y[j] + H[j]) return 1
        return 0
    }
    $1 ~ /^[0-9]+$/ && $9 != "-" && shown($9, $1) {
        w = $4; h = $5
        if ($10 != "-") { split($10, size, "_"); split(size[1], wh, "x"); w = wh[1]; h = wh[2] }
        if ($7 ~ /^slot /) { split($7, s, " "); tag = s[2]; colour = ($10 != "-") ? button : label }
        else if ($7 ~ /^"/) { tag = $7; gsub(/"/, "", tag); colour = fixed }
        else if ($1 == 1044) { tag = "manuals: strId texts"; colour = list }
        else if ($1 == 1061) { tag = "installs: strId texts; status 19, 36, 37"; colour = list }
        else next
        count++; X[count] = $2; Y[count] = $3; W[count] = w; H[count] = h; T[count] = tag; C[count] = colour
    }
    END {
        for (i = 1; i <= count; i++) {
            tw = 7 * length(T[i]) + 6
            tx = X[i] - tw - 1; ty = Y[i]
            if (length(T[i]) > 3) { tx = X[i] + W[i] - tw; ty = Y[i] - 16 }  # a list: above, right
            else if (tx < 0 || inside(tx + 1, ty + 1, i)) tx = X[i] + W[i] + 1
            printf "-fill\nnone\n-stroke\n%s\n-strokewidth\n2\n-draw\nrectangle %d,%d %d,%d\n", \
                C[i], X[i], Y[i], X[i] + W[i] - 1, Y[i] + H[i] - 1
            printf "-stroke\nnone\n-fill\n%s\n-draw\nrectangle %d,%d %d,%d\n", C[i], tx, ty, tx + tw - 1, ty + 14
            printf "-fill\nwhite\n-font\n%s\n-pointsize\n11\n-annotate\n+%d+%d\n%s\n", font, tx + 3, ty + 11, T[i]
        }
    }' "$WORK/facts.tsv"
}

annotate() {  # shot name, title, pages, extra ids
    local args=()
    mapfile -t args < <(outline_args "$3" "${4:-}")
    "$IM" "$WORK/$1.png" "${args[@]}" \
        -background '#202020' -gravity south -splice 0x22 -gravity southwest -fill white -stroke none \
        -font "$FONT" -pointsize 12 -annotate +8+5 "$2" \
        -strip PNG24:"$OUT/window-$1.png"
}

log "outlining the controls"
legend="numbers: text slots of labels (magenta) and buttons (blue)"
annotate menu "Menu page; $legend" MenuPage
annotate default "Default installation; $legend" DefaultInstallPage
annotate custom "Custom installation, after Select all; $legend" CustomInstallPage
annotate manuals "Manuals; $legend" ManualsPage
annotate progress "Installation running; $legend" ProgressPage 1017
annotate finish "Finish and countdown; $legend; grey: fixed" FinishPage,RestartPage
rm -rf "$WORK"
ls "$OUT"
