#!/usr/bin/env bash
# Start-up: the window, its 41 controls with their classes, styles, rectangles and slot texts,
# the menu page alone visible, the two list views prepared, the About box, closing.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin startup

# installs showIcon 0 and manuals showIcon 1: only the manuals list gets the icon set.
start_on_medium --icons 1 0 1
pass "the main window opens"
check_eq "client area 800 x 570" "800 570" "$CLIENT_W $CLIENT_H"
check_eq "no frame around the client area" "800 570" "$WIN_W $WIN_H"

read_dump
screenshot screen >/dev/null
check_eq "41 controls" 41 "${#CTL_IDS[@]}"
check_eq "after start-up only the ten menu-page controls are visible" "$(controls_of MenuPage)" "$(visible_ids)"
# 1049 is the template's label without a name.
check_eq "template order (tab and stacking order)" \
    "IDC_ST_TITLE IDC_ST_SUBTITLE IDC_BTN_DEFAULT_INSTALL IDC_BTN_CUSTOM_INSTALL IDC_BTN_MANUALS IDC_BTN_EXIT \
IDC_PIC_LOGO IDC_ST_DEFAULT_INSTALL_INFO IDC_ST_CUSTOM_INSTALL_INFO IDC_ST_MANUALS_INFO IDC_ST_DEFAULT_INSTALL_INFO2 \
IDC_BTN_BACK IDC_BTN_INSTALL IDC_BTN_CANCEL IDC_ST_DEFAULT_PAGE_TITLE IDC_ST_DEFAULT_PAGE_TEXT2 \
IDC_ST_DEFAULT_PAGE_TEXT1 IDC_BTN_SELECT_ALL IDC_BTN_SELECT_NONE IDC_ST_CUSTOM_PAGE_TITLE IDC_ST_CUSTOM_PAGE_TEXT1 \
IDC_ST_CUSTOM_PAGE_TEXT2 IDC_ST_MANUALS_PAGE_TITLE IDC_ST_MANUALS_PAGE_TEXT1 IDC_ST_MANUALS_PAGE_TEXT2 \
IDC_LIST_MANUALS IDC_ST_PROGRESS_TITLE IDC_ST_PROGRESS_TEXT IDC_ST_FINISH_TITLE IDC_ST_FINISH_TEXT 1049 \
IDC_BTN_FINISH IDC_ST_PROGRESS_DOT1 IDC_ST_PROGRESS_DOT2 IDC_ST_PROGRESS_DOT3 IDC_ST_PROGRESS_DOT4 \
IDC_ST_PROGRESS_DOT5 IDC_ST_RESTART_LEAD IDC_ST_RESTART_SECONDS IDC_ST_RESTART_TEXT IDC_LIST_INSTALLS" \
    "${CTL_IDS[*]}"

# Every control's text from the control table (slot k reads "S<k>").
while IFS=$'\t' read -r name text; do
    check_eq "text of $name" "$text" "${CTL_TEXT[$name]-<missing>}"
done < <(expected_texts "")

# Every control's rectangle from the control table; image buttons take the size of their
# normal image.
load_facts
for name in "${FACT_NAMES[@]}"; do
    check_eq "rectangle of $name" "$(expected_rect "$name")" "${CTL_RECT[$name]-<missing>}"
done

# Classes and the styles the program relies on.
for name in $(image_buttons); do
    check_eq "$name is an owner-drawn button with tab stop" "Button 11 1" \
        "${CTL_CLASS[$name]} $(( CTL_STYLE[$name] & 0xF )) $(( (CTL_STYLE[$name] & 0x10000) != 0 ))"
done
for name in IDC_ST_DEFAULT_INSTALL_INFO IDC_ST_CUSTOM_INSTALL_INFO IDC_ST_MANUALS_INFO IDC_ST_DEFAULT_INSTALL_INFO2; do
    check_eq "label $name centres its text" "Static 1" "${CTL_CLASS[$name]} $(( CTL_STYLE[$name] & 0x1F ))"
done
for name in IDC_ST_TITLE IDC_ST_SUBTITLE IDC_ST_DEFAULT_PAGE_TITLE IDC_ST_DEFAULT_PAGE_TEXT2 IDC_ST_DEFAULT_PAGE_TEXT1 \
    IDC_ST_CUSTOM_PAGE_TITLE IDC_ST_CUSTOM_PAGE_TEXT1 IDC_ST_CUSTOM_PAGE_TEXT2 IDC_ST_MANUALS_PAGE_TITLE \
    IDC_ST_MANUALS_PAGE_TEXT1 IDC_ST_MANUALS_PAGE_TEXT2 IDC_ST_PROGRESS_TITLE IDC_ST_PROGRESS_TEXT IDC_ST_FINISH_TITLE \
    IDC_ST_FINISH_TEXT IDC_ST_RESTART_LEAD IDC_ST_RESTART_SECONDS IDC_ST_RESTART_TEXT; do
    check_eq "label $name is left-aligned" "Static 0" "${CTL_CLASS[$name]} $(( CTL_STYLE[$name] & 0x1F ))"
