#!/usr/bin/env python3
"""Static checks of the 32-bit deliverables in a dist folder (build/dist).

Nothing is executed: every program and plug-in is read as a file. Checked:
each is a PE32 image for i386; none imports a MinGW runtime DLL; each plug-in
exports exactly its one decorated entry point; the plug-in records, read at
their 32-bit offsets with pointers followed through the image base, carry the
values the program relies on; the screen saver is a GUI program whose
subsystem version lets the display control panel show its preview.

Usage: check_dist.py [dist folder]   (default: build/dist)
Prints one line per failure and "N passed, M failed"; exits 1 on any failure.
"""
import math
import os
import re
import struct
import sys
import zlib

HEADER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "plugins", "include",
                      "X2PluginAbi.h")

PROGRAMS = ["Qelvar.scr", "Wexnote.exe"]
AI_PLUGINS = ["ai/PurselAI.qva", "ai/Forelens.qve"]
SPECIES_PLUGINS = ["model/Calvesh.qvc", "model/vassop.qvf"]
# Files of the dist folder that are not images: settings, presets and the
# user's screenshots.
DATA_SUFFIXES = (".ini", ".txt")
DATA_FOLDERS = ("preset", "capture")
# Folders the program reads from or writes into but never makes.
FOLDERS = ["ai", "model", "capture"]

MACHINE_I386 = 0x14C
MAGIC_PE32 = 0x10B
SUBSYSTEM_GUI = 2
# The control panel starts a screen saver for its preview only when the image
# is marked for Windows 4.0 or later.
MIN_SUBSYSTEM_VERSION = (4, 0)
# DLLs that come with the compiler, never with Windows.
MINGW_RUNTIME = re.compile(r"^(lib[a-z_+]+[-_].*|mingwm\d+|zlib1)\.dll$", re.IGNORECASE)


class CheckError(Exception):
    """A problem found in one file; the message names the file and the field."""


# ---------------------------------------------------------------------------
# PE reading

