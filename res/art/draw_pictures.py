#!/usr/bin/env python3
"""Writes the toolbar strips (../toolbar.bmp at 100 %, ../toolbar_125.bmp,
../toolbar_150.bmp and ../toolbar_200.bmp) and ../quorvel.ico from the pixel
maps below.

Run it after changing a map; the two files it writes sit beside quorvel.rc
and are committed with it. Only the standard library is used and nothing
but this file decides the output, so a second run gives the same bytes.

A map is a list of equal-length strings, top row first, one character a
pixel; PALETTE says what each character stands for.
"""

import os
import struct

# One palette for the toolbar and the icon, so that they read as a family.
# None is transparent; a fourth number is alpha (the icon only: the
# toolbar's transparency is its pure green key colour).
PALETTE = {
    '.': None,
    # Toolbar colours: the sixteen standard colours only (see TOOLBAR_COLOURS).
    'K': (0x00, 0x00, 0x00),        # black
    'k': (0x80, 0x80, 0x80),        # grey: sheet outlines, softened black edges
    's': (0xC0, 0xC0, 0xC0),        # silver: folded corners
    'w': (0xFF, 0xFF, 0xFF),        # white: paper
    'G': (0x00, 0x80, 0x00),        # green
    'N': (0x00, 0x00, 0x80),        # navy
    'B': (0x00, 0x00, 0xFF),        # blue
    'R': (0x80, 0x00, 0x00),        # maroon: the dark red of the delete cross
    # Icon colours.
    'o': (0x6A, 0x72, 0x7C),        # outline of the list window
    'e': (0xD8, 0xDE, 0xE6),        # hub of the gear
    'l': (0x9C, 0xA8, 0xB8),        # list lines
    'u': (0x1F, 0x5B, 0xB4),        # title bar
    'v': (0x1E, 0x7D, 0x32),        # running-service mark
    'S': (0x5C, 0x6E, 0x88),        # gear
    'D': (0x2E, 0x3A, 0x4C),        # gear outline
    'd': (0x2E, 0x3A, 0x4C, 0x70),  # softened edge of the gear
}

# The toolbar's image list is made at the display's default depth for
# loaded bitmaps, which is sixteen colours: any other colour would be
# changed when the program runs, so the toolbar maps keep to these.
TOOLBAR_COLOURS = {
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0xFF, 0xFF, 0x00), (0x00, 0x00, 0xFF),
    (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
}

TRANSPARENT_KEY = (0x00, 0xFF, 0x00)

