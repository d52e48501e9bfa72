#!/usr/bin/env python3
"""Builds the glyph atlas of the screen text panels from a PCF bitmap font.

The atlas is a 512 x 512 24-bit BMP of 16 x 16 cells of 32 x 32 pixels;
character code c sits in column c % 16 and row c // 16. Codes 32 to 122 are
drawn white on black, every other cell stays black. The BMP is stored
zlib-compressed in a C++ source:

    extern const unsigned char kGlyphAtlasData[];     // zlib stream
    extern const unsigned int  kGlyphAtlasSize;       // its length
    extern const unsigned int  kGlyphAtlasInflatedSize;

Usage: glyph_atlas.py FONT.pcf[.gz] OUT.cpp
"""
import gzip
import struct
import sys

import qvdata

ATLAS = 512
CELL = 32
FIRST, LAST = 32, 122

PCF_ACCELERATORS = 1 << 1
PCF_METRICS = 1 << 2
PCF_BITMAPS = 1 << 3
PCF_BDF_ENCODINGS = 1 << 5
PCF_BDF_ACCELERATORS = 1 << 8

PCF_COMPRESSED_METRICS = 0x100


class PcfFont:
    """The parts of a PCF font needed to draw its glyphs: metrics, bitmaps,
    the encoding map and the font ascent."""

    def __init__(self, data: bytes):
        if data[:4] != b"\x01fcp":
            raise ValueError("not a PCF font")
        (count,) = struct.unpack_from("<I", data, 4)
        self.tables = {}
        for i in range(count):
            kind, fmt, size, offset = struct.unpack_from("<IIII", data, 8 + 16 * i)
            self.tables[kind] = (fmt, offset, size)
        self.data = data
        self.metrics = self._read_metrics()
        self.bitmaps = self._read_bitmaps()
        self.encoding = self._read_encodings()
        self.ascent = self._read_ascent()

    def _table(self, kind):
        if kind not in self.tables:
            raise ValueError("PCF table %d missing" % kind)
        _, offset, _ = self.tables[kind]
        (fmt,) = struct.unpack_from("<I", self.data, offset)
        order = ">" if fmt & (1 << 2) else "<"
        return fmt, offset + 4, order

    def _read_metrics(self):
        fmt, pos, o = self._table(PCF_METRICS)
        out = []
        if fmt & PCF_COMPRESSED_METRICS:
            (n,) = struct.unpack_from(o + "H", self.data, pos)
            pos += 2
            for i in range(n):
                lsb, rsb, width, asc, desc = (b - 0x80 for b in self.data[pos:pos + 5])
                out.append((lsb, rsb, width, asc, desc))
                pos += 5
        else:
            (n,) = struct.unpack_from(o + "I", self.data, pos)
            pos += 4
            for i in range(n):
                lsb, rsb, width, asc, desc, _ = struct.unpack_from(o + "hhhhhH", self.data, pos)
                out.append((lsb, rsb, width, asc, desc))
                pos += 12
        return out

    def _read_bitmaps(self):
        fmt, pos, o = self._table(PCF_BITMAPS)
        (n,) = struct.unpack_from(o + "I", self.data, pos)
        pos += 4
        offsets = struct.unpack_from(o + "%dI" % n, self.data, pos)
        pos += 4 * n
        sizes = struct.unpack_from(o + "4I", self.data, pos)
        pos += 16
        pad = 1 << (fmt & 3)
        unit = 1 << ((fmt >> 4) & 3)
        msb_bit = bool(fmt & (1 << 3))
        msb_byte = bool(fmt & (1 << 2))
        blob = self.data[pos:pos + sizes[fmt & 3]]
        glyphs = []
        for i in range(n):
            lsb, rsb, _, asc, desc = self.metrics[i]
            w, h = rsb - lsb, asc + desc
            stride = ((w + 7) // 8 + pad - 1) // pad * pad
            rows = []
            for y in range(h):
                row = bytearray(blob[offsets[i] + y * stride:offsets[i] + (y + 1) * stride])
                if msb_byte != msb_bit and unit > 1:
                    # Bytes inside each scan unit are stored the other way round.
                    for u in range(0, len(row), unit):
                        row[u:u + unit] = row[u:u + unit][::-1]
                bits = []
                for x in range(w):
                    byte = row[x // 8]
                    bit = 7 - (x % 8) if msb_bit else x % 8
                    bits.append((byte >> bit) & 1)
                rows.append(bits)
            glyphs.append(rows)
        return glyphs

    def _read_encodings(self):
        fmt, pos, o = self._table(PCF_BDF_ENCODINGS)
        min2, max2, min1, max1, _default = struct.unpack_from(o + "5H", self.data, pos)
        pos += 10
        count = (max2 - min2 + 1) * (max1 - min1 + 1)
        indices = struct.unpack_from(o + "%dH" % count, self.data, pos)
        out = {}
        for b1 in range(min1, max1 + 1):
            for b2 in range(min2, max2 + 1):
                idx = indices[(b1 - min1) * (max2 - min2 + 1) + (b2 - min2)]
                if idx != 0xFFFF:
                    out[(b1 << 8) | b2] = idx
        return out

    def _read_ascent(self):
        kind = PCF_BDF_ACCELERATORS if PCF_BDF_ACCELERATORS in self.tables else PCF_ACCELERATORS
        fmt, pos, o = self._table(kind)
        ascent, descent = struct.unpack_from(o + "ii", self.data, pos + 8)
        return ascent, descent


def render_atlas(font: PcfFont) -> list:
    """Rows of the atlas from the top, each ATLAS booleans."""
    pixels = [[0] * ATLAS for _ in range(ATLAS)]
    ascent, descent = font.ascent
    baseline = (CELL - (ascent + descent)) // 2 + ascent
    for code in range(FIRST, LAST + 1):
        idx = font.encoding.get(code)
        if idx is None:
            raise ValueError("font has no glyph for code %d" % code)
        lsb, rsb, width, asc, desc = font.metrics[idx]
        cx, cy = (code % 16) * CELL, (code // 16) * CELL
        x0 = cx + (CELL - width) // 2 + lsb
        y0 = cy + baseline - asc
        for y, row in enumerate(font.bitmaps[idx]):
            for x, bit in enumerate(row):
                px, py = x0 + x, y0 + y
                # Keep every glyph inside its own cell.
                if bit and cx <= px < cx + CELL and cy <= py < cy + CELL:
                    pixels[py][px] = 1
    return pixels


def bmp24(pixels: list) -> bytes:
    """A bottom-up 24-bit BMP, white where a pixel is set."""
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    image = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for p in row:
            line += b"\xff\xff\xff" if p else b"\x00\x00\x00"
        line += b"\x00" * (stride - len(line))
        image += line
    header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    return header + info + bytes(image)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    font_path, out_path = argv[1], argv[2]
    with open(font_path, "rb") as f:
        raw = f.read()
    if raw[:2] == b"\x1f\x8b":
        raw = gzip.decompress(raw)
    font = PcfFont(raw)
    bmp = bmp24(render_atlas(font))
    packed = qvdata.compress(bmp)
    text = (
        "// Generated by tools/gen/glyph_atlas.py from a PCF font; do not edit.\n"
        "// Glyph atlas of the screen text panels: a zlib-compressed 512 x 512\n"
        "// 24-bit BMP, codes 32 to 122 in 32 x 32 cells.\n"
        "#include \"GlyphAtlas.h\"\n\n"
        + qvdata.c_array("kGlyphAtlasData", packed)
        + "extern const unsigned int kGlyphAtlasSize = %d;\n" % len(packed)
        + "extern const unsigned int kGlyphAtlasInflatedSize = %d;\n" % len(bmp)
    )
    qvdata.write_if_changed(out_path, text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
