// SPDX-License-Identifier: GPL-3.0-or-later
#include "planning/plan_finish.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <utility>

#include "records/file_services.h"

namespace zemo {

namespace {

int bounded(int n) { return std::clamp(n, 0, kTapeSlots); }

struct ListRef {
    std::int16_t* list;
    std::int16_t* count;
    int code;  // integrity code of a finding in this list
};

// Registration position of CD x as a sort key; a number that names no CD sorts last.
int regKey(const ShufTape& t, int x) { return isCdNumber(t, x) ? t.regPos[x - 1] : INT_MAX; }

// Stable insertion sort of a list by registration position.
void sortByRegistration(const ShufTape& t, std::int16_t* list, int n) {
    for (int i = 1; i < n; ++i) {
        std::int16_t x = list[i];
        int key = regKey(t, x);
        int j = i - 1;
        while (j >= 0 && regKey(t, list[j]) > key) {
            list[j + 1] = list[j];
            --j;
        }
        list[j + 1] = x;
    }
}

}  // namespace

void completePlan(const ShufTape& selection, ShufTape& t) {
    const int a = std::min<int>(t.countA, t.count);
    const int b = (t.countA + t.countB > t.count) ? t.count - a : t.countB;
    const int u = t.count - t.countA - t.countB;
    const int have = a + b + u;
    int appended = 0;
    for (int i = 0; i < selection.count - have; ++i) {
        const int slot = have + i, restAt = u + i;
        if (slot >= 0 && slot < kTapeSlots) {
            t.regPos[slot] = static_cast<std::int16_t>(slot);
            t.cds[slot] = selection.cds[slot];
        }
        if (restAt >= 0 && restAt < kTapeSlots) t.rest[restAt] = static_cast<std::int16_t>(slot + 1);
        ++appended;
    }
    t.countRest = static_cast<std::int16_t>(u + appended);
    t.count = selection.count;
}

int planIntegrityCode(const ShufTape& selection, const ShufTape& t) {
    int code = 0;
    int c = 0;
    int keys[kTapeSlots] = {};
    int hits[kTapeSlots] = {};
    const std::int16_t* lists[3] = {t.sideA, t.sideB, t.rest};
    const int counts[3] = {t.countA, t.countB, t.countRest};
    for (int l = 0; l < 3; ++l) {
        const int n = bounded(counts[l]);
        for (int i = 0; i < n; ++i, ++c) {
            const int x = lists[l][i];
            if (!isCdNumber(t, x)) {
                // A number that names no CD: reported as this list's finding, nothing recorded.
                code = l + 1;
                continue;
            }
            const int p = t.regPos[x - 1];
            if (p < 0 || p >= kTapeSlots || c >= kTapeSlots) {
                code = l + 1;
            } else {
                keys[c] = t.regPos[p];
                ++hits[p];
            }
        }
    }
    if (c < selection.count) code = 4;
    const int limit = std::min<int>(kTapeSlots, selection.count);
    for (int p = 0; p < limit; ++p)
        if (hits[p] > 1) code = 5;
    const int k = std::min(c, kTapeSlots);
    std::sort(keys, keys + k);
    for (int i = 1; i < k; ++i)
        if (keys[i] == keys[i - 1]) code = 6;
    return code;
}

int checkPlan(Workspace& ws, const ShufTape& selection, const ShufTape& t) {
    const int code = planIntegrityCode(selection, t);
    if (code == 0) return 0;
    showPlanError(ws, code);
    return 6;
}

void showPlanError(Workspace& ws, int code) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "Program error!(code=%d)", code);
    showBox(ws, BoxKind::Error, buf, Buttons::Ok);
}

void normalisePlan(const ShufTape& selection, ShufTape& t, int code, const ShufControl& ctl) {
    ListRef lists[3] = {{t.sideA, &t.countA, 1}, {t.sideB, &t.countB, 2}, {t.rest, &t.countRest, 3}};
    for (const ListRef& l : lists) sortByRegistration(t, l.list, bounded(*l.count));

    CdRecord cds[kTapeSlots];
    std::int16_t pos[kTapeSlots];
    const int limit = std::min<int>(bounded(selection.count), kTapeSlots);
    int k = 0;
    for (const ListRef& l : lists) {
        const int n = bounded(*l.count);
        for (int i = 0; i < n; ++i) {
            const int x = l.list[i];
            if (!isCdNumber(t, x) || k >= limit) {
                l.list[i] = 0;  // names no CD, and never will
                continue;
            }
            cds[k] = t.cds[x - 1];
            pos[k] = t.regPos[x - 1];
            ++k;
            l.list[i] = static_cast<std::int16_t>(k);
        }
    }
    for (int i = 0; i < k; ++i) {
        t.cds[i] = cds[i];
        t.regPos[i] = pos[i];
    }

    if (code != 2 && code != 5 && ctl.noOptimiseA == 0 && t.countA > 0 && t.countB > 0 &&
        isCdNumber(t, t.sideA[0]) && isCdNumber(t, t.sideB[0]) &&
        t.regPos[t.sideA[0] - 1] > t.regPos[t.sideB[0] - 1]) {
        std::swap(t.countA, t.countB);
        std::swap(t.sideA, t.sideB);
    }
}

