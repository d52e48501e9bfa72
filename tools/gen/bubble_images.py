#!/usr/bin/env python3
"""Draws the images of the rising bubbles and writes them as a C++ source.

- Bubble0 .. Bubble3: a short trail of bubbles, largest at the top, each a
  thin bright rim round a faint body with a highlight towards the light; the
  four frames sway the trail from side to side, one step each.
- BubbleGlare0 .. BubbleGlare3: the same four frames with only the
  highlights and the upper rims, for the glare image.

Each image is a 24-bit TGA (black where nothing is, the bubbles are added
over the scene) stored as a zlib stream (the texture table inflates data
that begins 0x78 0x9C). The output is deterministic.

Usage:
    bubble_images.py --out-dir DIR      (writes DIR/BubbleImages.cpp and .h)
    bubble_images.py --tga DIR          (writes the TGA files, to look at them)
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import dxt  # noqa: E402
import qvdata  # noqa: E402

SIZE = 64
FRAMES = 4

# The trail from the top down: (height 0..1 from the top, radius, sway phase).
TRAIL = [
    (0.14, 0.095, 0.0),
    (0.36, 0.075, 1.3),
    (0.55, 0.062, 2.5),
    (0.71, 0.050, 3.6),
    (0.83, 0.040, 4.4),
    (0.92, 0.030, 5.1),
]
SWAY = 0.07


def _clamp(x):
    return 0 if x <= 0.0 else 255 if x >= 1.0 else int(x * 255.0 + 0.5)


def bubbles(frame):
    """Centres and radii of the trail in one frame, in 0..1 image units."""
    out = []
    for height, radius, phase in TRAIL:
        x = 0.5 + SWAY * math.sin(phase + frame * math.pi / 2.0) * (0.4 + height)
        out.append((x, height, radius))
    return out


def bubble_light(dx, dy, radius, glare):
    """Brightness of one bubble at an offset from its centre."""
    r = math.hypot(dx, dy) / radius
    rim_width = 0.16
    rim = math.exp(-((r - 1.0) / rim_width) ** 2)
    hx, hy = dx / radius + 0.38, dy / radius + 0.38
    highlight = math.exp(-(hx * hx + hy * hy) / 0.035)
    if glare:
        # Only what catches the light: the highlight and the rim's upper side.
        upper = max(0.0, -dy / radius) if r > 0 else 0.0
        return 1.2 * highlight + 0.5 * rim * upper
    body = 0.12 if r < 1.0 else 0.0
    return 0.85 * rim + body + 1.0 * highlight


def pixel(x, y, frame, glare):
    u, v = (x + 0.5) / SIZE, (y + 0.5) / SIZE
    light = 0.0
    for cx, cy, radius in bubbles(frame):
        light += bubble_light(u - cx, v - cy, radius, glare)
    # Blue, green, red: pale, leaning to the water's cyan.
    return (_clamp(light), _clamp(light * 0.96), _clamp(light * 0.86))


def tga(frame, glare):
    def row(y):
        out = bytearray()
        for x in range(SIZE):
            out += bytes(pixel(x, y, frame, glare))
        return bytes(out)
    return dxt.build_tga24(SIZE, SIZE, row)


def images():
    result = [("Bubble%d" % k, tga(k, False)) for k in range(FRAMES)]
    result += [("BubbleGlare%d" % k, tga(k, True)) for k in range(FRAMES)]
    return result


def write_sources(out_dir):
    qvdata.write_image_sources(out_dir, "bubble_images.py", "BubbleImages", images())


def main(argv):
    return qvdata.image_generator_main(argv, __doc__.split("\n")[0], write_sources, images)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
