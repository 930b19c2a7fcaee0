// SPDX-License-Identifier: GPL-3.0-or-later
// The tape-planning settings dialog, the tape-length dialog and the error-correction dialog, and
// the main window's commands that open the two settings dialogs.
#include <gtest/gtest.h>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "planning/plan_engine.h"
#include "planning/plan_results.h"
#include "planning/ui/frm_shuf_ctrl.h"
#include "planning/ui/frm_sys_revi.h"
#include "planning/ui/frm_tape.h"
#include "records/control_file.h"
#include "records/text.h"
#include "records/window_settings.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_windows.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "ui/field_checks.h"

namespace {

namespace fs = std::filesystem;
using zemo::Answer;
using zemo::BoxKind;
using zemo::guitest::whenModal;
using zemo::ui::TFrmShufCtrl;
using zemo::ui::TFrmSysRevi;
using zemo::ui::TFrmTape;
using Bytes = std::string;
using zemo::guitest::child;
using zemo::guitest::enter;
using zemo::guitest::leave;
using zemo::guitest::readBytes;
using zemo::guitest::showActive;
using zemo::guitest::valueAt;

const std::string kQuestion = "保存終了します。";
const std::string kTimeRange = "入力範囲が不正です！\n最小[ 0 ] 最大[ 999959 ]です。";
const std::string kStartRange = "入力範囲が不正です！\n最小[ 1 ] 最大[ 30 ]です。";
const std::string kMinutesRange = "入力範囲が不正です！\n最小[ 0 ] 最大[ 999 ]です。";
const std::string kNotTime = "入力文字を時間数値に変換できません!";
const std::string kNotNumber = "入力文字を数値に変換できません!";

Bytes bytesOf(const zemo::SysControl& c) { return Bytes(reinterpret_cast<const char*>(&c), sizeof c); }

// Offsets (of the file and of the record) where two byte strings differ.
std::vector<std::size_t> differences(const Bytes& a, const Bytes& b) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i]) out.push_back(i);
    return out;
}

class PlanningDialogsTest : public ::testing::Test {
protected:
    PlanningDialogsTest() {
        zemo::initControlDefaults(ws);
        ws.executablePath = dir.path() / "zemoplan";
        ws.createArrays(1);
    }

    void saveFile() { ASSERT_EQ(zemo::saveControl(ws), 0); }
    fs::path ctl() const { return dir.path() / "ZEMOCTRL.DAT"; }
    Bytes file() const { return readBytes(ctl()); }

    void endWith(QWidget& dlg, Answer a) {
        prompter.answers.push_back(a);
        QTest::mouseClick(child<QPushButton>(dlg, "BtnF01"), Qt::LeftButton);
    }

    // Makes the control file unwritable: a folder in its place.
    void blockTheFile() {
        fs::remove(ctl());
        fs::create_directories(ctl() / "x");
    }

    zemo::guitest::TempDir dir{"zemo-plandlg"};
    zemo::ScriptedPrompter prompter;
    zemo::FixedClock clock{zemo::LocalTime{2024, 5, 6, 7, 8, 9}};
    zemo::Workspace ws{prompter, clock, dir.path()};
};

// ---- planning settings ----

struct FieldCase {
    const char* field;
    const char* text;
    const std::string* message;  // nullptr: accepted
};

