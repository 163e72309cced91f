# Steps shared by the installation-run scenarios (scenario_run*.sh) and the benchmark. Sourced
# after lib.sh, not run.
#
# The installers are copies of one test program whose file name gives its exit code and
# duration (see installers/installer.cpp, and write_medium --installer); each appends "<name> start <ms>" and "<name> end <ms>"
# to Setup/install.log on the medium. Restart requests are recorded by a stub wineboot.exe.

WINEBOOT_STUB_EXE=${WINEBOOT_STUB_EXE:-$(dirname "$PROBE_EXE")/installers/wineboot_stub.exe}
PING_EXE=${PING_EXE:-$(dirname "$PROBE_EXE")/installers/ping.exe}

# Replaces wineboot.exe of this scenario's prefix by the recording stub and makes Wine prefer
# it. The prefix is a hard-link clone, so the file is replaced, never written through.
install_wineboot_stub() {
    cp --remove-destination "$WINEBOOT_STUB_EXE" "$WINEPREFIX/drive_c/windows/system32/wineboot.exe"
    export WINEDLLOVERRIDES="wineboot.exe=n"
    WINEBOOT_LOG="$WINEPREFIX/drive_c/wineboot-calls.log"
    rm -f "$WINEBOOT_LOG"
}

# Starts the prefix's wine with the real wineboot (a new session runs it and waits for it),
# then puts the stub in its place for the rest of the session.
start_wine_with_stub() {  # LC_ALL value
    unset WINEDLLOVERRIDES
    start_wine "$1"
    install_wineboot_stub
}

restart_requests() { [ -f "$WINEBOOT_LOG" ] && grep -c . "$WINEBOOT_LOG" || echo 0; }

# Column 1 (the status) of every row of the install list, one per line.
statuses() { probe list IDC_LIST_INSTALLS | awk -F'\t' '{ print $6 }'; }
status_of() { probe list IDC_LIST_INSTALLS | awk -F'\t' -v row="$1" '$1 == row { print $6 }'; }

# The installer log as "name event" lines in the order written.
run_log() { [ -f "$1/Setup/install.log" ] && awk '{ print $1, $2 }' "$1/Setup/install.log" | tr -d '\r'; }

# Checks from the log that no two installers ran at the same time: each start follows the
# previous installer's end.
check_one_at_a_time() {  # description, medium dir
    local bad
    bad="$(tr -d '\r' <"$2/Setup/install.log" | awk '
        $2 == "start" { if (open != "") { print "started " $1 " while " open " ran"; } open = $1; start = $3 }
        $2 == "end"   { if (open != $1) print "end of " $1 " without its start"; open = "" }')"
    if [ -z "$bad" ]; then pass "$1"; else fail "$1" "$bad"; fi
}

# Waits until the finish page is shown; returns 1 after SECONDS.
wait_finish_page() { wait_visible IDC_ST_FINISH_TITLE 1 "${1:-30}"; }

# Start the run from a page: press the page's button, then the install button.
start_run_from() {  # page button (IDC_BTN_DEFAULT_INSTALL or IDC_BTN_CUSTOM_INSTALL)
    open_page "$1" IDC_BTN_INSTALL || return 1
    probe click IDC_BTN_INSTALL >/dev/null || { fail "the install button can be pressed"; return 1; }
}

# Whether the installer log has a line "<name> <event>".
logged() { run_log "$1" | grep -qx "$2 $3"; }

# Reads control ID's text for MS milliseconds and prints "ms text since" each time it changes:
# the text was read by MS and was not yet there at SINCE (the start of the read before, or of
# this read for the first line). The two bound the change even when a read stalls.
# The untimed builds' probe may start slowly (the i686 one under emulation): there the probe
# reads for the whole time itself; its lines are passed on as they come.
sample_text() {  # id, ms
    if ! timed_build; then
        local line
        probe watchtext "$1" "$2" | while IFS= read -r line; do line="${line%$'\r'}"; echo "${line//$'\t'/ }"; done
        return
    fi
    local end=$(( $(now_ms) + $2 )) last="<none>" before="" start now text
    while start=$(now_ms); [ "$start" -lt "$end" ]; do
        text="$(probe text "$1" 2>/dev/null)" || continue
        now=$(now_ms)
        if [ "$text" != "$last" ]; then echo "$now $text ${before:-$start}"; last="$text"; fi
        before=$start
    done
}

