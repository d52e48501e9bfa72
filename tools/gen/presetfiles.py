#!/usr/bin/env python3
"""Converts the preset files (kept UTF-8 in the source tree) into the
Shift-JIS (code page 932) ini files with CR LF line ends that the program
reads with the private-profile functions.

usage: presetfiles.py SOURCE_ROOT OUTPUT_ROOT RELATIVE_PATH...
Each RELATIVE_PATH (for example 1/qelvar.ini) is read below SOURCE_ROOT and
written to the same place below OUTPUT_ROOT, unless it already holds exactly
those bytes.
"""
import os
import sys

import qvdata


def convert(text: str, name: str) -> bytes:
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    body = "".join(line + "\r\n" for line in lines)
    try:
        return body.encode("cp932")
    except UnicodeEncodeError as e:
        raise SystemExit("%s: character %r has no Shift-JIS form" % (name, body[e.start:e.end]))


def main(argv):
    if len(argv) < 4:
        raise SystemExit(__doc__)
    source, output = argv[1], argv[2]
    for rel in argv[3:]:
        with open(os.path.join(source, rel), "r", encoding="utf-8") as f:
            text = f.read()
        if text.startswith("\ufeff"):
            text = text[1:]
        qvdata.write_bytes_if_changed(os.path.join(output, rel), convert(text, rel))


if __name__ == "__main__":
    main(sys.argv)
