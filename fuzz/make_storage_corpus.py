#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the small seed corpora of data_file_fuzz and control_file_fuzz into fuzz/corpus/.

Each seed is a few hundred bytes to a few kilobytes: valid files and typical damage (truncation,
wrong magic or level, impossible record counts, a protected file, a scrambled one)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SIGNATURE = b"ZEMO DATA FILE < by qend >"


def field(text: bytes, width: int) -> bytes:
    return text[:width].ljust(width, b"\0")


def header(kind: int, magic: int = 0x1236, level: int = 3, title: bytes = b"CD\xc3\xde\xb0\xc0\xcd\xde\xb0\xbd",
           sub: bytes = b"") -> bytes:
    h = field(SIGNATURE, 32) + field(title, 32) + field(sub, 32)
    h += struct.pack("<HHHH", magic, 0x0302, kind, level)
    return h + bytes(24)


def info(count: int, scrambled: int = 0, key: int = 0, password: bytes = b"", has_password: int = 0,
         memo: bytes = b"< ZEMO seed >") -> bytes:
    b = field(memo, 62) + struct.pack("<hihh", count, 1715767200, key, scrambled) + bytes(2)
    b += field(b"SEED0001", 16) + struct.pack("<h", has_password) + field(password, 16)
    return b.ljust(256, b"\0")


def record(i: int, active: int = 1) -> bytes:
    b = field(b"4988%010d" % i, 16) + field(b"U%d" % i, 16) + field(b"ART%d" % i, 32)
    b += field(b"TITLE %d" % i, 42) + field(b"ARTIST %d" % i, 42)
    b += struct.pack("<iiiiii", 200 + i, 20240101, 20231201, 20240301, 1700000000 + i, 0)
    b += struct.pack("<hhhhhh", active, 3, 1 + i % 3, i % 5, i % 3, 0)
    return b + bytes(8)


def cleared() -> bytes:
    return bytes(172) + struct.pack("<hhh", 0, 1, 1) + bytes(14)


def data_seeds():
    three = header(1) + info(3) + b"".join(record(i) for i in range(3))
    return {
        "three_records.zmo": three,
        "empty_kind2.zmo": header(2, title=b"\x90\x55\x95\xaa\x82\xaf") + info(0) + cleared() * 2,
        "five_records_truncation.zmo": header(1) + info(5) + b"".join(record(i) for i in range(5)),
        "gap_inactive.zmo": header(1) + info(2) + record(0) + record(1, active=0),
        "password_plain.zmo": header(1, 0x1237, 4) + info(1, password=b"zemo", has_password=1) + record(7),
        "scrambled_level2.zmo": header(1, 0x1237, 2) + info(2, scrambled=1, key=0) + record(1) + record(2),
        "scrambled_level4.zmo": header(1, 0x1237, 4) + info(1, scrambled=1, key=3) + record(4),
        "truncated_in_record.zmo": three[:384 + 192 + 77],
        "truncated_in_info.zmo": three[:200],
        "header_only.zmo": three[:128],
        "wrong_magic.zmo": header(1, magic=0x4D5A) + info(1) + record(0),
        "level_0105.zmo": header(1, level=0x0105) + info(1) + record(0),
        "negative_count.zmo": header(1) + info(-1) + record(0),
        "count_too_large.zmo": header(1) + info(9) + record(0),
    }


def control(marker: int = 0, scrambled_now: int = 0, share_mode: int = 0, magic: int = 0x1236,
            level: int = 3) -> bytes:
    b = bytearray(2048)
    b[0:128] = header(0, magic, level, title=b"\x83\x56\x83\x58\x83\x65\x83\x80", sub=b"\x83\x81\x83\x82")
    struct.pack_into("<h", b, 144, 1)
    struct.pack_into("<h", b, 160, 2)
    for slot, name in enumerate([b"", b"CD_SYS", b"CD_ADD", b"CD_TXT", b"CD_MD", b"T_TMP", b"G_TMP"]):
        b[256 + 64 * slot:256 + 64 * slot + 64] = field(name, 64)
    struct.pack_into("<hhhhhhh", b, 768, 1, 67, 67, 129, 1, 0, 1)
    struct.pack_into("<hh", b, 846, 1, 1)
    struct.pack_into("<h", b, 854, 1)
    struct.pack_into("<i", b, 864, 5)
    b[900:916] = field(b"SHOP0001", 16)
    struct.pack_into("<hHh", b, 932, scrambled_now, marker, share_mode)
    b[938:954] = field(b"secret", 16)
    struct.pack_into("<d", b, 1032, 1.0)
    struct.pack_into("<hhhhhhhhhhhh", b, 1056, 0, 0, 123, 0, 0, 0, 0, 4, 6, 0, 0, 60)
    return bytes(b)


def control_seeds():
    plain = control()
    return {
        "plain.dat": plain,
        "share_marker.dat": control(marker=0x0303, scrambled_now=1, share_mode=1),
        "marker_not_scrambled.dat": control(marker=0x0303, scrambled_now=0),
        "short.dat": plain[:1000],
        "header_only.dat": plain[:128],
        "longer.dat": plain + b"\xee" * 64,
        "wrong_magic.dat": control(magic=0x4D5A),
        "foreign.dat": control(magic=0x4D5A, level=0x0105),
        "level_0105.dat": control(level=0x0105),
    }


def write(target: str, seeds: dict):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    write("data_file_fuzz", data_seeds())
    write("control_file_fuzz", control_seeds())
