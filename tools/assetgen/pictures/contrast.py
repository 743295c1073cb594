#!/usr/bin/env python3
"""Contrast of the HUD on the arena: tools/assetgen/pictures/contrast.py DATA_DIR

Reads GRASS.BMP (8-bit, bottom-up) and reports WCAG contrast ratios, (L1 + 0.05) / (L2 + 0.05)
with L the relative luminance of sRGB colours:
  - black HUD text against the mean of the corner it is written on (x 0..199, y 0..35);
  - the red "YOU" (255, 0, 0) against the arena's field (below the HUD corner): the median and
    the 10th percentile of per-pixel ratios, so it reads by brightness, not hue alone;
  - each sprite sheet's ink (every pixel but the key) against the field: the ratio of its mean
    luminance to the field's median.
"""
import struct
import sys


def linear(c):
    c /= 255.0
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def luminance(rgb):
    r, g, b = rgb
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b)


def ratio(a, b):
    hi, lo = max(a, b), min(a, b)
    return (hi + 0.05) / (lo + 0.05)


def load(path):
    data = open(path, "rb").read()
    offset, width, height = struct.unpack_from("<I", data, 10)[0], *struct.unpack_from("<ii", data, 18)
    palette = [(data[54 + 4 * i + 2], data[54 + 4 * i + 1], data[54 + 4 * i]) for i in range(256)]
    rows = [data[offset + y * width: offset + (y + 1) * width] for y in range(height)]
    rows.reverse()  # top-down
    return [[palette[i] for i in row] for row in rows]


SHEETS = ["SKELSP%d.BMP" % d for d in range(9)] + ["DEDSP%d.BMP" % d for d in (0, 2, 4, 6)] + ["laser.bmp"]


def load_indices(path):
    data = open(path, "rb").read()
    offset, width, height = struct.unpack_from("<I", data, 10)[0], *struct.unpack_from("<ii", data, 18)
    palette = [(data[54 + 4 * i + 2], data[54 + 4 * i + 1], data[54 + 4 * i]) for i in range(256)]
    stride = (width + 3) // 4 * 4
    return palette, [data[offset + y * stride + x] for y in range(height) for x in range(width)]


def main():
    pixels = load(sys.argv[1] + "/GRASS.BMP")
    corner = [luminance(pixels[y][x]) for y in range(36) for x in range(200)]
    mean = sum(corner) / len(corner)
    print(f"HUD corner: mean luminance {mean:.3f}, black text contrast {ratio(0.0, mean):.1f}:1")
    red = luminance((255, 0, 0))
    field = sorted(ratio(red, luminance(pixels[y][x])) for y in range(60, 480, 2) for x in range(0, 640, 2))
    print(f"red YOU on the field: median contrast {field[len(field) // 2]:.2f}:1, "
          f"10th percentile {field[len(field) // 10]:.2f}:1")
    ground = sorted(luminance(pixels[y][x]) for y in range(60, 480, 2) for x in range(0, 640, 2))
    median = ground[len(ground) // 2]
    print(f"field: median luminance {median:.4f}")
    for name in SHEETS:
        palette, indices = load_indices(sys.argv[1] + "/" + name)
        ink = [luminance(palette[i]) for i in indices if i != 0]
        mean = sum(ink) / len(ink)
        print(f"  {name:12} ink mean luminance {mean:.3f}, against the field {ratio(mean, median):.2f}:1")


main()