TEST_F(PlanningDialogsTest, SettingsFieldsAreCheckedAtTheirEdges) {
    zemo::ShufControl& s = ws.control.shuffleBlock;
    s.targetSec = 1800;
    s.tolerance = 10;
    s.startA = 3;
    s.startB = 4;
    saveFile();
    TFrmShufCtrl dlg(ws);
    showActive(dlg);
    EXPECT_EQ(dlg.windowTitle(), "振分けコントロール設定");
    EXPECT_EQ(child<QLineEdit>(dlg, "Edt_stim")->text(), "3000");
    EXPECT_EQ(child<QLineEdit>(dlg, "Edt_less")->text(), "10");
    EXPECT_EQ(child<QLineEdit>(dlg, "Edt_divA")->text(), "3");
    EXPECT_EQ(child<QLineEdit>(dlg, "Edt_divB")->text(), "4");
    EXPECT_EQ(child<QLabel>(dlg, "Lbl_stim")->text(), "(   30:00)");
    EXPECT_EQ(child<QLabel>(dlg, "Lbl_less")->text(), "(    0:10)");
    EXPECT_EQ(dlg.focusWidget(), child<QLineEdit>(dlg, "Edt_stim"));

    // After each case: targetSec, tolerance, startA, startB of the dialog's copy.
    struct Case {
        FieldCase in;
        std::int32_t target, tolerance;
        int startA, startB;
    };
    const Case cases[] = {
        {{"Edt_stim", "999959", nullptr}, 599999, 10, 3, 4},
        {{"Edt_stim", "999960", &kTimeRange}, 599999, 10, 3, 4},
        {{"Edt_stim", "-1", &kTimeRange}, 599999, 10, 3, 4},
        {{"Edt_stim", "12a", &kNotTime}, 599999, 10, 3, 4},
        {{"Edt_stim", "", &kNotTime}, 599999, 10, 3, 4},
        {{"Edt_stim", "0", nullptr}, 0, 10, 3, 4},
        {{"Edt_stim", "1299", nullptr}, 819, 10, 3, 4},  // the seconds are not tested below 60
        {{"Edt_less", "0", nullptr}, 819, 0, 3, 4},
        {{"Edt_less", "999960", &kTimeRange}, 819, 0, 3, 4},
        {{"Edt_less", "x", &kNotTime}, 819, 0, 3, 4},
        {{"Edt_less", "999959", nullptr}, 819, 599999, 3, 4},
        {{"Edt_divA", "1", nullptr}, 819, 599999, 1, 4},
        {{"Edt_divA", "0", &kStartRange}, 819, 599999, 1, 4},
        {{"Edt_divA", "31", &kStartRange}, 819, 599999, 1, 4},
        {{"Edt_divA", "a", &kNotNumber}, 819, 599999, 1, 4},
        {{"Edt_divA", "30", nullptr}, 819, 599999, 30, 4},
        {{"Edt_divB", "30", nullptr}, 819, 599999, 30, 30},
        {{"Edt_divB", "31", &kStartRange}, 819, 599999, 30, 30},
        {{"Edt_divB", "0", &kStartRange}, 819, 599999, 30, 30},
        {{"Edt_divB", "1", nullptr}, 819, 599999, 30, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.in.field) + " " + c.in.text);
        prompter.clear();
        auto* edit = child<QLineEdit>(dlg, c.in.field);
        enter(dlg, c.in.field, QString::fromUtf8(c.in.text));
        if (c.in.message) {
            ASSERT_EQ(prompter.boxes.size(), 1u);
            EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Error);
            EXPECT_EQ(prompter.boxes[0].text, *c.in.message);
            EXPECT_EQ(dlg.focusWidget(), edit);
            // Back to the value last accepted, so that the next case leaves a sound field.
            const std::string f = c.in.field;
            edit->setText(QString::number(f == "Edt_divA"   ? c.startA
                                          : f == "Edt_divB" ? c.startB
                                          : f == "Edt_stim" ? zemo::secondsToMmss(c.target)
                                                            : zemo::secondsToMmss(c.tolerance)));
        } else {
            EXPECT_TRUE(prompter.boxes.empty());
            EXPECT_NE(dlg.focusWidget(), edit);
        }
        EXPECT_EQ(dlg.block().targetSec, c.target);
        EXPECT_EQ(dlg.block().tolerance, c.tolerance);
        EXPECT_EQ(dlg.block().startA, c.startA);
        EXPECT_EQ(dlg.block().startB, c.startB);
    }
    EXPECT_EQ(child<QLabel>(dlg, "Lbl_stim")->text(), "(   13:39)");
    EXPECT_EQ(child<QLabel>(dlg, "Lbl_less")->text(), "( 9999:59)");

    // Typing stops at the widths; a refused text still in a field keeps the dialog open.
    auto* divA = child<QLineEdit>(dlg, "Edt_divA");
    divA->setFocus();
    divA->selectAll();
    QTest::keyClicks(divA, "456");
    EXPECT_EQ(divA->text(), "45");
    auto* stim = child<QLineEdit>(dlg, "Edt_stim");
    stim->setFocus();
    stim->selectAll();
    QTest::keyClicks(stim, "1234567");
    EXPECT_EQ(stim->text(), "123456");
    divA->setFocus();
    QCoreApplication::processEvents();
    // Closing refuses it once more and asks; Cancel stays, No leaves without correcting it.
    prompter.clear();
    prompter.answers.push_back(Answer::Cancel);
    QTest::mouseClick(child<QPushButton>(dlg, "BtnF01"), Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{kStartRange, kQuestion + "\n" + zemo::ui::FieldChecks::kKeptValueNote}));
    prompter.clear();
    endWith(dlg, Answer::No);
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(PlanningDialogsTest, SettingsShowTheStoredSwitchesAndYesWritesOnlyTheShuffleBlock) {
    ws.control.shuffleBlock.fixedA = 7;  // run-time values go back as the block holds them
    ws.control.shuffleBlock.csvLayout = 1;
    saveFile();
    ASSERT_EQ(zemo::loadControl(ws, false), 0);  // a freshly loaded record
    const Bytes before = file();
    const Bytes memoryBefore = bytesOf(ws.control);

    TFrmShufCtrl dlg(ws);
    showActive(dlg);
    struct Group {
        const char* name;
        const char* title;
        const char* item0;
        const char* item1;
        int stored;   // the creation default shown
        int clicked;  // the item chosen in the test
        std::size_t offset;
    };
    const Group groups[] = {{"RdoGrp1", "最適化", "す  る", "しない", 0, 1, 834},
                            {"RdoGrp2", "A面最適化", "す  る", "しない", 0, 1, 838},
                            {"RdoGrp3", "登録順優先", "しない", "す  る", 0, 1, 836},
                            {"RdoGrp4", "ﾃﾞｰﾀ強制設定", "しない", "す  る", 0, 1, 842},
                            {"RdiGrp5", "有効秒差", " ＋－ ", "  ＋  ", 1, 0, 854}};
    for (const Group& g : groups) {
        SCOPED_TRACE(g.name);
        EXPECT_EQ(child<QGroupBox>(dlg, g.name)->title(), QString::fromUtf8(g.title));
        QRadioButton* items[2] = {child<QRadioButton>(dlg, (std::string(g.name) + "0").c_str()),
                                  child<QRadioButton>(dlg, (std::string(g.name) + "1").c_str())};
        EXPECT_EQ(items[0]->text(), QString::fromUtf8(g.item0));
        EXPECT_EQ(items[1]->text(), QString::fromUtf8(g.item1));
        EXPECT_TRUE(items[g.stored]->isChecked());
        QTest::mouseClick(items[g.clicked], Qt::LeftButton);
    }
    EXPECT_EQ(child<QPushButton>(dlg, "BtnF01")->text(), "終了");
    enter(dlg, "Edt_stim", "3000");
    enter(dlg, "Edt_divB", "2");
    EXPECT_FALSE(dlg.saved());
    endWith(dlg, Answer::Yes);

    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.saved());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{kQuestion});
    const Bytes after = file();
    ASSERT_EQ(after.size(), 2048u);
    for (std::size_t i : differences(before, after)) EXPECT_TRUE(i >= 832 && i < 896) << "byte " << i;
    for (const Group& g : groups) EXPECT_EQ(valueAt<std::int16_t>(after, g.offset), g.clicked) << g.name;
    EXPECT_EQ(valueAt<std::int32_t>(after, 868), 1800);
    EXPECT_EQ(valueAt<std::int16_t>(after, 848), 2);
    EXPECT_EQ(valueAt<std::int16_t>(after, 846), 1);
    EXPECT_EQ(valueAt<std::int32_t>(after, 864), 5);
    EXPECT_EQ(valueAt<std::int16_t>(after, 850), 7);
    EXPECT_EQ(valueAt<std::int16_t>(after, 832), 1);
    // Memory: only the block changed, and it is what the file holds.
    for (std::size_t i : differences(memoryBefore, bytesOf(ws.control))) EXPECT_TRUE(i >= 832 && i < 896) << i;
    EXPECT_EQ(bytesOf(ws.control).substr(832, 64), after.substr(832, 64));
}

