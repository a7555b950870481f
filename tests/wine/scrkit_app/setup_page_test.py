#!/usr/bin/env python3
"""The wizard's Setup Parameters page under Wine, with real typing and clicks: a project opened
from the command line shows its fields; the derived folder, preview and copyright follow the
company and long name; the URL's prefix and the language list; editing every control and saving
changes exactly those fields, read back with the native scrkit-cli.

usage: setup_page_test.py STATE_DIR SCRKIT.EXE SCRKIT-CLI (native) [SCREENSHOT.png]
"""
import datetime
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
import wine_ui  # noqa: E402
from wizard_page import close_wizard  # noqa: E402

STATE, SCRKIT, CLI = sys.argv[1], sys.argv[2], sys.argv[3]
SCREENSHOT = sys.argv[4] if len(sys.argv) > 4 else None
HARNESS = wine_ui.HARNESS
FRAME = "@FCMainFrame"
ID_FILE_SAVE, SETUP_STEP = 0xE103, 201
SHORT, LONG, VERSION, COMPANY, URL, TEST_URL = 1278, 1281, 1257, 1260, 1263, 1291
CUSTOM_COPYRIGHT, COPYRIGHT, PREVIEW, CUSTOM_DIR, FOLDER = 1282, 1261, 1279, 1280, 1259
DISABLES, LANGUAGE, PASSWORD_ON, PASSWORD = [1016, 1017, 1018, 1019, 1020], 1304, 1283, 1264
STORED = {"short_name": "Dunes", "long_name": "Saver", "version": "1.0", "company_name": "ACME",
          "company_url": "http://acme.example", "setup_language": 11,
          "install_dir": r"{pf}\ACME\Saver", "copyright": "Copyright \u00a9 2020 ACME"}


