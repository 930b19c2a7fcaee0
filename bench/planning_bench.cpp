// One optimisation run at its worst: every pass and attempt is spent. The generator's draws are
// counted so the time per draw can be read off next to the time per run.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

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
        int r = engine.runOptimisation();
        prompter.boxes.clear();
        prompter.events.clear();
        return r;
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
        if (r != kPlanOutsideWindow) state.SkipWithError("unexpected result");
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
        if (r != kPlanSideBFailed) state.SkipWithError("unexpected result");
    }
    report(state, b.engine.rng.draws());
}
BENCHMARK(BM_PlanSideBWorstCase)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zemo
