"""Block-compressed DDS images (DXT1 and DXT2) and 24-bit TGA images.

Images are produced block by block: a painter gives, for a 4 x 4 block, an
optional cache key (blocks with equal keys have equal pixels) and its sixteen
pixels. Large calm areas (background rows, clear water around a fan) then
cost one encode each, which keeps 1024 x 1024 images fast to build.
"""
import struct

DDSD_FLAGS = 0x1 | 0x2 | 0x4 | 0x1000 | 0x80000   # caps, height, width, pixel format, linear size
DDPF_FOURCC = 0x4
DDSCAPS_TEXTURE = 0x1000


def dds_header(width: int, height: int, fourcc: bytes, linear_size: int) -> bytes:
    """The 128-byte header (magic included) of a single-level DDS image."""
    pixel_format = struct.pack("<II4s5I", 32, DDPF_FOURCC, fourcc, 0, 0, 0, 0, 0)
    header = struct.pack("<7I", 124, DDSD_FLAGS, height, width, linear_size, 0, 0)
    header += b"\0" * 44 + pixel_format + struct.pack("<5I", DDSCAPS_TEXTURE, 0, 0, 0, 0)
    assert len(header) == 124
    return b"DDS " + header


def _to565(r: int, g: int, b: int) -> int:
    return ((r * 31 + 127) // 255) << 11 | ((g * 63 + 127) // 255) << 5 | ((b * 31 + 127) // 255)


def _from565(c: int):
    r, g, b = (c >> 11) & 31, (c >> 5) & 63, c & 31
    return (r << 3 | r >> 2, g << 2 | g >> 4, b << 3 | b >> 2)


def encode_color_block(pixels, four_colour_only: bool) -> bytes:
    """8-byte colour block for sixteen (r, g, b) pixels.

    Range fit: the endpoints are opposite corners of the block's colour
    bounding box (the diagonal along which the colours vary), and every pixel is projected onto the line between them and rounded
    to the nearest of the four palette steps. With four_colour_only False
    (DXT1) the endpoints are ordered c0 > c1 so the block keeps four colours.
    """
    rs = [p[0] for p in pixels]
    gs = [p[1] for p in pixels]
    bs = [p[2] for p in pixels]
    hi = [max(rs), max(gs), max(bs)]
    lo = [min(rs), min(gs), min(bs)]
    # Pick the box diagonal that follows the colours: a channel falling while
    # the widest one rises takes its endpoints the other way round.
    chans = (rs, gs, bs)
    ref = max(range(3), key=lambda k: hi[k] - lo[k])
    ref_mean = sum(chans[ref]) / 16.0
    for k in range(3):
        if k == ref or hi[k] == lo[k]:
            continue
        mean = sum(chans[k]) / 16.0
        cov = sum((a - mean) * (b - ref_mean) for a, b in zip(chans[k], chans[ref]))
        if cov < 0:
            hi[k], lo[k] = lo[k], hi[k]
    c0 = _to565(*hi)
    c1 = _to565(*lo)
    if c0 == c1:
        # One colour: every index 0 (c0). A DXT1 block with c0 == c1 is in
        # three-colour mode, where index 0 is still c0.
        return struct.pack("<HHI", c0, c1, 0)
    if c0 < c1:
        c0, c1 = c1, c0
    p0 = _from565(c0)
    p1 = _from565(c1)
    dr, dg, db = p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]
    dd = dr * dr + dg * dg + db * db
    bits = 0
    if dd:
        scale = 3.0 / dd
        order = (0, 2, 3, 1)   # step along c0 -> c1 to palette index
        for i in range(16):
            t = ((rs[i] - p0[0]) * dr + (gs[i] - p0[1]) * dg + (bs[i] - p0[2]) * db) * scale
            step = 0 if t < 0.5 else 1 if t < 1.5 else 2 if t < 2.5 else 3
            bits |= order[step] << (2 * i)
    return struct.pack("<HHI", c0, c1, bits)


def encode_dxt1_block(pixels) -> bytes:
    return encode_color_block([p[:3] for p in pixels], False)


def encode_dxt2_block(pixels) -> bytes:
    """16-byte DXT2 block: explicit 4-bit alpha, colour premultiplied by alpha."""
    alpha = 0
    premul = []
    for i, (r, g, b, a) in enumerate(pixels):
        a4 = (a * 15 + 127) // 255
        alpha |= a4 << (4 * i)
        premul.append((r * a // 255, g * a // 255, b * a // 255))
    return struct.pack("<Q", alpha) + encode_color_block(premul, True)


def build_dds(width: int, height: int, fmt: str, painter) -> bytes:
    """A DDS file (no mip maps) of fmt 'DXT1' or 'DXT2' from painter(bx, by).

    painter returns (key, pixels_fn): key None or hashable; pixels_fn() gives
    sixteen (r, g, b, a) tuples in row order.
    """
    encode = encode_dxt1_block if fmt == "DXT1" else encode_dxt2_block
    block_size = 8 if fmt == "DXT1" else 16
    cache = {}
    out = bytearray()
    for by in range(height // 4):
        for bx in range(width // 4):
            key, pixels_fn = painter(bx, by)
            if key is not None:
                block = cache.get(key)
                if block is None:
                    block = encode(pixels_fn())
                    cache[key] = block
            else:
                block = encode(pixels_fn())
            out += block
    linear = (width // 4) * (height // 4) * block_size
    assert len(out) == linear
    return dds_header(width, height, fmt.encode("ascii"), linear) + bytes(out)


def build_tga24(width: int, height: int, row_fn) -> bytes:
    """Uncompressed 24-bit TGA, rows stored top first; row_fn(y) gives width*3 BGR bytes."""
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, width, height, 24, 0x20)
    rows = bytearray()
    for y in range(height):
        row = row_fn(y)
        assert len(row) == width * 3
        rows += row
    return header + bytes(rows)
