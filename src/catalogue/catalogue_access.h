// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Catalogue access: typed accessors per record array, key search by barcode, barcode collection,
// registration with its two history lists, deletion, and extraction into the result list.
//
// Every operation returns 0 for success; a non-zero result (as a rule -1) comes after the user
// has been told in a message box, unless documented otherwise. Indexes are 0-based slot indexes;
// the grid row of a slot is its index + 1. Operations that change one slot hand its index back so
// that a window can redraw that row alone.
#include <cstdint>

#include "records/cd_record.h"
#include "records/workspace.h"

namespace zemo {

// ---------------------------------------------------------------------------------------------
// Requests

// Request of the key search and of the barcode-agreement window.
struct FindSpec {
    std::int32_t foundIndex = 0;   // out: catalogue index of the hit, -1 = none
    std::int16_t found = 0;        // out: 1 = a hit was found
    std::int32_t startIndex = 0;   // catalogue index where the scan starts
    std::int16_t agreeMode = 0;    // barcode-agreement window: 0 register, 3 delete
    std::int32_t matchCount = 0;   // barcode-agreement window: records in the barcode-agreement list
    std::int32_t selectedRow = 0;  // out of the window: selected list index (0-based)
    std::int16_t agreeResult = 0;  // out of the window: kAgreeCancelled, kAgreeReplace, kAgreeAdd
};
void initFindSpec(FindSpec& request);  // every field 0

// agreeResult / result of checkBarcodeMatch.
inline constexpr int kAgreeCancelled = 0;
inline constexpr int kAgreeReplace = 1;  // "設定"
inline constexpr int kAgreeAdd = 2;      // "追加"

// Request and result of an extraction.
struct ExtractSpec {
    std::uint8_t partialMatch = 0;  // text items: 1 = anywhere ("部分一致"), 0 = prefix
    std::uint8_t extractMode = 0;   // 0 by condition, 1 information records by age
    std::int16_t kindFilter = 0;    // mode 0: kind 0..4 must match, 5 = all kinds
    std::int16_t item = 0;          // mode 0: ExtractItem
    std::int16_t ageKind = 0;       // mode 1: kind 0..4 must match, 5 = all kinds
    std::int16_t ageRange = 0;      // mode 1: 0 within 30 days, 1 within 60, 2 within 90, 3 in the future
    std::int16_t found = 0;         // out: 1 = at least one record extracted
    std::int32_t dateFrom = 0;      // date items: one end, YYYYMMDD
    std::int32_t dateTo = 0;        // date items: the other end (either order)
    std::int16_t windowMode = 0;    // result window panels: 1 display, 2 get, 4 move
    std::int32_t resultCount = 0;   // out: records extracted
    std::int16_t truncated = 0;     // out: 1 = more records matched than the result list holds
    std::int32_t selectedRow = 0;   // out of the result window: selected list index (0-based)
    std::int16_t windowResult = 0;  // out of the result window: 1 confirmed, 0 cancelled
};
void initExtractSpec(ExtractSpec& request);  // every field 0

enum ExtractItem : int {
    kItemBarcode = 0,
    kItemUserCode = 1,
    kItemArtistCode = 2,
    kItemArtist = 3,
    kItemSaleDate = 4,
    kItemEntryDate = 5,
    kItemOpenDate = 6,
};
inline constexpr int kAllKinds = 5;  // kindFilter / ageKind: every kind

// ---------------------------------------------------------------------------------------------
// Per-array accessors: a light handle bound to a workspace and a kind (1..7). The capacity is read
// from the workspace on every call, so a handle stays valid when the capacities are recomputed.
// Cheap to copy; holds no records.
class CatalogueArray {
public:
    CatalogueArray(Workspace& ws, int kind) : ws_(&ws), kind_(kind) {}

    int kind() const { return kind_; }
    int capacity() const { return ws_->capacity(kind_); }
    bool isLoaded() const;  // the kind's loaded flag is set

    // Fills a caller's record with a cleared record.
    static void clearRecord(CdRecord& r);
    // Copies slot index out; outside 0..capacity: "DATA GET ERROR!(Under or Over)", record cleared, -1.
    int get(int index, CdRecord& out) const;
    // True only when get succeeded and the record is in use (isInUse).
    bool getInUse(int index, CdRecord& out) const;
    // Copies a record into slot index; outside 0..capacity: "DATA PUT ERROR!(Under or Over)", -1.
    int put(int index, const CdRecord& in) const;
    // Clears every slot from index to capacity - 1.
    void clearFrom(int index) const;

