#!/usr/bin/env python3
"""Draws corvane.ico: a flash drive whose body shows the test map's squares (white written,
green verified). Run it from this folder to rebuild the icon; it needs only Python 3."""
import struct

SIZES = (16, 32, 48)
SUPERSAMPLE = 4

# Shapes in a 32 x 32 design grid, painted in order: (x0, y0, x1, y1, corner radius, BGRA).
CONNECTOR = (10.5, 1.5, 21.5, 10.5, 1.0, (200, 200, 200, 255))
CONNECTOR_HOLES = [(13.0, 4.0, 15.5, 6.5, 0.0, (60, 60, 60, 255)),
                   (16.5, 4.0, 19.0, 6.5, 0.0, (60, 60, 60, 255))]
BODY = (6.5, 9.5, 25.5, 30.5, 3.0, (140, 78, 31, 255))
WHITE = (245, 245, 245, 255)
GREEN = (60, 200, 40, 255)


def squares():
    """A 3 x 3 map on the body: the first squares verified, the rest written."""
    cells = []
    for row in range(3):
        for col in range(3):
            x0 = 9.5 + col * 4.5
            y0 = 14.0 + row * 4.5
            colour = GREEN if row * 3 + col < 5 else WHITE
            cells.append((x0, y0, x0 + 3.5, y0 + 3.5, 0.0, colour))
    return cells


SHAPES = [CONNECTOR] + CONNECTOR_HOLES + [BODY] + squares()


def inside(shape, x, y):
    x0, y0, x1, y1, r, _ = shape
    if not (x0 <= x <= x1 and y0 <= y <= y1):
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r + 1e-9


def render(size):
    """Rows of BGRA pixels, top row first."""
    rows = []
    n = SUPERSAMPLE
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(n):
                for sx in range(n):
                    x = (px + (sx + 0.5) / n) * 32.0 / size
                    y = (py + (sy + 0.5) / n) * 32.0 / size
                    colour = (0, 0, 0, 0)
                    for shape in SHAPES:
                        if inside(shape, x, y):
                            colour = shape[5]
                    a = colour[3]
                    for i in range(3):
                        acc[i] += colour[i] * a
                    acc[3] += a
            alpha = acc[3] // (n * n)
            if acc[3]:
                pixel = [acc[i] // acc[3] for i in range(3)] + [alpha]
            else:
                pixel = [0, 0, 0, 0]
            row.append(bytes(pixel))
        rows.append(row)
    return rows


def icon_image(size):
    rows = render(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(b"".join(row) for row in reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + pixels + mask


def main():
    images = [icon_image(size) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open("corvane.ico", "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main()
