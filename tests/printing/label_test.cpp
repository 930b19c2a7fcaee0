// SPDX-License-Identifier: GPL-3.0-or-later
// Composition of a cassette label: the cursor, the title block, the vertical and horizontal
// layouts, the user-code block, the filler rule and the character grid.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "platform/sjis.h"
#include "printing/label.h"
#include "records/cd_record.h"
#include "records/text.h"

namespace zemo {

void PrintTo(const LabelText& t, std::ostream* os) {
    *os << "{" << t.row << ", " << t.column << ", \"" << sjisToUtf8(t.text) << "\"}";
}

namespace {

using Texts = std::vector<LabelText>;

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

CdRecord cd(const std::string& title, const std::string& artist, int seconds, const std::string& userCode = "") {
    CdRecord r = clearedRecord();
    r.active = 1;
    setField(r.title, sj(title));
    setField(r.artist, sj(artist));
    setField(r.userCode, sj(userCode));
    r.timeSec = seconds;
    return r;
}

// A plan of the given CDs with side A and side B naming them by number (1-based).
ShufTape plan(const std::vector<CdRecord>& cds, const std::vector<int>& a, const std::vector<int>& b) {
    ShufTape t{};
    t.count = static_cast<std::int16_t>(cds.size());
    for (std::size_t i = 0; i < cds.size(); ++i) t.cds[i] = cds[i];
    t.countA = static_cast<std::int16_t>(a.size());
    t.countB = static_cast<std::int16_t>(b.size());
    for (std::size_t i = 0; i < a.size(); ++i) t.sideA[i] = static_cast<std::int16_t>(a[i]);
    for (std::size_t i = 0; i < b.size(); ++i) t.sideB[i] = static_cast<std::int16_t>(b[i]);
    return t;
}

const std::vector<CdRecord> kCds = {cd("ベスト", "山田", 45 * 60 + 12, "U001"), cd("Summer", "Band", 25 * 60 + 30, "U2"),
                                    cd("Jazz", "Quartet", 100 * 60, "U3"), cd("Rock", "Trio", 61)};

LabelSource source(const ShufTape& t, const std::string& creator = "", std::int32_t date = 19961219) {
    return LabelSource{&t, creator, date};
}

std::vector<std::string> utf8Lines(const Texts& texts) {
    std::vector<std::string> out;
    for (std::string l : labelGridLines(texts)) {
        trimRight(l);
        out.push_back(sjisToUtf8(l));
    }
    return out;
}

TEST(LabelCursor, FeedsSkipsAndPutsWithTheCutAt255Bytes) {
    LabelCursor c;
    c.putText("");
    EXPECT_TRUE(c.texts().empty());
    c.lineFeed(2);
    c.skipColumns(3);
    c.putText("ab");
    EXPECT_EQ(c.column(), 5);
    c.putText(std::string(300, 'x'));
    c.lineFeed(1);
    c.putText(blanks(254) + sj("あ"));  // the character would straddle the cut
    const Texts& t = c.texts();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0], (LabelText{2, 3, "ab"}));
    EXPECT_EQ(t[1].row, 2);
    EXPECT_EQ(t[1].column, 5);
    EXPECT_EQ(t[1].text, std::string(255, 'x'));
    EXPECT_EQ(t[2].text, blanks(255));
    EXPECT_EQ(c.column(), 255);
}

TEST(LabelVertical, DefaultLayoutPutsEveryPieceAtItsRowAndColumn) {
    const ShufTape t = plan(kCds, {1, 2}, {3});
    const Texts texts = composeLabel(defaultLabelLayout(), source(t));
    const std::string title1 = sj("ベスト") + blanks(26) + " ";
    const Texts expected = {
        {6, 0, sj("Ａ面")},
        {7, 0, " 1 "}, {7, 3, title1}, {7, 36, sj("山田") + blanks(22)}, {7, 62, " 45:12"},
        {8, 0, " 2 "}, {8, 3, "Summer" + blanks(26) + " "}, {8, 36, "Band" + blanks(22)}, {8, 62, " 25:30"},
        {9, 0, sj("Ｂ面")},
        {10, 0, " 1 "}, {10, 3, "Jazz" + blanks(28) + " "}, {10, 36, "Quartet" + blanks(19)}, {10, 62, " --:--"},
    };
    EXPECT_EQ(texts, expected);
    const std::vector<std::string> lines = utf8Lines(texts);
    ASSERT_EQ(lines.size(), 11u);
    for (int r = 0; r < 6; ++r) EXPECT_EQ(lines[r], "") << r;
    EXPECT_EQ(lines[7], " 1 ベスト" + blanks(26) + " 山田" + blanks(22) + " 45:12");
}

