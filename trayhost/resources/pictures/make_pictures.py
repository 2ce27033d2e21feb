#!/usr/bin/env python3
"""Draws the model pictures of the profile dialog: bitmap 132 (the HD model) and 133 (the PJ model).

Each picture is a list of shapes in a 32 x 48 design grid, written as a PNG twice that size. Needs
only the Python standard library. Run it again after changing a shape and commit its outputs:
python3 make_pictures.py
"""

import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent))
from shapedrawing import png  # noqa: E402

GRID_WIDTH, GRID_HEIGHT = 32, 48
SCALE = 2

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


def main():
    here = Path(__file__).resolve().parent
    width, height = GRID_WIDTH * SCALE, GRID_HEIGHT * SCALE
    for name, shapes in PICTURES.items():
        (here / f"{name}.png").write_bytes(png(shapes, width, height, SCALE))


if __name__ == "__main__":
    main()
