#!/usr/bin/env python3
"""The wizard's Post-Setup Actions page under Wine, with real clicks and keys: a project opened
from the command line with three additional files offers three "{app}\\" launch choices and, its
stored index naming none of them, shows its free path; without a readme installed the Display
Readme File action is disabled whatever its fields say; the boxes and radio pairs enable their
rows; a picked file is saved as its index with no free path, a typed path as index -1, read back
with the native scrkit-cli.

usage: end_page_test.py STATE_DIR SCRKIT.EXE SCRKIT-CLI (native) [SCREENSHOT.png]
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
import wine_ui  # noqa: E402

STATE, SCRKIT, CLI = sys.argv[1], sys.argv[2], sys.argv[3]
SCREENSHOT = sys.argv[4] if len(sys.argv) > 4 else None
HARNESS = wine_ui.HARNESS
FRAME = "@FCMainFrame"
ID_FILE_SAVE, POST_STEP = 0xE103, 207
README, README_ASK, README_NO_ASK, README_MESSAGE = 1016, 1274, 1275, 1293
DISPLAY, DISPLAY_ASK, DISPLAY_NO_ASK, DISPLAY_MESSAGE = 1295, 1280, 1281, 1297
LAUNCH, LAUNCH_ASK, LAUNCH_NO_ASK, LAUNCH_MESSAGE, TARGET = 1294, 1282, 1283, 1276, 1296
COMBO_EDIT = 1001  # the edit inside a drop-down combo box


def cli(*args):
    done = subprocess.run([CLI, *args], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    return done.stdout


def wine(path):
    return "Z:" + path.replace("/", "\\")


class EndPageTest(unittest.TestCase):
    """One wizard on the project's Post-Setup Actions step; the cases run in their order."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        files = [os.path.join(cls.tmp, "d", n) for n in ("notes.txt", "tool.exe", "page.html")]
        cls.project = os.path.join(cls.tmp, "End.kpj")
        # Index 5 names none of the three files: the free path stands.
        cli("project", "new", "-o", cls.project, "install_readme=false",
            "end_show_readme=true", "end_show_readme_ask=true", "end_show_readme_message=Read?",
            "end_open_display_properties=true", "end_open_display_properties_ask=false",
            "end_open_display_properties_message=Open?", "end_launch=true",
            "end_launch_ask=true", "end_launch_message=Launch?", "end_launch_index=5",
            "end_launch_target=C:\\old.exe", "install_additional_files=true",
            "additional_files=" + ";".join(files))
        cls.original = cls.show()
        cls.ui = wine_ui.Driver(STATE)
        cls.proc = subprocess.Popen([os.path.join(HARNESS, "wine-run"), "--state", STATE,
                                     "--timeout", "200", SCRKIT, wine(cls.project)],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cls.ui.wait(FRAME, timeout=30)
        cls.ui.command(FRAME, POST_STEP)

    @classmethod
    def tearDownClass(cls):
        try:
            while cls.proc.poll() is None and cls.ui.exists(FRAME):
                cls.ui.close_window(FRAME)
                try:
                    cls.ui.call("click", "@#32770", 7, timeout=3)  # No to the save question
                except wine_ui.DriverError:
                    pass
            cls.proc.wait(30)
        finally:
            cls.ui.close()
            shutil.rmtree(cls.tmp, ignore_errors=True)

    @classmethod
    def show(cls):
        return json.loads(cli("project", "show", cls.project, "--json"))

    def controls(self, *ids):
        page = wine_ui.find(self.ui.tree(FRAME), id=POST_STEP)
        return [wine_ui.find(page, id=id) for id in ids]

    def states(self, *ids):
        """(enabled, check) of each control; check is None for what is not a box."""
        return [(c["enabled"], c.get("check")) for c in self.controls(*ids)]

    def click(self, id):
        self.ui.click_at(FRAME, "%d/%d" % (POST_STEP, id))

    def save_changes(self):
        self.ui.command(FRAME, ID_FILE_SAVE)
        self.ui.tree(FRAME)  # the command is handled before the driver's next answer
        saved = self.show()
        return {k: v for k, v in saved.items() if self.original.get(k) != v}

    def test_1_shows_the_stored_actions(self):
        (target,) = self.controls(TARGET)
        self.assertEqual(target["items"], ["{app}\\notes.txt", "{app}\\tool.exe",
                                           "{app}\\page.html"])
        self.assertEqual((target["selection"], target["text"]), (-1, "C:\\old.exe"))
        # No readme installed: the whole readme row is off though its box is checked.
        self.assertEqual(self.states(README, README_ASK, README_NO_ASK, README_MESSAGE),
                         [(False, 1), (False, 1), (False, 0), (False, None)])
        self.assertEqual(self.states(DISPLAY, DISPLAY_ASK, DISPLAY_NO_ASK, DISPLAY_MESSAGE),
                         [(True, 1), (True, 0), (True, 1), (False, None)])
        self.assertEqual(self.states(LAUNCH, LAUNCH_ASK, LAUNCH_NO_ASK, LAUNCH_MESSAGE, TARGET),
                         [(True, 1), (True, 1), (True, 0), (True, None), (True, None)])
        texts = [c["text"] for c in self.controls(README_MESSAGE, DISPLAY_MESSAGE, LAUNCH_MESSAGE)]
        self.assertEqual(texts, ["Read?", "Open?", "Launch?"])
        if SCREENSHOT:
            self.ui.screenshot().save(SCREENSHOT, self.ui.tree(FRAME)["client"])

    def test_2_boxes_and_radios_enable_their_rows(self):
        self.click(DISPLAY_ASK)
        self.assertEqual(self.states(DISPLAY_ASK, DISPLAY_NO_ASK, DISPLAY_MESSAGE),
                         [(True, 1), (True, 0), (True, None)])
        self.click(LAUNCH)
        self.assertEqual(self.states(LAUNCH, LAUNCH_ASK, LAUNCH_NO_ASK, LAUNCH_MESSAGE, TARGET),
                         [(True, 0), (False, 1), (False, 0), (False, None), (False, None)])
        self.click(LAUNCH)
        self.assertEqual(self.states(LAUNCH, LAUNCH_ASK, LAUNCH_MESSAGE, TARGET),
                         [(True, 1), (True, 1), (True, None), (True, None)])

    def test_3_picking_a_file_saves_its_index(self):
        self.ui.select(FRAME, "%d/%d" % (POST_STEP, TARGET), 1)
        (target,) = self.controls(TARGET)
        self.assertEqual((target["selection"], target["text"]), (1, "{app}\\tool.exe"))
        self.assertEqual(self.save_changes(), {"end_open_display_properties_ask": True,
                                               "end_launch_index": 1, "end_launch_target": ""})

    def test_4_typing_a_path_saves_it_with_no_index(self):
        self.ui.type_into(FRAME, "%d/%d/%d" % (POST_STEP, TARGET, COMBO_EDIT), "C:\\new.exe",
                          erase=20)
        # Against the opened project, whose index was 5.
        self.assertEqual(self.save_changes(), {"end_open_display_properties_ask": True,
                                               "end_launch_index": -1,
                                               "end_launch_target": "C:\\new.exe"})


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
