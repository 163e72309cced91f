#!/usr/bin/env bash
# At 200 % (192 dpi): the window, every control, the fonts, the skin and its variants, the lists
# scaled as the control table says at 192 dpi. On the custom page, with ticks changed, Windows
# says the window moved to a 150 % monitor (WM_DPICHANGED, which the probe sends: Wine never
# does): it lays itself out at 144 dpi in the suggested place, keeping the page and the ticks;
# and back at 200 %, where a run follows; after it, one more change keeps the results.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/run_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/scale_lib.sh"
e2e_begin scale200

start_and_check_custom_page 192

use_facts_at 144
probe dpichanged 144 100 50 $(cut -d' ' -f3,4 <<<"$FACT_WINDOW") >/dev/null
settle
check_layout 144 "moved to a 150 % monitor"
check_eq "moved to a 150 % monitor: the window stands where Windows suggested" "100 50" "$CLIENT_X $CLIENT_Y"
check_custom_page 144 "moved to a 150 % monitor" 01

use_facts_at 192
probe dpichanged 192 0 0 $(cut -d' ' -f3,4 <<<"$FACT_WINDOW") >/dev/null
settle
check_layout 192 "back on a 200 % monitor"
check_custom_page 192 "back on a 200 % monitor" 01
check_run "a run at 192 dpi"

use_facts_at 144
probe dpichanged 144 0 0 $(cut -d' ' -f3,4 <<<"$FACT_WINDOW") >/dev/null
settle
check_layout 144 "after the run, moved to a 150 % monitor"
check_results "after the run, moved to a 150 % monitor"
e2e_finish
