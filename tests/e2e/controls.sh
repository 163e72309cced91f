# The main window's controls for the end-to-end scenarios: their names, read from the program's
# resources/resource.h, and what the program's own control table (window_facts --facts) says of
# them. Sourced by lib.sh, not run.
#
# Scenarios name controls as the program does (IDC_BTN_INSTALL); the probe wrapper in lib.sh
# turns the names into numbers. A control without a name (the template has one) keeps its number.

declare -A CONTROL_ID CONTROL_NAME
read_control_names() {  # resource.h
    local define name value
    while read -r define name value; do
        [ "$define" = "#define" ] && [[ $name == IDC_* ]] || continue
        CONTROL_ID[$name]=$value
        CONTROL_NAME[$value]=$name
    done <"$1"
}
read_control_names "$E2E_DIR/../../resources/resource.h"

# The number of a control given by name or number; fails for an unknown name.
control_number() {
    if [[ $1 =~ ^-?[0-9]+$ ]]; then echo "$1"; return 0; fi
    [ -n "${CONTROL_ID[$1]:-}" ] || { echo "no control named $1 in resource.h" >&2; return 1; }
    echo "${CONTROL_ID[$1]}"
}

# The name of a control given by number (the number itself when it has none) or by name.
control_name() { local number; number="$(control_number "$1")" && echo "${CONTROL_NAME[$number]:-$number}"; }

# Controls and pages as the names of their controls, each once, in the order of their numbers:
# a page name (MenuPage, ProgressPage, ... as the control table writes them) stands for every
# control the table shows on it.
controls_of() {
    local word name names=()
    for word in "$@"; do
        if [[ $word == *Page ]]; then
            load_facts || return 1
            for name in "${FACT_NAMES[@]}"; do
                [[ ,${FACT_PAGES[$name]}, == *,$word,* ]] && names+=("$name")
            done
        else
            name="$(control_name "$word")" || return 1
            names+=("$name")
        fi
    done
    for name in "${names[@]}"; do echo "$(control_number "$name") $name"; done \
        | sort -n -u | cut -d' ' -f2 | tr '\n' ' ' | sed 's/ $//'
}

# ---------------------------------------------------------------- the control table

# window_facts --facts, made once per ctest run (test e2e.window_facts, see CMakeLists.txt): per
# control its rectangle, the text it shows (a slot of the interface text table, or a fixed text),
# its text colour, its pages and its button images; the window's rectangle, the fonts' pixel
# sizes, the lists' columns and icons, the buttons' caption rectangles. The same at 120, 144 and
# 192 dpi stand beside it (-120.tsv ...; use_facts_at).
declare -A FACT_RECT FACT_TEXT FACT_COLOUR FACT_PAGES FACT_IMAGES FACT_CAPTION FACT_FONT FACT_COLUMN
FACT_NAMES=()
FACT_WINDOW=""
FACT_ICONS=""
load_facts() {
    [ ${#FACT_NAMES[@]} = 0 ] || return 0
    : "${WINDOW_FACTS:?WINDOW_FACTS names no control table (window_facts --facts output)}"
    local id x y w h font text colour pages images name
    while IFS=$'\t' read -r id x y w h font text colour pages images; do
        case "$id" in
            window) FACT_WINDOW="$x $y $w $h" ;;
            icons) FACT_ICONS=$x ;;
            font) FACT_FONT[$x]="$w $h $font" ;;  # member: weight measure pixels
            column) FACT_COLUMN[$x $y $font]=$w ;;  # "list index phase": width
            caption) FACT_CAPTION[${CONTROL_NAME[$x]:-$x}]="$y $w $h $font" ;;
        esac
        [[ $id =~ ^[0-9]+$ ]] || continue
        name="${CONTROL_NAME[$id]:-$id}"
        FACT_NAMES+=("$name")
        FACT_RECT[$name]="$x $y $w $h"
        FACT_TEXT[$name]=$text
        FACT_COLOUR[$name]=$colour
        FACT_PAGES[$name]=$pages
        FACT_IMAGES[$name]=$images
    done < <(tr -d '\r' <"$WINDOW_FACTS")
    [ ${#FACT_NAMES[@]} -gt 0 ] || { echo "no controls in $WINDOW_FACTS" >&2; return 1; }
}

# The control table at another display scale (96, 120, 144 or 192 dpi) from here on.
use_facts_at() {  # dpi
    : "${WINDOW_FACTS_96:=$WINDOW_FACTS}"
    WINDOW_FACTS="$WINDOW_FACTS_96"
    [ "$1" = 96 ] || WINDOW_FACTS="${WINDOW_FACTS_96%.tsv}-$1.tsv"
    FACT_NAMES=()
    load_facts
}

# The rectangle the window gives a control, "x y w h": the table's, except that an image button
# takes the size of its normal image, which in the scenarios' skin is the size its file name
# states (120x26_button: 120 x 26), scaled: its caption rectangle.
expected_rect() {
    load_facts
    if [ -n "${FACT_CAPTION[$1]:-}" ]; then cut -d' ' -f1-4 <<<"${FACT_CAPTION[$1]}"; else echo "${FACT_RECT[$1]}"; fi
}

# The controls with button images, in the table's order.
image_buttons() {
    load_facts
    local name
    for name in "${FACT_NAMES[@]}"; do [ "${FACT_IMAGES[$name]}" = - ] || echo "$name"; done | tr '\n' ' ' | sed 's/ $//'
}

# A control's text colour as #RRGGBB, when the table gives it one.
text_colour() { load_facts; sed -n 's/^transparent \(#[0-9A-F]\{6\}\)$/\1/p' <<<"${FACT_COLOUR[$1]}"; }

# Lines "name<TAB>text" of every control that shows a text, as the window must show it when slot k
# reads "<prefix>S<k>", or when every slot is empty (second argument "empty"). A dot label shows
# its slot followed by its dots; a fixed text stands as it is.
expected_texts() {  # prefix, [empty]
    load_facts
    local name text slot dots
    for name in "${FACT_NAMES[@]}"; do
        text="${FACT_TEXT[$name]}"
        case "$text" in
            'slot '*)
                read -r _ slot dots <<<"$text"
                if [ "${2:-}" = empty ]; then text="$dots"; else text="$1S$slot$dots"; fi ;;
            '"'*'"') text="${text:1:${#text}-2}" ;;
            *) continue ;;
        esac
        printf '%s\t%s\n' "$name" "$text"
    done
}

# Checks every control's text against expected_texts (needs a fresh read_dump).
check_texts() {  # what, prefix, [empty]
    local name text bad=() expected
    expected="$(expected_texts "$2" "${3:-}")" || { fail "$1" "no control table"; return; }
    while IFS=$'\t' read -r name text; do
        [ "${CTL_TEXT[$name]-<missing>}" = "$text" ] || bad+=("$name: expected '$text', got '${CTL_TEXT[$name]-<missing>}'")
    done <<<"$expected"
    if [ ${#bad[@]} = 0 ]; then pass "$1"; else fail "$1" "${bad[@]}"; fi
}
