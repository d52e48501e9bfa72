#!/usr/bin/env python3
"""Writes the texture table's fallback picture: a 64 x 64 24-bit TGA with an
8 x 8 checker of dark grey and orange, so a missing texture is plain to see.

Run once by hand; its output, data/engine/images/fallback.tga, is kept in the
repository and turned into program data by gen_data.py.
"""
import os
import sys

import dxt

SIZE = 64
CELL = 8
DARK = (0x40, 0x40, 0x40)     # blue, green, red
BRIGHT = (0x20, 0x90, 0xF0)


def image_bytes():
    def row(y):
        return b"".join(bytes(BRIGHT if ((x // CELL) + (y // CELL)) % 2 else DARK) for x in range(SIZE))
    return dxt.build_tga24(SIZE, SIZE, row)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "..", "data", "engine", "images", "fallback.tga")
    with open(out, "wb") as f:
        f.write(image_bytes())
