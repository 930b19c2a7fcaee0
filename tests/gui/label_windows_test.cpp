// SPDX-License-Identifier: GPL-3.0-or-later
// The label window (preview, zoom, printing into a PDF read back with pdftotext), the date/title
// dialog and the label layout dialog, driven offscreen by their controls' names.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "records/shuf_tape.h"
#include "platform/sjis.h"
#include "printing/ui/frm_lbl_inp.h"
#include "printing/ui/frm_lbpr_ctl.h"
#include "printing/ui/frm_prn_label.h"
#include "records/control_file.h"
#include "support/fixed_clock.h"
#include "support/pdf_text.h"
#include "support/scripted_prompter.h"
#include "ui/printer.h"

namespace {

namespace fs = std::filesystem;
using zemo::Answer;
using zemo::LabelLayout;
using zemo::guitest::whenModal;
using zemo::testsupport::pdfLines;
using zemo::ui::TFrmLblInp;
using zemo::ui::TFrmLbprCtl;
using zemo::ui::TFrmPrnLabel;
using Bytes = std::string;
using Lines = std::vector<std::string>;
using zemo::guitest::child;
using zemo::guitest::leave;
using zemo::guitest::readBytes;
using zemo::guitest::showActive;

zemo::CdRecord cd(const std::string& title, const std::string& artist, int seconds) {
    zemo::CdRecord r = zemo::clearedRecord();
    r.active = 1;
    zemo::setField(r.title, zemo::sj(title));
    zemo::setField(r.artist, zemo::sj(artist));
    r.timeSec = seconds;
    return r;
}

class LabelWindowsTest : public ::testing::Test {
protected:
    LabelWindowsTest() {
        zemo::initControlDefaults(ws);
        ws.executablePath = dir.path() / "zemoplan";
        plan.count = 3;
        plan.cds[0] = cd("Blue Train", "Coltrane", 2532);
        plan.cds[1] = cd("Kind of Blue", "Davis", 2759);
        plan.cds[2] = cd("Moanin", "Blakey", 2330);
        plan.countA = 2;
        plan.sideA[0] = 1;
        plan.sideA[1] = 2;
        plan.countB = 1;
        plan.sideB[0] = 3;
    }

    LabelLayout layout() const { return zemo::labelLayoutFrom(ws.control.labelBlock); }
    void setLayout(const LabelLayout& l) { zemo::storeLabelLayout(ws.control.labelBlock, l); }
    fs::path ctl() const { return dir.path() / "ZEMOCTRL.DAT"; }

