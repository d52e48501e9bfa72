#!/usr/bin/env python3
"""The static checks of the 32-bit deliverables pass on the real build and
catch deliberately broken copies of it, each with a message naming the file
and the field.

Usage: check_dist_test.py [dist folder]   (default: build/dist)
"""
import io
import os
import shutil
import struct
import sys
import tempfile
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "tools"))
import check_dist  # noqa: E402

DIST = os.path.join(ROOT, "build", "dist")


def run_checks(dist):
    out = io.StringIO()
    ok = check_dist.run(dist, out)
    return ok, out.getvalue()


def patch(path, offset, data):
    with open(path, "r+b") as f:
        f.seek(offset)
        f.write(data)


def replace_bytes(path, old, new):
    assert len(old) == len(new)
    with open(path, "rb") as f:
        data = f.read()
    assert data.count(old) == 1, "%r occurs %d times in %s" % (old, data.count(old), path)
    patch(path, data.index(old), new)


def record_field_offset(path, type_name, name, maker, field):
    """File offset of a field of the record named name, found as the checker finds it."""
    img = check_dist.PeImage(path)
    va = check_dist.find_record(img, type_name, name, maker)
    return img.file_offset(va + check_dist.LAYOUT[type_name][1][field][0])


def model_field_offset(path, name, type_path):
    """File offset inside the model of a species record: type_path is a list of
    (type, pointer field) steps from X2FishModel, ending with (type, field)."""
    img = check_dist.PeImage(path)
    va = check_dist.find_record(img, "X2FishData", name, check_dist.KEY_MAKER)
    va = check_dist.read_struct(img, "X2FishData", va)["model"]
    for type_name, field in type_path[:-1]:
        va = check_dist.read_struct(img, type_name, va)[field]
    type_name, field = type_path[-1]
    return img.file_offset(va + check_dist.LAYOUT[type_name][1][field][0])


def pe_header(path):
    with open(path, "rb") as f:
        data = f.read(0x40)
    return struct.unpack_from("<I", data, 0x3C)[0]


# Breakages: (description, function(dist), expected line fragments).
def rename_export(dist):
    replace_bytes(os.path.join(dist, "ai/PurselAI.qva"), b"?GetAIData@@", b"?GetAIDatb@@")


def change_capabilities(dist):
    path = os.path.join(dist, "ai/Forelens.qve")
    patch(path, record_field_offset(path, "X2AIData", "移動方向", check_dist.KEY_MAKER,
                                    "capabilities"), b"\x11")


def change_range(dist):
    path = os.path.join(dist, "model/vassop.qvf")
    off = model_field_offset(path, "ジンベエザメ",
                             [("X2FishModel", "pminfoMesh"), ("X2FishMesh", "attributeRanges"),
                              ("X2AttributeRange", "row")])
    patch(path, off + 20 * 2 + 8, struct.pack("<I", 101))  # faceCount of range 2


def change_scale(dist):
    path = os.path.join(dist, "model/vassop.qvf")
    patch(path, model_field_offset(path, "ジンベエザメ", [("X2FishModel", "scale")]),
          struct.pack("<f", 3.0))


def clear_place_instance(dist):
    path = os.path.join(dist, "model/Calvesh.qvc")
    patch(path, record_field_offset(path, "X2FishData", "ウミウチワ", check_dist.KEY_MAKER,
                                    "PlaceInstance"), b"\0\0\0\0")


def redirect_frames(dist):
    path = os.path.join(dist, "model/vassop.qvf")
    patch(path, model_field_offset(path, "ジンベエザメ", [("X2FishModel", "frames")]),
          struct.pack("<I", 0x10))


def make_64_bit(dist):
    path = os.path.join(dist, "model/Calvesh.qvc")
    patch(path, pe_header(path) + 4, struct.pack("<H", 0x8664))


def add_text_image(dist):
    with open(os.path.join(dist, "ai/Notes.qva"), "w") as f:
        f.write("not a plug-in\n")


