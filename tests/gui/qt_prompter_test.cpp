// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt side of the Prompter: message boxes, cursors, and the dialogs it shows.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <vector>

#include "gui/dialogs_support.h"
#include "platform/sjis.h"
#include "shell/ui/frm_frdwt.h"
#include "shell/ui/frm_pass_inp.h"
#include "shell/ui/shell_windows.h"
#include "ui/qt_prompter.h"

namespace {

using zemo::Answer;
using zemo::BoxKind;
using zemo::Buttons;
using zemo::guitest::whenModal;
using zemo::ui::QtPrompter;
using zemo::ui::ShellPromptDialogs;
using zemo::ui::TFrmFrdwt;
using zemo::ui::TFrmPassInp;

QStringList buttonTexts(QMessageBox* box) {
    QStringList texts;
    for (QAbstractButton* b : box->buttons()) texts << b->text();
    texts.sort();
    return texts;
}

QAbstractButton* buttonWithText(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text) return b;
    return nullptr;
}

Qt::CursorShape overrideShape() {
    const QCursor* c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::BitmapCursor;  // BitmapCursor stands for "no override"
}

class QtPrompterTest : public ::testing::Test {
protected:
    void TearDown() override {
        // No test may leave a cursor behind.
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }
};

TEST_F(QtPrompterTest, EveryButtonSetWithItsTextsAndAnswers) {
    struct Case {
        Buttons buttons;
        QStringList texts;
        QString pressed;
        Answer answer;
        Answer onClose;  // Escape or the close box
    };
    const Case cases[] = {
        {Buttons::Ok, {"OK"}, "OK", Answer::Ok, Answer::Ok},
        {Buttons::OkCancel, {"OK", "キャンセル"}, "OK", Answer::Ok, Answer::Cancel},
        {Buttons::OkCancel, {"OK", "キャンセル"}, "キャンセル", Answer::Cancel, Answer::Cancel},
        {Buttons::Yes, {"はい"}, "はい", Answer::Yes, Answer::Yes},
        {Buttons::YesNo, {"いいえ", "はい"}, "いいえ", Answer::No, Answer::No},
        {Buttons::YesCancel, {"はい", "キャンセル"}, "はい", Answer::Yes, Answer::Cancel},
        {Buttons::YesNoCancel, {"いいえ", "はい", "キャンセル"}, "いいえ", Answer::No, Answer::Cancel},
        {Buttons::YesNoCancel, {"いいえ", "はい", "キャンセル"}, "キャンセル", Answer::Cancel, Answer::Cancel},
        {Buttons::AbortRetryIgnore, {"中止", "再試行", "無視"}, "再試行", Answer::Retry, Answer::Abort},
        {Buttons::AbortRetryIgnore, {"中止", "再試行", "無視"}, "無視", Answer::Ignore, Answer::Abort},
        {Buttons::YesNoDefaultNo, {"いいえ", "はい"}, "はい", Answer::Yes, Answer::No},
        {Buttons::YesNoDefaultNo, {"いいえ", "はい"}, "いいえ", Answer::No, Answer::No},
    };
    QtPrompter prompter;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pressed.toStdString());
        QStringList expected = c.texts;
        expected.sort();
        for (bool close : {false, true}) {
            QStringList seen;
            whenModal<QMessageBox>([&](QMessageBox* box) {
                seen = buttonTexts(box);
                if (close) {
                    QTest::keyClick(box, Qt::Key_Escape);
                } else if (QAbstractButton* b = buttonWithText(box, c.pressed)) {
                    QTest::mouseClick(b, Qt::LeftButton);
                } else {
                    ADD_FAILURE() << "no button " << c.pressed.toStdString();
                    box->close();
                }
            });
            const Answer a = prompter.message(BoxKind::Confirmation, "確認です", c.buttons);
            EXPECT_EQ(seen, expected);
            EXPECT_EQ(a, close ? c.onClose : c.answer);
        }
    }
}

// The default button is what Enter presses: the first button, except where Yes would lose data.
TEST_F(QtPrompterTest, EnterPressesTheDefaultWhichIsNoForAQuestionThatLosesDataOnYes) {
    const struct {
        Buttons buttons;
        QString defaultText;
        Answer onEnter;
    } cases[] = {
        {Buttons::YesNo, "はい", Answer::Yes},
        {Buttons::YesNoDefaultNo, "いいえ", Answer::No},
        {Buttons::OkCancel, "OK", Answer::Ok},
    };
    QtPrompter prompter;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.defaultText.toStdString());
        QString shownDefault;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            if (box->defaultButton()) shownDefault = box->defaultButton()->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        EXPECT_EQ(prompter.message(BoxKind::Confirmation, "確認です", c.buttons), c.onEnter);
        EXPECT_EQ(shownDefault, c.defaultText);
    }
}

