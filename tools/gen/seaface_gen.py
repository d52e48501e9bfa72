#!/usr/bin/env python3
"""Generates the C++ data of the sea surface and its water simulation.

    seaface_gen.py OUT_CPP OUT_H

Writes, in namespace SeafaceContent:
- the shader surface's mesh: 32-byte vertices (position, normal, texture
  coordinate) on a 54 x 27 cell lattice spanning -96..96 in x and -83..83 in
  z at y = 0, normals pointing down, texture coordinates 0.25..0.75, cut into
  19 patches (the segments), each with vertices of its own so that every
  attribute range continues the one before it;
- the fixed-function surface's grid: the same lattice at a tenth of the size
  as a zlib-compressed text X file with the mesh "mesh1";
- the surface texture (fixed function), the surface's resting normal map, the
  environment cube map (DDS with mips) and the water simulation's four
  disturbance images.
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import imagefiles  # noqa: E402
import qvdata  # noqa: E402

FVF_XYZ_NORMAL_TEX1 = 0x112
STRIDE = 32
HALF_X = 96.0
HALF_Z = 83.0
COLUMNS = 54
# Patch rows: (cell rows, patches across). 65 x 13 + 62 x 16 = 1837 vertices,
# 2 x 54 x 27 = 2916 triangles, 11 + 8 = 19 patches.
PATCH_ROWS = ((12, 11), (15, 8))
CUBE_SIZE = 32
CUBE_LEVELS = 6
SIM_SIZE = 64


def lattice(count, half):
    """Lattice lines from -half to half, closer together near the middle
    where the waves are highest."""
    out = []
    for i in range(count + 1):
        s = 2.0 * i / count - 1.0
        out.append(half * math.copysign(abs(s) ** 1.25, s))
    return out


def split(total, parts):
    """Splits total cells into parts runs as evenly as can be."""
    edges = [round(total * k / parts) for k in range(parts + 1)]
    return [(edges[k], edges[k + 1]) for k in range(parts)]


class Mesh:
    def __init__(self):
        self.vertices = []  # (x, y, z, u, v)
        self.faces = []
        self.ranges = []  # (first face, faces, first vertex, vertices)


def surface(scale=1.0):
    xs = lattice(COLUMNS, HALF_X)
    zs = lattice(sum(r for r, _ in PATCH_ROWS), HALF_Z)
    m = Mesh()
    row0 = 0
    for rows, across in PATCH_ROWS:
        for c0, c1 in split(COLUMNS, across):
            first_vertex = len(m.vertices)
            first_face = len(m.faces)
            width = c1 - c0 + 1
            for j in range(row0, row0 + rows + 1):
                for i in range(c0, c1 + 1):
                    x, z = xs[i], zs[j]
                    u = 0.25 + 0.5 * (x + HALF_X) / (2.0 * HALF_X)
                    v = 0.25 + 0.5 * (HALF_Z - z) / (2.0 * HALF_Z)
                    m.vertices.append((x * scale, 0.0, z * scale, u, v))
            for j in range(rows):
                for i in range(c1 - c0):
                    a = first_vertex + j * width + i  # (x0, z0)
                    b = a + 1                         # (x1, z0)
                    c = a + width                     # (x0, z1)
                    d = c + 1                         # (x1, z1)
                    # Wound so that (B - A) x (C - B) points down: the face
                    # seen from below.
                    m.faces.append((a, b, c))
                    m.faces.append((b, d, c))
            m.ranges.append((first_face, len(m.faces) - first_face, first_vertex,
                             len(m.vertices) - first_vertex))
        row0 += rows
    return m


def num(v):
    return "%.6f" % v


def grid_x_file(m):
    out = ["xof 0303txt 0032", "Mesh mesh1 {", " %d;" % len(m.vertices)]
    out.append(",\n".join(" %s;%s;%s;" % (num(x), num(y), num(z)) for x, y, z, _, _ in m.vertices) + ";")
    out.append(" %d;" % len(m.faces))
    out.append(",\n".join(" 3;%d,%d,%d;" % f for f in m.faces) + ";")
    out.append(" MeshNormals {")
    out.append("  1;")
    out.append("  0.000000;-1.000000;0.000000;;")
    out.append("  %d;" % len(m.faces))
    out.append(",\n".join("  3;0,0,0;" for _ in m.faces) + ";")
    out.append(" }")
    out.append(" MeshTextureCoords {")
    out.append("  %d;" % len(m.vertices))
    out.append(",\n".join("  %s;%s;" % (num(u), num(v)) for _, _, _, u, v in m.vertices) + ";")
    out.append(" }")
    out.append("}")
    return ("\n".join(out) + "\n").encode("ascii")


def noise(x, y, period, seed):
    """Smooth value noise on a period x period tiling lattice."""
    def h(i, j):
        n = (i % period) * 374761393 + (j % period) * 668265263 + seed * 144665
        n = (n ^ (n >> 13)) * 1274126177 & 0xFFFFFFFF
        return ((n ^ (n >> 16)) & 0xFFFF) / 65535.0
    i, j = int(math.floor(x)), int(math.floor(y))
    fx, fy = x - i, y - j
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a = h(i, j) + (h(i + 1, j) - h(i, j)) * sx
    b = h(i, j + 1) + (h(i + 1, j + 1) - h(i, j + 1)) * sx
    return a + (b - a) * sy


def ripples(x, y, size, seed):
    total, amp, norm = 0.0, 1.0, 0.0
    for octave in range(3):
        period = 4 << octave
        total += amp * noise(x * period / size, y * period / size, period, seed + octave)
        norm += amp
        amp *= 0.5
    return total / norm


def surface_texture(size=128):
    """Bright rippled light of the surface seen from below; alpha 1."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            r = ripples(x, y, size, 11)
            k = max(0.0, 1.0 - abs(r - 0.5) * 6.0) ** 2
            light = 0.55 + 0.45 * k
            row.append((255 * light * 0.75, 255 * light * 0.92, 255 * light, 255))
        rows.append(row)
    return rows


