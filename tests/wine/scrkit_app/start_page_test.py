#!/usr/bin/env python3
"""The wizard's Start page under Wine: its title and captions, the Reopen menu from the recent
list (disabled when empty, an entry opened by real keys), Open Existing Project, Start from a New
Flash Movie (a movie's background taken, a file that is no movie left alone, without a message)
and New Empty Project after the save question; projects read back with the native scrkit-cli.

usage: start_page_test.py STATE_DIR SCRKIT.EXE SCRKIT-CLI (native) [SCREENSHOT.png]
"""
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
import wine_ui  # noqa: E402

STATE, SCRKIT, CLI = sys.argv[1], sys.argv[2], sys.argv[3]
SCREENSHOT = sys.argv[4] if len(sys.argv) > 4 else None
HARNESS = wine_ui.HARNESS
FRAME, BOX, OPEN = "@FCMainFrame", "@#32770", "Open"
RECENT_KEY = r"HKCU\Software\Marqon Technologies\Tarvo Saver\Recent File List"
ID_FILE_SAVE, START_STEP, SETUP_STEP = 0xE103, 200, 201
TITLE, PROJECT, MOVIE, BLANK, REOPEN = 1021, 1025, 1017, 1027, 1195
IDYES, IDNO, IDCANCEL, SHORT_NAME = 6, 7, 2, 1278


