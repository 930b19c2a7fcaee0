// SPDX-License-Identifier: GPL-3.0-or-later
// The range and stop windows, the window lock of a running loop, and the list printed into a PDF
// that is read back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "platform/sjis.h"
#include "printing/data_list.h"
#include "printing/ui/data_list_printing.h"
#include "printing/ui/frm_prn_st_ed.h"
#include "printing/ui/frm_stop.h"
#include "printing/ui/printer_text_device.h"
#include "printing/ui/run_lock.h"
#include "records/record_access.h"
#include "support/pdf_text.h"
#include "support/scripted_prompter.h"
#include "ui/printer.h"

namespace zemo {
namespace {

using guitest::TempDir;
using guitest::whenModal;
using ui::PrinterTextDevice;
using ui::ProgramPrinter;
using ui::RunLock;
using ui::TFrmPrnStEd;
using ui::TFrmStop;
using zemo::guitest::child;

std::string run(const std::string& command) {
    std::string text;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
        ::pclose(p);
    }
    return text;
}

// The PDF's text, one entry per non-empty line, blanks collapsed (the layout of the page decides
// how many blanks pdftotext puts between words).
std::vector<std::string> pdfLines(const std::string& pdf) {
    std::vector<std::string> out;
    std::istringstream in(run("pdftotext -layout '" + pdf + "' -"));
    for (std::string l; std::getline(in, l);) {
        std::string collapsed;
        for (char c : l) {
            if (c == '\f') continue;
            if (c == ' ' && (collapsed.empty() || collapsed.back() == ' ')) continue;
            collapsed += c;
        }
        while (!collapsed.empty() && collapsed.back() == ' ') collapsed.pop_back();
        if (!collapsed.empty()) out.push_back(collapsed);
    }
    return out;
}

std::string collapsed(const std::string& sjisLine) {
    std::istringstream in(sjisToUtf8(sjisLine));
    std::string word, out;
    while (in >> word) out += (out.empty() ? "" : " ") + word;
    return out;
}

CdRecord active(const std::string& title, const std::string& barcode) {
    CdRecord r = clearedRecord();
    r.active = 1;
    setField(r.title, sj(title));
    setField(r.barcode, barcode);
    r.timeSec = 3725;
    r.saleDate = 20240229;
    r.entryDate = 20240301;
    return r;
}

class Printing : public ::testing::Test {
protected:
    Printing() { ws_.createArrays(1); }  // catalogue capacity 500

    void put(int index, const CdRecord& r) { ASSERT_EQ(putRecord(ws_, r, index, 1, 500), 0); }
    std::string line(int index) {
        CdRecord r{};
        EXPECT_EQ(getRecord(ws_, r, index, 1, 500), 0);
        return dataListLine(r, index);
    }

    ScriptedPrompter prompter_;
    FixedClock clock_;
    Workspace ws_{prompter_, clock_};
    TempDir dir_{"zemo-printing"};
};

// --- the range dialog ---

class RangeDialog : public Printing {
protected:
    void SetUp() override {
        dlg_.prepare(500, 7, 30);
        dlg_.show();
        QApplication::setActiveWindow(&dlg_);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg_));
    }
    QLineEdit* st() { return child<QLineEdit>(dlg_, "Edt_St"); }
    QLineEdit* ed() { return child<QLineEdit>(dlg_, "Edt_Ed"); }
    QPushButton* go() { return child<QPushButton>(dlg_, "BtnGo"); }
    QPushButton* exit() { return child<QPushButton>(dlg_, "BtnExit"); }
    void settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }

    TFrmPrnStEd dlg_{ws_};
};

TEST_F(RangeDialog, ShowsTheCaptionTheControlsAndThePreparedRange) {
    EXPECT_EQ(dlg_.windowTitle(), QStringLiteral("範囲指定"));
    EXPECT_EQ(child<QLabel>(dlg_, "Lbl_St")->text(), QStringLiteral("開始"));
    EXPECT_EQ(child<QLabel>(dlg_, "Lbl_Ed")->text(), QStringLiteral("終了"));
    EXPECT_EQ(go()->text(), QStringLiteral("実行"));
    EXPECT_EQ(exit()->text(), QStringLiteral("中止"));
    EXPECT_EQ(st()->text(), QStringLiteral("7"));
    EXPECT_EQ(ed()->text(), QStringLiteral("30"));
    EXPECT_EQ(st()->maxLength(), 5);
    EXPECT_EQ(ed()->maxLength(), 5);
    EXPECT_EQ(dlg_.focusWidget(), st());
    EXPECT_FALSE(dlg_.confirmed());
}

