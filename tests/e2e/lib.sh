# Shared steps of the end-to-end scenarios. Sourced by tests/e2e/scenario_*.sh, not run.
#
# Each scenario gets its own X server, its own Wine prefix (a hard-link clone of a base prefix,
# with its own wineserver) and its own medium under $E2E_ROOT/<scenario>/, drives Setup.exe
# with the probe and xdotool, prints one PASS/FAIL line per check and exits non-zero on any
# failure. Everything started here is ended by the EXIT trap, also when a check fails. Where a
# step must wait for the program, it waits for what shows that the program got there
# (wait_until, settle), never for a fixed time; a sleep stays only where time itself is tested.
#
# Environment (set by ctest, see tests/e2e/CMakeLists.txt):
#   SETUP_EXE     path of the Setup.exe under test
#   PROBE_EXE     path of probe.exe
#   E2E_ROOT      work folder, normally build/win64/e2e
#   WINDOW_FACTS  the program's control table (window_facts --facts), for controls.sh
# Optional: E2E_KEEP=1 keeps the scenario's prefix clone for a look afterwards.
#           E2E_ARCH=i686 says SETUP_EXE is the i686 build, E2E_WINDOWS=32 that the prefix is a
#           32-bit Windows; on a 64-bit one the i686 build runs under WoW64, where some
#           scenarios check other behaviour. Only the x86_64 build's timings are judged.

set -uo pipefail

E2E_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$E2E_DIR/../../tools/dev/wait.sh"
source "$E2E_DIR/../../tools/dev/display.sh"
source "$E2E_DIR/../../tools/dev/wine.sh"
CONVERT=/usr/bin/convert  # /usr/local/bin/convert may be a stand-in
: "${SETUP_EXE:?SETUP_EXE is not set}" "${PROBE_EXE:?PROBE_EXE is not set}" "${E2E_ROOT:?E2E_ROOT is not set}"
E2E_ARCH=${E2E_ARCH:-x86_64}
E2E_WINDOWS=${E2E_WINDOWS:-64}
under_wow64() { [ "$E2E_ARCH" = i686 ] && [ "$E2E_WINDOWS" = 64 ]; }
timed_build() { [ "$E2E_ARCH" = x86_64 ]; }

E2E_PASSED=0
E2E_FAILED=0
SCENARIO=""
WORK=""
SETUP_PID=""
E2E_PREFIX=""
SCREEN_W=1024
SCREEN_H=768

source "$E2E_DIR/controls.sh"
source "$E2E_DIR/medium.sh"

E2E_START=$(now_ms)
log() { printf '   %6.2fs %s\n' "$(bc <<<"scale=2; ($(now_ms) - $E2E_START) / 1000")" "$*"; }

# ---------------------------------------------------------------- checks

pass() { E2E_PASSED=$((E2E_PASSED + 1)); printf 'PASS  %s\n' "$1"; }
fail() {
    E2E_FAILED=$((E2E_FAILED + 1)); printf 'FAIL  %s\n' "$1"; [ $# -gt 1 ] && printf '      %s\n' "${@:2}"
    # A launcher that has gone explains most failures after it: say so once, with Wine's output.
    if [ -n "${SETUP_PID:-}" ] && [ "${REPORTED_GONE:-}" != "$SETUP_PID" ] && ! kill -0 "$SETUP_PID" 2>/dev/null; then
        REPORTED_GONE=$SETUP_PID
        printf '      (Setup, process %s, is no longer running; its output:)\n' "$SETUP_PID"
        tail -20 "$WORK/setup.log" 2>/dev/null | sed 's/^/      /'
    fi
    return 0
}

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
    if [ -n "${WINDOW_FACTS:-}" ]; then load_facts || { echo "FAIL  no control table in $WINDOW_FACTS"; exit 1; }; fi
    start_xvfb "$WORK/xvfb.log" "${SCREEN_W}x${SCREEN_H}" || exit 1
    log "Xvfb on $DISPLAY"
    new_prefix_clone
}

e2e_finish() {
    log "checks done"
    echo "== $SCENARIO: $E2E_PASSED passed, $E2E_FAILED failed"
    [ "$E2E_FAILED" = 0 ] && [ "$E2E_PASSED" -gt 0 ]
}

