#!/usr/bin/env bash
# The keyboard and screen readers, with real key presses on the sample skin: no focus cue before a
# key, after Tab a cue on the focused button only (picture keyboard/focused-button.png); Enter
# presses the focused button (the leave button asks first) and does nothing on a list; Alt and an
# underlined letter press its button; Esc leaves. The window's text is the title as its label
# shows it; Active Accessibility names each button by its caption, with "&" its shortcut, and
# the installer list by the heading of the page that shows it.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin keyboard

medium="$WORK/medium"
write_medium "$medium" --text K00='Lumetra && Co' --text K05='&Custom' --text K07='Man&uals'
"$E2E_DIR/../../tools/make_skin.sh" "$medium/ImageIcon"
start_wine en_US.UTF-8
start_setup_window "$medium"
read_dump

check_eq "the window's text is the title, as its label shows it" "Lumetra & Co" "$WIN_TITLE"
check_eq "a button is named by its caption, its access key is its shortcut" $'Custom\tAlt+C' \
    "$(probe accessible IDC_BTN_CUSTOM_INSTALL | tr -d '\r')"

# How many pixels of two screenshots differ, on the screen or in a control's rectangle.
changed_pixels() {  # file, file, [control]
    local area=() x y w h
    if [ $# -gt 2 ]; then
        read -r x y w h <<<"${CTL_RECT[$3]}"
        area=(-extract "${w}x${h}+$(( CLIENT_X + x ))+$(( CLIENT_Y + y ))")
    fi
    compare -metric AE "${area[@]}" "$1" "$2" null: 2>&1
}

rest_pointer
check_eq "the first menu button has the focus at start" IDC_BTN_DEFAULT_INSTALL "$(focused)"
before="$(screenshot before-keys)"
press_keys Tab
check_eq "Tab moves the focus along the buttons" IDC_BTN_CUSTOM_INSTALL "$(focused)"
after="$(screenshot after-tab)"
"$CONVERT" "$after" -crop "${CLIENT_W}x${CLIENT_H}+${CLIENT_X}+${CLIENT_Y}" +repage "$WORK/focused-button.png"
cue="$(changed_pixels "$before" "$after" IDC_BTN_CUSTOM_INSTALL)"
if [ "${cue:-0}" -gt 200 ]; then pass "after Tab the focused button shows a cue"
else fail "after Tab the focused button shows a cue" "changed pixels: $cue"; fi
check_eq "no cue before the key, no change beside the focused button" "$cue" "$(changed_pixels "$before" "$after")"

press_keys Tab Tab
check_eq "Tab reaches the leave button" IDC_BTN_EXIT "$(focused)"
press_keys Return
check_eq "Enter on the leave button asks the exit question" S34 "$(box_caption "$(probe msgbox 5000)")"
probe answer IDNO 3000 >/dev/null
probe waitnobox 3000
settle
press_keys shift+Tab shift+Tab shift+Tab
check_eq "Shift+Tab goes back to the first menu button" IDC_BTN_DEFAULT_INSTALL "$(focused)"
press_keys Return
check_cmd "Enter on it opens the default installation page" wait_visible IDC_ST_DEFAULT_PAGE_TITLE 1 3
check_cmd "the launcher is still running" setup_running
check_eq "the installer list is named by the page's heading" $'S2\t' \
    "$(probe accessible IDC_LIST_INSTALLS | tr -d '\r')"

tab_to IDC_BTN_BACK && press_keys Return
check_cmd "Enter on the back button opens the menu" wait_visible IDC_BTN_CUSTOM_INSTALL 1 3
press_keys alt+c
check_cmd "Alt+C presses the button whose caption underlines C" wait_visible IDC_ST_CUSTOM_PAGE_TITLE 1 3
check_eq "the list is named by the custom page's heading" $'Custom\t' "$(probe accessible IDC_LIST_INSTALLS | tr -d '\r')"
tab_to IDC_LIST_INSTALLS && press_keys Return
read_dump
check_eq "Enter on the list does nothing" "$(controls_of CustomInstallPage) 0" \
    "$(visible_ids) $(probe boxes | grep -c '^box')"

press_keys Escape
if wait_setup_exit 10; then check_eq "Esc leaves, with exit code 0" 0 "$SETUP_EXIT"
else fail "Esc leaves"; fi
e2e_finish
