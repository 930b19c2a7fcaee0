// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "support/scripted_prompter.h"
#include "platform/sjis.h"
#include "records/record_access.h"

// Allocation failure on demand: every allocation of at least this many bytes throws (0 = never).
// Small allocations (the message texts, the prompter's log) still succeed.
namespace {
std::atomic<std::size_t> gFailAllocFrom{0};
}

namespace {
void* allocate(std::size_t n) noexcept {
    std::size_t limit = gFailAllocFrom.load();
    if (limit != 0 && n >= limit) return nullptr;
    return std::malloc(n ? n : 1);
}
void* allocateOrThrow(std::size_t n) {
    if (void* p = allocate(n)) return p;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t n) { return allocateOrThrow(n); }
void* operator new[](std::size_t n) { return allocateOrThrow(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return allocate(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace zemo {
namespace {

constexpr const char* kGetError = "DATA GET ERROR!(Under or Over)";
constexpr const char* kPutError = "DATA PUT ERROR!(Under or Over)";

bool sameBytes(const CdRecord& a, const CdRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool isCleared(const CdRecord& r) { return sameBytes(r, clearedRecord()); }

// An active record recognisable by its title.
CdRecord rec(const std::string& tag, const std::string& barcode = "", int openDate = 0) {
    CdRecord r = clearedRecord();
    r.active = 1;
    setField(r.title, tag);
    setField(r.barcode, barcode, kBarcodeMax);
    r.openDate = openDate;
    return r;
}

std::vector<std::string> titles(const TCddataArray& a, int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i < to; ++i) out.push_back(fieldText(a[i].title));
    return out;
}

class RecordAccess : public ::testing::Test {
protected:
    RecordAccess() : ws(prompter, clock) { ws.createArrays(1); }
    ScriptedPrompter prompter;
    FixedClock clock;
    Workspace ws;
};

// ---- checked access -------------------------------------------------------------------------

TEST_F(RecordAccess, GetRecordAcceptsCapacityAndRefusesBeyond) {
    const int cap = ws.capacity(kKindShuffle);  // 30: slot 30 exists (the sentinel slot)
    ws.arrays[kKindShuffle][cap] = rec("last");
    CdRecord r = rec("caller's");
    EXPECT_EQ(getRecord(ws, r, cap, kKindShuffle, cap), 0);
    EXPECT_EQ(fieldText(r.title), "last");
    EXPECT_TRUE(prompter.boxes.empty());

    for (int index : {cap + 1, -1}) {
        SCOPED_TRACE(index);
        prompter.clear();
        r = rec("caller's");
        EXPECT_EQ(getRecord(ws, r, index, kKindShuffle, cap), -1);
        EXPECT_TRUE(isCleared(r));
        ASSERT_EQ(prompter.boxes.size(), 1u);
        EXPECT_EQ(prompter.boxes[0].text, kGetError);
        EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Error);
        EXPECT_EQ(prompter.boxes[0].buttons, Buttons::Ok);
    }
}

TEST_F(RecordAccess, PutRecordRefusesOutOfRangeAndStoresNothing) {
    const int cap = ws.capacity(kKindShuffle);
    for (int index : {cap + 1, -1}) {
        SCOPED_TRACE(index);
        prompter.clear();
        EXPECT_EQ(putRecord(ws, rec("x"), index, kKindShuffle, cap), -1);
        ASSERT_EQ(prompter.texts(), std::vector<std::string>{kPutError});
        EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Error);
        EXPECT_EQ(prompter.boxes[0].buttons, Buttons::Ok);
    }
    for (int i = 0; i < ws.arrays[kKindShuffle].slotCount(); ++i) EXPECT_TRUE(isCleared(ws.arrays[kKindShuffle][i]));

    EXPECT_EQ(putRecord(ws, rec("edge"), cap, kKindShuffle, cap), 0);
    EXPECT_EQ(fieldText(ws.arrays[kKindShuffle][cap].title), "edge");
}

// A capacity argument larger than the array must not reach memory outside it.
TEST_F(RecordAccess, IndexBeyondTheRealSlotsIsRefusedWhateverTheCapacitySays) {
    const int slots = ws.arrays[kKindShuffle].slotCount();  // 31
    CdRecord r = rec("caller's");
    EXPECT_EQ(getRecord(ws, r, slots, kKindShuffle, 10000), -1);
    EXPECT_TRUE(isCleared(r));
    EXPECT_EQ(putRecord(ws, rec("x"), slots, kKindShuffle, 10000), -1);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kGetError, kPutError}));
}

TEST_F(RecordAccess, KindOutsideTheArraysIsIgnored) {
    for (int kind : {0, 8, -1}) {
        SCOPED_TRACE(kind);
        CdRecord r = rec("caller's");
        EXPECT_EQ(getRecord(ws, r, 0, kind, 500), 0);
        EXPECT_EQ(fieldText(r.title), "caller's");
        EXPECT_EQ(getRecord(ws, r, 100000, kind, 500), 0);  // not even the range is looked at
        EXPECT_EQ(putRecord(ws, rec("stored?"), 0, kind, 500), 0);
    }
    EXPECT_TRUE(prompter.boxes.empty());
    for (int k = 1; k <= kArrayKinds; ++k) EXPECT_TRUE(isCleared(ws.arrays[k][0])) << k;
}

TEST_F(RecordAccess, CountActiveCountsOnlyActiveOneBelowN) {
    auto& a = ws.arrays[kKindShuffle];
    a[0] = rec("a");
    a[2] = rec("b");
    a[3] = rec("c");
    a[3].active = 2;  // not a slot in use
    a[5] = rec("beyond n");
    int count = -7;
    EXPECT_EQ(countActive(ws, count, kKindShuffle, 5), 0);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(countActive(ws, count, kKindShuffle, 0), 0);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(prompter.boxes.empty());

    // One slot past the capacity: the access fails once and the count stops.
    EXPECT_EQ(countActive(ws, count, kKindShuffle, ws.capacity(kKindShuffle) + 2), -1);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{kGetError});
}

