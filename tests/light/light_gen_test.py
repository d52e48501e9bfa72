#!/usr/bin/env python3
"""Checks of the light effects' build-time data: the caustic loop tiles and
loops without a jump, the cube-map DDS is laid out as the loaders read it,
the JPEG encoder's output is a baseline JFIF file, and the meshes face the
right way."""
import math
import os
import struct
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "gen"))

import imagefiles  # noqa: E402
import jpeg  # noqa: E402
import lightart  # noqa: E402
import lightmesh  # noqa: E402


def level(p):
    return p[0] + p[1] + p[2]


def mean_step(rows_a, rows_b):
    """Mean absolute difference between two pictures of the same size."""
    total = 0.0
    n = 0
    for ra, rb in zip(rows_a, rows_b):
        for pa, pb in zip(ra, rb):
            total += abs(level(pa) - level(pb))
            n += 1
    return total / n


class CausticLoop(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.frames = lightart.caustic_frames(size=32, frames=32)

    def test_tiles_without_a_seam(self):
        # Across the wrap the picture changes no more than between neighbours inside.
        for rows in self.frames[::8]:
            size = len(rows)
            inner = sum(abs(level(rows[y][x]) - level(rows[y][x + 1]))
                        for y in range(size) for x in range(size - 1)) / (size * (size - 1))
            wrap_x = sum(abs(level(rows[y][size - 1]) - level(rows[y][0])) for y in range(size)) / size
            wrap_y = sum(abs(level(rows[size - 1][x]) - level(rows[0][x])) for x in range(size)) / size
            self.assertLess(wrap_x, 2.5 * inner)
            self.assertLess(wrap_y, 2.5 * inner)

    def test_loops_without_a_jump(self):
        steps = [mean_step(self.frames[i], self.frames[(i + 1) % 32]) for i in range(32)]
        inner = sum(steps[:-1]) / 31.0
        self.assertGreater(inner, 1.0)  # it moves
        self.assertLess(steps[-1], 2.0 * inner)  # the last frame leads into the first

    def test_bright_lines_on_a_dim_ground(self):
        values = sorted(level(p) / 765.0 for row in self.frames[0] for p in row)
        self.assertLess(values[len(values) // 2], 0.35)
        self.assertGreater(values[-1], 0.9)


class CubeDds(unittest.TestCase):
    def test_layout(self):
        faces = [[[(f * 40, 0, 0, 255)] * 8 for _ in range(8)] for f in range(6)]
        data = imagefiles.dds_cube(faces, 4)
        self.assertEqual(data[:4], b"DDS ")
        size, flags, height, width, pitch, depth, mips = struct.unpack_from("<7I", data, 4)
        self.assertEqual((size, height, width, pitch, mips), (124, 8, 8, 32, 4))
        self.assertTrue(flags & 0x20000)  # mip count present
        pf_size, pf_flags, _fourcc, bits, rmask, gmask, bmask, amask = struct.unpack_from("<II4s5I", data, 76)
        self.assertEqual((pf_size, bits, rmask, amask), (32, 32, 0x00FF0000, 0xFF000000))
        caps, caps2 = struct.unpack_from("<II", data, 108)
        self.assertEqual(caps2, 0x200 | 0xFC00)
        self.assertTrue(caps & 0x8 and caps & 0x400000)
        per_face = (64 + 16 + 4 + 1) * 4
        self.assertEqual(len(data), 128 + 6 * per_face)
        # Face order +x, -x, +y, -y, +z, -z, each with its mips before the next face.
        for f in range(6):
            b, g, r, a = data[128 + f * per_face: 128 + f * per_face + 4]
            self.assertEqual((r, a), (f * 40, 255))

    def test_face_directions(self):
        centre = [lightart.cube_face_direction(f, 0.0, 0.0) for f in range(6)]
        self.assertEqual([tuple(round(c) for c in d) for d in centre],
                         [(1, 0, 0), (-1, 0, 0), (0, 1, 0), (0, -1, 0), (0, 0, 1), (0, 0, -1)])
        # The top row of a side face looks up.
        self.assertGreater(lightart.cube_face_direction(4, 0.0, -1.0)[1], 0.5)


class Jpeg(unittest.TestCase):
    def test_baseline_file(self):
        pixels = [[(x * 8, y * 8, 128) for x in range(16)] for y in range(16)]
        data = jpeg.encode(16, 16, pixels)
        self.assertEqual(data[:2], b"\xFF\xD8")
        self.assertEqual(data[-2:], b"\xFF\xD9")
        at = data.index(b"\xFF\xC0")  # baseline frame: 8 bits, 16 x 16, three components
        self.assertEqual(struct.unpack_from(">HBHHB", data, at + 2), (17, 8, 16, 16, 3))
        # Byte stuffing: inside the scan every 0xFF is followed by 0.
        scan = data[data.index(b"\xFF\xDA") + 2 + 12:-2]
        for i, b in enumerate(scan[:-1]):
            if b == 0xFF:
                self.assertEqual(scan[i + 1], 0)


class Meshes(unittest.TestCase):
    def test_logo_normals_face_outwards(self):
        mesh = lightmesh.logo()
        self.assertLess(len(mesh.vertices), 65536)
        for f in mesh.faces:
            for k in f:
                self.assertLess(k, len(mesh.vertices))
        for pos, normal, _ in mesh.vertices:
            self.assertAlmostEqual(math.sqrt(sum(c * c for c in normal)), 1.0, places=4)
        # The body: normals point away from its axis.
        body = lightmesh.Mesh()
        lightmesh.fish_body(body)
        checked = 0
        for p, n, _ in body.vertices:
            if abs(p[1]) + abs(p[2]) > 1e-3:
                self.assertGreater(n[1] * p[1] + n[2] * p[2], 0.0)
                checked += 1
        self.assertGreater(checked, 400)

    def test_dome(self):
        mesh = lightmesh.sky_dome()
        top = max(p[1] for p, _, _ in mesh.vertices)
        self.assertAlmostEqual(top, lightmesh.DOME_RADIUS)
        self.assertAlmostEqual(min(p[1] for p, _, _ in mesh.vertices), 0.0, places=3)
        for p, n, _ in mesh.vertices:  # normals point inwards, to the viewer
            self.assertLess(sum(a * b for a, b in zip(p, n)), 0.0)


if __name__ == "__main__":
    unittest.main()
