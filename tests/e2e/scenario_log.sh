#!/usr/bin/env bash
# The log for support, end to end. Under a German locale, a run from the custom page with results
# 0, 1 and 3010, a "{language}" rule found through "de*" and one that matches nothing: the file in
# the temporary folder (name, byte-order mark, CR LF, times that never go back) and its lines for
# start-up, items, ticks, buttons, pages, candidates, installers and verdicts, the end. Then the
# exit question during a run, answered no, and the launcher killed: the log is complete to that
# answer. The exit question's yes just as an installer ends, in a loop: the launcher ends only the
# installer that runs, and the log says which. Last, a temporary folder that cannot be written:
# the run and its results are as before and nothing is written.
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/run_lib.sh"
chattr -i "$E2E_ROOT/log/read-only" 2>/dev/null  # left immutable by a run that broke off
e2e_begin log

logs() { ls "$WINEPREFIX"/drive_c/users/*/Temp/Setup_*.log 2>/dev/null; }
# The events of the log: the byte-order mark, the CR LF and the time column taken off; process ids
# read P unless asked for as they are.
raw_events() { tail -c +4 "$(logs | tail -1)" | tr -d '\r' | cut -c9-; }
events() { raw_events | sed -E 's/process [0-9]+/process P/'; }
# Whether the lines given appear in the events in this order (others may stand between them).
check_events() {  # description, lines...
    local description="$1" missing; shift
    missing="$(events | awk 'BEGIN { n = ARGC - 1; for (i = 1; i <= n; i++) want[i] = ARGV[i]; ARGC = 1; at = 1 }
        at <= n && $0 == want[at] { at++ } END { if (at <= n) print want[at] }' "$@")"
    if [ -z "$missing" ]; then pass "$description"; else fail "$description" "missing (in order): $missing"; fi
}
win() { local path="Z:$1"; echo "${path//\//\\}"; }  # a Linux path as Wine's Windows programs see it

medium="$WORK/medium"
write_medium "$medium" --language de-de "Grüße " --installer a_exit0_0s --installer b_exit1_0s \
    --installer c_exit3010_0s --install 'strId="ITEM3" open="Setup/{language}/d_exit0_0s.exe" default="1"' \
    --install 'strId="ITEM4" open="Setup/{language}/nowhere.exe" default="1"'
mkdir -p "$medium/Setup/de-at" && cp "$INSTALLER_EXE" "$medium/Setup/de-at/d_exit0_0s.exe"
m="$(win "$medium")"
start_wine_with_stub de_DE.UTF-8
start_setup_window "$medium"
open_page IDC_BTN_CUSTOM_INSTALL IDC_BTN_INSTALL
probe check IDC_LIST_INSTALLS 1 0 >/dev/null && probe check IDC_LIST_INSTALLS 1 1 >/dev/null
probe click IDC_BTN_INSTALL >/dev/null
probe msgbox 20000 >/dev/null && probe answer IDOK 3000 >/dev/null
wait_finish_page 30 || fail "the run reaches the finish page"
if under_wow64; then probe click IDC_BTN_FINISH >/dev/null; else probe press IDC_BTN_FINISH >/dev/null; probe close >/dev/null; fi
wait_setup_exit 20 || fail "the launcher ends"

file="$(logs)"
check_cmd "one log in the temporary folder, named Setup_<date>_<time>_<pid>.log" \
    grep -qE '/Temp/Setup_20[0-9]{6}_[0-9]{6}_[0-9]+\.log$' <<<"$file"
check_eq "UTF-8 with a byte-order mark" "efbbbf" "$(head -c 3 "$file" | od -An -tx1 | tr -d ' ')"
check_eq "every line ends in CR LF" "$(grep -c '' "$file")" "$(grep -c $'\r$' "$file")"
check_cmd "each line starts with the milliseconds since start, which never go back" \
    awk 'NR == 1 { sub(/^\xEF\xBB\xBF/, "") } !/^ *[0-9]+ / || $1 < last { exit 1 } { last = $1 }' "$file"
arch=x86_64; timed_build || arch=i686
wow64=no; under_wow64 && wow64=yes
check_cmd "the launcher: version and build, Windows, WOW64, the display scale" grep -qE \
    "^Setup 1\.0, $arch build, started 20[0-9-]+ [0-9:]+ local time, process P\|Windows [0-9]+\.[0-9]+ build [0-9]+, under WOW64: $wow64, elevated: (yes|no)\|display scale: [0-9]+ % \([0-9]+ dpi\)\|$" \
    <<<"$(events | head -3 | tr '\n' '|')"
check_events "start-up: the medium, the language, conf.xml, the language file, the items as written (UTF-8)" \
    "medium: \"$m\\\"" 'user interface language: 0x0407, user locale: de_DE' "conf.xml: \"$m\\conf.xml\" read" \
    'conf.xml: debug no, testLanguage not set' \
    "language file: \"de-de\" (the table's code for 0x0407): \"$m\\Language\\de-de.ini\" read" \
    'installer 0: key "ITEM0", text "Grüße Item 0", rule "Setup\a_exit0_0s.exe", icon 0, default yes' \
    'installer 3: key "ITEM3", text "Grüße Item 3", rule "Setup\{language}\d_exit0_0s.exe", icon 0, default yes' \
    "UICfg.xml: \"$m\\Language\\UICfg.xml\" read" 'window scale: 100 % (96 dpi)' 'page: MenuPage'
check_events "the user's steps: button, page, ticks on the custom page" 'button 1001 "Grüße S5"' \
    'page: CustomInstallPage' 'installer 1 unticked' 'installer 1 ticked' 'button 1016 "Grüße S17"' 'page: ProgressPage'
check_events "each installer: candidates, path, folder, process, exit code in decimal and hexadecimal, verdict" \
    "candidate \"Setup\\a_exit0_0s.exe\" (the rule itself): \"$m\\Setup\\a_exit0_0s.exe\"" \
    "installer 0 started: \"$m\\Setup\\a_exit0_0s.exe\" in \"$m\\Setup\", process P" \
    'installer 0 ended: exit code 0 (0x00000000), success' 'installer 1 ended: exit code 1 (0x00000001), failure' \
    'installer 2 ended: exit code 3010 (0x00000BC2), success, restart needed' \
    'candidate "Setup\de_DE\d_exit0_0s.exe" (language and country): no match' \
    "candidate \"Setup\\de*\\d_exit0_0s.exe\" (language): \"$m\\Setup\\de-at\\d_exit0_0s.exe\"" \
    "installer 3 started: \"$m\\Setup\\de-at\\d_exit0_0s.exe\" in \"$m\\Setup\\de-at\", process P" \
    'installer 3 ended: exit code 0 (0x00000000), success' \
    'candidate "Setup\de_DE\nowhere.exe" (language and country): no match' \
    'candidate "Setup\de*\nowhere.exe" (language): no match' \
    'candidate "Setup\en*\nowhere.exe" (default language): no match' \
    'rule "Setup\{language}\nowhere.exe" matched nothing: "Configuration exception" shown' \
    'installer 4 not run: its rule matched nothing, failure' 'page: FinishPage'
if under_wow64; then
    check_events "the end: no restart, the finish button, the launcher's end" \
        'restart: none (a 32-bit launcher on 64-bit Windows)' 'button 1050 "Grüße S23"' 'leaving: finish button'
else
    check_events "the end: the countdown, the restart asked for and accepted, WM_CLOSE" \
        'restart: countdown started, the restart follows at 0' 'button 1050 "Grüße S23"' \
        'restart requested: accepted' 'leaving: window closed'
fi
check_eq "the launcher's own end is the last line" "end, exit code 0" "$(events | tail -1)"

# The exit question during a run, answered no; then the launcher is killed.
rm -f "$WINEPREFIX"/drive_c/users/*/Temp/Setup_*.log
long="$WORK/long"
write_medium "$long" --installer a_exit0_0s --installer long_exit0_60s
start_setup_window "$long"
start_run_from IDC_BTN_DEFAULT_INSTALL
wait_until logged "$long" long_exit0_60s start 15
probe click IDC_BTN_CANCEL >/dev/null && probe msgbox 5000 >/dev/null && answer_no_and_settle
probe end >/dev/null
wait_setup_exit 10
l="$(win "$long")"
check_events "the exit question during a run, answered no" \
    "installer 1 started: \"$l\\Setup\\long_exit0_60s.exe\" in \"$l\\Setup\", process P" 'exit question answered no'
check_eq "a killed launcher leaves its log complete to the last event, ending in CR LF" \
    "exit question answered no|0d0a" "$(events | tail -1)|$(tail -c 2 "$(logs)" | od -An -tx1 | tr -d ' ')"
stop_wine

# The exit question's yes just as an installer ends, answered a little later each round: before,
# while and after the worker takes the installer's handle back and starts the next one.
race="$WORK/race"
names=(r0_exit0_1s r1_exit0_1s)
write_medium "$race" --installer "${names[0]}" --installer "${names[1]}"
start_wine_with_stub de_DE.UTF-8
for delay in 0 0.05 0.1 0.2; do
    rm -f "$race/Setup/install.log" "$WINEPREFIX"/drive_c/users/*/Temp/Setup_*.log
    start_setup_window "$race"
    start_run_from IDC_BTN_DEFAULT_INSTALL
    wait_until logged "$race" r0_exit0_1s start 15
    probe click IDC_BTN_CANCEL >/dev/null && probe msgbox 5000 >/dev/null
    wait_until logged "$race" r0_exit0_1s end 10 && sleep "$delay"
    probe answer IDYES 3000 >/dev/null
    wait_setup_exit 10 && check_eq "yes $delay s after an installer ended: the launcher ends with 0" 0 "$SETUP_EXIT"
    # An installer that was not ended has the time to finish; only the one the log names may not.
    sleep 1.5
    unfinished="$(run_log "$race" | awk '$2 == "start" { open[$1] = 1 } $2 == "end" { delete open[$1] }
                                         END { for (n in open) print n }')"
    ended="$(raw_events | sed -n 's/^the running installer, process \([0-9]*\), ended by the exit question$/\1/p')"
    last="$(raw_events | sed -n 's/^installer \([0-9]\) started: .*, process \([0-9]*\)$/\1 \2/p' | tail -1)"
    expected="|"
    [ -n "$ended" ] && expected="${last#* }|${names[${last%% *}]}"
    check_eq "yes $delay s: only the installer that ran (the last started) was ended, and the log names it" \
        "$expected" "$ended|$unfinished"
    check_eq "yes $delay s: the log's last lines" \
        "exit question answered yes|leaving: leave button (the exit question answered yes)|end, exit code 0" \
        "$(events | grep -v '^the running installer' | tail -3 | tr '\n' '|' | sed 's/|$//')"
done
stop_wine

# A temporary folder that cannot be written (read-only; missing where the file system has no
# immutable folders): the run and its results are as before, no message, nothing written.
ro="$WORK/read-only"
mkdir -p "$ro"
what="read-only"
chattr +i "$ro" 2>/dev/null || { what="missing"; rmdir "$ro"; }
start_wine_with_stub de_DE.UTF-8
rm -f "$WINEPREFIX"/drive_c/users/*/Temp/Setup_*.log
for variable in TMP TEMP; do wine reg add 'HKCU\Environment' /v "$variable" /d "$(win "$ro")" /f >/dev/null; done
small="$WORK/small"
write_medium "$small" --language de-de "" --installer a_exit0_0s --installer b_exit1_0s --installer c_exit3010_0s
start_setup_window "$small"
start_run_from IDC_BTN_DEFAULT_INSTALL
wait_finish_page 30 || fail "a $what temporary folder: the run reaches the finish page"
check_eq "a $what temporary folder: the results as before, no message, nothing written" "S36|S37|S36||" \
    "$(statuses | tr '\n' '|')$(probe boxes)|$(ls -A "$ro" 2>/dev/null)$(logs)"
chattr -i "$ro" 2>/dev/null
e2e_finish