TEST_F(PlanningDialogsTest, SettingsNoLeavesTheFileAndReloadsTheRecord) {
    saveFile();
    const Bytes before = file();
    ws.control.refCdTime = 4321;  // changed in memory by someone, never saved
    TFrmShufCtrl dlg(ws);
    showActive(dlg);
    enter(dlg, "Edt_stim", "2500");
    QTest::mouseClick(child<QRadioButton>(dlg, "RdoGrp11"), Qt::LeftButton);
    endWith(dlg, Answer::No);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(dlg.saved());
    EXPECT_EQ(file(), before);
    EXPECT_FALSE(fs::exists(dir.path() / "ZEMOCTRL.BAK"));
    EXPECT_EQ(bytesOf(ws.control).substr(128), before.substr(128));
    EXPECT_EQ(ws.control.refCdTime, 0);
}

TEST_F(PlanningDialogsTest, SettingsFailedSaveStaysOpenWithMemoryAsBefore) {
    saveFile();
    blockTheFile();
    const Bytes before = bytesOf(ws.control);
    TFrmShufCtrl dlg(ws);
    showActive(dlg);
    enter(dlg, "Edt_less", "30");
    QTest::mouseClick(child<QRadioButton>(dlg, "RdoGrp41"), Qt::LeftButton);
    endWith(dlg, Answer::Yes);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.saved());
    ASSERT_EQ(prompter.boxes.size(), 2u);  // the question and the save's report
    EXPECT_EQ(prompter.boxes[1].kind, BoxKind::Error);
    EXPECT_EQ(bytesOf(ws.control), before);

    fs::remove_all(ctl());
    prompter.clear();
    endWith(dlg, Answer::Yes);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.saved());
    EXPECT_EQ(valueAt<std::int32_t>(file(), 864), 30);
    EXPECT_EQ(valueAt<std::int16_t>(file(), 842), 1);
}

