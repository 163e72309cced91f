"""Reading (and the few writes the build needs in) a PE image: headers, sections, imports,
delay imports, exports and the manifest resource. Shared by the post-link step and the image
checks, so both read an image the same way."""

import re
import struct

MACHINE_I386 = 0x014C
MACHINE_AMD64 = 0x8664
SECTION_EXECUTE = 0x20000000
DIRECTORY_EXPORT = 0
DIRECTORY_IMPORT = 1
DIRECTORY_RESOURCE = 2
DIRECTORY_DELAY_IMPORT = 13
RESOURCE_MANIFEST = 24
DELAY_DESCRIPTOR_SIZE = 32


class ImageError(Exception):
    pass


class Section:
    def __init__(self, name, virtual_address, virtual_size, raw_offset, raw_size, characteristics):
        self.name = name
        self.virtual_address = virtual_address
        self.virtual_size = virtual_size
        self.raw_offset = raw_offset
        self.raw_size = raw_size
        self.characteristics = characteristics

    def contains(self, rva):
        return self.virtual_address <= rva < self.virtual_address + max(self.virtual_size, self.raw_size)

    @property
    def executable(self):
        return bool(self.characteristics & SECTION_EXECUTE)


class DelayImport:
    """One delay-load descriptor: the DLL and its slots (import name or ordinal, slot RVA,
    the slot's value at rest as a virtual address)."""

    def __init__(self, dll, attributes, iat_rva, int_rva, slots):
        self.dll = dll
        self.attributes = attributes
        self.iat_rva = iat_rva
        self.int_rva = int_rva
        self.slots = slots