done
check_eq "the installer list is a list view, created disabled" "SysListView32 0" \
    "${CTL_CLASS[IDC_LIST_INSTALLS]} ${CTL_ENABLED[IDC_LIST_INSTALLS]}"
check_eq "the manuals list is an enabled list view" "SysListView32 1" \
    "${CTL_CLASS[IDC_LIST_MANUALS]} ${CTL_ENABLED[IDC_LIST_MANUALS]}"
check_eq "the installer list allows several selected rows, the manuals list one" "0 4" \
    "$(( CTL_STYLE[IDC_LIST_INSTALLS] & 0x4 )) $(( CTL_STYLE[IDC_LIST_MANUALS] & 0x4 ))"

# list id, expected "exstyle-bits smallimages column-text column-width", for the flags of this medium.
load_facts
declare -A want_list=(
    [IDC_LIST_INSTALLS]="$(( 0x1 | 0x4 | 0x20 )) 0 NAME ${FACT_COLUMN[${CONTROL_ID[IDC_LIST_INSTALLS]} 0 start]}"
    [IDC_LIST_MANUALS]="$(( 0x1 | 0x2 | 0x20 )) 1 NAME ${FACT_COLUMN[${CONTROL_ID[IDC_LIST_MANUALS]} 0 start]}"
)
for id in IDC_LIST_INSTALLS IDC_LIST_MANUALS; do
    info="$(probe listinfo "$id")"
    exstyle=$(awk -F'\t' '$1 == "exstyle" { print $2 }' <<<"$info")
    images=$(awk -F'\t' '$1 == "smallimages" { print $2 }' <<<"$info")
    column=$(awk -F'\t' '$1 == "column" && $2 == 0 { print $5 " " $4 }' <<<"$info")
    check_eq "list $id: extended style, icon set, column" "${want_list[$id]}" \
        "$(( exstyle & (0x1 | 0x2 | 0x4 | 0x20) )) $images $column"
    check_eq "list $id hides its header and starts empty" "16384 0" \
        "$(( CTL_STYLE[$id] & 0x4000 )) $(awk -F'\t' '$1 == "rows" { print $2 }' <<<"$info")"
done

# The window's icon is icon 128. Wine hands it to X as the window's _NET_WM_ICON (without one it
# hands over a stock icon): its 32 x 32 pixels must be those of the icon file.
x_icon_pixels_matching() {  # -> how many of the 1024 pixels match icon 128's 32 x 32 image
    local window icon="$E2E_DIR/../../resources/icons/app.ico"
    for window in $(xdotool search --classname setup.exe); do
        xprop -id "$window" -notype -f _NET_WM_ICON 32c '=$0+\n' _NET_WM_ICON
    done | grep -m1 '^_NET_WM_ICON=32, 32,' | python3 -c '
import subprocess, sys
pixels = [int(v) for v in sys.stdin.read().split("=", 1)[1].split(",")[2:2 + 32 * 32]]
rgba = subprocess.run([sys.argv[1], sys.argv[2] + "[" + sys.argv[3] + "]", "rgba:-"], capture_output=True).stdout
same = 0
for i, argb in enumerate(pixels):
    r, g, b, a = rgba[4 * i:4 * i + 4]
    got = [(argb >> shift) & 255 for shift in (24, 16, 8, 0)]
    if abs(got[0] - a) <= 2 and (a == 0 or max(abs(x - y) for x, y in zip(got[1:], (r, g, b))) <= 2):
        same += 1
print(same)' "$CONVERT" "$icon" "$(identify -format '%p %w\n' "$icon" | awk '$2 == 32 { print $1; exit }')" 2>/dev/null
}
check_eq "the window's icon is the program's icon 128" 1024 "$(x_icon_pixels_matching)"

# The About box opens on system command 0x13 (the low four bits do not count).
probe syscommand 0x13
box="$(probe msgbox 5000)"
check_eq "About box caption" "关于 Orvane" "$(box_caption "$box")"
check_cmd "About box says Orvane，1.0 版" grep -qF $'\t''Orvane，1.0 版' <<<"$box"
check_eq "About box button" "确定" "$(awk -F'\t' '$1 == "button" { print $3 }' <<<"$box")"
screenshot about >/dev/null
probe answer "$(probe_text 确定)" 2000
check_cmd "About box closes on its button" probe waitnobox 3000
check_cmd "the main window is still there" probe window

# WM_CLOSE ends the dialog and the program.
probe close
if wait_setup_exit 10; then pass "WM_CLOSE ends the program"; else fail "WM_CLOSE ends the program"; fi

e2e_finish
