# Steps of the display-scale scenarios (scenario_scale150.sh, scenario_scale200.sh). Sourced after
# lib.sh and run_lib.sh, not run.
#
# Wine reads the prefix's LogPixels when a program starts and then reports that dpi to it; the
# window lays itself out from the control table scaled to it, which window_facts --dpi prints.
# Every expectation here comes from those facts; the skin has solid colours and a few variants.

SCREEN_W=1920
SCREEN_H=1200
COLOUR_EDGE="#B4503C"     # menu.png's right and bottom stripes
COLOUR_VARIANT="#7828A0"  # the variants the window takes
COLOUR_UNUSED="#FFD200"   # variants it must pass over

# The scenarios' skin: menu.png with stripes along its right and bottom edges, which a scaled
# background shows at the window's edges; the 280x50 normal image with a variant for 150 % and
# 200 % (taken as it is), the 400x70 one with a 125 % and a 300 % variant (the larger one is
# taken, scaled down), the 136x40 one with variants of the wrong size (not used).
write_scale_skin() {  # medium dir
    local dir="$1/ImageIcon" scale
    "$CONVERT" -size 800x570 "xc:$COLOUR_MENU" -fill "$COLOUR_EDGE" -draw 'rectangle 792,0 799,569' \
        -draw 'rectangle 0,562 799,569' -define png:color-type=6 "PNG32:$dir/menu.png"
    solid_png "$dir/280x50_Button_Normal.scale-150.png" 420 75 "$COLOUR_VARIANT"
    solid_png "$dir/280x50_Button_Normal.scale-200.png" 560 100 "$COLOUR_VARIANT"
    solid_png "$dir/400x70_Button_Normal.scale-125.png" 500 88 "$COLOUR_UNUSED"
    solid_png "$dir/400x70_Button_Normal.scale-300.png" 1200 210 "$COLOUR_VARIANT"
    for scale in 150 200; do solid_png "$dir/136x40_button_Normal.scale-$scale.png" 136 40 "$COLOUR_UNUSED"; done
}

