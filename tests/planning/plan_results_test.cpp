// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "plan_fixture.h"
#include "planning/plan_finish.h"
#include "planning/plan_layout.h"
#include "planning/plan_results.h"
#include "records/text.h"

namespace zemo::test {
namespace {

using Lines = std::vector<std::string>;

Lines utf8(const Lines& sjLines) {
    Lines out;
    for (const std::string& l : sjLines) out.push_back(sjisToUtf8(l));
    return out;
}

Lines imageLines(const ResultsState& r) { return utf8(r.image().gridLines()); }

std::string spaces(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

std::string selectionLine(int n, const std::string& title, const std::string& time, const std::string& cum) {
    char buf[256];
    std::snprintf(buf, sizeof buf, "%2d %-26s %-26s %-8s %-8s %3d", n, title.c_str(), "Artist", time.c_str(),
                  cum.c_str(), n);
    return buf;
}

std::string csvPlanLine(const std::string& title, const std::string& time) {
    char buf[256];
    std::snprintf(buf, sizeof buf, " \"%-26s\",\"%-26s\",%8s,2024/01/01", title.c_str(), "Artist", time.c_str());
    return buf;
}

struct ResultsWorld : PlanWorld {
    ResultsState results{engine};
};

TEST(PlanLayout, LineFormats) {
    CdRecord cd = makeCd(3725, "Title", "Artist", 20230405);
    EXPECT_EQ(sjisToUtf8(planCdLine(cd, 1, 4000, 0, false)),
              " 1 Title" + spaces(21) + " Artist" + spaces(20) + "    62:05    66:40   1");
    EXPECT_EQ(sjisToUtf8(planCdLine(cd, 12, 4000, 29, true)),
              " \"Title" + spaces(21) + "\",\"Artist" + spaces(20) + "\",   62:05,2023/04/05");
    EXPECT_EQ(sjisToUtf8(selectionCdLine(cd, 3, 4000, false)),
              " 3 Title" + spaces(21) + " Artist" + spaces(20) + "    62:05    66:40   3");
    EXPECT_EQ(sjisToUtf8(selectionCdLine(cd, 3, 4000, true)),
              "\"Title" + spaces(21) + "\",\"Artist" + spaces(20) + "\",   62:05,2023/04/05");
    EXPECT_EQ(sjisToUtf8(labelledTimeLine(sj("ABの差"), 100, false)), spaces(50) + "ABの差     1:40");
    EXPECT_EQ(sjisToUtf8(labelledTimeLine(sj("総時間"), 100, true)), spaces(51) + "総時間     1:40");

    // Long and double-byte titles are fitted to 26 columns with the overflow mark.
    CdRecord longCd = makeCd(60, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", "あいうえおかきくけこさしすせそ");
    const std::string line = sjisToUtf8(planCdLine(longCd, 1, 60, 0, false));
    EXPECT_EQ(line, " 1 ABCDEFGHIJKLMNOPQRSTUVWXY* あいうえおかきくけこさし**     1:00     1:00   1");
}

TEST(PlanImageGrid, BlanksDrawNothingAndDoubleByteTakesTwoColumns) {
    PlanImage img;
    img.draw(0, 1, sj("未収録") + spaces(10));
    img.draw(4, 1, "  X");          // the blanks leave "録" alone; X lands after it
    img.draw(0, 3, sj("　Z"));      // a full-width blank draws nothing either
    img.draw(2, 4, "ab");
    img.draw(3, 4, sj("漢"));       // overwrites b and one more column
    img.draw(1, 0, "q");
    EXPECT_EQ(utf8(img.gridLines()), (Lines{" q", "未収録X", "", "  Z", "  a漢"}));
    EXPECT_EQ(img.lastLine(), 4);

    PlanImage half;
    half.draw(0, 0, sj("漢字"));
    half.draw(1, 0, "x");  // breaks the first character: its other half is cleared
    EXPECT_EQ(utf8(half.gridLines()), (Lines{" x字"}));
    EXPECT_TRUE(PlanImage{}.gridLines().empty());
}

TEST(PlanResults, UnreachableTargetShowsSideAOnlyWithHeaderAndResult3) {
    ResultsWorld w;
    w.setTimes({300, 200, 100});
    w.ws.control.shuffleBlock.targetSec = 5000;
    ASSERT_EQ(w.results.openResults(), 0);
    EXPECT_EQ(w.results.shuffleNo, 1);
    EXPECT_EQ(w.results.displayMode, kShowOptimised);
    const std::string cds = spaces(23) + " Artist" + spaces(20);
    const Lines expected = {
        spaces(21) + "目標=[   83:20]" + spaces(3) + "有効=[    0:05]" + spaces(3) + "SHUFFLE No=[    1]",
        "A面",
        " 1 CD1" + cds + "     5:00     5:00   1",
        " 2 CD2" + cds + "     3:20     8:20   2",
        " 3 CD3" + cds + "     1:40    10:00   3",
    };
    EXPECT_EQ(imageLines(w.results), expected);
    EXPECT_EQ(w.boxTexts(), Lines{"有効秒差 最適化に失敗しました！"});
}

// A plan with both sides and unrecorded CDs: the difference line shares its line with "未収録".
TEST(PlanResults, DifferenceLineSharesItsLineWithUnrecorded) {
    for (int csv : {0, 1}) {
        ResultsWorld w;
        w.setTimes({100, 200, 300});
        w.ws.control.shuffleBlock.csvLayout = static_cast<std::int16_t>(csv);
        ASSERT_EQ(w.results.openResults(), 0);
        ShufTape& p = w.engine.plan;
        p = w.engine.selection;
        p.countA = 1, p.sideA[0] = 1;
        p.countB = 1, p.sideB[0] = 2;
        p.countRest = 1, p.rest[0] = 3;
        w.results.displayMode = kShowHalfSplit;  // drawn as it stands, without line 0
        w.prompter.clear();
        w.results.redraw();
        const Lines lines = imageLines(w.results);
        ASSERT_EQ(lines.size(), 7u);
        EXPECT_EQ(lines[0], "");
        EXPECT_EQ(lines[1], "A面");
        EXPECT_EQ(lines[3], "B面");
        EXPECT_EQ(lines[5], "未収録" + spaces(csv ? 45 : 44) + "ABの差     1:40");
        if (csv) {
            EXPECT_EQ(lines[6], csvPlanLine("CD3", "    5:00"));
        } else {
            EXPECT_EQ(lines[6], " 1 CD3" + spaces(23) + " Artist" + spaces(20) + "     5:00     5:00   3");
        }
        EXPECT_TRUE(w.prompter.boxes.empty());

        // The printout gives the difference line a line of its own.
        const Lines printed = utf8(w.results.printoutLines());
        ASSERT_EQ(printed.size(), 7u);
        EXPECT_EQ(printed[4], spaces(csv ? 51 : 50) + "ABの差     1:40");
        EXPECT_EQ(printed[5], "未収録");
    }
}

TEST(PlanResults, NoShuffleListStartsWithAnEmptyLineAndEndsWithTheTotal) {
    ResultsWorld w;
    w.setTimes({100, 200});
    ASSERT_EQ(w.results.openResults(), 0);
    w.results.chooseShuf2(kMenuNoShuffle);
    EXPECT_EQ(w.results.shuffleNo, 0);
    EXPECT_EQ(w.results.displayMode, kShowSelection);
    EXPECT_EQ(w.engine.plan.countA, 2);
    const Lines expected = {
        "",
        selectionLine(1, "CD1", "    1:40", "    1:40"),
        selectionLine(2, "CD2", "    3:20", "    5:00"),
        spaces(50) + "総時間     5:00",
    };
    EXPECT_EQ(imageLines(w.results), expected);
    EXPECT_EQ(utf8(w.results.printoutLines()), Lines(expected.begin() + 1, expected.end()));
}

TEST(PlanResults, EmptySideBHasNoSectionAndNoDifferenceLine) {
    ResultsWorld w;
    w.setTimes({100, 200});
    w.ws.control.shuffleBlock.targetSec = 2000;
    ASSERT_EQ(w.results.openResults(), 0);
    for (const std::string& l : imageLines(w.results)) {
        EXPECT_EQ(l.find("B面"), std::string::npos);
        EXPECT_EQ(l.find("ABの差"), std::string::npos);
    }
    // The printout still writes every heading and the difference line.
    const Lines printed = utf8(w.results.printoutLines());
    EXPECT_EQ(printed[0], "目標=[   33:20] 有効=[    0:05] 合計=[    5:00] SHUFFLE No=[    1]");
    EXPECT_EQ(printed[1], "");
    EXPECT_EQ(printed[2], "A面");
    EXPECT_EQ(printed[5], "B面");
    EXPECT_EQ(printed[6], spaces(50) + "ABの差     5:00");
    EXPECT_EQ(printed[7], "未収録");
    EXPECT_EQ(printed.size(), 8u);
}

TEST(PlanResults, PrintoutTotalIsThatOfTheShuffleListNow) {
    ResultsWorld w;
    w.setTimes({100, 200});
    ASSERT_EQ(w.results.openResults(), 0);
    w.ws.arrays[kKindShuffle].put(9, makeCd(60, "later"));
    w.results.chooseShufAB(kMenuShufAB);
    EXPECT_EQ(w.results.displayMode, kShowShuffled);
    EXPECT_EQ(utf8(w.results.printoutLines())[0], "目標=[    2:30] 有効=[    0:05] 合計=[    6:00]");
    EXPECT_EQ(imageLines(w.results)[0], spaces(21) + "目標=[    2:30]" + spaces(3) + "有効=[    0:05]");
}

// Stepping past the first run when "設定開始A面" covers every CD: the pass makes no attempt and
// its plan names no CD. It is reported and drawn as nothing, and never reaches outside the lists.
TEST(PlanResults, PassWithoutAttemptIsReportedAsAnInconsistentPlan) {
    struct Case {
        std::vector<int> times;
        int startA;
        int code;
    } cases[] = {{{600}, 1, 3}, {{300, 300, 600}, 3, 6}};
    for (const Case& c : cases) {
        ResultsWorld w;
        w.setTimes(c.times);
        w.ws.control.shuffleBlock.targetSec = 600;
        w.ws.control.shuffleBlock.startA = static_cast<std::int16_t>(c.startA);
        ASSERT_EQ(w.results.openResults(), 0);
        w.prompter.clear();
        w.results.stepNext();
        EXPECT_EQ(w.results.shuffleNo, 2);
        EXPECT_EQ(w.boxTexts(),
                  (Lines{"Program error!(code=" + std::to_string(c.code) + ")", "有効秒差 最適化に失敗しました！"}));
        EXPECT_EQ(w.results.image().lastLine(), -1);
        const Lines printed = utf8(w.results.printoutLines());
        ASSERT_EQ(printed.size(), 6u);
        EXPECT_EQ(printed[2], "A面");
        EXPECT_EQ(printed[3], "B面");
        EXPECT_EQ(printed[4], spaces(50) + "ABの差     0:00");
        EXPECT_EQ(printed[5], "未収録");
    }
}

// The label command refuses a plan that the last redraw found inconsistent, showing the same box
// once more; a later consistent redraw lets it through without a box.
TEST(PlanResults, LabelCommandRefusesAPlanTheLastRedrawFoundInconsistent) {
    ResultsWorld w;
    w.setTimes({600});
    w.ws.control.shuffleBlock.targetSec = 600;
    w.ws.control.shuffleBlock.startA = 1;
    ASSERT_EQ(w.results.openResults(), 0);
    EXPECT_EQ(w.results.lastIntegrityCode(), 0);
    w.prompter.clear();
    EXPECT_TRUE(w.results.labelAllowed());
    EXPECT_TRUE(w.boxTexts().empty());

    w.results.stepNext();
    EXPECT_EQ(w.results.lastIntegrityCode(), 3);
    w.prompter.clear();
    EXPECT_FALSE(w.results.labelAllowed());
    EXPECT_EQ(w.boxTexts(), (Lines{"Program error!(code=3)"}));
    ASSERT_EQ(w.prompter.boxes.size(), 1u);
    EXPECT_EQ(w.prompter.boxes[0].kind, BoxKind::Error);

    w.results.chooseShuf2(kMenuNoShuffle);
    EXPECT_EQ(w.results.lastIntegrityCode(), 0);
    w.prompter.clear();
    EXPECT_TRUE(w.results.labelAllowed());
    EXPECT_TRUE(w.boxTexts().empty());
}

TEST(PlanResults, SteppingTheRunNumber) {
    ResultsWorld w;
    w.setTimes({612, 345, 1234, 433, 250, 900, 777, 120});
    ASSERT_EQ(w.results.openResults(), 0);
    const Lines afterOpen = imageLines(w.results);
    const std::uint64_t drawsAfterOpen = w.engine.rng.draws();

    w.results.stepPrevious();  // at 1: nothing happens
    EXPECT_EQ(w.results.shuffleNo, 1);
    EXPECT_EQ(w.engine.rng.draws(), drawsAfterOpen);

    w.results.pressShuffleButton(false);
    EXPECT_EQ(w.results.shuffleNo, 2);
    EXPECT_NE(imageLines(w.results)[0].find("SHUFFLE No=[    2]"), std::string::npos);
    w.results.pressShuffleButton(true);
    EXPECT_EQ(w.results.shuffleNo, 1);

    // "振分無" sets the run number to 0, so the next step is run number 1 again.
    w.results.chooseShuf2(kMenuNoShuffle);
    w.results.stepNext();
    EXPECT_EQ(w.results.shuffleNo, 1);
    EXPECT_EQ(w.results.displayMode, kShowOptimised);
    EXPECT_EQ(imageLines(w.results), afterOpen);
}

TEST(PlanResults, NormalisedPlanStartsSideAWithTheEarlierRegisteredCd) {
    for (int seed = 1; seed <= 30; ++seed) {
        ResultsWorld w;
        w.setTimes({612, 345, 1234, 433, 250, 900, 777, 120, 300, 480});
        ASSERT_EQ(w.results.openResults(), 0);
        w.engine.rng.seed(seed);
        w.results.shuffleNo = seed;
        static_cast<void>(w.engine.runOptimisation());
        const ShufTape& p = w.engine.plan;
        if (p.countA > 0 && p.countB > 0) {
            EXPECT_LT(p.regPos[p.sideA[0] - 1], p.regPos[p.sideB[0] - 1]) << seed;
        }
        for (int i = 1; i < p.countA; ++i) EXPECT_EQ(p.sideA[i], p.sideA[i - 1] + 1);
    }
}

// A registration-order plan made from a prefix is completed with the later CDs at the end of
// "未収録", in registration order, after the plan's own unrecorded CDs.
TEST(PlanResults, RegistrationOrderPlanListsTheLaterCdsLast) {
    bool seenOwnRest = false;
    for (int seed = 1; seed <= 60 && !seenOwnRest; ++seed) {
        ResultsWorld w;
        w.setTimes({590, 417, 713, 383, 515, 489, 337, 893, 250});
        w.ws.control.shuffleBlock.regOrderFirst = 1;
        w.ws.control.shuffleBlock.targetSec = 1309;
        w.ws.control.shuffleBlock.tolerance = 30;
        ASSERT_EQ(w.results.openResults(), 0);
        int prefix = 0, ownRest = 0;
        auto show = w.engine.onRunEnd;
        w.engine.onRunEnd = [&] {
            prefix = w.engine.plan.count;
            ownRest = w.engine.plan.countRest;
            show();
        };
        w.engine.rng.seed(seed);
        w.results.shuffleNo = seed;
        const int result = planCode(w.engine.runOptimisation());
        if (result != 0 || prefix >= 9 || ownRest == 0) continue;
        seenOwnRest = true;
        const Lines lines = imageLines(w.results);
        std::size_t at = 0;
        while (at < lines.size() && lines[at].rfind("未収録", 0) != 0) ++at;
        ASSERT_LT(at, lines.size());
        const int listed = static_cast<int>(lines.size() - at - 1);
        EXPECT_EQ(listed, ownRest + 9 - prefix);
        for (int k = prefix; k < 9; ++k) {
            const std::string& l = lines[at + 1 + static_cast<std::size_t>(listed - (9 - k))];
            const std::string title = "CD" + std::to_string(k + 1) + " ";
            EXPECT_EQ(l.substr(3, title.size()), title) << l;
        }
    }
    EXPECT_TRUE(seenOwnRest) << "no seed gave a prefix plan with its own unrecorded CDs";
}

TEST(PlanResults, SettingsSavedAndTapeTargetRestartAtRunNumberOne) {
    ResultsWorld w;
    w.setTimes({600, 600, 300});
    ASSERT_EQ(w.results.openResults(), 0);
    w.results.stepNext();
    w.ws.control.shuffleBlock.targetSec = 900;
    w.results.settingsSaved();
    EXPECT_EQ(w.results.shuffleNo, 1);
    EXPECT_EQ(w.engine.plan.target, 900);

    w.results.stepNext();
    w.results.applyTapeTarget(1800);
    EXPECT_EQ(w.results.shuffleNo, 1);
    EXPECT_EQ(w.engine.ctl.targetSec, 1800);
    EXPECT_EQ(w.ws.control.shuffleBlock.targetSec, 1800);
    EXPECT_EQ(w.engine.plan.target, 1800);
}

TEST(PlanResults, OpenRefusesAnEmptySelectionAndDrawsNothing) {
    ResultsWorld w;
    w.setTimes({});
    EXPECT_EQ(w.results.openResults(), -1);
    w.results.displayMode = kShowSelection;
    w.results.redraw();
    EXPECT_TRUE(w.results.image().empty());
    EXPECT_FALSE(w.results.canPrint());
    EXPECT_TRUE(w.results.printoutLines().empty());
}

TEST(PlanResults, RegistrationOrderWarningAfterTheOptimisedPlan) {
    ResultsWorld w;
    w.setTimes({100, 200, 300, 400});
    w.ws.control.shuffleBlock.regOrderFirst = 1;
    ASSERT_EQ(w.results.openResults(), 0);
    ShufTape& p = w.engine.plan;
    p = w.engine.selection;
    p.countA = 1, p.sideA[0] = 2;
    p.countB = 1, p.sideB[0] = 4;
    p.countRest = 2, p.rest[0] = 1, p.rest[1] = 3;
    w.prompter.clear();
    w.results.displayMode = kShowOptimised;
    w.results.redraw();
    EXPECT_EQ(w.boxTexts(), Lines{"登録順優先に失敗しました！"});
    EXPECT_FALSE(w.results.image().empty());
}

}  // namespace
}  // namespace zemo::test

namespace zemo::test {
namespace {

TEST(PlanWriteBack, ShuffleListTakesTheOrderOfThePlan) {
    ResultsWorld w;
    w.setTimes({100, 200, 300, 400, 500});
    ASSERT_EQ(w.results.openResults(), 0);
    ShufTape& p = w.engine.plan;
    p = w.engine.selection;
    p.countA = 2, p.sideA[0] = 4, p.sideA[1] = 1;
    p.countB = 1, p.sideB[0] = 5;
    p.countRest = 2, p.rest[0] = 3, p.rest[1] = 2;
    w.ws.arrays[kKindShuffle].put(12, makeCd(999, "stray slot"));
    ASSERT_EQ(w.results.writePlanBack(), 0);
    const int order[] = {400, 100, 500, 300, 200};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(w.ws.arrays[kKindShuffle][i].timeSec, order[i]);
        EXPECT_EQ(w.engine.selection.cds[i].timeSec, order[i]);
        EXPECT_EQ(p.cds[i].timeSec, order[i]);
        EXPECT_EQ(p.regPos[i], i);
    }
    EXPECT_EQ(w.ws.arrays[kKindShuffle][12].active, 0);  // slots from the count on are cleared
    EXPECT_EQ(p.sideA[0], 1);
    EXPECT_EQ(p.sideA[1], 2);
    EXPECT_EQ(p.sideB[0], 3);
    EXPECT_EQ(p.rest[1], 5);
    EXPECT_EQ(planIntegrityCode(w.engine.selection, p), 0);
}

}  // namespace
TEST(PlanWriteBack, APlanNamingACdTwiceIsRefusedAndTheListStaysAsItWas) {
    ResultsWorld w;
    w.setTimes({100, 200, 300, 400});
    ASSERT_EQ(w.results.openResults(), 0);
    w.prompter.clear();
    const TCddataArray before = w.ws.arrays[kKindShuffle];
    ShufTape& p = w.engine.plan;
    p = w.engine.selection;
    p.countA = 2, p.sideA[0] = 1, p.sideA[1] = 2;
    p.countB = 2, p.sideB[0] = 3, p.sideB[1] = 1;  // CD 1 twice, CD 4 nowhere
    p.countRest = 0;
    EXPECT_EQ(w.results.writePlanBack(), -1);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(w.ws.arrays[kKindShuffle][i].timeSec, before[i].timeSec) << i;
    ASSERT_EQ(w.prompter.boxes.size(), 1u);
    EXPECT_EQ(w.prompter.boxes[0].text.rfind("Program error!(code=", 0), 0u);
}

TEST(PlanWriteBack, RefusedWhenTheLastRedrawFoundThePlanInconsistent) {
    ResultsWorld w;
    w.setTimes({100, 200, 300});
    ASSERT_EQ(w.results.openResults(), 0);
    ShufTape& p = w.engine.plan;
    p.countA = 1, p.sideA[0] = 1;
    p.countB = 1, p.sideB[0] = 1;
    p.countRest = 0;
    w.prompter.clear();
    w.results.redraw();
    ASSERT_NE(w.results.lastIntegrityCode(), 0);
    const TCddataArray before = w.ws.arrays[kKindShuffle];
    w.prompter.clear();
    EXPECT_EQ(w.results.writePlanBack(), -1);
    EXPECT_EQ(w.prompter.texts(),
              std::vector<std::string>{"Program error!(code=" + std::to_string(w.results.lastIntegrityCode()) + ")"});
    for (int i = 0; i < 30; ++i) EXPECT_EQ(w.ws.arrays[kKindShuffle][i].timeSec, before[i].timeSec) << i;
}

TEST(PlanResults, AStaleStopRequestDoesNotEndTheNextRun) {
    ResultsWorld w;
    w.setTimes({200, 250, 300, 350, 400, 450});
    ASSERT_EQ(w.results.openResults(), 0);
    w.prompter.clear();
    w.results.requestStop();
    w.results.stepNext();
    for (const std::string& t : w.prompter.texts()) EXPECT_NE(t, planResultMessage(kPlanStopped));
    EXPECT_EQ(w.results.shuffleNo, 2);
}

}  // namespace zemo::test
