"""A small baseline JPEG encoder (JFIF, 8-bit, Huffman, no subsampling).

Enough for the program's own small colour images: three components
(Y, Cb, Cr) sampled 1 x 1, the example quantisation tables of the JPEG
standard scaled by a quality figure, and its example Huffman tables.
Deterministic: the same pixels give the same bytes.
"""
import math
import struct

# Zig-zag order: position k of the stream holds coefficient ZIGZAG[k].
ZIGZAG = [
    0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5,
    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6, 7, 14, 21, 28,
    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63,
]

LUMA_Q = [
    16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55,
    14, 13, 16, 24, 40, 57, 69, 56, 14, 17, 22, 29, 51, 87, 80, 62,
    18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55, 64, 81, 104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99,
]
CHROMA_Q = [
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
    24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
] + [99] * 32

# Huffman tables: code counts by length 1..16, then the symbols.
DC_LUMA = ([0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0], list(range(12)))
DC_CHROMA = ([0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0], list(range(12)))
AC_LUMA = ([0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7D], [
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07,
    0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xA1, 0x08, 0x23, 0x42, 0xB1, 0xC1, 0x15, 0x52, 0xD1, 0xF0,
    0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0A, 0x16, 0x17, 0x18, 0x19, 0x1A, 0x25, 0x26, 0x27, 0x28,
    0x29, 0x2A, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49,
    0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69,
    0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89,
    0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0xA2, 0xA3, 0xA4, 0xA5, 0xA6, 0xA7,
    0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3, 0xC4, 0xC5,
    0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xE1, 0xE2,
    0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8,
    0xF9, 0xFA,
])
AC_CHROMA = ([0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77], [
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71,
    0x13, 0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xA1, 0xB1, 0xC1, 0x09, 0x23, 0x33, 0x52, 0xF0,
    0x15, 0x62, 0x72, 0xD1, 0x0A, 0x16, 0x24, 0x34, 0xE1, 0x25, 0xF1, 0x17, 0x18, 0x19, 0x1A, 0x26,
    0x27, 0x28, 0x29, 0x2A, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48,
    0x49, 0x4A, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68,
    0x69, 0x6A, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87,
    0x88, 0x89, 0x8A, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0xA2, 0xA3, 0xA4, 0xA5,
    0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xC2, 0xC3,
    0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA,
    0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8,
    0xF9, 0xFA,
])

_COS = [[math.cos((2 * x + 1) * u * math.pi / 16) for x in range(8)] for u in range(8)]
_ALPHA = [math.sqrt(0.5) if u == 0 else 1.0 for u in range(8)]


