"""Writes pictures as PNG files, byte for byte the same on every run (no time stamps, a
fixed compression), so that drawing the pictures again changes only what was changed."""

import struct
import zlib


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filtered(row, above, step):
    """The five PNG filters of one row, each with its type byte in front."""
    n = len(row)
    left = bytes(step) + row[:n - step]
    upper_left = bytes(step) + above[:n - step]
    return [
        b"\0" + row,
        b"\1" + bytes((row[i] - left[i]) & 0xFF for i in range(n)),
        b"\2" + bytes((row[i] - above[i]) & 0xFF for i in range(n)),
        b"\3" + bytes((row[i] - ((left[i] + above[i]) >> 1)) & 0xFF for i in range(n)),
        b"\4" + bytes((row[i] - _paeth(left[i], above[i], upper_left[i])) & 0xFF
                      for i in range(n)),
    ]


def _cost(line):
    # The usual choice: the filter whose bytes, read as signed, sum to the least.
    return sum(b if b < 128 else 256 - b for b in line[1:])


def write_png(path, width, height, rows, alpha):
    """`rows`: `height` rows from the top, each `width` pixels of bytes (R, G, B), or
    (R, G, B, A) with straight alpha when `alpha` is true."""
    step = 4 if alpha else 3
    above = bytes(width * step)
    data = bytearray()
    for row in rows:
        row = bytes(row)
        data += min(_filtered(row, above, step), key=_cost)
        above = row

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(bytes(data), 9)) + chunk(b"IEND", b""))
