// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "plan_fixture.h"
#include "planning/plan_finish.h"

namespace zemo::test {
namespace {

ShufTape selectionOf(const std::vector<int>& times) {
    ShufTape s{};
    s.count = static_cast<std::int16_t>(times.size());
    for (std::size_t i = 0; i < times.size(); ++i) {
        s.cds[i] = makeCd(times[i], "CD" + std::to_string(i + 1));
        s.regPos[i] = static_cast<std::int16_t>(i);
    }
    return s;
}

void setList(std::int16_t* list, std::int16_t& count, std::vector<int> xs) {
    count = static_cast<std::int16_t>(xs.size());
    for (std::size_t i = 0; i < xs.size(); ++i) list[i] = static_cast<std::int16_t>(xs[i]);
}

std::vector<int> listOf(const std::int16_t* list, int n) { return std::vector<int>(list, list + n); }

TEST(CompletePlan, RegistrationOrderPrefixGetsTheLaterCdsAtTheEndOfUnrecorded) {
    const ShufTape sel = selectionOf({100, 200, 300, 400, 500, 600, 700, 800});
    ShufTape t = sel;
    t.count = 5;  // the plan of a pass over the first 5 CDs
    setList(t.sideA, t.countA, {2, 1});
    setList(t.sideB, t.countB, {4, 3});
    setList(t.rest, t.countRest, {5});
    for (int i = 5; i < 30; ++i) t.cds[i] = CdRecord{};
    completePlan(sel, t);
    EXPECT_EQ(t.count, 8);
    EXPECT_EQ(listOf(t.rest, t.countRest), (std::vector<int>{5, 6, 7, 8}));
    for (int i = 5; i < 8; ++i) {
        EXPECT_EQ(t.regPos[i], i);
        EXPECT_EQ(t.cds[i].timeSec, sel.cds[i].timeSec);
    }
    EXPECT_EQ(listOf(t.sideA, t.countA), (std::vector<int>{2, 1}));

    const ShufTape once = t;  // completing a completed plan changes nothing
    completePlan(sel, t);
    EXPECT_EQ(0, std::memcmp(&once, &t, sizeof t));
}

// A plan that names every CD once is consistent; everything else gets a code, the last finding winning.
struct CheckCase {
    const char* what;
    std::vector<int> a, b, rest;
    int regPosOverrideIndex;  // -1 none
    int regPosOverride;
    int code;
};

TEST(CheckPlan, Codes) {
    const CheckCase cases[] = {
        {"consistent", {1, 2}, {3}, {}, -1, 0, 0},
        {"consistent with unrecorded", {3}, {1}, {2}, -1, 0, 0},
        {"one CD missing", {1}, {2}, {}, -1, 0, 4},
        {"CD listed twice, one missing", {1, 1}, {3}, {}, -1, 0, 6},
        {"registration position beyond the list on side A", {1}, {2}, {3}, 0, 31, 1},
        {"registration position beyond the list on side B", {2}, {1}, {3}, 0, 40, 2},
        {"registration position beyond the list in unrecorded", {2}, {3}, {1}, 0, 30, 3},
        // The finding leaves its key at 0, which here equals the key of CD 1: the later code 6 wins.
        {"beyond the list, key 0 taken twice", {1}, {2}, {3}, 1, 40, 6},
        {"stray number in unrecorded", {2}, {3}, {0}, -1, 0, 3},
        {"stray number on side A", {7}, {2}, {3}, -1, 0, 1},
    };
    for (const CheckCase& c : cases) {
        PlanWorld w;
        const ShufTape sel = selectionOf({100, 200, 300});
        ShufTape t = sel;
        setList(t.sideA, t.countA, c.a);
        setList(t.sideB, t.countB, c.b);
        setList(t.rest, t.countRest, c.rest);
        if (c.regPosOverrideIndex >= 0) t.regPos[c.regPosOverrideIndex] = static_cast<std::int16_t>(c.regPosOverride);
        EXPECT_EQ(planIntegrityCode(sel, t), c.code) << c.what;
        EXPECT_EQ(checkPlan(w.ws, sel, t), c.code == 0 ? 0 : 6) << c.what;
        if (c.code == 0) {
            EXPECT_TRUE(w.prompter.boxes.empty()) << c.what;
        } else {
            ASSERT_EQ(w.prompter.boxes.size(), 1u) << c.what;
            EXPECT_EQ(w.prompter.boxes[0].kind, BoxKind::Error);
            EXPECT_EQ(w.prompter.boxes[0].text, "Program error!(code=" + std::to_string(c.code) + ")");
        }
    }
}

// A pass that made no attempt leaves the selection copy with empty lists; completed, its
// unrecorded list holds stray zeros. They never reach a CD: one gives code 3, several code 6.
TEST(CheckPlan, EmptyPassPlanIsReportedWithoutReachingOutsideTheLists) {
    for (int n : {1, 3}) {
        const ShufTape sel = selectionOf(std::vector<int>(static_cast<std::size_t>(n), 300));
        ShufTape t = sel;  // counts and lists 0, as the selection's
        completePlan(sel, t);
        EXPECT_EQ(t.countRest, n);
        EXPECT_EQ(planIntegrityCode(sel, t), n == 1 ? 3 : 6);
    }
}

TEST(NormalisePlan, SortsByRegistrationAndStartsSideAWithTheEarlierCd) {
    const ShufTape sel = selectionOf({100, 200, 300, 400});
    ShufControl ctl = defaultShufControl();
    ShufTape t = sel;
    setList(t.sideA, t.countA, {4, 2});
    setList(t.sideB, t.countB, {3, 1});
    setList(t.rest, t.countRest, {});
    normalisePlan(sel, t, 0, ctl);
    // Laid out A (2, 4) then B (1, 3); B starts with the earlier CD, so the sides are exchanged.
    EXPECT_EQ(listOf(t.sideA, t.countA), (std::vector<int>{3, 4}));
    EXPECT_EQ(listOf(t.sideB, t.countB), (std::vector<int>{1, 2}));
    const int times[] = {200, 400, 100, 300};
    const int pos[] = {1, 3, 0, 2};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(t.cds[i].timeSec, times[i]);
        EXPECT_EQ(t.regPos[i], pos[i]);
    }
    EXPECT_EQ(t.regPos[t.sideA[0] - 1], 0);
    EXPECT_EQ(planIntegrityCode(sel, t), 0);
}

TEST(NormalisePlan, NoExchangeForCodes2And5OrWithoutSideAOptimisation) {
    const ShufTape sel = selectionOf({100, 200, 300});
    struct Case {
        int code;
        int noOptimiseA;
        bool exchanged;
    } cases[] = {{0, 0, true}, {3, 0, true}, {2, 0, false}, {5, 0, false}, {0, 1, false}};
    for (const Case& c : cases) {
        ShufControl ctl = defaultShufControl();
        ctl.noOptimiseA = static_cast<std::int16_t>(c.noOptimiseA);
        ShufTape t = sel;
        setList(t.sideA, t.countA, {3});
        setList(t.sideB, t.countB, {2, 1});
        setList(t.rest, t.countRest, {});
        normalisePlan(sel, t, c.code, ctl);
        // After laying out: A = [1] (CD 3), B = [2, 3] (CDs 1, 2).
        if (c.exchanged) {
            EXPECT_EQ(listOf(t.sideA, t.countA), (std::vector<int>{2, 3})) << c.code << "/" << c.noOptimiseA;
            EXPECT_EQ(listOf(t.sideB, t.countB), (std::vector<int>{1}));
        } else {
            EXPECT_EQ(listOf(t.sideA, t.countA), (std::vector<int>{1})) << c.code << "/" << c.noOptimiseA;
            EXPECT_EQ(listOf(t.sideB, t.countB), (std::vector<int>{2, 3}));
        }
    }
}

TEST(RegOrderWarning, UnrecordedCdRegisteredBeforeTheEndOfEitherSide) {
    struct Case {
        int regOrderFirst;
        std::vector<int> a, b, rest;
        bool warn;
    } cases[] = {
        {1, {1, 3}, {5}, {4, 6}, true},   // before the last of side B only
        {1, {1, 5}, {3}, {4, 6}, true},   // before the last of side A only
        {1, {1, 2}, {3}, {4, 5}, false},  // after both
        {0, {1, 5}, {3}, {2}, false},     // registration order not asked for
        {1, {1, 5}, {3}, {}, false},      // nothing unrecorded
    };
    const ShufTape sel = selectionOf({1, 2, 3, 4, 5, 6});
    for (const Case& c : cases) {
        PlanWorld w;
        ShufControl ctl = defaultShufControl();
        ctl.regOrderFirst = static_cast<std::int16_t>(c.regOrderFirst);
        ShufTape t = sel;
        setList(t.sideA, t.countA, c.a);
        setList(t.sideB, t.countB, c.b);
        setList(t.rest, t.countRest, c.rest);
        EXPECT_EQ(regOrderFailed(t, ctl), c.warn);
        warnRegOrder(w.ws, t, ctl);
        EXPECT_EQ(w.boxTexts(), c.warn ? std::vector<std::string>{"登録順優先に失敗しました！"} : std::vector<std::string>{});
    }
}

TEST(SimpleDistributions, NoShuffleListsEveryCdOnSideA) {
    const ShufTape sel = selectionOf({100, 200, 300});
    ShufTape t = sel;
    setList(t.sideA, t.countA, {3});
    setList(t.sideB, t.countB, {1});
    setList(t.rest, t.countRest, {2});
    std::swap(t.cds[0], t.cds[2]);
    planNoShuffle(sel, t);
    EXPECT_EQ(listOf(t.sideA, t.countA), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(t.countB, 0);
    EXPECT_EQ(t.countRest, 0);
    EXPECT_EQ(t.cds[0].timeSec, 100);
    EXPECT_EQ(t.regPos[2], 2);
}

TEST(SimpleDistributions, HalfSplitTakesTheFirstSmallestCut) {
    struct Case {
        std::vector<int> times;
        int countA;
    } cases[] = {
        {{100, 100}, 1},
        {{100, 900}, 1},
        {{100, 100, 100, 100}, 2},
        {{100, 0, 100}, 1},  // cuts after 1 and after 2 are equally even: the first wins
        {{50, 300, 100}, 2},
        {{500, 1, 1, 1}, 1},
    };
    for (const Case& c : cases) {
        const ShufTape sel = selectionOf(c.times);
        ShufTape t = sel;
        planHalfSplit(sel, t);
        const int n = static_cast<int>(c.times.size());
        EXPECT_EQ(t.countA, c.countA);
        EXPECT_EQ(t.countB, n - c.countA);
        EXPECT_EQ(t.countRest, 0);
        for (int j = 0; j < t.countA; ++j) EXPECT_EQ(t.sideA[j], j + 1);
        for (int j = 0; j < t.countB; ++j) EXPECT_EQ(t.sideB[j], c.countA + j + 1);
    }
    // A single CD: nothing happens.
    const ShufTape one = selectionOf({100});
    ShufTape t = one;
    setList(t.sideA, t.countA, {});
    setList(t.rest, t.countRest, {1});
    const ShufTape before = t;
    planHalfSplit(one, t);
    EXPECT_EQ(0, std::memcmp(&before, &t, sizeof t));
}

TEST(RandomPermutation, OneAndTwoElements) {
    for (int mode : {0, 1}) {
        for (int seed = 1; seed <= 40; ++seed) {
            PlanRandom rng;
            rng.seed(seed);
            std::int32_t one[1] = {};
            randomPermutation(rng, mode, 1, one);
            EXPECT_EQ(one[0], 0);
            std::int32_t two[2] = {};
            randomPermutation(rng, mode, 2, two);
            EXPECT_EQ(two[0], 1);
            EXPECT_EQ(two[1], 0);
        }
    }
}

TEST(RandomPermutation, KnownDrawsAndTheIdentityRotation) {
    // Seed 1 draws 2056, 56428, 13276: mod 3 all give 1.
    PlanRandom rng;
    rng.seed(1);
    std::int32_t v[3] = {};
    randomPermutation(rng, 1, 3, v);  // 1 -> 1; 1 taken -> 2; 1 and 2 taken -> first free 0
    EXPECT_EQ(std::vector<int>(v, v + 3), (std::vector<int>{2, 0, 1}));

    rng.seed(1);
    rng.resetDraws();
    std::int32_t w[3] = {};
    randomPermutation(rng, 0, 3, w);  // [0] kept; 1 -> 2nd; 2 -> 3rd; identity, so rotated left
    EXPECT_EQ(std::vector<int>(w, w + 3), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(rng.draws(), 3u);  // n draws even when the last finds nothing free
}

TEST(RandomPermutation, AlwaysAPermutationThatMovesSomething) {
    for (int n = 2; n <= 30; ++n) {
        for (int mode : {0, 1}) {
            PlanRandom rng;
            rng.seed(n * 31 + mode);
            std::int32_t v[30] = {};
            randomPermutation(rng, mode, n, v);
            std::vector<int> sorted(v, v + n);
            std::sort(sorted.begin(), sorted.end());
            bool moved = false;
            for (int j = 0; j < n; ++j) {
                EXPECT_EQ(sorted[j], j);
                moved |= v[j] != j;
            }
            EXPECT_TRUE(moved);
        }
    }
}

TEST(ShuffleSide, EmptySideIsLeftAloneWithoutDrawing) {
    const ShufTape sel = selectionOf({100, 200, 300});
    ShufTape t = sel;
    setList(t.sideA, t.countA, {1, 2, 3});
    setList(t.sideB, t.countB, {});
    PlanRandom rng;
    rng.seed(5);
    const ShufTape before = t;
    shuffleSide(1, t, rng);
    EXPECT_EQ(0, std::memcmp(&before, &t, sizeof t));
    EXPECT_EQ(rng.draws(), 0u);
}

TEST(ShuffleSide, ExchangesFollowThePermutationInOrder) {
    // Seed 1 gives the permutation [2, 0, 1]; each exchange sees the result of the previous one.
    const ShufTape sel = selectionOf({100, 200, 300});
    ShufTape t = sel;
    setList(t.sideA, t.countA, {7, 8, 9});
    PlanRandom rng;
    rng.seed(1);
    shuffleSide(0, t, rng);
    // [7,8,9] -swap(0,2)-> [9,8,7] -swap(1,0)-> [8,9,7] -swap(2,1)-> [8,7,9]
    EXPECT_EQ(listOf(t.sideA, 3), (std::vector<int>{8, 7, 9}));

    // Two entries: the permutation is always [1, 0], whose two exchanges cancel out.
    setList(t.sideB, t.countB, {4, 5});
    shuffleSide(1, t, rng);
    EXPECT_EQ(listOf(t.sideB, 2), (std::vector<int>{4, 5}));
}

}  // namespace
}  // namespace zemo::test
