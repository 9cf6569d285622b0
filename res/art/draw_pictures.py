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


# The same pictures drawn again for the larger scalings, pixel by pixel:
# outlines stay one pixel wide, strokes and fills grow.
# At 125 %, 20 x 19 each.
REFRESH_125 = [
    ".kkkkkkkkkkkkkk.....",
    ".kwwwwwwwwwwwwkk....",
    ".kwwwwwwwwwwwwksk...",
    ".kwwwwwwwwwwwwkssk..",
    ".kwwwwwGGGGGGwkkkkk.",
    ".kwwwwGGGGGGGGwwwwk.",
    ".kwwwGGGwwwwGGGwwwk.",
    ".kwwGGGwwwwwwGGGwwk.",
    ".kwwwwwwwwwwGGGGGGk.",
    ".kwwwwwwwwwwwwGGGwk.",
    ".kwwGwwwwwwwwwwGwwk.",
    ".kwGGGwwwwwwwwwwwwk.",
    ".kGGGGGGwwwwwwwwwwk.",
    ".kwwGGGwwwwwwGGGwwk.",
    ".kwwwGGGwwwwGGGwwwk.",
    ".kwwwwGGGGGGGGwwwwk.",
    ".kwwwwwGGGGGGwwwwwk.",
    ".kwwwwwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkkkkkk.",
]
SAVE_LIST_125 = [
    "kkkkkkkkkk..........",
    "kwwwwwwwwkk.........",
    "kwwwwwwwwksk........",
    "kwwwwwwwwkssk.......",
    "kwkkkkkwwkkkkk......",
    "kwwwwwwwwwwwwkB.....",
    "kwkkkkkkkkwwwkBB....",
    "kwwwwwwwwwwwwkBBB...",
    "kwwwwwwwwwwwwkBBBB..",
    "kwwwBBBBBBBBBBBBBBB.",
    "kwwwBBBBBBBBBBBBBBB.",
    "kwwwwwwwwwwwwkBBBB..",
    "kwwwwwwwwwwwwkBBB...",
    "kwkkkkkkkkwwwkBB....",
    "kwwwwwwwwwwwwkB.....",
    "kwkkkkkkwwwwwk......",
    "kwwwwwwwwwwwwk......",
    "kwwwwwwwwwwwwk......",
    "kkkkkkkkkkkkkk......",
]
DELETE_125 = [
    "....................",
    "....................",
    "...RR..........RR...",
    "...RRR........RRR...",
    "..RRRRRR....RRRRRR..",
    "....RRRRR..RRRRR....",
    ".....RRRRRRRRRR.....",
    "......RRRRRRRR......",
    ".......RRRRRR.......",
    "......RRRRRRRR......",
    ".....RRRRRRRRRR.....",
    "....RRRRR..RRRRR....",
    "..RRRRRR....RRRRRR..",
    "...RRR........RRR...",
    "...RR..........RR...",
    "....................",
    "....................",
    "....................",
    "....................",
]
RESTORE_125 = [
    "....................",
    "....................",
    ".....B..............",
    "....BB..............",
    "...BBB..............",
    "..BBBBBBBBBBBBBBN...",
    ".BBBBBBBBBBBBBBBBB..",
    "..BBBBBBBBBBBBBBBBN.",
    "...BBB.........BBBB.",
    "....BB..........BBB.",
    ".....B..........BBB.",
    "...............BBBB.",
    ".....BBBBBBBBBBBBBN.",
    ".....BBBBBBBBBBBBB..",
    ".....BBBBBBBBBBBN...",
    "....................",
    "....................",
    "....................",
    "....................",
]
START_125 = [
    "....................",
    "....................",
    "....................",
    "......Kk............",
    "......KKK...........",
    "......KKKKk.........",
    "......KKKKKK........",
    "......KKKKKKKk......",
    "......KKKKKKKKK.....",
    "......KKKKKKKKKK....",
    "......KKKKKKKKK.....",
    "......KKKKKKKk......",
    "......KKKKKK........",
    "......KKKKk.........",
    "......KKK...........",
    "......Kk............",
    "....................",
    "....................",
    "....................",
]
STOP_125 = [
    "....................",
    "....................",
    "....................",
    "....................",
    ".....KKKKKKKKKK.....",
    ".....KKKKKKKKKK.....",
    ".....KKKKKKKKKK.....",
    ".....KKKKKKKKKK.....",
    ".....KKKKKKKKKK.....",
    ".....KKKKKKKKKK.....",
    ".....KKKKKKKKKK.....",
    ".....KKKKKKKKKK.....",
    ".....KKKKKKKKKK.....",
    ".....KKKKKKKKKK.....",
    "....................",
    "....................",
    "....................",
    "....................",
    "....................",
]
SHOW_ALL_125 = [
    "....................",
    "....................",
    "....................",
    "....................",
    "...KK...K.....K.....",
    "...KK...K.....K.....",
    "..K..K..K.....K.....",
    "..K..K..K.....K.....",
    "..K..K..K.....K.....",
    ".K....K.K.....K.....",
    ".K....K.K.....K.....",
    ".KKKKKK.K.....K.....",
    ".K....K.K.....K.....",
    ".K....K.K.....K.....",
    ".K....K.KKKKK.KKKKK.",
    "....................",
    "....................",
    "....................",
    "....................",
]
TOOLBAR_125 = [REFRESH_125, SAVE_LIST_125, DELETE_125, RESTORE_125, START_125, STOP_125, SHOW_ALL_125]

