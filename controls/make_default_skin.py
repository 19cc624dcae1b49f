#!/usr/bin/env python3
"""Writes MyButtonDefSkin.png, the default button skin: five 16 x 22 frames side by side
(normal, focused, hover, pressed, disabled), 3 x 3 corners whose outer pixels are magenta
so that they show the background, plain grey bevels. Run once; the PNG is committed."""
import struct
import sys
import zlib

FW, H, CORNER = 16, 22, 3
MAGENTA = (255, 0, 255)

# (outer border, top-left bevel, bottom-right bevel, face) per state
LOOKS = [
    ((64, 64, 64), (255, 255, 255), (128, 128, 128), (212, 208, 200)),   # normal
    ((0, 0, 0), (255, 255, 255), (128, 128, 128), (220, 216, 208)),      # focused
    ((64, 64, 64), (255, 255, 255), (150, 150, 150), (230, 228, 222)),   # hover
    ((64, 64, 64), (128, 128, 128), (235, 235, 235), (196, 192, 184)),   # pressed
    ((160, 160, 160), (232, 232, 232), (196, 196, 196), (216, 214, 210)),  # disabled
]


def frame_pixel(x, y, look):
    border, light, dark, face = look
    right, bottom = FW - 1, H - 1
    # Rounded corners: the outermost pixel and its two neighbours are see-through.
    cx = x if x < CORNER else right - x if x > right - CORNER else None
    cy = y if y < CORNER else bottom - y if y > bottom - CORNER else None
    if cx is not None and cy is not None and cx + cy <= 1:
        return MAGENTA
    if x == 0 or y == 0 or x == right or y == bottom or (cx == 1 and cy == 1):
        return border
    if x == 1 or y == 1:
        return light
    if x == right - 1 or y == bottom - 1:
        return dark
    return face


def png(width, height, rows):
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    rows = [[frame_pixel(x % FW, y, LOOKS[x // FW]) for x in range(FW * 5)] for y in range(H)]
    out = sys.argv[1] if len(sys.argv) > 1 else "MyButtonDefSkin.png"
    with open(out, "wb") as f:
        f.write(png(FW * 5, H, rows))


if __name__ == "__main__":
    main()
