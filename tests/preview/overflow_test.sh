#!/usr/bin/env bash
# ./dev preview end to end, kept small: a medium in English and German whose English install
# button caption is too long for the button (shown on two pages) and whose other texts are
# short. Previewing English alone must run that one language through every page, report exactly
# that control, frame it in its pictures, write the sheet and leave the vendor's files alone; and
# at 200 % find the same caption in pictures of the window at that scale.
# Usage: overflow_test.sh SOURCE_DIR BUILD_DIR SETUP_CHECK BASE_PREFIX WORK_DIR
set -u
source_dir="$1" build="$2" checker="$3" base_prefix="$4" work="$5"
CONVERT=/usr/bin/convert
failures=0
pass() { echo "PASS  $1"; }
fail() { echo "FAIL  $1"; shift; for line in "$@"; do echo "      $line"; done; failures=$((failures + 1)); }
check_eq() { if [ "$2" = "$3" ]; then pass "$1"; else fail "$1" "expected: $2" "actual:   $3"; fi; }

LONG_CAPTION="Install everything on this computer now"
medium="$work/medium"
out="$work/out"
rm -rf "$work"
mkdir -p "$medium/Language" "$medium/Setup/Main" "$medium/Setup/Tools" "$medium/Manuals"

cat >"$medium/conf.xml" <<'EOF'
<?xml version="1.0" encoding="utf-8"?>
<setup>
  <ui showIcon="1"/>
  <installs showIcon="1">
    <item strId="ITEM0" open="Setup/Main/setup.exe" default="1" icon="2"/>
    <item strId="ITEM1" open="Setup/Tools/{language}*.exe" defaultLanguage="en" icon="1"/>
    <item strId="ITEM2" icon="3"/>
  </installs>
  <manuals showIcon="1">
    <item strId="ITEM3" open="Manuals/guide.txt" icon="0"/>
  </manuals>
</setup>
EOF
{
    echo '<?xml version="1.0" encoding="utf-8"?>'
    echo '<ui>'
    for k in $(seq 0 36); do printf '  <text a="%d" b="0">K%02d</text>\n' "$k" "$k"; done
    echo '</ui>'
} >"$medium/Language/UICfg.xml"
# Slot k reads "S<k>" (entries 35 and 36 fill slots 36 and 37), but for the countdown's lead,
# which has 33 px before the seconds.
language_file() {  # install button caption
    echo '[ROOT]'
    for k in $(seq 0 36); do
        slot=$k; [ "$k" -ge 35 ] && slot=$((k + 1))
        case $slot in
            17) printf 'K%02d = %s\n' "$k" "$1" ;;
            30) printf 'K%02d = In\n' "$k" ;;
            *) printf 'K%02d = S%d\n' "$k" "$slot" ;;
        esac
    done
    for item in 0 1 2 3; do printf 'ITEM%d = Item %d\n' "$item" "$item"; done
}
language_file "$LONG_CAPTION" >"$medium/Language/en-us.ini"
language_file "S17" >"$medium/Language/de-de.ini"
for installer in Setup/Main/setup.exe Setup/Tools/en-tools.exe Setup/Tools/de-tools.exe; do
    echo "a vendor's installer: never run" >"$medium/$installer"
done
echo "guide" >"$medium/Manuals/guide.txt"
bash "$source_dir/tools/make_skin.sh" "$medium/ImageIcon" >/dev/null

started=$SECONDS
/usr/bin/python3 "$source_dir/tools/preview/preview.py" --build "$build" --setup-check "$checker" \
    --base-prefix "$base_prefix" --out "$out" --json --language en-us "$medium" >"$work/report.json" 2>"$work/log.txt"
rc=$?
echo "preview: exit status $rc after $((SECONDS - started)) s"
sed 's/^/      /' "$work/log.txt"

