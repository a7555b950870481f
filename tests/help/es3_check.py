#!/usr/bin/env python3
"""The help pages' scripts against the panel's old engine: every script (the .js files, the
inline scripts of the pages and their event-handler attributes, extracted) parses with acorn as
ECMAScript 3, and no script or style sheet (the .css files, <style> blocks and style attributes)
uses what old_engine_limits.txt lists. The files that do not depend on the language (scripts,
style sheets, pictures) live in the first folder only, and every other folder holds its pages.

usage: es3_check.py HELP_DIR [HELP_DIR...]   (the first is the reference for the shared files)
Exit status 1 with one line per fault when anything is wrong.
"""
import html.parser
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SHARED = (".js", ".css", ".gif", ".png", ".jpg")
PAGE_FILES = SHARED + (".html",)


def load_rules():
    rules = []
    with open(os.path.join(HERE, "old_engine_limits.txt"), encoding="utf-8") as f:
        for line in f:
            if line.strip() and not line.startswith("#"):
                where, pattern, why = line.rstrip("\n").split("\t")
                rules.append((where, re.compile(pattern), why))
    return rules


class Extractor(html.parser.HTMLParser):
    """Inline scripts, event handlers and styles of a page, each with its line."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.scripts, self.styles = [], []
        self._open = None

    def handle_starttag(self, tag, attrs):
        line = self.getpos()[0]
        for name, value in attrs:
            if name.startswith("on") and value is not None:
                # A handler is the body of a function.
                self.scripts.append((line - 1, "function handler(event) {\n%s\n}\n" % value))
            elif name == "style" and value:
                self.styles.append((line, "x { %s }" % value))
        if tag == "script" and not dict(attrs).get("src"):
            self._open = ("script", line, [])
        elif tag == "style":
            self._open = ("style", line, [])

    def handle_data(self, data):
        if self._open:
            self._open[2].append(data)

    def handle_endtag(self, tag):
        if self._open and tag == self._open[0]:
            kind, line, parts = self._open
            (self.scripts if kind == "script" else self.styles).append((line, "".join(parts)))
            self._open = None


def parse_es3(path):
    """acorn's complaint, or None; and the text with comments blanked (lines kept)."""
    acorn = shutil.which("acorn")
    if not acorn:
        raise SystemExit("acorn not found: node-acorn is installed by scripts/bootstrap")
    run = subprocess.run([acorn, "--ecma3", "--silent", path], capture_output=True, text=True)
    if run.returncode:
        return (run.stderr or run.stdout).strip(), None
    tokens = json.loads(subprocess.run([acorn, "--ecma3", "--tokenize", path], check=True,
                                       capture_output=True, text=True).stdout)
    with open(path, encoding="utf-8") as f:
        source = f.read()
    kept = [c if c == "\n" else " " for c in source]
    for token in tokens:
        kept[token["start"]:token["end"]] = source[token["start"]:token["end"]]
    return None, "".join(kept)


def scan(text, where, rules, name, lines, faults):
    """lines[i] is the file's line number of the text's line i."""
    for number, line in enumerate(text.split("\n")):
        for kind, pattern, why in rules:
            if kind == where and pattern.search(line):
                faults.append("%s:%d: %s (%s)" % (name, lines[number], line.strip(), why))


def check_scripts(pieces, name, rules, work, faults):
    """The scripts of one file, each given with its first line, parsed as one program (one
    acorn run per file rather than per handler)."""
    text, lines = "", []
    for first_line, piece in pieces:
        piece = piece.rstrip("\n") + "\n"
        text += piece
        lines += range(first_line, first_line + piece.count("\n"))
    lines.append(lines[-1] if lines else 1)
    path = os.path.join(work, "script.js")
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    complaint, blanked = parse_es3(path)
    if complaint:
        at = re.search(r"\((?:.*) (\d+):\d+\)", complaint)
        line = lines[min(int(at.group(1)), len(lines)) - 1] if at else 1
        faults.append("%s:%d: not ECMAScript 3: %s" % (name, line, complaint))
    else:
        scan(blanked, "js", rules, name, lines, faults)


def check_style(text, name, first_line, rules, faults):
    blanked = re.sub(r"/\*.*?\*/", lambda m: re.sub(r"[^\n]", " ", m.group()), text, flags=re.S)
    scan(blanked, "css", rules, name, range(first_line, first_line + text.count("\n") + 1),
         faults)


def page_files(folder):
    return sorted(e for e in os.listdir(folder) if e.endswith(PAGE_FILES))


def check_folder(folder, rules, work, faults):
    for entry in page_files(folder):
        path = os.path.join(folder, entry)
        with open(path, "rb") as f:
            data = f.read()
        name = os.path.relpath(path)
        if entry.endswith(".js"):
            check_scripts([(1, data.decode("utf-8"))], name, rules, work, faults)
        elif entry.endswith(".css"):
            check_style(data.decode("utf-8"), name, 1, rules, faults)
        elif entry.endswith(".html"):
            page = Extractor()
            page.feed(data.decode("utf-8"))
            if page.scripts:
                check_scripts(page.scripts, name, rules, work, faults)
            for line, text in page.styles:
                check_style(text, name, line, rules, faults)


def main(folders):
    rules, faults = load_rules(), []
    with tempfile.TemporaryDirectory() as work:
        for folder in folders:
            check_folder(folder, rules, work, faults)
    reference = folders[0]
    pages = [entry for entry in page_files(reference) if not entry.endswith(SHARED)]
    for folder in folders[1:]:
        if page_files(folder) != pages:
            faults.append("%s: other files than the pages of %s: %s" % (
                folder, reference, sorted(set(page_files(folder)) ^ set(pages))))
    for fault in faults:
        print(fault)
    print("%d fault(s) in %s" % (len(faults), ", ".join(folders)))
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    sys.exit(main(sys.argv[1:]))
