#!/usr/bin/env bash
# A run from the custom page while the user acts: unticking a row the run has not reached skips
# it and ticking one includes it; the cancel button asks first, "no" changes nothing, "yes" ends
# the running installer and the launcher with exit code 0.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/run_lib.sh"
e2e_begin run_cancel

medium="$WORK/medium"
write_run_medium "$medium" <<'EOF2'
    <item strId="ITEM0" open="Setup/a_exit0_3s.exe" default="1"/>
    <item strId="ITEM1" open="Setup/b_exit0_0s.exe" default="1"/>
    <item strId="ITEM2" open="Setup/t_exit0_0s.exe" default="0"/>
    <item strId="ITEM3" open="Setup/long_exit0_60s.exe" default="1"/>
EOF2
add_installers "$medium" a_exit0_3s b_exit0_0s t_exit0_0s long_exit0_60s
start_wine_with_stub en_US.UTF-8
start_setup_window "$medium"

start_run_from 1001
wait_visible 1045 1 3
check_eq "a run from the custom page keeps the list enabled" 1 "${CTL_ENABLED[1061]}"
probe check 1061 1 0 >/dev/null
probe check 1061 2 1 >/dev/null
sleep 0.3
check_eq "while the first installer runs the user changes later ticks" "1 0 1 1" \
    "$(probe list 1061 | awk -F'\t' '{ print $2 }' | tr '\n' ' ' | sed 's/ $//')"

for i in $(seq 100); do run_log "$medium" | grep -q '^long_exit0_60s start' && break; sleep 0.1; done
sleep 0.5
check_eq "the unticked row is skipped and left empty, the newly ticked one runs" "S36||S36" \
    "$(statuses | head -3 | tr '\n' '|' | sed 's/|$//')"
check_eq "installers started so far" "a_exit0_3s t_exit0_0s long_exit0_60s" \
    "$(run_log "$medium" | awk '$2 == "start" { print $1 }' | tr '\n' ' ' | sed 's/ $//')"

# Cancel, then "no".
probe click 1017 >/dev/null
box="$(probe msgbox 5000)"
check_eq "cancel asks first: caption slot 34" "S34" "$(box_caption "$box")"
check_cmd "the question is slot 32, a line break, slot 33" grep -qF $'\tS32\\r\\nS33' <<<"$box"
probe answer IDNO 3000 >/dev/null
check_cmd "no closes the question" probe waitnobox 3000
sleep 1.2
read_dump
check_eq "after no the run goes on: same page, cancel visible" "1017 1045 1046 1061" "$(visible_ids)"
check_cmd "after no the running row still animates" grep -qE '^S19\.{1,5}$' <<<"$(status_of 3)"
check_cmd "after no the installer still runs" bash -c "pgrep -f 'long_exit0_60s.exe' >/dev/null"

# Cancel, then "yes".
leave_with_yes 1017 "cancel during a run"
gone=0
for i in $(seq 30); do pgrep -f 'long_exit0_60s.exe' >/dev/null || { gone=1; break; }; sleep 0.1; done
check_eq "yes ends the running installer" 1 "$gone"
check_eq "the installer was ended, not finished: its log has no end line" "long_exit0_60s start" \
    "$(run_log "$medium" | grep '^long_exit0_60s' | tr '\n' '|' | sed 's/|$//')"
check_eq "no restart was asked for" 0 "$(restart_requests)"
e2e_finish
