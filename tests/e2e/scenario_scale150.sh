#!/usr/bin/env bash
# At 150 % (144 dpi): the window, every control, the fonts, the skin and its variants, the lists
# scaled as the control table says at 144 dpi; a page switch and a run from the custom page.
# Then a screen too small for 150 %: the window takes the largest scale that fits (1000 x 720
# holds 125 %, 120 dpi: 1000 x 713, but not 121 dpi) and stands where it does at 100 %.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/run_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/scale_lib.sh"
e2e_begin scale150

set_prefix_dpi "$E2E_PREFIX" 144
medium="$WORK/medium"
write_medium "$medium" --icons 1 1 1 --installer a_exit0_0s --installer b_exit0_0s:0
write_scale_skin "$medium"
start_wine_with_stub en_US.UTF-8
start_setup_window "$medium"
check_layout 144 "at start"
check_menu_pictures 144 "at start"
open_page IDC_BTN_CUSTOM_INSTALL IDC_ST_CUSTOM_PAGE_TITLE
change_ticks
check_custom_page 144 "custom page" 01
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
e2e_finish
