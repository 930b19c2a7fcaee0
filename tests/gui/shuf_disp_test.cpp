// SPDX-License-Identifier: GPL-3.0-or-later
// The planning results window offscreen: opening on the shuffle list, stepping the run number,
// the distribution menus, the write-back, closing on a list change, printing into a PDF read back
// with pdftotext, Escape as the stop request, and the scroll range.
#include <gtest/gtest.h>

#include <QAction>
#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "planning/plan_engine.h"
#include "planning/plan_results.h"
#include "planning/ui/frm_shuf_ctrl.h"
#include "planning/ui/frm_shuf_disp.h"
#include "planning/ui/frm_tape.h"
#include "platform/sjis.h"
#include "printing/ui/frm_prn_label.h"
#include "records/control_file.h"
#include "records/text.h"
#include "records/window_settings.h"
#include "records/workspace.h"
#include "support/fixed_clock.h"
#include "support/pdf_text.h"
#include "support/scripted_prompter.h"
#include "ui/fonts.h"
#include "ui/printer.h"

namespace {

namespace fs = std::filesystem;
using zemo::Answer;
using zemo::ui::TFrmShufDisp;
using zemo::testsupport::pdfLines;
const auto& collapsed = zemo::testsupport::collapsedBlanks;
using Lines = std::vector<std::string>;
using zemo::guitest::child;

class ShufDispTest : public ::testing::Test {
protected:
    ShufDispTest() {
        zemo::initControlDefaults(ws);
        ws.executablePath = dir.path() / "zemoplan";
        ws.createArrays(1);
    }

    // Slots 0.. of the shuffle list get CDs "CD1", "CD2", ... of these times.
    void fill(const std::vector<int>& times) {
        for (int i = 0; i < 30; ++i) list().put(i, zemo::clearedRecord());
        for (std::size_t i = 0; i < times.size(); ++i) {
            zemo::CdRecord r = zemo::clearedRecord();
            r.active = 1;
            r.timeSec = times[i];
            r.saleDate = 20240101;
            zemo::setField(r.barcode, "4988000000000");
            zemo::setField(r.title, zemo::sj("CD" + std::to_string(i + 1)));
            zemo::setField(r.artist, zemo::sj("Artist"));
            list().put(static_cast<int>(i), r);
        }
    }
    zemo::TCddataArray& list() { return ws.arrays[zemo::kKindShuffle]; }
    std::string titleAt(int slot) { return zemo::fieldText(list()[slot].title); }

    QStringList gridOf(zemo::ResultsState& r) {
        QStringList out;
        for (const std::string& l : r.image().gridLines()) out << QString::fromStdString(zemo::sjisToUtf8(l));
        return out;
    }
    QString line0() { return disp.drawnLines().value(0); }

    void click(const char* name) { QTest::mouseClick(child<QWidget>(disp, name), Qt::LeftButton); }

