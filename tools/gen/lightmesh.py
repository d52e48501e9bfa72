"""Meshes of the light effects: the logo emblem (a fish with bubbles inside a
ring) and the sky dome. Vertices are (position, normal, uv) tuples of the
32-byte layout; faces are index triples.
"""
import math

TAU = 2.0 * math.pi

# Texture coordinates follow the surface at this many units per unit of
# length, so the relief keeps one scale size over the whole emblem.
UV_PER_UNIT = 0.1


def _sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def _cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def _dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def _normalise(v, fallback=(0.0, 0.0, 1.0)):
    length = math.sqrt(_dot(v, v))
    if length < 1e-12:
        return fallback
    return (v[0] / length, v[1] / length, v[2] / length)


class Mesh:
    def __init__(self):
        self.vertices = []   # (pos, normal, uv)
        self.faces = []

    def add(self, pos, normal, uv):
        self.vertices.append((tuple(pos), tuple(normal), tuple(uv)))
        return len(self.vertices) - 1

    def grid(self, first, rows, cols):
        """Quads between a (rows + 1) x (cols + 1) block of vertices added in
        row order from index `first`."""
        stride = cols + 1
        for r in range(rows):
            for c in range(cols):
                a = first + r * stride + c
                b = a + 1
                d = a + stride
                e = d + 1
                self.faces.append((a, d, b))
                self.faces.append((b, d, e))


def torus(mesh, major, minor, segments, sides):
    first = len(mesh.vertices)
    for i in range(segments + 1):
        a = TAU * i / segments
        ca, sa = math.cos(a), math.sin(a)
        for j in range(sides + 1):
            b = TAU * j / sides
            cb, sb = math.cos(b), math.sin(b)
            n = (ca * cb, sa * cb, sb)
            p = ((major + minor * cb) * ca, (major + minor * cb) * sa, minor * sb)
            uv = (TAU * major * i / segments * UV_PER_UNIT, TAU * minor * j / sides * UV_PER_UNIT)
            mesh.add(p, n, uv)
    mesh.grid(first, segments, sides)


def sphere(mesh, centre, radius, stacks=8, slices=12):
    first = len(mesh.vertices)
    for i in range(stacks + 1):
        e = math.pi * i / stacks
        for j in range(slices + 1):
            a = TAU * j / slices
            n = (math.sin(e) * math.cos(a), math.cos(e), math.sin(e) * math.sin(a))
            p = tuple(c + radius * k for c, k in zip(centre, n))
            mesh.add(p, n, (TAU * radius * j / slices * UV_PER_UNIT, math.pi * radius * i / stacks * UV_PER_UNIT))
    mesh.grid(first, stacks, slices)


# The fish of the emblem: nose at x = -1.5, tail base at x = 0.9.
BODY_NOSE = -1.5
BODY_TAIL = 0.9


def body_height(t):
    return 0.72 * math.sin(math.pi * min(t, 1.0) ** 0.8) ** 0.8 + 0.1 * t


def body_width(t):
    return 0.36 * body_height(t) + 0.02 * t


def fish_body(mesh, slices=28, sides=20):
    """A lofted body of elliptic cross-sections; smooth normals from the
    faces, turned outwards."""
    first = len(mesh.vertices)
    for i in range(slices + 1):
        t = i / slices
        x = BODY_NOSE + (BODY_TAIL - BODY_NOSE) * t
        h = body_height(t)
        w = body_width(t)
        # The ellipse's perimeter (Ramanujan's approximation), for the around coordinate.
        perimeter = math.pi * (3 * (h + w) - math.sqrt((3 * h + w) * (h + 3 * w)))
        for j in range(sides + 1):
            b = TAU * j / sides
            mesh.add((x, h * math.cos(b), w * math.sin(b)), (0.0, 0.0, 0.0),
                     (x * UV_PER_UNIT, perimeter * j / sides * UV_PER_UNIT))
    count = (slices + 1) * (sides + 1)
    start_face = len(mesh.faces)
    mesh.grid(first, slices, sides)
    # The tail end is closed by a fan around its centre.
    centre = mesh.add((BODY_TAIL, 0.0, 0.0), (1.0, 0.0, 0.0), (BODY_TAIL * UV_PER_UNIT, 0.0))
    ring = first + slices * (sides + 1)
    for j in range(sides):
        mesh.faces.append((centre, ring + j, ring + j + 1))
    # Smooth normals of the loft (seam vertices share their sums).
    sums = {}
    for f in mesh.faces[start_face:]:
        if centre in f:
            continue
        a, b, c = (mesh.vertices[k][0] for k in f)
        n = _cross(_sub(b, a), _sub(c, a))
        for k in f:
            key = mesh.vertices[k][0]
            s = sums.get(key, (0.0, 0.0, 0.0))
            sums[key] = (s[0] + n[0], s[1] + n[1], s[2] + n[2])
    for k in range(first, first + count):
        p, _, uv = mesh.vertices[k]
        n = _normalise(sums.get(p, (0.0, 0.0, 0.0)), (-1.0, 0.0, 0.0))
        outward = (0.0 if abs(p[1]) + abs(p[2]) > 1e-6 else -1.0, p[1], p[2])
        if _dot(n, outward) < 0.0:
            n = (-n[0], -n[1], -n[2])
        mesh.vertices[k] = (p, n, uv)


