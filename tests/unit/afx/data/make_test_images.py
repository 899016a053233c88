#!/usr/bin/env python3
"""Writes the small images the toolkit tests embed as resources.

Run from this folder; the outputs are committed, so a build needs no Python.
Each image's pixels follow a formula that the tests compute again on their own.
"""
import struct


def pixdata(width, height, pixel, magic=b"GdkP", declared=None):
    stride = width * 4
    body = bytearray()
    for y in range(height):
        for x in range(width):
            body += bytes(pixel(x, y))
    total = 24 + stride * height
    w, h = declared if declared else (width, height)
    header = magic + struct.pack(">IIIII", total, 0x01010002, w * 4, w, h)
    return header + bytes(body)


# 16 x 12, every channel distinct: the loader test checks each pixel.
def gradient(x, y):
    return (x * 16, y * 20, (x * 7 + y * 13) & 255, 255 - x - y)


# 48 x 40 picture with edges, a ring and ramps: what the window tests present.
def scene(x, y):
    r = (x * 5) & 255
    g = (y * 6) & 255
    b = 255 if (x // 8 + y // 8) % 2 == 0 else 40
    d = (x - 24) * (x - 24) + (y - 20) * (y - 20)
    if 100 <= d <= 196:
        r, g, b = 250, 250, 250
    return (r, g, b, 255)


def ico_16x16():
    # One 16 x 16 32-bit image: BITMAPINFOHEADER (height doubled for the mask),
    # bottom-up BGRA rows, then a 1-bit AND mask of 16 rows of 4 bytes.
    w = h = 16
    pixels = bytearray()
    for y in reversed(range(h)):
        for x in range(w):
            inside = 3 <= x < 13 and 3 <= y < 13
            pixels += bytes((0, 120, 218, 255) if inside else (40, 40, 40, 255))
    mask = bytes(4 * h)
    bih = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = bih + bytes(pixels) + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 6 + 16)
    return header + entry + image


def main():
    files = {
        "gradient.pixdata": pixdata(16, 12, gradient),
        "scene.pixdata": pixdata(48, 40, scene),
        # Right size and layout, wrong first four bytes.
        "bad-magic.pixdata": pixdata(4, 4, lambda x, y: (1, 2, 3, 4), magic=b"GdkQ"),
        # Claims 64 x 64 but carries the pixels of 4 x 4.
        "truncated.pixdata": pixdata(4, 4, lambda x, y: (9, 9, 9, 9), declared=(64, 64)),
        "test.ico": ico_16x16(),
    }
    for name, data in files.items():
        with open(name, "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
