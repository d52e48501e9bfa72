#!/usr/bin/env python3
"""Checks of tools/gen/gen_data.py: deterministic output, the blob layout and
its size records, and clear errors for bad manifests."""
import os
import re
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

TOOL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "gen", "gen_data.py")


def run(args):
    return subprocess.run([sys.executable, TOOL] + args, capture_output=True, text=True)


def array_bytes(source, name):
    body = re.search(r"unsigned char %s\[\d+\][^{]*\{(.*?)\};" % name, source, re.S).group(1)
    return bytes(int(v, 16) for v in re.findall(r"0x([0-9A-F]{2})", body))


class GenDataTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.root = self.dir.name

    def tearDown(self):
        self.dir.cleanup()

    def write(self, name, data):
        path = os.path.join(self.root, name)
        with open(path, "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode())
        return path

    def generate(self, manifest, out="out"):
        result = run(["--manifest", manifest, "--name", "TestData", "--out-dir", os.path.join(self.root, out)])
        self.assertEqual(0, result.returncode, result.stderr)
        with open(os.path.join(self.root, out, "TestData.cpp")) as f:
            cpp = f.read()
        with open(os.path.join(self.root, out, "TestData.h")) as f:
            h = f.read()
        return cpp, h

    def test_blobs_are_deterministic_and_carry_size_records(self):
        a = "vs_1_1\nmov oPos, v0\n" * 10
        b = "// comment\nps.1.1\ntex t0\nmov r0, t0\n"
        self.write("a.vsh", a)
        self.write("b.psh", b.replace("\n", "\r\n"))  # line ends do not matter
        self.write("img.bin", bytes(range(256)) * 4)
        manifest = self.write("m.manifest", "shader A a.vsh\nshader B b.psh  # note\n\n"
                                            "blob Img img.bin zlib\nblob Raw img.bin plain\n")
        cpp1, h1 = self.generate(manifest, "one")
        cpp2, h2 = self.generate(manifest, "two")
        self.assertEqual(cpp1, cpp2)
        self.assertEqual(h1, h2)

        data = array_bytes(cpp1, "kShaderData")
        offset = 0
        for text in (a, b):
            self.assertEqual(b"\x78\x9c", data[offset:offset + 2])
            d = zlib.decompressobj()
            inflated = d.decompress(data[offset:])
            compressed = len(data) - offset - len(d.unused_data)
            self.assertEqual(text.encode(), inflated)
            record = struct.unpack_from("<II", data, offset + compressed)
            self.assertEqual((compressed, len(text)), record)
            offset += compressed + 8
        self.assertEqual(len(data), offset)
        self.assertIn("constexpr unsigned kB = %d;" % (len(data) - 8 - record[0]), h1)

        self.assertEqual(bytes(range(256)) * 4, zlib.decompress(array_bytes(cpp1, "kImg")))
        self.assertEqual(bytes(range(256)) * 4, array_bytes(cpp1, "kRaw"))
        self.assertIn("constexpr unsigned kImgInflatedSize = 1024;", h1)

    def test_bad_manifests_fail_clearly(self):
        self.write("a.vsh", "vs_1_1\n")
        self.write("big.vsh", "vs_1_1\n" + " " * 20000)
        cases = {
            "shader A a.vsh extra\n": "expected",
            "blob A a.vsh gzip\n": "expected",
            "shader lower a.vsh\n": "capital",
            "shader A a.vsh\nshader A a.vsh\n": "twice",
            "shader A missing.vsh\n": "cannot read",
            "shader A big.vsh\n": "more than",
        }
        for text, message in cases.items():
            manifest = self.write("bad.manifest", text)
            result = run(["--manifest", manifest, "--name", "X", "--out-dir", os.path.join(self.root, "bad")])
            self.assertNotEqual(0, result.returncode, text)
            self.assertIn(message, result.stderr, text)

    def test_list_inputs_names_every_file(self):
        self.write("a.vsh", "vs_1_1\n")
        manifest = self.write("m.manifest", "shader A a.vsh\nblob B a.vsh plain\n")
        result = run(["--list-inputs", manifest])
        self.assertEqual(0, result.returncode)
        self.assertEqual(2, len(result.stdout.split()))


class ShaderTextTest(unittest.TestCase):
    DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data")
    # The water simulation draws into its own render targets, never fogged.
    UNFOGGED = {"water_copy.vsh", "water_offset.vsh"}

    def test_every_scene_vertex_shader_writes_fog(self):
        checked = 0
        for folder, _, files in os.walk(self.DATA):
            for name in files:
                if not name.endswith(".vsh") or name in self.UNFOGGED:
                    continue
                with open(os.path.join(folder, name)) as f:
                    text = f.read()
                self.assertTrue(text.startswith("vs_1_1"), name)
                self.assertRegex(text, r"(?m)^\s*\w+\s+oFog", "%s writes no fog" % name)
                checked += 1
        self.assertGreater(checked, 20)


if __name__ == "__main__":
    unittest.main()
