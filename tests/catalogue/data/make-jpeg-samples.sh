#!/bin/sh
# Makes the small JPEG pictures the picture tests decode, and beside each the
# pixels the libjpeg-turbo command-line decoder gives for it with the Object
# View's settings (integer DCT, 256 colours, Floyd-Steinberg), as an 8-bit BMP.
# Needs /usr/bin/python3 with PIL, cjpeg and djpeg (libjpeg-turbo-progs).
# The outputs are committed; run this again only to change the set.
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Source drawings, deterministic: gradients with shapes, so the pictures have
# far more than 256 colours and the quantiser has real work to do.
/usr/bin/python3 - "$work" <<'PY'
import sys
from PIL import Image, ImageDraw

out = sys.argv[1]

def drawing(w, h, seed):
    im = Image.new('RGB', (w, h))
    px = im.load()
    for y in range(h):
        for x in range(w):
            px[x, y] = ((x * 255 // max(w - 1, 1) + seed) % 256,
                        (y * 255 // max(h - 1, 1) + 2 * seed) % 256,
                        ((x + y) * 5 + 3 * seed) % 256)
    d = ImageDraw.Draw(im)
    d.ellipse((w // 5, h // 5, w * 3 // 4, h * 4 // 5), fill=(230, 40, 30), outline=(10, 10, 90))
    d.rectangle((w // 2, h // 8, w - 3, h // 2), fill=(30, 200, 60))
    d.line((0, h - 1, w - 1, 0), fill=(255, 255, 0), width=2)
    return im

drawing(64, 48, 0).save(out + '/colour-420.ppm')
drawing(37, 23, 40).save(out + '/colour-444-odd.ppm')
drawing(50, 30, 90).save(out + '/colour-422-progressive.ppm')
drawing(33, 17, 150).save(out + '/colour-arith-restart.ppm')
drawing(45, 31, 20).convert('L').save(out + '/gray-odd.pgm')
drawing(30, 20, 70).convert('L').save(out + '/gray-progressive.pgm')
Image.new('RGB', (16, 16), (200, 30, 40)).save(out + '/solid.ppm')
# A CMYK picture (Adobe style, as PIL writes it); the decoder has no RGB
# conversion for it, so there is no reference for this one.
drawing(24, 16, 60).convert('CMYK').save('cmyk.jpg', quality=90)
PY

cjpeg -quality 85 "$work/colour-420.ppm" > colour-420.jpg
cjpeg -quality 90 -sample 1x1 "$work/colour-444-odd.ppm" > colour-444-odd.jpg
cjpeg -quality 80 -progressive -sample 2x1 "$work/colour-422-progressive.ppm" > colour-422-progressive.jpg
cjpeg -quality 75 -arithmetic -restart 1 "$work/colour-arith-restart.ppm" > colour-arith-restart.jpg
cjpeg -quality 85 "$work/gray-odd.pgm" > gray-odd.jpg
cjpeg -quality 85 -progressive "$work/gray-progressive.pgm" > gray-progressive.jpg
cjpeg -quality 95 "$work/solid.ppm" > solid.jpg

for f in colour-420 colour-444-odd colour-422-progressive colour-arith-restart \
         gray-odd gray-progressive solid; do
    djpeg -dct int -colors 256 -dither fs -bmp -outfile "$f.bmp" "$f.jpg"
done