bool regOrderFailed(const ShufTape& t, const ShufControl& ctl) {
    if (ctl.regOrderFirst == 0 || t.countA <= 0 || t.countB <= 0 || t.countRest <= 0) return false;
    const int xr = t.rest[0];
    const int xa = t.sideA[bounded(t.countA) - 1];
    const int xb = t.sideB[bounded(t.countB) - 1];
    if (!isCdNumber(t, xr) || !isCdNumber(t, xa) || !isCdNumber(t, xb)) return false;
    const int r = t.regPos[xr - 1];
    return r < t.regPos[xa - 1] || r < t.regPos[xb - 1];
}

void warnRegOrder(Workspace& ws, const ShufTape& t, const ShufControl& ctl) {
    if (regOrderFailed(t, ctl)) showBox(ws, BoxKind::Error, "登録順優先に失敗しました！", Buttons::Ok);
}

void planNoShuffle(const ShufTape& selection, ShufTape& t) {
    const int n = bounded(t.count);
    t.countA = t.count;
    t.countB = 0;
    t.countRest = 0;
    for (int j = 0; j < n; ++j) {
        t.cds[j] = selection.cds[j];
        t.sideA[j] = static_cast<std::int16_t>(j + 1);
        t.regPos[j] = static_cast<std::int16_t>(j);
    }
}

void planHalfSplit(const ShufTape& selection, ShufTape& t) {
    const int n = bounded(t.count);
    if (n < 2) return;
    t.countA = t.countB = t.countRest = 0;
    std::int32_t total = 0;
    for (int j = 0; j < n; ++j) {
        t.cds[j] = selection.cds[j];
        total = add32(total, t.cds[j].timeSec);
    }
    int best = 0;
    std::int32_t bestD = 0, front = 0;
    for (int i = 0; i <= n - 2; ++i) {
        front = add32(front, t.cds[i].timeSec);
        const std::int32_t d = abs32(sub32(front, sub32(total, front)));
        if (i == 0 || d < bestD) {
            best = i;
            bestD = d;
        }
    }
    for (int j = 0; j <= best; ++j) t.sideA[j] = static_cast<std::int16_t>(j + 1);
    for (int j = best + 1; j < n; ++j) t.sideB[j - best - 1] = static_cast<std::int16_t>(j + 1);
    for (int j = 0; j < n; ++j) t.regPos[j] = static_cast<std::int16_t>(j);
    t.countA = static_cast<std::int16_t>(best + 1);
    t.countB = static_cast<std::int16_t>(n - best - 1);
    t.countRest = 0;
}

void shuffleSide(int side, ShufTape& t, PlanRandom& rng) {
    std::int16_t* list = side == 0 ? t.sideA : t.sideB;
    const int n = bounded(side == 0 ? t.countA : t.countB);
    if (n <= 0) return;
    std::int32_t perm[kTapeSlots] = {};
    randomPermutation(rng, 1, n, perm);
    for (int j = 0; j < n; ++j) std::swap(list[j], list[perm[j]]);
}

void randomPermutation(PlanRandom& rng, int mode, int n, std::int32_t* v) {
    if (n <= 0) return;
    std::int32_t next = 0;
    if (mode == 0) {
        v[0] = 1;
        next = 1;
    }
    for (int round = 0; round < n; ++round) {
        int x = rng.drawMod(n);
        if (v[x] == 0) {
            v[x] = ++next;
            continue;
        }
        x = (x + 1 >= n) ? 0 : x + 1;
        if (v[x] == 0) {
            v[x] = ++next;
            continue;
        }
        for (int z = 0; z < n; ++z) {
            if (v[z] == 0) {
                v[z] = ++next;
                break;
            }
        }
    }
    bool identity = true;
    for (int j = 0; j < n; ++j) {
        v[j] -= 1;
        if (v[j] != j) identity = false;
    }
    if (identity) {
        std::int32_t first = v[0];
        for (int j = 0; j + 1 < n; ++j) v[j] = v[j + 1];
        v[n - 1] = first;
    }
}

}  // namespace zemo
