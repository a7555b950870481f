#!/usr/bin/env python3
"""The library's custom controls under Wine and Xvfb, in the control gallery, with real input.

control_gallery_test.py STATE GALLERY_EXE GROUP
GROUP: simple (message box, excluded characters, radio group, link label), color (the colour
button, its pop-up and the colour dialog), pictures (menu button, big button, picture static,
splash window), dpi144 (the gallery, the message box, the colour dialog and the pop-up at 144 dots
per inch: nothing clipped).
One gallery process serves every case of a group.
"""
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
HARNESS = os.path.join(HERE, "..", "harness")
sys.path.insert(0, HARNESS)
import wine_ui  # noqa: E402

STATE, GALLERY, GROUP = sys.argv[1:4]
CAPTION = "scrkit control gallery"
BOX = "Gallery box"
WM_COPY, WM_PASTE, EM_SETSEL = 0x301, 0x302, 0xB1
WM_GALLERY_FIT = 0x8001
LOG_PIXELS = ("HKCU\\Control Panel\\Desktop", "LogPixels")
failures = []


def check(condition, what):
    print(("ok   " if condition else "FAIL ") + what)
    if not condition:
        failures.append(what)


class Gallery:
    def __init__(self, ui, dpi=None):
        self.ui = ui
        self.log = os.path.join(tempfile.mkdtemp(prefix="gallery-"), "gallery.log")
        # Wine takes the resolution from the prefix when a program starts: set only for the
        # gallery's start, so that other tests' programs keep 96.
        if dpi:
            before = ui.reg("get", LOG_PIXELS[0], LOG_PIXELS[1])
            ui.reg("set", LOG_PIXELS[0], LOG_PIXELS[1], "REG_DWORD", dpi)
        try:
            self.process = subprocess.Popen(
                [os.path.join(HARNESS, "wine-run"), "--state", STATE, GALLERY, "--seconds", "170"],
                env=ui.env, stdout=open(self.log, "w"), stderr=subprocess.DEVNULL)
            self.seen = 0
            line = self.next_line("dpi ", 30)
        finally:
            if dpi and before.returncode == 0:
                ui.reg("set", LOG_PIXELS[0], LOG_PIXELS[1], "REG_DWORD", before.stdout.strip())
            elif dpi:
                ui.reg("delete", LOG_PIXELS[0], LOG_PIXELS[1])
        self.dpi = int(line.split()[1]) if line else 0
        ui.wait(CAPTION, timeout=30)

    def lines(self):
        return open(self.log).read().replace("\r", "").splitlines()

    def next_line(self, prefix, timeout=5):
        """The first line starting with prefix (or one of a tuple) after the last one returned,
        or None."""
        end = time.time() + timeout
        while time.time() < end:
            lines = self.lines()
            for number in range(self.seen, len(lines)):
                if lines[number].startswith(prefix):
                    self.seen = number + 1
                    return lines[number]
            time.sleep(0.1)
        return None

    def fit(self, window=None):
        """(id, client width, height, needed width, height) of the visible texts of a window of
        the gallery's process (the gallery itself by default)."""
        handle = self.ui.handle(window) if window else 0
        self.ui.post(CAPTION, 0, WM_GALLERY_FIT, 0, handle)
        rows = []
        while True:
            line = self.next_line("fit ")
            if line is None or line == "fit end":
                return rows
            rows.append(tuple(int(f) for f in line.split()[1:]))

    def stop(self):
        self.ui.close_window(CAPTION)
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def buttons(tree):
    return [(c["id"], c["text"]) for c in tree["children"] if c["class"] == "Button"]


def icon_pixels(ui, tree):
    icon = wine_ui.find(tree, id=20)
    if not icon or not icon["visible"]:
        return None
    left, top, right, bottom = icon["rect"]
    shot = ui.screenshot()
    return tuple(shot.pixel(x, y) for y in range(top, bottom) for x in range(left, right))


