// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

#include <chrono>
#include <ctime>

namespace zemo {

LocalTime SystemClock::localNow() const {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::int64_t SystemClock::tickMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

}  // namespace zemo
