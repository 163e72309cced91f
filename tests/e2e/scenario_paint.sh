#!/usr/bin/env bash
# Painting and the mouse: the tiled background and the logo, label colours, the image buttons'
# hover and pressed images and caption colours, dragging the window by a free spot but not by
# a button, and the heading blue of a page heading. The skin is solid colours, so each pixel
# tells which image it came from.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin paint

start_on_medium --icons 1 0 0
read_dump
shot="$(screenshot start)"

# client x, y, expected colour, what: the logo (100 x 30) at (50, 20), the background around it.
while read -r x y colour what; do
    check_eq "pixel ($x, $y): $what" "${!colour}" "$(client_pixel "$shot" "$x" "$y")"
done <<EOF
50 20 COLOUR_LOGO logo top-left corner
$((50 + LOGO_WIDTH - 1)) $((20 + LOGO_HEIGHT - 1)) COLOUR_LOGO logo bottom-right corner
49 20 COLOUR_MENU background left of the logo
50 19 COLOUR_MENU background above the logo
$((50 + LOGO_WIDTH)) 20 COLOUR_MENU background right of the logo
50 $((20 + LOGO_HEIGHT)) COLOUR_MENU background below the logo
5 5 COLOUR_MENU background in the corner
130 500 COLOUR_MENU background of the left panel
790 560 COLOUR_MENU background bottom right
EOF

# Menu labels are black and drawn transparently over the background.
for name in IDC_ST_TITLE IDC_ST_SUBTITLE IDC_ST_DEFAULT_INSTALL_INFO IDC_ST_CUSTOM_INSTALL_INFO IDC_ST_MANUALS_INFO \
    IDC_ST_DEFAULT_INSTALL_INFO2; do
    read -r x y w h <<<"${CTL_RECT[$name]}"
    black=$(count_colour "$shot" "$x" "$y" "$w" "$h" "#000000")
    white=$(count_colour "$shot" "$x" "$y" "$w" "$h" "#FFFFFF")
    if [ "$black" -gt 0 ] && [ "$white" = 0 ]; then pass "label $name is black on the background"
    else fail "label $name is black on the background" "black pixels $black, white pixels $white"; fi
    check_eq "label $name has no background of its own" "$COLOUR_MENU" "$(client_pixel "$shot" $((x + w - 2)) $((y + h - 2)))"
done

# Buttons at rest: the normal image with a black caption.
for name in IDC_BTN_DEFAULT_INSTALL IDC_BTN_CUSTOM_INSTALL IDC_BTN_MANUALS IDC_BTN_EXIT; do
    read -r x y w h <<<"${CTL_RECT[$name]}"
    check_eq "button $name shows its normal image" "$COLOUR_NORMAL" "$(client_pixel "$shot" $((x + 2)) $((y + 2)))"
    black=$(count_colour "$shot" "$x" "$y" "$w" "$h" "#000000")
    if [ "$black" -gt 0 ]; then pass "button $name has a black caption"; else fail "button $name has a black caption"; fi
done

# Hover over the custom installation button: hover image, white caption; leaving restores the
# normal image and black. The hover image comes after the system's hover delay.
read -r x y w h <<<"${CTL_RECT[IDC_BTN_CUSTOM_INSTALL]}"
mouse_to $(control_centre IDC_BTN_CUSTOM_INSTALL)
wait_until client_shows $((x + 2)) $((y + 2)) "$COLOUR_HOVER" 3
shot="$(screenshot hover)"
check_eq "hovered button shows its hover image" "$COLOUR_HOVER" "$(client_pixel "$shot" $((x + 2)) $((y + 2)))"
white=$(count_colour "$shot" "$x" "$y" "$w" "$h" "#FFFFFF")
black=$(count_colour "$shot" "$x" "$y" "$w" "$h" "#000000")
if [ "$white" -gt 0 ] && [ "$black" = 0 ]; then pass "hovered button has a white caption"
else fail "hovered button has a white caption" "white pixels $white, black pixels $black"; fi
check_eq "the other buttons stay normal" "$COLOUR_NORMAL" "$(client_pixel "$shot" 403 358)"