def test_message_box(ui, gallery):
    # type flags, (id, label) of the buttons, focused id, key, answer, icon.
    cases = [
        (0x0, [(1, "OK")], 1, "Return", 1, None),
        (0x1, [(1, "OK"), (2, "Cancel")], 1, "Escape", 2, None),
        (0x2 | 0x10, [(3, "&Abort"), (4, "&Retry"), (5, "&Ignore")], 3, "Return", 3, "stop"),
        (0x3 | 0x20 | 0x100, [(6, "&Yes"), (7, "&No"), (2, "Cancel")], 7, "Return", 7, "question"),
        (0x3 | 0x200, [(6, "&Yes"), (7, "&No"), (2, "Cancel")], 2, "Escape", 2, None),
        (0x4 | 0x30, [(6, "&Yes"), (7, "&No")], 6, "Return", 6, "exclamation"),
        (0x5 | 0x40 | 0x300, [(4, "&Retry"), (2, "Cancel")], 4, "Return", 4, "information"),
    ]
    icons = {}
    for flags, want, focused, key, answer, icon in cases:
        name = "type 0x%x" % flags
        ui.set_text(CAPTION, 150, str(flags))
        ui.click(CAPTION, 152)
        try:
            ui.wait(BOX, timeout=10)
        except wine_ui.DriverError:
            check(False, name + ": box shown")
            continue
        tree = ui.tree(BOX)
        check(buttons(tree) == want, name + ": buttons %r" % buttons(tree))
        check(tree["focus"] == ui.handle(BOX, focused), name + ": focus on %d" % focused)
        pixels = icon_pixels(ui, tree)
        check((pixels is None) == (icon is None), name + ": icon shown: %s" % (pixels is not None))
        if icon and pixels:
            icons[icon] = pixels
        # Keys go where the pointer is: over the box, away from its buttons.
        ui.move_to(BOX, 0, 10, 40)
        ui.key(key)
        line = gallery.next_line("box ")
        check(line == "box %d" % answer, name + ": %s answers %s" % (key, line))
        check(ui.gone(BOX, 5), name + ": box closed")
    check(len(set(icons.values())) == len(icons) == 4, "four different icons: %s" % sorted(icons))

    # French labels; the text wraps and the box grows with a long text.
    ui.check(CAPTION, 153, 1)
    ui.set_text(CAPTION, 150, "3")
    ui.set_text(CAPTION, 151, "short")
    ui.click(CAPTION, 152)
    short = ui.tree(BOX)
    check(buttons(short) == [(6, "&Oui"), (7, "&Non"), (2, "Annuler")],
          "French labels %r" % buttons(short))
    ui.close_window(BOX)
    check(gallery.next_line("box ") == "box 2" and ui.gone(BOX), "closing the box answers Cancel")
    ui.check(CAPTION, 153, 0)
    ui.set_text(CAPTION, 151, " ".join(["A long text that has to wrap onto more lines."] * 12))
    ui.click(CAPTION, 152)
    long = ui.tree(BOX)
    text = wine_ui.find(long, id=65535)
    height = lambda r: r[3] - r[1]
    check(height(long["rect"]) > height(short["rect"]) and text and height(text["rect"]) > 40,
          "a long text grows the box (%d to %d)" % (height(short["rect"]), height(long["rect"])))
    check(text and long["rect"][0] <= text["rect"][0] and text["rect"][2] <= long["rect"][2],
          "the long text wraps inside the box")
    check(buttons(long) == [(6, "&Yes"), (7, "&No"), (2, "Cancel")], "English again")
    ui.click(BOX, 7)
    check(gallery.next_line("box ") == "box 7", "clicking No answers 7")
    ui.gone(BOX)


