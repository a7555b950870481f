#!/usr/bin/env python3
"""The wizard's Start Menu Items page under Wine, with real clicks and keys: a project opened
from the command line shows its entries; with no readme installed the Readme entry is disabled
although its box is checked; unchecking Custom keeps its caption and target in the project;
the captions and the folder name refuse a file name's forbidden characters while a target takes
them; the icon chosen in the real open-file dialog; saving changes exactly those fields, read
back with the native scrkit-cli.

usage: menu_page_test.py STATE_DIR SCRKIT.EXE SCRKIT-CLI (native) [SCREENSHOT.png]
"""
import os
import sys
import tempfile
import unittest

from wizard_page import FRAME, OPEN, PageTest, cli, configure, windows_path

configure(*sys.argv[1:4])
SCREENSHOT = sys.argv[4] if len(sys.argv) > 4 else None
CONFIGURE, LAUNCH, UNINSTALL, README, LICENSE, URL, CUSTOM = range(1265, 1272)
CAPTIONS = {CONFIGURE: 1275, LAUNCH: 1276, UNINSTALL: 1277, README: 1278, LICENSE: 1279,
            URL: 1274, CUSTOM: 1281}
URL_TARGET, CUSTOM_TARGET = 1280, 1282
ICON_BOX, ICON, ICON_BROWSE, SUBFOLDER, SUBFOLDER_NAME = 1411, 1412, 1413, 1414, 1283

STORED = {"install_readme": "false", "show_license": "true",
          "menu_configure": "true", "menu_configure_caption": "Set It Up",
          "menu_launch": "false", "menu_launch_caption": "Run",
          "menu_uninstall": "true", "menu_uninstall_caption": "Remove",
          "menu_readme": "true", "menu_readme_caption": "Read Me",
          "menu_license": "false", "menu_license_caption": "Terms",
          "menu_url": "false", "menu_url_caption": "Home", "menu_url_target": "http://a.example/",
          "menu_custom": "true", "menu_custom_caption": "Help",
          "menu_custom_target": "{app}\\help.exe",
          "custom_icon": "false", "menu_subfolder": "true", "menu_subfolder_name": "Tools"}


class MenuPageTest(PageTest):
    """One wizard on the project's Start Menu Items step; the cases run in their order."""
    STEP = 206

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        cls.icon = os.path.join(cls.tmp, "saver.ico")
        with open(cls.icon, "wb") as out:
            out.write(b"\0\0\1\0\0\0")
        cls.project = os.path.join(cls.tmp, "Menu.kpj")
        cli("project", "new", "-o", cls.project, *("%s=%s" % kv for kv in STORED.items()))
        cls.start_wizard()

    def texts(self, *ids):
        return [c["text"] for c in self.controls(*ids)]

    def type(self, id, text):
        """Erases the edit with real keys and types `text`."""
        (shown,) = self.texts(id)
        self.ui.type_into(FRAME, self.path(id), text, erase=len(shown) + 1)

    def test_1_shows_the_stored_fields(self):
        self.assertEqual(self.texts(*CAPTIONS.values(), URL_TARGET, CUSTOM_TARGET, SUBFOLDER_NAME),
                         ["Set It Up", "Run", "Remove", "Read Me", "Terms", "Home", "Help",
                          "http://a.example/", "{app}\\help.exe", "Tools"])
        # Each entry's box and caption; no readme installed: Readme stays checked but disabled.
        entries = [CONFIGURE, LAUNCH, UNINSTALL, README, LICENSE, URL, CUSTOM]
        self.assertEqual([s for e in entries for s in self.states(e, CAPTIONS[e])],
                         [(True, 1), (True, None), (True, 0), (False, None),
                          (True, 1), (True, None), (False, 1), (False, None),
                          (True, 0), (False, None), (True, 0), (False, None),
                          (True, 1), (True, None)])
        self.assertEqual(self.states(URL_TARGET, CUSTOM_TARGET, ICON_BOX, ICON, ICON_BROWSE,
                                     SUBFOLDER, SUBFOLDER_NAME),
                         [(False, None), (True, None), (True, 0), (False, None), (False, None),
                          (True, 1), (True, None)])
        if SCREENSHOT:
            self.ui.screenshot().save(SCREENSHOT, self.ui.tree(FRAME)["client"])

    def test_2_unchecked_custom_keeps_its_texts(self):
        self.click(CUSTOM)
        self.assertEqual(self.states(CUSTOM, CAPTIONS[CUSTOM], CUSTOM_TARGET),
                         [(True, 0), (False, None), (False, None)])
        self.assertEqual(self.texts(CAPTIONS[CUSTOM], CUSTOM_TARGET), ["Help", "{app}\\help.exe"])
        # What an unchecked entry's edits hold is not stored: the project keeps the last texts.
        self.ui.set_text(FRAME, self.path(CUSTOM_TARGET), "")
        self.click(LAUNCH)  # checked: its caption takes the focus
        self.assertEqual(self.states(LAUNCH, CAPTIONS[LAUNCH]), [(True, 1), (True, None)])

    def test_3_forbidden_characters_refused_in_names_only(self):
        self.type(CAPTIONS[CONFIGURE], 'a\\b/c:d*e?f"g<h>i|j')
        self.click(URL)
        self.type(URL_TARGET, "http://b.example/?q=*|")
        self.type(SUBFOLDER_NAME, "Sky:Tools?")
        self.assertEqual(self.texts(CAPTIONS[CONFIGURE], URL_TARGET, SUBFOLDER_NAME),
                         ["abcdefghij", "http://b.example/?q=*|", "SkyTools"])

    def test_4_custom_icon_browse(self):
        self.click(ICON_BOX)
        self.assertEqual(self.states(ICON, ICON_BROWSE), [(True, None), (True, None)])
        self.click(ICON_BROWSE)
        self.ui.wait(OPEN)
        self.ui.type_into(OPEN, "1148/1148/1148", windows_path(self.icon), erase=80)
        self.ui.key("Return")
        self.assertTrue(self.ui.gone(OPEN))
        self.assertEqual(self.texts(ICON), [windows_path(self.icon)])

    def test_5_saving(self):
        changed = self.save_changes()
        self.assertEqual(changed, {"menu_custom": False, "menu_launch": True,
                                   "menu_configure_caption": "abcdefghij", "menu_url": True,
                                   "menu_url_target": "http://b.example/?q=*|",
                                   "menu_subfolder_name": "SkyTools", "custom_icon": True,
                                   "custom_icon_file": self.icon})  # saved as a native path


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
