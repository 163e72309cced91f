#!/usr/bin/env bash
# The sample medium's texts fit their controls in every language and at each display scale
# given: ./dev preview of the whole sample finds nothing.
# Usage: sample_test.sh SOURCE_DIR BUILD_DIR SETUP_CHECK BASE_PREFIX WORK_DIR SCALE...
set -u
source_dir="$1" build="$2" checker="$3" base_prefix="$4" work="$5"
shift 5
rm -rf "$work"
mkdir -p "$work"
bash "$source_dir/tools/make_medium.sh" "$build" "$work/medium" >/dev/null || exit 1
failures=0
for scale in "$@"; do
    /usr/bin/python3 "$source_dir/tools/preview/preview.py" --build "$build" --setup-check "$checker" \
        --base-prefix "$base_prefix" --out "$work/$scale" --scale "$scale" "$work/medium"
    rc=$?
    echo "== the sample at $scale %: exit status $rc (0: every text fits in every language)"
    [ "$rc" = 0 ] || failures=$((failures + 1))
done
[ "$failures" = 0 ] && rm -rf "$work"
[ "$failures" = 0 ]
