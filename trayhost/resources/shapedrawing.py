"""Draws pictures made of filled rounded rectangles and circles into PNG files, with the Python
standard library only. Shared by the scripts that make the tray icon and the model pictures.

A shape is (kind, geometry, fill colour); later shapes are drawn over earlier ones. A rect is x, y,
width, height, corner radius; a circle is centre x, centre y, radius; both in design-grid units.
"""

import struct
import zlib

SUPERSAMPLING = 4


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


def render(shapes, width, height, pixels_per_unit):
    """The RGBA rows of the picture, each led by PNG filter type 0, antialiased by supersampling."""
    step = 1.0 / SUPERSAMPLING
    rows = []
    for py in range(height):
        row = bytearray([0])  # PNG filter type: none
        for px in range(width):
            red = green = blue = covered = 0
            for sy in range(SUPERSAMPLING):
                for sx in range(SUPERSAMPLING):
                    x = (px + (sx + 0.5) * step) / pixels_per_unit
                    y = (py + (sy + 0.5) * step) / pixels_per_unit
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


def png(shapes, width, height, pixels_per_unit):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    pixels = render(shapes, width, height, pixels_per_unit)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b""))
