#!/usr/bin/env bash
# A medium in a folder named in letters the locale's code page lacks, with rules naming folders
# in such scripts: Cyrillic and Chinese under a German locale (code page 1252), Thai and Hebrew
# under a Chinese one (936). Each time the texts, both lists, a run of a wildcard rule, a
# {language} rule and a rule that matches nothing (its "Configuration exception" box shows the
# rule as written), and a manual opened in Notepad; under German the language file is forced by
# a testLanguage in Cyrillic, which the debug box shows. Then a medium so deep that every path
# passes MAX_PATH: it is read all the same, and an installer that the shell cannot start there
# is either started or named in a box.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/run_lib.sh"
e2e_begin paths
use_generated_locales de_DE.UTF-8 zh_CN.UTF-8 || exit 1

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
# A path or rule as the probe prints a box's text: every backslash doubled.
escaped() { printf '%s' "${1//\\/\\\\}"; }
launch_box() {  # rule, sentence, what follows it
    printf 'Configuration exception|Configuration item:\\n%s\\n\\n%s\\r%s' "$(escaped "$1")" "$2" "$(escaped "$3")"
}
list_texts() { probe list "$1" | awk -F'\t' '{ printf "%s%s", (NR > 1 ? "|" : ""), $5 }'; }
logged_at() { [ -f "$1/install.log" ] && awk '{ print $1, $2 }' "$1/install.log" | tr -d '\r' | tr '\n' ' '; }
# The titles of Notepad's windows, which name the file it opened.
notepad_titles() {
    xdotool search --classname '^notepad\.exe$' 2>/dev/null | while read -r id; do xdotool getwindowname "$id"; done
}
notepad_shows() { notepad_titles | grep -qF "$1"; }

# The installers and the manual of a medium: the wildcard rule's folder "WILD 1", the
# {language} rule's folder BY_LANGUAGE with LANGUAGE in it, the manual in MANUALS/<language>.
write_files() {  # medium, wild, language, by_language, manuals, manual name
    mkdir -p "$1/Setup/$2 1" "$1/$4/$3" "$1/$5/${3%%[-_]*}"
    cp "$INSTALLER_EXE" "$1/Setup/$2 1/a_exit0_0s.exe"
    cp "$INSTALLER_EXE" "$1/$4/$3/b_exit0_0s.exe"
    printf 'Manual\r\n' >"$1/$5/${3%%[-_]*}/$6.txt"
}
# The window Setup shows of such a medium: the texts, both lists, the manual opened in Notepad,
# and a run in which a third rule, naming the folder MISSING, matches nothing.
check_window() {  # locale, text prefix, medium, wild, language, by_language, missing, manual name
    local locale="$1" prefix="$2" medium="$3" wild="$4" language="$5" by_language="$6" missing="$7" manual="$8"
    local box
    read_dump
    check_texts "$locale: the texts of the language file" "$prefix"

    open_page IDC_BTN_MANUALS IDC_ST_MANUALS_PAGE_TITLE
    check_eq "$locale: the manuals list" "${prefix}Item 3" "$(list_texts IDC_LIST_MANUALS)"
    double_click $(probe rowrect IDC_LIST_MANUALS 0 | awk -F'\t' '{ print $1 + int($3 / 2), $2 + int($4 / 2) }')
    if wait_until notepad_shows "$manual" 15; then pass "$locale: Notepad opens the manual $manual"
    else fail "$locale: Notepad opens the manual $manual" "Notepad's windows: $(notepad_titles | tr '\n' '|')"; fi
    probe --exe notepad.exe end >/dev/null 2>&1 || true
    open_page IDC_BTN_BACK IDC_BTN_DEFAULT_INSTALL

    start_run_from IDC_BTN_DEFAULT_INSTALL
    check_eq "$locale: the install list" "${prefix}Item 0|${prefix}Item 1|${prefix}Item 2" "$(list_texts IDC_LIST_INSTALLS)"
    box="$(probe msgbox 15000)"
    check_eq "$locale: the box of the rule that matches nothing shows it as written" \
        "$(launch_box "Setup\\$missing\\$wild.exe" "No file matching the following rule was found." \
            "Setup\\$missing\\$wild.exe")" "$(box_caption "$box")|$(box_text "$box")"
    probe answer IDOK 3000 >/dev/null
    wait_finish_page 30 || fail "$locale: the finish page follows the run"
    check_eq "$locale: the wildcard and the {language} rule ran, the missing one failed" \
        "${prefix}S36|${prefix}S36|${prefix}S37|" \
        "$(statuses | tr '\n' '|')"
    check_eq "$locale: each installer ran once, in its folder" \
        "a_exit0_0s start a_exit0_0s end |b_exit0_0s start b_exit0_0s end " \
        "$(logged_at "$medium/Setup/$wild 1")|$(logged_at "$medium/$by_language/$language")"
}

