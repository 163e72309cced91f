#!/usr/bin/env bash
# Page navigation: every button of the menu and the back button show exactly their page's
# controls, whatever page came before (shared controls hidden by one page come back with the
# next); the install button's state and caption colour follow the lists; ticks changed while
# the list is not editable never reach the user's choice; select all enables installing even
# when no installer can run; only icon numbers of the image list give a row its image.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin pages

MENU="1000 1001 1002 1003 1005 1006 1007 1008 1009 1011"
DEFAULT="1015 1016 1017 1025 1026 1027 1061"
CUSTOM="1015 1016 1017 1033 1034 1035 1036 1037 1061"
MANUALS="1015 1038 1039 1040 1044"

medium="$WORK/medium"
# Installers: Item 0 (rule, default), Item 1 (rule), Item 2 (default but no rule).
write_medium "$medium" "" 0 0 0
start_wine en_US.UTF-8
start_setup_window "$medium"

ticks() { probe list 1061 | awk -F'\t' '{ printf "%s", $2 }'; }
press() {  # button id: presses it and waits for the window to handle it
    probe press "$1" >/dev/null || { fail "button $1 can be pressed"; return 1; }
    sleep 0.4  # for the repaint that screenshots look at
    read_dump
}

# A walk through the pages: button pressed, the page's controls that must then be visible.
while read -r button page; do
    press "$button" || continue
    check_eq "after $button: exactly the ${page,,} page is shown" "${!page}" "$(visible_ids)"
done <<'EOF_WALK'
1000 DEFAULT
1015 MENU
1001 CUSTOM
1015 MENU
1002 MANUALS
1015 MENU
1000 DEFAULT
1015 MENU
1001 CUSTOM
1015 MENU
1002 MANUALS
1015 MENU
1001 CUSTOM
1015 MENU
1000 DEFAULT
1015 MENU
1002 MANUALS
1015 MENU
EOF_WALK

# The install button: enabled with a black caption, or disabled with a grey (167,167,167) one.
caption_pixels() {  # colour -> pixels of that colour inside the install button
    local shot x y w h
    shot="$(screenshot install-button)"
    read -r x y w h <<<"${CTL_RECT[1016]}"
    count_colour "$shot" "$x" "$y" "$w" "$h" "$1"
}
check_install_button() {  # want enabled (1/0), where
    read_dump
    check_eq "$2: install button enabled = $1" "$1" "${CTL_ENABLED[1016]}"
    local black grey
    black="$(caption_pixels '#000000')"; grey="$(caption_pixels '#A7A7A7')"
    if [ "$1" = 1 ]; then
        if [ "$black" -gt 0 ] && [ "$grey" = 0 ]; then pass "$2: caption black"; else fail "$2: caption black" "black $black grey $grey"; fi
    else
        if [ "$grey" -gt 0 ] && [ "$black" = 0 ]; then pass "$2: caption grey"; else fail "$2: caption grey" "black $black grey $grey"; fi
    fi
}

press 1001
press 1034
check_install_button 0 "custom page after select none"
press 1015; press 1000
check_install_button 0 "default page after the custom page left it disabled"
press 1015; press 1001
check_install_button 1 "custom page opened again, nothing ticked"
check_eq "the custom page shows the user's (empty) ticks" "000" "$(ticks)"

# Ticks changed while the list is on the default page are not the user's.
press 1015; press 1000
check_eq "default page shows the default ticks" "100" "$(ticks)"
probe check 1061 1 1 >/dev/null; probe check 1061 0 0 >/dev/null; sleep 0.3
check_eq "the disabled list takes the probe's ticks" "010" "$(ticks)"
press 1015; press 1001
check_eq "the custom page still shows the user's ticks" "000" "$(ticks)"

# On the custom page a row without a launch rule is unticked again at once; others keep a tick.
while read -r row state want what; do
    probe check 1061 "$row" "$state" >/dev/null; sleep 0.3
    check_eq "$what" "$want" "$(ticks)"
done <<'EOF_TICKS'
2 1 000 ticking the row without a launch rule does not stay
1 1 010 ticking a row with a launch rule stays
0 1 110 ticking another row stays
1 0 100 unticking a row stays
EOF_TICKS
check_install_button 1 "custom page with a row ticked"
probe check 1061 0 0 >/dev/null; sleep 0.3
check_install_button 0 "custom page after the last tick was removed"
press 1015; press 1000; press 1015; press 1001
check_eq "custom -> back -> default -> back -> custom keeps the user's ticks" "000" "$(ticks)"

probe close
wait_setup_exit 10 || fail "WM_CLOSE ends the launcher outside a run"

# No installer can run: select all still offers the install button.
cat >"$medium/conf.xml" <<'XML'
<?xml version="1.0" encoding="utf-8"?>
<Product>
  <ui showIcon="0"/>
  <installs showIcon="0">
    <item strId="ITEM0" default="1" icon="2"/>
    <item strId="ITEM1" default="0" icon="1"/>
  </installs>
  <manuals showIcon="1">
    <item strId="ITEM3" open="Manual/a.pdf" icon="5"/>
    <item strId="ITEM4" open="Manual/b.pdf" icon="6"/>
    <item strId="ITEM5" open="Manual/c.pdf" icon="-1"/>
  </manuals>
</Product>
XML
start_setup "$medium"
if wait_window; then
    press 1001; press 1034
    check_install_button 0 "no runnable installer: select none"
    press 1033
    check_eq "no runnable installer: select all leaves every row unticked" "00" "$(ticks)"
    check_install_button 1 "no runnable installer: select all"
    # Icon 5 is the last of the six; 6 and -1 are inserted without an image index, which the
    # platform list reads back as its default, 0.
    press 1015; press 1002
    check_eq "manual icons 5, 6, -1 give the rows images 5, 0, 0" "5 0 0" \
        "$(probe list 1044 | awk -F'\t' '{ print $3 }' | tr '\n' ' ' | sed 's/ $//')"
else
    fail "the main window opens with installers that cannot run"
fi

e2e_finish
