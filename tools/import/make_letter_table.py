#!/usr/bin/env python3
"""Prints the table of letters that Windows-1252 lacks, for letter_table.inc.

Latin letters lose marks one at a time, innermost last, until what is left is
a Windows-1252 character (so Vietnamese e with circumflex and acute keeps its
circumflex, Hungarian o with double acute becomes a plain o); ligatures and
super- or subscript digits fall apart into their letters and digits. Greek
letters are spelled out by name, since a reader knows "alpha" better than "a".
Run it again with a newer Python when Unicode grows.
"""
import unicodedata

LATIN = [(0x0100, 0x024F), (0x0250, 0x0259), (0x1E00, 0x1EFF), (0xFB00, 0xFB06), (0x2070, 0x209F)]
GREEK = [(0x0370, 0x03FF), (0x1F00, 0x1FFF)]
# Letters that have no decomposition but an obvious plain form.
BY_HAND = {
    0x0110: "D", 0x0111: "d", 0x0126: "H", 0x0127: "h", 0x0131: "i", 0x0138: "k", 0x0149: "'n",
    0x0141: "L", 0x0142: "l", 0x014A: "N", 0x014B: "n", 0x0166: "T", 0x0167: "t",
    0x0180: "b", 0x0181: "B", 0x0189: "D", 0x018A: "D", 0x018E: "E", 0x018F: "E",
    0x0191: "F", 0x0197: "I", 0x019A: "l", 0x01A4: "P", 0x01A5: "p", 0x01AC: "T",
    0x01AD: "t", 0x01AE: "T", 0x01B3: "Y", 0x01B4: "y", 0x01B5: "Z", 0x01B6: "z",
    0x01DD: "e", 0x01E4: "G", 0x01E5: "g", 0x0221: "d", 0x0234: "l", 0x0235: "n",
    0x0236: "t", 0x0237: "j", 0x1E9E: "SS", 0x023A: "A", 0x023B: "C", 0x023C: "c", 0x023D: "L",
    0x023E: "T", 0x0243: "B", 0x0246: "E", 0x0247: "e", 0x0248: "J", 0x0249: "j",
    0x024C: "R", 0x024D: "r", 0x024E: "Y", 0x024F: "y", 0x0259: "e",
}


def cp1252(text):
    try:
        return text.encode("cp1252")
    except UnicodeEncodeError:
        return None


def plain(char):
    for form in ("NFD", "NFKD"):
        parts = unicodedata.normalize(form, char)
        while parts:
            composed = unicodedata.normalize("NFC", parts)
            done = cp1252(composed)
            if done is not None and all(c.isalnum() or c in "'\u00b7" for c in composed):
                return done
            if not unicodedata.combining(parts[-1]):
                break
            parts = parts[:-1]
    return None


def greek(char):
    name = unicodedata.name(char, "")
    for kind in ("GREEK SMALL LETTER ", "GREEK CAPITAL LETTER "):
        if name.startswith(kind):
            word = name[len(kind):].split(" WITH ")[0].lower()
            # Unicode spells lambda the old way.
            word = {"final sigma": "sigma", "lamda": "lambda"}.get(word, word)
            if " " in word or not word.isalpha():
                return None
            return (word if kind.startswith("GREEK SMALL") else word.capitalize()).encode()
    return None


def c_string(data):
    return '"' + "".join(chr(b) if 0x20 <= b < 0x7F and b not in b'"\\' else "\\x%02X\" \"" % b
                         for b in data) + '"'


rows = []
for low, high in LATIN:
    for cp in range(low, high + 1):
        if cp1252(chr(cp)) is not None:
            continue
        text = BY_HAND.get(cp, "").encode("cp1252") or plain(chr(cp))
        if text:
            rows.append((cp, "Letter", text))
for low, high in GREEK:
    for cp in range(low, high + 1):
        text = b"\xb5" if cp == 0x03BC else greek(chr(cp))
        if text:
            rows.append((cp, "Greek", text))

cells = ["{0x%04X, Fix::%s, %s}," % (cp, kind, c_string(text).replace(' ""', ""))
         for cp, kind, text in sorted(rows)]
line = "   "
for cell in cells:
    if len(line) + 1 + len(cell) > 110:
        print(line)
        line = "   "
    line += " " + cell
print(line)
