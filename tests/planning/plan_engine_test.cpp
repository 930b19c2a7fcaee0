// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "plan_fixture.h"
#include "plan_model.h"
#include "planning/plan_engine.h"
#include "planning/plan_random.h"

namespace zemo::test {
namespace {

bool sameBytes(const void* a, const void* b, std::size_t n) { return std::memcmp(a, b, n) == 0; }

TEST(PlanRandom, FirstDrawsOfSeedOne) {
    // seed := seed * 134775813 + 1 (mod 2^32); value = high half of seed * 65535.
    PlanRandom rng;
    rng.seed(1);
    const int expected[] = {2056, 56428, 13276, 17885, 44016, 20885};
    for (int v : expected) EXPECT_EQ(rng.draw(65535), v);
    EXPECT_EQ(rng.draws(), 6u);
    EXPECT_EQ(rng.state(), 1368768587u);
}

TEST(PlanRandom, RemainderByMultiplicationIsExactForEveryDrawAndCount) {
    for (int n = 1; n <= 40; ++n)
        for (std::uint32_t x = 0; x < 65535u; ++x)
            ASSERT_EQ(PlanRandom::reduce(x, n), static_cast<int>(x % static_cast<std::uint32_t>(n))) << x << " mod " << n;
}

TEST(PlanRandom, NegativeSeedIsTakenAsItsUnsignedBits) {
    PlanRandom a, b;
    a.seed(-1);
    b.seed(static_cast<std::int32_t>(0xFFFFFFFFu));
    EXPECT_EQ(a.draw(65535), b.draw(65535));
    EXPECT_EQ(a.state(), 0xFFFFFFFFu * 134775813u + 1u);
}

TEST(PlanTarget, AutomaticTargetIsHalfTheTotalTruncated) {
    PlanWorld w;
    w.setTimes({100, 201, 300});
    w.engine.loadShufControl();
    ASSERT_EQ(w.engine.buildSelection(), 0);
    std::int32_t target = -1;
    ASSERT_EQ(w.engine.currentTarget(target), 0);
    EXPECT_EQ(target, 300);  // 601 / 2
    EXPECT_EQ(w.engine.ctl.autoTarget, 1);

    w.ws.control.shuffleBlock.targetSec = 1200;
    ASSERT_EQ(w.engine.currentTarget(target), 0);
    EXPECT_EQ(target, 1200);
    EXPECT_EQ(w.engine.ctl.autoTarget, 0);
}

TEST(PlanSelection, SkipsEmptySlotsAndNumbersByOrder) {
    PlanWorld w;
    w.setTimes({});
    w.ws.arrays[kKindShuffle].put(2, makeCd(100, "X"));
    w.ws.arrays[kKindShuffle].put(7, makeCd(200, "Y"));
    ASSERT_EQ(w.engine.buildSelection(), 0);
    ASSERT_EQ(w.engine.selection.count, 2);
    EXPECT_EQ(w.engine.selection.cds[0].timeSec, 100);
    EXPECT_EQ(w.engine.selection.cds[1].timeSec, 200);
    EXPECT_EQ(w.engine.selection.regPos[0], 0);
    EXPECT_EQ(w.engine.selection.regPos[1], 1);
    EXPECT_EQ(w.engine.selection.countA + w.engine.selection.countB + w.engine.selection.countRest, 0);
}

// The acceptance window's both ends, for both senses of "有効秒差".
struct WindowCase {
    int plusOnly;
    int sideA;
    int expected;  // checkSides
};

TEST(PlanWindow, BothEndsInclusive) {
    // target 600, tolerance 5: [600, 605] with plusOnly 1, [595, 605] with plusOnly 0. Side B is
    // a second CD with exactly the target, so only side A decides.
    const WindowCase cases[] = {
        {1, 599, 1}, {1, 600, 0}, {1, 605, 0}, {1, 606, 1},
        {0, 594, 1}, {0, 595, 0}, {0, 605, 0}, {0, 606, 1},
    };
    for (const WindowCase& c : cases) {
        PlanWorld w;
        w.setTimes({c.sideA, 600});
        w.ws.control.shuffleBlock.targetSec = 600;
        w.ws.control.shuffleBlock.plusOnly = static_cast<std::int16_t>(c.plusOnly);
        w.engine.loadShufControl();
        w.engine.buildSelection();
        ShufTape t = w.engine.selection;
        w.engine.computeTarget(t);
        t.countA = 1;
        t.sideA[0] = 1;
        t.countB = 1;
        t.sideB[0] = 2;
        EXPECT_EQ(w.engine.checkSides(t), c.expected) << "plusOnly " << c.plusOnly << " side A " << c.sideA;
    }
}

TEST(PlanWindow, ShortSideBIsAcceptedOnlyWhenEveryCdIsOnTheTape) {
    PlanWorld w;
    w.setTimes({600, 100, 50});
    w.ws.control.shuffleBlock.targetSec = 600;
    w.engine.loadShufControl();
    w.engine.buildSelection();
    ShufTape t = w.engine.selection;
    w.engine.computeTarget(t);
    t.countA = 1, t.sideA[0] = 1;
    t.countB = 2, t.sideB[0] = 2, t.sideB[1] = 3;
    EXPECT_EQ(w.engine.checkSides(t), 0);
    t.countB = 1;  // CD 3 left out: the short side B no longer passes
    EXPECT_EQ(w.engine.checkSides(t), 1);
}

struct SingleCdCase {
    int plusOnly;
    int time;
    int result;
};

TEST(PlanRun, SingleCdAgainstAFixedTarget) {
    const SingleCdCase cases[] = {
        {1, 600, 0}, {1, 605, 0}, {1, 606, 1}, {1, 599, 3},
        {0, 595, 0}, {0, 594, 3}, {0, 606, 1},
    };
    for (const SingleCdCase& c : cases) {
        PlanWorld w;
        w.setTimes({c.time});
        w.ws.control.shuffleBlock.targetSec = 600;
        w.ws.control.shuffleBlock.plusOnly = static_cast<std::int16_t>(c.plusOnly);
        w.engine.loadShufControl();
        w.engine.buildSelection();
        w.engine.rng.seed(1);
        EXPECT_EQ(planCode(w.engine.runOptimisation()), c.result) << c.time;
        if (c.result != 1) {
            EXPECT_EQ(w.engine.plan.countA, 1);
            EXPECT_EQ(w.engine.plan.sideA[0], 1);
            EXPECT_EQ(w.engine.plan.countB, 0);
        }
        std::vector<std::string> expectedBoxes;
        if (c.result != 0) expectedBoxes.push_back(planResultMessage(c.result));
        EXPECT_EQ(w.boxTexts(), expectedBoxes);
    }
}

TEST(PlanRun, ResultMessages) {
    EXPECT_EQ(planResultMessage(0), "");
    EXPECT_EQ(planResultMessage(1), "最適化に失敗しました！");
    EXPECT_EQ(planResultMessage(2), "A or B面最適化に失敗しました！");
    EXPECT_EQ(planResultMessage(3), "有効秒差 最適化に失敗しました！");
    EXPECT_EQ(planResultMessage(4), "A or B面 or 有効秒差 最適化に失敗しました！");
    EXPECT_EQ(planResultMessage(5), "中断しました！");
    EXPECT_EQ(planResultMessage(-1), "???ｴﾗｰ！");
}

TEST(PlanRun, UnreachableTargetPutsEverythingOnSideAWithResult3) {
    PlanWorld w;
    w.setTimes({300, 200, 100});
    w.ws.control.shuffleBlock.targetSec = 5000;
    w.engine.loadShufControl();
    w.engine.buildSelection();
    w.engine.rng.seed(1);
    EXPECT_EQ(planCode(w.engine.runOptimisation()), 3);
    EXPECT_EQ(w.engine.plan.countA, 3);
    EXPECT_EQ(w.engine.plan.countB, 0);
    EXPECT_EQ(w.boxTexts(), std::vector<std::string>{"有効秒差 最適化に失敗しました！"});
}

TEST(PlanRun, AutomaticTargetWithoutAnAcceptablePlanShowsTheMostEvenCandidate) {
    // Total 1001: target 500, tolerance 0, plusOnly 1; side A can only reach 500 through CD 1, and
    // 501 on side B never passes. So no plan is acceptable and the best |A - B| is kept.
    PlanWorld w;
    w.setTimes({500, 250, 251});
    w.ws.control.shuffleBlock.tolerance = 0;
    w.engine.loadShufControl();
    w.engine.buildSelection();
    w.engine.rng.seed(3);
    int result = planCode(w.engine.runOptimisation());
    EXPECT_NE(result, 0);
    ASSERT_GT(w.engine.ctl.bestCount, 0);
    EXPECT_TRUE(sameBytes(&w.engine.plan, &w.engine.bestPlan, sizeof(ShufTape)));
    const ShufTape& p = w.engine.plan;
    EXPECT_EQ(abs32(sub32(listTime(p, p.sideA, p.countA), listTime(p, p.sideB, p.countB))), w.engine.ctl.bestDiff);
    EXPECT_EQ(w.engine.ctl.bestDiff, 1);
}

TEST(PlanRun, SameRunNumberAndSettingsGiveTheSamePlan) {
    PlanWorld w;
    w.setTimes({612, 345, 1234, 433, 250, 900, 777, 120, 300, 480});
    w.ws.control.shuffleBlock.targetSec = 1800;
    w.ws.control.shuffleBlock.tolerance = 30;
    w.engine.loadShufControl();
    w.engine.buildSelection();
    for (int seed : {1, 2, 7}) {
        const ShufControl before = w.engine.ctl;
        w.engine.rng.seed(seed);
        w.engine.rng.resetDraws();
        int r1 = planCode(w.engine.runOptimisation());
        const ShufTape plan1 = w.engine.plan;
        const std::uint64_t draws1 = w.engine.rng.draws();

        w.engine.ctl = before;
        w.engine.rng.seed(seed);
        w.engine.rng.resetDraws();
        int r2 = planCode(w.engine.runOptimisation());
        EXPECT_EQ(r1, r2);
        EXPECT_TRUE(sameBytes(&plan1, &w.engine.plan, sizeof(ShufTape))) << "seed " << seed;
        EXPECT_EQ(draws1, w.engine.rng.draws());
    }
}

TEST(PlanRun, StopRequestEndsTheRunWithResult5) {
    PlanWorld w;
    w.setTimes({600, 300, 300, 400});
    w.engine.loadShufControl();
    w.engine.buildSelection();
    w.engine.rng.seed(1);
    w.engine.stopRequested = true;
    EXPECT_EQ(planCode(w.engine.runOptimisation()), 5);
    EXPECT_FALSE(w.engine.stopRequested);  // read and cleared
    EXPECT_EQ(w.boxTexts(), std::vector<std::string>{"中断しました！"});
}

TEST(PlanRun, EmptySelectionRunsNoPass) {
    PlanWorld w;
    w.setTimes({});
    w.engine.loadShufControl();
    w.engine.buildSelection();
    EXPECT_EQ(planCode(w.engine.runOptimisation()), -1);
    EXPECT_EQ(w.boxTexts(), std::vector<std::string>{"???ｴﾗｰ！"});
}

TEST(PlanRun, RunEndHookComesBeforeTheResultBox) {
    PlanWorld w;
    w.setTimes({100});
    w.ws.control.shuffleBlock.targetSec = 5000;
    w.engine.loadShufControl();
    w.engine.buildSelection();
    std::size_t boxesAtHook = 99;
    w.engine.onRunEnd = [&] { boxesAtHook = w.prompter.boxes.size(); };
    w.engine.rng.seed(1);
    EXPECT_EQ(planCode(w.engine.runOptimisation()), 3);
    EXPECT_EQ(boxesAtHook, 0u);
    EXPECT_EQ(w.prompter.boxes.size(), 1u);
}

TEST(PlanSteps, PickRandomSubsetForcedPrefixStillDrawsOnce) {
    PlanWorld w;
    w.engine.ctl.forceStart = 1;
    w.engine.rng.seed(1);
    std::int16_t mask[30] = {};
    ASSERT_EQ(w.engine.pickRandomSubset(10, 3, mask, 3), 0);
    int set = 0;
    for (int i = 0; i < 10; ++i) set += mask[i];
    EXPECT_EQ(set, 4);  // 3 forced + 1 random
    EXPECT_EQ(mask[0] + mask[1] + mask[2], 3);
    EXPECT_EQ(w.engine.rng.draws(), 1u);

    std::int16_t full[30] = {};
    w.engine.rng.resetDraws();
    ASSERT_EQ(w.engine.pickRandomSubset(4, 2, full, 4), 0);  // forced covers everything: no draw
    EXPECT_EQ(w.engine.rng.draws(), 0u);
}

TEST(PlanSteps, PickRandomSubsetCollisionTakesNextThenFirstFree) {
    // Seed 1 draws 2056, 56428, 13276, ... ; mod 3 gives 1, 1, 1: the second draw collides and takes
    // the next position (2), the third collides twice and takes the first free one (0).
    PlanWorld w;
    w.engine.rng.seed(1);
    std::int16_t mask[30] = {};
    ASSERT_EQ(w.engine.pickRandomSubset(3, 3, mask, 0), 0);
    EXPECT_EQ(mask[0] + mask[1] + mask[2], 3);
    EXPECT_EQ(w.engine.rng.draws(), 3u);
}

TEST(PlanSteps, Rotations) {
    PlanWorld w;
    w.setTimes({1, 2, 3, 4, 5});
    w.engine.buildSelection();
    ShufTape t = w.engine.selection;
    w.engine.ctl.fixedA = 2;
    w.engine.rotateTape(t);
    const int expectTimes[] = {1, 2, 5, 3, 4};
    const int expectPos[] = {0, 1, 4, 2, 3};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(t.cds[i].timeSec, expectTimes[i]);
        EXPECT_EQ(t.regPos[i], expectPos[i]);
    }

