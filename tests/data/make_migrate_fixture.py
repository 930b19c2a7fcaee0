#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the committed fixture tests/data/migrate: a shop's folder as it comes off a Windows
computer, for the tests of `zemo migrate`. Made from the file layouts alone, with the data-file
writers of make_format_fixtures.py, independently of the C++ code.

  migrate/ZEMO/                  the old program folder (OLD)
    ZemoCtrl.dat                 control file; work folders C:\\ZEMO\\CD_SYS, CD_ADD, ..\\CD_TXT,
                                 \\\\SHOP\\DATA\\CD_MD; share fields stored scrambled
    ZEMOCTRL.BAK                 its backup (not carried over: it names the old folders)
    wzemo.ini                    window settings, CRLF, Shift-JIS, a position off every screen
    cd_sys/                      sysDir, found as CD_SYS whatever its case
      cd_data.zmo  CD_DATA.BAK   catalogue, 6 records (its backup 5)
      Cd_Shuf.zmo  cd_shuf.bak   tape-planning list
      CD_DEL.ZMO   CD_DEL.BAK    deleted records
      CD_NEW.ZMO   CD_NEW.BAK    new records
      Kashidashi.zmo KASHIDASHI.BAK  a list saved in share form, with a password
      HAIBAN.ZMO   HAIBAN.BAK    a list cut short inside its third record (its backup whole)
    CD_ADD/cd_add.zmo cd_add.bak records to add
    Data/cd_md/CD_LIB.ZMO CD_LIB.BAK  libDir, found under its two trailing names
  migrate/CD_TXT/                txtDir, beside the program folder
    Memo.zmo  memo.BAK           a list the shop saved there
    README.TXT                   not a data file: stays behind"""
import os
import shutil
import struct
import sys

sys.dont_write_bytecode = True  # nothing but the fixture lands in tests/data
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_format_fixtures as f  # noqa: E402

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "migrate")
OLD = os.path.join(HERE, "ZEMO")
SAVED_AT = f.stamp(2019, 3, 30, 21, 15, 0)
CREATOR = b"SHOP0042"


def rec(n: int, title: str, artist: str, seconds: int, kind: int = 1) -> dict:
    return dict(barcode="49880%08d" % (12345 + 7 * n), userCode="R-%04d" % n, artistCode="ART%03d" % n,
                title=title, artist=artist, timeSec=seconds, openDate=20190301 - 100 * n,
                saleDate=20190115, entryDate=20190201, registeredAt=f.stamp(2019, 2, 1, 10, n, 0), deletedAt=0,
                trackCount=10 + n, trackPos=1, kind=kind, infoKind=0, catalogueIndex=0)


CATALOGUE = [
    rec(1, "春の海辺で", "山田花子", 3725),
    rec(2, "夜明けのブルース", "ｻﾄｳ ﾀﾛｳ", 2890),
    rec(3, "ありがとうの歌", "東京シティ・ブラス楽団", 3312, kind=0),
    rec(4, "STRAWBERRY FIELDS", "THE SHOP BAND", 1985),
    rec(5, "冬のソナタ 第二集", "高橋ゆき", 4120),
    rec(6, "ﾌﾙｰﾄ名曲集", "鈴木一郎", 3001, kind=2),
]


def plain(kind: int, records, saved_at=SAVED_AT) -> bytes:
    return (f.header(KIND_NAMES[kind], kind, False)
            + f.info(f.sj("< ZEMO ｼｽﾃﾑﾌｧｲﾙ >"), len(records), saved_at, 0, 0, CREATOR, 0, b"")
            + b"".join(f.record(r) for r in records))


KIND_NAMES = {1: f.sj("CDﾃﾞｰﾀﾍﾞｰｽ"), 2: f.sj("振分け"), 4: f.sj("削除"), 5: f.sj("追加"), 6: f.sj("新規"),
              11: f.sj("Libraryﾃﾞｰﾀ")}


def user_file(kind: int, records, memo: str) -> bytes:
    return (f.header(KIND_NAMES[kind], kind, False)
            + f.info(f.sj(memo), len(records), SAVED_AT, 0, 0, CREATOR, 0, b"")
            + b"".join(f.record(r) for r in records))


def share_file(kind: int, records, memo: str, password: bytes) -> bytes:
    k = kind - 1
    return (f.header(KIND_NAMES[kind], kind, True)
            + f.info(f.sj(memo), len(records), SAVED_AT, k, 1, CREATOR, 1, password)
            + b"".join(f.record(r, k) for r in records))


def deleted(r: dict) -> dict:
    d = dict(r)
    d["deletedAt"] = f.stamp(2019, 3, 1, 12, 0, 0)
    return d


def control(paths) -> bytes:
    b = bytearray(f.control())
    struct.pack_into("<h", b, 128, 0)  # backupMode: keep .BAK copies
    struct.pack_into("<h", b, 160, 2)  # dbSize: 1000 records
    for slot, name in enumerate(paths):
        b[256 + 64 * slot:320 + 64 * slot] = f.field(name, 64, 63)
    return bytes(b)


PATHS = [b"", b"C:\\ZEMO\\CD_SYS", b"CD_ADD", b"..\\CD_TXT", b"\\\\SHOP\\DATA\\CD_MD", b"T_TMP", b"G_TMP", b""]

INI = "\r\n".join([
    "[Position]",
    "Main_L=5000",
    "Main_T=40",
    "Main_H=480",
    "Main_W=640",
    "Edit_L=12",
    "Edit_T=30",
    "Edit_H=520",
    "Edit_W=900",
    "[DEdit_M]",
    "Widths00=120",
    "Widths01=90",
    "[RefMd]",
    "Agr=1",
    "Art=山田",
    "[Font]",
    "SufDspFn=ＭＳ 明朝",
    "SufDspSz=11",
    "LblPrnFn=ＭＳ ゴシック",
    "",
]).encode("cp932")


def files():
    haiban = user_file(2, CATALOGUE[:4], "廃盤リスト")
    yield "ZEMO/ZemoCtrl.dat", control(PATHS)
    yield "ZEMO/ZEMOCTRL.BAK", control([b"", b"C:\\ZEMO\\OLD_SYS", b"CD_ADD", b"CD_TXT", b"CD_MD",
                                        b"T_TMP", b"G_TMP", b""])
    yield "ZEMO/wzemo.ini", INI
    yield "ZEMO/cd_sys/cd_data.zmo", plain(1, CATALOGUE)
    yield "ZEMO/cd_sys/CD_DATA.BAK", plain(1, CATALOGUE[:5], f.stamp(2019, 3, 29, 20, 0, 0))
    yield "ZEMO/cd_sys/Cd_Shuf.zmo", plain(2, [CATALOGUE[4], CATALOGUE[0], CATALOGUE[2]])
    yield "ZEMO/cd_sys/cd_shuf.bak", plain(2, [CATALOGUE[0], CATALOGUE[2]])
    yield "ZEMO/cd_sys/CD_DEL.ZMO", plain(4, [deleted(rec(7, "消えた名盤", "田中", 2400))])
    yield "ZEMO/cd_sys/CD_DEL.BAK", plain(4, [])
    yield "ZEMO/cd_sys/CD_NEW.ZMO", plain(6, CATALOGUE[4:])
    yield "ZEMO/cd_sys/CD_NEW.BAK", plain(6, CATALOGUE[4:5])
    yield "ZEMO/cd_sys/Kashidashi.zmo", share_file(5, CATALOGUE[1:3], "貸出用", b"cdshop24")
    yield "ZEMO/cd_sys/KASHIDASHI.BAK", share_file(5, CATALOGUE[1:2], "貸出用", b"cdshop24")
    # Cut inside its third record: 4 announced, 2 whole.
    yield "ZEMO/cd_sys/HAIBAN.ZMO", haiban[:384 + 2 * 192 + 100]
    yield "ZEMO/cd_sys/HAIBAN.BAK", user_file(2, CATALOGUE[:3], "廃盤リスト")
    yield "ZEMO/CD_ADD/cd_add.zmo", plain(5, [rec(8, "新入荷", "新人歌手", 2222), rec(9, "予約盤", "歌手", 1800)])
    yield "ZEMO/CD_ADD/cd_add.bak", plain(5, [rec(8, "新入荷", "新人歌手", 2222)])
    yield "ZEMO/Data/cd_md/CD_LIB.ZMO", plain(11, CATALOGUE[:2])
    yield "ZEMO/Data/cd_md/CD_LIB.BAK", plain(11, CATALOGUE[:1])
    yield "CD_TXT/Memo.zmo", user_file(2, CATALOGUE[2:4], "メモ")
    yield "CD_TXT/memo.BAK", user_file(2, CATALOGUE[2:3], "メモ")
    yield "CD_TXT/README.TXT", "ラベル用メモ\r\n".encode("cp932")


if __name__ == "__main__":
    if os.path.isdir(HERE):
        shutil.rmtree(HERE)
    for name, data in files():
        path = os.path.join(HERE, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as out:
            out.write(data)
