#!/usr/bin/env python3
"""Writes the bundled sample game data: a map, its map-name list, its terrain
file, an item catalogue and a placeholder kzmap.dat. Everything here is made
up for Vellumar's own tests and demonstrations; nothing comes from the game.
Run from the project root: python3 scripts/make-sample-data.py"""
import os
import random
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples")
UNIT = 131072  # game units per map pixel

ITEMS = [
    ("----", "Decorations"), ("1001", "Palm tree"), ("1002", "Rock"), ("1005", "Bush"),
    ("----", "Vehicles"), ("2001", "Jeep"), ("2003", "Truck"),
    ("----", "Buildings"), ("3001", "Hut"), ("3004", "Watchtower"),
    ("----", "Objects"), ("4001", "Crate"), ("4076", "Barrel"),
    ("----", "People"), ("5001", "Soldier"), ("5003", "Sniper"),
    ("----", "Markers"), ("6002", "DM start point"), ("6003", "Team A start point"),
    ("6004", "Team B start point"),
    ("----", "Effects"), ("7001", "Fire"), ("7002", "Smoke"),
]

MAP_NAMES = [b"Green Valley", b"Dust Road", b"Snow Pass", b"River Crossing", b"Old Harbour",
             b"Twin Hills", b"Night Raid", b"Border Post", b"Sunken Village", b"Last Bridge",
             b"Canyon Run", b"Vellum Island"]


def write(path, data):
    full = os.path.join(ROOT, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(data)


def trailer():
    text = b"VELLUMAR SAMPLE TRAILER - A PLACEHOLDER, NOT THE GAME'S DATA. "
    return (text * (20127 // len(text) + 1))[:20127]


def name_list():
    n = len(MAP_NAMES)
    head = bytearray(b"MPNL" + b"\0" * 4 + struct.pack("<i", 1) + struct.pack("<i", n))
    out = bytearray(head)
    offset = 0
    for name in MAP_NAMES:
        out += struct.pack("<i", offset) + b"\0" * 12
        offset += len(name) + 1
    for name in MAP_NAMES:
        out += name + b"\0"
    p = len(out)
    block = bytearray(b"SAMPLE-BLOCK-OF-27-BYTES!!!")
    assert len(block) == 27
    block[11] = n
    out += block
    for i in range(1, n + 1):
        out += (b"MPNAME%02d" % i) + b"\0"
    out[4:8] = struct.pack("<i", p + 3)
    return bytes(out)


def record(item, oid, x, y, z, radius, horz, vert, weapon):
    r = bytearray(96)
    struct.pack_into("<i", r, 16, item)
    struct.pack_into("<i", r, 24, oid)
    struct.pack_into("<iiii", r, 32, x, y, z, radius)
    struct.pack_into("<hh", r, 68, horz, vert)
    r[86] = weapon
    return bytes(r)


def sample_map():
    rnd = random.Random(482)
    objects = []
    oid = 100

    def add(item, px, py, radius=0, weapon=0):
        nonlocal oid
        oid += 1
        objects.append((item, oid, px * UNIT + rnd.randrange(UNIT), -py * UNIT - rnd.randrange(UNIT),
                        rnd.randrange(0, 4000), radius, rnd.choice([0, 45, 90, 180, 270, -90]), 0, weapon))

    for _ in range(8):
        add(rnd.choice([1001, 1002, 1005]), rnd.randrange(60, 200), rnd.randrange(60, 450))
    for px, py in [(300, 120), (320, 140), (150, 400)]:
        add(rnd.choice([2001, 2003]), px, py)
    for px, py in [(330, 300), (350, 310), (120, 150)]:
        add(rnd.choice([3001, 3004]), px, py, radius=20)
    for _ in range(5):
        add(rnd.choice([4001, 4076]), rnd.randrange(280, 420), rnd.randrange(260, 360))
    for px, py in [(200, 220), (210, 230), (400, 380)]:
        add(rnd.choice([5001, 5003]), px, py, radius=30, weapon=rnd.choice([1, 2, 30]))
    add(6002, 256, 256, radius=10)
    add(6002, 100, 100, radius=10)
    add(6003, 80, 420, radius=15)
    add(6004, 430, 90, radius=15)
    add(7001, 340, 305)
    add(7002, 345, 300)
    # Two objects of no category: shown by the editor, not saved by it.
    add(999, 50, 50)
    add(4100, 460, 460)

    # The file may hold its records in any order; group by category as the
    # editor writes them, then put the two uncategorised ones at the end.
    order = [20, 40, 10, 30, 60, 50, 70]
    known = [o for c in order for o in objects if o[0] // 100 == c]
    stray = [o for o in objects if o[0] // 100 not in order]
    recs = known + stray

    def count(cats):
        return sum(1 for o in known if o[0] // 100 in cats)

    h = bytearray(252)
    h[0:4] = b"BMS\r"
    h[4:12] = b"MPNAME03"
    h[44:84] = b"Sample map made for Vellumar".ljust(40, b"\0")
    h[84:96] = b"vlmrtest.trn"
    h[116] = 0          # Jungle
    h[122] = 17         # night goggles
    h[123] = 1 | 2 | 32  # Coop, DM, TDM
    struct.pack_into("<iiii", h, 152, count([20, 40]) + len(stray), count([10, 30]),
                     count([60, 70]), count([50]))
    struct.pack_into("<iii", h, 240, sum(o[0] == 6003 for o in recs), sum(o[0] == 6004 for o in recs),
                     sum(o[0] == 6002 for o in recs))
    return bytes(h) + b"".join(record(*o) for o in recs) + b"\0" + trailer()


def terrain():
    labels = [
        ("COLORMAP", "vlmrc"), ("ELEVATIONMAP", "vlmre"), ("DETAILMAP", "vlmrd"),
        ("MAPSIZE", "512"), ("HEIGHTSCALE", "64"), ("WATERLEVEL", "12"),
        ("SKYMAP", "vlmrs"), ("FOGCOLOR", "180 190 200"), ("FOGSTART", "600"),
        ("FOGEND", "1800"), ("SUNANGLE", "45"), ("AMBIENT", "90"), ("DETAILSCALE", "8"),
        ("WATERCOLOR", "40 70 120"), ("WINDSPEED", "3"), ("RAIN", "0"), ("SNOW", "0"),
        ("VERSION", "1"),
    ]
    lines = ["; Vellumar sample terrain", "; made up for tests, not taken from the game", "[TERRAIN]"]
    for label, value in labels:
        lines.append((label + " ").ljust(18, ".")[:17] + " " + value)
    lines.append("[END]")
    return ("\r\n".join(lines) + "\r\n").encode("latin-1")


def catalogue():
    lines = []
    for number, name in ITEMS:
        lines += [number, name]
    return ("\r\n".join(lines) + "\r\n").encode("latin-1")


def main():
    write("kzmap.dat", trailer())
    write("item.ini", catalogue())
    write("kzbase/kzmpname.bin", name_list())
    write("kzbase/vlmrtest.bms", sample_map())
    write("kz/vlmrtest.trn", terrain())
    for d in ("game", "work"):
        write(d + "/README.txt", b"Sample folder of the bundled game data; Vellumar writes here.\r\n")


if __name__ == "__main__":
    main()
