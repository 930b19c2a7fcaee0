// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_access.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/sjis.h"
#include "records/data_ops.h"
#include "records/file_services.h"
#include "records/storage_fixture.h"
#include "records/text.h"

namespace zemo::testing {
namespace {

constexpr const char* kConfirm = "登録します。";
constexpr const char* kFull = "ﾃﾞｰﾀは全て登録されています。\n何かﾃﾞｰﾀを消去して、再度登録してください。";
constexpr const char* kTooMany =
    "ﾊﾞｰｺｰﾄﾞ一致ﾃﾞｰﾀがｼｽﾃﾑで制御できる数を越えています！\n不必要なﾃﾞｰﾀを削除して再検索をしてください。";
constexpr const char* kNotLoaded = "ﾃﾞｰﾀﾍﾞｰｽﾃﾞｰﾀを読み込んでありません！";
constexpr const char* kGetError = "DATA GET ERROR!(Under or Over)";

std::string sj(const std::string& utf8) { return utf8ToSjis(utf8); }

bool sameBytes(const CdRecord& a, const CdRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool isCleared(const CdRecord& r) { return sameBytes(r, clearedRecord()); }

// A valid, active record recognisable by its title.
CdRecord rec(const std::string& title, const std::string& barcode = "B0") {
    CdRecord r = clearedRecord();
    r.active = 1;
    setField(r.title, title);
    setField(r.barcode, barcode, kBarcodeMax);
    return r;
}

// The window's side of the barcode agreement, scripted.
struct ScriptedAgreement : BarcodeAgreement {
    int answer = kAgreeCancelled;
    int row = 0;
    int calls = 0;
    FindSpec seen{};
    std::string keyTitle;
    std::vector<int> shownIndexes;  // catalogueIndex of each listed record

    int agree(Workspace& ws, FindSpec& request, const CdRecord& key) override {
        ++calls;
        seen = request;
        keyTitle = fieldText(key.title);
        for (int i = 0; i < request.matchCount; ++i) shownIndexes.push_back(ws.arrays[kKindBarcodeAgree][i].catalogueIndex);
        request.selectedRow = row;
        request.agreeResult = static_cast<std::int16_t>(answer);
        return answer;
    }
};

class CatalogueAccess : public StorageTest {
protected:
    CatalogueAccess() { ws.loaded[kKindCatalogue] = 1; }

    TCddataArray& arr(int kind) { return ws.arrays[kind]; }
    int cap(int kind) const { return ws.capacity(kind); }
    std::int32_t now() const { return nowStamp(clock); }

    std::vector<std::string> titles(int kind, int from, int to) {
        std::vector<std::string> out;
        for (int i = from; i < to; ++i) out.push_back(fieldText(arr(kind)[i].title));
        return out;
    }
    // Titles of the extraction result, in order.
    std::vector<std::string> results(const ExtractSpec& request) { return titles(kKindReference, 0, request.resultCount); }

    ExtractSpec textSpec(int item, int partial, int kindFilter = kAllKinds) {
        ExtractSpec s;
        initExtractSpec(s);
        s.item = static_cast<std::int16_t>(item);
        s.partialMatch = static_cast<std::uint8_t>(partial);
        s.kindFilter = static_cast<std::int16_t>(kindFilter);
        return s;
    }

    ScriptedAgreement window;
};

// ---- requests ---------------------------------------------------------------------------------

TEST_F(CatalogueAccess, InitialisersZeroEveryField) {
    FindSpec f;
    std::memset(static_cast<void*>(&f), 0x5a, sizeof f);
    initFindSpec(f);
    EXPECT_EQ(f.foundIndex | f.found | f.startIndex | f.agreeMode | f.matchCount | f.selectedRow | f.agreeResult, 0);
    ExtractSpec e;
    std::memset(static_cast<void*>(&e), 0x5a, sizeof e);
    initExtractSpec(e);
    EXPECT_EQ(e.partialMatch | e.extractMode | e.kindFilter | e.item | e.ageKind | e.ageRange | e.found | e.dateFrom |
                  e.dateTo | e.windowMode | e.resultCount | e.selectedRow | e.windowResult,
              0);
}

// ---- per-array accessors ----------------------------------------------------------------------

TEST_F(CatalogueAccess, GetInUseAndClearFrom) {
    const CatalogueArray list = referenceArray(ws);
    ASSERT_EQ(list.capacity(), 500);
    for (int i = 0; i <= 500; ++i) arr(7)[i] = rec("r" + std::to_string(i));
    arr(7)[1].active = 0;

    CdRecord r;
    EXPECT_TRUE(list.getInUse(0, r));
    EXPECT_FALSE(list.getInUse(1, r));
    EXPECT_TRUE(list.getInUse(500, r));  // the sentinel slot exists
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_FALSE(list.getInUse(501, r));
    EXPECT_TRUE(isCleared(r));
    EXPECT_EQ(texts(), std::vector<std::string>{kGetError});

    list.clearFrom(498);
    EXPECT_EQ(titles(7, 497, 498), std::vector<std::string>{"r497"});
    EXPECT_TRUE(isCleared(arr(7)[498]));
    EXPECT_TRUE(isCleared(arr(7)[499]));
    EXPECT_EQ(fieldText(arr(7)[500].title), "r500");  // beyond the capacity: left alone
}

TEST_F(CatalogueAccess, ListsAreReadOnlyWhenNotLoaded) {
    makeDataDirs();
    struct Case {
        int (*load)(Workspace&);
        int kind;
    };
    for (Case c : {Case{loadDeletedList, kKindDeleted}, Case{loadNewList, kKindNew}, Case{loadAddList, kKindAdd},
                   Case{loadCatalogue, kKindCatalogue}}) {
        SCOPED_TRACE(c.kind);
        prompter.clear();
        arr(c.kind)[0] = rec("unsaved");
        ws.loaded[c.kind] = 1;
        EXPECT_EQ(c.load(ws), 0);
        EXPECT_TRUE(prompter.boxes.empty());
        EXPECT_EQ(fieldText(arr(c.kind)[0].title), "unsaved");

        // Not loaded and no file: the creation question; Yes creates an empty list.
        ws.loaded[c.kind] = 0;
        prompter.answers = {Answer::Yes};
        EXPECT_EQ(c.load(ws), 0);
        ASSERT_EQ(prompter.boxes.size(), 1u);
        EXPECT_NE(prompter.boxes[0].text.find("ﾃﾞｰﾀﾌｧｲﾙを新規作成します。"), std::string::npos);
        EXPECT_EQ(ws.loaded[c.kind], 1);
        EXPECT_TRUE(isCleared(arr(c.kind)[0]));
        EXPECT_TRUE(fs::exists(defaultFilePath(ws, c.kind)));
    }
}

// A refused read from another file keeps the array and its loaded flag.
TEST_F(CatalogueAccess, RefusedReadByDialogKeepsArrayAndLoadedFlag) {
    makeDataDirs();
    TCddataArray big(602);
    for (int i = 0; i < 601; ++i) big.put(i, rec("f" + std::to_string(i)));
    const std::string path = dir.str("other.zmo");
    ASSERT_EQ(writeDataFile(ws, true, path, kKindCatalogue, big, 601), 0);

    const CatalogueArray cat = catalogueArray(ws);
    arr(1)[0] = rec("unsaved edit");
    struct Case {
        Answer truncate;
        int result;
        std::string first;
    };
    for (Case c : {Case{Answer::No, kErrRead, "unsaved edit"}, Case{Answer::Yes, 0, "f0"}}) {
        prompter.clear();
        prompter.fileChoices = {FileChoice{true, path, ""}};
        prompter.answers = {c.truncate};
        int done = 0;
        EXPECT_EQ(cat.transferByDialog(false, kChoiceRead, done), c.result);
        EXPECT_EQ(done, 1);
        EXPECT_EQ(ws.loaded[kKindCatalogue], 1);
        EXPECT_EQ(fieldText(arr(1)[0].title), c.first);
    }
    EXPECT_EQ(fieldText(arr(1)[499].title), "f499");
}

// ---- key search ---------------------------------------------------------------------------------

TEST_F(CatalogueAccess, KeySearchIsACaseFreePrefixMatch) {
    arr(1)[0] = rec("gone", "4988AB0012");
    arr(1)[0].active = 0;
    arr(1)[2] = rec("stored", "4988AB0012");
    arr(1)[3] = rec("kana", sj("ア1"));  // 0x83 0x41: its trail byte looks like 'A'
    arr(1)[5] = rec("again", "4988ab9999");
    const std::string blanks14(14, ' ');
    arr(1)[8] = rec("blank", blanks14);
    arr(1)[9] = rec("wide blank", sj("　　　　　　　"));
    struct Case {
        std::string key;
        int start;
        int found;
    };
    const Case cases[] = {
        {"4988", 0, 2},          {"4988ab00", 0, 2},    {"4988Ab0012", 0, 2}, {"4988AB00123", 0, -1},
        {"4989", 0, -1},         {"4988", 3, 5},        {"4988AB0", 3, -1},   {"", 0, -1},
        {blanks14, 0, -1},       {std::string(13, ' '), 0, 8}, {sj("ア"), 0, 3},      {sj("ヂ"), 0, -1},    // 0x83 0x61: not a folded 'A'
        {sj("　　　　　　　"), 0, -1},                                        // seven full-width blanks count 14
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key + " from " + std::to_string(c.start));
        FindSpec request;
        initFindSpec(request);
        request.startIndex = c.start;
        CdRecord key = clearedRecord();
        setField(key.barcode, c.key);
        EXPECT_EQ(findCdRecord(ws, key, request), 0);
        EXPECT_EQ(request.foundIndex, c.found);
        EXPECT_EQ(request.found, c.found >= 0 ? 1 : 0);
    }
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(CatalogueAccess, CollectingCopiesEveryMatchWithItsCatalogueIndex) {
    for (int i : {1, 4, 9}) arr(1)[i] = rec("m" + std::to_string(i), "777");
    arr(1)[6] = rec("other", "778");
    arr(3)[3] = rec("stale");
    FindSpec request;
    initFindSpec(request);
    int count = -1;
    EXPECT_EQ(collectBarcodeMatches(ws, rec("key", "777"), request, count), 0);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(request.found, 1);
    EXPECT_EQ(request.foundIndex, 1);
    EXPECT_EQ(titles(3, 0, 3), (std::vector<std::string>{"m1", "m4", "m9"}));
    EXPECT_EQ(arr(3)[0].catalogueIndex, 1);
    EXPECT_EQ(arr(3)[1].catalogueIndex, 4);
    EXPECT_EQ(arr(3)[2].catalogueIndex, 9);
    EXPECT_TRUE(isCleared(arr(3)[3]));
}

// The list holds 100 (dbSize 1). 100 matches fit; the 101st is "too many": the error, then the window
// with the first 100.
TEST_F(CatalogueAccess, BarcodeAgreementListAtAndBeyondItsCapacity) {
    ASSERT_EQ(cap(3), 100);
    for (int matches : {100, 101}) {
        SCOPED_TRACE(matches);
        ws.createArrays(1);
        ws.loaded[kKindCatalogue] = 1;
        prompter.clear();
        window = ScriptedAgreement{};
        window.answer = kAgreeAdd;
        for (int i = 0; i < matches; ++i) arr(1)[i] = rec("m" + std::to_string(i), "555");

        prompter.answers = {Answer::Ok};
        int index = -1;
        EXPECT_EQ(registerCdRecord(ws, window, rec("new", "555"), index), 0);
        std::vector<std::string> expected{kConfirm};
        if (matches > 100) expected.push_back(kTooMany);
        EXPECT_EQ(texts(), expected);
        EXPECT_EQ(prompter.boxes.back().kind, matches > 100 ? BoxKind::Error : BoxKind::Confirmation);
        ASSERT_EQ(window.calls, 1);
        EXPECT_EQ(window.seen.matchCount, 100);
        EXPECT_EQ(window.seen.agreeMode, 0);
        EXPECT_EQ(window.keyTitle, "new");
        EXPECT_EQ(window.shownIndexes.front(), 0);
        EXPECT_EQ(window.shownIndexes.back(), 99);
        EXPECT_EQ(index, matches);  // "追加": the first free slot
        EXPECT_EQ(fieldText(arr(1)[index].title), "new");
    }
}

// ---- registration ------------------------------------------------------------------------------

TEST_F(CatalogueAccess, CancelOnTheQuestionRegistersNothing) {
    arr(1)[0] = rec("old", "X1");
    prompter.answers = {Answer::Cancel};
    int index = 7;
    EXPECT_EQ(registerCdRecord(ws, window, rec("new", "X1"), index), -1);
    EXPECT_EQ(index, -1);
    ASSERT_EQ(texts(), std::vector<std::string>{kConfirm});
    EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Confirmation);
    EXPECT_EQ(prompter.boxes[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(window.calls, 0);
    EXPECT_EQ(titles(1, 0, 2), (std::vector<std::string>{"old", ""}));
    EXPECT_TRUE(isCleared(arr(6)[0]));
}

TEST_F(CatalogueAccess, InvalidRecordIsRefusedAfterTheQuestion) {
    CdRecord bad = rec("bad", "   ");
    prompter.answers = {Answer::Ok};
    int index = 0;
    EXPECT_EQ(registerCdRecord(ws, window, bad, index), -1);
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[1].text, cdRecordProblem(bad));
    EXPECT_TRUE(isCleared(arr(1)[0]));
    EXPECT_TRUE(isCleared(arr(6)[0]));
}

// The last free slot takes the record; with the catalogue then full the next one is refused and
// nothing changes.
TEST_F(CatalogueAccess, RegistrationIntoTheLastFreeSlotThenIntoAFullCatalogue) {
    const int n = cap(1);
    for (int i = 0; i < n - 1; ++i) arr(1)[i] = rec("c" + std::to_string(i), "K" + std::to_string(i));
    CdRecord fresh = rec("fresh", "NEW1");
    fresh.registeredAt = 5;
    prompter.answers = {Answer::Ok};
    int index = -1;
    EXPECT_EQ(registerCdRecord(ws, window, fresh, index), 0);
    EXPECT_EQ(index, n - 1);
    EXPECT_EQ(texts(), std::vector<std::string>{kConfirm});
    EXPECT_EQ(window.calls, 0);  // no barcode match: no window
    EXPECT_EQ(fieldText(arr(1)[n - 1].title), "fresh");
    EXPECT_EQ(arr(1)[n - 1].active, 1);
    EXPECT_EQ(arr(1)[n - 1].registeredAt, now());
    EXPECT_EQ(fieldText(arr(6)[0].title), "fresh");
    EXPECT_EQ(arr(6)[0].registeredAt, now());

    const std::vector<CdRecord> before(arr(1).data(), arr(1).data() + arr(1).slotCount());
    const CdRecord newTop = arr(6)[0];
    prompter.clear();
    prompter.answers = {Answer::Ok};
    EXPECT_EQ(registerCdRecord(ws, window, rec("one too many", "NEW2"), index), -1);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(texts(), (std::vector<std::string>{kConfirm, kFull}));
    EXPECT_EQ(prompter.boxes[1].kind, BoxKind::Error);
    for (int i = 0; i < arr(1).slotCount(); ++i) ASSERT_TRUE(sameBytes(arr(1)[i], before[static_cast<std::size_t>(i)]));
    EXPECT_TRUE(sameBytes(arr(6)[0], newTop));
    EXPECT_TRUE(isCleared(arr(4)[0]));
}

TEST_F(CatalogueAccess, ReplaceMovesTheOldVersionToTheDeletedHistory) {
    arr(1)[3] = rec("first", "DUP");
    arr(1)[7] = rec("second", "dup-x");
    arr(1)[7].registeredAt = 11;
    arr(4)[0] = rec("earlier deletion");
    arr(6)[0] = rec("earlier registration");
    window.answer = kAgreeReplace;
    window.row = 1;
    prompter.answers = {Answer::Ok};
    int index = -1;
    EXPECT_EQ(registerCdRecord(ws, window, rec("replacement", "DUP"), index), 0);
    EXPECT_EQ(index, 7);
    EXPECT_EQ(window.shownIndexes, (std::vector<int>{3, 7}));
    EXPECT_EQ(titles(1, 3, 4), std::vector<std::string>{"first"});
    EXPECT_EQ(fieldText(arr(1)[7].title), "replacement");
    EXPECT_EQ(arr(1)[7].registeredAt, now());

    EXPECT_EQ(titles(4, 0, 2), (std::vector<std::string>{"second", "earlier deletion"}));
    EXPECT_EQ(arr(4)[0].deletedAt, now());
    EXPECT_EQ(arr(4)[0].registeredAt, 11);
    EXPECT_EQ(titles(6, 0, 2), (std::vector<std::string>{"replacement", "earlier registration"}));
    EXPECT_EQ(arr(6)[0].registeredAt, now());
    EXPECT_EQ(texts(), std::vector<std::string>{kConfirm});
}

TEST_F(CatalogueAccess, TheWindowsAnswerDecidesTheSlot) {
    struct Case {
        int answer;
        int result;
        int index;
    };
    for (Case c : {Case{kAgreeCancelled, kNotRegistered, -1}, Case{kAgreeAdd, 0, 0}}) {
        SCOPED_TRACE(c.answer);
        ws.createArrays(1);
        ws.loaded[kKindCatalogue] = 1;
        arr(1)[1] = rec("kept", "SAME");
        window = ScriptedAgreement{};
        window.answer = c.answer;
        prompter.clear();
        prompter.answers = {Answer::Ok};
        int index = 5;
        EXPECT_EQ(registerCdRecord(ws, window, rec("new", "SAME"), index), c.result);
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(window.calls, 1);
        EXPECT_EQ(fieldText(arr(1)[1].title), "kept");
        EXPECT_EQ(fieldText(arr(1)[0].title), c.index == 0 ? "new" : "");
        EXPECT_EQ(fieldText(arr(6)[0].title), c.index == 0 ? "new" : "");
        EXPECT_TRUE(isCleared(arr(4)[0]));
        EXPECT_EQ(texts(), std::vector<std::string>{kConfirm});
    }
}

// ---- histories and deletion --------------------------------------------------------------------

// 499 earlier entries all stay; with 500 the oldest drops out. The sentinel slot stays cleared.
TEST_F(CatalogueAccess, HistoriesHold500NewestFirst) {
    struct Case {
        int kind;
        int (*add)(Workspace&, const CdRecord&);
    };
    for (Case c : {Case{kKindDeleted, addToDeletedList}, Case{kKindNew, addToNewList}}) {
        for (int earlier : {499, 500}) {
            SCOPED_TRACE(std::to_string(c.kind) + " with " + std::to_string(earlier));
            ws.createArrays(1);
            ASSERT_EQ(cap(c.kind), 500);
            for (int i = 0; i < earlier; ++i) arr(c.kind)[i] = rec("h" + std::to_string(i));
            EXPECT_EQ(c.add(ws, rec("newest")), 0);
            EXPECT_EQ(fieldText(arr(c.kind)[0].title), "newest");
            EXPECT_EQ(c.kind == kKindDeleted ? arr(c.kind)[0].deletedAt : arr(c.kind)[0].registeredAt, now());
            EXPECT_EQ(c.kind == kKindDeleted ? arr(c.kind)[0].registeredAt : arr(c.kind)[0].deletedAt, 0);
            for (int i = 1; i < 500; ++i) ASSERT_EQ(fieldText(arr(c.kind)[i].title), "h" + std::to_string(i - 1));
            EXPECT_TRUE(isCleared(arr(c.kind)[500]));
        }
    }
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(CatalogueAccess, DeletingARecordMovesItToTheDeletedHistory) {
    arr(1)[2] = rec("doomed", "D1");
    EXPECT_EQ(deleteCatalogueRecord(ws, 2), 0);
    EXPECT_TRUE(isCleared(arr(1)[2]));
    EXPECT_EQ(fieldText(arr(4)[0].title), "doomed");
    EXPECT_EQ(arr(4)[0].deletedAt, now());

    EXPECT_EQ(deleteCatalogueRecord(ws, 2), kSlotWasEmpty);  // already empty: left alone
    EXPECT_TRUE(isCleared(arr(4)[1]));
    EXPECT_TRUE(prompter.boxes.empty());

    EXPECT_EQ(deleteCatalogueRecord(ws, -1), -1);
    EXPECT_EQ(texts(), std::vector<std::string>{kGetError});
    EXPECT_TRUE(isCleared(arr(4)[1]));

    int free = -1;
    EXPECT_EQ(firstFreeCatalogueSlot(ws, free), 0);
    EXPECT_EQ(free, 0);
}

// ---- extraction ---------------------------------------------------------------------------------

TEST_F(CatalogueAccess, ExtractionWithoutACatalogueTellsTheUser) {
    ws.loaded[kKindCatalogue] = 0;
    ws.loaded[kKindReference] = 1;
    arr(1)[0] = rec("x", "X");
    arr(7)[0] = rec("stale");
    ExtractSpec request = textSpec(kItemBarcode, 0);
    request.resultCount = 9;
    request.found = 1;
    CdRecord key = rec("key", "X");
    EXPECT_EQ(extractCdRecords(ws, key, request), 0);
    ASSERT_EQ(texts(), std::vector<std::string>{kNotLoaded});
    EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Information);
    EXPECT_EQ(request.resultCount, 0);
    EXPECT_EQ(request.found, 0);
    EXPECT_EQ(ws.loaded[kKindReference], 0);
    EXPECT_TRUE(isCleared(arr(7)[0]));
}

TEST_F(CatalogueAccess, TextExtractionPrefixOrPartial) {
    auto artist = [](const std::string& title, const std::string& name, int kind = 0) {
        CdRecord r = rec(title);
        setField(r.artist, name);
        setField(r.userCode, "U-" + title);
        r.kind = static_cast<std::int16_t>(kind);
        return r;
    };
    arr(1)[0] = artist("beatles", "The Beatles");
    arr(1)[2] = artist("crusaders", "Beat Crusaders", 1);
    arr(1)[3] = artist("spaced", "B e a t");
    arr(1)[4] = artist("kana", sj("ザ・ビートルズ"));
    arr(1)[5] = artist("gone", "Beat");
    arr(1)[5].active = 0;
    arr(1)[6] = artist("blank", "   ");
    arr(1)[7] = artist("lower", "beatnik");
    struct Case {
        int item;
        int partial;
        std::string text;
        int kindFilter;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {kItemArtist, 0, "Beat", kAllKinds, {"crusaders", "spaced"}},
        {kItemArtist, 1, "Beat", kAllKinds, {"beatles", "crusaders", "spaced"}},
        {kItemArtist, 0, "beat", kAllKinds, {"lower"}},  // case-sensitive
        {kItemArtist, 1, "eat", kAllKinds, {"beatles", "crusaders", "spaced", "lower"}},
        {kItemArtist, 0, "Th eBe", kAllKinds, {"beatles"}},  // blanks removed on both sides
        {kItemArtist, 1, sj("ビート"), kAllKinds, {"kana"}},
        {kItemArtist, 0, sj("ビート"), kAllKinds, {}},
        {kItemArtist, 1, "Beat", 1, {"crusaders"}},
        {kItemArtist, 1, "Beat", 2, {}},
        {kItemArtist, 1, "  ", kAllKinds, {}},  // an empty search text extracts nothing
        {kItemUserCode, 0, "U-b", kAllKinds, {"beatles", "blank"}},
        {kItemUserCode, 1, "ers", kAllKinds, {"crusaders"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + " item " + std::to_string(c.item) + " partial " + std::to_string(c.partial));
        prompter.clear();
        CdRecord key = clearedRecord();
        if (c.item == kItemArtist)
            setField(key.artist, c.text);
        else
            setField(key.userCode, c.text);
        ExtractSpec request = textSpec(c.item, c.partial, c.kindFilter);
        EXPECT_EQ(extractCdRecords(ws, key, request), 0);
        EXPECT_EQ(results(request), c.expected);
        EXPECT_EQ(request.found, c.expected.empty() ? 0 : 1);
        EXPECT_EQ(ws.loaded[kKindReference], 1);
        EXPECT_TRUE(prompter.boxes.empty());
        EXPECT_FALSE(prompter.busy());
    }
    // Every result carries the slot it came from.
    CdRecord key = clearedRecord();
    setField(key.artist, "Beat");
    ExtractSpec request = textSpec(kItemArtist, 1);
    ASSERT_EQ(extractCdRecords(ws, key, request), 0);
    ASSERT_EQ(request.resultCount, 3);
    EXPECT_EQ(arr(7)[0].catalogueIndex, 0);
    EXPECT_EQ(arr(7)[1].catalogueIndex, 2);
    EXPECT_EQ(arr(7)[2].catalogueIndex, 3);
    EXPECT_TRUE(isCleared(arr(7)[3]));  // the previous, longer result is gone
}

TEST_F(CatalogueAccess, DateRangeIncludesBothEndsInEitherOrder) {
    const std::int32_t dates[] = {20240131, 20240201, 20240215, 20240229, 20240301};
    for (int i = 0; i < 5; ++i) {
        arr(1)[i] = rec("d" + std::to_string(i));
        arr(1)[i].saleDate = dates[i];
        arr(1)[i].entryDate = dates[4 - i];
        arr(1)[i].openDate = dates[i] == 20240215 ? 0 : dates[i];
    }
    struct Case {
        int item;
        std::int32_t a, b;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {kItemSaleDate, 20240201, 20240229, {"d1", "d2", "d3"}},
        {kItemEntryDate, 20240201, 20240215, {"d2", "d3"}},
        {kItemOpenDate, 20240201, 20240229, {"d1", "d3"}},
        {kItemSaleDate, 20240301, 20240301, {"d4"}},
    };
    for (const Case& c : cases) {
        for (bool reversed : {false, true}) {
            SCOPED_TRACE(std::to_string(c.item) + (reversed ? " reversed" : ""));
            ExtractSpec request = textSpec(c.item, 0);
            request.dateFrom = reversed ? c.b : c.a;
            request.dateTo = reversed ? c.a : c.b;
            EXPECT_EQ(extractCdRecords(ws, clearedRecord(), request), 0);
            EXPECT_EQ(results(request), c.expected);
        }
    }
}

// 500 matches all fit; of 501 the last is not extracted, and the request says that some were cut.
TEST_F(CatalogueAccess, ExtractionStopsAt500Results) {
    ws.createArrays(2);
    ws.loaded[kKindCatalogue] = 1;
    ASSERT_EQ(cap(7), 500);
    for (int matches : {500, 501}) {
        SCOPED_TRACE(matches);
        for (int i = 0; i < cap(1); ++i) {
            arr(1)[i] = rec("n" + std::to_string(i), i < matches ? "HIT" : "MISS");
        }
        ExtractSpec request = textSpec(kItemBarcode, 0);
        CdRecord key = clearedRecord();
        setField(key.barcode, "HIT");
        EXPECT_EQ(extractCdRecords(ws, key, request), 0);
        EXPECT_EQ(request.resultCount, 500);
        EXPECT_EQ(fieldText(arr(7)[499].title), "n499");
        EXPECT_EQ(arr(7)[499].catalogueIndex, 499);
        EXPECT_TRUE(isCleared(arr(7)[500]));  // the 501st went nowhere, not even the sentinel slot
        EXPECT_EQ(request.truncated, matches > 500 ? 1 : 0);
        EXPECT_EQ(request.found, 1);
    }
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(CatalogueAccess, InformationByAgeOfTheRentalStart) {
    // Today is 2024-05-06.
    struct Rec {
        std::string title;
        std::int32_t openDate;
        int infoKind;
        int kind;
    };
    const Rec recs[] = {
        {"today", 20240506, 1, 0},   {"30 days", 20240406, 2, 0}, {"31 days", 20240405, 1, 0},
        {"60 days", 20240307, 1, 3}, {"61 days", 20240306, 1, 0}, {"90 days", 20240206, 1, 0},
        {"91 days", 20240205, 1, 0}, {"tomorrow", 20240507, 1, 0}, {"normal", 20240506, 0, 0},
        {"no date", 0, 1, 0},
    };
    for (int i = 0; i < 10; ++i) {
        arr(1)[i] = rec(recs[i].title);
        arr(1)[i].openDate = recs[i].openDate;
        arr(1)[i].infoKind = static_cast<std::int16_t>(recs[i].infoKind);
        arr(1)[i].kind = static_cast<std::int16_t>(recs[i].kind);
    }
    struct Case {
        int range;
        int kind;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {0, kAllKinds, {"today", "30 days"}},
        {1, kAllKinds, {"today", "30 days", "31 days", "60 days"}},
        {2, kAllKinds, {"today", "30 days", "31 days", "60 days", "61 days", "90 days"}},
        {3, kAllKinds, {"tomorrow"}},
        {1, 3, {"60 days"}},
        {0, 3, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.range) + " kind " + std::to_string(c.kind));
        ExtractSpec request;
        initExtractSpec(request);
        request.extractMode = 1;
        request.ageRange = static_cast<std::int16_t>(c.range);
        request.ageKind = static_cast<std::int16_t>(c.kind);
        request.item = kItemBarcode;  // ignored in this mode
        EXPECT_EQ(extractCdRecords(ws, clearedRecord(), request), 0);
        EXPECT_EQ(results(request), c.expected);
    }
}

TEST_F(CatalogueAccess, ExtractionShowsTheHourglassWhileItRuns) {
    arr(1)[0] = rec("a", "A");
    CdRecord key = clearedRecord();
    setField(key.barcode, "A");
    ExtractSpec request = textSpec(kItemBarcode, 0);
    EXPECT_EQ(extractCdRecords(ws, key, request), 0);
    EXPECT_EQ(prompter.events, (std::vector<std::string>{"busy on", "busy off"}));
}

}  // namespace
}  // namespace zemo::testing
