#include "catalogue/search.h"

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

int sortResultsByItem(Workspace& ws, const ExtractSpec& spec) {
    const int key = resultSortKey(spec.item);
    if (key < 0 || spec.resultCount <= 0) return 0;
    return sortRecords(ws, key, kKindReference, spec.resultCount, 0);
}

int searchCatalogue(Workspace& ws, const CdRecord& key, ExtractSpec& spec) {
    if (const int r = extractCdRecords(ws, key, spec); r != 0) return r;
    if (spec.extractMode != 0) return 0;
    return sortResultsByItem(ws, spec);
}

}  // namespace zemo