# At 150 %, 24 x 23 each.
REFRESH_150 = [
    ".kkkkkkkkkkkkkkkkk......",
    ".kwwwwwwwwwwwwwwwkk.....",
    ".kwwwwwwwwwwwwwwwksk....",
    ".kwwwwwwwwwwwwwwwkssk...",
    ".kwwwwwwwwwwwwwwwksssk..",
    ".kwwwwwwGGGGGGGGwkkkkkk.",
    ".kwwwwwGGGGGGGGGGwwwwwk.",
    ".kwwwwGGGGGwwGGGGGwwwwk.",
    ".kwwwGGGGwwwwwwGGGGwwwk.",
    ".kwwwwGGwwwwwwwwGGwwwwk.",
    ".kwwwwwwwwwwwwwGGGGGGGk.",
    ".kwwwwwwwwwwwwwwwGGGwwk.",
    ".kwwwGwwwwwwwwwwwwGwwwk.",
    ".kwwGGGwwwwwwwwwwwwwwwk.",
    ".kGGGGGGGwwwwwwwwwwwwwk.",
    ".kwwwwGGwwwwwwwwGGwwwwk.",
    ".kwwwGGGGwwwwwwGGGGwwwk.",
    ".kwwwwGGGGGwwGGGGGwwwwk.",
    ".kwwwwwGGGGGGGGGGwwwwwk.",
    ".kwwwwwwGGGGGGGGwwwwwwk.",
    ".kwwwwwwwwwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkkkkkkkkkk.",
]
SAVE_LIST_150 = [
    "kkkkkkkkkkk.............",
    "kwwwwwwwwwkk............",
    "kwwwwwwwwwksk...........",
    "kwwwwwwwwwkssk..........",
    "kwkkkkkkwwksssk.........",
    "kwwwwwwwwwkkkkkkB.......",
    "kwwwwwwwwwwwwwwkBB......",
    "kwkkkkkkkkkwwwwkBBB.....",
    "kwwwwwwwwwwwwwwkBBBBB...",
    "kwwwwwwwwwwwwwwkBBBBBB..",
    "kwwwwBBBBBBBBBBBBBBBBBB.",
    "kwwwwBBBBBBBBBBBBBBBBBBB",
    "kwwwwBBBBBBBBBBBBBBBBBB.",
    "kwwwwwwwwwwwwwwkBBBBBB..",
    "kwwwwwwwwwwwwwwkBBBBB...",
    "kwkkkkkkkkkwwwwkBBB.....",
    "kwwwwwwwwwwwwwwkBB......",
    "kwwwwwwwwwwwwwwkB.......",
    "kwkkkkkkkwwwwwwk........",
    "kwwwwwwwwwwwwwwk........",
    "kwwwwwwwwwwwwwwk........",
    "kwwwwwwwwwwwwwwk........",
    "kkkkkkkkkkkkkkkk........",
]
DELETE_150 = [
    "........................",
    "........................",
    "....R..............R....",
    "...RRRR..........RRRR...",
    "...RRRRR........RRRRR...",
    "...RRRRRR......RRRRRR...",
    "....RRRRRR....RRRRRR....",
    ".....RRRRRR..RRRRRR.....",
    ".......RRRRRRRRRR.......",
    "........RRRRRRRR........",
    ".........RRRRRR.........",
    "........RRRRRRRR........",
    ".......RRRRRRRRRR.......",
    ".....RRRRRR..RRRRRR.....",
    "....RRRRRR....RRRRRR....",
    "...RRRRRR......RRRRRR...",
    "...RRRRR........RRRRR...",
    "...RRRR..........RRRR...",
    "....R..............R....",
    "........................",
    "........................",
    "........................",
    "........................",
]
RESTORE_150 = [
    "........................",
    "........................",
    "......B.................",
    ".....BB.................",
    "....BBB.................",
    "...BBBB.................",
    "..BBBBBBBBBBBBBBBBBN....",
    ".BBBBBBBBBBBBBBBBBBBB...",
    "..BBBBBBBBBBBBBBBBBBBB..",
    "...BBBB............BBBN.",
    "....BBB.............BBB.",
    ".....BB.............BBB.",
    "......B.............BBB.",
    "....................BBB.",
    "...................BBBN.",
    "......BBBBBBBBBBBBBBBB..",
    "......BBBBBBBBBBBBBBB...",
    "......BBBBBBBBBBBBBN....",
    "........................",
    "........................",
    "........................",
    "........................",
    "........................",
]
START_150 = [
    "........................",
    "........................",
    "........................",
    "........K...............",
    "........KK..............",
    "........KKKk............",
    "........KKKKK...........",
    "........KKKKKKk.........",
    "........KKKKKKKk........",
    "........KKKKKKKKK.......",
    "........KKKKKKKKKKk.....",
    "........KKKKKKKKKKK.....",
    "........KKKKKKKKKKk.....",
    "........KKKKKKKKK.......",
    "........KKKKKKKk........",
    "........KKKKKKk.........",
    "........KKKKK...........",
    "........KKKk............",
    "........KK..............",
    "........K...............",
    "........................",
    "........................",
    "........................",
]
STOP_150 = [
    "........................",
    "........................",
    "........................",
    "........................",
    "........................",
    "......KKKKKKKKKKKK......",
    "......KKKKKKKKKKKK......",
    "......KKKKKKKKKKKK......",
    "......KKKKKKKKKKKK......",
    "......KKKKKKKKKKKK......",
    "......KKKKKKKKKKKK......",
    "......KKKKKKKKKKKK......",
    "......KKKKKKKKKKKK......",
    "......KKKKKKKKKKKK......",
    "......KKKKKKKKKKKK......",
    "......KKKKKKKKKKKK......",
    "......KKKKKKKKKKKK......",
    "........................",
    "........................",
    "........................",
    "........................",
    "........................",
    "........................",
]
SHOW_ALL_150 = [
    "........................",
    "........................",
    "........................",
    "........................",
    "........................",
    "....KK.....KK.....KK....",
    "...KKKK....KK.....KK....",
    "...KKKK....KK.....KK....",
    "..KK..KK...KK.....KK....",
    "..KK..KK...KK.....KK....",
    "..KK..KK...KK.....KK....",
    ".KK....KK..KK.....KK....",
    ".KKKKKKKK..KK.....KK....",
    ".KKKKKKKK..KK.....KK....",
    ".KK....KK..KK.....KK....",
    ".KK....KK..KK.....KK....",
    ".KK....KK..KKKKK..KKKKK.",
    ".KK....KK..KKKKK..KKKKK.",
    "........................",
    "........................",
    "........................",
    "........................",
    "........................",
]
TOOLBAR_150 = [REFRESH_150, SAVE_LIST_150, DELETE_150, RESTORE_150, START_150, STOP_150, SHOW_ALL_150]

