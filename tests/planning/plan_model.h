// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A second, deliberately plain transcription of the optimisation run, written step by step from the
// description without any of the engine's shortcuts (no cached times, no flags for jumps). The
// engine must agree with it to the last draw.
#include <cstdint>
#include <cstring>

#include "records/shuf_tape.h"
#include "records/sys_control.h"

namespace zemo::test {

struct PlanModel {
    ShufTape selection{}, plan{}, firstPlan{}, bestPlan{};
    ShufControl c{};
    std::uint32_t seed = 0;
    std::uint64_t draws = 0;
    bool stopRequested = false;

    int draw() {
        ++draws;
        seed = seed * 134775813u + 1u;
        return static_cast<int>((static_cast<std::uint64_t>(seed) * 65535u) >> 32);
    }
    static int timeOf(const ShufTape& t, int x) { return (x >= 1 && x <= t.count) ? t.cds[x - 1].timeSec : 0; }
    int lo(int target) const { return c.plusOnly != 0 ? target : target - c.tolerance; }
    int hi(int target) const { return target + c.tolerance; }
    bool readStop() {
        bool s = stopRequested;
        stopRequested = false;
        return s;
    }

    void computeTarget(ShufTape& t) {
        c.autoTarget = 0;
        t.target = c.targetSec;
        if (c.targetSec <= 0) {
            c.autoTarget = 1;
            int sum = 0;
            for (int i = 0; i < t.count; ++i) sum += t.cds[i].timeSec;
            t.target = sum / 2;
        }
    }

    int pickRandomSubset(int n, int m, std::int16_t* mask, int forced) {
        if (m <= 0) return 0;
        int chosen = 0;
        if (c.forceStart != 0) {
            for (int i = 0; i < forced; ++i) mask[i] = 1;
            chosen = forced;
        }
        if (chosen >= n) return 0;
        do {
            int x = draw() % n;
            if (mask[x] == 0) {
                mask[x] = 1;
                ++chosen;
            } else {
                if (x + 1 >= n) x = 0;
                else x = x + 1;
                if (mask[x] == 0) {
                    mask[x] = 1;
                    ++chosen;
                } else {
                    int z = 0;
                    for (; z < n; ++z)
                        if (mask[z] == 0) break;
                    if (z == n) return -1;
                    mask[z] = 1;
                    ++chosen;
                }
            }
        } while (chosen < m);
        return 0;
    }

    static void unmarkedInto(const bool* marked, std::int16_t* list) {
        int k = 0;
        for (int x = 1; x <= 30; ++x)
            if (!marked[x]) list[k++] = static_cast<std::int16_t>(x);
    }

    void rotateCandidatesB(ShufTape& t) {
        int k = t.countB - c.fixedB;
        if (k <= 1) return;
        std::int16_t last = t.sideB[t.countB - 1];
        for (int i = t.countB - 1; i > c.fixedB; --i) t.sideB[i] = t.sideB[i - 1];
        t.sideB[c.fixedB] = last;
    }

    void rotateTape(ShufTape& t) {
        int f = c.forceStart != 0 ? c.fixedA + c.fixedB : c.fixedA;
        int k = t.count - f;
        if (k <= 1) return;
        CdRecord lastCd = t.cds[t.count - 1];
        std::int16_t lastPos = t.regPos[t.count - 1];
        for (int i = t.count - 1; i > f; --i) {
            t.cds[i] = t.cds[i - 1];
            t.regPos[i] = t.regPos[i - 1];
        }
        t.cds[f] = lastCd;
        t.regPos[f] = lastPos;
    }

    int checkSides(const ShufTape& t) {
        int sumA = 0, sumB = 0;
        for (int i = 0; i < t.countA; ++i) sumA += timeOf(t, t.sideA[i]);
        for (int i = 0; i < t.countB; ++i) sumB += timeOf(t, t.sideB[i]);
        bool okA = lo(t.target) <= sumA && sumA <= hi(t.target);
        bool okB = (lo(t.target) <= sumB && sumB <= hi(t.target)) || (sumB < lo(t.target) && t.countA + t.countB == t.count);
        return (okA ? 0 : 1) + (okB ? 0 : 1);
    }

