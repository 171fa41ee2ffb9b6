#!/usr/bin/env python3
"""Draws Tempiro's icon and writes it as a classic .ico file.

An hourglass stands in front of an application window. Every size is drawn
from its own hand-tuned geometry so that the small ones stay crisp, and each
size is stored twice: 16 colours (standard VGA palette) and 256 colours.
Only BMP-style images are written, so the file loads on Windows XP.

Usage: python3 resources/make_icon.py [OUTPUT]
The output defaults to tempiro.ico next to this script. Standard library only;
the bytes written are the same on every run.
"""

import os
import struct
import sys

# The 16-colour palette in the order Windows uses for 4-bit bitmaps.
VGA = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DRED, DGREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)

# Each drawing role has a true colour for the 256-colour images and a VGA
# index for the 16-colour ones; shades collapse onto fewer VGA colours.
ROLES = {
    'ink':       ((0x18, 0x18, 0x20), BLACK),
    'frame':     ((0x1C, 0x2C, 0x5C), BLACK),
    'caption':   ((0xFF, 0xFF, 0xFF), WHITE),
    'button':    ((0xD8, 0xD8, 0xD8), SILVER),
    'body':      ((0xFF, 0xFF, 0xFF), WHITE),
    'text':      ((0xA8, 0xB4, 0xC8), SILVER),
    'wood_hi':   ((0xC8, 0x7A, 0x3A), DRED),
    'wood':      ((0x96, 0x50, 0x1E), DRED),
    'wood_lo':   ((0x64, 0x30, 0x10), DRED),
    'glass':     ((0xD2, 0xEE, 0xFA), WHITE),
    'glass_hi':  ((0xFF, 0xFF, 0xFF), WHITE),
    'glass_lo':  ((0x9C, 0xCC, 0xE2), SILVER),
    'sand_hi':   ((0xFF, 0xE8, 0x78), YELLOW),
    'sand':      ((0xF0, 0xBE, 0x2C), YELLOW),
    'sand_lo':   ((0xB8, 0x84, 0x18), OLIVE),
}

# The title bar fades from dark to light blue; 16 colours keep it plain navy.
TITLE_FROM, TITLE_TO, TITLE_SHADES = (0x0A, 0x24, 0x6A), (0x6E, 0xA2, 0xEA), 8
for _i in range(TITLE_SHADES):
    _t = _i / (TITLE_SHADES - 1)
    ROLES['title%d' % _i] = (tuple(int(round(a + (b - a) * _t))
                                   for a, b in zip(TITLE_FROM, TITLE_TO)), NAVY)


class Canvas:
    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def set(self, x, y, role):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = role

    def rect(self, x0, y0, x1, y1, role):
        """Fills the inclusive rectangle."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, role)

    def outline_rect(self, x0, y0, x1, y1, role):
        for x in range(x0, x1 + 1):
            self.set(x, y0, role)
            self.set(x, y1, role)
        for y in range(y0, y1 + 1):
            self.set(x0, y, role)
            self.set(x1, y, role)


def draw_window(c, g):
    x0, y0, x1, y1 = g['win']
    tb = g['title_h']
    c.outline_rect(x0, y0, x1, y1, 'frame')
    # Title bar shades from dark at the left to light at the right.
    for x in range(x0 + 1, x1):
        t = (x - x0 - 1) / (x1 - x0 - 1)
        role = 'title%d' % int(t * TITLE_SHADES)
        for y in range(y0 + 1, y0 + 1 + tb):
            c.set(x, y, role)
    c.rect(x0 + 1, y0 + 1 + tb, x1 - 1, y1 - 1, 'body')
    for x, y, w, h in g.get('buttons', []):
        c.rect(x, y, x + w - 1, y + h - 1, 'button')
    for x, y, w in g.get('caption', []):
        c.rect(x, y, x + w - 1, y, 'caption')
    for x, y, w in g.get('lines', []):
        c.rect(x, y, x + w - 1, y, 'text')


def glass_span(g, y):
    """First and last x of the glass's inside on row y, or None."""
    top, bot = g['glass_y']
    if y < top or y > bot:
        return None
    half = (bot - top) / 2.0
    s = min(1.0, abs(y - (top + half)) / half)
    # Rounded shoulders under the caps, a straight taper into the neck.
    f = 1.0 - (1.0 - s) ** g['bulge']
    hw = g['neck'] + (g['bulb'] - g['neck']) * f
    cx = g['cx']
    x0 = int(round(cx - hw))
    return x0, 2 * cx - x0


