// SPDX-License-Identifier: GPL-3.0-or-later
// A tape plan as the user makes it: 振分け in the planning list window opens the results window
// on run number 1, then 次 steps ten times. Beside it the same eleven searches without any window,
// so the window's own share (finishing the plan, laying out its text, drawing the image, showing
// and repainting the window) is the difference of the two.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QToolButton>
#include <array>
#include <cstdio>
#include <string>

#include "bench_catalogue.h"
#include "catalogue/catalogue_access.h"
#include "planning/plan_engine.h"
#include "planning/plan_results.h"
#include "planning/ui/frm_shuf_disp.h"
#include "planning/ui/frm_shuf_main.h"
#include "platform/sjis.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/text.h"
#include "records/window_settings.h"

namespace zemo {
namespace {

using bench::CatalogueFixture;

constexpr int kSteps = 10;  // 次 pressed after the opening run
constexpr std::int32_t kTargetSec = 1800;
constexpr std::int32_t kTolerance = 10;

// Playing times of 30 CD singles, minutes and seconds. Made up for the bench
// as typical lengths of a pop single between 2:30 and 7:00, not read off any real disc.
constexpr std::array<std::array<int, 2>, 30> kSingleTimes{{
    {4, 12}, {3, 47}, {5, 3},  {4, 38}, {3, 55}, {4, 21}, {5, 16}, {4, 2},  {3, 33}, {4, 49},
    {6, 12}, {4, 27}, {3, 58}, {5, 41}, {4, 5},  {2, 54}, {4, 33}, {5, 8},  {3, 41}, {4, 16},
    {4, 59}, {3, 26}, {5, 27}, {4, 44}, {6, 38}, {4, 9},  {3, 12}, {5, 52}, {4, 24}, {2, 41},
}};

std::string twoDigits(int n) {
    char s[12];
    std::snprintf(s, sizeof s, "%02d", n);
    return s;
}

// A program folder whose shuffle-list file holds the 30 singles, with the planning settings of
// a freshly created control file except the target and the tolerance.
struct PlanningFixture {
    PlanningFixture() : f(0, 1) {
        ShufControl& c = f.ws.control.shuffleBlock;
        c.targetSec = kTargetSec;
        c.tolerance = kTolerance;
        TCddataArray list(f.ws.capacity(kKindShuffle) + 1);
        for (std::size_t i = 0; i < kSingleTimes.size(); ++i) {
            CdRecord r = clearedRecord();
            r.active = 1;
            r.timeSec = kSingleTimes[i][0] * 60 + kSingleTimes[i][1];
            r.saleDate = 20240101 + static_cast<int>(i % 28);
            setField(r.barcode, std::to_string(4988000000100LL + static_cast<long long>(i)), kBarcodeMax);
            setField(r.title, sj("シングル曲 No." + twoDigits(static_cast<int>(i) + 1)));
            setField(r.artist, sj("アーティスト " + twoDigits(static_cast<int>(i) % 12 + 1)));
            list[static_cast<int>(i)] = r;
        }
        ok = writeDataFile(f.ws, false, defaultFilePath(f.ws, kKindShuffle), kKindShuffle, list,
                           f.ws.capacity(kKindShuffle)) == 0;
    }
    CatalogueFixture f;
    bool ok = false;
};

// The eleven runs the window makes, on an engine of its own: settings and selection read and run
// 1 (振分け), then runs 2..11 (次). Returns how many runs ended with a message.
int searchRuns(PlanEngine& engine) {
    int messages = 0;
    engine.loadShufControl();
    if (engine.buildSelection() != 0 || engine.selection.count != static_cast<int>(kSingleTimes.size())) return -1;
    for (int no = 1; no <= 1 + kSteps; ++no) {
        engine.stopRequested = false;
        engine.rng.seed(no);
        if (engine.runOptimisation() != kPlanOk) ++messages;
    }
    return messages;
}

void BM_PlanSearchOnly(benchmark::State& state) {
    PlanningFixture p;
    const bool loaded = p.ok && CatalogueArray(p.f.ws, kKindShuffle).loadOrCreate() == 0;
    PlanEngine engine(p.f.ws);
    int messages = 0;
    for (auto _ : state) {
        messages = searchRuns(engine);
        benchmark::DoNotOptimize(engine.plan);
    }
    if (!loaded || messages < 0) state.SkipWithError("could not read the shuffle list");
    state.counters["messages"] = messages;
}
BENCHMARK(BM_PlanSearchOnly)->Unit(benchmark::kMicrosecond);

void BM_OpenResultsAndStep(benchmark::State& state) {
    PlanningFixture p;
    WindowSettings settings;
    ui::TFrmShufMain list(p.f.ws, settings);
    auto* results = new ui::TFrmShufDisp(p.f.ws, settings.shufDisplayFont, &list);
    list.setResultsOpener([results] { results->openFor(); });
    const bool opened = p.ok && list.openShuffleList() == 0;
    // The same runs without the window: the window's must end on the same generator state and
    // show exactly these messages.
    PlanEngine reference(p.f.ws);
    const int messages = searchRuns(reference);
    list.show();
    QCoreApplication::processEvents();
    auto* shuffle = list.findChild<QPushButton*>("BtnShuf");
    auto* next = results->findChild<QToolButton*>("SpdBtnShuf_U");
    auto* end = results->findChild<QPushButton*>("BtnEnd");
    if (!opened || messages < 0 || !shuffle || !next || !end) {
        state.SkipWithError("could not set up the planning windows");
        return;
    }
    const int boxesBefore = p.f.prompter.boxes;
    for (auto _ : state) {
        // Each press is followed by the event loop's turn, where the window is laid out and painted.
        shuffle->click();
        QCoreApplication::processEvents();
        for (int i = 0; i < kSteps; ++i) {
            next->click();
            QCoreApplication::processEvents();
        }
        if (results->results().shuffleNo != 1 + kSteps || !results->isVisible()) {
            state.SkipWithError("the results window did not step");
            break;
        }
        if (results->engine().rng.state() != reference.rng.state()) {
            state.SkipWithError("the window's runs differ from the search alone");
            break;
        }
        end->click();
        QCoreApplication::processEvents();
    }
    if (p.f.prompter.boxes - boxesBefore != messages * static_cast<int>(state.iterations()))
        state.SkipWithError("the window's runs differ from the search alone");
    state.counters["messages"] = messages;
    list.hide();
}
BENCHMARK(BM_OpenResultsAndStep)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zemo
