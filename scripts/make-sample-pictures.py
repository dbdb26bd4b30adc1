#!/usr/bin/python3
"""Makes the four pictures of the sample terrain in samples/kz/:

  vlmrc.pcx  colour map, 512 x 512, 256 colours
  vlmre.pcx  elevation map, 512 x 512, 256 grey levels
  vlmrd.pcx  detail map, 256 x 256, 16 colours
  vlmrs.pcx  sky map, 256 x 128, 256 colours

The terrain is made up: rolling land in greens and browns, a river that
widens into a lake, sandy shores and two roads. The elevation map is the
same height field, low under the water (below the sample terrain's water
level of 12). Pictures are drawn with Pillow and written as PCX by netpbm's
ppmtopcx (-8bit for 256 colours, -planes=4 for 16). Fixed seeds: every run
writes the same files.

Run with /usr/bin/python3 (needs python3-pil and netpbm).
"""

import math
import os
import random
import subprocess
import sys
import tempfile

from PIL import Image, ImageDraw, ImageFilter

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "samples", "kz")
WATER_LEVEL = 12  # WATERLEVEL of samples/kz/vlmrtest.trn


def smooth_noise(size, cells, seed):
    """Value noise: random cells x cells grey levels, resized smoothly."""
    rng = random.Random(seed)
    small = Image.frombytes("L", (cells, cells), bytes(rng.randrange(256) for _ in range(cells * cells)))
    return small.resize((size, size), Image.Resampling.BICUBIC)


def fractal(size, seed, octaves):
    """Sum of value-noise octaves ((cells, weight) pairs), as floats 0..1."""
    total = [0.0] * (size * size)
    weight_sum = sum(w for _, w in octaves)
    for i, (cells, weight) in enumerate(octaves):
        layer = smooth_noise(size, cells, seed * 100 + i).getdata()
        for k, v in enumerate(layer):
            total[k] += v * weight
    lo, hi = min(total), max(total)
    return [(v - lo) / (hi - lo) for v in total]


def write_pcx(image, name, options):
    """Writes image through a PPM and ppmtopcx with the given options."""
    with tempfile.TemporaryDirectory() as tmp:
        ppm = os.path.join(tmp, "picture.ppm")
        image.convert("RGB").save(ppm)
        with open(os.path.join(OUT, name), "wb") as out:
            subprocess.run(["ppmtopcx", *options, ppm], stdout=out, stderr=subprocess.DEVNULL, check=True)


def quantized(image, colours):
    return image.quantize(colours, dither=Image.Dither.NONE).convert("RGB")


def river_distance(x, y):
    """Distance in pixels from the water: a river meandering down from the top
    edge, bending west into a lake in the lower left (negative inside it)."""
    centre = 300 + 55 * math.sin(y / 61.0) + 18 * math.sin(y / 17.0 + 1.3)
    if y > 280:
        t = min(1.0, (y - 280) / 130.0)
        centre = centre * (1 - t) + 170 * t
    d_river = abs(x - centre) if y < 420 else 1e9
    a = math.atan2(y - 430, x - 150)
    shore = 60 + 8 * math.sin(3 * a) + 5 * math.sin(5 * a + 1.0)
    d_lake = math.hypot((x - 150) / 1.4, y - 430) - shore
    return min(d_river, d_lake)


def elevation_field(size):
    """Elevation 0..255: rolling land cut by the river valley and the lake."""
    land = fractal(size, 7, [(6, 0.45), (12, 0.3), (24, 0.15), (64, 0.1)])
    height = []
    for y in range(size):
        for x in range(size):
            h = 40 + 215 * land[y * size + x] ** 1.3
            d = river_distance(x, y)
            width = 7 + 3 * math.sin(y / 29.0)
            if d < width:
                # Under water: deepest in the middle of the river and lake.
                h = max(1.0, WATER_LEVEL - 2 - 8 * min(1.0, (width - d) / width))
            elif d < width + 40:
                # Valley sides rise gently from the shore.
                t = (d - width) / 40.0
                h = (WATER_LEVEL + 2) + (h - WATER_LEVEL - 2) * (t * t * (3 - 2 * t))
            height.append(max(0, min(255, int(h))))
    return height


