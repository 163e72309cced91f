# The media of the end-to-end scenarios, all written by write_medium. Sourced by lib.sh, not run.
#
# The test texts: UICfg.xml has 37 entries of varying element names with the keys K00 ... K36, and
# a language file gives each the text "<prefix>S<k>" of the slot it fills, so that every slot shows
# where its text went. Slot 35 is never filled: entry 35 carries "S36" and entry 36 "S37". The
# item texts are ITEM<n> = "<prefix>Item <n>", n = 0 ... 5.
#
# The skin is solid colours, so that a pixel names the image it came from.

COLOUR_MENU="#C8DCF0"
COLOUR_LOGO="#008000"
COLOUR_NORMAL="#1E3C78"
COLOUR_HOVER="#3C965A"
COLOUR_PRESSED="#962828"
LOGO_WIDTH=100
LOGO_HEIGHT=30

INSTALLER_EXE=${INSTALLER_EXE:-$(dirname "$PROBE_EXE")/installers/installer.exe}

# write_medium DIR [OPTION...]: Setup.exe and, unless --bare, conf.xml, UICfg.xml, the language
# files and the skin, in DIR. Options:
#   --root ATTRIBUTES         attributes of conf.xml's root element ('debug="yes"')
#   --icons UI INSTALLS MANUALS   the three showIcon values of conf.xml (default 0 0 0)
#   --install ATTRIBUTES      an installer item ('strId="ITEM1" open="Setup/b.exe" default="0"')
#   --installer NAME[:0]      the test installer (installers/installer.cpp: its name gives its exit
#                             code and duration) as Setup/NAME.exe, and an item ITEM<n> that opens
#                             it, n being its place among the installer items modulo 6, ticked by
#                             default unless :0
#   --manual ATTRIBUTES       a manual item
#   --language CODE PREFIX    a language file with the test texts behind PREFIX; without one,
#                             en-us with no prefix
#   --text KEY=VALUE          another value for KEY in every language file
#   --empty-language          an en-us.ini without a line instead
#   --without PATH            leaves that file of the medium out (ImageIcon/menu.png)
#   --bare                    Setup.exe alone: no conf.xml, no Language, no ImageIcon
# Without an item option conf.xml lists the standard items: installers ITEM0 (a rule, ticked by
# default, icon 2), ITEM1 (a rule, icon 1), ITEM2 (ticked by default, no rule, icon 3); manuals
# ITEM3 (a rule, icon 0) and ITEM4 (no rule, icon 5).
# A medium written again over one that a running Setup uses keeps its Setup.exe as it is.
write_medium() {
    local dir="$1"; shift
    local root="" icons=(0 0 0) installs=() manuals=() installers=() languages=() texts=() without=()
    local bare="" empty_language="" items="" name
    while [ $# -gt 0 ]; do
        case "$1" in
            --root) root=" $2"; shift 2 ;;
            --icons) icons=("$2" "$3" "$4"); shift 4 ;;
            --install) installs+=("$2"); items=1; shift 2 ;;
            --installer)
                name="${2%:0}"
                installers+=("$name")
                installs+=("strId=\"ITEM$(( ${#installs[@]} % 6 ))\" open=\"Setup/$name.exe\" default=\"$([ "$2" = "$name" ] && echo 1 || echo 0)\"")
                items=1; shift 2 ;;
            --manual) manuals+=("$2"); items=1; shift 2 ;;
            --language) languages+=("$2" "$3"); shift 3 ;;
            --text) texts+=("$2"); shift 2 ;;
            --empty-language) empty_language=1; shift ;;
            --without) without+=("$2"); shift 2 ;;
            --bare) bare=1; shift ;;
            *) echo "write_medium: unknown option $1" >&2; return 2 ;;
        esac
    done
    mkdir -p "$dir"
    cmp -s "$SETUP_EXE" "$dir/Setup.exe" || cp "$SETUP_EXE" "$dir/Setup.exe"
    [ -z "$bare" ] || return 0

    if [ -z "$items" ]; then
        installs=('strId="ITEM0" open="Setup/a.exe" default="1" icon="2"' 'strId="ITEM1" open="Setup/b.exe" default="0" icon="1"'
                  'strId="ITEM2" default="1" icon="3"')
        manuals=('strId="ITEM3" open="Manual/guide.txt" icon="0"' 'strId="ITEM4" icon="5"')
    fi
    write_conf "$dir/conf.xml" "$root" "${icons[@]}"
    if [ ${#installers[@]} -gt 0 ]; then add_installers "$dir" "${installers[@]}"; fi

    write_uicfg "$dir/Language/UICfg.xml"
    if [ -n "$empty_language" ]; then
        : >"$dir/Language/en-us.ini"
    else
        [ ${#languages[@]} -gt 0 ] || languages=(en-us "")
        local i
        for ((i = 0; i < ${#languages[@]}; i += 2)); do
            write_language "$dir/Language/${languages[i]}.ini" "${languages[i + 1]}" "${texts[@]}"
        done
    fi

    write_skin "$dir/ImageIcon"
    local path
    for path in "${without[@]}"; do rm -f "$dir/$path"; done
}

# conf.xml from the installs and manuals arrays of write_medium.
write_conf() {  # file, root attributes, ui showIcon, installs showIcon, manuals showIcon
    local item
    {
        echo '<?xml version="1.0" encoding="utf-8"?>'
        echo "<Product$2>"
        echo "  <ui showIcon=\"$3\"/>"
        echo "  <installs showIcon=\"$4\">"
        for item in "${installs[@]}"; do echo "    <item $item/>"; done
        echo '  </installs>'
        echo "  <manuals showIcon=\"$5\">"
        for item in "${manuals[@]}"; do echo "    <item $item/>"; done
        echo '  </manuals>'
        echo '</Product>'
    } >"$1"
}

# Copies the test installer into the medium's Setup folder under each name given.
add_installers() {  # medium dir, names (without .exe)...
    local dir="$1" name; shift
    mkdir -p "$dir/Setup"
    for name in "$@"; do cp "$INSTALLER_EXE" "$dir/Setup/$name.exe"; done
}

write_uicfg() {  # file
    mkdir -p "$(dirname "$1")"
    local k names=(Text Caption Label)
    {
        echo '<?xml version="1.0" encoding="utf-8"?>'
        echo '<UICfg>'
        for k in $(seq 0 36); do
            printf '  <%s id="%d" size="%d">K%02d</%s>\n' "${names[k % 3]}" "$k" "$((k * 10))" "$k" "${names[k % 3]}"
        done
        echo '</UICfg>'
    } >"$1"
}

write_language() {  # file, prefix, KEY=VALUE overrides...
    local file="$1" prefix="$2" k key value; shift 2
    declare -A values=()
    for k in $(seq 0 36); do values[$(printf 'K%02d' "$k")]="${prefix}S$(( k < 35 ? k : k + 1 ))"; done
    for k in 0 1 2 3 4 5; do values[ITEM$k]="${prefix}Item $k"; done
    for k in "$@"; do values[${k%%=*}]="${k#*=}"; done
    {
        echo '[ROOT]'
        for k in $(seq 0 36); do key=$(printf 'K%02d' "$k"); echo "$key = ${values[$key]}"; done
        for k in 0 1 2 3 4 5; do echo "ITEM$k = ${values[ITEM$k]}"; done
    } >"$file"
}

solid_png() {  # file, width, height, colour
    "$CONVERT" -size "$2x$3" "xc:$4" -define png:color-type=6 "PNG32:$1"
}

# menu.png, logo.png and the three states of the four button sizes.
write_skin() {  # folder
    local dir="$1" size word
    mkdir -p "$dir"
    solid_png "$dir/menu.png" 800 570 "$COLOUR_MENU"
    solid_png "$dir/logo.png" "$LOGO_WIDTH" "$LOGO_HEIGHT" "$COLOUR_LOGO"
    for size in 400x70 280x50 136x40 120x26; do
        case $size in 400x70|280x50) word=Button ;; *) word=button ;; esac
        solid_png "$dir/${size}_${word}_Normal.png" "${size%x*}" "${size#*x}" "$COLOUR_NORMAL"
        solid_png "$dir/${size}_${word}_Hover.png" "${size%x*}" "${size#*x}" "$COLOUR_HOVER"
        solid_png "$dir/${size}_${word}_Pressed.png" "${size%x*}" "${size#*x}" "$COLOUR_PRESSED"
    done
}

# bench.sh's form: the install items as conf.xml lines on standard input, and the installers
# copied by add_installers.
write_run_medium() {  # dir
    local line options=()
    while IFS= read -r line; do
        line="${line#*<item }"
        [ -n "$line" ] && options+=(--install "${line%/>}")
    done
    write_medium "$1" "${options[@]}"
    mkdir -p "$1/Setup"
}
