#!/usr/bin/env bash
# Makes the Wine prefix that every end-to-end scenario clones: Setup's prefix (make_setup_prefix
# of tools/dev/wine.sh: a CJK font, no crash dialog), made without a display.
# Usage: make_base_prefix.sh DIR
set -euo pipefail
dir="$1"
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/dev/wine.sh"
unset DISPLAY
make_setup_prefix "$dir"
touch "$dir/.e2e-ready"