    zemo::guitest::TempDir dir{"zemo-shufdisp"};
    zemo::ScriptedPrompter prompter;
    zemo::FixedClock clock{zemo::LocalTime{2024, 5, 6, 7, 8, 9}};
    zemo::Workspace ws{prompter, clock, dir.path()};
    zemo::FontSetting font;
    TFrmShufDisp disp{ws, font};
};

const std::vector<int> kEight{200, 250, 300, 350, 400, 450, 500, 550};

TEST_F(ShufDispTest, OpensWithoutBlockingAtRunOneAndDrawsTheGridOfTheResults) {
    fill(kEight);
    ASSERT_EQ(disp.openFor(), 0);
    EXPECT_TRUE(disp.isVisible());
    EXPECT_FALSE(disp.isModal());
    EXPECT_EQ(disp.windowTitle(), "振分け結果");
    EXPECT_EQ(disp.results().shuffleNo, 1);
    EXPECT_EQ(disp.engine().selection.count, 8);
    ASSERT_FALSE(disp.drawnLines().isEmpty());
    EXPECT_EQ(disp.drawnLines(), gridOf(disp.results()));
    EXPECT_TRUE(line0().contains("SHUFFLE No=[    1]")) << line0().toStdString();
    EXPECT_TRUE(disp.drawnLines().join('\n').contains("CD1"));
}

TEST_F(ShufDispTest, AnEmptyShuffleListOpensNothing) {
    fill({});
    EXPECT_EQ(disp.openFor(), -1);
    EXPECT_FALSE(disp.isVisible());
}

TEST_F(ShufDispTest, SteppingWithTheSpeedButtonsAndShiftOnTheShuffleButton) {
    fill(kEight);
    ASSERT_EQ(disp.openFor(), 0);
    click("SpdBtnShuf_U");
    EXPECT_EQ(disp.results().shuffleNo, 2);
    EXPECT_TRUE(line0().contains("SHUFFLE No=[    2]")) << line0().toStdString();
    click("SpdBtnShuf_D");
    EXPECT_EQ(disp.results().shuffleNo, 1);
    click("SpdBtnShuf_D");  // nothing below 1
    EXPECT_EQ(disp.results().shuffleNo, 1);

    auto* shuf = child<QPushButton>(disp, "BtnShuf");
    QTest::mouseClick(shuf, Qt::LeftButton);
    EXPECT_EQ(disp.results().shuffleNo, 2);
    QTest::mouseClick(shuf, Qt::RightButton);  // any button
    EXPECT_EQ(disp.results().shuffleNo, 3);
    QTest::mouseClick(shuf, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(disp.results().shuffleNo, 2);
    EXPECT_TRUE(line0().contains("SHUFFLE No=[    2]")) << line0().toStdString();
    EXPECT_EQ(disp.drawnLines(), gridOf(disp.results()));
}

// The image as drawing every character alone gives it: white, each non-blank character drawn
// with drawText on the baseline of its line at its cell, a double-byte character over two cells.
QImage drawnCharByChar(TFrmShufDisp& d, const zemo::FontSetting& setting) {
    const QFont font = zemo::ui::fontOfSetting(setting);
    const QFontMetrics metrics(font);
    const int w = d.cellWidth();
    QImage out(d.image().size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.setFont(font);
    p.setPen(zemo::ui::colourOfSetting(setting.color));
    p.setBackgroundMode(Qt::TransparentMode);
    for (const zemo::ImageText& t : d.results().image().texts()) {
        int col = t.col;
        for (std::size_t i = 0; i < t.text.size();) {
            const bool dbl = zemo::isLeadByte(static_cast<unsigned char>(t.text[i])) && i + 1 < t.text.size();
            const std::string ch = t.text.substr(i, dbl ? 2 : 1);
            i += ch.size();
            if (ch != " ")
                p.drawText(col * w, t.line * 2 * w + metrics.ascent(), QString::fromStdString(zemo::sjisToUtf8(ch)));
            col += static_cast<int>(ch.size());
        }
    }
    return out;
}

// The window keeps each character's layout from one image to the next; not a pixel may differ
// from drawing the characters one by one, in any font, style or colour.
TEST_F(ShufDispTest, TheImageIsTheCharactersDrawnOneByOneAtTheirCells) {
    fill(kEight);
    for (int i = 0; i < 8; ++i) {
        zemo::setField(list()[i].title, zemo::sj("振分け曲 ｼﾝｸﾞﾙ No." + std::to_string(i + 1)));
        zemo::setField(list()[i].artist, zemo::sj("アーティスト Ｂ"));
    }
    struct Case {
        const char* name;
        int size, style, color;
    };
    const Case cases[] = {{"ＭＳ 明朝", 9, 1, 0},                 // the stored default
                          {"ＭＳ Ｐゴシック", 12, 2 | 4 | 8, 0x0000FF},  // italic, underlined, struck out, red
                          {"DejaVu Sans", 10, 0, 0x800000}};        // proportional, CJK from a fallback face
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        zemo::FontSetting setting;
        setting.name = c.name, setting.size = c.size, setting.style = c.style, setting.color = c.color;
        TFrmShufDisp w(ws, setting);
        ASSERT_EQ(w.openFor(), 0);
        EXPECT_TRUE(w.image() == drawnCharByChar(w, setting));
        for (int step = 0; step < 2; ++step) {
            w.SpdBtnShuf_UClick();
            EXPECT_TRUE(w.image() == drawnCharByChar(w, setting)) << "run " << w.results().shuffleNo;
        }
        w.chooseShuf2(zemo::kMenuNoShuffle);
        EXPECT_TRUE(w.image() == drawnCharByChar(w, setting)) << "振分無";
        w.close();
    }
}

TEST_F(ShufDispTest, TheDistributionMenus) {
    fill(kEight);
    ASSERT_EQ(disp.openFor(), 0);
    click("BtnShuf2");
    QMenu* menu = disp.shuf2Menu();
    EXPECT_TRUE(menu->isVisible());
    QAction* half = menu->findChild<QAction*>("HALF");
    ASSERT_NE(half, nullptr);
    EXPECT_EQ(half->text(), "２分割");
    half->trigger();
    menu->hide();
    EXPECT_EQ(disp.results().displayMode, zemo::kShowHalfSplit);
    EXPECT_EQ(disp.results().shuffleNo, 0);
    EXPECT_TRUE(line0().isEmpty());  // no header line in this mode
    EXPECT_EQ(disp.drawnLines(), gridOf(disp.results()));
    EXPECT_TRUE(disp.drawnLines().join('\n').contains("B面"));

    menu->findChild<QAction*>("NOSHUF")->trigger();
    EXPECT_EQ(disp.results().displayMode, zemo::kShowSelection);
    EXPECT_TRUE(disp.drawnLines().join('\n').contains("総時間"));

    disp.shufABMenu()->findChild<QAction*>("SHUF_ABCancel")->trigger();
    EXPECT_EQ(disp.results().displayMode, zemo::kShowSelection);
    click("SpdBtnShuf_U");  // from 0 the next run is run 1 again
    EXPECT_EQ(disp.results().shuffleNo, 1);
    EXPECT_EQ(disp.results().displayMode, zemo::kShowOptimised);
}

TEST_F(ShufDispTest, WriteBackPutsSideASideBAndTheRestInOrderWithTheSameCds) {
    fill({200, 250, 300, 350, 400, 450, 500, 550, 600, 650});
    ASSERT_EQ(disp.openFor(), 0);
    disp.results().chooseShuf2(zemo::kMenuHalf);  // both sides used
    const zemo::ShufTape plan = disp.results().plan();
    ASSERT_GT(plan.countA, 0);
    ASSERT_GT(plan.countB, 0);
    std::vector<std::string> expected;
    const std::int16_t* lists[] = {plan.sideA, plan.sideB, plan.rest};
    const int counts[] = {plan.countA, plan.countB, plan.countRest};
    for (int l = 0; l < 3; ++l)
        for (int i = 0; i < counts[l]; ++i) expected.push_back(zemo::fieldText(plan.cds[lists[l][i] - 1].title));
    ASSERT_EQ(expected.size(), 10u);

    QSignalSpy wrote(&disp, &TFrmShufDisp::wroteBack);
    prompter.clear();
    prompter.answers.push_back(Answer::Cancel);
    click("BtnSSet");
    EXPECT_EQ(wrote.count(), 0);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(titleAt(i), "CD" + std::to_string(i + 1));

    prompter.answers.push_back(Answer::Ok);
    click("BtnSSet");
    EXPECT_EQ(wrote.count(), 1);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"振分け結果を設定します。", "振分け結果を設定します。"}));
    std::vector<std::string> got;
    for (int i = 0; i < 10; ++i) got.push_back(titleAt(i));
    EXPECT_EQ(got, expected);
    EXPECT_EQ(list()[10].active, 0);
    std::vector<std::string> sorted = got, original;
    for (int i = 0; i < 10; ++i) original.push_back("CD" + std::to_string(i + 1));
    std::sort(sorted.begin(), sorted.end());
    std::sort(original.begin(), original.end());
    EXPECT_EQ(sorted, original);
}

