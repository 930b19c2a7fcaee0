// SPDX-License-Identifier: GPL-3.0-or-later
// Extraction over a full-size catalogue: a partial match on the artist walks every record.
#include <benchmark/benchmark.h>

#include "bench_catalogue.h"
#include "catalogue/catalogue_access.h"
#include "catalogue/catalogue_editing.h"

namespace zemo {
namespace {

using bench::CatalogueFixture;

void BM_ExtractCatalogue(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    CatalogueFixture f(count);
    f.ws.loaded[kKindCatalogue] = 1;
    CdRecord key = clearedRecord();
    setField(key.artist, "ST 12");  // "ARTIST 12", "ARTIST 120".."129": a few results, every record read
    for (auto _ : state) {
        ExtractSpec request;
        initExtractSpec(request);
        request.item = kItemArtist;
        request.kindFilter = kAllKinds;
        request.partialMatch = 1;
        if (extractCdRecords(f.ws, key, request) != 0 || request.resultCount == 0) {
            state.SkipWithError("extraction failed");
            break;
        }
        benchmark::DoNotOptimize(request.resultCount);
    }
    if (f.prompter.boxes != 0) state.SkipWithError("a message box appeared");
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ExtractCatalogue)->Arg(10000)->Unit(benchmark::kMillisecond);

// The barcode agreement window's answer without the window: 設定 on the row it would preselect.
struct ReplacePreselected : BarcodeAgreement {
    int agree(Workspace& ws, FindSpec& request, const CdRecord& key) override {
        request.selectedRow = preselectAgreementEntry(ws, key, request.matchCount);
        request.agreeResult = kAgreeReplace;
        return kAgreeReplace;
    }
};

// Registering one record into a full-size catalogue where its barcode clashes with 3 records: the
// scan for the clash, the choice, the replacement and both history updates.
void BM_RegisterRecord(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    CatalogueFixture f(count);
    f.prompter.reply = Answer::Ok;
    for (int slot : {count / 10, count / 2, count - 1}) {
        setField(f.catalogue()[slot].barcode, "4900000CLASH");
        setField(f.catalogue()[slot].title, std::string("CLASH ").append(std::to_string(slot)));
    }
    CdRecord key = f.catalogue()[count / 2];
    key.registeredAt = 0;
    ReplacePreselected agreement;
    int replaced = -1;
    for (auto _ : state) {
        if (registerCdRecord(f.ws, agreement, key, replaced) != 0) {
            state.SkipWithError("registration failed");
            break;
        }
        benchmark::DoNotOptimize(replaced);
    }
    if (replaced != count / 2) state.SkipWithError("the preselected record was not the one replaced");
    if (f.prompter.boxes != static_cast<int>(state.iterations())) state.SkipWithError("an unexpected box appeared");
}
BENCHMARK(BM_RegisterRecord)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zemo