# Every control's rectangle and the window's size, as the table gives them at the dpi.
check_layout() {  # dpi, when
    local name bad=()
    use_facts_at "$1"
    refresh_window && read_dump
    check_eq "$2: the window is $(cut -d' ' -f3,4 <<<"$FACT_WINDOW") at $1 dpi" "$(cut -d' ' -f3,4 <<<"$FACT_WINDOW")" \
        "$CLIENT_W $CLIENT_H"
    for name in "${FACT_NAMES[@]}"; do
        [ "$(expected_rect "$name")" = "${CTL_RECT[$name]-}" ] || bad+=("$name: $(expected_rect "$name") != ${CTL_RECT[$name]-}")
    done
    if [ ${#bad[@]} = 0 ]; then pass "$2: every control's rectangle is the table's at $1 dpi"
    else fail "$2: every control's rectangle is the table's at $1 dpi" "${bad[@]}"; fi
}

# Whether a label's letters (a capital and a digit, about 0.72 em high) are as high as its font
# at the dpi makes them: the height of what differs from the background in its rectangle.
check_letters() {  # screenshot, control, font member, when
    local x y w h em ink
    read -r x y w h <<<"${CTL_RECT[$2]}"
    read -r _ _ em <<<"${FACT_FONT[$3]}"
    [[ ${FACT_FONT[$3]} == *cell* ]] && em=$((em * 2048 / 2288))  # Arial's cell is 2288/2048 em
    ink="$("$CONVERT" "$1" -crop "${w}x$h+$((CLIENT_X + x))+$((CLIENT_Y + y))" +repage -fuzz 20% -format '%@' info: |
        sed 's/^[0-9]*x\([0-9]*\)+.*/\1/')"
    if [ "${ink:-0}" -ge $((em * 62 / 100)) ] && [ "${ink:-0}" -le $((em * 82 / 100)) ]; then
        pass "$4: $2's letters are $ink pixels high, for its font's em of $em"
    else fail "$4: $2's letters fit its font's em of $em pixels" "ink height: ${ink:-none}"; fi
}

# The menu page's pictures at the dpi: the background's stripes at the window's edges (so the
# image was scaled, not tiled), the logo at its scaled place and size, each button's image
# filling its scaled rectangle (the variants where they count), and letters of the scaled size
# (a capital and a digit are about 0.72 em high).
check_menu_pictures() {  # dpi, when
    local shot x y w h lx ly colour name
    shot="$(screenshot "menu-$1-${2// /-}")"
    read -r _ _ w h <<<"$FACT_WINDOW"
    lx=$((50 * $1 / 96)) ly=$((20 * $1 / 96))
    while read -r x y colour what; do
        check_eq "$2: pixel ($x, $y) is $what" "${!colour}" "$(client_pixel "$shot" "$x" "$y")"
    done <<EOF
$((w - 1)) $((h / 2)) COLOUR_EDGE the background's right stripe at the window's edge
$((w / 2)) $((h - 1)) COLOUR_EDGE the background's bottom stripe at the window's edge
$((w * 792 / 800 - 3)) $((h / 2)) COLOUR_MENU the background left of its scaled stripe
$lx $ly COLOUR_LOGO the logo's top-left corner
$((lx + LOGO_WIDTH * $1 / 96 - 1)) $((ly + LOGO_HEIGHT * $1 / 96 - 1)) COLOUR_LOGO the logo's scaled bottom-right corner
$((lx + LOGO_WIDTH * $1 / 96 + 1)) $ly COLOUR_MENU the background right of the logo
EOF
    for name in IDC_BTN_DEFAULT_INSTALL IDC_BTN_CUSTOM_INSTALL IDC_BTN_EXIT; do
        read -r x y w h <<<"$(expected_rect "$name")"
        check_eq "$2: $name's image (a variant) fills its rectangle, corner to corner" \
            "$COLOUR_VARIANT $COLOUR_VARIANT $COLOUR_MENU $COLOUR_MENU" \
            "$(client_pixel "$shot" $((x + 1)) $((y + 1))) $(client_pixel "$shot" $((x + w - 2)) $((y + h - 2))) \
$(client_pixel "$shot" $((x - 2)) $((y + h / 2))) $(client_pixel "$shot" $((x + w + 1)) $((y + h / 2)))"
    done
    check_letters "$shot" IDC_ST_TITLE m_fontTitle "$2"
    check_letters "$shot" IDC_ST_SUBTITLE m_font10 "$2"
}

# The custom page at the dpi: the installer list's column and rows, its pictures, and the page
# buttons with their base image (the wrong-sized variants passed over).
check_custom_page() {  # dpi, when, ticks expected
    local shot x y w h row_h
    use_facts_at "$1"
    read_dump
    check_eq "$2: the custom page's controls alone are visible" "$(controls_of CustomInstallPage)" "$(visible_ids)"
    check_eq "$2: the ticks" "$3" "$(probe list IDC_LIST_INSTALLS | awk -F'\t' '{ printf "%s", $2 }')"
    check_eq "$2: the name column is the table's" "${FACT_COLUMN[1061 0 start]}" \
        "$(probe listinfo IDC_LIST_INSTALLS | awk -F'\t' '$1 == "column" && $2 == 0 { print $4 }')"
    row_h="$(probe rowrect IDC_LIST_INSTALLS 0 | awk -F'\t' '{ print $4 }')"
    if [ "${row_h:-0}" -ge "$FACT_ICONS" ] && [ "${row_h:-0}" -le $((FACT_ICONS * 3 / 2)) ]; then
        pass "$2: a row ($row_h pixels) holds the list icons of $FACT_ICONS pixels"
    else fail "$2: a row holds the list icons of $FACT_ICONS pixels" "row height: ${row_h:-none}"; fi
    shot="$(screenshot "custom-$1-${2// /-}")"
    read -r x y w h <<<"$(expected_rect IDC_BTN_BACK)"
    check_eq "$2: the back button shows its base image, scaled to its rectangle" "$COLOUR_NORMAL $COLOUR_NORMAL" \
        "$(client_pixel "$shot" $((x + 1)) $((y + 1))) $(client_pixel "$shot" $((x + w - 2)) $((y + h - 2)))"
    check_letters "$shot" IDC_ST_CUSTOM_PAGE_TITLE m_font16 "$2"
}

# Ticks the second installer and unticks the first on the custom page.
change_ticks() {
    local x y
    for row in 1 0; do
        read -r x y <<<"$(probe rowrect IDC_LIST_INSTALLS "$row" | awk -F'\t' '{ print $5, $6 }')"
        single_click "$x" "$y"
    done
}

# The installer list after a run from the custom page: the ticked installer alone ran and
# succeeded, and the list has the table's run layout at the dpi.
check_results() {  # when
    check_eq "$1: the ticked installer's row says it succeeded, the others nothing; the run's columns" \
        "|S36| ${FACT_COLUMN[1061 0 run]} ${FACT_COLUMN[1061 1 run]}" "$(statuses | tr -d '\r' | tr '\n' '|') $(probe \
        listinfo IDC_LIST_INSTALLS | awk -F'\t' '$1 == "column" { printf "%s%s", (n++ ? " " : ""), $4 }')"
}

check_run() {  # when
    probe click IDC_BTN_INSTALL >/dev/null
    wait_finish_page 30 || fail "$1: the run ends on the finish page"
    check_results "$1"
}

# The scenarios' start at a dpi: the medium and its skin, the menu page and the custom page with
# its ticks changed, each checked against the table at that dpi.
start_and_check_custom_page() {  # dpi
    set_prefix_dpi "$E2E_PREFIX" "$1"
    medium="$WORK/medium"
    write_medium "$medium" --icons 1 1 1 --installer a_exit0_0s --installer b_exit0_0s:0
    write_scale_skin "$medium"
    start_wine_with_stub en_US.UTF-8
    start_setup_window "$medium"
    check_layout "$1" "at start"
    check_menu_pictures "$1" "at start"
    open_page IDC_BTN_CUSTOM_INSTALL IDC_ST_CUSTOM_PAGE_TITLE
    change_ticks
    check_custom_page "$1" "custom page" 01
}
