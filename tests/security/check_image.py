#!/usr/bin/env python3
"""Checks a linked Setup.exe (or a control program) as a security reviewer would read it.

  format              the machine and PE kind of the architecture
  run-from-swap       IMAGE_FILE_REMOVABLE_RUN_FROM_SWAP | IMAGE_FILE_NET_RUN_FROM_SWAP
  aslr-nx             DYNAMIC_BASE and NX_COMPAT
  subsystem           the Windows GUI subsystem, version 6.1 (Windows 7)
  manifest            requireAdministrator, common controls 6, Windows 7 to 11 declared, per-monitor
                      (v2) DPI awareness with its fallbacks and no GDI scaling
  known-dlls          only KnownDLLs bound at load time
  load-time-exports   every name imported at load time exported by the DLL it names
  delay-directory     the Delay Import Directory lists exactly the DLLs the link delay-loaded,
                      with every slot the link made
  delay-slots         every delay slot, at rest, points into the image at code that hands the
                      helper that slot and reaches the delay-load helper, and the import name
                      beside it is the function the slot was made for
  delay-exports       every delay-loaded name exported by the DLL it names
  stripped            no symbol table, no debug sections
  size                the file at most --max-bytes bytes (the shipped image: 256 KB)

The DLLs are Wine's PE builds of the same architecture, the closest thing to Windows' own
here. The link map names the delay libraries the link used and the helper's address.

Usage: check_image.py IMAGE --arch i686|x86_64 --map MAP --wine-dlls DIR --known-dlls FILE
                      [--stripped] [--max-bytes N] [--only CHECK ...] [--slot-table]
"""

import argparse
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "pe"))
import pe_image  # noqa: E402

IMAGE_FILE_LOCAL_SYMS_STRIPPED = 0x0008
RUN_FROM_SWAP = 0x0C00
DYNAMIC_BASE = 0x0040
NX_COMPAT = 0x0100
SUBSYSTEM_WINDOWS_GUI = 2
SUPPORTED_OS = {
    "Windows 7": "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "Windows 8": "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
    "Windows 8.1": "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "Windows 10 and 11": "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
}
DELAY_LIBRARY = re.compile(r"lib([A-Za-z0-9_]+)_delay\.a\(")


class Context:
    def __init__(self, args):
        self.args = args
        self.image = pe_image.PeImage.load(args.image)
        self.map_symbols = pe_image.read_map_symbols(args.map) if args.map else {}
        self.map_inputs = pe_image.read_map_inputs(args.map) if args.map else []
        with open(args.known_dlls, encoding="utf-8") as known:
            self.known_dlls = set(known.read().lower().split())
        self._exports = {}

    def exports_of(self, dll):
        name = dll.lower()
        if name not in self._exports:
            path = os.path.join(self.args.wine_dlls, name)
            self._exports[name] = pe_image.PeImage.load(path).exports() if os.path.exists(path) else None
        return self._exports[name]

    def delay_libraries(self):
        """{dll: number of slots} of the delay libraries the link pulled members from."""
        libraries = {}
        for section, _, size, source, _ in self.map_inputs:
            match = DELAY_LIBRARY.search(source)
            if not match:
                continue
            dll = match.group(1).lower() + ".dll"
            libraries.setdefault(dll, 0)
            # A slot is one pointer-sized entry of the DLL's IAT in a function's member (ours:
            # .data$setup_delay_iat_<dll>_b<n>; dlltool's: .idata$5 of an _s member).
            if size and (re.match(r"\.data\$setup_delay_iat_.*_b\d+$", section)
                         or (section == ".idata$5" and "_s" in source)):
                libraries[dll] += size // self.image.pointer_size
        return libraries


def check_format(context):
    image = context.image
    want = (pe_image.MACHINE_AMD64, True) if context.args.arch == "x86_64" else (pe_image.MACHINE_I386, False)
    return (image.machine, image.is64) == want, [f"machine {image.machine:#06x}, PE32{'+' if image.is64 else ''}"]


def check_run_from_swap(context):
    flags = context.image.characteristics
    return flags & RUN_FROM_SWAP == RUN_FROM_SWAP, [f"Characteristics {flags:#06x}"]


def check_aslr_nx(context):
    flags = context.image.dll_characteristics
    return flags & (DYNAMIC_BASE | NX_COMPAT) == DYNAMIC_BASE | NX_COMPAT, [f"DllCharacteristics {flags:#06x}"]


def check_subsystem(context):
    image = context.image
    major, minor = image.subsystem_version
    ok = image.subsystem == SUBSYSTEM_WINDOWS_GUI and (major, minor) == (6, 1)
    return ok, [f"subsystem {image.subsystem}, version {major}.{minor}"]