def normal_map(size=64):
    """Resting ripples as a normal map (0.5 + slope, z up), alpha 1."""
    h = [[ripples(x, y, size, 23) for x in range(size)] for y in range(size)]
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            gx = (h[y][(x - 1) % size] - h[y][(x + 1) % size]) * 2.0
            gy = (h[(y + 1) % size][x] - h[(y - 1) % size][x]) * 2.0
            n = math.sqrt(gx * gx + gy * gy + 1.0)
            row.append((255 * (0.5 + 0.5 * gx / n), 255 * (0.5 + 0.5 * gy / n), 255 * (0.5 + 0.5 / n), 255))
        rows.append(row)
    return rows


def cube_face_direction(face, s, t):
    """Direction through (s, t) in -1..1 of cube face +x, -x, +y, -y, +z, -z."""
    d = [(1.0, -t, -s), (-1.0, -t, s), (s, 1.0, t), (s, -1.0, -t), (s, -t, 1.0), (-s, -t, -1.0)][face]
    n = math.sqrt(sum(c * c for c in d))
    return tuple(c / n for c in d)


def environment(d):
    """What the rippled surface mirrors and lets through: bright light along
    the vertical (up and down alike, so either side of the surface glows),
    deep blue towards the horizon."""
    x, y, z = d
    k = abs(y)
    glow = k ** 1.5
    sparkle = ripples((x / (k + 0.3) + 2.0) * 20.0, (z / (k + 0.3) + 2.0) * 20.0, 64, 31)
    sparkle = max(0.0, sparkle - 0.55) * 2.0
    r = 0.10 + 0.70 * glow + sparkle * glow
    g = 0.35 + 0.60 * glow + sparkle * glow
    b = 0.55 + 0.45 * glow + sparkle * glow
    return tuple(min(1.0, c) * 255.0 for c in (r, g, b)) + (255.0,)


def environment_cube(size):
    faces = []
    for face in range(6):
        rows = []
        for py in range(size):
            t = 2.0 * (py + 0.5) / size - 1.0
            rows.append([environment(cube_face_direction(face, 2.0 * (px + 0.5) / size - 1.0, t))
                         for px in range(size)])
        faces.append(rows)
    return faces


def disturbance(seed, drops):
    """Water heights around 0.5 (grey 128): round drops pushed up or down."""
    rnd = seed
    points = []
    for _ in range(drops):
        rnd = (rnd * 1103515245 + 12345) & 0x7FFFFFFF
        cx = rnd % SIM_SIZE
        rnd = (rnd * 1103515245 + 12345) & 0x7FFFFFFF
        cy = rnd % SIM_SIZE
        rnd = (rnd * 1103515245 + 12345) & 0x7FFFFFFF
        sign = 1.0 if rnd & 1 else -1.0
        points.append((cx, cy, sign))
    rows = []
    for y in range(SIM_SIZE):
        row = []
        for x in range(SIM_SIZE):
            h = 0.5
            for cx, cy, sign in points:
                dx = min(abs(x - cx), SIM_SIZE - abs(x - cx))
                dy = min(abs(y - cy), SIM_SIZE - abs(y - cy))
                h += sign * 0.35 * math.exp(-(dx * dx + dy * dy) / 6.0)
            h = min(max(h, 0.0), 1.0)
            row.append((255 * h, 255 * h, 255 * h, 255))
        rows.append(row)
    return rows


