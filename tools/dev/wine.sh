# Wine prefixes and servers, shared by ./dev and the end-to-end scenarios. Sourced, not run.
# WINE64 may name another loader: the 32-bit prefix's scenario sets Wine's 32-bit one.

WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER64=${WINESERVER64:-/usr/lib/wine/wineserver64}

# make_prefix DIR: a fresh prefix (as WINEARCH says, 64-bit by default), its server ended.
make_prefix() {
    rm -rf "$1"
    mkdir -p "$1"
    WINEPREFIX="$1" WINEDEBUG=-all "$WINE64" wineboot -i >/dev/null 2>&1 </dev/null || true
    stop_wineserver "$1"
}

# make_setup_prefix DIR: a fresh prefix as Setup's tests and previews run it: with a CJK font
# (Chinese, Japanese and Korean texts render as boxes without one) and without Wine's crash
# dialog (it would wait for a click instead of letting a crash end the program); its server ended.
make_setup_prefix() {
    local dir="$1" font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc reg face
    make_prefix "$dir"
    reg="$(mktemp --suffix=.reg)"
    {
        printf 'REGEDIT4\n\n'
        if [ -f "$font" ]; then
            cp "$font" "$dir/drive_c/windows/Fonts/"
            printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n'
            for face in SimSun "Microsoft YaHei" "MS Song" NSimSun; do
                printf '"%s"="WenQuanYi Micro Hei"\n' "$face"
            done
            printf '\n'
        fi
        printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\n"ShowCrashDialog"=dword:00000000\n'
    } >"$reg"
    WINEPREFIX="$dir" WINEDEBUG=-all "$WINE64" regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1 </dev/null
    rm -f "$reg"
    stop_wineserver "$dir"
}

# clone_prefix BASE DIR: a copy of a prefix in 50 ms. Hard links for the files Wine only reads,
# real copies of the registry files, which wineserver rewrites in place.
clone_prefix() {
    local base="$1" dir="$2" reg
    rm -rf "$dir"
    cp -al "$base" "$dir"
    for reg in system.reg user.reg userdef.reg; do
        if [ -f "$base/$reg" ]; then cp --remove-destination "$base/$reg" "$dir/$reg"; fi
    done
}

# start_wineserver PREFIX LOCALE [LOG]: the prefix's server, started under LC_ALL=LOCALE (empty:
# the caller's own), with one trivial program run so the next start is quick. The server takes
# the locale when it starts, so another locale needs another server. Its output goes to LOG
# (default /dev/null): a server holding ctest's output pipe would make ctest wait for it.
start_wineserver() {
    local prefix="$1" locale="$2" log="${3:-/dev/null}"
    env ${locale:+LC_ALL="$locale"} WINEPREFIX="$prefix" "$WINESERVER64" -p >"$log" 2>&1 </dev/null
    env ${locale:+LC_ALL="$locale"} WINEPREFIX="$prefix" WINEDEBUG=-all "$WINE64" cmd /c exit \
        >/dev/null 2>&1 </dev/null || true
}

# stop_wineserver PREFIX: ends the server and every Wine process of the prefix, and waits for it.
stop_wineserver() {
    WINEPREFIX="$1" "$WINESERVER64" -k >/dev/null 2>&1 || true
    WINEPREFIX="$1" "$WINESERVER64" -w >/dev/null 2>&1 || true
}

# set_prefix_dpi PREFIX DPI: the display scale Wine reports to every program started later
# (HKCU\Control Panel\Desktop LogPixels: 96 is 100 %, 144 is 150 %, 192 is 200 %). Written into
# user.reg, so no server of the prefix may run meanwhile: a running one would write its own copy
# back.
set_prefix_dpi() {
    local reg="$1/user.reg" value
    value="$(printf 'dword:%08x' "$2")"
    awk -v value="$value" '
        pending && !/^#time=/ { print "\"LogPixels\"=" value; pending = 0 }
        /^\[/ { desktop = ($0 ~ /^\[Control Panel\\\\Desktop\]/); if (desktop) { found = 1; pending = 1 } }
        desktop && /^"LogPixels"=/ { next }
        { print }
        pending && /^#time=/ { print "\"LogPixels\"=" value; pending = 0 }
        END {
            if (pending) print "\"LogPixels\"=" value
            if (!found) print "\n[Control Panel\\\\Desktop]\n\"LogPixels\"=" value
        }
    ' "$reg" >"$reg.new" && mv "$reg.new" "$reg"
}
