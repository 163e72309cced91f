#!/usr/bin/env bash
# Builds the release bundle: OUT_DIR/setup-<version>.zip, version from git describe (the commit
# when there is no tag). It holds the shipped i686 Setup.exe, setup-check for Linux (a release
# build without sanitizers, in build/linux-release, built here) and for Windows (i686), the
# sample medium assembled with the i686 programs, the medium reference with its pictures and a
# quick start.
#   tools/make_dist.sh [OUT_DIR]        (default: dist)
# Needs build/win32 built (./dev build, or ./dev dist, which builds it and calls this).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
OUT="${1:-$ROOT/dist}"
WIN32_BUILD="$ROOT/build/win32"
RELEASE_BUILD="$ROOT/build/linux-release"
TINYXML2_SRC="$ROOT/build/third_party/tinyxml2"

die() { echo "make_dist.sh: $*" >&2; exit 1; }

for built in Setup.exe setup-check.exe samples/installer/sample_installer.exe; do
    [ -f "$WIN32_BUILD/$built" ] || die "no $WIN32_BUILD/$built (./dev build first)"
done
[ -f "$TINYXML2_SRC/tinyxml2.cpp" ] || die "no TinyXML-2 sources in $TINYXML2_SRC (./dev build fetches them)"
version="$(git -C "$ROOT" describe --tags --always --dirty 2>/dev/null)" || die "$ROOT is no git checkout: no version"
name="setup-$version"

# The shipped checker: TinyXML-2, zlib and the C++ runtime inside, no sanitizers, stripped.
if [ ! -f "$RELEASE_BUILD/build.ninja" ]; then
    cmake -S "$ROOT" -B "$RELEASE_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel -DSETUP_BUILD_TESTS=OFF \
        -DSETUP_RELEASE_CHECKER=ON -DTINYXML2_SOURCE_DIR="$TINYXML2_SRC" >/dev/null
fi
cmake --build "$RELEASE_BUILD" --target setup-check >/dev/null

mkdir -p "$OUT"
OUT="$(cd "$OUT" && pwd)"
stage="$OUT/.stage-$name"
rm -rf "$stage"
trap 'rm -rf "$stage"' EXIT
bundle="$stage/$name"
mkdir -p "$bundle/docs"

cp "$WIN32_BUILD/Setup.exe" "$WIN32_BUILD/setup-check.exe" "$RELEASE_BUILD/setup-check" "$bundle/"
"$ROOT/tools/make_medium.sh" "$WIN32_BUILD" "$bundle/sample-medium" >/dev/null
rm "$bundle/sample-medium/.sample-medium"  # make_medium.sh's own mark, not part of a medium
cp "$ROOT/docs/medium.md" "$ROOT/docs/setup-check.md" "$ROOT/docs/run-log.md" "$bundle/docs/"
cp -R "$ROOT/docs/images" "$bundle/docs/images"
sed "s/@VERSION@/$version/" "$ROOT/tools/dist/QUICKSTART.txt" >"$bundle/QUICKSTART.txt"

rm -f "$OUT/$name.zip"
(cd "$stage" && zip -qrX "$OUT/$name.zip" "$name")
echo "$OUT/$name.zip"
