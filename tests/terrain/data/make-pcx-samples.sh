#!/bin/sh
# Makes the PCX test pictures and, for each, the PPM that netpbm's pcxtoppm
# decodes back from it. The decoder tests compare our pixels with those PPMs,
# so the expected colours come from a decoder we did not write.
#
#   ppmtopcx -8bit      256-colour files (one 8-bit plane)
#   ppmtopcx -planes=4  16-colour files (four 1-bit planes)
#   Pillow              a 256-colour file whose BytesPerLine is padded to even
#   python3 (below)     a 16-colour file with padded planes (BytesPerLine 6 for
#                       33 pixels), the case that skews when rows are cut at
#                       4 x BytesPerLine
#
# Needs netpbm and /usr/bin/python3 with PIL. Deterministic: fixed seeds.
set -eu
cd "$(dirname "$0")"
PY=/usr/bin/python3

# Source pictures as binary PPM (P6): name width height colours seed.
$PY - <<'PYEOF'
import random

def write_ppm(name, w, h, pixels):
    with open(name, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (w, h))
        f.write(bytes(c for p in pixels for c in p))

def cube216(rng, w, h):
    # Smooth colour gradients with noise, quantised to a 6x6x6 cube, so the
    # file has far more than 16 but at most 216 colours.
    levels = [0, 51, 102, 153, 204, 255]
    out = []
    for y in range(h):
        for x in range(w):
            r = (x * 5) // max(1, w - 1) + rng.choice((-1, 0, 0, 1))
            g = (y * 5) // max(1, h - 1) + rng.choice((-1, 0, 0, 1))
            b = rng.randrange(6)
            out.append(tuple(levels[max(0, min(5, v))] for v in (r, g, b)))
    return out

def sixteen(rng, w, h):
    colours = [(r, g, b) for r in (0, 255) for g in (0, 128, 255) for b in (0, 255)][:12]
    colours += [(64, 32, 16), (200, 180, 90), (20, 90, 200), (250, 250, 250)]
    out = []
    for y in range(h):
        for x in range(w):
            # Runs of one colour mixed with single pixels.
            if x % 7 < 3:
                out.append(colours[(y + x // 7) % 16])
            else:
                out.append(rng.choice(colours))
    return out

rng = random.Random(31)
write_ppm("src-rgb256-37x23.ppm", 37, 23, cube216(rng, 37, 23))
write_ppm("src-rgb256-64x16.ppm", 64, 16, cube216(rng, 64, 16))
write_ppm("src-rgb16-33x19.ppm", 33, 19, sixteen(rng, 33, 19))
write_ppm("src-rgb16-40x12.ppm", 40, 12, sixteen(rng, 40, 12))
write_ppm("src-pil256-37x9.ppm", 37, 9, cube216(rng, 37, 9))
write_ppm("src-padded16-33x7.ppm", 33, 7, sixteen(rng, 33, 7))
PYEOF

ppmtopcx -8bit src-rgb256-37x23.ppm > rgb256-37x23.pcx 2>/dev/null
ppmtopcx -8bit src-rgb256-64x16.ppm > rgb256-64x16.pcx 2>/dev/null
ppmtopcx -planes=4 src-rgb16-33x19.ppm > rgb16-33x19.pcx 2>/dev/null
ppmtopcx -planes=4 src-rgb16-40x12.ppm > rgb16-40x12.pcx 2>/dev/null

$PY - <<'PYEOF'
from PIL import Image

# Pillow writes 256-colour PCX with BytesPerLine rounded up to even.
Image.open("src-pil256-37x9.ppm").quantize(256).save("pil256-37x9.pcx")

# A 16-colour file with one padding byte per plane (BytesPerLine 6, where 33
# pixels need 5), written by hand: header, run-length coded planes.
im = Image.open("src-padded16-33x7.ppm").convert("RGB")
w, h = im.size
palette = []
for p in im.getdata():
    if p not in palette:
        palette.append(p)
assert len(palette) <= 16
bpl = 6
header = bytearray(128)
header[0:4] = bytes((10, 5, 1, 1))
header[8:10] = (w - 1).to_bytes(2, "little")
header[10:12] = (h - 1).to_bytes(2, "little")
for i, (r, g, b) in enumerate(palette):
    header[16 + 3 * i:19 + 3 * i] = bytes((r, g, b))
header[65] = 4
header[66:68] = bpl.to_bytes(2, "little")
header[68:70] = (1).to_bytes(2, "little")

def encode(line):
    out = bytearray()
    i = 0
    while i < len(line):
        n = 1
        while i + n < len(line) and line[i + n] == line[i] and n < 63:
            n += 1
        if n > 1 or line[i] >= 0xC0:
            out += bytes((0xC0 + n, line[i]))
        else:
            out.append(line[i])
        i += n
    return out

data = bytearray()
pixels = list(im.getdata())
for y in range(h):
    indices = [palette.index(pixels[y * w + x]) for x in range(w)]
    line = bytearray()
    for plane in range(4):
        row = bytearray(bpl)
        for x, v in enumerate(indices):
            if v >> plane & 1:
                row[x // 8] |= 0x80 >> (x % 8)
        line += row
    data += encode(line)
with open("padded16-33x7.pcx", "wb") as f:
    f.write(header + data)
PYEOF

# What netpbm decodes from each file is the expected picture.
for pcx in rgb256-37x23 rgb256-64x16 rgb16-33x19 rgb16-40x12 pil256-37x9 padded16-33x7; do
    pcxtoppm $pcx.pcx > $pcx.ppm 2>/dev/null
    cmp -s $pcx.ppm src-$pcx.ppm || { echo "$pcx: netpbm does not decode the source picture back" >&2; exit 1; }
done
rm -f src-*.ppm
