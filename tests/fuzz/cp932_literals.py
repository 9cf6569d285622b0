#!/usr/bin/env python3
"""Copies a UTF-8 C++ source, writing every non-ASCII character inside a
string or character literal as octal escapes of its code page 932 bytes.

clang 14 knows no execution character set but UTF-8, and a raw code page
932 source would not do either: many trail bytes are a backslash. The
escaped copy gives clang the very bytes the other builds compile.
Usage: cp932_literals.py SOURCE COPY"""
import os
import sys


def escaped(char):
    return "".join("\\%03o" % byte for byte in char.encode("cp932"))


def convert(text):
    out = []
    i, quote = 0, None
    while i < len(text):
        c = text[i]
        if quote:
            if c == "\\":
                out.append(text[i:i + 2])
                i += 2
                continue
            if c == quote:
                quote = None
            out.append(escaped(c) if ord(c) > 0x7F else c)
        elif text.startswith("//", i):
            end = text.find("\n", i)
            end = len(text) if end < 0 else end
            out.append(text[i:end])
            i = end
            continue
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = len(text) if end < 0 else end + 2
            out.append(text[i:end])
            i = end
            continue
        else:
            if c in "\"'" and not (c == "'" and text[i - 1:i].isalnum()):
                quote = c
            out.append(c)
        i += 1
    return "".join(out)


def main(source, copy):
    with open(source, encoding="utf-8") as f:
        text = f.read()
    os.makedirs(os.path.dirname(copy) or ".", exist_ok=True)
    with open(copy, "w", encoding="utf-8", newline="") as f:
        f.write(convert(text))


if __name__ == "__main__":
    main(*sys.argv[1:])