// A slot write refused part-way through 結設定 (the list's capacity cut below the slot it reaches)
// leaves every slot, the plan and the selection byte for byte as they were, after its error box;
// the same plan then writes back whole once the slots take writes again.
TEST_F(ShufDispTest, AFailedSlotWriteDuringWriteBackLeavesTheListAsItWas) {
    const int capacity = ws.capacity(zemo::kKindShuffle);
    for (const int failingSlot : {0, 2, 4}) {  // the first write, one mid-way, the last of five
        SCOPED_TRACE(failingSlot);
        // Six CDs with slot 1 empty: the five are written to slots 0..4, so slot 1 changes with
        // the second write and slot 5 would be cleared only after the last.
        fill({600, 700, 800, 900, 1000, 1100});
        list().put(1, zemo::clearedRecord());
        ASSERT_EQ(disp.openFor(), 0);
        const zemo::ShufTape plan = disp.results().plan();
        ASSERT_EQ(plan.count, 5);
        std::vector<std::string> order;
        const std::int16_t* lists[] = {plan.sideA, plan.sideB, plan.rest};
        const int counts[] = {plan.countA, plan.countB, plan.countRest};
        for (int l = 0; l < 3; ++l)
            for (int i = 0; i < counts[l]; ++i)
                order.push_back(zemo::fieldText(plan.cds[lists[l][i] - 1].title));
        ASSERT_EQ(order.size(), 5u);

        auto bytes = [](const void* p, std::size_t n) { return std::string(static_cast<const char*>(p), n); };
        const std::string slotsBefore = bytes(list().data(), list().slotCount() * sizeof(zemo::CdRecord));
        const std::string planBefore = bytes(&disp.engine().plan, sizeof(zemo::ShufTape));
        const std::string selectionBefore = bytes(&disp.engine().selection, sizeof(zemo::ShufTape));
        QSignalSpy wrote(&disp, &TFrmShufDisp::wroteBack);
        ws.capacities[zemo::kKindShuffle] = failingSlot - 1;
        prompter.clear();
        prompter.answers.push_back(Answer::Ok);
        click("BtnSSet");
        ws.capacities[zemo::kKindShuffle] = capacity;
        EXPECT_EQ(prompter.texts(),
                  (std::vector<std::string>{"振分け結果を設定します。", "DATA PUT ERROR!(Under or Over)"}));
        EXPECT_EQ(prompter.boxes.back().kind, zemo::BoxKind::Error);
        EXPECT_EQ(wrote.count(), 0);
        EXPECT_TRUE(bytes(list().data(), list().slotCount() * sizeof(zemo::CdRecord)) == slotsBefore);
        EXPECT_TRUE(bytes(&disp.engine().plan, sizeof(zemo::ShufTape)) == planBefore);
        EXPECT_TRUE(bytes(&disp.engine().selection, sizeof(zemo::ShufTape)) == selectionBefore);

        prompter.answers.push_back(Answer::Ok);
        click("BtnSSet");
        EXPECT_EQ(wrote.count(), 1);
        std::vector<std::string> got;
        for (int i = 0; i < 5; ++i) got.push_back(titleAt(i));
        EXPECT_EQ(got, order);
        EXPECT_EQ(list()[5].active, 0);
    }
}

