# The jobs behind ./dev demo|test|fuzz|bench. Sourced, not run.

TOTAL_PASSED=0
TOTAL_FAILED=0

# Runs ctest in a build folder and adds its counts to the totals.
run_ctest() {  # build dir, extra ctest args...
    local dir="$1"; shift
    local out; out="$(mktemp)"
    local rc=0
    ctest --test-dir "$dir" --output-on-failure "$@" 2>&1 | tee "$out" || rc=$?
    local line; line="$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -1 || true)"
    if [ -n "$line" ]; then
        local failed total
        failed="$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")"
        total="$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")"
        TOTAL_PASSED=$((TOTAL_PASSED + total - failed))
        TOTAL_FAILED=$((TOTAL_FAILED + failed))
    elif grep -q 'No tests were found' "$out"; then
        :
    else
        TOTAL_FAILED=$((TOTAL_FAILED + 1))
    fi
    rm -f "$out"
    return 0
}

# Wine needs a running server before ctest starts, or every test waits for the
# server to inherit and release ctest's output pipe.
start_wine() {  # prefix dir
    export WINEPREFIX="$1" WINEDEBUG=-all
    new_prefix "$WINEPREFIX"
    "$WINESERVER64" -p
    "$WINE64" cmd /c exit >/dev/null 2>&1 || true
}

stop_wine() {
    "$WINESERVER64" -k 2>/dev/null || true
    "$WINESERVER64" -w 2>/dev/null || true
}

build_fuzz() {
    local dir="$ROOT/build/fuzz"
    if [ ! -f "$dir/build.ninja" ]; then
        CXX=clang++ cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSETUP_FUZZ=ON \
            -DTINYXML2_SOURCE_DIR="$TINYXML2_SRC" >/dev/null
    fi
    log "building fuzz"
    cmake --build "$dir" >/dev/null
}

run_tests() {
    log "native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
    run_ctest "$ROOT/build/native"

    log "Windows tests under wine64"
    ensure_display
    local started=$SECONDS
    start_wine "$ROOT/build/win64/wineprefix"
    run_ctest "$ROOT/build/win64" -LE i686
    stop_wine
    log "x86_64 Windows tests: $((SECONDS - started)) s"

    # The shipped build, as 64-bit Windows runs it: WoW64, in a prefix made while 32-bit Wine works.
    log "the shipped i686 build under WoW64"
    started=$SECONDS
    start_i686
    local only=()
    if [ "$I686_RUNNER" = qemu ]; then
        log "not under qemu-i386: the 32-bit Windows prefix (label win32_prefix, see tests/e2e/CMakeLists.txt)"
        only=(-LE win32_prefix)
    fi
    start_wine "$ROOT/build/win64/wineprefix-wow64"
    run_ctest "$ROOT/build/win64" -L i686 "${only[@]}"
    stop_wine
    stop_i686
    log "i686 tests ($I686_RUNNER): $((SECONDS - started)) s"
    stop_display

    log "fuzz smoke"
    build_fuzz
    SETUP_FUZZ_SECONDS="${SETUP_FUZZ_SECONDS:-5}" run_ctest "$ROOT/build/fuzz"

    echo
    echo "all: $TOTAL_PASSED passed, $TOTAL_FAILED failed"
    [ "$TOTAL_FAILED" = 0 ]
}

run_fuzz() {
    build_fuzz
    SETUP_FUZZ_SECONDS="$1" ctest --test-dir "$ROOT/build/fuzz" --output-on-failure --timeout 0
}

# ARCH=i686 opens the shipped i686 build under WoW64 instead of the x86_64 test build; the
# sample installers stay x86_64 programs.
run_demo() {
    local arch=x86_64 arg
    for arg in "$@"; do
        case "$arg" in
            ARCH=x86_64|ARCH=i686) arch="${arg#ARCH=}" ;;
            *) log "unknown demo option $arg (ARCH=x86_64 or ARCH=i686)"; return 2 ;;
        esac
    done
    local medium="$ROOT/build/medium" prefix="$ROOT/build/demo-prefix"
    "$ROOT/tools/make_medium.sh" "$ROOT/build/win64" "$medium"
    if [ "$arch" = i686 ]; then
        cp "$ROOT/build/win32/Setup.exe" "$medium/Setup.exe"
        prefix="$ROOT/build/demo-prefix-wow64"
        start_i686
    fi
    ensure_display
    export WINEPREFIX="$prefix" WINEDEBUG=-all
    [ -f "$WINEPREFIX/system.reg" ] || new_prefix "$WINEPREFIX"
    log "running $medium/Setup.exe ($arch) on DISPLAY=$DISPLAY"
    "$WINE64" "$medium/Setup.exe" &
    local pid=$!
    wait "$pid" || true
    stop_i686
    stop_display
}

run_bench() {
    "$ROOT/tests/checker/bench.sh"
    if [ -x "$ROOT/tests/e2e/bench.sh" ]; then
        ensure_display
        "$ROOT/tests/e2e/bench.sh"
        stop_display
    fi
}

# ./dev dist: the release bundle dist/setup-<version>.zip from the shipped i686 build.
run_dist() {
    configure_and_build win32 "${WIN32_ARGS[@]}"
    log "packing the release bundle"
    "$ROOT/tools/make_dist.sh" "$ROOT/dist"
}

# The sample medium in build/medium, from the win64 build's Setup.exe and sample installer.
make_sample_medium() {
    configure win64 "${WIN64_ARGS[@]}"
    log "building the sample medium's programs (win64)"
    cmake --build "$ROOT/build/win64" --target Setup e2e_installer >/dev/null
    "$ROOT/tools/make_medium.sh" "$ROOT/build/win64" "$ROOT/build/medium" >/dev/null
}

# ./dev check [MEDIUM] [OPTIONS]: setup-check, built natively, on MEDIUM or the sample medium.
run_check() {
    local medium="" options=()
    while [ $# -gt 0 ]; do
        case "$1" in
            --locale|--codepage) options+=("$1" "${2:-}"); shift 2 || shift ;;
            -*) options+=("$1"); shift ;;
            *) if [ -z "$medium" ]; then medium="$1"; else options+=("$1"); fi; shift ;;
        esac
    done
    configure native "${NATIVE_ARGS[@]}"
    log "building setup-check (native)"
    cmake --build "$ROOT/build/native" --target setup-check >/dev/null
    if [ -z "$medium" ]; then
        make_sample_medium
        medium="$ROOT/build/medium"
    fi
    "$ROOT/build/native/setup-check" "${options[@]}" "$medium"
}
