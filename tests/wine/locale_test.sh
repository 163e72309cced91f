#!/usr/bin/env bash
# The language choice and the language files under real Windows locales, in Wine:
#   locale_test.sh <locale_probe.exe> <work folder>
# Each locale runs in its own clone of the test prefix ($WINEPREFIX, made by ./dev test; a
# fresh one is made when it is missing) with its own wineserver, because Wine takes the
# locale from LC_ALL when its server starts. Checks the code page, the language id and names,
# the language file chosen, and that UTF-8 values arrive byte for byte under the Chinese and
# Japanese code pages, where the system's profile reader changes them.
set -uo pipefail

PROBE="$1"
WORK="$2"
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/dev/wine.sh"
FAILED=0

rm -rf "$WORK"; mkdir -p "$WORK/Language"
for code in zh-cn zh-tw pt-pt en-us ja-jp de-de; do
    printf '[ROOT]\r\nTitle=%s\r\n' "$code" > "$WORK/Language/$code.ini"
done
# "简体中文 Grüße" holds the bytes 87 20, "テスト・日本語" the bytes 83 bb: both change when the
# file is read through code page 936 or 932 and back.
value_zh='简体中文 Grüße'
value_ja='テスト・日本語 Grüße'
printf '[ROOT]\r\nChinese=%s\r\nJapanese=%s\r\n' "$value_zh" "$value_ja" > "$WORK/texts.ini"

base="${WINEPREFIX:-}"
if [ -z "$base" ] || [ ! -f "$base/system.reg" ]; then
    base="$WORK/base-prefix"
    make_prefix "$base"
fi

winpath() { printf 'Z:%s' "${1//\//\\}"; }
hex_bytes() { printf '%s' "$1" | od -An -tx1 | tr -d ' \n'; }
hex_units() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16BE | od -An -tx1 | tr -d ' \n'; }

check() {  # description, expected, actual
    if [ "$2" = "$3" ]; then
        printf 'PASS  %s\n' "$1"
    else
        printf 'FAIL  %s\n      expected: %s\n      actual:   %s\n' "$1" "$2" "$3"
        FAILED=$((FAILED + 1))
    fi
}

# locale, code page, language id, ISO names, language file, key of the text to read
while read -r locale acp id language country file key; do
    prefix="$WORK/prefix-${locale%%.*}"
    clone_prefix "$base" "$prefix"
    output="$(LC_ALL="$locale" WINEPREFIX="$prefix" WINEDEBUG=-all \
        "$WINE64" "$PROBE" "$(winpath "$WORK/Language")" "$(winpath "$WORK/texts.ini")" "$key" </dev/null 2>&1 | tr -d '\r')"
    stop_wineserver "$prefix"
    rm -rf "$prefix"
    field() { sed -n "s/^$1=//p" <<<"$output"; }
    check "$locale: code page" "$acp" "$(field acp)"
    check "$locale: language id" "$id" "$(field wLanguage)"
    check "$locale: ISO 639 name" "$language" "$(field szLanguage)"
    check "$locale: ISO 3166 name" "$country" "$(field szCountry)"
    check "$locale: language file" "$file" "$(field file)"
    if [ "$key" != "-" ]; then
        value="$value_zh"; [ "$key" = Japanese ] && value="$value_ja"
        check "$locale: $key value arrives byte for byte" "$(hex_bytes "$value")" "$(field bytes)"
        check "$locale: $key value as UTF-16" "$(hex_units "$value")" "$(field units)"
        if [ "$(field system)" = "$(hex_bytes "$value")" ]; then
            printf 'NOTE  %s: the system reader kept the bytes too\n' "$locale"
        fi
    fi
done <<'TABLE'
zh_CN.UTF-8 936 0x0804 zh CN zh-cn.ini Chinese
ja_JP.UTF-8 932 0x0411 ja JP ja-jp.ini Japanese
zh_TW.UTF-8 950 0x0404 zh TW zh-tw.ini -
pt_BR.UTF-8 1252 0x0416 pt BR pt-pt.ini -
it_IT.UTF-8 1252 0x0410 it IT en-us.ini -
de_DE.UTF-8 1252 0x0407 de DE de-de.ini Chinese
TABLE

rm -rf "$WORK"
[ "$FAILED" = 0 ]
