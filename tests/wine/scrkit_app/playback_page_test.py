#!/usr/bin/env python3
"""The wizard's Movie & Playback page under Wine, with real clicks and keys: a project opened
from the command line shows its fields; a movie chosen while the background is not custom shows
its own background colour in the colour button, one whose header cannot be read is still taken
with the colour left as it was, and with Custom checked the author's colour stays; clearing
Custom brings the movie's colour back; a colour picked in the pop-up is stored; every control
edited and saved, read back with the native scrkit-cli.

usage: playback_page_test.py STATE_DIR SCRKIT.EXE SCRKIT-CLI (native) [SCREENSHOT.png]
"""
import os
import struct
import sys
import tempfile
import time
import unittest

from wizard_page import FRAME, OPEN, PageTest, cli, configure, windows_path
import wine_ui  # noqa: E402 (wizard_page puts the harness on the path)

configure(*sys.argv[1:4])
SCREENSHOT = sys.argv[4] if len(sys.argv) > 4 else None
POPUP = "@KZCColorPopup"
MOVIE, BROWSE, MUTE, USER_MUTE, QUALITY, USER_QUALITY = 1283, 1282, 1284, 1285, 1267, 1268
CUSTOM, COLOR, SIZE, HIDE = 1269, 1286, 1271, 1297
WAKES = [1016, 1017, 1018, 1019]
BOXES = [MUTE, USER_MUTE, USER_QUALITY, CUSTOM] + WAKES + [HIDE]
AUTHOR, RED, BLUE = (0x33, 0x66, 0x99), (255, 0, 0), (0, 0, 255)


