#!/usr/bin/env python3
"""The help panel's nine step pages, in English and in French, in headless Chromium at the
panel's size (216 x 420), with a recording stand-in for the program's window.external installed
before the pages' scripts run. For each page: no script error and no missing file; the colours
it read with get_color are those of the body, title bar, boxes and box buttons; Prev and Next
are disabled on the first and last step and call prev_step and next_step between; the Control
Panel links call exactly their step's commands; each Help Topics link opens its topic in a pop-up
of the size the link gives. With an external object that has none of the names, every page still
draws its buttons without an error.

usage: help_pages_test.py RESOURCES_DIR [--screenshot PNG]
  --screenshot: only write English step 1 as the panel shows it with the classic colours.
"""
import base64
import json
import os
import re
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cdp_pipe import Chromium  # noqa: E402

WIDTH, HEIGHT = 216, 420
LANGUAGES = {"en": "help", "fr": "fra/help"}
COMMANDS = {
    1: ["about", "close"],
    2: ["test_setup"], 3: ["test_setup"],
    4: ["test_scr", "test_settings"],
    5: ["test_settings", "test_control_panel"],
    6: ["test_setup"], 7: ["test_setup"], 8: ["test_setup"],
    9: ["about", "visit_marqon"],
}
METHODS = ["next_step", "prev_step", "goto_step", "test_setup", "test_scr", "test_settings",
           "test_control_panel", "about", "close", "visit_marqon"]
# The stand-in's colour for each get_color number: distinct, so that a page using the wrong
# number shows it.
COLORS = {str(n): "#%02X%02X%02X" % (20 * n, 250 - 20 * n, 11 * n + 5) for n in range(1, 10)}
CLASSIC = {"1": "#D4D0C8", "2": "#E9E7E3", "3": "#DEDCD5", "4": "#808080", "5": "#FFFFFF",
           "6": "#000000", "7": "#000000", "8": "#D4D0C8", "9": "#0A246A"}
# A pop-up's inner height in headless Chromium may come out a pixel short of the one asked for.
HEIGHT_SLACK = 2

RECORDER = """
window.__errors = [];
window.addEventListener("error", function (e) { window.__errors.push(String(e.message)); });
"""

STAND_IN = RECORDER + """
(function () {
  var calls = window.__calls = [], colors = %(colors)s;
  var external = {
    get nsteps() { calls.push(["nsteps"]); return "9"; },
    get curstep() { calls.push(["curstep"]); return "%(curstep)d"; },
    get_color: function (s) { calls.push(["get_color", s]); return colors[s] || "#000000"; }
  };
  %(methods)s.forEach(function (name) {
    external[name] = function () { calls.push([name].concat([].slice.call(arguments))); };
  });
  Object.defineProperty(window, "external", { value: external, configurable: true });
})();
"""

# An external object without any of the program's names, as in a plain browser.
BARE = RECORDER + """
window.__calls = [];
Object.defineProperty(window, "external", { value: {}, configurable: true });
"""


def rgb(color):
    return "rgb(%d, %d, %d)" % tuple(int(color[i:i + 2], 16) for i in (1, 3, 5))


