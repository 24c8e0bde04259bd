#!/usr/bin/env python3
"""Draws the program's icon and writes it as a Windows .ico file.

The picture: a white page with a folded corner and a gold padlock, on a blue
rounded square. Thirteen images, in this order: 32x32 1-bit, 48x48 4-bit,
48x48 8-bit, 32x32 8-bit, 16x16 8-bit, then 256, 64, 48, 40, 32, 24, 20 and
16 pixels at 32 bits: the sizes Windows asks for at 100 % to 200 % scaling.
All are stored as bitmaps (no PNG), with an AND mask.

    python3 scripts/make_icon.py [OUTPUT.ico]
"""
import struct
import sys

IMAGES = [(32, 1), (48, 4), (48, 8), (32, 8), (16, 8),
          (256, 32), (64, 32), (48, 32), (40, 32), (32, 32), (24, 32), (20, 32), (16, 32)]
SAMPLES = 4  # per axis, for smooth edges


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def rounded_box(x, y, left, top, right, bottom, radius):
    if not (left <= x <= right and top <= y <= bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def paint(x, y):
    """Colour (r, g, b) and coverage 0/1 of the point (x, y) in the unit square."""
    colour, alpha = (0, 0, 0), 0.0
    if rounded_box(x, y, 0.03, 0.03, 0.97, 0.97, 0.18):
        colour, alpha = mix((40, 128, 206), (14, 60, 112), y), 1.0
    # The page, with its top right corner folded down.
    if 0.20 <= x <= 0.64 and 0.12 <= y <= 0.82:
        fold = x - 0.50 > y - 0.12
        if not fold:
            colour = (246, 248, 251)
            if 0.50 <= x and y <= 0.26:
                colour = (196, 208, 220)
            for line_top in (0.36, 0.46, 0.56):
                if 0.27 <= x <= 0.55 and line_top <= y <= line_top + 0.045:
                    colour = (150, 168, 188)
    # The padlock: shackle, then body with a keyhole.
    dx, dy = x - 0.70, y - 0.60
    if y <= 0.62 and 0.085 ** 2 <= dx * dx + dy * dy <= 0.14 ** 2:
        colour = (226, 232, 238)
    if rounded_box(x, y, 0.50, 0.58, 0.90, 0.90, 0.05):
        colour = mix((250, 196, 70), (214, 138, 8), (y - 0.58) / 0.32)
        if dx * dx + (y - 0.71) ** 2 <= 0.04 ** 2 or (abs(dx) <= 0.016 and 0.71 <= y <= 0.81):
            colour = (92, 58, 8)
    return colour, alpha


def render(size):
    """Rows top to bottom of (r, g, b, a) with a in 0..255."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total, cover = [0.0, 0.0, 0.0], 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    colour, alpha = paint((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    for i in range(3):
                        total[i] += colour[i] * alpha
                    cover += alpha
            n = SAMPLES * SAMPLES
            rgb = tuple(round(total[i] / cover) if cover else 0 for i in range(3))
            row.append(rgb + (round(255 * cover / n),))
        rows.append(row)
    return rows


def palette_for(depth):
    if depth == 1:
        return [(0, 0, 0), (255, 255, 255)]
    if depth == 4:  # the classic 16 colours
        return [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
                (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
                (255, 0, 255), (0, 255, 255), (255, 255, 255)]
    cube = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    greys = [(v, v, v) for v in range(8, 248, 6)][:40]
    return cube + greys


def nearest(palette, rgb):
    return min(range(len(palette)), key=lambda i: sum((palette[i][k] - rgb[k]) ** 2 for k in range(3)))


def row_bytes(bits):
    return ((bits + 31) // 32) * 4


def pack_bits(values, depth):
    out, acc, used = bytearray(), 0, 0
    for v in values:
        acc = (acc << depth) | v
        used += depth
        if used == 8:
            out.append(acc)
            acc, used = 0, 0
    if used:
        out.append(acc << (8 - used))
    return bytes(out)


def pad(data, length):
    return data + b"\0" * (length - len(data))


def bitmap(size, depth):
    pixels = render(size)
    opaque = [[p[3] >= 128 for p in row] for row in pixels]
    xor = bytearray()
    palette = palette_for(depth) if depth <= 8 else []
    for row in reversed(pixels):  # bitmaps run bottom-up
        if depth == 32:
            data = b"".join(bytes((p[2], p[1], p[0], p[3])) for p in row)
        else:
            data = pack_bits([nearest(palette, p[:3]) if p[3] >= 128 else 0 for p in row], depth)
        xor += pad(data, row_bytes(size * depth))
    mask = bytearray()
    for row in reversed(opaque):
        mask += pad(pack_bits([0 if o else 1 for o in row], 1), row_bytes(size))
    colours = len(palette)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0, len(xor) + len(mask), 0, 0, colours, 0)
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    return header + table + bytes(xor) + bytes(mask)


def icon_file():
    images = [bitmap(size, depth) for size, depth in IMAGES]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for (size, depth), data in zip(IMAGES, images):
        colour_count = 1 << depth if depth < 8 else 0
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, 1, depth, len(data), offset)
        offset += len(data)
    return directory + b"".join(images)


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "src/app/window/win/tessafold.ico"
    with open(target, "wb") as out:
        out.write(icon_file())
    print(target)