def _triangulate(points):
    """Ear clipping of a simple polygon given counter-clockwise in (x, y)."""
    index = list(range(len(points)))
    out = []

    def convex(a, b, c):
        return (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]) > 1e-12

    def inside(p, a, b, c):
        d1 = (p[0] - b[0]) * (a[1] - b[1]) - (a[0] - b[0]) * (p[1] - b[1])
        d2 = (p[0] - c[0]) * (b[1] - c[1]) - (b[0] - c[0]) * (p[1] - c[1])
        d3 = (p[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (p[1] - a[1])
        return (d1 < 0) == (d2 < 0) == (d3 < 0)

    guard = 0
    while len(index) > 3 and guard < 10000:
        guard += 1
        for k in range(len(index)):
            i0, i1, i2 = index[k - 1], index[k], index[(k + 1) % len(index)]
            a, b, c = points[i0], points[i1], points[i2]
            if not convex(a, b, c):
                continue
            if any(inside(points[m], a, b, c) for m in index if m not in (i0, i1, i2)):
                continue
            out.append((i0, i1, i2))
            index.pop(k)
            break
    out.append(tuple(index))
    return out


def plate(mesh, outline, thickness):
    """A flat fin: the outline (counter-clockwise in x, y) extruded to both
    sides of z = 0, with its edge walls."""
    half = thickness * 0.5
    tris = _triangulate(outline)
    for side in (1.0, -1.0):
        first = len(mesh.vertices)
        for x, y in outline:
            mesh.add((x, y, side * half), (0.0, 0.0, side), (x * UV_PER_UNIT, y * UV_PER_UNIT))
        for a, b, c in tris:
            mesh.faces.append((first + a, first + b, first + c) if side > 0 else (first + a, first + c, first + b))
    n = len(outline)
    for k in range(n):
        p = outline[k]
        q = outline[(k + 1) % n]
        normal = _normalise((q[1] - p[1], -(q[0] - p[0]), 0.0))
        first = len(mesh.vertices)
        for (x, y), z in ((p, half), (q, half), (p, -half), (q, -half)):
            mesh.add((x, y, z), normal, (x * UV_PER_UNIT, (y + z) * UV_PER_UNIT))
        mesh.faces.append((first, first + 2, first + 1))
        mesh.faces.append((first + 1, first + 2, first + 3))


TAIL_FIN = [(0.8, 0.12), (1.6, 0.72), (1.35, 0.0), (1.6, -0.72), (0.8, -0.12)]
DORSAL_FIN = [(-0.55, 0.62), (0.35, 0.45), (-0.05, 1.0)]
BELLY_FIN = [(-0.35, -0.55), (-0.05, -0.85), (0.2, -0.45)]


def _ccw(points):
    area = 0.0
    for k in range(len(points)):
        x0, y0 = points[k]
        x1, y1 = points[(k + 1) % len(points)]
        area += x0 * y1 - x1 * y0
    return points if area > 0 else list(reversed(points))


def logo():
    mesh = Mesh()
    torus(mesh, 2.0, 0.16, 64, 12)
    fish_body(mesh)
    for fin, thickness in ((TAIL_FIN, 0.08), (DORSAL_FIN, 0.06), (BELLY_FIN, 0.06)):
        plate(mesh, _ccw(fin), thickness)
    t = 0.15
    eye_z = body_width(t) * 0.8
    sphere(mesh, (BODY_NOSE + 0.42, 0.18, eye_z), 0.085, 6, 10)
    sphere(mesh, (BODY_NOSE + 0.42, 0.18, -eye_z), 0.085, 6, 10)
    for centre, radius in (((-1.6, 0.55, 0.0), 0.1), ((-1.42, 0.95, 0.0), 0.13), ((-1.12, 1.32, 0.0), 0.08)):
        sphere(mesh, centre, radius)
    return mesh


DOME_RADIUS = 240.0


def sky_dome(rings=16, segments=48, radius=DOME_RADIUS):
    """A hemisphere over y = 0 with its pole at (0, radius, 0); the normals
    point inwards. The object makes its own texture coordinates from the
    positions, so these carry none."""
    mesh = Mesh()
    mesh.add((0.0, radius, 0.0), (0.0, -1.0, 0.0), (0.0, 0.0))
    for i in range(1, rings + 1):
        e = 0.5 * math.pi * i / rings
        for j in range(segments):
            a = TAU * j / segments
            d = (math.sin(e) * math.sin(a), math.cos(e), math.sin(e) * math.cos(a))
            mesh.add(tuple(radius * c for c in d), tuple(-c for c in d), (0.0, 0.0))
    for j in range(segments):
        mesh.faces.append((0, 1 + j, 1 + (j + 1) % segments))
    for i in range(rings - 1):
        a0 = 1 + i * segments
        b0 = a0 + segments
        for j in range(segments):
            j1 = (j + 1) % segments
            mesh.faces.append((a0 + j, b0 + j, a0 + j1))
            mesh.faces.append((a0 + j1, b0 + j, b0 + j1))
    return mesh
