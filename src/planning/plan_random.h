#pragma once
// The planning random generator: a 32-bit linear congruential seed. A run is reproduced exactly
// from its seed, so the formula must never change.
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
    int drawMod(int n) { return draw(65535) % n; }

    // Draws made since construction (or the last resetDraws); for measuring, never for planning.
    std::uint64_t draws() const { return draws_; }
    void resetDraws() { draws_ = 0; }

private:
    std::uint32_t state_ = 0;
    std::uint64_t draws_ = 0;
};

}  // namespace zemo
