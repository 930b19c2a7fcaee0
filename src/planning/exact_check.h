// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exact check beside the seeded search: whether any split of the selection into side A, side B
// and not recorded passes the acceptance window, one such split, and the smallest tolerance with
// which one would pass. It answers by reachability over the pairs (sum A, sum B), one bit per pair,
// so it is exact, and it only answers for windows whose upper end is at most kExactLimit seconds.
#include <cstdint>
#include <vector>

#include "records/shuf_tape.h"
#include "records/sys_control.h"

namespace zemo {

// Three hours a side: longer than any cassette. Beyond it the check answers "not checked".
inline constexpr std::int32_t kExactLimit = 10800;

enum class ExactAnswer { No, Yes, Unchecked };

struct ExactResult {
    std::int32_t target = 0;  // as computeTarget gives it
    std::int32_t lo = 0;      // the acceptance window, both ends inclusive
    std::int32_t hi = 0;
    ExactAnswer exists = ExactAnswer::Unchecked;
    // Yes: minTolerance is the smallest tolerance (same target, same plusOnly) with which a plan
    // passes; No: none does while target + tolerance <= kExactLimit; Unchecked: target > kExactLimit
    // (or the times are outside what the check handles, see exactCheck).
    ExactAnswer toleranceFound = ExactAnswer::Unchecked;
    std::int32_t minTolerance = 0;
    // When exists is Yes: one passing plan, CD numbers 1..N ascending in each list, and its sums.
    // It is a plan that also needs the least tolerance, so it is the most accurate one.
    std::vector<int> sideA, sideB, rest;
    std::int32_t sumA = 0, sumB = 0;
};

// The check on plain times (CD number k has times[k-1]). The window is the engine's: hi = target +
// tolerance, lo = target, or target - tolerance when plusOnly is false. Exact when every time is 0
// or more and the total fits in 32 bits (so no sum wraps); for other times both answers are
// Unchecked. Memory: one table of (D + 1) rows of (D / 64 + 1) 64-bit words, D the largest sum
// looked at (at most min(10800, total): 14.6 MB), and a second one of at most that size only
// when the quick way to the plan fails and the exact plan search runs.
ExactResult exactCheck(const std::int32_t* times, int n, std::int32_t target, std::int32_t tolerance, bool plusOnly);

// The target computeTarget would give the selection under these settings (without touching either).
std::int32_t exactTarget(const ShufTape& selection, const ShufControl& ctl);

// The check of a selection (as buildSelection leaves it) under the working settings: target as
// computeTarget, the settings' tolerance and plusOnly.
ExactResult exactCheckSelection(const ShufTape& selection, const ShufControl& ctl);

// Whether a split passes the window as checkSides would judge it (sums in 32 bits as the engine
// adds them); assign[k-1] is 0 (not recorded), 1 (side A) or 2 (side B) for CD number k.
bool exactSplitPasses(const std::int32_t* times, int n, const int* assign, std::int32_t lo, std::int32_t hi);

// One split of the CDs whose sides add up to exactly sumA and sumB (assign as above), by the exact
// search alone: the check tries a quicker way first and falls back on this. False when there is
// none (or a time is negative).
bool exactSplitWithSums(const std::int32_t* times, int n, std::int32_t sumA, std::int32_t sumB, int* assign);

}  // namespace zemo
