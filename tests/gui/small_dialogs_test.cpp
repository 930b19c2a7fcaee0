// SPDX-License-Identifier: GPL-3.0-or-later
// The password prompt, the read/write choice and the text output window.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "shell/ui/frm_frdwt.h"
#include "shell/ui/frm_pass_inp.h"
#include "shell/ui/win_crt.h"

namespace {

using zemo::ui::TFrmFrdwt;
using zemo::ui::TFrmPassInp;
using zemo::ui::TWinCrt;
using zemo::guitest::child;

TEST(PasswordPrompt, ControlsAndCaptions) {
    TFrmPassInp dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("パスワード入力"));
    EXPECT_EQ(child<QLabel>(dlg, "Label1")->text(), QStringLiteral("パスワードが設定されています"));
    EXPECT_EQ(child<QLabel>(dlg, "Lbl_pass")->text(), QStringLiteral("ﾊﾟｽﾜｰﾄﾞ"));
    EXPECT_EQ(child<QPushButton>(dlg, "BtnGo")->text(), QStringLiteral("実行"));
    EXPECT_EQ(child<QPushButton>(dlg, "BtnExit")->text(), QStringLiteral("中止"));
    auto* edit = child<QLineEdit>(dlg, "Edit_pass");
    EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);  // shown in plain text
    EXPECT_TRUE(edit->text().isEmpty());
}

TEST(PasswordPrompt, EnterInTheBoxMovesTheFocusToBtnGoWithoutConfirming) {
    TFrmPassInp dlg;
    dlg.show();
    auto* edit = child<QLineEdit>(dlg, "Edit_pass");
    auto* go = child<QPushButton>(dlg, "BtnGo");
    ASSERT_EQ(dlg.focusWidget(), edit);
    QTest::keyClicks(edit, "secret");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(dlg.focusWidget(), go);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.confirmed());
    EXPECT_EQ(dlg.result(), 0);

    // The keypad's Enter does the same.
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Enter);
    EXPECT_EQ(dlg.focusWidget(), go);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.confirmed());
}

TEST(PasswordPrompt, BtnGoConfirmsAndTheTextStaysForTheNextShowing) {
    TFrmPassInp dlg;
    dlg.show();
    QTest::keyClicks(child<QLineEdit>(dlg, "Edit_pass"), "Abc1");
    QTest::mouseClick(child<QPushButton>(dlg, "BtnGo"), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.confirmed());
    EXPECT_EQ(dlg.password(), QStringLiteral("Abc1"));

    dlg.show();
    EXPECT_FALSE(dlg.confirmed());  // cleared on showing
    EXPECT_EQ(child<QLineEdit>(dlg, "Edit_pass")->text(), QStringLiteral("Abc1"));
    EXPECT_EQ(dlg.focusWidget(), child<QLineEdit>(dlg, "Edit_pass"));
}

TEST(PasswordPrompt, EnterOnAButtonMovesOnAndNeverClosesTheWindow) {
    TFrmPassInp dlg;
    dlg.show();
    auto* edit = child<QLineEdit>(dlg, "Edit_pass");
    auto* go = child<QPushButton>(dlg, "BtnGo");
    auto* exit = child<QPushButton>(dlg, "BtnExit");
    QTest::keyClicks(edit, "x");
    QTest::keyClick(edit, Qt::Key_Return);
    ASSERT_EQ(dlg.focusWidget(), go);
    QTest::keyClick(go, Qt::Key_Return);
    EXPECT_EQ(dlg.focusWidget(), exit);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.confirmed());
    QTest::keyClick(exit, Qt::Key_Enter);
    EXPECT_EQ(dlg.focusWidget(), edit);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(dlg.confirmed());
    // The space bar still presses a button.
    go->setFocus();
    QTest::keyClick(go, Qt::Key_Space);
    EXPECT_TRUE(dlg.confirmed());
    EXPECT_FALSE(dlg.isVisible());
}

TEST(PasswordPrompt, BtnExitAndTheCloseBoxDoNotConfirm) {
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "BtnExit");
        TFrmPassInp dlg;
        dlg.show();
        QTest::keyClicks(child<QLineEdit>(dlg, "Edit_pass"), "pw");
        if (closeBox) dlg.close();
        else QTest::mouseClick(child<QPushButton>(dlg, "BtnExit"), Qt::LeftButton);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_FALSE(dlg.confirmed());
    }
}