# The lock's descriptor is closed for the command (--close): a Wine server started in there must
# not hold the lock for as long as it lives.
ensure_base_prefix() {
    local base="$E2E_ROOT/base-prefix"
    mkdir -p "$E2E_ROOT"
    flock --close "$E2E_ROOT.lock" bash -c \
        "[ -f '$base/.e2e-ready' ] || bash '$E2E_DIR/make_base_prefix.sh' '$base'"
}

new_prefix_clone() {
    ensure_base_prefix
    E2E_PREFIX="$WORK/prefix"
    clone_prefix "$E2E_ROOT/base-prefix" "$E2E_PREFIX"
    export WINEPREFIX="$E2E_PREFIX" WINEDEBUG=-all
    log "prefix $E2E_PREFIX"
}

# Starts the prefix's wineserver under a locale (a new locale needs a new server). The locale is
# given to each Wine command rather than exported: this shell has no such locale generated and
# would complain about it.
E2E_LOCALE=C.UTF-8
start_wine() {  # LC_ALL value
    stop_wine
    E2E_LOCALE="$1"
    start_wineserver "$E2E_PREFIX" "$E2E_LOCALE" "$WORK/wineserver.log"
    # Wine's desktop puts the pointer in the middle of the screen, over a menu button: park it
    # in a corner, so no button starts out hovered.
    park_pointer
    log "wine ready, LC_ALL=$1"
}

wine() { LC_ALL="$E2E_LOCALE" "$WINE64" "$@"; }

# Wine's Unix side decodes file names in its locale's charset, and this machine generates no
# locale: without one a name beyond ASCII is lost, and a program so placed cannot even start. The
# locales are made once per run (localedef, package locales) and reach Wine through LOCPATH.
use_generated_locales() {  # locale names such as de_DE.UTF-8
    local name
    export LOCPATH="$E2E_ROOT/locales"
    mkdir -p "$LOCPATH"
    for name in "$@"; do
        flock "$LOCPATH.lock" bash -c "[ -d '$LOCPATH/$name' ] || localedef -i '${name%%.*}' -f UTF-8 '$LOCPATH/$name'" &>/dev/null
        [ -d "$LOCPATH/$name" ] || { fail "the locale $name is made (localedef)"; return 1; }
    done
}

stop_wine() {
    [ -n "$E2E_PREFIX" ] || return 0
    stop_wineserver "$E2E_PREFIX"
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
    WINEDEBUG=${SETUP_WINEDEBUG:-fixme-all} wine "$1/Setup.exe" >>"$WORK/setup.log" 2>&1 </dev/null &
    SETUP_PID=$!
}

setup_running() { [ -n "$SETUP_PID" ] && kill -0 "$SETUP_PID" 2>/dev/null; }

# For conditions that wait for something to stop: wait_until not setup_running 10.
not() { ! "$@"; }

# Waits up to SECONDS for Setup to end; sets SETUP_EXIT. Returns 1 on time-out.
wait_setup_exit() {  # seconds
    [ -n "$SETUP_PID" ] || return 0
    wait_until not setup_running "$1" || return 1
    wait "$SETUP_PID"; SETUP_EXIT=$?
    SETUP_PID=""
}

e2e_cleanup() {
    local rc=$?
    if [ -n "$XVFB_PID" ] && [ -n "$WORK" ] && [ ! -f "$WORK/screen.png" ]; then
        capture_screen "$WORK/screen" 2>/dev/null && "$CONVERT" "xwd:$WORK/screen.xwd" "png:$WORK/screen.png" 2>/dev/null
        rm -f "$WORK/screen.xwd"
    fi
    stop_wine
    stop_xvfb
    if [ -n "$E2E_PREFIX" ] && [ -z "${E2E_KEEP:-}" ]; then rm -rf "$E2E_PREFIX"; fi
    log "cleaned up"
    exit "$rc"
}

# ---------------------------------------------------------------- the probe

# The probe, with control names (IDC_...) turned into the numbers it takes.
probe() {
    local args=() arg
    for arg in "$@"; do
        if [[ $arg == IDC_* ]]; then arg="$(control_number "$arg")" || return 2; fi
        args+=("$arg")
    done
    wine "$PROBE_EXE" "${args[@]}"
}

# A text argument for the probe that survives Wine's command-line conversion.
probe_text() { printf 'hex:%s' "$(printf '%s' "$1" | od -An -tx1 | tr -d ' \n')"; }

# Waits until the window has handled what reached it, input from the X server included (Wine
# takes up X events before the messages sent to a thread), and has painted it.
settle() { probe painted 5000 >/dev/null 2>&1 || true; }

