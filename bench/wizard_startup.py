#!/usr/bin/env python3
"""How long scrkit.exe takes under Wine from its start to its main window being visible, with the
splash screen's time apart, and the frame's private memory once it is up. A figure to watch, not
a test.

usage: bench/wizard_startup.py STATE_DIR SCRKIT.EXE [RUNS]
  STATE_DIR is a prepared Wine test state (tests/wine/harness/wine-setup --state DIR).

Times come from polling the UI driver's window list every 10 ms (each figure is late by up to
that); memory is Private_Clean + Private_Dirty of the program's Unix process (smaps_rollup).
"""
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "wine", "harness"))
import wine_ui  # noqa: E402

STATE, SCRKIT = sys.argv[1], os.path.abspath(sys.argv[2])
RUNS = int(sys.argv[3]) if len(sys.argv) > 3 else 5


def private_kib(prefix):
    """The private memory of the scrkit.exe process of this prefix, in KiB."""
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            with open("/proc/%s/cmdline" % pid, "rb") as f:
                command = f.read().split(b"\0")[0]
            if not command.endswith(b"scrkit.exe"):
                continue
            with open("/proc/%s/environ" % pid, "rb") as f:
                if b"WINEPREFIX=" + prefix.encode() not in f.read().split(b"\0"):
                    continue
            with open("/proc/%s/smaps_rollup" % pid) as f:
                return sum(int(line.split()[1]) for line in f
                           if line.startswith(("Private_Clean:", "Private_Dirty:")))
        except OSError:
            continue
    return None


def one_run(ui):
    start = time.monotonic()
    proc = subprocess.Popen([os.path.join(wine_ui.HARNESS, "wine-run"), "--state", STATE, SCRKIT],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    splash_on = splash_off = frame = None
    while frame is None and time.monotonic() - start < 60:
        classes = {w["class"] for w in ui.windows()}
        now = time.monotonic() - start
        if "KZCSplashWnd" in classes and splash_on is None:
            splash_on = now
        if splash_on is not None and splash_off is None and "KZCSplashWnd" not in classes:
            splash_off = now
        if "FCMainFrame" in classes:
            frame = now
        time.sleep(0.01)
    time.sleep(1)  # settled
    memory = private_kib(ui.env["WINEPREFIX"])
    ui.close_window("@FCMainFrame")
    proc.wait(60)
    return splash_on, splash_off, frame, memory


def main():
    with wine_ui.Driver(STATE) as ui:
        runs = [one_run(ui) for _ in range(RUNS)]
    print("run  splash shown  splash gone  frame visible  private memory")
    for i, (on, off, frame, memory) in enumerate(runs, 1):
        print("%3d  %10.2f s  %9.2f s  %11.2f s  %9.1f MiB" % (i, on, off, frame, memory / 1024))
    median = lambda k: statistics.median(r[k] for r in runs)  # noqa: E731
    print("median: frame visible %.2f s, of which the splash %.2f s up, %.2f s after it;"
          " private memory %.1f MiB" % (median(2), median(1) - median(0), median(2) - median(1),
                                        median(3) / 1024))


if __name__ == "__main__":
    main()
