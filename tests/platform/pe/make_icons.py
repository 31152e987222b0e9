#!/usr/bin/env python3
"""Writes the .ico files of the reader's test fixtures into fixtures/ (run once; the output is
committed). Every image is drawn here pixel by pixel so that the tests know each pixel:

  pattern: left half white, right half black, (0, 0) red where the depth allows colour,
           the 4 x 4 bottom-right corner transparent (AND mask, or alpha 0 at 32 bits).
"""
import os
import struct
import zlib

RED, WHITE, BLACK, BLUE, GREEN = (255, 0, 0), (255, 255, 255), (0, 0, 0), (0, 0, 255), (0, 160, 0)
HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures")


def pattern(size, colour_at_origin=RED):
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            transparent = x >= size - 4 and y >= size - 4
            colour = WHITE if x < size // 2 else BLACK
            if (x, y) == (0, 0) and colour_at_origin:
                colour = colour_at_origin
            row.append((colour, transparent))
        rows.append(row)
    return rows


def solid(size, colour):
    return [[(colour, False)] * size for _ in range(size)]


def pack_bits(values, bits):
    out, acc, used = bytearray(), 0, 0
    for v in values:
        acc = (acc << bits) | v
        used += bits
        if used == 8:
            out.append(acc)
            acc, used = 0, 0
    if used:
        out.append(acc << (8 - used))
    return bytes(out)


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def bmp(rows, bits):
    size = len(rows)
    palette = []
    if bits <= 8:
        palette = [BLACK, WHITE] if bits == 1 else [BLACK, WHITE, RED, BLUE, GREEN]
        palette += [(0, 0, 0)] * ((1 << bits) - len(palette))
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    colour, mask = b"", b""
    for row in reversed(rows):  # bottom-up
        if bits <= 8:
            colour += pad4(pack_bits([palette.index(c) for c, _ in row], bits))
        elif bits == 24:
            colour += pad4(b"".join(struct.pack("<BBB", b, g, r) for (r, g, b), _ in row))
        else:
            colour += b"".join(struct.pack("<BBBB", b, g, r, 0 if t else 255)
                               for (r, g, b), t in row)
        mask += pad4(pack_bits([1 if t else 0 for _, t in row], 1))
    return header + table + colour + mask


def png(rows):
    size = len(rows)
    raw = b"".join(b"\0" + b"".join(struct.pack("BBBB", r, g, b, 0 if t else 255)
                                     for (r, g, b), t in row) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(
            ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(name, images):
    """images: list of (size, bits, data)."""
    offset = 6 + 16 * len(images)
    directory, blobs = b"", b""
    for size, bits, data in images:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits, len(data),
                                 offset + len(blobs))
        blobs += data
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + directory + blobs)


def main():
    p16 = pattern(16)
    ico("depths.ico", [(16, 1, bmp(pattern(16, None), 1)), (16, 4, bmp(p16, 4)),
                       (16, 8, bmp(p16, 8)), (16, 24, bmp(p16, 24)), (16, 32, bmp(p16, 32)),
                       (16, 32, png(p16))])
    # The 16 x 16 image of greatest depth must win over the 4-bit one (blue origin).
    ico("app.ico", [(16, 4, bmp(pattern(16, BLUE), 4)), (32, 8, bmp(pattern(32), 8)),
                    (16, 32, bmp(p16, 32))])
    ico("sizes.ico", [(48, 32, bmp(solid(48, GREEN), 32)), (32, 32, png(solid(32, BLUE)))])
    ico("red.ico", [(16, 24, bmp(solid(16, RED), 24))])
    ico("green.ico", [(16, 24, bmp(solid(16, GREEN), 24))])


if __name__ == "__main__":
    main()
