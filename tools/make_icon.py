#!/usr/bin/env python3
"""Draws the application icon of Kelvara Lanwise and writes it as a .ico file.

The picture is a network module as it sits on a DIN rail: a blue housing with
two status lamps, an Ethernet socket at the bottom of its front and signal
arcs leaving its upper right corner.  Each size is drawn from its own set of
shapes, placed on the pixel grid of that size, so that the 16 x 16 image stays
crisp instead of being a scaled-down copy of the 32 x 32 one.

Only the standard library is used and the output depends on nothing but this
file, so running it again gives the same bytes:

    python3 tools/make_icon.py                      # writes resources/kelvara_lanwise.ico
    python3 tools/make_icon.py --preview out.png    # also writes an enlarged preview
"""

import argparse
import math
import os
import struct
import zlib

# Samples per pixel along each axis; the coverage of a shape is the share of
# the SUPERSAMPLE x SUPERSAMPLE sample points that fall inside it.
SUPERSAMPLE = 8

NAVY = (0x1B, 0x35, 0x52)
BLUE_TOP = (0x4A, 0x8C, 0xCF)
BLUE_BOTTOM = (0x2C, 0x5E, 0x94)
METAL = (0xD4, 0xD8, 0xDD)
SOCKET = (0x16, 0x18, 0x1B)
GOLD = (0xE8, 0xB9, 0x2E)
LAMP_GREEN = (0x3D, 0xE0, 0x5A)
LAMP_AMBER = (0xFF, 0xB0, 0x20)
SIGNAL = (0xF5, 0x7C, 0x1F)


# ---------------------------------------------------------------------------
# Shapes: each is a predicate telling whether a point (in pixel units, the
# pixel (i, j) covering [i, i + 1) x [j, j + 1)) lies inside.


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def round_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def arc(cx, cy, radius, width, start_deg, end_deg):
    """A band of the given width around a circle, between two angles.

    Angles are measured in screen coordinates: 0 points right, negative
    angles point upwards.  The band's ends are rounded.
    """
    a0, a1 = math.radians(start_deg), math.radians(end_deg)
    half = width / 2.0
    ends = [(cx + radius * math.cos(a), cy + radius * math.sin(a)) for a in (a0, a1)]

    def inside(x, y):
        dx, dy = x - cx, y - cy
        d = math.hypot(dx, dy)
        if abs(d - radius) <= half and a0 <= math.atan2(dy, dx) <= a1:
            return True
        return any((x - ex) ** 2 + (y - ey) ** 2 <= half * half for ex, ey in ends)
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def vertical_gradient(top_colour, bottom_colour, y0, y1):
    def colour(y):
        t = min(max((y - y0) / float(y1 - y0), 0.0), 1.0)
        return tuple(round(a + (b - a) * t) for a, b in zip(top_colour, bottom_colour))
    return colour


# ---------------------------------------------------------------------------
# The two designs.  Each layer is (shape, colour), colour being an RGB triple
# or a function of the pixel row; later layers are painted over earlier ones.


def design_32():
    arcs_centre = (19.5, 13.0)
    signal = [
        arc(*arcs_centre, 5.0, 2.2, -60, 20),
        arc(*arcs_centre, 9.0, 2.2, -56, 17),
        arc(*arcs_centre, 13.0, 2.2, -54, 14),
    ]
    return [
        # Housing: dark outline, then the blue front.
        (round_rect(2, 4, 21, 31, 3.0), NAVY),
        (round_rect(3, 5, 20, 30, 2.0), vertical_gradient(BLUE_TOP, BLUE_BOTTOM, 5, 30)),
        # A lighter label strip across the top of the front.
        (rect(5, 7, 18, 9), (0x9C, 0xC4, 0xEA)),
        # Status lamps, each with a dark rim.
        (circle(7.0, 12.5, 2.1), NAVY),
        (circle(7.0, 12.5, 1.4), LAMP_GREEN),
        (circle(12.0, 12.5, 2.1), NAVY),
        (circle(12.0, 12.5, 1.4), LAMP_AMBER),
        # Ethernet socket: metal shell, dark opening with the latch notch, gold contacts.
        (union(rect(5, 17, 18, 26), rect(8, 26, 15, 28)), METAL),
        (union(rect(6, 18, 17, 25), rect(9, 25, 14, 27)), SOCKET),
        (union(*[rect(7 + 2 * i, 19, 8 + 2 * i, 21) for i in range(5)]), GOLD),
        # Signal arcs leaving the module.
        (union(*signal), SIGNAL),
    ]


