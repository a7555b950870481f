#!/usr/bin/env python3
"""The wizard's Screensaver Settings page under Wine, with real clicks and keys: a project
opened from the command line shows its fields, the "settings movie" preview falling back to
Uniform when no settings movie is in use (and saved so); the two groups' enabling and the colour
button shown only for Uniform; the message's 511-character limit with Enter typing a line break;
a colour picked in the pop-up stored at once; the saved project read back with the native
scrkit-cli; Display Now asking before it overwrites the installed screensaver.

usage: settings_page_test.py STATE_DIR SCRKIT.EXE SCRKIT-CLI (native) [SCREENSHOT.png]
"""
import os
import sys
import tempfile
import time
import unittest

from wizard_page import FRAME, PageTest, cli, configure
import wine_ui  # noqa: E402 (wizard_page puts the harness on the path)

configure(*sys.argv[1:4])
SCREENSHOT = sys.argv[4] if len(sys.argv) > 4 else None
POPUP = "@KZCColorPopup"
SHOW_MOVIE, MOVIE, MOVIE_BROWSE, SHOW_MESSAGE, MESSAGE = 1305, 1256, 1013, 1306, 1259
UNIFORM, COLOR, MAIN_MOVIE, SETTINGS_MOVIE, SPECIFIC = 1298, 1300, 1299, 1301, 1302
SPECIFIC_PATH, SPECIFIC_BROWSE, DISPLAY_NOW = 1257, 1015, 1303
BOX, IDCANCEL = "@#32770", 2
MODES = [UNIFORM, MAIN_MOVIE, SETTINGS_MOVIE, SPECIFIC]
STORED = {"short_name": "SetPage", "settings_show_movie": "false", "settings_movie_file": r"C:\movies\settings.swf",
          "settings_message": "Hello", "preview_mode": "2", "preview_file": r"C:\pics\p.png",
          "preview_color": "#FF0000"}


