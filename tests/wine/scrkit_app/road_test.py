#!/usr/bin/env python3
"""The author's whole road through the wizard under Wine, with real keys and clicks: scrkit.exe
started without a project, a movie made by scrkit-cli convert taken on the Start page, every page
filled in turn with "Next >", then on Finish the screensaver, the setup (with the stand-in
compiler as setup\\iscc.exe beside the program) and the project saved through the save-file
dialog. Then what came out: the screensaver runs full screen with the stand-in Flash control and
ends on a key; its payload holds what the pages were given; the script the compiler received
names every chosen file; the project reopens in the wizard and reads back field by field; and the
screensaver is the one scrkit-cli builds from that project and stub with the wizard's seed, byte
for byte (with another seed only the seed and what it scrambles differ).

The project holds the Windows paths the dialogs were given, which only a Windows program opens:
the comparison builds with the win64 scrkit-cli.exe under Wine (whose builds are the native
ones byte for byte, as its own test shows); the rest is read with the native scrkit-cli.

usage: road_test.py STATE_DIR SCRKIT.EXE SCRKIT-CLI (native) ISCC_STANDIN FLASH_STANDIN STUB
                    SCRKIT-CLI.EXE
"""
import datetime
import filecmp
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

from wizard_page import FRAME, OPEN, PATHS, SAVE_AS, cli, close_wizard, configure, windows_path
import wine_ui  # noqa: E402 (wizard_page puts the harness on the path)

configure(*sys.argv[1:4])
ISCC, FLASH, STUB, WINDOWS_CLI = sys.argv[4:8]
HERE = os.path.dirname(os.path.abspath(__file__))
FLASH_SCRIPT = os.path.join(HERE, "..", "flash_standin", "flash-standin")
RECENT_KEY = r"HKCU\Software\Marqon Technologies\Tarvo Saver\Recent File List"
BOX, POPUP, NAME_EDIT, COMBO_EDIT = "@#32770", "@KZCColorPopup", "1148/1148/1148", 1001
START, SETUP, STYLE, PLAYBACK, SETTINGS, FILES, MENU, POST, FINISH = range(200, 209)
SAVER_CAPTION = "Tarvo Screensaver"

# What the author gives each page: control ids as the page tests name them.
NAMES = {1278: "NightSky", 1281: "Night Sky", 1257: "3.1", 1260: "Skyworks"}  # Setup
QUALITY, SIZE, MUTE, USER_QUALITY, WAKE_MOVE, HIDE = 1267, 1271, 1284, 1268, 1018, 1297
MESSAGE, UNIFORM, PREVIEW_COLOR = 1259, 1298, 1300  # Settings
README_BOX, README_BROWSE, ADDITIONAL_BOX, ADDITIONAL_BROWSE = 1293, 1015, 1294, 1017  # Files
MENU_LAUNCH, MENU_LAUNCH_CAPTION, MENU_README = 1266, 1276, 1268
MENU_SUBFOLDER, MENU_SUBFOLDER_NAME = 1414, 1283
POST_LAUNCH, POST_LAUNCH_NO_ASK, POST_TARGET = 1294, 1283, 1296
SAVE_SETUP, SAVE_SCR, SAVE_PROJECT = 1013, 1015, 1022


def page(tree, step):
    return wine_ui.find(tree, id=step)


def shown_step(tree):
    return [n["id"] for n in wine_ui.find_all(tree, **{"class": "FCStepWnd"}) if n["visible"]]


