#!/usr/bin/env python3
"""Copies a UTF-8 C++ source, writing every non-ASCII character inside a
narrow string or character literal as octal escapes of its code page 932
bytes.

clang 14 knows no execution character set but UTF-8, and a raw code page
932 source would not do either: many trail bytes are a backslash. The
escaped copy gives clang the very bytes the other builds compile. Only the
table of the user's texts (text/user_texts.h) needs it: no other source
holds a narrow non-ASCII literal (scripts/check_texts.py, which finds the
literals with literals() below). Wide and UTF literals (L, u, U, u8) stay
as they are: their units do not depend on the execution character set, and
clang reads them from UTF-8 as the other builds do.
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


def quoted_end(text, i):
    """The end of the ordinary literal whose opening quote is text[i]."""
    j = i + 1
    while j < len(text) and text[j] != text[i]:
        j += 2 if text[j] == "\\" else 1
    return min(j + 1, len(text))


def literals(text):
    """Each string or character literal of a C++ source, outside comments,
    as (start, end, narrow, raw): text[start:end] is the literal from its
    opening quote on, narrow when it has no encoding prefix."""
    i = 0
    while i < len(text):
        if text.startswith("//", i):
            end = text.find("\n", i)
            i = len(text) if end < 0 else end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            i = len(text) if end < 0 else end + 2
        elif text[i] in "\"'" and literal_prefix(text, i) is not None:
            prefix, raw = literal_prefix(text, i)
            end = raw_end(text, i) if raw else quoted_end(text, i)
            yield i, end, prefix == "", raw
            i = end
        else:
            i += 1


def convert(text):
    out, done = [], 0
    for start, end, narrow, raw in literals(text):
        body = text[start:end]
        if not narrow or not any(ord(ch) > 0x7F for ch in body):
            continue
        if raw:
            raise ValueError("a narrow raw string cannot hold escapes: " + body)
        out.append(text[done:start])
        out.append("".join(escaped(ch) if ord(ch) > 0x7F else ch for ch in body))
        done = end
    out.append(text[done:])
    return "".join(out)


def main(source, copy):
    with open(source, encoding="utf-8") as f:
        text = f.read()
    os.makedirs(os.path.dirname(copy) or ".", exist_ok=True)
    with open(copy, "w", encoding="utf-8", newline="") as f:
        f.write(convert(text))


if __name__ == "__main__":
    main(*sys.argv[1:])