def design_16():
    arcs_centre = (10.0, 7.0)
    signal = [
        arc(*arcs_centre, 2.6, 1.5, -62, 22),
        arc(*arcs_centre, 5.0, 1.5, -58, 20),
    ]
    return [
        (round_rect(0, 2, 11, 16, 1.5), NAVY),
        (round_rect(1, 3, 10, 15, 1.0), vertical_gradient(BLUE_TOP, BLUE_BOTTOM, 3, 15)),
        (rect(2, 5, 3, 6), LAMP_GREEN),
        (rect(4, 5, 5, 6), LAMP_AMBER),
        (union(rect(2, 8, 9, 13), rect(4, 13, 7, 14)), METAL),
        (union(rect(3, 9, 8, 12), rect(4, 12, 7, 13)), SOCKET),
        (rect(3, 9, 8, 10), GOLD),
        (union(*signal), SIGNAL),
    ]


# ---------------------------------------------------------------------------
# Rasterising.


def render(size, layers):
    """Returns rows (top first) of (r, g, b, a) pixels, 8 bits per channel."""
    pixels = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    step = 1.0 / SUPERSAMPLE
    offsets = [(k + 0.5) * step for k in range(SUPERSAMPLE)]
    for shape, colour in layers:
        for j in range(size):
            row_colour = colour(j + 0.5) if callable(colour) else colour
            for i in range(size):
                hits = sum(1 for dy in offsets for dx in offsets if shape(i + dx, j + dy))
                if not hits:
                    continue
                cov = hits / float(SUPERSAMPLE * SUPERSAMPLE)
                r, g, b, a = pixels[j][i]
                # "Source over" compositing with premultiplied channels.
                pr, pg, pb = (c / 255.0 for c in row_colour)
                pixels[j][i] = (pr * cov + r * (1 - cov), pg * cov + g * (1 - cov),
                                pb * cov + b * (1 - cov), cov + a * (1 - cov))
    out = []
    for row in pixels:
        out_row = []
        for r, g, b, a in row:
            if a <= 0.0:
                out_row.append((0, 0, 0, 0))
            else:
                out_row.append(tuple(min(255, int(round(c / a * 255))) for c in (r, g, b))
                               + (int(round(a * 255)),))
        out.append(out_row)
    return out


# ---------------------------------------------------------------------------
# File formats.


def icon_image(size, rows):
    """One 32-bit icon image: BITMAPINFOHEADER, BGRA rows bottom-up, AND mask."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for i, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[i // 8] |= 0x80 >> (i % 8)
        mask += line
    return header + bytes(colour) + bytes(mask)


def ico_file(images):
    """An .ico holding the given (size, image bytes) pairs, smallest first."""
    count = len(images)
    out = bytearray(struct.pack('<HHH', 0, 1, count))
    offset = 6 + 16 * count
    for size, data in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return bytes(out)


def png_file(width, height, rows):
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for px in row:
            raw += bytes(px)
    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + chunk(b'IEND', b''))


def preview(images, scale=12):
    """Both sizes side by side, enlarged, on a checkerboard."""
    gap = 16
    width = sum(size * scale for size, _ in images) + gap * (len(images) + 1)
    height = max(size for size, _ in images) * scale + 2 * gap
    canvas = [[(0xF0, 0xF0, 0xF0, 255) if ((x // 8) + (y // 8)) % 2 else (0xC8, 0xC8, 0xC8, 255)
               for x in range(width)] for y in range(height)]
    left = gap
    for size, rows in images:
        for y in range(size * scale):
            for x in range(size * scale):
                r, g, b, a = rows[y // scale][x // scale]
                br, bg, bb, _ = canvas[gap + y][left + x]
                canvas[gap + y][left + x] = (
                    (r * a + br * (255 - a)) // 255,
                    (g * a + bg * (255 - a)) // 255,
                    (b * a + bb * (255 - a)) // 255, 255)
        left += size * scale + gap
    return png_file(width, height, canvas)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default_out = os.path.join(here, '..', 'resources', 'kelvara_lanwise.ico')
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('output', nargs='?', default=default_out, help='the .ico file to write')
    parser.add_argument('--preview', metavar='PNG', help='also write an enlarged preview')
    args = parser.parse_args()

    rendered = [(16, render(16, design_16())), (32, render(32, design_32()))]
    with open(args.output, 'wb') as f:
        f.write(ico_file([(size, icon_image(size, rows)) for size, rows in rendered]))
    if args.preview:
        with open(args.preview, 'wb') as f:
            f.write(preview(rendered))


if __name__ == '__main__':
    main()
