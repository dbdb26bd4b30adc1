#!/usr/bin/python3
"""Draws the Object View's placeholder picture src/catalogue/nopic.png:
320 by 240 in 256 colours, a red prohibition sign over the words NO PIC.
Deterministic; the output is committed. Run with /usr/bin/python3 (PIL)."""

import os
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pixelfont import draw_text, text_size  # noqa: E402

W, H = 320, 240
S = 4  # drawn four times larger, then reduced, for smooth edges

BACKGROUND = (232, 232, 228)
RED = (204, 16, 16)
INSIDE = (255, 255, 255)
INK = (60, 60, 60)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = os.path.join(root, 'src', 'catalogue', 'nopic.png')

    big = Image.new('RGB', (W * S, H * S), BACKGROUND)
    d = ImageDraw.Draw(big)
    cx, cy, r, ring = 160 * S, 100 * S, 78 * S, 15 * S
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=RED)
    d.ellipse((cx - r + ring, cy - r + ring, cx + r - ring, cy + r - ring), fill=INSIDE)
    # The bar runs from upper left to lower right across the inner circle.
    inner = r - ring
    k = inner * 0.7071
    half = ring * 0.5 * 1.4142
    d.polygon([(cx - k - half, cy - k + half), (cx - k + half, cy - k - half),
               (cx + k + half, cy + k - half), (cx + k - half, cy + k + half)], fill=RED)
    # The bar's ends are cut off by the ring again, so redraw the ring over them.
    d.ellipse((cx - r, cy - r, cx + r, cy + r), outline=RED, width=ring)

    scale = 4 * S
    tw, th = text_size('NO PIC', scale)
    draw_text(d, (W * S - tw) // 2, 194 * S, 'NO PIC', scale, INK)

    small = big.resize((W, H), Image.BOX)
    picture = small.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    picture.save(out, optimize=False)
    print(out)


if __name__ == '__main__':
    main()
