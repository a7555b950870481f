#!/usr/bin/env python3
"""The UI driver against a dialog of standard controls in another process, for real.

ui_driver_selftest.py STATE SAMPLE_EXE
"""
import json
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
HARNESS = os.path.join(HERE, "harness")
sys.path.insert(0, HARNESS)
import wine_ui  # noqa: E402

STATE, SAMPLE = sys.argv[1:3]
CAPTION = "scrkit ui sample"
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


def raises(call):
    try:
        call()
        return False
    except wine_ui.DriverError:
        return True


def wait_line(log, line, timeout=5):
    end = time.time() + timeout
    while time.time() < end:
        if line in open(log).read().replace("\r", "").splitlines():
            return True
        time.sleep(0.1)
    return False


work = tempfile.mkdtemp(prefix="ui-driver-")
log = os.path.join(work, "sample.log")
ui = wine_ui.Driver(STATE)
sample = subprocess.Popen([os.path.join(HARNESS, "wine-run"), "--state", STATE, SAMPLE,
                           "--seconds", "120"], env=ui.env, stdout=open(log, "w"),
                          stderr=subprocess.DEVNULL)
try:
    handle = ui.wait(CAPTION, timeout=30)
    tree = ui.tree(CAPTION)
    check(tree["handle"] == handle and tree["class"] == "ScrkitUiSample" and tree["id"] == 0,
          "tree root is the waited-for window")
    check(any(w["handle"] == handle for w in ui.windows()), "windows lists it")
    by_id = {c["id"]: c for c in tree["children"]}
    check(sorted(by_id) == list(range(101, 110)), "children 101 to 109: %s" % sorted(by_id))
    check([by_id[i]["class"] for i in (101, 102, 105, 106, 107, 109)] ==
          ["Edit", "Button", "ComboBox", "ListBox", "Button", "Static"], "classes")
    # The wide texts cross whole, the ANSI ones would be cut to their first character.
    check(by_id[105]["items"] == ["Alpha", "Beta", "\u00c9t\u00e9"] and by_id[105]["selection"] == 1
          and by_id[105]["text"] == "Beta", "combo items and selection %r" % by_id[105].get("items"))
    check(by_id[106]["items"] == by_id[105]["items"] and by_id[106]["selection"] == -1, "list items")
    check(by_id[101]["text"] == "start" and by_id[107]["text"] == "Press", "texts")
    check(by_id[107]["default"] and not by_id[108]["default"], "default push button")
    check(by_id[107]["enabled"] and not by_id[108]["enabled"], "enabled state")
    check(by_id[101]["visible"] and not by_id[109]["visible"], "visibility")
    check(by_id[102]["check"] == 0 and "check" not in by_id[107], "check state only on check boxes")
    left, top, right, bottom = tree["client"]
    check(all(left <= c["rect"][0] < c["rect"][2] <= right and top <= c["rect"][1] < c["rect"][3]
              <= bottom for c in tree["children"]), "children's screen rectangles inside the client")
    check(by_id[101]["rect"][:2] == [left + 10, top + 10], "edit at its client position")

    ui.set_text(CAPTION, 101, "h\u00e9llo\tthere")
    check(ui.control(CAPTION, 101)["text"] == "h\u00e9llo\tthere", "set text (non-ASCII, tab)")
    check(wait_line(log, "command 101 768"), "set text notifies EN_CHANGE")
    ui.click(CAPTION, 107)
    check(wait_line(log, "command 107 0"), "click gives BN_CLICKED")
    check(ui.check(CAPTION, 102, 1) == 1 and wait_line(log, "command 102 0"), "check by a click")
    ui.check(CAPTION, 104, 1)
    ui.check(CAPTION, 103, 1)
    check([ui.control(CAPTION, i)["check"] for i in (103, 104)] == [1, 0], "radio buttons exclusive")
    check(ui.select(CAPTION, 105, "\u00c9t\u00e9") == 2 and ui.control(CAPTION, 105)["selection"] == 2
          and wait_line(log, "command 105 1"), "select combo item by text, CBN_SELCHANGE")
    check(ui.select(CAPTION, 106, 0) == 0 and ui.control(CAPTION, 106)["selection"] == 0
          and wait_line(log, "command 106 1"), "select list item by index, LBN_SELCHANGE")
    check(raises(lambda: ui.select(CAPTION, 105, "Missing")), "selecting a missing item fails")
    check(raises(lambda: ui.select(CAPTION, 101, 0)), "selecting in an edit fails")
    check(ui.send(CAPTION, 0, 0x8001, 5, 7) == 12 and wait_line(log, "user 5 7"), "send's result")
    ui.command(CAPTION, 4242, 3)
    check(wait_line(log, "command 4242 3"), "posted WM_COMMAND")
    check(raises(lambda: ui.point(CAPTION, 999)), "a missing control fails")
    check(raises(lambda: ui.wait("no such window", timeout=0.5)), "a missing window fails")

    # Real input at the driver's points: keys follow the pointer, Wine's edit has no Ctrl+A.
    rect = by_id[107]["rect"]
    check(ui.point(CAPTION, 107) == ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)
          and ui.point(CAPTION, 107, -1, 2) == (rect[2] - 1, rect[1] + 2), "points")
    ui.type_into(CAPTION, 101, "abc", erase=len("h\u00e9llo\tthere"))
    time.sleep(0.3)
    check(ui.control(CAPTION, 101)["text"] == "abc", "typed into the edit at its point: %r"
          % ui.control(CAPTION, 101)["text"])
    ui.click_at(CAPTION, 102)
    time.sleep(0.3)
    check(ui.control(CAPTION, 102)["check"] == 0, "real click on the check box clears it")
    tree = ui.tree(CAPTION)
    check(tree["focus"] == ui.handle(CAPTION, 102) and wine_ui.find(tree, id=102)["focused"],
          "focus follows the click")
    shot = ui.screenshot()
    left, top = tree["client"][:2]
    check(shot.pixel(left + 380, top + 120) == (0x20, 0x60, 0xa0)
          and shot.count((0x20, 0x60, 0xa0), left, top, left + 10, top + 10) == 100,
          "screenshot shows the client's colour: %r" % (shot.pixel(left + 380, top + 120),))

    # The one-shot script: JSON out, 1 for a missing window, 2 for a wrong command line.
    run = lambda *a: subprocess.run([os.path.join(HARNESS, "wine-ui"), "--state", STATE] + list(a),
                                    env=ui.env, capture_output=True, text=True)
    out = run("tree", CAPTION)
    check(out.returncode == 0 and json.loads(out.stdout)["handle"] == handle, "wine-ui tree")
    check(run("--timeout", "0.5", "wait", "no such window").returncode == 1, "wine-ui missing window")
    check(run("frobnicate", CAPTION).returncode == 2, "wine-ui unknown command")

    ui.close_window(CAPTION)
    check(ui.gone(CAPTION), "closed window is gone")
    check(sample.wait(10) == 0, "sample ended normally")
finally:
    ui.close()
    if sample.poll() is None:
        sample.kill()
        sample.wait()

print("ui driver self-test: %d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
