#!/usr/bin/env python3
"""The screensaver stub's windows under Wine and Xvfb, driven with real input from xdotool.

runtime_windows_test.py STATE STUB STANDIN_DLL GROUP PROBE
GROUP: layout, wake, notice, settings, preview, dialog, cleanup; PROBE is window_probe.exe.
Each group registers the Flash control stand-in only for as long as it needs it.
"""
import ctypes
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
HARNESS = os.path.join(HERE, "..", "harness")
STANDIN_SCRIPT = os.path.join(HERE, "..", "flash_standin", "flash-standin")
STATE, STUB, STANDIN, GROUP, PROBE = sys.argv[1:6]
WORK = tempfile.mkdtemp(prefix="runtime-windows-")
ENV = dict(os.environ)
for line in open(os.path.join(STATE, "env")):
    key, _, value = line.strip().partition("=")
    ENV[key] = value.strip("'")
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


def wine(*args, **kw):
    return subprocess.run([os.path.join(HARNESS, "wine-run"), "--state", STATE] + list(args),
                          env=ENV, capture_output=True, text=True, **kw)


def xdotool(*args):
    return subprocess.run(["xdotool"] + list(args), env=ENV, capture_output=True, text=True).stdout


def standin(action):
    subprocess.run([STANDIN_SCRIPT, "--state", STATE, action, STANDIN], env=ENV, check=True)


def make_saver(name, *options):
    path = os.path.join(WORK, name)
    subprocess.run([sys.executable, os.path.join(HERE, "make_saver.py"), STUB, path] + list(options),
                   check=True)
    return path


