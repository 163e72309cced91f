#!/usr/bin/env bash
# Races the animation against the results: many installers that end at once, so results are
# written while animation steps are under way. Every row must end with its result text, never
# with an animation step's text; repeated over several runs.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/run_lib.sh"
e2e_begin run_race

ROUNDS=${RACE_ROUNDS:-3}
COUNT=24
medium="$WORK/medium"
installers=()
expected=""
for i in $(seq 0 $((COUNT - 1))); do
    code=$(( i % 2 ))
    installers+=(--installer "$(printf 'r%02d_exit%d_0s' "$i" "$code")")
    if [ "$code" = 0 ]; then expected+="S36|"; else expected+="S37|"; fi
done
write_medium "$medium" "${installers[@]}"

for round in $(seq "$ROUNDS"); do
    rm -f "$medium/Setup/install.log"
    start_wine_with_stub en_US.UTF-8
    start_setup "$medium"
    if ! wait_window; then
        fail "round $round: the main window opens"
        continue
    fi
    start_run_from IDC_BTN_DEFAULT_INSTALL
    if wait_finish_page 60; then
        check_eq "round $round: every row ends with its result" "$expected" "$(statuses | tr '\n' '|')"
        check_eq "round $round: every installer ran" "$COUNT" "$(run_log "$medium" | grep -c ' end$')"
    else
        fail "round $round: the run ends"
    fi
    stop_wine
done
e2e_finish
