# The jobs behind ./dev demo|test|fuzz|bench. Sourced, not run.

TOTAL_PASSED=0
TOTAL_FAILED=0
TOTAL_SKIPPED=0

# How many tests a ctest run with these arguments would select, from ctest's own listing.
tests_selected() {  # build dir, ctest args...
    local dir="$1"; shift
    ctest --test-dir "$dir" --show-only=json-v1 "$@" | python3 "$ROOT/tools/dev/ctest_report.py" listed
}

# Runs ctest in a build folder and adds the counts of its JUnit report to the totals (and to
# RUN_PASSED, RUN_FAILED for the caller). A run that leaves no report counts as one failure.
# CTEST_LAUNCHER, when set, is the command that ctest runs under.
run_ctest() {  # build dir, extra ctest args...
    local dir="$1"; shift
    local report="$dir/ctest-junit.xml" counts passed failed skipped
    rm -f "$report"
    ${CTEST_LAUNCHER:-} ctest --test-dir "$dir" --output-on-failure --output-junit "$report" "$@" || true
    if [ -f "$report" ] && counts="$(python3 "$ROOT/tools/dev/ctest_report.py" junit "$report")"; then
        read -r passed failed skipped <<<"$counts"
    else
        log "ctest left no report in $dir"
        passed=0 failed=1 skipped=0
    fi
    RUN_PASSED=$passed RUN_FAILED=$failed
    TOTAL_PASSED=$((TOTAL_PASSED + passed))
    TOTAL_FAILED=$((TOTAL_FAILED + failed))
    TOTAL_SKIPPED=$((TOTAL_SKIPPED + skipped))
    return 0
}

# The tests of the last run in a build folder that failed, once more. Only for the i686 phase:
# Debian's 32-bit Wine has no preloader to reserve its address ranges before anything else maps
# there, so now and then a 32-bit process dies before it starts ("failed to map the shared user
# data") or never answers. Both runs' failures are named; the totals keep the second run's.
rerun_failed_once() {  # build dir
    local dir="$1" first_failed="$RUN_FAILED" names
    [ "$first_failed" -gt 0 ] && [ -f "$dir/Testing/Temporary/LastTestsFailed.log" ] || return 0
    names="$(tr '\n' ' ' <"$dir/Testing/Temporary/LastTestsFailed.log" 2>/dev/null | sed 's/[0-9]*://g')"
    log "failed at the first run, run once more: $names"
    TOTAL_FAILED=$((TOTAL_FAILED - first_failed))
    local passed_before=$TOTAL_PASSED
    # Fixture set-ups that ctest adds to the rerun count as passed there: only the failed tests' outcomes count.
    run_ctest "$dir" --rerun-failed
    TOTAL_PASSED=$((passed_before + first_failed - RUN_FAILED))
    if [ "$RUN_FAILED" -eq 0 ]; then log "all of them passed the second time"; fi
}

# The prefix that ctest's Wine programs run in, with its server started before ctest: without
# one, every test waits about 3 s for a server that inherited ctest's output pipe.
start_wine() {  # prefix dir
    export WINEPREFIX="$1" WINEDEBUG=-all
    make_prefix "$WINEPREFIX"
    start_wineserver "$WINEPREFIX" ""
}

stop_wine() { stop_wineserver "$WINEPREFIX"; }

build_fuzz() {
    CXX=clang++ configure fuzz -DCMAKE_BUILD_TYPE=Debug -DSETUP_FUZZ=ON
    log "building fuzz"
    cmake --build "$ROOT/build/fuzz" >/dev/null
}