def start(saver, *args, log=None):
    env = dict(ENV)
    if log:
        env["FLASH_STANDIN_LOG"] = wine("winepath", "-w", log).stdout.strip()
    return subprocess.Popen([os.path.join(HARNESS, "wine-run"), "--state", STATE, saver] + list(args),
                            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def wait_window(caption, timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        found = xdotool("search", "--name", "^" + caption + "$").split()
        if found:
            return found[0]
        time.sleep(0.2)
    return None


def point_at(window):
    """Without a window manager the keyboard follows the pointer: put it over the window."""
    xdotool("mousemove", "--window", window, "10", "10")
    time.sleep(0.2)


def ended(process, timeout):
    try:
        process.wait(timeout)
        return True
    except subprocess.TimeoutExpired:
        return False


def stop(process):
    if process.poll() is None:
        xdotool("key", "Escape")
        if not ended(process, 10):
            process.kill()
            process.wait()


def pixel(x, y):
    shot = os.path.join(WORK, "shot.png")
    subprocess.run(["import", "-window", "root", shot], env=ENV, check=True)
    out = subprocess.run(["convert", shot, "-format", "%%[pixel:p{%d,%d}]" % (x, y), "info:"],
                         capture_output=True, text=True).stdout
    return out.strip()


def white_box(shot):
    """Bounding box of the white pixels of a screenshot, or None."""
    out = subprocess.run(["convert", shot, "-fill", "black", "+opaque", "white", "-format", "%@",
                          "info:"], capture_output=True, text=True).stdout.strip()
    return None if out.startswith("0x0") or not out else out


def temp_folder_is_clean():
    temp = wine("cmd", "/c", "echo %TEMP%").stdout.strip()
    unix = wine("winepath", "-u", temp).stdout.strip()
    return not os.path.exists(os.path.join(unix, "swfsaver"))


STANDIN_COLOUR = "srgb(32,192,64)"


def wait_for(condition, timeout):
    end = time.time() + timeout
    while time.time() < end:
        if condition():
            return True
        time.sleep(0.2)
    return condition()


def probe(*args):
    return subprocess.run([os.path.join(HARNESS, "wine-run"), "--state", STATE, "--timeout", "30",
                           PROBE] + list(args), env=ENV, capture_output=True, text=True).stdout


def dialog_layout(caption):
    """The dialog as window_probe sees it: window and client origin, close button, controls."""
    layout = {"children": {}}
    for line in probe("dialog", caption).splitlines():
        kind, _, rest = line.partition(" ")
        if kind == "window":
            layout["rect"] = tuple(int(v) for v in rest.split("=")[1].split(","))
        elif kind in ("client", "close"):
            layout[kind] = tuple(int(v) for v in rest.split())
        elif kind == "child":
            number, _, fields = rest.partition(" ")
            head, _, text = fields.partition(" text=")
            child = dict(f.split("=", 1) for f in head.split())
            child["rect"] = tuple(int(v) for v in child["rect"].split(","))
            child["text"] = text
            layout["children"][int(number)] = child
    return layout


def parent_window(x=100, y=100, width=320, height=240):
    """A parent for previews, made by the harness; returns the process and the handle."""
    process = subprocess.Popen([os.path.join(HARNESS, "wine-parent-window"), "--state", STATE,
                                "--rect", str(x), str(y), str(width), str(height), "--seconds",
                                "120", "--title", "preview parent"], env=ENV, text=True,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    return process, process.stdout.readline().strip()


def close_parent(process):
    probe("close", "preview parent")
    if not ended(process, 10):
        process.kill()
        process.wait()


def screenshot(name, crop=None):
    shot = os.path.join(WORK, name + ".png")
    subprocess.run(["import", "-window", "root"] + (["-crop", crop] if crop else []) + [shot],
                   env=ENV, check=True)
    return shot


def temp_folder():
    temp = wine("cmd", "/c", "echo %TEMP%").stdout.strip()
    return os.path.join(wine("winepath", "-u", temp).stdout.strip(), "swfsaver")


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def cursor_visible():
    """Whether the X server's current cursor has any opaque pixel (XFixes, not Wine's view)."""
    x11 = ctypes.CDLL("libX11.so.6")
    fixes = ctypes.CDLL("libXfixes.so.3")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XFree.argtypes = [ctypes.c_void_p]
    fixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    fixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = x11.XOpenDisplay(ENV["DISPLAY"].encode())
    image = fixes.XFixesGetCursorImage(display)
    shown = any(image.contents.pixels[i] >> 24 for i in
                range(image.contents.width * image.contents.height))
    x11.XFree(image)
    x11.XCloseDisplay(display)
    return shown


def test_layout():
    # Movie size, size mode, expected rectangle (left, top, right, bottom) in 1024 x 768.
    cases = [("400,300,0", (312, 234, 712, 534)), ("400,300,1", (0, 0, 1024, 768)),
             ("400,100,1", (0, 256, 1024, 512)), ("2000,1000,0", (0, 128, 1024, 640)),
             ("2000,1000,3", (-488, -116, 1512, 884)), ("0,300,1", (511, 0, 512, 768)),
             ("400,300,2", (0, 0, 1024, 768))]
    standin("register")
    try:
        for number, (movie, rect) in enumerate(cases):
            log = os.path.join(WORK, "layout%d.log" % number)
            quality = number % 3
            saver = make_saver("layout%d.scr" % number, "--movie", movie + ",%d,movie.swf" % quality)
            process = start(saver, "/s", log=log)
            check(wait_window("Tarvo Screensaver") is not None, movie + ": window shown")
            time.sleep(2)
            left, top, right, bottom = rect
            inside = (max(left, 0) + 2, max(top, 0) + 2)
            if right - left > 4:
                check(pixel(*inside) == STANDIN_COLOUR, movie + ": stand-in colour on screen")
            if left > 4:
                check(pixel(left - 3, max(top, 0) + 5) == "srgb(0,0,0)", movie + ": black beside")
            stop(process)
            lines = open(log).read().splitlines()
            rects = [l for l in lines if l.startswith("IOleInPlaceObject.SetObjectRects")]
            want = "position=%d,%d,%d,%d clip=%d,%d,%d,%d" % (rect + rect)
            check(rects and rects[-1].endswith(want), movie + ": " + want + " got " + (rects[-1] if rects else "none"))
            puts = [l.split(" value=")[1] for l in lines if l.startswith("IDispatch.Invoke")]
            check(puts[:3] == ['bstr:""', "i4:2", 'bstr:"%s"' % ["Low", "Medium", "High"][quality]]
                  and puts[3].endswith('\\swfsaver\\movie.swf"') and len(puts) == 4,
                  movie + ": property puts " + repr(puts))
            if number == 0:
                order = [l.split(" ")[0] for l in lines]
                first = [order.index(m) for m in ("IQuickActivate.QuickActivate", "IOleObject.SetExtent",
                                                  "IOleObject.DoVerb", "IOleInPlaceObject.GetWindow",
                                                  "ConnectionPoint.Advise", "IDispatch.Invoke")]
                check(first == sorted(first), "activation order " + repr(first))
                check(any("IOleObject.SetExtent aspect=1 cx=27093 cy=20320" in l for l in lines),
                      "first extent is the window in hundredths of millimetres")
                check(any("container_size=%d control_size=24 site=set sink=null" % 112 in l for l in lines),
                      "QuickActivate sizes and client site")
                check(any("verb=-5" in l and "rect=0,0,1024,768" in l for l in lines), "in-place verb")
                check(any("context=0x00000000 frame=set document=null position=0,0,1024,768 "
                          "clip=0,0,1024,768 mdi=0 frame_window_is_parent=1" in l for l in lines),
                      "window context")
                check("ConnectionPoint.Unadvise cookie=0x51" in lines, "sink unadvised at the end")
                tail = [l for l in lines if l.split(" ")[0] in ("ConnectionPoint.Unadvise",
                        "IOleInPlaceObject.InPlaceDeactivate", "IOleObject.Close", "Destroyed")]
                check(tail == ["ConnectionPoint.Unadvise cookie=0x51", "IOleInPlaceObject.InPlaceDeactivate",
                               "IOleObject.Close save=1", "Destroyed"], "site destruction " + repr(tail))
            check(temp_folder_is_clean(), movie + ": no swfsaver folder left")
        # Right-button input never reaches the control.
        log = os.path.join(WORK, "right.log")
        saver = make_saver("right.scr", "--flags", "0x374", "--movie", "400,300,1,1,movie.swf")
        process = start(saver, "/s", log=log)
        wait_window("Tarvo Screensaver")
        time.sleep(2)
        xdotool("click", "3")
        check(not ended(process, 2), "right click with wake on right click off keeps running")
        xdotool("click", "1")
        check(ended(process, 10), "left click ends it")
        stop(process)
        text = open(log).read()
        check("Window.RightButton" not in text and "Window.LeftButtonDown" in text,
              "control gets the left button but no right-button message")
    finally:
        standin("unregister")


def test_wake():
    flags_all = "0x37C"
    cases = [  # what, flags, input actions, ends
        ("10 pixels", flags_all, [("mousemove", "110", "110")], False),
        ("11 pixels", flags_all, [("mousemove", "111", "100")], True),
        ("escape with wake on key off", "0x35C", [("key", "Escape")], True),
        ("key with wake on key off", "0x35C", [("key", "a")], False),
        ("key with wake on key on", flags_all, [("key", "a")], True),
        ("Alt+F4", flags_all, [("key", "alt+F4")], False),
        ("key up only", flags_all, [("keyup", "a")], False),
        ("right button with wake on right button off", "0x374", [("click", "3")], False),
        ("right button", flags_all, [("click", "3")], True),
        ("left button with wake on button off", "0x378", [("click", "1")], False),
        ("middle button", flags_all, [("click", "2")], True),
        ("system close command", flags_all, [lambda: probe("syscommand", "Tarvo Screensaver")],
         False),
        ("close message from outside", flags_all, [lambda: probe("close", "Tarvo Screensaver")],
         False),
        ("switching to another window", flags_all, [lambda: others.append(parent_window()[0])],
         True),
    ]
    others = []
    saver_for = {flags_all: make_saver("wake.scr", "--flags", flags_all)}
    # Wine learns where the pointer is only from events its windows receive: a first run with the
    # pointer put at 100, 100 over its window makes the later runs start from a known origin.
    process = start(saver_for[flags_all], "/s")
    wait_window("Tarvo Screensaver")
    time.sleep(0.3)
    xdotool("mousemove", "100", "100")
    time.sleep(0.3)
    stop(process)
    for what, flags, actions, ends in cases:
        if flags not in saver_for:
            saver_for[flags] = make_saver("wake%s.scr" % flags, "--flags", flags)
        xdotool("mousemove", "100", "100")
        process = start(saver_for[flags], "/s")
        window = wait_window("Tarvo Screensaver")
        check(window is not None, what + ": window shown")
        # Wine may centre the pointer when its first window appears; put it back at the origin
        # while moves are still ignored.
        time.sleep(0.5)
        xdotool("mousemove", "100", "100")
        time.sleep(1.5)
        for action in actions:
            action() if callable(action) else xdotool(*action)
        check(ended(process, 4) == ends, what + (": ends" if ends else ": keeps running"))
        for other in others:
            close_parent(other)
        others.clear()
        if not ends and what == "Alt+F4":
            xdotool("windowclose", window) if window else None
            check(not ended(process, 2), "closing the window from outside keeps running")
        stop(process)
    # Movement within the first second is ignored.
    xdotool("mousemove", "100", "100")
    process = start(saver_for[flags_all], "/s")
    wait_window("Tarvo Screensaver")
    xdotool("mousemove", "300", "300")
    time.sleep(0.3)
    xdotool("mousemove", "100", "100")
    check(not ended(process, 2.5), "movement in the first second is ignored")
    xdotool("mousemove", "300", "300")
    check(ended(process, 4), "the same movement later ends it")
    stop(process)
    check(temp_folder_is_clean(), "no swfsaver folder left")
    # The cursor over the control: the stand-in's window class has the arrow, so it shows unless
    # the screensaver hides it.
    standin("register")
    try:
        for flags, hidden in (("0x37C", True), ("0x33C", False)):
            saver = make_saver("cursor%s.scr" % flags, "--flags", flags, "--movie",
                               "400,300,2,1,movie.swf")
            xdotool("mousemove", "100", "100")
            process = start(saver, "/s")
            wait_window("Tarvo Screensaver")
            check(wait_for(lambda: pixel(50, 50) == STANDIN_COLOUR, 10), flags + ": control shown")
            xdotool("mousemove", "104", "104")
            shown = wait_for(cursor_visible, 2)
            check(shown != hidden, flags + (": cursor hidden" if hidden else ": cursor shown"))
            stop(process)
    finally:
        standin("unregister")


def test_notice():
    saver = make_saver("notice.scr", "--movie", "400,300,1,1,movie.swf")
    process = start(saver, "/s")
    check(wait_window("Tarvo Screensaver") is not None, "window shown without control")
    time.sleep(5)
    boxes = []
    for _ in range(2):
        shot = os.path.join(WORK, "notice%d.png" % len(boxes))
        subprocess.run(["import", "-window", "root", shot], env=ENV, check=True)
        boxes.append(white_box(shot))
        time.sleep(4.2)
    stop(process)
    check(boxes[0] is not None, "white notice text on screen: " + repr(boxes[0]))
    check(boxes[0] != boxes[1], "notice moved after four seconds: " + repr(boxes))
    check(temp_folder_is_clean(), "no swfsaver folder left")


def reg_query(key, value):
    out = wine("reg", "query", key, "/v", value).stdout
    for line in out.splitlines():
        parts = line.split()
        if parts and parts[0] == value:
            return parts[1], parts[-1]
    return None


def test_settings():
    key = r"HKCU\Software\TarvoSavers\Acme\Stars"
    wine("reg", "delete", key, "/f")
    saver = make_saver("settings.scr", "--movie", "400,300,1,2,movie.swf")
    # Enter stores what is shown: sound on, the movie's own quality.
    process = start(saver, "/c")
    window = wait_window("Stars")
    check(window is not None, "dialog caption is the screensaver name")
    time.sleep(1)
    point_at(window)
    xdotool("key", "Return")
    check(ended(process, 10), "Enter ends the dialog")
    stop(process)
    check(reg_query(key, "Sound") == ("REG_DWORD", "0x1"), "Sound stored as 1")
    check(reg_query(key, "Quality") == ("REG_DWORD", "0x2"), "Quality stored as 2")
    # Unticking Sound with the keyboard and Escape stores Sound 0.
    process = start(saver, "/c")
    point_at(wait_window("Stars"))
    time.sleep(1)
    xdotool("key", "Tab")
    xdotool("key", "space")
    xdotool("key", "Escape")
    check(ended(process, 10), "Escape ends the dialog")
    stop(process)
    check(reg_query(key, "Sound") == ("REG_DWORD", "0x0"), "Sound stored as 0 after unticking")
    # A stored Quality of 5 means unset: nothing is written over it.
    wine("reg", "add", key, "/v", "Quality", "/t", "REG_DWORD", "/d", "5", "/f")
    process = start(saver, "/c")
    point_at(wait_window("Stars"))
    time.sleep(1)
    xdotool("key", "Return")
    stop(process)
    check(reg_query(key, "Quality") == ("REG_DWORD", "0x5"), "Quality 5 is left as it was")
    # Without company name the key has the screensaver name alone.
    bare = r"HKCU\Software\TarvoSavers\Stars"
    wine("reg", "delete", bare, "/f")
    process = start(make_saver("bare.scr", "--company", "", "--movie", "400,300,1,0,m.swf"), "/c")
    point_at(wait_window("Stars"))
    time.sleep(1)
    xdotool("key", "Return")
    stop(process)
    check(reg_query(bare, "Quality") == ("REG_DWORD", "0x0"), "key without company name")
    wine("reg", "delete", key, "/f")
    wine("reg", "delete", bare, "/f")


def open_dialog(saver):
    """Starts the settings dialog of `saver` and reads it; (process, layout or None)."""
    process = start(saver, "/c")
    window = wait_window("Stars")
    if not window:
        # Say whether the stub ended (and how) or still runs without its dialog.
        print("no dialog from %s: the stub %s" % (os.path.basename(saver), "still runs"
              if process.poll() is None else "ended with %d" % process.returncode))
    layout = dialog_layout("Stars") if window else None
    return process, window, layout


def close_dialog(process, window, key="Return"):
    point_at(window)
    xdotool("key", key)
    ended(process, 10)
    stop(process)


def settled_look(rect, name):
    """The signature of the screen inside `rect` once two shots in a row agree: a loaded machine
    may still be drawing the dialog half a second after it appeared."""
    left, top, right, bottom = rect
    last = None
    for i in range(20):
        time.sleep(0.3)
        shot = screenshot("%s-%d" % (name, i), "%dx%d+%d+%d" % (right - left, bottom - top, left, top))
        look = subprocess.run(["convert", shot, "-format", "%#", "info:"],
                              capture_output=True, text=True).stdout.strip()
        if look == last:
            return look
        last = look
    return last


def test_dialog():
    key = r"HKCU\Software\TarvoSavers\Acme\Stars"
    wine("reg", "delete", key, "/f")
    movie = "400,300,1,2,movie.swf"
    # Options by flag: sound 0x100, quality 0x200, on top of the wake flags.
    shown = {}
    for name, flags in (("both", 0x37C), ("sound only", 0x17C), ("quality only", 0x27C),
                        ("neither", 0x07C)):
        process, window, layout = open_dialog(
            make_saver("dialog-%s.scr" % name.replace(" ", "-"), "--flags", hex(flags),
                       "--movie", movie))
        check(layout is not None and len(layout["children"]) == 6, name + ": dialog with its controls")
        if layout:
            shown[name] = layout
            c = layout["children"]
            visible = {n: c[n]["visible"] == "1" for n in c}
            check(visible[1203] and not visible[1000] and c[1203]["text"] == "Credits of the test saver",
                  name + ": credits text instead of the picture frame")
            check(visible[1001] == bool(flags & 0x100), name + ": sound box shown by its flag")
            check(visible[1002] == visible[1202] == bool(flags & 0x200),
                  name + ": quality list and label shown by their flag")
            check(visible[1201] == bool(flags & 0x300), name + ": group box hidden only with both")
        close_dialog(process, window)
    if len(shown) == 4:
        both, sound, neither = shown["both"], shown["sound only"], shown["neither"]
        c = both["children"]
        check(c[1001]["check"] == "1" and c[1002]["count"] == "3" and c[1002]["selection"] == "2",
              "sound ticked, three qualities, the movie's own quality selected")
        check(sound["children"][1001]["rect"][0] == c[1202]["rect"][0],
              "sound box moved to where the quality label starts: %r" % (sound["children"][1001]["rect"],))
        group = c[1201]["rect"][3] - c[1201]["rect"][1]
        height = lambda l: l["rect"][3] - l["rect"][1]
        check(height(both) - height(neither) == group,
              "dialog shortened by the group box (%d, %d, %d)" % (height(both), height(neither), group))
        check(neither["rect"][:2] == both["rect"][:2], "shortened dialog keeps its position")
    # Stored qualities: 5 is unset (no selection); a string is ignored (the movie's own quality).
    saver = make_saver("dialog-stored.scr", "--movie", movie)
    for data, kind, selection in (("5", "REG_DWORD", "-1"), ("1", "REG_SZ", "2"), ("0", "REG_DWORD", "0")):
        wine("reg", "add", key, "/v", "Quality", "/t", kind, "/d", data, "/f")
        process, window, layout = open_dialog(saver)
        got = layout["children"][1002]["selection"] if layout else None
        check(got == selection, "stored Quality %s of %s: selection %s, got %s" % (data, kind, selection, got))
        close_dialog(process, window, "Escape")
    # Closing from the caption stores the values shown, as Enter and Escape do. Without a window
    # manager a pointer click on the caption's button does not reach Wine's caption tracking
    # here, so the test sends what that button sends: the system's close command.
    wine("reg", "delete", key, "/f")
    process, window, layout = open_dialog(saver)
    check(layout is not None and "close" in layout, "the caption has a close button")
    probe("syscommand", "Stars")
    check(ended(process, 10), "the close command ends the dialog")
    stop(process)
    check(reg_query(key, "Sound") == ("REG_DWORD", "0x1") and reg_query(key, "Quality") == ("REG_DWORD", "0x2"),
          "closing from the caption stores Sound and Quality")
    # A 300 x 200 picture grows the dialog right and down and pushes the options below it.
    pictured = make_saver("dialog-picture.scr", "--movie", movie, "--movie", "300,200,0,1,pic.swf",
                          "--settings-file", "1")
    process, window, layout = open_dialog(pictured)
    if layout and "both" in shown:
        both, c, p = shown["both"], shown["both"]["children"], layout["children"]
        frame = c[1000]["rect"]
        dx = max(300 - (frame[2] - frame[0]), 0)
        dy = 200 - (frame[3] - frame[1])
        check(p[1000]["visible"] == "1" and p[1203]["visible"] == "0", "picture frame instead of credits")
        check(p[1000]["rect"][2] - p[1000]["rect"][0] == 300 and p[1000]["rect"][3] - p[1000]["rect"][1] == 200,
              "frame sized to the picture: %r" % (p[1000]["rect"],))
        width = lambda l: l["rect"][2] - l["rect"][0]
        height = lambda l: l["rect"][3] - l["rect"][1]
        check(width(layout) - width(both) == dx and height(layout) - height(both) == dy,
              "dialog grown by %d, %d: %r against %r" % (dx, dy, layout["rect"], both["rect"]))
        check(all(p[n]["rect"][1] - c[n]["rect"][1] == dy for n in (1201, 1001, 1202, 1002)),
              "options pushed down by %d" % dy)
    close_dialog(process, window)
    # Tahoma where the system has it: the prefix has no such font until a replacement names one.
    # A serif face stands in for it, unlike what the dialog font becomes here. The dialog drawn
    # without it, with it, and without it again: only the middle one differs.
    replacements = r"HKCU\Software\Wine\Fonts\Replacements"
    looks = []
    for present in (False, True, False):
        if present:
            wine("reg", "add", replacements, "/v", "Tahoma", "/t", "REG_SZ", "/d", "DejaVu Serif", "/f")
        else:
            wine("reg", "delete", replacements, "/v", "Tahoma", "/f")
        check(probe("fonts").strip() == "tahoma=%d" % present, "Tahoma present: %s" % present)
        process, window, layout = open_dialog(saver)
        if layout:
            looks.append(settled_look(layout["rect"], "font%d" % len(looks)))
        close_dialog(process, window)
    check(len(looks) == 3 and looks[0] == looks[2] and looks[0] != looks[1],
          "the dialog's text changes with Tahoma and only with it: %r" % looks)
    check(temp_folder_is_clean(), "no swfsaver folder left")
    wine("reg", "delete", key, "/f")


def input_over_preview():
    """Keys, buttons and moves over the preview at 100, 100 (320 x 240)."""
    xdotool("mousemove", "200", "200")
    for action in (("key", "Escape"), ("key", "a"), ("click", "1"), ("click", "2"), ("click", "3"),
                   ("mousemove", "380", "300"), ("mousemove", "150", "150")):
        xdotool(*action)
        time.sleep(0.1)


def preview_window():
    """The preview's window inside the parent (Wine does not draw a child window of another
    process on screen, so the preview is seen through window_probe and the stand-in's log)."""
    children = dialog_layout("preview parent")["children"].values()
    return next((c for c in children if c["class"] == "_qvrt_class"), None)


def test_preview():
    # Size mode, expected rectangle inside the 320 x 240 parent: the small area always shows the
    # whole movie, so "Original Size" and "Never Resize" are fitted like "Full Screen".
    cases = [("0", (0, 60, 320, 180)), ("3", (0, 60, 320, 180)), ("2", (0, 0, 320, 240))]
    standin("register")
    try:
        for mode, rect in cases:
            log = os.path.join(WORK, "preview%s.log" % mode)
            saver = make_saver("preview%s.scr" % mode, "--movie", "160,60,%s,1,movie.swf" % mode,
                               "--preview-file", "0")
            parent, handle = parent_window()
            process = start(saver, "/p", handle, log=log)
            want = "position=%d,%d,%d,%d" % rect
            rects = lambda: [l for l in open(log).read().splitlines()
                             if l.startswith("IOleInPlaceObject.SetObjectRects")]
            check(wait_for(lambda: os.path.exists(log) and any(want in l for l in rects()), 15),
                  "mode %s: control at %s, got %r" % (mode, want,
                                                      rects()[-1:] if os.path.exists(log) else []))
            if mode == "0":
                window = preview_window()
                check(window and window["rect"] == (0, 0, 320, 240) and window["visible"] == "1",
                      "preview window fills the parent: %r" % window)
                input_over_preview()
                check(not ended(process, 2), "no input ends the preview")
                check("Window.LeftButtonDown" in open(log).read(), "the click reached the control")
            close_parent(parent)
            check(ended(process, 10), "mode " + mode + ": the preview ends with its parent")
            stop(process)

        # Without preview file only the preview colour is shown: a window, but no control.
        log = os.path.join(WORK, "colour.log")
        saver = make_saver("colour.scr", "--movie", "160,60,1,1,movie.swf",
                           "--preview-colour", "0x0000FF")
        parent, handle = parent_window()
        process = start(saver, "/p", handle, log=log)
        check(wait_for(lambda: preview_window() is not None, 15), "colour preview window shown")
        input_over_preview()
        check(not ended(process, 2), "no input ends the colour preview")
        check(not os.path.exists(log) or "CreateInstance" not in open(log).read(),
              "no control without preview file")
        close_parent(parent)
        check(ended(process, 10), "the colour preview ends with its parent")
        stop(process)

        # Black and no preview file: nothing is shown and the stub exits at once.
        log = os.path.join(WORK, "black.log")
        saver = make_saver("black.scr", "--movie", "160,60,1,1,movie.swf")
        parent, handle = parent_window()
        process = start(saver, "/p", handle, log=log)
        check(ended(process, 10), "black preview without file exits")
        check(preview_window() is None and not os.path.exists(log),
              "black preview without file makes no window and no control")
        close_parent(parent)
        stop(process)
    finally:
        standin("unregister")
    check(temp_folder_is_clean(), "no swfsaver folder left")

{"layout": test_layout, "wake": test_wake, "notice": test_notice, "settings": test_settings,
 "preview": test_preview, "dialog": test_dialog}[GROUP]()
print("%d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