def draw_hourglass(c, g):
    cx = g['cx']
    hx0, hx1 = g['cap_x']
    top, bot = g['glass_y']
    mid = (top + bot) / 2.0
    spans = {y: glass_span(g, y) for y in range(top, bot + 1)}

    def inside(x, y):
        sp = spans.get(y)
        return sp is not None and sp[0] <= x <= sp[1]

    for y in range(top, bot + 1):
        x0, x1 = spans[y]
        width = x1 - x0 + 1
        for x in range(x0, x1 + 1):
            role = 'glass'
            if width >= 5 and x == x0 + 1:
                role = 'glass_hi'
            elif width >= 3 and x == x1:
                role = 'glass_lo'
            dx = x - cx
            sand = False
            if y < mid:
                sand = y >= g['sand_top']
            elif y > mid:
                # The heap's surface rises towards the middle.
                rise = g['heap'] * max(0.0, 1.0 - abs(dx) / g['heap_w'])
                sand = y >= g['sand_bot'] - rise
            if abs(dx) <= g['stream'] and y >= mid:
                sand = True
            if sand:
                role = 'sand'
                if width >= 5 and x <= x0 + (width - 1) // 4:
                    role = 'sand_hi'
                elif width >= 5 and x >= x1 - (width - 1) // 4:
                    role = 'sand_lo'
            c.set(x, y, role)

    # A dark rim wherever the glass ends (8-neighbourhood).
    for y in range(top - 1, bot + 2):
        for x in range(hx0, hx1 + 1):
            if not inside(x, y) and any(inside(x + dx, y + dy)
                                        for dx in (-1, 0, 1)
                                        for dy in (-1, 0, 1)):
                c.set(x, y, 'ink')

    # Wooden caps: dark outline, lit top edge, shaded bottom edge.
    for y0, y1 in g['caps']:
        c.outline_rect(hx0, y0, hx1, y1, 'ink')
        c.rect(hx0 + 1, y0 + 1, hx1 - 1, y1 - 1, 'wood')
        c.rect(hx0 + 1, y0 + 1, hx1 - 1, y0 + 1, 'wood_hi')
        if y1 - y0 >= 4:
            c.rect(hx0 + 1, y1 - 1, hx1 - 1, y1 - 1, 'wood_lo')


# 16x16 is drawn pixel by pixel; one letter per role, '.' is transparent.
LETTERS = {
    'k': 'ink', 'f': 'frame', 'n': 'title0', 'm': 'title2', 'b': 'title4',
    'l': 'title6', 's': 'button', 'w': 'body', 't': 'text', 'W': 'wood',
    'g': 'glass', 'G': 'glass_hi', 'q': 'glass_lo', 'Y': 'sand_hi',
    'y': 'sand', 'o': 'sand_lo',
}

PIXELS_16 = [
    "ffffffffffff....",
    "fnnnmmbbllsf....",
    "fnnnmmbbllsf....",
    "fwwwwwwkkkkkkkkk",
    "fwttttwkWWWWWWWk",
    "fwwwwwwkkkkkkkkk",
    "fwtttwwwkGgggqk.",
    "fwwwwwwwkYyyyok.",
    "fwttttwwwkyyok..",
    "fwwwwwwwwwkyk...",
    "fwwwwwwwwkGyqk..",
    "ffffffffkGyyyqk.",
    "........kYyyyok.",
    ".......kkkkkkkkk",
    ".......kWWWWWWWk",
    ".......kkkkkkkkk",
]

