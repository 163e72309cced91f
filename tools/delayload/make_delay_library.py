#!/usr/bin/env python3
"""Makes a delay-load import library for one DLL: an archive of our own objects.

GNU ld has no /DELAYLOAD switch, and the libraries `dlltool --output-delaylib` makes break on
i686: ld treats their members as import stubs and drops the `.text` of a member whose only
reference is its `__imp_` slot (every function the headers declare dllimport), yet that
`.text` holds the code the slot must point at until the first call. So the slot stayed 0 and
the first call jumped to address 0. Our objects keep the slots in `.data$` sections, which ld
treats like any other data, so every slot keeps its thunk.

Layout, all through grouped sections that ld sorts by name (each with its alignment given, as
x86_64 gas would otherwise pad every section to 16 bytes and break the arrays):
  .rdata$setup_delay_a            start of the descriptor table (the directory object)
  .rdata$setup_delay_b_<dll>      one ImgDelayDescr per DLL that the program calls
  .rdata$setup_delay_c            the null descriptor that ends the table
  .data$setup_delay_iat_<dll>_a/b<n>/c    the DLL's slots, one per function, then a 0
  .rdata$setup_delay_int_<dll>_a/b<n>/c   the matching import names, then a 0
A function's member is pulled in only when the program uses the function, and it pulls the
DLL's head (descriptor, module handle, tail code), which pulls the directory object. The
post-link step registers the table as the image's Delay Import Directory. The import names and
the tables' ends are referred to from code (keep_alive), so that a link with --gc-sections
keeps every table whole and each name beside its slot.

Usage: make_delay_library.py --arch i686|x86_64 --dll NAME.dll --symbols NM_OUTPUT
                             --as AS --ar AR --work DIR --out LIBRARY
NM_OUTPUT is `nm` of the toolchain's import library; each code symbol ("T") is a function.
"""

import argparse
import concurrent.futures
import os
import re
import shutil
import subprocess
import sys

DIRECTORY_START = "__setup_delay_import_descriptors"
DIRECTORY_END = "__setup_delay_import_descriptors_end"


class Target:
    def __init__(self, arch):
        self.arch = arch
        self.is64 = arch == "x86_64"
        self.pointer = ".quad" if self.is64 else ".long"
        self.align = 3 if self.is64 else 2
        # __delayLoadHelper2 (libmingwex): __stdcall on i686, so it pops its two arguments.
        self.helper = "__delayLoadHelper2" if self.is64 else "___delayLoadHelper2@8"

    def import_name(self, symbol):
        """The name the DLL exports for a function symbol of the import library."""
        if self.is64:
            return symbol
        name = symbol[1:] if symbol.startswith("_") else symbol  # the C prefix; _TrackMouseEvent keeps its own
        return re.sub(r"@\d+$", "", name)  # __stdcall decoration, not part of the export name


def quoted(symbol):
    return '"' + symbol + '"'


def keep_alive(labels):
    """Words after the code's last jump, never run: references that keep the sections nothing
    else refers to (a function's import name, the ends of the tables) through the linker's
    --gc-sections, which keeps only what the program's code and data reach."""
    return "\t.rva " + ", ".join(labels)


def directory_source():
    return f"""\t.section .rdata$setup_delay_a,"dr2"
\t.globl {DIRECTORY_START}
{DIRECTORY_START}:
\t.section .rdata$setup_delay_c,"dr2"
\t.long 0, 0, 0, 0, 0, 0, 0, 0
\t.globl {DIRECTORY_END}
{DIRECTORY_END}:
"""


