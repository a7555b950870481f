#!/usr/bin/env python3
"""scrkit.exe's start-up under Wine, read through the UI driver: the display's colour depth, the
splash's second, the frame's size and page area at 96, 120 and 144 dpi, the toolbar, the stored
window placement (ten numbers ignored, eleven restoring the position and keeping the size,
closing writing it back), a project or a movie on the command line, the About box, and the
language from "locale" with and without the French library.

usage: scrkit_frame_test.py STATE_DIR SCRKIT.EXE [SCREENSHOT.png]  (the frame as it starts)
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
import wine_ui  # noqa: E402

STATE, SCRKIT = sys.argv[1], sys.argv[2]
SCREENSHOT = sys.argv[3] if len(sys.argv) > 3 else None
HARNESS = wine_ui.HARNESS
FRAME = "@FCMainFrame"
USER_KEY = r"HKCU\Software\Marqon Technologies\Tarvo Saver\Settings"
MACHINE_KEY = r"HKLM\Software\Marqon Technologies\Tarvo Saver"
LOG_PIXELS = (r"HKCU\Control Panel\Desktop", "LogPixels")
TB_BUTTONCOUNT, TB_ISBUTTONCHECKED = 0x418, 0x40A
IDC_HEADER_TITLES = 1308  # the Setup page's first header
ID_APP_ABOUT, WS_CAPTION = 0xE140, 0xC00000


def size(node):
    left, top, right, bottom = node["rect"]
    return right - left, bottom - top


class Scrkit:
    """One run of the program (from a copy of its folder when the French library must go)."""

    def __init__(self, ui, *args, program=SCRKIT, env=None, state=STATE, wait=True):
        self.ui = ui
        self.proc = subprocess.Popen([os.path.join(HARNESS, "wine-run"), "--state", state,
                                      "--timeout", "60", program, *args],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     env=env)
        if wait:
            ui.wait(FRAME, timeout=30)

    def close(self):
        self.ui.close_window(FRAME)
        self.proc.wait(30)
        return self.proc.returncode


class FrameTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.ui = wine_ui.Driver(STATE)
        cls.tmp = tempfile.mkdtemp()

    @classmethod
    def tearDownClass(cls):
        cls.ui.close()
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def setUp(self):
        self.ui.reg("delete", USER_KEY, "WindowPlacement")
        self.ui.reg("delete", MACHINE_KEY, "locale")

    def step_shown(self, tree):
        shown = [n["id"] for n in wine_ui.find_all(tree, **{"class": "FCStepWnd"}) if n["visible"]]
        self.assertEqual(len(shown), 1, shown)
        return shown[0]

    def private_display(self, depth):
        """A state folder for the run's prefix on an Xvfb screen of `depth` bits of its own."""
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                 "800x600x%d" % depth, "-nolisten", "tcp"], pass_fds=[write_end],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as reported:
            number = reported.readline().strip()
        self.addCleanup(xvfb.wait, 10)
        self.addCleanup(xvfb.terminate)
        self.assertTrue(number.isdigit(), "Xvfb at %d bits did not start" % depth)
        state = os.path.join(self.tmp, "depth%d" % depth)
        os.makedirs(state, exist_ok=True)
        with open(os.path.join(STATE, "env")) as source:
            lines = [("DISPLAY=':%s'\n" % number) if line.startswith("DISPLAY=") else line
                     for line in source]
        with open(os.path.join(state, "env"), "w") as env:
            env.writelines(lines)
        return state

    def test_colour_depth(self):
        # Fewer than 16 bits per pixel: the message, then the program ends without its frame.
        app = Scrkit(self.ui, state=self.private_display(8), wait=False)
        box = self.ui.tree("@#32770", timeout=30)
        self.assertIn("Color depth is invalid. At least 65536 colors (16 bits) are required.",
                      wine_ui.find(box, id=65535)["text"])
        self.assertFalse(self.ui.exists(FRAME))
        self.ui.click("@#32770", 1)
        app.proc.wait(30)  # ended, never showing the frame
        # 16 bits are enough (24 are the run's own display).
        app = Scrkit(self.ui, state=self.private_display(16))
        self.assertEqual(app.close(), 0)

    def test_frame_toolbar_and_closing_writes_the_placement(self):
        app = Scrkit(self.ui)
        tree = self.ui.tree(FRAME)
        self.assertEqual(size(tree), (680, 540))
        steps = wine_ui.find_all(tree, **{"class": "FCStepWnd"})
        self.assertEqual([n["id"] for n in steps], list(range(200, 209)))
        self.assertEqual({size(n) for n in steps}, {(450, 390)})
        self.assertEqual(self.step_shown(tree), 200)
        # The view's layout, in its client coordinates: the page area at (220, 2), the
        # buttons and the 3-pixel separator from its bottom right.
        view = wine_ui.find(tree, **{"class": "FCMainView"})
        view_left, view_top, view_right, view_bottom = view["rect"]
        cx, cy = view_right - view_left, view_bottom - view_top
        for control, place in [(200, (220, 2, 450, 390)), (102, (cx - 168, cy - 31, 74, 22)),
                               (103, (cx - 94, cy - 31, 74, 22)), (131, (236, cy - 42, 450, 3))]:
            left, top, right, bottom = wine_ui.find(view, id=control)["rect"]
            self.assertEqual((left - view_left, top - view_top, right - left, bottom - top),
                             place, control)
        self.assertFalse(wine_ui.find(tree, id=102)["enabled"])
        self.assertTrue(wine_ui.find(tree, id=103)["enabled"])
        if SCREENSHOT:  # the frame's client area, as the README shows it (Wine draws no caption
            self.ui.screenshot().save(SCREENSHOT, tree["client"])  # without a window manager)
        toolbar_node = wine_ui.find(tree, **{"class": "ToolbarWindow32"})
        toolbar = "#%d" % toolbar_node["handle"]
        self.assertEqual(self.ui.send(toolbar, 0, TB_BUTTONCOUNT), 9)
        # The toolbar draws its checked button itself, filled with the blend of face and
        # highlight: along a row near its top, the fill marks where the checked button is.
        face = self.ui.screenshot().pixel(view_left + 300, view_top + 300)  # the page area
        fill = tuple((c + 255) // 2 for c in face)
        left, top, right, _ = toolbar_node["rect"]

        def filled_columns():
            shot = self.ui.screenshot()
            return [x - left for x in range(left, right) if shot.pixel(x, top + 4) == fill]

        start = filled_columns()
        self.assertTrue(start and max(start) < 60, start)  # the Start button, the first
        self.ui.click(FRAME, 103)
        self.ui.tree(FRAME)  # the posted click is handled before the driver's next answer
        checked = [i for i in range(200, 209) if self.ui.send(toolbar, 0, TB_ISBUTTONCHECKED, i)]
        self.assertEqual(checked, [201])
        self.assertEqual(self.step_shown(self.ui.tree(FRAME)), 201)
        for _ in range(20):  # painting comes after the messages
            setup = filled_columns()
            if setup != start:
                break
            time.sleep(0.1)
        self.assertTrue(setup and min(setup) > max(start), (start, setup))  # the next one
        self.assertEqual(app.close(), 0)
        stored = self.ui.reg("get", USER_KEY, "WindowPlacement").stdout.strip()
        numbers = [int(v) for v in stored.split(",")]
        self.assertEqual(len(numbers), 11, stored)
        self.assertEqual(numbers[9] - numbers[7], 680)
        self.assertEqual(numbers[10] - numbers[8], 540)

    def test_about_box(self):
        app = Scrkit(self.ui)
        self.ui.command(FRAME, ID_APP_ABOUT)
        box = self.ui.tree("@#32770")
        left, top, right, bottom = box["rect"]
        self.assertEqual(box["rect"], box["client"])  # borderless
        self.assertEqual(int(box["style"], 16) & WS_CAPTION, 0)
        self.assertEqual((right - left, bottom - top), (440, 260))  # the image less 2 pixels
        self.assertEqual(wine_ui.find(box, id=1229)["rect"], box["rect"])
        link = wine_ui.find(box, id=1002)["rect"]
        self.assertEqual((link[1] - top, link[2] - left), (94, 436))
        # Black text within the credits' rectangle, the grey notice within its own, and
        # neither colour elsewhere on the image.
        shot = self.ui.screenshot()
        black, grey = (0, 0, 0), (85, 85, 85)
        self.assertGreater(shot.count(black, left + 20, top + 94, left + 420, top + 215), 200)
        self.assertGreater(shot.count(grey, left + 10, top + 220, right, bottom), 50)
        self.assertEqual(shot.count(black, left, top, right, top + 90), 0)
        self.assertEqual(shot.count(grey, left, top, right, top + 215), 0)
        # The link on top of the image: its light grey background and its blue text.
        link_pixels = [shot.pixel(x, y) for y in range(link[1], link[3])
                       for x in range(link[0], link[2])]
        self.assertGreater(link_pixels.count((238, 238, 238)), len(link_pixels) // 2)
        self.assertGreater(sum(1 for r, g, b in link_pixels if b > r + 60), 100)
        self.ui.click("@#32770", 1229)
        self.assertTrue(self.ui.gone("@#32770"))
        self.assertEqual(app.close(), 0)

    def test_splash_stays_a_second_before_the_frame_shows(self):
        app = Scrkit(self.ui, wait=False)
        self.ui.wait("@KZCSplashWnd", timeout=30)
        seen = time.monotonic()  # a little after it appeared
        self.assertFalse(self.ui.exists(FRAME))
        self.assertTrue(self.ui.gone("@KZCSplashWnd", timeout=10))
        # The frame is made in some 30 ms here: without the minimum the splash would flash.
        self.assertGreaterEqual(time.monotonic() - seen, 0.9)
        self.ui.wait(FRAME, timeout=30)
        self.assertEqual(app.close(), 0)

    def test_sizes_follow_the_screen_resolution(self):
        # Wine reads LogPixels when a program starts: set only while the frame comes up, so
        # that other tests' programs keep 96.
        before = self.ui.reg("get", *LOG_PIXELS)
        for dpi, frame, page in [(120, (803, 638), (594, 515)), (144, (921, 731), (747, 647))]:
            with self.subTest(dpi=dpi):
                self.ui.reg("set", *LOG_PIXELS, "REG_DWORD", dpi)
                try:
                    app = Scrkit(self.ui)
                finally:
                    if before.returncode == 0:
                        self.ui.reg("set", *LOG_PIXELS, "REG_DWORD", before.stdout.strip())
                    else:
                        self.ui.reg("delete", *LOG_PIXELS)
                tree = self.ui.tree(FRAME)
                self.assertEqual(size(tree), frame)
                steps = wine_ui.find_all(tree, **{"class": "FCStepWnd"})
                self.assertEqual({size(n) for n in steps}, {page})
                app.close()

    def test_stored_placement(self):
        cases = [  # stored value, expected top-left, or None for where the system put it
            ("0,0,1,-1,-1,-1,-1,60,70,100", None),  # ten numbers: ignored
            ("0,0,1,-1,-1,-1,-1,60,70,100,100,0", None),  # twelve
            ("0,0,1,-1,-1,-1,-1,60,70,100,100", (60, 70)),  # eleven: position, not size
        ]
        for stored, expected in cases:
            with self.subTest(stored=stored):
                self.ui.reg("set", USER_KEY, "WindowPlacement", "REG_SZ", stored)
                app = Scrkit(self.ui)
                left, top, right, bottom = self.ui.tree(FRAME)["rect"]
                self.assertEqual((right - left, bottom - top), (680, 540))  # the size is kept
                if expected:
                    self.assertEqual((left, top), expected)
                else:
                    self.assertNotEqual((left, top), (60, 70))
                app.close()

    def test_command_line_project(self):
        # A .KPJ that does not open still shows step 2, after the opening's message; a movie
        # opens nothing and the Start step stays.
        missing = "Z:" + os.path.join(self.tmp, "Gone.KPJ").replace("/", "\\")
        movie = "Z:" + os.path.join(self.tmp, "movie.swf").replace("/", "\\")
        for arg, step, message in [(missing, 201, "Unable to open file"), (movie, 200, None)]:
            with self.subTest(arg=arg):
                app = Scrkit(self.ui, arg)
                if message:
                    box = self.ui.tree("@#32770", timeout=20)
                    self.assertIn(message, wine_ui.find(box, id=65535)["text"])
                    self.ui.click("@#32770", 1)
                    self.assertTrue(self.ui.gone("@#32770"))
                tree = self.ui.tree(FRAME)
                self.assertEqual(tree["text"], "Tarvo Saver")
                self.assertEqual(self.step_shown(tree), step)
                app.close()

    def test_language(self):
        bare = os.path.join(self.tmp, "bare")
        os.makedirs(bare, exist_ok=True)
        shutil.copy(SCRKIT, bare)  # without the French library
        bare_exe = os.path.join(bare, os.path.basename(SCRKIT))
        french_env = dict(os.environ, LANG="fr_FR.UTF-8", LC_ALL="fr_FR.UTF-8")
        cases = [  # locale value (type, data) or None, program, environment, French expected
            (("REG_DWORD", "2"), SCRKIT, None, True),
            (("REG_DWORD", "2"), bare_exe, None, False),
            (("REG_DWORD", "1"), SCRKIT, french_env, False),
            (("REG_DWORD", "3"), SCRKIT, None, False),
            (("REG_BINARY", "0200000000000000"), SCRKIT, None, False),
            (None, SCRKIT, french_env, True),
        ]
        # A string, a page dialog's header and the status bar's text, from the library or not.
        texts = {True: ["< Préc.", "Titres", "Prêt"], False: ["< Prev", "Titles", "Ready"]}
        for value, program, env, french in cases:
            with self.subTest(value=value, program=program, french_user=env is not None):
                self.ui.reg("delete", MACHINE_KEY, "locale")
                if value:
                    self.ui.reg("set", MACHINE_KEY, "locale", *value)
                app = Scrkit(self.ui, program=program, env=env)
                tree = self.ui.tree(FRAME)
                status = wine_ui.find(tree, **{"class": "msctls_statusbar32"})
                shown = [wine_ui.find(tree, id=102)["text"],
                         wine_ui.find(tree, id=IDC_HEADER_TITLES)["text"], status["text"]]
                self.assertEqual(shown, texts[french])
                # The step pictures stay in the program and show in either language.
                left, top, right, bottom = wine_ui.find(tree, **{"class": "ToolbarWindow32"})["rect"]
                shot = self.ui.screenshot()
                coloured = sum(1 for y in range(top, bottom) for x in range(left, right)
                               if max(shot.pixel(x, y)) - min(shot.pixel(x, y)) > 100)
                self.assertGreater(coloured, 200)
                app.close()

if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
