// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The planning random generator: a 32-bit linear congruential seed. A run is reproduced exactly
// from its seed, so the formula must never change.
#include <array>
#include <cstdint>

namespace zemo {

class PlanRandom {
public:
    void seed(std::int32_t value) { state_ = static_cast<std::uint32_t>(value); }
    std::uint32_t state() const { return state_; }

    // A value in 0..range-1: the high half of the 64-bit product of the advanced seed and range.
    std::int32_t draw(std::int32_t range) {
        ++draws_;
        state_ = state_ * 134775813u + 1u;
        return static_cast<std::int32_t>((static_cast<std::uint64_t>(state_) * static_cast<std::uint32_t>(range)) >> 32);
    }

    // Every planning draw: draw(65535) mod n (n > 0).
    int drawMod(int n) { return reduce(static_cast<std::uint32_t>(draw(65535)), n); }

    // x mod n for a drawn x (below 2^16). For the small counts of a tape the remainder is taken by
    // multiplication, exact for 16-bit values and divisors, since a division costs more than the
    // rest of a draw.
    static int reduce(std::uint32_t x, int n) {
        if (n > 0 && n < static_cast<int>(kModMagic.size()) && x < 65536u) {
            const std::uint32_t low = kModMagic[static_cast<std::size_t>(n)] * x;
            return static_cast<int>((static_cast<std::uint64_t>(low) * static_cast<std::uint32_t>(n)) >> 32);
        }
        return static_cast<int>(x % static_cast<std::uint32_t>(n));
    }

    // Draws made since construction (or the last resetDraws); for measuring, never for planning.
    std::uint64_t draws() const { return draws_; }
    void resetDraws() { draws_ = 0; }

private:
    // ceil(2^32 / n) modulo 2^32 for n = 1..32 (0 for n = 1, which yields remainder 0).
    static constexpr std::array<std::uint32_t, 33> kModMagic = [] {
        std::array<std::uint32_t, 33> a{};
        for (std::uint32_t n = 1; n < a.size(); ++n) a[n] = 0xFFFFFFFFu / n + 1u;
        return a;
    }();

    std::uint32_t state_ = 0;
    std::uint64_t draws_ = 0;
};

}  // namespace zemo
