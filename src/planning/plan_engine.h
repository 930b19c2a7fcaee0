// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The A/B side optimisation: a seeded randomised search that distributes the selected CDs over the
// two sides of a tape so that each side reaches the target within the tolerance. A run is fully
// determined by the selection, the working settings (run-time fields included) and the seed.
#include <cstdint>
#include <functional>
#include <string>

#include "planning/plan_random.h"
#include "records/shuf_tape.h"
#include "records/sys_control.h"
#include "records/workspace.h"

namespace zemo {

// How a run (or one of its steps) ended. The values are the result codes the messages and the
// tool's output are keyed on; keep them.
enum class [[nodiscard]] PlanResult : int {
    NoPass = -1,         // no pass was made
    Ok = 0,
    SideAFailed = 1,     // side A could not be formed within the window
    SideBFailed = 2,     // side A was formed, side B not
    OutsideWindow = 3,   // a plan came out, but a side is outside the window
    MixedFailure = 4,    // some rounds failed on side B, others ended outside the window
    Stopped = 5,         // stopped by the user
};
inline constexpr PlanResult kPlanNoPass = PlanResult::NoPass;
inline constexpr PlanResult kPlanOk = PlanResult::Ok;
inline constexpr PlanResult kPlanSideAFailed = PlanResult::SideAFailed;
inline constexpr PlanResult kPlanSideBFailed = PlanResult::SideBFailed;
inline constexpr PlanResult kPlanOutsideWindow = PlanResult::OutsideWindow;
inline constexpr PlanResult kPlanMixedFailure = PlanResult::MixedFailure;
inline constexpr PlanResult kPlanStopped = PlanResult::Stopped;

// The numeric result code.
[[nodiscard]] constexpr int planCode(PlanResult r) noexcept { return static_cast<int>(r); }

// Message of a result code (UTF-8); empty for 0.
std::string planResultMessage(int code);
inline std::string planResultMessage(PlanResult r) { return planResultMessage(planCode(r)); }

// The planning buffers, the working settings and the generator. Owned by the tape-planning list
// window from its creation to its destruction.
class PlanEngine {
public:
    explicit PlanEngine(Workspace& ws);
    PlanEngine(const PlanEngine&) = delete;
    PlanEngine& operator=(const PlanEngine&) = delete;

    Workspace& ws;
    ShufTape selection{};  // the used slots of the shuffle list; its counts and lists stay 0
    ShufTape plan{};       // the plan being worked on; after a run, the plan shown
    ShufTape firstPlan{};  // first candidate of a pass whose side A was formed
    ShufTape bestPlan{};   // most even candidate (automatic target only)
    ShufControl ctl{};     // the working copy of the stored settings
    PlanRandom rng;
    bool stopRequested = false;  // set by Escape in the results window; read and cleared by the search

    // Called at the end of every run, before its message: the results window shows the optimised
    // plan (display mode 2) and redraws. Nothing when no results window is attached.
    std::function<void()> onRunEnd;

    // Copies the stored shuffleBlock into the working copy; 0.
    int loadShufControl();
    // Rebuilds the selection from the used slots of the shuffle list; 0 or the error of the access.
    int buildSelection();
    // t.target := targetSec, or half of t's total when targetSec <= 0 (autoTarget := 1).
    void computeTarget(ShufTape& t);
    // loadShufControl, buildSelection, computeTarget(selection): 0, or -1 when the selection was not read.
    int currentTarget(std::int32_t& out);
    // The whole run on selection/plan/firstPlan/bestPlan.
    PlanResult runOptimisation();

    // Called wherever the search polls the stop request, so a window can let its Escape key in.
    std::function<void()> onPoll;

    // Read-and-clear of the stop request.
    bool takeStop() {
        if (onPoll) onPoll();
        bool s = stopRequested;
        stopRequested = false;
        return s;
    }

    // The acceptance window of the current settings for a target.
    std::int32_t windowLow(std::int32_t target) const;
    std::int32_t windowHigh(std::int32_t target) const;

    // The steps of a run, open for tests.
    PlanResult runPass();
    PlanResult optimiseRound(ShufTape& t);
    PlanResult searchSideB(ShufTape& t, std::int32_t target);
    // mask: int16[30] zeroed by the caller; 0, or -1 when no position was left.
    int pickRandomSubset(int n, int m, std::int16_t* mask, int forced);
    void rotateCandidatesB(ShufTape& t) const;
    void rotateTape(ShufTape& t) const;
    int checkSides(const ShufTape& t) const;
    void trackBest(const ShufTape& t);

private:
    // pickRandomSubset on a bit set (bit i = position i + 1): the same draws and the same positions.
    bool pickSubset(int n, int m, int forced, std::uint32_t& bits);
    bool inWindow(std::int32_t sum, std::int32_t lo, std::int32_t hi) const { return lo <= sum && sum <= hi; }
    void loadTimes(const ShufTape& t);
    std::int32_t candidateTime(int x) const { return (x >= 1 && x <= timesCount_) ? times_[x - 1] : 0; }

    // Times of the current step's CDs, so the hot loops read 4-byte values instead of records.
    std::int32_t times_[kTapeSlots]{};
    int timesCount_ = 0;
};

}  // namespace zemo
