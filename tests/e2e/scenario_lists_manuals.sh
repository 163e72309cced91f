#!/usr/bin/env bash
# Opening manuals: a double-click hands the resolved file to the shell and does not wait for
# the viewer (a .txt opens Notepad under Wine, which never exits); a manual without a rule and a
# double-click below the rows open nothing and show nothing; a rule that matches nothing shows
# the "Configuration exception" box with every candidate.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin lists_manuals

medium="$WORK/medium"
write_medium "$medium" --install 'strId="ITEM0" open="Setup/a.exe" default="1" icon="2"' \
    --manual 'strId="ITEM3" open="Manual/{language}/*.txt" icon="0"' --manual 'strId="ITEM4" icon="5"' \
    --manual 'strId="ITEM5" open="Manual/{language}/none.pdf" icon="0"'
# "{language}" is tried as en_US, then en*: the folder "en" holds the manual.
mkdir -p "$medium/Manual/en"
printf 'Guide\r\n' >"$medium/Manual/en/guide.txt"

start_wine en_US.UTF-8
start_setup_window "$medium"

notepad() { probe --exe notepad.exe "$@"; }
# True while Notepad has a window.
notepad_open() { ! notepad waitgone 0 >/dev/null 2>&1; }
text_point() {  # row -> screen x y in the middle of the manual row's text
    probe rowrect IDC_LIST_MANUALS "$1" | awk -F'\t' '{ print $1 + int($3 / 2), $2 + int($4 / 2) }'
}
# Nothing opens: the launcher is given the time to show a box or start a viewer, and must not.
check_nothing_opens() {  # what
    sleep 1.5
    if probe boxes >/dev/null 2>&1; then fail "$1: no message is shown" "$(probe boxes)"; else pass "$1: no message is shown"; fi
    if notepad_open; then fail "$1: no viewer is started"; else pass "$1: no viewer is started"; fi
}

open_page IDC_BTN_MANUALS IDC_ST_MANUALS_PAGE_TITLE
check_eq "manuals page lists three manuals" "Item 3|Item 4|Item 5" \
    "$(probe list IDC_LIST_MANUALS | awk -F'\t' '{ printf "%s%s", (NR > 1 ? "|" : ""), $5 }')"

double_click $(text_point 1)
check_nothing_opens "a manual without a rule"

read -r lx ly lw lh <<<"${CTL_RECT[IDC_LIST_MANUALS]}"
double_click $(( CLIENT_X + lx + lw / 2 )) $(( CLIENT_Y + ly + lh - 20 ))
check_nothing_opens "a double-click below the last row"

double_click $(text_point 2)
box="$(probe msgbox 5000)"
check_eq "a rule that matches nothing: the box's caption" "Configuration exception" \
    "$(box_caption "$box")"
check_eq "a rule that matches nothing: the rule and every candidate" \
    'Configuration item:\nManual\\{language}\\none.pdf\n\nNo file matching the following rule was found.\rManual\\en_US\\none.pdf\nManual\\en*\\none.pdf\nManual\\en*\\none.pdf' \
    "$(box_text "$box")"
probe answer IDOK 3000 >/dev/null
check_cmd "the box closes" probe waitnobox 3000
if notepad_open; then fail "a rule that matches nothing opens no viewer"; else pass "a rule that matches nothing opens no viewer"; fi

double_click $(text_point 0)
if wait_until notepad_open 15; then opened=1; else opened=0; fi
check_eq "a .txt manual opens in Notepad" 1 "$opened"
# Notepad complains in a box of its own when it cannot open the file it was given: it is given
# the time to.
sleep 0.5
if notepad boxes >/dev/null 2>&1; then fail "Notepad was given the resolved file" "$(notepad boxes)"
else pass "Notepad was given the resolved file"; fi

# The launcher does not wait for the viewer: it answers and changes pages while Notepad runs.
check_cmd "the launcher runs on" setup_running
check_eq "the launcher answers while Notepad is open" "S7" "$(probe text IDC_ST_MANUALS_PAGE_TITLE)"
open_page IDC_BTN_BACK IDC_BTN_DEFAULT_INSTALL
check_cmd "the back button works while Notepad is open" notepad_open
check_eq "the menu page is shown" "$(controls_of MenuPage)" "$(visible_ids)"

notepad end >/dev/null 2>&1 || true
if wait_until not notepad_open 8; then pass "Notepad is ended at the end"; else fail "Notepad is ended at the end"; fi

e2e_finish
