#!/usr/bin/env python3
"""Draws the model pictures of the profile dialog: bitmap 132 (the HD model) and 133 (the PJ model).

Each picture is a list of shapes in a 32 x 48 design grid, written as a PNG twice that size. Needs
only the Python standard library. Run it again after changing a shape and commit its outputs:
python3 make_pictures.py
"""

import struct
import zlib
from pathlib import Path

GRID_WIDTH, GRID_HEIGHT = 32, 48
SCALE = 2
SUPERSAMPLING = 4

# (kind, geometry, fill colour); later shapes are drawn over earlier ones. A rect is x, y, width,
# height, corner radius; a circle is centre x, centre y, radius.
PICTURES = {
    # Vantor Kova MP3 Jukebox: a dark blue player, wide display, round navigation pad.
    "profile-hd": (
        ("rect", (2, 2, 28, 44, 5), "#143652"),
        ("rect", (3, 3, 26, 42, 4), "#1f4e79"),
        ("rect", (6, 7, 20, 15, 2), "#0e2236"),
        ("rect", (7, 8, 18, 13, 1), "#9fd3f0"),
        ("rect", (9, 11, 11, 2, 1), "#1f4e79"),
        ("rect", (9, 15, 14, 2, 1), "#5f9cc4"),
        ("circle", (16, 34, 8), "#d9dee3"),
        ("circle", (16, 34, 6.5), "#b7c0c8"),
        ("circle", (16, 34, 3), "#143652"),
    ),
    # Corvane Kova Personal Jukebox: a graphite player with an amber display, a row of keys and a
    # scroll wheel.
    "profile-pj": (
        ("rect", (3, 1, 26, 46, 7), "#3a3d42"),
        ("rect", (4, 2, 24, 44, 6), "#5b6068"),
        ("rect", (7, 6, 18, 12, 2), "#26282c"),
        ("rect", (8, 7, 16, 10, 1), "#f2b544"),
        ("rect", (10, 10, 9, 2, 1), "#7a5414"),
        ("rect", (7, 21, 5, 3, 1), "#e07b24"),
        ("rect", (13.5, 21, 5, 3, 1), "#c9ccd1"),
        ("rect", (20, 21, 5, 3, 1), "#c9ccd1"),
        ("circle", (16, 35, 7.5), "#2b2d31"),
        ("circle", (16, 35, 6), "#8a9099"),
        ("circle", (16, 35, 2.5), "#e07b24"),
    ),
}


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


def render(shapes, width, height):
    step = 1.0 / SUPERSAMPLING
    rows = []
    for py in range(height):
        row = bytearray([0])  # PNG filter type: none
        for px in range(width):
            red = green = blue = covered = 0
            for sy in range(SUPERSAMPLING):
                for sx in range(SUPERSAMPLING):
                    x = (px + (sx + 0.5) * step) / SCALE
                    y = (py + (sy + 0.5) * step) / SCALE
                    colour = None
                    for kind, geometry, fill in shapes:
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


def png(width, height, pixels):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b""))


def main():
    here = Path(__file__).resolve().parent
    width, height = GRID_WIDTH * SCALE, GRID_HEIGHT * SCALE
    for name, shapes in PICTURES.items():
        (here / f"{name}.png").write_bytes(png(width, height, render(shapes, width, height)))


if __name__ == "__main__":
    main()