TEST(PasswordPrompt, TheBoxTakesFourteenBytesOfShiftJis) {
    TFrmPassInp dlg;
    dlg.show();
    auto* edit = child<QLineEdit>(dlg, "Edit_pass");
    QTest::keyClicks(edit, "abcdefghijklmnopqrst");
    EXPECT_EQ(edit->text(), QStringLiteral("abcdefghijklmn"));
    edit->clear();
    // Full-width characters take two bytes each in the stored password.
    edit->setText(QStringLiteral("パスワードを入力します"));
    EXPECT_EQ(edit->text(), QStringLiteral("パスワードを入"));
    edit->setText(QStringLiteral("aパスワードを入力"));
    EXPECT_EQ(edit->text(), QStringLiteral("aパスワードを"));
}

TEST(ReadWriteChoice, ControlsAndCaptions) {
    TFrmFrdwt dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("読み書きモード選択"));
    EXPECT_EQ(child<QPushButton>(dlg, "BtnRead")->text(), QStringLiteral("読込み(&R)"));
    EXPECT_EQ(child<QPushButton>(dlg, "BtnWrite")->text(), QStringLiteral("書込み(&W)"));
    EXPECT_EQ(child<QPushButton>(dlg, "BtnCancel")->text(), QStringLiteral("ｷｬﾝｾﾙ(&C)"));
}

TEST(ReadWriteChoice, EachWayOfClosingGivesItsMode) {
    struct Case {
        const char* button;  // nullptr: the window's close box
        int mode;
    };
    const Case cases[] = {{"BtnRead", 0}, {"BtnWrite", 1}, {"BtnCancel", 3}, {nullptr, 3}};
    TFrmFrdwt dlg;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button ? c.button : "close box");
        // A write choice first, so that a mode left over from it would show.
        dlg.show();
        QTest::mouseClick(child<QPushButton>(dlg, "BtnWrite"), Qt::LeftButton);
        ASSERT_EQ(dlg.mode(), 1);

        dlg.show();
        EXPECT_EQ(dlg.mode(), 3);
        if (c.button) QTest::mouseClick(child<QPushButton>(dlg, c.button), Qt::LeftButton);
        else dlg.close();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.mode(), c.mode);
    }
}

TEST(ReadWriteChoice, EnterMovesOnFromButtonToButtonWithoutChoosing) {
    TFrmFrdwt dlg;
    dlg.show();
    auto* read = child<QPushButton>(dlg, "BtnRead");
    auto* write = child<QPushButton>(dlg, "BtnWrite");
    auto* cancel = child<QPushButton>(dlg, "BtnCancel");
    read->setFocus();
    const QPushButton* order[] = {write, cancel, read};
    QWidget* at = read;
    for (const QPushButton* next : order) {
        QTest::keyClick(at, Qt::Key_Return);
        EXPECT_EQ(dlg.focusWidget(), next);
        EXPECT_TRUE(dlg.isVisible());
        EXPECT_EQ(dlg.mode(), 3);
        at = dlg.focusWidget();
    }
}

TEST(TextOutputWindow, StartStopClearAndClose) {
    TWinCrt win;
    auto* stop = child<QPushButton>(win, "ButtonStop");
    auto* memo = child<QPlainTextEdit>(win, "Memo1");
    EXPECT_EQ(win.windowTitle(), QStringLiteral("デバッグ"));
    EXPECT_EQ(child<QPushButton>(win, "ButtonClear")->text(), QStringLiteral("Clear"));
    EXPECT_EQ(child<QPushButton>(win, "ButtonClose")->text(), QStringLiteral("Close"));
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    // Created stopped and hidden.
    EXPECT_FALSE(win.running());
    EXPECT_EQ(stop->text(), QStringLiteral("Start"));
    EXPECT_FALSE(win.isVisible());

    win.setRunning(true);
    EXPECT_TRUE(win.isVisible());
    EXPECT_EQ(stop->text(), QStringLiteral("Stop"));
    win.writeLine("one");
    win.writeLine("two");
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("one\ntwo"));

    QTest::mouseClick(stop, Qt::LeftButton);
    EXPECT_FALSE(win.running());
    EXPECT_EQ(stop->text(), QStringLiteral("Start"));
    EXPECT_TRUE(win.isVisible());
    win.writeLine("dropped while stopped");
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("one\ntwo"));

    QTest::mouseClick(stop, Qt::LeftButton);
    EXPECT_TRUE(win.running());
    QTest::mouseClick(child<QPushButton>(win, "ButtonClear"), Qt::LeftButton);
    EXPECT_TRUE(memo->toPlainText().isEmpty());

    QTest::mouseClick(child<QPushButton>(win, "ButtonClose"), Qt::LeftButton);
    EXPECT_FALSE(win.running());
    EXPECT_EQ(stop->text(), QStringLiteral("Start"));
    EXPECT_FALSE(win.isVisible());

    win.setRunning(true);
    win.setRunning(false);
    EXPECT_FALSE(win.isVisible());
}

}  // namespace