# Every test, or those that the ctest arguments select (./dev test -R e2e.pages): the same
# arguments go to each ctest run, and a part with nothing selected starts neither Xvfb nor Wine.
# What each part selects is listed before any runs, since a listing replaces ctest's LastTest.log.
run_tests() {  # ctest arguments...
    local started_all=$SECONDS started
    # Wine names files in the charset of its locale, and the tests name some beyond ASCII.
    [ "$(locale charmap 2>/dev/null)" = UTF-8 ] || export LC_ALL=C.UTF-8
    build_fuzz
    choose_i686_runner
    local only=()
    if [ "$I686_RUNNER" = qemu ]; then only=(-LE win32_prefix); fi
    local native win64 i686 fuzz
    native="$(tests_selected "$ROOT/build/native" "$@")"
    win64="$(tests_selected "$ROOT/build/win64" -LE i686 "$@")"
    i686="$(tests_selected "$ROOT/build/win64" -L i686 "${only[@]}" "$@")"
    fuzz="$(tests_selected "$ROOT/build/fuzz" "$@")"

    if [ "$native" -gt 0 ]; then
        log "native tests (AddressSanitizer, UndefinedBehaviorSanitizer)"
        run_ctest "$ROOT/build/native" "$@"
    fi

    if [ "$win64" -gt 0 ]; then
        log "Windows tests under wine64"
        started=$SECONDS
        ensure_display
        start_wine "$ROOT/build/win64/wineprefix"
        run_ctest "$ROOT/build/win64" -LE i686 "$@"
        stop_wine
        log "x86_64 Windows tests: $((SECONDS - started)) s"
    fi

    # The shipped build, as 64-bit Windows runs it: WoW64, in a prefix made while 32-bit Wine works.
    if [ "$i686" -gt 0 ]; then
        log "the shipped i686 build under WoW64"
        if [ "$I686_RUNNER" = qemu ]; then
            log "not under qemu-i386: the 32-bit Windows prefix (label win32_prefix, see tests/e2e/CMakeLists.txt)"
        fi
        started=$SECONDS
        ensure_display
        start_i686
        start_wine "$ROOT/build/win64/wineprefix-wow64"
        # Without address-space randomisation 32-bit Wine's reserved ranges are always free.
        CTEST_LAUNCHER="setarch $(uname -m) -R" run_ctest "$ROOT/build/win64" -L i686 "${only[@]}" "$@"
        CTEST_LAUNCHER="setarch $(uname -m) -R" rerun_failed_once "$ROOT/build/win64"
        stop_wine
        stop_i686
        log "i686 tests ($I686_RUNNER): $((SECONDS - started)) s"
    fi
    stop_display

    if [ "$fuzz" -gt 0 ]; then
        log "fuzz smoke"
        SETUP_FUZZ_SECONDS="${SETUP_FUZZ_SECONDS:-5}" run_ctest "$ROOT/build/fuzz" "$@"
    fi

    echo
    log "tests took $((SECONDS - started_all)) s"
    if [ $((TOTAL_PASSED + TOTAL_FAILED)) = 0 ]; then
        echo "no test matches: $*"
        return 1
    fi
    echo "all: $TOTAL_PASSED passed, $TOTAL_FAILED failed, $TOTAL_SKIPPED skipped"
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
    [ -f "$WINEPREFIX/system.reg" ] || make_prefix "$WINEPREFIX"
    log "running $medium/Setup.exe ($arch) on DISPLAY=$DISPLAY"
    "$WINE64" "$medium/Setup.exe" &
    local pid=$!
    wait "$pid" || true
    stop_i686
    stop_display
}

# The start-up rounds include i686 programs (the shipped Setup.exe and its NSIS peer): 32-bit
# Wine has to work before the bench's prefix is made.
run_bench() {
    "$ROOT/tests/checker/bench.sh"
    if [ -x "$ROOT/tests/e2e/bench.sh" ]; then
        ensure_display
        start_i686
        "$ROOT/tests/e2e/bench.sh"
        stop_i686
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

# ./dev preview [MEDIUM] [OPTIONS]: the real Setup.exe on a copy of MEDIUM (default: the sample
# medium in build/medium) in every language, page by page, under Wine and Xvfb; pictures, a
# contact sheet and the texts that do not fit in build/preview (docs/preview.md).
run_preview() {
    local medium="" options=()
    while [ $# -gt 0 ]; do
        case "$1" in
            --out|--locale|--language|--workers|--scale) options+=("$1" "${2:-}"); shift 2 || shift ;;
            -*) options+=("$1"); shift ;;
            *) if [ -z "$medium" ]; then medium="$1"; else options+=("$1"); fi; shift ;;
        esac
    done
    configure native "${NATIVE_ARGS[@]}"
    configure win64 "${WIN64_ARGS[@]}"
    log "building setup-check (native) and the preview's programs (win64)"
    cmake --build "$ROOT/build/native" --target setup-check >/dev/null
    cmake --build "$ROOT/build/win64" --target Setup window_facts e2e_probe e2e_wineboot_stub preview_measure preview_stand_in \
        sample_installer i686_mmap_shim >/dev/null
    if [ -z "$medium" ]; then
        "$ROOT/tools/make_medium.sh" "$ROOT/build/win64" "$ROOT/build/medium" >/dev/null
        medium="$ROOT/build/medium"
    fi
    bash "$ROOT/tools/preview/make_prefix.sh" "$ROOT/build/preview-prefix"
    local rc=0
    /usr/bin/python3 "$ROOT/tools/preview/preview.py" --build "$ROOT/build/win64" \
        --setup-check "$ROOT/build/native/setup-check" --base-prefix "$ROOT/build/preview-prefix" \
        "${options[@]}" "$medium" || rc=$?
    return "$rc"
}