def test_excluded_chars(ui, gallery):
    # Typed: the first set swallows ? \ and :, the second lets \ and : through.
    ui.type_into(CAPTION, 110, "a?b\\c:d")
    ui.type_into(CAPTION, 111, "c:\\x?y")
    time.sleep(0.3)
    check(ui.control(CAPTION, 110)["text"] == "abcd", "typed into the short-name edit: %r"
          % ui.control(CAPTION, 110)["text"])
    check(ui.control(CAPTION, 111)["text"] == "c:\\xy", "typed into the path edit: %r"
          % ui.control(CAPTION, 111)["text"])
    # Pasted text is not filtered: copy from the path edit, paste with real Ctrl+V.
    ui.set_text(CAPTION, 111, "why?\\:")
    ui.send(CAPTION, 111, EM_SETSEL, 0, -1)
    ui.send(CAPTION, 111, WM_COPY)
    ui.click_at(CAPTION, 110)
    ui.key("End", "ctrl+v")
    time.sleep(0.3)
    check(ui.control(CAPTION, 110)["text"] == "abcdwhy?\\:", "pasted into the short-name edit: %r"
          % ui.control(CAPTION, 110)["text"])


def test_radio_group(ui, gallery):
    ui.click_at(CAPTION, 121)
    ui.click_at(CAPTION, 125)
    check(gallery.next_line("radio ") == "radio 2", "a clicked radio button is selected")
    ui.click(CAPTION, 126)
    time.sleep(0.3)
    checks = [ui.control(CAPTION, i)["check"] for i in (120, 121, 122)]
    check(checks == [0, 0, 1], "select through the group unchecks the others: %r" % checks)
    ui.click(CAPTION, 125)
    check(gallery.next_line("radio ") == "radio 3", "selected is the first checked id")
    ui.click(CAPTION, 127)
    time.sleep(0.3)
    check(not any(ui.control(CAPTION, i)["enabled"] for i in (120, 121, 122)), "group disabled")


def test_link(ui, gallery):
    ui.click_at(CAPTION, 140)
    check(gallery.next_line("link ") == "link https://example.org/scrkit", "a click calls the action")


POPUP = "@KZCColorPopup"


def swatch(ui, shot=None):
    """The colour inside the colour button's swatch (4 pixels in, and one more for safety)."""
    left, top = ui.control(CAPTION, 160)["rect"][:2]
    return (shot or ui.screenshot()).pixel(left + 6, top + 6)


def popup_text(ui):
    return ui.tree(POPUP, timeout=3)["text"]


def open_popup(ui):
    ui.click_at(CAPTION, 160, 10, 10)
    ui.wait(POPUP, timeout=5)
    time.sleep(0.6)  # past the first 500 ms, where a release outside keeps it open


def cell_points(ui):
    """Screen centres of the pop-up's cells, found from the pure red first colour cell."""
    popup = ui.tree(POPUP)
    left, top, right, bottom = popup["rect"]
    shot = ui.screenshot()
    red = [(x, y) for y in range(top, bottom) for x in range(left, right)
           if shot.pixel(x, y) == (255, 0, 0)]
    if not red:
        return None, shot
    x0, y0 = min(p[0] for p in red), min(p[1] for p in red)
    size = max(p[0] for p in red) - x0 + 1
    step = 14 + 2  # cell and gap at 96 dpi; the red fill may sit inside a frame

    def centre(item):
        row, column = divmod(item, 12)
        y = y0 - step - 4 if row == 0 else y0 + (row - 1) * step
        return x0 + column * step + size // 2, y + size // 2
    return centre, shot