TEST_F(PlanningDialogsTest, SettingsOpenedFromPlanningShowTheStoredTargetNotAChosenTape) {
    saveFile();
    ws.control.shuffleBlock.targetSec = 1800;  // a tape length chosen, not saved
    TFrmShufCtrl dlg(ws);
    QString shown;
    whenModal<TFrmShufCtrl>([&](TFrmShufCtrl* d) {
        shown = child<QLineEdit>(*d, "Edt_stim")->text();
        prompter.answers.push_back(Answer::No);
        d->close();
    });
    EXPECT_FALSE(dlg.execReloaded());
    EXPECT_EQ(shown, "0");
    EXPECT_EQ(ws.control.shuffleBlock.targetSec, 0);
}

TEST_F(PlanningDialogsTest, SettingsEnterMovesTheFocusAndEscAsksTheQuestion) {
    saveFile();
    TFrmShufCtrl dlg(ws);
    showActive(dlg);
    auto* stim = child<QLineEdit>(dlg, "Edt_stim");
    QTest::keyClick(stim, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.focusWidget(), child<QLineEdit>(dlg, "Edt_less"));
    auto* end = child<QPushButton>(dlg, "BtnF01");
    end->setFocus();
    QTest::keyClick(end, Qt::Key_Enter);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(prompter.boxes.empty());
    prompter.answers.push_back(Answer::Cancel);
    QTest::keyClick(dlg.focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    prompter.answers.push_back(Answer::No);
    QTest::keyClick(dlg.focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kQuestion, kQuestion}));
}

// ---- error correction ----