def head_source(target, tag, dll):
    descriptor = f"__setup_delay_descriptor_{tag}"
    tail = f"__setup_delay_tail_{tag}"
    lines = [
        f'\t.section .rdata$setup_delay_b_{tag},"dr2"',
        f"\t.globl {descriptor}",
        f"{descriptor}:",
        "\t.long 1",  # grAttrs: the fields are RVAs
        f"\t.rva __setup_delay_name_{tag}",
        f"\t.rva __setup_delay_module_{tag}",
        f"\t.rva __setup_delay_iat_{tag}",
        f"\t.rva __setup_delay_int_{tag}",
        "\t.long 0, 0, 0",  # no bound IAT, no unload IAT, not bound
        # An undefined global: the directory object comes with the first DLL's head.
        f"\t.globl {DIRECTORY_START}",
        "\t.section .rdata,\"dr\"",
        f"__setup_delay_name_{tag}:",
        f'\t.asciz "{dll}"',
        "\t.data",
        f"\t.p2align {target.align}",
        f"__setup_delay_module_{tag}:",
        f"\t{target.pointer} 0",
        f'\t.section .data$setup_delay_iat_{tag}_a,"w{target.align}"',
        f"__setup_delay_iat_{tag}:",
        f'\t.section .data$setup_delay_iat_{tag}_c,"w{target.align}"',
        ".Liat_end:",
        f"\t{target.pointer} 0",
        f'\t.section .rdata$setup_delay_int_{tag}_a,"dr{target.align}"',
        f"__setup_delay_int_{tag}:",
        f'\t.section .rdata$setup_delay_int_{tag}_c,"dr{target.align}"',
        ".Lint_end:",
        f"\t{target.pointer} 0",
        "\t.text",
        f"\t.globl {tail}",
    ]
    # The first call of a function comes here with its slot's address in eax/rax: load the
    # DLL if needed, fill the slot, and go on to the function with the caller's arguments.
    if target.is64:
        lines += [
            f"\t.def {tail}; .scl 2; .type 32; .endef",
            f"\t.seh_proc {tail}",
            f"{tail}:",
            "\tpushq %rcx", "\t.seh_pushreg %rcx",
            "\tpushq %rdx", "\t.seh_pushreg %rdx",
            "\tpushq %r8", "\t.seh_pushreg %r8",
            "\tpushq %r9", "\t.seh_pushreg %r9",
            # 32 bytes of home space for the helper, the four argument xmm registers, and 8
            # to bring the stack back to a 16-byte boundary.
            "\tsubq $0x68, %rsp", "\t.seh_stackalloc 0x68",
            "\tmovdqa %xmm0, 0x20(%rsp)", "\t.seh_savexmm %xmm0, 0x20",
            "\tmovdqa %xmm1, 0x30(%rsp)", "\t.seh_savexmm %xmm1, 0x30",
            "\tmovdqa %xmm2, 0x40(%rsp)", "\t.seh_savexmm %xmm2, 0x40",
            "\tmovdqa %xmm3, 0x50(%rsp)", "\t.seh_savexmm %xmm3, 0x50",
            "\t.seh_endprologue",
            "\tmovq %rax, %rdx",
            f"\tleaq {descriptor}(%rip), %rcx",
            f"\tcall {target.helper}",
            "\tmovdqa 0x20(%rsp), %xmm0",
            "\tmovdqa 0x30(%rsp), %xmm1",
            "\tmovdqa 0x40(%rsp), %xmm2",
            "\tmovdqa 0x50(%rsp), %xmm3",
            "\taddq $0x68, %rsp",
            "\tpopq %r9", "\tpopq %r8", "\tpopq %rdx", "\tpopq %rcx",
            "\tjmp *%rax",
            "\t.seh_endproc",
        ]
    else:
        lines += [
            f"{tail}:",
            "\tpushl %ecx",
            "\tpushl %edx",
            "\tpushl %eax",
            f"\tpushl ${descriptor}",
            f"\tcall {quoted(target.helper)}",
            "\tpopl %edx",
            "\tpopl %ecx",
            "\tjmp *%eax",
        ]
    lines.append(keep_alive([".Liat_end", ".Lint_end", DIRECTORY_START, DIRECTORY_END]))
    return "\n".join(lines) + "\n"


def function_source(target, tag, index, symbol):
    slot = quoted("__imp_" + symbol)
    load = ".Lload"
    order = f"{index:05d}"
    code = [
        "\t.text",
        f"\t.globl {quoted(symbol)}",
        f"{quoted(symbol)}:",
    ]
    if target.is64:
        code += [
            f"\tjmp *{slot}(%rip)",
            f"{load}:",
            f"\tleaq {slot}(%rip), %rax",
        ]
    else:
        code += [
            f"\tjmp *{slot}",
            f"{load}:",
            f"\tmovl ${slot}, %eax",
        ]
    code.append(f"\tjmp __setup_delay_tail_{tag}")
    code.append(keep_alive([".Lname_entry"]))
    entry = "\t.rva __setup_delay_hint_name\n\t.long 0" if target.is64 else "\t.rva __setup_delay_hint_name"
    return "\n".join(code) + f"""
\t.section .data$setup_delay_iat_{tag}_b{order},"w{target.align}"
\t.globl {slot}
{slot}:
\t{target.pointer} {load}
\t.section .rdata$setup_delay_int_{tag}_b{order},"dr{target.align}"
.Lname_entry:
{entry}
\t.section .rdata$setup_delay_names_{tag},"dr1"
__setup_delay_hint_name:
\t.short 0
\t.asciz "{target.import_name(symbol)}"
"""


def read_functions(nm_output):
    symbols = set()
    for line in nm_output.splitlines():
        match = re.match(r"^[0-9A-Fa-f]*\s+T\s+(\S+)$", line.strip())
        if match:
            symbols.add(match.group(1))
    return sorted(symbols)


def assemble(assembler, source_path):
    object_path = source_path[:-2] + ".o"
    subprocess.run([assembler, source_path, "-o", object_path], check=True)
    return object_path


def main():
    parser = argparse.ArgumentParser()
    for option in ("--arch", "--dll", "--symbols", "--as", "--ar", "--work", "--out"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()

    target = Target(args.arch)
    assembler = getattr(args, "as")
    dll = args.dll.lower()
    tag = re.sub(r"[^a-z0-9]", "_", dll[:-4] if dll.endswith(".dll") else dll)
    with open(args.symbols, encoding="utf-8") as nm_file:
        functions = read_functions(nm_file.read())
    if not functions:
        sys.exit(f"no functions for {dll} in {args.symbols}")

    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    sources = {
        "0_directory.s": directory_source(),
        f"1_{tag}_head.s": head_source(target, tag, dll),
    }
    for index, symbol in enumerate(functions):
        sources[f"2_{tag}_{index:05d}.s"] = function_source(target, tag, index, symbol)
    paths = []
    for name, text in sources.items():
        path = os.path.join(args.work, name)
        with open(path, "w", encoding="utf-8") as source:
            source.write(text)
        paths.append(path)

    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        objects = list(pool.map(lambda path: assemble(assembler, path), paths))

    temporary = args.out + ".new"
    if os.path.exists(temporary):
        os.remove(temporary)
    # One archive call per chunk keeps the command line short; `s` writes the symbol index.
    for start in range(0, len(objects), 500):
        subprocess.run([args.ar, "qc", temporary] + objects[start:start + 500], check=True)
    subprocess.run([args.ar, "s", temporary], check=True)
    os.replace(temporary, args.out)


if __name__ == "__main__":
    main()
