#!/usr/bin/env bash
# setup-check's speed, natively (the sanitizer build that ./dev builds): the sample medium
# (goal: under 1 s) and a generated medium of 200 items in 11 languages (goal: under 5 s). Each
# figure is the median of five runs. Prints the figures; ./dev bench runs it.
#   tests/checker/bench.sh [NATIVE_BUILD_DIR]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${1:-$ROOT/build/native}"
CHECK="$BUILD/setup-check"
WORK="$ROOT/build/checker-bench"
[ -x "$CHECK" ] || { echo "bench.sh: no $CHECK (build first)" >&2; exit 1; }
rm -rf "$WORK"
mkdir -p "$WORK"

# The median wall time of five runs, in milliseconds.
median_ms() {  # medium
    local times=()
    for _ in 1 2 3 4 5; do
        local start end
        start=$(date +%s%N)
        "$CHECK" --json "$1" >/dev/null || true
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}

# 200 items (150 installers, half of them per language, and 50 manuals), 11 language files with
# every text, the full interface table and the skin of the sample medium.
generate_medium() {  # folder, skin folder
    local out="$1" codes=(de-de en-us fr-fr ja-jp ko-ko nl-nl pl-pl pt-pt ru-ru zh-cn zh-tw)
    mkdir -p "$out/Language" "$out/ImageIcon"
    cp "$2"/*.png "$out/ImageIcon/"
    {
        echo '<?xml version="1.0" encoding="utf-8"?>'
        echo '<setup debug="no"><ui showIcon="1"/><installs showIcon="1">'
        for i in $(seq 0 149); do
            if [ $((i % 2)) = 0 ]; then
                echo "  <item strId=\"ITEM$i\" open=\"Setup/P$i/{language}/setup.exe\" icon=\"2\"/>"
            else
                echo "  <item strId=\"ITEM$i\" open=\"Setup/P$i/*.exe\" default=\"1\" icon=\"1\"/>"
            fi
        done
        echo '</installs><manuals showIcon="1">'
        for i in $(seq 150 199); do echo "  <item strId=\"ITEM$i\" open=\"Manuals/{language}/doc$i.pdf\" icon=\"0\"/>"; done
        echo '</manuals></setup>'
    } >"$out/conf.xml"
    {
        echo '<ui>'
        for i in $(seq 0 36); do echo "  <text a=\"$i\" b=\"0\">UI_$i</text>"; done
        echo '</ui>'
    } >"$out/Language/UICfg.xml"
    for code in "${codes[@]}"; do
        {
            echo '[ROOT]'
            for i in $(seq 0 36); do echo "UI_$i = $code interface text $i"; done
            for i in $(seq 0 199); do echo "ITEM$i = $code item $i"; done
        } >"$out/Language/$code.ini"
    done
    for i in $(seq 0 149); do
        if [ $((i % 2)) = 0 ]; then
            for code in "${codes[@]}"; do mkdir -p "$out/Setup/P$i/$code" && : >"$out/Setup/P$i/$code/setup.exe"; done
        else
            mkdir -p "$out/Setup/P$i" && : >"$out/Setup/P$i/setup.exe"
        fi
    done
    for code in "${codes[@]}"; do
        mkdir -p "$out/Manuals/$code"
        for i in $(seq 150 199); do : >"$out/Manuals/$code/doc$i.pdf"; done
    done
}

sample="$ROOT/build/medium"
if [ ! -f "$sample/conf.xml" ]; then
    "$ROOT/tools/make_medium.sh" "$(dirname "$BUILD")/win64" "$sample" >/dev/null
fi
generate_medium "$WORK/generated" "$sample/ImageIcon"

sample_ms=$(median_ms "$sample")
generated_ms=$(median_ms "$WORK/generated")
echo
echo "setup-check (native build, 31 locales, median of 5 runs)"
printf '  sample medium:                      %6d ms   (goal: under 1000 ms)\n' "$sample_ms"
printf '  200 items, 11 languages (generated): %5d ms   (goal: under 5000 ms)\n' "$generated_ms"
