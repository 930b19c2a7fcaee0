// SPDX-License-Identifier: GPL-3.0-or-later
// A tape job from end to end through the program's own windows: a program folder made with the
// command-line tool and a catalogue imported into it, five CDs picked into the planning list from
// the main window's command, planned for a 60-minute tape, the plan and its label printed into
// PDFs, the order written back and saved; then the saved list read back with the tool. The same job
// runs once more with the exact check's plan (最適解) in place of the search's.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/record_grid.h"
#include "gui/dialogs_support.h"
#include "planning/ui/frm_shuf_disp.h"
#include "planning/ui/frm_shuf_main.h"
#include "planning/ui/frm_tape.h"
#include "platform/sjis.h"
#include "printing/ui/frm_prn_label.h"
#include "records/text.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_windows.h"
#include "support/cli_run.h"
#include "support/pdf_text.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "ui/application.h"
#include "ui/printer.h"

namespace zemo::ui {
namespace {

namespace fs = std::filesystem;
using guitest::whenModal;
using Lines = std::vector<std::string>;
using testsupport::pdfLines;
const auto& collapsed = testsupport::collapsedBlanks;


// The first line holding the text, or -1.
int lineWith(const Lines& lines, const std::string& text) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(text) != std::string::npos) return static_cast<int>(i);
    return -1;
}

std::string tabField(const std::string& line, int n) {
    std::istringstream in(line);
    std::string f;
    for (int i = 0; i <= n && std::getline(in, f, '\t'); ++i) {
    }
    return f;
}

struct Cd {
    const char* barcode;
    const char* title;
    int timeSec;
};

// The five CDs of the tape, in the order they are picked into the list. On 30:00 a side
// (tolerance +5 s) the acceptable plans put 10:00 + 20:00 on one side and 15:00 + 15:00 on the
// other; 25:00 fits with nothing and stays unrecorded.
const Cd kPicked[] = {
    {"4988000000115", "Moanin", 600},
    {"4988000000111", "夜明けのうた", 1200},
    {"4988000000119", "Giant Steps", 1500},
    {"4988000000103", "Blue Train", 900},
    {"4988000000107", "Kind of Blue", 900},
};

// Twenty CDs: the five above among fillers of other lengths.
std::string catalogueCsv() {
    std::string csv = "barcode,userCode,artistCode,title,artist,timeSec\n";
    for (int i = 1; i <= 20; ++i) {
        char code[3];
        std::snprintf(code, sizeof code, "%02d", i);
        std::string barcode = std::string("49880000001") + code, title = std::string("Filler ") + code;
        int seconds = 2000 + 37 * i;
        for (const Cd& cd : kPicked)
            if (barcode == cd.barcode) title = cd.title, seconds = cd.timeSec;
        csv += barcode + ",U" + code + ",A" + code + "," + title + ",Artist " + code + "," + std::to_string(seconds) +
               "\n";
    }
    return csv;
}

std::string titleOf(const CdRecord& r) { return sjisToUtf8(fieldText(r.title)); }

int catalogueSlotOf(Workspace& ws, const std::string& barcode) {
    for (int i = 0; i < ws.capacity(kKindCatalogue); ++i)
        if (ws.arrays[kKindCatalogue][i].active == 1 && fieldText(ws.arrays[kKindCatalogue][i].barcode) == barcode)
            return i;
    return -1;
}

void click(QWidget* window, const char* name) {
    auto* b = window->findChild<QAbstractButton*>(name);
    ASSERT_NE(b, nullptr) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}

enum class PlanChoice { Search, Best };

