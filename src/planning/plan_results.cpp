// SPDX-License-Identifier: GPL-3.0-or-later
#include "planning/plan_results.h"

#include <algorithm>

#include "planning/plan_finish.h"
#include "platform/sjis.h"
#include "records/file_services.h"
#include "records/record_access.h"
#include "records/text.h"

namespace zemo {

namespace {
constexpr int kHeaderTargetCol = 21;
constexpr int kHeaderToleranceCol = 39;
constexpr int kHeaderShuffleCol = 57;
}  // namespace

ResultsState::ResultsState(PlanEngine& engine) : engine_(engine) {
    engine_.onRunEnd = [this] {
        displayMode = kShowOptimised;
        redraw();
    };
}

ResultsState::~ResultsState() { engine_.onRunEnd = nullptr; }

int ResultsState::openResults() {
    if (engine_.loadShufControl() != 0) return -1;
    if (engine_.buildSelection() != 0) return -1;
    if (engine_.selection.count <= 0) return -1;
    runWithSeed(1);
    return 0;
}

void ResultsState::runWithSeed(std::int32_t no) {
    // An Escape pressed while no search ran must not end this one.
    engine_.stopRequested = false;
    shuffleNo = no;
    engine_.rng.seed(no);
    // Checked before the run: its end redraws, and the window reads the answer with the plan.
    exact_ = exactCheckSelection(engine_.selection, engine_.ctl);
    // The engine shows its own message; the window reads whether the search failed.
    lastRunCode_ = engine_.runOptimisation();
}

void ResultsState::stepNext() { runWithSeed(add32(shuffleNo, 1)); }

void ResultsState::stepPrevious() {
    if (shuffleNo >= 2) runWithSeed(shuffleNo - 1);
}

void ResultsState::pressShuffleButton(bool shift) {
    if (shift) stepPrevious();
    else stepNext();
}

void ResultsState::chooseShuf2(int tag) {
    if (tag == kMenuNoShuffle) {
        shuffleNo = 0;
        planNoShuffle(engine_.selection, engine_.plan);
        displayMode = kShowSelection;
        redraw();
    } else if (tag == kMenuHalf) {
        shuffleNo = 0;
        planHalfSplit(engine_.selection, engine_.plan);
        displayMode = kShowHalfSplit;
        redraw();
    }
}

void ResultsState::chooseShufAB(int tag) {
    if (tag < kMenuShufA || tag > kMenuShufAB) return;
    shuffleNo = 0;
    if (tag == kMenuShufA || tag == kMenuShufAB) shuffleSide(0, engine_.plan, engine_.rng);
    if (tag == kMenuShufB || tag == kMenuShufAB) shuffleSide(1, engine_.plan, engine_.rng);
    displayMode = kShowShuffled;
    redraw();
}

void ResultsState::chooseBest() {
    if (exact_.exists != ExactAnswer::Yes) return;
    const ShufTape& sel = engine_.selection;
    ShufTape& t = engine_.plan;
    const int n = std::clamp<int>(sel.count, 0, kTapeSlots);
    // Laid out like 振分無: the selection's CDs in registration order, the lists naming them.
    t.count = static_cast<std::int16_t>(n);
    t.target = exact_.target;
    for (int j = 0; j < n; ++j) {
        t.cds[j] = sel.cds[j];
        t.regPos[j] = static_cast<std::int16_t>(j);
    }
    auto put = [](const std::vector<int>& from, std::int16_t* to, std::int16_t& count) {
        count = static_cast<std::int16_t>(std::min<std::size_t>(from.size(), kTapeSlots));
        for (int i = 0; i < count; ++i) to[i] = static_cast<std::int16_t>(from[static_cast<std::size_t>(i)]);
    };
    put(exact_.sideA, t.sideA, t.countA);
    put(exact_.sideB, t.sideB, t.countB);
    put(exact_.rest, t.rest, t.countRest);
    // Side A leads with the earlier-registered CD only when that keeps the plan passing: a short
    // side B may not become side A (code 2 keeps the sides).
    const bool bothInWindow = exact_.lo <= exact_.sumB && exact_.sumB <= exact_.hi;
    bestNormaliseCode_ = bothInWindow ? 0 : 2;
    shuffleNo = 0;
    displayMode = kShowBest;
    redraw();
}

void ResultsState::settingsSaved() {
    engine_.loadShufControl();
    runWithSeed(1);
}

void ResultsState::applyTapeTarget(std::int32_t seconds) {
    engine_.ctl.targetSec = seconds;
    engine_.ws.control.shuffleBlock.targetSec = seconds;
    runWithSeed(1);
}

void ResultsState::redraw() {
    image_.clear();
    integrityCode_ = 0;
    const ShufTape& sel = engine_.selection;
    if (sel.count <= 0) return;
    const bool csv = engine_.ctl.csvLayout != 0;
    switch (displayMode) {
        case kShowSelection: {
            const std::vector<std::string> lines = selectionListLines(sel, csv);
            for (std::size_t i = 0; i < lines.size(); ++i) image_.draw(0, 1 + static_cast<int>(i), lines[i]);
            break;
        }
        case kShowOptimised:
        case kShowHalfSplit:
        case kShowShuffled:
        case kShowBest: drawPlan(); break;
        default: break;
    }
}

void ResultsState::drawPlan() {
    ShufTape& plan = engine_.plan;
    completePlan(engine_.selection, plan);
    // An inconsistent plan is reported and nothing at all is drawn.
    integrityCode_ = planIntegrityCode(engine_.selection, plan);
    if (checkPlan(engine_.ws, engine_.selection, plan) != 0) return;
    // The exact plan is put in registration order like an optimised one, side A first.
    if (displayMode == kShowOptimised || displayMode == kShowBest)
        normalisePlan(engine_.selection, plan, displayMode == kShowBest ? bestNormaliseCode_ : 0, engine_.ctl);
    if (displayMode == kShowOptimised || displayMode == kShowShuffled || displayMode == kShowBest) {
        image_.draw(kHeaderTargetCol, 0, targetText(plan.target));
        image_.draw(kHeaderToleranceCol, 0, toleranceText(engine_.ctl.tolerance));
        if (displayMode == kShowOptimised) image_.draw(kHeaderShuffleCol, 0, shuffleNoText(shuffleNo));
    }
    for (const PlanLine& l : planSectionLines(plan, engine_.ctl.csvLayout != 0, true))
        image_.draw(0, 1 + l.offset, l.text);
    if (displayMode == kShowOptimised) warnRegOrder(engine_.ws, plan, engine_.ctl);
}

std::int32_t ResultsState::shuffleListTotal() const {
    std::int32_t total = 0;
    for (int i = 0; i < kTapeSlots; ++i) {
        CdRecord r;
        if (getRecord(engine_.ws, r, i, kKindShuffle, engine_.ws.capacity(kKindShuffle)) != 0) break;
        if (r.active != 0) total = add32(total, r.timeSec);
    }
    return total;
}

bool ResultsState::labelAllowed() {
    if (integrityCode_ == 0) return true;
    showPlanError(engine_.ws, integrityCode_);
    return false;
}

bool ResultsState::canPrint() const { return engine_.selection.count > 0; }

bool ResultsState::confirmPrint() {
    return showBox(engine_.ws, BoxKind::Confirmation, "データを印刷します。", Buttons::OkCancel) == Answer::Ok;
}

bool ResultsState::confirmWriteBack() {
    return showBox(engine_.ws, BoxKind::Confirmation, "振分け結果を設定します。", Buttons::OkCancel) == Answer::Ok;
}

int ResultsState::writePlanBack() {
    Workspace& ws = engine_.ws;
    ShufTape& plan = engine_.plan;
    ShufTape& sel = engine_.selection;
    // A plan the last redraw could not vouch for would map positions onto the wrong CDs.
    if (integrityCode_ != 0) {
        showPlanError(ws, integrityCode_);
        return -1;
    }
    TCddataArray* list = ws.array(kKindShuffle);
    const int n = std::clamp<int>(sel.count, 0, kTapeSlots);
    // The new order as selection positions, every one checked before a slot is touched: each CD
    // of the selection exactly once.
    std::vector<int> order;
    bool seen[kTapeSlots] = {};
    bool sound = list != nullptr;
    const std::int16_t* lists[3] = {plan.sideA, plan.sideB, plan.rest};
    const int counts[3] = {plan.countA, plan.countB, plan.countRest};
    for (int l = 0; l < 3 && sound; ++l) {
        if (counts[l] < 0 || counts[l] > kTapeSlots) sound = false;
        for (int i = 0; sound && i < counts[l]; ++i) {
            const int x = lists[l][i];
            if (!isCdNumber(plan, x)) { sound = false; break; }
            const int p = plan.regPos[x - 1];
            if (p < 0 || p >= n || seen[p]) { sound = false; break; }
            seen[p] = true;
            order.push_back(p);
        }
    }
    if (!sound || static_cast<int>(order.size()) != n) {
        const int code = planIntegrityCode(sel, plan);
        showPlanError(ws, code != 0 ? code : 6);
        return -1;
    }
    // Written into the list itself but undone as a whole when any access fails.
    const TCddataArray before = *list;
    const int cap = ws.capacity(kKindShuffle);
    CdRecord reread[kTapeSlots];
    bool ok = true;
    for (int i = 0; ok && i < n; ++i) ok = putRecord(ws, sel.cds[order[static_cast<std::size_t>(i)]], i, kKindShuffle, cap) == 0;
    for (int j = 0; ok && j < n; ++j) ok = getRecord(ws, reread[j], j, kKindShuffle, cap) == 0;
    if (!ok) {
        *list = before;
        return -1;
    }
    clearSlots(n, kTapeSlots, *list);
    int next = 1;
    for (int i = 0; i < plan.countA; ++i) plan.sideA[i] = static_cast<std::int16_t>(next++);
    for (int i = 0; i < plan.countB; ++i) plan.sideB[i] = static_cast<std::int16_t>(next++);
    for (int i = 0; i < plan.countRest; ++i) plan.rest[i] = static_cast<std::int16_t>(next++);
    for (int k = 0; k < n; ++k) {
        plan.regPos[k] = static_cast<std::int16_t>(k);
        sel.cds[k] = reread[k];
        plan.cds[k] = reread[k];
    }
    // The CD numbers of the check's plan named the old order.
    exact_ = exactCheckSelection(sel, engine_.ctl);
    return 0;
}

std::vector<std::string> ResultsState::printoutLines() const {
    std::vector<std::string> lines;
    if (!canPrint()) return lines;
    const bool csv = engine_.ctl.csvLayout != 0;
    const ShufTape& plan = engine_.plan;
    switch (displayMode) {
        case kShowSelection: return selectionListLines(engine_.selection, csv);
        case kShowOptimised:
        case kShowShuffled:
        case kShowBest: {
            std::string head = targetText(plan.target);
            head += ' ';
            head += toleranceText(engine_.ctl.tolerance);
            head += ' ';
            head += sj("合計=[");
            head += formatTimeLong(shuffleListTotal());
            head += ']';
            if (displayMode == kShowOptimised) {
                head += ' ';
                head += shuffleNoText(shuffleNo);
            }
            lines.push_back(head);
            lines.emplace_back();
            break;
        }
        case kShowHalfSplit: break;
        default: return lines;
    }
    for (PlanLine& l : planSectionLines(plan, csv, false)) lines.push_back(std::move(l.text));
    return lines;
}

}  // namespace zemo
