#!/usr/bin/env python3
"""Writes the framework tests' bitmaps and icon: plain colour blocks, so a
test can tell from one pixel which image is on screen."""
import struct

def bmp(path, width, height, rgb):
    row = bytes([rgb[2], rgb[1], rgb[0]]) * width
    row += b"\0" * ((4 - len(row) % 4) % 4)
    pixels = row * height
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    open(path, "wb").write(header + info + pixels)

def ico(path, size, rgb):
    xor = bytes([rgb[2], rgb[1], rgb[0], 255]) * (size * size)
    andmask = b"\0" * (size * 4)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    image = info + xor + andmask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 6 + 16)
    open(path, "wb").write(header + entry + image)

bmp("test_up.bmp", 24, 16, (0, 128, 0))
bmp("test_down.bmp", 24, 16, (0, 0, 128))
bmp("test_disabled.bmp", 24, 16, (128, 0, 0))
ico("test_frame.ico", 16, (0, 0, 255))
