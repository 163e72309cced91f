# Configuring the build folders for ./dev. Sourced, not run; needs log and ROOT.
#
# A folder is configured when it has no build files yet and again whenever what it was configured
# with changes: the arguments, the compilers named in the environment, or the contents of the
# toolchain file. CMake keeps the compilers and the toolchain of a cache it already has, so a
# change starts from a fresh cache; ninja then rebuilds what the new settings compile differently.

CONFIGURE_STAMP=.dev-configured

configure_fingerprint() {  # cmake arguments...
    printf '%s\n' "$@" "CC=${CC:-}" "CXX=${CXX:-}"
    local arg
    for arg in "$@"; do
        case "$arg" in
            -DCMAKE_TOOLCHAIN_FILE=*) sha256sum <"${arg#*=}" ;;
        esac
    done
}

configure_folder() {  # build dir, cmake arguments...
    local dir="$1"; shift
    local stamp="$dir/$CONFIGURE_STAMP" wanted
    wanted="$(configure_fingerprint "$@")"
    if [ -f "$dir/build.ninja" ] && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$wanted" ]; then return 0; fi
    local fresh=()
    if [ -f "$dir/CMakeCache.txt" ]; then
        fresh=(--fresh)
        log "configuring ${dir#"$ROOT"/} afresh: its options, compilers or toolchain file changed"
    fi
    rm -f "$stamp"
    cmake "${fresh[@]}" -S "$ROOT" -B "$dir" -G Ninja "$@" >/dev/null || return 1
    printf '%s\n' "$wanted" >"$stamp"
}