mouse_to $((CLIENT_X + 130)) $((CLIENT_Y + 300))
wait_until client_shows $((x + 2)) $((y + 2)) "$COLOUR_NORMAL" 3
shot="$(screenshot left)"
check_eq "after leaving: normal image again" "$COLOUR_NORMAL" "$(client_pixel "$shot" $((x + 2)) $((y + 2)))"
white=$(count_colour "$shot" "$x" "$y" "$w" "$h" "#FFFFFF")
black=$(count_colour "$shot" "$x" "$y" "$w" "$h" "#000000")
if [ "$white" = 0 ] && [ "$black" -gt 0 ]; then pass "after leaving: black caption again"
else fail "after leaving: black caption again" "white pixels $white, black pixels $black"; fi

# A press on a button shows the pressed image and does not move the window; releasing off the
# button clicks nothing. The button holds the mouse from the press to the release.
before="$CLIENT_X $CLIENT_Y"
read -r x y w h <<<"${CTL_RECT[IDC_BTN_MANUALS]}"
read -r cx cy <<<"$(control_centre IDC_BTN_MANUALS)"
mouse_to "$cx" "$cy"
xdotool mousedown 1
wait_until captured_by IDC_BTN_MANUALS 3 || log "the button did not take the mouse"
shot="$(screenshot pressed)"
check_eq "pressed button shows its pressed image" "$COLOUR_PRESSED" "$(client_pixel "$shot" $((x + 2)) $((y + 2)))"
white=$(count_colour "$shot" "$x" "$y" "$w" "$h" "#FFFFFF")
if [ "$white" -gt 0 ]; then pass "pressed button has a white caption"; else fail "pressed button has a white caption"; fi
for i in $(seq 10); do xdotool mousemove $((cx + 8 * i)) $((cy + 6 * i)); done
xdotool mouseup 1
wait_until captured_by none 3 || log "the button kept the mouse"
settle
refresh_window
check_eq "a press on a button does not move the window" "$before" "$CLIENT_X $CLIENT_Y"
read_dump
check_eq "releasing off the button clicks nothing (menu page still shown)" 1 "${CTL_VISIBLE[IDC_BTN_DEFAULT_INSTALL]}"

# A drag on a free spot of the left panel moves the window by the same distance.
drag $((CLIENT_X + 130)) $((CLIENT_Y + 300)) $((CLIENT_X + 130 + 90)) $((CLIENT_Y + 300 + 60))
read -r bx by <<<"$before"
refresh_window
check_near "a drag on a free spot moves the window right" $((bx + 90)) "$CLIENT_X" 3
check_near "a drag on a free spot moves the window down" $((by + 60)) "$CLIENT_Y" 3
screenshot screen >/dev/null

# Page headings are heading blue (51, 153, 255, as the control table gives it); page texts keep
# the default colour (black).
# menu button, heading, text line of its page
while read -r button heading text; do
    open_page "$button" "$heading" || continue
    shot="$(screenshot "page-$button")"
    read -r x y w h <<<"${CTL_RECT[$heading]}"
    blue=$(count_colour "$shot" "$x" "$y" "$w" "$h" "$(text_colour "$heading")")
    black=$(count_colour "$shot" "$x" "$y" "$w" "$h" "#000000")
    if [ "$blue" -gt 0 ] && [ "$black" = 0 ]; then pass "page heading $heading is heading blue"
    else fail "page heading $heading is heading blue" "blue pixels $blue, black pixels $black"; fi
    read -r x y w h <<<"${CTL_RECT[$text]}"
    black=$(count_colour "$shot" "$x" "$y" "$w" "$h" "#000000")
    if [ "$black" -gt 0 ]; then pass "page text $text keeps the default (black) text colour"
    else fail "page text $text keeps the default (black) text colour"; fi
    open_page IDC_BTN_BACK IDC_BTN_DEFAULT_INSTALL
done <<'EOF'
IDC_BTN_DEFAULT_INSTALL IDC_ST_DEFAULT_PAGE_TITLE IDC_ST_DEFAULT_PAGE_TEXT1
IDC_BTN_CUSTOM_INSTALL IDC_ST_CUSTOM_PAGE_TITLE IDC_ST_CUSTOM_PAGE_TEXT1
IDC_BTN_MANUALS IDC_ST_MANUALS_PAGE_TITLE IDC_ST_MANUALS_PAGE_TEXT1
EOF

e2e_finish
