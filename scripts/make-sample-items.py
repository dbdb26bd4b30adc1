#!/usr/bin/python3
"""Draws the item pictures of the bundled sample data, samples/images/<number>.jpg:
320 by 240, a simple drawing of the item on a plain background with its number
small in the lower right corner. Deterministic; the outputs are committed.
Run with /usr/bin/python3 (PIL)."""

import os
import sys

from PIL import Image, ImageDraw

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pixelfont import draw_text, text_size  # noqa: E402

W, H = 320, 240
S = 2  # drawn twice as large, then reduced, for smooth edges


def palm_tree(d):
    d.rectangle((0, 200, 319, 239), fill=(222, 200, 140))                  # sand
    trunk = [(150, 205), (166, 205), (170, 160), (176, 115), (180, 80),
             (168, 80), (162, 115), (155, 160)]
    d.polygon(trunk, fill=(128, 86, 44))
    for y in range(95, 205, 14):                                            # trunk rings
        d.line((150 + (205 - y) // 8, y, 168 + (205 - y) // 10, y - 3), fill=(96, 62, 30), width=2)
    green = (40, 140, 50)
    crown = (174, 80)
    # Fronds: drooping curves out of the crown, thick at the crown, thin at the tip.
    for reach, rise in [(-95, 30), (-70, 55), (-30, 62), (30, 62), (70, 55), (95, 30)]:
        points = []
        for i in range(9):
            t = i / 8
            points.append((crown[0] + reach * t, crown[1] - rise * t + 80 * t * t))
        for i in range(8):
            (x0, y0), (x1, y1) = points[i], points[i + 1]
            d.line((round(x0), round(y0), round(x1), round(y1)), fill=green, width=12 - i)
    for x, y in [(166, 82), (178, 84), (172, 92)]:                          # coconuts
        d.ellipse((x - 6, y - 6, x + 6, y + 6), fill=(90, 60, 20))


def jeep(d):
    d.rectangle((0, 196, 319, 239), fill=(150, 150, 140))                  # road
    body = (60, 120, 260, 175)
    d.rectangle(body, fill=(92, 110, 56))
    d.rectangle((60, 150, 260, 175), fill=(78, 94, 46))
    d.polygon([(190, 120), (205, 78), (212, 78), (200, 120)], fill=(60, 70, 40))   # windscreen
    d.rectangle((96, 100, 106, 120), fill=(60, 70, 40))                    # roll bar
    d.rectangle((96, 96, 196, 102), fill=(60, 70, 40))
    d.rectangle((232, 128, 256, 140), fill=(230, 220, 120))                # head lamp
    for cx in (100, 222):                                                    # wheels
        d.ellipse((cx - 28, 150, cx + 28, 206), fill=(30, 30, 30))
        d.ellipse((cx - 11, 167, cx + 11, 189), fill=(150, 150, 150))
    d.ellipse((36, 118, 64, 168), fill=(30, 30, 30))                       # spare wheel


def hut(d):
    d.rectangle((0, 200, 319, 239), fill=(120, 170, 80))                   # grass
    d.rectangle((90, 120, 230, 205), fill=(170, 120, 70))                  # walls
    for y in range(130, 205, 12):
        d.line((90, y, 230, y), fill=(140, 96, 54), width=2)
    d.polygon([(70, 125), (160, 50), (250, 125)], fill=(210, 180, 90))     # thatched roof
    for x in range(85, 240, 14):
        d.line((160, 52, x, 125), fill=(176, 146, 64), width=2)
    d.rectangle((145, 150, 175, 205), fill=(80, 50, 25))                   # door
    d.rectangle((190, 140, 215, 162), fill=(40, 40, 60))                   # window
    d.rectangle((105, 140, 130, 162), fill=(40, 40, 60))


def barrel(d):
    d.rectangle((0, 205, 319, 239), fill=(170, 165, 150))                  # floor
    left, right, top, bottom = 115, 205, 55, 205
    d.rectangle((left, top + 12, right, bottom - 12), fill=(180, 50, 30))
    d.ellipse((left, bottom - 24, right, bottom), fill=(150, 40, 24))
    d.rectangle((left + 10, top + 12, left + 22, bottom - 12), fill=(210, 90, 60))   # shine
    for y in (95, 165):                                                      # hoops
        d.rectangle((left, y - 5, right, y + 5), fill=(90, 90, 90))
    d.ellipse((left, top, right, top + 24), fill=(120, 34, 20))            # lid
    d.ellipse((left + 8, top + 4, right - 8, top + 20), fill=(150, 44, 26))
    d.ellipse((left + 56, top + 8, left + 68, top + 14), fill=(60, 60, 60))   # bung


def soldier(d):
    d.rectangle((0, 210, 319, 239), fill=(130, 160, 90))                   # ground
    uniform = (80, 100, 50)
    d.ellipse((140, 40, 180, 80), fill=(230, 190, 150))                    # head
    d.chord((134, 30, 186, 76), 180, 360, fill=(60, 76, 40))               # helmet
    d.rectangle((134, 52, 186, 56), fill=(60, 76, 40))
    d.rectangle((140, 82, 180, 150), fill=uniform)                         # body
    d.rectangle((128, 84, 140, 140), fill=uniform)                         # arms
    d.rectangle((180, 84, 192, 140), fill=uniform)
    d.rectangle((142, 150, 158, 205), fill=(70, 88, 44))                   # legs
    d.rectangle((162, 150, 178, 205), fill=(70, 88, 44))
    d.rectangle((138, 203, 160, 212), fill=(40, 30, 20))                   # boots
    d.rectangle((160, 203, 182, 212), fill=(40, 30, 20))
    d.line((200, 60, 188, 160), fill=(50, 40, 30), width=6)                # rifle
    d.rectangle((136, 116, 184, 122), fill=(60, 50, 30))                   # belt


def start_flag(d):
    d.rectangle((0, 210, 319, 239), fill=(130, 160, 90))                   # ground
    d.ellipse((110, 196, 210, 224), fill=(110, 90, 60))                    # mound
    d.rectangle((146, 40, 154, 210), fill=(200, 200, 200))                 # pole
    d.ellipse((143, 32, 157, 46), fill=(230, 200, 40))                     # knob
    d.polygon([(154, 46), (250, 76), (154, 106)], fill=(30, 160, 60))      # flag
    d.polygon([(154, 66), (200, 76), (154, 86)], fill=(255, 255, 255))


ITEMS = [
    (1001, (200, 228, 250), palm_tree),
    (2001, (220, 225, 235), jeep),
    (3001, (205, 230, 250), hut),
    (4076, (236, 232, 222), barrel),
    (5001, (214, 232, 246), soldier),
    (6002, (226, 240, 226), start_flag),
]


class Scaled:
    """Draws with the coordinates of the 320 by 240 picture on a canvas S
    times larger."""

    def __init__(self, draw):
        self.draw = draw

    def _xy(self, xy):
        if isinstance(xy[0], tuple):
            return [(x * S, y * S) for x, y in xy]
        return [v * S for v in xy]

    def rectangle(self, xy, **kw):
        self.draw.rectangle(self._xy(xy), **kw)

    def ellipse(self, xy, **kw):
        self.draw.ellipse(self._xy(xy), **kw)

    def chord(self, xy, start, end, **kw):
        self.draw.chord(self._xy(xy), start, end, **kw)

    def polygon(self, xy, **kw):
        self.draw.polygon(self._xy(xy), **kw)

    def line(self, xy, width=1, **kw):
        self.draw.line(self._xy(xy), width=width * S, **kw)



def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    outdir = os.path.join(root, 'samples', 'images')
    os.makedirs(outdir, exist_ok=True)
    for number, background, drawing in ITEMS:
        big = Image.new('RGB', (W * S, H * S), background)
        drawing(Scaled(ImageDraw.Draw(big)))
        picture = big.resize((W, H), Image.BOX)
        label = str(number)
        tw, th = text_size(label, 2)
        draw_text(ImageDraw.Draw(picture), W - tw - 6, H - th - 6, label, 2, (20, 20, 20))
        out = os.path.join(outdir, '%d.jpg' % number)
        picture.save(out, quality=85, optimize=False, progressive=False)
        print(out, os.path.getsize(out))


if __name__ == '__main__':
    main()
