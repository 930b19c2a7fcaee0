// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "support/scripted_prompter.h"
#include "platform/sjis.h"
#include "records/cd_record.h"
#include "records/text.h"
#include "records/workspace.h"

namespace zemo {
namespace {

// CP932 bytes of the characters used below; the trail bytes of ヂ, ッ and ツ are 'a', 'b' and 'c',
// that of ァ is 0x40 like the full-width space, and ＝ is 0x81 0x81.
const std::string kFullBlank = sj("　");

TEST(TextBytes, LeadAndTrailRanges) {
    struct Case { int b; bool lead; bool trail; };
    const Case cases[] = {
        {0x20, false, false}, {0x3F, false, false}, {0x40, false, true},  {0x61, false, true},
        {0x7F, false, true},  {0x80, false, true},  {0x81, true, true},   {0x9F, true, true},
        {0xA0, false, true},  {0xB1, false, true},  {0xDF, false, true},  {0xE0, true, true},
        {0xFC, true, true},   {0xFD, false, false}, {0xFF, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.b);
        EXPECT_EQ(isLeadByte(static_cast<unsigned char>(c.b)), c.lead);
        EXPECT_EQ(isTrailByte(static_cast<unsigned char>(c.b)), c.trail);
    }
}

TEST(TextBytes, KeyFilterSwallowsBothBytesOfADoubleByteCharacter) {
    // Typed: A, ヂ (0x83 0x61), half-width ｱ, ＝ (0x81 0x81), b, a lead then Enter, c.
    const std::string typed = "A" + sj("ヂ") + sj("ｱ") + sj("＝") + "b" + "\x82\r" + "c";
    const std::string expected = std::string("A") + '\0' + '\0' + sj("ｱ") + '\0' + '\0' + "b" + '\0' + "\r" + "c";
    DoubleByteKeyFilter f;
    std::string out;
    for (char k : typed) {
        f.filter(k);
        out += k;
    }
    EXPECT_EQ(out, expected);
}

TEST(TextStrings, UpperCaseLeavesDoubleByteCharactersAlone) {
    std::string s = "ab" + sj("ヂッツ") + "z-9" + sj("ａ") + "q";
    upperCase(s);
    EXPECT_EQ(s, "AB" + sj("ヂッツ") + "Z-9" + sj("ａ") + "Q");
}

TEST(TextStrings, LowerAsciiAndEqualIgnoringCaseTouchOnlyTheLettersAToZ) {
    // The letters' edges, their neighbours ('@' and '[' sit just outside A-Z, '`' and '{' outside
    // a-z) and bytes beyond ASCII.
    const std::string in = "@AZ[`az{09\x80\xC1\xFF";
    std::string lowered = in;
    for (char& c : lowered) c = lowerAscii(c);
    EXPECT_EQ(lowered, "@az[`az{09\x80\xC1\xFF");

    struct Case { std::string a, b; bool equal; };
    const std::vector<Case> cases = {
        {"", "", true},
        {"ZEMOCTRL.DAT", "zemoctrl.dat", true},
        {"Utf-8", "uTF-8", true},
        {"A", "AB", false},
        {"@", "`", false},  // 0x40 and 0x60 differ by what A and a differ by, and are no letters
        {"[", "{", false},
        {"\xC1", "\xE1", false},  // nor are bytes beyond ASCII
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        EXPECT_EQ(equalIgnoringCase(c.a, c.b), c.equal);
        EXPECT_EQ(equalIgnoringCase(c.b, c.a), c.equal);
    }
}

TEST(TextStrings, BlanksAreFoundOnCharacterBoundariesOnly) {
    struct Case { std::string in; int blanks; std::string removed; int trimmed; };
    const std::vector<Case> cases = {
        {"", 0, "", 0},
        {"   ", 3, "", 0},
        {"A" + kFullBlank + "B C", 3, "ABC", 6},
        {"AB " + kFullBlank + " ", 4, "AB", 2},
        {kFullBlank + kFullBlank + kFullBlank, 6, "", 0},
        // ァ ends in 0x40 and ＝@ holds 0x81 0x40 across two characters: neither is a blank.
        {sj("ァ") + " ", 1, sj("ァ"), 2},
        {sj("＝@"), 0, sj("＝@"), 3},
        {" " + sj("ア") + kFullBlank, 3, sj("ア"), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(sjisToUtf8(c.in));
        EXPECT_EQ(countBlanks(c.in), c.blanks);
        EXPECT_EQ(removedBlanks(c.in), c.removed);
        std::string r = c.in;
        removeBlanks(r);
        EXPECT_EQ(r, c.removed);
        EXPECT_EQ(trimmedLength(c.in), c.trimmed);
        std::string t = c.in;
        trimRight(t);
        EXPECT_EQ(t, c.in.substr(0, static_cast<std::size_t>(c.trimmed)));
    }
}

TEST(TextStrings, NormalizeKeyUpperCasesThenDropsBlanks) {
    std::string s = " ab" + kFullBlank + sj("ヂ") + "c d ";
    normalizeKey(s);
    EXPECT_EQ(s, "AB" + sj("ヂ") + "CD");
}

TEST(TextStrings, ByteClassesAndCutting) {
    const std::string s = "A" + sj("アイ") + "B";  // A 83 41 83 43 B
    const int classes[] = {0, 1, 2, 1, 2, 0, 3, 3};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(byteClassAt(s, i), classes[i]) << i;
    EXPECT_EQ(byteClassAt(s, -1), 3);
    // A lead byte cut off at the end of the text is still a lead.
    EXPECT_EQ(byteClassAt("A\x83", 1), 1);

    struct Case { int n; std::string out; };
    const std::vector<Case> cuts = {
        {-1, ""}, {0, ""}, {1, "A"}, {2, "A "}, {3, "A" + sj("ア")}, {4, "A" + sj("ア") + " "},
        {5, "A" + sj("アイ")}, {6, s}, {40, s},
    };
    for (const auto& c : cuts) EXPECT_EQ(cutToBytes(s, c.n), c.out) << c.n;
}

TEST(TextStrings, FitTextPadsOrMarksTheCut) {
    struct Case { std::string in; int width; std::string out; };
    const std::vector<Case> cases = {
        {"ABCDEFG", 5, "ABCD*"},
        {"AB", 5, "AB   "},
        {"ABCDE", 5, "ABCDE"},
        {"ABC       ", 5, "ABC  "},              // trailing blanks do not count as overflow
        {"ABC" + kFullBlank + kFullBlank, 4, "ABC "},
        {"AB" + sj("あい"), 5, "AB" + sj("あ") + "*"},  // い split: its blank becomes the mark
        {"AB" + sj("あい"), 4, "AB**"},             // cut right after あ: the whole character is marked
        {sj("あい"), 6, sj("あい") + "  "},
        {"ABCDEFG", 0, ""},
        {"", 3, "   "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(sjisToUtf8(c.in) + " / " + std::to_string(c.width));
        const std::string got = fitText(c.in, c.width);
        EXPECT_EQ(got, c.out);
        EXPECT_EQ(got.size(), static_cast<std::size_t>(c.width));
    }
}

TEST(TextStrings, StartsWithComparesWholeCharacters) {
    struct Case { std::string text; std::string prefix; bool result; };
    const std::vector<Case> cases = {
        {"ABC", "", true},
        {"ABC", "AB", true},
        {"ABC", "ABC", true},
        {"AB", "ABC", false},
        {"ABC", "ab", false},
        {sj("アイ"), sj("ア"), true},
        {sj("アイ"), "\x83", false},           // half a character is no prefix
        {"A" + sj("ヂ"), "A\x83", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(sjisToUtf8(c.text) + " / " + sjisToUtf8(c.prefix));
        EXPECT_EQ(startsWith(c.text, c.prefix), c.result);
    }
}

TEST(TextStrings, FindTextNeverMatchesOnATrailByte) {
    struct Case { std::string pattern; std::string text; int result; };
    const std::vector<Case> cases = {
        {"C", "ABC", 3},
        {"ABC", "ABC", 1},
        {"X", "ABC", 0},
        {"ABCD", "ABC", 0},
        {"a", sj("ヂッツ"), 0},
        {"bc", sj("ヂッツ"), 0},
        {"@", sj("＝"), 0},
        {"@", sj("＝@"), 3},
        {sj("ッ"), sj("ヂッツ"), 4},               // byte 3, plus one for the double-byte start
        {sj("ツ"), "a" + sj("ツ"), 3},
        {"a", sj("ヂ") + "a", 3},
        {sj("ァ"), "\x81" + sj("ァ"), 0},          // here 0x83 0x40 straddles two characters
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(sjisToUtf8(c.pattern) + " in " + sjisToUtf8(c.text));
        EXPECT_EQ(findText(c.pattern, c.text), c.result);
    }
}

TEST(TextTime, MinutesAndSecondsConversions) {
    EXPECT_EQ(secondsToMmss(3725), 6205);
    EXPECT_EQ(mmssToSeconds(6205), 3725);
    EXPECT_EQ(mmssToSeconds(199), 159);
    EXPECT_EQ(secondsToMmss(0), 0);
    EXPECT_EQ(secondsToMmss(59), 59);
    EXPECT_EQ(secondsToMmss(60), 100);
    // Out-of-range values saturate instead of wrapping round.
    EXPECT_EQ(secondsToMmss(2147483647), 2147483647);
}

TEST(TextTime, TimeFormats) {
    struct Case { std::int32_t s; const char* longForm; const char* shortForm; };
    const Case cases[] = {
        {0, "    0:00", " 0:00"},
        {3725, "   62:05", "62:05"},
        {5999, "   99:59", "99:59"},
        {6000, "  100:00", "--:--"},
        {5999999, "99999:59", "--:--"},
        {6000000, "-----:--", "--:--"},
        {2147483647, "-----:--", "--:--"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatTimeLong(c.s), c.longForm) << c.s;
        EXPECT_EQ(formatTimeShort(c.s), c.shortForm) << c.s;
    }
}

TEST(TextTime, DateFormats) {
    EXPECT_EQ(formatDate(20240229), "2024/02/29");
    EXPECT_EQ(formatDate(0), "   0/00/00");
    EXPECT_EQ(formatDate(19990100), "1999/01/00");
    EXPECT_EQ(formatDateShort(20240229), "24/02/29");
    EXPECT_EQ(formatDateShort(20050704), " 5/07/04");
}

TEST(TextTime, StampsCountLocalSecondsFrom1970) {
    struct Case { LocalTime t; std::int32_t stamp; const char* shown; };
    const Case cases[] = {
        {{1970, 1, 1, 0, 0, 1}, 1, "1970/01/01 00:00"},
        {{1970, 1, 2, 0, 0, 0}, 86400, "1970/01/02 00:00"},
        {{2000, 1, 1, 0, 0, 0}, 946684800, "2000/01/01 00:00"},
        {{2000, 2, 29, 12, 34, 56}, 951827696, "2000/02/29 12:34"},
        {{2024, 2, 29, 23, 59, 59}, 1709251199, "2024/02/29 23:59"},
        {{2024, 3, 1, 0, 0, 0}, 1709251200, "2024/03/01 00:00"},
        {{2038, 1, 19, 3, 14, 7}, 2147483647, "2038/01/19 03:14"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(stampOf(c.t), c.stamp);
        EXPECT_EQ(formatStamp(c.stamp), c.shown);
        const LocalTime back = localTimeOfStamp(c.stamp);
        EXPECT_EQ(std::vector<int>({back.year, back.month, back.day, back.hour, back.minute, back.second}),
                  std::vector<int>({c.t.year, c.t.month, c.t.day, c.t.hour, c.t.minute, c.t.second}));
    }
    EXPECT_EQ(formatStamp(0), "----/--/-- --:--");
    EXPECT_EQ(formatStamp(-86400), "----/--/-- --:--");
    // Beyond what 32 bits hold the stamp saturates rather than turning negative ("not set").
    EXPECT_EQ(stampOf({2040, 1, 1, 0, 0, 0}), 2147483647);
}

TEST(TextTime, NowAndTodayComeFromTheClock) {
    FixedClock clock({2023, 12, 31, 23, 5, 9});
    EXPECT_EQ(today(clock), 20231231);
    EXPECT_EQ(formatStamp(nowStamp(clock)), "2023/12/31 23:05");
    EXPECT_EQ(nowStamp(clock) % 60, 9);
}

TEST(TextDate, CalendarHelpers) {
    EXPECT_TRUE(isLeapYear(2024));
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_FALSE(isLeapYear(2023));
    EXPECT_EQ(daysInMonth(2024, 2), 29);
    EXPECT_EQ(daysInMonth(2100, 2), 28);
    EXPECT_EQ(daysInMonth(2023, 4), 30);
    EXPECT_EQ(daysInMonth(2023, 12), 31);
    EXPECT_EQ(daysInMonth(2023, 13), 0);
    EXPECT_EQ(dayOfYear(2024, 1, 1), 1);
    EXPECT_EQ(dayOfYear(2024, 3, 1), 61);
    EXPECT_EQ(dayOfYear(2023, 12, 31), 365);
}

TEST(TextDate, CheckDate) {
    struct Case { std::int32_t d; int result; };
    const Case cases[] = {
        {0, 0},         {20240229, 0},  {20230229, -1}, {19000229, -1}, {20000229, 0},
        {20241300, -1}, {20240000, 0},  {20240032, -1}, {20240031, 0},  {20240431, -1},
        {20240430, 0},  {-20240101, -1}, {1, 0},        {99991231, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(checkDate(c.d), c.result) << c.d;
}

TEST(TextDate, DaysBetween) {
    struct Case { std::int32_t a, b; int days; };
    const Case cases[] = {
        {20231231, 20250101, 367}, {20240301, 20240228, -2}, {20240101, 20240101, 0},
        {20231231, 20240101, 1},   {18991231, 19010101, 366}, {19991231, 20010101, 367},
        {20250101, 20231231, -367}, {19700101, 20380119, 24855},
    };
    for (const auto& c : cases) EXPECT_EQ(daysBetween(c.a, c.b), c.days) << c.a << " -> " << c.b;

    // Agrees with the day count of the stamps over a spread of dates.
    const LocalTime dates[] = {{1972, 2, 29}, {1999, 12, 31}, {2000, 3, 1}, {2024, 7, 15}, {2037, 1, 1}};
    for (const auto& x : dates)
        for (const auto& y : dates) {
            const std::int32_t dx = x.year * 10000 + x.month * 100 + x.day;
            const std::int32_t dy = y.year * 10000 + y.month * 100 + y.day;
            EXPECT_EQ(daysBetween(dx, dy), (stampOf(y) - stampOf(x)) / 86400) << dx << " -> " << dy;
        }
}

// Lets the clock run only while the user interface is handling events.
class TickingPrompter : public ScriptedPrompter {
public:
    TickingPrompter(FixedClock& clock, int step) : clock_(clock), step_(step) {}
    void processEvents() override {
        ++calls;
        clock_.advance(step_);
    }
    int calls = 0;

private:
    FixedClock& clock_;
    int step_;
};

TEST(TextWait, HandlesEventsUntilTheTimeHasPassed) {
    struct Case { int ms; int calls; };
    const Case cases[] = {{-5, 0}, {0, 0}, {1, 1}, {10, 1}, {35, 4}, {40, 4}};
    for (const auto& c : cases) {
        FixedClock clock;
        clock.advance(1000);
        TickingPrompter p(clock, 10);
        waitMs(p, clock, c.ms);
        EXPECT_EQ(p.calls, c.calls) << c.ms;
        EXPECT_GE(clock.tickMs() - 1000, c.ms);
    }
}

CdRecord validRecord() {
    CdRecord r = clearedRecord();
    setField(r.barcode, "4988001234567");
    r.trackCount = 12;
    r.trackPos = 12;
    r.kind = 4;
    r.infoKind = 2;
    r.saleDate = 20240229;
    r.entryDate = 20240300;
    r.openDate = 0;
    return r;
}

TEST(TextValidation, FirstFailingCheckGivesTheMessage) {
    const std::string noBarcode = "ﾊﾞｰｺｰﾄﾞ文字がありません！\nスペース以外の文字が必要です。";
    struct Case { const char* what; std::function<void(CdRecord&)> change; std::string message; };
    const std::vector<Case> cases = {
        {"valid", [](CdRecord&) {}, ""},
        {"unchecked fields", [](CdRecord& r) { r.timeSec = -1; r.registeredAt = -5; setField(r.title, ""); }, ""},
        {"empty barcode", [](CdRecord& r) { setField(r.barcode, ""); }, noBarcode},
        {"14 blanks", [](CdRecord& r) { setField(r.barcode, "              "); }, noBarcode},
        {"7 full-width blanks", [&](CdRecord& r) {
             std::string s;
             for (int i = 0; i < 7; ++i) s += kFullBlank;
             setField(r.barcode, s);
         }, noBarcode},
        {"3 blanks", [](CdRecord& r) { setField(r.barcode, "   "); }, noBarcode},
        {"16 blanks, no NUL", [](CdRecord& r) { std::memset(r.barcode, ' ', sizeof r.barcode); }, noBarcode},
        {"16 letters, no NUL", [](CdRecord& r) { std::memset(r.barcode, 'A', sizeof r.barcode); }, ""},
        {"barcode beats tracks", [](CdRecord& r) { setField(r.barcode, ""); r.trackCount = 0; }, noBarcode},
        {"0 tracks", [](CdRecord& r) { r.trackCount = 0; }, "CD内登録曲数が異常です！\n"},
        {"100 tracks", [](CdRecord& r) { r.trackCount = 100; r.trackPos = 1; }, "CD内登録曲数が異常です！\n"},
        {"99 tracks", [](CdRecord& r) { r.trackCount = 99; }, ""},
        {"position 0", [](CdRecord& r) { r.trackPos = 0; }, "CD内登録位置が異常です！\n"},
        {"position past count", [](CdRecord& r) { r.trackPos = 13; }, "CD内登録位置が異常です！\n"},
        {"kind -1", [](CdRecord& r) { r.kind = -1; }, "種類が異常です！\n"},
        {"kind 5", [](CdRecord& r) { r.kind = 5; r.infoKind = 3; }, "種類が異常です！\n"},
        {"info kind 3", [](CdRecord& r) { r.infoKind = 3; r.saleDate = 20230229; },
         "情報種別が異常です！\n"},
        {"sale date", [](CdRecord& r) { r.saleDate = 20230229; r.entryDate = -1; }, "発売日が異常です！\n"},
        {"entry date", [](CdRecord& r) { r.entryDate = 20241301; r.openDate = -1; }, "ﾃﾞｰﾀ登録日が異常です！\n"},
        {"open date", [](CdRecord& r) { r.openDate = 20240431; }, "ﾚﾝﾀﾙ開始日が異常です！\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CdRecord r = validRecord();
        c.change(r);
        EXPECT_EQ(cdRecordProblem(r), c.message);

        ScriptedPrompter p;
        FixedClock clock;
        Workspace ws(p, clock);
        EXPECT_EQ(validateCdRecord(ws, r), c.message.empty() ? 0 : -1);
        if (c.message.empty()) {
            EXPECT_TRUE(p.boxes.empty());
        } else {
            ASSERT_EQ(p.boxes.size(), 1u);
            EXPECT_EQ(p.boxes[0].kind, BoxKind::Error);
            EXPECT_EQ(p.boxes[0].buttons, Buttons::Ok);
            EXPECT_EQ(p.boxes[0].text, c.message);
            EXPECT_EQ(p.events, (std::vector<std::string>{"arrow on", "arrow off"}));
        }
    }
}

}  // namespace
}  // namespace zemo
