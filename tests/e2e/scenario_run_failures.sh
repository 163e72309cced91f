#!/usr/bin/env bash
# Failures inside a run: a launch rule that matches nothing shows the "Configuration exception"
# box from the worker while the window stays alive and animated, then the row reads slot 37
# and the run goes on; a file that starts no process (a type without a program) reads slot 37.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/run_lib.sh"
e2e_begin run_failures

medium="$WORK/medium"
write_medium "$medium" --installer a_exit0_1s --install 'strId="ITEM1" open="Setup/missing_*.exe" default="1"' \
    --install 'strId="ITEM2" open="Setup/data.xyz" default="1"' --installer c_exit0_1s
printf 'not a program\r\n' >"$medium/Setup/data.xyz"
start_wine_with_stub en_US.UTF-8
start_setup_window "$medium"

start_run_from IDC_BTN_DEFAULT_INSTALL
box="$(probe msgbox 10000)"
check_eq "a rule that matches nothing: the box's caption" "Configuration exception" \
    "$(box_caption "$box")"
check_eq "the box names the rule and its single candidate" \
    'Configuration item:\nSetup\\missing_*.exe\n\nNo file matching the following rule was found.\rSetup\\missing_*.exe' \
    "$(box_text "$box")"
check_eq "the box has one OK button" "OK" "$(awk -F'\t' '$1 == "button" { printf "%s", $3 }' <<<"$box")"
row1="$(status_of 1)"
check_cmd "the row of the unresolved item shows the running text meanwhile ($row1)" \
    grep -qE '^S19\.{0,5}$' <<<"$row1"
sample_text IDC_ST_PROGRESS_TITLE 2600 >"$WORK/heading.txt"
check_cmd "while the box is open the heading goes on animating" \
    test "$(awk '{ print $2 }' "$WORK/heading.txt" | sort -u | wc -l)" -ge 2
check_cmd "while the box is open the window answers" bash -c "\"\$0\" \"\$1\" dump >/dev/null" "$WINE64" "$PROBE_EXE"
check_eq "no later installer starts while the box is open" "a_exit0_1s start|a_exit0_1s end|" \
    "$(run_log "$medium" | tr '\n' '|')"
probe answer IDOK 3000 >/dev/null
check_cmd "the box closes on OK" probe waitnobox 3000

# The shell has no program for .xyz: Wine shows its own error box and starts nothing.
shell_box="$(probe msgbox 10000)" || true
if [ -n "$shell_box" ]; then
    log "the shell's own message: $(tr '\n' ' ' <<<"$shell_box")"
    probe answer IDOK 3000 >/dev/null || probe answer 1 3000 >/dev/null
fi

if wait_finish_page 20; then pass "the run goes on to its end"; else fail "the run goes on to its end"; fi
check_eq "rows: success, unresolved rule failed, no process failed, success" "S36|S37|S37|S36|" \
    "$(statuses | tr '\n' '|')"
check_eq "the run went on after both failures" "a_exit0_1s c_exit0_1s" \
    "$(run_log "$medium" | awk '$2 == "start" { print $1 }' | tr '\n' ' ' | sed 's/ $//')"
check_one_at_a_time "one installer at a time" "$medium"
e2e_finish
