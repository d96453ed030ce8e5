#!/usr/bin/env python3
"""Draws the program's pictures: the hide button (101), the arrow strip (102),
the progress-bar skin (103) and the program icon. The bitmaps come at 100,
125, 150 and 200 percent (ids 101-103, then ten more for each scale); the
icon holds the sizes of 16 and 32 pixels at each of those scales.

Everything is computed from coordinates, so the files come out byte-for-byte
the same on every build. Standard library only.

    make_pictures.py <output folder>
"""

import os
import struct
import sys

WHITE = (255, 255, 255)
NEAR_WHITE = (250, 250, 250)
EDGE_GREY = (153, 153, 153)
EDGE_LIGHT = (216, 216, 216)
CHEVRON_GREY = (122, 122, 122)
HOVER_BLUE = (56, 156, 255)
RING_BLUE = (96, 168, 244)
CROSS_BLUE = (170, 208, 250)


class Picture:
    """A width x height grid of RGB triples, row 0 at the top."""

    def __init__(self, width, height, fill):
        self.width = width
        self.height = height
        self.rows = [[fill] * width for _ in range(height)]

    def put(self, x, y, color):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = color

    def get(self, x, y):
        return self.rows[y][x]


def bmp_24bit(picture):
    """A BITMAPFILEHEADER + BITMAPINFOHEADER file, 24 bits, bottom-up."""
    stride = (picture.width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(picture.rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, picture.width, picture.height, 1, 24, 0,
                       len(pixels), 3780, 3780, 0, 0)
    offset = 14 + len(info)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + bytes(pixels)


# ---------------------------------------------------------------- bitmap 101

SCALES = (100, 125, 150, 200)
SCALE_ID_STEP = 10


def scaled(length, scale):
    """A length in 96-DPI units at `scale` percent, rounded half up, as the
    program places the frames it copies."""
    return (length * scale + 50) // 100


def unit_of(pixel, scale):
    """The 96-DPI unit whose scaled pixels hold `pixel`."""
    return (pixel * 100 + 50 + scale - 1) // scale - 1


def enlarged(pic, scale):
    """Each unit pixel becomes the block of pixels the program maps it to:
    sharp edges at any scale, and the frames where the program looks."""
    out = Picture(scaled(pic.width, scale), scaled(pic.height, scale), WHITE)
    for y in range(out.height):
        for x in range(out.width):
            out.put(x, y, pic.get(unit_of(x, scale), unit_of(y, scale)))
    return out


def hide_button(scale=100):
    """A blue ring of diameter 25 with a thin light-blue cross, on white,
    drawn at the scale's own resolution."""
    size = scaled(25, scale)
    pic = Picture(size, size, WHITE)
    centre = 12.0
    for y in range(size):
        for x in range(size):
            # Pixel centres in units, where pixel i of the 100 % picture is i.
            u = (x + 0.5) * 100 / scale - 0.5
            v = (y + 0.5) * 100 / scale - 0.5
            d = ((u - centre) ** 2 + (v - centre) ** 2) ** 0.5
            if 10.6 <= d <= 12.6:
                pic.put(x, y, RING_BLUE)
            on_cross = abs(u - v) < 0.5 or abs(u + v - 24) < 0.5
            if on_cross and 7.5 <= u < 16.5:
                pic.put(x, y, CROSS_BLUE)
    return pic


# ---------------------------------------------------------------- bitmap 102

FRAME_WIDTH = 23
STRIP_HEIGHT = 26
CHEVRON_POINT_ROW = 12
CHEVRON_HALF_HEIGHT = 4  # nine rows: point row +- 4
CHEVRON_LEFT = 9         # leftmost column of the chevron inside a frame


def draw_chevron(pic, frame_x, pointing_left, color):
    """A chevron two pixels thick and nine rows tall, its point at row 12."""
    for dy in range(-CHEVRON_HALF_HEIGHT, CHEVRON_HALF_HEIGHT + 1):
        step = abs(dy)
        if pointing_left:
            x = CHEVRON_LEFT + step
        else:
            x = CHEVRON_LEFT + CHEVRON_HALF_HEIGHT - step
        for thickness in range(2):
            pic.put(frame_x + x + thickness, CHEVRON_POINT_ROW + dy, color)


def draw_normal_edges(pic, frame_x, pointing_left):
    """Bevelled edges: grey on the pointing side and top, light grey opposite."""
    last = FRAME_WIDTH - 1
    for x in range(FRAME_WIDTH):
        pic.put(frame_x + x, STRIP_HEIGHT - 1, EDGE_LIGHT)
    for y in range(STRIP_HEIGHT):
        pic.put(frame_x + (last if pointing_left else 0), y, EDGE_LIGHT)
    for y in range(STRIP_HEIGHT - 1):
        pic.put(frame_x + (0 if pointing_left else last), y, EDGE_GREY)
    for x in range(FRAME_WIDTH):
        pic.put(frame_x + x, 0, EDGE_GREY)


def draw_hover_frame(pic, frame_x):
    last = FRAME_WIDTH - 1
    for x in range(FRAME_WIDTH):
        pic.put(frame_x + x, 0, HOVER_BLUE)
        pic.put(frame_x + x, STRIP_HEIGHT - 1, HOVER_BLUE)
    for y in range(STRIP_HEIGHT):
        pic.put(frame_x, y, HOVER_BLUE)
        pic.put(frame_x + last, y, HOVER_BLUE)


def arrow_strip():
    """Four 23-pixel arrow frames and the one-column text background at 92."""
    pic = Picture(93, STRIP_HEIGHT, NEAR_WHITE)
    draw_normal_edges(pic, 0, pointing_left=True)
    draw_chevron(pic, 0, True, CHEVRON_GREY)
    draw_hover_frame(pic, 23)
    draw_chevron(pic, 23, True, HOVER_BLUE)
    draw_normal_edges(pic, 46, pointing_left=False)
    draw_chevron(pic, 46, False, CHEVRON_GREY)
    draw_hover_frame(pic, 69)
    draw_chevron(pic, 69, False, HOVER_BLUE)
    pic.put(92, 0, EDGE_GREY)
    pic.put(92, STRIP_HEIGHT - 1, EDGE_LIGHT)
    return pic


# ---------------------------------------------------------------- bitmap 103

TRACK_BORDER = (166, 166, 166)
TRACK_TOP = (236, 236, 236)
TRACK_BOTTOM = (214, 214, 214)
FILL_BORDER = (150, 150, 150)
FILL_LIGHT = (170, 235, 140)
FILL_DEEP = (40, 175, 40)


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def progress_skin():
    """69 x 14: rounded grey track ends (0-5, 16-21), its middle (6-15) and
    the glossy green fill (22-68)."""
    height = 14
    pic = Picture(69, height, WHITE)

    def track_body(y):
        return mix(TRACK_TOP, TRACK_BOTTOM, (y - 1) / (height - 3))

    # Columns counted from the outer edge of an end: rows cut off at the top
    # and bottom to round the corner.
    corner_cut = (2, 1)
    for x in range(22):
        offset = min(x, 21 - x) if x < 6 or x > 15 else 6
        cut = corner_cut[offset] if offset < len(corner_cut) else 0
        for y in range(cut, height - cut):
            on_border = offset == 0 or y in (cut, height - 1 - cut)
            pic.put(x, y, TRACK_BORDER if on_border else track_body(y))
    # Fill: light green on top, saturated below, grey border rows.
    for x in range(22, 69):
        for y in range(height):
            if y in (0, height - 1):
                color = FILL_BORDER
            elif y < height // 2:
                color = mix(FILL_LIGHT, mix(FILL_LIGHT, FILL_DEEP, 0.45), (y - 1) / 5)
            else:
                color = mix(FILL_DEEP, mix(FILL_DEEP, FILL_LIGHT, 0.3), (y - 7) / 5)
            pic.put(x, y, color)
    return pic


# ---------------------------------------------------------------- icon 1

ICON_SIZES = (64, 48, 40, 32, 24, 20, 16)
TRANSPARENT = None
PAGE_BLUE = (87, 171, 255)
RING_DARK = (34, 92, 170)
TODAY_ORANGE = (255, 187, 0)
DOT_GREY = (200, 202, 204)


def icon_design(u, v):
    """Colour of the icon at (u, v) on a 48-unit grid; None is transparent."""
    if (12 <= u < 16 or 32 <= u < 36) and 2 <= v < 10:
        return RING_DARK
    if not (3 <= u < 45 and 5 <= v < 45):
        return TRANSPARENT
    if v < 16:
        return PAGE_BLUE
    if u < 5 or u >= 43 or v >= 43:
        return PAGE_BLUE
    if 17 <= u < 31 and 21 <= v < 37:
        return TODAY_ORANGE
    if (int(u) - 8) % 12 < 4 and (int(v) - 22) % 12 < 4 and not (17 <= u < 31):
        return DOT_GREY
    return WHITE


def icon_pixels(size):
    scale = 48 / size
    return [[icon_design((x + 0.5) * scale, (y + 0.5) * scale) for x in range(size)]
            for y in range(size)]


def and_mask(rows, size):
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, color in enumerate(row):
            if color is TRANSPARENT:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return bytes(mask)


def icon_image(size, bits, palette):
    rows = icon_pixels(size)
    xor = bytearray()
    if bits == 32:
        for row in reversed(rows):
            for color in row:
                if color is TRANSPARENT:
                    xor += b"\0\0\0\0"
                else:
                    xor += bytes((color[2], color[1], color[0], 255))
        table = b""
    else:
        stride = (size + 3) & ~3
        for row in reversed(rows):
            line = bytearray(palette.index(c) if c is not TRANSPARENT else 0 for c in row)
            line += b"\0" * (stride - size)
            xor += line
        table = b"".join(bytes((c[2], c[1], c[0], 0)) for c in palette)
        table += b"\0\0\0\0" * (256 - len(palette))
    mask = and_mask(rows, size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + table + bytes(xor) + mask


def program_icon():
    """An .ico holding 48, 32, 24 and 16 pixels, each at 8 and 32 bits."""
    palette = [(0, 0, 0)]
    for size in ICON_SIZES:
        for row in icon_pixels(size):
            for color in row:
                if color is not TRANSPARENT and color not in palette:
                    palette.append(color)
    images = []
    for size in ICON_SIZES:
        for bits in (8, 32):
            images.append((size, bits, icon_image(size, bits, palette)))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    data = b""
    for size, bits, image in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, bits, len(image),
                               offset + len(data))
        data += image
    return directory + entries + data


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_pictures.py <output folder>")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    files = {"kelvo.ico": program_icon()}
    for scale in SCALES:
        suffix = "" if scale == 100 else "_%d" % scale
        files["hide_button%s.bmp" % suffix] = bmp_24bit(hide_button(scale))
        files["arrow_strip%s.bmp" % suffix] = bmp_24bit(enlarged(arrow_strip(), scale))
        files["progress_skin%s.bmp" % suffix] = bmp_24bit(enlarged(progress_skin(), scale))
    for name, content in files.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(content)


if __name__ == "__main__":
    main()
