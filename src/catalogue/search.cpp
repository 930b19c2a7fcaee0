// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/search.h"

#include <utility>

#include "records/record_access.h"

namespace zemo {

int resultSortKey(int item) {
    switch (item) {
        case kItemBarcode: return kSortBarcode;
        case kItemUserCode: return kSortUserCode;
        case kItemArtistCode: return kSortArtistCode;
        case kItemSaleDate: return kSortSaleDate;
        case kItemEntryDate: return kSortEntryDate;
        case kItemOpenDate: return kSortOpenDate;
        default: return -1;
    }
}

int sortResultsByItem(Workspace& ws, const ExtractSpec& request) {
    const int key = resultSortKey(request.item);
    if (key < 0 || request.resultCount <= 0) return 0;
    return sortRecords(ws, key, kKindReference, request.resultCount, 0);
}

int searchCatalogue(Workspace& ws, const CdRecord& key, ExtractSpec& request) {
    if (const int r = extractCdRecords(ws, key, request); r != 0) return r;
    if (request.extractMode != 0) return 0;
    return sortResultsByItem(ws, request);
}

int searchRecordsAsCatalogue(Workspace& ws, TCddataArray records, const CdRecord& key, ExtractSpec& request) {
    ws.capacities[kKindCatalogue] = records.slotCount() - 1;
    ws.arrays[kKindCatalogue] = std::move(records);
    ws.loaded[kKindCatalogue] = 1;
    ws.capacities[kKindReference] = Workspace::capacitiesFor(1)[kKindReference];
    ws.arrays[kKindReference].create(ws.capacities[kKindReference] + 1);
    return searchCatalogue(ws, key, request);
}

}  // namespace zemo
