"""Procedural skins of the species: fish side patterns and the sea fan.

Every painter works on 4 x 4 blocks for dxt.build_dds and tells which blocks
repeat (plain rows of a fish, clear water around the fan), so that only the
blocks with detail are painted pixel by pixel.
"""
import math

import dxt
from fishmesh import BODY_V, EYE_UV


def _hash(i, j, salt=0):
    h = (i * 73856093) ^ (j * 19349663) ^ (salt * 83492791)
    h = (h ^ (h >> 13)) * 1274126177 & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0


def _mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def _smooth(e0, e1, x):
    if e1 == e0:
        return 0.0 if x < e0 else 1.0
    t = min(max((x - e0) / (e1 - e0), 0.0), 1.0)
    return t * t * (3.0 - 2.0 * t)


class FishSkin:
    """Side-view skin: back-to-belly shading, bands, spots, bars, fins, eye."""

    def __init__(self, desc):
        self.size = desc["size"]
        self.back = tuple(desc["back"])
        self.belly = tuple(desc["belly"])
        self.split = desc.get("split", 0.5)
        self.soft = desc.get("soft", 0.15)
        self.bands = desc.get("bands", [])
        self.spots = desc.get("spots")
        self.bars = desc.get("bars")
        self.fin = tuple(desc["fin"])
        self.ray = tuple(desc.get("ray", desc["fin"]))
        self.ray_every = desc.get("ray_every", 8)
        self.iris = tuple(desc.get("iris", (200, 170, 60)))
        self.pupil = tuple(desc.get("pupil", (10, 10, 14)))
        self.body_rows = int(self.size * BODY_V)
        # < 1 stretches spots across the rows (the body's v runs round it)
        self.spot_aspect = self.spots.get("aspect", 1.0) if self.spots else 1.0

    # colour of one pixel --------------------------------------------------
    def row_colour(self, y):
        v = (y + 0.5) / self.body_rows           # 0 back .. 1 belly
        c = _mix(self.back, self.belly, _smooth(self.split - self.soft, self.split + self.soft, v))
        for band in self.bands:
            d = abs(v - band["v"]) / band["width"]
            if d < 1.0:
                c = _mix(c, band["color"], band.get("alpha", 1.0) * (1.0 - d * d))
        return c

    def _spot_cells(self, x, y):
        s = self.spots
        su, sv = s["du"], s["dv"]
        j = int(y // sv)
        for jj in (j - 1, j, j + 1):
            off = (su * 0.5) if jj % 2 else 0.0
            i = int((x - off) // su)
            for ii in (i - 1, i, i + 1):
                cx = ii * su + off + su * 0.5 + (_hash(ii, jj, 1) - 0.5) * s.get("jitter", 0.0) * su
                cy = jj * sv + sv * 0.5 + (_hash(ii, jj, 2) - 0.5) * s.get("jitter", 0.0) * sv
                r = s["radius"] * (0.7 + 0.6 * _hash(ii, jj, 3))
                yield cx, cy, r

    def _in_spot_band(self, y):
        s = self.spots
        v = y / self.body_rows
        return s["vmin"] <= v <= s["vmax"]

    def pixel(self, x, y, spots=()):
        n = self.size
        if y >= self.body_rows:
            ex, ey, er = EYE_UV[0] * n, EYE_UV[1] * n, EYE_UV[2] * n * 1.2
            d = math.hypot(x + 0.5 - ex, y + 0.5 - ey)
            if d < er:
                return self.pupil + (255,) if d < er * 0.45 else self.iris + (255,)
            t = (y - self.body_rows) / (n - self.body_rows)
            c = _mix(self.fin, self.belly, 0.25 * t)
            if x % self.ray_every < 2:
                c = _mix(c, self.ray, 0.7)
            return c + (255,)
        c = self.row_colour(y)
        v = (y + 0.5) / self.body_rows
        if self.bars and self.bars["vmin"] <= v <= self.bars["vmax"]:
            if (x % self.bars["every"]) < self.bars["width"]:
                c = _mix(c, self.bars["color"], self.bars.get("alpha", 0.5))
        for cx, cy, r in spots:
            d = math.hypot(x + 0.5 - cx, (y + 0.5 - cy) * self.spot_aspect)
            if d < r:
                fade = _smooth(self.spots["vmin"], self.spots["vmin"] + 0.08, v) * \
                    (1.0 - _smooth(self.spots["vmax"] - 0.08, self.spots["vmax"], v))
                c = _mix(c, self.spots["color"], fade * min(1.0, (r - d) * 0.8))
                break
        return c + (255,)

    # block painter --------------------------------------------------------
    def _block_spots(self, x0, y0):
        """Spots that touch the 4 x 4 block at (x0, y0)."""
        if not self.spots:
            return []
        if not (self._in_spot_band(y0) or self._in_spot_band(y0 + 3)):
            return []
        found = []
        for cx, cy, r in self._spot_cells(x0 + 2, y0 + 2):
            dx = max(x0 - cx, 0.0, cx - (x0 + 4))
            dy = max(y0 - cy, 0.0, cy - (y0 + 4)) * self.spot_aspect
            if dx * dx + dy * dy < r * r:
                found.append((cx, cy, r))
        return found

    def painter(self, bx, by):
        x0, y0 = bx * 4, by * 4
        spots = self._block_spots(x0, y0) if y0 < self.body_rows else []
        pixels = lambda: [self.pixel(x0 + i, y0 + j, spots) for j in range(4) for i in range(4)]
        n = self.size
        if y0 >= self.body_rows:
            eye_y0 = (EYE_UV[1] - EYE_UV[2] * 1.3) * n
            eye_x0 = (EYE_UV[0] - EYE_UV[2] * 1.3) * n
            if y0 + 4 > eye_y0 and x0 + 4 > eye_x0:
                return None, pixels
            return ("fin", by, x0 % self.ray_every), pixels
        if y0 + 4 > self.body_rows or spots:
            return None, pixels
        bar = 0
        if self.bars:
            bar = tuple(((x0 + i) % self.bars["every"]) < self.bars["width"] for i in range(4))
        return ("body", by, bar), pixels

    def dds(self, fmt="DXT1"):
        return dxt.build_dds(self.size, self.size, fmt, self.painter)


class SeaFan:
    """A branching net on clear water, premultiplied alpha (DXT2).

    The net is evaluated at half resolution; each 4 x 4 block of the image
    is then one of few repeating 2 x 2 patterns, which the encoder caches.
    """

    def __init__(self, desc):
        self.size = desc["size"]
        self.color = tuple(desc["color"])
        self.tip = tuple(desc["tip"])
        self.polyp = tuple(desc["polyp"])
        self.seed = desc.get("seed", 0)
        half = self.size // 2
        self.half = half
        self.cover = bytearray(half * half)     # 0..4 coverage steps
        self.shade = bytearray(half * half)     # 0 stem colour .. 255 tip colour
        self._paint()

    def _paint(self):
        h = self.half
        spokes = 9.0
        for y in range(h):
            f = 1.0 - (y + 0.5) / h                 # 0 at the foot, 1 at the top
            spread = 0.12 + 0.88 * math.sqrt(max(f, 0.0))
            for x in range(h):
                g = ((x + 0.5) / h - 0.5) * 2.0      # -1 .. 1
                if abs(g) > spread:
                    continue
                # polar net around the foot
                ang = math.atan2(g * 0.5, f + 0.04)
                rad = math.hypot(g * 0.5, f + 0.04)
                # branches fork twice on the way out: 7, 14 and 28 of them
                level = 0 if rad < 0.3 else 1 if rad < 0.58 else 2
                warp = 0.01 * math.sin(rad * 17.0 + self.seed + level)
                a = (ang / math.pi * spokes * (2 ** level) + 0.5 + warp * spokes) % 1.0
                r = (rad * 26.0 + 0.1 * math.sin(ang * 7.0 + self.seed)) % 1.0
                width = 0.16 + 0.14 * (1.0 - rad)
                da = min(a, 1.0 - a)
                dr = min(r, 1.0 - r)
                c = 0.0
                if da < width * 0.5:
                    c = 1.0 if da < width * 0.35 else 0.5
                if dr < 0.05:
                    c = max(c, 1.0 if dr < 0.03 else 0.5)
                stem = 0.02 + 0.06 * (1.0 - f / 0.25)
                if f < 0.25 and abs(g) < stem:     # the stem
                    c = 1.0 if abs(g) < stem * 0.8 else max(c, 0.5)
                edge = spread - abs(g)
                if edge < 0.02:
                    c *= 0.5
                if c > 0.0:
                    self.cover[y * h + x] = int(c * 4)
                    self.shade[y * h + x] = int(255 * min(1.0, f * 1.2))

    def _texel(self, x, y):
        k = y * self.half + x
        return self.cover[k], self.shade[k] >> 5     # shade quantised to 8 steps

    def painter_for(self, tint):
        color = tuple(min(255, int(c * t)) for c, t in zip(self.color, tint))
        tip = tuple(min(255, int(c * t)) for c, t in zip(self.tip, tint))
        polyp = self.polyp

        def colour(cov, shade, polyp_dot):
            if cov == 0:
                return (0, 0, 0, 0)
            c = _mix(color, tip, shade / 7.0)
            if polyp_dot:
                c = _mix(c, polyp, 0.6)
            return c + (cov * 255 // 4,)

        def painter(bx, by):
            hx, hy = bx * 2, by * 2
            t = (self._texel(hx, hy), self._texel(hx + 1, hy),
                 self._texel(hx, hy + 1), self._texel(hx + 1, hy + 1))
            dots = tuple(((hx + i) * 7 + (hy + j) * 13) % 11 == 0 for j in range(2) for i in range(2))

            def pixels():
                out = []
                for j in range(4):
                    for i in range(4):
                        q = (j // 2) * 2 + (i // 2)
                        cov, shade = t[q]
                        out.append(colour(cov, shade, dots[q] and (i + j) % 2 == 0))
                return out
            if all(c == 0 for c, _ in t):
                return ("clear",), pixels
            return (t, dots), pixels
        return painter

    def dds(self, tint):
        return dxt.build_dds(self.size, self.size, "DXT2", self.painter_for(tint))


def sheen_tga(size, top, bottom):
    """24-bit TGA: a soft vertical sheen with a faint ripple, for the second fish texture."""
    def row(y):
        t = y / (size - 1)
        out = bytearray()
        base = _mix(top, bottom, t)
        period = 32
        segment = bytearray()
        for x in range(period):
            k = 0.06 * math.sin(2.0 * math.pi * x / period + 6.0 * t)
            r, g, b = (max(0, min(255, int(c * (1.0 + k)))) for c in base)
            segment += bytes((b, g, r))
        for _ in range(size // period):
            out += segment
        return bytes(out)
    return dxt.build_tga24(size, size, row)
