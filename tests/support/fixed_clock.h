// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A clock for tests: standing still at a given moment.
#include "platform/clock.h"

namespace zemo {

// A clock standing still at a given moment (tests); tickMs advances only by advance().
class FixedClock : public Clock {
public:
    explicit FixedClock(LocalTime t = {}) : t_(t) {}
    LocalTime localNow() const override { return t_; }
    std::int64_t tickMs() const override { return tick_; }
    void set(LocalTime t) { t_ = t; }
    void advance(std::int64_t ms) { tick_ += ms; }

private:
    LocalTime t_;
    std::int64_t tick_ = 0;
};

}  // namespace zemo
