# Shared steps of the end-to-end scenarios. Sourced by tests/e2e/scenario_*.sh, not run.
#
# Each scenario gets its own X server, its own Wine prefix (a hard-link clone of a base prefix,
# with its own wineserver) and its own medium under $E2E_ROOT/<scenario>/, drives Setup.exe
# with the probe and xdotool, prints one PASS/FAIL line per check and exits non-zero on any
# failure. Everything started here is ended by the EXIT trap, also when a check fails.
#
# Environment (set by ctest, see tests/e2e/CMakeLists.txt):
#   SETUP_EXE  path of the Setup.exe under test
#   PROBE_EXE  path of probe.exe
#   E2E_ROOT   work folder, normally build/win64/e2e
# Optional: E2E_KEEP=1 keeps the scenario's prefix clone for a look afterwards.
#           E2E_ARCH=i686 says SETUP_EXE is the i686 build, E2E_WINDOWS=32 that the prefix is a
#           32-bit Windows; on a 64-bit one the i686 build runs under WoW64, where some
#           scenarios check other behaviour. Only the x86_64 build's timings are judged.

set -uo pipefail

E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER64=${WINESERVER64:-/usr/lib/wine/wineserver64}
CONVERT=/usr/bin/convert  # /usr/local/bin/convert may be a stand-in
: "${SETUP_EXE:?SETUP_EXE is not set}" "${PROBE_EXE:?PROBE_EXE is not set}" "${E2E_ROOT:?E2E_ROOT is not set}"
E2E_ARCH=${E2E_ARCH:-x86_64}
E2E_WINDOWS=${E2E_WINDOWS:-64}
under_wow64() { [ "$E2E_ARCH" = i686 ] && [ "$E2E_WINDOWS" = 64 ]; }
timed_build() { [ "$E2E_ARCH" = x86_64 ]; }

E2E_PASSED=0
E2E_FAILED=0
E2E_SKIPPED=0
SCENARIO=""
WORK=""
XVFB_PID=""
SETUP_PID=""
E2E_PREFIX=""

# Skin colours. Every image is one solid colour, so a pixel names the image it came from.
COLOUR_MENU="#C8DCF0"
COLOUR_LOGO="#008000"
COLOUR_NORMAL="#1E3C78"
COLOUR_HOVER="#3C965A"
COLOUR_PRESSED="#962828"
SCREEN_W=1024
SCREEN_H=768
LOGO_WIDTH=100
LOGO_HEIGHT=30

E2E_START=$(date +%s.%N)
log() { printf '   %6.2fs %s\n' "$(echo "$(date +%s.%N) - $E2E_START" | bc)" "$*"; }

# ---------------------------------------------------------------- checks

