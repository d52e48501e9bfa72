#!/usr/bin/env python3
"""Generates the X-file test fixtures: a skinned dolphin with a swim
animation, a static two-material plate, and the dolphin's skin texture.

    xfile_fixtures.py OUT_DIR

Writes dolphin.x, plate.x (X text files), dolphin.tga, and XFileFixtures.cpp
/ XFileFixtures.h: each X file as a zlib stream with its inflated size, as a
plug-in carries an X block, and the texture as a zlib stream. Output is
deterministic.

The dolphin (about 2.3 units long, nose towards -x, back towards +y) hangs
from a chain of frames Root > Spine > (Head, Tail1 > Tail2 > Fluke); its body
is one skinned mesh of two materials (textured skin, plain belly) whose
vertices follow up to three of the five bones, and the Head frame carries a
static mesh (the eyes). The animation set "Swim" beats the tail up and down
over two seconds (ticks 0 to 9600 at 4800 per second), starting straight.
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import qvdata  # noqa: E402

TICKS_PER_SECOND = 4800

# Bones: name, parent, position in the model (no rotation at rest).
BONES = [
    ("Spine", None, (-0.2, 0.0, 0.0)),
    ("Head", "Spine", (-0.7, 0.0, 0.0)),
    ("Tail1", "Spine", (0.3, 0.0, 0.0)),
    ("Tail2", "Tail1", (0.7, 0.0, 0.0)),
    ("Fluke", "Tail2", (0.95, 0.0, 0.0)),
]
BONE_AT = {name: pos for name, _, pos in BONES}

# Tail beat: degrees about z per bone at the keys 0, 1/4, 1/2, 3/4, 1 of the cycle.
BEAT = {"Tail1": 12.0, "Tail2": 22.0, "Fluke": 30.0}
CYCLE_TICKS = 2 * TICKS_PER_SECOND


def num(v):
    text = "%.6f" % v
    return "0.000000" if text == "-0.000000" else text


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def normalise(v):
    length = math.sqrt(dot(v, v)) or 1.0
    return (v[0] / length, v[1] / length, v[2] / length)


class Mesh:
    def __init__(self):
        self.positions = []
        self.normals = []
        self.uvs = []
        self.faces = []
        self.materials = []

    def vertex(self, p, n, uv):
        self.positions.append(p)
        self.normals.append(normalise(n))
        self.uvs.append(uv)
        return len(self.positions) - 1

    def triangle(self, a, b, c, outward, material=0):
        """Adds a triangle facing `outward`. The objects are drawn with
        clockwise faces culled, so a front face runs counter-clockwise on
        screen: (b - a) x (c - a) points into the object."""
        pa, pb, pc = self.positions[a], self.positions[b], self.positions[c]
        if dot(cross(sub(pb, pa), sub(pc, pa)), outward) > 0:
            b, c = c, b
        self.faces.append((a, b, c))
        self.materials.append(material)


def body_radius(x):
    """Half height of the body at x (nose at -1.05, tail stock at 0.95)."""
    t = (x + 1.05) / 2.0
    return 0.03 + 0.22 * math.sin(math.pi * min(max(t, 0.0), 1.0) ** 0.7)


def build_body():
    m = Mesh()
    rings, around = 22, 16
    xs = [-1.0 + 1.95 * i / (rings - 1) for i in range(rings)]
    ring_start = []
    for x in xs:
        r = body_radius(x)
        ring_start.append(len(m.positions))
        for k in range(around):
            a = 2.0 * math.pi * k / around
            y, z = r * math.cos(a), 0.8 * r * math.sin(a)
            m.vertex((x, y, z), (0.0, math.cos(a), math.sin(a) / 0.8), ((x + 1.05) / 2.3, k / around))
    belly = lambda k: math.cos(2.0 * math.pi * (k + 0.5) / around) < -0.3  # noqa: E731
    for i in range(rings - 1):
        for k in range(around):
            k1 = (k + 1) % around
            a, b = ring_start[i] + k, ring_start[i] + k1
            c, d = ring_start[i + 1] + k, ring_start[i + 1] + k1
            mid = normalise(m.normals[a])
            material = 1 if belly(k) else 0
            m.triangle(a, b, c, mid, material)
            m.triangle(b, d, c, mid, material)
    # Nose and tail caps.
    nose = m.vertex((-1.05, 0.0, 0.0), (-1.0, 0.0, 0.0), (0.0, 0.5))
    tail = m.vertex((0.97, 0.0, 0.0), (1.0, 0.0, 0.0), (1.0, 0.5))
    for k in range(around):
        k1 = (k + 1) % around
        m.triangle(nose, ring_start[0] + k, ring_start[0] + k1, (-1.0, 0.0, 0.0), 1 if belly(k) else 0)
        m.triangle(tail, ring_start[-1] + k1, ring_start[-1] + k, (1.0, 0.0, 0.0), 0)
    # Fluke: a flat blade across the tail, both faces.
    blade = [(0.9, 0.0, 0.0), (1.25, 0.0, 0.38), (1.12, 0.0, 0.0), (1.25, 0.0, -0.38)]
    for up in (1.0, -1.0):
        ids = [m.vertex(p, (0.0, up, 0.0), ((p[0] + 1.05) / 2.3, 0.5 + p[2])) for p in blade]
        m.triangle(ids[0], ids[1], ids[2], (0.0, up, 0.0))
        m.triangle(ids[0], ids[2], ids[3], (0.0, up, 0.0))
    # Dorsal fin: a blade on the back, both faces.
    fin = [(-0.2, 0.2, 0.0), (0.15, 0.2, 0.0), (0.2, 0.42, 0.0)]
    for side in (1.0, -1.0):
        ids = [m.vertex(p, (0.0, 0.0, side), ((p[0] + 1.05) / 2.3, 0.0)) for p in fin]
        m.triangle(ids[0], ids[1], ids[2], (0.0, 0.0, side))
    return m


def bone_weights(p):
    """Up to three bones by closeness along the body, summing to 1."""
    scores = []
    for name, _, at in BONES:
        d = abs(p[0] - at[0])
        scores.append((math.exp(-(d / 0.3) ** 2), name))
    scores.sort(key=lambda s: (-s[0], s[1]))
    kept = [s for s in scores[:3] if s[0] > 0.08] or scores[:1]
    total = sum(s[0] for s in kept)
    return [(name, w / total) for w, name in kept]


def build_eyes():
    """Two small dark diamonds either side of the head, in Head coordinates."""
    m = Mesh()
    for side in (1.0, -1.0):
        c = (-0.12, 0.07, 0.12 * side)
        s = 0.03
        tips = [(c[0] + s, c[1], c[2]), (c[0] - s, c[1], c[2]), (c[0], c[1] + s, c[2]), (c[0], c[1] - s, c[2]),
                (c[0], c[1], c[2] + s), (c[0], c[1], c[2] - s)]
        ids = [m.vertex(t, sub(t, c), (0.0, 0.0)) for t in tips]
        for a in (0, 1):
            for b in (2, 3):
                for e in (4, 5):
                    centre = tuple((tips[a][i] + tips[b][i] + tips[e][i]) / 3.0 for i in range(3))
                    m.triangle(ids[a], ids[b], ids[e], sub(centre, c))
    return m


def build_plate():
    """Two unit quads side by side facing -z: left red, right green."""
    m = Mesh()
    for material, x0 in ((0, -1.0), (1, 0.0)):
        ids = [m.vertex((x0 + dx, dy - 0.5, 0.0), (0.0, 0.0, -1.0), (dx, dy)) for dx, dy in
               ((0.0, 0.0), (1.0, 0.0), (1.0, 1.0), (0.0, 1.0))]
        m.triangle(ids[0], ids[1], ids[2], (0.0, 0.0, -1.0), material)
        m.triangle(ids[0], ids[2], ids[3], (0.0, 0.0, -1.0), material)
    return m


def matrix_text(translation=(0.0, 0.0, 0.0)):
    rows = [1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, translation[0], translation[1], translation[2], 1]
    return ",".join(num(v) for v in rows) + ";;"


def material_text(name, colour, texture=None, emissive=(0.0, 0.0, 0.0)):
    lines = ["Material %s {" % name,
             " %s;%s;%s;%s;;" % tuple(num(c) for c in colour),
             " 10.000000;",
             " 0.200000;0.200000;0.200000;;",
             " %s;%s;%s;;" % tuple(num(c) for c in emissive)]
    if texture:
        lines.append(' TextureFilename { "%s"; }' % texture)
    lines.append("}")
    return "\n".join(lines)


def mesh_text(name, m, materials, skin=None):
    out = ["Mesh %s {" % name, " %d;" % len(m.positions)]
    out.append(",\n".join(" %s;%s;%s;" % tuple(num(c) for c in p) for p in m.positions) + ";")
    out.append(" %d;" % len(m.faces))
    out.append(",\n".join(" 3;%d,%d,%d;" % f for f in m.faces) + ";")
    out.append(" MeshNormals {")
    out.append("  %d;" % len(m.normals))
    out.append(",\n".join("  %s;%s;%s;" % tuple(num(c) for c in n) for n in m.normals) + ";")
    out.append("  %d;" % len(m.faces))
    out.append(",\n".join("  3;%d,%d,%d;" % f for f in m.faces) + ";")
    out.append(" }")
    out.append(" MeshTextureCoords {")
    out.append("  %d;" % len(m.uvs))
    out.append(",\n".join("  %s;%s;" % (num(u), num(v)) for u, v in m.uvs) + ";")
    out.append(" }")
    out.append(" MeshMaterialList {")
    out.append("  %d;" % len(materials))
    out.append("  %d;" % len(m.materials))
    out.append("  " + ",".join(str(i) for i in m.materials) + ";")
    out.extend("  " + line for text in materials for line in text.split("\n"))
    out.append(" }")
    if skin:
        out.extend(" " + line for line in skin.split("\n"))
    out.append("}")
    return "\n".join(out)


def skin_text(m):
    influences = {name: [] for name, _, _ in BONES}
    most = 0
    for i, p in enumerate(m.positions):
        weights = bone_weights(p)
        most = max(most, len(weights))
        for name, w in weights:
            influences[name].append((i, w))
    per_face = max(len({n for v in f for n, _ in bone_weights(m.positions[v])}) for f in m.faces)
    out = ["XSkinMeshHeader {", " %d;" % most, " %d;" % per_face, " %d;" % len(BONES), "}"]
    for name, _, at in BONES:
        pairs = influences[name]
        out.append("SkinWeights {")
        out.append(' "%s";' % name)
        out.append(" %d;" % len(pairs))
        out.append(" " + ",".join(str(i) for i, _ in pairs) + ";")
        out.append(" " + ",".join(num(w) for _, w in pairs) + ";")
        # Offset: from the model into the bone's space at rest.
        out.append(" " + matrix_text((-at[0], -at[1], -at[2])))
        out.append("}")
    return "\n".join(out)


def frame_text(name, body, indent=""):
    parent = next(p for n, p, _ in BONES if n == name)
    at = BONE_AT[name]
    base = BONE_AT[parent] if parent else (0.0, 0.0, 0.0)
    lines = ["Frame %s {" % name, " FrameTransformMatrix { %s }" % matrix_text(sub(at, base))]
    for extra in body.get(name, []):
        lines.extend(" " + line for line in extra.split("\n"))
    for child, p, _ in BONES:
        if p == name:
            lines.extend(" " + line for line in frame_text(child, body).split("\n"))
    lines.append("}")
    return "\n".join(indent + line for line in lines)


def rotation_key(degrees):
    """The file's rotation for a turn about z: the program turns by the
    inverse of the stored quaternion, so the inverse is stored (w, x, y, z)."""
    half = math.radians(degrees) / 2.0
    return (math.cos(half), 0.0, 0.0, -math.sin(half))


def animation_text():
    out = ["AnimationSet Swim {"]
    phases = (0.0, 1.0, 0.0, -1.0, 0.0)
    for name in ("Tail1", "Tail2", "Fluke"):
        keys = []
        for i, phase in enumerate(phases):
            w, x, y, z = rotation_key(BEAT[name] * phase)
            keys.append(" %d;4;%s,%s,%s,%s;;" % (CYCLE_TICKS * i // 4, num(w), num(x), num(y), num(z)))
        out.append(" Animation Beat%s {" % name)
        out.append("  {%s}" % name)
        out.append("  AnimationOptions { 1; 1; }")
        out.append("  AnimationKey {")
        out.append("   0;")
        out.append("   %d;" % len(keys))
        out.append("  " + ",\n  ".join(keys) + ";")
        out.append("  }")
        out.append(" }")
    # The head holds its place: a single position key at its rest offset.
    at = sub(BONE_AT["Head"], BONE_AT["Spine"])
    out.append(" Animation HoldHead {")
    out.append("  {Head}")
    out.append("  AnimationKey { 2; 1; 0;3;%s,%s,%s;;; }" % tuple(num(c) for c in at))
    out.append(" }")
    out.append("}")
    return "\n".join(out)


def scale_text(scale):
    rows = [scale, 0, 0, 0, 0, scale, 0, 0, 0, 0, scale, 0, 0, 0, 0, 1]
    return ",".join(num(v) for v in rows) + ";;"


def dolphin_text(scale=1.0):
    """The dolphin; a scale other than 1 sizes it through its root frame
    (the dolphin of a plug-in is modelled a hundred times its world size)."""
    body = build_body()
    eyes = build_eyes()
    materials = [material_text("Skin", (1.0, 1.0, 1.0, 1.0), texture="dolphin.tga"),
                 material_text("Belly", (0.85, 0.85, 0.9, 1.0))]
    eye_materials = [material_text("Eye", (0.05, 0.05, 0.05, 1.0))]
    frames = {"Head": [mesh_text("Eyes", eyes, eye_materials)]}
    parts = ["xof 0303txt 0032",
             "Frame Root {",
             " FrameTransformMatrix { %s }" % (matrix_text() if scale == 1.0 else scale_text(scale)),
             frame_text("Spine", frames, " "),
             "\n".join(" " + line for line in mesh_text("DolphinBody", body, materials, skin_text(body)).split("\n")),
             "}",
             animation_text(),
             ""]
    return "\n".join(parts)


def plate_text():
    plate = build_plate()
    materials = [material_text("Red", (1.0, 0.0, 0.0, 1.0), emissive=(0.6, 0.0, 0.0)),
                 material_text("Green", (0.0, 1.0, 0.0, 1.0), emissive=(0.0, 0.6, 0.0))]
    return "\n".join(["xof 0303txt 0032",
                      "Frame Plate {",
                      " FrameTransformMatrix { %s }" % matrix_text(),
                      "\n".join(" " + line for line in mesh_text("PlateMesh", plate, materials).split("\n")),
                      "}",
                      ""])


def skin_texture(size=32):
    """24-bit TGA: a dark grey-blue back fading to a pale flank, in v."""
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, size, size, 24, 0x20)
    pixels = bytearray()
    for y in range(size):
        for x in range(size):
            back = abs(math.cos(math.pi * (y + 0.5) / size))
            shade = 0.35 + 0.5 * (1.0 - back) + 0.05 * ((x // 4 + y // 4) % 2)
            r, g, b = (shade * 0.75, shade * 0.85, shade)
            pixels += bytes((int(b * 255), int(g * 255), int(r * 255)))
    return header + bytes(pixels)


def main(argv):
    if len(argv) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    out_dir = argv[0]
    files = {"Dolphin": ("dolphin.x", dolphin_text().encode("ascii")),
             "DolphinLarge": ("dolphin_large.x", dolphin_text(100.0).encode("ascii")),
             "Plate": ("plate.x", plate_text().encode("ascii")),
             "DolphinSkin": ("dolphin.tga", skin_texture())}
    h = ["// Generated by tools/gen/xfile_fixtures.py. Do not edit.",
         "#pragma once",
         "#include <cstdint>",
         "",
         "namespace XFileFixtures {",
         "",
         "// Each file as a zlib stream (as a plug-in carries it) and its size inflated."]
    c = ["// Generated by tools/gen/xfile_fixtures.py. Do not edit.",
         '#include "XFileFixtures.h"',
         "",
         "namespace XFileFixtures {",
         ""]
    for name, (file_name, data) in files.items():
        qvdata.write_bytes_if_changed(os.path.join(out_dir, file_name), data)
        stream = qvdata.compress(data)
        h.append("extern const unsigned char k%s[%d];  // %s" % (name, len(stream), file_name))
        h.append("constexpr uint32_t k%sSize = %d;" % (name, len(stream)))
        h.append("constexpr uint32_t k%sInflatedSize = %d;" % (name, len(data)))
        c.append(qvdata.c_array("k%s" % name, stream))
    h += ["", "}  // namespace XFileFixtures", ""]
    c += ["}  // namespace XFileFixtures", ""]
    qvdata.write_if_changed(os.path.join(out_dir, "XFileFixtures.h"), "\n".join(h))
    qvdata.write_if_changed(os.path.join(out_dir, "XFileFixtures.cpp"), "\n".join(c))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
