// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_access.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "records/data_ops.h"
#include "records/file_services.h"
#include "records/record_access.h"
#include "records/text.h"

namespace zemo {

namespace {

constexpr const char* kConfirmRegister = "登録します。";
constexpr const char* kCatalogueFull =
    "ﾃﾞｰﾀは全て登録されています。\n何かﾃﾞｰﾀを消去して、再度登録してください。";
constexpr const char* kTooManyMatches =
    "ﾊﾞｰｺｰﾄﾞ一致ﾃﾞｰﾀがｼｽﾃﾑで制御できる数を越えています！\n不必要なﾃﾞｰﾀを削除して再検索をしてください。";
constexpr const char* kCatalogueNotLoaded = "ﾃﾞｰﾀﾍﾞｰｽﾃﾞｰﾀを読み込んでありません！";

constexpr int kBarcodeBlankKey = 14;  // a key of nothing but blanks

char foldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The text starts with the key, letters of single-byte characters compared without case. Both
// walk in step, so a double-byte character of the key meets the same bytes or fails; its trail
// byte (which may look like a letter) is compared exactly.
bool startsWithFolded(std::string_view text, std::string_view key) {
    if (text.size() < key.size()) return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (isLeadByte(static_cast<unsigned char>(key[i])) && i + 1 < key.size()) {
            if (text[i] != key[i] || text[i + 1] != key[i + 1]) return false;
            ++i;
        } else if (foldAscii(text[i]) != foldAscii(key[i])) {
            return false;
        }
    }
    return true;
}

std::string textItem(const CdRecord& r, int item) {
    switch (item) {
        case kItemBarcode: return fieldText(r.barcode);
        case kItemUserCode: return fieldText(r.userCode);
        case kItemArtistCode: return fieldText(r.artistCode);
        default: return fieldText(r.artist);
    }
}

std::int32_t dateItem(const CdRecord& r, int item) {
    switch (item) {
        case kItemSaleDate: return r.saleDate;
        case kItemEntryDate: return r.entryDate;
        default: return r.openDate;
    }
}

bool kindPasses(const CdRecord& r, int filter) { return filter == kAllKinds || r.kind == filter; }

bool ageInRange(int age, int range) {
    switch (range) {
        case 0: return age >= 0 && age <= 30;
        case 1: return age >= 0 && age <= 60;
        case 2: return age >= 0 && age <= 90;
        case 3: return age < 0;
        default: return false;
    }
}

// Top of a 500-entry history: the entries move one place down, the last one drops out.
int pushHistory(Workspace& ws, int kind, CdRecord record, bool deletedStamp) {
    const CatalogueArray list(ws, kind);
    const int cap = list.capacity();
    if (cap <= 0) return 0;
    CdRecord moved;
    for (int i = cap - 2; i >= 0; --i) {
        if (list.get(i, moved) != 0 || list.put(i + 1, moved) != 0) return -1;
    }
    (deletedStamp ? record.deletedAt : record.registeredAt) = nowStamp(ws.clock);
    return list.put(0, record);
}

int loadIfNeeded(Workspace& ws, int kind) { return CatalogueArray(ws, kind).loadIfNeeded(); }

// Ends the hourglass on every path out of an extraction.
struct BusyScope {
    Workspace& ws;
    explicit BusyScope(Workspace& w) : ws(w) { busyCursor(ws, true); }
    ~BusyScope() { busyCursor(ws, false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

}  // namespace

void initFindSpec(FindSpec& request) { request = FindSpec{}; }
void initExtractSpec(ExtractSpec& request) { request = ExtractSpec{}; }

// --- per-array accessors ---

bool CatalogueArray::isLoaded() const {
    return kind_ >= 1 && kind_ <= kArrayKinds && ws_->loaded[static_cast<std::size_t>(kind_)] != 0;
}

void CatalogueArray::clearRecord(CdRecord& r) { clearCdRecord(r); }

int CatalogueArray::get(int index, CdRecord& out) const {
    return getRecord(*ws_, out, index, kind_, capacity());
}

bool CatalogueArray::getInUse(int index, CdRecord& out) const { return get(index, out) == 0 && isInUse(out); }

int CatalogueArray::put(int index, const CdRecord& in) const {
    return putRecord(*ws_, in, index, kind_, capacity());
}

void CatalogueArray::clearFrom(int index) const {
    TCddataArray* a = ws_->array(kind_);
    if (a) clearSlots(index, capacity(), *a);
}

int CatalogueArray::save() const {
    TCddataArray* a = ws_->array(kind_);
    if (!a) return 0;
    return saveKind(*ws_, ws_->control.backupMode, kind_, capacity(), *a);
}

int CatalogueArray::loadOrCreate(int& count) const {
    count = 0;
    TCddataArray* a = ws_->array(kind_);
    if (!a) return 0;
    return loadKind(*ws_, kind_, capacity(), count, *a, ws_->loaded[static_cast<std::size_t>(kind_)]);
}

int CatalogueArray::loadOrCreate() const {
    int count = 0;
    return loadOrCreate(count);
}

int CatalogueArray::loadIfNeeded() const { return isLoaded() ? 0 : loadOrCreate(); }

int CatalogueArray::transferByDialog(bool askMode, int mode, int& done) const {
    done = 0;
    TCddataArray* a = ws_->array(kind_);
    if (!a) return 0;
    // The reader clears the flag before it knows whether the read will succeed; a cancelled
    // password or a refused truncation must not make the array count as unloaded (a later load
    // would then drop unsaved edits). The reader itself leaves the array alone on failure.
    int& flag = ws_->loaded[static_cast<std::size_t>(kind_)];
    const int before = flag;
    const int result = chooseAndTransfer(*ws_, askMode, mode, kind_, *a, done, flag, capacity());
    if (result != 0) flag = before;
    return result;
}

int loadCatalogue(Workspace& ws) { return loadIfNeeded(ws, kKindCatalogue); }
int loadDeletedList(Workspace& ws) { return loadIfNeeded(ws, kKindDeleted); }
int loadAddList(Workspace& ws) { return loadIfNeeded(ws, kKindAdd); }
int loadNewList(Workspace& ws) { return loadIfNeeded(ws, kKindNew); }

// --- catalogue operations ---

int firstFreeCatalogueSlot(Workspace& ws, int& index) {
    const CatalogueArray cat = catalogueArray(ws);
    const int cap = cat.capacity();
    CdRecord r;
    for (int i = 0; i < cap; ++i) {
        if (cat.get(i, r) != 0) {
            index = cap;
            return -1;
        }
        if (r.active == 0) {  // free means exactly 0, not merely "not in use"
            index = i;
            return 0;
        }
    }
    index = cap;
    return 0;
}

int findCdRecord(Workspace& ws, const CdRecord& key, FindSpec& request) {
    request.foundIndex = -1;
    request.found = 0;
    const std::string k = fieldText(key.barcode);
    if (k.empty() || countBlanks(k) == kBarcodeBlankKey) return 0;

    const CatalogueArray cat = catalogueArray(ws);
    const int cap = cat.capacity();
    CdRecord r;
    for (int i = std::max(request.startIndex, 0); i < cap; ++i) {
        if (cat.get(i, r) != 0) return -1;
        if (!isInUse(r)) continue;
        if (startsWithFolded(fieldText(r.barcode), k)) {
            request.foundIndex = i;
            request.found = 1;
            return 0;
        }
    }
    return 0;
}

int collectBarcodeMatches(Workspace& ws, const CdRecord& key, FindSpec& request, int& count) {
    count = 0;
    const CatalogueArray cat = catalogueArray(ws);
    const CatalogueArray list = barcodeAgreeArray(ws);
    const int listCap = list.capacity();
    list.clearFrom(0);

    const std::int32_t start = request.startIndex;
    std::int32_t first = -1;
    CdRecord r;
    int result = 0;
    while (count < listCap) {
        if (findCdRecord(ws, key, request) != 0) {
            result = -1;
            break;
        }
        if (request.found == 0) break;
        const int at = request.foundIndex;
        if (cat.get(at, r) != 0) {
            result = -1;
            break;
        }
        r.catalogueIndex = static_cast<std::int16_t>(at);
        if (list.put(count, r) != 0) {
            result = -1;
            break;
        }
        if (count == 0) first = at;
        ++count;
        request.startIndex = at + 1;
    }
    request.startIndex = start;
    request.foundIndex = first;
    request.found = count > 0 ? 1 : 0;
    return result;
}

int checkBarcodeMatch(Workspace& ws, BarcodeAgreement& window, const CdRecord& record, int& index, int& result) {
    index = -1;
    result = kAgreeCancelled;
    FindSpec request;
    initFindSpec(request);
    int count = 0;
    if (collectBarcodeMatches(ws, record, request, count) != 0) return -1;
    // Exactly a full list loses nothing; only a further hit beyond it is "too many".
    if (count >= barcodeAgreeArray(ws).capacity()) {
        CdRecord last;
        if (barcodeAgreeArray(ws).get(count - 1, last) != 0) return -1;
        FindSpec beyond;
        initFindSpec(beyond);
        beyond.startIndex = last.catalogueIndex + 1;
        if (findCdRecord(ws, record, beyond) != 0) return -1;
        if (beyond.found) showBox(ws, BoxKind::Error, kTooManyMatches, Buttons::Ok);
    }

    if (count == 0) {
        result = kAgreeAdd;
        return firstFreeCatalogueSlot(ws, index);
    }

    initFindSpec(request);
    request.agreeMode = 0;
    request.matchCount = count;
    const int answer = window.agree(ws, request, record);
    request.agreeResult = static_cast<std::int16_t>(answer);
    if (answer == kAgreeReplace) {
        CdRecord chosen;
        if (barcodeAgreeArray(ws).get(request.selectedRow, chosen) != 0) return -1;
        result = kAgreeReplace;
        index = chosen.catalogueIndex;
        return 0;
    }
    if (answer == kAgreeAdd) {
        result = kAgreeAdd;
        return firstFreeCatalogueSlot(ws, index);
    }
    return 0;
}

int registerCdRecord(Workspace& ws, BarcodeAgreement& window, const CdRecord& record, int& index) {
    index = -1;
    if (showBox(ws, BoxKind::Confirmation, kConfirmRegister, Buttons::OkCancel) != Answer::Ok) return -1;
    if (validateCdRecord(ws, record) != 0) return -1;

    int slot = -1;
    int choice = kAgreeCancelled;
    if (checkBarcodeMatch(ws, window, record, slot, choice) != 0) return -1;
    if (choice == kAgreeCancelled) return kNotRegistered;

    const CatalogueArray cat = catalogueArray(ws);
    const int cap = cat.capacity();
    if (choice == kAgreeReplace && slot >= 0 && slot < cap) {
        CdRecord old;
        if (cat.get(slot, old) != 0 || addToDeletedList(ws, old) != 0) return -1;
    }
    if (slot >= cap) {
        showBox(ws, BoxKind::Error, kCatalogueFull, Buttons::Ok);
        return -1;
    }

    CdRecord r = record;
    r.active = 1;
    r.registeredAt = nowStamp(ws.clock);
    if (cat.put(slot, r) != 0) return -1;
    if (addToNewList(ws, r) != 0) return -1;
    index = slot;
    return 0;
}

int addToDeletedList(Workspace& ws, const CdRecord& record) { return pushHistory(ws, kKindDeleted, record, true); }

int addToNewList(Workspace& ws, const CdRecord& record) { return pushHistory(ws, kKindNew, record, false); }

int deleteCatalogueRecord(Workspace& ws, int index) {
    const CatalogueArray cat = catalogueArray(ws);
    CdRecord r;
    if (cat.get(index, r) != 0) return -1;
    if (!isInUse(r)) return kSlotWasEmpty;
    if (addToDeletedList(ws, r) != 0) return -1;
    CatalogueArray::clearRecord(r);
    return cat.put(index, r);
}

int extractCdRecords(Workspace& ws, const CdRecord& key, ExtractSpec& request) {
    request.resultCount = 0;
    request.found = 0;
    request.truncated = 0;
    ws.loaded[kKindReference] = 0;
    const CatalogueArray cat = catalogueArray(ws);
    const CatalogueArray results = referenceArray(ws);
    results.clearFrom(0);
    if (!cat.isLoaded()) {
        showBox(ws, BoxKind::Information, kCatalogueNotLoaded, Buttons::Ok);
        return 0;
    }

    const bool byAge = request.extractMode == 1;
    const bool byText = !byAge && request.item >= kItemBarcode && request.item <= kItemArtist;
    const bool byDate = !byAge && request.item >= kItemSaleDate && request.item <= kItemOpenDate;
    const std::string wanted = byText ? removedBlanks(textItem(key, request.item)) : std::string();
    const std::int32_t low = std::min(request.dateFrom, request.dateTo);
    const std::int32_t high = std::max(request.dateFrom, request.dateTo);
    const std::int32_t now = today(ws.clock);
    const int limit = results.capacity();
    // Nothing can match: an unknown method or an empty search text.
    if ((!byAge && !byText && !byDate) || (byText && wanted.empty())) {
        ws.loaded[kKindReference] = 1;
        return 0;
    }

    BusyScope busy(ws);
    const int cap = cat.capacity();
    CdRecord r;
    for (int i = 0; i < cap; ++i) {
        if (cat.get(i, r) != 0) return -1;
        if (!isInUse(r)) continue;
        bool match = false;
        if (byAge) {
            match = r.openDate > 0 && r.infoKind != 0 && kindPasses(r, request.ageKind) &&
                    ageInRange(daysBetween(r.openDate, now), request.ageRange);
        } else if (kindPasses(r, request.kindFilter)) {
            if (byText) {
                const std::string field = removedBlanks(textItem(r, request.item));
                match = !field.empty() &&
                        (request.partialMatch != 0 ? findText(wanted, field) > 0 : startsWith(field, wanted));
            } else {
                const std::int32_t d = dateItem(r, request.item);
                match = d >= low && d <= high;
            }
        }
        if (!match) continue;
        // A full list ends the walk at the first match it cannot take, so that the user can be told.
        if (request.resultCount == limit) {
            request.truncated = 1;
            break;
        }
        r.catalogueIndex = static_cast<std::int16_t>(i);
        if (results.put(request.resultCount, r) != 0) return -1;
        ++request.resultCount;
    }
    request.found = request.resultCount > 0 ? 1 : 0;
    ws.loaded[kKindReference] = 1;
    return 0;
}

}  // namespace zemo