class Panel:
    """One tab at the panel's size; pop-ups it opens are attached before their scripts run."""

    def __init__(self):
        self.browser = Chromium()
        self.browser.on_attach = self._attach_popup
        target = self.browser.send("Target.createTarget", {"url": "about:blank"})["targetId"]
        self.target = target
        self.session = self.browser.send(
            "Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        self.browser.send("Target.setAutoAttach",
                          {"autoAttach": True, "waitForDebuggerOnStart": True, "flatten": True})
        for domain in ("Page", "Runtime", "Log"):
            self.send(domain + ".enable")
        self.send("Emulation.setDeviceMetricsOverride",
                  {"width": WIDTH, "height": HEIGHT, "deviceScaleFactor": 1, "mobile": False})
        self.script = None

    def _attach_popup(self, session):
        for domain in ("Page", "Runtime", "Log"):
            self.browser.send(domain + ".enable", session=session)
        self.browser.send("Page.addScriptToEvaluateOnNewDocument", {"source": RECORDER},
                          session=session)
        self.browser.send("Runtime.runIfWaitingForDebugger", session=session)

    def close(self):
        self.browser.close()

    def send(self, method, params=None, session=None):
        return self.browser.send(method, params, session or self.session)

    def evaluate(self, expression, session=None):
        result = self.send("Runtime.evaluate", {"expression": expression, "returnByValue": True},
                           session)
        if "exceptionDetails" in result:
            raise AssertionError("%s: %s" % (expression, result["exceptionDetails"]))
        return result["result"].get("value")

    def load(self, url, script):
        if self.script:
            self.send("Page.removeScriptToEvaluateOnNewDocument", {"identifier": self.script})
        self.script = self.send("Page.addScriptToEvaluateOnNewDocument",
                                {"source": script})["identifier"]
        self.take_errors()
        self.send("Page.navigate", {"url": url})
        if not self.browser.wait_event("Page.loadEventFired", self.session):
            raise AssertionError("no load event for " + url)

    def take_errors(self, session=None):
        """Script exceptions, console errors and failed loads reported for the session so far,
        and those the page's own error handler caught."""
        session = session or self.session
        found = []
        self.browser.pump(0.05)
        for event in list(self.browser.events):
            if event.get("sessionId") != session:
                continue
            method, params = event.get("method"), event.get("params", {})
            if method == "Runtime.exceptionThrown":
                found.append(params["exceptionDetails"].get("exception", {}).get(
                    "description", params["exceptionDetails"]["text"]))
            elif method == "Runtime.consoleAPICalled" and params["type"] in ("error", "assert"):
                found.append(" ".join(str(a.get("value", a.get("description")))
                                      for a in params["args"]))
            elif method == "Log.entryAdded" and params["entry"]["level"] == "error":
                found.append(params["entry"]["text"] + " " + params["entry"].get("url", ""))
            else:
                continue
            self.browser.events.remove(event)
        try:
            found += self.evaluate("window.__errors ? window.__errors.splice(0) : []", session)
        except Exception as e:  # the page is gone: its errors were reported as events
            found.append("page gone: %s" % e)
        return found

    def click(self, selector, index=0):
        """A real left click at the middle of the element's first line (a link that wraps has a
        gap in the middle of its bounding box), which must lie inside the panel."""
        box = self.evaluate("(function () { var r = document.querySelectorAll(%s)[%d]"
                            ".getClientRects()[0]; return [r.left, r.top, r.width, r.height];"
                            " })()" % (json.dumps(selector), index))
        x, y = box[0] + box[2] / 2, box[1] + box[3] / 2
        assert 0 <= x < WIDTH and 0 <= y < HEIGHT, "%s %d outside the panel: %s" % (
            selector, index, box)
        for kind in ("mousePressed", "mouseReleased"):
            self.send("Input.dispatchMouseEvent",
                      {"type": kind, "x": x, "y": y, "button": "left", "clickCount": 1})

    def calls(self):
        """The calls and reads of the stand-in since the last look."""
        return [tuple(c) for c in self.evaluate("window.__calls.splice(0)")]


def as_modules(resources, work):
    """The pages of each language as its module holds them: the English folder's files with the
    language's own pages over them (the French library takes the script, style sheet and
    pictures from the English folder)."""
    for folder in LANGUAGES.values():
        target = os.path.join(work, folder)
        shutil.copytree(os.path.join(resources, "help"), target)
        shutil.copytree(os.path.join(resources, folder), target, dirs_exist_ok=True)
    return work


def page_url(resources, language, step):
    return "file://%s/%s/step%d.html" % (resources, LANGUAGES[language], step)