def test_color_button(ui, gallery):
    button = ui.control(CAPTION, 160)
    check(button["text"] == "", "the colour button clears its text")
    check(swatch(ui) == (0, 255, 0), "the swatch shows the colour: %r" % (swatch(ui),))
    open_popup(ui)
    popup = ui.tree(POPUP)
    check(popup["rect"][:2] == [button["rect"][0], button["rect"][3]],
          "the pop-up opens at the button's bottom-left: %r" % popup["rect"])
    check(popup["text"] == "#00FF00 (0 255 0)", "the current colour is highlighted: %r" % popup["text"])
    centre, shot = cell_points(ui)
    check(centre is not None, "a pure red cell is drawn")
    if centre is None:
        ui.key("Escape")
        return
    check(shot.pixel(*centre(0)) == (0, 0, 0) and shot.pixel(*centre(11)) == (255, 255, 255),
          "first cell black, twelfth white")
    ui.xdotool("mousemove", *centre(12))
    time.sleep(0.3)
    check(popup_text(ui) == "#FF0000 (255 0 0)", "the red cell's tip: %r" % popup_text(ui))
    ui.xdotool("click", 1)
    check(gallery.next_line("color ") == "color 160 FF0000" and ui.gone(POPUP, 3),
          "releasing on a cell takes it and tells the parent")
    time.sleep(0.3)
    check(swatch(ui) == (255, 0, 0), "the swatch follows")

    # Escape keeps the colour; arrows move the highlight and Enter takes it.
    open_popup(ui)
    ui.key("Escape")
    check(ui.gone(POPUP, 3), "Escape closes the pop-up")
    check(gallery.next_line("color ", 1) is None and swatch(ui) == (255, 0, 0), "Escape keeps the colour")
    time.sleep(0.3)
    open_popup(ui)
    ui.key("Right", "Down")
    time.sleep(0.4)
    moved = popup_text(ui)
    ui.key("Return")
    line = gallery.next_line("color ")
    want = "color 160 " + moved[1:7] if moved.startswith("#") else "?"
    check(moved not in ("", "#FF0000 (255 0 0)") and line == want,
          "arrows move the highlight (%r), Enter takes it (%r)" % (moved, line))
    ui.gone(POPUP, 3)

    # Not in the palette: nothing highlighted.
    ui.set_text(CAPTION, 151, "#1A2B3C")
    ui.send(CAPTION, 151, EM_SETSEL, 0, -1)
    ui.send(CAPTION, 151, WM_COPY)
    ui.move_to(CAPTION, 160, 10, 10)
    ui.xdotool("keydown", "shift", "click", 1, "keyup", "shift")
    check(gallery.next_line("color ") == "color 160 1A2B3C", "Shift+click pastes #1A2B3C")
    check(not ui.exists(POPUP), "Shift+click opens no pop-up")
    time.sleep(0.3)
    open_popup(ui)
    check(popup_text(ui) == "", "a colour outside the palette highlights no cell")
    ui.key("Escape")
    ui.gone(POPUP, 3)
    for text, want in (("ff", "color 160 FF0000"), ("f", None), (" '#00ff00'; ", "color 160 00FF00")):
        ui.set_text(CAPTION, 151, text)
        ui.send(CAPTION, 151, EM_SETSEL, 0, -1)
        ui.send(CAPTION, 151, WM_COPY)
        time.sleep(0.3)
        ui.move_to(CAPTION, 160, 10, 10)
        ui.xdotool("keydown", "shift", "click", 1, "keyup", "shift")
        check(gallery.next_line("color ", 2 if want else 1) == want, "pasting %r: %s" % (text, want))

    # A release outside within 500 ms keeps the pop-up; after 500 ms it closes it unchanged.
    x, y = ui.move_to(CAPTION, 160, 10, 10)
    ui.xdotool("mousedown", 1)
    ui.xdotool("mousemove", x + 200, y + 40, "mouseup", 1)
    time.sleep(0.3)
    check(ui.exists(POPUP), "a release outside within 500 ms keeps the pop-up open")
    time.sleep(0.5)
    ui.xdotool("click", 1)
    check(ui.gone(POPUP, 3) and gallery.next_line("color ", 1) is None,
          "a release outside after 500 ms closes it, colour kept")
    # The press on its own button that closes the pop-up does not reopen it; a later one does.
    time.sleep(0.3)
    open_popup(ui)
    ui.click_at(CAPTION, 160, 10, 10)
    time.sleep(0.6)
    check(not ui.exists(POPUP), "pressing the button to close the pop-up does not reopen it")
    ui.click_at(CAPTION, 160, 10, 10)
    time.sleep(0.3)
    check(ui.exists(POPUP), "a later press opens it again")
    ui.key("Escape")
    ui.gone(POPUP, 3)


DIALOG = "Color Selection"
HUE, SATURATION, VALUE, RED, GREEN, BLUE, HEX = range(11120, 11127)


