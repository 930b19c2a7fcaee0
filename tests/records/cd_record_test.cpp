// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "platform/sjis.h"
#include "records/cd_record.h"
#include "records/data_file.h"
#include "records/scramble.h"
#include "support/scripted_prompter.h"

namespace zemo {
namespace {

std::vector<std::uint8_t> bytesOf(const void* p, std::size_t n) {
    auto b = static_cast<const std::uint8_t*>(p);
    return std::vector<std::uint8_t>(b, b + n);
}

CdRecord sampleRecord(std::mt19937& rng) {
    CdRecord r;
    auto* b = reinterpret_cast<std::uint8_t*>(&r);
    for (std::size_t i = 0; i < sizeof r; ++i) b[i] = static_cast<std::uint8_t>(rng());
    return r;
}

TEST(CdRecord, ClearedRecordIsZeroExceptTrackCountAndPosition) {
    CdRecord r;
    std::memset(&r, 0xAB, sizeof r);
    clearCdRecord(r);
    CdRecord expected;
    std::memset(&expected, 0, sizeof expected);
    expected.trackCount = 1;
    expected.trackPos = 1;
    EXPECT_EQ(bytesOf(&r, 192), bytesOf(&expected, 192));
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&r);
    EXPECT_EQ(raw[174], 1);
    EXPECT_EQ(raw[176], 1);
    EXPECT_EQ(r.active, 0);
}

TEST(CdRecord, FieldTextStopsAtFieldEndWithoutNul) {
    CdRecord r = clearedRecord();
    std::memset(r.barcode, 'A', sizeof r.barcode);  // no terminating NUL inside the field
    EXPECT_EQ(fieldText(r.barcode), std::string(16, 'A'));
    setField(r.barcode, "12345678901234567890", kBarcodeMax);
    EXPECT_EQ(fieldText(r.barcode), "12345678901234");
    EXPECT_EQ(r.barcode[14], 0);
    EXPECT_EQ(r.barcode[15], 0);
}

TEST(CdRecord, SetFieldNeverSplitsADoubleByteCharacter) {
    CdRecord r = clearedRecord();
    std::string text = std::string(13, 'x') + sj("あ");  // 15 bytes; the kana would straddle 14
    setField(r.barcode, text, kBarcodeMax);
    EXPECT_EQ(fieldText(r.barcode), std::string(13, 'x'));
}

TEST(CdRecord, KindNamesAndDefaultFiles) {
    EXPECT_EQ(kindName(1), sj("CDﾃﾞｰﾀﾍﾞｰｽ"));
    EXPECT_EQ(kindName(2), sj("振分け"));
    EXPECT_EQ(kindName(11), sj("Libraryﾃﾞｰﾀ"));
    EXPECT_EQ(kindName(12), "???");
    EXPECT_EQ(defaultFileName(0), "ZEMOCTRL.DAT");
    EXPECT_EQ(defaultFileName(7), "CD_REF.ZMO");
    EXPECT_EQ(defaultFileName(12), "???");
    EXPECT_EQ(recordKindName(4), sj("5:その他"));
    EXPECT_EQ(infoKindName(1), sj("2:ﾀｲﾄﾙ"));
    for (int k = 0; k <= 11; ++k) EXPECT_LE(kindName(k).size(), 31u) << k;
}

TEST(Scramble, RecordRoundTripsForEveryKeyIndex) {
    std::mt19937 rng(7);
    for (int k = -3; k <= 12; ++k) {
        for (int n = 0; n < 20; ++n) {
            CdRecord r = sampleRecord(rng);
            CdRecord s = r;
            scrambleRecord(s, kScrambleApply, k);
            EXPECT_NE(bytesOf(&s, 192), bytesOf(&r, 192));
            scrambleRecord(s, kScrambleUndo, k);
            ASSERT_EQ(bytesOf(&s, 192), bytesOf(&r, 192)) << "keyIndex " << k;
        }
    }
}

TEST(Scramble, InfoRoundTripsForEveryKeyIndex) {
    std::mt19937 rng(11);
    for (int k = -3; k <= 12; ++k) {
        DataFileInfo info;
        auto* b = reinterpret_cast<std::uint8_t*>(&info);
        for (std::size_t i = 0; i < sizeof info; ++i) b[i] = static_cast<std::uint8_t>(rng());
        DataFileInfo s = info;
        scrambleInfo(s, kScrambleApply, k);
        // Only creatorId's first 8 bytes and password's first 14 bytes may change.
        for (std::size_t i = 0; i < sizeof info; ++i) {
            bool inSpan = (i >= 74 && i < 82) || (i >= 92 && i < 106);
            if (!inSpan) {
                EXPECT_EQ(reinterpret_cast<std::uint8_t*>(&s)[i], b[i]) << i;
            }
        }
        scrambleInfo(s, kScrambleUndo, k);
        EXPECT_EQ(bytesOf(&s, 256), bytesOf(&info, 256)) << "keyIndex " << k;
    }
}

TEST(Scramble, ChangesOnlyTheFiveTextSpans) {
    std::mt19937 rng(3);
    // Spans: barcode 0..13, userCode 16..29, artistCode 32..61, title 64..103, artist 106..145.
    auto inSpan = [](std::size_t i) {
        return i < 14 || (i >= 16 && i < 30) || (i >= 32 && i < 62) || (i >= 64 && i < 104) ||
               (i >= 106 && i < 146);
    };
    for (int k = 0; k < 11; ++k) {
        CdRecord r = sampleRecord(rng);
        CdRecord s = r;
        scrambleRecord(s, kScrambleApply, k);
        const auto* a = reinterpret_cast<const std::uint8_t*>(&r);
        const auto* b = reinterpret_cast<const std::uint8_t*>(&s);
        int changed = 0;
        for (std::size_t i = 0; i < 192; ++i) {
            if (!inSpan(i)) {
                EXPECT_EQ(a[i], b[i]) << "byte " << i;
            } else {
                changed += a[i] != b[i];
            }
        }
        EXPECT_GT(changed, 100);
    }
}

TEST(Scramble, ShortBarcodePaddingIsScrambledButBytes14And15AreNot) {
    CdRecord r = clearedRecord();
    setField(r.barcode, "4988");
    CdRecord s = r;
    scrambleRecord(s, kScrambleApply, 0);
    EXPECT_EQ(s.barcode[14], 0);
    EXPECT_EQ(s.barcode[15], 0);
    int zeroInSpan = 0;
    for (int i = 4; i < 14; ++i) zeroInSpan += s.barcode[i] == 0;
    EXPECT_LT(zeroInSpan, 10);  // the NUL and padding up to byte 13 took part
}

TEST(Scramble, OldLevelUserCodeRestoredByRescrambling) {
    // A level-2 file stores userCode plain: the reader unscrambles everything, then scrambles
    // userCode again, which gives back the stored bytes.
    CdRecord plain = clearedRecord();
    setField(plain.barcode, "1234567890123");
    setField(plain.userCode, "U-0001");
    CdRecord stored = plain;
    scrambleRecord(stored, kScrambleApply, 1);
    std::memcpy(stored.userCode, plain.userCode, sizeof plain.userCode);  // as an old writer left it
    CdRecord read = stored;
    scrambleRecord(read, kScrambleUndo, 1);
    scrambleUserCode(read, kScrambleApply, 1);
    EXPECT_EQ(fieldText(read.userCode), "U-0001");
    EXPECT_EQ(fieldText(read.barcode), "1234567890123");
}

TEST(Scramble, ShareFieldsRoundTrip) {
    char creator[16] = "ABCDEFGH";
    std::uint8_t extra[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    char c2[16];
    std::uint8_t e2[11];
    std::memcpy(c2, creator, 16);
    std::memcpy(e2, extra, 11);
    scrambleShareFields(c2, e2, kScrambleApply);
    EXPECT_NE(std::memcmp(c2, creator, 8), 0);
    EXPECT_EQ(std::memcmp(c2 + 8, creator + 8, 8), 0);
    EXPECT_NE(std::memcmp(e2, extra, 11), 0);
    scrambleShareFields(c2, e2, kScrambleUndo);
    EXPECT_EQ(std::memcmp(c2, creator, 16), 0);
    EXPECT_EQ(std::memcmp(e2, extra, 11), 0);
}

TEST(Scramble, SpanStepsFollowTheStatedOrder) {
    // XOR 0x0F, rotate right by one byte, then bits right by 1 (key 9 mod 8).
    std::uint8_t s[3] = {0x10, 0x20, 0x30};
    scrambleSpan(s, 3, 0x0F, 1, 9, kScrambleApply);
    // after XOR: 1F 2F 3F; byte rotation: 3F 1F 2F; bit rotation right 1: 9F 8F 97
    EXPECT_EQ(s[0], 0x9F);
    EXPECT_EQ(s[1], 0x8F);
    EXPECT_EQ(s[2], 0x97);
    // A negative key leaves the bits alone (its remainder keeps the sign).
    std::uint8_t t[3] = {0x10, 0x20, 0x30};
    scrambleSpan(t, 3, 0x0F, 1, -9, kScrambleApply);
    EXPECT_EQ(t[0], 0x3F);
    EXPECT_EQ(t[1], 0x1F);
    EXPECT_EQ(t[2], 0x2F);
}

TEST(DataFileHeader, BuildHeaderPlainAndShareForms) {
    DataFileHeader h = buildHeader(true, false, kindName(1), 1, "");
    EXPECT_STREQ(h.signature, "ZEMO DATA FILE < by qend >");
    EXPECT_EQ(h.magic, 0x1236);
    EXPECT_EQ(h.formatLevel, 3);
    EXPECT_EQ(h.dataVersion, 0x0302);
    EXPECT_EQ(h.fileKind, 1);
    EXPECT_EQ(fieldText(h.kindTitle), kindName(1));
    for (auto b : h.zero) EXPECT_EQ(b, 0);
    DataFileHeader s = buildHeader(true, true, kindName(2), 2, "");
    EXPECT_EQ(s.magic, 0x1237);
    EXPECT_EQ(s.formatLevel, 4);
    DataFileHeader n = buildHeader(false, true, kindName(2), 2, "");
    EXPECT_EQ(n.magic, 0x1236);
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&s);
    EXPECT_EQ(raw[96], 0x37);
    EXPECT_EQ(raw[97], 0x12);
}

TEST(DataFilePaths, DefaultPathsAndDirectoryResolution) {
    ScriptedPrompter p;
    FixedClock c;
    Workspace ws(p, c, "/opt/zemo");
    setField(ws.control.paths[kPathSys], "CD_SYS");
    setField(ws.control.paths[kPathAdd], "CD_ADD\\");
    setField(ws.control.paths[kPathLib], "/mnt/lib");
    EXPECT_EQ(defaultFilePath(ws, 0), "/opt/zemo/ZEMOCTRL.DAT");
    EXPECT_EQ(defaultFilePath(ws, 1), "/opt/zemo/CD_SYS/CD_DATA.ZMO");
    EXPECT_EQ(defaultFilePath(ws, 5), "/opt/zemo/CD_ADD/CD_ADD.ZMO");
    EXPECT_EQ(defaultFilePath(ws, 11), "/mnt/lib/CD_LIB.ZMO");
    EXPECT_EQ(defaultFilePath(ws, 12), "/opt/zemo/???");
    EXPECT_EQ(resolveDir(ws, "DATA\\"), "/opt/zemo/DATA/");
    EXPECT_EQ(resolveDir(ws, "/srv/DATA"), "/srv/DATA/");
    EXPECT_EQ(resolveDir(ws, "A\\B\\C"), "/opt/zemo/A/B/C/");
    // Blanks inside a folder's name stay; those around the setting are dropped.
    EXPECT_EQ(resolveDir(ws, "/media/shop/My Stick"), "/media/shop/My Stick/");
    EXPECT_EQ(resolveDir(ws, " \u3000CD SYS\u3000 "), "/opt/zemo/CD SYS/");
    setField(ws.control.paths[kPathSys], sj("My\u3000Data "));
    EXPECT_EQ(defaultFilePath(ws, 1), "/opt/zemo/My\u3000Data/CD_DATA.ZMO");
}

}  // namespace
}  // namespace zemo
