// SPDX-License-Identifier: GPL-3.0-or-later
// The system mode, system paths and share settings dialogs, and how the main window and the
// file chooser open them.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "settings/ui/frm_file_sel.h"
#include "settings/ui/frm_get_dir.h"
#include "settings/ui/frm_share.h"
#include "settings/ui/frm_sys_mode.h"
#include "settings/ui/frm_sys_pass.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_windows.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "ui/dialog_keys.h"
#include "ui/field_checks.h"

namespace {

namespace fs = std::filesystem;
using zemo::Answer;
using zemo::BoxKind;
using zemo::ui::TFrmGetDir;
using zemo::ui::TFrmShare;
using zemo::ui::TFrmSysMode;
using zemo::ui::TFrmSysPass;
using zemo::guitest::whenModal;
using Bytes = std::string;
using zemo::guitest::child;
using zemo::guitest::leave;
using zemo::guitest::readBytes;
using zemo::guitest::showActive;
using zemo::guitest::valueAt;

const std::string kQuestion = "保存終了します。";

std::string textAt(const Bytes& b, std::size_t offset, std::size_t width) {
    std::string s = b.substr(offset, width);
    return s.substr(0, s.find('\0'));
}

Bytes bytesOf(const zemo::SysControl& c) { return Bytes(reinterpret_cast<const char*>(&c), sizeof c); }

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() {
        zemo::initControlDefaults(ws);
        ws.executablePath = dir.path() / "zemoplan";
        ws.createArrays(1);
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(dir.path() / d);
    }

    void saveFile() { ASSERT_EQ(zemo::saveControl(ws), 0); }
    fs::path ctl() const { return dir.path() / "ZEMOCTRL.DAT"; }
    fs::path bak() const { return dir.path() / "ZEMOCTRL.BAK"; }
    Bytes file() const { return readBytes(ctl()); }

    // Ends the dialog with 終了 and the given answer to the close question.
    void endWith(QWidget& dlg, Answer a) {
        prompter.answers.push_back(a);
        QTest::mouseClick(child<QPushButton>(dlg, "BtnEnd"), Qt::LeftButton);
    }

    // The path for this test folder as the control record stores it.
    std::string stored(const fs::path& p) const { return zemo::utf8ToSjis(p.string()); }

    zemo::guitest::TempDir dir{"zemo-settings"};
    zemo::ScriptedPrompter prompter;
    zemo::FixedClock clock{zemo::LocalTime{2024, 5, 6, 7, 8, 9}};
    zemo::Workspace ws{prompter, clock, dir.path()};
};

// ---- system mode ----

TEST_F(SettingsTest, ModeDialogShowsTheSizeInForceAndTheStoredModes) {
    ws.control.dbSize = 5;  // stored; the run uses 2 (as if "-D2")
    ws.createArrays(2);
    ws.control.backupMode = 1;
    ws.control.searchCodeMode = 1;
    ws.control.sortMode = 0;
    TFrmSysMode dlg(ws);
    showActive(dlg);
    EXPECT_EQ(dlg.windowTitle(), "システムモード設定");
    EXPECT_EQ(child<QLabel>(dlg, "Lbl_Dsize")->text(), "ﾃﾞｰﾀﾍﾞｰｽｻｲｽﾞ");
    EXPECT_EQ(child<QLineEdit>(dlg, "Edit_Dsize")->text(), "2");
    EXPECT_EQ(dlg.focusWidget(), child<QLineEdit>(dlg, "Edit_Dsize"));
    struct Group {
        const char* name;
        const char* title;
        const char* item0;
        const char* item1;
        bool secondChecked;
    };
    const Group groups[] = {{"RdoGrpBack", "ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙ作成", "す  る", "しない", true},
                            {"RdoGrpCdmd", "検索ｺｰﾄﾞﾓｰﾄﾞ", "ﾊﾞｰ", "ｱｰﾁｽﾄ", true},
                            {"RdoGrpSort", "CDﾃﾞｰﾀﾍﾞｰｽ並換", "す  る", "しない", false}};
    for (const Group& g : groups) {
        SCOPED_TRACE(g.name);
        EXPECT_EQ(child<QGroupBox>(dlg, g.name)->title(), QString::fromUtf8(g.title));
        auto* i0 = child<QRadioButton>(dlg, (std::string(g.name) + "0").c_str());
        auto* i1 = child<QRadioButton>(dlg, (std::string(g.name) + "1").c_str());
        EXPECT_EQ(i0->text(), QString::fromUtf8(g.item0));
        EXPECT_EQ(i1->text(), QString::fromUtf8(g.item1));
        EXPECT_EQ(i1->isChecked(), g.secondChecked);
        EXPECT_EQ(i0->isChecked(), !g.secondChecked);
    }
    EXPECT_EQ(child<QPushButton>(dlg, "BtnEnd")->text(), "終了");
    endWith(dlg, Answer::No);
}