def import_runtime(dist):
    replace_bytes(os.path.join(dist, "Wexnote.exe"), b"USER32.dll", b"libz-1.dll")


def old_subsystem(dist):
    path = os.path.join(dist, "Qelvar.scr")
    patch(path, pe_header(path) + 24 + 48, struct.pack("<H", 3))


def remove_plugin(dist):
    os.remove(os.path.join(dist, "model/vassop.qvf"))


def remove_capture_folder(dist):
    shutil.rmtree(os.path.join(dist, "capture"))


BREAKAGES = [
    ("export renamed", rename_export,
     ["check_exports: ai/PurselAI.qva: does not export ?GetAIData@@YAPAUX2AIData@@PAD0@Z",
      "check_exports: ai/PurselAI.qva: exports ?GetAIDatb@@YAPAUX2AIData@@PAD0@Z, which"]),
    ("capability word changed", change_capabilities,
     ["check_ai_record: ai/Forelens.qve: X2AIData.capabilities is 0x11, expected 0x10"]),
    ("range table entry changed", change_range,
     ["check_species_record: model/vassop.qvf: X2FishModel.pminfoMesh.attributeRanges[2] is "
      "(2, 1112, 101, 642, 72), expected (2, 1112, 100, 642, 72)"]),
    ("model scale changed", change_scale,
     ["check_species_record: model/vassop.qvf: X2FishModel.scale is 3, expected 30"]),
    ("function word cleared", clear_place_instance,
     ["check_species_record: model/Calvesh.qvc: X2FishData.PlaceInstance is 0x00000000, "
      "expected a function of the image"]),
    ("pointer out of the image", redirect_frames,
     ["check_species_record: model/vassop.qvf: X2FishModel.frames (0x00000010, 40 bytes) "
      "points outside the image"]),
    ("x86-64 image", make_64_bit,
     ["check_pe32_i386: model/Calvesh.qvc: machine is 0x8664, expected 0x14C (i386)",
      "check_species_record: model/Calvesh.qvc: not a PE32 image for i386"]),
    ("text file among the plug-ins", add_text_image,
     ["check_pe32_i386: ai/Notes.qva: not a PE image (no MZ header)"]),
    ("runtime DLL imported", import_runtime,
     ["check_no_runtime_imports: Wexnote.exe: imports the MinGW runtime DLL libz-1.dll"]),
    ("subsystem version 3", old_subsystem,
     ["check_screen_saver_subsystem: Qelvar.scr: subsystem version is 3.0, the control panel"]),
    ("plug-in missing", remove_plugin,
     ["check_pe32_i386: model/vassop.qvf: missing"]),
    ("screenshot folder missing", remove_capture_folder,
     ["check_folder: capture: missing"]),
]


class CheckDistTest(unittest.TestCase):
    def test_real_build_passes(self):
        ok, out = run_checks(DIST)
        self.assertTrue(ok, out)
        self.assertRegex(out, r"^\d+ passed, 0 failed\n$")

    def test_broken_copies_fail_with_the_field_named(self):
        for description, breakage, expected in BREAKAGES:
            with self.subTest(description), tempfile.TemporaryDirectory() as tmp:
                copy = os.path.join(tmp, "dist")
                shutil.copytree(DIST, copy)
                breakage(copy)
                ok, out = run_checks(copy)
                self.assertFalse(ok, out)
                fails = [l for l in out.splitlines() if l.startswith("FAIL ")]
                for fragment in expected:
                    self.assertTrue(any(fragment in l for l in fails),
                                    "no failure line with %r in:\n%s" % (fragment, out))
                # Only the broken file fails.
                broken = {l.split(": ")[1] for l in fails}
                self.assertEqual(len(broken), 1, out)

    def test_missing_dist_folder(self):
        self.assertEqual(check_dist.main(["check_dist.py", os.path.join(DIST, "no-such")]), 2)


if __name__ == "__main__":
    if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
        DIST = sys.argv.pop(1)
    unittest.main()