    void trackBest(const ShufTape& t) {
        if (c.autoTarget == 0 || t.countA <= 0 || t.countB <= 0) return;
        int sumA = 0, sumB = 0;
        for (int i = 0; i < t.countA; ++i) sumA += timeOf(t, t.sideA[i]);
        for (int i = 0; i < t.countB; ++i) sumB += timeOf(t, t.sideB[i]);
        int d = sumA - sumB;
        if (d < 0) d = -d;
        if (d < c.bestDiff || c.bestCount <= 0) {
            c.bestDiff = d;
            bestPlan = t;
        }
        c.bestCount += 1;
    }

    int searchSideB(ShufTape& t, int target) {
        int nB = t.countB;
        if (nB <= 0) return 0;
        int sum = 0;
        std::int16_t P[30] = {};
        int result = 0;
        for (int m = 1; m <= nB; ++m) {
            for (int tryNo = 0; tryNo < 11; ++tryNo) {
                std::int16_t mask[30] = {};
                if (pickRandomSubset(nB, m, mask, c.fixedB) == -1) return 2;
                int k = 0;
                for (int i = 0; i < nB; ++i)
                    if (mask[i]) P[k++] = static_cast<std::int16_t>(i + 1);
                sum = timeOf(t, t.sideB[P[0] - 1]);
                for (int j = 1; j <= m - 1; ++j) {
                    if (lo(target) <= sum && sum <= hi(target)) {
                        t.countB = static_cast<std::int16_t>(j);
                        t.countRest = static_cast<std::int16_t>(nB - j);
                        result = 0;
                        goto commit;
                    }
                    sum += timeOf(t, t.sideB[P[j] - 1]);
                }
                if (readStop()) {
                    t.countB = static_cast<std::int16_t>(m);
                    t.countRest = static_cast<std::int16_t>(nB - m);
                    result = 5;
                    goto commit;
                }
            }
        }
        if (sum <= target + c.tolerance) {
            t.countB = static_cast<std::int16_t>(nB);
            t.countRest = 0;
            result = 0;
            goto commit;
        }
        return 2;
    commit: {
        std::int16_t old[30];
        std::memcpy(old, t.sideB, sizeof old);
        for (int i = 0; i < t.countB; ++i) t.sideB[i] = old[P[i] - 1];
        for (int i = t.countB; i < nB; ++i) t.sideB[i] = 0;
        bool marked[31] = {};
        for (int i = 0; i < t.countA; ++i)
            if (t.sideA[i] > 0) marked[t.sideA[i]] = true;
        for (int i = 0; i < t.countB; ++i)
            if (t.sideB[i] > 0) marked[t.sideB[i]] = true;
        unmarkedInto(marked, t.rest);
        return result;
    }
    }