TEST_F(SettingsTest, ModeYesWithALargerSizeResizesTheArraysAndALargeCatalogueLoadsWhole) {
    // A catalogue of 1,200 records, written by an installation of size 3.
    {
        zemo::ScriptedPrompter p;
        zemo::Workspace big(p, clock, dir.path());
        zemo::initControlDefaults(big);
        big.createArrays(3);
        for (int i = 0; i < 1200; ++i) {
            big.arrays[1][i].active = 1;
            zemo::setField(big.arrays[1][i].barcode, std::to_string(100000 + i));
        }
        ASSERT_EQ(zemo::saveKind(big, 1, 1, big.capacity(1), big.arrays[1]), 0);
    }
    saveFile();
    ws.loaded.fill(1);

    TFrmSysMode dlg(ws);
    showActive(dlg);
    auto* size = child<QLineEdit>(dlg, "Edit_Dsize");
    size->selectAll();
    QTest::keyClicks(size, "3");
    leave(size);
    QTest::mouseClick(child<QRadioButton>(dlg, "RdoGrpCdmd1"), Qt::LeftButton);
    QTest::mouseClick(child<QRadioButton>(dlg, "RdoGrpSort1"), Qt::LeftButton);
    endWith(dlg, Answer::Yes);

    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{kQuestion});
    EXPECT_EQ(ws.dbSize, 3);
    const int capacities[] = {0, 1500, 30, 300, 500, 600, 500, 500};
    for (int k = 1; k <= zemo::kArrayKinds; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(ws.capacity(k), capacities[k]);
        EXPECT_EQ(ws.arrays[k].slotCount(), capacities[k] + 1);
        EXPECT_EQ(ws.loaded[k], 0);
    }
    const Bytes b = file();
    EXPECT_EQ(valueAt<std::int16_t>(b, 160), 3);
    EXPECT_EQ(valueAt<std::int16_t>(b, 128), 0);  // backups as they were
    EXPECT_EQ(valueAt<std::int16_t>(b, 132), 1);
    EXPECT_EQ(valueAt<std::int16_t>(b, 134), 1);
    EXPECT_EQ(ws.control.dbSize, 3);

    int count = 0;
    ASSERT_EQ(zemo::loadKind(ws, 1, ws.capacity(1), count, ws.arrays[1], ws.loaded[1]), 0);
    EXPECT_EQ(count, 1200);
    EXPECT_EQ(zemo::fieldText(ws.arrays[1][1199].barcode), "101199");
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{kQuestion});  // no truncation question
}

TEST_F(SettingsTest, ModeNoLeavesTheFileAndTheSizeInForceAndReloadsTheRecord) {
    saveFile();
    const Bytes before = file();
    ws.control.refCdTime = 4321;  // changed in memory, never saved
    TFrmSysMode dlg(ws);
    showActive(dlg);
    auto* size = child<QLineEdit>(dlg, "Edit_Dsize");
    size->selectAll();
    QTest::keyClicks(size, "7");
    leave(size);
    QTest::mouseClick(child<QRadioButton>(dlg, "RdoGrpBack1"), Qt::LeftButton);
    endWith(dlg, Answer::No);

    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(file(), before);
    EXPECT_FALSE(fs::exists(bak()));
    EXPECT_EQ(ws.dbSize, 1);
    EXPECT_EQ(ws.capacity(1), 500);
    EXPECT_EQ(ws.arrays[1].slotCount(), 501);
    EXPECT_EQ(ws.control.refCdTime, 0);
    EXPECT_EQ(ws.control.backupMode, 0);
}

TEST_F(SettingsTest, ModeYesSavesWithTheBackupChoiceJustMade) {
    struct Case {
        const char* item;
        std::int16_t stored;
        bool backup;
    };
    for (const Case c : {Case{"RdoGrpBack1", 1, false}, Case{"RdoGrpBack0", 0, true}}) {
        SCOPED_TRACE(c.item);
        ws.control.backupMode = static_cast<std::int16_t>(1 - c.stored);
        saveFile();
        fs::remove(bak());
        TFrmSysMode dlg(ws);
        showActive(dlg);
        EXPECT_FALSE(child<QRadioButton>(dlg, c.item)->isChecked());
        QTest::mouseClick(child<QRadioButton>(dlg, c.item), Qt::LeftButton);
        endWith(dlg, Answer::Yes);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(valueAt<std::int16_t>(file(), 128), c.stored);
        EXPECT_EQ(fs::exists(bak()), c.backup);
    }
}