    t.countB = 4;
    const std::int16_t b[] = {7, 8, 9, 10};
    std::memcpy(t.sideB, b, sizeof b);
    t.sideB[4] = 11;
    w.engine.ctl.fixedB = 1;
    w.engine.rotateCandidatesB(t);
    const std::int16_t expectB[] = {7, 10, 8, 9, 11};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(t.sideB[i], expectB[i]);

    w.engine.ctl.fixedB = 3;  // one entry left in the range: nothing moves
    w.engine.rotateCandidatesB(t);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(t.sideB[i], expectB[i]);
}

TEST(PlanSteps, RotateTapeStaysInsideTheCdsWhateverTheStoredRunTimeFields) {
    // A control file may carry any run-time values; with "最適化 しない" they are never recomputed.
    PlanWorld w;
    w.setTimes({1, 2, 3});
    w.engine.buildSelection();
    ShufTape t = w.engine.selection;
    w.engine.ctl.fixedA = -5;
    w.engine.rotateTape(t);
    EXPECT_EQ(t.cds[0].timeSec, 3);
    EXPECT_EQ(t.cds[1].timeSec, 1);
    w.engine.ctl.fixedA = 100;
    ShufTape u = t;
    w.engine.rotateTape(t);
    EXPECT_TRUE(sameBytes(&u, &t, sizeof t));
}

// The engine against the plain transcription, on random selections and settings, over several
// consecutive runs (so the run-time fields left by one run feed the next).
TEST(PlanModelAgreement, RandomSelectionsAndSettings) {
    std::mt19937 gen(20240607);
    int seen[7] = {};  // result codes -1..5, so the cases are known to reach every outcome
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(gen); };
    for (int caseNo = 0; caseNo < 160; ++caseNo) {
        PlanWorld w;
        const int n = caseNo < 120 ? pick(1, 10) : pick(11, 30);
        std::vector<int> times;
        int total = 0;
        for (int i = 0; i < n; ++i) {
            times.push_back(pick(0, 3) == 0 ? pick(60, 400) : pick(120, 1500));
            total += times.back();
        }
        w.setTimes(times);
        ShufControl c = defaultShufControl();
        c.noOptimise = static_cast<std::int16_t>(pick(0, 9) == 0);
        c.regOrderFirst = static_cast<std::int16_t>(pick(0, 2) == 0);
        c.noOptimiseA = static_cast<std::int16_t>(pick(0, 3) == 0);
        c.forceStart = static_cast<std::int16_t>(pick(0, 3) == 0);
        c.startA = static_cast<std::int16_t>(pick(0, 4) == 0 ? pick(0, 31) : 1);
        c.startB = static_cast<std::int16_t>(pick(0, 4) == 0 ? pick(0, 31) : 1);
        c.plusOnly = static_cast<std::int16_t>(pick(0, 1));
        c.tolerance = pick(0, 3) == 0 ? 0 : pick(1, 120);
        c.targetSec = pick(0, 2) == 0 ? 0 : std::max(1, total / pick(2, 4) + pick(-200, 200));
        if (pick(0, 3) == 0) {
            // stored run-time values, as a control file might carry them
            c.fixedA = static_cast<std::int16_t>(pick(0, n + 1));
            c.fixedB = static_cast<std::int16_t>(pick(0, n));
            c.bestCount = static_cast<std::int16_t>(pick(0, 2));
            c.bestDiff = pick(0, 50);
            c.firstCount = static_cast<std::int16_t>(pick(0, 1));
        }
        w.ws.control.shuffleBlock = c;
        w.engine.loadShufControl();
        ASSERT_EQ(w.engine.buildSelection(), 0);

        PlanModel m;
        m.selection = w.engine.selection;
        m.c = c;
        const int runs = pick(1, 3);
        for (int run = 1; run <= runs; ++run) {
            const bool stop = pick(0, 15) == 0;
            const int seed = caseNo * 7 + run;
            w.engine.rng.seed(seed);
            m.seed = static_cast<std::uint32_t>(seed);
            w.engine.stopRequested = stop;
            m.stopRequested = stop;
            w.engine.rng.resetDraws();
            m.draws = 0;
            const int r1 = planCode(w.engine.runOptimisation());
            const int r2 = m.runOptimisation();
            SCOPED_TRACE("case " + std::to_string(caseNo) + " run " + std::to_string(run));
            ASSERT_EQ(r1, r2);
            if (r1 >= -1 && r1 <= 5) ++seen[r1 + 1];
            ASSERT_EQ(w.engine.rng.draws(), m.draws);
            ASSERT_EQ(w.engine.rng.state(), m.seed);
            ASSERT_TRUE(sameBytes(&w.engine.ctl, &m.c, sizeof(ShufControl)));
            ASSERT_TRUE(sameBytes(&w.engine.plan, &m.plan, sizeof(ShufTape)));
            ASSERT_TRUE(sameBytes(&w.engine.firstPlan, &m.firstPlan, sizeof(ShufTape)));
            ASSERT_TRUE(sameBytes(&w.engine.bestPlan, &m.bestPlan, sizeof(ShufTape)));
        }
    }
    for (int code = 0; code <= 5; ++code) EXPECT_GT(seen[code + 1], 0) << "no case ended with " << code;
}

}  // namespace
}  // namespace zemo::test
