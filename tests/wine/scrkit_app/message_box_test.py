#!/usr/bin/env python3
"""KZCMessageBox under Wine with real keys: buttons and labels by type, the second-default flag
focusing No and Enter answering it, French labels, Escape answering Cancel only where there is
one, the topmost flag, and a long text growing the box.

usage: message_box_test.py STATE_DIR PROBE.EXE
"""
import os
import subprocess
import sys
import time
import unittest

HARNESS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness")
STATE, PROBE = sys.argv[1], sys.argv[2]


def harness(tool, *args, check=True):
    return subprocess.run([os.path.join(HARNESS, tool), "--state", STATE, *args], check=check,
                          capture_output=True, text=True, timeout=60)


class Box:
    def __init__(self, box_type, text="Probe text.", language=1033):
        self.proc = subprocess.Popen(
            [os.path.join(HARNESS, "wine-run"), "--state", STATE, "--timeout", "60", PROBE,
             hex(box_type), str(language), text],
            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.buttons, self.info = [], {}
        for line in self.proc.stdout:
            line = line.rstrip("\r\n")
            if line == "ready":
                break
            key, _, rest = line.partition(" ")
            if key == "button":
                number, _, label = rest.partition(" ")
                self.buttons.append((int(number), label))
            else:
                self.info[key] = [int(v) for v in rest.split()]
        if "rect" not in self.info:
            self.proc.kill()
            raise AssertionError("the box never came: " + self.proc.stderr.read())

    def key(self, name):
        left, top, right, bottom = self.info["rect"]
        # Keys go to the window under the pointer: put it over the box's text.
        harness("wine-input", "mousemove", str(left + 20), str(top + 40), "sleep", "0.3",
                "key", name)

    def result(self, timeout=20):
        try:
            self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None
        return self.proc.returncode

    def close(self):
        if self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        self.proc.stdout.close()
        self.proc.stderr.close()


class MessageBoxUnderWine(unittest.TestCase):
    def test_second_default_focuses_no_and_enter_answers_it(self):
        box = Box(0x103)
        try:
            self.assertEqual(box.buttons, [(6, "&Yes"), (7, "&No"), (2, "Cancel")])
            self.assertEqual(box.info["default"], [7])
            self.assertEqual(box.info["focus"], [7])
            box.key("Return")
            self.assertEqual(box.result(), 7)
        finally:
            box.close()

    def test_french_labels_and_escape_answers_cancel(self):
        box = Box(0x3, language=1036)
        try:
            self.assertEqual([label for _, label in box.buttons], ["&Oui", "&Non", "Annuler"])
            self.assertEqual(box.info["focus"], [6])
            box.key("Escape")
            self.assertEqual(box.result(), 2)
        finally:
            box.close()

    def test_escape_does_nothing_without_cancel(self):
        box = Box(0x4)
        try:
            self.assertEqual(box.buttons, [(6, "&Yes"), (7, "&No")])
            box.key("Escape")
            self.assertIsNone(box.result(timeout=2), "Escape closed a Yes/No box")
            harness("wine-close-window", "--button", "6", "Message Box Probe")
            self.assertEqual(box.result(), 6)
        finally:
            box.close()

    def test_abort_retry_ignore_and_topmost(self):
        box = Box(0x40002)
        try:
            self.assertEqual(box.buttons, [(3, "&Abort"), (4, "&Retry"), (5, "&Ignore")])
            self.assertEqual(box.info["topmost"], [1])
            box.key("Return")  # the first button is the default
            self.assertEqual(box.result(), 3)
        finally:
            box.close()

    def test_long_text_wraps_and_grows_the_box(self):
        short = Box(0x0)
        try:
            self.assertEqual(short.info["topmost"], [0])
            short_size = short.info["client"]
            short.key("Escape")  # a lone OK answers Escape with OK
            self.assertEqual(short.result(), 1)
        finally:
            short.close()
        long = Box(0x0, text=" ".join(["A long message that must wrap."] * 60))
        try:
            width, height = long.info["client"]
            left, top, right, bottom = long.info["rect"]
            self.assertGreater(height, short_size[1] * 3)
            self.assertLessEqual(right - left, 1024)
            self.assertGreaterEqual(left, 0)
            self.assertGreaterEqual(top, 0)
            harness("wine-close-window", "--button", "1", "Message Box Probe")
            self.assertEqual(long.result(), 1)
        finally:
            long.close()


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
