#!/usr/bin/env python3
"""Draws Skyvane's icon and splash picture; only the standard library.

icon32.png, icon16.png: a dark-blue aeroplane seen from above on a clear
background, 16-colour palette images; hicolor/N.png: the same at the sizes the
desktop's icon theme asks for, which the install puts in place. splash.bmp: 240 by 320 pixels, 24 bits,
uncompressed, bottom-up: the aeroplane climbing over a sky with a compass ring.
Run it from anywhere; it writes next to itself.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# The aeroplane in a unit square, nose up: fuselage, wings, tail plane.
PLANE = [
    [(0.47, 0.04), (0.53, 0.04), (0.56, 0.12), (0.56, 0.82), (0.50, 0.92), (0.44, 0.82), (0.44, 0.12)],
    [(0.05, 0.42), (0.44, 0.30), (0.56, 0.30), (0.95, 0.42), (0.95, 0.50), (0.56, 0.46), (0.44, 0.46), (0.05, 0.50)],
    [(0.30, 0.80), (0.44, 0.74), (0.56, 0.74), (0.70, 0.80), (0.70, 0.86), (0.56, 0.84), (0.44, 0.84), (0.30, 0.86)],
]


def inside(poly, x, y):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def coverage(x, y, size, polys, samples=4):
    """Share of the pixel (x, y) of a size-pixel square that the shapes cover."""
    n = 0
    for sy in range(samples):
        for sx in range(samples):
            u = (x + (sx + 0.5) / samples) / size
            v = (y + (sy + 0.5) / samples) / size
            if any(inside(p, u, v) for p in polys):
                n += 1
    return n / (samples * samples)


def png(path, size):
    # 16-colour palette: transparent, then dark blue blended toward white.
    dark = (16, 32, 96)
    palette = [(255, 255, 255)]
    for i in range(15):
        t = i / 14
        palette.append(tuple(round(255 + (c - 255) * t) for c in dark))
    rows = b""
    for y in range(size):
        row = bytearray([0])
        for x in range(size):
            a = coverage(x, y, size, PLANE)
            row.append(0 if a == 0 else 1 + round(a * 14))
        rows += bytes(row)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    data = b"\x89PNG\r\n\x1a\n"
    data += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 3, 0, 0, 0))
    data += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    data += chunk(b"tRNS", b"\x00")
    data += chunk(b"IDAT", zlib.compress(rows, 9))
    data += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


def splash(path, width=240, height=320):
    pixels = [[(0, 0, 0)] * width for _ in range(height)]
    cx, cy, r = width / 2, height * 0.42, 92
    for y in range(height):
        t = y / (height - 1)
        sky = (round(30 + 150 * t), round(70 + 150 * t), round(160 + 90 * t))
        for x in range(width):
            pixels[y][x] = sky
            d = math.hypot(x - cx, y - cy)
            if abs(d - r) < 1.5 or abs(d - r + 12) < 0.8:
                pixels[y][x] = (235, 240, 250)
            ang = math.degrees(math.atan2(x - cx, cy - y)) % 360
            if r - 12 < d < r and min(ang % 30, 30 - ang % 30) < 0.9:
                pixels[y][x] = (235, 240, 250)
    size = 150
    ox, oy = int(cx - size / 2), int(cy - size / 2)
    for y in range(size):
        for x in range(size):
            a = coverage(x, y, size, PLANE, samples=2)
            if a:
                base = pixels[oy + y][ox + x]
                pixels[oy + y][ox + x] = tuple(round(b + (c - b) * a) for b, c in zip(base, (16, 32, 96)))
    # Runway-like band at the bottom.
    for y in range(height - 40, height - 30):
        for x in range(30, width - 30):
            pixels[y][x] = (60, 60, 70) if (x // 12) % 2 else (235, 235, 235)
    row_size = (width * 3 + 3) // 4 * 4
    body = b""
    for y in reversed(range(height)):  # bottom-up
        row = b"".join(bytes((b, g, r)) for r, g, b in pixels[y])
        body += row + b"\x00" * (row_size - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + body)


# The sizes of the desktop's hicolor icon theme that the install carries.
THEME_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


if __name__ == "__main__":
    png(os.path.join(HERE, "icon32.png"), 32)
    png(os.path.join(HERE, "icon16.png"), 16)
    os.makedirs(os.path.join(HERE, "hicolor"), exist_ok=True)
    for n in THEME_SIZES:
        png(os.path.join(HERE, "hicolor", "%d.png" % n), n)
    splash(os.path.join(HERE, "splash.bmp"))
