// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue's editing steps that sit below its windows: building a record from the editor's
// field texts, the first row the barcode-agreement list offers, deleting one of its entries, and
// copying extraction results into the add list.
#include <string>
#include <vector>

#include "records/cd_record.h"
#include "records/workspace.h"

namespace zemo {

// The editor's fields as typed: texts in UTF-8 (as the widgets hold them), list choices as item
// indexes.
struct EditorFields {
    std::string barcode, userCode, artistCode, title, artist;
    std::string time;  // MMMMSS
    std::string saleDate, entryDate, openDate;
    std::string trackCount, trackPos;
    int kind = 0;
    int infoKind = 0;
};

// Results of buildEditorRecord besides 0.
inline constexpr int kBuildConversionError = 1;  // a number or date field is empty or not a number
inline constexpr int kBuildDataError = 2;        // a text that Shift-JIS cannot hold or that is too long

// Builds a fresh record (cleared, active 1) from the fields: the five texts as typed, the time
// through mmssToSeconds, dates and track numbers as integers. out is written only when every field
// converted; otherwise it is left as it was and nothing is shown (the caller reports).
int buildEditorRecord(const EditorFields& fields, CdRecord& out);
// The caller's report of a failed build: "入力データにエラーがあります！\n(数値変換ｴﾗｰ)" or
// "データにエラーがあります！" (UTF-8).
std::string buildErrorMessage(int result);

// The entry of the barcode-agreement list (kind 3) that is offered first for a key record: the
// first of the first matchCount entries whose title, blanks removed and cut to the shorter of the
// two lengths, equals the key's title treated alike, with a common length above 0; 0 without one.
int preselectAgreementEntry(Workspace& ws, const CdRecord& key, int matchCount);

// Deletes the barcode-agreement entry `entry`: the entries after it, up to entry rows - 1, move
// one place up and entry rows - 1 is cleared; the catalogue record it names goes to the deleted
// history and its slot is cleared (catalogueIndex receives that slot). 0 deleted; kSlotWasEmpty
// (catalogue_access.h) when the entry is not in use (nothing changes); -1 after an access error.
int deleteAgreementEntry(Workspace& ws, int entry, int rows, int& catalogueIndex);

// Copies the extraction results (kind 7) at resultRows, in that order, into consecutive add-list
// slots (kind 5) from startSlot; written receives how many were copied. When a result would go
// beyond the add list's last slot (capacity - 1; the spare slot after it is never written) the
// information box "全てを登録することが出来ませんでした。" is shown and the copying stops, keeping
// what was written: result 1. 0 when all were copied, -1 after an access error.
int copyResultsToAddList(Workspace& ws, const std::vector<int>& resultRows, int startSlot, int& written);

}  // namespace zemo
