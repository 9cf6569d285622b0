#!/usr/bin/env python3
"""Fails when a narrow string or character literal holding anything but
ASCII stands in the program's sources outside the table of the user's
texts (text/user_texts.h), naming each as FILE:LINE.

Every text the user reads is named once in that table (the resource file,
res/quorvel.rc, keeps the menu, the dialogs and the tooltips), so a text
is changed in one place, and the fuzz build compiles every other source
as it is. Comments may be Japanese. Wide and UTF literals (u"é") are not
looked at: they are UTF-16 or UTF-8 whatever the execution character set,
and no text the user reads is one. The unit tests are outside the check:
a test that checks a message's very bytes spells them. The fakes and the
fuzz targets are inside, since clang compiles them as they are, where such
a literal would be UTF-8 rather than the program's bytes.
Usage: scripts/check_texts.py [ROOT]"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "fuzz"))
from cp932_literals import literals  # noqa: E402  (the fuzz build's own reading of C++)

FOLDERS = ("app", "catalogue", "export", "files", "history", "operations", "platform", "settings",
           "text", "res", "tests/fakes", "tests/fuzz")
TABLE = "text/user_texts.h"


def stray_texts(root):
    """(path, line, literal) of each narrow non-ASCII literal outside the table."""
    found = []
    for folder in FOLDERS:
        for name in sorted(os.listdir(os.path.join(root, folder))):
            path = folder + "/" + name
            if not name.endswith((".h", ".cpp")) or path == TABLE:
                continue
            with open(os.path.join(root, path), encoding="utf-8") as f:
                text = f.read()
            for start, end, narrow, _ in literals(text):
                literal = text[start:end]
                if narrow and any(ord(ch) > 0x7F for ch in literal):
                    found.append((path, text.count("\n", 0, start) + 1, literal))
    return found


def main(root):
    found = stray_texts(root)
    for path, line, literal in found:
        print("%s:%d: a narrow non-ASCII literal outside %s: %s" % (path, line, TABLE, literal),
              file=sys.stderr)
    if found:
        print("check_texts: name these texts in %s and use them by name" % TABLE,
              file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..")))
