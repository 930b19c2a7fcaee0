// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tape plan: the record type of the selection, the plan being worked on and the kept candidates.
// A CD number k (1..30) names cds[k-1]; list entries beyond their counts carry no meaning.
#include <cstdint>

#include "records/cd_record.h"

namespace zemo {

inline constexpr int kTapeSlots = 30;

struct ShufTape {
    std::int16_t count;      // CDs in cds, 0..30
    std::int32_t target;     // target seconds per side
    std::int16_t countA;
    std::int16_t countB;
    std::int16_t countRest;  // CDs not recorded ("未収録")
    std::int16_t sideA[kTapeSlots];
    std::int16_t sideB[kTapeSlots];
    std::int16_t rest[kTapeSlots];
    std::int16_t regPos[kTapeSlots];  // shuffle-list position (0-based) of cds[k-1] when the selection was built
    CdRecord cds[kTapeSlots];
};

// Whether x names a CD of t: 1..count (and never past the 30 slots).
inline bool isCdNumber(const ShufTape& t, int x) { return x >= 1 && x <= t.count && x <= kTapeSlots; }

// Playing time of CD x; a number that names no CD counts 0 seconds.
inline std::int32_t cdTime(const ShufTape& t, int x) { return isCdNumber(t, x) ? t.cds[x - 1].timeSec : 0; }

// Sums of times are 32-bit and wrap like the stored int32 arithmetic, without undefined behaviour.
inline std::int32_t add32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline std::int32_t sub32(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline std::int32_t abs32(std::int32_t a) {
    return a < 0 ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(a)) : a;
}

// Total time of the first n entries of a list (stray numbers count 0).
inline std::int32_t listTime(const ShufTape& t, const std::int16_t* list, int n) {
    std::int32_t sum = 0;
    if (n > kTapeSlots) n = kTapeSlots;
    for (int i = 0; i < n; ++i) sum = add32(sum, cdTime(t, list[i]));
    return sum;
}

}  // namespace zemo