TEST(LabelVertical, ReservesThirtyRowsAndSkipsAnEmptySide) {
    struct Case {
        const char* name;
        std::vector<int> a, b;
        int dataFeedA, dataFeedB;
        int endRow;
    };
    // Title feed 4, caption feed 2 for A, 0 for B; each caption takes a row.
    const Case cases[] = {
        {"both sides", {1, 2}, {3}, 0, 0, 4 + 2 + 1 + 2 + 1 + 1 + 27},
        {"empty side A still subtracts its data feed", {}, {1, 2}, 3, 0, 4 + 1 + 2 + 25},
        {"more than thirty rows: no filler", {1, 2, 3, 4}, {1, 2, 3, 4}, 20, 5, 4 + 2 + 1 + 20 + 4 + 1 + 5 + 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LabelLayout l = defaultLabelLayout();
        l.vertical.sides[kSideA].dataFeed = static_cast<std::int16_t>(c.dataFeedA);
        l.vertical.sides[kSideB].dataFeed = static_cast<std::int16_t>(c.dataFeedB);
        const ShufTape t = plan(kCds, c.a, c.b);
        LabelCursor cursor;
        composeVertical(cursor, l, source(t), false);
        EXPECT_EQ(cursor.row(), c.endRow);
        bool captionA = false;
        for (const LabelText& x : cursor.texts()) captionA = captionA || x.text == sj("Ａ面");
        EXPECT_EQ(captionA, !c.a.empty());
    }
}

TEST(LabelVertical, TitleOverBothWidthsUserCodesAndNumbersThatNameNoCd) {
    LabelLayout l = defaultLabelLayout();
    l.vertical.artistPrint[kSideA] = 0;
    l.vertical.sides[kSideA].titleWidth = 4;
    l.vertical.sides[kSideA].artistWidth = 3;
    l.vertical.sides[kSideA].dataSpace = 2;
    l.vertical.sides[kSideA].timePrint = 0;
    l.vertical.sides[kSideA].subtitlePrint = 0;
    ShufTape t = plan(kCds, {1, 9, 2}, {});
    LabelCursor c;
    composeVertical(c, l, source(t), true);
    // Entry 2 names no CD: its line is left out and the numbering keeps the entry's place.
    const Texts expected = {
        {6, 2, " 1 "}, {6, 5, sj("ベスト") + "  "}, {6, 13, blanks(8) + "U001"},
        {7, 2, " 3 "}, {7, 5, "Summer  "}, {7, 13, blanks(8) + "U2"},
    };
    EXPECT_EQ(c.texts(), expected);
}

TEST(LabelTitle, FitsTheTitleToItsFieldAndFollowsItWithTheDate) {
    struct Case {
        const char* title;
        int chars;
        const char* fitted;
    };
    const Case cases[] = {
        {"ABC", 6, "ABC   "},
        {"ABCDEFGHIJ", 6, "ABCDE*"},
        {"あいうえお", 6, "あい**"},   // the last cell holds a second byte: "**"
        {"あいうえお", 5, "あい*"},    // the character straddling the end is dropped
        {"ABCDEF", 6, "ABCDEF"},
        {"ABC", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title + std::string(" ") + std::to_string(c.chars));
        LabelLayout l = defaultLabelLayout();
        l.titlePrint = 1;
        l.titleSpace = 2;
        l.titleChars = static_cast<std::int16_t>(c.chars);
        setField(l.labelTitle, sj(c.title));
        LabelCursor cursor;
        composeTitleBlock(cursor, l, 3, 19961219);
        const std::string fitted = sj(c.fitted);
        const Texts expected = {{3, 0, "  " + fitted}, {3, 2 + static_cast<int>(fitted.size()), "96/12/19"}};
        EXPECT_EQ(cursor.texts(), expected);
        EXPECT_EQ(cursor.row(), 4);
    }
}

TEST(LabelTitle, OffPrintsNeitherTitleNorDateAndFeedsNoLine) {
    LabelLayout l = defaultLabelLayout();
    setField(l.labelTitle, "TITLE");
    LabelCursor cursor;
    composeTitleBlock(cursor, l, 3, 20240101);
    EXPECT_TRUE(cursor.texts().empty());
    EXPECT_EQ(cursor.row(), 3);
    l.titlePrint = 1;
    l.datePrint = 0;
    composeTitleBlock(cursor, l, 0, 20240101);
    EXPECT_EQ(cursor.texts(), (Texts{{3, 0, "TITLE" + blanks(55)}}));
}

TEST(LabelTitle, AWideTitleFieldIsCutAt255Bytes) {
    LabelLayout l = defaultLabelLayout();
    l.titlePrint = 1;
    l.titleSpace = 250;
    l.titleChars = 10;
    setField(l.labelTitle, sj("あいう"));
    LabelCursor cursor;
    composeTitleBlock(cursor, l, 0, 20240519);
    ASSERT_EQ(cursor.texts().size(), 2u);
    EXPECT_EQ(cursor.texts()[0].text, blanks(250) + sj("あい") + " ");
    EXPECT_EQ(cursor.texts()[1], (LabelText{0, 255, "24/05/19"}));
}

// Horizontal: side A shorter than side B, caption spaces differing from the data spaces.
LabelLayout horizontalLayout(int captionSpaceA, int dataSpaceA) {
    LabelLayout l = defaultLabelLayout();
    l.orientation = 1;
    LabelSide& a = l.horizontal.sides[kSideA];
    LabelSide& b = l.horizontal.sides[kSideB];
    a.subtitleSpace = static_cast<std::int16_t>(captionSpaceA);
    a.dataSpace = static_cast<std::int16_t>(dataSpaceA);
    a.titleWidth = b.titleWidth = 8;
    b.subtitleSpace = 6;
    b.dataSpace = 1;
    return l;
}

TEST(LabelHorizontal, SideBStartsInTheSameColumnOnEveryRow) {
    struct Case {
        int captionSpaceA, dataSpaceA;
    };
    // Data width of A: 3 + dataSpace + 8 + 1; side B begins one blank after it.
    for (const Case& c : {Case{4, 2}, Case{0, 5}, Case{9, 0}}) {
        SCOPED_TRACE(std::to_string(c.captionSpaceA) + "/" + std::to_string(c.dataSpaceA));
        const LabelLayout l = horizontalLayout(c.captionSpaceA, c.dataSpaceA);
        const ShufTape t = plan(kCds, {1}, {2, 3, 4});
        const Texts texts = composeLabel(l, source(t));
        const int widthA = 3 + c.dataSpaceA + 8 + 1;
        const int columnB = widthA + 1;
        std::vector<LabelText> cellsB;
        for (const LabelText& x : texts)
            if (x.row >= 12) {
                if (x.column != 0) cellsB.push_back(x);
                else EXPECT_EQ(static_cast<int>(x.text.size()), columnB);
            }
        ASSERT_EQ(cellsB.size(), 3u);
        for (std::size_t i = 0; i < cellsB.size(); ++i) {
            EXPECT_EQ(cellsB[i].row, 12 + static_cast<int>(i));
            EXPECT_EQ(cellsB[i].column, columnB);
        }
        const std::vector<std::string> lines = utf8Lines(texts);
        ASSERT_EQ(lines.size(), 15u);
        // Caption row (title feed 6, caption feed 5): side B's caption where its cells begin,
        // when side A's caption leaves room for it.
        if (c.captionSpaceA + 4 <= widthA) {
            EXPECT_EQ(lines[11], blanks(c.captionSpaceA) + "Ａ面" + blanks(widthA - 4 - c.captionSpaceA + 1 + 6) + "Ｂ面");
        }
        EXPECT_EQ(lines[12], blanks(c.dataSpaceA) + " 1 ベスト   " + blanks(2) + " 1 Summer");
        EXPECT_EQ(lines[13], blanks(columnB + 1) + " 2 Jazz");
        EXPECT_EQ(lines[14], blanks(columnB + 1) + " 3 Rock");
    }
}

TEST(LabelHorizontal, AWideCaptionSpaceNeitherHidesSideAsDataNorMovesSideB) {
    const LabelLayout l = horizontalLayout(251, 2);
    const ShufTape t = plan(kCds, {1, 2}, {3});
    const Texts texts = composeLabel(l, source(t));
    const std::vector<std::string> lines = utf8Lines(texts);
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[11], blanks(251) + "Ａ面" + blanks(6) + "Ｂ面");  // no pad blanks after side A's caption
    EXPECT_EQ(lines[12], "   1 ベスト" + blanks(6) + "1 Jazz");
    EXPECT_EQ(lines[13], "   2 Summer");
}