# German (code page 1252): Cyrillic and Chinese. The language file is forced by a testLanguage
# in Cyrillic, shown by the debug box before the window.
start_wine_with_stub de_DE.UTF-8
medium="$WORK/Андрей 中文/Suite"
write_medium "$medium" --language "Немецкий" "DE " --root 'debug="yes" testLanguage="Немецкий"' \
    --install 'strId="ITEM0" open="Setup/Драйвер*/a_exit*.exe" default="1"' \
    --install 'strId="ITEM1" open="中文/{language}/b_exit0_0s.exe" default="1"' \
    --install 'strId="ITEM2" open="Setup/Отсутствует/Драйвер.exe" default="1"' \
    --manual 'strId="ITEM3" open="Руководство/{language}/*.txt"'
write_files "$medium" Драйвер de 中文 Руководство Справка
start_setup "$medium"
box="$(probe msgbox 15000)"
check_eq "de_DE: the debug box shows the forced language as written" \
    'Setup debug|wLanguage = 0x0407\r\nszLanguage = de\r\nszCountry = DE\r\nszIniTest = Немецкий' \
    "$(box_caption "$box")|$(box_text "$box")"
probe answer IDOK >/dev/null
if wait_window; then check_window de_DE "DE " "$medium" Драйвер de 中文 Отсутствует Справка
else fail "de_DE: the main window opens after the debug box"; fi

# Chinese (code page 936): Thai and Hebrew; the {language} rule names a Hebrew folder.
start_wine_with_stub zh_CN.UTF-8
medium="$WORK/ทดสอบ עברית/Suite"
write_medium "$medium" --language zh-cn "简体中文 " \
    --install 'strId="ITEM0" open="Setup/ทดสอบ*/a_exit*.exe" default="1"' \
    --install 'strId="ITEM1" open="עברית/{language}/b_exit0_0s.exe" default="1"' \
    --install 'strId="ITEM2" open="Setup/חסר/ทดสอบ.exe" default="1"' \
    --manual 'strId="ITEM3" open="คู่มือ/{language}/*.txt"'
write_files "$medium" ทดสอบ zh_CN עברית คู่มือ מדריך
start_setup_window "$medium"
check_window zh_CN "简体中文 " "$medium" ทดสอบ zh_CN עברית חסר מדריך

# Every path of this medium is longer than MAX_PATH (260 characters), its own folder's too.
start_wine_with_stub de_DE.UTF-8
medium="$WORK/Андрей $(printf 'a%.0s' {1..80})/$(printf 'b%.0s' {1..80})/$(printf 'c%.0s' {1..80})/Suite"
write_medium "$medium" --language de-de "DE " --installer a_exit0_0s
installer="$(windows_path "$medium/Setup/a_exit0_0s.exe")"
[ ${#medium} -gt 260 ] || fail "the deep medium's folder is longer than 260 characters" "${#medium}"
if [ "$E2E_ARCH" = i686 ]; then
    # Wine's 64-bit loader hands a 32-bit program to its shell, which starts nothing from beyond
    # MAX_PATH; the 32-bit loader starts it itself.
    WINEDEBUG=fixme-all LC_ALL="$E2E_LOCALE" /usr/lib/wine/wine "$medium/Setup.exe" >>"$WORK/setup.log" 2>&1 </dev/null &
    SETUP_PID=$!
    wait_window || { fail "beyond MAX_PATH: the main window opens"; exit 1; }
else
    start_setup_window "$medium"
fi
read_dump
check_texts "beyond MAX_PATH: the texts" "DE "
start_run_from IDC_BTN_DEFAULT_INSTALL
if box="$(probe msgbox 8000)"; then
    # Wine's shell starts nothing from there: the box names the file it could not reach.
    check_eq "beyond MAX_PATH: the installer the shell cannot start is named in a box" \
        "$(launch_box "Setup\\a_exit0_0s.exe" \
            "The following file was found, but its path is too long for Windows to start it." "$installer")" \
        "$(box_caption "$box")|$(box_text "$box")"
    probe answer IDOK 3000 >/dev/null
    wait_finish_page 30
    check_eq "beyond MAX_PATH: that row failed" "DE S37" "$(status_of 0)"
else
    wait_finish_page 30
    check_eq "beyond MAX_PATH: the installer ran" "DE S36|a_exit0_0s start a_exit0_0s end " \
        "$(status_of 0)|$(logged_at "$medium/Setup")"
fi

e2e_finish
