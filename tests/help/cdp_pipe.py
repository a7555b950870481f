"""A headless Chromium driven through the DevTools protocol on a pipe (--remote-debugging-pipe):
requests and events as NUL-terminated JSON on the browser's file descriptors 3 and 4, so that
nothing beyond Python's standard library is needed."""
import json
import os
import select
import shutil
import subprocess
import tempfile
import time


class ChromiumError(RuntimeError):
    pass


class Chromium:
    def __init__(self, program=None):
        program = program or shutil.which("chromium")
        if not program:
            raise ChromiumError("chromium not found: it is installed by scripts/bootstrap")
        self.profile = tempfile.mkdtemp(prefix="scrkit_help_")
        to_browser_r, self._to_browser = os.pipe()
        self._from_browser, from_browser_w = os.pipe()

        def descriptors():  # the browser reads requests on 3 and writes answers on 4
            read_end, write_end = os.dup(to_browser_r), os.dup(from_browser_w)
            os.dup2(read_end, 3)
            os.dup2(write_end, 4)

        self.process = subprocess.Popen(
            [program, "--headless=new", "--remote-debugging-pipe", "--no-sandbox",
             "--disable-gpu", "--no-first-run", "--no-default-browser-check",
             "--disable-popup-blocking", "--hide-scrollbars", "--force-device-scale-factor=1",
             "--user-data-dir=" + self.profile, "about:blank"],
            pass_fds=(3, 4), preexec_fn=descriptors,
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self._buffer = b""
        self._next_id = 0
        self.events = []
        self._answers = {}
        self.on_attach = None  # called with the session of each new target waiting to start

    def close(self):
        try:
            self.send("Browser.close")
        except Exception:
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        os.close(self._to_browser)
        os.close(self._from_browser)
        shutil.rmtree(self.profile, ignore_errors=True)

    def _read_message(self, deadline):
        while b"\0" not in self._buffer:
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            ready, _, _ = select.select([self._from_browser], [], [], left)
            if ready:
                chunk = os.read(self._from_browser, 1 << 16)
                if not chunk:
                    raise ChromiumError("chromium closed its pipe")
                self._buffer += chunk
        message, self._buffer = self._buffer.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, params=None, session=None, timeout=20):
        self._next_id += 1
        number = self._next_id
        request = {"id": number, "method": method, "params": params or {}}
        if session:
            request["sessionId"] = session
        os.write(self._to_browser, json.dumps(request).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while number not in self._answers:
            if not self._take(deadline):
                raise ChromiumError("no answer to " + method)
        message = self._answers.pop(number)
        if "error" in message:
            raise ChromiumError("%s: %s" % (method, message["error"]))
        return message.get("result", {})

    def _take(self, deadline):
        """Reads one message: an answer is kept by its id, an event is queued; a new target
        waiting for the debugger goes to on_attach first (a pop-up's opener waits meanwhile)."""
        message = self._read_message(deadline)
        if message is None:
            return False
        if "id" in message:
            self._answers[message["id"]] = message
        elif message.get("method") == "Target.attachedToTarget" and \
                message["params"].get("waitingForDebugger") and self.on_attach:
            self.events.append(message)
            self.on_attach(message["params"]["sessionId"])
        else:
            self.events.append(message)
        return True

    def wait_event(self, method, session=None, timeout=10, match=None):
        """The first queued event of that method (and session) not yet taken, waiting for it."""
        deadline = time.monotonic() + timeout
        while True:
            for i, event in enumerate(self.events):
                if event.get("method") == method and \
                        (session is None or event.get("sessionId") == session) and \
                        (match is None or match(event["params"])):
                    return self.events.pop(i)
            if not self._take(deadline):
                return None

    def pump(self, seconds):
        """Queues whatever arrives within that time."""
        deadline = time.monotonic() + seconds
        while self._take(deadline):
            pass