# Toolbar images at 100 %, 16 x 15 each, in button order (image index =
# position).
REFRESH = [
    ".kkkkkkkkkkk....",
    ".kwwwwwwwwwkk...",
    ".kwwwwwwwwwksk..",
    ".kwwwwwwwwwkkkk.",
    ".kwwwGGGGGGwwwk.",
    ".kwwGGGwwGGGwwk.",
    ".kwGGwwwwGGGGGk.",
    ".kwwwwwwwwGGGwk.",
    ".kwwGwwwwwwGwwk.",
    ".kwGGGwwwwwwwwk.",
    ".kGGGGGwwwwGGwk.",
    ".kwwGGGwwGGGwwk.",
    ".kwwwGGGGGGwwwk.",
    ".kwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkk.",
]
SAVE_LIST = [
    "kkkkkkkk........",
    "kwwwwwwkk.......",
    "kwwwwwwksk......",
    "kwkkkkwkkkk.....",
    "kwwwwwwwwwkB....",
    "kwkkkkkkwwkBB...",
    "kwwwwwwwwwkBBB..",
    "kwwwwBBBBBBBBBB.",
    "kwwwwBBBBBBBBBBB",
    "kwwwwwwwwwkBBBB.",
    "kwkkkkkkwwkBBB..",
    "kwwwwwwwwwkBB...",
    "kwkkkkkwwwkB....",
    "kwwwwwwwwwk.....",
    "kkkkkkkkkkk.....",
]
DELETE = [
    "................",
    "................",
    "..RRR......RRR..",
    "...RRR....RRR...",
    "....RRR..RRR....",
    ".....RRRRRR.....",
    "......RRRR......",
    "......RRRR......",
    ".....RRRRRR.....",
    "....RRR..RRR....",
    "...RRR....RRR...",
    "..RRR......RRR..",
    "................",
    "................",
    "................",
]
RESTORE = [
    "................",
    "................",
    "....B...........",
    "...BB...........",
    "..BBB...........",
    ".BBBBBBBBBBBN...",
    ".BBBBBBBBBBBBB..",
    "..BBB.......BBN.",
    "...BB........BB.",
    "....B........BB.",
    ".............BB.",
    "............BBN.",
    "....BBBBBBBBBB..",
    "....BBBBBBBBN...",
    "................",
]
START = [
    "................",
    "................",
    ".....k..........",
    ".....KKk........",
    ".....KKKKk......",
    ".....KKKKKK.....",
    ".....KKKKKKKk...",
    ".....KKKKKKKKK..",
    ".....KKKKKKKk...",
    ".....KKKKKK.....",
    ".....KKKKk......",
    ".....KKk........",
    ".....k..........",
    "................",
    "................",
]
STOP = [
    "................",
    "................",
    "................",
    "....KKKKKKKK....",
    "....KKKKKKKK....",
    "....KKKKKKKK....",
    "....KKKKKKKK....",
    "....KKKKKKKK....",
    "....KKKKKKKK....",
    "....KKKKKKKK....",
    "....KKKKKKKK....",
    "................",
    "................",
    "................",
    "................",
]
SHOW_ALL = [
    "................",
    "................",
    "................",
    "...K...K....K...",
    "..K.K..K....K...",
    "..K.K..K....K...",
    ".K...K.K....K...",
    ".K...K.K....K...",
    ".KKKKK.K....K...",
    ".K...K.K....K...",
    ".K...K.K....K...",
    ".K...K.KKKK.KKKK",
    "................",
    "................",
    "................",
]
TOOLBAR = [REFRESH, SAVE_LIST, DELETE, RESTORE, START, STOP, SHOW_ALL]


