#!/usr/bin/env python3
"""Reads scrkit.exe's resources with a small PE parser of its own and checks them against the
files they were made from: the stub and the launcher of the same build, the setup pictures, the
PNG pictures, the icon, the cursor, the strings, the manifest and the help panel's pages.

The French library " fra.dll", when given, against the program: the same dialogs with the same
control ids, every string, with the same format fields, the French help pages, and nothing but
texts, dialogs and pages.

usage: scrkit_resources_test.py SCRKIT.EXE SAVERENGINE.EXE POMLET.EXE SOURCE_DIR [FRA.DLL]
"""
import os
import re
import struct
import sys
import unittest

IDS_SAVE_CHANGES = 400
RT_CURSOR, RT_MENU, RT_DIALOG, RT_STRING, RT_GROUP_CURSOR, RT_GROUP_ICON, RT_HTML, RT_MANIFEST = (
    1, 4, 5, 6, 12, 14, 23, 24)
HELP_FILES = (".html", ".js", ".css", ".gif", ".png")


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


def strings(resources):
    """{id: text} of every non-empty string of the string tables."""
    found = {}
    for block_id, block in resources.get(RT_STRING, {}).items():
        at = 0
        for i in range(16):
            length = struct.unpack_from("<H", block, at)[0]
            if length:
                found[(block_id - 1) * 16 + i] = block[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            at += 2 + 2 * length
    return found


def dialog_control_ids(template):
    """The control ids of an extended dialog template, in order."""

    def skip_text(at):  # a zero-terminated UTF-16 string, or 0xFFFF and an ordinal
        if struct.unpack_from("<H", template, at)[0] == 0xFFFF:
            return at + 4
        while struct.unpack_from("<H", template, at)[0]:
            at += 2
        return at + 2

    version, signature = struct.unpack_from("<HH", template, 0)
    assert (version, signature) == (1, 0xFFFF), "not an extended dialog template"
    style = struct.unpack_from("<I", template, 12)[0]
    count = struct.unpack_from("<H", template, 16)[0]
    at = skip_text(skip_text(skip_text(26)))  # menu, class, caption
    if style & 0x40:  # DS_SETFONT: size, weight, italic, charset, face
        at = skip_text(at + 6)
    ids = []
    for _ in range(count):
        at = (at + 3) & ~3
        ids.append(struct.unpack_from("<i", template, at + 20)[0])
        at = skip_text(skip_text(at + 24))  # class, text
        at += 2 + struct.unpack_from("<H", template, at)[0]
    return ids


def help_files(folder):
    """{resource name: bytes} of the help pages in the folder: res:// finds a page by its file
    name, and resource names are kept in capitals (the loader compares them so)."""
    found = {}
    for entry in os.listdir(folder):
        if entry.endswith(HELP_FILES):
            found[entry.upper()] = read(os.path.join(folder, entry))
    return found


def format_fields(text):
    return re.findall(r"%[-+ #0]*\d*(?:\.\d+)?[a-zA-Z%]", text)


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

    def check_help_pages(self, resources, expected):
        self.assertIn("STEP1.HTML", expected)
        pages = resources.get(RT_HTML, {})
        self.assertEqual(sorted(pages), sorted(expected))
        for name, data in expected.items():
            self.assertEqual(pages[name], data, name)

    def test_help_pages(self):
        self.check_help_pages(self.res, help_files(sys.argv[4] + "/builder/resources/help"))

    @unittest.skipUnless(len(sys.argv) > 5, "no French library given")
    def test_french_help_pages(self):
        # The French pages, with the English folder's script, style sheet and pictures.
        expected = help_files(sys.argv[4] + "/builder/resources/help")
        expected.update(help_files(sys.argv[4] + "/builder/resources/fra/help"))
        self.check_help_pages(read_resources(sys.argv[5]), expected)

    @unittest.skipUnless(len(sys.argv) > 5, "no French library given")
    def test_french_library_matches_the_program(self):
        french = read_resources(sys.argv[5])
        self.assertLessEqual(set(french), {RT_MENU, RT_DIALOG, RT_STRING, RT_HTML})
        for kind in (RT_MENU, RT_DIALOG):
            self.assertEqual(set(french.get(kind, {})), set(self.res.get(kind, {})), kind)
        for number, template in self.res[RT_DIALOG].items():
            with self.subTest(dialog=number):
                self.assertEqual(dialog_control_ids(french[RT_DIALOG][number]),
                                 dialog_control_ids(template))
        english, translated = strings(self.res), strings(french)
        self.assertEqual(set(translated), set(english))
        for number, text in english.items():
            self.assertEqual(format_fields(translated[number]), format_fields(text), number)
        self.assertEqual(translated[IDS_SAVE_CHANGES], "Enregistrer les modifications de %s ?")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
