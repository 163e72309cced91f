#!/usr/bin/env bash
# Start-up: the window, its 41 controls with their classes, styles, rectangles and slot texts,
# the menu page alone visible, the two list views prepared, the About box, closing.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin startup

medium="$WORK/medium"
# installs showIcon 0 and manuals showIcon 1: only the manuals list gets the icon set.
write_medium "$medium" "" 1 0 1
start_wine en_US.UTF-8
start_setup_window "$medium"
pass "the main window opens"
check_eq "client area 800 x 570" "800 570" "$CLIENT_W $CLIENT_H"
check_eq "no frame around the client area" "800 570" "$WIN_W $WIN_H"

read_dump
screenshot screen >/dev/null
check_eq "41 controls" 41 "${#CTL_IDS[@]}"
check_eq "after start-up only the ten menu-page controls are visible" \
    "1000 1001 1002 1003 1005 1006 1007 1008 1009 1011" "$(visible_ids)"
check_eq "template order (tab and stacking order)" \
    "1005 1006 1000 1001 1002 1003 1004 1007 1008 1009 1011 1015 1016 1017 1025 1026 1027 1033 1034 1035 1036 1037 1038 1039 1040 1044 1045 1046 1047 1048 1049 1050 1051 1052 1053 1054 1055 1056 1057 1058 1061" \
    "${CTL_IDS[*]}"

# Every control's text from its slot (slot k reads "S<k>").
while IFS=$'\t' read -r id text; do
    check_eq "text of $id" "$text" "${CTL_TEXT[$id]-<missing>}"
done < <(expected_texts "")

# id, x, y, width, height: the layout table; image buttons take the size of their normal image,
# which here is the size their file name states (select all/none: 120 x 26).
while read -r id x y w h; do
    check_eq "rectangle of $id" "$x $y $w $h" "${CTL_RECT[$id]-<missing>}"
done <<'EOF'
1004 50 20 180 40
1005 341 20 400 40
1006 341 60 300 40
1000 341 130 400 70
1001 401 260 280 50
1002 401 356 280 50
1003 401 446 280 50
1007 341 208 450 40
1011 341 224 400 40
1008 341 318 400 40
1009 341 414 400 40
1025 267 22 300 20
1027 267 52 500 20
1026 267 68 500 40
1015 267 512 136 40
1016 486 512 136 40
1017 636 512 136 40
1035 267 22 300 20
1036 267 52 500 20
1037 267 70 500 40
1033 512 450 120 26
1034 644 450 120 26
1038 267 22 300 20
1039 267 52 500 30
1040 267 70 500 20
1044 267 104 500 365
1061 267 104 500 340
1045 267 22 500 30
1046 267 55 500 40
1047 267 22 300 20
1048 267 55 300 20
1050 636 512 136 40
1051 400 22 300 20
1052 267 22 300 20
1053 267 22 300 20
1054 267 22 300 20
1055 267 22 300 20
1056 267 350 60 40
1057 300 350 60 40
1058 267 390 500 80
EOF

# Classes and the styles the program relies on.
for id in 1000 1001 1002 1003 1015 1016 1017 1033 1034 1050; do
    check_eq "$id is an owner-drawn button with tab stop" "Button 11 1" \
        "${CTL_CLASS[$id]} $(( CTL_STYLE[$id] & 0xF )) $(( (CTL_STYLE[$id] & 0x10000) != 0 ))"
done
for id in 1007 1008 1009 1011; do
    check_eq "label $id centres its text" "Static 1" "${CTL_CLASS[$id]} $(( CTL_STYLE[$id] & 0x1F ))"
done
for id in 1005 1006 1025 1026 1027 1035 1036 1037 1038 1039 1040 1045 1046 1047 1048 1056 1057 1058; do
    check_eq "label $id is left-aligned" "Static 0" "${CTL_CLASS[$id]} $(( CTL_STYLE[$id] & 0x1F ))"
done
check_eq "1061 is a list view, created disabled" "SysListView32 0" "${CTL_CLASS[1061]} ${CTL_ENABLED[1061]}"
check_eq "1044 is an enabled list view" "SysListView32 1" "${CTL_CLASS[1044]} ${CTL_ENABLED[1044]}"
check_eq "1061 allows several selected rows, 1044 one" "0 4" \
    "$(( CTL_STYLE[1061] & 0x4 )) $(( CTL_STYLE[1044] & 0x4 ))"

# list id, expected "exstyle-bits smallimages column-text column-width", for the flags of this medium.
declare -A want_list=(
    [1061]="$(( 0x1 | 0x4 | 0x20 )) 0 NAME 495"
    [1044]="$(( 0x1 | 0x2 | 0x20 )) 1 NAME 495"
)
for id in 1061 1044; do
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
x_icon_pixels_matching() {  # -> how many of the 1024 pixels match icon 128
    local window
    for window in $(xdotool search --classname setup.exe); do
        xprop -id "$window" -notype -f _NET_WM_ICON 32c '=$0+\n' _NET_WM_ICON
    done | grep -m1 '^_NET_WM_ICON=32, 32,' | python3 -c '
import subprocess, sys
pixels = [int(v) for v in sys.stdin.read().split("=", 1)[1].split(",")[2:2 + 32 * 32]]
rgba = subprocess.run([sys.argv[1], sys.argv[2] + "[0]", "rgba:-"], capture_output=True).stdout
same = 0
for i, argb in enumerate(pixels):
    r, g, b, a = rgba[4 * i:4 * i + 4]
    got = [(argb >> shift) & 255 for shift in (24, 16, 8, 0)]
    if abs(got[0] - a) <= 2 and (a == 0 or max(abs(x - y) for x, y in zip(got[1:], (r, g, b))) <= 2):
        same += 1
print(same)' "$CONVERT" "$E2E_DIR/../../resources/icons/app.ico" 2>/dev/null
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
