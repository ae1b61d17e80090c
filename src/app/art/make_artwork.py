#!/usr/bin/env python3
"""Draws the program's artwork with ImageMagick and packs it into the exact
formats both windows load (the Windows resource script and the Qt resource
file take the same two files): banner.bmp (285 x 73, 8 bits per
pixel, a 17-colour palette, white in the bottom-left corner as the transparent
colour) and main.ico (16 x 16 and 32 x 32, 8 bits per pixel, 256 colours);
and, for the desktop's icon theme (the Debian package), the same icon drawn
smoothly at each size the theme asks for: hicolor-SIZE.png (16, 32, 48, 256).
Run it by hand from anywhere; it rewrites the files beside itself, which
are committed."""
import os
import struct
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))

BANNER_PALETTE = [
    (255, 255, 255),  # background, drawn transparently
    (20, 40, 90), (30, 60, 120), (43, 90, 168), (74, 124, 200),
    (143, 179, 230), (214, 228, 247), (232, 116, 30), (244, 168, 104),
    (64, 64, 64), (128, 128, 128), (192, 192, 192), (232, 232, 232),
    (0, 0, 0), (90, 120, 150), (46, 139, 139), (251, 224, 200),
]


def hexcolour(rgb):
    return "#%02x%02x%02x" % rgb


def render(width, height, draw_args):
    """Runs convert without antialiasing and returns rows of RGB triples."""
    ppm = subprocess.run(
        ["convert", "-size", "%dx%d" % (width, height), "xc:white", "+antialias"]
        + draw_args + ["-depth", "8", "ppm:-"],
        check=True, capture_output=True).stdout
    # P6 header: magic, width, height, maxval, each followed by whitespace.
    fields, pos = [], 0
    while len(fields) < 4:
        while ppm[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not ppm[pos:pos + 1].isspace():
            pos += 1
        fields.append(ppm[start:pos])
    pixels = ppm[pos + 1:]
    return [[tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]) for x in range(width)]
            for y in range(height)]


def nearest(palette, rgb):
    return min(range(len(palette)),
               key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], rgb)))


def indexed(rows, palette):
    cache = {}
    out = []
    for row in rows:
        line = []
        for rgb in row:
            if rgb not in cache:
                cache[rgb] = nearest(palette, rgb)
            line.append(cache[rgb])
        out.append(line)
    return out


def dib(rows, palette, with_mask=False):
    """A bottom-up 8-bit DIB: header, palette, pixels (and the icon's AND mask)."""
    height, width = len(rows), len(rows[0])
    stride = (width + 3) & ~3
    pixels = b"".join(bytes(row) + b"\0" * (stride - width) for row in reversed(rows))
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    mask = b""
    if with_mask:
        mask_stride = ((width + 31) // 32) * 4
        mask = b"\0" * (mask_stride * height)  # every pixel opaque
    header_height = height * 2 if with_mask else height
    header = struct.pack("<IiiHHIIiiII", 40, width, header_height, 1, 8, 0,
                         len(pixels) + len(mask), 0, 0, len(palette), 0)
    return header + colours + pixels + mask


def banner():
    c = lambda i: hexcolour(BANNER_PALETTE[i])
    draw = [
        # A page with a folded corner and a downward arrow.
        "-fill", c(6), "-stroke", c(1), "-strokewidth", "2",
        "-draw", "polygon 12,8 40,8 52,20 52,62 12,62 12,8",
        "-draw", "polyline 40,8 40,20 52,20",
        "-stroke", "none", "-fill", c(7),
        "-draw", "polygon 27,26 37,26 37,40 44,40 32,54 20,40 27,40",
        "-font", "DejaVu-Sans-Bold", "-pointsize", "28", "-fill", c(1),
        "-draw", "text 64,36 'Vantorel'",
        "-font", "DejaVu-Sans", "-pointsize", "14", "-fill", c(3),
        "-draw", "text 66,55 'Patent Downloader'",
        "-fill", c(2), "-draw", "rectangle 64,61 170,63",
        "-fill", c(4), "-draw", "rectangle 171,61 240,63",
        "-fill", c(5), "-draw", "rectangle 241,61 278,63",
        "-fill", c(7), "-draw", "rectangle 64,65 104,66",
    ]
    rows = indexed(render(285, 73, draw), BANNER_PALETTE)
    rows[-1][0] = 0  # the transparent colour is the bottom-left pixel's
    image = dib(rows, BANNER_PALETTE)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(image), 0, 0,
                              14 + 40 + 4 * len(BANNER_PALETTE))
    with open(os.path.join(HERE, "banner.bmp"), "wb") as f:
        f.write(file_header + image)


def icon_palette():
    palette = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    palette += [(i * 255 // 39,) * 3 for i in range(40)]
    return palette


def icon_drawing(size, style=""):
    """The icon's shapes, drawn on a 32 x 32 grid scaled to `size`; `style`
    goes before each shape (drawing settings last only for their shape)."""
    s = size / 32.0
    p = lambda *xy: " ".join("%d,%d" % (round(x * s), round(y * s)) for x, y in zip(xy[::2], xy[1::2]))
    return [
        "-fill", "#ccccff", "-stroke", "#000066", "-strokewidth", "%g" % max(1.0, s),
        "-draw", style + "polygon " + p(5, 1, 20, 1, 27, 8, 27, 30, 5, 30),
        "-draw", style + "polyline " + p(20, 1, 20, 8, 27, 8),
        "-stroke", "none", "-fill", "#ff6600",
        "-draw", "polygon " + p(13, 11, 19, 11, 19, 18, 23, 18, 16, 26, 9, 18, 13, 18),
    ]


def icon_image(size):
    palette = icon_palette()
    return dib(indexed(render(size, size, icon_drawing(size)), palette), palette, with_mask=True)


def theme_icons():
    for size in (16, 32, 48, 256):
        subprocess.run(
            ["convert", "-size", "%dx%d" % (size, size), "xc:none"]
            + icon_drawing(size, style="stroke-linejoin round ")
            + ["-strip", "PNG32:" + os.path.join(HERE, "hicolor-%d.png" % size)],
            check=True)


def main_icon():
    images = [icon_image(16), icon_image(32)]
    entries, offset = b"", 6 + 16 * len(images)
    for size, image in zip((16, 32), images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), offset)
        offset += len(image)
    with open(os.path.join(HERE, "main.ico"), "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + entries + b"".join(images))


if __name__ == "__main__":
    banner()
    main_icon()
    theme_icons()
