#!/usr/bin/env bash
# Usage: facts_test.sh EMULATOR WINDOW_FACTS EXPECTED
# window_facts --facts must print exactly EXPECTED, with LF line ends, and refuse other arguments.
set -u
emulator="$1" program="$2" expected="$3"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

out="$(mktemp)"
trap 'rm -f "$out"' EXIT
if ! "$emulator" "$program" --facts >"$out"; then
    fail "window_facts --facts exits with an error"
fi
if grep -q $'\r' "$out"; then
    fail "the facts have CR LF line ends"
fi
if ! diff -u "$expected" <(tr -d '\r' <"$out"); then
    fail "the facts differ from $expected (- expected, + printed)"
fi

"$emulator" "$program" >/dev/null 2>&1
rc=$?
[ "$rc" = 2 ] || fail "without --facts the program exits with $rc, not 2"

[ "$failures" = 0 ] && echo "window facts: as expected"
[ "$failures" = 0 ]
