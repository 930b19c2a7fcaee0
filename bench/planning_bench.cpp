// SPDX-License-Identifier: GPL-3.0-or-later
// One optimisation run at its worst: every pass and attempt is spent. The generator's draws are
// counted so the time per draw can be read off next to the time per run.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "planning/exact_check.h"
#include "planning/plan_engine.h"
#include "platform/clock.h"
#include "support/scripted_prompter.h"
#include "records/control_file.h"

namespace zemo {
namespace {

struct Bench {
    ScriptedPrompter prompter;
    FixedClock clock;
    Workspace ws{prompter, clock};
    PlanEngine engine{ws};

    Bench(const std::vector<int>& times, const ShufControl& settings) {
        ws.createArrays(1);
        for (std::size_t i = 0; i < times.size(); ++i) {
            CdRecord r = clearedRecord();
            r.active = 1;
            r.timeSec = times[i];
            setField(r.title, "TITLE " + std::to_string(i + 1));
            ws.arrays[kKindShuffle].put(static_cast<int>(i), r);
        }
        ws.control.shuffleBlock = settings;
        engine.buildSelection();
    }

    // One run as the results window makes it on opening: settings reloaded, run number 1.
    int run() {
        engine.loadShufControl();
        engine.rng.seed(1);
        PlanResult r = engine.runOptimisation();
        prompter.boxes.clear();
        prompter.events.clear();
        return planCode(r);
    }
};

void report(benchmark::State& state, std::uint64_t draws) {
    state.counters["draws/run"] = benchmark::Counter(static_cast<double>(draws), benchmark::Counter::kAvgIterations);
    state.counters["draws/s"] = benchmark::Counter(static_cast<double>(draws), benchmark::Counter::kIsRate);
}

// 30 CDs, a fixed target above their total (no subset reaches it), registration order first:
// 30 passes of up to 30 attempts, each trying every size of side A ten times.
void BM_PlanWorstCase(benchmark::State& state) {
    std::vector<int> times;
    for (int i = 0; i < 30; ++i) times.push_back(180 + 7 * i);
    ShufControl c = defaultShufControl();
    c.regOrderFirst = 1;
    c.targetSec = 599999;
    Bench b(times, c);
    b.engine.rng.resetDraws();
    for (auto _ : state) {
        int r = b.run();
        if (r != planCode(kPlanOutsideWindow)) state.SkipWithError("unexpected result");
    }
    report(state, b.engine.rng.draws());
}
BENCHMARK(BM_PlanWorstCase)->Unit(benchmark::kMillisecond);

// The side B search at its worst: side A is formed at once (one CD of exactly the target comes
// first) but no subset of the other CDs ever lands in the window, so every attempt repeats the
// side B search for every candidate rotation, size and try.
void BM_PlanSideBWorstCase(benchmark::State& state) {
    std::vector<int> times(30, 1000);
    times[0] = 1500;
    ShufControl c = defaultShufControl();
    c.targetSec = 1500;
    c.tolerance = 0;
    Bench b(times, c);
    b.engine.rng.resetDraws();
    for (auto _ : state) {
        int r = b.run();
        if (r != planCode(kPlanSideBFailed)) state.SkipWithError("unexpected result");
    }
    report(state, b.engine.rng.draws());
}
BENCHMARK(BM_PlanSideBWorstCase)->Unit(benchmark::kMillisecond);

// The exact check of a selection of n CDs spread evenly over 150..420 s (8,536 s for 30).
// BM_ExactCheck/30: a C120 tape, 60 minutes a side, tolerance 5 s plus only (window 3600..3605).
// BM_ExactCheck/30/10800: the largest window checked, 0..10800 (target 5400, tolerance 5400 plus
// and minus).
void exactCheckRun(benchmark::State& state, int n, std::int32_t target, std::int32_t tolerance, bool plusOnly) {
    std::vector<std::int32_t> times;
    for (int i = 0; i < n; ++i) times.push_back(150 + (n > 1 ? i * 270 / (n - 1) : 0));
    ExactResult r;
    for (auto _ : state) {
        r = exactCheck(times.data(), n, target, tolerance, plusOnly);
        benchmark::DoNotOptimize(r);
    }
    if (r.exists == ExactAnswer::Unchecked) state.SkipWithError("not checked");
    state.counters["exists"] = r.exists == ExactAnswer::Yes ? 1 : 0;
    state.counters["tolerance"] = r.toleranceFound == ExactAnswer::Yes ? r.minTolerance : -1;
}

const bool kExactRegistered = [] {
    benchmark::RegisterBenchmark("BM_ExactCheck/30", exactCheckRun, 30, 3600, 5, true)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ExactCheck/30/10800", exactCheckRun, 30, 5400, 5400, false)
        ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
}  // namespace zemo