pass() { E2E_PASSED=$((E2E_PASSED + 1)); printf 'PASS  %s\n' "$1"; }
fail() { E2E_FAILED=$((E2E_FAILED + 1)); printf 'FAIL  %s\n' "$1"; [ $# -gt 1 ] && printf '      %s\n' "${@:2}"; return 0; }
skip() { E2E_SKIPPED=$((E2E_SKIPPED + 1)); printf 'SKIP  %s: %s\n' "$1" "$2"; }

check_eq() {  # description, expected, actual
    if [ "$2" = "$3" ]; then pass "$1"; else fail "$1" "expected: $2" "actual:   $3"; fi
}

check_cmd() {  # description, command...
    local description="$1"; shift
    if "$@"; then pass "$description"; else fail "$description" "command failed: $*"; fi
}

# Within a few pixels: window positions after a drag depend on the pointer's path.
check_near() {  # description, expected, actual, tolerance
    local diff=$(( $2 - $3 )); diff=${diff#-}
    if [ "$diff" -le "$4" ]; then pass "$1"; else fail "$1" "expected: $2 (+-$4)" "actual:   $3"; fi
}

# ---------------------------------------------------------------- processes

# Starts the scenario: folders, the trap, the X server. Usage: e2e_begin NAME
e2e_begin() {
    SCENARIO="$1"
    WORK="$E2E_ROOT/$SCENARIO"
    rm -rf "$WORK"; mkdir -p "$WORK"
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM
    echo "== scenario $SCENARIO (Setup: $SETUP_EXE)"
    [ -f "$SETUP_EXE" ] || { echo "FAIL  no $SETUP_EXE"; exit 1; }
    [ -f "$PROBE_EXE" ] || { echo "FAIL  no $PROBE_EXE"; exit 1; }
    start_xvfb
    new_prefix_clone
}

e2e_finish() {
    log "checks done"
    echo "== $SCENARIO: $E2E_PASSED passed, $E2E_FAILED failed, $E2E_SKIPPED skipped"
    [ "$E2E_FAILED" = 0 ] && [ "$E2E_PASSED" -gt 0 ]
}

# Xvfb picks a free display itself (-displayfd), so parallel scenarios never collide.
start_xvfb() {
    local fdfile="$WORK/xvfb.display"
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp 3>"$fdfile" >"$WORK/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 100); do
        [ -s "$fdfile" ] && break
        sleep 0.05
    done
    [ -s "$fdfile" ] || { echo "Xvfb did not start"; exit 1; }
    export DISPLAY=":$(tr -d '[:space:]' <"$fdfile")"
    log "Xvfb on $DISPLAY"
}

ensure_base_prefix() {
    local base="$E2E_ROOT/base-prefix"
    mkdir -p "$E2E_ROOT"
    flock "$E2E_ROOT.lock" bash -c \
        "[ -f '$base/.e2e-ready' ] || bash '$E2E_DIR/make_base_prefix.sh' '$base'"
}

# A clone of the base prefix: hard links for the files Wine only reads, real copies of the
# registry files, which wineserver rewrites in place.
new_prefix_clone() {
    ensure_base_prefix
    local base="$E2E_ROOT/base-prefix"
    E2E_PREFIX="$WORK/prefix"
    cp -al "$base" "$E2E_PREFIX"
    local reg
    for reg in system.reg user.reg userdef.reg; do
        [ -f "$base/$reg" ] && cp --remove-destination "$base/$reg" "$E2E_PREFIX/$reg"
    done
    export WINEPREFIX="$E2E_PREFIX" WINEDEBUG=-all
    log "prefix $E2E_PREFIX"
}

# Starts the prefix's wineserver under a locale. The server reads the locale when it starts, so
# a new locale needs a new server. Its output goes to a file: a server holding ctest's pipe
# would make ctest wait for it.
# The locale is given to each Wine command rather than exported: this shell has no such locale
# generated and would complain about it.
E2E_LOCALE=C.UTF-8
start_wine() {  # LC_ALL value
    stop_wine
    E2E_LOCALE="$1"
    LC_ALL="$E2E_LOCALE" "$WINESERVER64" -p >"$WORK/wineserver.log" 2>&1 </dev/null
    wine cmd /c exit >/dev/null 2>&1 </dev/null || true
    # Wine's desktop puts the pointer in the middle of the screen, over a menu button: park it
    # in a corner, so no button starts out hovered.
    xdotool mousemove 1020 760
    log "wine ready, LC_ALL=$1"
}

wine() { LC_ALL="$E2E_LOCALE" "$WINE64" "$@"; }

stop_wine() {
    [ -n "$E2E_PREFIX" ] || return 0
    WINEPREFIX="$E2E_PREFIX" "$WINESERVER64" -k >/dev/null 2>&1 || true
    WINEPREFIX="$E2E_PREFIX" "$WINESERVER64" -w >/dev/null 2>&1 || true
    reap_setup
}

reap_setup() {
    if [ -n "$SETUP_PID" ]; then
        kill "$SETUP_PID" 2>/dev/null || true
        wait "$SETUP_PID" 2>/dev/null || true
        SETUP_PID=""
    fi
}

# Runs Setup.exe from a medium in the background. Usage: start_setup MEDIUM_DIR
# Wine's error messages are kept for it (in setup.log): they explain a start that fails.
start_setup() {
    WINEDEBUG=fixme-all wine "$1/Setup.exe" >>"$WORK/setup.log" 2>&1 </dev/null &
    SETUP_PID=$!
}

# Waits up to SECONDS for Setup to end; sets SETUP_EXIT. Returns 1 on time-out.
wait_setup_exit() {  # seconds
    local i
    for i in $(seq $(( $1 * 10 ))); do
        if ! kill -0 "$SETUP_PID" 2>/dev/null; then
            wait "$SETUP_PID"; SETUP_EXIT=$?
            SETUP_PID=""
            return 0
        fi
        sleep 0.1
    done
    return 1
}

e2e_cleanup() {
    local rc=$?
    if [ -n "$XVFB_PID" ] && [ -n "$WORK" ] && [ ! -f "$WORK/screen.png" ]; then
        screenshot screen >/dev/null 2>&1 || true
    fi
    stop_wine
    if [ -n "$XVFB_PID" ]; then
        kill "$XVFB_PID" 2>/dev/null || true
        wait "$XVFB_PID" 2>/dev/null || true
        XVFB_PID=""
    fi
    if [ -n "$E2E_PREFIX" ] && [ -z "${E2E_KEEP:-}" ]; then rm -rf "$E2E_PREFIX"; fi
    log "cleaned up"
    exit "$rc"
}

# ---------------------------------------------------------------- the probe

probe() { wine "$PROBE_EXE" "$@"; }

# A text argument for the probe that survives Wine's command-line conversion.
probe_text() { printf 'hex:%s' "$(printf '%s' "$1" | od -An -tx1 | tr -d ' \n')"; }

# Waits for the main window and sets WIN_X WIN_Y (frame, screen), CLIENT_X CLIENT_Y (client
# origin, screen), CLIENT_W CLIENT_H, WIN_TITLE. Returns 1 when it does not come, at once when
# Setup has ended.
wait_window() {  # timeout in ms (default 15000: the first start of a prefix is slow)
    local line deadline=$(( $(date +%s%3N) + ${1:-15000} ))
    while :; do
        if line="$(probe wait 1000)"; then break; fi
        if [ -n "$SETUP_PID" ] && ! kill -0 "$SETUP_PID" 2>/dev/null; then
            wait "$SETUP_PID"; SETUP_EXIT=$?; SETUP_PID=""
            log "Setup ended without a main window (exit code $SETUP_EXIT); its output:"
            sed 's/^/      /' "$WORK/setup.log" 2>/dev/null | tail -20
            return 1
        fi
        if [ "$(date +%s%3N)" -ge "$deadline" ]; then log "no main window"; return 1; fi
    done
    log "main window up"
    read_window_line "$line"
}

# Starts Setup from a medium and waits for its main window; without one the scenario cannot go
# on, so it ends here as a failure.
# A start that Wine's loader gave up on before Setup ran (no kernel32, no server) is tried once
# more: it says nothing about Setup. A crash ("wine: Unhandled ...") is not retried.
start_setup_window() {  # medium dir
    local attempt
    for attempt in 1 2; do
        : >"$WORK/setup.log"
        start_setup "$1"
        wait_window && return 0
        [ -z "$SETUP_PID" ] && grep -qE '^wine: (could not load kernel32|.*wine ?server)' "$WORK/setup.log" || break
        log "Wine could not start Setup; once more"
    done
    fail "the main window opens"
    exit 1
}

refresh_window() {
    local line
    line="$(probe window)" || return 1
    read_window_line "$line"
}

read_window_line() {
    local hwnd pid w h visible
    IFS=$'\t' read -r hwnd pid WIN_X WIN_Y w h CLIENT_X CLIENT_Y CLIENT_W CLIENT_H visible WIN_TITLE <<<"$1"
    WIN_W=$w; WIN_H=$h
}

# The dump as an associative table per field: CTL_TEXT[id], CTL_VISIBLE[id], CTL_ENABLED[id],
# CTL_CLASS[id], CTL_RECT[id] ("x y w h"), CTL_STYLE[id]; CTL_IDS in z-order.
declare -A CTL_TEXT CTL_VISIBLE CTL_ENABLED CTL_CLASS CTL_RECT CTL_STYLE
CTL_IDS=()
read_dump() {
    CTL_TEXT=(); CTL_VISIBLE=(); CTL_ENABLED=(); CTL_CLASS=(); CTL_RECT=(); CTL_STYLE=(); CTL_IDS=()
    local out id class visible enabled x y w h style text
    # A dump taken while the window is busy repainting can time out; one miss is not a verdict.
    local try
    for try in 1 2 3; do
        out="$(probe dump)" && break
        [ "$try" = 3 ] && { log "probe dump failed"; return 1; }
        sleep 0.3
    done
    while IFS=$'\t' read -r id class visible enabled x y w h style text; do
        CTL_IDS+=("$id")
        CTL_CLASS[$id]=$class; CTL_VISIBLE[$id]=$visible; CTL_ENABLED[$id]=$enabled
        CTL_RECT[$id]="$x $y $w $h"; CTL_STYLE[$id]=$style; CTL_TEXT[$id]=$text
    done <<<"$out"
}

# Ids of the visible controls, sorted, space-separated.
visible_ids() {
    local id out=()
    for id in "${CTL_IDS[@]}"; do [ "${CTL_VISIBLE[$id]}" = 1 ] && out+=("$id"); done
    printf '%s\n' "${out[@]}" | sort -n | tr '\n' ' ' | sed 's/ $//'
}

# Waits until control ID is shown (1) or hidden (0), then refreshes the dump. Returns 1 on
# time-out.
wait_visible() {  # id, want, timeout seconds
    probe waitshown "$1" "$2" $(( ${3:-5} * 1000 )) || return 1
    read_dump
}

# Presses a button and waits for a control of the page it opens.
open_page() {  # button id, id of a control that the page shows
    probe click "$1" >/dev/null || { fail "button $1 can be pressed"; return 1; }
    wait_visible "$2" 1 3 || { fail "button $1 opens the page with $2"; return 1; }
}

# Presses a button that asks the exit question, answers yes and checks that the launcher ends,
# with exit code 0.
leave_with_yes() {  # button id, when (for the check's name)
    probe click "$1" >/dev/null
    probe msgbox 5000 >/dev/null
    probe answer IDYES 3000 >/dev/null
    if wait_setup_exit 10; then check_eq "$2: yes ends the launcher with exit code 0" 0 "$SETUP_EXIT"
    else fail "$2: yes ends the launcher with exit code 0" "it still runs after 10 s"; fi
}

# From a message box as the probe lists it (msgbox, boxes): the caption, and the texts of its
# statics that have one, a line each.
box_caption() { awk -F'\t' '$1 == "box" { print $3 }' <<<"$1"; }
box_text() { awk -F'\t' '$1 == "static" && $3 != "" { print $3 }' <<<"$1"; }

# Screen point of the centre of control ID (from the last dump and window line).
control_centre() {  # id -> "x y"
    local x y w h
    read -r x y w h <<<"${CTL_RECT[$1]}"
    echo "$(( CLIENT_X + x + w / 2 )) $(( CLIENT_Y + y + h / 2 ))"
}

# ---------------------------------------------------------------- screen

screenshot() {  # name -> path of $WORK/name.png (and name.rgb beside it, for pixel)
    local out="$WORK/$1.png"
    xwd -root -display "$DISPLAY" | "$CONVERT" xwd:- -write "png:$out" -depth 8 "rgb:${out%.png}.rgb"
    echo "$out"
}

# Colour of one screen pixel of a screenshot, as #RRGGBB. Read from the raw copy (rows of
# SCREEN_W pixels, three bytes each): one od call instead of decoding the image again.
pixel() {  # file, x, y
    od -An -tx1 -j $(( ($3 * SCREEN_W + $2) * 3 )) -N3 "${1%.png}.rgb" | tr -d ' \n' | tr 'a-f' 'A-F' | sed 's/^/#/'
}

# Colour of a pixel in the window's client area.
client_pixel() {  # file, client x, client y
    pixel "$1" $(( CLIENT_X + $2 )) $(( CLIENT_Y + $3 ))
}

# How many pixels of a client rectangle have exactly one colour.
count_colour() {  # file, client x, y, w, h, #RRGGBB
    local want; want="$(tr 'a-f' 'A-F' <<<"$6")"
    "$CONVERT" "$1" -crop "$4x$5+$(( CLIENT_X + $2 ))+$(( CLIENT_Y + $3 ))" +repage -depth 8 \
        -format %c histogram:info:- \
        | awk -v want="$want" '{ for (i = 1; i <= NF; i++) if (toupper($i) == want) { sub(":", "", $1); n += $1 } }
                               END { print n + 0 }'
}

# ---------------------------------------------------------------- the mouse

mouse_to() { xdotool mousemove "$1" "$2"; sleep 0.05; }

# Press at one screen point, move in steps to another, release.
drag() {  # x1 y1 x2 y2
    local steps=10 i
    mouse_to "$1" "$2"; sleep 0.2
    xdotool mousedown 1; sleep 0.2
    for i in $(seq $steps); do
        xdotool mousemove $(( $1 + ($3 - $1) * i / steps )) $(( $2 + ($4 - $2) * i / steps )); sleep 0.03
    done
    sleep 0.2
    xdotool mouseup 1; sleep 0.3
}

double_click() { mouse_to "$1" "$2"; sleep 0.1; xdotool click --repeat 2 --delay 80 1; }
single_click() { mouse_to "$1" "$2"; sleep 0.1; xdotool click 1; }

# ---------------------------------------------------------------- texts

# Which slot each control shows (the dot labels show slot 19 followed by one to five dots).
CONTROL_SLOTS="1005 0|1006 1|1007 3|1011 4|1008 6|1009 8|1000 2|1001 5|1002 7|1003 9|1025 2|1027 10|1026 11|\
1015 16|1016 17|1017 18|1035 5|1036 26|1037 11|1033 24|1034 25|1038 7|1039 27|1040 28|1045 19|1046 20|1047 21|\
1048 22|1050 23|1051 19|1052 19|1053 19|1054 19|1055 19|1056 30|1058 31"

# Lines "id<TAB>text" of every control's expected text when slot k reads "<prefix>S<k>", or
# when every slot is empty (second argument "empty").
expected_texts() {  # prefix, [empty]
    local pair id slot text dots
    IFS='|' read -ra pairs <<<"$CONTROL_SLOTS"
    for pair in "${pairs[@]}"; do
        read -r id slot <<<"$pair"
        if [ "${2:-}" = empty ]; then text=""; else text="$1S$slot"; fi
        if [ "$id" -ge 1051 ] && [ "$id" -le 1055 ]; then
            dots=$(printf '%*s' $(( id - 1050 )) '' | tr ' ' '.')
            text="$text$dots"
        fi
        printf '%s\t%s\n' "$id" "$text"
    done
    printf '1057\t8\n'
}

# Checks every control's text against expected_texts (needs a fresh read_dump).
check_texts() {  # what, prefix, [empty]
    local id text bad=()
    while IFS=$'\t' read -r id text; do
        [ "${CTL_TEXT[$id]-<missing>}" = "$text" ] || bad+=("$id: expected '$text', got '${CTL_TEXT[$id]-<missing>}'")
    done < <(expected_texts "$2" "${3:-}")
    if [ ${#bad[@]} = 0 ]; then pass "$1"; else fail "$1" "${bad[@]}"; fi
}

# Asks the program to close and waits for it to end; a program that does not end is killed
# with its wineserver, which the next start_wine replaces.
end_setup() {
    probe close >/dev/null 2>&1
    if wait_setup_exit 8; then return 0; fi
    fail "the program ends on WM_CLOSE"
    start_wine "$E2E_LOCALE"
}

# ---------------------------------------------------------------- media

# Slot k's text is "<prefix>S<k>"; slot 35 is never filled, so entry 35 carries "S36" and
# entry 36 "S37". The keys are distinct, so every slot shows where its text went.
slot_of_entry() { if [ "$1" -lt 35 ]; then echo "$1"; else echo $(( $1 + 1 )); fi; }

# UICfg.xml with 37 entries of varying element names and keys K00..K36.
write_uicfg() {  # medium dir
    mkdir -p "$1/Language"
    {
        echo '<?xml version="1.0" encoding="utf-8"?>'
        echo '<UICfg>'
        local k names=(Text Caption Label)
        for k in $(seq 0 36); do
            printf '  <%s id="%d" size="%d">K%02d</%s>\n' "${names[$((k % 3))]}" "$k" "$((k * 10))" "$k" \
                "${names[$((k % 3))]}"
        done
        echo '</UICfg>'
    } >"$1/Language/UICfg.xml"
}

# A language file whose slot texts are "<prefix>S<k>", plus item texts ITEM<n> = "<prefix>Item <n>".
write_language() {  # medium dir, code, prefix
    mkdir -p "$1/Language"
    {
        echo '[ROOT]'
        local k
        for k in $(seq 0 36); do printf 'K%02d = %sS%d\n' "$k" "$3" "$(slot_of_entry "$k")"; done
        for k in 0 1 2 3 4 5; do printf 'ITEM%d = %sItem %d\n' "$k" "$3" "$k"; done
    } >"$1/Language/$2.ini"
}

solid_png() {  # file, width, height, colour
    "$CONVERT" -size "$2x$3" "xc:$4" -define png:color-type=6 "PNG32:$1"
}

# Skin of solid colours: menu.png, logo.png and the three states of the four button sizes.
write_skin() {  # medium dir
    local dir="$1/ImageIcon"
    mkdir -p "$dir"
    solid_png "$dir/menu.png" 800 570 "$COLOUR_MENU"
    solid_png "$dir/logo.png" "$LOGO_WIDTH" "$LOGO_HEIGHT" "$COLOUR_LOGO"
    local size word
    for size in 400x70 280x50 136x40 120x26; do
        case $size in 400x70|280x50) word=Button ;; *) word=button ;; esac
        solid_png "$dir/${size}_${word}_Normal.png" "${size%x*}" "${size#*x}" "$COLOUR_NORMAL"
        solid_png "$dir/${size}_${word}_Hover.png" "${size%x*}" "${size#*x}" "$COLOUR_HOVER"
        solid_png "$dir/${size}_${word}_Pressed.png" "${size%x*}" "${size#*x}" "$COLOUR_PRESSED"
    done
}

# conf.xml: root attributes, ui showIcon, installs/manuals showIcon, and item lines.
write_conf() {  # medium dir, root attributes, ui showIcon, installs showIcon, manuals showIcon
    cat >"$1/conf.xml" <<EOF
<?xml version="1.0" encoding="utf-8"?>
<Product $2>
  <ui showIcon="$3"/>
  <installs showIcon="$4">
    <item strId="ITEM0" open="Setup/a.exe" default="1" icon="2"/>
    <item strId="ITEM1" open="Setup/b.exe" default="0" icon="1"/>
    <item strId="ITEM2" default="1" icon="3"/>
  </installs>
  <manuals showIcon="$5">
    <item strId="ITEM3" open="Manual/guide.txt" icon="0"/>
    <item strId="ITEM4" icon="5"/>
  </manuals>
</Product>
EOF
}

# A complete medium: Setup.exe, conf.xml, UICfg.xml, an en-us file, the skin.
write_medium() {  # dir, root attributes, ui showIcon, installs showIcon, manuals showIcon
    mkdir -p "$1"
    cp "$SETUP_EXE" "$1/Setup.exe"
    write_conf "$1" "$2" "$3" "$4" "$5"
    write_uicfg "$1"
    write_language "$1" en-us ""
    write_skin "$1"
}