def cli(*args):
    done = subprocess.run([CLI, *args], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    return done.stdout


def show(path):
    return json.loads(cli("project", "show", path, "--json"))


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def write_movie(path, rgb):
    """A one-frame SWF whose only tag is its background colour."""
    rect = bytes([0x78, 0x00, 0x03, 0xE8, 0x00, 0x00, 0x0B, 0xB8, 0x00])  # 15-bit 0..8000 x 0..6000
    body = rect + struct.pack("<HH", 12 << 8, 1)
    body += struct.pack("<H", (9 << 6) | 3) + bytes(rgb) + struct.pack("<HH", 1 << 6, 0)
    with open(path, "wb") as out:
        out.write(b"FWS\x08" + struct.pack("<I", 8 + len(body)) + body)


def frame_shot(ui, path):
    """The frame's client area into a PNG, as the README shows it."""
    ui.screenshot().save(path, ui.tree(FRAME)["client"])


class Wizard:
    def __init__(self, ui, *args):
        self.ui = ui
        self.proc = subprocess.Popen([os.path.join(HARNESS, "wine-run"), "--state", STATE,
                                      "--timeout", "200", SCRKIT, *args],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        ui.wait(FRAME, timeout=30)

    def close(self):
        # Answers No to the save question that a case may leave.
        while self.proc.poll() is None and self.ui.exists(FRAME):
            self.ui.close_window(FRAME)
            try:
                self.ui.call("click", BOX, IDNO, timeout=3)
            except wine_ui.DriverError:
                pass
        self.proc.wait(30)


class StartPageTest(unittest.TestCase):
    """One wizard for the cases after the first; they run in their order."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        cls.ui = wine_ui.Driver(STATE)
        cls.project = os.path.join(cls.tmp, "A&B.kpj")  # an ampersand in the menu's text
        cli("project", "new", "-o", cls.project, "short_name=Dunes", "custom_background=false",
            "background_color=#102030")
        cls.blue = os.path.join(cls.tmp, "blue.swf")
        write_movie(cls.blue, (0, 0, 255))
        cls.not_movie = os.path.join(cls.tmp, "text.swf")
        with open(cls.not_movie, "w") as out:
            out.write("not a movie\n")
        cls.wizard = None

    @classmethod
    def tearDownClass(cls):
        try:
            if cls.wizard:
                cls.wizard.close()
        finally:
            cls.ui.reg("delete", RECENT_KEY)
            cls.ui.close()
            shutil.rmtree(cls.tmp, ignore_errors=True)

    def tree(self):
        return self.ui.tree(FRAME)

    def step_shown(self):
        return [n["id"] for n in wine_ui.find_all(self.tree(), **{"class": "FCStepWnd"})
                if n["visible"]]

    def open_file_dialog(self, path):
        """Types the path into the open-file dialog with real keys and presses Enter."""
        self.ui.type_into(OPEN, "1148/1148/1148", windows_path(path), erase=60)
        self.ui.key("Return")
        self.assertTrue(self.ui.gone(OPEN))

    def save(self):
        self.ui.command(FRAME, ID_FILE_SAVE)
        self.tree()  # handled before the driver's next answer
        return show(self.project)

    def test_1_empty_recent_list_disables_reopen(self):
        self.ui.reg("delete", RECENT_KEY)
        wizard = Wizard(self.ui)
        try:
            tree = self.tree()
            self.assertEqual(self.step_shown(), [START_STEP])
            self.assertEqual(wine_ui.find(tree, id=TITLE)["text"], "Tarvo Saver 2.4")
            self.assertEqual([wine_ui.find(tree, id=i)["text"] for i in (1196, 1197, 1198)],
                             ["Open Existing Project", "Start from a New Flash Movie",
                              "New Empty Project"])
            self.assertFalse(wine_ui.find(tree, id=REOPEN)["enabled"])
            if SCREENSHOT:
                frame_shot(self.ui, SCREENSHOT)
            self.assertTrue(all(wine_ui.find(tree, id=i)["enabled"]
                                for i in (PROJECT, MOVIE, BLANK)))
        finally:
            wizard.close()

    def test_2_reopen_menu_opens_the_recent_project(self):
        self.ui.reg("set", RECENT_KEY, "File1", "REG_SZ", windows_path(self.project))
        type(self).wizard = Wizard(self.ui)
        self.assertTrue(self.control(REOPEN)["enabled"])
        self.ui.click_at(FRAME, REOPEN)  # the menu opens below the button
        self.ui.key("Down", "Return")
        self.assertEqual(self.tree()["text"], "Tarvo Saver - A&B.kpj")

    def control(self, id):
        return wine_ui.find(self.tree(), id=id)

    def test_3_open_existing_project_cancelled_then_chosen(self):
        self.ui.command(FRAME, START_STEP)
        self.ui.click(FRAME, PROJECT)
        self.ui.click(OPEN, IDCANCEL)
        self.assertTrue(self.ui.gone(OPEN))
        self.assertEqual(self.step_shown(), [START_STEP])
        self.ui.click(FRAME, PROJECT)
        self.open_file_dialog(self.project)
        self.assertEqual(self.step_shown(), [SETUP_STEP])
        self.assertEqual(self.tree()["text"], "Tarvo Saver - A&B.kpj")

    def test_4_start_from_a_movie(self):
        before = show(self.project)
        # A file that is no movie: not taken, no message, the project unmodified.
        self.ui.command(FRAME, START_STEP)
        self.ui.click(FRAME, MOVIE)
        self.open_file_dialog(self.not_movie)
        self.assertEqual(self.step_shown(), [SETUP_STEP])
        self.assertFalse(self.ui.exists(BOX))
        self.assertEqual(self.save(), before)
        # The blue movie: its path and colour, every other field kept.
        self.ui.command(FRAME, START_STEP)
        self.ui.click(FRAME, MOVIE)
        self.open_file_dialog(self.blue)
        self.assertEqual(self.step_shown(), [SETUP_STEP])
        saved = self.save()
        changed = {k: v for k, v in saved.items() if before.get(k) != v}
        self.assertEqual(changed, {"movie_file": self.blue,  # as the native reader names it
                                   "movie_background_color": "#0000FF",
                                   "background_color": "#0000FF"})

    def test_5_new_empty_project_asks_first(self):
        self.ui.command(FRAME, SETUP_STEP)
        self.ui.type_into(FRAME, SHORT_NAME, "Changed", erase=20)
        self.ui.command(FRAME, START_STEP)  # leaving the page stores it
        self.ui.click(FRAME, BLANK)
        question = self.ui.tree(BOX)
        self.assertEqual(wine_ui.find(question, id=65535)["text"], "Save changes to A&B ?")
        self.ui.click(BOX, IDCANCEL)
        self.assertTrue(self.ui.gone(BOX))
        self.assertEqual(self.step_shown(), [START_STEP])
        self.assertEqual(self.control(SHORT_NAME)["text"], "Changed")  # kept
        self.ui.click(FRAME, BLANK)
        self.ui.click(BOX, IDNO)
        self.assertTrue(self.ui.gone(BOX))
        self.assertEqual(self.step_shown(), [SETUP_STEP])
        self.assertEqual(self.tree()["text"], "Tarvo Saver")  # no file any more
        self.assertEqual(self.control(SHORT_NAME)["text"], "Your Screensaver")
        self.assertEqual(show(self.project)["short_name"], "Dunes")  # the file as it was


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
