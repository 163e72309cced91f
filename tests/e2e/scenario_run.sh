#!/usr/bin/env bash
# An installation run from the default page, end to end: the progress page with the cancel
# button, the heading's dots once a second from the start, the running row's text, one
# installer at a time in list order, each row's result by exit code (3010 and 1641 are
# success), unticked rows left empty, the status column, then the finish page, the countdown
# 7 ... 0 and the restart request; the finish button asks for the restart at once.
# Under WoW64 (the i686 build on 64-bit Windows) the run is the same, but no countdown follows,
# nothing restarts and the finish button closes the launcher. The i686 build's steps are checked
# in order only: the x86_64 build is the one timed (emulation keeps no reliable pace).
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/run_lib.sh"
e2e_begin run

# The restart labels stand over the list's lower rows and above it in the stacking order: their
# text has to be on screen over the list, not hidden under its painting. Red is the seconds'
# colour; the lead and the explanation are black, which neither the list nor the skin shows.
check_restart_labels_drawn() {  # moment, screenshot name
    local shot x y w h lx ly lw lh bottom red black lead
    shot="$(screenshot "$2")"
    read -r x y w h <<<"${CTL_RECT[IDC_ST_RESTART_SECONDS]}"
    red="$(count_colour "$shot" "$x" "$y" "$w" "$h" "$(text_colour IDC_ST_RESTART_SECONDS)")"
    if [ "$red" -ge 20 ]; then pass "$1: the seconds are drawn in red over the list ($red red pixels)"
    else fail "$1: the seconds are drawn in red over the list" "red pixels in the seconds ($x $y $w $h): $red"; fi
    read -r lx ly lw lh <<<"${CTL_RECT[IDC_LIST_INSTALLS]}"
    read -r x y w h <<<"${CTL_RECT[IDC_ST_RESTART_TEXT]}"
    bottom=$(( ly + lh < y + h ? ly + lh : y + h ))
    black="$(count_colour "$shot" "$x" "$y" "$w" $(( bottom - y )) "#000000")"
    read -r x y w h <<<"${CTL_RECT[IDC_ST_RESTART_LEAD]}"
    lead="$(count_colour "$shot" "$x" "$y" "$w" "$h" "#000000")"
    if [ "$black" -ge 20 ] && [ "$lead" -ge 5 ]; then pass "$1: the lead and the restart text are drawn over the list"
    else fail "$1: the lead and the restart text are drawn over the list" \
        "black pixels: the restart text over the list $black, the lead $lead"; fi
}

# An untimed build's probe may take a second a read: the first installer then runs longer, so
# that the running row is seen while it runs.
first=a_exit0_3s
timed_build || first=a_exit0_8s
medium="$WORK/medium"
write_medium "$medium" --installer "$first" --installer b_exit1_1s --installer u_exit0_0s:0 --installer c_exit0_1s \
    --installer d_exit3010_0s --installer e_exit1641_0s
start_wine_with_stub en_US.UTF-8
start_setup_window "$medium"

open_page IDC_BTN_DEFAULT_INSTALL IDC_BTN_INSTALL
if timed_build; then
    t0=$(now_ms)
    probe click IDC_BTN_INSTALL >/dev/null
    sample_text IDC_ST_PROGRESS_TITLE 6500 >"$WORK/heading.txt" &
    sampler=$!
else
    # A probe that starts slowly would miss the first steps: the heading and the seconds are
    # watched from before the click on, so their records begin with the texts before the run.
    sample_text IDC_ST_PROGRESS_TITLE 8000 >"$WORK/heading.txt" &
    sampler=$!
    sample_text IDC_ST_RESTART_SECONDS 40000 >"$WORK/countdown.txt" &
    countdown_sampler=$!
    wait_until test -s "$WORK/heading.txt" -a -s "$WORK/countdown.txt" 10
    probe click IDC_BTN_INSTALL >/dev/null
fi
wait_visible IDC_ST_PROGRESS_TITLE 1 3
check_eq "during the run: the progress page, the cancel button and the list" \
    "$(controls_of ProgressPage IDC_BTN_CANCEL)" "$(visible_ids)"
# While the first installer runs, its row shows the heading's text.
running_row_shows_heading() {
    local row heading
    row="$(status_of 0)"; heading="$(probe text IDC_ST_PROGRESS_TITLE)"
    [ "$row" = "$heading" ] && [[ $row =~ ^S19\.{1,5}$ ]]
}
if wait_until running_row_shows_heading 5; then same=1; else same=0; fi
check_eq "the running row shows the heading's text (S19 and dots)" 1 "$same"
check_eq "rows the run has not reached are empty" "|||||" "$(statuses | tail -n +2 | tr '\n' '|')"
wait "$sampler"
if timed_build; then
    check_steps "the heading cycles one to five dots once a second, the first at once" "$t0" 700 \
        "S19. S19.. S19... S19.... S19..... S19. S19.." "$WORK/heading.txt"