TEST_F(PlanningDialogsTest, CorrectionFieldsAreCheckedAndTheRatioFollows) {
    saveFile();
    TFrmSysRevi dlg(ws);
    showActive(dlg);
    EXPECT_EQ(dlg.windowTitle(), "誤差補正の設定");
    const std::pair<const char*, const char*> captions[] = {
        {"Lbl_Cd", "基準ＣＤ時間"}, {"Lbl_hard", "使用機械時間"}, {"Lbl_Revise", "補正率"}};
    for (auto [name, text] : captions) EXPECT_EQ(child<QLabel>(dlg, name)->text(), QString::fromUtf8(text)) << name;
    EXPECT_EQ(child<QPushButton>(dlg, "BtnF01")->text(), "終了");
    EXPECT_EQ(child<QLineEdit>(dlg, "Edt_Cdtime")->text(), "0");
    EXPECT_EQ(child<QLabel>(dlg, "Lbl_Cdtime")->text(), "(    0:00)");
    EXPECT_EQ(child<QLabel>(dlg, "Lbl_Revdata")->text(), "     1.00000");

    struct Case {
        FieldCase in;
        std::int32_t ref, machine;
        const char* ratio;
    };
    const Case cases[] = {
        {{"Edt_Cdtime", "999959", nullptr}, 599999, 0, "     1.00000"},
        {{"Edt_Cdtime", "999960", &kTimeRange}, 599999, 0, "     1.00000"},
        {{"Edt_Cdtime", "-1", &kTimeRange}, 599999, 0, "     1.00000"},
        {{"Edt_Cdtime", "12a", &kNotTime}, 599999, 0, "     1.00000"},
        {{"Edt_Cdtime", "", &kNotTime}, 599999, 0, "     1.00000"},
        {{"Edt_Cdtime", "6000", nullptr}, 3600, 0, "     1.00000"},
        {{"Edt_Hardtime", "999960", &kTimeRange}, 3600, 0, "     1.00000"},
        {{"Edt_Hardtime", "6030", nullptr}, 3600, 3630, "     0.99167"},
        {{"Edt_Hardtime", "5400", nullptr}, 3600, 3240, "     1.11111"},
        {{"Edt_Hardtime", "0", nullptr}, 3600, 0, "     1.00000"},
        {{"Edt_Hardtime", "6030", nullptr}, 3600, 3630, "     0.99167"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.in.field) + " " + c.in.text);
        prompter.clear();
        auto* edit = child<QLineEdit>(dlg, c.in.field);
        enter(dlg, c.in.field, QString::fromUtf8(c.in.text));
        if (c.in.message) {
            ASSERT_EQ(prompter.boxes.size(), 1u);
            EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Error);
            EXPECT_EQ(prompter.boxes[0].text, *c.in.message);
            EXPECT_EQ(dlg.focusWidget(), edit);
            const std::int32_t kept = c.in.field == std::string("Edt_Cdtime") ? c.ref : c.machine;
            edit->setText(QString::number(zemo::secondsToMmss(kept)));
        } else {
            EXPECT_TRUE(prompter.boxes.empty());
        }
        EXPECT_EQ(dlg.refCdTime(), c.ref);
        EXPECT_EQ(dlg.machineTime(), c.machine);
        EXPECT_EQ(child<QLabel>(dlg, "Lbl_Revdata")->text(), c.ratio);
    }
    EXPECT_EQ(child<QLabel>(dlg, "Lbl_Cdtime")->text(), "(   60:00)");
    EXPECT_EQ(child<QLabel>(dlg, "Lbl_HardTime")->text(), "(   60:30)");

    // Yes writes the two times and nothing else; the stored ratio stays 1.0.
    const Bytes before = file();
    endWith(dlg, Answer::Yes);
    EXPECT_FALSE(dlg.isVisible());
    const Bytes after = file();
    for (std::size_t i : differences(before, after)) EXPECT_TRUE(i >= 1024 && i < 1032) << "byte " << i;
    EXPECT_EQ(valueAt<std::int32_t>(after, 1024), 3600);
    EXPECT_EQ(valueAt<std::int32_t>(after, 1028), 3630);
    EXPECT_EQ(valueAt<double>(after, 1032), 1.0);
    EXPECT_EQ(ws.control.machineTime, 3630);
}

TEST_F(PlanningDialogsTest, CorrectionNoLeavesTheFileAndAFailedSaveRestoresMemory) {
    ws.control.refCdTime = 100;
    saveFile();
    const Bytes before = file();
    TFrmSysRevi dlg(ws);
    showActive(dlg);
    EXPECT_EQ(child<QLineEdit>(dlg, "Edt_Cdtime")->text(), "140");
    enter(dlg, "Edt_Cdtime", "200");
    endWith(dlg, Answer::No);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(file(), before);
    EXPECT_EQ(ws.control.refCdTime, 100);

    blockTheFile();
    const Bytes memory = bytesOf(ws.control);
    prompter.clear();
    showActive(dlg);
    enter(dlg, "Edt_Hardtime", "300");
    endWith(dlg, Answer::Yes);
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[1].kind, BoxKind::Error);
    EXPECT_EQ(bytesOf(ws.control), memory);
    fs::remove_all(ctl());
    endWith(dlg, Answer::Yes);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(valueAt<std::int32_t>(file(), 1028), 180);
}

// ---- tape length ----

class TapeTest : public PlanningDialogsTest {
protected:
    // Opens the dialog, lets act choose, and returns what it chose.
    std::optional<std::int32_t> run(const std::function<void(TFrmTape*)>& act) {
        whenModal<TFrmTape>([act](TFrmTape* d) {
            act(d);
            if (d->isVisible()) d->reject();  // an action that should have closed it fails, not hangs
        });
        tape.exec();
        return tape.chosenTarget();
    }
    static QRadioButton* item(TFrmTape* d, int i) {
        return child<QRadioButton>(*d, ("RadioGroup1" + std::to_string(i)).c_str());
    }
    static void ok(TFrmTape* d) { QTest::mouseClick(child<QPushButton>(*d, "BtnChg"), Qt::LeftButton); }