    zemo::guitest::TempDir dir{"zemo-label-ui"};
    zemo::ScriptedPrompter prompter;
    zemo::FixedClock clock{zemo::LocalTime{2024, 5, 19, 7, 8, 9}};
    zemo::Workspace ws{prompter, clock, dir.path()};
    zemo::FontSetting font;
    zemo::ui::ProgramPrinter printer;
    zemo::ShufTape plan{};
};

TEST_F(LabelWindowsTest, ZoomStopsAtTenthAndTwiceAndScalesThePreview) {
    TFrmPrnLabel w(ws, font, printer);
    w.setPlan(&plan);
    w.show();
    EXPECT_EQ(w.windowTitle(), "ラベル印刷");
    auto* rate = child<QLabel>(w, "Lbl_Rate");
    EXPECT_EQ(rate->text(), "1.0");
    EXPECT_EQ(w.labelDate(), 20240519);  // the first composition fixes it
    const QSize atOne = w.preview().size();
    ASSERT_GT(atOne.width(), 0);
    auto* in = child<QToolButton>(w, "BitBtnBig");
    auto* out = child<QToolButton>(w, "BitBtn1");
    for (int i = 0; i < 12; ++i) QTest::mouseClick(in, Qt::LeftButton);
    EXPECT_EQ(w.zoom(), 20);
    EXPECT_EQ(rate->text(), "2.0");
    EXPECT_NEAR(w.preview().width(), 2 * atOne.width(), 1);
    EXPECT_NEAR(w.preview().height(), 2 * atOne.height(), 1);
    for (int i = 0; i < 25; ++i) QTest::mouseClick(out, Qt::LeftButton);
    EXPECT_EQ(w.zoom(), 1);
    EXPECT_EQ(rate->text(), "0.1");
    EXPECT_NEAR(w.preview().width(), atOne.width() / 10, 1);
    QTest::mouseClick(in, Qt::LeftButton);
    EXPECT_EQ(rate->text(), "0.2");
    // Something was drawn on the white preview.
    const QImage img = w.preview();
    bool inked = false;
    for (int y = 0; y < img.height() && !inked; ++y)
        for (int x = 0; x < img.width() && !inked; ++x) inked = img.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(inked);
    w.close();
}

TEST_F(LabelWindowsTest, PrintsTheLabelIntoAPdfAfterTheQuestion) {
    const fs::path pdf = dir.path() / "label.pdf";
    printer.printToPdf(QString::fromStdString(pdf.string()));
    TFrmPrnLabel w(ws, font, printer);
    w.setPlan(&plan);
    w.show();
    prompter.answers.push_back(Answer::Cancel);
    QTest::mouseClick(child<QPushButton>(w, "BtnPrint"), Qt::LeftButton);
    EXPECT_FALSE(fs::exists(pdf));
    prompter.answers.push_back(Answer::Yes);
    QTest::mouseClick(child<QToolButton>(w, "SpdBtnPrint"), Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), (Lines{"ラベル印刷します。よろしいですか？", "ラベル印刷します。よろしいですか？"}));
    const Lines expected = {"Ａ面", "1 Blue Train Coltrane 42:12", "2 Kind of Blue Davis 45:59", "Ｂ面",
                            "1 Moanin Blakey 38:50"};
    EXPECT_EQ(pdfLines(pdf), expected);
    w.close();
}