class PeImage:
    def __init__(self, data):
        self.data = bytearray(data)
        if self.data[:2] != b"MZ":
            raise ImageError("not an MZ image")
        self.pe_offset = self._u32(0x3C)
        if self.data[self.pe_offset:self.pe_offset + 4] != b"PE\0\0":
            raise ImageError("no PE signature")
        file_header = self.pe_offset + 4
        (self.machine, section_count, _, _, _, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", self.data, file_header)
        self.characteristics_offset = file_header + 18
        self.optional_offset = file_header + 20
        self.magic = self._u16(self.optional_offset)
        if self.magic not in (0x10B, 0x20B):
            raise ImageError(f"unknown optional header magic {self.magic:#x}")
        self.is64 = self.magic == 0x20B
        o = self.optional_offset
        self.image_base = struct.unpack_from("<Q", self.data, o + 24)[0] if self.is64 else self._u32(o + 28)
        (self.os_version, self.image_version,
         self.subsystem_version) = [struct.unpack_from("<HH", self.data, o + 40 + 4 * i) for i in range(3)]
        self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", self.data, o + 68)
        self.directories_offset = o + (112 if self.is64 else 96)
        directory_count = self._u32(self.directories_offset - 4)
        self.directories = [struct.unpack_from("<II", self.data, self.directories_offset + 8 * i)
                            for i in range(directory_count)]
        self.sections = []
        table = o + optional_size
        for i in range(section_count):
            name, vsize, vaddr, rsize, roffset = struct.unpack_from("<8sIIII", self.data, table + 40 * i)
            flags = self._u32(table + 40 * i + 36)
            self.sections.append(Section(name.rstrip(b"\0").decode("latin-1"), vaddr, vsize, roffset, rsize, flags))

    @classmethod
    def load(cls, path):
        with open(path, "rb") as image:
            return cls(image.read())

    # ------------------------------------------------------------------ reading

    def _u16(self, offset):
        return struct.unpack_from("<H", self.data, offset)[0]

    def _u32(self, offset):
        return struct.unpack_from("<I", self.data, offset)[0]

    @property
    def pointer_size(self):
        return 8 if self.is64 else 4

    def section_of(self, rva):
        for section in self.sections:
            if section.contains(rva):
                return section
        return None

    def offset_of(self, rva):
        section = self.section_of(rva)
        if section is None:
            raise ImageError(f"RVA {rva:#x} lies in no section")
        delta = rva - section.virtual_address
        if delta >= section.raw_size:
            return None  # uninitialised data: reads as zeros
        return section.raw_offset + delta

    def read(self, rva, size):
        offset = self.offset_of(rva)
        if offset is None:
            return bytes(size)
        return bytes(self.data[offset:offset + size])

    def u16_at(self, rva):
        return struct.unpack("<H", self.read(rva, 2))[0]

    def u32_at(self, rva):
        return struct.unpack("<I", self.read(rva, 4))[0]

    def pointer_at(self, rva):
        return struct.unpack("<Q" if self.is64 else "<I", self.read(rva, self.pointer_size))[0]

    def string_at(self, rva, limit=4096):
        text = bytearray()
        while len(text) < limit:
            byte = self.read(rva + len(text), 1)
            if byte == b"\0":
                break
            text += byte
        return text.decode("latin-1")

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def _names_of_thunks(self, thunk_rva):
        """Import names (or "#ordinal") of a null-terminated thunk array."""
        names = []
        ordinal_flag = 1 << (63 if self.is64 else 31)
        while True:
            value = self.pointer_at(thunk_rva + len(names) * self.pointer_size)
            if value == 0:
                return names
            if value & ordinal_flag:
                names.append(f"#{value & 0xFFFF}")
            else:
                names.append(self.string_at((value & 0x7FFFFFFF) + 2))

    def imports(self):
        """Load-time imports: {dll name as written: [import names]}."""
        rva, size = self.directory(DIRECTORY_IMPORT)
        result = {}
        if rva == 0:
            return result
        entry = rva
        while True:
            lookup, _, _, name_rva, address = struct.unpack("<IIIII", self.read(entry, 20))
            if name_rva == 0:
                return result
            result[self.string_at(name_rva)] = self._names_of_thunks(lookup or address)
            entry += 20

    def delay_imports(self):
        """The descriptors of the Delay Import Directory, in table order."""
        rva, _ = self.directory(DIRECTORY_DELAY_IMPORT)
        result = []
        if rva == 0:
            return result
        entry = rva
        while True:
            fields = struct.unpack("<8I", self.read(entry, DELAY_DESCRIPTOR_SIZE))
            if not any(fields):
                return result
            attributes, name_rva, _, iat_rva, int_rva = fields[:5]
            if attributes != 1:
                raise ImageError(f"delay descriptor at {entry:#x} does not use RVAs")
            names = self._names_of_thunks(int_rva)
            slots = [(name, iat_rva + i * self.pointer_size, self.pointer_at(iat_rva + i * self.pointer_size))
                     for i, name in enumerate(names)]
            result.append(DelayImport(self.string_at(name_rva), attributes, iat_rva, int_rva, slots))
            entry += DELAY_DESCRIPTOR_SIZE

    def exports(self):
        """Exported names."""
        rva, _ = self.directory(DIRECTORY_EXPORT)
        if rva == 0:
            return set()
        name_count, _, names_rva = struct.unpack("<III", self.read(rva + 24, 12))
        return {self.string_at(self.u32_at(names_rva + 4 * i)) for i in range(name_count)}

    def resource(self, type_id):
        """The data of the first resource of a type (any name, any language), or None."""
        root, _ = self.directory(DIRECTORY_RESOURCE)
        if root == 0:
            return None

        def entries(table_rva):
            named, numbered = struct.unpack("<HH", self.read(table_rva + 12, 4))
            for i in range(named + numbered):
                ident, target = struct.unpack("<II", self.read(table_rva + 16 + 8 * i, 8))
                yield ident, target

        for ident, target in entries(root):
            if ident != type_id or not target & 0x80000000:
                continue
            level = root + (target & 0x7FFFFFFF)
            # Down the name and language levels to the first data entry.
            while True:
                _, target = next(entries(level), (None, None))
                if target is None:
                    return None
                if not target & 0x80000000:
                    data_rva, size = struct.unpack("<II", self.read(root + target, 8))
                    return self.read(data_rva, size)
                level = root + (target & 0x7FFFFFFF)
        return None

    # ------------------------------------------------------------------ writing

    def set_characteristics(self, flags):
        self.characteristics = flags
        struct.pack_into("<H", self.data, self.characteristics_offset, flags)

    def set_directory(self, index, rva, size):
        if index >= len(self.directories):
            raise ImageError(f"the image has no data directory {index}")
        self.directories[index] = (rva, size)
        struct.pack_into("<II", self.data, self.directories_offset + 8 * index, rva, size)

    def save(self, path):
        with open(path, "wb") as image:
            image.write(self.data)


def read_map_symbols(map_path):
    """Symbol addresses of a GNU ld map file: {name: address}. On i386 the map shows names
    without their leading underscore; both spellings are returned."""
    symbols = {}
    with open(map_path, encoding="latin-1") as map_file:
        for line in map_file:
            parts = line.split()
            if len(parts) == 2 and parts[0].startswith("0x") and not line.startswith(" ."):
                try:
                    address = int(parts[0], 16)
                except ValueError:
                    continue
                symbols.setdefault(parts[1], address)
                symbols.setdefault("_" + parts[1], address)
    return symbols


INPUT_SECTION = re.compile(r"^ (\S+)\s+0x([0-9a-fA-F]+)\s+0x([0-9a-fA-F]+)\s+(\S.*)$")
SECTION_NAME_ALONE = re.compile(r"^ (\S+)$")
SECTION_CONTINUED = re.compile(r"^\s+0x([0-9a-fA-F]+)\s+0x([0-9a-fA-F]+)\s+(\S.*)$")
SYMBOL = re.compile(r"^\s+0x([0-9a-fA-F]+)\s+(\S+)$")


def read_map_inputs(map_path):
    """Input sections of a GNU ld map file with the symbols defined in them:
    a list of (section name, address, size, input file, [symbol names])."""
    inputs = []
    pending_name = None
    in_memory_map = False
    with open(map_path, encoding="latin-1") as map_file:
        for line in map_file:
            line = line.rstrip("\n")
            if line.startswith("Linker script and memory map"):
                in_memory_map = True
                continue
            if not in_memory_map:
                continue
            match = INPUT_SECTION.match(line)
            if match:
                inputs.append((match.group(1), int(match.group(2), 16), int(match.group(3), 16), match.group(4), []))
                pending_name = None
                continue
            match = SECTION_NAME_ALONE.match(line)
            if match:
                pending_name = match.group(1)  # a long name: address, size and file follow on the next line
                continue
            match = SECTION_CONTINUED.match(line)
            if match and pending_name:
                inputs.append((pending_name, int(match.group(1), 16), int(match.group(2), 16), match.group(3), []))
                pending_name = None
                continue
            pending_name = None
            match = SYMBOL.match(line)
            if match and inputs:
                inputs[-1][4].append(match.group(2))
    return inputs