TEST_F(RangeDialog, RunHandsBackTheRangeInOrderWhicheverWayItWasEntered) {
    struct Case {
        const char *st, *ed;
        int first, last;
    };
    const Case cases[] = {{"40", "3", 3, 40}, {"3", "40", 3, 40}, {"500", "500", 500, 500}, {" 1", "12 ", 1, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.st) + ".." + c.ed);
        dlg_.show();
        st()->setText(QString::fromUtf8(c.st));
        ed()->setText(QString::fromUtf8(c.ed));
        QTest::mouseClick(go(), Qt::LeftButton);
        settle();
        EXPECT_FALSE(dlg_.isVisible());
        EXPECT_TRUE(dlg_.confirmed());
        EXPECT_EQ(dlg_.first(), c.first);
        EXPECT_EQ(dlg_.last(), c.last);
    }
    EXPECT_TRUE(prompter_.boxes.empty());
}

TEST_F(RangeDialog, StopAndTheCloseBoxAlwaysCloseAndReadNoField) {
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "BtnExit");
        dlg_.show();
        st()->setFocus();
        st()->setText(QStringLiteral("abc"));
        ed()->setText(QStringLiteral("99999"));
        if (closeBox)
            dlg_.close();
        else
            QTest::mouseClick(exit(), Qt::LeftButton);
        settle();
        EXPECT_FALSE(dlg_.isVisible());
        EXPECT_FALSE(dlg_.confirmed());
        EXPECT_EQ(dlg_.first(), 7);  // as prepared
        EXPECT_EQ(dlg_.last(), 30);
    }
    EXPECT_TRUE(prompter_.boxes.empty()) << prompter_.boxes.front().text;
}

TEST_F(RangeDialog, LeavingAFieldChecksItAgainstOneToTheCapacity) {
    struct Case {
        const char* text;
        const char* message;  // nullptr: accepted
    };
    const Case cases[] = {
        {"501", "入力範囲が不正です！\n最小[ 1 ] 最大[ 500 ]です。"},
        {"0", "入力範囲が不正です！\n最小[ 1 ] 最大[ 500 ]です。"},
        {"1x", "入力文字を数値に変換できません!"},
        {"", "入力文字を数値に変換できません!"},
        {"500", nullptr},
        {"1", nullptr},
    };
    for (const Case& c : cases) {
        for (QLineEdit* field : {st(), ed()}) {
            SCOPED_TRACE(std::string(c.text) + " in " + field->objectName().toStdString());
            prompter_.clear();
            field->setFocus();
            field->setText(QString::fromUtf8(c.text));
            QTest::keyClick(field, Qt::Key_Tab);
            settle();
            if (c.message) {
                EXPECT_EQ(prompter_.texts(), std::vector<std::string>{c.message});
                EXPECT_EQ(prompter_.boxes.at(0).kind, BoxKind::Error);
                EXPECT_EQ(dlg_.focusWidget(), field);  // back to the field
            } else {
                EXPECT_TRUE(prompter_.boxes.empty());
                EXPECT_NE(dlg_.focusWidget(), field);
            }
            field->setText(QStringLiteral("7"));
        }
    }
}

TEST_F(RangeDialog, EnterMovesOnAndLeavingForStopChecksNothing) {
    QTest::keyClick(st(), Qt::Key_Return);
    settle();
    EXPECT_EQ(dlg_.focusWidget(), ed());
    QTest::keyClick(ed(), Qt::Key_Return);
    settle();
    EXPECT_EQ(dlg_.focusWidget(), go());
    EXPECT_TRUE(dlg_.isVisible());
    EXPECT_FALSE(dlg_.confirmed());

    ed()->setFocus();
    ed()->setText(QStringLiteral("x"));
    exit()->setFocus(Qt::MouseFocusReason);
    settle();
    EXPECT_TRUE(prompter_.boxes.empty());
}

