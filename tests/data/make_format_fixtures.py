#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the committed format fixtures of tests/data once; the tests read them and compare them
with what the program's own writers produce.

Written from the file layouts alone, independently of the C++ code, so that a layout or
scrambling mistake shows up as a disagreement between the two:

  CATALOG.ZMO   plain catalogue (kind 1): three records, Japanese text in Shift-JIS
  SHARE.ZMO     share form of the add list (kind 5): two records scrambled, with a password
  ZEMOCTRL.DAT  control file with changed settings and its share fields stored scrambled

The scrambling constants are the program's own (records/scramble.cpp); they are fixed for every
installation, so any change to them is a format change and must fail the tests."""
import os
import struct
from datetime import datetime

HERE = os.path.dirname(os.path.abspath(__file__))
SIGNATURE = b"ZEMO DATA FILE < by qend >"


def sj(text: str) -> bytes:
    return text.encode("cp932")


def field(text: bytes, width: int, max_len: int) -> bytes:
    assert len(text) <= max_len < width, (text, width)
    return text.ljust(width, b"\0")


def stamp(*t) -> int:
    """Seconds since 1970-01-01 00:00 of a local time, no time zone involved."""
    return int((datetime(*t) - datetime(1970, 1, 1)).total_seconds())


# --- scrambling ---------------------------------------------------------------------------------

KEYS = [
    [0x5A3C96E1, -0x2B7D4F13, 0x13579BDF, 0x7E6D5C4B, -0x00C0FFEE, 0x24681357, 0x0BADF00D, -0x6A5B4C3D],
    [0x3141592B, 0x27182818, -0x16180339, 0x7FFFFFF5, 0x00000003, -0x55555552, 0x12345676, 0x0F0F0F0E],
    [0x6B8B4567, 0x327B23C6, -0x643C9869, 0x66334873, 0x74B0DC51, -0x19495CFF, 0x2AE8944A, 0x625558EC],
]
# (offset, span, xor byte, byte rotation, key group, key entry offset j)
INFO_FIELDS = [(74, 8, 0xA5, 3, 0, 1), (92, 14, 0x5C, 5, 0, 2)]
RECORD_FIELDS = [(0, 14, 0x3E, 6, 2, 1), (32, 30, 0xC3, 11, 2, 2), (64, 40, 0x69, 17, 2, 3),
                 (106, 40, 0x96, 23, 2, 4), (16, 14, 0x71, 4, 1, 1)]
# Control file share fields: (offset, span, xor byte, byte rotation, fixed bit rotation)
SHARE_FIELDS = [(900, 8, 0xD2, 2, 5), (916, 11, 0x4B, 7, 3)]


def c_mod8(k: int) -> int:
    """Remainder that keeps the sign of k."""
    r = abs(k) % 8
    return -r if k < 0 else r


def scramble_span(buf: bytearray, off: int, span: int, xor: int, rot: int, key: int):
    s = bytes(b ^ xor for b in buf[off:off + span])
    s = s[span - rot:] + s[:span - rot]  # the last rot bytes move to the front
    bits = c_mod8(key)
    if bits > 0:
        s = bytes(((b >> bits) | (b << (8 - bits))) & 0xFF for b in s)
    buf[off:off + span] = s


def scramble(buf: bytearray, fields, k: int):
    for off, span, xor, rot, group, j in fields:
        entry = (k + j) % 8  # k + j is never negative here
        scramble_span(buf, off, span, xor, rot, KEYS[group][entry])


# --- data files ---------------------------------------------------------------------------------

def header(kind_title: bytes, kind: int, share: bool, sub: bytes = b"") -> bytes:
    h = field(SIGNATURE, 32, 31) + field(kind_title, 32, 31) + field(sub, 32, 31)
    h += struct.pack("<HHHH", 0x1237 if share else 0x1236, 0x0302, kind, 4 if share else 3)
    h += bytes(24)
    assert len(h) == 128
    return h


def info(memo: bytes, count: int, saved_at: int, key_index: int, scrambled: int, creator: bytes,
         has_password: int, password: bytes) -> bytes:
    b = bytearray(field(memo, 62, 60))
    b += struct.pack("<hihhh", count, saved_at, key_index, scrambled, 0)
    b += field(creator, 16, 15) + struct.pack("<h", has_password) + field(password, 16, 14)
    b += bytes(148)
    assert len(b) == 256
    if scrambled:
        scramble(b, INFO_FIELDS, key_index)
    return bytes(b)


def record(r: dict, key_index=None) -> bytes:
    b = bytearray()
    b += field(sj(r["barcode"]), 16, 14) + field(sj(r["userCode"]), 16, 14)
    b += field(sj(r["artistCode"]), 32, 30) + field(sj(r["title"]), 42, 40) + field(sj(r["artist"]), 42, 40)
    b += struct.pack("<iiiiii", r["timeSec"], r["openDate"], r["saleDate"], r["entryDate"],
                     r["registeredAt"], r["deletedAt"])
    b += struct.pack("<hhhhhh", 1, r["trackCount"], r["trackPos"], r["kind"], r["infoKind"], r["catalogueIndex"])
    b += bytes(8)
    assert len(b) == 192
    if key_index is not None:
        scramble(b, RECORD_FIELDS, key_index)
    return bytes(b)


SAVED_AT = stamp(2024, 5, 6, 7, 8, 9)
CREATOR = b"SHOP0042"

RECORDS = [
    dict(barcode="4988002345671", userCode="R-0001", artistCode="ﾔﾏﾀﾞ ﾊﾅｺ", title="春の海辺で",
         artist="山田花子", timeSec=3725, openDate=20240415, saleDate=20240327, entryDate=20240410,
         registeredAt=stamp(2024, 4, 10, 18, 30, 0), deletedAt=0, trackCount=12, trackPos=1, kind=1,
         infoKind=0, catalogueIndex=0),
    # Every text field at its longest: 14-byte codes, 30-byte artist code, 40-byte title and artist.
    dict(barcode="49880099887766", userCode="ﾚﾝﾀﾙ-0002-ABCD", artistCode="TOKYO CITY BRASS ORCHESTRA 001",
         title="ありがとうの歌をもう一度だけ聞かせてよね", artist="東京シティ・ブラス楽団と仲間たちの合唱隊",
         timeSec=275, openDate=20231201, saleDate=20231115, entryDate=20231120,
         registeredAt=stamp(2023, 11, 20, 9, 0, 30), deletedAt=0, trackCount=2, trackPos=2, kind=0,
         infoKind=2, catalogueIndex=3),
    dict(barcode="CD-XYZ", userCode="", artistCode="", title="", artist="", timeSec=0, openDate=0,
         saleDate=0, entryDate=0, registeredAt=0, deletedAt=stamp(2024, 1, 2, 3, 4, 5), trackCount=99,
         trackPos=99, kind=4, infoKind=1, catalogueIndex=7),
]


def catalogue() -> bytes:
    return (header(sj("CDﾃﾞｰﾀﾍﾞｰｽ"), 1, False)
            + info(sj("< ZEMO ｼｽﾃﾑﾌｧｲﾙ >"), 3, SAVED_AT, 0, 0, CREATOR, 0, b"")
            + b"".join(record(r) for r in RECORDS))


SHARE_KIND = 5  # the add list: key index 4, so the record keys wrap round the table


def share_form() -> bytes:
    k = SHARE_KIND - 1
    return (header(sj("追加"), SHARE_KIND, True)
            + info(sj("貸出用 見本データ"), 2, SAVED_AT, k, 1, CREATOR, 1, b"cdshop24")
            + b"".join(record(r, k) for r in RECORDS[:2]))


# --- control file -------------------------------------------------------------------------------

def label_sides(vertical: bool) -> bytes:
    sides = []
    for side in (0, 1):
        feed = (2 if vertical else 5) if side == 0 else 0
        # subtitleFeed, subtitlePrint, subtitleSpace, dataFeed, dataSpace, numberPrint,
        # titleWidth, artistWidth, timePrint
        sides += [feed, 1, 0, 0, 0, 1, 32 if vertical else 30, 26 if vertical else 0, 1 if vertical else 0]
    artist = [1, 1] if vertical else [0, 0]
    return struct.pack("<20h", *sides, *artist)


def label_layout(title: bytes = b"") -> bytes:
    b = struct.pack("<15h", 0, 0, 123, 0, 0, 0, 0, 4, 6, 0, 0, 60, 1, 0, 0)
    b += field(title, 62, 60) + struct.pack("<hh", 0, 0)
    b += label_sides(True) + struct.pack("<hh", 0, 0) + bytes(4) + label_sides(False) + bytes(8)
    assert len(b) == 192
    return b


SHARE_EXTRA = bytes(range(1, 12))


def control() -> bytes:
    b = bytearray(2048)
    b[0:128] = header(sj("システムコントロール"), 0, False, sj("メモ"))
    # modeBlock: backupMode 1, 130 kept as read, searchCodeMode 1, sortMode 0, 136..140 zero, 144 one
    struct.pack_into("<hhhhhhh", b, 128, 1, 5, 1, 0, 0, 0, 0)
    struct.pack_into("<h", b, 144, 1)
    struct.pack_into("<h", b, 160, 3)  # dbSize
    for slot, name in enumerate([b"", b"CD_SYS", b"CD_ADD", b"CD_TXT", b"CD_MD", b"T_TMP", b"G_TMP", b""]):
        b[256 + 64 * slot:320 + 64 * slot] = field(name, 64, 63)
    struct.pack_into("<7h", b, 768, 1, 67, 67, 129, 1, 0, 1)
    # shuffleBlock: startA, startB at 846; plusOnly 854; tolerance 864; targetSec 868
    struct.pack_into("<hh", b, 846, 1, 1)
    struct.pack_into("<h", b, 854, 1)
    struct.pack_into("<ii", b, 864, 8, 2700)
    # shareBlock, the two share fields stored scrambled (marker 0x0303, scrambledNow 1)
    b[900:916] = field(CREATOR, 16, 15)
    b[916:927] = SHARE_EXTRA
    struct.pack_into("<hHh", b, 932, 1, 0x0303, 1)
    b[938:954] = field(b"cd shop 24", 16, 14)
    for off, span, xor, rot, bits in SHARE_FIELDS:
        scramble_span(b, off, span, xor, rot, bits)
    # reviseBlock
    struct.pack_into("<iid", b, 1024, 3600, 3590, 1.0)
    b[1056:1248] = label_layout(sj("ドライブ用ミックス"))
    for p in range(4):
        b[1250 + 192 * p:1442 + 192 * p] = label_layout()
    return bytes(b)


if __name__ == "__main__":
    for name, data in (("CATALOG.ZMO", catalogue()), ("SHARE.ZMO", share_form()), ("ZEMOCTRL.DAT", control())):
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)