TEST_F(RecordAccess, ClearSlotsClearsFromUpToButExcludingTo) {
    auto& a = ws.arrays[kKindShuffle];
    for (int i = 0; i < a.slotCount(); ++i) a[i] = rec(std::to_string(i));
    clearSlots(5, 5, a);
    clearSlots(9, 3, a);
    for (int i = 0; i < a.slotCount(); ++i) EXPECT_EQ(a[i].active, 1) << i;
    clearSlots(2, 4, a);
    EXPECT_EQ(titles(a, 1, 5), (std::vector<std::string>{"1", "", "", "4"}));
    EXPECT_TRUE(isCleared(a[2]));
    EXPECT_TRUE(isCleared(a[3]));
    clearSlots(-3, 1000, a);  // never outside the array
    for (int i = 0; i < a.slotCount(); ++i) EXPECT_TRUE(isCleared(a[i])) << i;
}

TEST_F(RecordAccess, CompactMovesActiveRecordsToTheFrontInOrder) {
    auto& a = ws.arrays[kKindShuffle];
    a[0] = rec("A");
    a[1] = rec("ghost");
    a[1].active = 0;  // an empty slot with leftovers
    a[2] = rec("B");
    EXPECT_EQ(compact(ws, kKindShuffle, 3), 0);
    EXPECT_EQ(titles(a, 0, 2), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(isCleared(a[2]));

    a[7] = rec("C");
    a[29] = rec("D");
    a[30] = rec("sentinel slot");  // outside 0 .. capacity - 1: left alone
    EXPECT_EQ(compact(ws, kKindShuffle, 30), 0);
    EXPECT_EQ(titles(a, 0, 4), (std::vector<std::string>{"A", "B", "C", "D"}));
    for (int i = 4; i < 30; ++i) EXPECT_TRUE(isCleared(a[i])) << i;
    EXPECT_EQ(fieldText(a[30].title), "sentinel slot");
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(RecordAccess, CompactBeyondTheArrayIsRefusedAndMovesNothing) {
    auto& a = ws.arrays[kKindShuffle];
    a[1] = rec("A");
    EXPECT_EQ(compact(ws, kKindShuffle, 500), -1);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{kGetError});
    EXPECT_TRUE(isCleared(a[0]));
    EXPECT_EQ(fieldText(a[1].title), "A");
}

// ---- sorting: fixed cases ---------------------------------------------------------------------

TEST_F(RecordAccess, SortingAnArrayWithoutRecordsLeavesItEmpty) {
    auto& a = ws.arrays[kKindReference];
    a[3] = rec("ghost");
    a[3].active = 0;
    const int cap = ws.capacity(kKindReference);
    EXPECT_EQ(sortRecords(ws, kSortBarcode, kKindReference, cap, 0), 0);
    for (int i = 0; i <= cap; ++i) EXPECT_TRUE(isCleared(a[i])) << i;
    EXPECT_EQ(sortCatalogue(ws, kKindReference, cap), 0);
    EXPECT_TRUE(isCleared(a[0]));
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(RecordAccess, SortShowsTheBusyCursorAndClearsTheSentinelSlot) {
    auto& a = ws.arrays[kKindShuffle];
    a[4] = rec("b", "2");
    a[9] = rec("a", "1");
    EXPECT_EQ(sortRecords(ws, kSortBarcode, kKindShuffle, 30, 0), 0);
    EXPECT_EQ(titles(a, 0, 2), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(isCleared(a[2]));
    EXPECT_EQ(prompter.events, (std::vector<std::string>{"busy on", "busy off"}));
}

TEST_F(RecordAccess, SaleDateSortsNewestFirstForFlagZeroAndOldestFirstForFlagOne) {
    auto& a = ws.arrays[kKindShuffle];
    const int dates[] = {20010101, 0, 19990505, 20240101, 0};
    for (int i = 0; i < 5; ++i) {
        a[i] = rec(std::to_string(i));
        a[i].saleDate = dates[i];
    }
    ASSERT_EQ(sortRecords(ws, kSortSaleDate, kKindShuffle, 30, 0), 0);
    EXPECT_EQ(titles(a, 0, 5), (std::vector<std::string>{"3", "0", "2", "1", "4"}));
    ASSERT_EQ(sortRecords(ws, kSortSaleDate, kKindShuffle, 30, 1), 0);
    EXPECT_EQ(titles(a, 0, 5), (std::vector<std::string>{"1", "4", "2", "0", "3"}));
}

TEST_F(RecordAccess, EqualBarcodesKeepTheirOrderInBothDirections) {
    auto& a = ws.arrays[kKindShuffle];
    a[0] = rec("x1", "555");
    a[1] = rec("y", "777");
    a[2] = rec("x2", "555");
    a[3] = rec("x3", "555");
    ASSERT_EQ(sortRecords(ws, kSortBarcode, kKindShuffle, 30, 0), 0);
    EXPECT_EQ(titles(a, 0, 4), (std::vector<std::string>{"x1", "x2", "x3", "y"}));
    ASSERT_EQ(sortRecords(ws, kSortBarcode, kKindShuffle, 30, 1), 0);
    EXPECT_EQ(titles(a, 0, 4), (std::vector<std::string>{"y", "x1", "x2", "x3"}));
}

TEST_F(RecordAccess, CatalogueOrderByDateThenBarcodeThenTitleAttributeFirst) {
    auto& a = ws.arrays[kKindCatalogue];
    const int cap = ws.capacity(kKindCatalogue);
    a[0] = rec("normal pos 1", "4988", 20240101);
    a[0].infoKind = 0;  // "1:通常"
    a[0].trackPos = 1;
    a[1] = rec("older", "0001", 20230101);
    a[2] = rec("title pos 5", "4988", 20240101);
    a[2].infoKind = 1;  // "2:ﾀｲﾄﾙ"
    a[2].trackPos = 5;
    a[3] = rec("smaller barcode", "1111", 20240101);
    a[4] = rec("newest", "9999", 20250101);
    ASSERT_EQ(infoKindName(1), sj("2:ﾀｲﾄﾙ"));
    ASSERT_EQ(sortCatalogue(ws, kKindCatalogue, cap), 0);
    EXPECT_EQ(titles(a, 0, 5), (std::vector<std::string>{"newest", "smaller barcode", "title pos 5",
                                                         "normal pos 1", "older"}));
    EXPECT_TRUE(isCleared(a[5]));
}

TEST_F(RecordAccess, SortModeOneLeavesTheCatalogueUntouched) {
    auto& a = ws.arrays[kKindCatalogue];
    a[0] = rec("old", "1", 19990101);
    a[2] = rec("new", "2", 20240101);
    ws.control.sortMode = 1;
    EXPECT_EQ(sortCatalogue(ws, kKindCatalogue, ws.capacity(kKindCatalogue)), 0);
    EXPECT_EQ(fieldText(a[0].title), "old");
    EXPECT_TRUE(isCleared(a[1]));  // not even compacted
    EXPECT_EQ(fieldText(a[2].title), "new");
    EXPECT_TRUE(prompter.events.empty());

    ws.control.sortMode = 0;
    EXPECT_EQ(sortCatalogue(ws, kKindCatalogue, ws.capacity(kKindCatalogue)), 0);
    EXPECT_EQ(titles(a, 0, 2), (std::vector<std::string>{"new", "old"}));
}

// A key above the sentinel's (15 bytes of 0xFF, or an unterminated field) would walk past the
// sentinel slot; in a full array that is past the end. It must simply sort last.
TEST_F(RecordAccess, KeyAboveTheSentinelSortsLastInAFullArray) {
    auto& a = ws.arrays[kKindShuffle];
    const int cap = ws.capacity(kKindShuffle);
    for (int i = 0; i < cap; ++i) a[i] = rec(std::to_string(i), std::to_string(100 + i));
    std::memset(a[0].barcode, 0xFF, 15);
    std::memset(a[1].barcode, 0xFF, 16);  // no NUL at all
    std::memset(a[2].barcode, 0xFF, 14);  // exactly the sentinel's key
    a[cap] = rec("in the sentinel slot");
    ASSERT_EQ(sortRecords(ws, kSortBarcode, kKindShuffle, cap, 0), 0);
    EXPECT_EQ(titles(a, cap - 3, cap), (std::vector<std::string>{"2", "0", "1"}));
    EXPECT_EQ(titles(a, 0, 2), (std::vector<std::string>{"3", "4"}));
    for (int i = 0; i < cap; ++i) EXPECT_EQ(a[i].active, 1) << i;
    EXPECT_TRUE(isCleared(a[cap]));
}

TEST_F(RecordAccess, NegativeDateNewestFirstStaysLast) {
    auto& a = ws.arrays[kKindShuffle];
    const int cap = ws.capacity(kKindShuffle);
    for (int i = 0; i < cap; ++i) {
        a[i] = rec(std::to_string(i));
        a[i].openDate = 20000000 + i;
    }
    a[0].openDate = -20240101;  // damaged: below the descending sentinel's 0
    ASSERT_EQ(sortRecords(ws, kSortOpenDate, kKindShuffle, cap, 0), 0);
    EXPECT_EQ(fieldText(a[cap - 1].title), "0");
    EXPECT_EQ(fieldText(a[0].title), std::to_string(cap - 1));
    EXPECT_TRUE(isCleared(a[cap]));
}

TEST_F(RecordAccess, SortWithACapacityBeyondTheArrayIsRefused) {
    auto& a = ws.arrays[kKindShuffle];
    a[1] = rec("b", "2");
    a[0] = rec("a", "1");
    a[0].active = 0;
    for (int cap : {31, 500, -1}) {
        SCOPED_TRACE(cap);
        prompter.clear();
        EXPECT_EQ(sortRecords(ws, kSortBarcode, kKindShuffle, cap, 0), -1);
        EXPECT_EQ(prompter.texts(), std::vector<std::string>{kGetError});
        EXPECT_FALSE(prompter.busy());
    }
    EXPECT_EQ(fieldText(a[0].title), "a");
    EXPECT_EQ(fieldText(a[1].title), "b");
}

TEST_F(RecordAccess, OutOfMemoryShowsTheMessageAndSortsNothing) {
    auto& a = ws.arrays[kKindCatalogue];
    a[0] = rec("b", "2");
    a[2] = rec("a", "1");
    const std::vector<CdRecord> before(a.data(), a.data() + a.slotCount());
    gFailAllocFrom = 1024;  // the lists of a 500-record array need more
    int r1 = sortRecords(ws, kSortBarcode, kKindCatalogue, ws.capacity(kKindCatalogue), 0);
    int r2 = sortCatalogue(ws, kKindCatalogue, ws.capacity(kKindCatalogue));
    gFailAllocFrom = 0;
    EXPECT_NE(r1, 0);
    EXPECT_NE(r2, 0);
    const std::string msg = "メモリーが足りないようです!";
    ASSERT_EQ(prompter.texts(), (std::vector<std::string>{msg, msg}));
    for (const auto& box : prompter.boxes) {
        EXPECT_EQ(box.kind, BoxKind::Error);
        EXPECT_FALSE(box.busyWhenShown);
    }
    EXPECT_FALSE(prompter.busy());
    for (int i = 0; i < a.slotCount(); ++i) EXPECT_TRUE(sameBytes(a[i], before[static_cast<std::size_t>(i)])) << i;
}

// ---- sorting against the insertion sort it stands for -----------------------------------------

// Text keys as the insertion sort compares them: unsigned bytes up to the NUL, within the field.
int modelCompare(const char* a, const char* b, int width) {
    for (int i = 0; i < width; ++i) {
        unsigned ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
    return 0;
}

struct ModelPass {
    int keyMode;
    bool ascending;
};

struct Model {
    std::vector<CdRecord> s;  // capacity + 1 slots
    std::vector<std::int32_t> key;
    int sentinelPassed = 0;  // walks that the sentinel did not stop

    static const char* field(const CdRecord& r, int mode) {
        return mode == kSortBarcode ? r.barcode : mode == kSortUserCode ? r.userCode : r.artistCode;
    }
    static int width(int mode) { return mode == kSortArtistCode ? 32 : 16; }

    std::int32_t numeric(const CdRecord& r, int mode) {
        switch (mode) {
            case kSortEntryDate: return r.entryDate;
            case kSortSaleDate: return r.saleDate;
            case kSortOpenDate: return r.openDate;
            default: return r.trackPos + ((r.infoKind == 0 || r.infoKind == 2) ? 100 : 0);
        }
    }

    // The record in slot j (with key kj) belongs strictly before the taken record t (key kt).
    bool before(int mode, bool asc, const CdRecord& rj, std::int32_t kj, const CdRecord& t, std::int32_t kt) {
        if (mode <= kSortArtistCode) {
            int c = modelCompare(field(rj, mode), field(t, mode), width(mode));
            return asc ? c < 0 : c > 0;
        }
        return asc ? kj < kt : kj > kt;
    }

    void pass(int n, ModelPass p) {
        CdRecord sentinel = clearedRecord();
        sentinel.active = 1;
        if (p.ascending && p.keyMode == kSortBarcode) std::memset(sentinel.barcode, 0xFF, 14);
        if (p.ascending && p.keyMode == kSortUserCode) std::memset(sentinel.userCode, 0xFF, 14);
        if (p.ascending && p.keyMode == kSortArtistCode) std::memset(sentinel.artistCode, 0xFF, 30);
        s[static_cast<std::size_t>(n)] = sentinel;
        if (p.keyMode > kSortArtistCode) {
            key[static_cast<std::size_t>(n)] = p.ascending ? 0x7FFFFFFF : 0;
            for (int c = 0; c < n; ++c) key[static_cast<std::size_t>(c)] = numeric(s[static_cast<std::size_t>(c)], p.keyMode);
        }
        for (int i = n - 2; i >= 0; --i) {
            CdRecord t = s[static_cast<std::size_t>(i)];
            std::int32_t kt = key[static_cast<std::size_t>(i)];
            int j = i + 1;
            while (before(p.keyMode, p.ascending, s[static_cast<std::size_t>(j)], key[static_cast<std::size_t>(j)], t, kt)) {
                if (j == n) {  // the walk never goes past the sentinel slot
                    ++sentinelPassed;
                    break;
                }
                s[static_cast<std::size_t>(j - 1)] = s[static_cast<std::size_t>(j)];
                key[static_cast<std::size_t>(j - 1)] = key[static_cast<std::size_t>(j)];
                ++j;
            }
            s[static_cast<std::size_t>(j - 1)] = t;
            key[static_cast<std::size_t>(j - 1)] = kt;
        }
        s[static_cast<std::size_t>(n)] = clearedRecord();
    }

    void run(int capacity, const std::vector<ModelPass>& passes) {
        key.assign(static_cast<std::size_t>(capacity) + 1, 0);
        int w = 0;
        for (int i = 0; i < capacity; ++i)
            if (s[static_cast<std::size_t>(i)].active == 1) s[static_cast<std::size_t>(w++)] = s[static_cast<std::size_t>(i)];
        for (int i = w; i < capacity; ++i) s[static_cast<std::size_t>(i)] = clearedRecord();
        for (const auto& p : passes) pass(w, p);
    }
};

void putBytes(char* field, std::size_t width, const std::string& bytes) {
    std::memset(field, 0, width);
    std::memcpy(field, bytes.data(), std::min(width, bytes.size()));
}

// Few distinct keys (many ties), and the awkward ones: empty, 0xFF runs at, below and above the
// sentinel's length, unterminated fields, leftovers behind the NUL, double-byte text.
CdRecord randomRecord(std::mt19937& rng, int serial) {
    static const std::vector<std::string> codes = {
        "", "1", "12", "4988001234567", std::string("4988001234567\0zz", 16), std::string(14, '\xFF'),
        std::string(13, '\xFF'), std::string(15, '\xFF'), std::string(16, '\xFF'), std::string(16, '9'),
        "\x7F", "\x80", sj("あいう"), std::string(1, '\0') + "hidden"};
    static const std::vector<std::string> artists = {
        "", "A", "AB", std::string(30, '\xFF'), std::string(29, '\xFF'), std::string(31, '\xFF'),
        std::string(32, '\xFF'), std::string(32, 'Z'), std::string("AR\0junk", 7), sj("アーティスト")};
    static const std::vector<std::int32_t> dates = {0, 0, 19991231, 20000101, 20240515, 20240516, -1, INT_MIN, INT_MAX};
    static const std::vector<std::int16_t> positions = {0, 1, 2, 5, 99, -3};
    static const std::vector<std::int16_t> infoKinds = {0, 1, 2, 5};
    auto pick = [&](const auto& v) { return v[std::uniform_int_distribution<std::size_t>(0, v.size() - 1)(rng)]; };

    CdRecord r = clearedRecord();
    putBytes(r.barcode, sizeof r.barcode, pick(codes));
    putBytes(r.userCode, sizeof r.userCode, pick(codes));
    putBytes(r.artistCode, sizeof r.artistCode, pick(artists));
    setField(r.title, "#" + std::to_string(serial));
    r.openDate = pick(dates);
    r.saleDate = pick(dates);
    r.entryDate = pick(dates);
    r.trackPos = pick(positions);
    r.infoKind = pick(infoKinds);
    r.catalogueIndex = static_cast<std::int16_t>(serial);
    int a = std::uniform_int_distribution<int>(0, 9)(rng);
    r.active = static_cast<std::int16_t>(a < 7 ? 1 : a == 7 ? 0 : a == 8 ? 2 : 0);
    if (a == 9) r = clearedRecord();
    return r;
}

struct RandomCase {
    unsigned seed;
    bool full;  // every slot up to the capacity in use: the sentinel takes the last slot
};

void PrintTo(const RandomCase& c, std::ostream* os) { *os << "seed " << c.seed << (c.full ? ", full" : ", partly used"); }

class SortMatchesInsertionSort : public RecordAccess, public ::testing::WithParamInterface<RandomCase> {
protected:
    // Fills the catalogue array, returns the model holding the same slots.
    Model fill(std::mt19937& rng) {
        auto& a = ws.arrays[kKindCatalogue];
        for (int i = 0; i < a.slotCount(); ++i) {
            a[i] = randomRecord(rng, i);
            if (GetParam().full && i < ws.capacity(kKindCatalogue)) a[i].active = 1;
        }
        Model m;
        m.s.assign(a.data(), a.data() + a.slotCount());
        return m;
    }

    void expectSame(const Model& m) {
        const auto& a = ws.arrays[kKindCatalogue];
        ASSERT_EQ(static_cast<int>(m.s.size()), a.slotCount());
        int mismatches = 0;
        for (int i = 0; i < a.slotCount(); ++i)
            if (!sameBytes(a[i], m.s[static_cast<std::size_t>(i)]) && ++mismatches <= 5)
                ADD_FAILURE() << "slot " << i << ": " << fieldText(a[i].title) << " vs model "
                              << fieldText(m.s[static_cast<std::size_t>(i)].title);
    }
};

TEST_P(SortMatchesInsertionSort, EveryKeyAndDirection) {
    const int cap = ws.capacity(kKindCatalogue);
    std::mt19937 rng(GetParam().seed);
    int sentinelPassed = 0;
    for (int mode = kSortBarcode; mode <= kSortPosition; ++mode) {
        for (int flag : {0, 1}) {
            SCOPED_TRACE("key " + std::to_string(mode) + " flag " + std::to_string(flag));
            Model m = fill(rng);
            bool isDate = mode == kSortEntryDate || mode == kSortSaleDate || mode == kSortOpenDate;
            m.run(cap, {{mode, isDate ? flag == 1 : flag == 0}});
            ASSERT_EQ(sortRecords(ws, mode, kKindCatalogue, cap, flag), 0);
            expectSame(m);
            sentinelPassed += m.sentinelPassed;
        }
    }
    EXPECT_GT(sentinelPassed, 0) << "the data should hold keys beyond the sentinel's";
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_P(SortMatchesInsertionSort, CatalogueThreePasses) {
    const int cap = ws.capacity(kKindCatalogue);
    std::mt19937 rng(GetParam().seed + 1000);
    Model m = fill(rng);
    m.run(cap, {{kSortPosition, true}, {kSortBarcode, true}, {kSortOpenDate, false}});
    ASSERT_EQ(sortCatalogue(ws, kKindCatalogue, cap), 0);
    expectSame(m);
}

INSTANTIATE_TEST_SUITE_P(RandomArrays, SortMatchesInsertionSort,
                         ::testing::Values(RandomCase{1, false}, RandomCase{2, false}, RandomCase{3, true},
                                           RandomCase{4, true}),
                         [](const auto& testCase) {
                             return "Seed" + std::to_string(testCase.param.seed) + (testCase.param.full ? "Full" : "PartlyUsed");
                         });

}  // namespace
}  // namespace zemo
