#!/usr/bin/env python3
"""scrkit-cli end to end: every command, its errors and its exit codes.

cli_test.py SCRKIT_CLI WORK_FOLDER ISCC_STANDIN
Pictures are made here with ImageMagick; screensaver files are read back by the CLI's own info
and extract, and once by make_screensaver.py (an independent payload writer) for a hostile name.
"""
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import unittest

CLI = None
WORK = None
ISCC = None
HERE = os.path.dirname(os.path.abspath(__file__))
MAKE_SCREENSAVER = os.path.join(HERE, "..", "..", "runtime", "make_screensaver.py")
SOURCE = os.path.abspath(os.path.join(HERE, "..", "..", "..", ".."))
COMMIT_SCRIPT = os.path.join(SOURCE, "builder", "cli", "cli_commit.cmake")


def run(*args, env=None):
    p = subprocess.run([CLI, *args], capture_output=True, text=True, timeout=120,
                       env=dict(os.environ, **(env or {})))
    return p.returncode, p.stdout, p.stderr


def read(file):
    with open(file, "rb") as f:
        return f.read()


def path(name):
    return os.path.join(WORK, name)


def swf_frame(file):
    """Frame size in pixels of an uncompressed SWF file."""
    data = read(file)
    assert data[:3] == b"FWS", data[:3]
    bits = "".join(f"{b:08b}" for b in data[8:8 + 17])
    n = int(bits[:5], 2)
    values = []
    for i in range(4):
        raw = bits[5 + i * n:5 + (i + 1) * n]
        v = int(raw, 2)
        if raw[0] == "1":
            v -= 1 << n
        values.append(v)
    return (values[1] - values[0]) // 20, (values[3] - values[2]) // 20


def magick(*args):
    subprocess.run(["convert", *args], check=True)


class CliTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        shutil.rmtree(WORK, ignore_errors=True)
        os.makedirs(WORK)
        magick("-size", "608x448", "gradient:red-blue", path("photo.png"))
        magick("-size", "40x30", "xc:#336699", "-colors", "4", "PNG8:" + path("small.png"))
        with open(path("stub.exe"), "wb") as f:
            f.write(b"MZ" + bytes(range(256)) * 8)
        code, _, err = run("convert", path("photo.png"), "-o", path("movie.swf"))
        assert code == 0, err

    def test_help_for_every_command(self):
        for command in ["build", "convert", "info", "extract", "project", "picture", "setup",
                        "script"]:
            code, out, _ = run(command, "--help")
            self.assertEqual(code, 0, command)
            self.assertIn("usage: scrkit-cli " + command, out)
        code, out, _ = run("--help")
        self.assertEqual(code, 0)
        self.assertIn("usage:", out)

    def test_version(self):
        outputs = set()
        for flag in ["--version", "-V"]:
            code, out, err = run(flag)
            self.assertEqual((code, err), (0, ""), flag)
            outputs.add(out)
        self.assertEqual(len(outputs), 1)
        found = re.fullmatch(r"scrkit-cli 2\.4 \(commit (unknown|([0-9a-f]{12})(-dirty)?)\)\n",
                             outputs.pop())
        self.assertTrue(found, outputs)
        if found.group(2) and shutil.which("git"):
            # Built from this checkout: the commit is one of its own.
            p = subprocess.run(["git", "-C", SOURCE, "cat-file", "-t", found.group(2)],
                               capture_output=True, text=True)
            self.assertEqual(p.stdout.strip(), "commit", found.group(2))
        self.assertIn("--version", run("--help")[1])

    def test_commit_lookup_without_a_repository(self):
        # A copy of the sources outside any repository, or inside another one's tree (this
        # folder lies in the checkout): the commit is "unknown", not an error.
        folder = path("no-repository")
        os.makedirs(folder, exist_ok=True)
        out = os.path.join(folder, "commit.cpp")
        for env in [{"GIT_CEILING_DIRECTORIES": WORK}, {}]:
            subprocess.run(["cmake", "-DSOURCE_DIR=" + folder, "-DOUT=" + out, "-P",
                            COMMIT_SCRIPT], check=True, env=dict(os.environ, **env))
            self.assertIn('kCliCommit[] = "unknown";', read(out).decode(), env)
        subprocess.run(["cmake", "-DSOURCE_DIR=" + SOURCE, "-DOUT=" + out, "-P", COMMIT_SCRIPT],
                       check=True)
        self.assertRegex(read(out).decode(), r'kCliCommit\[\] = "[0-9a-f]{12}(-dirty)?";')

    def test_a_project_that_cannot_be_opened_is_named(self):
        junk = path("junk-project.kpj")
        with open(junk, "wb") as f:
            f.write(b"not a project at all")
        missing = path("no-such-project.kpj")
        prefix = "An error occurred when reading KPJ file:\n"
        for args, reason, project in [
                (["project", "show", junk], "Not a KPJ file", junk),
                (["project", "set", missing, "quality=1"], "Unable to open file", missing),
                (["build", missing, "-o", path("x.scr"), "--stub", path("stub.exe")],
                 "Unable to open file", missing),
                (["script", junk, "-o", path("x-script")], "Not a KPJ file", junk),
                (["setup", missing, "-o", path("x.exe"), "--iscc", ISCC], "Unable to open file",
                 missing)]:
            code, _, err = run(*args)
            self.assertEqual(code, 1, args)
            self.assertIn(prefix + reason + "\n" + project + "\n", err, args)
        self.assertFalse(os.path.exists(missing))

    def test_bad_usage_exits_2(self):
        for args in [[], ["frobnicate"], ["build", "x.kpj"], ["convert", "x.png"],
                     ["info"], ["extract", "x.scr"], ["project"], ["project", "new"],
                     ["project", "bogus"], ["picture"], ["picture", "x.png", "--resize", "10"],
                     ["picture", "x.png", "--filter", "nosuch"], ["build", "a", "-o", "b", "-z"],
                     ["setup", "x.kpj"], ["setup", "x.kpj", "-o", "x.exe", "--iscc"],
                     ["setup", "-o", "x.exe"], ["script", "x.kpj"],
                     ["script", "x.kpj", "-o", "d", "--iscc", "c"]]:
            code, _, err = run(*args)
            self.assertEqual(code, 2, args)
            self.assertTrue(err, args)

    def test_convert_and_preview(self):
        self.assertEqual(swf_frame(path("movie.swf")), (608, 448))
        code, _, err = run("convert", path("photo.png"), "-o", path("preview.swf"), "--preview")
        self.assertEqual(code, 0, err)
        self.assertEqual(swf_frame(path("preview.swf")), (152, 112))
        code, _, err = run("convert", path("nothing.png"), "-o", path("x.swf"))
        self.assertEqual(code, 1)
        self.assertIn("Unable to read image:\n" + path("nothing.png"), err)

    def test_project_new_show_set(self):
        kpj = path("p.kpj")
        code, _, err = run("project", "new", "-o", kpj, "short_name=Dunes", "quality=1",
                           "background_color=#102030", "playback_files=a.swf;b.swf",
                           "compress_movies=false")
        self.assertEqual(code, 0, err)
        code, out, _ = run("project", "show", kpj, "--json")
        self.assertEqual(code, 0)
        shown = json.loads(out)
        code, text, _ = run("project", "show", kpj)
        names = [line.split("=", 1)[0] for line in text.splitlines()]
        self.assertEqual(list(shown.keys()), names)  # exactly the document's names
        self.assertIn("movie_file", shown)
        self.assertEqual(shown["short_name"], "Dunes")
        self.assertEqual(shown["quality"], 1)
        self.assertEqual(shown["background_color"], "#102030")
        # Relative paths are shown as the project means them: from its own folder.
        self.assertEqual(shown["playback_files"], [path("a.swf"), path("b.swf")])
        self.assertIs(shown["compress_movies"], False)

        before = read(kpj)
        for bad in [["nosuch=1"], ["quality=high"], ["short_name=ok", "hide_cursor=maybe"]]:
            code, _, err = run("project", "set", kpj, *bad)
            self.assertEqual(code, 1, bad)
            self.assertTrue(err)
            self.assertEqual(read(kpj), before, bad)
        code, _, err = run("project", "set", kpj, "quality=3", "size_mode=7", "preview_mode=9",
                           "setup_language=-3")
        self.assertEqual(code, 1)
        self.assertIn('bad value for quality: "3" (expected 0 to 2)', err)
        self.assertEqual(read(kpj), before)
        # A list the reader would drop is not written at all.
        many = ";".join("m%d.swf" % i for i in range(1001))
        code, _, err = run("project", "set", kpj, "playback_files=" + many)
        self.assertEqual(code, 1)
        self.assertIn("Unable to write file:\n%s\nplayback_files has 1001 entries; a project "
                      "file holds at most 1000" % kpj, err)
        self.assertEqual(read(kpj), before)
        code, _, err = run("project", "set", kpj, "long_name=Dunes at Night", "quality=0")
        self.assertEqual(code, 0, err)
        shown = json.loads(run("project", "show", kpj, "--json")[1])
        self.assertEqual(shown["long_name"], "Dunes at Night")
        self.assertEqual(shown["quality"], 0)
        self.assertEqual(shown["short_name"], "Dunes")

        with open(path("junk.kpj"), "wb") as f:
            f.write(b"not a project at all")
        code, _, err = run("project", "show", path("junk.kpj"))
        self.assertEqual(code, 1)
        self.assertIn("Not a KPJ file\n" + path("junk.kpj"), err)

    def test_build_info_extract(self):
        kpj = path("b.kpj")
        code, _, err = run("project", "new", "-o", kpj, "movie_file=" + path("movie.swf"),
                           "settings_show_movie=true", "settings_movie_file=" + path("small.png"),
                           "preview_mode=1", "scramble_movies=true", "long_name=Night Sky")
        self.assertEqual(code, 0, err)
        out1, out2 = path("one.scr"), path("two.scr")
        for out in (out1, out2):
            code, _, err = run("build", kpj, "-o", out, "--stub", path("stub.exe"), "--seed", "99")
            self.assertEqual(code, 0, err)
        stub = read(path("stub.exe"))
        data = read(out1)
        self.assertEqual(data[:len(stub)], stub)
        self.assertEqual(data[-8:], b"QVRK" + struct.pack("<I", len(stub)))
        self.assertEqual(data, read(out2))  # a fixed seed reproduces the file

        code, out, err = run("info", out1, "--json")
        self.assertEqual(code, 0, err)
        info = json.loads(out)
        self.assertEqual(info["long_name"], "Night Sky")
        self.assertEqual(info["seed"], 99)
        self.assertTrue(info["flags"]["scrambled"])
        self.assertEqual(info["slots"], [0])
        self.assertEqual(info["settings_file"], 1)
        self.assertEqual(info["preview_file"], 0)
        entries = info["entries"]
        self.assertEqual(len(entries), 2)
        self.assertEqual((entries[0]["width"], entries[0]["height"]), (608, 448))
        self.assertEqual(entries[0]["name"], "movie.swf")
        self.assertEqual((entries[1]["width"], entries[1]["height"]), (40, 30))
        code, text, _ = run("info", out1)
        self.assertIn("long_name: Night Sky", text)

        folder = path("extracted")
        code, out, err = run("extract", out1, "-d", folder)
        self.assertEqual(code, 0, err)
        self.assertEqual(read(os.path.join(folder, "movie.swf")),
                         read(path("movie.swf")))
        self.assertTrue(read(os.path.join(folder, "item-1.bin")).startswith(b"FWS"))

    def test_build_failure_keeps_the_old_output(self):
        kpj = path("missing.kpj")
        run("project", "new", "-o", kpj, "movie_file=" + path("gone.swf"))
        out = path("kept.scr")
        with open(out, "wb") as f:
            f.write(b"old")
        code, _, err = run("build", kpj, "-o", out, "--stub", path("stub.exe"))
        self.assertEqual(code, 1)
        self.assertIn("Unable to open file:\n" + path("gone.swf"), err)
        self.assertEqual(read(out), b"old")
        code, _, err = run("build", kpj, "-o", out, "--stub", path("no-stub.exe"))
        self.assertEqual(code, 1)

    def test_relative_paths_are_taken_from_the_projects_folder(self):
        folder = path("relative/movies")
        os.makedirs(folder, exist_ok=True)
        shutil.copy(path("movie.swf"), os.path.join(folder, "night.swf"))
        kpj = path("relative/r.kpj")
        code, _, err = run("project", "new", "-o", kpj, "movie_file=movies/night.swf")
        self.assertEqual(code, 0, err)
        # Built from another folder: the movie is the one beside the project.
        p = subprocess.run([CLI, "build", os.path.relpath(kpj, HERE), "-o", path("relative.scr"),
                            "--stub", path("stub.exe")], cwd=HERE, capture_output=True, text=True)
        self.assertEqual(p.returncode, 0, p.stderr)
        info = json.loads(run("info", path("relative.scr"), "--json")[1])
        self.assertEqual(info["entries"][0]["name"], "night.swf")
        # Edited, the project keeps the path as the author wrote it.
        before = read(kpj)
        self.assertEqual(run("project", "set", kpj, "short_name=Dunes")[0], 0)
        shown = json.loads(run("project", "show", kpj, "--json")[1])
        self.assertEqual(shown["movie_file"], os.path.join(path("relative"), "movies/night.swf"))
        self.assertIn(b"movies/night.swf", read(kpj))
        self.assertNotIn(path("relative").encode(), read(kpj))
        self.assertNotEqual(read(kpj), before)

    def test_project_set_keeps_what_the_file_was(self):
        kpj = path("private.kpj")
        self.assertEqual(run("project", "new", "-o", kpj, "setup_password=secret")[0], 0)
        os.chmod(kpj, 0o600)
        link = path("private-link.kpj")
        os.symlink(kpj, link)
        self.assertEqual(run("project", "set", link, "short_name=Kept")[0], 0)
        self.assertTrue(os.path.islink(link))
        self.assertEqual(os.stat(kpj).st_mode & 0o777, 0o600)
        self.assertEqual(json.loads(run("project", "show", kpj, "--json")[1])["short_name"], "Kept")
        os.chmod(kpj, 0o444)
        before = read(kpj)
        code, _, err = run("project", "set", kpj, "short_name=Refused")
        self.assertEqual(code, 1)
        self.assertIn("Unable to write file:\n%s\nthe file is read-only" % kpj, err)
        self.assertEqual(read(kpj), before)

    def test_build_warns_of_what_will_disappoint(self):
        with open(path("junk.swf"), "wb") as f:
            f.write(b"no movie here")
        kpj = path("warn.kpj")
        run("project", "new", "-o", kpj, "movie_file=" + path("junk.swf"),
            "company_name=" + "C" * 101)
        code, _, err = run("build", kpj, "-o", path("warn.scr"), "--stub", path("stub.exe"))
        self.assertEqual(code, 0, err)
        self.assertIn("scrkit-cli: warning: movie_file: the main movie's header cannot be read, so "
                      "it is stored as 0 x 0 and will not show:\n" + path("junk.swf"), err)
        self.assertIn("scrkit-cli: warning: company_name: the screensaver keeps only its first 100 "
                      "characters", err)

    def test_an_output_never_replaces_an_input(self):
        folder = path("inputs")
        os.makedirs(folder, exist_ok=True)
        movie = os.path.join(folder, "m.swf")
        shutil.copy(path("movie.swf"), movie)
        shutil.copy(path("photo.png"), os.path.join(folder, "same.png"))
        magick("-size", "8x8", "xc:#123456", "BMP3:" + os.path.join(folder, "same.bmp"))
        stub = os.path.join(folder, "stub.exe")
        shutil.copy(path("stub.exe"), stub)
        kpj = os.path.join(folder, "p.kpj")
        kpj2 = os.path.join(folder, "p2.kpj")
        self.assertEqual(run("project", "new", "-o", kpj, "movie_file=" + movie)[0], 0)
        kpj_setup, files = self.setup_project("inputs-setup")
        os.symlink(movie, os.path.join(folder, "link.scr"))
        cases = [
            (["build", kpj, "-o", movie, "--stub", stub], movie, "main movie"),
            (["build", kpj, "-o", kpj, "--stub", stub], kpj, "project"),
            (["build", kpj, "-o", stub, "--stub", stub], stub, "stub"),
            (["build", kpj, "-o", os.path.join(folder, "link.scr"), "--stub", stub], movie,
             "main movie"),
            (["convert", os.path.join(folder, "same.png"), "-o", os.path.join(folder, ".", "same.png")],
             os.path.join(folder, "same.png"), "picture"),
            (["picture", os.path.join(folder, "same.bmp"), "-o", os.path.join(folder, "same.bmp")],
             os.path.join(folder, "same.bmp"), "picture"),
            (["setup", kpj_setup, "-o", files["ReadMe.txt"], "--iscc", ISCC], files["ReadMe.txt"],
             "readme file"),
            (["setup", kpj_setup, "-o", ISCC, "--iscc", ISCC], ISCC, "installer compiler"),
        ]
        for args, victim, role in cases:
            with self.subTest(args=args):
                before = read(victim)
                code, _, err = run(*args)
                self.assertEqual(code, 1, err)
                self.assertIn("The output would overwrite the %s %s:\n%s" % (role, victim, args[3]),
                              err)
                self.assertEqual(read(victim), before)
        # A script folder whose own files would replace one the project reads: the custom
        # setup picture is named like the one the folder gets.
        picture = path("inputs-setup/wizard_image.bmp")
        magick("-size", "164x314", "xc:#208040", "BMP3:" + picture)
        run("project", "set", kpj_setup, "custom_wizard_image=true", "wizard_image_file=" + picture)
        before = read(picture)
        code, _, err = run("script", kpj_setup, "-o", path("inputs-setup"))
        self.assertEqual(code, 1, err)
        self.assertIn("The output would overwrite the wizard image " + picture, err)
        self.assertEqual(read(picture), before)

        # An extraction beside the screensaver of a name it stores.
        own = path("selfish")
        os.makedirs(own, exist_ok=True)
        scr = os.path.join(own, "self.scr")
        subprocess.run([sys.executable, MAKE_SCREENSAVER, "--stub", path("stub.exe"), "--out", scr,
                        "--item", "self.scr:100:1"], check=True)
        before = read(scr)
        code, _, err = run("extract", scr, "-d", own)
        self.assertEqual(code, 1, err)
        self.assertIn("The output would overwrite the screensaver " + scr, err)
        self.assertEqual(read(scr), before)

    def test_info_and_extract_refuse_what_is_not_a_screensaver(self):
        code, _, err = run("info", path("photo.png"))
        self.assertEqual(code, 1)
        self.assertIn("no screensaver payload", err)
        code, _, err = run("extract", path("nope.scr"), "-d", path("x"))
        self.assertEqual(code, 1)

    def test_extract_never_leaves_its_folder(self):
        out = path("hostile.scr")
        subprocess.run([sys.executable, MAKE_SCREENSAVER, "--stub", path("stub.exe"), "--out", out,
                        "--item", "..\\evil.txt:100:1", "--item", "../evil2.txt:50:2",
                        "--item", "fine.txt:10:3"], check=True)
        folder = path("inside")
        code, _, err = run("extract", out, "-d", folder)
        self.assertEqual(code, 0, err)
        self.assertEqual(sorted(os.listdir(folder)), ["fine.txt", "item-0.bin", "item-1.bin"])
        self.assertFalse(os.path.exists(path("evil2.txt")))
        self.assertIn("not a plain file name", err)

    def test_extract_never_overwrites_nor_follows_links(self):
        out = path("twice.scr")
        subprocess.run([sys.executable, MAKE_SCREENSAVER, "--stub", path("stub.exe"), "--out", out,
                        "--item", "a.swf:100:1", "--item", "b.swf:50:2"], check=True)
        folder = path("twice")
        self.assertEqual(run("extract", out, "-d", folder)[0], 0)
        with open(os.path.join(folder, "a.swf"), "wb") as f:
            f.write(b"the author's own")
        os.remove(os.path.join(folder, "b.swf"))
        outside = path("outside.txt")
        with open(outside, "wb") as f:
            f.write(b"not to be touched")
        os.symlink(outside, os.path.join(folder, "b.swf"))
        code, _, err = run("extract", out, "-d", folder)
        self.assertEqual(code, 1)
        self.assertIn("one of that name is there (--force replaces it):\n" +
                      os.path.join(folder, "a.swf"), err)
        self.assertEqual(read(os.path.join(folder, "a.swf")), b"the author's own")
        self.assertTrue(os.path.islink(os.path.join(folder, "b.swf")))
        code, _, err = run("extract", out, "-d", folder, "--force")
        self.assertEqual(code, 0, err)
        self.assertEqual(len(read(os.path.join(folder, "a.swf"))), 100)
        self.assertFalse(os.path.islink(os.path.join(folder, "b.swf")))
        self.assertEqual(len(read(os.path.join(folder, "b.swf"))), 50)
        self.assertEqual(read(outside), b"not to be touched")
        # A folder of that name is never replaced; nor may two entries share one file.
        os.remove(os.path.join(folder, "a.swf"))
        os.mkdir(os.path.join(folder, "a.swf"))
        self.assertEqual(run("extract", out, "-d", folder, "--force")[0], 1)
        shared = path("shared.scr")
        subprocess.run([sys.executable, MAKE_SCREENSAVER, "--stub", path("stub.exe"), "--out",
                        shared, "--item", "item-1.bin:10:1", "--item", ":10:2"], check=True)
        code, _, err = run("extract", shared, "-d", path("shared"))
        self.assertEqual(code, 1)
        self.assertIn("entries 0 and 1 would both be written as item-1.bin", err)
        self.assertFalse(os.path.exists(path("shared")))

    def test_old_screensaver_with_names_that_collide_or_windows_refuses(self):
        out = path("clashing.scr")
        subprocess.run([sys.executable, MAKE_SCREENSAVER, "--stub", path("stub.exe"), "--out", out,
                        "--item", "x.swf:100:1", "--item", "X.SWF:50:2", "--item", "CON.swf:10:3",
                        "--item", "ok.swf:10:4"], check=True)
        code, _, err = run("info", out)
        self.assertEqual(code, 0, err)
        self.assertIn('entry 1: stored name "X.SWF" is the name of entry 0 when letter case is '
                      'ignored; at run time it replaces that file', err)
        self.assertIn('entry 2: stored name "CON.swf" cannot be used: its file name is a Windows '
                      'device name', err)
        self.assertNotIn("entry 3", err)
        folder = path("clashing")
        code, _, err = run("extract", out, "-d", folder)
        self.assertEqual(code, 0, err)
        self.assertEqual(sorted(os.listdir(folder)), ["item-1.bin", "item-2.bin", "ok.swf", "x.swf"])
        self.assertEqual(os.path.getsize(os.path.join(folder, "item-1.bin")), 50)
        self.assertIn("written as item-1.bin", err)

    def setup_project(self, name, *fields):
        """A project with a licence shown, a readme, two additional files and an icon."""
        folder = path(name)
        os.makedirs(os.path.join(folder, "sub"), exist_ok=True)
        files = {}
        for file in ["License.txt", "ReadMe.txt", "extra.dat", "sub/Manual.pdf", "stars.ico"]:
            files[file] = os.path.join(folder, file)
            with open(files[file], "wb") as f:
                f.write(("contents of " + file + "\n").encode())
        kpj = os.path.join(folder, "p.kpj")
        code, _, err = run("project", "new", "-o", kpj, "movie_file=" + path("movie.swf"),
                           "short_name=Stars", "long_name=Night Stars", "show_license=true",
                           "license_file=" + files["License.txt"], "install_readme=true",
                           "readme_file=" + files["ReadMe.txt"], "install_additional_files=true",
                           "additional_files=%s;%s" % (files["extra.dat"], files["sub/Manual.pdf"]),
                           "custom_icon=true", "custom_icon_file=" + files["stars.ico"], *fields)
        self.assertEqual(code, 0, err)
        return kpj, files

    def test_setup(self):
        kpj, files = self.setup_project("setup")
        out = path("Stars Setup.exe")
        code, _, err = run("setup", kpj, "-o", out, "--iscc", ISCC)
        self.assertEqual(code, 0, err)
        self.assertEqual(read(out), read(ISCC))  # the stand-in writes a copy of itself
        # A relative output is the one in the current folder, not one beside the script.
        p = subprocess.run([CLI, "setup", kpj, "-o", "relative.exe", "--iscc", ISCC], cwd=WORK,
                           capture_output=True, text=True, timeout=120)
        self.assertEqual(p.returncode, 0, p.stderr)
        self.assertEqual(read(path("relative.exe")), read(ISCC))

        # A failing compile: exit 1 with the report; the setup from before is no success.
        code, _, err = run("setup", kpj, "-o", out, "--iscc", ISCC, env={"ISCC_STANDIN_FAIL": "1"})
        self.assertEqual(code, 1)
        self.assertIn("Error while creating Installer", err)
        report = err[err.index("An error occurred while generating the installer.\n"):]
        self.assertIn("\n\nCompiler engine version: stand-in 5\n", report)
        self.assertNotIn("Inno Setup 5 Command-Line Compiler", report)
        self.assertIn(": Failure requested\nCompile aborted.\n\n---\n\n[Setup]\nAppName=Night Stars\n",
                      report)
        self.assertIn("LicenseFile=" + files["License.txt"] + "\n", report)
        self.assertTrue(report.endswith("[UninstallDelete]\nType: dirifempty; Name: \"{app}\"\n\n"))
        self.assertEqual(read(out), read(ISCC))  # the old one is still there, untouched

        code, _, err = run("setup", kpj, "-o", path("none.exe"), "--iscc", path("no/iscc"))
        self.assertEqual(code, 1)
        self.assertIn("Unable to open file:\n" + path("no/iscc"), err)
        self.assertFalse(os.path.exists(path("none.exe")))

    def test_script_writes_every_file_it_names(self):
        kpj, files = self.setup_project("script")
        folder = path("script-out")
        code, out, err = run("script", kpj, "-o", folder)
        self.assertEqual(code, 0, err)
        self.assertEqual(out.strip(), os.path.join(folder, "setup.iss"))
        self.assertEqual(sorted(os.listdir(folder)),
                         sorted(["setup.iss", "Stars.scr", "pomlet.exe", "wizard_image.bmp",
                                 "wizard_small_image.bmp", "License.txt", "ReadMe.txt",
                                 "extra.dat", "Manual.pdf", "stars.ico"]))
        for name, source in files.items():
            self.assertEqual(read(os.path.join(folder, os.path.basename(name))), read(source))
        code, info, err = run("info", os.path.join(folder, "Stars.scr"), "--json")
        self.assertEqual(code, 0, err)
        self.assertEqual(json.loads(info)["long_name"], "Night Stars")
        script = read(os.path.join(folder, "setup.iss")).decode("latin-1")
        self.assertNotIn("\n", script.replace("\r\n", ""))  # every line ends in CR LF
        lines = script.split("\r\n")
        for line in ["LicenseFile=License.txt", "WizardImageFile=wizard_image.bmp",
                     "WizardSmallImageFile=wizard_small_image.bmp", "OutputDir=.\\",
                     "OutputBaseFilename=setup",
                     'Source: "Stars.scr"; DestName: "Stars.scr"; DestDir: "{sys}"; '
                     'CopyMode: alwaysoverwrite;',
                     'Source: "pomlet.exe"; DestName: "pomlet.exe"; DestDir: "{app}"; '
                     'CopyMode: alwaysoverwrite;',
                     'Source: "Manual.pdf"; DestDir: "{app}"; CopyMode: alwaysoverwrite;',
                     'Source: "stars.ico"; DestDir: "{app}"; CopyMode: alwaysoverwrite;']:
            self.assertIn(line, lines)
        self.assertNotIn(WORK, script)
        # The compiler, started elsewhere, finds every file from the script's folder.
        p = subprocess.run([ISCC, os.path.join(folder, "setup.iss")], cwd=HERE,
                           capture_output=True, text=True)
        self.assertEqual(p.returncode, 0, p.stdout)
        self.assertTrue(os.path.exists(os.path.join(folder, "setup.exe")))

    def test_script_refusals(self):
        # Two different files that would share one name in the folder (and in {app}).
        kpj, files = self.setup_project("clash")
        other = path("clash/sub/extra.dat")
        with open(other, "wb") as f:
            f.write(b"another extra")
        run("project", "set", kpj, "additional_files=%s;%s" % (files["extra.dat"], other))
        folder = path("clash-out")
        code, _, err = run("script", kpj, "-o", folder)
        self.assertEqual(code, 1)
        self.assertIn("extra.dat", err)
        self.assertFalse(os.path.exists(folder))
        # A file that would take the place of one scrkit-cli writes.
        launcher = path("clash/pomlet.exe")
        with open(launcher, "wb") as f:
            f.write(b"not the launcher")
        run("project", "set", kpj, "additional_files=" + launcher)
        code, _, err = run("script", kpj, "-o", folder)
        self.assertEqual(code, 1)
        self.assertIn("pomlet.exe", err)
        # An unreadable licence: the generator's message, nothing written.
        run("project", "set", kpj, "additional_files=", "license_file=" + path("clash/gone.txt"))
        code, _, err = run("script", kpj, "-o", folder)
        self.assertEqual(code, 1)
        self.assertIn("Unable to read License File:\n" + path("clash/gone.txt"), err)
        self.assertFalse(os.path.exists(folder))

    def test_hostile_fields_stop_the_script(self):
        # Values that would add a line to the script, leave its folder or break a quoted
        # parameter: refused with the field named, and nothing written anywhere.
        kpj, _ = self.setup_project("hostile")
        folder = path("hostile-out")
        cases = [
            ("long_name=Stars\n[Run]\nFilename: \"{cmd}\"",
             "Unable to write long_name into the setup script:\nit holds a line break"),
            ("short_name=../../escaped",
             "Unable to use short_name as a file name:\n../../escaped.scr"),
            ('short_name=Say "hi"', 'Unable to use short_name as a file name:\nSay "hi".scr'),
        ]
        for assignment, message in cases:
            with self.subTest(assignment):
                code, _, err = run("project", "set", kpj, assignment)
                self.assertEqual(code, 0, err)
                for command, out, *more in [("script", folder),
                                            ("setup", path("hostile.exe"), "--iscc", ISCC)]:
                    code, _, err = run(command, kpj, "-o", out, *more)
                    self.assertEqual(code, 1)
                    self.assertIn(message, err)
                    self.assertFalse(os.path.exists(out))
                self.assertFalse(os.path.exists(os.path.join(WORK, "..", "escaped.scr")))
                run("project", "set", kpj, "long_name=Night Stars", "short_name=Stars")
        # A quote in a caption is doubled in the script and reaches the compiler whole.
        code, _, err = run("project", "set", kpj, 'menu_launch_caption=Start "Stars"')
        self.assertEqual(code, 0, err)
        code, _, err = run("script", kpj, "-o", folder)
        self.assertEqual(code, 0, err)
        script = read(os.path.join(folder, "setup.iss")).decode("latin-1")
        self.assertIn('Name: "{group}\\Start ""Stars"""; Filename: "{app}\\pomlet.exe";', script)

    def accented_project(self, name):
        """The folder "Bilder für Dünen" of a European author, with its project."""
        folder = path(os.path.join(name, "Bilder für Dünen"))
        os.makedirs(folder, exist_ok=True)
        files = {n: os.path.join(folder, n) for n in
                 ["Dünen.png", "Dünen.swf", "Grün.png", "Lies mich.txt", "Café.html", "Señal.dat"]}
        magick("-size", "64x48", "xc:#C08040", files["Dünen.png"])
        magick("-size", "164x314", "xc:#208040", files["Grün.png"])
        for n in ["Lies mich.txt", "Café.html", "Señal.dat"]:
            with open(files[n], "wb") as f:
                f.write(("contents of " + n + "\n").encode())
        code, _, err = run("convert", files["Dünen.png"], "-o", files["Dünen.swf"])
        self.assertEqual(code, 0, err)
        kpj = os.path.join(folder, "Düne.kpj")
        code, _, err = run("project", "new", "-o", kpj, "movie_file=" + files["Dünen.swf"],
                           "short_name=Dünen", "long_name=Dünen bei Nacht",
                           "custom_wizard_image=true", "wizard_image_file=" + files["Grün.png"],
                           "install_readme=true", "readme_file=" + files["Lies mich.txt"],
                           "install_additional_files=true",
                           "additional_files=%s;%s" % (files["Café.html"], files["Señal.dat"]))
        self.assertEqual(code, 0, err)
        return folder, kpj, files

    def test_accented_names(self):
        folder, kpj, files = self.accented_project("accents")
        # The document holds the paths in Windows-1252, and shows them as the terminal does.
        self.assertIn(b"Bilder f\xfcr D\xfcnen", read(kpj))
        self.assertNotIn("Bilder für".encode(), read(kpj))
        shown = json.loads(run("project", "show", kpj, "--json")[1])
        self.assertEqual(shown["movie_file"], files["Dünen.swf"])

        scr = os.path.join(folder, "Düne.scr")
        code, out, err = run("build", kpj, "-o", scr, "--seed", "7")
        self.assertEqual(code, 0, err)
        code, out, err = run("info", scr, "--json")
        self.assertEqual(code, 0, err)
        # Read as Windows-1252, as Windows would: UTF-8 bytes would show as "DÃ¼nen.swf".
        self.assertEqual([e["name"] for e in json.loads(out)["entries"]], ["Dünen.swf"])
        self.assertEqual(json.loads(out)["long_name"], "Dünen bei Nacht")
        extracted = os.path.join(folder, "Ausgepackt Ü")
        code, out, err = run("extract", scr, "-d", extracted)
        self.assertEqual(code, 0, err)
        self.assertEqual(out, os.path.join(extracted, "Dünen.swf") + "\n")
        self.assertEqual(os.listdir(extracted), ["Dünen.swf"])
        self.assertEqual(read(os.path.join(extracted, "Dünen.swf")), read(files["Dünen.swf"]))

        script_folder = os.path.join(folder, "Skript")
        code, out, err = run("script", kpj, "-o", script_folder)
        self.assertEqual(code, 0, err)
        self.assertEqual(sorted(os.listdir(script_folder)),
                         sorted(["setup.iss", "Dünen.scr", "pomlet.exe", "wizard_image.bmp",
                                 "wizard_small_image.bmp", "Lies mich.txt", "Café.html",
                                 "Señal.dat"]))
        for n in ["Lies mich.txt", "Café.html", "Señal.dat"]:
            self.assertEqual(read(os.path.join(script_folder, n)), read(files[n]))
        script = read(os.path.join(script_folder, "setup.iss")).decode("cp1252").split("\r\n")
        for line in ['Source: "Dünen.scr"; DestName: "Dünen.scr"; DestDir: "{sys}"; '
                     'CopyMode: alwaysoverwrite;',
                     'Source: "Café.html"; DestDir: "{app}"; CopyMode: alwaysoverwrite;',
                     'Source: "Señal.dat"; DestDir: "{app}"; CopyMode: alwaysoverwrite;',
                     'Source: "Lies mich.txt"; DestDir: "{app}"; CopyMode: alwaysoverwrite;']:
            self.assertIn(line, script)
        # The wizard picture is the author's "Grün.png" (#208040), not the built-in one.
        bmp = read(os.path.join(script_folder, "wizard_image.bmp"))
        pixels, header = struct.unpack("<I", bmp[10:14])[0], struct.unpack("<I", bmp[14:18])[0]
        entry = 14 + header + 4 * bmp[pixels + 1000]
        self.assertEqual(bmp[entry:entry + 3], bytes([0x40, 0x80, 0x20]))
        p = subprocess.run([ISCC, os.path.join(script_folder, "setup.iss")], capture_output=True,
                           text=True)
        self.assertEqual(p.returncode, 0, p.stdout)

        # The compiler and the temporary folder (so the script's path, which the compiler is
        # started with) have accented names too, and blanks, which split no argument.
        compiler = os.path.join(folder, "Übersetzer", "iscc")
        temporary = path("Temporäre Dateien")
        os.makedirs(os.path.dirname(compiler))
        os.makedirs(temporary)
        shutil.copy2(ISCC, compiler)
        log = path("accents-compiles.log")
        setup = os.path.join(folder, "Dünen Setup.exe")
        code, _, err = run("setup", kpj, "-o", setup, "--iscc", compiler,
                           env={"TMPDIR": temporary, "ISCC_STANDIN_LOG": log})
        self.assertEqual(code, 0, err)
        self.assertEqual(read(setup), read(ISCC))
        script_path = read(log).decode().strip()
        # in a private folder of its own there
        self.assertEqual(os.path.dirname(os.path.dirname(script_path)), temporary)
        self.assertTrue(os.path.basename(os.path.dirname(script_path)).startswith("scrkit-"))
        self.assertEqual(os.listdir(temporary), [])  # the temporary files are gone

    def test_accented_project_moved_with_its_files(self):
        folder, kpj, files = self.accented_project("moving")
        moved = path(os.path.join("moving", "Projekte", "Übung"))
        os.makedirs(os.path.dirname(moved))
        os.rename(folder, moved)
        shown = json.loads(run("project", "show", os.path.join(moved, "Düne.kpj"), "--json")[1])
        self.assertEqual(shown["movie_file"], os.path.join(moved, "Dünen.swf"))
        self.assertEqual(shown["readme_file"], os.path.join(moved, "Lies mich.txt"))
        self.assertEqual(shown["additional_files"],
                         [os.path.join(moved, "Café.html"), os.path.join(moved, "Señal.dat")])

    def test_names_without_a_windows_1252_form_are_refused(self):
        _, kpj, _ = self.accented_project("refused")
        cjk = path("日本")
        for args in [["build", cjk + ".kpj", "-o", path("x.scr")],
                     ["build", kpj, "-o", cjk + ".scr"],
                     ["project", "new", "-o", cjk + ".kpj"],
                     ["convert", cjk + ".png", "-o", path("x.swf")],
                     ["info", cjk + ".scr"],
                     ["extract", path("x.scr"), "-d", cjk],
                     ["script", kpj, "-o", cjk],
                     ["setup", kpj, "-o", cjk + ".exe", "--iscc", ISCC]]:
            code, _, err = run(*args)
            self.assertEqual(code, 1, args)
            self.assertIn('the name "%s' % cjk, err, args)
            self.assertIn("no form in the Windows-1252 code page", err, args)
        self.assertFalse(os.path.exists(cjk))
        self.assertFalse(os.path.exists(cjk + ".kpj"))
        # The temporary folder the builds write into.
        os.makedirs(cjk, exist_ok=True)
        for command in ["build", "script", "setup"]:
            code, _, err = run(command, kpj, "-o", path("tmp-out"), env={"TMPDIR": cjk})
            self.assertEqual(code, 1, command)
            self.assertIn('the temporary folder "%s" has no name in the Windows-1252 code page'
                          % cjk, err)
        self.assertEqual(os.listdir(cjk), [])
        # The program's own folder, whose sample the defaults name: said, not taken as another.
        program = os.path.join(cjk, "scrkit-cli")
        shutil.copy2(CLI, program)
        p = subprocess.run([program, "project", "show", kpj], capture_output=True, text=True)
        self.assertEqual(p.returncode, 0, p.stderr)
        self.assertIn('the program\'s folder "%s/" has no name in the Windows-1252 code page'
                      % cjk, p.stderr)
        self.assertNotIn("has no name", run("project", "show", kpj)[2])

    def test_picture(self):
        code, out, err = run("picture", path("photo.png"))
        self.assertEqual(code, 0, err)
        self.assertEqual(out.strip(), "608x448 RGB")
        code, out, err = run("picture", path("small.png"), "--resize", "20x10", "--filter",
                             "mitchell", "-o", path("small.bmp"))
        self.assertEqual(code, 0, err)
        self.assertIn("40x30", out)
        bmp = read(path("small.bmp"))
        self.assertEqual(bmp[:2], b"BM")
        self.assertEqual(struct.unpack("<ii", bmp[18:26]), (20, 10))
        code, _, err = run("picture", path("nothing.png"))
        self.assertEqual(code, 1)


if __name__ == "__main__":
    CLI, WORK, ISCC = sys.argv[1], sys.argv[2], os.path.abspath(sys.argv[3])
    del sys.argv[1:4]
    unittest.main(verbosity=2)
