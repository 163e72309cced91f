#!/usr/bin/env bash
# Input during a run is handled at once, not at the animation's next step: a mouse click on the
# cancel button brings up the exit question within a fraction of a second. The
# click is a tap: the move onto the button, the press and the release reach the program
# together, as from a touchpad. A wait that wakes only for input newer than its last look at the
# queue handles the move and leaves the press and the release lying until the next animation
# step, up to a second later.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/run_lib.sh"
e2e_begin run_input

CLICKS=5
LIMIT_MS=400

medium="$WORK/medium"
write_medium "$medium" --installer long_exit0_60s
start_wine_with_stub en_US.UTF-8
start_setup_window "$medium"

start_run_from IDC_BTN_DEFAULT_INSTALL
wait_visible IDC_BTN_CANCEL 1 3 || { fail "the run shows the cancel button"; exit 1; }
# The installer's start-up is over (its window is up) before the taps begin.
installer_window_up() { ! probe --exe long_exit0_60s.exe waitgone 0 >/dev/null 2>&1; }
wait_until logged "$medium" long_exit0_60s start 10
wait_until installer_window_up 5
time_cancel_taps "$CLICKS" || fail "$TAP_PROBLEM"
latencies=("${TAP_LATENCIES[@]}")
caption="$TAP_CAPTION"
log "click-to-question latencies: ${latencies[*]} ms"
check_eq "a tap on cancel brings up the exit question (caption slot 34)" "S34" "$caption"
slow=()
for ms in "${latencies[@]}"; do
    { [ "$ms" != none ] && [ "$ms" -lt "$LIMIT_MS" ]; } || slow+=("$ms")
done
# A loop that leaves the tap lying answers every tap late, near a second; one slow answer out
# of five is the machine's load, not the loop. A tap that is never answered always fails.
if [ ${#slow[@]} -le 1 ] && [ ${#latencies[@]} = "$CLICKS" ] && [[ " ${latencies[*]} " != *" none "* ]]; then
    pass "taps bring the question within $LIMIT_MS ms, at most one of $CLICKS later (${latencies[*]} ms)"
else
    fail "taps bring the question within $LIMIT_MS ms, at most one of $CLICKS later" "latencies: ${latencies[*]} ms"
fi
read_dump
check_eq "after the answers no the run goes on: same page, cancel visible" "$(controls_of ProgressPage IDC_BTN_CANCEL)" \
    "$(visible_ids)"

# Leave through the cancel button: yes ends the installer and the launcher.
leave_with_yes IDC_BTN_CANCEL "after the taps"
e2e_finish