# At 200 %, 32 x 30 each.
REFRESH_200 = [
    ".kkkkkkkkkkkkkkkkkkkkkkkk.......",
    ".kwwwwwwwwwwwwwwwwwwwwwwkk......",
    ".kwwwwwwwwwwwwwwwwwwwwwwksk.....",
    ".kwwwwwwwwwwwwwwwwwwwwwwkssk....",
    ".kwwwwwwwwwwwwwwwwwwwwwwksssk...",
    ".kwwwwwwwwwwwwwwwwwwwwwwkssssk..",
    ".kwwwwwwwwwwwGGGGGGwwwwwkkkkkkk.",
    ".kwwwwwwwwwGGGGGGGGGGwwwwwwwwwk.",
    ".kwwwwwwwGGGGGGGGGGGGGGwwwwwwwk.",
    ".kwwwwwwGGGGGGGwwGGGGGGGwwwwwwk.",
    ".kwwwwwGGGGGwwwwwwwwGGGGGwwwwwk.",
    ".kwwwwwGGGGwwwwwwwwwwGGGGwwwwwk.",
    ".kwwwwwwGGwwwwwwwwwwwwGGwwwwwwk.",
    ".kwwwwwwwwwwwwwwwwwwGGGGGGGGGwk.",
    ".kwwwwwwwwwwwwwwwwwwwwGGGGGGwwk.",
    ".kwwwwwwwwwwwwwwwwwwwwwGGGGwwwk.",
    ".kwwwwwGwwwwwwwwwwwwwwwwGwwwwwk.",
    ".kwwwGGGGwwwwwwwwwwwwwwwwwwwwwk.",
    ".kwwGGGGGGwwwwwwwwwwwwwwwwwwwwk.",
    ".kwGGGGGGGGGwwwwwwwwwwwwwwwwwwk.",
    ".kwwwwwwGGwwwwwwwwwwwwGGwwwwwwk.",
    ".kwwwwwGGGGwwwwwwwwwwGGGGwwwwwk.",
    ".kwwwwwGGGGGwwwwwwwwGGGGGwwwwwk.",
    ".kwwwwwwGGGGGGGwwGGGGGGGwwwwwwk.",
    ".kwwwwwwwGGGGGGGGGGGGGGwwwwwwwk.",
    ".kwwwwwwwwwGGGGGGGGGGwwwwwwwwwk.",
    ".kwwwwwwwwwwwGGGGGGwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwwwwwwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwwwwwwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk.",
]
SAVE_LIST_200 = [
    "kkkkkkkkkkkkkkkk................",
    "kwwwwwwwwwwwwwwkk...............",
    "kwwwwwwwwwwwwwwksk..............",
    "kwwwwwwwwwwwwwwkssk.............",
    "kwwwwwwwwwwwwwwksssk............",
    "kwkkkkkkkkwwwwwkssssk...........",
    "kwwwwwwwwwwwwwwkkkkkkB..........",
    "kwwwwwwwwwwwwwwwwwwwwBB.........",
    "kwkkkkkkkkkkkkkwwwwwwBBB........",
    "kwwwwwwwwwwwwwwwwwwwwBBBB.......",
    "kwwwwwwwwwwwwwwwwwwwwBBBBBB.....",
    "kwkkkkkkkkkkkwwwwwwwwBBBBBBB....",
    "kwwwwwwwwwwwwwwwwwwwwBBBBBBBB...",
    "kwwwwwwBBBBBBBBBBBBBBBBBBBBBBB..",
    "kwwwwwwBBBBBBBBBBBBBBBBBBBBBBBB.",
    "kwwwwwwBBBBBBBBBBBBBBBBBBBBBBBB.",
    "kwwwwwwBBBBBBBBBBBBBBBBBBBBBBB..",
    "kwwwwwwwwwwwwwwwwwwwwBBBBBBBB...",
    "kwwwwwwwwwwwwwwwwwwwwBBBBBBB....",
    "kwkkkkkkkkkkkkkwwwwwwBBBBBB.....",
    "kwwwwwwwwwwwwwwwwwwwwBBBB.......",
    "kwwwwwwwwwwwwwwwwwwwwBBB........",
    "kwkkkkkkkkkkwwwwwwwwwBB.........",
    "kwwwwwwwwwwwwwwwwwwwwB..........",
    "kwwwwwwwwwwwwwwwwwwwwk..........",
    "kwkkkkkkkkkkkkwwwwwwwk..........",
    "kwwwwwwwwwwwwwwwwwwwwk..........",
    "kwwwwwwwwwwwwwwwwwwwwk..........",
    "kwwwwwwwwwwwwwwwwwwwwk..........",
    "kkkkkkkkkkkkkkkkkkkkkk..........",
]
DELETE_200 = [
    "................................",
    "................................",
    "................................",
    ".....RR..................RR.....",
    "....RRRR................RRRR....",
    "....RRRRRR............RRRRRR....",
    "...RRRRRRRR..........RRRRRRRR...",
    "....RRRRRRRR........RRRRRRRR....",
    ".....RRRRRRRR......RRRRRRRR.....",
    ".......RRRRRRR....RRRRRRR.......",
    "........RRRRRRRRRRRRRRRR........",
    ".........RRRRRRRRRRRRRR.........",
    "..........RRRRRRRRRRRR..........",
    "...........RRRRRRRRRR...........",
    "...........RRRRRRRRRR...........",
    "..........RRRRRRRRRRRR..........",
    ".........RRRRRRRRRRRRRR.........",
    "........RRRRRRRRRRRRRRRR........",
    ".......RRRRRRR....RRRRRRR.......",
    ".....RRRRRRRR......RRRRRRRR.....",
    "....RRRRRRRR........RRRRRRRR....",
    "...RRRRRRRR..........RRRRRRRR...",
    "....RRRRRR............RRRRRR....",
    "....RRRR................RRRR....",
    ".....RR..................RR.....",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
]
RESTORE_200 = [
    "................................",
    "................................",
    "................................",
    "........B.......................",
    ".......BB.......................",
    "......BBB.......................",
    ".....BBBB.......................",
    "....BBBBB.......................",
    "...BBBBBBBBBBBBBBBBBBBBBB.......",
    "..BBBBBBBBBBBBBBBBBBBBBBBBB.....",
    "..BBBBBBBBBBBBBBBBBBBBBBBBBB....",
    "...BBBBBBBBBBBBBBBBBBBBBBBBBB...",
    "....BBBBB...............BBBBB...",
    ".....BBBB................BBBBB..",
    "......BBB.................BBBB..",
    ".......BB.................BBBB..",
    "........B.................BBBB..",
    "..........................BBBB..",
    ".........................BBBBB..",
    "........................BBBBB...",
    "........BBBBBBBBBBBBBBBBBBBBB...",
    "........BBBBBBBBBBBBBBBBBBBB....",
    "........BBBBBBBBBBBBBBBBBBB.....",
    "........BBBBBBBBBBBBBBBBB.......",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
]
START_200 = [
    "................................",
    "................................",
    "................................",
    "................................",
    "...........K....................",
    "...........KKk..................",
    "...........KKKk.................",
    "...........KKKKK................",
    "...........KKKKKKk..............",
    "...........KKKKKKKK.............",
    "...........KKKKKKKKKk...........",
    "...........KKKKKKKKKKk..........",
    "...........KKKKKKKKKKKK.........",
    "...........KKKKKKKKKKKKKk.......",
    "...........KKKKKKKKKKKKKKK......",
    "...........KKKKKKKKKKKKKKK......",
    "...........KKKKKKKKKKKKKk.......",
    "...........KKKKKKKKKKKK.........",
    "...........KKKKKKKKKKk..........",
    "...........KKKKKKKKKk...........",
    "...........KKKKKKKK.............",
    "...........KKKKKKk..............",
    "...........KKKKK................",
    "...........KKKk.................",
    "...........KKk..................",
    "...........K....................",
    "................................",
    "................................",
    "................................",
    "................................",
]
STOP_200 = [
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "........KKKKKKKKKKKKKKKK........",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
]
SHOW_ALL_200 = [
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "......KK......KK.......KK.......",
    "......KK......KK.......KK.......",
    ".....KKKK.....KK.......KK.......",
    ".....KKKK.....KK.......KK.......",
    "....KK..KK....KK.......KK.......",
    "....KK..KK....KK.......KK.......",
    "....KK..KK....KK.......KK.......",
    "...KK....KK...KK.......KK.......",
    "...KK....KK...KK.......KK.......",
    "...KK....KK...KK.......KK.......",
    "..KK......KK..KK.......KK.......",
    "..KKKKKKKKKK..KK.......KK.......",
    "..KKKKKKKKKK..KK.......KK.......",
    "..KK......KK..KK.......KK.......",
    "..KK......KK..KK.......KK.......",
    "..KK......KK..KK.......KK.......",
    "..KK......KK..KKKKKKK..KKKKKKK..",
    "..KK......KK..KKKKKKK..KKKKKKK..",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
]
TOOLBAR_200 = [REFRESH_200, SAVE_LIST_200, DELETE_200, RESTORE_200, START_200, STOP_200, SHOW_ALL_200]


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