def _scaled_table(table, quality):
    quality = min(max(int(quality), 1), 100)
    scale = 5000 // quality if quality < 50 else 200 - 2 * quality
    return [min(max((q * scale + 50) // 100, 1), 255) for q in table]


def _codes(table):
    """symbol -> (code, length) of a table given as (counts, symbols)."""
    counts, symbols = table
    out = {}
    code = 0
    k = 0
    for length in range(1, 17):
        for _ in range(counts[length - 1]):
            out[symbols[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return out


class _Bits:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def put(self, code, length):
        self.acc = (self.acc << length) | (code & ((1 << length) - 1))
        self.n += length
        while self.n >= 8:
            self.n -= 8
            byte = (self.acc >> self.n) & 0xFF
            self.out.append(byte)
            if byte == 0xFF:
                self.out.append(0)  # byte stuffing
        self.acc &= (1 << self.n) - 1

    def flush(self):
        if self.n:
            self.put((1 << (8 - self.n)) - 1, 8 - self.n)  # pad with ones


def _fdct(block):
    """Forward DCT of 64 level-shifted samples, row by row."""
    out = [0.0] * 64
    for v in range(8):
        for u in range(8):
            s = 0.0
            cu = _COS[u]
            cv = _COS[v]
            for y in range(8):
                row = block[y * 8:(y + 1) * 8]
                s += cv[y] * (row[0] * cu[0] + row[1] * cu[1] + row[2] * cu[2] + row[3] * cu[3] +
                              row[4] * cu[4] + row[5] * cu[5] + row[6] * cu[6] + row[7] * cu[7])
            out[v * 8 + u] = 0.25 * _ALPHA[u] * _ALPHA[v] * s
    return out


def _category(value):
    value = abs(value)
    n = 0
    while value:
        n += 1
        value >>= 1
    return n


def _bits_of(value, size):
    return value if value >= 0 else value + (1 << size) - 1


def _segment(marker, payload):
    return struct.pack(">BBH", 0xFF, marker, len(payload) + 2) + payload


def encode(width, height, pixels, quality=90):
    """JPEG bytes of an image given as rows of (r, g, b) tuples, top row first."""
    qy = _scaled_table(LUMA_Q, quality)
    qc = _scaled_table(CHROMA_Q, quality)
    tables = [(qy, _codes(DC_LUMA), _codes(AC_LUMA)), (qc, _codes(DC_CHROMA), _codes(AC_CHROMA)),
              (qc, _codes(DC_CHROMA), _codes(AC_CHROMA))]

    planes = [[0.0] * (width * height) for _ in range(3)]
    for y in range(height):
        for x in range(width):
            r, g, b = pixels[y][x]
            i = y * width + x
            planes[0][i] = 0.299 * r + 0.587 * g + 0.114 * b - 128.0
            planes[1][i] = -0.168736 * r - 0.331264 * g + 0.5 * b
            planes[2][i] = 0.5 * r - 0.418688 * g - 0.081312 * b

    bits = _Bits()
    previous_dc = [0, 0, 0]
    for by in range(0, height, 8):
        for bx in range(0, width, 8):
            for c in range(3):
                plane = planes[c]
                block = []
                for y in range(8):
                    yy = min(by + y, height - 1)
                    for x in range(8):
                        block.append(plane[yy * width + min(bx + x, width - 1)])
                coefficients = _fdct(block)
                q, dc_codes, ac_codes = tables[c]
                zz = [int(round(coefficients[ZIGZAG[k]] / q[ZIGZAG[k]])) for k in range(64)]
                diff = zz[0] - previous_dc[c]
                previous_dc[c] = zz[0]
                size = _category(diff)
                bits.put(*dc_codes[size])
                if size:
                    bits.put(_bits_of(diff, size), size)
                run = 0
                for k in range(1, 64):
                    value = zz[k]
                    if value == 0:
                        run += 1
                        continue
                    while run > 15:
                        bits.put(*ac_codes[0xF0])
                        run -= 16
                    size = _category(value)
                    bits.put(*ac_codes[(run << 4) | size])
                    bits.put(_bits_of(value, size), size)
                    run = 0
                if run:
                    bits.put(*ac_codes[0x00])
    bits.flush()

    out = bytearray(b"\xFF\xD8")
    out += _segment(0xE0, b"JFIF\0" + struct.pack(">BBBHHBB", 1, 1, 0, 1, 1, 0, 0))
    out += _segment(0xDB, bytes([0]) + bytes(qy[ZIGZAG[k]] for k in range(64)) +
                    bytes([1]) + bytes(qc[ZIGZAG[k]] for k in range(64)))
    out += _segment(0xC0, struct.pack(">BHHB", 8, height, width, 3) +
                    bytes([1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1]))
    for table_class, table_id, huffman in ((0, 0, DC_LUMA), (1, 0, AC_LUMA), (0, 1, DC_CHROMA), (1, 1, AC_CHROMA)):
        counts, symbols = huffman
        out += _segment(0xC4, bytes([table_class << 4 | table_id]) + bytes(counts) + bytes(symbols))
    out += _segment(0xDA, bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0]))
    out += bits.out
    out += b"\xFF\xD9"
    return bytes(out)
