#!/usr/bin/env bash
# The end-to-end scenarios' own helpers, without Wine: control names from resource.h, what the
# control table says (against tests/window/expected_facts.tsv, the table as the program prints
# it), and the media write_medium writes.
set -u
export LC_ALL=C
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
E2E_DIR="$here/../e2e"
WINDOW_FACTS="$here/../window/expected_facts.tsv"
SETUP_EXE="$work/Setup.exe" PROBE_EXE="$work/probe.exe" CONVERT=/usr/bin/convert
mkdir -p "$work/installers"
echo setup >"$SETUP_EXE"
echo installer >"$work/installers/installer.exe"
source "$E2E_DIR/controls.sh"
source "$E2E_DIR/medium.sh"

failures=0
check() {  # what, expected, actual
    if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1"; echo "     expected: $2"; echo "     actual:   $3"; failures=$((failures + 1)); fi
}

# ---------------------------------------------------------------- names and the control table

check "a name and its number lead to each other" IDC_BTN_INSTALL "$(control_name "$(control_number IDC_BTN_INSTALL)")"
check "an unknown name is refused" 1 "$(control_number IDC_NO_SUCH_CONTROL 2>/dev/null; echo $?)"
check "a control without a name keeps its number" 1049 "$(control_name 1049)"

# words, expected controls
while IFS='|' read -r words want; do
    check "controls_of $words" "$want" "$(controls_of $words)"
done <<'EOF_TABLE'
MenuPage|IDC_BTN_DEFAULT_INSTALL IDC_BTN_CUSTOM_INSTALL IDC_BTN_MANUALS IDC_BTN_EXIT IDC_ST_TITLE IDC_ST_SUBTITLE IDC_ST_DEFAULT_INSTALL_INFO IDC_ST_CUSTOM_INSTALL_INFO IDC_ST_MANUALS_INFO IDC_ST_DEFAULT_INSTALL_INFO2
ProgressPage IDC_BTN_CANCEL|IDC_BTN_CANCEL IDC_ST_PROGRESS_TITLE IDC_ST_PROGRESS_TEXT IDC_LIST_INSTALLS
FinishPage RestartPage|IDC_ST_FINISH_TITLE IDC_ST_FINISH_TEXT IDC_BTN_FINISH IDC_ST_RESTART_LEAD IDC_ST_RESTART_SECONDS IDC_ST_RESTART_TEXT IDC_LIST_INSTALLS
IDC_LIST_INSTALLS 1016 IDC_BTN_INSTALL|IDC_BTN_INSTALL IDC_LIST_INSTALLS
EOF_TABLE

# control, expected rectangle: an image button takes its image's size
while read -r name want; do
    check "expected_rect $name" "$want" "$(expected_rect "$name")"
done <<'EOF_TABLE'
IDC_ST_TITLE 341 20 400 40
IDC_BTN_SELECT_ALL 512 450 120 26
IDC_BTN_DEFAULT_INSTALL 341 130 400 70
IDC_PIC_LOGO 50 20 180 40
EOF_TABLE
check "image_buttons" "IDC_BTN_DEFAULT_INSTALL IDC_BTN_CUSTOM_INSTALL IDC_BTN_MANUALS IDC_BTN_EXIT IDC_BTN_BACK IDC_BTN_INSTALL IDC_BTN_CANCEL IDC_BTN_SELECT_ALL IDC_BTN_SELECT_NONE IDC_BTN_FINISH" \
    "$(image_buttons)"
check "text_colour of a heading" "#3399FF" "$(text_colour IDC_ST_PROGRESS_TITLE)"
check "text_colour of a label in the default colour" "" "$(text_colour IDC_ST_PROGRESS_TEXT)"

texts="$(expected_texts "P ")"
empty="$(expected_texts "" empty)"
# control, text with the prefix "P ", text when every slot is empty
while IFS='|' read -r name want want_empty; do
    check "expected text of $name" "$want" "$(awk -F'\t' -v n="$name" '$1 == n { print $2 }' <<<"$texts")"
    check "expected text of $name, slots empty" "$want_empty" "$(awk -F'\t' -v n="$name" '$1 == n { print $2 }' <<<"$empty")"
done <<'EOF_TABLE'
IDC_ST_TITLE|P S0|
IDC_BTN_BACK|P S16|
IDC_ST_PROGRESS_DOT3|P S19...|...
IDC_ST_RESTART_SECONDS|8|8
IDC_LIST_INSTALLS||
EOF_TABLE
check "every control with a text has an expectation" 37 "$(wc -l <<<"$texts")"

# ---------------------------------------------------------------- media

conf_items() { grep -o '<item [^>]*/>' "$1/conf.xml" | tr '\n' '|'; }
value_of() { sed -n "s/^$2 = //p" "$1"; }

