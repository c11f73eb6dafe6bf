#!/usr/bin/env python3
"""Writes src/key/core/windows1252_fold_table.h: how a character Windows-1252 cannot hold is
written with the characters it has, as a person filling a paper form would.

Run by hand after changing the rules below:  python3 tools/make_fold_table.py

Rules, in this order:
1. A character of the hand table below takes its entry (letters without a decomposition,
   or whose closest letter is not the base, punctuation, spaces, invisible marks).
2. A character with a canonical decomposition becomes its base letter plus as many of its
   marks as still make one character Windows-1252 holds ("ǘ" -> "ü", "ệ" -> "ê", "č" -> "c").
3. A character with a compatibility decomposition ("ǆ", "ﬁ", "⅓", wide spaces) is
   written as its parts, each folded by rules 1 and 2; a part that cannot be folded makes
   the whole character fall back to "?".
4. Everything else is not in the table and becomes "?".

Combining marks are not in the table: the code composes a mark with the letter before it
where Windows-1252 has the result, and drops it otherwise (text typed or pasted in decomposed
form). The second table lists those compositions ("a" + U+0308 -> "ä").
"""

import itertools
import os
import sys
import unicodedata

CP1252 = "cp1252"

# Ranges whose characters are looked at; anything outside becomes "?".
RANGES = [
    (0x00A0, 0x036F),  # Latin-1 Supplement, Latin Extended-A/B, IPA, modifiers, combining marks
    (0x1E00, 0x1EFF),  # Latin Extended Additional
    (0x2000, 0x218F),  # punctuation, super/subscripts, currency, letterlike, number forms
    (0x2212, 0x2212),  # minus sign
    (0x2215, 0x2219),  # division slash, asterisk operator, bullet operator
    (0x2236, 0x2236),  # ratio
    (0x223C, 0x223C),  # tilde operator
    (0x2264, 0x2265),  # less-than or equal, greater-than or equal
    (0xFB00, 0xFB06),  # Latin ligatures
    (0xFEFF, 0xFEFF),  # zero width no-break space (byte order mark)
    (0xFF01, 0xFF5E),  # full-width ASCII
]

HAND = {
    # Letters without a decomposition, or whose closest letter is not the base.
    "Ł": "L", "ł": "l", "Đ": "D", "đ": "d", "ı": "i", "Ő": "Ö", "ő": "ö", "Ű": "Ü", "ű": "ü",
    "Ħ": "H", "ħ": "h", "Ŧ": "T", "ŧ": "t", "ĸ": "k", "Ŋ": "N", "ŋ": "n", "ƀ": "b",
    "Ɓ": "B", "ɓ": "b", "Ƈ": "C", "ƈ": "c", "Ɖ": "D", "ɖ": "d", "Ɗ": "D", "ɗ": "d",
    "Ƌ": "D", "ƌ": "d", "Ǝ": "E", "ǝ": "e", "Ɛ": "E", "ɛ": "e", "Ƒ": "F", "Ɠ": "G", "ɠ": "g",
    "Ɨ": "I", "ɨ": "i", "Ƙ": "K", "ƙ": "k", "ƚ": "l", "Ɲ": "N", "ɲ": "n", "ƞ": "n",
    "Ɔ": "O", "ɔ": "o", "Ƥ": "P", "ƥ": "p", "ƫ": "t", "Ƭ": "T", "ƭ": "t", "Ʈ": "T",
    "Ʉ": "U", "ʉ": "u", "Ƴ": "Y", "ƴ": "y", "Ƶ": "Z", "ƶ": "z", "Ǥ": "G", "ǥ": "g",
    "Ⱥ": "A", "Ȼ": "C", "ȼ": "c", "Ƚ": "L", "Ⱦ": "T", "Ƀ": "B", "Ɇ": "E", "ɇ": "e",
    "Ɉ": "J", "ɉ": "j", "Ɍ": "R", "ɍ": "r", "Ɏ": "Y", "ɏ": "y", "Ȥ": "Z", "ȥ": "z",
    "ȡ": "d", "ȴ": "l", "ȵ": "n", "ȶ": "t", "ȷ": "j", "ẞ": "ß",
    "Ǣ": "Æ", "ǣ": "æ", "Ǽ": "Æ", "ǽ": "æ", "Ǿ": "Ø", "ǿ": "ø",
    # Modifier letters used as apostrophes and accents.
    "ʹ": "'", "ʺ": '"', "ʻ": "‘", "ʼ": "'", "ʽ": "‘", "ˈ": "'", "ˊ": "´", "ˋ": "`",
    "ˌ": ",", "ˮ": '"', "˚": "°", "˝": '"',
    # Dashes, quotes, dots.
    "‐": "-", "‑": "-", "‒": "-", "―": "—", "‛": "‘", "‟": "“", "‧": "·", "′": "'",
    "″": '"', "‵": "`", "‶": '"', "⁃": "-", "⁄": "/", "−": "-", "∕": "/", "∗": "*",
    "∙": "·", "∶": ":", "∼": "~", "≤": "<=", "≥": ">=",
    # Spaces: breaking ones become a space, non-breaking ones the no-break space.
    "\u2007": "\u00A0", "\u202F": "\u00A0", "\u2028": " ", "\u2029": " ",
    # Invisible characters leave nothing behind.
    "\u200B": "", "\u200C": "", "\u200D": "", "\u200E": "", "\u200F": "", "\u202A": "",
    "\u202B": "", "\u202C": "", "\u202D": "", "\u202E": "", "\u2060": "", "\u2061": "",
    "\u2062": "", "\u2063": "", "\u2064": "", "\uFEFF": "",
}


