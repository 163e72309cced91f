#!/usr/bin/env bash
# Makes the Wine prefix that ./dev preview clones for each of its workers: a new prefix
# (make_prefix of tools/dev/wine.sh) with a CJK font, without which Chinese, Japanese and Korean
# texts render as boxes, and without Wine's crash dialog, which would wait for a click instead of
# letting a crash end the program. Making one takes from seconds to minutes (both halves of a
# WoW64 prefix are set up), so it is kept: a stamp names the Wine version and this recipe, and a
# prefix with another stamp is made again.
# Usage: make_prefix.sh DIR
set -euo pipefail
dir="${1:?usage: make_prefix.sh DIR}"
mkdir -p "$(dirname "$dir")"
dir="$(cd "$(dirname "$dir")" && pwd)/$(basename "$dir")"  # Wine takes absolute prefixes only
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
log() { printf '== %s\n' "$*" >&2; }
source "$ROOT/tools/dev/wine.sh"  # WINE64, WINESERVER64, make_prefix

RECIPE=1
FONT=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
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
make_prefix "$dir"
export WINEPREFIX="$dir" WINEDEBUG=-all
reg="$(mktemp --suffix=.reg)"
trap 'rm -f "$reg"' EXIT
{
    printf 'REGEDIT4\n\n'
    if [ -f "$FONT" ]; then
        cp "$FONT" "$dir/drive_c/windows/Fonts/"
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n'
        for face in SimSun "Microsoft YaHei" "MS Song" NSimSun; do
            printf '"%s"="WenQuanYi Micro Hei"\n' "$face"
        done
        printf '\n'
    fi
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n'
} >"$reg"
"$WINE64" regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1 </dev/null
"$WINESERVER64" -k >/dev/null 2>&1 || true
"$WINESERVER64" -w >/dev/null 2>&1 || true
echo "$stamp" >"$dir/.preview-ready"
