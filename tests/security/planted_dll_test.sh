#!/usr/bin/env bash
# Proves that Setup.exe loads no DLL from its own folder.
#
# A planted DLL that leaves a marker file when loaded is copied beside Setup.exe under the name
# of every DLL Setup binds or delay-loads and of the DLLs that system code commonly looks for.
# Wine prefers its builtin DLLs, so WINEDLLOVERRIDES puts native DLLs first for those names;
# Wine then searches like Windows. Two control programs show that this setting does pick the
# plants up (so the test can fail), then Setup runs to its main window, which is closed.
# An i686 Setup.exe runs under WoW64 and takes 32-bit plants and controls.
#
# Usage: planted_dll_test.sh WINE OBJDUMP WORKDIR SETUP_EXE PLANT_DLL NAIVE_LOADER STATIC_CONTROL PROCESS_WATCH
set -uo pipefail
wine="$1" objdump="$2" work="$3" setup="$4" plant="$5" naive="$6" control="$7" watch="$8"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/known_dlls.sh"
source "$here/../../tools/dev/wait.sh"

: "${WINEPREFIX:?WINEPREFIX must name a prefix whose wineserver is running}"
export WINEDEBUG=-all

failures=0
fail() { echo "FAIL $*"; failures=$((failures + 1)); }
pass() { echo "ok   $*"; }
windows_path() { printf 'Z:%s' "$1" | tr '/' '\\'; }
wow64=""
"$objdump" -f "$setup" | grep -q 'file format pei-i386$' && wow64=1

# DLLs that system code loads by bare name on behalf of a program like this one.
USUAL_PLANTS="version uxtheme dwmapi winmm cryptbase userenv propsys windowscodecs msimg32 profapi
sspicli wtsapi32 dbghelp textinputframework"

# Names taken by Setup: its load-time imports and every "<name>.dll" text in the image,
# which is how the delay-import descriptors name their DLLs.
setup_dlls="$( { load_time_imports "$objdump" "$setup"
                 strings -a "$setup" | sed -n 's/^\([A-Za-z0-9_-]*\)\.[dD][lL][lL]$/\1/p' | tr 'A-Z' 'a-z'
               } | sort -u)"
plants="$(printf '%s\n' $setup_dlls $USUAL_PLANTS | sort -u)"
# KnownDLLs never come from the program's folder on Windows; Wine does not protect them, and
# a planted kernel32 would only prove that. Setup must bind nothing else at load time
# (check_image.sh), and everything it names that is not a KnownDLL is planted.
#
# Wine's own builtin DLLs bind more than Windows' do (its user32 imports version.dll), and
# Wine resolves those imports at process start, before any code of Setup runs, searching
# the program's folder first. Those names stay builtin: on Windows the KnownDLLs that Setup
# binds import only other KnownDLLs.
wine_bound="$(wine_load_time_closure "$objdump" $(load_time_imports "$objdump" "$setup"))"
overridden="" left_builtin=""
for dll in $plants; do
    is_known_dll "$dll" && continue
    if grep -qx "$dll" <<<"$wine_bound"; then left_builtin="$left_builtin $dll"; else overridden="$overridden $dll"; fi
done
overridden="$(echo $overridden)"
echo "Setup names: $(echo $setup_dlls)"
echo "planted:     $overridden"
[ -z "$left_builtin" ] || echo "left builtin (bound by Wine's own DLLs at start):$left_builtin"
export WINEDLLOVERRIDES="$(tr ' ' ',' <<<"$overridden")=n,b"

plant_into() {  # folder
    mkdir -p "$1"
    for dll in $overridden; do cp "$plant" "$1/$dll.dll"; done
}
markers_in() { (cd "$1" && ls -1 -- *.loaded 2>/dev/null | sed 's/\.loaded$//' | sort); }

rm -rf "$work"
setup_dir="$work/setup" control_dir="$work/control"
plant_into "$control_dir"
cp "$naive" "$control_dir/naive_loader.exe"
cp "$control" "$control_dir/static_import_control.exe"

# 1. The plants are found under these conditions: a bare-name load takes each of them ...
"$wine" "$control_dir/naive_loader.exe" $(printf '%s.dll ' $overridden) >/dev/null
missing=""
for dll in $overridden; do [ -e "$control_dir/$dll.dll.loaded" ] || missing="$missing $dll"; done
if [ -z "$missing" ]; then pass "a bare-name load takes every plant ($(markers_in "$control_dir" | wc -l) markers)"
else fail "a bare-name load did not take:$missing (the test could not see these plants)"; fi