TEST_F(RangeDialog, RunWithABadFieldShowsTheCheckAndStaysOpen) {
    ed()->setText(QStringLiteral("9000"));
    QTest::mouseClick(go(), Qt::LeftButton);
    settle();
    EXPECT_EQ(prompter_.texts(), std::vector<std::string>{"入力範囲が不正です！\n最小[ 1 ] 最大[ 500 ]です。"});
    EXPECT_TRUE(dlg_.isVisible());
    EXPECT_FALSE(dlg_.confirmed());
    EXPECT_EQ(dlg_.focusWidget(), ed());
}

// --- the stop window ---

TEST(StopWindow, ShowsTheCountAndEveryWayOfClosingItAsksToStop) {
    QWidget owner;
    TFrmStop stop(&owner);
    EXPECT_EQ(stop.windowTitle(), QStringLiteral("中止"));
    EXPECT_TRUE(stop.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(stop.isModal());
    auto* count = child<QLabel>(stop, "Lbl_Count");
    EXPECT_TRUE(count->alignment() & Qt::AlignRight);

    enum How { Button, CloseBox, Escape };
    for (How how : {Button, CloseBox, Escape}) {
        SCOPED_TRACE(how);
        stop.start();
        EXPECT_TRUE(stop.isVisible());
        EXPECT_FALSE(stop.stopRequested());
        stop.setCount(49);
        EXPECT_EQ(count->text(), QStringLiteral("49"));
        if (how == Button) QTest::mouseClick(child<QPushButton>(stop, "BitBtnStop"), Qt::LeftButton);
        if (how == CloseBox) stop.close();
        if (how == Escape) QTest::keyClick(&stop, Qt::Key_Escape);
        EXPECT_TRUE(stop.stopRequested());
        EXPECT_FALSE(stop.isVisible());
    }
    stop.start();  // a new run starts without the old request
    EXPECT_FALSE(stop.stopRequested());
    stop.finish();
    EXPECT_FALSE(stop.isVisible());
}

TEST(StopWindow, TheStopButtonEndsAPauseAtOnce) {
    TFrmStop stop;
    stop.start();
    bool pauseEnded = false, guardFired = false;
    QTimer::singleShot(0, &stop, [&] { QTest::mouseClick(child<QPushButton>(stop, "BitBtnStop"), Qt::LeftButton); });
    // Only if the button did not end the pause: ends it so the test fails instead of hanging.
    QTimer::singleShot(60000, &stop, [&] {
        if (!pauseEnded) {
            guardFired = true;
            stop.close();
        }
    });
    stop.pause(600000);
    pauseEnded = true;
    EXPECT_FALSE(guardFired);
    EXPECT_TRUE(stop.stopFlag());
}

// --- the lock of a running loop ---

TEST(RunLock, OnlyOtherWindowsTakeInputUntilTheLockEnds) {
    QWidget window;
    auto* button = new QPushButton("x", &window);
    window.show();
    TFrmStop stop(&window);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    {
        RunLock lock(button);  // locks the button's window
        stop.start();
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::keyClick(button, Qt::Key_Space);
        EXPECT_FALSE(window.close());
        EXPECT_TRUE(window.isVisible());
        QTest::mouseClick(child<QPushButton>(stop, "BitBtnStop"), Qt::LeftButton);
        EXPECT_TRUE(stop.stopFlag());
    }
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(window.close());
}

// --- the printer text device and the printout ---

TEST_F(Printing, TheTextDeviceLaysLinesOnPagesInTheMinchoFace) {
    const std::string pdf = dir_.str("lines.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    PrinterTextDevice device(printer);
    ASSERT_TRUE(device.open("ＭＳ 明朝", 9));
    std::vector<std::string> expected;
    for (int i = 1; i <= 200; ++i) {
        const std::string l = sj("行 ") + std::to_string(i);
        device.write(sj("行 "));
        device.write(std::to_string(i));
        device.flush();
        if (i < 200) device.endLine();
        expected.push_back(l);
    }
    device.close();
    EXPECT_EQ(device.lines(), expected);
    EXPECT_GT(device.pages(), 1);
    std::vector<std::string> shown;
    for (const std::string& l : expected) shown.push_back(sjisToUtf8(l));
    EXPECT_EQ(pdfLines(pdf), shown);
    EXPECT_EQ(run("pdfinfo '" + pdf + "' | grep -c '^Pages: *" + std::to_string(device.pages()) + "$'"), "1\n");
    EXPECT_NE(run("pdffonts '" + pdf + "'").find("IPAMincho"), std::string::npos) << run("pdffonts '" + pdf + "'");
}

TEST_F(Printing, ADeviceOnAnUnwritableFileDoesNotOpen) {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(dir_.str("no/such/folder/x.pdf")));
    PrinterTextDevice device(printer);
    EXPECT_FALSE(device.open("ＭＳ 明朝", 9));
}

// The stop window of a run, recording what the loop asked of it.
class WatchedStop : public TFrmStop {
public:
    using TFrmStop::TFrmStop;
    void start() override {
        ++starts;
        TFrmStop::start();
    }
    void setCount(int n) override {
        if (n == 1 && onFirstLine) onFirstLine();
        TFrmStop::setCount(n);
    }
    void pause(int ms) override { pauses.push_back(ms); }
    int starts = 0;
    std::vector<int> pauses;
    std::function<void()> onFirstLine;
};

TEST_F(Printing, TheListPrintedToAPdfReadsBackWithoutPausesWhileTheWindowIsLocked) {
    for (int i = 2; i <= 60; ++i) put(i, active("タイトル" + std::to_string(i), "49880" + std::to_string(i)));
    const std::string pdf = dir_.str("list.pdf");
    ProgramPrinter printer;
    printer.printToPdf(QString::fromStdString(pdf));
    QWidget window;
    auto* button = new QPushButton("x", &window);
    window.show();
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, [&] { ++clicks; });
    WatchedStop stop(&window);
    bool closed = true;
    stop.onFirstLine = [&] {
        QTest::mouseClick(button, Qt::LeftButton);
        closed = window.close();
    };

    // Range 60..1 (0-based 59..0): records 3..60, after an empty line for the empty slots 1 and 2.
    EXPECT_EQ(ui::printDataList(ws_, printer, stop, 1, 500, 59, 0, &window), 0);
    EXPECT_EQ(stop.starts, 1);
    EXPECT_TRUE(stop.pauses.empty());  // 58 lines to a file: no pause after the 50th
    EXPECT_FALSE(stop.isVisible());
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(closed);

    std::vector<std::string> expected{collapsed(dataListHeading())};
    for (int i = 2; i <= 59; ++i) expected.push_back(collapsed(line(i)));
    EXPECT_EQ(pdfLines(pdf), expected);
    EXPECT_EQ(testsupport::pdfTitle(pdf), "Zemoplan データリスト");
    EXPECT_EQ(expected[1], "3 498802 タイトル2 62:05 2024/02/29 2024/03/01");

    QTest::mouseClick(button, Qt::LeftButton);  // unlocked again
    EXPECT_EQ(clicks, 1);
}

TEST_F(Printing, CancellingThePrinterChoicePrintsNothing) {
    put(0, active("T", "1"));
    ProgramPrinter printer;
    WatchedStop stop;
    whenModal<QPrintDialog>([](QPrintDialog* d) { d->reject(); });
    EXPECT_EQ(ui::printDataList(ws_, printer, stop, 1, 500, 0, 10, nullptr), -1);
    EXPECT_EQ(stop.starts, 0);
    EXPECT_TRUE(prompter_.boxes.empty());
}

TEST_F(Printing, APdfThatCannotBeWrittenIsReported) {
    put(0, active("T", "1"));
    ProgramPrinter printer;
    const std::string pdf = dir_.str("no/such/folder/x.pdf");
    printer.printToPdf(QString::fromStdString(pdf));
    WatchedStop stop;
    EXPECT_EQ(ui::printDataList(ws_, printer, stop, 1, 500, 0, 10, nullptr), kDataListDeviceFailed);
    EXPECT_EQ(prompter_.texts(), std::vector<std::string>{"印刷を開始できません\n" + pdf});
    EXPECT_FALSE(stop.isVisible());
}

}  // namespace
}  // namespace zemo
