#!/bin/sh
# Sets IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP (0x0400) and IMAGE_FILE_NET_RUN_FROM_SWAP (0x0800)
# in the COFF file header of a PE image: Windows then copies the whole image to the swap file
# before it runs, so a slow or removed medium cannot take running code away. GNU ld has no
# switch for these flags. Usage: set_run_from_swap.sh IMAGE
set -eu
image="$1"

# Reads COUNT little-endian bytes at OFFSET as an unsigned number.
read_le() {
    od -An -tu1 -j "$1" -N "$2" "$image" | awk '{ for (i = NF; i >= 1; i--) v = v * 256 + $i } END { print v + 0 }'
}

[ "$(od -An -c -N 2 "$image" | tr -d ' ')" = "MZ" ] || { echo "$image: not an MZ image" >&2; exit 1; }
header=$(read_le 60 4)
[ "$(read_le "$header" 4)" = 17744 ] || { echo "$image: no PE signature" >&2; exit 1; }  # "PE\0\0"

offset=$((header + 4 + 18))  # Characteristics, after Machine .. SizeOfOptionalHeader
flags=$(( $(read_le "$offset" 2) | 0x0C00 ))
low=$(printf '%03o' $((flags & 255)))
high=$(printf '%03o' $((flags >> 8)))
printf "\\$low\\$high" | dd of="$image" bs=1 seek="$offset" conv=notrunc status=none
