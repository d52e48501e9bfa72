#!/usr/bin/env python3
"""Draws the images of the fog effects and writes them as a C++ source.

- HalationGlow: the glint that the halation adds over a fish whose side
  mirrors the sun: a white core in a pale cyan halo, with four faint rays.
- SoftFog0 .. SoftFog3: soft, cloudy blobs that the soft fog subtracts from
  the distance; each a different patch of the same noise, fading to nothing
  at its edges, shaded so that the distance darkens and stays blue.

Each image is a 24-bit TGA stored as a zlib stream (the texture table
inflates data that begins 0x78 0x9C). The output is deterministic.

Usage:
    fog_images.py --out-dir DIR      (writes DIR/FogImages.cpp and .h)
    fog_images.py --tga DIR          (writes the TGA files, to look at them)
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import dxt  # noqa: E402
import qvdata  # noqa: E402

GLOW_SIZE = 64
FOG_SIZE = 128
FOG_COUNT = 4


def _clamp(x):
    return 0 if x <= 0.0 else 255 if x >= 1.0 else int(x * 255.0 + 0.5)


def _smooth(e0, e1, x):
    t = min(max((x - e0) / (e1 - e0), 0.0), 1.0)
    return t * t * (3.0 - 2.0 * t)


def _hash(i, j, salt):
    h = (i * 73856093) ^ (j * 19349663) ^ (salt * 83492791)
    h = (h ^ (h >> 13)) * 1274126177 & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0


def _value_noise(x, y, salt):
    """Smoothly interpolated lattice noise, 0..1."""
    i, j = math.floor(x), math.floor(y)
    fx, fy = x - i, y - j
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a = _hash(i, j, salt)
    b = _hash(i + 1, j, salt)
    c = _hash(i, j + 1, salt)
    d = _hash(i + 1, j + 1, salt)
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy


def _clouds(x, y, salt):
    """Four octaves of value noise, 0..1."""
    total, amplitude, frequency, norm = 0.0, 1.0, 1.0, 0.0
    for octave in range(4):
        total += amplitude * _value_noise(x * frequency, y * frequency, salt + octave * 17)
        norm += amplitude
        amplitude *= 0.5
        frequency *= 2.0
    return total / norm


def glow_pixel(x, y):
    c = (GLOW_SIZE - 1) / 2.0
    dx, dy = (x - c) / c, (y - c) / c
    r = math.hypot(dx, dy)
    core = math.exp(-(r / 0.12) ** 2)
    halo = 0.45 * math.exp(-(r / 0.42) ** 2)
    ray = 0.5 * math.exp(-(min(abs(dx), abs(dy)) / 0.03) ** 2) * max(0.0, 1.0 - r) ** 2
    fade = 1.0 - _smooth(0.8, 1.0, r)
    v = (core + halo + ray) * fade
    # Blue, green, red: the halo leans to the water's cyan, the core is white.
    return (_clamp(v), _clamp(v * (0.93 + 0.07 * core)), _clamp(v * (0.78 + 0.22 * core)))


def fog_pixel(x, y, k):
    c = (FOG_SIZE - 1) / 2.0
    dx, dy = (x - c) / c, (y - c) / c
    r = math.hypot(dx, dy * 1.25)
    edge = 1.0 - _smooth(0.35, 1.0, r)
    u, v = x / FOG_SIZE * 4.0 + 7.3 * k, y / FOG_SIZE * 4.0 + 3.1 * k
    cloud = _clouds(u, v, 101 + k)
    shade = edge * (0.35 + 0.65 * _smooth(0.25, 0.75, cloud))
    # Blue, green, red: red and green go first, so the distance stays blue.
    return (_clamp(shade * 0.55), _clamp(shade * 0.85), _clamp(shade))


def tga(size, pixel):
    def row(y):
        out = bytearray()
        for x in range(size):
            out += bytes(pixel(x, y))
        return bytes(out)
    return dxt.build_tga24(size, size, row)


def images():
    result = [("HalationGlow", tga(GLOW_SIZE, glow_pixel))]
    for k in range(FOG_COUNT):
        result.append(("SoftFog%d" % k, tga(FOG_SIZE, lambda x, y, k=k: fog_pixel(x, y, k))))
    return result


def write_sources(out_dir):
    qvdata.write_image_sources(out_dir, "fog_images.py", "FogImages", images())


def main(argv):
    return qvdata.image_generator_main(argv, __doc__.split("\n")[0], write_sources, images)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
