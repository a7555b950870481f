"""Windows of a Wine test run, read and worked from Python: the UI driver and real input.

    import sys; sys.path.insert(0, "tests/wine/harness"); import wine_ui
    with wine_ui.Driver(state) as ui:
        ui.wait("Caption")
        edit = ui.control("Caption", 101)          # one node of the window tree
        ui.type_into("Caption", 101, "text")       # real clicks and keys through xdotool
        colour = ui.screenshot().pixel(x, y)       # (r, g, b)

The driver (wine_ui.exe, wine-ui) runs as one long-lived process; each call is one line to it.
WINDOW is an exact caption, "#HANDLE" or "@CLASS"; CONTROL an id, an "ID/ID" path or 0 for the
window itself. Calls that fail raise DriverError.
"""
import json
import os
import subprocess
import time

HARNESS = os.path.dirname(os.path.abspath(__file__))


class DriverError(Exception):
    pass


def read_env(state):
    env = dict(os.environ)
    for line in open(os.path.join(state, "env")):
        key, _, value = line.strip().partition("=")
        if key:
            env[key] = value.strip("'")
    return env


def _escape(field):
    return str(field).replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")


def find(node, **match):
    """The first node of a tree (depth first) whose fields equal all of match, or None."""
    if all(node.get(k) == v for k, v in match.items()):
        return node
    for child in node.get("children", []):
        found = find(child, **match)
        if found is not None:
            return found
    return None


def find_all(node, **match):
    out = [node] if all(node.get(k) == v for k, v in match.items()) else []
    for child in node.get("children", []):
        out += find_all(child, **match)
    return out


class Screenshot:
    """The whole display as RGB rows (ImageMagick's import, read as a binary PPM)."""

    def __init__(self, data):
        fields, offset = [], 0
        while len(fields) < 4:
            while data[offset:offset + 1].isspace():
                offset += 1
            if data[offset:offset + 1] == b"#":
                offset = data.index(b"\n", offset)
                continue
            end = offset
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[offset:end])
            offset = end
        if fields[0] != b"P6" or fields[3] != b"255":
            raise DriverError("unexpected screenshot format %r" % fields)
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = data[offset + 1:]

    def pixel(self, x, y):
        at = (y * self.width + x) * 3
        return tuple(self.pixels[at:at + 3])

    def save(self, path, rect):
        """The part inside rect (left, top, right, bottom on the screen) as a picture file."""
        left, top, right, bottom = rect
        ppm = b"P6\n%d %d\n255\n" % (self.width, self.height) + self.pixels
        subprocess.run(["convert", "ppm:-", "-crop", "%dx%d+%d+%d" % (right - left, bottom - top,
                        left, top), "+repage", path], input=ppm, check=True)

    def count(self, colour, left, top, right, bottom):
        """How many pixels of the rectangle (right and bottom excluded) have exactly colour."""
        colour = tuple(colour)
        return sum(1 for y in range(max(top, 0), min(bottom, self.height))
                   for x in range(max(left, 0), min(right, self.width)) if self.pixel(x, y) == colour)


