#!/usr/bin/env python3
"""Reads scrkit.exe's resources with a small PE parser of its own and checks them against the
files they were made from: the stub and the launcher of the same build, the setup pictures, the
PNG pictures, the icon, the cursor, the strings and the manifest.

usage: scrkit_resources_test.py SCRKIT.EXE SAVERENGINE.EXE POMLET.EXE SOURCE_DIR
"""
import struct
import sys
import unittest

RT_CURSOR, RT_STRING, RT_GROUP_CURSOR, RT_GROUP_ICON, RT_MANIFEST = 1, 6, 12, 14, 24


def read_resources(path):
    """{type: {name: bytes}} for language-neutral lookups (first language of each entry)."""
    data = read(path)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
    sections = struct.unpack_from("<H", data, pe + 6)[0]
    optional_size = struct.unpack_from("<H", data, pe + 20)[0]
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    rsrc_rva, rsrc_size = struct.unpack_from("<II", data, directories + 2 * 8)
    table = optional + optional_size

    def to_offset(rva):
        for i in range(sections):
            s = table + 40 * i
            vsize, vaddr, rawsize, rawptr = struct.unpack_from("<IIII", data, s + 8)
            if vaddr <= rva < vaddr + max(vsize, rawsize):
                return rawptr + rva - vaddr
        raise ValueError("rva %x outside the sections" % rva)

    base = to_offset(rsrc_rva)

    def entries(offset):
        named, ids = struct.unpack_from("<HH", data, base + offset + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * i)
            if name & 0x80000000:
                at = base + (name & 0x7FFFFFFF)
                length = struct.unpack_from("<H", data, at)[0]
                name = data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            yield name, target

    resources = {}
    for type_name, type_target in entries(0):
        names = resources.setdefault(type_name, {})
        for name, name_target in entries(type_target & 0x7FFFFFFF):
            _, leaf = next(entries(name_target & 0x7FFFFFFF))
            rva, size = struct.unpack_from("<II", data, base + leaf)
            at = to_offset(rva)
            names[name] = data[at:at + size]
    return resources


def read(path):
    with open(path, "rb") as f:
        return f.read()


def string_table(resources, string_id):
    block = resources[RT_STRING][string_id // 16 + 1]
    at = 0
    for _ in range(string_id % 16):
        at += 2 + 2 * struct.unpack_from("<H", block, at)[0]
    length = struct.unpack_from("<H", block, at)[0]
    return block[at + 2:at + 2 + 2 * length].decode("utf-16-le")


class ScrkitResources(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.res = read_resources(sys.argv[1])

    def test_embedded_programs_are_those_of_the_build(self):
        self.assertEqual(self.res["BIN"][126], read(sys.argv[2]))
        self.assertEqual(self.res["BIN"][127], read(sys.argv[3]))

    def test_setup_pictures(self):
        pictures = sys.argv[4] + "/builder/resources/pictures/"
        self.assertEqual(self.res["BIN"][128], read(pictures + "wizard_image.png"))
        self.assertEqual(self.res["BIN"][129], read(pictures + "wizard_small_image.png"))

    def test_png_pictures(self):
        sizes = {121: (442, 262), 123: (74, 64), 104: (74, 64), 124: (74, 64)}
        for number in (110, 132, 119, 131, 133, 130, 118, 134, 117):
            sizes[number] = (32, 32)
        for number, size in sizes.items():
            png = self.res["PNG"][number]
            self.assertEqual(png[:8], b"\x89PNG\r\n\x1a\n", number)
            self.assertEqual(struct.unpack(">II", png[16:24]), size, number)

    def test_icon_cursor_strings_manifest(self):
        group = self.res[RT_GROUP_ICON][128]
        self.assertGreaterEqual(struct.unpack_from("<H", group, 4)[0], 3)
        cursor = self.res[RT_GROUP_CURSOR][11002]
        self.assertEqual(struct.unpack_from("<HH", cursor, 2), (2, 1))
        self.assertEqual(string_table(self.res, 1), "Tarvo Saver")
        self.assertEqual(string_table(self.res, 200), "Tarvo Saver\nTarvo Saver")
        self.assertEqual(string_table(self.res, 203),
                         "Movie and Playback Parameters\nMovie and Playback Parameters")
        self.assertEqual(string_table(self.res, 208), "Finish and Save\nFinish and Save")
        for number in range(200, 212):
            text = string_table(self.res, number)
            self.assertEqual(text.count("\n"), 1, number)
        manifest = self.res[RT_MANIFEST][1].decode("utf-8")
        self.assertIn('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', manifest)
        self.assertIn("<dpiAware", manifest)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
