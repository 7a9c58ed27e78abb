#!/usr/bin/env python3
"""Draws Plandesk's start-up splash picture and program icon, our own artwork.

Writes tool/res/splash.bmp (450 x 597, 24 bits per pixel, bottom-up rows) and
tool/res/plandesk.ico (32 x 32 and 16 x 16). Pure Python, no libraries: the output is
committed, and running this again gives the same bytes.

    python3 tools/plandesk_splash_picture.py [output folder]
"""
import math
import os
import struct
import sys

W, H = 450, 597

# 5 x 7 capitals and digits, one string of five bits per row.
FONT = {
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'B': ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    'C': ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    'D': ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'F': ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    'G': ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    'I': ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    'K': ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'M': ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'P': ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'U': ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    'W': ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    'Z': ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    '0': ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    '1': ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    '2': ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    '3': ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
    '4': ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    '9': ["01110", "10001", "10001", "01111", "00001", "00010", "01100"],
    '-': ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
    ' ': ["00000"] * 7,
}


class Canvas:
    def __init__(self, w, h, colour):
        self.w, self.h = w, h
        self.px = [[colour] * w for _ in range(h)]

    def dot(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = c

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.dot(x, y, c)

    def ring(self, cx, cy, r, width, c, upper_only=False):
        for y in range(int(cy - r) - 1, int(cy if upper_only else cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                d = math.hypot(x - cx, y - cy)
                if r - width <= d <= r:
                    self.dot(x, y, c)

    def line(self, x0, y0, x1, y1, width, c):
        steps = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        for i in range(steps + 1):
            t = i / steps
            self.disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width / 2, c)

    def text(self, x, y, s, scale, c):
        for ch in s:
            glyph = FONT[ch]
            for gy, bits in enumerate(glyph):
                for gx, bit in enumerate(bits):
                    if bit == '1':
                        self.rect(x + gx * scale, y + gy * scale, x + (gx + 1) * scale, y + (gy + 1) * scale, c)
            x += 6 * scale

    def text_width(self, s, scale):
        return len(s) * 6 * scale - scale

    def centred_text(self, y, s, scale, c):
        self.text((self.w - self.text_width(s, scale)) // 2, y, s, scale, c)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


NAVY = (16, 32, 72)
TEAL = (18, 110, 130)
WHITE = (245, 248, 250)
AMBER = (250, 176, 40)
PALE = (160, 214, 224)


def splash():
    c = Canvas(W, H, NAVY)
    for y in range(H):
        col = mix(NAVY, TEAL, y / (H - 1))
        for x in range(W):
            c.px[y][x] = col
    # A call coming in at the top and routed down to four extensions.
    hub = (225, 250)
    c.line(225, 150, *hub, 6, WHITE)
    ends = [(75, 380), (175, 400), (275, 400), (375, 380)]
    for ex, ey in ends:
        c.line(hub[0], hub[1], ex, ey, 4, PALE)
    for ex, ey in ends:
        c.disc(ex, ey, 18, AMBER)
        c.disc(ex, ey, 9, NAVY)
    c.disc(*hub, 26, WHITE)
    c.disc(*hub, 16, TEAL)
    # A handset above the call line: an arc with an earpiece and a mouthpiece.
    c.ring(225, 130, 46, 9, WHITE, upper_only=True)
    c.rect(176, 128, 204, 146, WHITE)
    c.rect(246, 128, 274, 146, WHITE)
    # Names.
    c.centred_text(36, "PLANDESK", 6, WHITE)
    c.centred_text(455, "MIRT CONFIGURATION", 3, WHITE)
    c.centred_text(490, "TOOL", 3, WHITE)
    c.centred_text(545, "ZELWERK", 2, AMBER)
    c.rect(40, 530, W - 40, 533, PALE)
    return c


def bmp_bytes(c):
    row_size = (c.w * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(c.h - 1, -1, -1):
        row = bytearray()
        for r, g, b in c.px[y]:
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def icon_image(size):
    c = Canvas(size, size, NAVY)
    s = size / 32
    c.rect(0, 0, size, size, NAVY)
    c.line(16 * s, 4 * s, 16 * s, 14 * s, max(1, 3 * s), WHITE)
    for ex in (5, 12, 20, 27):
        c.line(16 * s, 14 * s, ex * s, 25 * s, max(1, 2 * s), PALE)
        c.disc(ex * s, 25 * s, max(1.5, 3 * s), AMBER)
    c.disc(16 * s, 14 * s, max(1.5, 4 * s), WHITE)
    # 24-bit colour image, then the all-visible AND mask, both bottom-up.
    xor = bytearray()
    row_size = (size * 3 + 3) & ~3
    for y in range(size - 1, -1, -1):
        row = bytearray()
        for r, g, b in c.px[y]:
            row += bytes((b, g, r))
        xor += row + b"\0" * (row_size - len(row))
    mask_row = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_row * size)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 24, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + mask


def ico_bytes(sizes):
    images = [icon_image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 24, len(img), offset)
        offset += len(img)
    return out + b"".join(images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "tool", "res")
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "splash.bmp"), "wb") as f:
        f.write(bmp_bytes(splash()))
    with open(os.path.join(out, "plandesk.ico"), "wb") as f:
        f.write(ico_bytes([32, 16]))


if __name__ == "__main__":
    main()
