#!/usr/bin/env python3
"""scripts/wizard as a Linux user runs it: with a project in a folder of accented names, on the
display they have, or, without one, on a private Xvfb screen that ends with the wizard.

usage: wizard_script_test.py STATE_DIR WIZARD_SCRIPT BUILD_DIR SCRKIT-CLI.EXE
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
import wine_ui  # noqa: E402

STATE, WIZARD, BUILD, CLI = sys.argv[1:5]
FRAME = "@FCMainFrame"


class WizardScriptTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.ui = wine_ui.Driver(STATE)
        cls.tmp = tempfile.mkdtemp()
        folder = os.path.join(cls.tmp, "Übung")
        os.makedirs(folder)
        cls.project = os.path.join(folder, "Dünen.kpj")
        made = subprocess.run([os.path.join(wine_ui.HARNESS, "wine-run"), "--state", STATE, CLI,
                               "project", "new", "-o", "Z:" + cls.project.replace("/", "\\")],
                              capture_output=True, text=True)
        assert made.returncode == 0 and os.path.exists(cls.project), made.stderr

    @classmethod
    def tearDownClass(cls):
        cls.ui.close()
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def test_opens_the_project_on_the_display_there_is(self):
        base = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        base.update(WINEPREFIX=self.ui.env["WINEPREFIX"], WINE64=self.ui.env["WINE64"],
                    SCRKIT_BUILD=BUILD)
        for display in (self.ui.env["DISPLAY"], None):
            with self.subTest(display=display):
                env = dict(base, DISPLAY=display) if display else base
                # The output goes to a file: Wine's services, when this start runs them, keep
                # a pipe open long after the wizard has ended.
                log_path = os.path.join(self.tmp, "wizard.log")
                with open(log_path, "w") as log:
                    wizard = subprocess.Popen([WIZARD, "--no-build", self.project], env=env,
                                              stdout=log, stderr=subprocess.STDOUT)
                try:
                    tree = self.ui.tree(FRAME, timeout=60)
                    self.assertEqual(tree["text"], "Tarvo Saver - Dünen.kpj")
                    shown = [n["id"] for n in wine_ui.find_all(tree, **{"class": "FCStepWnd"})
                             if n["visible"]]
                    self.assertEqual(shown, [201])
                    self.ui.close_window(FRAME)
                    wizard.wait(60)
                finally:
                    if wizard.poll() is None:
                        wizard.kill()
                with open(log_path) as log:
                    output = log.read()
                self.assertEqual(wizard.returncode, 0, output)
                private = re.search(r"private Xvfb screen, DISPLAY=:(\d+)", output)
                if display:
                    self.assertIsNone(private, output)
                else:
                    self.assertIsNotNone(private, output)
                    # The private screen ended with the wizard.
                    self.assertFalse(os.path.exists("/tmp/.X11-unix/X" + private.group(1)))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
