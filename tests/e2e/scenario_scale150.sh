#!/usr/bin/env bash
# At 150 % (144 dpi): the window, every control, the fonts, the skin and its variants, the lists
# scaled as the control table says at 144 dpi; a page switch and a run from the custom page.
# Then a screen too small for 150 %: the window takes the largest scale that fits (1000 x 720
# holds 125 %, 120 dpi: 1000 x 713, but not 121 dpi) and stands where it does at 100 %.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/run_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/scale_lib.sh"
e2e_begin scale150

start_and_check_custom_page 144
check_run "a run at 144 dpi"
probe end >/dev/null
wait_setup_exit 10

stop_wine
stop_xvfb
SCREEN_W=1000 SCREEN_H=720
start_xvfb "$WORK/xvfb-small.log" "${SCREEN_W}x$SCREEN_H" || exit 1
start_wine_with_stub en_US.UTF-8
start_setup_window "$medium"
check_layout 120 "on a 1000 x 720 screen"
check_eq "on a 1000 x 720 screen: the window stands at the screen's corner" "0 0" "$CLIENT_X $CLIENT_Y"
check_cmd "on a 1000 x 720 screen: the log names the scale the window took" \
    grep -q "window scale: 125 % (120 dpi)" "$(ls -t "$WINEPREFIX"/drive_c/users/*/Temp/Setup_*.log | head -1)"
e2e_finish
