#!/usr/bin/env python3
"""Checks of the sea surface's build-time data: the output is the same on
every run, the grid X file is the shader mesh at a tenth of its size, and
the disturbance images are water heights that tile around grey 128."""
import os
import re
import sys
import tempfile
import unittest
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "gen"))

import seaface_gen  # noqa: E402


class Generated(unittest.TestCase):
    def test_reproducible(self):
        with tempfile.TemporaryDirectory() as d:
            outs = []
            for k in range(2):
                cpp, h = os.path.join(d, "c%d.cpp" % k), os.path.join(d, "c%d.h" % k)
                self.assertEqual(seaface_gen.main([cpp, h]), 0)
                with open(cpp, "rb") as f:
                    outs.append(f.read())
            self.assertEqual(outs[0], outs[1])

    def test_grid_is_the_surface_at_a_tenth(self):
        big = seaface_gen.surface()
        text = seaface_gen.grid_x_file(seaface_gen.surface(0.1)).decode("ascii")
        self.assertTrue(text.startswith("xof 0303txt 0032\nMesh mesh1 {\n 1837;\n"))
        first = re.search(r"\n (-?[\d.]+);(-?[\d.]+);(-?[\d.]+);", text).groups()
        self.assertAlmostEqual(float(first[0]) * 10.0, big.vertices[0][0], places=3)
        self.assertAlmostEqual(float(first[2]) * 10.0, big.vertices[0][2], places=3)
        self.assertIn("\n 2916;\n", text)
        # The block the program inflates into a buffer of 528,896 bytes at least.
        self.assertLess(len(text), 528896)
        self.assertEqual(zlib.decompress(zlib.compress(text.encode())), text.encode())

    def test_disturbance_tiles_around_rest(self):
        rows = seaface_gen.disturbance(7, 9)
        size = len(rows)
        values = [p[0] for row in rows for p in row]
        mean = sum(values) / len(values)
        self.assertTrue(abs(mean - 127.5) < 12, mean)
        self.assertGreater(max(values), 200)
        self.assertLess(min(values), 60)
        # Opposite edges meet as neighbours do inside.
        inner = sum(abs(rows[y][x][0] - rows[y][x + 1][0]) for y in range(size) for x in range(size - 1))
        inner /= size * (size - 1)
        wrap = sum(abs(rows[y][size - 1][0] - rows[y][0][0]) for y in range(size)) / size
        self.assertLess(wrap, 3.0 * inner + 1.0)


if __name__ == "__main__":
    unittest.main()