def colour_map(size, height):
    rng = random.Random(11)
    grain = fractal(size, 13, [(96, 0.6), (192, 0.4)])
    image = Image.new("RGB", (size, size))
    pixels = []
    for k, h in enumerate(height):
        n = (grain[k] - 0.5) * 30 + rng.uniform(-6, 6)
        if h < WATER_LEVEL:
            depth = (WATER_LEVEL - h) / WATER_LEVEL
            c = (40 - 25 * depth, 90 - 40 * depth + n * 0.3, 150 + 20 * depth + n * 0.3)
        elif h < WATER_LEVEL + 5:
            c = (196 + n, 182 + n, 130 + n * 0.5)  # sandy shore
        elif h < 110:
            c = (70 + n, 125 + n, 50 + n * 0.5)  # meadow
        elif h < 170:
            c = (60 + n, 100 + n, 40 + n * 0.5)  # woodland green
        elif h < 215:
            c = (120 + n, 100 + n, 65 + n * 0.5)  # bare brown hills
        else:
            c = (140 + n, 132 + n, 122 + n)  # rock
        pixels.append(tuple(max(0, min(255, int(v))) for v in c))
    image.putdata(pixels)

    draw = ImageDraw.Draw(image)
    # A paved road across the map (with a bridge over the river) and a dirt
    # track from it down to the lake shore.
    road = [(0, 96), (120, 118), (240, 170), (330, 190), (420, 240), (511, 262)]
    track = [(240, 170), (215, 250), (230, 310), (205, 345)]
    draw.line(track, fill=(176, 150, 104), width=3, joint="curve")
    draw.line(road, fill=(112, 112, 108), width=5, joint="curve")
    draw.line(road, fill=(138, 138, 132), width=1)
    return quantized(image, 256)


def detail_map(size):
    rng = random.Random(23)
    coarse = fractal(size, 29, [(16, 0.5), (48, 0.5)])
    pixels = []
    for v in coarse:
        g = v * 0.7 + rng.random() * 0.3
        pixels.append((int(70 + 90 * g), int(85 + 95 * g), int(50 + 60 * g)))
    image = Image.new("RGB", (size, size))
    image.putdata(pixels)
    return quantized(image.filter(ImageFilter.SMOOTH), 16)


def sky_map(width, height):
    clouds = fractal(width, 41, [(8, 0.5), (16, 0.3), (32, 0.2)])
    pixels = []
    for y in range(height):
        t = y / (height - 1)  # 0 at the top, 1 at the horizon
        sky = (40 + 150 * t, 90 + 120 * t, 190 + 50 * t)
        for x in range(width):
            c = clouds[y * width + x]
            cover = max(0.0, min(1.0, (c - 0.55) * 3.5)) * (1 - 0.4 * t)
            shade = 235 - 40 * max(0.0, c - 0.8)
            pixels.append(tuple(int(s * (1 - cover) + shade * cover) for s in sky))
    image = Image.new("RGB", (width, height))
    image.putdata(pixels)
    return quantized(image.filter(ImageFilter.GaussianBlur(2)), 256)


def main():
    os.makedirs(OUT, exist_ok=True)
    size = 512
    height = elevation_field(size)

    elevation = Image.new("L", (size, size))
    elevation.putdata(height)
    write_pcx(elevation, "vlmre.pcx", ["-8bit"])
    write_pcx(colour_map(size, height), "vlmrc.pcx", ["-8bit"])
    write_pcx(detail_map(256), "vlmrd.pcx", ["-planes=4"])
    write_pcx(sky_map(256, 128), "vlmrs.pcx", ["-8bit"])
    for name in ("vlmrc.pcx", "vlmre.pcx", "vlmrd.pcx", "vlmrs.pcx"):
        print(name, os.path.getsize(os.path.join(OUT, name)), "bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