TEST_F(LabelWindowsTest, TheDateAndTitleDialogSetsWhatIsPrintedAndItsCancelAlwaysCloses) {
    LabelLayout l = layout();
    l.titlePrint = 1;
    l.dateInput = 1;
    l.titleChars = 20;
    setLayout(l);
    const fs::path pdf = dir.path() / "titled.pdf";
    printer.printToPdf(QString::fromStdString(pdf.string()));
    TFrmPrnLabel w(ws, font, printer);
    w.setPlan(&plan);
    w.show();

    // 中止 with a date field that is no date: the dialog closes, no check, nothing printed.
    prompter.answers.push_back(Answer::Yes);
    whenModal<TFrmLblInp>([](TFrmLblInp* d) {
        EXPECT_EQ(d->windowTitle(), "日付/タイトル入力");
        auto* date = d->findChild<QLineEdit*>("Edt_date");
        EXPECT_EQ(date->text(), "20240519");
        EXPECT_EQ(d->focusWidget(), date);
        date->setText("abc");
        QTest::mouseClick(d->findChild<QPushButton*>("BtnExit"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(w, "BtnPrint"), Qt::LeftButton);
    EXPECT_FALSE(w.dateTitleDialog()->isVisible());
    EXPECT_FALSE(fs::exists(pdf));
    EXPECT_EQ(prompter.texts(), (Lines{"ラベル印刷します。よろしいですか？"}));

    // 実行 checks the date first; a refused date keeps the dialog open.
    prompter.clear();
    prompter.answers.push_back(Answer::Yes);
    whenModal<TFrmLblInp>([](TFrmLblInp* d) {
        auto* date = d->findChild<QLineEdit*>("Edt_date");
        date->setText("20241340");
        QTest::mouseClick(d->findChild<QPushButton*>("BtnGo"), Qt::LeftButton);
        EXPECT_TRUE(d->isVisible());
        date->setText("19961219");
        d->findChild<QLineEdit*>("Edt_lttl")->setText("ジャズ名盤");
        QTest::mouseClick(d->findChild<QPushButton*>("BtnGo"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(w, "BtnPrint"), Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), (Lines{"ラベル印刷します。よろしいですか？", "存在しない日付です!"}));
    EXPECT_EQ(w.labelDate(), 19961219);
    EXPECT_EQ(zemo::sjisToUtf8(zemo::fieldText(layout().labelTitle)), "ジャズ名盤");
    const Lines lines = pdfLines(pdf);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "ジャズ名盤 96/12/19");
    w.close();
}

TEST_F(LabelWindowsTest, TheFontAndItsColourAreChosenAndStoredAtClosing) {
    TFrmPrnLabel w(ws, font, printer);
    w.setPlan(&plan);
    w.show();
    whenModal<QFontDialog>([](QFontDialog* d) {
        QFont f(QStringLiteral("IPAGothic"));
        f.setPointSize(14);
        d->setCurrentFont(f);
        whenModal<QColorDialog>([](QColorDialog* c) {
            c->setCurrentColor(QColor(0x12, 0x34, 0x56));
            c->accept();
        });
        d->accept();
    });
    QTest::mouseClick(child<QPushButton>(w, "BtnFont"), Qt::LeftButton);
    EXPECT_EQ(w.labelFont().size, 14);
    EXPECT_EQ(w.labelFont().name, "IPAGothic");
    EXPECT_EQ(w.labelFont().style, 0);  // the dialog's font is not bold
    EXPECT_EQ(w.labelFont().color, 0x563412);
    EXPECT_EQ(font, zemo::FontSetting{});  // stored only when the window closes
    w.close();
    EXPECT_EQ(font, w.labelFont());
}

// ---- the layout dialog ----

class LayoutDialogTest : public LabelWindowsTest {
protected:
    void endWith(QWidget& dlg, Answer a) {
        prompter.answers.push_back(a);
        QTest::mouseClick(child<QPushButton>(dlg, "BtnF01"), Qt::LeftButton);
    }
};

TEST_F(LayoutDialogTest, NumericFieldsRefuseWhatIsOutsideTheirRange) {
    TFrmLbprCtl dlg(ws);
    showActive(dlg);
    EXPECT_EQ(dlg.windowTitle(), "ラベル印刷設定");
    struct Case {
        const char* field;
        const char* text;
        const char* message;  // empty: accepted
        int stored;
    };
    const Case cases[] = {
        {"Edit_pitx", "-5", "", -5},
        {"Edit_pitx", "100", "入力範囲が不正です！\n最小[ -99 ] 最大[ 99 ]です。", -5},
        {"Edit_pitx", "-99", "", -99},
        {"Edit_pitx", "abc", "入力文字を数値に変換できません!", -99},
        {"Edit_Tcrlf_v", "999", "", 999},
        {"Edit_Tcrlf_v", "-1", "入力範囲が不正です！\n最小[ 0 ] 最大[ 999 ]です。", 999},
        {"hEdit_ttl_B", "99", "", 99},
    };
    auto storedOf = [&](const std::string& field) -> int {
        const LabelLayout& w = dlg.working();
        if (field == "Edit_pitx") return w.pitchX;
        if (field == "Edit_Tcrlf_v") return w.titleFeedV;
        return w.horizontal.sides[zemo::kSideB].titleWidth;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.text);
        prompter.clear();
        auto* edit = child<QLineEdit>(dlg, c.field);
        edit->setFocus();
        edit->setText(c.text);
        leave(edit);
        if (*c.message) {
            EXPECT_EQ(prompter.texts(), (Lines{c.message}));
            EXPECT_EQ(dlg.focusWidget(), edit);
        } else {
            EXPECT_TRUE(prompter.texts().empty());
        }
        EXPECT_EQ(storedOf(c.field), c.stored);
    }
    // The B edits take as many characters as their A twins.
    auto* a = child<QLineEdit>(dlg, "Edit_ttl_A");
    auto* b = child<QLineEdit>(dlg, "Edit_ttl_B");
    for (QLineEdit* e : {a, b}) {
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, "1234");
        EXPECT_EQ(e->text(), "12");
    }
    prompter.clear();
    endWith(dlg, Answer::No);
}

TEST_F(LayoutDialogTest, PresetsAreStoredFromTheRecordAndLoadedIntoIt) {
    LabelLayout l = layout();
    l.titleFeedV = 11;
    setLayout(l);
    TFrmLbprCtl dlg(ws);
    showActive(dlg);
    EXPECT_FALSE(dlg.layoutChanged());
    // A numeric edit not yet saved is not part of what is stored.
    auto* feed = child<QLineEdit>(dlg, "Edit_Tcrlf_v");
    feed->setFocus();
    feed->setText("22");
    leave(feed);
    child<QAction>(dlg, "W_ALBUM1")->trigger();
    EXPECT_EQ(zemo::labelLayoutFrom(ws.control.labelPresets[2]).titleFeedV, 11);
    EXPECT_EQ(child<QAction>(dlg, "W_ALBUM1")->text(), "ｱﾙﾊﾞﾑﾃﾞｰﾀ1");

    LabelLayout other = layout();
    other.titleFeedV = 33;
    other.vertical.sides[zemo::kSideB].dataSpace = 7;
    zemo::storeLabelLayout(ws.control.labelPresets[1], other);
    child<QAction>(dlg, "R_SINGLE2")->trigger();
    EXPECT_TRUE(dlg.layoutChanged());
    EXPECT_EQ(layout().titleFeedV, 33);
    EXPECT_EQ(feed->text(), "33");
    EXPECT_EQ(child<QLineEdit>(dlg, "Edit_dlsp_B")->text(), "7");
    endWith(dlg, Answer::Cancel);
    EXPECT_TRUE(dlg.isVisible());
    // No: the record comes back from its file (none here: kept as it was) and nothing changed.
    prompter.clear();
    ASSERT_EQ(zemo::saveControl(ws), 0);
    LabelLayout onDisk = layout();
    onDisk.titleFeedV = 44;
    setLayout(onDisk);
    ASSERT_EQ(zemo::saveControl(ws), 0);
    child<QAction>(dlg, "R_SINGLE2")->trigger();
    endWith(dlg, Answer::No);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(dlg.layoutChanged());
    EXPECT_EQ(layout().titleFeedV, 44);
}

TEST_F(LayoutDialogTest, ResetPutsBackOnlyTheGeneralDefaults) {
    LabelLayout l = layout();
    l.titleFeedV = 9;
    l.titlePrint = 1;
    l.titleChars = 5;
    l.subtitleKind = 2;
    l.dateInput = 1;
    l.pitchX = -3;
    l.orientation = 2;
    zemo::setField(l.labelTitle, "KEEP");
    l.vertical.sides[zemo::kSideA].titleWidth = 12;
    l.horizontal.sides[zemo::kSideB].dataFeed = 4;
    setLayout(l);
    TFrmLbprCtl dlg(ws);
    showActive(dlg);
    EXPECT_EQ(child<QComboBox>(dlg, "CmbBox_sttl")->currentIndex(), 2);
    EXPECT_TRUE(child<QRadioButton>(dlg, "RdoGrpVH2")->isChecked());
    prompter.answers.push_back(Answer::Cancel);
    QTest::mouseClick(child<QPushButton>(dlg, "BtnF10"), Qt::LeftButton);
    EXPECT_EQ(layout().titleFeedV, 9);
    prompter.answers.push_back(Answer::Ok);
    QTest::mouseClick(child<QPushButton>(dlg, "BtnF10"), Qt::LeftButton);
    EXPECT_EQ(prompter.texts(), (Lines{"初期化します。", "初期化します。"}));
    LabelLayout want = l;
    zemo::ui::resetGeneralLabelDefaults(want);
    EXPECT_EQ(std::memcmp(&want, ws.control.labelBlock, sizeof want), 0);
    EXPECT_EQ(layout().titleFeedV, 4);
    EXPECT_EQ(layout().pitchX, -3);
    EXPECT_EQ(layout().vertical.sides[zemo::kSideA].titleWidth, 12);
    EXPECT_EQ(layout().horizontal.sides[zemo::kSideB].dataFeed, 4);
    EXPECT_EQ(child<QLineEdit>(dlg, "Edit_Tcrlf_v")->text(), "4");
    EXPECT_FALSE(child<QCheckBox>(dlg, "CkBx_Tlb")->isChecked());
    EXPECT_EQ(child<QComboBox>(dlg, "CmbBox_sttl")->currentIndex(), 0);
    EXPECT_EQ(child<QLineEdit>(dlg, "Edit_ttl_A")->text(), "12");
    EXPECT_EQ(child<QLineEdit>(dlg, "Edit_lttl")->text(), "KEEP");
    prompter.clear();
    endWith(dlg, Answer::No);
}

TEST_F(LayoutDialogTest, YesChangesOnlyTheLabelBytesOfTheFileAndNoLeavesItAsItWas) {
    ASSERT_EQ(zemo::saveControl(ws), 0);
    ASSERT_EQ(zemo::loadControl(ws, false), 0);
    const Bytes before = readBytes(ctl());
    {
        TFrmLbprCtl dlg(ws);
        showActive(dlg);
        auto* feed = child<QLineEdit>(dlg, "hEdit_dcrlf_A");
        feed->setFocus();
        feed->setText("3");
        leave(feed);
        child<QCheckBox>(dlg, "CkBx_Tinp")->setChecked(true);
        endWith(dlg, Answer::No);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(readBytes(ctl()), before);
        EXPECT_EQ(layout().titleInput, 0);
    }
    ws.control.backupMode = 1;  // no .BAK, so that only the file itself is compared
    ASSERT_EQ(zemo::saveControl(ws), 0);
    const Bytes fresh = readBytes(ctl());
    TFrmLbprCtl dlg(ws);
    showActive(dlg);
    auto* feed = child<QLineEdit>(dlg, "hEdit_dcrlf_A");
    feed->setFocus();
    feed->setText("3");
    leave(feed);
    child<QCheckBox>(dlg, "CkBx_Tinp")->setChecked(true);
    child<QLineEdit>(dlg, "Edit_lttl")->setText("新譜");
    endWith(dlg, Answer::Yes);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.layoutChanged());
    const Bytes after = readBytes(ctl());
    ASSERT_EQ(after.size(), fresh.size());
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < after.size(); ++i)
        if (after[i] != fresh[i]) changed.push_back(i);
    ASSERT_FALSE(changed.empty());
    for (std::size_t i : changed) EXPECT_TRUE(i >= 1056 && i < 1056 + 192) << i;
    EXPECT_EQ(layout().titleInput, 1);
    EXPECT_EQ(layout().horizontal.sides[zemo::kSideA].dataFeed, 3);
    EXPECT_EQ(zemo::sjisToUtf8(zemo::fieldText(layout().labelTitle)), "新譜");
}

TEST_F(LayoutDialogTest, AFailedSaveKeepsTheDialogOpenAndTheRecordAsBeforeYes) {
    ASSERT_EQ(zemo::saveControl(ws), 0);
    ws.control.backupMode = 1;
    TFrmLbprCtl dlg(ws);
    showActive(dlg);
    child<QAction>(dlg, "R_SINGLE1")->trigger();  // acts on the record at once
    const zemo::SysControl beforeYes = ws.control;
    child<QCheckBox>(dlg, "CkBx_Tlb")->setChecked(true);
    fs::remove(ctl());
    fs::create_directory(ctl());  // the file cannot be written
    prompter.answers.push_back(Answer::Yes);
    QTest::keyClick(&dlg, Qt::Key_Escape);  // Esc asks the same question
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_FALSE(prompter.texts().empty());
    EXPECT_EQ(prompter.texts()[0], "保存終了します。");
    EXPECT_EQ(std::memcmp(&beforeYes, &ws.control, sizeof beforeYes), 0);
    fs::remove(ctl());
    prompter.clear();
    endWith(dlg, Answer::No);
}

}  // namespace