class Writer:
    def __init__(self):
        self.cpp = []
        self.h = []
        self.counter = 0

    def image(self, name, data, comment):
        symbol = "g_blob%d" % self.counter
        self.counter += 1
        packed = qvdata.compress(data)
        self.cpp.append(qvdata.c_array(symbol, packed, storage="static const"))
        self.cpp.append("extern const SeafaceImage %s = {%s, %d};\n" % (name, symbol, len(packed)))
        self.h.append("// %s\nextern const SeafaceImage %s;\n" % (comment, name))

    def x_block(self, name, data, comment):
        symbol = "g_blob%d" % self.counter
        self.counter += 1
        packed = qvdata.compress(data)
        self.cpp.append(qvdata.c_array(symbol, packed, storage="static const"))
        self.cpp.append("X2FishTexture %s = {%s, %d};\n" % (name, symbol, len(packed)))
        self.cpp.append("extern const uint32_t %sInflatedSize = %d;\n" % (name, len(data)))
        self.h.append("// %s\nextern X2FishTexture %s;\nextern const uint32_t %sInflatedSize;\n"
                      % (comment, name, name))

    def mesh(self, name, m, comment):
        data = bytearray()
        for x, y, z, u, v in m.vertices:
            data += struct.pack("<8f", x, y, z, 0.0, -1.0, 0.0, u, v)
        assert len(m.vertices) < 65536
        indices = [i for f in m.faces for i in f]
        self.cpp.append(qvdata.c_array(name + "Vertices", bytes(data), storage="static"))
        lines = []
        for i in range(0, len(indices), 16):
            lines.append("    " + ", ".join(str(v) for v in indices[i:i + 16]) + ",")
        self.cpp.append("static uint16_t %sIndices[%d] = {\n%s\n};\n" % (name, len(indices), "\n".join(lines)))
        ranges = ",\n".join("    {%d, %d, %d, %d, %d}" % ((k,) + r) for k, r in enumerate(m.ranges))
        self.cpp.append("static X2AttributeRange %sRanges[%d] = {\n%s\n};\n" % (name, len(m.ranges), ranges))
        self.cpp.append("X2FishMesh %s = {%d, %sVertices, %d, %sIndices, 0x%X, %d, %sRanges, %d, nullptr};\n"
                        % (name, len(m.vertices), name, len(m.faces), name, FVF_XYZ_NORMAL_TEX1, STRIDE, name,
                           len(m.ranges)))
        self.h.append("// %s (%d vertices, %d triangles, %d segments)\nextern X2FishMesh %s;\n"
                      % (comment, len(m.vertices), len(m.faces), len(m.ranges), name))


def generate():
    w = Writer()
    big = surface()
    assert (len(big.vertices), len(big.faces), len(big.ranges)) == (1837, 2916, 19)
    w.mesh("kSurfaceMesh", big, "The shader surface, 32-byte vertices")
    w.x_block("kGridX", grid_x_file(surface(0.1)),
              "The fixed-function surface's grid: text X file, mesh \"mesh1\", a tenth of the size")
    w.image("kSurfaceImage", imagefiles.tga32(128, 128, surface_texture()),
            "Light through the surface, fixed-function path (128 x 128 TGA)")
    w.image("kRestingNormalImage", imagefiles.tga32(64, 64, normal_map()),
            "Resting ripples as a normal map, shown until the simulation has a result")
    w.image("kEnvironmentCube", imagefiles.dds_cube(environment_cube(CUBE_SIZE), CUBE_LEVELS),
            "Environment the surface mirrors: a %d x %d cube-map DDS with %d mip levels"
            % (CUBE_SIZE, CUBE_SIZE, CUBE_LEVELS))
    for k, (seed, drops) in enumerate(((7, 9), (19, 5), (23, 14), (41, 3))):
        w.image("kDisturbanceImage%d" % k, imagefiles.tga32(SIM_SIZE, SIM_SIZE, disturbance(seed, drops)),
                "Water disturbance %d: heights around grey 128, %d drops (64 x 64 TGA)" % (k, drops))
    h = ["// Generated by tools/gen/seaface_gen.py. Do not edit.",
         "#pragma once",
         "#include <cstdint>",
         "",
         '#include "X2PluginAbi.h"',
         "",
         "namespace SeafaceContent {",
         "",
         "// A zlib-compressed image file in memory.",
         "struct SeafaceImage {",
         "  const unsigned char* data;",
         "  uint32_t size;",
         "};",
         "",
         "constexpr int kSimulationSize = %d;" % SIM_SIZE,
         ""] + w.h + ["", "}  // namespace SeafaceContent", ""]
    cpp = ["// Generated by tools/gen/seaface_gen.py. Do not edit.",
           '#include "SeafaceContent.h"',
           "",
           "namespace SeafaceContent {",
           ""] + w.cpp + ["}  // namespace SeafaceContent", ""]
    return "\n".join(cpp), "\n".join(h)


def main(argv):
    return qvdata.source_pair_main(argv, "seaface_gen.py", generate)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