def check_manifest(context):
    data = context.image.resource(pe_image.RESOURCE_MANIFEST)
    if data is None:
        return False, ["no manifest resource"]
    text = data.decode("utf-8", "replace")
    problems = []
    if not re.search(r'requestedExecutionLevel\s+level="requireAdministrator"', text):
        problems.append("does not ask for administrator rights")
    if not re.search(r'name="Microsoft\.Windows\.Common-Controls"\s+version="6\.0\.0\.0"', text):
        problems.append("does not depend on common controls 6")
    # Sharp at every scale: per-monitor v2, falling back to per-monitor (8.1, early 10) and
    # system-aware (7, 8); Windows' GDI scaling would blur what the window scales itself.
    if not re.search(r'<dpiAwareness xmlns="http://schemas\.microsoft\.com/SMI/2016/WindowsSettings">'
                     r'\s*PerMonitorV2\s*,\s*PerMonitor\s*</dpiAwareness>', text):
        problems.append("does not declare per-monitor (v2) DPI awareness with a per-monitor fallback")
    if not re.search(r'<dpiAware xmlns="http://schemas\.microsoft\.com/SMI/2005/WindowsSettings">\s*true/pm\s*</dpiAware>',
                     text, re.IGNORECASE):
        problems.append("does not declare the per-monitor and system-aware fallback (dpiAware true/pm)")
    if re.search(r'<gdiScaling[^>]*>\s*true', text, re.IGNORECASE):
        problems.append("asks for GDI scaling")
    declared = {guid.lower() for guid in re.findall(r'supportedOS\s+Id="(\{[^}]+\})"', text)}
    for system, guid in SUPPORTED_OS.items():
        if guid not in declared:
            problems.append(f"does not declare {system}")
    return not problems, problems or [f"declares {', '.join(SUPPORTED_OS)} and per-monitor (v2) DPI awareness"]


def check_known_dlls(context):
    imports = context.image.imports()
    if not imports:
        return False, ["no import table"]
    lines, ok = [], True
    for dll in sorted(imports, key=str.lower):
        known = dll.lower().removesuffix(".dll") in context.known_dlls
        ok &= known
        lines.append(f"load-time import: {dll}" if known else f"NOT a KnownDLL: {dll}")
    return ok, lines


def missing_exports(context, dll, names):
    exports = context.exports_of(dll)
    if exports is None:
        return [f"{dll}: no such DLL in {context.args.wine_dlls}"]
    return [f"{dll}: {name} is not exported" for name in names if not name.startswith("#") and name not in exports]


def check_load_time_exports(context):
    problems, count = [], 0
    for dll, names in context.image.imports().items():
        count += len(names)
        problems += missing_exports(context, dll, names)
    return not problems, problems or [f"{count} names found"]


def check_delay_directory(context):
    rva, size = context.image.directory(pe_image.DIRECTORY_DELAY_IMPORT)
    linked = context.delay_libraries()
    if rva == 0:
        return not linked, [f"no Delay Import Directory; the link delay-loads {', '.join(sorted(linked)) or 'nothing'}"]
    listed = {entry.dll.lower(): len(entry.slots) for entry in context.image.delay_imports()}
    lines = [f"{dll}: {count} slots" for dll, count in sorted(listed.items())]
    if listed != linked:
        lines.append(f"the link delay-loads {sorted(linked.items())}")
        return False, lines
    return True, lines


def thunk_reaches_helper(image, address, slot, helper):
    """Follows the code at `address` (a VA) through the few instruction forms of a delay-load
    thunk and its tail. True when it names `slot` and then calls `helper`."""
    named_slot = False
    pc = address
    for _ in range(32):
        section = image.section_of(pc - image.image_base)
        if section is None or not section.executable:
            return False
        code = image.read(pc - image.image_base, 16)

        def rel32(at):
            return int.from_bytes(code[at:at + 4], "little", signed=True)

        if code[0] == 0xE8:  # call rel32
            return named_slot and pc + 5 + rel32(1) == helper
        if code[0] == 0xE9:  # jmp rel32
            pc += 5 + rel32(1)
        elif code[0] == 0xEB:  # jmp rel8
            pc += 2 + int.from_bytes(code[1:2], "little", signed=True)
        elif code[0] == 0xB8 and not image.is64:  # mov eax, imm32
            named_slot = int.from_bytes(code[1:5], "little") == slot
            pc += 5
        elif code[:3] == b"\x48\x8d\x05":  # lea rax, [rip + rel32]
            named_slot = pc + 7 + rel32(3) == slot
            pc += 7
        elif code[:3] == b"\x48\x8d\x0d":  # lea rcx, [rip + rel32]
            pc += 7
        elif 0x50 <= code[0] <= 0x5F:  # push/pop r32/r64
            pc += 1
        elif code[0] == 0x41 and 0x50 <= code[1] <= 0x5F:  # push/pop r8-r15
            pc += 2
        elif code[0] == 0x68:  # push imm32
            pc += 5
        elif code[:3] == b"\x48\x83\xec":  # sub rsp, imm8
            pc += 4
        elif code[:3] == b"\x48\x81\xec":  # sub rsp, imm32
            pc += 7
        elif code[:3] == b"\x48\x89\xc2":  # mov rdx, rax
            pc += 3
        elif code[:3] == b"\x66\x0f\x7f" and code[4] == 0x24:  # movdqa [rsp + disp8], xmm
            pc += 6
        else:
            return False
    return False


