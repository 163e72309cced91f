#!/usr/bin/env bash
# Leaving during an installation run: WM_CLOSE (and the IDCANCEL it turns into) does not end
# the dialog under the run's threads; the cancel button asks, No lets the installer run on,
# Yes ends the running installer and then the launcher with exit code 0.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/run_lib.sh"
e2e_begin exit_running

medium="$WORK/medium"
write_run_medium "$medium" <<'XML'
    <item strId="ITEM0" open="Setup/a_exit0_30s.exe" default="1"/>
    <item strId="ITEM1" open="Setup/b_exit0_0s.exe" default="1"/>
XML
add_installers "$medium" a_exit0_30s b_exit0_0s
start_wine en_US.UTF-8
install_wineboot_stub
start_setup_window "$medium"

installer_running() { ! probe --exe a_exit0_30s.exe waitgone 0 >/dev/null 2>&1; }
main_visible() { [ "$(probe window | awk -F'\t' '{ print $11 }')" = 1 ]; }
PROGRESS="1017 1045 1046 1061"

start_run_from 1000 || exit 1
started=0
for _ in $(seq 50); do
    if run_log "$medium" | grep -qx "a_exit0_30s start" && installer_running; then started=1; break; fi
    sleep 0.2
done
check_eq "the first installer is running" 1 "$started"

probe close >/dev/null
sleep 1.5
check_cmd "WM_CLOSE during a run: the launcher runs on" kill -0 "$SETUP_PID"
check_cmd "WM_CLOSE during a run: the window stays shown" main_visible
read_dump
check_eq "WM_CLOSE during a run: the progress page stays" "$PROGRESS" "$(visible_ids)"
check_cmd "WM_CLOSE during a run: the installer runs on" installer_running

probe click 1017 >/dev/null
box="$(probe msgbox 5000)"
check_eq "cancel during a run: the question" 'S32\r\nS33' "$(box_text "$box")"
probe answer IDNO 3000 >/dev/null
check_cmd "No closes the box" probe waitnobox 3000
sleep 0.5
check_cmd "No during a run: the installer runs on" installer_running
read_dump
check_eq "No during a run: the progress page stays" "$PROGRESS" "$(visible_ids)"

# A second process watches the installer, to read the exit code it is ended with.
probe --exe a_exit0_30s.exe exitcode 15000 >"$WORK/installer-exit.txt" 2>&1 &
watcher=$!
for _ in $(seq 50); do grep -q watching "$WORK/installer-exit.txt" && break; sleep 0.1; done
leave_with_yes 1017 "during a run"
gone=0
for _ in $(seq 25); do installer_running || { gone=1; break; }; sleep 0.2; done
check_eq "Yes during a run ends the running installer" 1 "$gone"
wait "$watcher"
check_eq "the installer is ended with exit code 0" "watching 0" \
    "$(tr -d '\r' <"$WORK/installer-exit.txt" | tr '\n' ' ' | sed 's/ $//')"
check_eq "the ended installer never finished and the next one never started" "a_exit0_30s start" \
    "$(run_log "$medium")"
check_eq "no restart was requested" 0 "$(restart_requests)"

e2e_finish
