// Extraction over a full-size catalogue: a partial match on the artist walks every record.
#include <benchmark/benchmark.h>

#include "bench_catalogue.h"
#include "catalogue/catalogue_access.h"

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
        ExtractSpec spec;
        initExtractSpec(spec);
        spec.item = kItemArtist;
        spec.kindFilter = kAllKinds;
        spec.partialMatch = 1;
        if (extractCdRecords(f.ws, key, spec) != 0 || spec.resultCount == 0) {
            state.SkipWithError("extraction failed");
            break;
        }
        benchmark::DoNotOptimize(spec.resultCount);
    }
    if (f.prompter.boxes != 0) state.SkipWithError("a message box appeared");
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ExtractCatalogue)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zemo