main_window_shown_or_setup_ended() {
    WINDOW_LINE="$(probe wait 1000)" && return 0
    WINDOW_LINE=""
    ! setup_running
}

# Waits for the main window and sets WIN_X WIN_Y (frame, screen), CLIENT_X CLIENT_Y (client
# origin, screen), CLIENT_W CLIENT_H, WIN_TITLE. Returns 1 when it does not come, at once when
# Setup has ended.
wait_window() {  # timeout in ms (default 15000: the first start of a prefix is slow)
    if ! WAIT_INTERVAL=0 wait_until main_window_shown_or_setup_ended "$(( ${1:-15000} / 1000 ))"; then
        log "no main window"
        return 1
    fi
    if [ -z "$WINDOW_LINE" ]; then
        wait "$SETUP_PID"; SETUP_EXIT=$?; SETUP_PID=""
        log "Setup ended without a main window (exit code $SETUP_EXIT); its output:"
        sed 's/^/      /' "$WORK/setup.log" 2>/dev/null | tail -20
        return 1
    fi
    log "main window up"
    read_window_line "$WINDOW_LINE"
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

# The usual start of a scenario: its medium in $WORK/medium (write_medium's options), Wine under
# en_US.UTF-8, Setup up to its main window. Sets medium.
start_on_medium() {  # write_medium options...
    medium="$WORK/medium"
    write_medium "$medium" "$@"
    start_wine en_US.UTF-8
    start_setup_window "$medium"
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

# The dump as an associative table per field, keyed by control name: CTL_TEXT[name],
# CTL_VISIBLE[name], CTL_ENABLED[name], CTL_CLASS[name], CTL_RECT[name] ("x y w h"),
# CTL_STYLE[name]; CTL_IDS the names in z-order.
declare -A CTL_TEXT CTL_VISIBLE CTL_ENABLED CTL_CLASS CTL_RECT CTL_STYLE
CTL_IDS=()
take_dump() { DUMP="$(probe dump)"; }
read_dump() {
    CTL_TEXT=(); CTL_VISIBLE=(); CTL_ENABLED=(); CTL_CLASS=(); CTL_RECT=(); CTL_STYLE=(); CTL_IDS=()
    # A dump taken while the window is busy repainting can time out; one miss is not a verdict.
    wait_until take_dump 1 || { log "probe dump failed"; return 1; }
    local id name class visible enabled x y w h style text
    while IFS=$'\t' read -r id class visible enabled x y w h style text; do
        name="${CONTROL_NAME[$id]:-$id}"
        CTL_IDS+=("$name")
        CTL_CLASS[$name]=$class; CTL_VISIBLE[$name]=$visible; CTL_ENABLED[$name]=$enabled
        CTL_RECT[$name]="$x $y $w $h"; CTL_STYLE[$name]=$style; CTL_TEXT[$name]=$text
    done <<<"$DUMP"
}

# Names of the visible controls, in the order of their numbers (as controls_of lists them).
visible_ids() {
    local name shown=()
    for name in "${CTL_IDS[@]}"; do [ "${CTL_VISIBLE[$name]}" = 1 ] && shown+=("$name"); done
    controls_of "${shown[@]}"
}

# Waits until a control is shown (1) or hidden (0), then refreshes the dump. Returns 1 on
# time-out.
wait_visible() {  # control, want, timeout seconds
    probe waitshown "$1" "$2" $(( ${3:-5} * 1000 )) || return 1
    read_dump
}

# Presses a button and waits for a control of the page it opens.
open_page() {  # button, a control that the page shows
    probe click "$1" >/dev/null || { fail "button $1 can be pressed"; return 1; }
    wait_visible "$2" 1 3 || { fail "button $1 opens the page with $2"; return 1; }
}

# Presses a button that asks the exit question, answers yes and checks that the launcher ends,
# with exit code 0.
leave_with_yes() {  # button, when (for the check's name)
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

# Screen point of the centre of a control (from the last dump and window line).
control_centre() {  # control -> "x y"
    local x y w h
    read -r x y w h <<<"${CTL_RECT[$1]}"
    echo "$(( CLIENT_X + x + w / 2 )) $(( CLIENT_Y + y + h / 2 ))"
}

# Asks the program to close and waits for it to end; a program that does not end is killed
# with its wineserver, which the next start_wine replaces.
end_setup() {
    probe close >/dev/null 2>&1
    if wait_setup_exit 8; then return 0; fi
    fail "the program ends on WM_CLOSE"
    start_wine "$E2E_LOCALE"
}

# ---------------------------------------------------------------- screen

# The screen as it stands, in PATH.xwd.
capture_screen() { xwd -root -display "$DISPLAY" >"$1.xwd"; }

# Whether the screen is the same as at the capture before: Wine hands painting to the X server
# in pieces, so a screenshot waits for two captures in a row to agree.
screen_unchanged() {  # path stem
    capture_screen "$1.next"
    if cmp -s "$1.xwd" "$1.next.xwd"; then rm -f "$1.next.xwd"; return 0; fi
    mv "$1.next.xwd" "$1.xwd"
    return 1
}

screenshot() {  # name -> path of $WORK/name.png (and name.rgb beside it, for pixel)
    local stem="$WORK/$1"
    if setup_running; then settle; fi
    capture_screen "$stem"
    wait_until screen_unchanged "$stem" 2 || log "the screen kept changing before screenshot $1"
    "$CONVERT" "xwd:$stem.xwd" -write "png:$stem.png" -depth 8 "rgb:$stem.rgb"
    rm -f "$stem.xwd"
    echo "$stem.png"
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

# Whether a pixel of the client area shows a colour now: for waiting on a change the program
# makes in its own time (a hover image comes after the system's hover delay).
client_shows() {  # client x, client y, #RRGGBB
    local now
    now="$(xwd -root -display "$DISPLAY" | "$CONVERT" xwd:- -crop "1x1+$(( CLIENT_X + $1 ))+$(( CLIENT_Y + $2 ))" \
        -depth 8 txt:- | grep -o '#[0-9A-Fa-f]\{6\}' | head -1)"
    [ "${now^^}" = "${3^^}" ]
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

# The X server hands Wine its input in order, so a click at a point needs no pause after the
# move there.
# A point that a probe could not read arrives as no arguments: a failed check, not a shell error.
mouse_to() {  # x y
    if [ $# -lt 2 ]; then
        fail "the pointer has a point to go to" "none: the probe could not read where"
        return 1
    fi
    xdotool mousemove "$1" "$2"
}
park_pointer() { mouse_to $(( SCREEN_W - 4 )) $(( SCREEN_H - 8 )); }

# What holds the mouse (capture) or the keyboard (focus) in the window's thread (probe gui): a
# control name, main or none.
gui_holder() {  # capture or focus
    local holder; holder="$(probe gui | tr -d '\r' | awk -F'\t' -v what="$1" '$1 == what { print $2 }')"
    if [[ $holder =~ ^[0-9]+$ ]]; then control_name "$holder"; else echo "$holder"; fi
}
captured_by() { [ "$(gui_holder capture)" = "$1" ]; }  # control name, main or none
window_moving() { probe gui | tr -d '\r' | grep -qx $'moving\t1'; }

# Press at one screen point, move in steps to another, release. The system's move loop starts on
# the press and measures from the pointer's place then, so the steps wait for it; the drag is
# over when the loop has let the mouse go.
drag() {  # x1 y1 x2 y2
    local steps=10 i
    mouse_to "$1" "$2"
    xdotool mousedown 1
    wait_until window_moving 3 || log "no move loop after the press"
    for i in $(seq $steps); do
        xdotool mousemove $(( $1 + ($3 - $1) * i / steps )) $(( $2 + ($4 - $2) * i / steps ))
    done
    xdotool mouseup 1
    wait_until not window_moving 3 || log "the move loop did not end"
    settle
}

double_click() { mouse_to "$@" && xdotool click --repeat 2 --delay 80 1; settle; }
single_click() { mouse_to "$@" && xdotool click 1; settle; }

# ---------------------------------------------------------------- the keyboard

# Keys go where the pointer is (no window manager: X focus follows it), so the pointer rests on a
# free spot of the window, right of every page's controls, while keys are pressed.
rest_pointer() { mouse_to $(( CLIENT_X + 790 )) $(( CLIENT_Y + 110 )); }
press_keys() { xdotool key --delay 50 "$@"; settle; }
focused() { gui_holder focus; }
# Presses Tab until the control has the focus (at most 12 times).
tab_to() {  # control name
    local i
    for i in $(seq 12); do [ "$(focused)" = "$1" ] && return 0; press_keys Tab; done
    [ "$(focused)" = "$1" ]
}