TEST_F(SettingsTest, ModeSizeFieldTakesOneToTwentyAndYesSavesTheLastAcceptedValue) {
    struct Case {
        const char* text;
        const char* message;  // nullptr: accepted
        int pending;
    };
    const Case cases[] = {
        {"20", nullptr, 20},
        {"21", "入力範囲が不正です！\n最小[ 1 ] 最大[ 20 ]です。", 20},
        {"0", "入力範囲が不正です！\n最小[ 1 ] 最大[ 20 ]です。", 20},
        {"x", "入力文字を数値に変換できません!", 20},
        {"1", nullptr, 1},
        {"4", nullptr, 4},
        {"-3", "入力範囲が不正です！\n最小[ 1 ] 最大[ 20 ]です。", 4},
    };
    saveFile();
    TFrmSysMode dlg(ws);
    showActive(dlg);
    auto* size = child<QLineEdit>(dlg, "Edit_Dsize");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        prompter.clear();
        size->setFocus();
        size->selectAll();
        QTest::keyClicks(size, c.text);
        leave(size);
        if (c.message) {
            ASSERT_EQ(prompter.boxes.size(), 1u);
            EXPECT_EQ(prompter.boxes[0].text, c.message);
            EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Error);
            EXPECT_EQ(dlg.focusWidget(), size);  // back in the field
        } else {
            EXPECT_TRUE(prompter.boxes.empty());
            EXPECT_NE(dlg.focusWidget(), size);
        }
        EXPECT_EQ(dlg.pendingSize(), c.pending);
    }
    // The field holds "-3", refused: closing checks it first, then asks, saying that the last
    // valid value is what Yes keeps; Cancel stays.
    prompter.clear();
    prompter.answers.push_back(Answer::Cancel);
    QTest::mouseClick(child<QPushButton>(dlg, "BtnEnd"), Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"入力範囲が不正です！\n最小[ 1 ] 最大[ 20 ]です。",
                                                          kQuestion + "\n" + zemo::ui::FieldChecks::kKeptValueNote}));
    // Two characters at most.
    size->selectAll();
    QTest::keyClicks(size, "123");
    EXPECT_EQ(size->text(), "12");
    size->setText("2");
    prompter.clear();
    endWith(dlg, Answer::Yes);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(ws.dbSize, 2);
    EXPECT_EQ(valueAt<std::int16_t>(file(), 160), 2);
}

TEST_F(SettingsTest, ModeFailedSaveStaysOpenWithMemoryAsTheFileIs) {
    saveFile();
    ws.loaded.fill(1);
    fs::remove(ctl());
    fs::create_directories(ctl() / "x");  // nothing can be written under this name
    const Bytes before = bytesOf(ws.control);
    TFrmSysMode dlg(ws);
    showActive(dlg);
    auto* size = child<QLineEdit>(dlg, "Edit_Dsize");
    size->selectAll();
    QTest::keyClicks(size, "3");
    leave(size);
    QTest::mouseClick(child<QRadioButton>(dlg, "RdoGrpBack1"), Qt::LeftButton);
    endWith(dlg, Answer::Yes);

    EXPECT_TRUE(dlg.isVisible());
    // The save's own report (which step failed is the file services' business).
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[1].kind, BoxKind::Error);
    EXPECT_EQ(prompter.boxes[1].text.rfind(ctl().string() + "\n", 0), 0u) << prompter.boxes[1].text;
    EXPECT_EQ(bytesOf(ws.control), before);
    EXPECT_EQ(ws.dbSize, 1);
    EXPECT_EQ(ws.capacity(1), 500);
    EXPECT_EQ(ws.arrays[1].slotCount(), 501);
    EXPECT_EQ(ws.loaded[1], 1);

    // Once the file can be written again, Yes saves the choices still shown.
    fs::remove_all(ctl());
    prompter.clear();
    endWith(dlg, Answer::Yes);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(ws.dbSize, 3);
    EXPECT_EQ(valueAt<std::int16_t>(file(), 128), 1);
}

TEST_F(SettingsTest, ModeYesOverAControlFileChangedSinceItWasReadAsksAndNoKeepsTheirs) {
    saveFile();
    ASSERT_EQ(zemo::loadControl(ws, false), 0);
    // Another copy of the program on the shared folder stores its own settings meanwhile.
    {
        zemo::SysControl theirs = ws.control;
        theirs.sortMode = 1;
        const auto readAt = fs::last_write_time(ctl());
        std::ofstream(ctl(), std::ios::binary).write(reinterpret_cast<const char*>(&theirs), sizeof theirs);
        fs::last_write_time(ctl(), readAt + std::chrono::microseconds(1));
    }
    const Bytes theirs = file();
    TFrmSysMode dlg(ws);
    showActive(dlg);
    auto* size = child<QLineEdit>(dlg, "Edit_Dsize");
    size->selectAll();
    QTest::keyClicks(size, "3");
    leave(size);

    prompter.answers = {Answer::Yes, Answer::No};
    QTest::mouseClick(child<QPushButton>(dlg, "BtnEnd"), Qt::LeftButton);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{
                                    "保存終了します。", ctl().string() + " は読み込み後に変更されています。上書きしますか？"}));
    EXPECT_EQ(file(), theirs);
    EXPECT_FALSE(fs::exists(bak()));
    EXPECT_EQ(ws.dbSize, 1);

    prompter.clear();
    prompter.answers = {Answer::Yes, Answer::Yes};
    QTest::mouseClick(child<QPushButton>(dlg, "BtnEnd"), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(prompter.texts().size(), 2u);
    EXPECT_EQ(ws.dbSize, 3);
    EXPECT_EQ(valueAt<std::int16_t>(file(), 160), 3);
    EXPECT_EQ(readBytes(bak()), theirs);
}

