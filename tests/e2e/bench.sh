#!/usr/bin/env bash
# The launcher's figures, measured side by side in one run under one Wine:
# 1. Start-up: from starting Setup.exe on the sample medium until its window is shown and
#    painted, beside the same for a bare Win32 window program, in interleaved rounds; medians
#    and their ratio (goal: at most 2.0; stretch goal 1.3). Where the time goes comes from
#    Setup_trace.exe, the same sources built to record the time of each start-up phase, started
#    in the same rounds. In the same rounds too, both as i686 programs under WoW64: the shipped
#    Setup.exe and a peer, an NSIS installer made by makensis from
#    tests/e2e/installers/nsis_peer.nsi, timed to its painted welcome page; the ratio of Setup's
#    start-up to the peer's. In the same rounds too, Setup.exe at 144 dpi (150 %; goal: at most
#    1.15 times its start-up at 96 dpi), and, with BENCH_BASELINE=<commit>, Setup.exe built from
#    that commit (into build/bench-baseline/<commit>, once): today's ratio to the bare window over
#    that one's (goal: at most 1.05).
# 2. The first paint after a hover (the pointer moved onto a menu button until its hover image is
#    on the screen) and after a page switch (a click on a menu or back button until the page is
#    painted), medians over several rounds (goal: at most 16 ms each), with the phases of each
#    from Setup_trace.exe.
# 3. Image sizes of both Setup.exe builds, what they bind at load time and, from the link map,
#    which inputs the shipped bytes come from (goal: the i686 one at most 300 KB, stretch goal
#    256 KB, binding system DLLs only).
# 4. Responsiveness of the user-interface thread during an installation run: while an installer
#    runs and the heading animates, ping.exe sends WM_NULL to the main window with
#    SendMessageTimeout every 10 ms; percentiles of the round trips (goal: p99 at most 50 ms).
#    Then, in the same run, taps on the cancel button, each timed until the exit question
#    appears (goal: at most 400 ms each) and answered "no".
# Run by ./dev bench; standalone, where 32-bit Wine works (tools/dev/emulation.sh):
#   tests/e2e/bench.sh [BUILD_DIR]   (default build/win64; the i686 build is build/win32 beside it)
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/build/win64}"
export SETUP_EXE="${SETUP_EXE:-$BUILD/Setup.exe}"
export PROBE_EXE="${PROBE_EXE:-$BUILD/tests/e2e/probe.exe}"
export E2E_ROOT="${E2E_ROOT:-$BUILD/e2e-bench}"
source "$ROOT/tests/e2e/lib.sh"
source "$ROOT/tests/e2e/run_lib.sh"

START_RATIO_GOAL=2.0
SCALED_START_GOAL=1.15
BASELINE_GOAL=1.05
START_RATIO_STRETCH=1.3
START_ROUNDS=${BENCH_START_ROUNDS:-7}
PAINT_GOAL_MS=16
PAINT_ROUNDS=${BENCH_PAINT_ROUNDS:-7}
SIZE_GOAL_BYTES=$((300 * 1024))
SIZE_STRETCH_BYTES=$((256 * 1024))
GOAL_MS=50
SECONDS_MEASURED=${BENCH_SECONDS:-10}
TAP_GOAL_MS=400
TAPS=${BENCH_TAPS:-10}
TRACE_EXE="$(dirname "$SETUP_EXE")/Setup_trace.exe"
SHIPPED_EXE="$(dirname "$BUILD")/win32/Setup.exe"
# The i686 programs need a prefix made while 32-bit Wine worked (./dev bench sees to that now);
# an older one has an empty syswow64.
[ -f "$E2E_ROOT/base-prefix/drive_c/windows/syswow64/kernel32.dll" ] || rm -rf "$E2E_ROOT/base-prefix"
# Room for the window at 150 %.
SCREEN_W=1920
SCREEN_H=1200
e2e_begin bench

# The nearest-rank percentiles P... (100: the largest) of the numbers on standard input, on one
# line; "-" for each when there are none.
percentiles() {
    sort -n | awk -v wanted="$*" '{ v[NR] = $1 }
        END { n = split(wanted, p, " ")
              for (i = 1; i <= n; ++i) printf "%s%s", (NR ? v[int(p[i] / 100 * NR + 0.999)] : "-"), (i < n ? " " : "\n") }'
}

