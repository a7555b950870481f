"""What the wizard's page tests share: scrkit.exe started on a project named on its command line
and shown at one step, the page's controls read through the UI driver, and the saved project read
back with the native scrkit-cli.

A test script calls configure() with the paths from its arguments and derives its case class from
PageTest, with the step's page id in STEP; its setUpClass makes cls.tmp and cls.project, then calls
start_wizard(). The cases share that one wizard, in their order.
"""
import json
import os
import shutil
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "harness"))
import wine_ui  # noqa: E402

FRAME, OPEN, SAVE_AS = "@FCMainFrame", "Open", "Save As"
ID_FILE_SAVE = 0xE103
IDNO = 7
PATHS = {}


def configure(state, scrkit, cli_path):
    PATHS.update(state=state, scrkit=scrkit, cli=cli_path)


def close_wizard(ui, proc, dialogs=(OPEN, SAVE_AS)):
    """Closes the frame: first the dialogs a failed case may have left open, then the frame,
    answering No to the save question."""
    while proc and proc.poll() is None and ui.exists(FRAME):
        for dialog in dialogs:
            if ui.exists(dialog):
                ui.close_window(dialog)
        ui.close_window(FRAME)
        try:
            ui.call("click", "@#32770", IDNO, timeout=3)
        except wine_ui.DriverError:
            pass
    if proc:
        proc.wait(30)


def cli(*args):
    done = subprocess.run([PATHS["cli"], *args], capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    return done.stdout


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


class PageTest(unittest.TestCase):
    STEP = None  # the page's id in the frame, which is also the command that shows it

    @classmethod
    def start_wizard(cls, program=None):
        """Starts scrkit.exe (or a copy of it at `program`) on cls.project, at the step."""
        cls.original = cls.show()
        cls.ui = wine_ui.Driver(PATHS["state"])
        cls.proc = subprocess.Popen([os.path.join(wine_ui.HARNESS, "wine-run"), "--state",
                                     PATHS["state"], "--timeout", "200", program or PATHS["scrkit"],
                                     windows_path(cls.project)],
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cls.ui.wait(FRAME, timeout=30)
        cls.ui.command(FRAME, cls.STEP)

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

    def path(self, *ids):
        """The driver's path to a control of the page (or of a control inside it)."""
        return "/".join(str(id) for id in (self.STEP,) + ids)

    def page(self):
        return wine_ui.find(self.ui.tree(FRAME), id=self.STEP)

    def control(self, id):
        return wine_ui.find(self.page(), id=id)

    def controls(self, *ids):
        page = self.page()
        return [wine_ui.find(page, id=id) for id in ids]

    def states(self, *ids):
        """(enabled, check) of each control; check is None for what is not a box."""
        return [(c["enabled"], c.get("check")) for c in self.controls(*ids)]

    def click(self, id):
        self.ui.click_at(FRAME, self.path(id))

    def save(self):
        """Saves through the frame's command and gives the project as saved."""
        self.ui.command(FRAME, ID_FILE_SAVE)
        self.ui.tree(FRAME)  # the command is handled before the driver's next answer
        return self.show()

    def changed(self, saved):
        return {k: v for k, v in saved.items() if self.original.get(k) != v}

    def save_changes(self):
        return self.changed(self.save())
