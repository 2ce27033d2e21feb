#!/usr/bin/env python3
"""Draws the tray program's icon: a jukebox body with a display and a disc platter.

Writes kovahdd-tray.svg and kovahdd-tray-<size>.png for each size, from one list of shapes in a
64 x 64 design grid. Needs only the Python standard library. Run it again after changing a shape and
commit its outputs:  python3 make_icons.py
"""

import struct
import zlib
from pathlib import Path

SIZES = (16, 22, 24, 32, 48, 64, 128)
GRID = 64
SUPERSAMPLING = 4
NAME = "kovahdd-tray"

# (kind, geometry, fill colour); later shapes are drawn over earlier ones.
SHAPES = (
    ("rect", (9, 3, 46, 58, 9), "#143652"),     # body outline: x, y, width, height, corner radius
    ("rect", (11, 5, 42, 54, 7), "#1f4e79"),    # body
    ("rect", (16, 10, 32, 13, 2), "#9fd3f0"),   # display
    ("rect", (19, 15, 14, 3, 1), "#1f4e79"),    # text line on the display
    ("circle", (32, 41, 13), "#d9dee3"),         # platter: centre x, centre y, radius
    ("circle", (32, 41, 9), "#b7c0c8"),          # groove ring
    ("circle", (32, 41, 3.5), "#143652"),        # hub
)


def contains(kind, geometry, x, y):
    if kind == "circle":
        cx, cy, r = geometry
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    left, top, width, height, radius = geometry
    if not (left <= x <= left + width and top <= y <= top + height):
        return False
    # Distance into the nearest corner square decides the rounded corners.
    nearest_x = min(max(x, left + radius), left + width - radius)
    nearest_y = min(max(y, top + radius), top + height - radius)
    return (x - nearest_x) ** 2 + (y - nearest_y) ** 2 <= radius * radius


def rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def render(size):
    scale = GRID / size
    step = 1.0 / SUPERSAMPLING
    rows = []
    for py in range(size):
        row = bytearray([0])  # PNG filter type: none
        for px in range(size):
            red = green = blue = covered = 0
            for sy in range(SUPERSAMPLING):
                for sx in range(SUPERSAMPLING):
                    x = (px + (sx + 0.5) * step) * scale
                    y = (py + (sy + 0.5) * step) * scale
                    colour = None
                    for kind, geometry, fill in SHAPES:
                        if contains(kind, geometry, x, y):
                            colour = fill
                    if colour:
                        r, g, b = rgb(colour)
                        red, green, blue, covered = red + r, green + g, blue + b, covered + 1
            if covered:
                row += bytes((red // covered, green // covered, blue // covered,
                              255 * covered // SUPERSAMPLING ** 2))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return b"".join(rows)


def png(size, pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b""))


def svg():
    parts = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{GRID}" height="{GRID}" '
             f'viewBox="0 0 {GRID} {GRID}">']
    for kind, geometry, fill in SHAPES:
        if kind == "circle":
            cx, cy, r = geometry
            parts.append(f'  <circle cx="{cx}" cy="{cy}" r="{r}" fill="{fill}"/>')
        else:
            left, top, width, height, radius = geometry
            parts.append(f'  <rect x="{left}" y="{top}" width="{width}" height="{height}" '
                         f'rx="{radius}" fill="{fill}"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    here = Path(__file__).resolve().parent
    (here / f"{NAME}.svg").write_text(svg())
    for size in SIZES:
        (here / f"{NAME}-{size}.png").write_bytes(png(size, render(size)))


if __name__ == "__main__":
    main()