check_eq "texts that do not fit: exit status 1" 1 "$rc"
summary="$(/usr/bin/python3 - "$work/report.json" <<'EOF'
import json, sys
report = json.load(open(sys.argv[1]))
print(" ".join(language["code"] for language in report["languages"]))
print(" ".join(language["locale"] for language in report["languages"]))
print(" ".join(f'{language["pages"][-1]} {language["installersRun"]}' for language in report["languages"]))
print(len(report["overflows"]))
for overflow in report["overflows"]:
    print(overflow["control"], overflow["slot"], overflow["kind"], overflow["problem"], ",".join(overflow["pages"]),
          overflow["code"], overflow["locale"], overflow["needed"]["width"] > overflow["available"]["width"],
          overflow["available"]["width"], overflow["image"], "|" + overflow["text"])
print(len(report["problems"]), " / ".join(problem["message"] for problem in report["problems"]))
EOF
)" || fail "the JSON report reads" "$(head -c 400 "$work/report.json")"
mapfile -t lines <<<"$summary"
check_eq "only the language asked for is previewed" "en-us" "${lines[0]:-}"
check_eq "under a locale whose user gets that file" "en_US" "${lines[1]:-}"
check_eq "its walk reaches the restart countdown, after a stand-in ran for each installer with a rule" \
    "restart 2" "${lines[2]:-}"
check_eq "exactly one text does not fit" "1" "${lines[3]:-}"
check_eq "it is the install button's caption, on both pages that show it" \
    "1016 17 button overflow default,custom en-us en_US True 136 en-us/default.png |$LONG_CAPTION" "${lines[4]:-}"
check_eq "no notes: every page shown, no box, no restart request" "0 " "${lines[5]:-}"

for page in menu default custom manuals progress finish restart; do
    [ -s "$out/en-us/$page.png" ] || fail "the $page page's picture is written"
done
[ -d "$out/de-de" ] && fail "no picture of a language not asked for"
if [ -s "$out/index.html" ] && grep -q 'href="en-us/default.png"' "$out/index.html" &&
    grep -q "$LONG_CAPTION" "$out/index.html"; then
    pass "the sheet is written, with the pictures and the text that does not fit"
else
    fail "the sheet is written, with the pictures and the text that does not fit"
fi

# The frame: red on the button's left edge where it does not fit, not where it fits.
pixel() { "$CONVERT" "$1" -format "%[hex:u.p{$2,$3}]" info: 2>/dev/null | cut -c1-6; }
check_eq "the install button is framed in red on the default page" "E00000" "$(pixel "$out/en-us/default.png" 487 532)"
check_eq "the back button beside it is not" "no" \
    "$([ "$(pixel "$out/en-us/default.png" 268 532)" = E00000 ] && echo yes || echo no)"

for installer in Setup/Main/setup.exe Setup/Tools/en-tools.exe; do
    check_eq "the medium's $installer is untouched" "a vendor's installer: never run" "$(cat "$medium/$installer")"
done
grep -q "previewed 1 language in [0-9]* s" "$work/log.txt" && pass "the time taken is printed" ||
    fail "the time taken is printed"
[ -e "$out/.work" ] && fail "the medium copy and the prefix clones are removed"

# At 200 %: the window twice as large, its button too, the caption still too long.
/usr/bin/python3 "$source_dir/tools/preview/preview.py" --build "$build" --setup-check "$checker" \
    --base-prefix "$base_prefix" --out "$work/out-200" --json --language en-us --scale 200 "$medium" \
    >"$work/report-200.json" 2>"$work/log-200.txt"
rc=$?
check_eq "at 200 %: exit status 1, the one caption on both pages, in a button of 272 px, noted as at 200 %" \
    "1 200 1016 default,custom 272" "$rc $(/usr/bin/python3 -c '
import json, sys
report = json.load(open(sys.argv[1]))
print(report["scale"], " ".join(f"""{o["control"]} {",".join(o["pages"])} {o["available"]["width"]}"""
                                for o in report["overflows"]))' "$work/report-200.json" 2>&1)"
check_eq "at 200 %: the pictures are of the window at 200 %" "1600 1140" \
    "$("$CONVERT" "$work/out-200/en-us/menu.png" -format '%w %h' info: 2>&1)"

[ "$failures" = 0 ] && rm -rf "$work"
echo "== preview.overflow: $failures failed"
[ "$failures" = 0 ]
