#!/usr/bin/env python3
"""The post-link step of Setup.exe: what GNU ld cannot write into a PE image itself.

- IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP and IMAGE_FILE_NET_RUN_FROM_SWAP (0x0C00): Windows copies
  the whole image to the swap file before it runs, so a slow or removed medium cannot take
  running code away.
- The Delay Import Directory (data directory 13): ld knows nothing of delay loading, so the
  table of descriptors that our delay libraries lay out (tools/delayload) is registered here,
  found through the link map. Tools that list a program's DLLs (dumpbin, Dependency Walker,
  objdump) read it from there.

Usage: finish_image.py IMAGE MAP
"""

import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe_image  # noqa: E402

RUN_FROM_SWAP = 0x0C00
TABLE_START = "__setup_delay_import_descriptors"
TABLE_END = "__setup_delay_import_descriptors_end"


def register_delay_imports(image, symbols):
    if TABLE_START not in symbols:
        return 0  # the program delay-loads nothing
    start = symbols[TABLE_START] - image.image_base
    end = symbols[TABLE_END] - image.image_base
    size = end - start
    if size < pe_image.DELAY_DESCRIPTOR_SIZE or size % pe_image.DELAY_DESCRIPTOR_SIZE:
        raise pe_image.ImageError(f"the delay descriptor table has a size of {size} bytes")
    count = size // pe_image.DELAY_DESCRIPTOR_SIZE - 1
    for index in range(count + 1):
        fields = struct.unpack("<8I", image.read(start + index * pe_image.DELAY_DESCRIPTOR_SIZE,
                                                 pe_image.DELAY_DESCRIPTOR_SIZE))
        if index == count:
            if any(fields):
                raise pe_image.ImageError("the delay descriptor table does not end in a null descriptor")
        elif fields[0] != 1 or not image.string_at(fields[1]).lower().endswith(".dll"):
            raise pe_image.ImageError(f"delay descriptor {index} is not one of ours")
    image.set_directory(pe_image.DIRECTORY_DELAY_IMPORT, start, size)
    return count


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__.strip().splitlines()[-1])
    path, map_path = sys.argv[1:]
    image = pe_image.PeImage.load(path)
    image.set_characteristics(image.characteristics | RUN_FROM_SWAP)
    register_delay_imports(image, pe_image.read_map_symbols(map_path))
    temporary = path + ".finishing"
    image.save(temporary)
    os.replace(temporary, path)


if __name__ == "__main__":
    main()
