#!/usr/bin/env bash
# The Windows programs of the release bundle, run from the unpacked bundle under Wine:
# setup-check.exe on the bundled sample medium and on a spoiled copy, and Setup.exe on the
# sample medium, whose main window must come up with the sample's skin and close on Esc.
#   bundle_windows_test.sh WORK_DIR [ZIP]
# Without ZIP, tools/make_dist.sh builds the bundle. Runs in the Wine prefix of WINEPREFIX, whose
# server is running, on DISPLAY; the bundled programs are i686, so that prefix must run 32-bit
# programs (./dev test sets this up). Prints one PASS/FAIL line per check.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
WORK="${1:?usage: bundle_windows_test.sh WORK_DIR [ZIP]}"
ZIP="${2:-}"
WINE64=${WINE64:-/usr/lib/wine/wine64}
CONVERT=/usr/bin/convert
WINDOW_W=800
WINDOW_H=570

passed=0
failed=0
SETUP_PID=""
pass() { passed=$((passed + 1)); echo "PASS  $1"; }
fail() { failed=$((failed + 1)); echo "FAIL  $1"; [ $# -gt 1 ] && printf '      %s\n' "${@:2}"; return 0; }
finish() {
    if [ -n "$SETUP_PID" ]; then kill "$SETUP_PID" 2>/dev/null; wait "$SETUP_PID" 2>/dev/null; fi
    echo "== bundle on Windows: $passed passed, $failed failed"
    [ "$failed" = 0 ] && [ "$passed" -gt 0 ]
    exit $?
}

[ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] || { fail "WINEPREFIX and DISPLAY are set"; finish; }

rm -rf "$WORK"
mkdir -p "$WORK/dist" "$WORK/unpacked"
# The build of the Linux checker needs no help for 32-bit programs.
if [ -z "$ZIP" ] && ! ZIP="$(env -u LD_PRELOAD "$ROOT/tools/make_dist.sh" "$WORK/dist")"; then
    fail "tools/make_dist.sh builds the bundle"
    finish
fi
(cd "$WORK/unpacked" && unzip -q "$ZIP") || { fail "the bundle unpacks"; finish; }
cd "$WORK/unpacked"/setup-* || { fail "the bundle holds its folder"; finish; }

# ---------------------------------------------------------------- setup-check.exe

checker="$PWD/setup-check.exe"
run_checker() {  # medium; sets status and output (its lines without their CR)
    "$WINE64" "$checker" --no-color "$1" >"$WORK/checker.txt" 2>&1 </dev/null
    status=$?
    output="$(tr -d '\r' <"$WORK/checker.txt")"
}

run_checker sample-medium
if [ "$status" = 0 ] && grep -q '^0 errors, 0 warnings' <<<"$output"; then
    pass "setup-check.exe passes the bundled sample medium (exit 0)"
else
    fail "setup-check.exe passes the bundled sample medium (exit 0)" "exit $status" "$output"
fi
cd sample-medium; run_checker .; cd ..
if [ "$status" = 0 ]; then pass "setup-check.exe . inside the medium checks it (exit 0)"
else fail "setup-check.exe . inside the medium checks it (exit 0)" "exit $status" "$output"; fi
# A folder named in scripts no ANSI code page holds together: the command line is read wide.
spoiled="$WORK/spoiled Андрей 中文"
cp -R sample-medium "$spoiled"
rm "$spoiled/Language/en-us.ini"
run_checker "$spoiled"
if [ "$status" = 2 ] && grep -q 'lang-missing' <<<"$output"; then
    pass "setup-check.exe reports a missing en-us.ini as an error (exit 2), in a folder named in any script"
else
    fail "setup-check.exe reports a missing en-us.ini as an error (exit 2), in a folder named in any script" \
        "exit $status" "$output"
fi

# ---------------------------------------------------------------- Setup.exe

"$WINE64" sample-medium/Setup.exe >"$WORK/setup.log" 2>&1 </dev/null &
SETUP_PID=$!
window=""
for _ in $(seq 600); do
    while read -r id; do
        eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
        if [ "${WIDTH:-}" = "$WINDOW_W" ] && [ "${HEIGHT:-}" = "$WINDOW_H" ]; then window=$id; break; fi
    done < <(xdotool search --onlyvisible --classname '^setup\.exe$' 2>/dev/null)
    [ -n "$window" ] && break
    kill -0 "$SETUP_PID" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$window" ]; then
    fail "the launcher's main window comes up ($WINDOW_W x $WINDOW_H)" "$(tail -20 "$WORK/setup.log")"
    finish
fi
pass "the launcher's main window comes up ($WINDOW_W x $WINDOW_H)"

# The left panel of the sample skin, where no control stands: the window paints menu.png there
# pixel for pixel.
sleep 1
xwd -root -display "$DISPLAY" -out "$WORK/screen.xwd"
mismatches=()
for point in "10 300" "200 480" "30 560" "245 120"; do
    read -r x y <<<"$point"
    shown="$("$CONVERT" "xwd:$WORK/screen.xwd" -crop "1x1+$((X + x))+$((Y + y))" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}')"
    skin="$("$CONVERT" sample-medium/ImageIcon/menu.png -crop "1x1+$x+$y" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}')"
    [ "$shown" = "$skin" ] || mismatches+=("($x, $y): $shown, menu.png $skin")
done
"$CONVERT" "xwd:$WORK/screen.xwd" "$WORK/screen.png"
if [ ${#mismatches[@]} = 0 ]; then pass "it shows the bundled skin's background"
else fail "it shows the bundled skin's background" "${mismatches[@]}" "screenshot: $WORK/screen.png"; fi

# Esc ends the launcher as closing its window does. (Wine's taskkill finds no 32-bit program by
# name under qemu-i386, which shows it the program's memory a page off.)
xdotool windowfocus "$window" 2>/dev/null
sleep 0.3
xdotool key Escape
for _ in $(seq 200); do kill -0 "$SETUP_PID" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$SETUP_PID" 2>/dev/null; then
    fail "the launcher closes on Esc" "still running after 20 s"
else
    wait "$SETUP_PID"
    status=$?
    SETUP_PID=""
    if [ "$status" = 0 ]; then pass "the launcher closes on Esc (exit 0)"
    else fail "the launcher closes on Esc (exit 0)" "exit $status"; fi
fi

finish