def cli(*args):
    done = subprocess.run([CLI, *args], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    return done.stdout


def frame_shot(ui, path):
    """The frame's client area into a PNG, as the README shows it."""
    ui.screenshot().save(path, ui.tree(FRAME)["client"])


class SetupPageTest(unittest.TestCase):
    """One wizard for every case, on the project's Setup step; the cases run in their order."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        cls.project = os.path.join(cls.tmp, "Setup.kpj")
        cli("project", "new", "-o", cls.project, *("%s=%s" % kv for kv in STORED.items()))
        cls.original = cls.show()
        cls.ui = wine_ui.Driver(STATE)
        cls.proc = subprocess.Popen([os.path.join(HARNESS, "wine-run"), "--state", STATE,
                                     "--timeout", "200", SCRKIT,
                                     "Z:" + cls.project.replace("/", "\\")],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cls.ui.wait(FRAME, timeout=30)

    @classmethod
    def tearDownClass(cls):
        try:
            close_wizard(cls.ui, cls.proc)
        finally:
            cls.ui.close()
            shutil.rmtree(cls.tmp, ignore_errors=True)

    @classmethod
    def show(cls):
        return json.loads(cli("project", "show", cls.project, "--json"))

    def page(self):
        # Ids repeat across pages (1017 is a Start button too): look inside the Setup step.
        return wine_ui.find(self.ui.tree(FRAME), id=SETUP_STEP)

    def control(self, id):
        return wine_ui.find(self.page(), id=id)

    def click(self, id):
        self.ui.click_at(FRAME, "%d/%d" % (SETUP_STEP, id))

    def text(self, id):
        return self.control(id)["text"]

    def type(self, id, text):
        """Erases the edit with real keys and types `text`; leaves the focus in it."""
        self.ui.type_into(FRAME, "%d/%d" % (SETUP_STEP, id), text, erase=len(self.text(id)) + 1)

    def save(self):
        # The focus stays in the last edit: saving stores the page first.
        self.ui.command(FRAME, ID_FILE_SAVE)
        self.ui.tree(FRAME)  # the command is handled before the driver's next answer
        return self.show()

    def test_1_shows_the_stored_fields(self):
        frame = self.ui.tree(FRAME)
        shown = [n["id"] for n in wine_ui.find_all(frame, **{"class": "FCStepWnd"}) if n["visible"]]
        self.assertEqual(shown, [SETUP_STEP])
        tree = self.page()
        texts = {id: wine_ui.find(tree, id=id)["text"] for id in (SHORT, LONG, VERSION, COMPANY,
                                                                  URL, COPYRIGHT, FOLDER)}
        self.assertEqual(texts, {SHORT: "Dunes", LONG: "Saver", VERSION: "1.0", COMPANY: "ACME",
                                 URL: "acme.example", COPYRIGHT: STORED["copyright"],
                                 FOLDER: r"{pf}\ACME\Saver"})
        preview = wine_ui.find(tree, id=PREVIEW)["text"]
        self.assertRegex(preview, r"^[A-Z]:\\.*Program Files\\ACME\\Saver\\$")
        language = wine_ui.find(tree, id=LANGUAGE)
        self.assertEqual(language["items"], ["English", "French", "German", "Italian", "Polish",
                                             "Portuguese", "Portuguese (Brazilian)", "Spanish"])
        self.assertEqual(language["text"], "Polish")
        # The edits behind a clear box are disabled; Test URL has a URL.
        enabled = {id: wine_ui.find(tree, id=id)["enabled"]
                   for id in (COPYRIGHT, FOLDER, PASSWORD, TEST_URL)}
        self.assertEqual(enabled, {COPYRIGHT: False, FOLDER: False, PASSWORD: False,
                                   TEST_URL: True})
        self.assertEqual([wine_ui.find(tree, id=id)["check"] for id in
                          DISABLES + [CUSTOM_COPYRIGHT, CUSTOM_DIR, PASSWORD_ON]], [0] * 8)
        self.assertEqual([wine_ui.find(tree, id=id)["limit"] for id in (LONG, COMPANY)], [100, 100])
        if SCREENSHOT:
            frame_shot(self.ui, SCREENSHOT)

    def test_2_derived_texts_follow_the_names(self):
        year = datetime.date.today().year
        prefix = self.text(PREVIEW)[:-len("ACME\\Saver\\")]  # the expanded Program Files
        cases = [  # company typed, folder shown, preview shown (ampersands doubled)
            ("", "Saver", "Saver\\"),
            ("A&B", r"{pf}\A&B\Saver", prefix + "A&&B\\Saver\\"),
            ("ACME", r"{pf}\ACME\Saver", prefix + "ACME\\Saver\\"),
        ]
        for company, folder, preview in cases:
            with self.subTest(company=company):
                self.type(COMPANY, company)
                self.assertEqual(self.text(FOLDER), folder)
                self.assertTrue(self.text(PREVIEW).endswith(preview), self.text(PREVIEW))
                self.assertEqual(self.text(COPYRIGHT), "Copyright \u00a9 %d %s" % (year, company))
        # Custom Copyright checked: the company no longer writes it.
        self.click(CUSTOM_COPYRIGHT)
        self.assertTrue(self.control(COPYRIGHT)["enabled"])
        self.type(COMPANY, "Other")
        self.assertEqual(self.text(COPYRIGHT), "Copyright \u00a9 %d ACME" % year)
        self.assertEqual(self.text(FOLDER), r"{pf}\Other\Saver")
        self.click(CUSTOM_COPYRIGHT)  # clear again: made from the company
        self.assertFalse(self.control(COPYRIGHT)["enabled"])
        self.assertEqual(self.text(COPYRIGHT), "Copyright \u00a9 %d Other" % year)
        # An empty URL: Test URL goes off, and the bare prefix is stored.
        self.type(URL, "")
        self.assertFalse(self.control(TEST_URL)["enabled"])
        saved = self.save()
        self.assertEqual((saved["company_url"], saved["company_name"]), ("http://", "Other"))
        self.type(URL, "x")
        self.assertTrue(self.control(TEST_URL)["enabled"])

    def test_3_every_control_edited_and_saved(self):
        self.type(SHORT, "Night?|Sky")  # ? and | cannot be typed into a name
        self.type(LONG, "Sky Saver")
        self.type(VERSION, "2.5")
        self.type(COMPANY, "Skyworks")
        self.type(URL, "HTTP://example")
        self.click(CUSTOM_COPYRIGHT)
        self.type(COPYRIGHT, "(c) Skyworks")
        self.click(CUSTOM_DIR)
        self.assertTrue(self.control(FOLDER)["enabled"])
        self.type(FOLDER, "C:\\Savers")  # a folder takes backslashes and the drive's colon
        self.assertEqual(self.text(FOLDER), "C:\\Savers")
        self.assertEqual(self.text(PREVIEW), "C:\\Savers\\")
        for box in DISABLES:
            self.click(box)
        self.ui.select(FRAME, "%d/%d" % (SETUP_STEP, LANGUAGE), "Portuguese (Brazilian)")
        self.click(PASSWORD_ON)
        self.type(PASSWORD, "secret")
        saved = self.save()
        expected = {"short_name": "NightSky", "long_name": "Sky Saver", "version": "2.5",
                    "company_name": "Skyworks", "company_url": "http://example",
                    "custom_copyright": True, "copyright": "(c) Skyworks",
                    "custom_install_dir": True, "install_dir": "C:\\Savers",
                    "disable_startup_prompt": True, "disable_dir_page": True,
                    "disable_program_group_page": True, "disable_ready_page": True,
                    "disable_finished_page": True, "setup_language": 6,
                    "setup_password_enabled": True, "setup_password": "secret"}
        changed = {k: v for k, v in saved.items() if self.original.get(k) != v}
        self.assertEqual(changed, expected)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
