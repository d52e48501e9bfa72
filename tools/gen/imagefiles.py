"""Image files the program loads from memory: 32-bit TGA and uncompressed
A8R8G8B8 DDS files, plain or cube maps, with their mip chains.

Pixels are given as rows of (r, g, b, a) tuples (0..255), top row first.
"""
import struct

DDSD_CAPS = 0x1
DDSD_HEIGHT = 0x2
DDSD_WIDTH = 0x4
DDSD_PITCH = 0x8
DDSD_PIXELFORMAT = 0x1000
DDSD_MIPMAPCOUNT = 0x20000
DDPF_ALPHAPIXELS = 0x1
DDPF_RGB = 0x40
DDSCAPS_COMPLEX = 0x8
DDSCAPS_TEXTURE = 0x1000
DDSCAPS_MIPMAP = 0x400000
DDSCAPS2_CUBEMAP = 0x200
DDSCAPS2_ALL_FACES = 0xFC00  # +x, -x, +y, -y, +z, -z


def _byte(v):
    return min(max(int(v + 0.5), 0), 255)


def tga32(width, height, rows):
    """Uncompressed 32-bit TGA with 8 alpha bits, rows stored top first."""
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, width, height, 32, 0x28)
    out = bytearray(header)
    for y in range(height):
        row = rows[y]
        assert len(row) == width
        for r, g, b, a in row:
            out += bytes((_byte(b), _byte(g), _byte(r), _byte(a)))
    return bytes(out)


def tga24(width, height, rows):
    """Uncompressed 24-bit TGA, rows stored top first; alpha is dropped."""
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, width, height, 24, 0x20)
    out = bytearray(header)
    for y in range(height):
        for p in rows[y]:
            out += bytes((_byte(p[2]), _byte(p[1]), _byte(p[0])))
    return bytes(out)


def half(rows):
    """The next mip level: each pixel the mean of a 2 x 2 block."""
    h = len(rows) // 2
    w = len(rows[0]) // 2
    out = []
    for y in range(h):
        a = rows[2 * y]
        b = rows[2 * y + 1]
        out.append([tuple((a[2 * x][c] + a[2 * x + 1][c] + b[2 * x][c] + b[2 * x + 1][c]) / 4.0
                          for c in range(4)) for x in range(w)])
    return out


def mip_chain(rows, levels):
    chain = [rows]
    for _ in range(levels - 1):
        chain.append(half(chain[-1]))
    return chain


def _argb_bytes(rows):
    out = bytearray()
    for row in rows:
        for r, g, b, a in row:
            out += bytes((_byte(b), _byte(g), _byte(r), _byte(a)))  # little-endian A8R8G8B8
    return out


def _dds_header(size, levels, cube):
    flags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT
    caps = DDSCAPS_TEXTURE
    if levels > 1:
        flags |= DDSD_MIPMAPCOUNT
        caps |= DDSCAPS_COMPLEX | DDSCAPS_MIPMAP
    caps2 = 0
    if cube:
        caps |= DDSCAPS_COMPLEX
        caps2 = DDSCAPS2_CUBEMAP | DDSCAPS2_ALL_FACES
    pixel_format = struct.pack("<II4s5I", 32, DDPF_RGB | DDPF_ALPHAPIXELS, b"\0\0\0\0", 32,
                               0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000)
    header = struct.pack("<7I", 124, flags, size, size, size * 4, 0, levels)
    header += b"\0" * 44 + pixel_format + struct.pack("<5I", caps, caps2, 0, 0, 0)
    assert len(header) == 124
    return b"DDS " + header


def dds_cube(faces, levels):
    """A cube-map DDS: six square faces (+x, -x, +y, -y, +z, -z), each with
    `levels` mip levels made by halving, stored face by face."""
    assert len(faces) == 6
    size = len(faces[0])
    assert size >> (levels - 1) >= 1
    out = bytearray(_dds_header(size, levels, True))
    for face in faces:
        assert len(face) == size and len(face[0]) == size
        for level in mip_chain(face, levels):
            out += _argb_bytes(level)
    return bytes(out)


def dds_plain(rows, levels):
    """A square 2D DDS with `levels` mip levels."""
    size = len(rows)
    out = bytearray(_dds_header(size, levels, False))
    for level in mip_chain(rows, levels):
        out += _argb_bytes(level)
    return bytes(out)