# Checks a sample_text record: the texts in order, the first one by FIRST_MS after T0, and
# each change 1 s after the one before. A change's time is known only between two reads, so a
# gap passes when the span it may have had meets 850 ... 1150 ms: a stalled read widens the
# span instead of failing the check, while a wrong period still falls outside it.
check_steps() {  # description, t0 ms, first ms, expected texts (space-separated), sample file
    local texts intervals="" bad="" prev_seen="" prev_since="" seen since text
    texts="$(awk '{ print $2 }' "$5" | tr '\n' ' ' | sed 's/ $//')"
    [ "$texts" = "$4" ] || bad="texts: $texts"
    read -r seen text since <"$5"
    [ $(( since - $2 )) -le "$3" ] || bad="$bad first after $(( since - $2 )) ms"
    while read -r seen text since; do
        if [ -n "$prev_seen" ]; then
            local shortest=$(( since - prev_seen )) longest=$(( seen - prev_since ))
            intervals="$intervals $shortest..$longest"
            { [ "$longest" -ge 850 ] && [ "$shortest" -le 1150 ]; } ||
                bad="$bad gap $shortest..$longest ms before '$text'"
        fi
        prev_seen=$seen; prev_since=$since
    done <"$5"
    if [ -z "$bad" ]; then pass "$1 (gaps:$intervals ms)"; else fail "$1" "$bad" "gaps:$intervals"; fi
}

# Checks a sample_text record for order alone: the texts are the steps of the cycle given, one
# after another from its first step on, at least LEAST of them.
check_step_order() {  # description, cycle (space-separated), least, sample file
    local cycle texts i bad=""
    read -ra cycle <<<"$2"
    mapfile -t texts < <(awk '{ print $2 }' "$4")
    [ "${#texts[@]}" -ge "$3" ] || bad="only ${#texts[@]} steps seen"
    for i in "${!texts[@]}"; do
        [ "${texts[$i]}" = "${cycle[$(( i % ${#cycle[@]} ))]}" ] || { bad="$bad step $(( i + 1 )) is '${texts[$i]}'"; break; }
    done
    if [ -z "$bad" ]; then pass "$1 (${texts[*]})"; else fail "$1" "$bad" "seen: ${texts[*]}"; fi
}

# Rests the pointer in the screen's corner, outside the window (over an image button Wine's
# mouse-tracking timer wakes the user-interface thread every 10 ms, which would hide a loop that
# sleeps through queued input), then waits for the heading's next animation step: a click right
# after a step is the one such a loop leaves lying longest. Returns 1 when the heading stands.
heading_differs_from() { [ "$(probe text IDC_ST_PROGRESS_TITLE)" != "$1" ]; }
await_step_pointer_away() {
    park_pointer
    # The tracking timer notices that the pointer left only on its next tick, and nothing outside
    # the program shows when it has stopped: the pointer rests for the ticks to run out.
    sleep 0.3
    WAIT_INTERVAL=0 wait_until heading_differs_from "$(probe text IDC_ST_PROGRESS_TITLE)" 5
}

# Taps at a screen point (move, press and release arriving together, see fast_click.py) and
# prints the milliseconds until a box of the program is seen, or "none" when none comes in 3 s.
# Nothing here sends the program a message meanwhile: that would wake its loop by itself.
tap_to_box_ms() {  # x y
    local out="$WORK/boxtime.txt" pid t0 seen
    : >"$out"
    probe boxtime 3000 >"$out" 2>/dev/null &
    pid=$!
    WAIT_INTERVAL=0.01 wait_until grep -q '^ready' "$out" 2
    t0="$(python3 "$E2E_DIR/fast_click.py" "$1" "$2")" || { wait "$pid"; echo none; return; }
    wait "$pid"
    seen="$(tr -d '\r' <"$out" | awk '$1 == "seen" { print $2 }')"
    if [ -n "$seen" ]; then echo $(( seen - t0 )); else echo none; fi
}

# After "no" to a question: waits for the box to go and for the main window to answer again
# (without a window manager Wine holds the thread that closed a box for about two seconds).
answer_no_and_settle() {
    probe answer IDNO 3000 >/dev/null || return 1
    probe waitnobox 3000 || return 1
    probe text IDC_ST_PROGRESS_TITLE >/dev/null
}

# Taps the cancel button COUNT times, each right after an animation step, times each tap until
# the exit question shows and answers no. Sets TAP_LATENCIES (ms, or "none" without a question
# in 3 s) and TAP_CAPTION (the first question's caption); on a hitch returns 1 with TAP_PROBLEM.
time_cancel_taps() {  # count
    local x y tap
    TAP_LATENCIES=(); TAP_CAPTION=""; TAP_PROBLEM=""
    refresh_window
    read_dump
    read -r x y <<<"$(control_centre IDC_BTN_CANCEL)"
    for tap in $(seq "$1"); do
        await_step_pointer_away || { TAP_PROBLEM="the heading animates before tap $tap"; return 1; }
        TAP_LATENCIES+=("$(tap_to_box_ms "$x" "$y")")
        [ -n "$TAP_CAPTION" ] || TAP_CAPTION="$(box_caption "$(probe boxes)")"
        answer_no_and_settle || { TAP_PROBLEM="no closes the question (tap $tap)"; return 1; }
    done
}