    int optimiseRound(ShufTape& T) {
        const int N = T.count;
        bool stopped = false;
        int sum = 0;
        const int target = T.target;
        int stepResult = 0;
        if (c.startA > N) c.startA = static_cast<std::int16_t>(N);
        if (c.noOptimise != 0) {
            int k = c.startA < N ? c.startA : N;
            if (k < 0) k = 0;
            if (k <= 0) k = N;
            for (int i = 0; i < k; ++i) T.sideA[i] = static_cast<std::int16_t>(i + 1);
            T.countA = static_cast<std::int16_t>(k);
            T.countB = static_cast<std::int16_t>(N - k);
            T.countRest = 0;
            goto step4;
        }
        {
            int fa = c.startA < N ? c.startA : N;
            c.fixedA = static_cast<std::int16_t>(fa < 0 ? 0 : fa);
            int fb = c.startB < N - c.fixedA ? c.startB : N - c.fixedA;
            c.fixedB = static_cast<std::int16_t>(fb < 0 ? 0 : fb);
            if (N <= c.fixedA)
                for (int i = 0; i < N; ++i) T.sideA[i] = static_cast<std::int16_t>(i + 1);
            for (int m = c.fixedA; m <= N; ++m) {
                for (int tryNo = 0; tryNo < 10; ++tryNo) {
                    T.countA = static_cast<std::int16_t>(m);
                    std::int16_t mask[30] = {};
                    if (pickRandomSubset(N, m, mask, c.fixedA) == -1) return 1;
                    int k = 0;
                    for (int i = 0; i < N; ++i)
                        if (mask[i]) T.sideA[k++] = static_cast<std::int16_t>(i + 1);
                    if (c.noOptimiseA != 0) {
                        T.countB = static_cast<std::int16_t>(N - m);
                        goto step4;
                    }
                    if (readStop()) {
                        T.countB = static_cast<std::int16_t>(N - m);
                        T.countRest = 0;
                        stopped = true;
                        goto step4;
                    }
                    sum = timeOf(T, T.sideA[0]);
                    for (int j = 1; j <= m - 1; ++j) {
                        if (lo(target) <= sum && sum <= hi(target)) {
                            T.countA = static_cast<std::int16_t>(j);
                            T.countB = static_cast<std::int16_t>(N - j);
                            for (int z = j; z <= N - 1; ++z) T.sideA[z] = 0;
                            goto step4;
                        }
                        sum += timeOf(T, T.sideA[j]);
                    }
                }
            }
            if (sum <= target + c.tolerance) {
                T.countA = static_cast<std::int16_t>(N);
                T.countB = 0;
            } else {
                return 1;
            }
        }
    step4: {
        bool marked[31] = {};
        for (int i = 0; i < T.countA; ++i)
            if (T.sideA[i] > 0) marked[T.sideA[i]] = true;
        unmarkedInto(marked, T.sideB);
    }
        if (stopped) {
            stepResult = 5;
        } else if (c.noOptimise != 0) {
            stepResult = 0;
        } else {
            int mp = c.forceStart != 0 ? T.countB - c.fixedB : T.countB;
            stepResult = 0;
            for (int rep = 0; rep < mp; ++rep) {
                int res = searchSideB(T, target);
                stepResult = res;
                if (res == 2) rotateCandidatesB(T);
                else break;
            }
        }
        if (stepResult != 5 && c.firstCount <= 0) {
            firstPlan = T;
            c.firstCount += 1;
            c.firstState = 2;
        }
        return stepResult;
    }

    int runPass() {
        int R = (c.forceStart != 0 && c.fixedB > 0) ? 1 : plan.count - c.fixedA;
        c.firstCount = 0;
        c.bestCount = 0;
        int successes = 0, res = 0;
        if (R <= 0) return 0;
        for (int r = 0; r < R; ++r) {
            res = optimiseRound(plan);
            trackBest(plan);
            if (res == 0) {
                successes += 1;
                if (checkSides(plan) == 0) return 0;
                if (r + 1 >= R) return 0;
                rotateTape(plan);
            } else if (res == 1 || res == 2) {
                if (res == 2 && c.firstCount <= 0) {
                    firstPlan = plan;
                    c.firstCount += 1;
                    c.firstState = 2;
                }
                if (r + 1 < R) rotateTape(plan);
            } else {
                return res;
            }
        }
        if (c.firstCount != 0) {
            plan = firstPlan;
            return successes == 0 ? 2 : 4;
        }
        seed = 1;
        plan = selection;
        optimiseRound(plan);
        return res;
    }

    int runOptimisation() {
        computeTarget(selection);
        int N = selection.count;
        int sa = c.startA < N ? c.startA : N;
        int s = sa - 1 < 0 ? 0 : sa - 1;
        int e;
        if (c.regOrderFirst != 0) e = N;
        else {
            e = s + 1 < N ? s + 1 : N;
            if (e < 0) e = 0;
        }
        int result = -1;
        for (int p = s; p < e; ++p) {
            plan = selection;
            if (c.regOrderFirst != 0) {
                plan.count = static_cast<std::int16_t>(p + 1);
                if (p + 1 < 30)
                    for (int i = p + 1; i < 30; ++i) std::memset(static_cast<void*>(&plan.cds[i]), 0, sizeof(CdRecord));
            }
            result = runPass();
            if (result == 0) {
                if (checkSides(plan) == 0) break;
                result = 3;
            } else if (result == 5) {
                break;
            }
        }
        if (result != 0 && c.bestCount != 0) plan = bestPlan;
        return result;
    }
};

}  // namespace zemo::test
