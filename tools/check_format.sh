#!/usr/bin/env bash
# Checks that every C and C++ source of the tree is as clang-format (.clang-format) writes it.
# Lists the files that are not and shows how to mend them. Usage: check_format.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "${BASH_SOURCE[0]}")/..}"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.c' '*.cpp' '*.h')
else
    mapfile -t files < <(find src tests tools samples -name '*.c' -o -name '*.cpp' -o -name '*.h' | sort)
fi
[ "${#files[@]}" -gt 0 ] || { echo "no sources found in $PWD" >&2; exit 2; }
unformatted=()
for file in "${files[@]}"; do
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then unformatted+=("$file"); fi
done
if [ "${#unformatted[@]}" -gt 0 ]; then
    printf 'not formatted: %s\n' "${unformatted[@]}"
    echo "mend with: clang-format -i ${unformatted[*]}"
    exit 1
fi
echo "${#files[@]} sources formatted as .clang-format says"
