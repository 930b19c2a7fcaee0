// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Checked access to the record arrays by kind, compaction and sorting.
#include "records/workspace.h"

namespace zemo {

int getRecord(Workspace& ws, CdRecord& out, int index, int kind, int capacity);
int putRecord(Workspace& ws, const CdRecord& in, int index, int kind, int capacity);
int countActive(Workspace& ws, int& count, int kind, int n);
void clearSlots(int from, int to, TCddataArray& array);
int compact(Workspace& ws, int kind, int capacity);

enum SortKey : int {
    kSortBarcode = 0,
    kSortUserCode = 1,
    kSortArtistCode = 2,
    kSortEntryDate = 3,
    kSortSaleDate = 4,
    kSortOpenDate = 5,
    kSortPosition = 6,
};

// For text and position keys descendingFlag 0 sorts ascending; for the date keys 0 sorts newest first.
int sortRecords(Workspace& ws, int keyMode, int kind, int capacity, int descendingFlag);
// Position key ascending, barcode ascending, rental start date newest first (three stable passes);
// nothing when the system mode says not to sort.
int sortCatalogue(Workspace& ws, int kind, int capacity);

// trackPos, plus 100 when infoKind is 0 or 2.
int positionKey(const CdRecord& r);

}  // namespace zemo
