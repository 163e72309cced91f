#!/usr/bin/env bash
# Checks a built Setup.exe: its file format, the "run from swap" flags, that it binds no DLL
# but KnownDLLs at load time, and (with --stripped) that it carries no symbols. Prints its size.
# Usage: check_image.sh OBJDUMP IMAGE FORMAT [--stripped]     FORMAT e.g. pei-i386
set -uo pipefail
objdump="$1" image="$2" format="$3" stripped="${4:-}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/known_dlls.sh"

failures=0
check() {  # description, command...
    local what="$1"; shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

[ -f "$image" ] || { echo "FAIL $image does not exist (build it first)"; exit 1; }
headers="$("$objdump" -f "$image")"
private="$("$objdump" -p "$image")"

has_format() { grep -q "file format $format\$" <<<"$headers"; }
has_swap_flags() {
    local flags; flags="$(sed -n 's/^Characteristics[[:space:]]*0x\([0-9a-fA-F]*\).*/\1/p' <<<"$private" | head -1)"
    [ -n "$flags" ] && (( (16#$flags & 0x0C00) == 0x0C00 ))
}
has_no_symbols() { ! grep -q 'HAS_SYMS' <<<"$headers" && ! "$objdump" -h "$image" | grep -q '\.debug_'; }
imports_known_dlls_only() {
    local imports; imports="$(load_time_imports "$objdump" "$image")"
    [ -n "$imports" ] || { echo "     no import table found"; return 1; }
    local ok=0
    for dll in $imports; do
        if is_known_dll "$dll"; then echo "     load-time import: $dll.dll"; else echo "     NOT a KnownDLL: $dll.dll"; ok=1; fi
    done
    return $ok
}

check "file format $format" has_format
check "run-from-swap flags (removable and network media)" has_swap_flags
check "load-time imports are KnownDLLs only" imports_known_dlls_only
if [ "$stripped" = "--stripped" ]; then
    check "stripped (no symbol table, no debug sections)" has_no_symbols
fi
echo "size $(stat -c %s "$image") bytes: $image"
[ "$failures" = 0 ]
