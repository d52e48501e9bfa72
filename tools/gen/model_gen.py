#!/usr/bin/env python3
"""Generates the C++ data of one species mesh set from data/models/<name>.json.

    model_gen.py CONFIG OUT_CPP OUT_H

Writes the meshes (base, far, swim or sway frames, partial-morph poses),
the parts and the compressed textures as C++ definitions, and a header that
declares them. Meshes live in writable storage: the program rewrites index
data (strips) and partial-morph vertices in place.
"""
import json
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import fishmesh  # noqa: E402
import qvdata  # noqa: E402
import skins  # noqa: E402


def u16_array(name, values):
    lines = []
    for i in range(0, len(values), 16):
        lines.append("    " + ", ".join(str(v) for v in values[i:i + 16]) + ",")
    return "uint16_t %s[%d] = {\n%s\n};\n" % (name, len(values), "\n".join(lines))


def ranges_array(name, ranges):
    body = ",\n".join("    {%d, %d, %d, %d, %d}" % r for r in ranges)
    return "X2AttributeRange %s[%d] = {\n%s\n};\n" % (name, len(ranges), body)


def f(v):
    return repr(float(v)) + "f"


def to_travel_axis(vertex_bytes, stride):
    """Turns built vertices (nose towards +z) so that the nose points along -x,
    the direction the engine moves an object with no rotation: (x, y, z) ->
    (-z, y, x) for position and normal. Exact in floats, so vertices that were
    bit-identical stay so."""
    out = bytearray(vertex_bytes)
    for off in range(0, len(out), stride):
        x, y, z, nx, ny, nz = struct.unpack_from("<6f", out, off)
        struct.pack_into("<6f", out, off, -z, y, x, -nz, ny, nx)
    return bytes(out)


class Emitter:
    def __init__(self, symbol, swimmer=False):
        self.symbol = symbol
        self.swimmer = swimmer
        self.cpp = []
        self.h = []

    def mesh(self, name, vertex_bytes, count, faces, fvf, stride, ranges, ranges_name=None):
        sym = "%s_%s" % (self.symbol, name)
        assert len(vertex_bytes) == count * stride
        if self.swimmer:
            vertex_bytes = to_travel_axis(vertex_bytes, stride)
        self.cpp.append(qvdata.c_array(sym + "_v", vertex_bytes, storage=""))
        flat = [i for face in faces for i in face]
        self.cpp.append(u16_array(sym + "_i", flat))
        if ranges_name is None:
            ranges_name = sym + "_r"
            self.cpp.append(ranges_array(ranges_name, ranges))
        self.cpp.append("X2FishMesh %s = {%d, %s_v, %d, %s_i, 0x%X, %d, %s, %d, nullptr};\n"
                        % (sym, count, sym, len(faces), sym, fvf, stride, ranges_name, len(ranges)))
        self.h.append("extern X2FishMesh %s;\n" % sym)
        return sym

    def texture(self, name, data):
        sym = "%s_%s" % (self.symbol, name)
        packed = qvdata.compress(data)
        self.cpp.append(qvdata.c_array(sym, packed, storage="extern const"))
        self.cpp.append("extern const uint32_t %s_size = %d;\n" % (sym, len(packed)))
        self.cpp.append("extern const uint32_t %s_inflated = %d;\n" % (sym, len(data)))
        self.h.append("extern const unsigned char %s[%d];\n" % (sym, len(packed)))
        self.h.append("extern const uint32_t %s_size;\n" % sym)
        self.h.append("extern const uint32_t %s_inflated;\n" % sym)


def build_pieces(fish, desc, total_v, total_f):
    pieces = []
    for k, ps in enumerate(desc):
        src = ps
        if "mirror_of" in ps:
            src = dict(desc[ps["mirror_of"]])
            src.update({key: v for key, v in ps.items() if key != "mirror_of"})
            src["mirror"] = True
        kind = src["type"]
        name = src.get("name", "%s%d" % (kind, k))
        if kind == "body":
            pc = fish.body(name, src["rings"], src["segments"], flex_from=src.get("flex_from"))
        elif kind == "fin":
            pc = fish.fin(name, src)
        elif kind == "eyes":
            pc = fish.eyes(name, src)
        elif kind == "fan":
            pc = fishmesh.sea_fan(src)
        else:
            raise ValueError("unknown piece type " + kind)
        pieces.append((pc, ps))
    # exact counts: given ones, natural ones, and the one marked "rest"
    fixed_v = fixed_f = 0
    rest = None
    for pc, ps in pieces:
        if ps.get("rest"):
            rest = pc
            continue
        v = ps.get("vertices", len(pc.pos))
        fc = ps.get("faces", len(pc.faces))
        pc.fit(v, fc)
        fixed_v += v
        fixed_f += fc
    if rest is not None:
        rest.fit(total_v - fixed_v, total_f - fixed_f)
    mesh = fishmesh.Mesh([pc for pc, _ in pieces])
    if len(mesh.pos) != total_v or len(mesh.faces) != total_f:
        raise ValueError("mesh has %d / %d, expected %d / %d"
                         % (len(mesh.pos), len(mesh.faces), total_v, total_f))
    return mesh, pieces