def swf(path, colour):
    """An uncompressed movie of one frame whose SetBackgroundColor tag gives `colour`."""
    bits = "10000" + "".join(format(v, "016b") for v in (0, 11000, 0, 8000))  # 16-bit RECT
    bits += "0" * (-len(bits) % 8)
    rect = int(bits, 2).to_bytes(len(bits) // 8, "big")
    body = rect + struct.pack("<HH", 12 << 8, 1)
    body += struct.pack("<H", (9 << 6) | 3) + bytes(colour)  # SetBackgroundColor
    body += struct.pack("<HH", 1 << 6, 0)  # ShowFrame, End
    with open(path, "wb") as out:
        out.write(b"FWS" + bytes([6]) + struct.pack("<I", 8 + len(body)) + body)


def hex_colour(rgb):
    return "#%02X%02X%02X" % rgb


class PlaybackPageTest(PageTest):
    """One wizard on the project's Playback step; the cases run in their order."""
    STEP = 203

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()
        cls.project = os.path.join(cls.tmp, "Playback.kpj")
        cls.red = os.path.join(cls.tmp, "red.swf")
        swf(cls.red, RED)
        cls.blue = os.path.join(cls.tmp, "blue.swf")
        swf(cls.blue, BLUE)
        cls.broken = os.path.join(cls.tmp, "broken.swf")
        with open(cls.broken, "w") as out:
            out.write("no movie\n")
        cli("project", "new", "-o", cls.project, "movie_file=" + windows_path(cls.red),
            "mute_sound=true", "user_can_mute=false", "quality=1", "user_can_set_quality=false",
            "custom_background=true", "background_color=" + hex_colour(AUTHOR), "size_mode=3",
            "wake_on_left_click=true", "wake_on_right_click=false", "wake_on_mouse_move=true",
            "wake_on_key=false", "hide_cursor=true")
        cls.start_wizard()

    def assert_swatch(self, colour):
        left, top = self.control(COLOR)["rect"][:2]
        for _ in range(30):  # painting comes after the messages
            seen = self.ui.screenshot().pixel(left + 6, top + 6)
            if seen == colour:
                return
            time.sleep(0.1)
        self.fail("the colour button shows %r, not %r" % (seen, colour))

    def browse(self, path):
        self.click(BROWSE)
        self.ui.type_into(OPEN, "1148/1148/1148", windows_path(path), erase=60)
        self.ui.key("Return")
        self.assertTrue(self.ui.gone(OPEN))
        self.assertEqual(self.control(MOVIE)["text"], windows_path(path))

    def test_1_shows_the_stored_fields(self):
        tree = self.page()
        node = {id: wine_ui.find(tree, id=id) for id in [MOVIE, QUALITY, SIZE, COLOR] + BOXES}
        self.assertEqual(node[MOVIE]["text"], windows_path(self.red))
        self.assertEqual(node[QUALITY]["items"], ["Low", "Medium", "High"])
        self.assertEqual(node[SIZE]["items"], ["Original Size", "Full Screen",
                                               "Stretch Full Screen", "Never Resize"])
        self.assertEqual((node[QUALITY]["text"], node[SIZE]["text"]), ("Medium", "Never Resize"))
        self.assertEqual({id: node[id]["check"] for id in BOXES},
                         {MUTE: 1, USER_MUTE: 0, USER_QUALITY: 0, CUSTOM: 1, 1016: 1, 1017: 0,
                          1018: 1, 1019: 0, HIDE: 1})
        self.assertTrue(node[COLOR]["enabled"])
        self.assert_swatch(AUTHOR)
        if SCREENSHOT:
            self.ui.screenshot().save(SCREENSHOT, self.ui.tree(FRAME)["client"])

    def test_2_background_colour_follows_the_movie(self):
        # Custom checked: a movie leaves the author's colour alone.
        self.browse(self.blue)
        self.assert_swatch(AUTHOR)
        # Cleared: the button is off and shows the movie's own colour.
        self.click(CUSTOM)
        self.assertFalse(self.control(COLOR)["enabled"])
        self.assert_swatch(BLUE)
        self.browse(self.red)
        self.assert_swatch(RED)
        # No movie header: the path is taken, the colour stays.
        self.browse(self.broken)
        self.assert_swatch(RED)
        self.browse(self.blue)
        self.assert_swatch(BLUE)
        saved = self.save()
        self.assertEqual(self.changed(saved), {"movie_file": self.blue,
                                               "custom_background": False,
                                               "background_color": hex_colour(BLUE),
                                               "movie_background_color": hex_colour(BLUE)})

    def test_3_colour_picked_in_the_pop_up(self):
        self.click(CUSTOM)
        self.assertTrue(self.control(COLOR)["enabled"])
        self.click(COLOR)
        self.ui.wait(POPUP, timeout=5)
        time.sleep(0.6)  # past the first 500 ms, where a release outside keeps it open
        self.ui.key("Right")
        tip = self.ui.tree(POPUP, timeout=3)["text"]  # "#RRGGBB (r g b)" of the highlighted cell
        self.assertRegex(tip, r"^#[0-9A-F]{6} ")
        self.assertNotEqual(tip[:7], hex_colour(BLUE))
        self.ui.key("Return")
        self.assertTrue(self.ui.gone(POPUP, 3))
        picked = tuple(int(tip[i:i + 2], 16) for i in (1, 3, 5))
        self.assert_swatch(picked)
        self.assertEqual(self.save()["background_color"], tip[:7])
        # Cleared again: the movie's colour comes back over the author's.
        self.click(CUSTOM)
        self.assert_swatch(BLUE)

    def test_4_every_control_edited_and_saved(self):
        for box in BOXES:
            if box != CUSTOM:
                self.click(box)
        self.ui.select(FRAME, self.path(QUALITY), "Low")
        self.ui.select(FRAME, self.path(SIZE), "Stretch Full Screen")
        saved = self.save()
        self.assertEqual(self.changed(saved), {
            "movie_file": self.blue, "custom_background": False,
            "background_color": hex_colour(BLUE), "movie_background_color": hex_colour(BLUE),
            "mute_sound": False, "user_can_mute": True,
            "quality": 0, "user_can_set_quality": True, "size_mode": 2,
            "wake_on_left_click": False, "wake_on_right_click": True,
            "wake_on_mouse_move": False, "wake_on_key": True, "hide_cursor": False})


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
