# An X server for Wine's windows, shared by ./dev and the end-to-end scenarios. Sourced, not
# run; needs wait.sh.

XVFB_PID=""

# start_xvfb LOG [WIDTHxHEIGHT]: Xvfb on a display number it picks itself (-displayfd), so servers
# started side by side never collide. Exports DISPLAY once the server takes clients; sets
# XVFB_PID.
start_xvfb() {
    local log="$1" size="${2:-1024x768}" number_file
    number_file="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$number_file" >"$log" 2>&1 </dev/null &
    XVFB_PID=$!
    if ! wait_until test -s "$number_file" 5; then
        rm -f "$number_file"
        stop_xvfb
        echo "Xvfb did not start (its output: $log)" >&2
        return 1
    fi
    export DISPLAY=":$(tr -d '[:space:]' <"$number_file")"
    rm -f "$number_file"
}

stop_xvfb() {
    [ -n "$XVFB_PID" ] || return 0
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
}

# A display for ./dev: the caller's, unless SETUP_FORCE_XVFB is set or there is none; at most one
# Xvfb at a time.
ensure_display() {
    if [ -n "$XVFB_PID" ]; then return 0; fi
    if [ -n "${DISPLAY:-}" ] && [ -z "${SETUP_FORCE_XVFB:-}" ]; then return 0; fi
    start_xvfb /dev/null
}

stop_display() { stop_xvfb; }