TEST_F(SettingsTest, EscAndTheCloseBoxAskTheQuestionAndCancelStaysOpen) {
    saveFile();
    TFrmSysMode mode(ws);
    TFrmShare share(ws);
    TFrmGetDir getDir;
    TFrmSysPass paths(ws, getDir);
    for (QDialog* dlg : std::initializer_list<QDialog*>{&mode, &share, &paths}) {
        SCOPED_TRACE(dlg->objectName().toStdString());
        prompter.clear();
        showActive(*dlg);
        prompter.answers.push_back(Answer::Cancel);
        QTest::keyClick(dlg->focusWidget(), Qt::Key_Escape);
        EXPECT_TRUE(dlg->isVisible());
        prompter.answers.push_back(Answer::Cancel);
        dlg->close();  // the close box
        EXPECT_TRUE(dlg->isVisible());
        prompter.answers.push_back(Answer::No);
        QTest::keyClick(dlg->focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kQuestion, kQuestion, kQuestion}));
        for (const auto& box : prompter.boxes) {
            EXPECT_EQ(box.kind, BoxKind::Confirmation);
            EXPECT_EQ(box.buttons, zemo::Buttons::YesNoCancel);
        }
    }
}

TEST_F(SettingsTest, EnterMovesTheFocusAndNeverCloses) {
    saveFile();
    TFrmSysMode mode(ws);
    showActive(mode);
    auto* size = child<QLineEdit>(mode, "Edit_Dsize");
    QTest::keyClick(size, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(mode.focusWidget(), child<QRadioButton>(mode, "RdoGrpBack0"));
    auto* end = child<QPushButton>(mode, "BtnEnd");
    end->setFocus();
    QTest::keyClick(end, Qt::Key_Enter);
    EXPECT_TRUE(mode.isVisible());
    EXPECT_NE(mode.focusWidget(), end);
    EXPECT_TRUE(prompter.boxes.empty());
    endWith(mode, Answer::No);
    EXPECT_FALSE(mode.isVisible());

    prompter.clear();
    TFrmShare share(ws);
    showActive(share);
    QTest::keyClick(child<QLineEdit>(share, "Edit_pass"), Qt::Key_Return);
    EXPECT_EQ(share.focusWidget(), child<QCheckBox>(share, "ChkBx_pass"));
    QTest::keyClick(share.focusWidget(), Qt::Key_Return);
    EXPECT_EQ(share.focusWidget(), child<QPushButton>(share, "BtnEnd"));
    QTest::keyClick(share.focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(share.isVisible());
    EXPECT_TRUE(prompter.boxes.empty());
    endWith(share, Answer::No);
}

// ---- system paths ----

class PathsTest : public SettingsTest {
protected:
    TFrmGetDir getDir;
    TFrmSysPass dlg{ws, getDir};
};

TEST_F(PathsTest, ShowsTheFourDirectoriesAndKeepsTheOtherSlots) {
    zemo::setField(ws.control.paths[0], "P0");
    zemo::setField(ws.control.paths[7], "P7");
    zemo::setField(ws.control.paths[zemo::kPathTxt], zemo::sj("テキスト"));
    saveFile();
    showActive(dlg);
    EXPECT_EQ(dlg.windowTitle(), "システムパス設定");
    struct Row {
        const char* label;
        const char* caption;
        const char* edit;
        const char* text;
        const char* button;
    };
    const Row rows[] = {{"Lbl_sys", "ｼｽﾃﾑ  ﾃﾞｰﾀ", "Edit_sys", "CD_SYS", "BtnSsys"},
                        {"Lbl_add", "追加  ﾃﾞｰﾀ", "Edit_add", "CD_ADD", "BtnSadd"},
                        {"Lbl_txt", "ﾃｷｽﾄ  ﾃﾞｰﾀ", "Edit_txt", "テキスト", "BtnStxt"},
                        {"Lbl_lib", "ﾗｲﾌﾞﾗﾘﾃﾞｰﾀ", "Edit_lib", "CD_MD", "BtnSlib"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.edit);
        EXPECT_EQ(child<QLabel>(dlg, r.label)->text(), QString::fromUtf8(r.caption));
        EXPECT_EQ(child<QLineEdit>(dlg, r.edit)->text(), QString::fromUtf8(r.text));
        EXPECT_EQ(child<QPushButton>(dlg, r.button)->text(), "参照");
    }
    auto* add = child<QLineEdit>(dlg, "Edit_add");
    add->setFocus();
    add->setText("NEW_ADD");
    leave(add);
    endWith(dlg, Answer::Yes);
    EXPECT_FALSE(dlg.isVisible());
    const Bytes b = file();
    const std::string expected[8] = {"P0", "CD_SYS", "NEW_ADD", zemo::sj("テキスト"), "CD_MD", "T_TMP", "G_TMP", "P7"};
    for (int slot = 0; slot < 8; ++slot) EXPECT_EQ(textAt(b, 256 + 64 * slot, 64), expected[slot]) << slot;
}

TEST_F(PathsTest, FortyBytesAreAcceptedAndFortyOneRefused) {
    const std::string tooLong = "システムで管理できる文字を超えています！\n最大 [ 40 ] 文字までです。";
    const std::string odd = "入力文字が変です!";
    struct Case {
        const char* what;
        QString text;
        const std::string* refusal;  // nullptr: accepted
    };
    const Case cases[] = {
        {"40 ASCII", QString(40, 'a'), nullptr},
        {"41 ASCII", QString(41, 'b'), &tooLong},
        {"20 double-byte", QString(20, QChar(0x30c7)), nullptr},  // デ x 20
        {"1 + 20 double-byte", "c" + QString(20, QChar(0x30c7)), &tooLong},
        {"half-width kana take one byte", QString(40, QChar(0xff83)), nullptr},  // ﾃ x 40
        {"not Shift-JIS", QString("CD_") + QString::fromUcs4(U"\U0001F600"), &odd},
    };
    saveFile();
    showActive(dlg);
    auto* sys = child<QLineEdit>(dlg, "Edit_sys");
    std::string slot = "CD_SYS";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.clear();
        sys->setFocus();
        sys->setText(c.text);  // as the directory chooser puts it there: never cut
        EXPECT_EQ(sys->text(), c.text);
        leave(sys);
        if (!c.refusal) {
            EXPECT_TRUE(prompter.boxes.empty());
            slot = zemo::utf8ToSjis(c.text.toStdString());
        } else {
            ASSERT_EQ(prompter.boxes.size(), 1u);
            EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Error);
            EXPECT_EQ(prompter.boxes[0].text, *c.refusal);
            EXPECT_EQ(dlg.focusWidget(), sys);
            EXPECT_EQ(sys->text(), c.text);  // kept until corrected
        }
    }
    // The last refused text is still in the field: closing refuses it again and asks, and Yes
    // saves the value last accepted without the field being corrected.
    prompter.clear();
    endWith(dlg, Answer::Yes);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{odd, kQuestion + "\n" + zemo::ui::FieldChecks::kKeptValueNote}));
    EXPECT_EQ(textAt(file(), 320, 64), slot);
    EXPECT_EQ(slot, std::string(40, '\xc3'));  // the half-width kana, byte for byte
}