within() { awk -v v="$1" -v g="$2" 'BEGIN { exit !(v != "-" && v != "" && v <= g) }'; }

# Checks a figure against its goal, and reports the stretch goal as met or not.
check_goal() {  # what, value, goal, [stretch goal], [unit]
    local unit="${5:-}"
    if within "$2" "$3"; then pass "$1 $2$unit is within the goal of $3$unit"
    else fail "$1 within the goal of $3$unit" "measured: $2$unit"; fi
    if [ -n "${4:-}" ]; then
        if within "$2" "$4"; then echo "      (and within the stretch goal of $4$unit)"
        else echo "      (the stretch goal of $4$unit is not met)"; fi
    fi
}

# The phases of Setup_trace.exe's runs (lines "run <pid>" then "<ms since process creation>
# <TAB><phase>"), the first run (the warm-up) left out: per phase, the median of its first time in
# each run, in the order of those medians, with the step from the one before. Clicks (closing
# the window) come after the start-up.
startup_phases() {  # phases file
    awk -F'\t' '/^run / { ++run; next } run > 1 && $2 !~ /^(click|hover|pressed)/ && !(($2, run) in seen) { seen[$2, run] = 1; print $2 "\t" $1 }' "$1" \
        | sort -t$'\t' -k1,1 -k2,2n \
        | awk -F'\t' '{ v[$1, ++n[$1]] = $2 }
              END { for (p in n) { m = int((n[p] + 1) / 2); print v[p, m] "\t" p "\t" n[p] } }' \
        | sort -n \
        | awk -F'\t' '{ printf "    %8.1f ms  %+7.1f   %s%s\n", $1, $1 - last, $2, ($3 < runs ? " (not in every run)" : ""); last = $1 }' \
              runs="$(( $(grep -c '^run ' "$1") - 1 ))"
}

# Setup.exe as it was at commit BENCH_BASELINE, built once (x86_64, as the build measured).
baseline_exe() {
    local commit dir
    commit="$(git -C "$ROOT" rev-parse --short "$BENCH_BASELINE")" || return 1
    dir="$(dirname "$BUILD")/bench-baseline/$commit"
    if [ ! -f "$dir/win64/Setup.exe" ]; then
        rm -rf "$dir" && mkdir -p "$dir/source" && git -C "$ROOT" archive "$commit" | tar -x -C "$dir/source" &&
            cmake -S "$dir/source" -B "$dir/win64" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSETUP_BUILD_TESTS=OFF \
                -DCMAKE_TOOLCHAIN_FILE="$dir/source/cmake/mingw-x86_64.cmake" \
                -DTINYXML2_SOURCE_DIR="$(dirname "$BUILD")/third_party/tinyxml2" >"$dir/build.log" 2>&1 &&
            cmake --build "$dir/win64" --target Setup >>"$dir/build.log" 2>&1 || { echo "cannot build $commit: $dir/build.log" >&2; return 1; }
    fi
    echo "$dir/win64/Setup.exe"
}

# ---------------------------------------------------------------- 1. start-up
"$ROOT/tools/make_medium.sh" "$(dirname "$SETUP_EXE")" "$WORK/sample" >/dev/null
baseline=()
if [ -n "${BENCH_BASELINE:-}" ] && before="$(baseline_exe)"; then
    cp "$before" "$WORK/sample/Setup_before.exe"
    baseline=("$WORK/sample/Setup_before.exe")
