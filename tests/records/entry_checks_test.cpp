// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "records/entry_checks.h"
#include "records/text.h"
#include "records/workspace.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"

namespace zemo::test {
namespace {

struct CheckWorld {
    ScriptedPrompter prompter;
    FixedClock clock;
    Workspace ws{prompter, clock};

    std::vector<std::string> boxTexts() const { return prompter.texts(); }
};

enum class Check { Number, Time, Date };

struct InputCase {
    Check check;
    const char* text;
    int min, max;
    int result;
    int valueAfter;         // the out value after the check (it starts at -7)
    const char* message;    // "" when none
};

TEST(EntryChecks, Table) {
    const std::string range1to30 = "入力範囲が不正です！\n最小[ 1 ] 最大[ 30 ]です。";
    const InputCase cases[] = {
        {Check::Number, "30", 1, 30, 0, 30, ""},
        {Check::Number, "31", 1, 30, 1, 31, "range"},  // stored even though refused
        {Check::Number, "0", 1, 30, 1, 0, "range"},
        {Check::Number, "-5", -10, 10, 0, -5, ""},
        {Check::Number, "+7", 0, 10, 0, 7, ""},
        {Check::Number, " 12 ", 0, 99, 0, 12, ""},
        {Check::Number, "12a", 0, 99, 1, -7, "入力文字を数値に変換できません!"},
        {Check::Number, "", 0, 99, 1, -7, "入力文字を数値に変換できません!"},
        {Check::Number, "-", 0, 99, 1, -7, "入力文字を数値に変換できません!"},
        {Check::Number, "99999999999", 0, 99, 1, -7, "入力文字を数値に変換できません!"},
        {Check::Time, "0", 0, 999959, 0, 0, ""},
        {Check::Time, "999959", 0, 999959, 0, 999959, ""},
        {Check::Time, "1000000", 0, 999959, 1, 1000000, "range"},
        {Check::Time, "1:00", 0, 999959, 1, -7, "入力文字を時間数値に変換できません!"},
        {Check::Date, "20000229", 0, 99999999, 0, 20000229, ""},
        {Check::Date, "19000229", 0, 99999999, 1, 19000229, "存在しない日付です!"},
        {Check::Date, "20010200", 0, 99999999, 0, 20010200, ""},
        {Check::Date, "0", 0, 99999999, 0, 0, ""},
        {Check::Date, "20241301", 0, 99999999, 1, 20241301, "存在しない日付です!"},
        {Check::Date, "2024/01/01", 0, 99999999, 1, -7, "入力文字を日付数値に変換できません!"},
        {Check::Date, "20240101", 20250101, 20991231, 1, 20240101, "range"},
    };
    for (const InputCase& c : cases) {
        CheckWorld w;
        std::int32_t value = -7;
        int r = 0;
        switch (c.check) {
            case Check::Number: r = checkNumberInput(w.ws, value, c.text, c.min, c.max); break;
            case Check::Time: r = checkTimeInput(w.ws, value, c.text, c.min, c.max); break;
            case Check::Date: r = checkDateInput(w.ws, value, c.text, c.min, c.max); break;
        }
        EXPECT_EQ(r, c.result) << c.text;
        EXPECT_EQ(value, c.valueAfter) << c.text;
        std::string expected = c.message;
        if (expected == "range") expected = rangeMessage(c.min, c.max);

        // The problem itself, without a workspace: the same text, the same value stored.
        std::int32_t problemValue = -7;
        EntryProblem problem;
        switch (c.check) {
            case Check::Number: problem = numberInputProblem(problemValue, c.text, c.min, c.max); break;
            case Check::Time: problem = timeInputProblem(problemValue, c.text, c.min, c.max); break;
            case Check::Date: problem = dateInputProblem(problemValue, c.text, c.min, c.max); break;
        }
        EXPECT_EQ(static_cast<bool>(problem), c.result != 0) << c.text;
        EXPECT_EQ(problem.text, expected) << c.text;
        EXPECT_EQ(problemValue, c.valueAfter) << c.text;
        if (std::string(c.message) == "range") {
            EXPECT_EQ(problem.kind, EntryProblem::Kind::OutOfRange) << c.text;
            EXPECT_EQ(problem.min, c.min) << c.text;
            EXPECT_EQ(problem.max, c.max) << c.text;
        }
        if (expected.empty()) {
            EXPECT_TRUE(w.prompter.boxes.empty()) << c.text;
        } else {
            ASSERT_EQ(w.prompter.boxes.size(), 1u) << c.text;
            EXPECT_EQ(w.prompter.boxes[0].text, expected) << c.text;
            EXPECT_EQ(w.prompter.boxes[0].kind, BoxKind::Error);
            EXPECT_EQ(w.prompter.boxes[0].buttons, Buttons::Ok);
        }
    }
    EXPECT_EQ(rangeMessage(1, 30), range1to30);
}

TEST(EntryChecks, OverlongTextIsOdd) {
    CheckWorld w;
    std::int32_t value = 3;
    EXPECT_EQ(checkNumberInput(w.ws, value, std::string(256, '1'), 0, 10), 1);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(w.boxTexts(), std::vector<std::string>{"入力文字が変です!"});
    // 255 bytes is the most a field's text may have; one more is odd.
    EXPECT_EQ(numberInputProblem(value, std::string(255, '0'), 0, 10).kind, EntryProblem::Kind::None);
    EXPECT_EQ(value, 0);
    const EntryProblem odd = numberInputProblem(value, std::string(256, '0'), 0, 10);
    EXPECT_EQ(odd.kind, EntryProblem::Kind::Overlong);
    EXPECT_EQ(odd.text, "入力文字が変です!");
}

TEST(EntryChecks, KindsNameTheProblem) {
    std::int32_t v = 0;
    EXPECT_EQ(dateInputProblem(v, "x", 0, 99999999).kind, EntryProblem::Kind::NotConvertible);
    EXPECT_EQ(dateInputProblem(v, "20230229", 0, 99999999).kind, EntryProblem::Kind::NoSuchDate);
    EXPECT_EQ(timeInputProblem(v, "100", 0, 99).kind, EntryProblem::Kind::OutOfRange);
    EXPECT_EQ(timeInputProblem(v, "99", 0, 99).kind, EntryProblem::Kind::None);
    EXPECT_FALSE(timeInputProblem(v, "99", 0, 99));
}

TEST(TimeValues, MmssConversionsTakeTheLastTwoDigitsAsSeconds) {
    EXPECT_EQ(mmssToSeconds(1299), 819);
    EXPECT_EQ(mmssToSeconds(6000), 3600);
    EXPECT_EQ(secondsToMmss(3630), 6030);
    EXPECT_EQ(secondsToMmss(0), 0);
}

TEST(CorrectionRatio, Cases) {
    struct Case {
        int ref, machine;
        const char* shown;
    } cases[] = {
        {0, 3600, "     1.00000"},
        {3600, 0, "     1.00000"},
        {-1, 10, "     1.00000"},
        {3600, 3630, "     0.99167"},  // 2 - 3630/3600
        {3600, 3960, "     0.90000"},  // 10% slower
        {3600, 3240, "     1.11111"},  // 10% faster
        {3600, 3600, "     1.00000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatCorrectionRatio(correctionRatio(c.ref, c.machine)), c.shown) << c.ref << "/" << c.machine;
}

}  // namespace
}  // namespace zemo::test
