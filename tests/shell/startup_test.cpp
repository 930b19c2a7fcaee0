// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/startup.h"

namespace zemo {
namespace {

struct StoredCase {
    int stored;
    int size;        // in effect for the run
    int keptInFile;  // what the record holds afterwards
};

TEST(DatabaseSize, FromControlRecord) {
    const StoredCase cases[] = {
        {0, 1, 1}, {-5, 1, 1}, {1, 1, 1}, {7, 7, 7}, {20, 20, 20}, {21, 20, 21}, {32767, 20, 32767},
    };
    for (const StoredCase& c : cases) {
        SysControl control{};
        control.dbSize = static_cast<std::int16_t>(c.stored);
        EXPECT_EQ(databaseSizeFromControl(control), c.size) << c.stored;
        EXPECT_EQ(control.dbSize, c.keptInFile) << c.stored;
    }
}

struct ArgCase {
    std::vector<std::string> args;
    int size;
};

TEST(DatabaseSize, FromParameters) {
    const ArgCase cases[] = {
        {{}, 4},
        {{"-D3"}, 3},
        {{"/d3"}, 3},
        {{"-d12"}, 12},
        {{"-D99"}, 20},
        {{"-D0"}, 1},
        {{"-D-7"}, 1},
        {{"-D+5"}, 5},
        {{"-Dx"}, 4},
        {{"-D3x"}, 4},
        {{"-D"}, 4},                 // shorter than three characters
        {{"-D99999999999999"}, 4},  // does not fit a number: unreadable
        {{"-X5", "D5", "--D5"}, 4},
        {{"-D3", "-D7"}, 7},        // later parameters win
        {{"-D3", "-Dx"}, 3},        // an unreadable one changes nothing
        {{"/D2", "other", "-D15"}, 15},
    };
    for (const ArgCase& c : cases) {
        std::string shown;
        for (const auto& a : c.args) shown += a + " ";
        EXPECT_EQ(databaseSizeFromArguments(4, c.args), c.size) << shown;
    }
}

TEST(ClockText, PadsEveryField) {
    EXPECT_EQ(clockText(LocalTime{2024, 3, 2, 12, 5, 9}), "2024/03/02 12:05:09");
    EXPECT_EQ(clockText(LocalTime{999, 12, 31, 0, 0, 0}), " 999/12/31 00:00:00");
}

}  // namespace
}  // namespace zemo
