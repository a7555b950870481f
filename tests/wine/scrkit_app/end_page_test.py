#!/usr/bin/env python3
"""The wizard's Post-Setup Actions page under Wine, with real clicks and keys: a project opened
from the command line with three additional files offers three "{app}\\" launch choices and, its
stored index naming none of them, shows its free path; without a readme installed the Display
Readme File action is disabled whatever its fields say; the boxes and radio pairs enable their
rows; a picked file is saved as its index with no free path, a typed path as index -1, read back
with the native scrkit-cli.

usage: end_page_test.py STATE_DIR SCRKIT.EXE SCRKIT-CLI (native) [SCREENSHOT.png]
"""
import os
import sys
import tempfile
import unittest

from wizard_page import FRAME, PageTest, cli, configure

configure(*sys.argv[1:4])
SCREENSHOT = sys.argv[4] if len(sys.argv) > 4 else None
README, README_ASK, README_NO_ASK, README_MESSAGE = 1016, 1274, 1275, 1293
DISPLAY, DISPLAY_ASK, DISPLAY_NO_ASK, DISPLAY_MESSAGE = 1295, 1280, 1281, 1297
LAUNCH, LAUNCH_ASK, LAUNCH_NO_ASK, LAUNCH_MESSAGE, TARGET = 1294, 1282, 1283, 1276, 1296
COMBO_EDIT = 1001  # the edit inside a drop-down combo box


class EndPageTest(PageTest):
    """One wizard on the project's Post-Setup Actions step; the cases run in their order."""
    STEP = 207

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
        cls.start_wizard()

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
        self.ui.select(FRAME, self.path(TARGET), 1)
        (target,) = self.controls(TARGET)
        self.assertEqual((target["selection"], target["text"]), (1, "{app}\\tool.exe"))
        self.assertEqual(self.save_changes(), {"end_open_display_properties_ask": True,
                                               "end_launch_index": 1, "end_launch_target": ""})

    def test_4_typing_a_path_saves_it_with_no_index(self):
        self.ui.type_into(FRAME, self.path(TARGET, COMBO_EDIT), "C:\\new.exe",
                          erase=20)
        # Against the opened project, whose index was 5.
        self.assertEqual(self.save_changes(), {"end_open_display_properties_ask": True,
                                               "end_launch_index": -1,
                                               "end_launch_target": "C:\\new.exe"})


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
