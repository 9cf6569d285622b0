"""What the release and its checks read from a Windows executable: the
machine it is built for, its link time, its symbol count, the DLLs it
imports and its resources."""

import struct

MACHINE_I386, MACHINE_AMD64 = 0x14C, 0x8664
RT_VERSION, RT_MANIFEST = 16, 24
FIXED_FILE_INFO_SIGNATURE = struct.pack("<I", 0xFEEF04BD)
IMPORT_DIRECTORY, RESOURCE_DIRECTORY = 1, 2


class PeFile:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        self.machine, sections, self.timestamp, _, self.symbols, optional_size = \
            struct.unpack_from("<HHIIIH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        self._directories = optional + (112 if magic == 0x20B else 96)
        self._sections = [struct.unpack_from("<8xIIII", data, optional + optional_size + 40 * i)
                          for i in range(sections)]

    def _offset(self, rva):
        for size, address, _, raw in self._sections:
            if address <= rva < address + size:
                return rva - address + raw
        raise ValueError("address %#x outside the sections" % rva)

    def _directory(self, index):
        rva = struct.unpack_from("<I", self.data, self._directories + 8 * index)[0]
        return self._offset(rva) if rva else None

    def imports(self):
        """The names in the import directory, lower case."""
        names = []
        entry = self._directory(IMPORT_DIRECTORY)
        while entry is not None and struct.unpack_from("<5I", self.data, entry) != (0,) * 5:
            name = self._offset(struct.unpack_from("<12xI", self.data, entry)[0])
            names.append(self.data[name:self.data.index(b"\0", name)].decode().lower())
            entry += 20
        return names

    def resource(self, type_id):
        """The bytes of the first resource of a numbered type (its first name,
        its first language), or None."""
        root = self._directory(RESOURCE_DIRECTORY)
        if root is None:
            return None
        entry = self._find_entry(root, root, type_id)
        for _ in range(2):  # name, then language
            if entry is None:
                return None
            entry = self._find_entry(root, entry, None)
        rva, size = struct.unpack_from("<II", self.data, entry)
        start = self._offset(rva)
        return self.data[start:start + size]

    def _find_entry(self, root, directory, wanted_id):
        """Where the entry of a resource directory leads (a directory or a
        data entry): the one numbered wanted_id, or the first when None."""
        named, numbered = struct.unpack_from("<12xHH", self.data, directory)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.data, directory + 16 + 8 * i)
            if wanted_id is None or (i >= named and name == wanted_id):
                return root + (target & 0x7FFFFFFF)
        return None

    def product_version(self):
        """The product version of the version resource as "a.b.c.d"."""
        block = self.resource(RT_VERSION)
        if block is None or FIXED_FILE_INFO_SIGNATURE not in block:
            raise ValueError("no version resource")
        fixed = block.index(FIXED_FILE_INFO_SIGNATURE)
        ms, ls = struct.unpack_from("<16xII", block, fixed)
        return "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)


def read(path):
    with open(path, "rb") as f:
        return PeFile(f.read())