class HelpPages(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.panel = Panel()

    @classmethod
    def tearDownClass(cls):
        cls.panel.close()

    def open_page(self, language, step, script):
        self.panel.load(page_url(RESOURCES, language, step), script)
        self.assertEqual(self.panel.take_errors(), [])

    def test_pages_with_the_program(self):
        for language in LANGUAGES:
            for step in range(1, 10):
                with self.subTest(language=language, step=step):
                    script = STAND_IN % {"colors": json.dumps(COLORS), "curstep": step - 1,
                                         "methods": json.dumps(METHODS)}
                    self.open_page(language, step, script)
                    self.check_colors()
                    self.check_fit()
                    self.check_steps(step)
                    self.check_commands(step)
                    self.check_topics()

    def check_colors(self):
        at_load = self.panel.calls()
        self.assertIn(("nsteps",), at_load)
        self.assertIn(("curstep",), at_load)
        self.assertEqual(sorted(set(c[1] for c in at_load if c[0] == "get_color")),
                         ["1", "2", "4", "5", "6", "8"])
        styles = self.panel.evaluate("""(function () {
          function s(e) { var c = getComputedStyle(e); return [c.backgroundColor, c.color,
            c.borderTopColor, c.borderLeftColor, c.borderBottomColor, c.borderRightColor]; }
          function all(q) { return [].map.call(document.querySelectorAll(q), s); }
          return { body: s(document.body), title: s(document.getElementById("titlebar")),
                   boxes: all(".box"), buttons: all(".boxbutton") };
        })()""")
        c = {n: rgb(v) for n, v in COLORS.items()}
        self.assertEqual(styles["body"][:2], [c["1"], c["6"]])
        self.assertEqual(styles["title"][:2], [c["4"], c["5"]])
        self.assertEqual(len(styles["boxes"]), 3)
        for box in styles["boxes"]:
            self.assertEqual(box, [c["2"], c["6"]] + [c["4"]] * 4)
        self.assertEqual(len(styles["buttons"]), 5)  # three box headings, Prev and Next
        for button in styles["buttons"]:
            self.assertEqual(button, [c["8"], c["6"], c["5"], c["5"], c["4"], c["4"]])

    def check_fit(self):
        width, bottom = self.panel.evaluate(
            "[document.documentElement.scrollWidth,"
            " document.getElementById('nav').getBoundingClientRect().bottom]")
        self.assertLessEqual(width, WIDTH)
        self.assertLessEqual(bottom, HEIGHT)

    def check_steps(self, step):
        disabled = self.panel.evaluate("[document.getElementById('prev').disabled,"
                                       " document.getElementById('next').disabled]")
        self.assertEqual(disabled, [step == 1, step == 9])
        for button, method in (("#prev", "prev_step"), ("#next", "next_step")):
            self.panel.click(button)
            called = [c for c in self.panel.calls() if c[0] in METHODS]
            enabled = not (step == 1 and button == "#prev" or step == 9 and button == "#next")
            self.assertEqual(called, [(method,)] if enabled else [], button)
        self.assertEqual(self.panel.take_errors(), [])

    def check_commands(self, step):
        links = self.panel.evaluate("document.querySelectorAll('#commands a').length")
        called = []
        for i in range(links):
            self.panel.click("#commands a", i)
            called += [c for c in self.panel.calls() if c[0] in METHODS]
        self.assertEqual(called, [(name,) for name in COMMANDS[step]])
        self.assertEqual(self.panel.take_errors(), [])
        self.assertTrue(self.panel.evaluate("location.hash == '' || location.hash == '#'"))

    def check_topics(self):
        links = self.panel.evaluate("[].map.call(document.querySelectorAll('#topics a'),"
                                    " function (a) { return [a.href, a.getAttribute('onclick')]; })")
        self.assertTrue(links)
        for i, (href, onclick) in enumerate(links):
            size = re.fullmatch(r"return helpTopic\(this, (\d+), (\d+)\)", onclick)
            self.assertTrue(size, onclick)
            width, height = int(size.group(1)), int(size.group(2))
            self.panel.click("#topics a", i)
            attached = self.panel.browser.wait_event(
                "Target.attachedToTarget", match=lambda p: "openerId" in p["targetInfo"])
            self.assertTrue(attached, "no pop-up for " + href)
            popup = attached["params"]["sessionId"]
            target = attached["params"]["targetInfo"]["targetId"]
            try:
                self.assertTrue(self.panel.browser.wait_event("Page.loadEventFired", popup),
                                "the pop-up did not load " + href)
                url, inner_w, inner_h, title = self.panel.evaluate(
                    "[location.href, innerWidth, innerHeight, document.title]", popup)
                self.assertEqual(url, href)
                self.assertTrue(title.strip())
                self.assertEqual(inner_w, width, href)
                self.assertLessEqual(abs(inner_h - height), HEIGHT_SLACK, href)
                self.assertEqual(self.panel.take_errors(popup), [], href)
            finally:
                self.panel.browser.send("Target.closeTarget", {"targetId": target})
                self.panel.browser.wait_event("Target.detachedFromTarget",
                                              match=lambda p: p.get("sessionId") == popup)
        self.assertEqual(self.panel.take_errors(), [])

    def test_pages_without_the_program(self):
        for language in LANGUAGES:
            for step in range(1, 10):
                with self.subTest(language=language, step=step):
                    self.open_page(language, step, BARE)
                    drawn = self.panel.evaluate(
                        "[document.getElementById('prev').disabled,"
                        " document.getElementById('next').disabled]")
                    self.assertEqual(drawn, [step == 1, step == 9])
                    for i in range(self.panel.evaluate(
                            "document.querySelectorAll('#commands a').length")):
                        self.panel.click("#commands a", i)
                    self.panel.click("#next" if step < 9 else "#prev")
                    self.assertEqual(self.panel.take_errors(), [])


def screenshot(resources, path):
    panel = Panel()
    try:
        panel.load(page_url(resources, "en", 1), STAND_IN % {
            "colors": json.dumps(CLASSIC), "curstep": 0, "methods": json.dumps(METHODS)})
        data = panel.send("Page.captureScreenshot", {"format": "png"})["data"]
        with open(path, "wb") as f:
            f.write(base64.b64decode(data))
    finally:
        panel.close()


if __name__ == "__main__":
    status = 0
    with tempfile.TemporaryDirectory() as modules:
        RESOURCES = as_modules(os.path.abspath(sys.argv[1]), modules)
        if len(sys.argv) > 3 and sys.argv[2] == "--screenshot":
            screenshot(RESOURCES, sys.argv[3])
        else:
            run = unittest.main(argv=sys.argv[:1], verbosity=2, exit=False)
            status = 0 if run.result.wasSuccessful() else 1
    sys.exit(status)