    TFrmTape tape{ws};
};

TEST_F(TapeTest, ThePresetsGiveTheirTableValuesWhateverTheMinutesField) {
    EXPECT_EQ(tape.windowTitle(), "TAPE時間");
    EXPECT_EQ(child<QLabel>(tape, "Label1")->text(), "入力(分)");
    EXPECT_EQ(child<QPushButton>(tape, "BtnChg")->text(), "ＯＫ");
    EXPECT_EQ(child<QPushButton>(tape, "BtnCansel")->text(), "ｷｬﾝｾﾙ");
    const char* captions[] = {"1:なし(AB均等)", "2:５０( 25:00)", "3:５４( 27:00)", "4:６０( 30:00)",
                              "5:６４( 32:00)", "6:７０( 35:00)", "7:７４( 37:00)", "8:８０( 40:00)",
                              "9:入力",         "0:取り消し"};
    const std::int32_t seconds[] = {0, 1500, 1620, 1800, 1920, 2100, 2220, 2400};
    for (int i = 0; i < TFrmTape::kItems; ++i)
        EXPECT_EQ(child<QRadioButton>(tape, ("RadioGroup1" + std::to_string(i)).c_str())->text(),
                  QString::fromUtf8(captions[i]));
    EXPECT_TRUE(child<QRadioButton>(tape, "RadioGroup10")->isChecked());

    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        tape.prefillTapeDialog(1380);  // 46 minutes, passed through on the way to ＯＫ
        const auto chosen = run([&](TFrmTape* d) {
            QTest::mouseClick(item(d, i), Qt::LeftButton);
            auto* minutes = child<QLineEdit>(*d, "Edt_stim");
            minutes->setFocus();
            leave(minutes);
            ok(d);
        });
        ASSERT_TRUE(chosen.has_value());
        EXPECT_EQ(*chosen, seconds[i]);
    }
    EXPECT_TRUE(prompter.boxes.empty());

    // "4:６０( 30:00)" into the settings; reopened, the field shows 60 and the item is kept.
    tape.prefillTapeDialog(0);
    ASSERT_EQ(run([&](TFrmTape* d) {
                  QTest::mouseClick(item(d, 3), Qt::LeftButton);
                  ok(d);
              }),
              std::optional<std::int32_t>(1800));
    zemo::PlanEngine engine(ws);
    zemo::ResultsState results(engine);
    results.applyTapeTarget(*tape.chosenTarget());
    EXPECT_EQ(engine.ctl.targetSec, 1800);
    EXPECT_EQ(ws.control.shuffleBlock.targetSec, 1800);
    tape.prefillTapeDialog(engine.ctl.targetSec);
    run([&](TFrmTape* d) {
        EXPECT_EQ(child<QLineEdit>(*d, "Edt_stim")->text(), "60");
        EXPECT_TRUE(item(d, 3)->isChecked());
        QTest::mouseClick(child<QPushButton>(*d, "BtnCansel"), Qt::LeftButton);
    });
}

TEST_F(TapeTest, TheFreeItemTakesMinutesTimesThirtyAndARefusalKeepsTheDialogOpen) {
    struct Case {
        const char* minutes;
        const std::string* message;  // nullptr: accepted
        std::int32_t seconds;
    };
    const Case cases[] = {{"46", nullptr, 1380}, {"45", nullptr, 1350}, {"0", nullptr, 0},
                          {"999", nullptr, 29970}, {"1000", &kMinutesRange, 0}, {"-1", &kMinutesRange, 0},
                          {"4x", &kNotNumber, 0},   {"", &kNotNumber, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.minutes);
        prompter.clear();
        tape.prefillTapeDialog(c.message ? 0 : 1800);
        bool stayedOpen = false;
        const auto chosen = run([&](TFrmTape* d) {
            QTest::mouseClick(item(d, TFrmTape::kFreeItem), Qt::LeftButton);
            auto* minutes = child<QLineEdit>(*d, "Edt_stim");
            minutes->setText(QString::fromUtf8(c.minutes));
            minutes->setFocus();
            ok(d);  // the field is still focused: ＯＫ checks it
            stayedOpen = d->isVisible();
            if (stayedOpen) {
                EXPECT_EQ(d->focusWidget(), minutes);
                QTest::mouseClick(child<QPushButton>(*d, "BtnCansel"), Qt::LeftButton);
            }
        });
        if (c.message) {
            EXPECT_TRUE(stayedOpen);
            EXPECT_FALSE(chosen.has_value());
            EXPECT_EQ(prompter.texts(), std::vector<std::string>{*c.message});
        } else {
            EXPECT_FALSE(stayedOpen);
            EXPECT_EQ(chosen, std::optional<std::int32_t>(c.seconds));
            EXPECT_TRUE(prompter.boxes.empty());
        }
    }
}

