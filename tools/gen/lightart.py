"""Pictures of the scene's light effects: caustic frames, the light shaft,
the lens-flare elements, the sky seen from below, the underwater
environment (cube map and sphere map) and the logo's surface relief.

Every painter is deterministic (fixed seeds, no clock) and returns rows of
(r, g, b, a) tuples in 0..255, top row first.
"""
import math
import random

TAU = 2.0 * math.pi


def clamp01(x):
    return 0.0 if x < 0.0 else 1.0 if x > 1.0 else x


def smoothstep(e0, e1, x):
    t = clamp01((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def _hash(i, j, seed):
    h = (i * 374761393 + j * 668265263 + seed * 2246822519) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0


def value_noise(x, y, period, seed):
    """Smooth value noise, tiling every `period` units in x and y."""
    xi = math.floor(x)
    yi = math.floor(y)
    fx = x - xi
    fy = y - yi
    fx = fx * fx * (3.0 - 2.0 * fx)
    fy = fy * fy * (3.0 - 2.0 * fy)
    x0 = int(xi) % period
    y0 = int(yi) % period
    x1 = (x0 + 1) % period
    y1 = (y0 + 1) % period
    a = _hash(x0, y0, seed)
    b = _hash(x1, y0, seed)
    c = _hash(x0, y1, seed)
    d = _hash(x1, y1, seed)
    return a + (b - a) * fx + (c - a) * fy + (a - b - c + d) * fx * fy


def fbm(x, y, period, seed, octaves=4):
    total = 0.0
    amplitude = 0.5
    norm = 0.0
    for o in range(octaves):
        total += amplitude * value_noise(x, y, period, seed + o)
        norm += amplitude
        x *= 2.0
        y *= 2.0
        period *= 2
        amplitude *= 0.5
    return total / norm


def rgba(colour, alpha):
    return (colour[0] * 255.0, colour[1] * 255.0, colour[2] * 255.0, alpha * 255.0)


# ---- Caustics ---------------------------------------------------------------

CAUSTIC_SIZE = 64
CAUSTIC_FRAMES = 32


class _CellLayer:
    """Moving cell points on a g x g grid that tiles; each point circles its
    home once (or twice) per loop of frames, so the last frame leads back
    into the first."""

    def __init__(self, g, seed):
        rnd = random.Random(seed)
        self.g = g
        self.points = {}
        for i in range(g):
            for j in range(g):
                self.points[(i, j)] = (0.25 + 0.5 * rnd.random(), 0.25 + 0.5 * rnd.random(),
                                       0.12 + 0.14 * rnd.random(), rnd.random(),
                                       rnd.choice((-2, -1, 1, 2)))

    def positions(self, t):
        out = {}
        for key, (hx, hy, radius, phase, turns) in self.points.items():
            a = TAU * (turns * t + phase)
            out[key] = (hx + radius * math.cos(a), hy + radius * math.sin(a))
        return out

    def edge_distance(self, px, py, where):
        """Distance (in cells) from point p to the nearest cell border."""
        g = self.g
        ci = math.floor(px)
        cj = math.floor(py)
        near = []
        for di in (-1, 0, 1):
            for dj in (-1, 0, 1):
                i = ci + di
                j = cj + dj
                ox, oy = where[(i % g, j % g)]
                qx = i + ox
                qy = j + oy
                near.append(((qx - px) ** 2 + (qy - py) ** 2, qx, qy))
        near.sort()
        _, ax, ay = near[0]
        best = 9.0
        for _, bx, by in near[1:]:
            mx = (ax + bx) * 0.5
            my = (ay + by) * 0.5
            nx = bx - ax
            ny = by - ay
            length = math.sqrt(nx * nx + ny * ny)
            if length < 1e-9:
                continue
            d = ((mx - px) * nx + (my - py) * ny) / length
            if d < best:
                best = d
        return best


def caustic_frames(size=CAUSTIC_SIZE, frames=CAUSTIC_FRAMES):
    """The caustic loop: bright wavering lines where light gathers under a
    rippled surface, on a dim ground. Tiles in both directions."""
    coarse = _CellLayer(4, 11)
    fine = _CellLayer(6, 23)
    out = []
    for f in range(frames):
        t = f / float(frames)
        wc = coarse.positions(t)
        wf = fine.positions(t)
        rows = []
        for y in range(size):
            v = (y + 0.5) / size
            row = []
            for x in range(size):
                u = (x + 0.5) / size
                # A gentle warp bends the straight cell borders into curves.
                wu = u + 0.035 * math.sin(TAU * (2.0 * v + t)) + 0.02 * math.sin(TAU * (3.0 * v - 2.0 * t))
                wv = v + 0.035 * math.sin(TAU * (2.0 * u - t)) + 0.02 * math.sin(TAU * (3.0 * u + t))
                d1 = coarse.edge_distance(wu * 4.0, wv * 4.0, wc)
                d2 = fine.edge_distance(wv * 6.0 + 0.5, wu * 6.0, wf)
                a = clamp01(1.0 - d1 / 0.16) ** 2
                b = clamp01(1.0 - d2 / 0.14) ** 2
                level = clamp01(0.06 + 0.75 * a + 0.45 * b + 0.6 * a * b)
                row.append(rgba((0.82 * level, 0.95 * level, 1.0 * level), level))
            rows.append(row)
        out.append(rows)
    return out


# ---- Light shaft ------------------------------------------------------------

def light_shaft(width=32, height=128):
    """One hanging shaft: u across, v from the bottom (row 0) to the top
    (last row), brightest just under the surface and fading with depth,
    with a few fine rays inside."""
    rnd = random.Random(5)
    rays = [(0.2 + 0.6 * rnd.random(), 0.03 + 0.05 * rnd.random(), 0.3 + 0.5 * rnd.random())
            for _ in range(6)]
    rows = []
    for y in range(height):
        v = (y + 0.5) / height
        depth = 1.0 - v
        vertical = smoothstep(0.0, 0.85, v) ** 1.4 * smoothstep(1.0, 0.94, v)
        row = []
        for x in range(width):
            u = (x + 0.5) / width
            edge = math.sin(math.pi * u) ** 1.5
            core = math.exp(-((u - 0.5) / 0.2) ** 2)
            streaks = 0.0
            for centre, w, amount in rays:
                spread = w * (1.0 + 1.5 * depth)
                streaks += amount * math.exp(-((u - centre) / spread) ** 2)
            level = clamp01(vertical * edge * (0.45 * core + 0.55 * streaks))
            row.append(rgba((0.85 * level, 0.95 * level, 1.0 * level), level))
        rows.append(row)
    return rows


# ---- Lens flare -------------------------------------------------------------

FLARE_SIZE = 64
FLARE_FRAME_COUNT = 5   # the animated sparkle, elements 10..14


def _hex_distance(x, y):
    """Distance to the centre in a hexagonal measure (1 on the flat sides)."""
    best = 0.0
    for k in range(3):
        a = k * math.pi / 3.0
        best = max(best, abs(x * math.cos(a) + y * math.sin(a)))
    return best


def _rays(angle, r, count, width, lengths, offset):
    total = 0.0
    for k in range(count):
        a = offset + k * TAU / count
        diff = math.atan2(math.sin(angle - a), math.cos(angle - a))
        length = lengths[k % len(lengths)]
        if r < length:
            total += math.exp(-(diff * max(r, 0.02) / width) ** 2) * (1.0 - r / length) ** 2
    return total


def _flare_alpha(index, x, y):
    """Shape (0..1) and colour of element `index` at (x, y) in -1..1."""
    r = math.sqrt(x * x + y * y)
    angle = math.atan2(y, x)
    if index == 0:   # the sun's glow
        a = 0.85 * math.exp(-(r / 0.4) ** 2) + 0.5 * math.exp(-(r / 0.1) ** 2)
        return a, (1.0, 0.97, 0.86)
    if index == 1:   # thin ring
        return math.exp(-((r - 0.7) / 0.06) ** 2), (0.7, 0.9, 1.0)
    if index == 2:   # hexagonal ghost
        h = _hex_distance(x, y)
        return 0.55 * smoothstep(0.75, 0.65, h) + 0.35 * math.exp(-((h - 0.7) / 0.04) ** 2), (0.6, 1.0, 0.85)
    if index == 3:   # starburst
        a = 0.7 * math.exp(-(r / 0.12) ** 2) + 0.8 * _rays(angle, r, 12, 0.035, (0.95, 0.6, 0.8, 0.5), 0.1)
        return a, (1.0, 0.95, 0.8)
    if index == 4:   # broad soft ring
        return 0.5 * math.exp(-((r - 0.5) / 0.2) ** 2), (0.6, 0.8, 1.0)
    if index == 5:   # rainbow halo
        a = 0.8 * math.exp(-((r - 0.82) / 0.06) ** 2)
        s = clamp01((r - 0.7) / 0.25)
        return a, (0.4 + 0.6 * s, 0.6 + 0.4 * math.sin(math.pi * s), 1.0 - 0.6 * s)
    if index == 6:   # soft disc, brighter towards its rim
        return smoothstep(0.95, 0.8, r) * (0.45 + 0.55 * r * r), (0.55, 0.9, 0.8)
    if index == 7:   # hexagonal ring
        h = _hex_distance(x, y)
        return 0.9 * math.exp(-((h - 0.7) / 0.05) ** 2) + 0.2 * smoothstep(0.75, 0.65, h), (0.5, 0.7, 1.0)
    if index == 8:   # thick ring
        return 0.7 * math.exp(-((r - 0.6) / 0.15) ** 2), (1.0, 0.9, 0.6)
    if index == 9:   # wide glow with a level streak
        streak = math.exp(-(abs(y) / 0.03) ** 2) * clamp01(1.0 - abs(x)) ** 2
        return 0.55 * math.exp(-(r / 0.3) ** 2) + 0.8 * streak, (0.8, 0.9, 1.0)
    # 10..14: the twinkle, turning and changing its ray lengths frame by frame.
    frame = index - 10
    lengths = [0.55 + 0.4 * abs(math.sin(1.3 * k + 0.9 * frame)) for k in range(8)]
    a = 0.6 * math.exp(-(r / 0.08) ** 2) + _rays(angle, r, 8, 0.025, lengths, frame * math.pi / 20.0)
    return a, (0.95, 0.97, 1.0)


def flare_element(index, size=FLARE_SIZE):
    rows = []
    for py in range(size):
        y = 1.0 - 2.0 * (py + 0.5) / size
        row = []
        for px in range(size):
            x = 2.0 * (px + 0.5) / size - 1.0
            a, colour = _flare_alpha(index, x, y)
            # Nothing reaches the border, so no element shows its square.
            a = clamp01(a) * smoothstep(1.0, 0.9, math.sqrt(x * x + y * y))
            row.append(rgba(colour, a))
        rows.append(row)
    return rows


def flare_elements():
    return [flare_element(i) for i in range(10 + FLARE_FRAME_COUNT)]


# ---- Underwater environment -------------------------------------------------

SUN = (0.0, 0.70710678, -0.70710678)   # towards the sun


def environment(d):
    """Colour (0..1) seen along unit direction d from under water: the bright
    rippled surface above, blue water around, the sandy floor below."""
    x, y, z = d
    water = (0.14, 0.42, 0.6)
    if y > 0.0:
        deep = mix(water, (0.25, 0.6, 0.8), smoothstep(0.0, 0.5, y))
        window = smoothstep(0.5, 0.75, y)
        k = 3.0 / max(y, 0.05)
        ripple = fbm(x * k + 7.0, z * k + 3.0, 64, 41, 3)
        surface = mix((0.55, 0.82, 0.95), (0.95, 1.0, 1.0), smoothstep(0.35, 0.75, ripple))
        colour = mix(deep, surface, window)
        sun = max(0.0, x * SUN[0] + y * SUN[1] + z * SUN[2]) ** 60
        return tuple(min(1.0, c + 0.9 * sun) for c in colour)
    k = 2.0 / max(-y, 0.05)
    grain = fbm(x * k + 1.0, z * k + 9.0, 64, 57, 3)
    sand = mix((0.42, 0.4, 0.32), (0.66, 0.6, 0.46), grain)
    return mix(water, sand, smoothstep(0.05, 0.6, -y) * 0.8)


def _normalise(v):
    length = math.sqrt(sum(c * c for c in v))
    return tuple(c / length for c in v)


def cube_face_direction(face, s, t):
    """Direction through (s, t) in -1..1 (s right, t down) of cube face
    +x, -x, +y, -y, +z, -z (faces 0..5)."""
    return _normalise([(1.0, -t, -s), (-1.0, -t, s), (s, 1.0, t), (s, -1.0, -t), (s, -t, 1.0),
                       (-s, -t, -1.0)][face])


def environment_cube(size=64):
    faces = []
    for face in range(6):
        rows = []
        for py in range(size):
            t = 2.0 * (py + 0.5) / size - 1.0
            row = []
            for px in range(size):
                s = 2.0 * (px + 0.5) / size - 1.0
                row.append(rgba(environment(cube_face_direction(face, s, t)), 1.0))
            rows.append(row)
        faces.append(rows)
    return faces


def sphere_map(size=128, tint=(0.85, 0.92, 1.0)):
    """The environment as a polished ball reflects it towards a viewer
    looking along +z (y up): the picture the fixed-function logo samples by
    its view-space normal."""
    rows = []
    for py in range(size):
        ny = 1.0 - 2.0 * (py + 0.5) / size
        row = []
        for px in range(size):
            nx = 2.0 * (px + 0.5) / size - 1.0
            rr = nx * nx + ny * ny
            if rr > 0.999:
                k = math.sqrt(0.999 / rr)
                nx *= k
                ny *= k
                rr = 0.999
            nz = -math.sqrt(1.0 - rr)
            # Reflect the view direction (0, 0, 1) about the normal.
            dot = nz
            r = (-2.0 * dot * nx, -2.0 * dot * ny, 1.0 - 2.0 * dot * nz)
            c = environment(_normalise(r))
            row.append(rgba(tuple(ci * ti for ci, ti in zip(c, tint)), 1.0))
        rows.append(row)
    return rows


# ---- Sky --------------------------------------------------------------------

def sky(size=256):
    """The sky dome's picture in polar form: the zenith at the centre, the
    horizon on the inscribed circle; u = 0.5 + (e / pi) sin a,
    v = 0.5 + (e / pi) cos a for elevation-from-zenith e and azimuth a
    (x = sin a, z = cos a)."""
    rows = []
    for py in range(size):
        v = (py + 0.5) / size
        row = []
        for px in range(size):
            u = (px + 0.5) / size
            du = u - 0.5
            dv = v - 0.5
            radial = min(math.sqrt(du * du + dv * dv), 0.5)
            e = radial * math.pi
            a = math.atan2(du, dv)
            d = (math.sin(e) * math.sin(a), math.cos(e), math.sin(e) * math.cos(a))
            colour = mix((0.22, 0.48, 0.85), (0.72, 0.86, 0.96), smoothstep(0.0, 1.0, e / (0.5 * math.pi)) ** 1.5)
            # Clouds on a plane overhead, thinning towards the horizon.
            k = 1.0 / max(d[1], 0.08)
            cx = d[0] * k * 2.0
            cz = d[2] * k * 2.0
            c = fbm(cx + 20.0, cz + 20.0, 256, 71, 5)
            cover = smoothstep(0.5, 0.75, c) * smoothstep(0.05, 0.35, d[1])
            colour = mix(colour, (0.97, 0.98, 1.0), 0.85 * cover)
            sun = max(0.0, d[0] * SUN[0] + d[1] * SUN[1] + d[2] * SUN[2])
            glow = 0.5 * sun ** 24 + 0.9 * sun ** 400
            colour = tuple(min(1.0, ch + glow * w) for ch, w in zip(colour, (1.0, 0.95, 0.8)))
            row.append(rgba(colour, 1.0))
        rows.append(row)
    return rows


# ---- Logo relief --------------------------------------------------------------

def _scale_height(u, v, n):
    """Overlapping fish scales, n per unit, tiling; 0..1."""
    x = u * n
    y = v * n
    best = 0.0
    row = math.floor(y)
    for dr in (-1, 0, 1):
        r = row + dr
        shift = 0.5 if r % 2 else 0.0
        col = math.floor(x - shift)
        for dc in (-1, 0, 1):
            cx = col + dc + shift + 0.5
            cy = r + 0.5
            dx = x - cx
            dy = y - cy
            dd = dx * dx + dy * dy
            if dd < 0.64:
                # Later rows lie over earlier ones: each scale rises towards its free edge.
                h = (1.0 - dd / 0.64) * (0.55 + 0.45 * clamp01(dy + 0.5)) + 0.001 * r
                best = max(best, h)
    return best


def relief_normals(size=128, per_unit=8, strength=2.2):
    """Normal map (n x 0.5 + 0.5 in r, g, b) of the scale relief."""
    heights = [[_scale_height((x + 0.5) / size, (y + 0.5) / size, per_unit) for x in range(size)]
               for y in range(size)]
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            dx = heights[y][(x + 1) % size] - heights[y][(x - 1) % size]
            dy = heights[(y + 1) % size][x] - heights[(y - 1) % size][x]
            n = _normalise((-dx * strength, dy * strength, 1.0))
            row.append((n[0] * 127.5 + 127.5, n[1] * 127.5 + 127.5, n[2] * 127.5 + 127.5, 255.0))
        rows.append(row)
    return rows
