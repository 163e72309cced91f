#!/usr/bin/env bash
# The launcher's figures, measured side by side in one run under one Wine:
# 1. Start-up: from starting Setup.exe on the sample medium until its window is shown and
#    painted, beside the same for a bare Win32 window program, in interleaved rounds; medians
#    and their ratio (goal: at most 1.3).
# 2. Image sizes of both Setup.exe builds and what they bind at load time (goal: the i686 one at
#    most 256 KB, binding system DLLs only).
# 3. Responsiveness of the user-interface thread during an installation run: while an installer
#    runs and the heading animates, ping.exe sends WM_NULL to the main window with
#    SendMessageTimeout every 10 ms; percentiles of the round trips (goal: p99 at most 50 ms).
#    Then, in the same run, taps on the cancel button, each timed until the exit question
#    appears (goal: at most 400 ms each) and answered "no".
# Run by ./dev bench; standalone:
#   tests/e2e/bench.sh [BUILD_DIR]   (default build/win64; the i686 build is build/win32 beside it)
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/build/win64}"
export SETUP_EXE="${SETUP_EXE:-$BUILD/Setup.exe}"
export PROBE_EXE="${PROBE_EXE:-$BUILD/tests/e2e/probe.exe}"
export E2E_ROOT="${E2E_ROOT:-$BUILD/e2e-bench}"
source "$ROOT/tests/e2e/lib.sh"
source "$ROOT/tests/e2e/run_lib.sh"

START_RATIO_GOAL=1.3
START_ROUNDS=${BENCH_START_ROUNDS:-7}
SIZE_GOAL_BYTES=$((256 * 1024))
GOAL_MS=50
SECONDS_MEASURED=${BENCH_SECONDS:-10}
TAP_GOAL_MS=400
TAPS=${BENCH_TAPS:-10}
e2e_begin bench

# The nearest-rank percentiles P... (100: the largest) of the numbers on standard input, on one
# line; "-" for each when there are none.
percentiles() {
    sort -n | awk -v wanted="$*" '{ v[NR] = $1 }
        END { n = split(wanted, p, " ")
              for (i = 1; i <= n; ++i) printf "%s%s", (NR ? v[int(p[i] / 100 * NR + 0.999)] : "-"), (i < n ? " " : "\n") }'
}

# ---------------------------------------------------------------- 1. start-up
"$ROOT/tools/make_medium.sh" "$(dirname "$SETUP_EXE")" "$WORK/sample" >/dev/null
cp "$(dirname "$PROBE_EXE")/installers/bare_window.exe" "$WORK/bare_window.exe"
start_wine en_US.UTF-8
windows_path() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
wine "$(dirname "$PROBE_EXE")/installers/launch_timer.exe" "$START_ROUNDS" \
    "$(windows_path "$WORK/sample/Setup.exe")" "$(windows_path "$WORK/bare_window.exe")" | tr -d '\r' >"$WORK/start.txt"
setup_ms="$(awk '$1 == 0 && $2 != "failed" { print $2 }' "$WORK/start.txt" | percentiles 50)"
bare_ms="$(awk '$1 == 1 && $2 != "failed" { print $2 }' "$WORK/start.txt" | percentiles 50)"
start_failures=$(grep -c failed "$WORK/start.txt")
ratio="$(awk -v a="$setup_ms" -v b="$bare_ms" 'BEGIN { if (b + 0 > 0) printf "%.2f", a / b; else print "-" }')"
echo
echo "Start-up: from process start to a shown, painted window (median of $START_ROUNDS interleaved rounds)"
echo "  Setup.exe, sample medium:  $setup_ms ms   ($(awk '$1 == 0 { printf "%s ", $2 }' "$WORK/start.txt")ms)"
echo "  bare window program:       $bare_ms ms   ($(awk '$1 == 1 { printf "%s ", $2 }' "$WORK/start.txt")ms)"
echo "  ratio:                     $ratio   (goal: at most $START_RATIO_GOAL)"
check_eq "every start ended in a painted window" 0 "$start_failures"
if awk -v r="$ratio" -v g="$START_RATIO_GOAL" 'BEGIN { exit !(r != "-" && r <= g) }'; then
    pass "start-up ratio $ratio is within the goal of $START_RATIO_GOAL"
else
    fail "start-up ratio within the goal of $START_RATIO_GOAL" "measured: $ratio ($setup_ms ms against $bare_ms ms)"
fi

# ---------------------------------------------------------------- 2. image sizes
source "$ROOT/tests/security/known_dlls.sh"
echo
echo "Image sizes and load-time imports"
for image in "$(dirname "$BUILD")/win32/Setup.exe:i686-w64-mingw32-objdump" "$SETUP_EXE:x86_64-w64-mingw32-objdump"; do
    file="${image%%:*}" objdump="${image##*:}"
    if [ ! -f "$file" ]; then echo "  $file: not built"; continue; fi
    printf '  %-40s %8d bytes (%d KB), binds: %s\n' "${file#"$ROOT"/}" "$(stat -c %s "$file")" \
        $(( ($(stat -c %s "$file") + 1023) / 1024 )) "$(load_time_imports "$objdump" "$file" | tr '\n' ' ')"
done
echo "  (goal: the i686 build at most $((SIZE_GOAL_BYTES / 1024)) KB, binding system DLLs only)"
shipped="$(dirname "$BUILD")/win32/Setup.exe"
if [ -f "$shipped" ]; then
    size=$(stat -c %s "$shipped")
    if [ "$size" -le "$SIZE_GOAL_BYTES" ]; then pass "the i686 Setup.exe ($size bytes) is within $((SIZE_GOAL_BYTES / 1024)) KB"
    else fail "the i686 Setup.exe within $((SIZE_GOAL_BYTES / 1024)) KB" "measured: $size bytes"; fi
    unknown=""
    for dll in $(load_time_imports i686-w64-mingw32-objdump "$shipped"); do is_known_dll "$dll" || unknown="$unknown $dll"; done
    check_eq "the i686 Setup.exe binds system DLLs only at load time" "" "$unknown"
fi

# ---------------------------------------------------------------- 3. responsiveness during a run
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