void runTapeJob(PlanChoice choice) {
    testsupport::TempDir home("zemo-tapejob");
    const fs::path dir = home.path();
    const testsupport::CliResult init = testsupport::runZemo(dir, {"init", "--home", dir.string()});
    ASSERT_EQ(init.status, 0) << init.err;
    std::ofstream(dir / "shop.csv", std::ios::binary) << catalogueCsv();
    const testsupport::CliResult imported =
        testsupport::runZemo(dir, {"import", "shop.csv", "-o", "CD_SYS/CD_DATA.ZMO", "--home", dir.string()});
    ASSERT_EQ(imported.status, 0) << imported.err;

    ScriptedPrompter prompter;
    FixedClock clock{LocalTime{2024, 7, 1, 10, 0, 0}};
    StartOptions start;
    start.programDir = dir;
    start.executablePath = dir / "zemoplan";
    TFrmMain main(prompter, clock, start);
    ASSERT_FALSE(main.fatal());
    ShellPromptDialogs dialogs;
    const ShellWindows shell = createShellWindows(main, dialogs);
    ASSERT_TRUE(shell.shufMain && shell.shufDisp && shell.labelPrint);
    auto* optimise = main.findChild<QAction*>("MEditOptimum");  // "最適化処理(&S)"
    ASSERT_NE(optimise, nullptr);
    ProgramPrinter& printer = ZemoApplication::current()->printer();
    Workspace& ws = main.workspace();
    TFrmShufDisp* results = shell.shufDisp;
    const fs::path planPdf = dir / "plan.pdf", labelPdf = dir / "label.pdf";

    Lines sideTitles, restTitles;  // UTF-8, in the plan's order
    Lines writtenBack;             // the titles of the list's used slots after 結設定
    whenModal<TFrmShufMain>([&](TFrmShufMain* list) {
        [&] {
            for (int i = 0; i < 5; ++i) {
                list->grid()->selectSlot(i);
                whenModal<TFrmCd_data>([&, i](TFrmCd_data* catalogue) {
                    catalogue->grid()->selectSlot(catalogueSlotOf(ws, kPicked[i].barcode));
                    click(catalogue, "BtnRF10");  // 取得
                });
                click(list, "BtnSel");
                ASSERT_EQ(fieldText(ws.arrays[kKindShuffle][i].barcode), kPicked[i].barcode) << i;
            }
            click(list, "BtnShuf");
            ASSERT_TRUE(results->isVisible());
            whenModal<TFrmTape>([](TFrmTape* tape) {
                click(tape, "RadioGroup13");  // a 60-minute tape
                click(tape, "BtnChg");
            });
            click(results, "BtnTape");
            ASSERT_EQ(results->engine().ctl.targetSec, 1800);
            auto* exact = results->findChild<QLabel*>("Lbl_Exact");
            ASSERT_NE(exact, nullptr);
            EXPECT_EQ(exact->text().toStdString(), "全探索: 有効秒差内のプランがあります");
            auto* best = results->findChild<QPushButton*>("BtnBest");
            ASSERT_NE(best, nullptr);
            ASSERT_TRUE(best->isEnabled());
            if (choice == PlanChoice::Best) {
                click(results, "BtnBest");
                ASSERT_EQ(results->results().displayMode, kShowBest);
                EXPECT_EQ(exact->text().toStdString(), "全探索: 有効秒差内のプランがあります");
            }

            const ShufTape& plan = results->results().plan();
            ASSERT_GT(plan.countA, 0);
            ASSERT_GT(plan.countB, 0);
            for (int i = 0; i < plan.countA; ++i) sideTitles.push_back(titleOf(plan.cds[plan.sideA[i] - 1]));
            for (int i = 0; i < plan.countB; ++i) sideTitles.push_back(titleOf(plan.cds[plan.sideB[i] - 1]));
            for (int i = 0; i < plan.countRest; ++i) restTitles.push_back(titleOf(plan.cds[plan.rest[i] - 1]));
            if (choice == PlanChoice::Best) {  // the window's plan is the check's, whichever side leads
                const ExactResult& exactPlan = results->results().exact();
                Lines checked, shown = sideTitles;
                for (const std::vector<int>* side : {&exactPlan.sideA, &exactPlan.sideB})
                    for (int k : *side) checked.push_back(titleOf(results->engine().selection.cds[k - 1]));
                std::sort(checked.begin(), checked.end());
                std::sort(shown.begin(), shown.end());
                EXPECT_EQ(shown, checked);
            }

            printer.printToPdf(QString::fromStdString(planPdf.string()));
            prompter.answers = {Answer::Ok};
            click(results, "BtnPrint");
            printer.printToPdf(QString::fromStdString(labelPdf.string()));
            whenModal<TFrmPrnLabel>([&](TFrmPrnLabel* label) {
                prompter.answers = {Answer::Yes};
                click(label, "BtnPrint");
                click(label, "BtnEnd");
            });
            click(results, "BtnLabel");

            prompter.answers = {Answer::Ok};
            click(results, "BtnSSet");
            for (int i = 0; i < TFrmShufMain::kSlots; ++i)
                if (ws.arrays[kKindShuffle][i].active) writtenBack.push_back(titleOf(ws.arrays[kKindShuffle][i]));
        }();
        // Saved when every step went through; otherwise closed without saving, so nothing waits.
        const bool save = !::testing::Test::HasFatalFailure();
        prompter.answers = {save ? Answer::Yes : Answer::No};
        list->close();
        EXPECT_FALSE(list->isVisible());
    });
    prompter.answers = {Answer::Yes};  // the shuffle list has no file yet: make it
    optimise->trigger();
    ASSERT_FALSE(::testing::Test::HasFatalFailure());
    EXPECT_TRUE(prompter.answers.empty());
    const Lines texts = prompter.texts();
    for (const char* question :
         {"データを印刷します。", "ラベル印刷します。よろしいですか？", "振分け結果を設定します。", "保存終了します。"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), question), texts.end()) << question;

    Lines planned = sideTitles;
    planned.insert(planned.end(), restTitles.begin(), restTitles.end());
    Lines picked;
    for (const Cd& cd : kPicked) picked.push_back(cd.title);
    ASSERT_NE(planned, picked);  // the plan has an order of its own to write back
    EXPECT_EQ(restTitles, Lines{"Giant Steps"});  // on 30:00 a side no side has room for it
    EXPECT_EQ(writtenBack, planned);

    // The saved list, as the tool reads it: side A, side B, then the unrecorded CDs.
    const testsupport::CliResult shown =
        testsupport::runZemo(dir, {"show", "CD_SYS/CD_SHUF.ZMO", "--home", dir.string()});
    ASSERT_EQ(shown.status, 0) << shown.err;
    const Lines rows = testsupport::splitLines(shown.out);
    ASSERT_EQ(rows.size(), 14u) << shown.out;  // seven summary lines, a blank, the headings, five CDs
    EXPECT_EQ(rows[5], "records\t5");
    Lines saved;
    for (std::size_t i = 9; i < rows.size(); ++i) saved.push_back(tabField(rows[i], 4));
    EXPECT_EQ(saved, planned);

    // The printed plan lists all five in that order; the label only those on the tape, likewise.
    const Lines plan = pdfLines(planPdf), label = pdfLines(labelPdf);
    // One printer for both jobs: each goes to the queue under its own name.
    EXPECT_EQ(testsupport::pdfTitle(planPdf), "Zemoplan 振分け");
    EXPECT_EQ(testsupport::pdfTitle(labelPdf), "Zemoplan ラベル");
    ASSERT_FALSE(plan.empty());
    ASSERT_FALSE(label.empty());
    int previous = -1;
    for (const std::string& title : planned) {
        const int at = lineWith(plan, title);
        EXPECT_GT(at, previous) << title;
        previous = at;
    }
    previous = -1;
    for (const std::string& title : sideTitles) {
        const int at = lineWith(label, title);
        EXPECT_GT(at, previous) << title;
        previous = at;
    }
    for (const std::string& title : restTitles) EXPECT_EQ(lineWith(label, title), -1) << title;
}

TEST(TapeJobTest, PickedPlannedPrintedLabelledWrittenBackAndSavedThroughTheMainWindow) {
    runTapeJob(PlanChoice::Search);
}

TEST(TapeJobTest, TheExactPlanIsPrintedLabelledWrittenBackAndSavedLikeTheSearchs) {
    runTapeJob(PlanChoice::Best);
}

}  // namespace
}  // namespace zemo::ui
