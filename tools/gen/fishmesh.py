"""Procedural meshes of the species: fish bodies, fins, eyes, sea fans.

Build space: the fish swims towards +z (nose at +z), y is up, x to the side;
model_gen.py turns every swimming species so that its nose points along -x,
the engine's direction of travel.
A fish is described by data (data/models/*.json): a length, a side profile
and a list of pieces. Every piece becomes one attribute range (material) of
the base mesh; its vertex and face counts are fitted exactly to the counts the
record promises (extra faces are the back faces of the piece, extra vertices
repeat its first vertex and stay unused).
"""
import math
import struct


class Piece:
    """Vertices (pos, normal, uv, flex) and triangles of one material."""

    def __init__(self, name):
        self.name = name
        self.pos = []
        self.nrm = []
        self.uv = []
        self.flex = []      # 0 at a fin root / fixed region, up to 1 where it moves most
        self.side = []      # direction (x, y, z) in which the part poses move
        self.faces = []

    def add(self, p, uv, flex=0.0, side=(1.0, 0.0, 0.0)):
        self.pos.append(tuple(p))
        self.nrm.append((0.0, 0.0, 0.0))
        self.uv.append(tuple(uv))
        self.flex.append(flex)
        self.side.append(tuple(side))
        return len(self.pos) - 1

    def compute_normals(self):
        acc = [[0.0, 0.0, 0.0] for _ in self.pos]
        for a, b, c in self.faces:
            pa, pb, pc = self.pos[a], self.pos[b], self.pos[c]
            u = [pb[i] - pa[i] for i in range(3)]
            v = [pc[i] - pa[i] for i in range(3)]
            n = (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])
            for k in (a, b, c):
                for i in range(3):
                    acc[k][i] += n[i]
        self.nrm = [normalise(n, (0.0, 1.0, 0.0)) for n in acc]

    def fit(self, vertices, faces):
        """Pads to exactly `vertices` and `faces`; the geometry must not exceed them."""
        if len(self.pos) > vertices or len(self.faces) > faces:
            raise ValueError("piece %s has %d vertices / %d faces, more than %d / %d"
                             % (self.name, len(self.pos), len(self.faces), vertices, faces))
        front = list(self.faces)
        k = 0
        while len(self.faces) < faces:
            a, b, c = front[k % len(front)]
            # first the back faces (fins are seen from both sides), then repeats
            self.faces.append((a, c, b) if (k // len(front)) % 2 == 0 else (a, b, c))
            k += 1
        while len(self.pos) < vertices:
            self.pos.append(self.pos[0])
            self.nrm.append(self.nrm[0])
            self.uv.append(self.uv[0])
            self.flex.append(self.flex[0])
            self.side.append(self.side[0])


def normalise(v, fallback=(0.0, 0.0, 1.0)):
    n = math.sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])
    if n < 1e-12:
        return fallback
    return (v[0] / n, v[1] / n, v[2] / n)


def grid_faces(ids):
    """Two triangles per cell of a grid of vertex ids (rows of columns)."""
    faces = []
    for r in range(len(ids) - 1):
        for c in range(len(ids[r]) - 1):
            a, b, d, e = ids[r][c], ids[r][c + 1], ids[r + 1][c], ids[r + 1][c + 1]
            faces.append((a, d, b))
            faces.append((b, d, e))
    return faces


def lerp(a, b, t):
    return a + (b - a) * t


def sample(points, t):
    """Piecewise-linear value of [[t, v...], ...] at t (clamped)."""
    if t <= points[0][0]:
        return points[0][1:]
    for p, q in zip(points, points[1:]):
        if t <= q[0]:
            f = (t - p[0]) / (q[0] - p[0]) if q[0] > p[0] else 0.0
            return [lerp(a, b, f) for a, b in zip(p[1:], q[1:])]
    return points[-1][1:]


def resample(poly, n):
    """n points evenly spaced by index along a polyline of [a, b, c] points."""
    out = []
    for i in range(n):
        f = i * (len(poly) - 1) / (n - 1)
        k = min(int(f), len(poly) - 2)
        out.append([lerp(a, b, f - k) for a, b in zip(poly[k], poly[k + 1])])
    return out


# Texture layout shared by every fish skin: body in v 0 .. BODY_V (back at the
# top), fins below it, the eye in the square at the bottom right.
BODY_V = 0.75
EYE_UV = (0.9375, 0.9375, 0.05)