TEST(LabelHorizontal, ACellWiderThan250IsBlankAndANumberNamingNoCdIsBlank) {
    LabelLayout l = horizontalLayout(0, 0);
    l.horizontal.sides[kSideB].dataSpace = 240;  // 3 + 240 + 8 + 1 = 252
    const ShufTape t = plan(kCds, {1, 7}, {2});
    LabelCursor c;
    composeHorizontal(c, l, source(t));
    std::vector<LabelText> rows;
    for (const LabelText& x : c.texts())
        if (x.row >= 12) rows.push_back(x);
    const Texts expected = {{12, 0, " 1 " + sj("ベスト") + "  " + " " + " "}, {12, 13, blanks(250)},
                            {13, 0, blanks(12) + " "}, {13, 13, blanks(250)}};
    EXPECT_EQ(rows, expected);
}

TEST(LabelHorizontal, FillerRowsOnlyForTheOneCreatorInAnyLetterCase) {
    struct Case {
        const char* creator;
        bool filled;
    };
    const Case cases[] = {{"CXC01166", true}, {"cxc01166", true}, {"CxC01166", true},
                          {"CXC01167", false}, {"CXC0116", false}, {"", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.creator);
        LabelLayout l = horizontalLayout(0, 0);
        l.horizontal.sides[kSideA].dataFeed = 2;
        const ShufTape t = plan(kCds, {1, 2}, {3});
        LabelCursor cursor;
        composeHorizontal(cursor, l, source(t, c.creator));
        // Title feed 6 + caption feed 5, the caption row, data feed 2, two rows.
        const int end = 6 + 5 + 1 + 2 + 2;
        EXPECT_EQ(cursor.row(), c.filled ? end + (30 - 2 - 2) : end);
    }
}

