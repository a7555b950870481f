#!/usr/bin/env python3
"""The wizard's Finish page under Wine, with real clicks and keys: a project opened from the
command line, saved as Demo.kpj; Save Screensaver as SCR... proposes Demo.scr in the real
save-file dialog, and a path typed there becomes a screensaver file that the native scrkit-cli
reads back with the project's title; Save Setup as EXE... proposes Demo.exe and builds the setup
program with the stand-in compiler. The wizard runs from a copy of scrkit.exe whose folder holds
the stand-in as setup\iscc.exe, where the builder looks for the compiler. The three test buttons
start the project's screensaver full screen (with the stand-in Flash control), its settings
dialog, and the setup program the stand-in made; Save Current Project... writes the project
where the save-file dialog was told.

usage: finish_page_test.py STATE_DIR SCRKIT.EXE SCRKIT-CLI (native) ISCC_STANDIN FLASH_STANDIN
                           [SCREENSHOT.png]
"""
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest

from wizard_page import FRAME, PATHS, SAVE_AS, PageTest, cli, configure, windows_path
import wine_ui  # noqa: E402 (wizard_page puts the harness on the path)

configure(*sys.argv[1:4])
STANDIN, FLASH = sys.argv[4:6]
SCREENSHOT = sys.argv[6] if len(sys.argv) > 6 else None
FLASH_SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "flash_standin",
                            "flash-standin")
SAVE_SETUP, SAVE_SCR, SAVE_PROJECT = 1013, 1015, 1022
TEST_SCR, TEST_SETTINGS, TEST_SETUP = 1019, 1020, 1021
SAVER = "Tarvo Screensaver"
MESSAGE = "Settings of the finish test"
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
        cli("project", "new", "-o", cls.project, "movie_file=" + windows_path(movie),
            "long_name=" + TITLE, "short_name=FinishStars", "settings_message=" + MESSAGE)
        # What the stand-ins started from the wizard leave behind.
        cls.logs = {name: os.path.join(cls.tmp, name + ".log") for name in ("flash", "setup")}
        cls.script = os.path.join(cls.tmp, "received.iss")
        os.environ.update(FLASH_STANDIN_LOG=windows_path(cls.logs["flash"]),
                          ISCC_STANDIN_SETUP_LOG=windows_path(cls.logs["setup"]),
                          ISCC_STANDIN_SCRIPT_COPY=windows_path(cls.script))
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

    def test_4_test_screensaver_now(self):
        subprocess.run([FLASH_SCRIPT, "--state", PATHS["state"], "register", FLASH],
                       env=self.ui.env, check=True)
        try:
            self.click(TEST_SCR)
            window = self.ui.wait(SAVER, timeout=30)
            left, top, right, bottom = self.ui.tree("#%d" % window)["rect"]
            self.assertEqual((left, top), (0, 0))
            time.sleep(1.5)  # input in the first second is ignored
            self.ui.xdotool("mousemove", right // 2, bottom // 2)
            time.sleep(0.3)
            self.ui.key("a")
            self.assertTrue(self.ui.gone(SAVER))
        finally:
            subprocess.run([FLASH_SCRIPT, "--state", PATHS["state"], "unregister", FLASH],
                           env=self.ui.env)
        self.ui.tree(FRAME)  # the wizard answers again once the run is over
        with open(self.logs["flash"]) as log:
            movies = [l for l in log.read().splitlines()
                      if l.startswith("IDispatch.Invoke") and l.endswith('\\stars.swf"')]
        self.assertEqual(len(movies), 1)
        self.assertIn("\\swfsaver\\", movies[0])

    def test_5_test_settings_now(self):
        self.click(TEST_SETTINGS)
        dialog = self.ui.tree(TITLE, timeout=30)  # the screensaver's own dialog, named after it
        self.assertTrue(wine_ui.find(dialog, text=MESSAGE))
        self.ui.move_to(TITLE)
        self.ui.key("Escape")
        self.assertTrue(self.ui.gone(TITLE))
        self.ui.tree(FRAME)

    def test_6_test_setup_now(self):
        self.click(TEST_SETUP)
        # The wizard hides while the setup runs, and comes back when it has ended.
        for _ in range(100):
            if os.path.exists(self.logs["setup"]) and self.ui.exists(FRAME):
                break
            time.sleep(0.2)
        with open(self.logs["setup"]) as log:
            self.assertEqual(log.read(), "setup ran\n")
        self.assertFalse(self.ui.exists("@#32770"))  # no error box
        script = open(self.script, encoding="cp1252").read()
        self.assertIn("AppName=" + TITLE, script)
        self.assertIn('DestName: "FinishStars.scr"; DestDir: "{sys}"', script)

    def test_7_save_current_project(self):
        self.click(SAVE_PROJECT)
        self.ui.wait(SAVE_AS)
        self.assertEqual(wine_ui.find(self.ui.tree(SAVE_AS), id=1148)["text"], "Demo.kpj")
        copy = os.path.join(self.tmp, "saved", "Copy.kpj")
        os.mkdir(os.path.dirname(copy))
        self.ui.type_into(SAVE_AS, NAME_EDIT, windows_path(copy), erase=40)
        self.ui.key("Return")
        self.assertTrue(self.ui.gone(SAVE_AS))
        self.assertEqual(self.ui.tree(FRAME)["text"], "Tarvo Saver - Copy.kpj")
        saved = json.loads(cli("project", "show", copy, "--json"))
        # Saved elsewhere: the movie beside the first project is named in full. The folder follows
        # the long name, as it does while not custom.
        self.assertEqual(self.changed(saved), {
            "movie_file": windows_path(os.path.join(self.tmp, "stars.swf")),
            "install_dir": "{pf}\\Your Company\\" + TITLE})


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
