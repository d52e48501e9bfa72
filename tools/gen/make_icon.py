#!/usr/bin/env python3
"""Draws the program's window icon: a small fish in deep water, 32x32 and
16x16, written as a Windows .ico file (32-bit images with an AND mask).

    make_icon.py OUTPUT.ico
"""
import math
import struct
import sys


def inside_fish(x, y):
    """Body an ellipse, tail a triangle on the left, in unit coordinates."""
    bx, by = (x - 0.56) / 0.30, (y - 0.50) / 0.19
    if bx * bx + by * by <= 1.0:
        return "body"
    # Tail: apex touching the body, fanning out to the left.
    if 0.12 <= x <= 0.30:
        half = (0.30 - x) * 0.95
        if abs(y - 0.50) <= half:
            return "tail"
    return None


def pixel(x, y, size):
    u, v = (x + 0.5) / size, (y + 0.5) / size
    # Rounded square of water, darker towards the bottom.
    cx, cy = abs(u - 0.5), abs(v - 0.5)
    r = 0.40
    if cx > 0.5 - 0.02 or cy > 0.5 - 0.02:
        return (0, 0, 0, 0)
    dx, dy = max(cx - r, 0.0), max(cy - r, 0.0)
    if dx * dx + dy * dy > (0.5 - r - 0.02) ** 2:
        return (0, 0, 0, 0)
    water = (int(20 + 40 * (1 - v)), int(70 + 80 * (1 - v)), int(150 + 80 * (1 - v)))
    part = inside_fish(u, v)
    if part == "body":
        # Eye.
        if math.hypot(u - 0.75, v - 0.46) < 0.045:
            return (10, 10, 30, 255)
        stripe = 0.50 <= u <= 0.58
        return (255, 255, 255, 255) if stripe else (250, 150, 40, 255)
    if part == "tail":
        return (230, 120, 30, 255)
    # A bubble.
    if abs(math.hypot(u - 0.82, v - 0.22) - 0.06) < 0.02:
        return (200, 230, 255, 255)
    return water + (255,)


def image(size):
    rows = []
    mask_rows = []
    mask_stride = ((size + 31) // 32) * 4
    for y in range(size - 1, -1, -1):  # bottom-up
        row = bytearray()
        mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            row += bytes((b, g, r, a))
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         size * size * 4 + mask_stride * size, 0, 0, 0, 0)
    return header + b"".join(rows) + b"".join(mask_rows)


def ico(sizes):
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def main():
    data = ico([32, 16])
    with open(sys.argv[1], "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