    // Writes the array to its default file with the control record's backupMode (saveKind).
    int save() const;
    // Reads the array from its default file, or offers to create it (loadKind); sets the loaded
    // flag. count receives the number of records read.
    int loadOrCreate(int& count) const;
    int loadOrCreate() const;
    // loadOrCreate only when the loaded flag is 0; 0 when already loaded.
    int loadIfNeeded() const;
    // Read (mode kChoiceRead) or write (kChoiceWrite) a file of the user's choice (chooseAndTransfer);
    // askMode asks for the mode first. done = 1 when a path was chosen. A read that fails or is
    // refused leaves the array and the loaded flag as they were.
    int transferByDialog(bool askMode, int mode, int& done) const;

private:
    Workspace* ws_;
    int kind_;
};

// The handles of the catalogue's arrays.
inline CatalogueArray catalogueArray(Workspace& ws) { return {ws, kKindCatalogue}; }      // kind 1
inline CatalogueArray barcodeAgreeArray(Workspace& ws) { return {ws, kKindBarcodeAgree}; }  // kind 3
inline CatalogueArray deletedArray(Workspace& ws) { return {ws, kKindDeleted}; }          // kind 4
inline CatalogueArray addArray(Workspace& ws) { return {ws, kKindAdd}; }                  // kind 5
inline CatalogueArray newArray(Workspace& ws) { return {ws, kKindNew}; }                  // kind 6
inline CatalogueArray referenceArray(Workspace& ws) { return {ws, kKindReference}; }      // kind 7

// Read the list from its file only when its loaded flag is 0 (0 when already loaded).
int loadCatalogue(Workspace& ws);    // kind 1
int loadDeletedList(Workspace& ws);  // kind 4
int loadAddList(Workspace& ws);      // kind 5
int loadNewList(Workspace& ws);      // kind 6

// ---------------------------------------------------------------------------------------------
// The barcode-agreement window, seen from the core. The window implements it; tests script it.
class BarcodeAgreement {
public:
    virtual ~BarcodeAgreement() = default;
    // Shows the barcode-agreement list (kind 3, request.matchCount entries) for the key record in
    // the panel of request.agreeMode. Sets request.selectedRow and request.agreeResult and returns
    // the result: kAgreeCancelled, kAgreeReplace or kAgreeAdd. The window may delete catalogue
    // records meanwhile (deleteCatalogueRecord), keeping the list closed up.
    virtual int agree(Workspace& ws, FindSpec& request, const CdRecord& key) = 0;
};

// ---------------------------------------------------------------------------------------------
// Catalogue operations

// index = the first catalogue slot whose active is 0, or the capacity when none is empty.
int firstFreeCatalogueSlot(Workspace& ws, int& index);

// Key search by barcode from request.startIndex: the first in-use catalogue record whose barcode
// starts with the key's barcode, ASCII letters of single-byte characters compared without case,
// everything else byte for byte. An empty key, or one whose blank count is 14, never matches.
// Sets request.foundIndex (-1 = none) and request.found.
int findCdRecord(Workspace& ws, const CdRecord& key, FindSpec& request);

// Copies every catalogue record found by the key search (from request.startIndex) into the
// barcode-agreement list (kind 3) from entry 0, each with catalogueIndex set; the rest of the list
// is cleared. Stops when the list holds its capacity (100 x dbSize). count = records collected;
// request.foundIndex = catalogue index of the first hit (-1 none), request.found = count > 0.
int collectBarcodeMatches(Workspace& ws, const CdRecord& key, FindSpec& request, int& count);

// Decides where a record to be registered goes. result kAgreeAdd with index = first free slot
// (the capacity when full), kAgreeReplace with index = the catalogue slot to overwrite, or
// kAgreeCancelled (index -1). More matches than the barcode-agreement list holds: its two-line
// error, then the window with the records collected.
int checkBarcodeMatch(Workspace& ws, BarcodeAgreement& window, const CdRecord& record, int& index, int& result);

// registerCdRecord's result when the barcode-agreement window was cancelled: nothing registered,
// nothing to redraw, no message shown.
inline constexpr int kNotRegistered = 1;

// Registers a record: asks "登録します。" (OK / Cancel), validates it, checks the barcode, and
// writes it active with registeredAt = now into the catalogue slot, which it returns in index (the
// row to redraw). A replaced record goes to the deleted history first; the registered one goes to
// the new history. -1 on Cancel, a failed check, a full catalogue or an access error (index -1);
// kNotRegistered when the barcode-agreement window was cancelled.
int registerCdRecord(Workspace& ws, BarcodeAgreement& window, const CdRecord& record, int& index);

// Puts a record at the top (index 0) of the deleted history (kind 4) with deletedAt = now; the
// older entries move one place down and the one at capacity - 1 is dropped. The whole history
// changes: its window redraws every row. The history must have been loaded (loadDeletedList).
int addToDeletedList(Workspace& ws, const CdRecord& record);
// The same for the new history (kind 6), stamping registeredAt.
int addToNewList(Workspace& ws, const CdRecord& record);

// Deletes the catalogue record in slot index: it goes to the deleted history and the slot is
// cleared; the caller redraws row index + 1. 0 deleted; kSlotWasEmpty when the slot was already
// empty (nothing changed, no message); -1 after an access error.
inline constexpr int kSlotWasEmpty = 1;
int deleteCatalogueRecord(Workspace& ws, int index);

// Extracts catalogue records into the result list (kind 7) from entry 0 (the rest cleared), each
// with catalogueIndex set, at most the list's capacity (500). Text items compare the key record's
// field and the record's field with their blanks removed, case-sensitive, as a prefix or
// (partialMatch) anywhere; date items take the range between dateFrom and dateTo in either order;
// mode 1 takes information records by the age of their rental start. Sets resultCount and found,
// and truncated when a match beyond the capacity was left out (the walk stops at that match);
// sets the loaded flag of kind 7 on success. Without a loaded catalogue: the information box
// "ﾃﾞｰﾀﾍﾞｰｽﾃﾞｰﾀを読み込んでありません！" and 0 with no result.
int extractCdRecords(Workspace& ws, const CdRecord& key, ExtractSpec& request);

}  // namespace zemo