# ... and so does a load-time import.
rm -f "$control_dir"/*.loaded
"$wine" "$control_dir/static_import_control.exe"; rc=$?
if [ "$rc" = 0 ] && [ -e "$control_dir/gdiplus.dll.loaded" ]; then pass "a load-time import of gdiplus takes the plant"
else fail "a load-time import of gdiplus did not take the plant (exit $rc)"; fi

# 2. Setup beside the same plants, on an empty medium, up to its main window.
plant_into "$setup_dir"
cp "$setup" "$setup_dir/Setup.exe"
image="$(windows_path "$setup_dir/Setup.exe")"
"$wine" "$setup_dir/Setup.exe" >/dev/null 2>&1 &
pid=$!
# A 64-bit watcher lists no module of a 32-bit process (and under qemu-i386 Wine's record of them
# is a page off from where the watcher reads): for a WoW64 Setup the files that its Linux
# process has mapped stand in for the modules.
watch_report() {
    local report; report="$(WINEDLLOVERRIDES= "$wine" "$watch" "$image" 2>/dev/null | tr -d '\r')"
    if [ -z "$wow64" ]; then echo "$report"; return; fi
    grep '^window ' <<<"$report"
    local maps
    for maps in $(grep -lsF "$setup_dir/Setup.exe" /proc/[0-9]*/maps); do
        awk '$6 ~ /\.(dll|drv|exe)$/ { print "module " $6 }' "$maps"
    done | sort -u
}
setup_running() { kill -0 "$pid" 2>/dev/null; }
# The watcher's report once it shows the main window, or Setup has ended.
window_reported() { report="$(watch_report)"; grep -q '^window ' <<<"$report" || ! setup_running; }
# Wine's module snapshot of a busy process sometimes comes back empty: look again until it lists
# the common controls, keeping the last report that has the window.
modules_reported() {
    local again; again="$(watch_report)"
    grep -q '^window ' <<<"$again" && report="$again"
    grep -qiE '^module .*[\\/]comctl32\.dll$' <<<"$report"
}
# Asks the window to close until Setup has ended.
ended_on_close() {
    setup_running || return 0
    WINEDLLOVERRIDES= "$wine" "$watch" "$image" --close >/dev/null 2>&1
    ! setup_running
}
report=""
WAIT_INTERVAL=0.2 wait_until window_reported 30
if grep -q '^window ' <<<"$report"; then
    grep -qiE '^module .*[\\/]comctl32\.dll$' <<<"$report" || WAIT_INTERVAL=0.3 wait_until modules_reported 6
    echo "     main window up: $(grep '^window ' <<<"$report" | head -1)"
    WAIT_INTERVAL=0.2 wait_until ended_on_close 15
fi
if kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null
    fail "Setup did not end"
fi
wait "$pid"; rc=$?
[ "$rc" = 0 ] && pass "Setup ran and ended with exit code 0" || fail "Setup ended with exit code $rc"

loaded="$(markers_in "$setup_dir")"
if [ -z "$loaded" ]; then pass "Setup loaded none of the $(wc -w <<<"$overridden") plants"
else fail "Setup loaded the plants: $(echo $loaded)"; fi

# While the window was up: no module came from Setup's folder, and the delay-loaded DLLs
# that the window needs did load, from the system.
if [ -n "$report" ] && grep -q '^window ' <<<"$report"; then
    if [ -n "$wow64" ]; then folder="$setup_dir/"; else folder="$(windows_path "$setup_dir")\\"; fi
    own="$(grep '^module ' <<<"$report" | cut -c8- | grep -iF "$folder" | grep -viF "${folder}Setup.exe")"
    [ -z "$own" ] && pass "no module from Setup's folder" || fail "modules from Setup's folder: $own"
    for dll in gdiplus comctl32; do
        path="$(grep '^module ' <<<"$report" | cut -c8- | grep -iE "[\\\\/]$dll\.dll\$" | head -1)"
        [ -n "$path" ] && pass "$dll.dll loaded from $path" || fail "$dll.dll was not loaded while the window was up"
    done
else
    # Without its window Setup never loads what the window needs, which proves nothing.
    fail "Setup showed no main window (is DISPLAY set?)"
fi

[ "$failures" = 0 ] && rm -rf "$work"
exit $(( failures > 0 ))
