#!/usr/bin/env bash
# Makes the Wine prefix that every end-to-end scenario clones: a fresh prefix with a CJK font
# (Chinese texts render as boxes without one), no crash dialog (it would wait for a click that
# never comes, instead of letting a crash end the program) and no display.
# Usage: make_base_prefix.sh DIR
set -euo pipefail
dir="$1"
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/dev/wine.sh"
export WINEPREFIX="$dir" WINEDEBUG=-all
unset DISPLAY

make_prefix "$dir"

font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
if [ -f "$font" ]; then
    cp "$font" "$dir/drive_c/windows/Fonts/"
    for face in SimSun "Microsoft YaHei" "MS Song" NSimSun; do
        "$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d "WenQuanYi Micro Hei" /f \
            >/dev/null 2>&1 </dev/null
    done
fi

"$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null

stop_wineserver "$dir"
touch "$dir/.e2e-ready"