def dialog_fields(ui):
    return [ui.control(DIALOG, i)["text"] for i in range(HUE, HEX + 1)]


def type_field(ui, field, text):
    ui.type_into(DIALOG, field, text, erase=len(ui.control(DIALOG, field)["text"]))
    time.sleep(0.3)


def test_color_dialog(ui, gallery):
    ui.click(CAPTION, 170)
    ui.wait(DIALOG)
    old = ui.control(DIALOG, HEX)["text"]
    # field, typed, shown while still typing, shown after leaving it.
    cases = [(HUE, "370", "370", "10"), (HUE, "-10", "-10", "350"), (HUE, "20000", "20000", "280"),
             (SATURATION, "150", "150", "100"), (VALUE, "-5", "-5", "0")]
    for field, typed, typing, left in cases:
        type_field(ui, field, typed)
        while_typing = ui.control(DIALOG, field)["text"]
        ui.key("Tab")
        time.sleep(0.3)
        after = ui.control(DIALOG, field)["text"]
        check((while_typing, after) == (typing, left),
              "typing %s into %d: %r while typing, %r after leaving" % (typed, field, while_typing, after))
    type_field(ui, HEX, "#336699")
    fields = dialog_fields(ui)
    check(fields == ["210", "67", "60", "51", "102", "153", "#336699"],
          "a typed #336699 sets red, green, blue and the HSV edits follow: %r" % fields)
    ui.click_at(DIALOG, 1)
    check(gallery.next_line("dialog ") == "dialog 1 336699" and ui.gone(DIALOG, 3),
          "OK returns the colour")
    ui.click(CAPTION, 170)
    ui.wait(DIALOG)
    type_field(ui, RED, "255")
    ui.click_at(DIALOG, 2)
    check(gallery.next_line("dialog ") == "dialog 2 " + old[1:] and ui.gone(DIALOG, 3),
          "Cancel returns the old colour %s" % old)


MENU = "@#32768"


def test_menu_button(ui, gallery):
    button = ui.control(CAPTION, 180)
    for pick, want in (("first", "command 1801 0"), ("second", "command 1802 0"), ("Escape", None)):
        ui.click_at(CAPTION, 180)
        try:
            menu = ui.tree(MENU, timeout=5)
        except wine_ui.DriverError:
            check(False, "the menu opens (%s)" % pick)
            continue
        check(menu["rect"][:2] == [button["rect"][0], button["rect"][3]],
              "the menu opens below the button: %r" % menu["rect"])
        left, top, right, bottom = menu["rect"]
        if pick == "Escape":
            ui.key("Escape")
        else:
            # Two items of one height: a quarter and three quarters down.
            ui.xdotool("mousemove", left + 20, top + (bottom - top) * (1 if pick == "first" else 3) // 4)
            time.sleep(0.2)
            ui.xdotool("click", 1)
        check(ui.gone(MENU, 3), "the menu closes (%s)" % pick)
        line = gallery.next_line(("command 1801 ", "command 1802 "), 2)
        check(line == want, "the %s item goes to the main window: %r" % (pick, line))


def png_pixels(path):
    data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                          capture_output=True).stdout
    return wine_ui.Screenshot(data)


def crop(shot, left, top, width, height):
    return [shot.pixel(left + x, top + y) for y in range(height) for x in range(width)]