TEST_F(PathsTest, TypingStopsAtFortyBytesAndRefusesWhatShiftJisCannotHold) {
    saveFile();
    showActive(dlg);
    auto* lib = child<QLineEdit>(dlg, "Edit_lib");
    lib->clear();
    QTest::keyClicks(lib, QString(41, 'x'));
    EXPECT_EQ(lib->text(), QString(40, 'x'));
    lib->clear();
    lib->insert(QString(19, QChar(0x30c7)) + "yz");  // 40 bytes
    EXPECT_EQ(zemo::ui::sjisByteLength(lib->text()), 40);
    lib->insert(QString(QChar(0x30c7)));  // would be 42: refused whole, not cut
    EXPECT_EQ(lib->text(), QString(19, QChar(0x30c7)) + "yz");
    lib->clear();
    lib->insert("CD_");
    lib->insert(QString::fromUcs4(U"\U0001F600"));
    EXPECT_EQ(lib->text(), "CD_");

    // A prefilled 50-byte value is shown whole; shortening it is taken, lengthening is not.
    const QString fifty(50, 'p');
    lib->setText(fifty);
    EXPECT_EQ(lib->text(), fifty);
    lib->setCursorPosition(50);
    QTest::keyClick(lib, Qt::Key_Backspace);
    EXPECT_EQ(lib->text(), QString(49, 'p'));
    QTest::keyClicks(lib, "q");
    EXPECT_EQ(lib->text(), QString(49, 'p'));
    lib->setText("CD_MD");
    leave(lib);
    EXPECT_TRUE(prompter.boxes.empty());
    endWith(dlg, Answer::No);
}

TEST_F(PathsTest, APrefilledLongValueIsNeverCutAndStaysAsStoredWhenLeftAlone) {
    const std::string long60(60, 'L');
    zemo::setField(ws.control.paths[zemo::kPathAdd], long60);
    saveFile();
    showActive(dlg);
    auto* add = child<QLineEdit>(dlg, "Edit_add");
    EXPECT_EQ(add->text().toStdString(), long60);
    add->setFocus();
    leave(add);  // unchanged: nothing to refuse
    EXPECT_TRUE(prompter.boxes.empty());
    endWith(dlg, Answer::Yes);
    EXPECT_EQ(textAt(file(), 384, 64), long60);
}