def held(text):
    """Whether Windows-1252 holds every character of text."""
    try:
        text.encode(CP1252)
        return True
    except UnicodeEncodeError:
        return False


def canonical(ch):
    """The closest character Windows-1252 holds by rule 2, or None."""
    nfd = unicodedata.normalize("NFD", ch)
    if nfd == ch:
        return None
    base, marks = nfd[0], nfd[1:]
    if any(unicodedata.combining(m) == 0 for m in marks):
        return None
    for keep in range(len(marks), -1, -1):
        for chosen in itertools.combinations(marks, keep):
            composed = unicodedata.normalize("NFC", base + "".join(chosen))
            if len(composed) == 1 and held(composed):
                return composed
    return HAND.get(base)


def fold_one(ch):
    """The folded text of one character by rules 1 and 2, or None."""
    if held(ch):
        return ch
    if ch in HAND:
        return HAND[ch]
    return canonical(ch)


def fold(ch):
    """The folded text of ch, or None for "?"."""
    single = fold_one(ch)
    if single is not None:
        return single
    nfkd = unicodedata.normalize("NFKD", ch)
    if nfkd == unicodedata.normalize("NFD", ch):
        return None
    # Spacing accents ("˘") decompose into a space and a mark: a space is no counterpart.
    if nfkd[0] == " " and len(nfkd) > 1:
        return None
    parts = []
    for cluster in clusters(nfkd):
        composed = unicodedata.normalize("NFC", cluster)
        part = composed if held(composed) else None
        if part is None and len(composed) == 1:
            part = fold_one(composed)
        if part is None:
            part = fold_one(cluster[0])
        if part is None:
            return None
        parts.append(part)
    return "".join(parts)


def clusters(text):
    out = []
    for ch in text:
        if out and unicodedata.combining(ch):
            out[-1] += ch
        else:
            out.append(ch)
    return out


def c_bytes(text):
    # Octal escapes end after three digits, so a following letter cannot join them.
    return "".join("\\%03o" % b if b < 0x20 or b >= 0x7F or b in b'"\\?' else chr(b)
                   for b in text.encode(CP1252))


def main():
    folds = []
    for first, last in RANGES:
        for cp in range(first, last + 1):
            ch = chr(cp)
            if held(ch) or unicodedata.category(ch) == "Cn":
                continue
            if unicodedata.combining(ch):
                continue  # the code composes or drops combining marks itself
            result = fold(ch)
            if result is not None and result != "?":
                assert held(result), (hex(cp), result)
                folds.append((cp, result))

    # Composition of a held base letter with one combining mark into a held letter.
    compose = []
    for b in range(0xA0, 0x100):
        ch = bytes([b]).decode(CP1252)
        nfd = unicodedata.normalize("NFD", ch)
        if len(nfd) >= 2:
            base = unicodedata.normalize("NFC", nfd[:-1])
            if len(base) == 1 and held(base):
                compose.append((base.encode(CP1252)[0], ord(nfd[-1]), b))
    for b in range(0x80, 0xA0):
        try:
            ch = bytes([b]).decode(CP1252)
        except UnicodeDecodeError:
            continue
        nfd = unicodedata.normalize("NFD", ch)
        if len(nfd) == 2 and held(nfd[0]):
            compose.append((nfd[0].encode(CP1252)[0], ord(nfd[1]), b))
    compose.sort()

    lines = [
        "#pragma once",
        "// Generated by tools/make_fold_table.py (Unicode %s); do not edit by hand."
        % unicodedata.unidata_version,
        "// How characters Windows-1252 cannot hold are written with the ones it has.",
        "// clang-format off",
        "",
        "#include <cstdint>",
        "",
        "namespace brisolt::fold {",
        "",
        "// Code point -> Windows-1252 bytes (empty: the character leaves nothing). Sorted by",
        "// code point; a code point not listed becomes '?'.",
        "struct Entry {",
        "    char32_t codePoint;",
        "    const char* bytes;",
        "};",
        "",
        "inline constexpr Entry kEntries[] = {",
    ]
    row = []
    for cp, text in folds:
        row.append('{0x%04X, "%s"}' % (cp, c_bytes(text)))
    lines += wrap(row)
    lines += [
        "};",
        "",
        "// Windows-1252 base byte + combining mark -> composed Windows-1252 byte. Sorted.",
        "struct Composition {",
        "    unsigned char base;",
        "    char32_t mark;",
        "    unsigned char composed;",
        "};",
        "",
        "inline constexpr Composition kCompositions[] = {",
    ]
    lines += wrap(["{0x%02X, 0x%04X, 0x%02X}" % c for c in compose])
    lines += ["};", "", "} // namespace brisolt::fold", "// clang-format on", ""]

    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = os.path.join(root, "src", "key", "core", "windows1252_fold_table.h")
    with open(target, "w", encoding="ascii", newline="\n") as out:
        out.write("\n".join(lines))
    print("%s: %d entries, %d compositions" % (target, len(folds), len(compose)),
          file=sys.stderr)


def wrap(items, width=100):
    lines, current = [], "   "
    for item in items:
        piece = " " + item + ","
        if len(current) + len(piece) > width:
            lines.append(current)
            current = "   "
        current += piece
    if current.strip():
        lines.append(current)
    return lines


if __name__ == "__main__":
    main()