class Fish:
    def __init__(self, desc):
        self.length = desc["length"]
        self.profile = desc["profile"]          # [t, half height, half width, centre y]

    def z_of(self, t):
        return self.length * (0.5 - t)

    def section(self, t):
        h, w, c = sample(self.profile, t)
        return h * self.length, w * self.length, c * self.length

    def point(self, t, y, x):
        """Point given in body units: t along the length, y and x in lengths."""
        return (x * self.length, y * self.length, self.z_of(t))

    def body(self, name, rings, segments, flex_from=None):
        """Closed body: nose point, `rings` elliptic rings, tail point."""
        pc = Piece(name)
        nose = pc.add(self.point(0.0, sample(self.profile, 0.0)[2], 0.0), (0.0, 0.5 * BODY_V))
        ring_ids = []
        for r in range(rings):
            t = (r + 1) / (rings + 1)
            h, w, c = self.section(t)
            ids = []
            for s in range(segments):
                a = 2.0 * math.pi * s / segments
                x, y = w * math.sin(a), c + h * math.cos(a)
                flex = 0.0
                if flex_from is not None and t > flex_from:
                    flex = ((t - flex_from) / (1.0 - flex_from)) ** 2
                ids.append(pc.add((x, y, self.z_of(t)), (t, BODY_V * 0.5 * (1.0 - math.cos(a))), flex))
            ring_ids.append(ids)
        tail_flex = 1.0 if flex_from is not None else 0.0
        tail = pc.add(self.point(1.0, sample(self.profile, 1.0)[2], 0.0), (1.0, 0.5 * BODY_V), tail_flex)
        n = segments
        first = ring_ids[0]
        for s in range(n):
            pc.faces.append((nose, first[(s + 1) % n], first[s]))
        for a, b in zip(ring_ids, ring_ids[1:]):
            for s in range(n):
                s1 = (s + 1) % n
                pc.faces.append((a[s], a[s1], b[s]))
                pc.faces.append((a[s1], b[s1], b[s]))
        last = ring_ids[-1]
        for s in range(n):
            pc.faces.append((tail, last[s], last[(s + 1) % n]))
        pc.compute_normals()
        return pc

    def fin(self, name, desc):
        """A fin between a root line on the body and a tip line.

        desc: root/tip polylines of [t, y, x] points (body units), rows and
        cols of the grid, optional mirror (x negated). Both faces are kept:
        with separate_back the back face gets its own vertices and normals.
        """
        rows, cols = desc["rows"], desc["cols"]
        mirror = -1.0 if desc.get("mirror") else 1.0
        root = resample(desc["root"], cols)
        tip = resample(desc["tip"], cols)
        pc = Piece(name)
        ids = []
        for r in range(rows):
            f = r / (rows - 1)
            row = []
            for c in range(cols):
                t, y, x = [lerp(a, b, f) for a, b in zip(root[c], tip[c])]
                p = self.point(t, y, x * mirror)
                uv = (min(max(t, 0.0), 1.0), BODY_V + (1.0 - BODY_V) * (0.1 + 0.7 * f))
                row.append(pc.add(p, uv, f, (mirror, 0.0, 0.0) if not desc.get("paired") else (0.0, 1.0, 0.0)))
            ids.append(row)
        front = grid_faces(ids)
        if mirror < 0:
            front = [(a, c, b) for a, b, c in front]
        pc.faces = front
        pc.compute_normals()
        if not desc.get("separate_back"):
            # One set of vertices serves both faces: a normal across the fin
            # would light one side only, so it points up and both sides shade
            # like the back of the fish.
            pc.nrm = [(0.0, 1.0, 0.0)] * len(pc.pos)
        else:
            count = len(pc.pos)
            for k in range(count):
                pc.add(pc.pos[k], pc.uv[k], pc.flex[k], pc.side[k])
                pc.nrm[-1] = tuple(-v for v in pc.nrm[k])
            pc.faces += [(a + count, c + count, b + count) for a, b, c in front]
        return pc

    def eyes(self, name, desc):
        """Eye discs (fan of `rim` points) on one or both sides of the head."""
        pc = Piece(name)
        t, y = desc["t"], desc["y"]
        radius = desc["radius"] * self.length
        sides = desc.get("sides", [1.0, -1.0])
        for sgn in sides:
            h, w, c = self.section(t)
            cy = c + y * self.length
            # a little proud of the body surface
            x0 = sgn * (w * math.sqrt(max(0.0, 1.0 - ((cy - c) / h) ** 2)) + 0.15 * radius)
            centre = pc.add((x0 + sgn * 0.3 * radius, cy, self.z_of(t)), EYE_UV[:2], 1.0, (sgn, 0.0, 0.0))
            rim = []
            for k in range(desc["rim"]):
                a = 2.0 * math.pi * k / desc["rim"]
                p = (x0, cy + radius * math.cos(a), self.z_of(t) + radius * math.sin(a))
                uv = (EYE_UV[0] + EYE_UV[2] * math.sin(a), EYE_UV[1] - EYE_UV[2] * math.cos(a))
                rim.append(pc.add(p, uv, 0.4, (sgn, 0.0, 0.0)))
            n = len(rim)
            for k in range(n):
                a, b = rim[k], rim[(k + 1) % n]
                pc.faces.append((centre, a, b) if sgn > 0 else (centre, b, a))
        pc.compute_normals()
        return pc