TEST_F(TapeTest, EnterIsOkEscapeAndTheCancelItemSetNothing) {
    tape.prefillTapeDialog(1350);
    EXPECT_EQ(run([&](TFrmTape* d) {
                  QTest::mouseClick(item(d, 1), Qt::LeftButton);
                  QTest::keyClick(item(d, 1), Qt::Key_Return);
              }),
              std::optional<std::int32_t>(1500));
    EXPECT_EQ(run([&](TFrmTape* d) {
                  QTest::mouseClick(item(d, TFrmTape::kFreeItem), Qt::LeftButton);
                  auto* minutes = child<QLineEdit>(*d, "Edt_stim");
                  minutes->setFocus();
                  QTest::keyClick(minutes, Qt::Key_Enter);
              }),
              std::optional<std::int32_t>(1350));
    EXPECT_EQ(run([&](TFrmTape* d) { QTest::keyClick(d->focusWidget(), Qt::Key_Escape); }), std::nullopt);
    EXPECT_EQ(run([&](TFrmTape* d) { d->close(); }), std::nullopt);
    EXPECT_EQ(run([&](TFrmTape* d) {
                  QTest::mouseClick(item(d, TFrmTape::kCancelItem), Qt::LeftButton);
                  ok(d);
              }),
              std::nullopt);
    EXPECT_TRUE(prompter.boxes.empty());
}

// ---- the main window's commands ----

TEST(PlanningDialogsWired, ShuffleAndReviseOpenTheirDialogsWhereTheyWere) {
    zemo::guitest::TempDir dir{"zemo-plandlg-wired"};
    zemo::ScriptedPrompter prompter;
    zemo::FixedClock clock{zemo::LocalTime{2024, 5, 6, 7, 8, 9}};
    {
        zemo::ScriptedPrompter p;
        zemo::Workspace w(p, clock, dir.path());
        zemo::initControlDefaults(w);
        ASSERT_EQ(zemo::saveControl(w), 0);
        zemo::WindowSettings remembered;
        remembered.positions["SCtl"] = {30, 40, -1, -1};
        remembered.positions["SRevi"] = {50, 60, -1, -1};
        remembered.positions["Tape"] = {70, 80, -1, -1};
        ASSERT_EQ(zemo::saveWindowSettings(w, remembered), 0);
    }
    zemo::ui::StartOptions o;
    o.programDir = dir.path();
    o.executablePath = dir.path() / "zemoplan";
    zemo::ui::ShellPromptDialogs dialogs;
    auto main = std::make_unique<zemo::ui::TFrmMain>(prompter, clock, o);
    const zemo::ui::ShellWindows windows = zemo::ui::createShellWindows(*main, dialogs);
    ASSERT_TRUE(windows.tape);
    EXPECT_EQ(windows.tape->pos(), QPoint(70, 80));

    const std::pair<const char*, const char*> cases[] = {{"Shuffle", "FrmShufCtrl"}, {"Revise", "FrmSysRevi"}};
    for (auto [action, dialog] : cases) {
        SCOPED_TRACE(action);
        QString opened;
        QPoint where;
        whenModal<QDialog>([&](QDialog* d) {
            opened = d->objectName();
            where = d->pos();
            prompter.answers.push_back(Answer::No);
            d->close();
        });
        auto* a = main->findChild<QAction*>(action);
        ASSERT_TRUE(a && a->isEnabled());
        a->trigger();
        EXPECT_EQ(opened, dialog);
        EXPECT_EQ(where, std::string(action) == "Shuffle" ? QPoint(30, 40) : QPoint(50, 60));
    }
    EXPECT_EQ(prompter.texts(), std::vector<std::string>(2, kQuestion));
}

}  // namespace
