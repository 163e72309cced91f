#!/usr/bin/env bash
# configure_folder (tools/dev/configure.sh): a build folder is configured when it has none of its
# files yet and again, from a fresh cache, whenever its arguments, the compilers named in the
# environment or the toolchain file's contents change; otherwise cmake is not run at all.
set -u
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
ROOT="$work/source"
mkdir -p "$ROOT" "$work/bin"
log() { :; }
source "$here/../../tools/dev/configure.sh"

# A stand-in cmake that records how it was called and writes what a configure run leaves.
cat >"$work/bin/cmake" <<'STUB'
#!/usr/bin/env bash
echo "$*" >>"$CMAKE_CALLS"
while [ $# -gt 0 ]; do case "$1" in -B) dir="$2"; shift 2 ;; *) shift ;; esac; done
mkdir -p "$dir"; touch "$dir/build.ninja" "$dir/CMakeCache.txt"
STUB
chmod +x "$work/bin/cmake"
export PATH="$work/bin:$PATH" CMAKE_CALLS="$work/calls"
toolchain="$work/toolchain.cmake"
echo 'set(CMAKE_SYSTEM_NAME Windows)' >"$toolchain"

failures=0
# step, what to do before, arguments, CXX, expected: none (cmake not run), first, fresh
while IFS='|' read -r step before args cxx want; do
    [ "$before" = - ] || eval "$before"
    : >"$CMAKE_CALLS"
    CXX="$cxx" configure_folder "$work/build" $args
    calls="$(cat "$CMAKE_CALLS")"
    if [ -z "$calls" ]; then got=none; elif [[ $calls == --fresh* ]]; then got=fresh; else got=first; fi
    if [ "$got" = "$want" ]; then echo "ok   $step: $got"
    else echo "FAIL $step: expected $want, cmake was called: ${calls:-not at all}"; failures=$((failures + 1)); fi
done <<EOF_TABLE
a new folder is configured|-|-DA=1 -DCMAKE_TOOLCHAIN_FILE=$toolchain||first
the same again runs nothing|-|-DA=1 -DCMAKE_TOOLCHAIN_FILE=$toolchain||none
a changed option starts afresh|-|-DA=2 -DCMAKE_TOOLCHAIN_FILE=$toolchain||fresh
an option left out starts afresh|-|-DCMAKE_TOOLCHAIN_FILE=$toolchain||fresh
a changed toolchain file starts afresh|echo 'set(CMAKE_C_COMPILER x)' >>"$toolchain"|-DCMAKE_TOOLCHAIN_FILE=$toolchain||fresh
another compiler starts afresh|-|-DCMAKE_TOOLCHAIN_FILE=$toolchain|clang++|fresh
the same compiler runs nothing|-|-DCMAKE_TOOLCHAIN_FILE=$toolchain|clang++|none
lost build files are made again|rm "$work/build/build.ninja"|-DCMAKE_TOOLCHAIN_FILE=$toolchain|clang++|fresh
EOF_TABLE

# A configure run that fails leaves no stamp: the next run tries again.
printf '#!/bin/sh\nexit 1\n' >"$work/bin/cmake"
(configure_folder "$work/build" -DB=1) >/dev/null 2>&1
if [ -f "$work/build/$CONFIGURE_STAMP" ]; then echo "FAIL a failed configure run leaves a stamp"; failures=$((failures + 1))
else echo "ok   a failed configure run leaves no stamp"; fi

[ "$failures" = 0 ] && echo "configure_folder: all checks passed"
[ "$failures" = 0 ]
