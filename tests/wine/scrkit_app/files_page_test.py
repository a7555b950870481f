#!/usr/bin/env python3
"""The wizard's Installation Files page under Wine, with real clicks and keys: a project opened
from the command line shows its licence, readme and file lists; the boxes enable their rows; a
licence chosen in the real open-file dialog; three additional files chosen there at once show
joined by ";"; a selection too large for the dialog's buffer is refused with a message; saving
changes exactly those fields, read back with the native scrkit-cli.

usage: files_page_test.py STATE_DIR SCRKIT.EXE SCRKIT-CLI (native) [SCREENSHOT.png]
"""
import os
import sys
import tempfile
import unittest

from wizard_page import FRAME, OPEN, PageTest, cli, configure, windows_path
import wine_ui  # noqa: E402 (wizard_page puts the harness on the path)

configure(*sys.argv[1:4])
SCREENSHOT = sys.argv[4] if len(sys.argv) > 4 else None
SHOW_LICENSE, LICENSE, LICENSE_BROWSE, INSTALL_LICENSE = 1292, 1289, 1290, 1016
README_BOX, README, README_BROWSE = 1293, 1257, 1015
ADDITIONAL_BOX, ADDITIONAL, ADDITIONAL_BROWSE = 1294, 1258, 1017
PLAYBACK_BOX, PLAYBACK, PLAYBACK_BROWSE = 1295, 1259, 1018


class FilesPageTest(PageTest):
    """One wizard on the project's Installation Files step; the cases run in their order."""
    STEP = 205

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        cls.files = {}
        for name in ("lic.txt", "read.txt", "x.txt", "y.txt", "m.swf", "a", "b", "c", "new.txt"):
            cls.files[name] = os.path.join(cls.tmp, name)
            with open(cls.files[name], "w") as out:
                out.write(name + "\n")
        f = cls.files
        cls.project = os.path.join(cls.tmp, "Files.kpj")
        cli("project", "new", "-o", cls.project, "show_license=true", "license_file=" + f["lic.txt"],
            "install_license=false", "install_readme=true", "readme_file=" + f["read.txt"],
            "install_additional_files=true", "additional_files=%s;%s" % (f["x.txt"], f["y.txt"]),
            "embed_playback_files=false", "playback_files=" + f["m.swf"])
        cls.start_wizard()

    def test_1_shows_the_stored_fields(self):
        f = self.files  # the paths as the project holds them
        texts = [c["text"] for c in self.controls(LICENSE, README, ADDITIONAL, PLAYBACK)]
        self.assertEqual(texts, [f["lic.txt"], f["read.txt"], f["x.txt"] + ";" + f["y.txt"],
                                 f["m.swf"]])
        self.assertEqual(self.states(SHOW_LICENSE, LICENSE, LICENSE_BROWSE, INSTALL_LICENSE),
                         [(True, 1), (True, None), (True, None), (True, 0)])
        self.assertEqual(self.states(README_BOX, README, README_BROWSE, ADDITIONAL_BOX,
                                     ADDITIONAL, ADDITIONAL_BROWSE),
                         [(True, 1), (True, None), (True, None)] * 2)
        self.assertEqual(self.states(PLAYBACK_BOX, PLAYBACK, PLAYBACK_BROWSE),
                         [(True, 0), (False, None), (False, None)])
        if SCREENSHOT:
            self.ui.screenshot().save(SCREENSHOT, self.ui.tree(FRAME)["client"])

    def test_2_boxes_enable_their_rows(self):
        self.click(SHOW_LICENSE)  # cleared: the path, its Browse and Install the License go
        self.assertEqual(self.states(SHOW_LICENSE, LICENSE, LICENSE_BROWSE, INSTALL_LICENSE),
                         [(True, 0), (False, None), (False, None), (False, 0)])
        self.click(SHOW_LICENSE)
        self.click(INSTALL_LICENSE)
        self.assertEqual(self.states(SHOW_LICENSE, LICENSE_BROWSE, INSTALL_LICENSE),
                         [(True, 1), (True, None), (True, 1)])
        self.click(README_BOX)
        self.assertEqual(self.states(README_BOX, README, README_BROWSE),
                         [(True, 0), (False, None), (False, None)])
        self.click(README_BOX)
        self.click(PLAYBACK_BOX)
        self.assertEqual(self.states(PLAYBACK_BOX, PLAYBACK, PLAYBACK_BROWSE),
                         [(True, 1), (True, None), (True, None)])

    def test_4_three_additional_files_at_once(self):
        self.click(ADDITIONAL_BROWSE)
        self.ui.wait(OPEN)
        # Into the folder first, then the three names in quotes: one multiple selection.
        self.ui.type_into(OPEN, "1148/1148/1148", windows_path(self.tmp), erase=80)
        self.ui.key("Return")
        self.ui.type_into(OPEN, "1148/1148/1148", '"a" "b" "c"', erase=80)
        self.ui.key("Return")
        self.assertTrue(self.ui.gone(OPEN))
        (shown,) = [c["text"] for c in self.controls(ADDITIONAL)]
        self.assertEqual(shown, ";".join(windows_path(self.files[n]) for n in ("a", "b", "c")))

    def test_3_licence_browse(self):
        self.click(LICENSE_BROWSE)
        self.ui.wait(OPEN)
        self.ui.type_into(OPEN, "1148/1148/1148", windows_path(self.files["new.txt"]), erase=80)
        self.ui.key("Return")
        self.assertTrue(self.ui.gone(OPEN))
        (shown,) = [c["text"] for c in self.controls(LICENSE)]
        self.assertEqual(shown, windows_path(self.files["new.txt"]))

    def test_5_too_many_files_at_once(self):
        # More names than the dialog's 16,000 bytes hold: a message, and the list as it was.
        self.click(PLAYBACK_BROWSE)
        self.ui.wait(OPEN)
        names = " ".join('"%s_%04d.swf"' % ("n" * 20, i) for i in range(700))
        self.ui.set_text(OPEN, "1148/1148/1148", names)
        self.ui.click_at(OPEN, "1148/1148/1148")  # Return in the name edit (the list is id 1 too)
        self.ui.key("End", "Return")
        self.assertTrue(self.ui.gone(OPEN))
        box = self.ui.tree("@#32770")
        self.assertIn("Too many files were chosen at once", wine_ui.find(box, id=65535)["text"])
        self.ui.click("@#32770", 1)
        self.assertTrue(self.ui.gone("@#32770"))
        (shown,) = [c["text"] for c in self.controls(PLAYBACK)]
        self.assertEqual(shown, self.files["m.swf"])

    def test_6_saving(self):
        changed = self.save_changes()
        # playback_files is not among them: the refused selection left it alone.
        self.assertEqual(changed, {"install_license": True, "embed_playback_files": True,
                                   "license_file": self.files["new.txt"],
                                   "additional_files": [self.files[n] for n in ("a", "b", "c")]})


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
