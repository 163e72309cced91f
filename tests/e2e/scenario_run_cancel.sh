#!/usr/bin/env bash
# Leaving during a run from the custom page, while the user acts: unticking a row the run has not
# reached skips it and ticking one includes it; WM_CLOSE (and the IDCANCEL it turns into) does
# not end the dialog under the run's threads, nor does Esc; the cancel button (reached with Tab
# and pressed with Enter the first time) asks first, "no" lets the installer run on and changes
# nothing, "yes" ends the running installer (with exit code 0) and then the launcher with exit
# code 0, and the installer after it never starts.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/run_lib.sh"
e2e_begin run_cancel

LONG=long_exit0_60s
medium="$WORK/medium"
write_medium "$medium" --installer a_exit0_3s --installer b_exit0_0s --installer t_exit0_0s:0 \
    --installer "$LONG" --installer z_exit0_0s
start_wine_with_stub en_US.UTF-8
start_setup_window "$medium"

# The long installer runs: its process is there and has its window.
installer_process() { pgrep -f "$LONG.exe" >/dev/null; }
installer_running() { installer_process && ! probe --exe "$LONG.exe" waitgone 0 >/dev/null 2>&1; }
long_installer_started() { logged "$medium" "$LONG" start && installer_running; }
statuses_are() { [ "$(statuses | head -3 | tr '\n' '|' | sed 's/|$//')" = "$1" ]; }
main_visible() { [ "$(probe window | awk -F'\t' '{ print $11 }')" = 1 ]; }
PROGRESS="$(controls_of ProgressPage IDC_BTN_CANCEL)"

start_run_from IDC_BTN_CUSTOM_INSTALL
wait_visible IDC_ST_PROGRESS_TITLE 1 3
check_eq "a run from the custom page keeps the list enabled" 1 "${CTL_ENABLED[IDC_LIST_INSTALLS]}"
probe check IDC_LIST_INSTALLS 1 0 >/dev/null
probe check IDC_LIST_INSTALLS 2 1 >/dev/null
settle
check_eq "while the first installer runs the user changes later ticks" "1 0 1 1 1" \
    "$(probe list IDC_LIST_INSTALLS | awk -F'\t' '{ print $2 }' | tr '\n' ' ' | sed 's/ $//')"

if wait_until long_installer_started 10; then pass "the long installer is running"
else fail "the long installer is running" "log: $(run_log "$medium" | tr '\n' '|')"; fi
wait_until statuses_are "S36||S36" 3
check_eq "the unticked row is skipped and left empty, the newly ticked one runs" "S36||S36" \
    "$(statuses | head -3 | tr '\n' '|' | sed 's/|$//')"
check_eq "installers started so far" "a_exit0_3s t_exit0_0s $LONG" \
    "$(run_log "$medium" | awk '$2 == "start" { print $1 }' | tr '\n' ' ' | sed 's/ $//')"

# WM_CLOSE during the run: the launcher is given the time to end, and must not.
probe close >/dev/null
sleep 1.5
check_cmd "WM_CLOSE during a run: the launcher runs on" setup_running
check_cmd "WM_CLOSE during a run: the window stays shown" main_visible
read_dump
check_eq "WM_CLOSE during a run: the progress page stays" "$PROGRESS" "$(visible_ids)"
check_cmd "WM_CLOSE during a run: the installer runs on" installer_running

# Cancel from the keyboard, then "no": Esc is ignored during a run, Tab reaches the cancel button
# and Enter presses it.
rest_pointer
press_keys Escape
check_cmd "Esc during a run: the launcher runs on" setup_running
tab_to IDC_BTN_CANCEL && press_keys Return
box="$(probe msgbox 5000)"
check_eq "cancel asks first: caption slot 34" "S34" "$(box_caption "$box")"
check_eq "the question is slot 32, a line break, slot 33" 'S32\r\nS33' "$(box_text "$box")"
probe answer IDNO 3000 >/dev/null
check_cmd "no closes the question" probe waitnobox 3000
# The run goes on: past the next animation step, nothing has changed.
sleep 1.2
read_dump
check_eq "after no the run goes on: same page, cancel visible" "$PROGRESS" "$(visible_ids)"
check_cmd "after no the running row still animates" grep -qE '^S19\.{1,5}$' <<<"$(status_of 3)"
check_cmd "after no the installer still runs" installer_running

# Cancel, then "yes". A second probe watches the installer, to read the exit code it is ended with.
probe --exe "$LONG.exe" exitcode 15000 >"$WORK/installer-exit.txt" 2>&1 &
watcher=$!
wait_until grep -q watching "$WORK/installer-exit.txt" 5
leave_with_yes IDC_BTN_CANCEL "cancel during a run"
if wait_until not installer_process 5; then pass "yes ends the running installer"
else fail "yes ends the running installer"; fi
wait "$watcher"
check_eq "the installer is ended with exit code 0" "watching 0" \
    "$(tr -d '\r' <"$WORK/installer-exit.txt" | tr '\n' ' ' | sed 's/ $//')"
check_eq "the ended installer never finished (its log has no end line) and the next one never started" \
    "a_exit0_3s start|a_exit0_3s end|t_exit0_0s start|t_exit0_0s end|$LONG start" \
    "$(run_log "$medium" | tr '\n' '|' | sed 's/|$//')"
check_eq "no restart was asked for" 0 "$(restart_requests)"
e2e_finish
