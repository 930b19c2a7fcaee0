// SPDX-License-Identifier: GPL-3.0-or-later
// The window base's entry-field helpers: checks that run once when a field is left, and byte
// limits that refuse instead of cutting.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "gui/dialogs_support.h"
#include "ui/field_checks.h"

namespace {

using zemo::ui::FieldChecks;

struct Form {
    Form() {
        auto* layout = new QVBoxLayout(&window);
        for (QLineEdit* e : {a, b}) layout->addWidget(e);
        layout->addWidget(button);
        checks->add(a, [this] {
            ++runsA;
            return acceptA;
        });
        checks->add(b, [this] {
            ++runsB;
            return acceptB;
        });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        a->setFocus();
    }
    QDialog window;
    QLineEdit* a = new QLineEdit(&window);
    QLineEdit* b = new QLineEdit(&window);
    QPushButton* button = new QPushButton("x", &window);
    FieldChecks* checks = new FieldChecks(&window);
    int runsA = 0, runsB = 0;
    bool acceptA = true, acceptB = true;
};

TEST(FieldChecks, RunOnceWhenLeftAndNotWhenAnotherWindowTakesTheFocus) {
    Form f;
    QTest::keyClick(f.a, Qt::Key_Tab);
    EXPECT_EQ(f.runsA, 0);  // after the event that moved the focus
    QCoreApplication::processEvents();
    EXPECT_EQ(f.runsA, 1);
    EXPECT_EQ(f.window.focusWidget(), f.b);

    // A box over the window takes the focus from b: not a leave.
    QDialog box(&f.window);
    box.show();
    box.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
    box.close();
    f.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
    QCoreApplication::processEvents();
    EXPECT_EQ(f.runsB, 0);
    EXPECT_EQ(f.window.focusWidget(), f.b);

    // Closing runs the focused field's check.
    EXPECT_TRUE(f.checks->checkBeforeClosing());
    EXPECT_EQ(f.runsB, 1);
    EXPECT_EQ(f.runsA, 1);
}

TEST(FieldChecks, ARefusalPutsTheFocusBackWithoutCheckingTheFieldItCameFrom) {
    Form f;
    f.acceptA = false;
    f.acceptB = false;
    QTest::keyClick(f.a, Qt::Key_Tab);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.runsA, 1);
    EXPECT_EQ(f.runsB, 0);  // b was never left by the user
    EXPECT_EQ(f.window.focusWidget(), f.a);
    EXPECT_FALSE(f.checks->checkBeforeClosing());
    EXPECT_EQ(f.runsA, 2);
}

TEST(FieldChecks, AClickOnAButtonCompletesAndTheHandlerSettlesTheFieldFirst) {
    Form f;
    f.acceptA = false;
    bool settled = true;
    int clicks = 0;
    QObject::connect(f.button, &QPushButton::clicked, [&] {
        ++clicks;
        settled = f.checks->settle();
    });
    f.button->setFocusPolicy(Qt::StrongFocus);
    QTest::mouseClick(f.button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(settled);
    EXPECT_EQ(f.runsA, 1);
    EXPECT_EQ(f.window.focusWidget(), f.a);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.runsA, 1);  // once
}

TEST(SjisFieldValidator, RefusesWhatWouldNotFitAndNeverCutsASetText) {
    struct Case {
        const char* what;
        QString start;
        QString insert;
        QString expected;
    };
    const QString de(QChar(0x30c7));  // デ, two bytes
    const Case cases[] = {
        {"ASCII up to the limit", "", "abcdef", "abcdef"},
        {"ASCII beyond it", "abcdef", "g", "abcdef"},
        {"double-byte up to the limit", "", de + de + de, de + de + de},
        {"double-byte beyond it", "abcde", de, "abcde"},
        {"half-width kana are one byte", "abcde", QString(QChar(0xff83)), "abcde" + QString(QChar(0xff83))},
        {"outside Shift-JIS", "ab", QString::fromUcs4(U"\U0001F600"), "ab"},
        {"a long set text may shrink", "abcdefgh", "", "abcdefg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QLineEdit edit;
        zemo::ui::refuseBeyondSjisBytes(&edit, 6);
        edit.setText(c.start);
        EXPECT_EQ(edit.text(), c.start);  // set by the program: never cut
        edit.end(false);
        if (c.insert.isEmpty()) edit.backspace();
        else edit.insert(c.insert);
        EXPECT_EQ(edit.text(), c.expected);
    }
}

}  // namespace
