#!/usr/bin/env bash
# Makes the Wine prefix that ./dev preview clones for each of its workers: Setup's prefix, as the
# end-to-end scenarios have it (make_setup_prefix of tools/dev/wine.sh: a CJK font, without which
# Chinese, Japanese and Korean texts render as boxes, and no crash dialog). Making one takes from
# seconds to minutes (both halves of a WoW64 prefix are set up), so it is kept: a stamp names the
# Wine version and this recipe, and a prefix with another stamp is made again.
# Usage: make_prefix.sh DIR
set -euo pipefail
dir="${1:?usage: make_prefix.sh DIR}"
mkdir -p "$(dirname "$dir")"
dir="$(cd "$(dirname "$dir")" && pwd)/$(basename "$dir")"  # Wine takes absolute prefixes only
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
log() { printf '== %s\n' "$*" >&2; }
source "$ROOT/tools/dev/wine.sh"  # WINE64, make_setup_prefix

RECIPE=1
stamp="$("$WINE64" --version) recipe $RECIPE"

exec 9>"$dir.lock"
flock 9
if [ "$(cat "$dir/.preview-ready" 2>/dev/null)" = "$stamp" ]; then exit 0; fi

log "making the preview's Wine prefix in $dir (once)"
unset DISPLAY
# Setting up a prefix starts 32-bit Wine programs too. When another job's binfmt_misc entry hands
# them to qemu-i386, each start takes a minute without the mmap shim (tools/dev/emulation.sh);
# with it, seconds. Where they run natively it changes nothing.
shim="$ROOT/build/win64/tests/e2e/emulation"
if [ -f "$shim/lib/i386-linux-gnu/libsetup_mmap_shim.so" ]; then
    export LD_PRELOAD="$shim/\$LIB/libsetup_mmap_shim.so"
fi
make_setup_prefix "$dir"
echo "$stamp" >"$dir/.preview-ready"
