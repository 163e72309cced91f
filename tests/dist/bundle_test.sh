#!/usr/bin/env bash
# The release bundle as a vendor gets it: tools/make_dist.sh builds it, it is unpacked into an
# empty folder, and its programs run from there.
#   bundle_test.sh WORK_DIR
# Prints one PASS/FAIL line per check; exits 1 when any failed.
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
WORK="${1:?usage: bundle_test.sh WORK_DIR}"

passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS  $1"; }
fail() { failed=$((failed + 1)); echo "FAIL  $1"; [ $# -gt 1 ] && printf '      %s\n' "${@:2}"; return 0; }
check() {  # description, command...
    local description="$1"; shift
    if "$@"; then pass "$description"; else fail "$description"; fi
}
finish() {
    echo "== bundle: $passed passed, $failed failed"
    [ "$failed" = 0 ] && [ "$passed" -gt 0 ]
    exit $?
}

rm -rf "$WORK"
mkdir -p "$WORK/dist" "$WORK/unpacked"
if ! zip_path="$("$ROOT/tools/make_dist.sh" "$WORK/dist")"; then
    fail "tools/make_dist.sh builds the bundle"
    finish
fi
version="$(git -C "$ROOT" describe --tags --always --dirty)"
check "the bundle is named by git describe" [ "$zip_path" = "$WORK/dist/setup-$version.zip" ]
if ! (cd "$WORK/unpacked" && unzip -q "$zip_path"); then
    fail "the bundle unpacks"
    finish
fi
check "the bundle holds one folder, setup-$version" [ "$(ls -A "$WORK/unpacked")" = "setup-$version" ]
BUNDLE="$WORK/unpacked/setup-$version"
cd "$BUNDLE" || finish

# ---------------------------------------------------------------- contents

expected_top="QUICKSTART.txt Setup.exe docs sample-medium setup-check setup-check.exe"
check "the top folder holds: $expected_top" [ "$(ls -A | sort | tr '\n' ' ' | sed 's/ $//')" = "$expected_top" ]
for entry in docs/medium.md docs/setup-check.md docs/run-log.md sample-medium/Setup.exe sample-medium/conf.xml \
             sample-medium/Language/UICfg.xml sample-medium/Language/en-us.ini sample-medium/ImageIcon/menu.png \
             sample-medium/Setup/Scope/setup.exe sample-medium/Manuals/ReadMe.txt; do
    check "it holds $entry" [ -f "$entry" ]
done
missing_pictures=()
for picture in $(grep -o 'images/[a-z0-9-]*\.png' docs/medium.md | sort -u); do
    [ -f "docs/$picture" ] || missing_pictures+=("$picture")
done
if [ ${#missing_pictures[@]} = 0 ]; then pass "every picture docs/medium.md shows is there"
else fail "every picture docs/medium.md shows is there" "missing: ${missing_pictures[*]}"; fi
check "no make_medium.sh mark in the sample medium" [ ! -e sample-medium/.sample-medium ]
check "the quick start names the version" grep -q "^Setup $version: quick start" QUICKSTART.txt
check "the quick start has no placeholder left" bash -c '! grep -q @VERSION@ QUICKSTART.txt'

is_i686() { objdump -f "$1" 2>/dev/null | grep -q 'file format pei-i386'; }
check "Setup.exe is the shipped i686 build" cmp -s Setup.exe "$ROOT/build/win32/Setup.exe"
check "Setup.exe is an i686 program" is_i686 Setup.exe
check "setup-check.exe is the i686 build's" cmp -s setup-check.exe "$ROOT/build/win32/setup-check.exe"
check "setup-check.exe is an i686 program" is_i686 setup-check.exe
check "the sample medium carries the same Setup.exe" cmp -s sample-medium/Setup.exe Setup.exe
not_i686=()
while IFS= read -r -d '' program; do
    is_i686 "$program" || not_i686+=("$program")
done < <(find sample-medium -name '*.exe' -print0)
if [ ${#not_i686[@]} = 0 ]; then pass "every program of the sample medium is i686"
else fail "every program of the sample medium is i686" "${not_i686[@]}"; fi

# ---------------------------------------------------------------- the Linux checker

check "setup-check is executable" [ -x setup-check ]
libraries="$(ldd setup-check 2>&1)"
if grep -qE 'asan|ubsan|tinyxml2|libz\.|libstdc\+\+|libgcc_s|not found' <<<"$libraries"; then
    fail "setup-check needs only the C library" "$libraries"
else
    pass "setup-check needs only the C library"
fi
output="$(./setup-check --no-color sample-medium 2>&1)"
status=$?
if [ "$status" = 0 ]; then pass "setup-check passes the bundled sample medium (exit 0)"
else fail "setup-check passes the bundled sample medium (exit 0)" "exit $status" "$output"; fi
grep -q '^0 errors, 0 warnings' <<<"$output" && pass "its report: no errors, no warnings" \
    || fail "its report: no errors, no warnings" "$output"

# The bundled checker finds faults too: a copy without the English language file is an error.
cp -R sample-medium "$WORK/spoiled"
rm "$WORK/spoiled/Language/en-us.ini"
./setup-check --no-color "$WORK/spoiled" >"$WORK/spoiled.txt" 2>&1
status=$?
if [ "$status" = 2 ] && grep -q 'lang-missing' "$WORK/spoiled.txt"; then
    pass "setup-check reports a missing en-us.ini as an error (exit 2)"
else
    fail "setup-check reports a missing en-us.ini as an error (exit 2)" "exit $status" "$(cat "$WORK/spoiled.txt")"
fi

finish