GEOMETRY = {
    16: {'pixels': PIXELS_16},
    32: {
        'win': (0, 2, 23, 21), 'title_h': 4,
        'buttons': [(17, 4, 2, 2), (20, 4, 2, 2)],
        'caption': [(3, 4, 2), (3, 5, 2), (7, 5, 7)],
        'lines': [(3, 9, 9), (3, 12, 7), (3, 15, 9), (3, 18, 6)],
        'cx': 23, 'cap_x': (15, 31), 'caps': ((7, 10), (28, 31)),
        'glass_y': (11, 27), 'neck': 0.0, 'bulb': 6.0, 'bulge': 2.0,
        'sand_top': 14, 'sand_bot': 25, 'heap': 3.0, 'heap_w': 5.0,
        'stream': 0,
    },
    48: {
        'win': (0, 3, 35, 32), 'title_h': 6,
        'buttons': [(25, 5, 3, 3), (29, 5, 3, 3)],
        'caption': [(3, 5, 3), (3, 6, 3), (3, 7, 3), (8, 6, 10), (8, 7, 10)],
        'lines': [(4, 14, 14), (4, 18, 11), (4, 22, 14), (4, 26, 9)],
        'cx': 35, 'cap_x': (23, 47), 'caps': ((10, 15), (42, 47)),
        'glass_y': (16, 41), 'neck': 0.6, 'bulb': 9.0, 'bulge': 2.0,
        'sand_top': 21, 'sand_bot': 38, 'heap': 4.0, 'heap_w': 8.0,
        'stream': 0,
    },
}


def render(size):
    g = GEOMETRY[size]
    c = Canvas(size)
    if 'pixels' in g:
        for y, row in enumerate(g['pixels']):
            assert len(row) == size
            for x, ch in enumerate(row):
                c.set(x, y, None if ch == '.' else LETTERS[ch])
        return c
    draw_window(c, g)
    draw_hourglass(c, g)
    return c


def bmp_image(canvas, bpp):
    """One icon image: BITMAPINFOHEADER, palette, XOR bitmap, AND mask."""
    size = canvas.size
    if bpp == 4:
        palette = list(VGA)
        index = {name: vga for name, (_, vga) in ROLES.items()}
    else:
        palette = []
        index = {}
        for name in sorted(ROLES):
            rgb = ROLES[name][0]
            if rgb not in palette:
                palette.append(rgb)
            index[name] = palette.index(rgb)
        # Index 0 stays black for the transparent pixels.
        palette.insert(0, (0, 0, 0))
        index = {k: v + 1 for k, v in index.items()}
        palette += [(0, 0, 0)] * (256 - len(palette))
    xor_stride = (size * bpp + 31) // 32 * 4
    and_stride = (size + 31) // 32 * 4
    xor = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):       # bottom-up
        row = canvas.px[y]
        idx = [0 if r is None else index[r] for r in row]
        line = bytearray()
        if bpp == 8:
            line.extend(idx)
        else:
            for i in range(0, size, 2):
                line.append((idx[i] << 4) | idx[i + 1])
        line.extend(b'\0' * (xor_stride - len(line)))
        xor += line
        bits = bytearray(and_stride)
        for x, r in enumerate(row):
            if r is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bpp, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    pal = b''.join(struct.pack('<BBBB', b, g_, r, 0) for r, g_, b in palette)
    return header + pal + bytes(xor) + bytes(mask)


def build_ico(entries):
    """entries: list of (size, bpp, image bytes)."""
    out = struct.pack('<HHH', 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    body = b''
    for size, bpp, data in entries:
        colours = 16 if bpp == 4 else 0
        out += struct.pack('<BBBBHHII', size % 256, size % 256, colours, 0,
                           1, bpp, len(data), offset)
        offset += len(data)
        body += data
    return out + body


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, 'tempiro.ico')
    entries = []
    for bpp in (4, 8):
        for size in sorted(GEOMETRY):
            entries.append((size, bpp, bmp_image(render(size), bpp)))
    with open(path, 'wb') as f:
        f.write(build_ico(entries))


if __name__ == '__main__':
    main()
