// SPDX-License-Identifier: GPL-3.0-or-later
// Loading and saving a full-size catalogue file (10,000 records) through the data-file operations,
// the save with backup mode on (".BAK" copy, then the new file through a flushed temporary file).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "bench_catalogue.h"
#include "records/data_ops.h"

namespace zemo {
namespace {

using bench::CatalogueFixture;

namespace fs = std::filesystem;

void BM_LoadCatalogue(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    CatalogueFixture f(count);
    if (saveKind(f.ws, 1, kKindCatalogue, f.capacity(), f.catalogue()) != 0) {
        state.SkipWithError("could not write the catalogue");
        return;
    }
    int loaded = 0, read = 0;
    for (auto _ : state) {
        if (loadKind(f.ws, kKindCatalogue, f.capacity(), read, f.catalogue(), loaded) != 0 || read != count) {
            state.SkipWithError("load failed");
            break;
        }
    }
    if (f.prompter.boxes != 0) state.SkipWithError("a message box appeared");
    state.SetItemsProcessed(state.iterations() * count);
    state.SetBytesProcessed(state.iterations() * (384 + 192 * static_cast<std::int64_t>(count)));
}
BENCHMARK(BM_LoadCatalogue)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SaveCatalogue(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    CatalogueFixture f(count);
    if (saveKind(f.ws, 1, kKindCatalogue, f.capacity(), f.catalogue()) != 0) {
        state.SkipWithError("could not write the catalogue");
        return;
    }
    for (auto _ : state) {
        if (saveKind(f.ws, 0, kKindCatalogue, f.capacity(), f.catalogue()) != 0) {
            state.SkipWithError("save failed");
            break;
        }
    }
    if (f.prompter.boxes != 0) state.SkipWithError("a message box appeared");
    state.SetItemsProcessed(state.iterations() * count);
    state.SetBytesProcessed(state.iterations() * (384 + 192 * static_cast<std::int64_t>(count)));
}
BENCHMARK(BM_SaveCatalogue)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zemo