fi
cp "$(dirname "$PROBE_EXE")/installers/bare_window.exe" "$WORK/bare_window.exe"
cp "$TRACE_EXE" "$WORK/sample/Setup_trace.exe"
cp "$SHIPPED_EXE" "$WORK/sample/Setup_i686.exe"
makensis -V2 -DOUTFILE="$WORK/nsis_peer.exe" "$ROOT/tests/e2e/installers/nsis_peer.nsi"
start_wine en_US.UTF-8
windows_path() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
[ ${#baseline[@]} = 0 ] || baseline=("$(windows_path "${baseline[0]}")")
LAUNCH_TIMER="$(dirname "$PROBE_EXE")/installers/launch_timer.exe"
# Without address-space randomisation, as the i686 tests run: Debian's 32-bit Wine has no
# preloader to keep its ranges free (the i686 programs inherit it from the timer).
setarch "$(uname -m)" -R env LC_ALL="$E2E_LOCALE" "$WINE64" "$LAUNCH_TIMER" "$START_ROUNDS" \
    "$(windows_path "$WORK/sample/Setup.exe")" "$(windows_path "$WORK/bare_window.exe")" \
    "$(windows_path "$WORK/sample/Setup_trace.exe")" "$(windows_path "$WORK/sample/Setup_i686.exe")" \
    "$(windows_path "$WORK/nsis_peer.exe")" --dpi 144 "$(windows_path "$WORK/sample/Setup.exe")" "${baseline[@]}" \
    | tr -d '\r' >"$WORK/start.txt"
median_of() { awk -v i="$1" '$1 == i && $2 != "failed" { print $2 }' "$WORK/start.txt" | percentiles 50; }
times_of() { awk -v i="$1" '$1 == i { printf "%s ", $2 }' "$WORK/start.txt"; }
ratio_of() { awk -v a="$1" -v b="$2" 'BEGIN { if (b + 0 > 0) printf "%.2f", a / b; else print "-" }'; }
setup_ms="$(median_of 0)"
bare_ms="$(median_of 1)"
trace_ms="$(median_of 2)"
shipped_ms="$(median_of 3)"
peer_ms="$(median_of 4)"
scaled_ms="$(median_of 5)"
before_ms="$(median_of 6)"
start_failures=$(grep -c failed "$WORK/start.txt")
ratio="$(ratio_of "$setup_ms" "$bare_ms")"
echo
echo "Start-up: from process start to a shown, painted window (median of $START_ROUNDS interleaved rounds)"
echo "  Setup.exe, sample medium:  $setup_ms ms   ($(times_of 0)ms)"
echo "  bare window program:       $bare_ms ms   ($(times_of 1)ms)"
echo "  ratio:                     $ratio   (goal: at most $START_RATIO_GOAL; stretch goal $START_RATIO_STRETCH)"
echo "  i686 under WoW64, in the same rounds:"
echo "  Setup.exe as shipped:      $shipped_ms ms   ($(times_of 3)ms)"
echo "  NSIS installer (peer):     $peer_ms ms   ($(times_of 4)ms)"
echo "  Setup over the peer:       $(ratio_of "$shipped_ms" "$peer_ms")"
echo "  Setup.exe at 144 dpi:      $scaled_ms ms   ($(times_of 5)ms)"
echo "  144 over 96 dpi:           $(ratio_of "$scaled_ms" "$setup_ms")   (goal: at most $SCALED_START_GOAL)"
if [ ${#baseline[@]} = 1 ]; then
    before_ratio="$(ratio_of "$before_ms" "$bare_ms")"
    echo "  Setup.exe as of $BENCH_BASELINE: $before_ms ms   ($(times_of 6)ms); ratio to the bare window $before_ratio"
    echo "  today's ratio over that:   $(ratio_of "$ratio" "$before_ratio")   (goal: at most $BASELINE_GOAL)"
fi
echo "  Where the time goes: Setup_trace.exe, the same start-up with its phases recorded, took $trace_ms ms"
echo "  in the same rounds; each phase's median time since the process was created, and the step to it:"
startup_phases "$WORK/sample/Setup_trace.phases"
echo "    (then until the window is seen painted from outside: $trace_ms ms)"
check_eq "every start ended in a painted window" 0 "$start_failures"
check_goal "start-up ratio" "$ratio" "$START_RATIO_GOAL" "$START_RATIO_STRETCH"
check_goal "start-up at 144 dpi over 96 dpi" "$(ratio_of "$scaled_ms" "$setup_ms")" "$SCALED_START_GOAL"
[ ${#baseline[@]} = 0 ] || check_goal "start-up ratio over $BENCH_BASELINE's" "$(ratio_of "$ratio" "$before_ratio")" "$BASELINE_GOAL"

# ---------------------------------------------------------------- 2. paint after a hover and a page switch
# Per hover or click of the trace build, from its "hover" or "click" mark to the next hover,
# press or click: for a click the handler (to "page shown"), the window's own paint (background
# and logo) and the last mark; for a hover the first button drawn after it.
interaction_phases() {  # phases file
    awk -F'\t' '
        function flush_paint() { if (paintStart) { painted += paintEnd - paintStart; paintStart = 0 } }
        function finish() {
            flush_paint()
            if (kind == "click") { n++; handler += shown - start; dialog += painted; last += end - start }
            if (kind == "hover" && drawn) { hovers++; hoverDrawn += drawn - start }
            kind = ""
        }
        /^run / || $2 == "pressed" { finish(); next }
        $2 ~ /^(click|hover)/ {
            finish(); kind = ($2 ~ /^hover/ ? "hover" : "click")
            start = $1; end = $1; shown = $1; painted = 0; drawn = 0; next
        }
        kind == "" { next }
        { end = $1 }
        $2 == "page shown" { shown = $1 }
        $2 == "dialog paint begins" { flush_paint(); paintStart = $1; paintEnd = $1 }
        $2 == "background erased" || $2 == "logo painted" { paintEnd = $1 }
        $2 ~ /^button drawn/ && !drawn { drawn = $1 }
        END {
            finish()
            if (n) printf "    page switch (%d, means): handler %.1f ms, the window'"'"'s background and logo %.1f ms, last paint %.1f ms after the click\n",
                          n, handler / n, dialog / n, last / n
            if (hovers) printf "    hover (%d, mean): the button drawn %.1f ms after the hover message\n", hovers, hoverDrawn / hovers
        }' "$1"
}

rm -f "$WORK/sample/Setup_trace.phases"
xdotool mousemove 1020 760
wine "$LAUNCH_TIMER" --interaction "$PAINT_ROUNDS" "$(windows_path "$WORK/sample/Setup.exe")" | tr -d '\r' >"$WORK/interaction.txt"
wine "$LAUNCH_TIMER" --interaction "$PAINT_ROUNDS" "$(windows_path "$WORK/sample/Setup_trace.exe")" | tr -d '\r' \
    >"$WORK/interaction_trace.txt"
hover_ms="$(awk '$1 == "hover" && $2 != "failed" { print $2 }' "$WORK/interaction.txt" | percentiles 50)"
leave_ms="$(awk '$1 == "leave" && $2 != "failed" { print $2 }' "$WORK/interaction.txt" | percentiles 50)"
page_ms="$(awk '$1 == "page" && $3 != "failed" { print $3 }' "$WORK/interaction.txt" | percentiles 50)"
interaction_failures=$(grep -c failed "$WORK/interaction.txt")
echo
echo "First paint after a hover and after a page switch (Setup.exe, sample medium, x86_64; medians)"
echo "  hover (pointer onto a menu button until its hover image is shown):  $hover_ms ms   ($(awk '$1 == "hover" { printf "%s ", $2 }' "$WORK/interaction.txt")ms)"
echo "  leaving it again (until its normal image is shown):                 $leave_ms ms"
echo "  page switch (click until the page is painted), $(grep -c '^page' "$WORK/interaction.txt") switches:    $page_ms ms"
for button in 1001 1002 1000 1015; do
    echo "    button $button: $(awk -v b=$button '$1 == "page" && $2 == b { print $3 }' "$WORK/interaction.txt" | percentiles 50) ms"
done
echo "  Where the time goes (Setup_trace.exe, the same steps; from the hover or click reaching the window):"
interaction_phases "$WORK/sample/Setup_trace.phases"
echo "  (goal: at most $PAINT_GOAL_MS ms each)"
check_eq "every hover and page switch ended in a painted window" 0 "$interaction_failures"
check_goal "first paint after a hover" "$hover_ms" "$PAINT_GOAL_MS" "" " ms"
check_goal "first paint after a page switch" "$page_ms" "$PAINT_GOAL_MS" "" " ms"

# ---------------------------------------------------------------- 3. image sizes
source "$ROOT/tests/security/known_dlls.sh"
echo
echo "Image sizes and load-time imports"
for image in "$(dirname "$BUILD")/win32/Setup.exe:i686-w64-mingw32-objdump" "$SETUP_EXE:x86_64-w64-mingw32-objdump"; do
    file="${image%%:*}" objdump="${image##*:}"
    if [ ! -f "$file" ]; then echo "  $file: not built"; continue; fi
    printf '  %-40s %8d bytes (%d KB), binds: %s\n' "${file#"$ROOT"/}" "$(stat -c %s "$file")" \
        $(( ($(stat -c %s "$file") + 1023) / 1024 )) "$(load_time_imports "$objdump" "$file" | tr '\n' ' ')"
done
echo "  (goal: the i686 build at most $((SIZE_GOAL_BYTES / 1024)) KB, stretch goal $((SIZE_STRETCH_BYTES / 1024)) KB, binding system DLLs only)"
shipped="$(dirname "$BUILD")/win32/Setup.exe"
if [ -f "$shipped" ]; then
    echo "  Where the bytes of the i686 Setup.exe come from (its link map):"
    python3 "$ROOT/tools/pe/size_groups.py" "$shipped" "$(dirname "$shipped")/Setup.map" \
        | awk -F'\t' '{ printf "    %8d bytes  %s\n", $1, $2 }'
    size=$(stat -c %s "$shipped")
    check_goal "the i686 Setup.exe" "$size" "$SIZE_GOAL_BYTES" "$SIZE_STRETCH_BYTES" " bytes"
    unknown=""
    for dll in $(load_time_imports i686-w64-mingw32-objdump "$shipped"); do is_known_dll "$dll" || unknown="$unknown $dll"; done
    check_eq "the i686 Setup.exe binds system DLLs only at load time" "" "$unknown"
fi

# ---------------------------------------------------------------- 4. responsiveness during a run
medium="$WORK/medium"
write_run_medium "$medium" <<'EOF2'
    <item strId="ITEM0" open="Setup/bench_exit0_90s.exe" default="1"/>
EOF2
add_installers "$medium" bench_exit0_90s
start_wine_with_stub en_US.UTF-8
start_setup_window "$medium"
start_run_from 1000
wait_visible 1045 1 3
sleep 0.5

wine "$PING_EXE" "$SECONDS_MEASURED" 10 | tr -d '\r' >"$WORK/ping.txt"
heading_seen="$(probe text 1045)"
samples=$(grep -c '^rtt ' "$WORK/ping.txt")
timeouts=$(grep -c '^timeout' "$WORK/ping.txt")
read -r p50 p99 worst < <(awk '$1 == "rtt" { printf "%.2f\n", $2 / 1000 }' "$WORK/ping.txt" | percentiles 50 99 100)

echo
echo "Responsiveness during an installation run (WM_NULL round trips to the main window)"
echo "  samples:   $samples over ${SECONDS_MEASURED} s ($timeouts timed out after 5 s)"
echo "  p50:       $p50 ms"
echo "  p99:       $p99 ms   (goal: p99 <= $GOAL_MS ms)"
echo "  max:       $worst ms"
echo "  heading:   $heading_seen (the run was animating)"
if [ "$samples" -gt 0 ] && [ "$timeouts" = 0 ] && awk -v p="$p99" -v g="$GOAL_MS" 'BEGIN { exit !(p <= g) }'; then
    pass "p99 round trip $p99 ms is within the goal of $GOAL_MS ms"
else
    fail "p99 round trip within the goal of $GOAL_MS ms" "p99: $p99 ms, timeouts: $timeouts"
fi
check_cmd "the run was still under way while measuring" grep -qE '^S19\.{1,5}$' <<<"$heading_seen"

# Click-to-question latency: taps on the cancel button right after an animation step.
time_cancel_taps "$TAPS" || log "$TAP_PROBLEM"
taps=("${TAP_LATENCIES[@]}")
unanswered=$(printf '%s\n' "${taps[@]}" | grep -c none)
read -r tap50 tapmax < <(printf '%s\n' "${taps[@]}" | grep -v none | percentiles 50 100)
echo
echo "Click-to-question latency during a run (tap on cancel until the exit question is seen)"
echo "  taps:      ${#taps[@]} ($unanswered without a question within 3 s)"
echo "  p50:       $tap50 ms"
echo "  max:       $tapmax ms   (goal: max <= $TAP_GOAL_MS ms)"
if [ "${#taps[@]}" = "$TAPS" ] && [ "$unanswered" = 0 ] && [ "$tapmax" -le "$TAP_GOAL_MS" ]; then
    pass "every tap brought the question within $TAP_GOAL_MS ms (max $tapmax ms)"
else
    fail "every tap brings the question within $TAP_GOAL_MS ms" "taps: ${taps[*]}"
fi
e2e_finish
