#!/usr/bin/env bash
# Leaving: the exit and cancel buttons ask slot 32, a line break, slot 33 under caption slot 34
# with Yes and No and the exclamation icon; No changes nothing, Yes ends the launcher with exit
# code 0. Slot texts too long for the question's buffer are cut, not overrun.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin exit

# The box's visible buttons' ids.
box_buttons() { awk -F'\t' '$1 == "button" { print $2 }' <<<"$1" | sort -n | tr '\n' ' ' | sed 's/ $//'; }
# Wine's message box keeps its icon in static 1088 and hides it when the box has none.
box_has_icon() { awk -F'\t' '$1 == "static" && $2 == 1088 { found = 1 } END { exit !found }' <<<"$1"; }

# Presses BUTTON, checks the question, answers No and checks that nothing changed.
ask_and_decline() {  # button, where
    read_dump
    local before; before="$(visible_ids)"
    probe click "$1" >/dev/null || { fail "$2: button $1 can be pressed"; return; }
    local box; box="$(probe msgbox 5000)"
    check_eq "$2: caption is slot 34" "S34" "$(box_caption "$box")"
    check_eq "$2: question is slot 32, CR LF, slot 33" 'S32\r\nS33' "$(box_text "$box")"
    check_eq "$2: the buttons are Yes and No" "6 7" "$(box_buttons "$box")"
    check_cmd "$2: the box shows an icon" box_has_icon "$box"
    probe answer IDNO 3000 >/dev/null
    check_cmd "$2: No closes the box" probe waitnobox 3000
    settle
    check_cmd "$2: the launcher goes on after No" setup_running
    read_dump
    check_eq "$2: the same page is shown after No" "$before" "$(visible_ids)"
}

start_on_medium

ask_and_decline IDC_BTN_EXIT "menu page, exit button"
open_page IDC_BTN_DEFAULT_INSTALL IDC_ST_DEFAULT_PAGE_TITLE
ask_and_decline IDC_BTN_CANCEL "default page, cancel button"
open_page IDC_BTN_BACK IDC_BTN_DEFAULT_INSTALL
open_page IDC_BTN_CUSTOM_INSTALL IDC_ST_CUSTOM_PAGE_TITLE
probe press IDC_BTN_SELECT_NONE >/dev/null
ask_and_decline IDC_BTN_CANCEL "custom page, cancel button"
check_eq "the user's ticks survive a declined exit" "000" \
    "$(probe list IDC_LIST_INSTALLS | awk -F'\t' '{ printf "%s", $2 }')"

leave_with_yes IDC_BTN_CANCEL "custom page, cancel button"

# A slot text as long as a slot holds: the question keeps at most 255 units, never half a line break.
long_a="$(printf 'a%.0s' $(seq 300))"
write_medium "$medium" --text K32="$long_a" --text K33=Second
start_setup "$medium"
if wait_window; then
    probe click IDC_BTN_EXIT >/dev/null
    text="$(box_text "$(probe msgbox 5000)")"
    # The slot itself keeps at most 255 units; the question then has no room for the line break.
    if [ "${#text}" -ge 250 ] && [ "${#text}" -le 255 ]; then pass "a question longer than its buffer is cut"
    else fail "a question longer than its buffer is cut" "length ${#text}"; fi
    check_eq "the cut question is slot 32 alone, without half a line break" "${long_a:0:${#text}}" "$text"
    probe answer IDYES 3000 >/dev/null
    if wait_setup_exit 10; then check_eq "Yes after a long question: exit code 0" 0 "$SETUP_EXIT"
    else fail "Yes after a long question ends the launcher"; fi
else
    fail "the main window opens with long slot texts"
fi

e2e_finish