TEST_F(QtPrompterTest, KindsShowTheirIconAndTheExactPlainText) {
    struct Case {
        BoxKind kind;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {{BoxKind::Error, QMessageBox::Critical},
                          {BoxKind::Warning, QMessageBox::Warning},
                          {BoxKind::Information, QMessageBox::Information},
                          {BoxKind::Confirmation, QMessageBox::Question}};
    const std::string text = "/data/CD_DATA.ZMO\n< ZEMO ｼｽﾃﾑﾌｧｲﾙ > <b>x</b>";
    QtPrompter prompter;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString shown;
        Qt::TextFormat format = Qt::AutoText;
        whenModal<QMessageBox>([&](QMessageBox* box) {
            icon = box->icon();
            shown = box->text();
            format = box->textFormat();
            box->close();
        });
        prompter.message(c.kind, text, Buttons::Ok);
        EXPECT_EQ(icon, c.icon);
        EXPECT_EQ(shown, QString::fromStdString(text));
        EXPECT_EQ(format, Qt::PlainText);
    }
}

TEST_F(QtPrompterTest, BoxesShowTheArrowAndPutTheBusyCursorBack) {
    QtPrompter prompter;
    prompter.busyCursor(true);
    EXPECT_EQ(overrideShape(), Qt::WaitCursor);

    Qt::CursorShape whileUp = Qt::BitmapCursor;
    whenModal<QMessageBox>([&](QMessageBox* box) {
        whileUp = overrideShape();
        box->close();
    });
    prompter.message(BoxKind::Error, "x", Buttons::Ok);
    EXPECT_EQ(whileUp, Qt::ArrowCursor);
    EXPECT_EQ(overrideShape(), Qt::WaitCursor);

    // The arrow hooks of the core's boxes nest with the box's own, in any order with the busy one.
    prompter.arrowCursor(true);
    EXPECT_EQ(overrideShape(), Qt::ArrowCursor);
    prompter.busyCursor(false);
    EXPECT_EQ(overrideShape(), Qt::ArrowCursor);
    prompter.arrowCursor(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    whenModal<QMessageBox>([&](QMessageBox* box) {
        whileUp = overrideShape();
        box->close();
    });
    prompter.message(BoxKind::Information, "y", Buttons::Ok);
    EXPECT_EQ(whileUp, Qt::ArrowCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(QtPrompterTest, PasswordThroughTheHandedOverPrompt) {
    TFrmPassInp dialog;
    ShellPromptDialogs dialogs;
    dialogs.setPasswordDialog(&dialog);
    QtPrompter prompter;
    prompter.setDialogs(&dialogs);

    whenModal<TFrmPassInp>([](TFrmPassInp* d) {
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
        d->findChild<QLineEdit*>("Edit_pass")->setText(QStringLiteral("ﾊﾟｽ12"));
        QTest::mouseClick(d->findChild<QPushButton*>("BtnGo"), Qt::LeftButton);
    });
    prompter.busyCursor(true);
    const auto typed = prompter.askPassword();
    prompter.busyCursor(false);
    ASSERT_TRUE(typed.has_value());
    EXPECT_EQ(*typed, zemo::sj("ﾊﾟｽ12"));  // CP932 bytes, as the file's password is compared

    whenModal<TFrmPassInp>([](TFrmPassInp* d) { QTest::mouseClick(d->findChild<QPushButton*>("BtnExit"), Qt::LeftButton); });
    EXPECT_FALSE(prompter.askPassword().has_value());
}

TEST_F(QtPrompterTest, ReadWriteChoiceThroughTheHandedOverDialogOrItsOwn) {
    TFrmFrdwt dialog;
    ShellPromptDialogs dialogs;
    dialogs.setReadWriteDialog(&dialog);
    QtPrompter prompter;
    prompter.setDialogs(&dialogs);
    whenModal<TFrmFrdwt>([&](TFrmFrdwt* d) {
        EXPECT_EQ(d, &dialog);
        d->close();
    });
    EXPECT_EQ(prompter.askReadWrite(), zemo::kChoiceCancel);

    ShellPromptDialogs ownDialogs;
    QtPrompter own;
    own.setDialogs(&ownDialogs);
    whenModal<TFrmFrdwt>([&](TFrmFrdwt* d) {
        EXPECT_NE(d, &dialog);
        QTest::mouseClick(d->findChild<QPushButton*>("BtnWrite"), Qt::LeftButton);
    });
    EXPECT_EQ(own.askReadWrite(), zemo::kChoiceWrite);
}

TEST_F(QtPrompterTest, WithoutChooserOrContextNothingIsChosen) {
    ShellPromptDialogs dialogs;
    QtPrompter prompter;
    prompter.setDialogs(&dialogs);
    const zemo::FileChoice c = prompter.chooseDataFile(0, "/");
    EXPECT_FALSE(c.chosen);
    EXPECT_TRUE(c.path.empty());
}

TEST_F(QtPrompterTest, WithoutDialogsEveryQuestionAnswersCancelled) {
    QtPrompter prompter;
    EXPECT_FALSE(prompter.askPassword().has_value());
    EXPECT_EQ(prompter.askReadWrite(), zemo::kChoiceCancel);
    EXPECT_FALSE(prompter.chooseDataFile(1, "/").chosen);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
