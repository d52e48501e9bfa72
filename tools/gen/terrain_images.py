#!/usr/bin/env python3
"""Draws the sea floor's images and writes them as C++ data.

    terrain_images.py OUT_CPP OUT_H

Five tileable 256 x 256 DXT1 images (the floor repeats every 20 world units),
each stored as a zlib stream that the texture table inflates:

    FloorSand     pale sand with scattered grains (FloorMaterial 0)
    FloorSilt     darker, greener silt with gravel (FloorMaterial 1)
    FloorRubble   broken rock and shell where ridges and trenches meet
    ReliefRipple  relief (normal) map: sand ripples (FloorMaterial 0)
    ReliefGravel  relief (normal) map: lumpy gravel (FloorMaterial 1)

A relief map holds the surface normal of a height picture per texel: red
along the image's x (the floor's +x), green along its rows (the floor's +z),
blue up, each as (n + 1) / 2.

Everything is seeded: the same script gives the same bytes.
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import dxt  # noqa: E402
import qvdata  # noqa: E402

SIZE = 256


def _hash(i, j, salt):
    h = (i * 73856093) ^ (j * 19349663) ^ (salt * 83492791)
    h = (h ^ (h >> 13)) * 1274126177 & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0


def value_noise(cells, salt):
    """A SIZE x SIZE tileable value-noise picture (rows of floats 0..1) on a
    cells x cells lattice, smoothly interpolated."""
    grid = [[_hash(i, j, salt) for i in range(cells)] for j in range(cells)]
    step = SIZE / cells
    xs = []
    for x in range(SIZE):
        f = (x + 0.5) / step - 0.5
        i = math.floor(f)
        t = f - i
        t = t * t * (3.0 - 2.0 * t)
        xs.append((i % cells, (i + 1) % cells, t))
    rows = []
    for y in range(SIZE):
        f = (y + 0.5) / step - 0.5
        j = math.floor(f)
        t = f - j
        t = t * t * (3.0 - 2.0 * t)
        g0 = grid[j % cells]
        g1 = grid[(j + 1) % cells]
        row = []
        for i0, i1, s in xs:
            a = g0[i0] + (g0[i1] - g0[i0]) * s
            b = g1[i0] + (g1[i1] - g1[i0]) * s
            row.append(a + (b - a) * t)
        rows.append(row)
    return rows


def fbm(octaves, salt):
    """Sum of value-noise octaves [(cells, weight), ...], scaled to 0..1."""
    total = [[0.0] * SIZE for _ in range(SIZE)]
    weight_sum = 0.0
    for k, (cells, weight) in enumerate(octaves):
        layer = value_noise(cells, salt * 31 + k)
        weight_sum += weight
        for y in range(SIZE):
            row, src = total[y], layer[y]
            for x in range(SIZE):
                row[x] += src[x] * weight
    return [[v / weight_sum for v in row] for row in total]


def grains(count, rmin, rmax, salt):
    """Small round grains: a picture of 0..1 coverage (tileable)."""
    cover = [[0.0] * SIZE for _ in range(SIZE)]
    for n in range(count):
        cx = _hash(n, 1, salt) * SIZE
        cy = _hash(n, 2, salt) * SIZE
        r = rmin + (rmax - rmin) * _hash(n, 3, salt)
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if d < r:
                    c = min(1.0, (r - d) * 1.5)
                    row = cover[y % SIZE]
                    row[x % SIZE] = max(row[x % SIZE], c)
    return cover


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def clamp8(v):
    return max(0, min(255, int(round(v))))


def colour_image(paint):
    """DXT1 DDS from paint(x, y) -> (r, g, b) floats 0..255."""
    def painter(bx, by):
        def pixels():
            return [tuple(clamp8(c) for c in paint(bx * 4 + i, by * 4 + j)) + (255,)
                    for j in range(4) for i in range(4)]
        return None, pixels
    return dxt.build_dds(SIZE, SIZE, "DXT1", painter)


def relief_image(height, strength):
    """DXT1 DDS of the normals of a tileable height picture (0..1)."""
    def normal(x, y):
        dx = (height[y][(x + 1) % SIZE] - height[y][(x - 1) % SIZE]) * 0.5 * strength
        dy = (height[(y + 1) % SIZE][x] - height[(y - 1) % SIZE][x]) * 0.5 * strength
        n = (-dx, -dy, 1.0)
        length = math.sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2])
        return tuple((c / length * 0.5 + 0.5) * 255.0 for c in n)
    return colour_image(normal)


def floor_sand():
    broad = fbm([(4, 1.0), (8, 0.6), (16, 0.35), (32, 0.2), (64, 0.12)], 11)
    speck = grains(900, 0.6, 1.8, 12)
    dark = grains(160, 0.8, 2.2, 13)
    base, light, shade = (196, 182, 146), (226, 214, 178), (150, 138, 108)

    def paint(x, y):
        c = mix(shade, light, broad[y][x])
        c = mix(c, base, 0.35)
        c = mix(c, (236, 228, 205), speck[y][x] * 0.6)
        return mix(c, (104, 96, 80), dark[y][x] * 0.7)
    return colour_image(paint)


def floor_silt():
    broad = fbm([(4, 1.0), (8, 0.7), (16, 0.4), (32, 0.25), (64, 0.15)], 21)
    gravel = grains(420, 1.2, 3.6, 22)
    tint = fbm([(2, 1.0), (4, 0.5)], 23)
    low, high = (122, 128, 102), (182, 184, 146)

    def paint(x, y):
        c = mix(low, high, broad[y][x])
        c = mix(c, (160, 154, 120), tint[y][x] * 0.4)
        g = gravel[y][x]
        stone = mix((196, 188, 168), (124, 116, 104), _hash(x // 3, y // 3, 24))
        return mix(c, stone, g * 0.85)
    return colour_image(paint)


def floor_rubble():
    broad = fbm([(8, 1.0), (16, 0.8), (32, 0.5), (64, 0.3)], 31)
    cracks = fbm([(16, 1.0), (32, 0.5)], 32)
    shells = grains(260, 1.0, 3.0, 33)

    def paint(x, y):
        v = broad[y][x]
        c = mix((92, 82, 72), (168, 152, 128), v)
        crack = 1.0 - min(1.0, abs(cracks[y][x] - 0.5) * 14.0)
        c = mix(c, (70, 62, 54), crack * 0.6)
        return mix(c, (232, 222, 206), shells[y][x] * 0.75)
    return colour_image(paint)


def relief_ripple():
    wobble = fbm([(4, 1.0), (8, 0.5)], 41)
    fine = fbm([(32, 1.0), (64, 0.6)], 42)
    height = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            # Eight ripple crests across the tile, bent by the wobble.
            phase = (y / SIZE * 8.0 + wobble[y][x] * 1.5) * 2.0 * math.pi
            crest = 0.5 + 0.5 * math.sin(phase + 0.3 * math.sin(phase))
            row.append(crest * 0.8 + fine[y][x] * 0.2)
        height.append(row)
    return relief_image(height, 8.0)


def relief_gravel():
    lumps = fbm([(16, 1.0), (32, 0.7), (64, 0.4)], 51)
    stones = grains(420, 1.2, 3.6, 22)
    height = [[lumps[y][x] * 0.6 + stones[y][x] * 0.5 for x in range(SIZE)] for y in range(SIZE)]
    return relief_image(height, 6.0)


IMAGES = [
    ("FloorSand", floor_sand),
    ("FloorSilt", floor_silt),
    ("FloorRubble", floor_rubble),
    ("ReliefRipple", relief_ripple),
    ("ReliefGravel", relief_gravel),
]


def main(argv):
    if len(argv) != 2:
        print("usage: terrain_images.py OUT_CPP OUT_H", file=sys.stderr)
        return 2
    out_cpp, out_h = argv
    cpp = ["// Generated by tools/gen/terrain_images.py. Do not edit.",
           '#include "%s"' % os.path.basename(out_h), "", "namespace TerrainImages {", ""]
    h = ["// Generated by tools/gen/terrain_images.py. Do not edit.", "#pragma once", "",
         "namespace TerrainImages {", "",
         "// Tileable 256 x 256 DXT1 images, each a zlib stream of a DDS file."]
    for name, draw in IMAGES:
        stream = qvdata.compress(draw())
        cpp.append(qvdata.c_array("k%s" % name, stream))
        h.append("extern const unsigned char k%s[%d];" % (name, len(stream)))
        h.append("constexpr unsigned k%sSize = %d;" % (name, len(stream)))
    cpp += ["}  // namespace TerrainImages", ""]
    h += ["", "}  // namespace TerrainImages", ""]
    qvdata.write_if_changed(out_cpp, "\n".join(cpp))
    qvdata.write_if_changed(out_h, "\n".join(h))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
