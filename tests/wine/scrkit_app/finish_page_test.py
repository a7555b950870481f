#!/usr/bin/env python3
"""The wizard's Finish page under Wine, with real clicks and keys: a project opened from the
command line, saved as Demo.kpj; Save Screensaver as SCR... proposes Demo.scr in the real
save-file dialog, and a path typed there becomes a screensaver file that the native scrkit-cli
reads back with the project's title; Save Setup as EXE... proposes Demo.exe and builds the setup
program with the stand-in compiler. The wizard runs from a copy of scrkit.exe whose folder holds
the stand-in as setup\iscc.exe, where the builder looks for the compiler.

usage: finish_page_test.py STATE_DIR SCRKIT.EXE SCRKIT-CLI (native) ISCC_STANDIN [SCREENSHOT.png]
"""
import json
import os
import shutil
import struct
import sys
import tempfile
import unittest

from wizard_page import FRAME, PATHS, SAVE_AS, PageTest, cli, configure, windows_path
import wine_ui  # noqa: E402 (wizard_page puts the harness on the path)

configure(*sys.argv[1:4])
STANDIN = sys.argv[4]
SCREENSHOT = sys.argv[5] if len(sys.argv) > 5 else None
SAVE_SETUP, SAVE_SCR = 1013, 1015
NAME_EDIT = "1148/1148/1148"
TITLE = "Night Stars Finish"


def swf(path):
    """An uncompressed movie of one empty frame."""
    bits = "10000" + "".join(format(v, "016b") for v in (0, 11000, 0, 8000))  # 16-bit RECT
    bits += "0" * (-len(bits) % 8)
    rect = int(bits, 2).to_bytes(len(bits) // 8, "big")
    body = rect + struct.pack("<HH", 12 << 8, 1) + struct.pack("<HH", 1 << 6, 0)
    with open(path, "wb") as out:
        out.write(b"FWS" + bytes([6]) + struct.pack("<I", 8 + len(body)) + body)


class FinishPageTest(PageTest):
    """One wizard on the project's Finish step; the cases run in their order."""
    STEP = 208

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        movie = os.path.join(cls.tmp, "stars.swf")
        swf(movie)
        cls.project = os.path.join(cls.tmp, "Demo.kpj")
        cli("project", "new", "-o", cls.project, "movie_file=" + windows_path(movie), "long_name=" + TITLE)
        app = os.path.join(cls.tmp, "app")
        os.makedirs(os.path.join(app, "setup"))
        scrkit = shutil.copy(PATHS["scrkit"], app)
        shutil.copy(STANDIN, os.path.join(app, "setup", "iscc.exe"))
        cls.start_wizard(scrkit)

    def test_1_page_shows_its_buttons(self):
        texts = [c["text"] for c in self.controls(1019, 1020, 1021, 1013, 1015, 1022)]
        self.assertEqual(texts, ["Test Screensaver Now", "Test Settings Now", "Test Setup Now",
                                 "Save Setup as EXE...", "Save Screensaver as SCR...",
                                 "Save Current Project..."])
        if SCREENSHOT:
            self.ui.screenshot().save(SCREENSHOT, self.ui.tree(FRAME)["client"])

    def export(self, button, name):
        """Clicks the export button, checks the proposed name, types a path in a new folder and
        returns it once the build is over."""
        self.click(button)
        self.ui.wait(SAVE_AS)
        proposed = wine_ui.find(self.ui.tree(SAVE_AS), id=1148)["text"]
        self.assertEqual(proposed, "Demo" + os.path.splitext(name)[1])
        out = os.path.join(self.tmp, "out-" + name, name)
        os.mkdir(os.path.dirname(out))
        self.ui.type_into(SAVE_AS, NAME_EDIT, windows_path(out), erase=40)
        self.ui.key("Return")
        self.assertTrue(self.ui.gone(SAVE_AS))
        self.ui.tree(FRAME)  # the build is done before the frame answers again
        return out

    def test_2_screensaver_export(self):
        out = self.export(SAVE_SCR, "Built.scr")
        self.assertTrue(os.path.isfile(out))
        info = json.loads(cli("info", out, "--json"))
        self.assertIn(TITLE, json.dumps(info))

    def test_3_setup_export(self):
        out = self.export(SAVE_SETUP, "Setup.exe")
        self.assertFalse(self.ui.exists("@#32770"))  # no error box
        self.assertTrue(os.path.isfile(out))
        # The stand-in's setup program is a copy of the stand-in itself.
        with open(out, "rb") as built, open(STANDIN, "rb") as standin:
            self.assertEqual(built.read(), standin.read())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
