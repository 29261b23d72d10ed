#!/usr/bin/env python3
"""Writes the hand-made seed inputs of the fuzz corpus.

Each seed has a name that says what it tries. The inputs that libFuzzer
found and that were merged into the corpus later have hash names; this script
neither writes nor removes those. Run it from anywhere:
    python3 fuzz/make_seeds.py
"""
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
GER = b"GerEng Data Starts Here:"
ENG = b"EngGer Data Starts Here:"
CRLF = b"\r\n"


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def line(source, translation):
    """A line in the composer's fixed columns."""
    return source.ljust(43, b" ") + b"*" + translation + CRLF


def search_seed(name, text, data, eng_ger=False, page=20):
    """byte 0: text length; byte 1: direction bit and page height."""
    assert len(text) <= 80 and page < 128
    flags = (page << 1) | (1 if eng_ger else 0)
    write("search", name, bytes([len(text), flags]) + text + data)


def search_seeds(rng):
    header = b"Vokabix dictionary\r\nfree header text\r\n"
    entries = (line(b"Haus", b"house") + line(b"Hausarzt", b"family doctor")
               + b"  12 (Haushalt*household\r\n" + line(b"haus", b"lower case")
               + line(b"Hut", b"hat") + line(b"\xc4rger", b"annoyance")
               + line(b"\xfcber", b"over") + line(b"Stra\xdfe", b"street"))
    ger = header + GER + CRLF + entries
    search_seed("gereng_prefix", b"Haus", ger)
    search_seed("gereng_case", b"haus", ger)
    search_seed("gereng_umlaut", b"\xc4r", ger)
    search_seed("gereng_u_circumflex", b"\xfc", ger)
    search_seed("gereng_sharp_s", b"Stra\xdf", ger)
    search_seed("gereng_no_match", b"Zebra", ger)
    search_seed("gereng_page0", b"H", ger, page=0)
    search_seed("gereng_page1", b"H", ger, page=1)
    search_seed("gereng_page127", b"H", ger, page=127)
    search_seed("gereng_whole_line", b"Haus" + b" " * 39 + b"*house\r\nHaus", ger)
    search_seed("engger_house", b"house", header + ENG + CRLF + line(b"house", b"Haus")
                + line(b"household", b"Haushalt") + line(b"to go", b" gehen"), eng_ger=True)
    search_seed("other_direction_marker", b"Haus", header + ENG + CRLF + entries)
    search_seed("marker_lower_case", b"Haus", b"gereng data starts here:\r\n" + entries)
    search_seed("no_marker", b"Haus", header + entries)
    search_seed("marker_at_start", b"Haus", GER + CRLF + entries)
    search_seed("marker_twice", b"GerEng", GER + CRLF + GER + CRLF + entries)
    search_seed("marker_at_end", b"G", header + GER)
    search_seed("marker_cut_short", b"G", header + GER[:-1])
    search_seed("marker_then_word", b"Haus", GER + b"Haus*house\r\n")
    search_seed("short_file", b"a", b"GerEng")
    search_seed("empty_file", b"a", b"")
    search_seed("empty_text", b"", GER + CRLF + entries)
    search_seed("blank_text", b" ", GER + b" a*b\r\n")
    search_seed("digit_text", b"1", GER + b"12*twelve\r\n1*one\r\n")
    search_seed("text_80", b"a" * 80, GER + CRLF + b"a" * 90 + b"*x\r\n")
    search_seed("text_with_crlf", b"a\r\nb", GER + CRLF + b"a\r\nb*c\r\na*d\r\n")
    search_seed("no_final_crlf", b"Haus", GER + CRLF + line(b"Hut", b"hat") + b"Haus*house")
    search_seed("no_star_last_line", b"Haus", GER + CRLF + line(b"Hut", b"hat") + b"Haus house\r\n")
    search_seed("no_star_no_crlf", b"Haus", GER + CRLF + b"Haus")
    search_seed("no_star_then_star", b"Haus", GER + CRLF + b"Haus house\r\nHut*hat\r\n")
    search_seed("star_at_end", b"Haus", GER + CRLF + b"Haus*")
    search_seed("star_in_translation", b"Stern", GER + CRLF + b"Stern*star * asterisk\r\n")
    search_seed("lone_cr_lf", b"a", GER + CRLF + b"a*b\rc\nd\r\na*\n\r\n\r\r\na*z\r")
    search_seed("cr_at_end", b"a", GER + CRLF + b"a*b\r")
    search_seed("empty_lines", b"a", GER + CRLF + b"a*1\r\n\r\n\r\n  \r\n99\r\na*2\r\n")
    search_seed("leading_junk", b"Haus", GER + CRLF + b" 1(Haus*a\r\n{|}~\x7f\x80\xe9Haus*b\r\n")
    search_seed("word_start_signs", b"[", GER + CRLF + b"[x*1\r\n\\y*2\r\n]z*3\r\n^*4\r\n_*5\r\n`*6\r\n")
    many = b"".join(b"a%d*x\r\n" % i for i in range(501))
    search_seed("matches_501", b"a", GER + CRLF + many)
    search_seed("matches_500", b"a", GER + CRLF + many[: many.index(b"a500")])
    search_seed("matches_600_no_star", b"a", GER + CRLF + b"a\r\n" * 600)
    # Data of a few bytes only, where a scan that works in steps may stop short.
    search_seed("data_2_bytes", b"H", GER + b"\r\n")
    search_seed("data_3_bytes", b"H", GER + b"\r\nH")
    search_seed("data_4_bytes", b"Ha", GER + b"\r\nHa")
    search_seed("data_1_byte", b"H", GER + b"H")
    # Line ends at every position modulo 64, and lines that open with blanks
    # or umlauts, so that line starts fall on every place of a 64-byte block.
    staggered = b"".join(b"%s%s*x\r\n" % (b" " * (k % 3), (b"ab" * 40)[: k % 67]) for k in range(70))
    search_seed("staggered_lines", b"a", GER + CRLF + staggered)
    search_seed("staggered_lines_b", b"ba", GER + CRLF + staggered)
    search_seed("staggered_umlauts", b"\xfc", GER + CRLF + staggered.replace(b" a", b"\xfca"))
    crlf_runs = b"".join(b"\r\n" * (k % 5) + b"\r" * (k % 2) + b"H%d*h\r\n" % k for k in range(60))
    search_seed("crlf_runs", b"H", GER + CRLF + crlf_runs)
    noise = bytes(rng.randrange(256) for _ in range(300))
    search_seed("noise_with_marker", b"a", noise[:100] + GER + noise[100:])
    search_seed("noise_without_marker", b"\x8f", noise)
    alphabet = b"ab*\r\n \xfc("
    mixed = bytes(rng.choice(alphabet) for _ in range(400))
    search_seed("small_alphabet", b"a", GER + mixed)


