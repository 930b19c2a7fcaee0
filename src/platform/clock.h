// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The local clock, injectable so that tests do not depend on the wall clock or the time zone.
#include <cstdint>

namespace zemo {

struct LocalTime {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime localNow() const = 0;
    // Milliseconds from an arbitrary start; only differences count.
    virtual std::int64_t tickMs() const = 0;
};

// The machine's local time and steady clock.
class SystemClock : public Clock {
public:
    LocalTime localNow() const override;
    std::int64_t tickMs() const override;
};

// The process-wide system clock, for callers that are not given one.
Clock& systemClock();

}  // namespace zemo
