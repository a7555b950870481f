#!/usr/bin/env python3
"""The wizard's Setup Style page under Wine: the built-in pictures, a custom one chosen with the
open-file dialog by real keys and seen on screen in its preview, a file that is no picture
leaving the preview empty with the box checked, the same file written again redrawn, the
built-in picture back when the box is cleared; the saved project read back with the native
scrkit-cli.

usage: style_page_test.py STATE_DIR SCRKIT.EXE SCRKIT-CLI (native) [SCREENSHOT.png]
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
import wine_ui  # noqa: E402
from wizard_page import close_wizard  # noqa: E402

STATE, SCRKIT, CLI = sys.argv[1], sys.argv[2], sys.argv[3]
SCREENSHOT = sys.argv[4] if len(sys.argv) > 4 else None
HARNESS = wine_ui.HARNESS
FRAME, OPEN = "@FCMainFrame", "Open"
ID_FILE_SAVE, STYLE_STEP = 0xE103, 202
CUSTOM, PATH, BROWSE, PREVIEW = 1408, 1409, 1410, 1406
CUSTOM_SMALL, SMALL_PATH, SMALL_BROWSE, SMALL_PREVIEW = 1293, 1291, 1294, 1407
RED, BLUE, GREEN = (255, 0, 0), (0, 0, 255), (0, 255, 0)


def cli(*args):
    done = subprocess.run([CLI, *args], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    return done.stdout


def picture(path, size, colour):
    subprocess.run(["convert", "-size", size, "xc:rgb(%d,%d,%d)" % colour, path], check=True)


def frame_shot(ui, path):
    """The frame's client area into a PNG, as the README shows it."""
    ui.screenshot().save(path, ui.tree(FRAME)["client"])


class StylePageTest(unittest.TestCase):
    """One wizard on the project's Style step; the cases run in their order."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        cls.project = os.path.join(cls.tmp, "Style.kpj")
        cli("project", "new", "-o", cls.project)
        cls.original = json.loads(cli("project", "show", cls.project, "--json"))
        cls.large = os.path.join(cls.tmp, "large.bmp")
        picture(cls.large, "164x314", RED)
        cls.small = os.path.join(cls.tmp, "small.png")
        picture(cls.small, "55x55", GREEN)
        cls.broken = os.path.join(cls.tmp, "broken.bmp")
        with open(cls.broken, "w") as out:
            out.write("no picture\n")
        cls.ui = wine_ui.Driver(STATE)
        cls.proc = subprocess.Popen([os.path.join(HARNESS, "wine-run"), "--state", STATE,
                                     "--timeout", "200", SCRKIT,
                                     "Z:" + cls.project.replace("/", "\\")],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cls.ui.wait(FRAME, timeout=30)
        cls.ui.command(FRAME, STYLE_STEP)

    @classmethod
    def tearDownClass(cls):
        try:
            close_wizard(cls.ui, cls.proc)
        finally:
            cls.ui.close()
            shutil.rmtree(cls.tmp, ignore_errors=True)

    def control(self, id):
        return wine_ui.find(wine_ui.find(self.ui.tree(FRAME), id=STYLE_STEP), id=id)

    def click(self, id):
        self.ui.click_at(FRAME, "%d/%d" % (STYLE_STEP, id))

    def preview_pixels(self, id):
        """The preview's centre pixel and how many of its pixels differ from the face."""
        left, top, right, bottom = self.control(id)["rect"]
        shot = self.ui.screenshot()
        face = shot.pixel(left - 2, top)  # the page beside the preview
        others = sum(1 for y in range(top, bottom, 3) for x in range(left, right, 3)
                     if shot.pixel(x, y) != face)
        return shot.pixel((left + right) // 2, (top + bottom) // 2), others

    def assert_preview(self, id, centre=None, empty=False):
        for _ in range(30):  # painting comes after the messages
            seen, others = self.preview_pixels(id)
            if (others == 0) if empty else (others > 0 and centre in (None, seen)):
                return seen
            time.sleep(0.1)
        self.fail("preview %d shows %s (%d pixels off the face)" % (id, seen, others))

    def browse(self, button, path):
        self.click(button)
        self.ui.type_into(OPEN, "1148/1148/1148", "Z:" + path.replace("/", "\\"), erase=60)
        self.ui.key("Return")
        self.assertTrue(self.ui.gone(OPEN))

    def test_1_built_in_pictures(self):
        states = [(self.control(i)["enabled"], self.control(i).get("check"))
                  for i in (CUSTOM, PATH, BROWSE, CUSTOM_SMALL, SMALL_PATH, SMALL_BROWSE)]
        self.assertEqual(states, [(True, 0), (False, None), (False, None)] * 2)
        left, top, right, bottom = self.control(PREVIEW)["rect"]
        self.assertEqual((right - left, bottom - top), (166, 316))
        left, top, right, bottom = self.control(SMALL_PREVIEW)["rect"]
        self.assertEqual((right - left, bottom - top), (57, 57))
        type(self).builtin = self.assert_preview(PREVIEW)
        self.assert_preview(SMALL_PREVIEW)
        if SCREENSHOT:
            frame_shot(self.ui, SCREENSHOT)

    def test_2_custom_picture(self):
        self.click(CUSTOM)  # no file yet: nothing to show
        self.assertTrue(self.control(BROWSE)["enabled"])
        self.assert_preview(PREVIEW, empty=True)
        self.browse(BROWSE, self.large)
        self.assertEqual(self.control(PATH)["text"], "Z:" + self.large.replace("/", "\\"))
        self.assert_preview(PREVIEW, RED)
        # No picture: an empty preview, the box still checked.
        self.browse(BROWSE, self.broken)
        self.assert_preview(PREVIEW, empty=True)
        self.assertEqual(self.control(CUSTOM)["check"], 1)
        self.browse(BROWSE, self.large)
        self.assert_preview(PREVIEW, RED)
        # The same file written again, newer: drawn again.
        picture(self.large, "164x314", BLUE)
        later = time.time() + 10
        os.utime(self.large, (later, later))
        self.browse(BROWSE, self.large)
        self.assert_preview(PREVIEW, BLUE)
        self.click(CUSTOM)  # cleared: the built-in picture again
        self.assertFalse(self.control(BROWSE)["enabled"])
        self.assert_preview(PREVIEW, self.builtin)

    def test_3_small_picture_and_saving(self):
        self.click(CUSTOM_SMALL)
        self.browse(SMALL_BROWSE, self.small)
        self.assert_preview(SMALL_PREVIEW, GREEN)
        self.ui.command(FRAME, ID_FILE_SAVE)
        self.ui.tree(FRAME)
        saved = json.loads(cli("project", "show", self.project, "--json"))
        changed = {k: v for k, v in saved.items() if self.original.get(k) != v}
        self.assertEqual(changed, {"wizard_image_file": self.large,  # the box is clear again
                                   "custom_wizard_small_image": True,
                                   "wizard_small_image_file": self.small})


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
