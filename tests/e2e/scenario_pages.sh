#!/usr/bin/env bash
# Page navigation: every button of the menu and the back button show exactly their page's
# controls, whatever page came before (shared controls hidden by one page come back with the
# next); the install button's state and caption colour follow the lists; ticks changed while
# the list is not editable never reach the user's choice; select all enables installing even
# when no installer can run; only icon numbers of the image list give a row its image.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin pages

# Installers: Item 0 (rule, default), Item 1 (rule), Item 2 (default but no rule).
start_on_medium

ticks() { probe list IDC_LIST_INSTALLS | awk -F'\t' '{ printf "%s", $2 }'; }
press() {  # button: presses it; the press returns once the window has handled it
    probe press "$1" >/dev/null || { fail "button $1 can be pressed"; return 1; }
    read_dump
}

# A walk through the pages, back to the menu after each: after every press exactly the page's
# controls are visible.
button_of() {  # page -> the menu button that opens it
    case "$1" in
        DefaultInstallPage) echo IDC_BTN_DEFAULT_INSTALL ;;
        CustomInstallPage) echo IDC_BTN_CUSTOM_INSTALL ;;
        ManualsPage) echo IDC_BTN_MANUALS ;;
    esac
}
for page in DefaultInstallPage CustomInstallPage ManualsPage DefaultInstallPage CustomInstallPage ManualsPage \
    CustomInstallPage DefaultInstallPage ManualsPage; do
    for step in "$(button_of "$page") $page" "IDC_BTN_BACK MenuPage"; do
        read -r button shown <<<"$step"
        press "$button" || continue
        check_eq "after $button: exactly the $shown is shown" "$(controls_of "$shown")" "$(visible_ids)"
    done
done

# The install button: enabled with a black caption, or disabled with a grey (167,167,167) one.
caption_pixels() {  # colour -> pixels of that colour inside the install button
    local shot x y w h
    shot="$(screenshot install-button)"
    read -r x y w h <<<"${CTL_RECT[IDC_BTN_INSTALL]}"
    count_colour "$shot" "$x" "$y" "$w" "$h" "$1"
}
check_install_button() {  # want enabled (1/0), where
    read_dump
    check_eq "$2: install button enabled = $1" "$1" "${CTL_ENABLED[IDC_BTN_INSTALL]}"
    local black grey
    black="$(caption_pixels '#000000')"; grey="$(caption_pixels '#A7A7A7')"
    if [ "$1" = 1 ]; then
        if [ "$black" -gt 0 ] && [ "$grey" = 0 ]; then pass "$2: caption black"; else fail "$2: caption black" "black $black grey $grey"; fi
    else
        if [ "$grey" -gt 0 ] && [ "$black" = 0 ]; then pass "$2: caption grey"; else fail "$2: caption grey" "black $black grey $grey"; fi
    fi
}

press IDC_BTN_CUSTOM_INSTALL
press IDC_BTN_SELECT_NONE
check_install_button 0 "custom page after select none"
press IDC_BTN_BACK; press IDC_BTN_DEFAULT_INSTALL
check_install_button 0 "default page after the custom page left it disabled"
press IDC_BTN_BACK; press IDC_BTN_CUSTOM_INSTALL
check_install_button 1 "custom page opened again, nothing ticked"
check_eq "the custom page shows the user's (empty) ticks" "000" "$(ticks)"

# Ticks changed while the list is on the default page are not the user's. The probe's ticks are
# sent: the window has handled each when the probe returns.
press IDC_BTN_BACK; press IDC_BTN_DEFAULT_INSTALL
check_eq "default page shows the default ticks" "100" "$(ticks)"
probe check IDC_LIST_INSTALLS 1 1 >/dev/null; probe check IDC_LIST_INSTALLS 0 0 >/dev/null; settle
check_eq "the disabled list takes the probe's ticks" "010" "$(ticks)"
press IDC_BTN_BACK; press IDC_BTN_CUSTOM_INSTALL
check_eq "the custom page still shows the user's ticks" "000" "$(ticks)"

# On the custom page a row without a launch rule is unticked again at once; others keep a tick.
while read -r row state want what; do
    probe check IDC_LIST_INSTALLS "$row" "$state" >/dev/null; settle
    check_eq "$what" "$want" "$(ticks)"
done <<'EOF_TICKS'
2 1 000 ticking the row without a launch rule does not stay
1 1 010 ticking a row with a launch rule stays
0 1 110 ticking another row stays
1 0 100 unticking a row stays
EOF_TICKS
check_install_button 1 "custom page with a row ticked"
probe check IDC_LIST_INSTALLS 0 0 >/dev/null; settle
check_install_button 0 "custom page after the last tick was removed"
press IDC_BTN_BACK; press IDC_BTN_DEFAULT_INSTALL; press IDC_BTN_BACK; press IDC_BTN_CUSTOM_INSTALL
check_eq "custom -> back -> default -> back -> custom keeps the user's ticks" "000" "$(ticks)"

probe close
wait_setup_exit 10 || fail "WM_CLOSE ends the launcher outside a run"

# No installer can run: select all still offers the install button.
write_medium "$medium" --install 'strId="ITEM0" default="1" icon="2"' --install 'strId="ITEM1" default="0" icon="1"' \
    --manual 'strId="ITEM3" open="Manual/a.pdf" icon="5"' --manual 'strId="ITEM4" open="Manual/b.pdf" icon="6"' \
    --manual 'strId="ITEM5" open="Manual/c.pdf" icon="-1"' --icons 0 0 1
start_setup "$medium"
if wait_window; then
    press IDC_BTN_CUSTOM_INSTALL; press IDC_BTN_SELECT_NONE
    check_install_button 0 "no runnable installer: select none"
    press IDC_BTN_SELECT_ALL
    check_eq "no runnable installer: select all leaves every row unticked" "00" "$(ticks)"
    check_install_button 1 "no runnable installer: select all"
    # Icon 5 is the last of the six; 6 and -1 are inserted without an image index, which the
    # platform list reads back as its default, 0.
    press IDC_BTN_BACK; press IDC_BTN_MANUALS
    check_eq "manual icons 5, 6, -1 give the rows images 5, 0, 0" "5 0 0" \
        "$(probe list IDC_LIST_MANUALS | awk -F'\t' '{ print $3 }' | tr '\n' ' ' | sed 's/ $//')"
else
    fail "the main window opens with installers that cannot run"
fi

e2e_finish