TEST(LabelHorizontal, AnEmptyPlanPrintsNothingButStillFills) {
    const ShufTape t = plan({}, {}, {});
    LabelCursor cursor;
    composeHorizontal(cursor, horizontalLayout(0, 0), source(t, "CXC01166"));
    EXPECT_TRUE(cursor.texts().empty());
    EXPECT_EQ(cursor.row(), 30);
}

TEST(LabelComposition, BothOrientationsAndTheUserCodeBlockFollowEachOther) {
    LabelLayout l = defaultLabelLayout();
    l.orientation = 2;
    l.userVertical = 1;
    l.userVerticalFeed = 3;
    const ShufTape t = plan(kCds, {1}, {2});
    const Texts texts = composeLabel(l, source(t));
    // Vertical: rows 0..37 (4 + 2 + caption + line + caption + line + 28 filler); horizontal
    // from 38: title feed 6, caption feed 5, the caption row and one row; then 3 feeds, and the
    // vertical block with the codes.
    std::vector<std::pair<int, std::string>> captions;
    for (const LabelText& x : texts)
        if (x.text == sj("Ａ面") || x.text == sj("Ｂ面") || x.text.find("U001") != std::string::npos)
            captions.emplace_back(x.row, sjisToUtf8(x.text));
    const std::vector<std::pair<int, std::string>> expected = {
        {6, "Ａ面"}, {8, "Ｂ面"}, {49, "Ａ面"}, {49, "Ｂ面"}, {60, "Ａ面"}, {61, blanks(8) + "U001"}, {62, "Ｂ面"}};
    EXPECT_EQ(captions, expected);
}

TEST(LabelGrid, LaysTextsOverEachOtherCellByCell) {
    struct Case {
        const char* name;
        Texts texts;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"blank leaves what was there", {{0, 0, "abcdef"}, {0, 2, "  X"}}, {"abcdXf"}},
        {"double-byte takes two cells", {{1, 1, sj("あ") + "b"}}, {"", " あb"}},
        {"half of a double-byte character overwritten", {{0, 0, sj("あい")}, {0, 1, "x"}}, {" xい"}},
        {"full-width blank draws nothing", {{0, 0, "abcd"}, {0, 0, sj("　") + "Z"}}, {"abZd"}},
        {"a text of blanks counts for its row", {{2, 0, "   "}}, {"", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> got;
        for (std::string l : labelGridLines(c.texts)) {
            trimRight(l);
            got.push_back(sjisToUtf8(l));
        }
        EXPECT_EQ(got, c.lines);
    }
}

TEST(LabelCaptions, TheThreeKinds) {
    EXPECT_EQ(sjisToUtf8(sideCaption(0, kSideA)), "Ａ面");
    EXPECT_EQ(sjisToUtf8(sideCaption(0, kSideB)), "Ｂ面");
    EXPECT_EQ(sideCaption(1, kSideA), "SIDE-A");
    EXPECT_EQ(sideCaption(1, kSideB), "SIDE-B");
    EXPECT_EQ(sideCaption(2, kSideA), "A:");
    EXPECT_EQ(sideCaption(2, kSideB), "B:");
    EXPECT_EQ(sideCaption(3, kSideA), "");
}

}  // namespace
}  // namespace zemo