TEST_F(ShufDispTest, WriteBackIsRefusedWhenTheLastRedrawFoundThePlanInconsistent) {
    fill(kEight);
    ASSERT_EQ(disp.openFor(), 0);
    zemo::ShufTape& plan = disp.engine().plan;
    plan.countA = 2, plan.sideA[0] = 1, plan.sideA[1] = 1;  // CD 1 twice
    plan.countB = 0, plan.countRest = 0;
    disp.results().redraw();
    ASSERT_NE(disp.results().lastIntegrityCode(), 0);
    QSignalSpy wrote(&disp, &TFrmShufDisp::wroteBack);
    prompter.clear();
    click("BtnSSet");  // no question is asked: none is scripted
    EXPECT_EQ(wrote.count(), 0);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Program error!(code=" +
                                                         std::to_string(disp.results().lastIntegrityCode()) + ")"});
    for (int i = 0; i < 8; ++i) EXPECT_EQ(titleAt(i), "CD" + std::to_string(i + 1));
}

TEST_F(ShufDispTest, AChangeOfTheShuffleListClosesTheWindow) {
    fill(kEight);
    ASSERT_EQ(disp.openFor(), 0);
    ASSERT_TRUE(disp.isVisible());
    disp.closeOnListChange();
    EXPECT_FALSE(disp.isVisible());
}

TEST_F(ShufDispTest, ThePrintedPlanHasTheLinesOfTheScreen) {
    fill(kEight);
    ASSERT_EQ(disp.openFor(), 0);
    zemo::ui::ProgramPrinter printer;
    const fs::path pdf = dir.path() / "plan.pdf";
    printer.printToPdf(QString::fromStdString(pdf.string()));
    disp.setPrinter(&printer);
    prompter.clear();
    prompter.answers.push_back(Answer::Ok);
    click("BtnPrint");
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"データを印刷します。"});
    const Lines printed = pdfLines(pdf);
    ASSERT_FALSE(printed.empty());
    EXPECT_NE(printed[0].find("SHUFFLE No=[ 1]"), std::string::npos) << printed[0];
    // The CD lines and the difference as the screen shows them (there the difference shares its
    // line with the next heading) and as they were printed.
    auto isCd = [](const std::string& l) { return !l.empty() && l[0] >= '0' && l[0] <= '9'; };
    auto difference = [](const std::string& l) {
        const auto at = l.find("ABの差");
        return at == std::string::npos ? std::string() : l.substr(at);
    };
    Lines screenCds, printedCds, screenDiff, printedDiff;
    for (int i = 1; i < disp.drawnLines().size(); ++i) {
        const std::string l = collapsed(disp.drawnLines()[i].toStdString());
        if (isCd(l)) screenCds.push_back(l);
        if (!difference(l).empty()) screenDiff.push_back(difference(l));
    }
    for (std::size_t i = 1; i < printed.size(); ++i) {
        if (isCd(printed[i])) printedCds.push_back(printed[i]);
        if (!difference(printed[i]).empty()) printedDiff.push_back(printed[i]);
    }
    EXPECT_EQ(screenCds.size(), 8u);
    EXPECT_EQ(printedCds, screenCds);
    EXPECT_EQ(printedDiff, screenDiff);
    EXPECT_NE(std::find(printed.begin(), printed.end(), "A面"), printed.end());
}

TEST_F(ShufDispTest, AStaleEscapeDoesNotStopTheNextRun) {
    fill(kEight);
    ASSERT_EQ(disp.openFor(), 0);
    QTest::keyClick(&disp, Qt::Key_Escape);
    EXPECT_TRUE(disp.engine().stopRequested);
    EXPECT_TRUE(disp.isVisible());  // Escape is the stop request, not a close
    prompter.clear();
    click("SpdBtnShuf_U");
    EXPECT_EQ(disp.results().shuffleNo, 2);
    for (const std::string& t : prompter.texts()) EXPECT_NE(t, zemo::planResultMessage(zemo::kPlanStopped));
}

TEST_F(ShufDispTest, TheScrollRangeCoversTheLastLineOfAThirtyCdPlan) {
    std::vector<int> times;
    for (int i = 0; i < 30; ++i) times.push_back(150 + 11 * i);
    fill(times);
    disp.resize(500, 240);  // a panel lower than the minimum height of the image
    ASSERT_EQ(disp.openFor(), 0);
    QCoreApplication::processEvents();
    ASSERT_LT(disp.scrollArea()->viewport()->height(), 64 * disp.cellWidth());
    const int last = disp.results().image().lastLine();
    const int w = disp.cellWidth();
    ASSERT_GE(last, 32);
    const int bottom = (last + 1) * 2 * w;
    ASSERT_GT(bottom, 64 * w);
    EXPECT_GE(disp.image().height(), bottom);
    QScrollArea* scroll = disp.scrollArea();
    EXPECT_GE(scroll->verticalScrollBar()->maximum() + scroll->viewport()->height(), bottom);
    EXPECT_EQ(disp.drawnLines().size(), last + 1);
}

