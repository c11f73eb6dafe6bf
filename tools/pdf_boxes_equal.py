#!/usr/bin/env python3
"""Compares the words of two PDFs and their boxes (pdftotext -bbox), page by page.

    tools/pdf_boxes_equal.py A.pdf B.pdf [TOLERANCE_PT]

Exit 0 when both have the same words in the same order and every box edge lies within the
tolerance (default 0.5 pt); otherwise prints the first differences and exits 1. Used to show
that a report drawn on Windows has the text boxes of the same report drawn on Linux.
"""
import html
import re
import subprocess
import sys

WORD = re.compile(r'<word xMin="([-\d.]+)" yMin="([-\d.]+)" xMax="([-\d.]+)" yMax="([-\d.]+)">(.*?)</word>')
PAGE = re.compile(r'<page width="([\d.]+)" height="([\d.]+)">')


def boxes(path):
    out = subprocess.run(["pdftotext", "-bbox", path, "-"], check=True, capture_output=True,
                         text=True).stdout
    pages = []
    for chunk in out.split("<page ")[1:]:
        size = PAGE.match("<page " + chunk)
        words = [(html.unescape(m[4]), tuple(float(v) for v in m[0:4])) for m in WORD.findall(chunk)]
        pages.append(((float(size[1]), float(size[2])), words))
    return pages


def main():
    a, b = sys.argv[1], sys.argv[2]
    tolerance = float(sys.argv[3]) if len(sys.argv) > 3 else 0.5
    pa, pb = boxes(a), boxes(b)
    problems = []
    if len(pa) != len(pb):
        problems.append(f"pages: {len(pa)} against {len(pb)}")
    worst = 0.0
    words = 0
    for n, ((size_a, wa), (size_b, wb)) in enumerate(zip(pa, pb), 1):
        if max(abs(x - y) for x, y in zip(size_a, size_b)) > tolerance:
            problems.append(f"page {n}: size {size_a} against {size_b}")
        if [w for w, _ in wa] != [w for w, _ in wb]:
            ta, tb = [w for w, _ in wa], [w for w, _ in wb]
            i = next((i for i, (x, y) in enumerate(zip(ta, tb)) if x != y), min(len(ta), len(tb)))
            problems.append(f"page {n}: words differ from word {i}: {ta[i:i + 5]} against {tb[i:i + 5]}")
            continue
        for (text, box_a), (_, box_b) in zip(wa, wb):
            words += 1
            off = max(abs(x - y) for x, y in zip(box_a, box_b))
            worst = max(worst, off)
            if off > tolerance:
                problems.append(f"page {n}: '{text}' at {box_a} against {box_b}")
    for p in problems[:10]:
        print(p)
    print(f"{words} words, largest offset {worst:.3f} pt, {len(problems)} differences")
    return 0 if not problems and words > 0 else 1


if __name__ == "__main__":
    sys.exit(main())
