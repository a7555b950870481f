#!/usr/bin/env python3
"""scripts/package from an existing win64 build: the zip's name and entries, the programs and
sample files as built, the setup folder holding its text alone, and the sample project opening
with the native scrkit-cli wherever the zip is unpacked. With a Wine state folder, the unpacked
scrkit.exe is started on that sample project instead.

usage: package_test.py SCRIPT BUILD_DIR SOURCE_DIR SCRKIT-CLI (native) [WINE_STATE]
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

SCRIPT, BUILD, SOURCE, CLI = sys.argv[1:5]
STATE = sys.argv[5] if len(sys.argv) > 5 else None
SAMPLE = os.path.join(SOURCE, "builder", "resources", "sample")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def build_commit():
    text = open(os.path.join(BUILD, "builder", "cli", "cli_commit.cpp")).read()
    return re.search(r'kCliCommit\[\] = "([^"]*)"', text).group(1)


class PackageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="package-")
        out = os.path.join(cls.tmp, "out")
        done = subprocess.run([SCRIPT, "-o", out, BUILD], capture_output=True, text=True,
                              env=dict(os.environ, SCRKIT_NATIVE_CLI=CLI))
        assert done.returncode == 0, done.stderr
        cls.zip_path = done.stdout.strip().splitlines()[-1]
        cls.name = "tarvo-saver-2.4-" + build_commit()
        cls.unpacked = os.path.join(cls.tmp, "unpacked here")
        with zipfile.ZipFile(cls.zip_path) as z:
            cls.entries = sorted(z.namelist())
            z.extractall(cls.unpacked)
        cls.root = os.path.join(cls.unpacked, cls.name)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def test_name_and_entries(self):
        self.assertEqual(self.zip_path, os.path.join(self.tmp, "out", self.name + ".zip"))
        self.assertRegex(self.name, r"^tarvo-saver-2\.4-([0-9a-f]{12}(-dirty)?|unknown)$")
        sample = sorted(os.listdir(SAMPLE)) + ["Sample.kpj"]
        expected = ["", " fra.dll", "README.txt", "sample/", "scrkit.exe", "setup/",
                    "setup/README.txt"] + ["sample/" + n for n in sample]
        self.assertEqual(self.entries, sorted(self.name + "/" + e for e in expected))

    def test_files_as_built(self):
        ui = os.path.join(BUILD, "builder", "ui")
        for name in ("scrkit.exe", " fra.dll"):
            with self.subTest(name=name):
                self.assertEqual(read(os.path.join(self.root, name)), read(os.path.join(ui, name)))
        for name in os.listdir(SAMPLE):
            with self.subTest(name=name):
                self.assertEqual(read(os.path.join(self.root, "sample", name)),
                                 read(os.path.join(SAMPLE, name)))

    def test_texts(self):
        self.assertEqual(os.listdir(os.path.join(self.root, "setup")), ["README.txt"])
        setup = open(os.path.join(self.root, "setup", "README.txt"), newline="").read()
        readme = open(os.path.join(self.root, "README.txt"), newline="").read()
        for text in (setup, readme):
            self.assertNotRegex(text, "[^\r]\n")  # Notepad's line ends
            self.assertIn("Inno Setup 5", text)
            self.assertIn("setup\\ISCC.exe", text)
        self.assertIn("scrkit.exe sample\\Sample.kpj", readme)

    def test_sample_project_opens_where_unpacked(self):
        done = subprocess.run([CLI, "project", "show", "--json",
                               os.path.join(self.root, "sample", "Sample.kpj")],
                              capture_output=True, text=True)
        self.assertEqual(done.returncode, 0, done.stderr)
        shown = json.loads(done.stdout)
        for field, name in (("movie_file", "sample.swf"),
                            ("license_file", "YourScreensaverLicense.txt"),
                            ("readme_file", "YourScreensaverReadme.txt")):
            with self.subTest(field=field):
                self.assertEqual(os.path.realpath(shown[field]),
                                 os.path.realpath(os.path.join(self.root, "sample", name)))

    def test_build_folder_without_the_program_is_refused(self):
        empty = os.path.join(self.tmp, "empty build")
        os.makedirs(empty)
        out = os.path.join(self.tmp, "refused")
        done = subprocess.run([SCRIPT, "-o", out, empty], capture_output=True, text=True,
                              env=dict(os.environ, SCRKIT_NATIVE_CLI=CLI))
        self.assertEqual(done.returncode, 1)
        self.assertIn("scrkit.exe is missing", done.stderr)
        self.assertFalse(os.path.exists(out))

    @unittest.skipUnless(STATE, "no Wine state folder")
    def test_unpacked_wizard_opens_the_sample(self):
        sys.path.insert(0, os.path.join(SOURCE, "tests", "wine", "harness"))
        import wine_ui
        ui = wine_ui.Driver(STATE)
        project = "Z:" + os.path.join(self.root, "sample", "Sample.kpj").replace("/", "\\")
        proc = subprocess.Popen([os.path.join(wine_ui.HARNESS, "wine-run"), "--state", STATE,
                                 "--timeout", "60", os.path.join(self.root, "scrkit.exe"),
                                 project], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            ui.wait("@FCMainFrame", timeout=30)
            self.assertEqual(ui.tree("@FCMainFrame")["text"], "Tarvo Saver - Sample.kpj")
            ui.command("@FCMainFrame", 203)  # Movie & Playback: the movie beside the project
            page = wine_ui.find(ui.tree("@FCMainFrame"), id=203)
            movie = wine_ui.find(page, id=1283)["text"]
            self.assertEqual(movie.lower(), project[:-len("Sample.kpj")].lower() + "sample.swf")
        finally:
            while proc.poll() is None and ui.exists("@FCMainFrame"):
                ui.close_window("@FCMainFrame")
                try:
                    ui.call("click", "@#32770", 7, timeout=3)  # No to a save question
                except wine_ui.DriverError:
                    pass
            proc.wait(30)
            ui.close()


if __name__ == "__main__":
    # With Wine only the wizard's case: the others are the native test's.
    only = ["PackageTest.test_unpacked_wizard_opens_the_sample"] if STATE else []
    unittest.main(argv=sys.argv[:1] + only, verbosity=2)