TEST_F(ShufDispTest, RepaintingOnlyDrawsTheTextOfTheLastChange) {
    fill(kEight);
    ASSERT_EQ(disp.openFor(), 0);
    const QStringList before = disp.drawnLines();
    // Spoiled behind the window's back: finishing it again would find it inconsistent.
    zemo::ShufTape& plan = disp.engine().plan;
    plan.countA = 2, plan.sideA[0] = 1, plan.sideA[1] = 1;
    prompter.clear();
    disp.resize(disp.width() + 40, disp.height() + 40);
    disp.repaint();
    QCoreApplication::processEvents();
    EXPECT_TRUE(prompter.texts().empty());
    EXPECT_EQ(disp.drawnLines(), before);
    EXPECT_EQ(disp.results().lastIntegrityCode(), 0);
}

TEST_F(ShufDispTest, TheTapeDialogsChoiceStartsAgainAtRunOneWithThatTarget) {
    fill(kEight);
    zemo::ui::TFrmTape tape(ws);
    disp.setTapeDialog(&tape);
    ASSERT_EQ(disp.openFor(), 0);
    click("SpdBtnShuf_U");
    ASSERT_EQ(disp.results().shuffleNo, 2);
    zemo::guitest::whenModal<zemo::ui::TFrmTape>([](zemo::ui::TFrmTape* d) {
        QTest::mouseClick(d->findChild<QRadioButton*>("RadioGroup13"), Qt::LeftButton);
        QTest::mouseClick(d->findChild<QPushButton*>("BtnChg"), Qt::LeftButton);
        if (d->isVisible()) d->reject();
    });
    click("BtnTape");
    EXPECT_EQ(disp.engine().ctl.targetSec, 1800);
    EXPECT_EQ(ws.control.shuffleBlock.targetSec, 1800);
    EXPECT_EQ(disp.results().shuffleNo, 1);
    EXPECT_TRUE(line0().contains("目標=[   30:00]")) << line0().toStdString();
}

TEST_F(ShufDispTest, TheLabelWindowShowsThePlanOfTheWindow) {
    fill(kEight);
    zemo::ui::ProgramPrinter printer;
    zemo::FontSetting labelFont;
    zemo::ui::TFrmPrnLabel label(ws, labelFont, printer);
    disp.setLabelWindow(&label);
    ASSERT_EQ(disp.openFor(), 0);
    bool shown = false;
    std::size_t texts = 0;
    zemo::guitest::whenModal<zemo::ui::TFrmPrnLabel>([&](zemo::ui::TFrmPrnLabel* d) {
        shown = true;
        texts = d->composed().size();
        d->close();
    });
    click("BtnLabel");
    EXPECT_TRUE(shown);
    EXPECT_GT(texts, 0u);
}

// The results window decides whether its plan may be labelled: one that the last redraw found
// inconsistent shows that box again, and the label window is neither handed the plan nor opened.
TEST_F(ShufDispTest, TheLabelCommandRefusesAPlanTheLastRedrawFoundInconsistent) {
    fill(kEight);
    zemo::ui::ProgramPrinter printer;
    zemo::FontSetting labelFont;
    zemo::ui::TFrmPrnLabel label(ws, labelFont, printer);
    disp.setLabelWindow(&label);
    ASSERT_EQ(disp.openFor(), 0);
    zemo::ShufTape& plan = disp.engine().plan;
    plan.countA = 2, plan.sideA[0] = 1, plan.sideA[1] = 1;  // CD 1 twice
    plan.countB = 0, plan.countRest = 0;
    disp.results().redraw();
    ASSERT_NE(disp.results().lastIntegrityCode(), 0);
    prompter.clear();
    // Only an opened label window would run the events of this watch, which closes it; the watch
    // ends with the test, so nothing is left waiting for a later one.
    bool shown = false;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<zemo::ui::TFrmPrnLabel*>(QApplication::activeModalWidget())) {
            shown = true;
            d->close();
        }
    });
    watch.start();
    click("BtnLabel");
    EXPECT_FALSE(shown);
    EXPECT_TRUE(label.composed().empty());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Program error!(code=" +
                                                         std::to_string(disp.results().lastIntegrityCode()) + ")"});
}

TEST_F(ShufDispTest, TheFontGoesBackToTheWindowSettingsOnClose) {
    font.size = 12;
    TFrmShufDisp other(ws, font);
    font.size = 9;
    fill(kEight);
    ASSERT_EQ(other.openFor(), 0);
    other.close();
    EXPECT_EQ(font.size, 12);
}

