#!/usr/bin/env python3
"""Draws the program's icon, a cross of LED dots on a dark board, as vantorel.svg and a 256 px
vantorel.png beside this script. Only the standard library is used; run it again after a change
and commit both files."""

import math
import os
import struct
import zlib

SIZE = 256
GRID = 9                 # LED positions per side
PITCH = 24               # pixels from one LED to the next
RADIUS = 9.5
ARM = range(3, 6)        # rows and columns of the cross's arms: the corners carry no LEDs
BOARD = (27, 27, 31)
BOARD_RADIUS = 40
LIT = (255, 178, 36)     # amber, as on many signs
DIM = (92, 62, 16)       # LEDs that are off: the centre ring
DIM_LEDS = {(3, 4), (4, 3), (4, 5), (5, 4)}

HERE = os.path.dirname(os.path.abspath(__file__))
OFFSET = (SIZE - (GRID - 1) * PITCH) / 2


def leds():
    for row in range(GRID):
        for column in range(GRID):
            if row in ARM or column in ARM:
                colour = DIM if (row, column) in DIM_LEDS else LIT
                yield OFFSET + column * PITCH, OFFSET + row * PITCH, colour


def hex_colour(colour):
    return "#%02x%02x%02x" % colour


def write_svg(path):
    lines = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">' % ((SIZE,) * 4),
        '  <title>Vantorel</title>',
        '  <rect width="%d" height="%d" rx="%d" fill="%s"/>' % (SIZE, SIZE, BOARD_RADIUS, hex_colour(BOARD)),
    ]
    for x, y, colour in leds():
        lines.append('  <circle cx="%g" cy="%g" r="%g" fill="%s"/>' % (x, y, RADIUS, hex_colour(colour)))
    lines.append('</svg>')
    with open(path, "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")


def inside_board(x, y):
    # A rounded square: outside only near the corners.
    r = BOARD_RADIUS
    cx = min(max(x, r), SIZE - r)
    cy = min(max(y, r), SIZE - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def pixel(x, y, samples=4):
    # Each pixel is the mean of samples x samples points: smooth edges without a drawing library.
    red = green = blue = alpha = 0.0
    step = 1.0 / samples
    for sy in range(samples):
        for sx in range(samples):
            px = x + (sx + 0.5) * step
            py = y + (sy + 0.5) * step
            if not inside_board(px, py):
                continue
            colour = BOARD
            column = round((px - OFFSET) / PITCH)
            row = round((py - OFFSET) / PITCH)
            if 0 <= row < GRID and 0 <= column < GRID and (row in ARM or column in ARM):
                if math.hypot(px - (OFFSET + column * PITCH), py - (OFFSET + row * PITCH)) <= RADIUS:
                    colour = DIM if (row, column) in DIM_LEDS else LIT
            red += colour[0]
            green += colour[1]
            blue += colour[2]
            alpha += 255
    count = samples * samples
    covered = alpha / 255
    if covered == 0:
        return (0, 0, 0, 0)
    return (round(red / covered), round(green / covered), round(blue / covered), round(alpha / count))


def write_png(path):
    raw = bytearray()
    for y in range(SIZE):
        raw.append(0)  # no filter
        for x in range(SIZE):
            raw.extend(pixel(x, y))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0)  # 8-bit RGBA
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
                  chunk(b"IEND", b""))


write_svg(os.path.join(HERE, "vantorel.svg"))
write_png(os.path.join(HERE, "vantorel.png"))