class RoadTest(unittest.TestCase):
    """One road, in the cases' order: the wizard's work, then what it wrote."""
    maxDiff = None

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="road-")
        cls.ui = wine_ui.Driver(PATHS["state"])
        cls.proc = None
        t = cls.tmp
        subprocess.run(["convert", "-size", "320x240", "gradient:#203060-#C0A040",
                        os.path.join(t, "dusk.png")], check=True)
        cls.movie = os.path.join(t, "dusk.swf")
        cli("convert", os.path.join(t, "dusk.png"), "-o", cls.movie)
        cls.picture = os.path.join(t, "side.bmp")
        subprocess.run(["convert", "-size", "164x314", "xc:#804020", cls.picture], check=True)
        cls.files = os.path.join(t, "files")
        os.mkdir(cls.files)
        for name in ("Read Me.txt", "notes.txt", "tool.exe"):
            with open(os.path.join(cls.files, name), "w") as out:
                out.write("the file " + name + "\n")
        cls.readme = os.path.join(cls.files, "Read Me.txt")
        cls.additional = [os.path.join(cls.files, n) for n in ("notes.txt", "tool.exe")]
        out = os.path.join(t, "out")
        os.mkdir(out)
        cls.scr = os.path.join(out, "Night Sky.scr")
        cls.setup = os.path.join(out, "Night Sky Setup.exe")
        cls.project = os.path.join(out, "Road.kpj")
        cls.script_copy = os.path.join(t, "received.iss")
        # The program's folder as a user unpacks it: the sample the defaults name, the compiler.
        app = os.path.join(t, "app")
        shutil.copytree(os.path.join(HERE, "..", "..", "..", "builder", "resources", "sample"),
                        os.path.join(app, "sample"))
        os.mkdir(os.path.join(app, "setup"))
        shutil.copy(ISCC, os.path.join(app, "setup", "iscc.exe"))
        cls.scrkit = shutil.copy(PATHS["scrkit"], app)
        cls.app = app
        cli("project", "new", "-o", os.path.join(t, "base.kpj"))
        cls.base = json.loads(cli("project", "show", os.path.join(t, "base.kpj"), "--json"))

    @classmethod
    def tearDownClass(cls):
        try:
            cls.close_wizard()
        finally:
            cls.ui.reg("delete", RECENT_KEY)
            cls.ui.close()
            shutil.rmtree(cls.tmp, ignore_errors=True)

    @classmethod
    def start_wizard(cls, *args):
        env = dict(os.environ, ISCC_STANDIN_SCRIPT_COPY=windows_path(cls.script_copy))
        cls.proc = subprocess.Popen([os.path.join(wine_ui.HARNESS, "wine-run"), "--state",
                                     PATHS["state"], "--timeout", "200", cls.scrkit, *args],
                                    env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cls.ui.wait(FRAME, timeout=30)

    @classmethod
    def close_wizard(cls):
        close_wizard(cls.ui, cls.proc, (OPEN, SAVE_AS, POPUP))

    # --- the pages ---------------------------------------------------------------------------
    def tree(self):
        return self.ui.tree(FRAME)

    def control(self, step, id):
        return wine_ui.find(page(self.tree(), step), id=id)

    def click(self, step, id):
        self.ui.click_at(FRAME, "%d/%d" % (step, id))

    def check_box(self, step, id):
        """Clicks a box that is not checked yet."""
        if not self.control(step, id)["check"]:
            self.click(step, id)
        self.assertEqual(self.control(step, id)["check"], 1)

    def type(self, step, id, text):
        shown = self.control(step, id)["text"]
        self.ui.type_into(FRAME, "%d/%d" % (step, id), text, erase=len(shown) + 1)

    def next(self, step):
        """Clicks "Next >" and expects the step after `step`."""
        button = wine_ui.find(self.tree(), text="Next >")
        self.ui.click_at(FRAME, button["id"])
        self.assertEqual(shown_step(self.tree()), [step + 1])

    def answer_file_dialog(self, dialog, path):
        self.ui.wait(dialog)
        self.ui.type_into(dialog, NAME_EDIT, path, erase=80)
        self.ui.key("Return")
        self.assertTrue(self.ui.gone(dialog))

    def pick_colour(self, step, id):
        """Moves one cell in the colour pop-up with real keys; gives the picked #RRGGBB."""
        self.ui.click_at(FRAME, "%d/%d" % (step, id), 10, 10)
        self.ui.wait(POPUP, timeout=5)
        time.sleep(0.6)  # past the first 500 ms, where a release outside keeps it open
        self.ui.key("Right")
        time.sleep(0.4)
        tip = self.ui.tree(POPUP, timeout=3)["text"]
        self.ui.key("Return")
        self.assertTrue(self.ui.gone(POPUP, 3))
        self.assertRegex(tip, r"^#[0-9A-F]{6} ")
        return tip[:7]

    def test_1_the_wizard_road(self):
        cls = type(self)
        self.ui.reg("delete", RECENT_KEY)
        self.start_wizard()
        self.assertEqual(shown_step(self.tree()), [START])
        # Start: a new project from the movie.
        self.ui.click(FRAME, "%d/%d" % (START, 1017))
        self.answer_file_dialog(OPEN, windows_path(self.movie))
        self.assertEqual(shown_step(self.tree()), [SETUP])
        # Setup Parameters.
        for id, text in NAMES.items():
            self.type(SETUP, id, text)
        self.next(SETUP)
        # Setup Style: a custom setup picture.
        self.click(STYLE, 1408)
        self.click(STYLE, 1410)
        self.answer_file_dialog(OPEN, windows_path(self.picture))
        self.next(STYLE)
        # Movie & Playback: the movie from the Start page is there.
        self.assertEqual(self.control(PLAYBACK, 1283)["text"], windows_path(self.movie))
        self.ui.select(FRAME, "%d/%d" % (PLAYBACK, QUALITY), "Low")
        self.ui.select(FRAME, "%d/%d" % (PLAYBACK, SIZE), "Full Screen")
        cls.boxes = {}
        for id in (MUTE, USER_QUALITY, WAKE_MOVE, HIDE):  # each turned the other way
            before = self.control(PLAYBACK, id)["check"]
            self.click(PLAYBACK, id)
            cls.boxes[id] = not before
            self.assertEqual(self.control(PLAYBACK, id)["check"], int(not before))
        self.next(PLAYBACK)
        # Screensaver Settings: the message, a uniform preview in a picked colour.
        self.type(SETTINGS, MESSAGE, "Stars over the dunes")
        self.click(SETTINGS, UNIFORM)
        cls.preview_color = self.pick_colour(SETTINGS, PREVIEW_COLOR)
        self.next(SETTINGS)
        # Installation Files: a readme and two additional files at once.
        self.check_box(FILES, README_BOX)
        self.click(FILES, README_BROWSE)
        self.answer_file_dialog(OPEN, windows_path(self.readme))
        self.check_box(FILES, ADDITIONAL_BOX)
        self.click(FILES, ADDITIONAL_BROWSE)
        self.ui.wait(OPEN)
        self.ui.type_into(OPEN, NAME_EDIT, windows_path(self.files), erase=80)
        self.ui.key("Return")
        self.answer_file_dialog(OPEN, '"notes.txt" "tool.exe"')
        self.next(FILES)
        # Start Menu Items: a launch entry with its caption, the readme, the folder's name.
        self.check_box(MENU, MENU_LAUNCH)
        self.type(MENU, MENU_LAUNCH_CAPTION, "Show Night Sky")
        self.check_box(MENU, MENU_README)  # offered now that a readme is installed
        self.check_box(MENU, MENU_SUBFOLDER)
        self.type(MENU, MENU_SUBFOLDER_NAME, "Sky Tools")
        self.next(MENU)
        # Post-Setup Actions: launch the second additional file without asking.
        self.check_box(POST, POST_LAUNCH)
        self.click(POST, POST_LAUNCH_NO_ASK)
        target = self.control(POST, POST_TARGET)
        self.assertEqual(target["items"], ["{app}\\notes.txt", "{app}\\tool.exe"])
        self.ui.select(FRAME, "%d/%d" % (POST, POST_TARGET), 1)
        self.next(POST)
        # Finish: the screensaver, the setup and the project through the save-file dialog. Never
        # saved yet: the exports propose no name, the project "TarvoSetup1".
        for button, path, proposed in ((SAVE_SCR, self.scr, ""), (SAVE_SETUP, self.setup, ""),
                                       (SAVE_PROJECT, self.project, "TarvoSetup1")):
            with self.subTest(button=button):
                self.click(FINISH, button)
                self.ui.wait(SAVE_AS)
                self.assertEqual(wine_ui.find(self.ui.tree(SAVE_AS), id=1148)["text"], proposed)
                self.answer_file_dialog(SAVE_AS, windows_path(path))
                self.tree()  # the build is done before the frame answers again
                self.assertFalse(self.ui.exists(BOX))  # no error box
                self.assertTrue(os.path.isfile(path))
        self.assertEqual(self.tree()["text"], "Tarvo Saver - Road.kpj")
        self.close_wizard()

    # --- what came out -----------------------------------------------------------------------
    def saved(self):
        return json.loads(cli("project", "show", self.project, "--json"))

    def test_2_project_has_every_field_as_entered(self):
        saved = self.saved()
        company, long_name = NAMES[1260], NAMES[1281]
        expected = {
            "short_name": NAMES[1278], "long_name": long_name, "version": NAMES[1257],
            "company_name": company, "install_dir": "{pf}\\%s\\%s" % (company, long_name),
            "copyright": "Copyright \u00a9 %d %s" % (datetime.date.today().year, company),
            "custom_wizard_image": True, "wizard_image_file": windows_path(self.picture),
            "movie_file": windows_path(self.movie), "quality": 0, "size_mode": 1,
            "settings_message": "Stars over the dunes", "preview_mode": 0,
            "preview_color": self.preview_color,
            "install_readme": True, "readme_file": windows_path(self.readme),
            "install_additional_files": True,
            "additional_files": [windows_path(p) for p in self.additional],
            "menu_launch": True, "menu_launch_caption": "Show Night Sky", "menu_readme": True,
            "menu_subfolder": True, "menu_subfolder_name": "Sky Tools",
            "end_launch": True, "end_launch_ask": False, "end_launch_index": 1,
            "end_launch_target": "",
            # The defaults name the sample beside the program, not beside this scrkit-cli.
            "license_file": windows_path(os.path.join(self.app, "sample",
                                                      "YourScreensaverLicense.txt")),
        }
        field = {MUTE: "mute_sound", USER_QUALITY: "user_can_set_quality",
                 WAKE_MOVE: "wake_on_mouse_move", HIDE: "hide_cursor"}
        expected.update({field[id]: on for id, on in self.boxes.items()})
        changed = {k: v for k, v in saved.items() if self.base.get(k) != v}
        # The movie's own background colour comes with it (checked by the Start page's test).
        for key in ("background_color", "movie_background_color"):
            changed.pop(key, None)
        self.assertEqual({k: v for k, v in changed.items() if k not in expected},
                         {}, "fields the author did not touch")
        self.assertEqual({k: saved[k] for k in expected}, expected)

    def test_3_screensaver_payload(self):
        info = json.loads(cli("info", self.scr, "--json"))
        saved = self.saved()
        self.assertEqual((info["company_name"], info["long_name"], info["settings_message"]),
                         ("Skyworks", "Night Sky", "Stars over the dunes"))
        fields = {"compressed": "compress_movies", "scrambled": "scramble_movies"}
        self.assertEqual(info["flags"], {k: saved[fields.get(k, k)] for k in info["flags"]})
        self.assertEqual((info["background_color"], info["preview_color"]),
                         (saved["background_color"], self.preview_color))
        self.assertEqual([(e["name"], e["quality"], e["size_mode"]) for e in info["entries"]],
                         [("dusk.swf", 0, 1)])

    def test_4_setup_script_names_every_file(self):
        with open(self.setup, "rb") as built, open(ISCC, "rb") as standin:
            self.assertEqual(built.read(), standin.read())  # the stand-in's "setup"
        script = open(self.script_copy, encoding="cp1252").read()
        # The screensaver and the setup pictures are the build's temporary files; the author's
        # files are named where they are.
        files = [self.readme] + self.additional
        for text in (['Source: "%s"; DestDir: "{app}"' % windows_path(p) for p in files] +
                     ['DestName: "NightSky.scr"; DestDir: "{sys}"', "AppName=Night Sky",
                      "DefaultGroupName=Sky Tools\\Night Sky",
                      'Name: "{group}\\Show Night Sky"; Filename: "{app}\\pomlet.exe"',
                      'Name: "{group}\\View Readme"; Filename: "{app}\\Read Me.txt"',
                      'Filename: "{app}\\tool.exe"; Description: ""; Flags: shellexec']):
            with self.subTest(text=text):
                self.assertIn(text, script)
        self.assertIn("WizardImageFile=", script)

    def test_5_screensaver_runs_full_screen_and_ends_on_a_key(self):
        env = self.ui.env
        subprocess.run([FLASH_SCRIPT, "--state", PATHS["state"], "register", FLASH], env=env,
                       check=True)
        log = os.path.join(self.tmp, "flash.log")
        run_env = dict(env, FLASH_STANDIN_LOG=windows_path(log))
        proc = subprocess.Popen([os.path.join(wine_ui.HARNESS, "wine-run"), "--state",
                                 PATHS["state"], "--timeout", "60", self.scr, "/s"], env=run_env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            window = self.ui.wait(SAVER_CAPTION, timeout=20)
            rect = self.ui.tree("#%d" % window)["rect"]
            root = subprocess.run(["xdotool", "getdisplaygeometry"], env=env, check=True,
                                  capture_output=True, text=True).stdout.split()
            self.assertEqual(rect, [0, 0, int(root[0]), int(root[1])])
            time.sleep(1.5)  # input in the first second is ignored
            self.ui.xdotool("mousemove", rect[2] // 2, rect[3] // 2)
            time.sleep(0.3)
            self.ui.key("a")
            self.assertEqual(proc.wait(10), 0)
        finally:
            if proc.poll() is None:
                proc.kill()
                proc.wait()
            subprocess.run([FLASH_SCRIPT, "--state", PATHS["state"], "unregister", FLASH],
                           env=env)
        puts = [l.split(" value=")[1] for l in open(log).read().splitlines()
                if l.startswith("IDispatch.Invoke")]
        self.assertEqual(puts[2], 'bstr:"Low"')
        self.assertTrue(puts[3].endswith('\\swfsaver\\dusk.swf"'), puts)

    def test_6_project_reopens_in_the_wizard(self):
        self.start_wizard(windows_path(self.project))
        try:
            tree = self.tree()
            self.assertEqual(tree["text"], "Tarvo Saver - Road.kpj")
            shown = {(step, id): wine_ui.find(page(tree, step), id=id)["text"]
                     for step, id in ((SETUP, 1278), (SETUP, 1260), (PLAYBACK, QUALITY),
                                      (FILES, 1257), (MENU, MENU_LAUNCH_CAPTION))}
            self.assertEqual(shown, {(SETUP, 1278): "NightSky", (SETUP, 1260): "Skyworks",
                                     (PLAYBACK, QUALITY): "Low",
                                     (FILES, 1257): windows_path(self.readme),
                                     (MENU, MENU_LAUNCH_CAPTION): "Show Night Sky"})
        finally:
            self.close_wizard()

    def build(self, out, seed):
        """scrkit-cli.exe build of the saved project, with this build's stub."""
        done = subprocess.run([os.path.join(wine_ui.HARNESS, "wine-run"), "--state",
                               PATHS["state"], "--timeout", "60", WINDOWS_CLI, "build",
                               windows_path(self.project), "-o", windows_path(out), "--stub",
                               windows_path(STUB), "--seed", str(seed)],
                              env=self.ui.env, capture_output=True, text=True)
        self.assertEqual(done.returncode, 0, done.stderr)

    def test_7_same_bytes_as_scrkit_cli_with_the_same_seed(self):
        info = json.loads(cli("info", self.scr, "--json"))
        same = os.path.join(self.tmp, "same-seed.scr")
        self.build(same, info["seed"])
        self.assertTrue(filecmp.cmp(same, self.scr, shallow=False))
        # Another seed: the stub, the sizes, what info reads and the files as stored are the
        # same; the seed and the bytes it scrambles are not.
        other = os.path.join(self.tmp, "other-seed.scr")
        seed = (info["seed"] + 1) % 2**32
        self.build(other, seed)
        other_info = json.loads(cli("info", other, "--json"))
        self.assertEqual(other_info.pop("seed"), seed)
        info.pop("seed")
        self.assertEqual(other_info, info)
        with open(self.scr, "rb") as a, open(other, "rb") as b, open(STUB, "rb") as s:
            wizard, again, stub = a.read(), b.read(), s.read()
        self.assertEqual(len(wizard), len(again))
        self.assertEqual((wizard[:len(stub)], again[:len(stub)]), (stub, stub))
        self.assertEqual(wizard[-8:], again[-8:])  # the trailer
        self.assertNotEqual(wizard, again)
        for path in (self.scr, other):
            cli("extract", path, "-d", path + ".files")
        self.assertEqual(filecmp.dircmp(self.scr + ".files", other + ".files").diff_files, [])
        self.assertEqual(os.listdir(self.scr + ".files"), ["dusk.swf"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