// Both windows with a font command: the dialog opens on the face that draws the stored "ＭＳ 明朝"
// (the name itself is only a substitute and not in the dialog's list), so that OK in the font and
// colour dialogs without a change leaves the font as it was.
TEST_F(ShufDispTest, TheFontDialogsKeepAnUnchangedFont) {
    fill(kEight);
    zemo::ui::ProgramPrinter printer;
    zemo::FontSetting labelFont;
    zemo::ui::TFrmPrnLabel label(ws, labelFont, printer);
    label.setPlan(&disp.engine().plan);
    ASSERT_EQ(disp.openFor(), 0);
    const zemo::FontSetting before;  // "ＭＳ 明朝", 9 points, bold, black
    const QString face = QFontInfo(zemo::ui::fontOfSetting(before)).family();
    ASSERT_NE(face, QString::fromStdString(before.name));

    struct Case {
        QWidget* window;
        const char* button;
    };
    for (const Case& c : {Case{&disp, "SpdBtnFont"}, Case{&label, "BtnFont"}}) {
        SCOPED_TRACE(c.button);
        if (c.window == &label) label.show();
        QString opened;
        int openedSize = 0;
        zemo::guitest::whenModal<QFontDialog>([&](QFontDialog* d) {
            opened = d->currentFont().family();
            openedSize = d->currentFont().pointSize();
            zemo::guitest::whenModal<QColorDialog>([](QColorDialog* cd) { cd->accept(); });
            d->accept();
        });
        QTest::mouseClick(child<QWidget>(*c.window, c.button), Qt::LeftButton);
        EXPECT_EQ(opened, face);
        EXPECT_EQ(openedSize, 9);
        c.window->close();
    }
    EXPECT_EQ(font, before);
    EXPECT_EQ(label.labelFont(), before);
    EXPECT_EQ(labelFont, before);
}

