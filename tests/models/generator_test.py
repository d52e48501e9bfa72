"""Checks of the species data generators (run by CTest on the build machine).

    generator_test.py SOURCE_DIR
"""
import os
import struct
import subprocess
import sys
import tempfile
import unittest

SOURCE = sys.argv.pop(1) if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
GEN = os.path.join(SOURCE, "tools", "gen")
sys.path.insert(0, GEN)

import dxt  # noqa: E402
import fishmesh  # noqa: E402


def decode_colour_block(block):
    c0, c1, bits = struct.unpack("<HHI", block)
    p0, p1 = dxt._from565(c0), dxt._from565(c1)
    if c0 > c1:
        pal = [p0, p1, tuple((2 * a + b) / 3 for a, b in zip(p0, p1)),
               tuple((a + 2 * b) / 3 for a, b in zip(p0, p1))]
    else:
        pal = [p0, p1, tuple((a + b) / 2 for a, b in zip(p0, p1)), (0, 0, 0)]
    return [pal[(bits >> (2 * i)) & 3] for i in range(16)]


class DxtTest(unittest.TestCase):
    def test_gradient_block_round_trips_closely(self):
        pixels = [(40 + 10 * i, 80 + 5 * i, 200 - 8 * i, 255) for i in range(16)]
        block = dxt.encode_dxt1_block(pixels)
        c0, c1, _ = struct.unpack("<HHI", block)
        self.assertGreater(c0, c1)  # four-colour mode
        for got, want in zip(decode_colour_block(block), pixels):
            for g, w in zip(got, want[:3]):
                self.assertLess(abs(g - w), 28)

    def test_flat_block_is_exact_to_565(self):
        block = dxt.encode_dxt1_block([(255, 255, 255, 255)] * 16)
        self.assertEqual(decode_colour_block(block), [(255, 255, 255)] * 16)

    def test_dxt2_alpha_and_premultiplied_colour(self):
        pixels = [(200, 100, 50, 255 if i % 2 else 0) for i in range(16)]
        block = dxt.encode_dxt2_block(pixels)
        alpha = struct.unpack("<Q", block[:8])[0]
        for i in range(16):
            self.assertEqual((alpha >> (4 * i)) & 0xF, 15 if i % 2 else 0)
        colours = decode_colour_block(block[8:])
        self.assertEqual(colours[0], (0, 0, 0))  # transparent texel carries no colour

    def test_dds_header(self):
        data = dxt.build_dds(8, 8, "DXT1", lambda bx, by: (("k",), lambda: [(1, 2, 3, 255)] * 16))
        self.assertEqual(len(data), 128 + 4 * 8)
        self.assertEqual(data[:4], b"DDS ")
        size, flags, height, width, linear, depth, mips = struct.unpack("<7I", data[4:32])
        self.assertEqual((size, height, width, linear, mips), (124, 8, 8, 32, 0))
        self.assertEqual(data[84:88], b"DXT1")


class MeshTest(unittest.TestCase):
    def test_fit_pads_with_back_faces_and_refuses_too_much(self):
        pc = fishmesh.Piece("p")
        for p in ((0, 0, 0), (1, 0, 0), (0, 1, 0)):
            pc.add(p, (0, 0))
        pc.faces = [(0, 1, 2)]
        pc.fit(5, 3)
        self.assertEqual(pc.faces, [(0, 1, 2), (0, 2, 1), (0, 1, 2)])
        self.assertEqual(len(pc.pos), 5)
        with self.assertRaises(ValueError):
            pc.fit(4, 3)


class DeterminismTest(unittest.TestCase):
    def test_same_input_same_output(self):
        cfg = os.path.join(SOURCE, "data", "models", "calvesh.json")
        outputs = []
        for _ in range(2):
            d = tempfile.mkdtemp()
            cpp, h = os.path.join(d, "model_calvesh.cpp"), os.path.join(d, "model_calvesh.h")
            subprocess.check_call([sys.executable, os.path.join(GEN, "model_gen.py"), cfg, cpp, h])
            with open(cpp, "rb") as f:
                outputs.append(f.read())
        self.assertEqual(outputs[0], outputs[1])


if __name__ == "__main__":
    unittest.main()
