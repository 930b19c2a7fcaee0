// SPDX-License-Identifier: GPL-3.0-or-later
// The editing steps below the catalogue windows: the editor's record build, the first row of the
// barcode-agreement list, deleting from it, and copying results into the add list.
#include "catalogue/catalogue_editing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue/catalogue_access.h"
#include "records/storage_fixture.h"
#include "records/text.h"

namespace zemo::testing {
namespace {

bool sameBytes(const CdRecord& a, const CdRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

CdRecord rec(const std::string& title, const std::string& barcode) {
    CdRecord r = clearedRecord();
    r.active = 1;
    setField(r.title, utf8ToSjis(title));
    setField(r.barcode, barcode, kBarcodeMax);
    return r;
}

EditorFields goodFields() {
    EditorFields f;
    f.barcode = "4988";
    f.userCode = "U1";
    f.artistCode = "A1";
    f.title = "タイトル";
    f.artist = "歌手";
    f.time = "512";
    f.saleDate = "20240229";
    f.entryDate = "0";
    f.openDate = "20240301";
    f.trackCount = "12";
    f.trackPos = "3";
    f.kind = 1;
    f.infoKind = 2;
    return f;
}

TEST(EditorRecordBuild, EveryFieldConvertsIntoAFreshActiveRecord) {
    CdRecord out = rec("OLD", "OLD");
    out.registeredAt = 77;
    ASSERT_EQ(buildEditorRecord(goodFields(), out), 0);
    EXPECT_EQ(fieldText(out.barcode), "4988");
    EXPECT_EQ(fieldText(out.title), utf8ToSjis("タイトル"));
    EXPECT_EQ(out.timeSec, 312);  // 5 minutes 12 seconds
    EXPECT_EQ(out.saleDate, 20240229);
    EXPECT_EQ(out.openDate, 20240301);
    EXPECT_EQ(out.trackCount, 12);
    EXPECT_EQ(out.trackPos, 3);
    EXPECT_EQ(out.kind, 1);
    EXPECT_EQ(out.infoKind, 2);
    EXPECT_EQ(out.active, 1);
    EXPECT_EQ(out.registeredAt, 0);  // stamps and the catalogue index start afresh
    EXPECT_EQ(out.catalogueIndex, 0);
}

TEST(EditorRecordBuild, AFieldThatDoesNotConvertLeavesTheRecordAsItWas) {
    struct Case {
        const char* name;
        void (*spoil)(EditorFields&);
        int result;
    };
    const Case cases[] = {
        {"empty time", [](EditorFields& f) { f.time = ""; }, kBuildConversionError},
        {"empty sale date", [](EditorFields& f) { f.saleDate = ""; }, kBuildConversionError},
        {"letters in the entry date", [](EditorFields& f) { f.entryDate = "2024a"; }, kBuildConversionError},
        {"empty track count", [](EditorFields& f) { f.trackCount = ""; }, kBuildConversionError},
        {"position beyond 16 bits", [](EditorFields& f) { f.trackPos = "70000"; }, kBuildConversionError},
        {"title beyond 40 bytes", [](EditorFields& f) { f.title = std::string(41, 'T'); }, kBuildDataError},
        {"artist not in Shift-JIS", [](EditorFields& f) { f.artist = "\xF0\x9F\x8E\xB5"; }, kBuildDataError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorFields f = goodFields();
        c.spoil(f);
        const CdRecord before = rec("KEPT", "KEPT");
        CdRecord out = before;
        EXPECT_EQ(buildEditorRecord(f, out), c.result);
        EXPECT_TRUE(sameBytes(out, before));
    }
    EXPECT_EQ(buildErrorMessage(kBuildConversionError), "入力データにエラーがあります！\n(数値変換ｴﾗｰ)");
    EXPECT_EQ(buildErrorMessage(kBuildDataError), "データにエラーがあります！");
    // 40 bytes fit exactly.
    EditorFields f = goodFields();
    f.title = std::string(20, 'T') + "１２３４５６７８９０";
    CdRecord out;
    EXPECT_EQ(buildEditorRecord(f, out), 0);
}

class AgreementList : public StorageTest {
protected:
    void put(int kind, int index, const CdRecord& r) { ws.arrays[kind][index] = r; }
};

TEST_F(AgreementList, TheFirstRowOfferedIsTheFirstTitleThatAgreesBlanksIgnored) {
    struct Case {
        const char* name;
        const char* key;
        std::vector<const char*> titles;
        int expected;
    };
    const Case cases[] = {
        {"second title equal without blanks", "AB C", {"XYZ", "A BC", "ABC"}, 1},
        {"the shorter length decides", "ABCDEF", {"XY", "ABC"}, 1},
        {"key shorter than the title", "AB", {"QQ", "ABCD"}, 1},
        {"case counts", "abc", {"ABC", "abc"}, 1},
        {"empty titles never agree", "", {"ABC", "DEF"}, 0},
        {"nothing agrees: the first row", "ZZZ", {"ABC", "DEF"}, 0},
        {"full-width blank removed", "Ａ　Ｂ", {"Ｃ", "ＡＢ"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (std::size_t i = 0; i < c.titles.size(); ++i) put(kKindBarcodeAgree, static_cast<int>(i), rec(c.titles[i], "B"));
        EXPECT_EQ(preselectAgreementEntry(ws, rec(c.key, "B"), static_cast<int>(c.titles.size())), c.expected);
    }
}

TEST_F(AgreementList, DeletingAnEntryClosesTheGapAndEmptiesItsCatalogueSlot) {
    for (int i = 0; i < 5; ++i) put(kKindCatalogue, i, rec("T" + std::to_string(i), "B" + std::to_string(i % 2)));
    ws.loaded[kKindCatalogue] = 1;
    FindSpec request;
    initFindSpec(request);
    int count = 0;
    CdRecord key = rec("", "B0");
    ASSERT_EQ(collectBarcodeMatches(ws, key, request, count), 0);
    ASSERT_EQ(count, 3);  // slots 0, 2, 4
    int slot = -1;
    EXPECT_EQ(deleteAgreementEntry(ws, 0, 10, slot), 0);
    EXPECT_EQ(slot, 0);
    const TCddataArray& list = ws.arrays[kKindBarcodeAgree];
    EXPECT_EQ(fieldText(list[0].title), "T2");
    EXPECT_EQ(list[0].catalogueIndex, 2);
    EXPECT_EQ(fieldText(list[1].title), "T4");
    EXPECT_EQ(list[2].active, 0);
    EXPECT_EQ(list[9].active, 0);
    EXPECT_EQ(ws.arrays[kKindCatalogue][0].active, 0);
    EXPECT_EQ(fieldText(ws.arrays[kKindDeleted][0].title), "T0");
    EXPECT_EQ(ws.arrays[kKindDeleted][0].deletedAt, nowStamp(clock));
    // An empty entry changes nothing.
    EXPECT_EQ(deleteAgreementEntry(ws, 5, 10, slot), kSlotWasEmpty);
    EXPECT_EQ(fieldText(ws.arrays[kKindDeleted][1].title), "");
    EXPECT_EQ(fieldText(ws.arrays[kKindCatalogue][2].title), "T2");
}

TEST_F(AgreementList, CopyingResultsStopsAtTheLastSlotAndKeepsWhatWasWritten) {
    for (int i = 0; i < 3; ++i) put(kKindReference, i, rec("R" + std::to_string(i), "B"));
    const int cap = ws.capacity(kKindAdd);
    struct Case {
        const char* name;
        int start;
        int written;
        int result;
    };
    const Case cases[] = {
        {"fits exactly up to the last slot", cap - 3, 3, 0},
        {"one beyond the last slot", cap - 2, 2, 1},
        {"starting on the last slot", cap - 1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ws.arrays[kKindAdd].create(cap + 1);
        prompter.clear();
        int written = -1;
        EXPECT_EQ(copyResultsToAddList(ws, {2, 0, 1}, c.start, written), c.result);
        EXPECT_EQ(written, c.written);
        EXPECT_EQ(fieldText(ws.arrays[kKindAdd][c.start].title), "R2");  // in the order given
        if (c.written > 1) {
            EXPECT_EQ(fieldText(ws.arrays[kKindAdd][c.start + 1].title), "R0");
        }
        EXPECT_EQ(ws.arrays[kKindAdd][cap].active, 0);  // the spare slot is never written
        EXPECT_EQ(prompter.texts(), c.result == 1 ? std::vector<std::string>{"全てを登録することが出来ませんでした。"}
                                                  : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace zemo::testing
