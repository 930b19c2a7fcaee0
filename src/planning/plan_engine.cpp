// SPDX-License-Identifier: GPL-3.0-or-later
#include "planning/plan_engine.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "records/file_services.h"
#include "records/record_access.h"

namespace zemo {

namespace {

constexpr int kTriesA = 10;
constexpr int kTriesB = 11;

// The bits of positions 0..n-1.
std::uint32_t positionsBelow(int n) { return n >= 32 ? ~0u : (1u << n) - 1u; }

// Writes the positions set in bits (1-based, ascending) to list; returns how many.
int bitsToList(std::uint32_t bits, std::int16_t* list) {
    int k = 0;
    for (; bits != 0; bits &= bits - 1) list[k++] = static_cast<std::int16_t>(std::countr_zero(bits) + 1);
    return k;
}

// list := every number 1..30 that is not marked, ascending.
void fillUnmarked(const bool* marked, std::int16_t* list) {
    int k = 0;
    for (int x = 1; x <= kTapeSlots; ++x)
        if (!marked[x]) list[k++] = static_cast<std::int16_t>(x);
}

// Marks the numbers 1..30 among the first n entries of a list; other entries are ignored.
void markList(bool* marked, const std::int16_t* list, int n) {
    n = std::min(n, kTapeSlots);
    for (int i = 0; i < n; ++i)
        if (list[i] > 0 && list[i] <= kTapeSlots) marked[list[i]] = true;
}

int clampCount(int n) { return std::clamp(n, 0, kTapeSlots); }

}  // namespace

std::string planResultMessage(int code) {
    switch (static_cast<PlanResult>(code)) {
        case kPlanOk: return "";
        case kPlanSideAFailed: return "最適化に失敗しました！";
        case kPlanSideBFailed: return "A or B面最適化に失敗しました！";
        case kPlanOutsideWindow: return "有効秒差 最適化に失敗しました！";
        case kPlanMixedFailure: return "A or B面 or 有効秒差 最適化に失敗しました！";
        case kPlanStopped: return "中断しました！";
        default: return "???ｴﾗｰ！";
    }
}

PlanEngine::PlanEngine(Workspace& w) : ws(w) {}

int PlanEngine::loadShufControl() {
    ctl = ws.control.shuffleBlock;
    return 0;
}

int PlanEngine::buildSelection() {
    selection.count = 0;
    for (int i = 0; i < kTapeSlots; ++i) {
        CdRecord r;
        int err = getRecord(ws, r, i, kKindShuffle, ws.capacity(kKindShuffle));
        if (err != 0) return err;
        if (r.active != 0) {
            selection.cds[selection.count] = r;
            selection.regPos[selection.count] = selection.count;
            ++selection.count;
        }
    }
    return 0;
}

void PlanEngine::computeTarget(ShufTape& t) {
    ctl.autoTarget = 0;
    t.target = ctl.targetSec;
    if (ctl.targetSec <= 0) {
        ctl.autoTarget = 1;
        std::int32_t sum = 0;
        int n = clampCount(t.count);
        for (int i = 0; i < n; ++i) sum = add32(sum, t.cds[i].timeSec);
        t.target = sum / 2;
    }
}

int PlanEngine::currentTarget(std::int32_t& out) {
    loadShufControl();
    if (buildSelection() != 0) return -1;
    computeTarget(selection);
    out = selection.target;
    return 0;
}

std::int32_t PlanEngine::windowLow(std::int32_t target) const {
    return ctl.plusOnly != 0 ? target : sub32(target, ctl.tolerance);
}

std::int32_t PlanEngine::windowHigh(std::int32_t target) const { return add32(target, ctl.tolerance); }

PlanResult PlanEngine::runOptimisation() {
    computeTarget(selection);
    const int n = selection.count;
    const int s = std::max(0, std::min<int>(ctl.startA, n) - 1);
    const int e = ctl.regOrderFirst != 0 ? n : std::max(0, std::min(s + 1, n));
    PlanResult result = kPlanNoPass;
    for (int p = s; p < e; ++p) {
        plan = selection;
        if (ctl.regOrderFirst != 0) {
            plan.count = static_cast<std::int16_t>(p + 1);
            if (p + 1 < kTapeSlots)
                std::memset(static_cast<void*>(&plan.cds[p + 1]), 0, sizeof(CdRecord) * (kTapeSlots - p - 1));
        }
        result = runPass();
        if (result == kPlanOk) {
            if (checkSides(plan) == 0) break;
            result = kPlanOutsideWindow;
        } else if (result == kPlanStopped) {
            break;
        }
    }
    if (result != kPlanOk && ctl.bestCount != 0) plan = bestPlan;
    if (onRunEnd) onRunEnd();
    if (result != kPlanOk) showBox(ws, BoxKind::Information, planResultMessage(result), Buttons::Ok);
    return result;
}

PlanResult PlanEngine::runPass() {
    const int attempts = (ctl.forceStart != 0 && ctl.fixedB > 0) ? 1 : plan.count - ctl.fixedA;
    ctl.firstCount = 0;
    ctl.bestCount = 0;
    int successes = 0;
    PlanResult res = kPlanOk;
    if (attempts <= 0) return kPlanOk;
    for (int r = 0; r < attempts; ++r) {
        res = optimiseRound(plan);
        trackBest(plan);
        if (res == kPlanOk) {
            ++successes;
            if (checkSides(plan) == 0) return kPlanOk;
            if (r + 1 >= attempts) return kPlanOk;
            rotateTape(plan);
            continue;
        }
        if (res == kPlanSideAFailed || res == kPlanSideBFailed) {
            if (res == kPlanSideBFailed && ctl.firstCount <= 0) {
                firstPlan = plan;
                ++ctl.firstCount;
                ctl.firstState = 2;
            }
            if (r + 1 < attempts) rotateTape(plan);
            continue;
        }
        return res;
    }
    if (ctl.firstCount != 0) {
        plan = firstPlan;
        return successes == 0 ? kPlanSideBFailed : kPlanMixedFailure;
    }
    // Nothing usable in this pass: a deterministic fallback over the whole selection.
    rng.seed(1);
    plan = selection;
    static_cast<void>(optimiseRound(plan));  // the fallback's plan is shown whatever its result
    return res;
}

void PlanEngine::loadTimes(const ShufTape& t) {
    timesCount_ = clampCount(t.count);
    for (int i = 0; i < timesCount_; ++i) times_[i] = t.cds[i].timeSec;
}

PlanResult PlanEngine::optimiseRound(ShufTape& t) {
    const int n = t.count;
    const std::int32_t target = t.target;
    const std::int32_t lo = windowLow(target), hi = windowHigh(target);
    bool stopped = false;
    std::int32_t sum = 0;
    loadTimes(t);

    ctl.startA = static_cast<std::int16_t>(std::min<int>(ctl.startA, n));
    if (ctl.noOptimise != 0) {
        int k = std::max(0, std::min<int>(ctl.startA, n));
        if (k <= 0) k = n;
        k = clampCount(k);
        for (int i = 0; i < k; ++i) t.sideA[i] = static_cast<std::int16_t>(i + 1);
        t.countA = static_cast<std::int16_t>(k);
        t.countB = static_cast<std::int16_t>(n - k);
        t.countRest = 0;
    } else {
        ctl.fixedA = static_cast<std::int16_t>(std::max(0, std::min<int>(ctl.startA, n)));
        ctl.fixedB = static_cast<std::int16_t>(std::max(0, std::min<int>(ctl.startB, n - ctl.fixedA)));
        const int fixedA = ctl.fixedA;
        if (n <= fixedA)
            for (int i = 0; i < clampCount(n); ++i) t.sideA[i] = static_cast<std::int16_t>(i + 1);
        bool formed = false;
        for (int m = fixedA; m <= n && !formed; ++m) {
            for (int attempt = 0; attempt < kTriesA; ++attempt) {
                t.countA = static_cast<std::int16_t>(m);
                std::uint32_t bits = 0;
                if (!pickSubset(n, m, fixedA, bits)) return kPlanSideAFailed;
                bitsToList(bits & positionsBelow(clampCount(n)), t.sideA);
                if (ctl.noOptimiseA != 0) {
                    t.countB = static_cast<std::int16_t>(n - m);
                    formed = true;
                    break;
                }
                if (takeStop()) {
                    t.countB = static_cast<std::int16_t>(n - m);
                    t.countRest = 0;
                    stopped = true;
                    formed = true;
                    break;
                }
                sum = candidateTime(t.sideA[0]);
                for (int j = 1; j < m; ++j) {
                    if (inWindow(sum, lo, hi)) {
                        t.countA = static_cast<std::int16_t>(j);
                        t.countB = static_cast<std::int16_t>(n - j);
                        for (int z = j; z < clampCount(n); ++z) t.sideA[z] = 0;
                        formed = true;
                        break;
                    }
                    sum = add32(sum, candidateTime(t.sideA[j]));
                }
                if (formed) break;
            }
        }
        if (!formed) {
            // Every size and try spent: sum holds the last subset's total, which is all N CDs.
            if (sum > hi) return kPlanSideAFailed;
            t.countA = static_cast<std::int16_t>(n);
            t.countB = 0;
        }
    }

    // The CDs not on side A become side B's candidates.
    {
        bool marked[kTapeSlots + 1] = {};
        markList(marked, t.sideA, t.countA);
        fillUnmarked(marked, t.sideB);
    }

    PlanResult res = kPlanOk;
    if (stopped) {
        res = kPlanStopped;
    } else if (ctl.noOptimise == 0) {
        const int repeats = ctl.forceStart != 0 ? t.countB - ctl.fixedB : t.countB;
        for (int i = 0; i < repeats; ++i) {
            res = searchSideB(t, target);
            if (res != kPlanSideBFailed) break;
            rotateCandidatesB(t);
        }
    }
    if (res != kPlanStopped && ctl.firstCount <= 0) {
        firstPlan = t;
        ++ctl.firstCount;
        ctl.firstState = 2;
    }
    return res;
}

PlanResult PlanEngine::searchSideB(ShufTape& t, std::int32_t target) {
    const int nB = t.countB;
    if (nB <= 0) return kPlanOk;
    const std::int32_t lo = windowLow(target), hi = windowHigh(target);
    const int cand = clampCount(nB);
    // Times of the candidates by position, so the tries index one small array.
    std::int32_t candTime[kTapeSlots];
    for (int i = 0; i < cand; ++i) candTime[i] = cdTime(t, t.sideB[i]);

    std::int16_t pos[kTapeSlots] = {};
    std::int32_t sum = 0;
    PlanResult res = kPlanOk;
    bool commit = false;
    for (int m = 1; m <= nB && !commit; ++m) {
        for (int attempt = 0; attempt < kTriesB; ++attempt) {
            std::uint32_t bits = 0;
            if (!pickSubset(nB, m, ctl.fixedB, bits)) return kPlanSideBFailed;
            bitsToList(bits & positionsBelow(cand), pos);
            sum = candTime[pos[0] - 1];
            for (int j = 1; j < m; ++j) {
                if (inWindow(sum, lo, hi)) {
                    t.countB = static_cast<std::int16_t>(j);
                    t.countRest = static_cast<std::int16_t>(nB - j);
                    res = kPlanOk;
                    commit = true;
                    break;
                }
                sum = add32(sum, candTime[pos[j] - 1]);
            }
            if (commit) break;
            if (takeStop()) {
                t.countB = static_cast<std::int16_t>(m);
                t.countRest = static_cast<std::int16_t>(nB - m);
                res = kPlanStopped;
                commit = true;
                break;
            }
        }
    }
    if (!commit) {
        if (sum > hi) return kPlanSideBFailed;
        t.countB = static_cast<std::int16_t>(nB);
        t.countRest = 0;
        res = kPlanOk;
    }

    // The new side B: the candidates at the chosen positions, in that order.
    std::int16_t candidates[kTapeSlots];
    std::memcpy(candidates, t.sideB, sizeof candidates);
    const int keep = clampCount(t.countB);
    for (int i = 0; i < keep; ++i) t.sideB[i] = candidates[pos[i] - 1];
    for (int i = keep; i < cand; ++i) t.sideB[i] = 0;
    bool marked[kTapeSlots + 1] = {};
    markList(marked, t.sideA, t.countA);
    markList(marked, t.sideB, t.countB);
    fillUnmarked(marked, t.rest);
    return res;
}

int PlanEngine::pickRandomSubset(int n, int m, std::int16_t* mask, int forced) {
    std::uint32_t bits = 0;
    const bool ok = pickSubset(n, m, forced, bits);
    for (int i = 0; i < kTapeSlots; ++i)
        if ((bits >> i) & 1u) mask[i] = 1;
    return ok ? 0 : -1;
}

bool PlanEngine::pickSubset(int n, int m, int forced, std::uint32_t& out) {
    out = 0;
    if (m <= 0) return true;
    std::uint32_t bits = 0;
    int chosen = 0;
    if (ctl.forceStart != 0) {
        bits = positionsBelow(clampCount(forced));
        chosen = forced;
    }
    out = bits;
    if (chosen >= n) return true;
    n = clampCount(n);
    const std::uint32_t all = positionsBelow(n);
    PlanRandom g = rng;  // a local copy stays in registers through the loop
    bool ok = true;
    do {
        // The drawn position if free, else the next one (wrapping), else the first free one;
        // chosen without branches, since collisions fall at random.
        const int x = g.drawMod(n);
        const std::uint32_t free = ~bits & all;
        if (free == 0) {
            ok = false;
            break;
        }
        const int next = x + 1 >= n ? 0 : x + 1;
        const std::uint32_t drawn = (1u << x) & free;
        const std::uint32_t following = (1u << next) & free;
        const std::uint32_t first = free & (0u - free);
        bits |= drawn != 0 ? drawn : (following != 0 ? following : first);
        ++chosen;
    } while (chosen < m);
    rng = g;
    out = bits;
    return ok;
}

void PlanEngine::rotateCandidatesB(ShufTape& t) const {
    const int from = ctl.fixedB;
    const int to = std::min<int>(t.countB, kTapeSlots);  // exclusive
    if (t.countB - ctl.fixedB <= 1 || from < 0 || to - from <= 1) return;
    std::int16_t last = t.sideB[to - 1];
    std::memmove(&t.sideB[from + 1], &t.sideB[from], sizeof(std::int16_t) * (to - from - 1));
    t.sideB[from] = last;
}

void PlanEngine::rotateTape(ShufTape& t) const {
    int f = ctl.fixedA;
    if (ctl.forceStart != 0) f += ctl.fixedB;
    if (t.count - f <= 1) return;
    // Run-time fields read from a control file may hold anything; never rotate outside the CDs.
    f = std::max(f, 0);
    const int to = clampCount(t.count);
    if (to - f <= 1) return;
    CdRecord lastCd = t.cds[to - 1];
    std::int16_t lastPos = t.regPos[to - 1];
    std::memmove(static_cast<void*>(&t.cds[f + 1]), &t.cds[f], sizeof(CdRecord) * (to - f - 1));
    std::memmove(&t.regPos[f + 1], &t.regPos[f], sizeof(std::int16_t) * (to - f - 1));
    t.cds[f] = lastCd;
    t.regPos[f] = lastPos;
}

int PlanEngine::checkSides(const ShufTape& t) const {
    const std::int32_t lo = windowLow(t.target), hi = windowHigh(t.target);
    const std::int32_t sumA = listTime(t, t.sideA, t.countA);
    const std::int32_t sumB = listTime(t, t.sideB, t.countB);
    const bool okA = inWindow(sumA, lo, hi);
    const bool okB = inWindow(sumB, lo, hi) || (sumB < lo && t.countA + t.countB == t.count);
    return (okA ? 0 : 1) + (okB ? 0 : 1);
}

void PlanEngine::trackBest(const ShufTape& t) {
    if (ctl.autoTarget == 0 || t.countA <= 0 || t.countB <= 0) return;
    const std::int32_t d = abs32(sub32(listTime(t, t.sideA, t.countA), listTime(t, t.sideB, t.countB)));
    if (d < ctl.bestDiff || ctl.bestCount <= 0) {
        ctl.bestDiff = d;
        bestPlan = t;
    }
    ++ctl.bestCount;
}

}  // namespace zemo
