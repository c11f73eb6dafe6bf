#!/usr/bin/env python3
"""Writes COUNT calculation files with random inputs (fixed seed) into FOLDER: plausible
choices for every field, names with umlauts, and now and then a damaged file (a bad number
line, a cut-off file, another version line)."""
import os
import random
import sys

folder, count = sys.argv[1], int(sys.argv[2])
os.makedirs(folder, exist_ok=True)
rnd = random.Random(20261209)
# Positions of cereals, maize, rape and the like in the crop list: crops of one year.
SINGLE_CROPS = [5, 6, 9, 11, 12, 13, 14, 18, 22, 23, 24, 26, 35, 37]
names = ["Müller Hans", "Schär Ueli", "Zürcher Anna", "Bächtold Käthi", "Rüegg Fritz", ""]
places = ["Langacker", "Hinterfeld", "Oberäsch", "Grossmatt", ""]

for i in range(count):
    year = 2026
    lines = ["V2.02", rnd.choice(names), "Dorfstrasse %d" % rnd.randint(1, 99),
             "%d Lützelflüh" % rnd.randint(3000, 3999), rnd.choice(places),
             rnd.choice(["A", "B", "mit Pflug", ""]), str(year), rnd.choice(names),
             "%02d.%02d.%d" % (rnd.randint(1, 28), rnd.randint(1, 12), year),
             str(rnd.randint(0, 1)), str(rnd.choice([0, 5, 30, 120, 400])),
             str(rnd.choice([0, 2, 5, 10, 25, 60])), str(rnd.randint(0, 7)),
             str(rnd.randint(0, 2)), str(rnd.choice([0, 5, 20, 100]))]
    first = rnd.randint(1, 10)
    # Most rotations are built to pass the checks (single crops, simple periods); the rest
    # are random choices, which the checks mostly refuse.
    plain = rnd.random() < 0.7
    for n in range(1, 11):
        used = n >= first and (plain or rnd.random() < 0.9)
        if not used:
            lines += [str(year - 10 + n), "0", "0", "0", "0", "0"]
        elif plain:
            bare = rnd.random() < 0.3
            lines += [str(year - 10 + n), str(rnd.choice(SINGLE_CROPS)), "2" if bare else "1",
                      str(rnd.randint(1, 4)), "1" if bare else "0",
                      str(rnd.randint(1, 8)) if bare else "0"]
        else:
            lines += [str(year - 10 + n), str(rnd.randint(1, 38)), str(rnd.randint(0, 8)),
                      str(rnd.randint(0, 4)), str(rnd.randint(0, 4)), str(rnd.randint(0, 11))]
    lines += [str(rnd.randint(0, 10)), rnd.choice(["", "Bemerkung zur Parzelle", "Hang"]),
              str(rnd.randint(0, 1)), str(rnd.randint(0, 1)), str(rnd.randint(0, 1)),
              str(rnd.randint(0, 2)), str(rnd.randint(0, 1)), str(rnd.randint(0, 4)),
              str(rnd.randint(0, 2)), str(rnd.choice([0, 30, 50, 80, 120]))]
    assert len(lines) == 85
    damage = rnd.random()
    if damage < 0.03:
        lines[rnd.randint(6, 84)] = "12a"
    elif damage < 0.05:
        lines = lines[: rnd.randint(1, 84)]
    elif damage < 0.06:
        lines[0] = "V2.01"
    data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    with open(os.path.join(folder, "calc%04d.txt" % i), "wb") as f:
        f.write(data)
