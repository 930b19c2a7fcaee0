// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared set-up of the planning tests: a workspace with a scripted prompter and the shuffle list.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "planning/plan_engine.h"
#include "platform/clock.h"
#include "support/scripted_prompter.h"
#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/workspace.h"

namespace zemo::test {

inline CdRecord makeCd(int time, const std::string& titleUtf8, const std::string& artistUtf8 = "Artist",
                       int saleDate = 20240101) {
    CdRecord r = clearedRecord();
    r.active = 1;
    r.timeSec = time;
    r.saleDate = saleDate;
    setField(r.barcode, "4988000000000");
    setField(r.title, sj(titleUtf8));
    setField(r.artist, sj(artistUtf8));
    return r;
}

using zemo::defaultShufControl;

struct PlanWorld {
    ScriptedPrompter prompter;
    FixedClock clock;
    Workspace ws{prompter, clock};
    PlanEngine engine{ws};

    PlanWorld() {
        ws.createArrays(1);
        ws.control.shuffleBlock = defaultShufControl();
    }

    // Fills the shuffle list's slots 0.. with CDs of these times (titles "CD1", "CD2", ...).
    void setTimes(const std::vector<int>& times) {
        for (int i = 0; i < 30; ++i) ws.arrays[kKindShuffle].put(i, clearedRecord());
        for (std::size_t i = 0; i < times.size(); ++i)
            ws.arrays[kKindShuffle].put(static_cast<int>(i), makeCd(times[i], "CD" + std::to_string(i + 1)));
    }

    std::vector<std::string> boxTexts() const { return prompter.texts(); }
};

}  // namespace zemo::test