write_medium "$work/standard"
check "standard medium: items" \
    '<item strId="ITEM0" open="Setup/a.exe" default="1" icon="2"/>|<item strId="ITEM1" open="Setup/b.exe" default="0" icon="1"/>|<item strId="ITEM2" default="1" icon="3"/>|<item strId="ITEM3" open="Manual/guide.txt" icon="0"/>|<item strId="ITEM4" icon="5"/>|' \
    "$(conf_items "$work/standard")"
check "standard medium: showIcon 0 0 0, no root attributes" '<Product>|<ui showIcon="0"/>|<installs showIcon="0">|<manuals showIcon="0">' \
    "$(grep -o '<Product[^>]*>\|<ui [^>]*>\|<installs [^>]*>\|<manuals [^>]*>' "$work/standard/conf.xml" | tr '\n' '|' | sed 's/|$//')"
check "standard medium: slot texts, slot 35 left out" "S0 S34 S36 S37 Item 5" \
    "$(for k in K00 K34 K35 K36 ITEM5; do value_of "$work/standard/Language/en-us.ini" $k; done | tr '\n' ' ' | sed 's/ $//')"
check "standard medium: 37 interface texts" 37 "$(grep -c '>K[0-9][0-9]<' "$work/standard/Language/UICfg.xml")"
check "standard medium: the skin" 14 "$(ls "$work/standard/ImageIcon" | wc -l)"
check "standard medium: Setup.exe" setup "$(cat "$work/standard/Setup.exe")"

write_medium "$work/run" --installer a_exit0_1s --installer b_exit1_0s:0 --install 'strId="ITEM2" open="Setup/x.xyz" default="1"' \
    --installer c_exit0_0s --root 'debug="yes"' --icons 1 0 1
check "installers: items in order, numbered by place" \
    '<item strId="ITEM0" open="Setup/a_exit0_1s.exe" default="1"/>|<item strId="ITEM1" open="Setup/b_exit1_0s.exe" default="0"/>|<item strId="ITEM2" open="Setup/x.xyz" default="1"/>|<item strId="ITEM3" open="Setup/c_exit0_0s.exe" default="1"/>|' \
    "$(conf_items "$work/run")"
check "installers: copies of the test installer" "a_exit0_1s.exe b_exit1_0s.exe c_exit0_0s.exe|installer" \
    "$(cd "$work/run/Setup" && echo *)|$(cat "$work/run/Setup/a_exit0_1s.exe")"
check "root attributes and showIcon values" '<Product debug="yes">|<ui showIcon="1"/>|<manuals showIcon="1">' \
    "$(grep -o '<Product[^>]*>\|<ui [^>]*>\|<manuals [^>]*>' "$work/run/conf.xml" | tr '\n' '|' | sed 's/|$//')"

seven=(); for i in 0 1 2 3 4 5 6; do seven+=(--installer "r${i}_exit0_0s"); done
write_medium "$work/seven" "${seven[@]}"
check "the seventh installer item is ITEM0 again (item texts 0 to 5)" 'strId="ITEM0" open="Setup/r6_exit0_0s.exe"' \
    "$(grep -o 'strId="ITEM[0-9]" open="Setup/r6[^"]*"' "$work/seven/conf.xml")"

write_medium "$work/texts" --language de-de "DE " --language zh-cn "简体 " --text K32=long --text K33=Second
check "languages: only the files asked for" "UICfg.xml de-de.ini zh-cn.ini" "$(cd "$work/texts/Language" && echo *)"
check "languages: prefixed texts and overrides" "DE S0|long|Second|简体 Item 1" \
    "$(for k in K00 K32 K33; do value_of "$work/texts/Language/de-de.ini" $k; done | tr '\n' '|'; value_of "$work/texts/Language/zh-cn.ini" ITEM1)"

write_medium "$work/odd" --empty-language --without ImageIcon/menu.png
check "an empty language file" 0 "$(wc -c <"$work/odd/Language/en-us.ini")"
check "a file left out" "no menu.png" "$([ -e "$work/odd/ImageIcon/menu.png" ] && echo menu.png || echo no menu.png)"

write_medium "$work/bare" --bare
check "a bare medium holds Setup.exe alone" "Setup.exe" "$(cd "$work/bare" && echo *)"

touch -d '2000-01-01' "$work/bare/Setup.exe"
write_medium "$work/bare" --bare
check "an unchanged Setup.exe is not written again" 2000 "$(date -r "$work/bare/Setup.exe" +%Y)"

check "an unknown option is refused" 2 "$(write_medium "$work/x" --colour red 2>/dev/null; echo $?)"

[ "$failures" = 0 ] && echo "e2e helpers: all checks passed"
[ "$failures" = 0 ]