def check_delay_slots(context):
    image = context.image
    helper_name = "__delayLoadHelper2" if image.is64 else "___delayLoadHelper2@8"
    helper = context.map_symbols.get(helper_name)
    if helper is None:
        return False, [f"the link map has no {helper_name}"]
    entries = image.delay_imports()
    slots = [(entry.dll, name, slot_rva, value) for entry in entries for name, slot_rva, value in entry.slots]
    named_by_directory = bool(slots)
    if not slots:
        # Without a directory the link map still names every slot the delay libraries made.
        slots = [(DELAY_LIBRARY.search(source).group(1).lower() + ".dll", symbol, address - image.image_base,
                  image.pointer_at(address - image.image_base))
                 for section, address, size, source, symbols in context.map_inputs
                 if DELAY_LIBRARY.search(source) and size
                 and (section.startswith(".data$setup_delay_iat_") or section == ".idata$5")
                 for symbol in symbols]
    if not slots:
        return False, ["no delay-load slots found"]
    problems, table = [], []
    # The link map names each slot __imp_<function>, decorated on i686 (__imp__Name@4).
    slot_symbols = {address: symbol for symbol, address in context.map_symbols.items() if symbol.startswith("__imp_")}
    for dll, name, slot_rva, value in slots:
        where = f"{dll} {name}: slot {slot_rva + image.image_base:#x} holds {value:#x}"
        table.append(where)
        symbol = slot_symbols.get(slot_rva + image.image_base) if named_by_directory else None
        if symbol and not re.fullmatch(r"__imp__?" + re.escape(name) + r"(@\d+)?", symbol):
            problems.append(f"{where}, but the link made that slot for {symbol}")
        target = value - image.image_base
        section = image.section_of(target) if 0 <= target < 1 << 32 else None
        if section is None:
            problems.append(f"{where}, outside the image")
        elif not section.executable:
            problems.append(f"{where}, in {section.name}, which is not code")
        elif not thunk_reaches_helper(image, value, slot_rva + image.image_base, helper):
            problems.append(f"{where}, code that does not reach the delay-load helper with this slot")
    lines = problems or [f"{len(slots)} slots reach the helper at {helper:#x}"]
    return not problems, (table + lines) if context.args.slot_table else lines


def check_delay_exports(context):
    problems, count = [], 0
    for entry in context.image.delay_imports():
        names = [name for name, _, _ in entry.slots]
        count += len(names)
        problems += missing_exports(context, entry.dll, names)
    if count == 0:
        return False, ["no delay-loaded names"]
    return not problems, problems or [f"{count} names found"]


def check_stripped(context):
    image = context.image
    debug = [section.name for section in image.sections if section.name.startswith((".debug", "/"))]
    symbol_table = int.from_bytes(image.data[image.pe_offset + 12:image.pe_offset + 16], "little")
    ok = not debug and symbol_table == 0
    return ok, [f"symbol table at {symbol_table:#x}, debug sections {debug or 'none'}"]


def check_size(context):
    size = os.path.getsize(context.args.image)
    return size <= context.args.max_bytes, [f"{size} bytes, at most {context.args.max_bytes}"]


CHECKS = {
    "format": check_format,
    "run-from-swap": check_run_from_swap,
    "aslr-nx": check_aslr_nx,
    "subsystem": check_subsystem,
    "manifest": check_manifest,
    "known-dlls": check_known_dlls,
    "load-time-exports": check_load_time_exports,
    "delay-directory": check_delay_directory,
    "delay-slots": check_delay_slots,
    "delay-exports": check_delay_exports,
    "stripped": check_stripped,
    "size": check_size,
}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("image")
    parser.add_argument("--arch", choices=("i686", "x86_64"), required=True)
    parser.add_argument("--map")
    parser.add_argument("--wine-dlls", required=True)
    parser.add_argument("--known-dlls", required=True)
    parser.add_argument("--stripped", action="store_true")
    parser.add_argument("--max-bytes", type=int)
    parser.add_argument("--only", nargs="+", choices=sorted(CHECKS))
    parser.add_argument("--slot-table", action="store_true", help="list every delay slot and its value at rest")
    args = parser.parse_args()

    if not os.path.isfile(args.image):
        print(f"FAIL {args.image} does not exist (build it first)")
        return 1
    context = Context(args)
    optional = {"stripped": args.stripped, "size": args.max_bytes is not None}
    names = args.only or [name for name in CHECKS if optional.get(name, True)]
    failures = 0
    for name in names:
        try:
            ok, lines = CHECKS[name](context)
        except (pe_image.ImageError, OSError, ValueError) as error:
            ok, lines = False, [f"cannot read: {error}"]
        print(f"{'ok  ' if ok else 'FAIL'} {name}")
        for line in lines:
            print(f"     {line}")
        failures += not ok
    print(f"size {os.path.getsize(args.image)} bytes: {args.image}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
