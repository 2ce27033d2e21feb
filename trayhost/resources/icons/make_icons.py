#!/usr/bin/env python3
"""Draws the tray program's icon: a jukebox body with a display and a disc platter.

Writes kovahdd-tray.svg and kovahdd-tray-<size>.png for each size, from one list of shapes in a
64 x 64 design grid. Needs only the Python standard library. Run it again after changing a shape and
commit its outputs:  python3 make_icons.py
"""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent))
from shapedrawing import png  # noqa: E402

SIZES = (16, 22, 24, 32, 48, 64, 128)
GRID = 64
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
        (here / f"{NAME}-{size}.png").write_bytes(png(SHAPES, size, size, size / GRID))


if __name__ == "__main__":
    main()
