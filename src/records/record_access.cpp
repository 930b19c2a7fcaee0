// SPDX-License-Identifier: GPL-3.0-or-later
// Checked access to the record arrays, compaction and the seven sort keys.
//
// A sort pass is defined as a stable insertion sort behind a sentinel slot: a record walks past
// the ones that belong strictly before it. For a total order on keys that is exactly a stable
// sort by the same "strictly before" relation, so each pass here is a std::stable_sort of an
// index permutation (O(n log n)), and the whole records are moved once at the end.
#include "records/record_access.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "records/file_services.h"

namespace zemo {

namespace {

constexpr const char* kGetError = "DATA GET ERROR!(Under or Over)";
constexpr const char* kPutError = "DATA PUT ERROR!(Under or Over)";
constexpr const char* kNoMemory = "メモリーが足りないようです!";

bool validKind(int kind) { return kind >= 1 && kind <= kArrayKinds; }

// Beyond the capacity the caller names, or beyond the slots the array really has.
bool indexRefused(const TCddataArray& a, int index, int capacity) {
    return index < 0 || index > capacity || index >= a.slotCount();
}

// Text key: bytes up to the NUL, never past the field.
struct TextKey {
    const unsigned char* p;
    std::size_t len;
};

TextKey textKey(const char* field, std::size_t width) {
    const void* nul = std::memchr(field, 0, width);
    std::size_t len = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : width;
    return {reinterpret_cast<const unsigned char*>(field), len};
}

// < 0, 0, > 0 as unsigned byte strings.
int compareText(TextKey a, TextKey b) {
    std::size_t n = std::min(a.len, b.len);
    if (n > 0) {
        int c = std::memcmp(a.p, b.p, n);
        if (c != 0) return c;
    }
    return a.len < b.len ? -1 : (a.len > b.len ? 1 : 0);
}

TextKey recordTextKey(const CdRecord& r, int keyMode) {
    switch (keyMode) {
        case kSortBarcode: return textKey(r.barcode, sizeof r.barcode);
        case kSortUserCode: return textKey(r.userCode, sizeof r.userCode);
        default: return textKey(r.artistCode, sizeof r.artistCode);
    }
}

std::int32_t numericKey(const CdRecord& r, int keyMode) {
    switch (keyMode) {
        case kSortEntryDate: return r.entryDate;
        case kSortSaleDate: return r.saleDate;
        case kSortOpenDate: return r.openDate;
        default: return positionKey(r);
    }
}

bool isTextKey(int keyMode) { return keyMode >= kSortBarcode && keyMode <= kSortArtistCode; }

// Working storage of one sort, all taken before anything is touched so that a shortage of memory
// leaves the array as it was.
struct SortLists {
    std::vector<std::int32_t> key;     // numeric key of the record in slot c
    std::vector<std::int32_t> origin;  // slot each position's record comes from
    std::unique_ptr<CdRecord[]> moved;  // the records in their new order
    explicit SortLists(int n)
        : key(static_cast<std::size_t>(n)), origin(static_cast<std::size_t>(n)),
          moved(std::make_unique_for_overwrite<CdRecord[]>(static_cast<std::size_t>(n))) {}
};

// One stable pass over origin[0..n-1]; the records themselves stay where they are.
void sortPass(const CdRecord* recs, SortLists& lists, int n, int keyMode, bool ascending) {
    auto& origin = lists.origin;
    auto last = origin.begin() + n;
    if (isTextKey(keyMode)) {
        std::stable_sort(origin.begin(), last, [&](std::int32_t a, std::int32_t b) {
            int c = compareText(recordTextKey(recs[a], keyMode), recordTextKey(recs[b], keyMode));
            return ascending ? c < 0 : c > 0;
        });
    } else {
        auto& key = lists.key;
        for (int c = 0; c < n; ++c) key[static_cast<std::size_t>(c)] = numericKey(recs[c], keyMode);
        std::stable_sort(origin.begin(), last, [&](std::int32_t a, std::int32_t b) {
            return ascending ? key[static_cast<std::size_t>(a)] < key[static_cast<std::size_t>(b)]
                             : key[static_cast<std::size_t>(a)] > key[static_cast<std::size_t>(b)];
        });
    }
}

struct Pass {
    int keyMode;
    bool ascending;
};

// Compact, then the passes in order, then the records moved into their places; the slot behind
// the last record (the sentinel slot of the insertion sort) ends cleared.
int sortWith(Workspace& ws, int kind, int capacity, const Pass* passes, int passCount) {
    if (!validKind(kind)) return 0;
    TCddataArray& arr = ws.arrays[kind];
    // The sentinel slot must exist: a capacity beyond the array is refused before anything moves.
    if (capacity < 0 || capacity >= arr.slotCount()) {
        showBox(ws, BoxKind::Error, kGetError, Buttons::Ok);
        return -1;
    }
    busyCursor(ws, true);
    std::unique_ptr<SortLists> lists;
    try {
        lists = std::make_unique<SortLists>(capacity + 1);
    } catch (const std::bad_alloc&) {
        busyCursor(ws, false);
        showBox(ws, BoxKind::Error, kNoMemory, Buttons::Ok);
        return -1;
    }
    compact(ws, kind, capacity);  // range checked above: cannot fail
    int n = 0;
    for (int i = 0; i < capacity; ++i)
        if (isInUse(arr[i])) ++n;
    for (int i = 0; i < n; ++i) lists->origin[static_cast<std::size_t>(i)] = i;

    CdRecord* recs = arr.data();
    for (int p = 0; p < passCount; ++p) sortPass(recs, *lists, n, passes[p].keyMode, passes[p].ascending);
    for (int i = 0; i < n; ++i)
        lists->moved[static_cast<std::size_t>(i)] = recs[lists->origin[static_cast<std::size_t>(i)]];
    std::copy(lists->moved.get(), lists->moved.get() + n, recs);
    clearCdRecord(recs[n]);

    busyCursor(ws, false);
    return 0;
}

}  // namespace

int positionKey(const CdRecord& r) {
    int k = r.trackPos;
    if (r.infoKind == 0 || r.infoKind == 2) k += 100;
    return k;
}

int getRecord(Workspace& ws, CdRecord& out, int index, int kind, int capacity) {
    if (!validKind(kind)) return 0;
    const TCddataArray& arr = ws.arrays[kind];
    if (indexRefused(arr, index, capacity)) {
        showBox(ws, BoxKind::Error, kGetError, Buttons::Ok);
        clearCdRecord(out);
        return -1;
    }
    arr.get(index, out);
    return 0;
}

int putRecord(Workspace& ws, const CdRecord& in, int index, int kind, int capacity) {
    if (!validKind(kind)) return 0;
    TCddataArray& arr = ws.arrays[kind];
    if (indexRefused(arr, index, capacity)) {
        showBox(ws, BoxKind::Error, kPutError, Buttons::Ok);
        return -1;
    }
    arr.put(index, in);
    return 0;
}

int countActive(Workspace& ws, int& count, int kind, int n) {
    count = 0;
    if (!validKind(kind)) return 0;
    int capacity = ws.capacity(kind);
    CdRecord r;
    for (int i = 0; i < n; ++i) {
        if (getRecord(ws, r, i, kind, capacity) != 0) return -1;
        if (isInUse(r)) ++count;
    }
    return 0;
}

void clearSlots(int from, int to, TCddataArray& array) {
    // Unchecked by contract, but never outside the array.
    from = std::max(from, 0);
    to = std::min(to, array.slotCount());
    const CdRecord cleared = clearedRecord();
    for (int i = from; i < to; ++i) array.put(i, cleared);
}

int compact(Workspace& ws, int kind, int capacity) {
    if (!validKind(kind)) return 0;
    TCddataArray& arr = ws.arrays[kind];
    // Checked once for the whole walk: stopping half-way would leave records doubled.
    if (capacity > arr.slotCount()) {
        showBox(ws, BoxKind::Error, kGetError, Buttons::Ok);
        return -1;
    }
    int w = 0;
    for (int i = 0; i < capacity; ++i) {
        if (!isInUse(arr[i])) continue;
        if (w != i) arr[w] = arr[i];
        ++w;
    }
    clearSlots(w, capacity, arr);
    return 0;
}

int sortRecords(Workspace& ws, int keyMode, int kind, int capacity, int descendingFlag) {
    if (keyMode < kSortBarcode || keyMode > kSortPosition) return 0;
    bool ascending = descendingFlag == 0;
    // Dates: flag 0 is newest first.
    if (keyMode == kSortEntryDate || keyMode == kSortSaleDate || keyMode == kSortOpenDate)
        ascending = !ascending;
    const Pass pass{keyMode, ascending};
    return sortWith(ws, kind, capacity, &pass, 1);
}

int sortCatalogue(Workspace& ws, int kind, int capacity) {
    if (ws.control.sortMode == 1) return 0;
    static constexpr Pass passes[] = {
        {kSortPosition, true},
        {kSortBarcode, true},
        {kSortOpenDate, false},
    };
    return sortWith(ws, kind, capacity, passes, 3);
}

}  // namespace zemo