def scaled(rows, width, height):
    """PLACEHOLDER nearest-neighbour copy."""
    return [''.join(rows[y * len(rows) // height][x * len(rows[0]) // width]
                    for x in range(width)) for y in range(height)]


TOOLBAR_125 = [scaled(m, 20, 19) for m in TOOLBAR]
TOOLBAR_150 = [scaled(m, 24, 23) for m in TOOLBAR]
TOOLBAR_200 = [scaled(m, 32, 30) for m in TOOLBAR]

# One strip per scaling the program draws at (app/toolbar_layout.cpp picks
# one): file name, image width and height, the images in button order.
TOOLBAR_SETS = [
    ('toolbar.bmp', 16, 15, TOOLBAR),
    ('toolbar_125.bmp', 20, 19, TOOLBAR_125),
    ('toolbar_150.bmp', 24, 23, TOOLBAR_150),
    ('toolbar_200.bmp', 32, 30, TOOLBAR_200),
]

# The program's icon: the service list window with a gear over its corner.
ICON_16 = [
    "................",
    "ooooooooooooo...",
    "ouuuuuuuuuuuo...",
    "owwwwwwwwwwwo...",
    "owvvwllllllwo...",
    "owwwwwwwwwwwo...",
    "owllwlllllwwo...",
    "owwwwwwwwwDwD...",
    "owvvwlllDwDSD.D.",
    "owwwwwwwwDSSSD..",
    "owllwlllDSDDDSD.",
    "owwwwwwDSSDeDSSD",
    "owwwwwwwDSDDDSD.",
    "oooooooooDSSSD..",
    "........D.DSD.D.",
    "..........D.D...",
]

ICON_32 = [
    "................................",
    "................................",
    ".ooooooooooooooooooooooooo......",
    ".ouuuuuuuuuuuuuuuuuuuuuuuo......",
    ".ouuuuuuuuuuuuuuuuuuuuuuuo......",
    ".ouuuuuuuuuuuuuuuuuuuuuuuo......",
    ".owwwwwwwwwwwwwwwwwwwwwwwo......",
    ".owwwwwwwwwwwwwwwwwwwwwwwo......",
    ".owwwwwwwwwwwwwwwwwwwwwwwo......",
    ".owvvvwllllllllllllllwwwwo......",
    ".owvvvwllllllllllllllwwwwo......",
    ".owwwwwwwwwwwwwwwwwwwwwwwo......",
    ".owwwwwwwwwwwwwwwwwwwwwwwo......",
    ".owlllwlllllllllwwwwwwwwwo......",
    ".owlllwlllllllllwwwwwwDDwo......",
    ".owwwwwwwwwwwwwwwwwwwwDDwo......",
    ".owwwwwwwwwwwwwwwDdwwwDDwo.dD...",
    ".owvvvwlllllllllDSDwdDSSDd.DSD..",
    ".owvvvwllllllllldDSDDSSSSDDSDd..",
    ".owwwwwwwwwwwwwwwwDSSSSSSSSD....",
    ".owwwwwwwwwwwwwwwdDSSSeeSSSDd...",
    ".owlllwllllllwwwwDSSSeeeeSSSD...",
    ".owlllwllllllwDDDSSSeeeeeeSSSDDD",
    ".owwwwwwwwwwwwDDDSSSeeeeeeSSSDDD",
    ".owwwwwwwwwwwwwwwDSSSeeeeSSSD...",
    ".owwwwwwwwwwwwwwwdDSSSeeSSSDd...",
    ".owwwwwwwwwwwwwwwwDSSSSSSSSD....",
    ".ooooooooooooooodDSDDSSSSDDSDd..",
    "................DSD.dDSSDd.DSD..",
    ".................Dd...DD...dD...",
    "......................DD........",
    "......................DD........",
]

ICON_48 = [
    "................................................",
    "................................................",
    "................................................",
    "..oooooooooooooooooooooooooooooooooooo..........",
    "..ouuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuo..........",
    "..ouuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuo..........",
    "..ouuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuo..........",
    "..ouuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuo..........",
    "..ouuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuuo..........",
    "..owwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwo..........",
    "..owwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwo..........",
    "..owwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwo..........",
    "..owwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwo..........",
    "..owvvvvwllllllllllllllllllllllwwwwwwo..........",
    "..owvvvvwllllllllllllllllllllllwwwwwwo..........",
    "..owvvvvwllllllllllllllllllllllwwwwwwo..........",
    "..owwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwo..........",
    "..owwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwo..........",
    "..owwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwo..........",
    "..owllllwlllllllllllllllwwwwwwwwwwwwwo..........",
    "..owllllwlllllllllllllllwwwwwwwwwddwwo..........",
    "..owllllwlllllllllllllllwwwwwwwwDDDDwo..........",
    "..owwwwwwwwwwwwwwwwwwwwwwwwwwwwwDSSDwo..........",
    "..owwwwwwwwwwwwwwwwwwwwwwwdwwwwwDSSDwo...d......",
    "..owwwwwwwwwwwwwwwwwwwwwdDDwwwwwDSSDwo...DDd....",
    "..owvvvvwlllllllllllllllDSSDwwDDSSSSDD..DSSD....",
    "..owvvvvwlllllllllllllldDSSSDDSSSSSSSSDDSSSDd...",
    "..owvvvvwllllllllllllllllDSSSSSSSSSSSSSSSSD.....",
    "..owwwwwwwwwwwwwwwwwwwwwwwDSSSSSSSSSSSSSSD......",
    "..owwwwwwwwwwwwwwwwwwwwwwwDSSSSSSSSSSSSSSD......",
    "..owwwwwwwwwwwwwwwwwwwwwwDSSSSSSeeeeSSSSSSD.....",
    "..owllllwllllllllllwwwwwwDSSSSSeeeeeeSSSSSD.....",
    "..owllllwllllllllllwwDDDDSSSSSeeeeeeeeSSSSSDDDD.",
    "..owllllwllllllllllwdDSSSSSSSSeeeeeeeeSSSSSSSSDd",
    "..owwwwwwwwwwwwwwwwwdDSSSSSSSSeeeeeeeeSSSSSSSSDd",
    "..owwwwwwwwwwwwwwwwwwDDDDSSSSSeeeeeeeeSSSSSDDDD.",
    "..owwwwwwwwwwwwwwwwwwwwwwDSSSSSeeeeeeSSSSSD.....",
    "..owwwwwwwwwwwwwwwwwwwwwwDSSSSSSeeeeSSSSSSD.....",
    "..owwwwwwwwwwwwwwwwwwwwwwwDSSSSSSSSSSSSSSD......",
    "..owwwwwwwwwwwwwwwwwwwwwwwDSSSSSSSSSSSSSSD......",
    "..oooooooooooooooooooooooDSSSSSSSSSSSSSSSSD.....",
    ".......................dDSSSDDSSSSSSSSDDSSSDd...",
    "........................DSSD..DDSSSSDD..DSSD....",
    "........................dDD.....DSSD.....DDd....",
    "..........................d.....DSSD.....d......",
    "................................DSSD............",
    "................................DDDD............",
    ".................................dd.............",
]

ICONS = {16: ICON_16, 32: ICON_32, 48: ICON_48}


def check_map(name, rows, width, height):
    if len(rows) != height or any(len(r) != width for r in rows):
        raise SystemExit('%s: expected %d rows of %d pixels' % (name, height, width))
    unknown = {ch for r in rows for ch in r} - PALETTE.keys()
    if unknown:
        raise SystemExit('%s: no palette entry for %s' % (name, ''.join(sorted(unknown))))


def bgr_rows_bottom_up(rows, key):
    """24-bit DIB pixel rows (BGR, bottom row first), transparent as key."""
    out = []
    for row in reversed(rows):
        line = bytearray()
        for ch in row:
            r, g, b = (PALETTE[ch] or key)[:3]
            line += bytes((b, g, r))
        line += b'\0' * (-len(line) % 4)
        out.append(bytes(line))
    return b''.join(out)


def toolbar_bitmap(name, width, height, images):
    for i, image in enumerate(images):
        check_map('%s image %d' % (name, i), image, width, height)
        for ch in {ch for row in image for ch in row}:
            if PALETTE[ch] is not None and PALETTE[ch] not in TOOLBAR_COLOURS:
                raise SystemExit('%s image %d: %r is not one of the sixteen colours' % (name, i, ch))
    strip = [''.join(image[y] for image in images) for y in range(height)]
    pixels = bgr_rows_bottom_up(strip, TRANSPARENT_KEY)
    info = struct.pack('<IiiHHIIiiII', 40, len(strip[0]), height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    offset = 14 + len(info)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    return header + info + pixels


def icon_image(rows, size):
    """One icon image: a 32-bit DIB with alpha, then its AND mask."""
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = 0
        for x, ch in enumerate(row):
            value = PALETTE[ch]
            if value is None:
                r, g, b, a = 0, 0, 0, 0
            else:
                r, g, b = value[:3]
                a = value[3] if len(value) == 4 else 255
            colour += bytes((b, g, r, a))
            bits = bits << 1 | (a == 0)
        mask += bits.to_bytes(size // 8, 'big')
        mask += b'\0' * (-(size // 8) % 4)
    info = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0,
                       len(colour) + len(mask), 0, 0, 0, 0)
    return info + bytes(colour) + bytes(mask)


def icon_file():
    sizes = sorted(ICONS)
    images = []
    for size in sizes:
        check_map('icon %d' % size, ICONS[size], size, size)
        images.append(icon_image(ICONS[size], size))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b''.join(images)


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir)
    files = [(name, toolbar_bitmap(name, width, height, images))
             for name, width, height, images in TOOLBAR_SETS]
    for name, data in files + [('quorvel.ico', icon_file())]:
        with open(os.path.join(res, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