def pminfo_layout(pieces, desc, length):
    """Partial-morph mesh: pose ranges placed where the range table says."""
    entries = desc["ranges"]
    total_v = sum(e["range"][4] for e in entries)
    total_f = sum(e["range"][2] for e in entries)
    verts = [None] * total_v
    faces = [None] * total_f
    ranges = []
    for e in entries:
        attr, f0, fc, v0, vc = e["range"]
        pc = pieces[e["piece"]][0]
        if len(pc.pos) != vc or len(pc.faces) != fc:
            raise ValueError("pose range %d does not match its piece" % attr)
        data = fishmesh.pose_vertices(pc, e["amount"], length)
        for k in range(vc):
            assert verts[v0 + k] is None
            verts[v0 + k] = data[24 * k:24 * k + 24]
        for k, (a, b, c) in enumerate(pc.faces):
            assert faces[f0 + k] is None
            faces[f0 + k] = (a + v0, b + v0, c + v0)
        ranges.append(tuple(e["range"]))
    assert None not in verts and None not in faces
    return b"".join(verts), faces, ranges


def auto_pminfo(pieces, desc):
    """Poses for every piece but the body, in base order: ranges 2k and 2k+1."""
    entries, parts = [], []
    v0 = f0 = 0
    for k, (pc, ps) in enumerate(pieces):
        if k == 0:
            continue
        amounts = ps.get("pose", desc.get("pose", [0.05, -0.05]))
        for amount in amounts:
            attr = len(entries)
            entries.append({"range": [attr, f0, len(pc.faces), v0, len(pc.pos)],
                            "piece": k, "amount": amount})
            v0 += len(pc.pos)
            f0 += len(pc.faces)
        p = desc.get("part", [0.2, 0.1, 0.05, 0.0, 0])
        parts.append([len(entries) - 2, len(entries) - 1, k] + p)
    return {"ranges": entries}, parts


def main():
    config_path, out_cpp, out_h = sys.argv[1:4]
    with open(config_path, encoding="utf-8") as fh:
        cfg = json.load(fh)
    sym = cfg["symbol"]
    em = Emitter(sym, swimmer=cfg["frames"]["kind"] == "swim")
    fish = fishmesh.Fish(cfg)
    length = cfg["length"]

    base_desc = cfg["base"]
    mesh, pieces = build_pieces(fish, base_desc["pieces"], base_desc["vertices"], base_desc["faces"])
    em.mesh("base", mesh.vertex_bytes(), len(mesh.pos), mesh.faces, 0x112, 32, mesh.ranges)

    if "far" in cfg:
        far, _ = build_pieces(fish, cfg["far"]["pieces"], cfg["far"]["vertices"], cfg["far"]["faces"])
        em.mesh("far", far.vertex_bytes(), len(far.pos), far.faces, 0x112, 32, far.ranges)
        em.cpp.append("X2FarMesh %s_far_pair = {10.0f, &%s_far};\n" % (sym, sym))
        em.h.append("extern X2FarMesh %s_far_pair;\n" % sym)

    frames = cfg["frames"]
    names = []
    for k in range(frames["count"]):
        if frames["kind"] == "swim":
            data = fishmesh.swim_frame(mesh, k, frames["count"], frames["amplitude"], length)
        else:
            data = fishmesh.sway_frame(mesh, k, frames["count"], frames["amplitude"], frames["height"])
        # every frame owns its index copy (index data may be rewritten in place)
        names.append(em.mesh("frame%d" % k, data, len(mesh.pos), mesh.faces, 0x12, 24,
                             mesh.ranges, ranges_name="%s_base_r" % sym))
    em.cpp.append("X2FishMesh* %s_frames[%d] = {%s};\n" % (sym, len(names), ", ".join("&" + n for n in names)))
    em.h.append("extern X2FishMesh* %s_frames[%d];\n" % (sym, len(names)))

    parts = cfg.get("parts", [])
    pm = cfg.get("pminfo")
    if pm is not None:
        if pm.get("auto"):
            pm, parts = auto_pminfo(pieces, pm)
        data, faces, ranges = pminfo_layout(pieces, pm, length)
        em.mesh("pminfo", data, len(data) // 24, faces, 0x12, 24, ranges)
    if parts:
        body = ",\n".join("    {%d, %d, %d, %s, %s, %s, %s, %d}"
                          % (p[0], p[1], p[2], f(p[3]), f(p[4]), f(p[5]), f(p[6]), p[7]) for p in parts)
        em.cpp.append("X2FishPart %s_parts[%d] = {\n%s\n};\n" % (sym, len(parts), body))
        em.h.append("extern X2FishPart %s_parts[%d];\n" % (sym, len(parts)))

    for tex in cfg.get("textures", []):
        kind = tex["type"]
        if kind == "fish_skin":
            data = skins.FishSkin(tex).dds(tex.get("format", "DXT1"))
        elif kind == "sea_fan":
            fan = skins.SeaFan(tex)
            for k, tint in enumerate(tex["tints"]):
                em.texture("%s%d" % (tex["name"], k), fan.dds(tint))
            continue
        elif kind == "sheen":
            data = skins.sheen_tga(tex["size"], tex["top"], tex["bottom"])
        else:
            raise ValueError("unknown texture type " + kind)
        em.texture(tex["name"], data)

    guard = "// Generated by tools/gen/model_gen.py from %s; do not edit.\n" % os.path.basename(config_path)
    cpp = guard + '#include "%s"\n\n' % os.path.basename(out_h) + "\n".join(em.cpp)
    h = guard + "#pragma once\n#include <stdint.h>\n\n#include \"X2PluginAbi.h\"\n\n" + "".join(em.h)
    for path, text in ((out_cpp, cpp), (out_h, h)):
        qvdata.write_if_changed(path, text)
        os.utime(path)      # newer than the inputs even when unchanged


if __name__ == "__main__":
    main()
