// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue search as the search dialog runs it and `zemo search` repeats it: extraction by
// condition, then the fresh results put in the order of the searched item.
#include "catalogue/catalogue_access.h"

namespace zemo {

// The sort key that orders fresh results of an item (texts ascending, dates newest first), or -1
// for the artist, whose results keep catalogue order.
int resultSortKey(int item);

// Sorts the first request.resultCount entries of the result list (kind 7) by request.item without
// reverse. 0, or the sort's error.
int sortResultsByItem(Workspace& ws, const ExtractSpec& request);

// extractCdRecords, then sortResultsByItem for a search by condition (extractMode 0).
int searchCatalogue(Workspace& ws, const CdRecord& key, ExtractSpec& request);

// searchCatalogue over the given records taken as the catalogue, as large as their slots, with
// a fresh result list of the smallest database size.
int searchRecordsAsCatalogue(Workspace& ws, TCddataArray records, const CdRecord& key, ExtractSpec& request);

}  // namespace zemo
