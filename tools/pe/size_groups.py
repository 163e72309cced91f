"""Where the bytes of an image go, from its GNU ld link map: the bytes each group of input files
puts into the image file (uninitialised data takes none), and the rest (headers and section
alignment) against the file's size. Prints "<bytes>\t<group>" lines, largest first.

    size_groups.py IMAGE MAP
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe_image  # noqa: E402

# First match wins; a group is named by what its input files are.
GROUPS = [
    ("resources (icons, dialogs, manifest)", lambda f, s: s.startswith(".rsrc") or f.endswith(".res")),
    ("relocations", lambda f, s: s.startswith(".reloc") or f == "dll stuff"),
    ("delay-load stubs", lambda f, s: "/delayload/" in f or f.startswith("delayload/")),
    ("load-time imports", lambda f, s: s.startswith(".idata")),
    ("TinyXML-2", lambda f, s: "tinyxml2" in f),
    ("our code", lambda f, s: f.startswith("src/") or "/src/" in f),
    ("C++ runtime (libstdc++, libgcc)", lambda f, s: any(n in f for n in ("libstdc++", "libgcc", "crtbegin", "crtend"))),
    ("MinGW C runtime (mingwex, mingw32, crt2)",
     lambda f, s: os.path.basename(f) in ("libmingwex.a", "libmingw32.a", "crt2.o")),
    ("system import libraries (kernel32, user32, msvcrt, ...)", lambda f, s: f.endswith(".a")),
]


def file_bytes(section, size):
    # .bss and common symbols take room in memory only.
    return 0 if section.startswith(".bss") or section == "COMMON" else size


def main():
    image_path, map_path = sys.argv[1], sys.argv[2]
    totals = {}
    for section, _address, size, source, _symbols in pe_image.read_map_inputs(map_path):
        bytes_in_file = file_bytes(section, size)
        if not bytes_in_file:
            continue
        source = source.split("(")[0]
        name = next((group for group, matches in GROUPS if matches(source, section)), "other")
        totals[name] = totals.get(name, 0) + bytes_in_file
    image_size = os.path.getsize(image_path)
    totals["headers, section alignment, what the map does not list"] = image_size - sum(totals.values())
    for name, size in sorted(totals.items(), key=lambda item: -item[1]):
        print(f"{size}\t{name}")


if __name__ == "__main__":
    main()
