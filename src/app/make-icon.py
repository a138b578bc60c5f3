#!/usr/bin/env python3
"""Draws the program's 32 x 32, 16-colour icon and writes it as kestal.png
(window icon, desktop icon) and kestal.ico (4 bits per pixel), and for the
desktop's icon theme as icons/kestal-N.png (48, 64, 128 and 256 pixels, each
pixel grown to a square block) and icons/kestal.svg (one square a pixel).

The picture: a sheet of log paper with lines of text, and in front of it a
modem with its status lights, the two things the viewer is about.

Run it from anywhere; it writes next to itself. Plain Python, no libraries.
"""
import os
import struct
import zlib

# The 16 colours of the classic Windows palette.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)
CLEAR = -1

SIZE = 32


def draw():
    px = [[CLEAR] * SIZE for _ in range(SIZE)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = colour

    def frame(x0, y0, x1, y1, colour):
        for x in range(x0, x1 + 1):
            px[y0][x] = px[y1][x] = colour
        for y in range(y0, y1 + 1):
            px[y][x0] = px[y][x1] = colour

    # The log sheet with a folded corner.
    rect(3, 1, 24, 27, WHITE)
    frame(3, 1, 24, 27, BLACK)
    for y in range(1, 6):
        for x in range(20, 25):
            d = (x - 20) - (y - 1)
            px[y][x] = CLEAR if d > 0 else BLACK if d == 0 else SILVER
    for i in range(5):
        px[1 + i][20] = BLACK
        px[5][20 + i] = BLACK
    # Lines of log text: a date column in navy, the message in gray.
    for n, y in enumerate(range(4, 24, 3)):
        rect(5, y, 8, y, NAVY)
        end = 18 if y < 7 else 22 - (n * 3) % 7
        rect(10, y, end, y, GRAY)

    # The modem in front, with a shadow, a face and status lights.
    rect(12, 20, 30, 29, BLACK)
    rect(11, 19, 29, 28, TEAL)
    frame(11, 19, 29, 28, BLACK)
    rect(12, 20, 28, 21, AQUA)
    rect(12, 25, 28, 27, NAVY)
    for x, colour in ((14, LIME), (17, YELLOW), (20, RED), (23, LIME), (26, YELLOW)):
        rect(x, 23, x + 1, 23, colour)
    return px


def grown(px, size):
    """The picture at size x size, each pixel picked from the nearest one."""
    return [[px[y * SIZE // size][x * SIZE // size] for x in range(size)]
            for y in range(size)]


def write_svg(path, px):
    rects = []
    for y, row in enumerate(px):
        x = 0
        while x < SIZE:
            c = row[x]
            run = 1
            while x + run < SIZE and row[x + run] == c:
                run += 1
            if c >= 0:
                r, g, b = PALETTE[c]
                rects.append(f'<rect x="{x}" y="{y}" width="{run}" height="1" '
                             f'fill="#{r:02x}{g:02x}{b:02x}"/>')
            x += run
    with open(path, "w") as f:
        f.write('<svg xmlns="http://www.w3.org/2000/svg" width="128" height="128" '
                f'viewBox="0 0 {SIZE} {SIZE}" shape-rendering="crispEdges">\n')
        f.write("\n".join(rects) + "\n</svg>\n")


def write_png(path, px):
    size = len(px)
    raw = b""
    for row in px:
        raw += b"\0"
        for c in row:
            raw += bytes(PALETTE[c] + (255,)) if c >= 0 else b"\0\0\0\0"

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def write_ico(path, px):
    # BMP rows run bottom-up; 4-bit colour indexes, then a 1-bit mask (1 =
    # transparent), each row padded to 4 bytes.
    xor = b""
    mask = b""
    for row in reversed(px):
        nibbles = [c if c >= 0 else 0 for c in row]
        xor += bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2))
        bits = 0
        for c in row:
            bits = (bits << 1) | (1 if c < 0 else 0)
        mask += bits.to_bytes(SIZE // 8, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(xor) + len(mask), 0, 0, 16, 0)
    palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in PALETTE)
    image = header + palette + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    picture = draw()
    write_png(os.path.join(here, "kestal.png"), picture)
    write_ico(os.path.join(here, "kestal.ico"), picture)
    icons = os.path.join(here, "icons")
    os.makedirs(icons, exist_ok=True)
    for size in (48, 64, 128, 256):
        write_png(os.path.join(icons, f"kestal-{size}.png"), grown(picture, size))
    write_svg(os.path.join(icons, "kestal.svg"), picture)
