#!/usr/bin/env python3
"""Puts LCD screenshots side by side into one PNG, eight to a row, so that a
sheet stays readable as screens are added (standard library only).

compose.py OUT.png IN1.png IN2.png ...
"""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG file")
    i, idat, width, height = 8, b"", 0, 0
    while i < len(data):
        length = struct.unpack(">I", data[i:i + 4])[0]
        kind, body = data[i + 4:i + 8], data[i + 8:i + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            if depth != 8 or colour != 2:
                sys.exit(f"{path}: want 8-bit RGB")
        elif kind == b"IDAT":
            idat += body
        i += 12 + length
    raw, stride, rows, prev, p = zlib.decompress(idat), width * 3, [], bytearray(width * 3), 0
    for _ in range(height):
        kind, line = raw[p], bytearray(raw[p + 1:p + 1 + stride])
        p += 1 + stride
        for x in range(stride):
            a = line[x - 3] if x >= 3 else 0
            b = prev[x]
            c = prev[x - 3] if x >= 3 else 0
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(line)
        prev = line
    return width, height, rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\x00" + bytes(r) for r in rows)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                  + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    pictures = [read_png(p) for p in sys.argv[2:]]
    gap, border, per_row = 8, 4, 8
    lines = [pictures[i:i + per_row] for i in range(0, len(pictures), per_row)]
    width = max(sum(w for w, _, _ in line) + gap * (len(line) - 1) for line in lines) + 2 * border
    heights = [max(h for _, h, _ in line) for line in lines]
    height = sum(heights) + gap * (len(lines) - 1) + 2 * border
    rows = [bytearray(b"\x60" * width * 3) for _ in range(height)]
    top = border
    for line, line_height in zip(lines, heights):
        x = border
        for w, h, picture in line:
            for y in range(h):
                rows[top + y][x * 3:(x + w) * 3] = picture[y]
            x += w + gap
        top += line_height + gap
    write_png(sys.argv[1], width, height, rows)


if __name__ == "__main__":
    main()