def compose_seeds():
    entries = [
        b"Haus (n) house", b"Haus house", b"  Haus house", b"Haus: house",
        b"gut aussehend good-looking", b"Haus (n) : : house", b"Haus (n) ::  ",
        b"a (b (x) d) e", b"to go: gehen", b"to go : gehen", b"house (n) Haus",
        b"to go(v): gehen", b"house Haus", b"house", b"house ", b"", b"house (n Haus",
        b"Haus", b"Haus  ", b"Haus (n", b"Haus (n)", b":house", b"house:", b"house (n)",
        b"a" * 39 + b" x", b"a" * 40 + b" x", b"a" * 62 + b" ",
        b"a:" + b"b" * 78, b"St*rn star", b"\xc4rger annoyance", b"(n) x", b"()",
        b"a ( : ) b", b"to be or not to be: sein oder nicht sein",
        b"x" * 127, b"y" * 126 + b" z", b"a" * 120 + b" " + b"b" * 79,
        b"a:" + b"c" * 130, b"w " * 20 + b": long",
    ]
    for i, entry in enumerate(entries):
        write("compose", "entry_%02d" % i, entry)


def strongs_record(first, second, third, fourth):
    return (b"\xfb" + first.ljust(17, b" ") + second.ljust(17, b" ")
            + third.ljust(17, b" ") + fourth + CRLF)


def strongs_seeds(rng):
    # Short fourth columns keep 260 records below the fuzzer's input limit.
    records = [strongs_record(b"H%04d" % i, b"word%d" % i, b"noun", b"m%d" % i) for i in range(260)]
    write("strongs", "one_record", records[0])
    write("strongs", "three_records", b"".join(records[:3]))
    write("strongs", "records_250", b"".join(records[:250]))
    write("strongs", "records_260", b"".join(records))
    write("strongs", "empty", b"")
    write("strongs", "mark_only", b"\xfb")
    write("strongs", "cut_in_first_column", b"\xfbH0001")
    write("strongs", "cut_in_third_column", records[0][:40])
    write("strongs", "no_final_crlf", records[0] + records[1][:-2])
    write("strongs", "cr_at_end", records[0][:-1])
    write("strongs", "even_title_line", b"Title!\r\n" + records[0])
    write("strongs", "odd_title_line", b"Title\r\n" + records[0] + records[1])
    write("strongs", "mark_mid_line", b"ab\xfb" + b"x" * 60 + CRLF)
    write("strongs", "crlf_in_columns", b"\xfb" + b"\r\n" * 25 + b"rest\r\n")
    write("strongs", "empty_fourth", strongs_record(b"a", b"b", b"c", b""))
    write("strongs", "lone_cr_lf", b"\r\n\r\r\n\n\r" + records[0] + b"\n\r")
    write("strongs", "only_crlf", CRLF * 40)
    write("strongs", "marks_only", b"\xfb" * 120)
    write("strongs", "noise", bytes(rng.randrange(256) for _ in range(500)))
    write("strongs", "short_noise", bytes(rng.choice(b"\xfb\r\nab") for _ in range(300)))


def main():
    rng = random.Random(1994)
    search_seeds(rng)
    compose_seeds()
    strongs_seeds(rng)


if __name__ == "__main__":
    main()