class PeImage:
    """The headers, sections, imports and exports of one PE file."""

    def __init__(self, path):
        self.path = path
        with open(path, "rb") as f:
            self.data = f.read()
        d = self.data
        if len(d) < 0x40 or d[:2] != b"MZ":
            raise CheckError("not a PE image (no MZ header)")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if pe + 24 > len(d) or d[pe:pe + 4] != b"PE\0\0":
            raise CheckError("not a PE image (no PE signature)")
        (self.machine, nsections, _, _, _, opt_size, self.characteristics) = \
            struct.unpack_from("<HHIIIHH", d, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", d, opt)[0]
        if self.magic != MAGIC_PE32:
            # Only the PE32 layout is read further.
            self.sections = []
            return
        self.image_base = struct.unpack_from("<I", d, opt + 28)[0]
        self.subsystem_version = struct.unpack_from("<HH", d, opt + 48)
        self.subsystem = struct.unpack_from("<H", d, opt + 68)[0]
        ndirs = struct.unpack_from("<I", d, opt + 92)[0]
        self.dirs = [struct.unpack_from("<II", d, opt + 96 + 8 * i) for i in range(min(ndirs, 16))]
        self.sections = []
        for i in range(nsections):
            s = opt + opt_size + 40 * i
            name = d[s:s + 8].rstrip(b"\0").decode("latin-1")
            vsize, va, rsize, rptr = struct.unpack_from("<IIII", d, s + 8)
            flags = struct.unpack_from("<I", d, s + 36)[0]
            self.sections.append((name, va, max(vsize, rsize), rptr, rsize, flags))

    def is_pe32_i386(self):
        return self.machine == MACHINE_I386 and self.magic == MAGIC_PE32

    def _section(self, rva):
        for sec in self.sections:
            if sec[1] <= rva < sec[1] + sec[2]:
                return sec
        return None

    def rva_bytes(self, rva, n):
        sec = self._section(rva)
        if sec is None or rva + n > sec[1] + sec[2]:
            raise CheckError("address 0x%X (+%d bytes) lies outside every section" % (rva, n))
        _, va, _, rptr, rsize, _ = sec
        off = rva - va
        raw = self.data[rptr + off:rptr + min(off + n, rsize)] if off < rsize else b""
        return raw + b"\0" * (n - len(raw))  # beyond the raw data: zero-filled

    def rva_cstr(self, rva, limit=4096):
        sec = self._section(rva)
        if sec is None:
            raise CheckError("string at 0x%X lies outside every section" % rva)
        raw = self.rva_bytes(rva, min(limit, sec[1] + sec[2] - rva))
        return raw.split(b"\0", 1)[0]

    # Pointers stored in the image are addresses at the preferred base.
    def va_bytes(self, va, n):
        return self.rva_bytes(va - self.image_base, n)

    def file_offset(self, va):
        """Where the byte at address va lies in the file."""
        rva = va - self.image_base
        sec = self._section(rva)
        if sec is None or rva - sec[1] >= sec[4]:
            raise CheckError("address 0x%X has no bytes in the file" % va)
        return sec[3] + rva - sec[1]

    def va_cstr(self, va):
        return self.rva_cstr(va - self.image_base)

    def is_code(self, va):
        sec = self._section(va - self.image_base)
        return sec is not None and bool(sec[5] & 0x20000000)  # IMAGE_SCN_MEM_EXECUTE

    def imports(self):
        rva, size = self.dirs[1] if len(self.dirs) > 1 else (0, 0)
        names = []
        while rva and size:
            desc = self.rva_bytes(rva, 20)
            name_rva = struct.unpack_from("<I", desc, 12)[0]
            if desc == b"\0" * 20:
                break
            names.append(self.rva_cstr(name_rva).decode("latin-1"))
            rva += 20
        return names

    def exports(self):
        rva, size = self.dirs[0] if self.dirs else (0, 0)
        if not rva or not size:
            return []
        d = self.rva_bytes(rva, 40)
        nnames = struct.unpack_from("<I", d, 24)[0]
        names_rva = struct.unpack_from("<I", d, 32)[0]
        return [self.rva_cstr(struct.unpack_from("<I", self.rva_bytes(names_rva + 4 * i, 4))[0])
                .decode("latin-1") for i in range(nnames)]

    def data_sections(self):
        return [s for s in self.sections if not s[5] & 0x20000000]


# ---------------------------------------------------------------------------
# Record layouts on 32-bit x86: offset and struct format of each field. The
# compile-time asserts of X2PluginAbi.h guard the same layout in the code.

LAYOUT = {
    "X2AIData": (588, {
        "version": (0x000, "I"), "nextOffset": (0x004, "H"), "reserved": (0x006, "10s"),
        "name": (0x010, "260s"), "maker": (0x114, "260s"),
        "capabilities": (0x218, "I"), "BuildFlock": (0x21C, "I"), "Configure": (0x220, "I"),
        "GetDefaultParam": (0x224, "I"), "CountFish": (0x228, "I"), "CreateInstance": (0x22C, "I"),
        "NormaliseParameter": (0x230, "I"), "reserved1": (0x234, "8s"),
        "dedicatedFish": (0x23C, "I"), "reserved2": (0x240, "12s")}),
    "X2FishData": (656, {
        "version": (0x000, "I"), "nextOffset": (0x004, "H"), "reserved": (0x006, "10s"),
        "name": (0x010, "260s"), "maker": (0x114, "260s"),
        "latinName": (0x218, "I"), "defaultAI": (0x21C, "I"), "flags": (0x220, "I"),
        "modelCount": (0x224, "I"), "model": (0x228, "I"), "instanceCount": (0x22C, "I"),
        "PlaceInstance": (0x230, "I"), "collisionCapsules": (0x234, "I"),
        "footprint": (0x238, "I"), "rallyPoints": (0x23C, "I"), "reserved": (0x240, "80s")}),
    "X2FishModel": (88, {
        "textureCount": (0x00, "I"), "textures": (0x04, "I"), "scale": (0x08, "f"),
        "baseMesh": (0x0C, "I"), "hasSecondMesh": (0x10, "I"), "secondMesh": (0x14, "I"),
        "frameCount": (0x18, "I"), "swimRate": (0x1C, "f"), "swimBase": (0x20, "f"),
        "swimMax": (0x24, "f"), "frames": (0x28, "I"), "pminfoMesh": (0x2C, "I"),
        "partCount": (0x30, "I"), "parts": (0x34, "I"), "flags": (0x38, "I"),
        "hasExtraTexture": (0x3C, "B"), "reserved": (0x40, "24s")}),
    "X2FishMesh": (36, {
        "vertexCount": (0x00, "I"), "vertices": (0x04, "I"), "primitiveCount": (0x08, "I"),
        "indices": (0x0C, "I"), "fvf": (0x10, "I"), "stride": (0x14, "I"),
        "attributeRanges": (0x18, "I"), "attributeRangeCount": (0x1C, "I"), "xBlock": (0x20, "I")}),
    "X2FishTexture": (8, {"data": (0, "I"), "size": (4, "I")}),
    "X2AttributeRange": (20, {"row": (0, "5I")}),
    "X2FishPart": (32, {"row": (0, "3I4fi")}),
}


def pointed(img, va, n, where):
    """The n bytes at the address a record field holds; where names the field."""
    if not va:
        raise CheckError("%s is null" % where)
    try:
        return img.va_bytes(va, n)
    except CheckError:
        raise CheckError("%s (0x%08X, %d bytes) points outside the image" % (where, va, n))


def read_struct(img, type_name, va, where=None):
    size, fields = LAYOUT[type_name]
    raw = pointed(img, va, size, where or type_name)
    out = {}
    for name, (off, fmt) in fields.items():
        vals = struct.unpack_from("<" + fmt, raw, off)
        out[name] = vals[0] if len(vals) == 1 else vals
    return out


def read_array(img, type_name, va, count, where):
    size = LAYOUT[type_name][0]
    pointed(img, va, size * count, where)
    return [read_struct(img, type_name, va + i * size) for i in range(count)]


# Expectation markers for a field.
CODE = "a function of the image"
NULL = "null"
ZEROS = "all zero"


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def field_problem(img, where, name, fmt, value, want):
    """None when the field holds what is wanted, else the failure text."""
    label = "%s.%s" % (where, name)
    if want is CODE:
        if not value or not img.is_code(value):
            return "%s is 0x%08X, expected %s" % (label, value, CODE)
    elif want is NULL:
        if value != 0:
            return "%s is 0x%08X, expected null" % (label, value)
    elif want is ZEROS:
        if any(value):
            return "%s is not all zero" % label
    elif isinstance(want, str):
        if fmt.endswith("s"):  # an inline text field
            got = value.split(b"\0", 1)[0]
        elif not value:
            return "%s is null, expected the text \"%s\"" % (label, want)
        else:
            got = img.va_cstr(value)
        if got != want.encode("cp932"):
            return "%s is \"%s\", expected \"%s\"" % (label, got.decode("cp932", "replace"), want)
    elif isinstance(want, float):
        if not math.isclose(value, f32(want), rel_tol=0, abs_tol=1e-6):
            return "%s is %g, expected %g" % (label, value, want)
    elif isinstance(want, tuple):
        if tuple(f32(v) if isinstance(v, float) else v for v in value) != \
                tuple(f32(v) if isinstance(v, float) else v for v in want):
            return "%s is %s, expected %s" % (label, value, want)
    elif value != want:
        return "%s is 0x%X, expected 0x%X" % (label, value, want)
    return None


def expect(img, type_name, where, rec, wanted):
    """Compares the named fields of a read record with what is wanted."""
    fields = LAYOUT[type_name][1]
    problems = []
    for name, want in wanted.items():
        p = field_problem(img, where, name, fields[name][1], rec[name], want)
        if p:
            problems.append(p)
    return problems


# ---------------------------------------------------------------------------
# Expected records

KEY_MAKER = "ハルベノルソフト"
VERSION_AI = 0x00010101
VERSION_FISH = 0x00020101

AI_RECORDS = {
    "ai/PurselAI.qva": {
        "version": VERSION_AI, "nextOffset": 0, "reserved": ZEROS,
        "name": "追跡(群)", "maker": KEY_MAKER, "capabilities": 0x01,
        "BuildFlock": CODE, "Configure": CODE, "GetDefaultParam": CODE, "CountFish": CODE,
        "CreateInstance": NULL, "NormaliseParameter": CODE,
        "reserved1": ZEROS, "dedicatedFish": NULL, "reserved2": ZEROS},
    "ai/Forelens.qve": {
        "version": VERSION_AI, "nextOffset": 0, "reserved": ZEROS,
        "name": "移動方向", "maker": KEY_MAKER, "capabilities": 0x10,
        "BuildFlock": NULL, "Configure": CODE, "GetDefaultParam": CODE, "CountFish": NULL,
        "CreateInstance": CODE, "NormaliseParameter": NULL,
        "reserved1": ZEROS, "dedicatedFish": NULL, "reserved2": ZEROS},
}

VASSOP_RANGES = [(0, 0, 456, 0, 249), (1, 456, 36, 249, 23), (2, 492, 36, 272, 23),
                 (3, 528, 68, 295, 39), (4, 596, 22, 334, 15), (5, 618, 44, 349, 30),
                 (6, 662, 100, 379, 72), (7, 762, 100, 451, 72), (8, 862, 18, 523, 22),
                 (9, 880, 18, 545, 22)]

SPECIES_RECORDS = {
    "model/Calvesh.qvc": {
        "record": {
            "version": VERSION_FISH, "nextOffset": 0, "reserved": ZEROS,
            "name": "ウミウチワ", "maker": KEY_MAKER, "latinName": "Calvesh", "defaultAI": "",
            "flags": 0, "modelCount": 1, "instanceCount": 1, "PlaceInstance": CODE,
            "collisionCapsules": NULL, "footprint": NULL, "rallyPoints": NULL},
        "model": {
            "textureCount": 1, "scale": 1.0, "hasSecondMesh": 0, "frameCount": 10,
            "swimRate": 0.0, "swimBase": 1.0, "swimMax": 1.0, "pminfoMesh": NULL,
            "partCount": 0, "parts": NULL, "flags": 1, "hasExtraTexture": 0, "reserved": ZEROS},
        # Three texture entries (only the first counted), then two marker words.
        "textures": {"entries": 3, "inflated": 1048704, "trailer": (0x9875, 0x9873)},
        "base": {"vertexCount": 25, "primitiveCount": 32, "fvf": 0x112, "stride": 32,
                 "ranges": [(0, 0, 32, 0, 25)]},
        "frame": {"vertexCount": 25, "primitiveCount": 32, "fvf": 0x12, "stride": 24,
                  "ranges": [(0, 0, 32, 0, 25)]},
        "pminfo": None,
        "parts": [],
    },
    "model/vassop.qvf": {
        "record": {
            "version": VERSION_FISH, "nextOffset": 0, "reserved": ZEROS,
            "name": "ジンベエザメ", "maker": KEY_MAKER, "latinName": "Rhincodon typus",
            "defaultAI": "ジンベエ専用_" + KEY_MAKER,
            "flags": 1, "modelCount": 1, "instanceCount": 0, "PlaceInstance": NULL,
            "collisionCapsules": NULL, "footprint": NULL, "rallyPoints": NULL},
        "model": {
            "textureCount": 1, "scale": 30.0, "hasSecondMesh": 0, "frameCount": 10,
            "swimRate": 0.1, "swimBase": 0.6, "swimMax": 0.6,
            "partCount": 3, "flags": 1, "hasExtraTexture": 0, "reserved": ZEROS},
        "textures": {"entries": 1, "inflated": 524416, "trailer": None},
        "base": {"vertexCount": 567, "primitiveCount": 898, "fvf": 0x112, "stride": 32,
                 "ranges": VASSOP_RANGES},
        "frame": {"vertexCount": 567, "primitiveCount": 898, "fvf": 0x12, "stride": 24,
                  "ranges": VASSOP_RANGES},
        "pminfo": {"vertexCount": 786, "primitiveCount": 1312, "fvf": 0x12, "stride": 24,
                   "ranges": [(0, 0, 456, 0, 249), (1, 456, 456, 249, 249),
                              (2, 1112, 100, 642, 72), (3, 912, 100, 498, 72),
                              (4, 1212, 100, 714, 72), (5, 1012, 100, 570, 72)]},
        "parts": [(0, 1, 0, 0.0, 0.0, 0.2, 0.0, 0), (2, 3, 6, 0.2, 0.1, 0.01, 0.0, 0),
                  (4, 5, 7, 0.2, 0.1, 0.01, 0.0, 0)],
    },
}


def export_names(header=HEADER):
    """The decorated export names the plug-in interface header fixes."""
    with open(header, encoding="utf-8") as f:
        text = f.read()
    names = dict(re.findall(r'#define (X2_(?:AI|FISH)_EXPORT_NAME) "([^"]+)"', text))
    return names["X2_AI_EXPORT_NAME"], names["X2_FISH_EXPORT_NAME"]


def find_record(img, type_name, name, maker):
    """The address of the one record whose inline name and maker are these.

    Records are static data: a record starts 4-aligned in a data section with
    its name at +0x10 and its maker at +0x114."""
    key = name.encode("cp932") + b"\0"
    maker_key = maker.encode("cp932") + b"\0"
    hits = []
    for sname, va, _, rptr, rsize, _ in img.data_sections():
        raw = img.data[rptr:rptr + rsize]
        at = raw.find(key)
        while at >= 0:
            start = at - 0x10
            if start >= 0 and start % 4 == 0 and raw[start + 0x114:start + 0x114 + len(maker_key)] == maker_key:
                hits.append(img.image_base + va + start)
            at = raw.find(key, at + 1)
    if len(hits) != 1:
        raise CheckError("%d %s records named \"%s\" found, expected 1" % (len(hits), type_name, name))
    return hits[0]


# ---------------------------------------------------------------------------
# Checks: each takes the dist folder and one relative path and returns a list
# of problems (empty when the check passes).

def read_image(dist, rel):
    path = os.path.join(dist, rel)
    if not os.path.isfile(path):
        raise CheckError("missing")
    return PeImage(path)


def load(dist, rel):
    img = read_image(dist, rel)
    if not img.is_pe32_i386():
        raise CheckError("not a PE32 image for i386, not read further")
    return img


def check_pe32_i386(dist, rel):
    img = read_image(dist, rel)
    if img.machine != MACHINE_I386:
        return ["machine is 0x%X, expected 0x%X (i386)" % (img.machine, MACHINE_I386)]
    if img.magic != MAGIC_PE32:
        return ["optional header magic is 0x%X, expected 0x%X (PE32)" % (img.magic, MAGIC_PE32)]
    return []


def check_no_runtime_imports(dist, rel):
    img = load(dist, rel)
    return ["imports the MinGW runtime DLL %s" % n for n in img.imports() if MINGW_RUNTIME.match(n)]


def check_exports(dist, rel):
    ai_name, fish_name = export_names()
    want = ai_name if rel in AI_PLUGINS else fish_name
    got = load(dist, rel).exports()
    problems = []
    if want not in got:
        problems.append("does not export %s" % want)
    problems += ["exports %s, which the plug-in interface does not fix" % n for n in got if n != want]
    return problems


def check_ai_record(dist, rel):
    img = load(dist, rel)
    wanted = AI_RECORDS[rel]
    va = find_record(img, "X2AIData", wanted["name"], wanted["maker"])
    return expect(img, "X2AIData", "X2AIData", read_struct(img, "X2AIData", va), wanted)


def check_mesh(img, where, va, wanted):
    if not va:
        return ["%s is null" % where]
    mesh = read_struct(img, "X2FishMesh", va, where)
    ranges = wanted["ranges"]
    scalars = {k: v for k, v in wanted.items() if k != "ranges"}
    scalars.update({"attributeRangeCount": len(ranges), "xBlock": NULL})
    problems = expect(img, "X2FishMesh", where, mesh, scalars)
    if problems:
        return problems
    # The data the mesh points to is all there and the indices stay in range.
    pointed(img, mesh["vertices"], mesh["vertexCount"] * mesh["stride"], where + ".vertices")
    index_count = mesh["primitiveCount"] * 3
    indices = struct.unpack("<%dH" % index_count, pointed(img, mesh["indices"], 2 * index_count,
                                                                where + ".indices"))
    if indices and max(indices) >= mesh["vertexCount"]:
        problems.append("%s.indices reach vertex %d of %d" % (where, max(indices), mesh["vertexCount"]))
    got = [r["row"] for r in read_array(img, "X2AttributeRange", mesh["attributeRanges"], len(ranges),
                                       where + ".attributeRanges")]
    for i, (g, w) in enumerate(zip(got, ranges)):
        if g != w:
            problems.append("%s.attributeRanges[%d] is %s, expected %s" % (where, i, g, w))
    return problems


def check_species_record(dist, rel):
    img = load(dist, rel)
    wanted = SPECIES_RECORDS[rel]
    va = find_record(img, "X2FishData", wanted["record"]["name"], wanted["record"]["maker"])
    rec = read_struct(img, "X2FishData", va)
    problems = expect(img, "X2FishData", "X2FishData", rec, wanted["record"])
    try:
        problems += model_problems(img, rec["model"], wanted)
    except CheckError as err:  # a pointer that leads nowhere ends the walk
        problems.append(str(err))
    return problems


def model_problems(img, model_va, wanted):
    """What differs in the model a species record points to."""
    model = read_struct(img, "X2FishModel", model_va, "X2FishData.model")
    problems = expect(img, "X2FishModel", "X2FishModel", model, wanted["model"])

    tex = wanted["textures"]
    entries = read_array(img, "X2FishTexture", model["textures"], tex["entries"],
                         "X2FishModel.textures")
    for i, e in enumerate(entries):
        label = "X2FishModel.textures[%d]" % i
        try:
            inflated = len(zlib.decompress(pointed(img, e["data"], e["size"], label + ".data")))
        except zlib.error as err:
            problems.append("%s is not a zlib stream (%s)" % (label, err))
            continue
        if inflated != tex["inflated"]:
            problems.append("%s inflates to %d bytes, expected %d" % (label, inflated, tex["inflated"]))
    if tex["trailer"]:
        after = model["textures"] + 8 * tex["entries"]
        trailer = struct.unpack("<II", img.va_bytes(after, 8))
        if trailer != tex["trailer"]:
            problems.append("words after X2FishModel.textures are (0x%X, 0x%X), expected (0x%X, 0x%X)"
                            % (trailer + tex["trailer"]))

    problems += check_mesh(img, "X2FishModel.baseMesh", model["baseMesh"], wanted["base"])
    if model["frameCount"] == wanted["model"]["frameCount"]:
        count = model["frameCount"]
        frames = struct.unpack("<%dI" % count,
                               pointed(img, model["frames"], 4 * count, "X2FishModel.frames"))
        for i, f in enumerate(frames):
            problems += check_mesh(img, "X2FishModel.frames[%d]" % i, f, wanted["frame"])
    if wanted["pminfo"]:
        problems += check_mesh(img, "X2FishModel.pminfoMesh", model["pminfoMesh"], wanted["pminfo"])
    if wanted["parts"] and model["partCount"] == len(wanted["parts"]):
        got = read_array(img, "X2FishPart", model["parts"], model["partCount"], "X2FishModel.parts")
        for i, (g, w) in enumerate(zip(got, wanted["parts"])):
            p = field_problem(img, "X2FishModel.parts[%d]" % i, "row", "", g["row"], w)
            if p:
                problems.append(p.replace(".row", ""))
    return problems


def check_screen_saver_subsystem(dist, rel):
    img = load(dist, rel)
    problems = []
    if img.subsystem != SUBSYSTEM_GUI:
        problems.append("subsystem is %d, expected %d (Windows GUI)" % (img.subsystem, SUBSYSTEM_GUI))
    if tuple(img.subsystem_version) < MIN_SUBSYSTEM_VERSION:
        problems.append("subsystem version is %d.%d, the control panel shows a preview only from %d.%d"
                        % (tuple(img.subsystem_version) + MIN_SUBSYSTEM_VERSION))
    return problems


def check_folder(dist, rel):
    return [] if os.path.isdir(os.path.join(dist, rel)) else ["missing"]


def image_files(dist):
    """Every file of the dist folder that must be an image."""
    out = []
    for root, dirs, files in os.walk(dist):
        rel_root = os.path.relpath(root, dist)
        if rel_root.split(os.sep)[0] in DATA_FOLDERS:
            continue
        for f in files:
            if not f.lower().endswith(DATA_SUFFIXES):
                out.append(os.path.normpath(os.path.join(rel_root, f)).replace(os.sep, "/"))
    return sorted(out)


def plan(dist):
    """(check, file) pairs to run, in order."""
    deliverables = PROGRAMS + AI_PLUGINS + SPECIES_PLUGINS
    steps = [(check_folder, rel) for rel in FOLDERS]
    steps += [(check_pe32_i386, rel) for rel in sorted(set(image_files(dist)) | set(deliverables))]
    steps += [(check_no_runtime_imports, rel) for rel in deliverables]
    steps += [(check_exports, rel) for rel in AI_PLUGINS + SPECIES_PLUGINS]
    steps += [(check_ai_record, rel) for rel in AI_PLUGINS]
    steps += [(check_species_record, rel) for rel in SPECIES_PLUGINS]
    steps.append((check_screen_saver_subsystem, "Qelvar.scr"))
    return steps


def run(dist, out=sys.stdout):
    passed = failed = 0
    for check, rel in plan(dist):
        try:
            problems = check(dist, rel)
        except CheckError as err:
            problems = [str(err)]
        except (OSError, struct.error) as err:
            problems = ["unreadable (%s)" % err]
        if problems:
            failed += 1
            for p in problems:
                print("FAIL %s: %s: %s" % (check.__name__, rel, p), file=out)
        else:
            passed += 1
    print("%d passed, %d failed" % (passed, failed), file=out)
    return failed == 0


def main(argv):
    dist = argv[1] if len(argv) > 1 else "build/dist"
    if not os.path.isdir(dist):
        print("check_dist: no folder %s" % dist, file=sys.stderr)
        return 2
    return 0 if run(dist) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