else
    check_eq "before the run the heading reads S19" "S19" "$(head -1 "$WORK/heading.txt" | cut -d' ' -f2)"
    awk '$2 != "S19"' "$WORK/heading.txt" >"$WORK/heading-steps.txt"
    check_step_order "the heading cycles one to five dots, the first at once" \
        "S19. S19.. S19... S19.... S19....." 3 "$WORK/heading-steps.txt"
fi

if wait_finish_page 30; then pass "the finish page follows the run"; else fail "the finish page follows the run"; fi
t1=$(now_ms)
if timed_build; then
    sample_text IDC_ST_RESTART_SECONDS 9700 >"$WORK/countdown.txt" &
    sampler=$!
else
    sampler=$countdown_sampler
fi
read_dump
check_eq "finish page: heading, text, finish button and the list" "$(controls_of FinishPage)" \
    "$(visible_ids | sed "s/ $(controls_of RestartPage)//")"
check_eq "row results: 0 and 3010 and 1641 succeed, 1 fails, the unticked row stays empty" \
    "S36|S37||S36|S36|S36|" "$(statuses | tr '\n' '|')"
check_eq "the installers ran in list order, the unticked one not at all" \
    "$first b_exit1_1s c_exit0_1s d_exit3010_0s e_exit1641_0s" \
    "$(run_log "$medium" | awk '$2 == "start" { print $1 }' | tr '\n' ' ' | sed 's/ $//')"
check_one_at_a_time "one installer at a time: each starts after the previous one ended" "$medium"
info="$(probe listinfo IDC_LIST_INSTALLS)"
load_facts
list="${CONTROL_ID[IDC_LIST_INSTALLS]}"
check_eq "during the run: the name column and the status column 'Do', left-aligned, as wide as the table says" \
    "0 0 ${FACT_COLUMN[$list 0 run]} NAME|1 0 ${FACT_COLUMN[$list 1 run]} Do|" "$(awk -F'\t' '$1 == "column" { printf "%s %s %s %s|", $2, $3, $4, $5 }' <<<"$info")"
check_eq "no restart request before the countdown ends" 0 "$(restart_requests)"

if under_wow64; then
    # Longer than a countdown would take: the seconds stand at 8, the restart page never shows.
    wait "$sampler"
    check_eq "under WoW64 no countdown: the seconds read 8 throughout" "8" \
        "$(awk '{ print $2 }' "$WORK/countdown.txt" | sort -u | tr '\n' ' ' | sed 's/ $//')"
    read_dump
    check_eq "under WoW64 the restart page stays hidden" "$(controls_of FinishPage)" "$(visible_ids)"
    check_eq "under WoW64 no restart is asked for after the run" 0 "$(restart_requests)"
    screenshot finish-wow64 >/dev/null
    probe click IDC_BTN_FINISH >/dev/null
    if wait_setup_exit 10; then check_eq "under WoW64 the finish button ends the launcher with exit code 0" 0 "$SETUP_EXIT"
    else fail "under WoW64 the finish button ends the launcher with exit code 0" "it still runs after 10 s"; fi
    check_eq "under WoW64 the finish button asks for no restart" 0 "$(restart_requests)"
    e2e_finish
    exit
fi

check_restart_labels_drawn "during the countdown" countdown

wait "$sampler"
# The countdown thread starts with the finish page: 7 comes one second later.
check_eq "the seconds read 8 until the countdown's first step" 8 "$(head -1 "$WORK/countdown.txt" | cut -d' ' -f2)"
awk '$2 != "8"' "$WORK/countdown.txt" >"$WORK/countdown-steps.txt"
if timed_build; then
    check_steps "the countdown shows 7 ... 0, one a second" "$t1" 1400 "7 6 5 4 3 2 1 0" "$WORK/countdown-steps.txt"
else
    check_step_order "the countdown shows 7 ... 0" "7 6 5 4 3 2 1 0" 8 "$WORK/countdown-steps.txt"
fi
read_dump
check_eq "the restart page is shown with the finish page" "$(controls_of FinishPage RestartPage)" "$(visible_ids)"
check_restart_labels_drawn "after the last step" countdown-end
restart_requested() { [ "$(restart_requests)" -ge "$1" ]; }
wait_until restart_requested 1 2
check_eq "after 0 the restart is asked for once" 1 "$(restart_requests)"
check_cmd "the restart asks programs to close, ending only hung ones (no forced kill)" \
    grep -q -- '--end-session --force' "$WINEBOOT_LOG"
check_cmd "the restart is not the forced kill" bash -c "! grep -q -- '--kill' '$WINEBOOT_LOG'"

probe click IDC_BTN_FINISH >/dev/null
wait_until restart_requested 2 2
check_eq "the finish button asks for the restart at once" 2 "$(restart_requests)"
check_cmd "the launcher stays open when the restart does not happen" probe window >/dev/null

probe close >/dev/null
if wait_setup_exit 8; then check_eq "after the run WM_CLOSE ends the launcher" 0 "$SETUP_EXIT"
else fail "after the run WM_CLOSE ends the launcher"; fi
e2e_finish
