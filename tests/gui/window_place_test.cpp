// SPDX-License-Identifier: GPL-3.0-or-later
// Where windows open: a stored place out of reach of every screen moved onto the nearest one, the
// record editor kept off its list's tool bar, outer frame sizes stored and applied, and windows
// opened from another coming in front of it with the focus and giving it back when they go.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "ui/window_place.h"

namespace zemo::ui {
namespace {

struct ScreenCase {
    const char* what;
    QRect frame;
    std::vector<QRect> screens;
    QRect expected;
};

const QRect kLeft(0, 0, 1024, 768);
const QRect kRight(1024, 0, 1280, 1024);
// A panel at the top of the screen takes its first 30 pixels.
const QRect kUnderPanel(0, 30, 1024, 738);

TEST(PlaceOnScreens, APlaceOutOfReachGoesOntoTheNearestScreenKeepingItsSizeWhereItFits) {
    const ScreenCase cases[] = {
        {"inside: kept", {100, 100, 400, 300}, {kLeft}, {100, 100, 400, 300}},
        {"far to the left and above: the corner", {-5000, -5000, 400, 300}, {kLeft}, {0, 0, 400, 300}},
        {"left of the screen, top kept", {-5000, 200, 400, 300}, {kLeft}, {0, 200, 400, 300}},
        {"beyond the right edge", {3000, 100, 400, 300}, {kLeft}, {624, 100, 400, 300}},
        {"beyond the bottom edge", {100, 2000, 400, 300}, {kLeft}, {100, 468, 400, 300}},
        {"larger than the screen it is moved onto: shrunk to it", {-5000, 0, 2000, 1000}, {kLeft}, {0, 0, 1024, 768}},
        // The title bar must lie on the screen with 60 pixels of it across.
        {"60 pixels across at the right edge: kept", {964, 100, 400, 300}, {kLeft}, {964, 100, 400, 300}},
        {"59 pixels across: moved in", {965, 100, 400, 300}, {kLeft}, {624, 100, 400, 300}},
        {"60 pixels across at the left edge: kept", {-340, 100, 400, 300}, {kLeft}, {-340, 100, 400, 300}},
        {"59 pixels across at the left edge: moved in", {-341, 100, 400, 300}, {kLeft}, {0, 100, 400, 300}},
        {"title bar 60 pixels above the bottom: kept", {100, 708, 400, 300}, {kLeft}, {100, 708, 400, 300}},
        {"title bar 59 pixels above the bottom: moved up", {100, 709, 400, 300}, {kLeft}, {100, 468, 400, 300}},
        {"title bar one pixel above the screen: moved down", {100, -1, 400, 300}, {kLeft}, {100, 0, 400, 300}},
        {"under a panel: the available area counts", {100, 10, 400, 300}, {kUnderPanel}, {100, 30, 400, 300}},
        {"on the second screen: kept", {1500, 500, 400, 300}, {kLeft, kRight}, {1500, 500, 400, 300}},
        {"the left monitor removed: onto the one left", {-1500, 100, 400, 300}, {kRight}, {1024, 100, 400, 300}},
        {"below the small screen, its title bar on the tall one: kept", {900, 900, 400, 100}, {kLeft, kRight},
         {900, 900, 400, 100}},
        {"below both: onto the nearer, the tall one", {900, 1100, 400, 100}, {kLeft, kRight}, {1024, 924, 400, 100}},
        {"beyond both to the right: onto the right one", {9000, 100, 400, 300}, {kLeft, kRight}, {1904, 100, 400, 300}},
        {"no screens known: kept", {-5000, -5000, 400, 300}, {}, {-5000, -5000, 400, 300}},
    };
    for (const ScreenCase& c : cases) EXPECT_EQ(placeOnScreens(c.frame, c.screens), c.expected) << c.what;
}

struct BesideCase {
    const char* what;
    QRect frame;
    QRect owner;
    QRect expected;
};

TEST(PlaceBeside, TheEditorLeavesTheListsToolBarFree) {
    // The list's tool bar: the top 40 pixels inside its frame.
    auto toolsOf = [](const QRect& owner) { return QRect(owner.left() + 4, owner.top() + 24, owner.width() - 8, 40); };
    const BesideCase cases[] = {
        {"clear of the tool bar: kept", {300, 200, 300, 400}, {0, 0, 600, 500}, {300, 200, 300, 400}},
        {"over the tool bar: right of the list", {0, 0, 300, 400}, {0, 0, 600, 500}, {600, 0, 300, 400}},
        {"no room on the right: left of the list", {400, 0, 300, 400}, {400, 0, 600, 500}, {100, 0, 300, 400}},
        {"no room either side: under the tool bar at the list's right edge", {0, 0, 300, 400}, {0, 0, 1024, 600},
         {724, 64, 300, 400}},
        {"no room under the tool bar either: kept on the screen", {0, 0, 300, 740}, {0, 0, 1024, 700},
         {724, 28, 300, 740}},
    };
    for (const BesideCase& c : cases)
        EXPECT_EQ(placeBeside(c.frame, c.owner, toolsOf(c.owner), kLeft), c.expected) << c.what;
}

// ---- real windows, offscreen (its windows have a frame of 2 pixels on each side) ----

QSize frameOf(const QWidget& w) { return w.frameGeometry().size() - w.size(); }

TEST(WindowFrames, TheStoredSizeIsTheOuterFrameOnceTheFrameIsKnown) {
    QDialog w;
    w.resize(100, 100);
    applyPlace(&w, WindowPlace{20, 30, 300, 400});
    // Never shown: the frame is not known, and the stored size is what is written back.
    EXPECT_EQ(currentPlace(&w), (WindowPlace{20, 30, 300, 400}));
    guitest::showActive(w);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frameOf(w).isNull(); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.frameGeometry().size() == QSize(400, 300); }, 2000));
    EXPECT_EQ(w.size(), QSize(400, 300) - frameOf(w));
    EXPECT_EQ(currentPlace(&w), (WindowPlace{20, 30, 300, 400}));
    // Resized by the user: the outer size goes back.
    w.resize(500, 250);
    EXPECT_EQ(currentPlace(&w), (WindowPlace{20, 30, 250 + frameOf(w).height(), 500 + frameOf(w).width()}));
    w.close();
}