def test_big_button(ui, gallery):
    png = png_pixels(os.path.join(HERE, "..", "..", "..", "builder", "resources", "art", "big_new.png"))
    width, height = png.width, png.height
    left, top, right, bottom = ui.control(CAPTION, 190)["rect"]
    x0, y0 = left + (right - left - width) // 2, top + 6
    ui.xdotool("mousemove", 5, 5)
    time.sleep(0.3)
    shots = {"normal": ui.screenshot()}
    face = shots["normal"].pixel(left + 3, bottom - 4)
    source = crop(png, 0, 0, width, height)
    magenta = (255, 0, 255)
    normal = [face if p == magenta else p for p in source]
    ui.move_to(CAPTION, 190, 5, 5)
    time.sleep(0.3)
    shots["hot"] = ui.screenshot()
    ui.xdotool("mousedown", 1)
    time.sleep(0.3)
    shots["pressed"] = ui.screenshot()
    ui.xdotool("mouseup", 1)
    check(gallery.next_line("command 190 ") == "command 190 0", "a click on the big button")
    ui.xdotool("mousemove", 5, 5)
    ui.click(CAPTION, 191)
    time.sleep(0.3)
    shots["disabled"] = ui.screenshot()
    ui.click(CAPTION, 191)
    got = {k: crop(v, x0, y0, width, height) for k, v in shots.items()}
    check(got["normal"] == normal, "normal: the picture with magenta showing the face %r" % (face,))
    opaque = [i for i, p in enumerate(source) if p != magenta]
    check(all(got["hot"][i] == face for i, p in enumerate(source) if p == magenta) and
          all(min(a >= b for a, b in zip(got["hot"][i], normal[i])) for i in opaque) and
          got["hot"] != normal, "hot: lighter under the pointer")
    check(crop(shots["pressed"], x0 + 1, y0 + 1, width, height) == got["hot"] or
          crop(shots["pressed"], x0 + 1, y0 + 1, width, height) == normal,
          "pressed: the picture one pixel lower and to the right")
    spread = lambda p: max(p) - min(p)
    check(got["disabled"] != normal and
          all(spread(got["disabled"][i]) <= spread(face) // 2 + 1 for i in opaque),
          "disabled: a grey over the face")
    light, dark = shots["normal"].pixel(left, top + 20), shots["normal"].pixel(right - 1, top + 20)
    check(light != dark and shots["pressed"].pixel(left, top + 20) == dark and
          shots["pressed"].pixel(right - 1, top + 20) == light, "the frame's lines reverse when pressed")
    caption = shots["normal"].count(face, left + 2, y0 + height + 2, right - 2, bottom - 2)
    area = (right - left - 4) * (bottom - 2 - y0 - height - 2)
    check(0 < area - caption, "the caption is drawn below the picture")


def test_picture_static(ui, gallery):
    left, top, right, bottom = ui.control(CAPTION, 200)["rect"]
    red, blue = (255, 0, 0), (0, 0, 255)
    shot = ui.screenshot()
    face = shot.pixel(left, top)
    # A smaller picture stays at its size, centred.
    x0, y0 = left + (right - left - 40) // 2, top + (bottom - top - 20) // 2
    points = [((x0, y0), red), ((x0 + 39, y0 + 19), blue), ((x0 - 1, y0), face), ((x0, y0 - 1), face),
              ((x0 + 40, y0 + 19), face), ((x0 + 39, y0 + 20), face)]
    got = [shot.pixel(*p) for p, _ in points]
    check(got == [want for _, want in points], "a small picture centred at its size: %r" % got)
    # A larger one shrinks to the width, keeping its proportions.
    ui.click(CAPTION, 201)
    time.sleep(0.3)
    shot = ui.screenshot()
    width = right - left
    h = 40 * width // 200
    y0 = top + (bottom - top - h) // 2
    points = [((left + 2, y0 + 1), red), ((right - 3, y0 + h - 2), blue), ((left + width // 2, y0 - 2), face),
              ((left + width // 2, y0 + h + 1), face)]
    got = [shot.pixel(*p) for p, _ in points]
    check(got == [want for _, want in points], "a wide picture shrunk to %dx%d: %r" % (width, h, got))


SPLASH = "@KZCSplashWnd"


def test_splash(ui, gallery):
    ui.click(CAPTION, 210)
    try:
        splash = ui.tree(SPLASH, timeout=5)
    except wine_ui.DriverError:
        check(False, "the splash window opens")
        return
    width, height = (int(v) for v in ui.env["SCRKIT_WINE_SCREEN"].split("x"))
    left, top, right, bottom = splash["rect"]
    check([right - left, bottom - top] == [240, 160] and [left, top] == [(width - 240) // 2, (height - 160) // 2],
          "the splash has its bitmap's size, centred: %r" % splash["rect"])
    time.sleep(0.3)
    shot = ui.screenshot()
    yellow, black = (255, 255, 204), (0, 0, 0)
    check(shot.count(yellow, left, top, right, top + 110) == 240 * 110, "the bitmap is painted")
    dark = (240 * 160) - shot.count(yellow, left, top, right, bottom)
    inside = (200 * 40) - shot.count(yellow, left + 20, top + 110, left + 220, top + 150)
    check(dark > 20 and dark == inside, "the text is drawn in its rectangle (%d of %d dark pixels)" % (inside, dark))
    ui.click_at(SPLASH, 0, 120, 40)
    check(ui.gone(SPLASH, 3), "a left click closes the splash")


def overlaps(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def check_unclipped(ui, gallery, window, name):
    """Every visible child inside its window, no two overlapping, every text fitting its control."""
    tree = ui.tree(window)
    children = [c for c in tree["children"] if c["visible"]]
    rect = tree["rect"]
    outside = [c["id"] for c in children if not (rect[0] <= c["rect"][0] and rect[1] <= c["rect"][1]
                                                 and c["rect"][2] <= rect[2] and c["rect"][3] <= rect[3])]
    check(not outside, "%s: controls inside the window %s" % (name, outside))
    crossing = [(a["id"], b["id"]) for i, a in enumerate(children) for b in children[i + 1:]
                if overlaps(a["rect"], b["rect"])]
    check(not crossing, "%s: no controls overlap %s" % (name, crossing))
    rows = gallery.fit(None if window == CAPTION else window)
    tight = [r for r in rows if r[3] > r[1] or r[4] > r[2]]
    check(rows and not tight, "%s: %d texts fit their controls %s" % (name, len(rows), tight))


def test_dpi144(ui, gallery):
    check(gallery.dpi == 144, "the gallery runs at %d dpi" % gallery.dpi)
    check_unclipped(ui, gallery, CAPTION, "gallery")
    for flags, text in ((0x23, "A question"), (0x40, " ".join(["A long text that has to wrap."] * 12))):
        ui.set_text(CAPTION, 150, str(flags))
        ui.set_text(CAPTION, 151, text)
        ui.click(CAPTION, 152)
        ui.wait(BOX)
        check_unclipped(ui, gallery, BOX, "message box 0x%x" % flags)
        ui.close_window(BOX)
        gallery.next_line("box ")
        ui.gone(BOX)
    ui.click(CAPTION, 170)
    ui.wait(DIALOG)
    check_unclipped(ui, gallery, DIALOG, "colour dialog")
    ui.close_window(DIALOG)
    gallery.next_line("dialog ")
    ui.gone(DIALOG)
    open_popup(ui)
    popup = ui.tree(POPUP)["rect"]
    centre, _ = cell_points(ui)
    width, height = (int(v) for v in ui.env["SCRKIT_WINE_SCREEN"].split("x"))
    check(0 <= popup[0] and 0 <= popup[1] and popup[2] <= width and popup[3] <= height and centre,
          "the pop-up opens on the screen with its cells: %r" % popup)
    ui.key("Escape")
    ui.gone(POPUP, 3)


GROUPS = {"simple": [test_message_box, test_excluded_chars, test_radio_group, test_link],
          "color": [test_color_button, test_color_dialog],
          "pictures": [test_menu_button, test_big_button, test_picture_static, test_splash],
          "dpi144": [test_dpi144]}

with wine_ui.Driver(STATE) as ui:
    gallery = Gallery(ui, 144 if GROUP == "dpi144" else None)
    try:
        for test in GROUPS[GROUP]:
            print("--- " + test.__name__)
            try:
                test(ui, gallery)
            except wine_ui.DriverError as error:
                check(False, "%s: %s" % (test.__name__, error))
    finally:
        gallery.stop()

print("control gallery (%s): %d failure(s)" % (GROUP, len(failures)))
sys.exit(1 if failures else 0)
