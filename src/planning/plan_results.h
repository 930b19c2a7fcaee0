// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The state and logic of the planning results window: the run number, the display mode, stepping,
// the two distribution menus, the text of the image and of the printout. The window owns one and
// draws what image() holds.
#include <cstdint>
#include <string>
#include <vector>

#include "planning/exact_check.h"
#include "planning/plan_engine.h"
#include "planning/plan_layout.h"

namespace zemo {

enum DisplayMode : int {
    kShowNone = 0,
    kShowSelection = 1,  // "振分無"
    kShowOptimised = 2,
    kShowHalfSplit = 3,  // "２分割"
    kShowShuffled = 4,   // side shuffles
    kShowBest = 5,       // "最適解": the plan of the exact check
};

// Tags of the menu items.
enum Shuf2Item : int { kMenuNoShuffle = 0, kMenuHalf = 1, kMenuShuf2Cancel = 2 };
enum ShufABItem : int { kMenuShufA = 0, kMenuShufB = 1, kMenuShufAB = 2, kMenuShufABCancel = 3 };

class ResultsState {
public:
    // Attaches to the engine: every optimisation run ends by showing its plan here.
    explicit ResultsState(PlanEngine& engine);
    ~ResultsState();
    ResultsState(const ResultsState&) = delete;
    ResultsState& operator=(const ResultsState&) = delete;

    std::int32_t shuffleNo = 0;  // "SHUFFLE No"; the seed of the next run
    int displayMode = kShowNone;

    // Reads the settings and the selection and makes the first plan (run number 1): 0, or -1 when
    // the selection could not be read or holds no CD.
    int openResults();
    // "振り分け次", "振り分け前" (only from 2 on), and a press on the shuffle button (Shift = previous).
    void stepNext();
    void stepPrevious();
    void pressShuffleButton(bool shift);
    // Menu "振分２" (0 "振分無", 1 "２分割", 2 cancel) and menu "ｼｬｯﾌﾙ" (0 A, 1 B, 2 AB, 3 cancel).
    void chooseShuf2(int tag);
    void chooseShufAB(int tag);
    // "最適解": the passing plan of the exact check as the plan of the window (run number 0). Nothing
    // when the check found none or did not answer.
    void chooseBest();
    bool bestAvailable() const { return exact_.exists == ExactAnswer::Yes; }
    // The exact check of the selection under the working settings, as of the last run (or write-back).
    const ExactResult& exact() const { return exact_; }
    // Whether the plan shown is that of a seeded run that ended with a failure message.
    bool searchFailed() const { return displayMode == kShowOptimised && lastRunCode_ != kPlanOk; }

    // After the settings dialog was closed with saving: reload the settings, run number 1.
    void settingsSaved();
    // The tape dialog's choice: the target per side, in the working and the stored settings; run number 1.
    void applyTapeTarget(std::int32_t seconds);
    // The Escape key.
    void requestStop() { engine_.stopRequested = true; }

    // Clears the image and draws the current display mode (showing the plan's messages).
    void redraw();
    const PlanImage& image() const { return image_; }

    // Whether "印刷" has anything to print; the lines it sends to the printer (CP932), for the plan
    // as the last redraw left it.
    bool canPrint() const;
    std::vector<std::string> printoutLines() const;
    // "データを印刷します。" (OK / Cancel): true for OK.
    bool confirmPrint();

    // The plan buffer as the last redraw left it: what the label shows.
    const ShufTape& plan() const { return engine_.plan; }
    // The integrity code the last redraw found (0 when it found the plan consistent or checked none).
    int lastIntegrityCode() const { return integrityCode_; }
    // The label command: true when the plan may be labelled; false, after showing the redraw's
    // "Program error!(code=N)" once more, when the last redraw found it inconsistent.
    bool labelAllowed();

    // "結設定": "振分け結果を設定します。" (OK / Cancel): true for OK.
    bool confirmWriteBack();
    // Writes the plan back as the new order of the shuffle list (side A, side B, unrecorded),
    // renumbers the plan and rereads the selection's CDs; 0, or -1 when nothing was changed: the
    // last redraw found the plan inconsistent or the plan does not name every CD of the selection
    // exactly once ("Program error!(code=N)" shown), or a slot access failed (it has said why; the
    // list is as it was). The caller then refreshes the shuffle list's grid.
    int writePlanBack();

private:
    void runWithSeed(std::int32_t no);
    void drawPlan();
    std::int32_t shuffleListTotal() const;

    PlanEngine& engine_;
    PlanImage image_;
    ExactResult exact_;
    PlanResult lastRunCode_ = kPlanOk;
    int bestNormaliseCode_ = 0;
    int integrityCode_ = 0;
};

}  // namespace zemo