class SettingsPageTest(PageTest):
    """One wizard on the project's Settings step; the cases run in their order."""
    STEP = 204

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        cls.project = os.path.join(cls.tmp, "Settings.kpj")
        cli("project", "new", "-o", cls.project, *("%s=%s" % kv for kv in STORED.items()))
        cls.start_wizard()

    def shown_states(self):
        """Each control's (enabled, visible, check) as the page shows them."""
        page = self.page()
        out = {}
        for id in (SHOW_MOVIE, MOVIE, MOVIE_BROWSE, SHOW_MESSAGE, MESSAGE, COLOR, SPECIFIC_PATH,
                   SPECIFIC_BROWSE, *MODES):
            node = wine_ui.find(page, id=id)
            out[id] = (node["enabled"], node["visible"], node.get("check"))
        return out

    def assert_group_b(self, mode, settings_enabled, color_shown, specific_enabled):
        s = self.shown_states()
        self.assertEqual([s[id][2] for id in MODES], [int(i == mode) for i in range(4)])
        self.assertEqual(s[SETTINGS_MOVIE][0], settings_enabled)
        self.assertEqual(s[COLOR][:2], (color_shown, color_shown))
        self.assertEqual((s[SPECIFIC_PATH][0], s[SPECIFIC_BROWSE][0]),
                         (specific_enabled, specific_enabled))

    def test_1_stored_fields_and_the_mode_2_correction(self):
        self.assertEqual(self.control(MOVIE)["text"], STORED["settings_movie_file"])
        self.assertEqual(self.control(MESSAGE)["text"], "Hello")
        self.assertEqual(self.control(MESSAGE)["limit"], 511)
        self.assertEqual(self.control(SPECIFIC_PATH)["text"], STORED["preview_file"])
        s = self.shown_states()
        # The message is chosen: the settings movie's path and Browse are off.
        self.assertEqual([s[id] for id in (SHOW_MOVIE, MOVIE, MOVIE_BROWSE, SHOW_MESSAGE, MESSAGE)],
                         [(True, True, 0), (False, True, None), (False, True, None),
                          (True, True, 1), (True, True, None)])
        # Mode 2 without a settings movie in use: Uniform, with its colour button.
        self.assert_group_b(0, settings_enabled=False, color_shown=True, specific_enabled=False)
        if SCREENSHOT:
            self.ui.screenshot().save(SCREENSHOT, self.ui.tree(FRAME)["client"])
        self.assertEqual(self.save_changes(), {"preview_mode": 0})

    def test_2_enabling_follows_both_groups(self):
        self.click(SHOW_MOVIE)  # a settings movie in use: its preview may be chosen
        s = self.shown_states()
        self.assertEqual([s[id][0] for id in (MOVIE, MOVIE_BROWSE, MESSAGE)], [True, True, False])
        self.assert_group_b(0, settings_enabled=True, color_shown=True, specific_enabled=False)
        cases = [(SPECIFIC, 3, False, True), (SETTINGS_MOVIE, 2, False, False),
                 (MAIN_MOVIE, 1, False, False), (UNIFORM, 0, True, False),
                 (SETTINGS_MOVIE, 2, False, False)]
        for button, mode, color_shown, specific_enabled in cases:
            with self.subTest(mode=mode):
                self.click(button)
                self.assert_group_b(mode, True, color_shown, specific_enabled)
        self.assertEqual(self.save_changes(), {"settings_show_movie": True})  # mode 2 as stored
        # Back to the message: the settings movie is no longer in use, nor its preview.
        self.click(SHOW_MESSAGE)
        self.assert_group_b(0, settings_enabled=False, color_shown=True, specific_enabled=False)
        self.assertEqual(self.save_changes(), {"preview_mode": 0})

    def test_3_message_limit_and_line_break(self):
        start = "x" * 500
        self.ui.set_text(FRAME, self.path(MESSAGE), start)
        self.ui.click_at(FRAME, self.path(MESSAGE))
        self.ui.key("ctrl+End")
        # The line break takes two of the 511 characters; the rest beyond them is refused.
        self.ui.xdotool("type", "--delay", "30", "ab")
        self.ui.key("Return")
        self.ui.xdotool("type", "--delay", "30", "cdefghijkl")
        typed = start + "ab\r\ncdefghi"
        self.assertEqual(self.control(MESSAGE)["text"], typed)
        self.assertEqual(self.save_changes(), {"preview_mode": 0, "settings_message": typed})

    def test_4_colour_picked_is_stored_at_once(self):
        self.ui.click_at(FRAME, self.path(COLOR), 10, 10)
        self.ui.wait(POPUP, timeout=5)
        time.sleep(0.6)  # past the first 500 ms, where a release outside keeps it open
        self.assertEqual(self.ui.tree(POPUP, timeout=3)["text"], "#FF0000 (255 0 0)")
        self.ui.key("Right")
        time.sleep(0.4)
        moved = self.ui.tree(POPUP, timeout=3)["text"]
        self.ui.key("Return")
        self.assertTrue(self.ui.gone(POPUP, 3))
        # Another mode no longer takes the colour from the button: only the pick stored it.
        self.click(MAIN_MOVIE)
        changed = self.save_changes()
        self.assertRegex(moved, r"^#[0-9A-F]{6} ")
        self.assertEqual((changed["preview_mode"], changed["preview_color"]), (1, moved[:7]))

    def test_5_display_now_asks_before_overwriting(self):
        target = os.path.join(self.ui.env["WINEPREFIX"], "drive_c", "windows", "system32",
                              "SetPage.scr")
        with open(target, "wb") as f:
            f.write(b"the old screensaver")
        try:
            self.ui.click(FRAME, self.path(DISPLAY_NOW))
            question = wine_ui.find(self.ui.tree(BOX), id=65535)["text"]
            self.ui.click(BOX, IDCANCEL)
            self.assertTrue(self.ui.gone(BOX))
            self.assertEqual(question.replace("C:\\Windows", "C:\\windows"),
                             "Overwrite C:\\windows\\system32\\SetPage.scr ?")
            with open(target, "rb") as f:
                self.assertEqual(f.read(), b"the old screensaver")
        finally:
            os.remove(target)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
