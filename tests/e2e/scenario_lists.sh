#!/usr/bin/env bash
# Pages and item lists, driven like a user: the default page shows the default ticks in a
# disabled list; the custom page takes clicks on the boxes, double-clicks and select all/none,
# keeps rows without a launch rule unticked and grey, and keeps the user's ticks across page
# switches; the manuals list is filled once.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin lists

# Installers: Item 0 (rule, default), Item 1 (rule), Item 2 (default but no rule).
# Manuals: Item 3 (rule), Item 4 (no rule).
start_on_medium --icons 0 1 1

INSTALLS=IDC_LIST_INSTALLS
# Rows as "check:image:text" separated by spaces, e.g. "1:2:Item 0".
rows() {  # list
    probe list "$1" | awk -F'\t' '{ printf "%s%s:%s:%s", (NR > 1 ? " | " : ""), $2, $3, $5 }'
}
ticks() { probe list "$INSTALLS" | awk -F'\t' '{ printf "%s", $2 }'; }
install_enabled() { read_dump; echo "${CTL_ENABLED[IDC_BTN_INSTALL]}"; }

box_point() {  # row -> screen x y of the installer row's check box
    probe rowrect "$INSTALLS" "$1" | awk -F'\t' '{ print $5, $6 }'
}
text_point() {  # row -> screen x y in the middle of the installer row's text
    probe rowrect "$INSTALLS" "$1" | awk -F'\t' '{ print $1 + 120, $2 + int($4 / 2) }'
}

# Default installation page.
open_page IDC_BTN_DEFAULT_INSTALL IDC_ST_DEFAULT_PAGE_TITLE
check_eq "default page: its controls alone are visible" "$(controls_of DefaultInstallPage)" "$(visible_ids)"
check_eq "default page: every installer with its default tick and picture" \
    "1:2:Item 0 | 0:1:Item 1 | 0:3:Item 2" "$(rows "$INSTALLS")"
check_eq "default page: the list is disabled" 0 "${CTL_ENABLED[$INSTALLS]}"

# Custom installation page.
open_page IDC_BTN_BACK IDC_BTN_DEFAULT_INSTALL
open_page IDC_BTN_CUSTOM_INSTALL IDC_ST_CUSTOM_PAGE_TITLE
check_eq "custom page: its controls alone are visible" "$(controls_of CustomInstallPage)" "$(visible_ids)"
check_eq "custom page: the list is enabled" 1 "${CTL_ENABLED[$INSTALLS]}"
check_eq "custom page: ticks start as the defaults" "100" "$(ticks)"
check_eq "custom page: the install button is enabled" 1 "${CTL_ENABLED[IDC_BTN_INSTALL]}"

# Before any row is selected (a selected row is drawn in the selection colours).
shot="$(screenshot custom)"
# row, colour that its text must show, colour that it must not show (the text starts after
# the box and the 32-pixel picture)
while read -r row want other what; do
    read -r x y w h _ _ <<<"$(probe rowrect "$INSTALLS" "$row" | tr '\t' ' ')"
    x=$((x - CLIENT_X + 60)); y=$((y - CLIENT_Y)); w=$((w - 60))
    if [ "$(count_colour "$shot" "$x" "$y" "$w" "$h" "$want")" -gt 0 ] \
        && [ "$(count_colour "$shot" "$x" "$y" "$w" "$h" "$other")" = 0 ]; then pass "$what"
    else fail "$what"; fi
done <<'EOF'
2 #808080 #000000 a row without a launch rule is drawn grey
0 #000000 #808080 a row with a launch rule is drawn black
EOF

# Each click waits for the window to settle (lib.sh): the window has handled it then.
single_click $(box_point 1)
check_eq "a click on a box ticks the row" "110" "$(ticks)"
single_click $(box_point 2)
check_eq "a row without a launch rule does not stay ticked" "110" "$(ticks)"
double_click $(text_point 0)
check_eq "a double-click flips a row" "010" "$(ticks)"
double_click $(text_point 2)
check_eq "a double-click leaves a row without a launch rule unticked" "010" "$(ticks)"

probe press IDC_BTN_SELECT_NONE >/dev/null
check_eq "select none unticks every row" "000" "$(ticks)"
check_eq "select none disables the install button" 0 "$(install_enabled)"
probe press IDC_BTN_SELECT_ALL >/dev/null
check_eq "select all ticks every row with a launch rule" "110" "$(ticks)"
check_eq "select all enables the install button" 1 "$(install_enabled)"
single_click $(box_point 0)
single_click $(box_point 1)
check_eq "unticking the last ticked row disables the install button" "000 0" "$(ticks) $(install_enabled)"
single_click $(box_point 1)
check_eq "ticking a row enables it again" "010 1" "$(ticks) $(install_enabled)"

# The user's ticks survive a visit to the default page, which shows the defaults meanwhile.
open_page IDC_BTN_BACK IDC_BTN_DEFAULT_INSTALL
open_page IDC_BTN_DEFAULT_INSTALL IDC_ST_DEFAULT_PAGE_TITLE
check_eq "the default page still shows the defaults" "100" "$(ticks)"
open_page IDC_BTN_BACK IDC_BTN_DEFAULT_INSTALL
open_page IDC_BTN_CUSTOM_INSTALL IDC_ST_CUSTOM_PAGE_TITLE
check_eq "the custom page shows the user's ticks again" "010" "$(ticks)"

# Untick everything, go to the default page: the install button stays disabled there.
probe press IDC_BTN_SELECT_NONE >/dev/null
open_page IDC_BTN_BACK IDC_BTN_DEFAULT_INSTALL
open_page IDC_BTN_DEFAULT_INSTALL IDC_ST_DEFAULT_PAGE_TITLE
check_eq "the default page leaves the install button as the custom page left it" 0 "${CTL_ENABLED[IDC_BTN_INSTALL]}"

# Manuals, filled once.
open_page IDC_BTN_BACK IDC_BTN_DEFAULT_INSTALL
open_page IDC_BTN_MANUALS IDC_ST_MANUALS_PAGE_TITLE
check_eq "manuals page: its controls alone are visible" "$(controls_of ManualsPage)" "$(visible_ids)"
check_eq "manuals page: every manual with its picture" "-1:0:Item 3 | -1:5:Item 4" "$(rows IDC_LIST_MANUALS)"
open_page IDC_BTN_BACK IDC_BTN_DEFAULT_INSTALL
open_page IDC_BTN_MANUALS IDC_ST_MANUALS_PAGE_TITLE
check_eq "opening the manuals page again adds no rows" 2 "$(probe list IDC_LIST_MANUALS | wc -l)"
screenshot screen >/dev/null

e2e_finish