def sea_fan(desc):
    """The coral: a gently cupped fan grid standing on its foot at the origin."""
    rows, cols = desc["rows"], desc["cols"]
    height, half_width, cup = desc["height"], desc["half_width"], desc["cup"]
    pc = Piece("fan")
    ids = []
    for r in range(rows):
        f = r / (rows - 1)
        row = []
        for c in range(cols):
            g = c / (cols - 1) * 2.0 - 1.0
            spread = 0.12 + 0.88 * math.sqrt(f)          # narrow at the foot
            x = g * half_width * spread
            y = height * f * (1.0 - 0.12 * g * g)
            z = cup * (g * g) * f
            uv = (0.5 + 0.5 * g * spread, 1.0 - f * (1.0 - 0.12 * g * g))
            row.append(pc.add((x, y, z), uv, f * f, (0.0, 0.0, 1.0)))
        ids.append(row)
    pc.faces = grid_faces(ids)
    pc.compute_normals()
    return pc


class Mesh:
    """Pieces joined into one indexed mesh with attribute ranges."""

    def __init__(self, pieces):
        self.pieces = pieces
        self.pos, self.nrm, self.uv, self.flex, self.side, self.faces = [], [], [], [], [], []
        self.ranges = []
        for attr, pc in enumerate(pieces):
            v0, f0 = len(self.pos), len(self.faces)
            self.pos += pc.pos
            self.nrm += pc.nrm
            self.uv += pc.uv
            self.flex += pc.flex
            self.side += pc.side
            self.faces += [(a + v0, b + v0, c + v0) for a, b, c in pc.faces]
            self.ranges.append((attr, f0, len(pc.faces), v0, len(pc.pos)))

    def vertex_bytes(self):
        """32-byte vertices: position, normal, texture coordinates."""
        return b"".join(struct.pack("<8f", *p, *n, *uv) for p, n, uv in zip(self.pos, self.nrm, self.uv))


def swim_frame(mesh, frame, frames, amplitude, length):
    """24-byte vertices of swim frame `frame`: a travelling wave bends the body
    sideways, growing from the head to the tail."""
    phase = 2.0 * math.pi * frame / frames
    out = bytearray()
    for p, n in zip(mesh.pos, mesh.nrm):
        t = 0.5 - p[2] / length                  # 0 at the nose, 1 at the tail
        t = min(max(t, 0.0), 1.2)
        env = amplitude * length * (0.15 + t * t)
        k = 2.0 * math.pi * 0.8
        dx = env * math.sin(phase - k * t)
        slope = -(env * k * math.cos(phase - k * t) + 2.0 * amplitude * length * t
                  * math.sin(phase - k * t)) / length
        ang = math.atan(slope)
        ca, sa = math.cos(ang), math.sin(ang)
        # turn the normal with the local bend (rotation about y)
        nx = n[0] * ca + n[2] * sa
        nz = -n[0] * sa + n[2] * ca
        out += struct.pack("<6f", p[0] + dx, p[1], p[2], nx, n[1], nz)
    return bytes(out)


def sway_frame(mesh, frame, frames, amplitude, height):
    """24-byte vertices of coral sway frame `frame`: the fan leans in the current."""
    phase = 2.0 * math.pi * frame / frames
    out = bytearray()
    for p, n in zip(mesh.pos, mesh.nrm):
        h = max(p[1], 0.0) / height
        dz = amplitude * height * h * h * math.sin(phase)
        dx = 0.3 * amplitude * height * h * h * math.cos(phase + 0.7)
        out += struct.pack("<6f", p[0] + dx, p[1], p[2] + dz, *n)
    return bytes(out)


def pose_vertices(piece, amount, length):
    """24-byte vertices of one pose of a part: every vertex with flex > 0 moves
    by amount * flex along its pose direction; the others stay bit-identical."""
    out = bytearray()
    d = amount * length
    for p, n, fl, sd in zip(piece.pos, piece.nrm, piece.flex, piece.side):
        if fl > 0.0:
            q = (p[0] + sd[0] * d * fl, p[1] + sd[1] * d * fl, p[2] + sd[2] * d * fl)
        else:
            q = p
        out += struct.pack("<6f", *q, *n)
    return bytes(out)
