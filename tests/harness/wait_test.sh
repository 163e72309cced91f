#!/usr/bin/env bash
# wait_until (tools/dev/wait.sh): what it returns, how long it takes, what it passes on.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/dev/wait.sh"
failures=0
check() {  # what, expected, actual
    if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}

# seconds, microseconds
while read -r seconds us; do
    check "seconds_to_us $seconds" "$us" "$(seconds_to_us "$seconds")"
done <<'EOF_TABLE'
3 3000000
0.5 500000
.25 250000
1.05 1050000
0.000001 1
12.3456789 12345678
EOF_TABLE

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
appears_later() { (sleep "$2"; touch "$work/$1") & }  # file, seconds

# what, command to start first (or -), condition, timeout, expected status, least ms, most ms
while IFS='|' read -r what before condition timeout want least most; do
    [ "$before" = - ] || eval "$before"
    start=$(now_ms)
    eval "wait_until $condition $timeout" 2>/dev/null
    status=$?
    took=$(( $(now_ms) - start ))
    check "$what: status" "$want" "$status"
    if [ "$took" -ge "$least" ] && [ "$took" -le "$most" ]; then echo "ok   $what: took $took ms"
    else echo "FAIL $what: took $took ms, not $least ... $most"; failures=$((failures + 1)); fi
done <<'EOF_TABLE'
a true condition returns at once|-|true|5|0|0|300
a false condition times out|-|false|0.4|1|400|1000
a condition that comes true in time|appears_later a 0.3|test -e "$work/a"|3|0|300|1500
a condition that comes too late|appears_later b 1.5|test -e "$work/b"|0.1|1|100|1400
no timeout is a usage error|-||true|2|0|300
EOF_TABLE
wait

# Arguments reach the condition as they were given, spaces and all.
same_words() { [ "$#" = 2 ] && [ "$1" = "a b" ] && [ "$2" = "c" ]; }
wait_until same_words "a b" c 1
check "the condition gets its arguments unchanged" 0 "$?"

# WAIT_INTERVAL sets the pause between tries: with 0.2 s, at most four tries fit into 0.5 s (at
# 0, 0.2, 0.4 and the last one after the deadline).
count_tries() { tries=$((tries + 1)); return 1; }
tries=0; WAIT_INTERVAL=0.2 wait_until count_tries 0.5
check "WAIT_INTERVAL=0.2: two to four tries in 0.5 s" 1 "$(( tries >= 2 && tries <= 4 ))"

[ "$failures" = 0 ] && echo "wait_until: all checks passed"
[ "$failures" = 0 ]