TEST_F(ShufDispTest, DuringARunOnlyEscapeActs) {
    fill(kEight);
    ASSERT_EQ(disp.openFor(), 0);
    // Delivered while the next run polls: a click on a command and the Escape key.
    auto* next = child<QWidget>(disp, "SpdBtnShuf_U");
    const QPointF at = QRectF(next->rect()).center();
    QCoreApplication::postEvent(next, new QMouseEvent(QEvent::MouseButtonPress, at, next->mapToGlobal(at),
                                                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(next, new QMouseEvent(QEvent::MouseButtonRelease, at, next->mapToGlobal(at),
                                                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    QCoreApplication::postEvent(&disp, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    prompter.clear();
    disp.SpdBtnShuf_UClick();
    EXPECT_EQ(disp.results().shuffleNo, 2);  // the posted click did not step again
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{zemo::planResultMessage(zemo::kPlanStopped)});
    EXPECT_FALSE(disp.engine().stopRequested);
    EXPECT_FALSE(disp.running());
    EXPECT_TRUE(child<QWidget>(disp, "ToolBar1")->isEnabled());
}

TEST_F(ShufDispTest, SettingsSavedInTheDialogStartAgainAtRunOneAndNotSavedLeaveTheRun) {
    fill(kEight);
    ASSERT_EQ(zemo::saveControl(ws), 0);
    zemo::ui::TFrmShufCtrl settings(ws);
    disp.setSettingsDialog(&settings);
    ASSERT_EQ(disp.openFor(), 0);
    click("SpdBtnShuf_U");
    ASSERT_EQ(disp.results().shuffleNo, 2);
    auto closeWith = [this](Answer a) {
        zemo::guitest::whenModal<zemo::ui::TFrmShufCtrl>([this, a](zemo::ui::TFrmShufCtrl* d) {
            prompter.answers.push_back(a);
            QTest::mouseClick(d->findChild<QPushButton*>("BtnF01"), Qt::LeftButton);
            if (d->isVisible()) d->reject();
        });
    };
    closeWith(Answer::No);
    click("BtnCtl");
    EXPECT_EQ(disp.results().shuffleNo, 2);
    closeWith(Answer::Yes);
    click("SpdBtnProperty");
    EXPECT_EQ(disp.results().shuffleNo, 1);
    EXPECT_TRUE(line0().contains("SHUFFLE No=[    1]")) << line0().toStdString();
}


// The line under the image answers the exact check after every run, beside the image (whose text
// is the plan's alone), and says so when the seeded search failed though a plan exists.
TEST_F(ShufDispTest, TheExactLineAfterAPassedAndAFailedRun) {
    struct Case {
        const char* name;
        std::vector<int> times;
        std::int32_t target, tolerance;
        int plusOnly;
        bool searchFails;
        const char* line;
    };
    const std::string none = "全探索: 有効秒差内のプランはありません";
    const Case cases[] = {
        {"passes", kEight, 0, 5, 0, false, "全探索: 有効秒差内のプランがあります"},
        // The seeded run 1 misses the one narrow window that a split does reach.
        {"search fails, a plan exists", {343, 294, 254, 325, 238, 227, 160, 374}, 1800, 2, 0, true,
         "全探索: 有効秒差内のプランがあります　「最適解」で表示できます"},
        // Side A is 100 or 200: 50 s either way are needed.
        {"no plan, tolerance needed", {100, 100}, 150, 0, 0, true, "全探索: 有効秒差内のプランはありません（必要な有効秒差 0:50）"},
        {"no plan within three hours", {11000}, 100, 0, 1, true, "全探索: 有効秒差内のプランはありません（3時間以内では足りません）"},
        {"window past three hours", {200, 300}, 10801, 0, 0, true, "全探索: 対象外（3時間を超えます）"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fill(c.times);
        ws.control.shuffleBlock.targetSec = c.target;
        ws.control.shuffleBlock.tolerance = c.tolerance;
        ws.control.shuffleBlock.plusOnly = static_cast<std::int16_t>(c.plusOnly);
        prompter.clear();
        ASSERT_EQ(disp.openFor(), 0);
        EXPECT_EQ(disp.results().searchFailed(), c.searchFails);
        EXPECT_EQ(prompter.texts().empty(), !c.searchFails);
        const QLabel* line = child<QLabel>(disp, "Lbl_Exact");
        EXPECT_EQ(line->text(), QString::fromUtf8(c.line));
        EXPECT_EQ(disp.exactLine(), line->text());
        EXPECT_FALSE(disp.drawnLines().join('\n').contains("全探索"));
    }
    // Another distribution shown: the answer stays, the hint about the failed search goes.
    fill({343, 294, 254, 325, 238, 227, 160, 374});
    ws.control.shuffleBlock.targetSec = 1800;
    ws.control.shuffleBlock.tolerance = 2;
    ws.control.shuffleBlock.plusOnly = 0;
    ASSERT_EQ(disp.openFor(), 0);
    disp.shuf2Menu()->findChild<QAction*>("HALF")->trigger();
    EXPECT_EQ(child<QLabel>(disp, "Lbl_Exact")->text(), "全探索: 有効秒差内のプランがあります");
}

// "最適解" shows the exact plan as the window's plan: drawn with its header, in registration
// order, and written back by 結設定 side A, side B, then the rest.
TEST_F(ShufDispTest, TheBestPlanIsShownAndWrittenBack) {
    const std::vector<int> times{343, 294, 254, 325, 238, 227, 160, 374};
    fill(times);
    ws.control.shuffleBlock.targetSec = 1800;
    ws.control.shuffleBlock.tolerance = 2;
    ws.control.shuffleBlock.plusOnly = 0;
    ASSERT_EQ(disp.openFor(), 0);
    ASSERT_TRUE(disp.results().searchFailed());
    auto* button = child<QPushButton>(disp, "BtnBest");
    auto* tool = child<QToolButton>(disp, "SpdBtnBest");
    QAction* item = disp.shuf2Menu()->findChild<QAction*>("MBestPlan");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "最適解");
    EXPECT_EQ(button->text(), "最適解");
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(tool->isEnabled());
    EXPECT_TRUE(item->isEnabled());

    prompter.clear();
    click("BtnBest");
    EXPECT_TRUE(prompter.texts().empty());
    EXPECT_EQ(disp.results().displayMode, zemo::kShowBest);
    EXPECT_EQ(disp.results().shuffleNo, 0);
    EXPECT_EQ(disp.results().lastIntegrityCode(), 0);
    EXPECT_EQ(disp.drawnLines(), gridOf(disp.results()));
    EXPECT_TRUE(line0().contains("目標=[")) << line0().toStdString();
    EXPECT_FALSE(line0().contains("SHUFFLE No"));
    EXPECT_EQ(child<QLabel>(disp, "Lbl_Exact")->text(), "全探索: 有効秒差内のプランがあります");

    const zemo::ShufTape plan = disp.results().plan();
    const zemo::ExactResult& exact = disp.results().exact();
    // The plan shown passes the window, and side A begins with the earlier-registered CD.
    std::int32_t sumA = 0, sumB = 0;
    for (int i = 0; i < plan.countA; ++i) sumA += plan.cds[plan.sideA[i] - 1].timeSec;
    for (int i = 0; i < plan.countB; ++i) sumB += plan.cds[plan.sideB[i] - 1].timeSec;
    EXPECT_GE(sumA, exact.lo);
    EXPECT_LE(sumA, exact.hi);
    EXPECT_TRUE((sumB >= exact.lo && sumB <= exact.hi) || (sumB < exact.lo && plan.countRest == 0));
    EXPECT_EQ(plan.countA + plan.countB + plan.countRest, 8);
    if (plan.countA > 0 && plan.countB > 0 && sumB >= exact.lo) {
        EXPECT_LT(plan.regPos[plan.sideA[0] - 1], plan.regPos[plan.sideB[0] - 1]);
    }
    // Printed like a shuffled plan: the header, then the lines of the screen.
    const Lines printed = disp.results().printoutLines();
    ASSERT_FALSE(printed.empty());
    EXPECT_NE(printed[0].find(zemo::sj("合計=[")), std::string::npos);

    std::vector<std::string> expected;
    const std::int16_t* lists[] = {plan.sideA, plan.sideB, plan.rest};
    const int counts[] = {plan.countA, plan.countB, plan.countRest};
    for (int l = 0; l < 3; ++l)
        for (int i = 0; i < counts[l]; ++i) expected.push_back(zemo::fieldText(plan.cds[lists[l][i] - 1].title));
    QSignalSpy wrote(&disp, &TFrmShufDisp::wroteBack);
    prompter.answers.push_back(Answer::Ok);
    click("BtnSSet");
    EXPECT_EQ(wrote.count(), 1);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"振分け結果を設定します。"});
    std::vector<std::string> got;
    for (int i = 0; i < 8; ++i) got.push_back(titleAt(i));
    EXPECT_EQ(got, expected);
    // The check follows the new order: its plan names the CDs as the list now holds them.
    EXPECT_TRUE(disp.results().bestAvailable());
    std::int32_t again = 0;
    for (int x : disp.results().exact().sideA) again += list()[x - 1].timeSec;
    EXPECT_EQ(again, disp.results().exact().sumA);
}

// Without a passing plan, or without an answer, "最適解" cannot be chosen; a choice made anyway
// leaves the plan as it was.
TEST_F(ShufDispTest, TheBestPlanIsDisabledWhenNothingPasses) {
    struct Case {
        const char* name;
        std::vector<int> times;
        std::int32_t target;
    };
    const Case cases[] = {{"no plan", {100, 100}, 150}, {"not checked", {200, 300}, 10801}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fill(c.times);
        ws.control.shuffleBlock.targetSec = c.target;
        ws.control.shuffleBlock.tolerance = 0;
        ASSERT_EQ(disp.openFor(), 0);
        EXPECT_FALSE(child<QPushButton>(disp, "BtnBest")->isEnabled());
        EXPECT_FALSE(child<QToolButton>(disp, "SpdBtnBest")->isEnabled());
        EXPECT_FALSE(disp.shuf2Menu()->findChild<QAction*>("MBestPlan")->isEnabled());
        const QStringList before = disp.drawnLines();
        disp.chooseBest();
        EXPECT_EQ(disp.results().displayMode, zemo::kShowOptimised);
        EXPECT_EQ(disp.drawnLines(), before);
    }
    // A passing selection enables it again.
    fill(kEight);
    ws.control.shuffleBlock.targetSec = 0;
    ws.control.shuffleBlock.tolerance = 5;
    ASSERT_EQ(disp.openFor(), 0);
    EXPECT_TRUE(child<QPushButton>(disp, "BtnBest")->isEnabled());
    EXPECT_TRUE(disp.shuf2Menu()->findChild<QAction*>("MBestPlan")->isEnabled());
}

// The bars show the sides of the plan shown against the window, after a passed and a failed run
// and after every other distribution.
TEST_F(ShufDispTest, TheSideBarsFollowThePlanShown) {
    using zemo::ui::SideBar;
    auto sums = [&] {
        const zemo::ShufTape& p = disp.results().plan();
        return std::pair{zemo::listTime(p, p.sideA, p.countA), zemo::listTime(p, p.sideB, p.countB)};
    };
    auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        const SideBar* a = child<SideBar>(disp, "Bar_A");
        const SideBar* b = child<SideBar>(disp, "Bar_B");
        const auto [sumA, sumB] = sums();
        const zemo::ExactResult& r = disp.results().exact();
        EXPECT_EQ(a->sum(), sumA);
        EXPECT_EQ(b->sum(), sumB);
        EXPECT_EQ(a->inside(), r.lo <= sumA && sumA <= r.hi);
        EXPECT_EQ(b->inside(), r.lo <= sumB && sumB <= r.hi);
        EXPECT_EQ(a->text(), QString::fromStdString("A面 " + zemo::sjisToUtf8(zemo::formatTimeShort(sumA))).simplified());
        EXPECT_EQ(b->fillColour() == a->fillColour(), a->inside() == b->inside());
    };
    fill({300, 300, 200});  // run 1 passes: 300 | 300 against 400 +- 100 of a 400 s target
    ws.control.shuffleBlock.targetSec = 400;
    ws.control.shuffleBlock.tolerance = 100;
    ASSERT_EQ(disp.openFor(), 0);
    ASSERT_FALSE(disp.results().searchFailed());
    check("passed");
    EXPECT_TRUE(child<SideBar>(disp, "Bar_A")->inside());
    EXPECT_EQ(child<SideBar>(disp, "Bar_A")->fillColour(), QColor(0x2e, 0xa0, 0x43));
    disp.shuf2Menu()->findChild<QAction*>("NOSHUF")->trigger();
    check("振分無");
    EXPECT_FALSE(child<SideBar>(disp, "Bar_A")->inside());  // 800 s on side A
    EXPECT_NE(child<SideBar>(disp, "Bar_A")->fillColour(), QColor(0x2e, 0xa0, 0x43));
    disp.shuf2Menu()->findChild<QAction*>("HALF")->trigger();
    check("２分割");
    // The check's plan here has a short side B (300 s below 400 with nothing left out): it stays
    // side B, not moved to the front for its earlier registration.
    disp.chooseBest();
    check("最適解");
    EXPECT_TRUE(child<SideBar>(disp, "Bar_A")->inside());
    EXPECT_EQ(sums(), std::pair(500, 300));

    fill({100, 100});
    ws.control.shuffleBlock.targetSec = 150;
    ws.control.shuffleBlock.tolerance = 0;
    ASSERT_EQ(disp.openFor(), 0);
    ASSERT_TRUE(disp.results().searchFailed());
    check("failed");
}

}  // namespace