class Driver:
    def __init__(self, state):
        self.state = state
        self.env = read_env(state)
        self._server = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        if self._server:
            self._server.stdin.close()
            try:
                self._server.wait(10)
            except subprocess.TimeoutExpired:
                self._server.kill()
                self._server.wait()
            self._server = None

    def call(self, *args, timeout=10):
        """One driver command; returns its parsed JSON answer."""
        if self._server is None or self._server.poll() is not None:
            self._server = subprocess.Popen(
                [os.path.join(HARNESS, "wine-ui"), "--state", self.state, "serve"], env=self.env,
                stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                encoding="utf-8", errors="replace")
        line = "\t".join(_escape(a) for a in ("--timeout", timeout) + args)
        self._server.stdin.write(line + "\n")
        self._server.stdin.flush()
        answer = self._server.stdout.readline().rstrip("\r\n")
        if answer.startswith("ok "):
            return json.loads(answer[3:])
        if not answer:
            raise DriverError("the driver ended (%s)" % " ".join(map(str, args)))
        raise DriverError(answer[6:] if answer.startswith("error ") else answer)

    # --- reading -------------------------------------------------------------------------------
    def windows(self):
        return self.call("windows")

    def wait(self, window, timeout=10):
        """The window's handle once it is visible; DriverError when it does not come."""
        return self.call("wait", window, timeout=timeout)["handle"]

    def exists(self, window):
        try:
            self.call("wait", window, timeout=0)
            return True
        except DriverError:
            return False

    def gone(self, window, timeout=10):
        try:
            self.call("gone", window, timeout=timeout)
            return True
        except DriverError:
            return False

    def tree(self, window, timeout=10):
        return self.call("tree", window, timeout=timeout)

    def control(self, window, control, timeout=10):
        """The tree node of one control (its own subtree)."""
        return self.call("tree", "#%d" % self.handle(window, control, timeout), timeout=timeout)

    def handle(self, window, control=0, timeout=10):
        tree = self.tree(window, timeout)
        if control == 0:
            return tree["handle"]
        node = tree
        for part in str(control).split("/"):
            node = find({"children": node["children"]}, id=int(part, 0))
            if node is None:
                raise DriverError("no control %s in %s" % (control, window))
        return node["handle"]

    def point(self, window, control=0, dx=None, dy=None):
        args = ("point", window, control) + (() if dx is None else (dx, dy))
        answer = self.call(*args)
        return answer["x"], answer["y"]

    # --- control messages ----------------------------------------------------------------------
    def set_text(self, window, control, text):
        self.call("settext", window, control, text)

    def click(self, window, control):
        """BM_CLICK, posted: the parent gets BN_CLICKED as from a user's click."""
        self.call("click", window, control)

    def check(self, window, control, state=1):
        return self.call("check", window, control, state)["check"]

    def select(self, window, control, item):
        """Selects by index (int) or by exact text (str), and notifies the parent."""
        return self.call("select", window, control, item if isinstance(item, int) else "=" + item)["index"]

    def command(self, window, command_id, code=0):
        self.call("command", window, command_id, code)

    def send(self, window, control, message, wparam=0, lparam=0):
        return self.call("send", window, control, message, wparam, lparam)["result"]

    def post(self, window, control, message, wparam=0, lparam=0):
        self.call("post", window, control, message, wparam, lparam)

    def close_window(self, window):
        self.call("close", window)

    # --- real input (xdotool on the harness display) -------------------------------------------
    def xdotool(self, *args):
        subprocess.run(["xdotool"] + [str(a) for a in args], env=self.env, check=True,
                       capture_output=True)

    def move_to(self, window, control=0, dx=None, dy=None):
        """Puts the pointer over a control: without a window manager keys go where the pointer is."""
        x, y = self.point(window, control, dx, dy)
        self.xdotool("mousemove", x, y)
        time.sleep(0.1)
        return x, y

    def click_at(self, window, control=0, dx=None, dy=None, button=1):
        x, y = self.move_to(window, control, dx, dy)
        self.xdotool("click", button)
        return x, y

    def key(self, *keys):
        self.xdotool("key", "--delay", 30, *keys)

    def type_into(self, window, control, text, erase=0):
        """Clicks into an edit, erases erase characters from the end (Wine's edit has no Ctrl+A)
        and types the text."""
        self.click_at(window, control)
        if erase:
            self.key("End", *(["BackSpace"] * erase))
        if text:
            self.xdotool("type", "--delay", 30, "--", text)

    def screenshot(self, path=None):
        data = subprocess.run(["import", "-display", self.env["DISPLAY"], "-window", "root",
                               "-depth", "8", "ppm:-"], env=self.env, check=True, capture_output=True).stdout
        if path:
            subprocess.run(["convert", "ppm:-", path], input=data, check=True)
        return Screenshot(data)

    # --- the prefix --------------------------------------------------------------------------
    def reg(self, *args):
        return subprocess.run([os.path.join(HARNESS, "wine-reg"), "--state", self.state] +
                              [str(a) for a in args], env=self.env, capture_output=True,
                              text=True)
