# Wine and Xvfb helpers for ./dev. Sourced, not run.

# A fresh prefix per run, under the build folder. Usage: new_prefix DIR
new_prefix() {
    local dir="$1"
    rm -rf "$dir"; mkdir -p "$dir"
    WINEPREFIX="$dir" WINEDEBUG=-all "$WINE64" wineboot -i >/dev/null 2>&1 || true
    WINEPREFIX="$dir" "$WINESERVER64" -w || true
}

# Starts Xvfb on a free display unless one is set; exports DISPLAY.
XVFB_PID=""
ensure_display() {
    if [ -n "${DISPLAY:-}" ] && [ -z "${SETUP_FORCE_XVFB:-}" ]; then return 0; fi
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
    log "Xvfb did not start"; return 1
}

stop_display() {
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; XVFB_PID=""; fi
}
