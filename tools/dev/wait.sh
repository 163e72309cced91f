# Waiting for a condition instead of sleeping. Sourced by ./dev and by the end-to-end scenarios
# (tests/e2e/lib.sh), not run.

# Microseconds since 1970, without starting a process. EPOCHREALTIME's decimal point follows the
# locale, so every non-digit is dropped rather than the point alone.
now_us() { local t="${EPOCHREALTIME//[!0-9]/}"; echo "$((10#$t))"; }
now_ms() { echo $(($(now_us) / 1000)); }

# A duration in seconds ("3", "0.5", "1.25") as microseconds.
seconds_to_us() {
    local whole="${1%%.*}" fraction=""
    [[ $1 == *.* ]] && fraction="${1#*.}"
    fraction="${fraction}000000"
    echo $(( 10#${whole:-0} * 1000000 + 10#${fraction:0:6} ))
}

# wait_until CONDITION... TIMEOUT: runs CONDITION (a command and its arguments) until it succeeds,
# for at most TIMEOUT seconds; returns 1 when the time is up. A pause that runs past the deadline
# is still followed by one more try. WAIT_INTERVAL
# (seconds, default 0.05) is the pause between tries; 0 tries again at once, for a condition
# that waits by itself or whose moment matters.
wait_until() {
    if [ $# -lt 2 ]; then
        echo "wait_until: usage: wait_until CONDITION... TIMEOUT" >&2
        return 2
    fi
    local timeout="${*: -1}"
    local condition=("${@:1:$#-1}")
    local interval="${WAIT_INTERVAL:-0.05}"
    local deadline=$(( $(now_us) + $(seconds_to_us "$timeout") ))
    while :; do
        "${condition[@]}" && return 0
        [ "$(now_us)" -lt "$deadline" ] || return 1
        [ "$interval" = 0 ] || sleep "$interval"
    done
}
