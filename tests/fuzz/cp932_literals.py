#!/usr/bin/env python3
"""Copies a UTF-8 C++ source, writing every non-ASCII character inside a
narrow string or character literal as octal escapes of its code page 932
bytes.

clang 14 knows no execution character set but UTF-8, and a raw code page
932 source would not do either: many trail bytes are a backslash. The
escaped copy gives clang the very bytes the other builds compile. Wide and
UTF literals (L, u, U, u8) stay as they are: their units do not depend on
the execution character set, and clang reads them from UTF-8 as the other
builds do.
Usage: cp932_literals.py SOURCE COPY"""
import os
import sys

PREFIXES = ("L", "u", "U", "u8")


def escaped(char):
    return "".join("\\%03o" % byte for byte in char.encode("cp932"))


def literal_prefix(text, i):
    """What stands before the quote at text[i]: (prefix, raw), or None when
    the quote is a digit separator (1'000)."""
    start = i
    while start > 0 and (text[start - 1].isalnum() or text[start - 1] in "_."):
        start -= 1
    token = text[start:i]
    if token[:1].isdigit() or token[:1] == ".":
        return None if text[i] == "'" else ("", False)
    raw = token.endswith("R")
    prefix = token[:-1] if raw else token
    if prefix not in ("",) + PREFIXES:  # a macro or identifier: a plain literal follows
        return ("", False)
    return (prefix, raw)


def raw_end(text, i):
    """The end of the raw string whose quote is text[i]."""
    open_paren = text.index("(", i)
    closing = ")" + text[i + 1:open_paren] + '"'
    return text.index(closing, open_paren) + len(closing)


def convert(text):
    out = []
    i, quote, narrow = 0, None, False
    while i < len(text):
        c = text[i]
        if quote:
            if c == "\\":
                out.append(text[i:i + 2])
                i += 2
                continue
            if c == quote:
                quote = None
            out.append(escaped(c) if narrow and ord(c) > 0x7F else c)
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
        elif c in "\"'" and literal_prefix(text, i) is not None:
            prefix, raw = literal_prefix(text, i)
            if raw:
                end = raw_end(text, i)
                body = text[i:end]
                if prefix == "" and any(ord(ch) > 0x7F for ch in body):
                    raise ValueError("a narrow raw string cannot hold escapes: " + body)
                out.append(body)
                i = end
                continue
            quote, narrow = c, prefix == ""
            out.append(c)
        else:
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
