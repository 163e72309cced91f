#!/usr/bin/env bash
# The language through the locale, as the window shows it: each user interface language picks
# its language file (regional variants share one, unknown languages get English), the debug
# box reports the language values before any window exists, and "testLanguage" overrides the
# choice.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin language

medium="$WORK/medium"
# Every file's slot texts carry their own prefix.
languages=(--language en-us "EN " --language de-de "DE " --language zh-cn "简体中文 " --language zh-tw "繁體中文 "
           --language pt-pt "PT " --language ja-jp "日本語 ")
write_medium "$medium" "${languages[@]}"

# Shows the window under a locale and checks that every control carries the expected file's
# texts. The Chinese and Japanese runs also prove that UTF-8 values reach the window intact
# under multi-byte code pages.
expect_language() {  # locale, expected prefix, what
    start_wine "$1"
    start_setup "$medium"
    if ! wait_window; then fail "$3: the window opens"; return; fi
    read_dump
    check_texts "$3" "$2 "
    screenshot "${1%%.*}" >/dev/null
    # The next start_wine ends this run: closing was proven elsewhere, and a locale needs a
    # new wineserver anyway.
}

# locale, prefix of the file it must select
while read -r locale prefix; do
    expect_language "$locale" "$prefix" "$locale selects the $prefix file"
done <<'EOF'
zh_CN.UTF-8 简体中文
zh_TW.UTF-8 繁體中文
pt_BR.UTF-8 PT
it_IT.UTF-8 EN
EOF

# The debug box: shown before the main window, with the language values; closing it lets the
# start-up go on with the German file.
start_wine de_DE.UTF-8
write_medium "$medium" "${languages[@]}" --root 'debug="yes"'
start_setup "$medium"
box="$(probe msgbox 15000)"
check_eq "debug box caption" "Setup debug" "$(box_caption "$box")"
check_eq "debug box text under de_DE" 'wLanguage = 0x0407\r\nszLanguage = de\r\nszCountry = DE\r\nszIniTest = (null)' \
    "$(box_text "$box")"
check_eq "debug box has one button" 1 "$(grep -c '^button' <<<"$box")"
if probe window >/dev/null 2>&1; then fail "no main window while the debug box is open"
else pass "no main window while the debug box is open"; fi
screenshot debug-box >/dev/null
probe answer IDOK >/dev/null
if wait_window; then
    read_dump
    check_texts "after the debug box: the German texts" "DE "
    end_setup
else
    fail "after the debug box the main window opens"
fi

# "testLanguage" forces the file: a Japanese user gets the Simplified Chinese texts, and the
# debug box shows the forced code beside the user's own language values.
start_wine ja_JP.UTF-8
write_medium "$medium" "${languages[@]}" --root 'debug="YES" testLanguage="zh-cn"'
start_setup "$medium"
box="$(probe msgbox 15000)"
check_eq "debug box text under ja_JP with testLanguage" \
    'wLanguage = 0x0411\r\nszLanguage = ja\r\nszCountry = JP\r\nszIniTest = zh-cn' \
    "$(box_text "$box")"
probe answer IDOK >/dev/null
if wait_window; then
    read_dump
    check_texts "testLanguage zh-cn under ja_JP: the Simplified Chinese texts" "简体中文 "
    screenshot screen >/dev/null
    end_setup
else
    fail "after the debug box the main window opens"
fi

e2e_finish