TEST(WindowFrames, ADesignSizeIsKeptAsItIs) {
    QDialog w;
    w.resize(210, 120);
    applyPlace(&w, WindowPlace{});
    guitest::showActive(w);
    QTest::qWait(50);
    EXPECT_EQ(w.size(), QSize(210, 120));
    w.close();
}

TEST(WindowFrames, AStoredPlaceOutOfReachIsMovedOntoTheScreen) {
    QDialog w;
    applyPlace(&w, WindowPlace{-5000, -5000, 200, 300});
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(w.pos(), area.topLeft());
    EXPECT_EQ(currentPlace(&w), (WindowPlace{area.left(), area.top(), 200, 300}));
}

// ---- in front with the focus ----

TEST(WindowsInFront, AWindowOpenedFromAnotherTakesTheFocusAndGivesItBack) {
    QWidget main;
    main.setObjectName("main");
    guitest::showActive(main);
    // A window with a parent, opened without blocking: in front with the focus.
    QDialog list(&main);
    list.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &list; }, 2000));
    // A second one opened from it, with no parent of its own: transient for the one it came from.
    QDialog editor;
    editor.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &editor; }, 2000));
    ASSERT_NE(editor.windowHandle(), nullptr);
    EXPECT_EQ(editor.windowHandle()->transientParent(), list.windowHandle());
    // A box over the editor that closes gives the focus back to the editor, not to the main window.
    QDialog box(&main);
    box.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &box; }, 2000));
    box.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &editor; }, 2000));
    editor.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &list; }, 2000));
    list.close();
    main.close();
}

TEST(WindowsInFront, AModalBoxTakesTheFocusAndTheWindowBehindGetsItBack) {
    QWidget main;
    guitest::showActive(main);
    QDialog editor(&main);
    editor.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &editor; }, 2000));
    QWidget* activeInBox = nullptr;
    guitest::whenModal<QMessageBox>([&](QMessageBox* box) {
        QTest::qWait(50);
        activeInBox = QApplication::activeWindow();
        box->accept();
    });
    QMessageBox box(QMessageBox::Information, "Zemoplan", "x", QMessageBox::Ok, &main);
    box.exec();
    EXPECT_EQ(activeInBox, &box);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &editor; }, 2000));
    editor.close();
    main.close();
}

}  // namespace
}  // namespace zemo::ui