TEST_F(PathsTest, BrowsingStartsInTheStoredFolderAndStoresThePickedOne) {
    const fs::path lib = dir.path() / "ライブラリ";
    fs::create_directories(lib);
    saveFile();
    showActive(dlg);
    auto* edit = child<QLineEdit>(dlg, "Edit_lib");

    // Cancelling leaves the edit alone.
    QString startedIn;
    whenModal<TFrmGetDir>([&](TFrmGetDir* d) {
        startedIn = d->folder();
        QTest::mouseClick(child<QPushButton>(*d, "BtnCancel"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(dlg, "BtnSlib"), Qt::LeftButton);
    EXPECT_EQ(startedIn.toStdString(), (dir.path() / "CD_MD").string());
    EXPECT_EQ(edit->text(), "CD_MD");

    // A folder in the program folder is stored relative to it, as the defaults are.
    whenModal<TFrmGetDir>([&](TFrmGetDir* d) {
        EXPECT_EQ(child<QLineEdit>(*d, "Edit_DirName")->text().toStdString(), (dir.path() / "CD_MD").string());
        child<QLineEdit>(*d, "Edit_DirName")->setText(QString::fromStdString(lib.string()));
        QTest::mouseClick(child<QPushButton>(*d, "BtnOk"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(dlg, "BtnSlib"), Qt::LeftButton);
    EXPECT_EQ(edit->text(), "ライブラリ");
    EXPECT_TRUE(prompter.boxes.empty());
    endWith(dlg, Answer::Yes);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(textAt(file(), 512, 64), zemo::sj("ライブラリ"));
    // The library kind now lives there.
    EXPECT_EQ(zemo::kindDir(ws, 11), lib.string() + "/");
}

// Inside the program folder the relative name counts, outside the whole path: 40 bytes fit, 41
// do not, and a refused pick keeps the slot's value.
TEST_F(PathsTest, BrowsingRefusesOnlyWhatDoesNotFitAsStored) {
    zemo::guitest::TempDir out{"zemo-out"};
    const std::string outside = out.path().string() + "/";
    ASSERT_LT(outside.size(), 39u);
    const std::string in40 = std::string(20, 'd') + "/" + std::string(19, 'e');
    const std::string in41 = std::string(20, 'd') + "/" + std::string(20, 'e');
    const std::string out40 = outside + std::string(40 - outside.size(), 'o');
    const std::string out41 = outside + std::string(41 - outside.size(), 'o');
    const std::string inBlank = "My Stick/CD SYS";
    struct Case {
        fs::path folder;
        std::string shown;  // the edit's text after the pick
        bool taken;
    };
    const Case cases[] = {
        {dir.path() / in40, in40, true},  {dir.path() / in41, in41, false}, {out40, out40, true},
        {out41, out41, false},            {dir.path(), ".", true},          {dir.path() / inBlank, inBlank, true},
    };
    saveFile();
    showActive(dlg);
    auto* sys = child<QLineEdit>(dlg, "Edit_sys");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.shown);
        fs::create_directories(c.folder);
        sys->setText("CD_SYS");
        prompter.clear();
        whenModal<TFrmGetDir>([&](TFrmGetDir* d) {
            ASSERT_TRUE(d->setFolder(QString::fromStdString(c.folder.string())));
            QTest::mouseClick(child<QPushButton>(*d, "BtnOk"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(dlg, "BtnSsys"), Qt::LeftButton);
        EXPECT_EQ(sys->text().toStdString(), c.shown);
        if (c.taken) {
            EXPECT_TRUE(prompter.boxes.empty());
            EXPECT_EQ(fs::path(zemo::resolveDir(ws, c.shown)).lexically_normal(), (c.folder / "").lexically_normal());
        } else {
            EXPECT_EQ(prompter.texts(),
                      std::vector<std::string>{"システムで管理できる文字を超えています！\n最大 [ 40 ] 文字までです。"});
            EXPECT_EQ(dlg.focusWidget(), sys);  // the edit keeps the long text until corrected
        }
    }
    // The last pick, a folder with blanks, is saved with them.
    prompter.clear();
    endWith(dlg, Answer::Yes);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(textAt(file(), 320, 64), inBlank);
    EXPECT_EQ(zemo::kindDir(ws, 1), (dir.path() / inBlank).string() + "/");
}

TEST_F(PathsTest, NewDirectoriesMarkEveryKindNotLoadedSoTheHistoriesAreReadAgain) {
    saveFile();
    const fs::path other = dir.path() / "OTHER";
    fs::create_directories(other);
    // The histories in memory came from the old folder.
    ws.arrays[6][0].active = 1;
    ws.loaded.fill(1);

    showActive(dlg);
    auto* sys = child<QLineEdit>(dlg, "Edit_sys");
    sys->setFocus();
    sys->setText("OTHER");
    leave(sys);
    endWith(dlg, Answer::Yes);
    EXPECT_FALSE(dlg.isVisible());
    for (int k = 1; k <= zemo::kArrayKinds; ++k) EXPECT_EQ(ws.loaded[k], 0) << k;
    EXPECT_EQ(zemo::kindDir(ws, 6), other.string() + "/");

    // No leaves the flags alone.
    ws.loaded.fill(1);
    showActive(dlg);
    endWith(dlg, Answer::No);
    for (int k = 1; k <= zemo::kArrayKinds; ++k) EXPECT_EQ(ws.loaded[k], 1) << k;
}

TEST_F(PathsTest, FailedSaveStaysOpenWithMemoryAsTheFileIs) {
    saveFile();
    ws.loaded.fill(1);
    fs::remove(ctl());
    fs::create_directories(ctl() / "x");
    const Bytes before = bytesOf(ws.control);
    showActive(dlg);
    auto* sys = child<QLineEdit>(dlg, "Edit_sys");
    sys->setText("ELSEWHERE");
    leave(sys);
    endWith(dlg, Answer::Yes);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(bytesOf(ws.control), before);
    EXPECT_EQ(ws.loaded[6], 1);
    fs::remove_all(ctl());
    prompter.clear();
    endWith(dlg, Answer::No);
    EXPECT_FALSE(dlg.isVisible());
}

// ---- share settings ----

TEST_F(SettingsTest, ShareYesWritesModeAndPasswordAndKeepsTheCreatorId) {
    zemo::setField(ws.control.creatorId, "ABCD1234");
    ws.control.shareExtra[3] = 0x5a;
    zemo::setField(ws.control.sharePassword, "old");
    saveFile();
    ASSERT_FALSE(ws.shareFlag);
    TFrmShare dlg(ws);
    showActive(dlg);
    EXPECT_EQ(dlg.windowTitle(), "シェアデータ設定");
    EXPECT_EQ(child<QLabel>(dlg, "Lbl_pass")->text(), "ﾊﾟｽﾜｰﾄﾞ");
    EXPECT_EQ(child<QCheckBox>(dlg, "ChkBx_pass")->text(), "SHARE 設定");
    auto* pass = child<QLineEdit>(dlg, "Edit_pass");
    EXPECT_EQ(pass->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(pass->text(), "old");
    EXPECT_FALSE(child<QCheckBox>(dlg, "ChkBx_pass")->isChecked());
    pass->selectAll();
    QTest::keyClicks(pass, "NewPw");
    QTest::mouseClick(child<QCheckBox>(dlg, "ChkBx_pass"), Qt::LeftButton);
    endWith(dlg, Answer::Yes);

    EXPECT_FALSE(dlg.isVisible());
    const Bytes b = file();
    EXPECT_EQ(valueAt<std::int16_t>(b, 936), 1);
    EXPECT_EQ(textAt(b, 938, 16), "NewPw");
    EXPECT_EQ(textAt(b, 900, 16), "ABCD1234");
    EXPECT_EQ(static_cast<std::uint8_t>(b[919]), 0x5a);
    EXPECT_TRUE(ws.shareFlag);  // the file writer's flag follows

    // Turned off again with an empty password.
    showActive(dlg);
    EXPECT_TRUE(child<QCheckBox>(dlg, "ChkBx_pass")->isChecked());
    pass->clear();
    QTest::mouseClick(child<QCheckBox>(dlg, "ChkBx_pass"), Qt::LeftButton);
    endWith(dlg, Answer::Yes);
    EXPECT_EQ(valueAt<std::int16_t>(file(), 936), 0);
    EXPECT_EQ(textAt(file(), 938, 16), "");
    EXPECT_FALSE(ws.shareFlag);
}

TEST_F(SettingsTest, ShareNoWritesNothingAndReloadsTheRecord) {
    saveFile();
    const Bytes before = file();
    TFrmShare dlg(ws);
    showActive(dlg);
    QTest::keyClicks(child<QLineEdit>(dlg, "Edit_pass"), "zzz");
    QTest::mouseClick(child<QCheckBox>(dlg, "ChkBx_pass"), Qt::LeftButton);
    ws.control.shareMode = 1;  // a change in memory that the file does not hold
    endWith(dlg, Answer::No);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(file(), before);
    EXPECT_FALSE(fs::exists(bak()));
    EXPECT_EQ(ws.control.shareMode, 0);
    EXPECT_FALSE(ws.shareFlag);
}

TEST_F(SettingsTest, SharePasswordTakesFourteenBytesAndAStoredOneIsNeverCut) {
    saveFile();
    TFrmShare dlg(ws);
    showActive(dlg);
    auto* pass = child<QLineEdit>(dlg, "Edit_pass");
    QTest::keyClicks(pass, "abcdefghijklmno");
    EXPECT_EQ(pass->text(), "abcdefghijklmn");
    pass->clear();
    pass->insert(QString(7, QChar(0x30d1)));  // パ x 7 = 14 bytes
    pass->insert("x");
    EXPECT_EQ(pass->text(), QString(7, QChar(0x30d1)));
    pass->clear();
    pass->insert(QString::fromUcs4(U"\U0001F600"));
    EXPECT_TRUE(pass->text().isEmpty());
    endWith(dlg, Answer::No);

    // Fifteen bytes in the file (the field holds them): shown whole and kept when left alone.
    zemo::setField(ws.control.sharePassword, "ABCDEFGHIJKLMNO");
    ASSERT_EQ(zemo::saveControl(ws), 0);
    showActive(dlg);
    EXPECT_EQ(pass->text(), "ABCDEFGHIJKLMNO");
    endWith(dlg, Answer::Yes);
    EXPECT_EQ(textAt(file(), 938, 16), "ABCDEFGHIJKLMNO");
}

TEST_F(SettingsTest, ShareFailedSaveStaysOpenWithMemoryAndTheFlagAsTheyWere) {
    saveFile();
    fs::remove(ctl());
    fs::create_directories(ctl() / "x");
    const Bytes before = bytesOf(ws.control);
    TFrmShare dlg(ws);
    showActive(dlg);
    QTest::keyClicks(child<QLineEdit>(dlg, "Edit_pass"), "pw");
    QTest::mouseClick(child<QCheckBox>(dlg, "ChkBx_pass"), Qt::LeftButton);
    endWith(dlg, Answer::Yes);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(bytesOf(ws.control), before);
    EXPECT_FALSE(ws.shareFlag);
    fs::remove_all(ctl());
    endWith(dlg, Answer::No);
}

// ---- the main window's commands and the chooser's button ----

class WiredTest : public ::testing::Test {
protected:
    WiredTest() {
        zemo::ScriptedPrompter p;
        zemo::Workspace w(p, clock, dir.path());
        zemo::initControlDefaults(w);
        EXPECT_EQ(zemo::saveControl(w), 0);
        zemo::WindowSettings remembered;
        remembered.positions["SMode"] = {40, 50, -1, -1};
        EXPECT_EQ(zemo::saveWindowSettings(w, remembered), 0);
        zemo::ui::StartOptions o;
        o.programDir = dir.path();
        o.executablePath = dir.path() / "zemoplan";
        main = std::make_unique<zemo::ui::TFrmMain>(prompter, clock, o);
        windows = zemo::ui::createShellWindows(*main, dialogs);
    }

    zemo::guitest::TempDir dir{"zemo-wired"};
    zemo::ScriptedPrompter prompter;
    zemo::FixedClock clock{zemo::LocalTime{2024, 5, 6, 7, 8, 9}};
    zemo::ui::ShellPromptDialogs dialogs;
    std::unique_ptr<zemo::ui::TFrmMain> main;
    zemo::ui::ShellWindows windows;
};

TEST_F(WiredTest, TheSettingsCommandsOpenTheirDialogs) {
    struct Case {
        const char* action;  // or a button of the hidden panel
        bool button;
        const char* dialog;
    };
    const Case cases[] = {{"SysMode", false, "FrmSysMode"},
                          {"BtnSys", true, "FrmSysMode"},
                          {"SysPass", false, "FrmSysPass"},
                          {"ShareSet", false, "FrmShare"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        QString opened;
        whenModal<QDialog>([&](QDialog* d) {
            opened = d->objectName();
            prompter.answers.push_back(Answer::No);
            d->close();
        });
        if (c.button) {
            auto* b = main->findChild<QPushButton*>(c.action);
            ASSERT_TRUE(b && b->isEnabled());
            b->click();
        } else {
            auto* a = main->findChild<QAction*>(c.action);
            ASSERT_TRUE(a && a->isEnabled());
            a->trigger();
        }
        EXPECT_EQ(opened, c.dialog);
    }
    EXPECT_EQ(prompter.texts(), std::vector<std::string>(4, kQuestion));
}

TEST_F(WiredTest, ModeAndPathsDialogsOpenWhereTheyWereAndGiveTheirPlaceBack) {
    EXPECT_EQ(windows.sysMode->pos(), QPoint(40, 50));
    EXPECT_EQ(windows.sysPass->pos(), QPoint(0, 0));  // not stored: the top-left corner
    windows.sysPass->move(70, 80);
    main->close();
    const zemo::WindowSettings back = main->windowSettings();
    EXPECT_EQ(back.positions.at("SPass").left, 70);
    EXPECT_EQ(back.positions.at("SPass").top, 80);
    EXPECT_EQ(back.positions.at("SMode").left, 40);
}

TEST_F(WiredTest, TheChoosersShareButtonOpensTheShareSettingsAndYesAppliesToTheNextSave) {
    windows.chooser->setMode(zemo::kChoiceWrite);
    windows.chooser->show();
    whenModal<TFrmShare>([&](TFrmShare* d) {
        auto* pass = d->findChild<QLineEdit*>("Edit_pass");
        pass->setText("chosen");
        d->findChild<QCheckBox*>("ChkBx_pass")->setChecked(true);
        prompter.answers.push_back(Answer::Yes);
        QTest::mouseClick(d->findChild<QPushButton*>("BtnEnd"), Qt::LeftButton);
    });
    auto* share = windows.chooser->findChild<QToolButton*>("SpdBtnShare");
    ASSERT_TRUE(share && share->isEnabled());
    share->click();
    EXPECT_FALSE(windows.share->isVisible());
    EXPECT_EQ(zemo::fieldText(main->workspace().control.sharePassword), "chosen");
    EXPECT_TRUE(main->workspace().shareFlag);
    windows.chooser->reject();

    // The next file written in share form carries the new password.
    zemo::Workspace& ws = main->workspace();
    ws.arrays[1][0].active = 1;
    const std::string out = (dir.path() / "SHARED.ZMO").string();
    ASSERT_EQ(zemo::writeDataFile(ws, true, out, 1, ws.arrays[1], ws.capacity(1)), 0);
    prompter.passwords.push_back(std::string("chosen"));
    int loaded = 0, count = 0;
    zemo::TCddataArray back(ws.capacity(1) + 1);
    EXPECT_EQ(zemo::readDataFile(ws, out, 1, back, loaded, count, ws.capacity(1)), zemo::DataFileRead::Ok);
    EXPECT_EQ(prompter.passwordPrompts, 1);
    EXPECT_EQ(count, 1);
}

}  // namespace
