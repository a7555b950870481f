#!/usr/bin/env python3
"""The builder's test actions under Wine, each run by fc_test_actions_probe.

test_actions_test.py STATE PROBE ISCC_STANDIN ACTION WORK   (ACTION: scr, settings, control_panel,
setup). The screensavers carry this build's stub; no Flash control is registered, so the full-screen
run shows its notice. Before each action the stored settings are set, so that the check that they
are gone afterwards can fail.
"""
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
HARNESS = os.path.join(HERE, "..", "harness")
STATE, PROBE, STANDIN, ACTION, WORK = sys.argv[1:6]
KEY = r"HKCU\Software\TarvoSavers\Acme\Night Stars"
ENV = dict(os.environ)
for line in open(os.path.join(STATE, "env")):
    name, _, value = line.strip().partition("=")
    ENV[name] = value.strip("'")
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what, flush=True)
    if not condition:
        failures.append(what)


def harness(tool, *args, **kw):
    return subprocess.run([os.path.join(HARNESS, tool), "--state", STATE] + list(args), env=ENV,
                          capture_output=True, text=True, **kw)


def windows(path):
    return "Z:" + path.replace("/", "\\")


def start(*args, env=None):
    return subprocess.Popen([os.path.join(HARNESS, "wine-run"), "--state", STATE, PROBE] +
                            list(args), env=env or ENV, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, text=True)


def finish(process, timeout=60):
    try:
        out, _ = process.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        out, _ = process.communicate()
        check(False, "the probe came back within %d s" % timeout)
    print(out.replace("\r", ""), end="")
    return process.returncode, out.replace("\r", "")


def window_shown(caption, timeout=30):
    end = time.time() + timeout
    while time.time() < end:
        found = subprocess.run(["xdotool", "search", "--name", "^" + caption + "$"], env=ENV,
                               capture_output=True, text=True).stdout.split()
        if found:
            return True
        time.sleep(0.3)
    return False


def stored(name, say=False):
    got = harness("wine-reg", "get", KEY, name)
    if say and got.returncode != 0:
        print("reg get %s failed (%d): %s" % (name, got.returncode, got.stderr.strip()))
    return got.returncode == 0


def set_stored_settings():
    # Once in a CI run the values were not there right after reg.exe wrote them, with nothing
    # else touching the key; the check before the action must not fail on a Wine hiccup, so the
    # writes are tried again, and every failed attempt prints what reg.exe said.
    for attempt in range(3):
        for name, data in (("Sound", "1"), ("Quality", "2")):
            done = harness("wine-reg", "set", KEY, name, "REG_DWORD", data)
            if done.returncode != 0:
                print("reg set %s failed (%d): %s" % (name, done.returncode,
                                                      (done.stdout + done.stderr).strip()))
        if stored("Sound", say=True) and stored("Quality", say=True):
            break
        print("attempt %d: the stored settings did not read back" % (attempt + 1), flush=True)
    check(stored("Sound") and stored("Quality"), "Sound and Quality set before the action")


def check_cleared(when):
    check(not stored("Sound"), "no Sound " + when)
    check(not stored("Quality"), "no Quality " + when)


def swf():
    """A movie of one empty frame, 100 x 100 pixels."""
    path = os.path.join(WORK, "movie.swf")
    # RECT with 5-bit field sizes 12: 0, 2000, 0, 2000 twips; rate 12, one frame, End tag.
    body = bytes([0x60, 0x00, 0x3E, 0x80, 0x00, 0xFA, 0x00]) + bytes([0x00, 0x0C, 0x01, 0x00])
    body += b"\x00\x00"
    with open(path, "wb") as f:
        f.write(b"FWS\x06" + (8 + len(body)).to_bytes(4, "little") + body)
    return windows(path)


def test_scr(movie):
    set_stored_settings()
    process = start("scr", movie)
    check(window_shown("Tarvo Screensaver"), "the screensaver runs full screen")
    time.sleep(2)
    check_cleared("while it runs")
    harness("wine-input", "key", "Escape")
    code, out = finish(process)
    check(code == 0 and "result=1 temp_files=0" in out,
          "test_scr comes back true with no temporary file left")
    check_cleared("after test_scr")


def test_settings(movie):
    set_stored_settings()
    process = start("settings", movie)
    check(window_shown("Night Stars"), "the settings dialog opens")
    time.sleep(1)
    check_cleared("while the dialog is open")
    # Closing the dialog stores the values shown; the action clears them again.
    check(harness("wine-close-window", "Night Stars").returncode == 0, "the dialog closes")
    code, out = finish(process)
    check(code == 0 and "result=1 temp_files=0" in out,
          "test_settings comes back true with no temporary file left")
    check_cleared("after test_settings")


def test_control_panel(movie):
    prefix = ENV["WINEPREFIX"]
    target = os.path.join(prefix, "drive_c", "windows", "system32", "Stars.scr")
    with open(target, "wb") as f:
        f.write(b"the old screensaver")
    set_stored_settings()
    process = start("control_panel", movie)
    closed = harness("wine-close-window", "--timeout", "60", "--button", "2", "Tarvo Saver")
    check(closed.returncode == 0, "the question came and Cancel was pressed")
    code, out = finish(process)
    check("message: Overwrite C:\\windows\\system32\\Stars.scr ?\n" in out.replace(
        "C:\\Windows", "C:\\windows"), "asks \"Overwrite C:\\windows\\system32\\Stars.scr ?\"")
    check(code == 1 and "result=0 temp_files=0" in out, "Cancel stops the test")
    with open(target, "rb") as f:
        check(f.read() == b"the old screensaver", "the old file is unchanged")
    os.remove(target)
    check_cleared("after test_control_panel")


def test_setup(movie):
    set_stored_settings()
    log = os.path.join(WORK, "setup.log")
    env = dict(ENV)
    env["ISCC_STANDIN_SETUP_LOG"] = windows(log)
    process = start("setup", movie, "--compiler", windows(os.path.abspath(STANDIN)), env=env)
    code, out = finish(process, 120)
    check(code == 0 and "result=1 temp_files=0" in out,
          "test_setup comes back true with no temporary file left")
    check(os.path.exists(log) and open(log).read() == "setup ran\n", "the setup program ran once")
    check_cleared("after test_setup")
    # A compile that fails: no setup runs and the action says so.
    env["ISCC_STANDIN_FAIL"] = "1"
    os.remove(log)
    process = start("setup", movie, "--compiler", windows(os.path.abspath(STANDIN)), env=env)
    check(harness("wine-close-window", "--timeout", "60", "Tarvo Saver").returncode == 0,
          "the failure is shown")
    code, out = finish(process, 120)
    check(code == 1 and "message: Error while creating Installer" in out, "a failed compile is "
          "reported as such")
    check(not os.path.exists(log), "no setup program ran")


shutil.rmtree(WORK, ignore_errors=True)
os.makedirs(WORK)
{"scr": test_scr, "settings": test_settings, "control_panel": test_control_panel,
 "setup": test_setup}[ACTION](swf())
harness("wine-reg", "delete", KEY)
if failures:
    print("%d check(s) failed" % len(failures))
sys.exit(1 if failures else 0)
