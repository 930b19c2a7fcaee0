// SPDX-License-Identifier: GPL-3.0-or-later
// Sorting a full-size catalogue: the three-key catalogue order over 10,000 active records.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "platform/clock.h"
#include "support/scripted_prompter.h"
#include "records/record_access.h"

namespace zemo {
namespace {

void fillCatalogue(TCddataArray& a, int count, std::mt19937& rng) {
    std::uniform_int_distribution<int> year(1985, 2024), month(1, 12), day(1, 28);
    std::uniform_int_distribution<int> code(0, 3999);  // about 2.5 records per barcode
    std::uniform_int_distribution<int> pos(1, 20), attr(0, 2);
    for (int i = 0; i < count; ++i) {
        CdRecord r = clearedRecord();
        r.active = 1;
        setField(r.barcode, "4988" + std::to_string(100000000 + code(rng)), kBarcodeMax);
        setField(r.title, "TITLE " + std::to_string(i));
        r.openDate = year(rng) * 10000 + month(rng) * 100 + day(rng);
        r.trackCount = 20;
        r.trackPos = static_cast<std::int16_t>(pos(rng));
        r.infoKind = static_cast<std::int16_t>(attr(rng));
        a[i] = r;
    }
}

void BM_SortCatalogue(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    ScriptedPrompter prompter;
    FixedClock clock;
    Workspace ws(prompter, clock);
    ws.createArrays(20);  // catalogue capacity 10000
    const int cap = ws.capacity(kKindCatalogue);
    std::mt19937 rng(20240515);
    for (auto _ : state) {
        state.PauseTiming();
        fillCatalogue(ws.arrays[kKindCatalogue], count, rng);
        prompter.events.clear();
        state.ResumeTiming();
        if (sortCatalogue(ws, kKindCatalogue, cap) != 0) state.SkipWithError("sort failed");
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_SortCatalogue)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zemo
