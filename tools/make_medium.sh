#!/usr/bin/env bash
# Assembles the sample installation medium that ./dev demo opens: everything in
# samples/medium (conf.xml, the language files, the installer plans and the manuals), Setup.exe
# and the sample installer from a Windows build, and the skin that make_skin.sh draws. Each
# installer plan gets its own copy of the sample installer: Setup/Scope/setup.ini is read by
# Setup/Scope/setup.exe.
#   tools/make_medium.sh BUILD_DIR OUT_DIR
set -euo pipefail
BUILD="${1:?usage: make_medium.sh BUILD_DIR OUT_DIR}"
OUT="${2:?usage: make_medium.sh BUILD_DIR OUT_DIR}"
TOOLS="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
SAMPLE="$TOOLS/../samples/medium"
INSTALLER_EXE="$BUILD/samples/installer/sample_installer.exe"

for built in "$BUILD/Setup.exe" "$INSTALLER_EXE"; do
    [ -f "$built" ] || { echo "make_medium.sh: no $built (build first)" >&2; exit 1; }
done
# Only a folder this script made (or a new one) is cleared.
if [ -e "$OUT" ] && [ ! -f "$OUT/.sample-medium" ]; then
    echo "make_medium.sh: $OUT exists and is not a sample medium; not touching it" >&2
    exit 1
fi
rm -rf "$OUT"
mkdir -p "$OUT"
touch "$OUT/.sample-medium"

cp -R "$SAMPLE/." "$OUT/"
cp "$BUILD/Setup.exe" "$OUT/Setup.exe"
find "$OUT/Setup" -name '*.ini' -print0 | while IFS= read -r -d '' plan; do
    cp "$INSTALLER_EXE" "${plan%.ini}.exe"
done
bash "$TOOLS/make_skin.sh" "$OUT/ImageIcon" >/dev/null

echo "sample medium in $OUT"
