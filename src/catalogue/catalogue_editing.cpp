// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/catalogue_editing.h"

#include <algorithm>
#include <limits>

#include "catalogue/catalogue_access.h"
#include "platform/sjis.h"
#include "records/entry_checks.h"
#include "records/file_services.h"
#include "records/text.h"

namespace zemo {

namespace {

// A text field as typed: it must convert to Shift-JIS and fit its stored width.
template <std::size_t N>
bool storeText(char (&field)[N], const std::string& utf8, int maxBytes) {
    const ConvResult c = utf8ToSjisChecked(utf8);
    if (!c.ok || static_cast<int>(c.text.size()) > maxBytes) return false;
    setField(field, c.text);
    return true;
}

bool number(const std::string& text, std::int32_t& out) { return parseDecimal(text, out); }

bool shortNumber(const std::string& text, std::int16_t& out) {
    std::int32_t v = 0;
    if (!parseDecimal(text, v)) return false;
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max()) return false;
    out = static_cast<std::int16_t>(v);
    return true;
}

}  // namespace

int buildEditorRecord(const EditorFields& f, CdRecord& out) {
    CdRecord r;
    clearCdRecord(r);
    std::int32_t time = 0;
    if (!number(f.time, time) || !number(f.saleDate, r.saleDate) || !number(f.entryDate, r.entryDate) ||
        !number(f.openDate, r.openDate) || !shortNumber(f.trackCount, r.trackCount) ||
        !shortNumber(f.trackPos, r.trackPos))
        return kBuildConversionError;
    if (!storeText(r.barcode, f.barcode, kBarcodeMax) || !storeText(r.userCode, f.userCode, kUserCodeMax) ||
        !storeText(r.artistCode, f.artistCode, kArtistCodeMax) || !storeText(r.title, f.title, kTitleMax) ||
        !storeText(r.artist, f.artist, kArtistMax))
        return kBuildDataError;
    r.timeSec = mmssToSeconds(time);
    r.kind = static_cast<std::int16_t>(f.kind);
    r.infoKind = static_cast<std::int16_t>(f.infoKind);
    r.active = 1;
    out = r;
    return 0;
}

std::string buildErrorMessage(int result) {
    return result == kBuildConversionError ? "入力データにエラーがあります！\n(数値変換ｴﾗｰ)" : "データにエラーがあります！";
}

int preselectAgreementEntry(Workspace& ws, const CdRecord& key, int matchCount) {
    const CatalogueArray list = barcodeAgreeArray(ws);
    const std::string keyTitle = removedBlanks(fieldText(key.title));
    CdRecord r;
    for (int i = 0; i < matchCount; ++i) {
        if (list.get(i, r) != 0) return 0;
        const std::string title = removedBlanks(fieldText(r.title));
        const int common = static_cast<int>(std::min(keyTitle.size(), title.size()));
        if (common == 0) continue;
        if (cutToBytes(keyTitle, common) == cutToBytes(title, common)) return i;
    }
    return 0;
}

int deleteAgreementEntry(Workspace& ws, int entry, int rows, int& catalogueIndex) {
    catalogueIndex = -1;
    const CatalogueArray list = barcodeAgreeArray(ws);
    CdRecord r;
    if (list.get(entry, r) != 0) return -1;
    if (!isInUse(r)) return kSlotWasEmpty;
    catalogueIndex = r.catalogueIndex;
    const int last = std::min(rows, list.capacity()) - 1;
    CdRecord next;
    for (int i = entry; i < last; ++i) {
        if (list.get(i + 1, next) != 0 || list.put(i, next) != 0) return -1;
    }
    CatalogueArray::clearRecord(next);
    if (last >= entry && list.put(last, next) != 0) return -1;
    const int deleted = deleteCatalogueRecord(ws, catalogueIndex);
    return deleted == kSlotWasEmpty ? 0 : deleted;
}

int copyResultsToAddList(Workspace& ws, const std::vector<int>& resultRows, int startSlot, int& written) {
    written = 0;
    const CatalogueArray results = referenceArray(ws);
    const CatalogueArray add = addArray(ws);
    const int lastSlot = add.capacity() - 1;
    CdRecord r;
    for (int row : resultRows) {
        const int slot = startSlot + written;
        if (slot > lastSlot) {
            showBox(ws, BoxKind::Information, "全てを登録することが出来ませんでした。", Buttons::Ok);
            return 1;
        }
        if (results.get(row, r) != 0 || add.put(slot, r) != 0) return -1;
        ++written;
    }
    return 0;
}

}  // namespace zemo
