#!/usr/bin/env bash
# Usage: facts_test.sh EMULATOR WINDOW_FACTS EXPECTED
# window_facts --facts must print exactly EXPECTED, with LF line ends, and refuse other arguments;
# at --dpi 192 (200 %, where no length rounds) every rectangle, column and caption is twice as
# large and every other fact the same.
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

# Lengths doubled: the window's and controls' rectangles, column widths, icons, captions.
doubled="$(tr -d '\r' <"$expected" | awk -F'\t' -v OFS='\t' '
    $1 == "window" || $1 ~ /^[0-9]+$/ { for (i = 2; i <= 5; i++) $i *= 2 }
    $1 == "column" { $4 *= 2 } $1 == "icons" { $2 *= 2; $3 *= 2 } $1 == "caption" { for (i = 3; i <= 6; i++) $i *= 2 }
    $1 == "scale" { $0 = "scale\t192\t200" } $1 == "font" { $0 = $1 "\t" $2 }
    { print }')"
printed="$("$emulator" "$program" --facts --dpi 192 | tr -d '\r' | awk -F'\t' -v OFS='\t' '$1 == "font" { $0 = $1 "\t" $2 } { print }')"
[ "$doubled" = "$printed" ] || fail "at --dpi 192 the lengths are not twice those at 96: $(diff <(echo "$doubled") <(echo "$printed") | head -5)"

for args in "" "--facts --dpi 95" "--facts --dpi 961" "--facts --dpi 1x" "--dpi 144 --facts"; do
    # shellcheck disable=SC2086
    "$emulator" "$program" $args >/dev/null 2>&1
    rc=$?
    [ "$rc" = 2 ] || fail "window_facts $args exits with $rc, not 2"
done

[ "$failures" = 0 ] && echo "window facts: as expected"
[ "$failures" = 0 ]
