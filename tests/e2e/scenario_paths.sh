#!/usr/bin/env bash
# A medium in a folder named in letters the locale's code page lacks, its rules naming folders in
# such scripts: Cyrillic and Chinese under a German locale (code page 1252), Thai and Hebrew under
# a Chinese one (936). Each time the texts, both lists, a manual opened in Notepad, and a run of a
# wildcard rule, a {language} rule and a rule that matches nothing, whose "Configuration
# exception" box shows it as written; under German a testLanguage in Cyrillic forces the language
# file and the debug box shows it. Then a medium so deep that every path passes MAX_PATH: it is
# read all the same, and the installer the shell cannot start there is named in a box.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/run_lib.sh"
e2e_begin paths
use_generated_locales de_DE.UTF-8 zh_CN.UTF-8 || exit 1

box_of() { printf '%s|%s' "$(box_caption "$1")" "$(box_text "$1")"; }
# The launch rule's box as box_of prints it: backslashes of the rule and the path doubled.
launch_box() {  # rule, sentence, what follows the sentence
    printf 'Configuration exception|Configuration item:\\n%s\\n\\n%s\\r%s' "${1//\\/\\\\}" "$2" "${3//\\/\\\\}"
}
list_texts() { probe list "$1" | awk -F'\t' '{ printf "%s%s", (NR > 1 ? "|" : ""), $5 }'; }
logged_at() { [ -f "$1/install.log" ] && awk '{ print $1, $2 }' "$1/install.log" | tr -d '\r' | tr '\n' ' '; }
notepad_shows() {  # a text of the title of one of Notepad's windows, which names its file
    xdotool search --classname '^notepad\.exe$' 2>/dev/null | while read -r id; do xdotool getwindowname "$id"; done |
        grep -qF "$1"
}

# The medium in WORK/FOLDER/Suite: the wildcard rule and the manual in folders named in script A,
# the {language} rule in script B with LANGUAGE in it, the missing rule in both; the language
# file CODE gives the texts behind PREFIX. With ROOT (conf.xml's root attributes) a debug box.
check_scripts() {  # locale, code, prefix, folder, a, b, language, root
    local locale="$1" code="$2" prefix="$3" medium="$WORK/$4/Suite" a="$5" b="$6" language="$7" box
    start_wine_with_stub "$locale"
    write_medium "$medium" --language "$code" "$prefix" --root "$8" \
        --install "strId=\"ITEM0\" open=\"Setup/$a*/a_exit*.exe\" default=\"1\"" \
        --install "strId=\"ITEM1\" open=\"$b/{language}/b_exit0_0s.exe\" default=\"1\"" \
        --install "strId=\"ITEM2\" open=\"Setup/$b/$a.exe\" default=\"1\"" --manual "strId=\"ITEM3\" open=\"$a/{language}/*.txt\""
    mkdir -p "$medium/Setup/$a 1" "$medium/$b/$language" "$medium/$a/${language:0:2}"
    cp "$INSTALLER_EXE" "$medium/Setup/$a 1/a_exit0_0s.exe"
    cp "$INSTALLER_EXE" "$medium/$b/$language/b_exit0_0s.exe"
    printf 'Manual\r\n' >"$medium/$a/${language:0:2}/$b.txt"
    start_setup "$medium"
    if [ -n "$8" ]; then
        box="$(probe msgbox 15000)"
        check_eq "$locale: the debug box shows the forced language as written" \
            "Setup debug|wLanguage = 0x0407\\r\\nszLanguage = de\\r\\nszCountry = DE\\r\\nszIniTest = $code" "$(box_of "$box")"
        probe answer IDOK >/dev/null
    fi
    wait_window || { fail "$locale: the main window opens"; return; }
    read_dump
    check_texts "$locale: the texts of the language file" "$prefix"

    open_page IDC_BTN_MANUALS IDC_ST_MANUALS_PAGE_TITLE
    check_eq "$locale: the manuals list" "${prefix}Item 3" "$(list_texts IDC_LIST_MANUALS)"
    double_click $(probe rowrect IDC_LIST_MANUALS 0 | awk -F'\t' '{ print $1 + int($3 / 2), $2 + int($4 / 2) }')
    if wait_until notepad_shows "$b" 15; then pass "$locale: Notepad opens the manual $b.txt"
    else fail "$locale: Notepad opens the manual $b.txt"; fi
    probe --exe notepad.exe end >/dev/null 2>&1 || true

    open_page IDC_BTN_BACK IDC_BTN_DEFAULT_INSTALL
    start_run_from IDC_BTN_DEFAULT_INSTALL
    check_eq "$locale: the install list" "${prefix}Item 0|${prefix}Item 1|${prefix}Item 2" "$(list_texts IDC_LIST_INSTALLS)"
    box="$(probe msgbox 15000)"
    check_eq "$locale: the box of the rule that matches nothing shows it as written" \
        "$(launch_box "Setup\\$b\\$a.exe" "No file matching the following rule was found." "Setup\\$b\\$a.exe")" \
        "$(box_of "$box")"
    probe answer IDOK 3000 >/dev/null
    wait_finish_page 30 || fail "$locale: the finish page follows the run"
    check_eq "$locale: the wildcard and the {language} rule ran once each, the missing one failed" \
        "${prefix}S36|${prefix}S36|${prefix}S37||a_exit0_0s start a_exit0_0s end |b_exit0_0s start b_exit0_0s end " \
        "$(statuses | tr '\n' '|')|$(logged_at "$medium/Setup/$a 1")|$(logged_at "$medium/$b/$language")"
}

check_scripts de_DE.UTF-8 Немецкий "DE " "Андрей 中文" Драйвер 中文 de 'debug="yes" testLanguage="Немецкий"'
check_scripts zh_CN.UTF-8 zh-cn "简体中文 " "ทดสอบ עברית" ทดสอบ עברית zh_CN ""

# Every path of this medium is longer than MAX_PATH (260 characters), its own folder's too.
start_wine_with_stub de_DE.UTF-8
medium="$WORK/Андрей $(printf 'a%.0s' {1..80})/$(printf 'b%.0s' {1..80})/$(printf 'c%.0s' {1..80})/Suite"
write_medium "$medium" --language de-de "DE " --installer a_exit0_0s
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
if box="$(probe msgbox 8000)"; then  # Wine's shell starts nothing from there
    installer="Z:${medium//\//\\}\\Setup\\a_exit0_0s.exe"
    check_eq "beyond MAX_PATH: the box names the installer the shell cannot start" "$(launch_box "Setup\\a_exit0_0s.exe" \
        "The following file was found, but its path is too long for Windows to start it." "$installer")" "$(box_of "$box")"
    probe answer IDOK 3000 >/dev/null
    wait_finish_page 30
    check_eq "beyond MAX_PATH: that row failed" "DE S37" "$(status_of 0)"
else
    wait_finish_page 30
    check_eq "beyond MAX_PATH: the installer ran" "DE S36|a_exit0_0s start a_exit0_0s end " \
        "$(status_of 0)|$(logged_at "$medium/Setup")"
fi
e2e_finish
