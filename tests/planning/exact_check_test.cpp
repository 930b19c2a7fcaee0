// SPDX-License-Identifier: GPL-3.0-or-later
// The exact check against a brute force over every split of the CDs into side A, side B and not
// recorded, and its agreement with the engine's target and acceptance window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "plan_fixture.h"
#include "planning/exact_check.h"

namespace zemo::test {
namespace {

using Times = std::vector<std::int32_t>;

// checkSides on plain sums: both ends inclusive, a short side B only with every CD on the tape.
bool modelPasses(std::int64_t a, std::int64_t b, bool allUsed, std::int64_t lo, std::int64_t hi) {
    return lo <= a && a <= hi && ((lo <= b && b <= hi) || (b < lo && allUsed));
}

struct Brute {
    bool exists = false;
    std::int64_t minTolerance = -1;  // -1: none with target + tolerance <= 10800
};

// Every one of the 3^N splits. A split's least tolerance is 0 or the distance of one of its sums
// from the target (the window's ends move past a sum only there), so those are the ones tried.
Brute bruteForce(const Times& times, std::int32_t target, std::int32_t tolerance, bool plusOnly) {
    const int n = static_cast<int>(times.size());
    const std::int64_t maxTol = std::int64_t{kExactLimit} - target;
    std::vector<int> assign(static_cast<std::size_t>(n), 0);
    Brute out;
    for (;;) {
        std::int64_t a = 0, b = 0;
        bool allUsed = true;
        for (int k = 0; k < n; ++k) {
            if (assign[k] == 1) a += times[k];
            else if (assign[k] == 2) b += times[k];
            else allUsed = false;
        }
        const std::int64_t lo = plusOnly ? target : std::int64_t{target} - tolerance;
        if (modelPasses(a, b, allUsed, lo, std::int64_t{target} + tolerance)) out.exists = true;
        const std::int64_t da = a > target ? a - target : target - a, db = b > target ? b - target : target - b;
        for (std::int64_t c : {std::int64_t{0}, da, db}) {
            if (c > maxTol || (out.minTolerance >= 0 && c >= out.minTolerance)) continue;
            if (modelPasses(a, b, allUsed, plusOnly ? target : target - c, target + c)) out.minTolerance = c;
        }
        int k = 0;
        while (k < n && assign[k] == 2) assign[k++] = 0;
        if (k == n) break;
        ++assign[k];
    }
    return out;
}

// The plan the check returned is a split of 1..N that passes its window.
void expectPassingPlan(const Times& times, const ExactResult& r) {
    const int n = static_cast<int>(times.size());
    std::vector<int> seen(static_cast<std::size_t>(n), 0);
    std::int64_t a = 0, b = 0;
    auto walk = [&](const std::vector<int>& list, std::int64_t* sum) {
        EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
        for (int x : list) {
            ASSERT_GE(x, 1);
            ASSERT_LE(x, n);
            ++seen[x - 1];
            if (sum) *sum += times[x - 1];
        }
    };
    walk(r.sideA, &a);
    walk(r.sideB, &b);
    walk(r.rest, nullptr);
    for (int k = 0; k < n; ++k) EXPECT_EQ(seen[k], 1) << "CD " << k + 1;
    EXPECT_EQ(a, r.sumA);
    EXPECT_EQ(b, r.sumB);
    EXPECT_TRUE(modelPasses(a, b, r.rest.empty(), r.lo, r.hi)) << a << " " << b << " [" << r.lo << "," << r.hi << "]";
}

void expectAgrees(const Times& times, std::int32_t target, std::int32_t tolerance, bool plusOnly,
                  const std::string& name) {
    SCOPED_TRACE(name);
    const ExactResult r = exactCheck(times.data(), static_cast<int>(times.size()), target, tolerance, plusOnly);
    const Brute brute = bruteForce(times, target, tolerance, plusOnly);
    EXPECT_EQ(r.lo, plusOnly ? target : target - tolerance);
    EXPECT_EQ(r.hi, target + tolerance);
    ASSERT_NE(r.exists, ExactAnswer::Unchecked);
    EXPECT_EQ(r.exists == ExactAnswer::Yes, brute.exists);
    if (r.exists == ExactAnswer::Yes) expectPassingPlan(times, r);
    else EXPECT_TRUE(r.sideA.empty() && r.sideB.empty() && r.rest.empty());
    ASSERT_NE(r.toleranceFound, ExactAnswer::Unchecked);
    if (brute.minTolerance < 0) {
        EXPECT_EQ(r.toleranceFound, ExactAnswer::No);
    } else {
        EXPECT_EQ(r.toleranceFound, ExactAnswer::Yes);
        EXPECT_EQ(r.minTolerance, brute.minTolerance);
    }
}

struct Case {
    const char* name;
    Times times;
    std::int32_t target;
    std::int32_t tolerance;
    bool plusOnly;
};

TEST(ExactCheck, AgreesWithTheBruteForceOnTheEdgeCases) {
    const Case cases[] = {
        {"no CD", {}, 0, 5, true},
        {"no CD, fixed target", {}, 300, 5, false},
        {"one CD on side A", {300}, 300, 0, true},
        {"one CD too long", {300}, 150, 5, true},
        {"one CD too short", {300}, 400, 5, false},
        {"zero times join side B", {0, 0, 200}, 200, 0, true},
        {"zero times only", {0, 0, 0}, 0, 0, false},
        {"zero time and a tape of nothing", {0, 100}, 0, 0, true},
        {"target above the total", {100, 200}, 1000, 5, true},
        {"target above the total, plus and minus", {100, 200}, 1000, 5, false},
        {"plus only: exactly the target", {300, 300, 299}, 300, 5, true},
        {"plus only: a second short", {299, 299}, 300, 5, true},
        {"plus and minus: a second short", {299, 299}, 300, 5, false},
        {"plus and minus: the lower end", {295, 295, 500}, 300, 5, false},
        {"plus and minus: past the lower end", {294, 294, 500}, 300, 5, false},
        {"plus only: the upper end", {305, 305, 1}, 300, 5, true},
        {"plus only: past the upper end", {306, 306}, 300, 5, true},
        {"short side B with every CD", {600, 100, 50}, 600, 5, true},
        {"short side B but one left over", {600, 100, 700}, 600, 5, true},
        {"short side B, plus and minus", {600, 100, 700}, 600, 5, false},
        {"tolerance needed 0", {300, 300, 120}, 300, 0, true},
        {"tolerance needed 0 but none given", {300, 200, 100, 250, 50}, 300, 0, false},
        {"a plan needs more than given", {410, 390, 170, 230}, 600, 5, true},
        {"negative tolerance", {300, 300}, 300, -1, false},
        {"many equal", {180, 180, 180, 180, 180, 180, 180}, 540, 0, true},
        {"window from below zero", {10, 20, 30}, 20, 40, false},
    };
    for (const Case& c : cases) expectAgrees(c.times, c.target, c.tolerance, c.plusOnly, c.name);
}

TEST(ExactCheck, ChecksWindowsUpToThreeHoursAndNoFurther) {
    const Times times = {5400, 5400, 1};
    struct Limit {
        std::int32_t target, tolerance;
        ExactAnswer exists, tolerance_;
    };
    const Limit limits[] = {
        {5400, 5400, ExactAnswer::Yes, ExactAnswer::Yes},                     // hi = 10800
        {5400, 5401, ExactAnswer::Unchecked, ExactAnswer::Yes},               // hi = 10801
        {10800, 0, ExactAnswer::Yes, ExactAnswer::Yes},                       // A = 10800, B = 1 s short with every CD
        {10801, 0, ExactAnswer::Unchecked, ExactAnswer::Unchecked},           // target past the limit
        {10801, -1, ExactAnswer::No, ExactAnswer::Unchecked},                 // hi = 10800, empty window
    };
    for (const Limit& l : limits) {
        SCOPED_TRACE(std::to_string(l.target) + "+" + std::to_string(l.tolerance));
        const ExactResult r = exactCheck(times.data(), 3, l.target, l.tolerance, true);
        EXPECT_EQ(r.exists, l.exists);
        EXPECT_EQ(r.toleranceFound, l.tolerance_);
        EXPECT_EQ(r.hi, l.target + l.tolerance);
    }
    const ExactResult top = exactCheck(times.data(), 3, 10800, 0, true);
    EXPECT_EQ(top.sideA, (std::vector<int>{1, 2}));
    EXPECT_EQ(top.sideB, (std::vector<int>{3}));
    EXPECT_TRUE(top.rest.empty());
    EXPECT_EQ(top.minTolerance, 0);
}

TEST(ExactCheck, SmallestToleranceIsSearchedWhileTargetPlusToleranceFitsThreeHours) {
    // One CD of t seconds and a target of 5400, plus only: side A needs t - 5400, side B is empty
    // with every CD on the tape.
    struct Row {
        std::int32_t time;
        ExactAnswer found;
        std::int32_t tolerance;
    };
    const Row rows[] = {
        {10800, ExactAnswer::Yes, 5400},  // 5400 + 5400 = 10800
        {10801, ExactAnswer::No, 0},      // would need 5401
        {5400, ExactAnswer::Yes, 0},
        {5399, ExactAnswer::No, 0},       // side A never reaches the target
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.time);
        const ExactResult r = exactCheck(&row.time, 1, 5400, 0, true);
        EXPECT_EQ(r.toleranceFound, row.found);
        if (row.found == ExactAnswer::Yes) {
            EXPECT_EQ(r.minTolerance, row.tolerance);
        }
        expectAgrees({row.time}, 5400, 0, true, "brute force");
    }
}

TEST(ExactCheck, TimesItCannotBoundAreNotChecked) {
    for (const Times& times : {Times{300, -1, 300}, Times{2147483647, 2147483647, 2}}) {
        const ExactResult r = exactCheck(times.data(), 3, 300, 5, true);
        EXPECT_EQ(r.exists, ExactAnswer::Unchecked);
        EXPECT_EQ(r.toleranceFound, ExactAnswer::Unchecked);
        EXPECT_TRUE(r.sideA.empty());
    }
}

TEST(ExactCheck, RandomSelectionsAgreeWithTheBruteForce) {
    std::mt19937 gen(19);
    for (int round = 0; round < 60; ++round) {
        const int n = std::uniform_int_distribution<int>(0, 10)(gen);
        Times times;
        const int maxTime = round % 3 == 0 ? 40 : 420;
        for (int k = 0; k < n; ++k) times.push_back(std::uniform_int_distribution<int>(0, maxTime)(gen));
        std::int64_t total = 0;
        for (auto t : times) total += t;
        const bool autoTarget = round % 2 == 0;
        const std::int32_t target = autoTarget ? static_cast<std::int32_t>(total / 2)
                                               : std::uniform_int_distribution<int>(1, static_cast<int>(total) + 50)(gen);
        const std::int32_t tolerance = std::uniform_int_distribution<int>(0, round % 4 == 0 ? 0 : 30)(gen);
        expectAgrees(times, target, tolerance, round % 5 < 2, "round " + std::to_string(round));
    }
}

TEST(ExactCheck, TwelveCdsAgreeWithTheBruteForce) {
    std::mt19937 gen(1912);
    for (int round = 0; round < 4; ++round) {
        Times times;
        for (int k = 0; k < 12; ++k) times.push_back(std::uniform_int_distribution<int>(150, 420)(gen));
        expectAgrees(times, 900 + 97 * round, round, round % 2 == 0, "round " + std::to_string(round));
    }
}

// Up to 30 CDs: the plan passes, and the smallest tolerance is a threshold: with it a plan exists,
// with one second less none does.
TEST(ExactCheck, RandomLargeSelectionsGiveAPassingPlanAndAToleranceThreshold) {
    std::mt19937 gen(30);
    int withPlan = 0, without = 0;
    for (int round = 0; round < 40; ++round) {
        const int n = std::uniform_int_distribution<int>(13, 30)(gen);
        Times times;
        for (int k = 0; k < n; ++k) times.push_back(std::uniform_int_distribution<int>(150, 420)(gen));
        const std::int32_t target = round % 4 == 0 ? 0 : std::uniform_int_distribution<int>(600, 5000)(gen);
        std::int64_t total = 0;
        for (auto t : times) total += t;
        const std::int32_t tgt = target > 0 ? target : static_cast<std::int32_t>(total / 2);
        const std::int32_t tolerance = std::uniform_int_distribution<int>(0, 5)(gen);
        const bool plusOnly = round % 3 != 0;
        SCOPED_TRACE("round " + std::to_string(round));
        const ExactResult r = exactCheck(times.data(), n, tgt, tolerance, plusOnly);
        if (tgt + tolerance > kExactLimit) {
            EXPECT_EQ(r.exists, ExactAnswer::Unchecked);
            continue;
        }
        ASSERT_NE(r.exists, ExactAnswer::Unchecked);
        if (r.exists == ExactAnswer::Yes) {
            ++withPlan;
            expectPassingPlan(times, r);
            ASSERT_EQ(r.toleranceFound, ExactAnswer::Yes);
            EXPECT_LE(r.minTolerance, tolerance);
        } else {
            ++without;
        }
        if (r.toleranceFound != ExactAnswer::Yes) continue;
        const ExactResult at = exactCheck(times.data(), n, tgt, r.minTolerance, plusOnly);
        EXPECT_EQ(at.exists, ExactAnswer::Yes);
        if (at.exists == ExactAnswer::Yes) expectPassingPlan(times, at);
        if (r.minTolerance > 0) {
            EXPECT_EQ(exactCheck(times.data(), n, tgt, r.minTolerance - 1, plusOnly).exists, ExactAnswer::No);
        }
        EXPECT_EQ(r.exists == ExactAnswer::Yes, r.minTolerance <= tolerance);
    }
    EXPECT_GT(withPlan, 0);
    EXPECT_GT(without, 0);
}

// The selection and settings as the engine reads them give the engine's target and window.
TEST(ExactCheck, SelectionUsesTheEnginesTargetAndWindow) {
    struct Settings {
        std::int32_t targetSec, tolerance;
        std::int16_t plusOnly;
    };
    const Settings settings[] = {{0, 5, 1}, {0, 30, 0}, {1500, 12, 0}, {-3, 7, 1}, {2000, 0, 1}};
    PlanWorld w;
    w.setTimes({612, 345, 1234, 433, 251, 900, 777, 120});
    w.engine.loadShufControl();
    ASSERT_EQ(w.engine.buildSelection(), 0);
    for (const Settings& s : settings) {
        SCOPED_TRACE(std::to_string(s.targetSec) + "/" + std::to_string(s.tolerance));
        w.engine.ctl.targetSec = s.targetSec;
        w.engine.ctl.tolerance = s.tolerance;
        w.engine.ctl.plusOnly = s.plusOnly;
        const ShufControl before = w.engine.ctl;
        const ExactResult r = exactCheckSelection(w.engine.selection, w.engine.ctl);
        EXPECT_EQ(std::memcmp(&before, &w.engine.ctl, sizeof before), 0);
        ShufTape copy = w.engine.selection;
        w.engine.computeTarget(copy);
        EXPECT_EQ(r.target, copy.target);
        EXPECT_EQ(exactTarget(w.engine.selection, w.engine.ctl), copy.target);
        EXPECT_EQ(r.lo, w.engine.windowLow(copy.target));
        EXPECT_EQ(r.hi, w.engine.windowHigh(copy.target));
        if (r.exists == ExactAnswer::Yes) {
            // The engine's own check accepts the plan.
            ShufTape t = copy;
            t.countA = static_cast<std::int16_t>(r.sideA.size());
            t.countB = static_cast<std::int16_t>(r.sideB.size());
            t.countRest = static_cast<std::int16_t>(r.rest.size());
            for (std::size_t i = 0; i < r.sideA.size(); ++i) t.sideA[i] = static_cast<std::int16_t>(r.sideA[i]);
            for (std::size_t i = 0; i < r.sideB.size(); ++i) t.sideB[i] = static_cast<std::int16_t>(r.sideB[i]);
            for (std::size_t i = 0; i < r.rest.size(); ++i) t.rest[i] = static_cast<std::int16_t>(r.rest[i]);
            EXPECT_EQ(w.engine.checkSides(t), 0);
        }
    }
}

// The exact search that the check falls back on when its quick way finds no plan: every pair of
// sums a brute force can make is made, with exactly those sums, and no other.
TEST(ExactCheck, ExactSearchMakesEveryReachablePairOfSums) {
    std::mt19937 gen(4);
    for (int round = 0; round < 12; ++round) {
        const int n = std::uniform_int_distribution<int>(0, 7)(gen);
        Times times;
        for (int k = 0; k < n; ++k) times.push_back(std::uniform_int_distribution<int>(0, round < 6 ? 9 : 200)(gen));
        std::int64_t total = 0;
        for (auto t : times) total += t;
        // Every pair a brute force reaches.
        std::vector<std::vector<bool>> reach(static_cast<std::size_t>(total + 1),
                                             std::vector<bool>(static_cast<std::size_t>(total + 1), false));
        std::vector<int> assign(static_cast<std::size_t>(n), 0);
        for (;;) {
            std::int64_t a = 0, b = 0;
            for (int k = 0; k < n; ++k) {
                if (assign[k] == 1) a += times[k];
                if (assign[k] == 2) b += times[k];
            }
            reach[a][b] = true;
            int k = 0;
            while (k < n && assign[k] == 2) assign[k++] = 0;
            if (k == n) break;
            ++assign[k];
        }
        const int step = total > 60 ? 7 : 1;
        for (int a = 0; a <= total; a += step)
            for (int b = 0; b <= total; b += step) {
                std::vector<int> out(static_cast<std::size_t>(n), -1);
                const bool found = exactSplitWithSums(times.data(), n, a, b, out.data());
                ASSERT_EQ(found, static_cast<bool>(reach[a][b])) << round << ": " << a << "," << b;
                if (!found) continue;
                std::int64_t sa = 0, sb = 0;
                for (int k = 0; k < n; ++k) {
                    ASSERT_TRUE(out[k] >= 0 && out[k] <= 2);
                    if (out[k] == 1) sa += times[k];
                    if (out[k] == 2) sb += times[k];
                }
                EXPECT_EQ(sa, a);
                EXPECT_EQ(sb, b);
            }
    }
    const std::int32_t negative[] = {5, -5};
    int out[2];
    EXPECT_FALSE(exactSplitWithSums(negative, 2, 0, 0, out));
}

TEST(ExactCheck, SplitPassesJudgesAsTheEngine) {
    const std::int32_t times[] = {600, 100, 700};
    const int shortWithAll[] = {1, 2, 2};
    const int shortWithRest[] = {1, 2, 0};
    const int longB[] = {2, 1, 0};
    EXPECT_FALSE(exactSplitPasses(times, 3, shortWithAll, 600, 605));  // B = 800 over hi
    EXPECT_TRUE(exactSplitPasses(times, 2, shortWithAll, 600, 605));   // B = 100, every CD used
    EXPECT_FALSE(exactSplitPasses(times, 3, shortWithRest, 600, 605));
    EXPECT_TRUE(exactSplitPasses(times, 3, longB, 100, 600));
}

}  // namespace
}  // namespace zemo::test
