// SPDX-License-Identifier: GPL-3.0-or-later
// The program's windows on a real X server under a window manager (started by run_under_wm.sh):
// each window opened from another comes in front of it with the focus as the window manager sees
// it (_NET_ACTIVE_WINDOW, _NET_CLIENT_LIST_STACKING), the record editor leaves the list's tool bar
// free and stays in front when it steps and registers, every message box is in front, focused and
// drawn, and a program folder that cannot be set up is told in a box.
#include <gtest/gtest.h>
#include <signal.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/frm_cd_edit.h"
#include "gui/widget_driver.h"
#include "planning/ui/frm_shuf_disp.h"
#include "planning/ui/frm_shuf_main.h"
#include "platform/clock.h"
#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/record_access.h"
#include "records/text.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_windows.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"
#include "ui/application.h"
#include "ui/qt_prompter.h"

namespace zemo::ui {
namespace {

namespace fs = std::filesystem;
using guitest::child;

// ---- what the window manager says ----

QString xprop(const QStringList& args) {
    QProcess p;
    p.start("xprop", args);
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished(1000);
        return {};
    }
    return QString::fromLatin1(p.readAllStandardOutput());
}

std::vector<unsigned long> rootWindows(const char* property) {
    const QString out = xprop({"-root", "-notype", property});
    std::vector<unsigned long> ids;
    const qsizetype at = out.indexOf('#');
    if (at < 0) return ids;
    for (const QString& part : out.mid(at + 1).split(',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const unsigned long id = part.trimmed().toULong(&ok, 16);
        if (ok && id) ids.push_back(id);
    }
    return ids;
}

unsigned long activeWindow() {
    const std::vector<unsigned long> ids = rootWindows("_NET_ACTIVE_WINDOW");
    return ids.empty() ? 0 : ids.front();
}

unsigned long idOf(const QWidget* w) { return static_cast<unsigned long>(w->winId()); }

// Position from the bottom of the window manager's stacking order; -1 when it is not there.
int stackPosition(const QWidget* w) {
    const std::vector<unsigned long> order = rootWindows("_NET_CLIENT_LIST_STACKING");
    const auto it = std::find(order.begin(), order.end(), idOf(w));
    return it == order.end() ? -1 : static_cast<int>(it - order.begin());
}

bool waitFor(const std::function<bool()>& done, int ms = 5000) { return QTest::qWaitFor(done, ms); }

bool isActiveOnScreen(const QWidget* w) {
    return waitFor([w] { return w->isVisible() && activeWindow() == idOf(w); });
}

// Something drawn: not every pixel of the window as the server holds it is black.
bool isDrawn(QWidget* w) {
    return waitFor([w] {
        const QImage img = w->screen()->grabWindow(w->winId()).toImage();
        if (img.isNull()) return false;
        for (int y = 0; y < img.height(); y += 3)
            for (int x = 0; x < img.width(); x += 3)
                if ((img.pixel(x, y) & 0xffffff) != 0) return true;
        return false;
    }, 3000);
}

// upper is stacked above lower, as soon as the window manager has them both.
bool above(const QWidget* upper, const QWidget* lower) {
    return waitFor([=] {
        const int u = stackPosition(upper), l = stackPosition(lower);
        return u >= 0 && l >= 0 && u > l;
    });
}

QRect globalRect(const QWidget* w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

// ---- the boxes on the way: each is looked at, then answered Yes (or its first button) ----

struct BoxSeen {
    QString text;
    bool active = false, onTop = false, drawn = false;
};

class BoxAnswerer : public QObject {
public:
    BoxAnswerer() {
        timer_.setInterval(50);
        connect(&timer_, &QTimer::timeout, this, &BoxAnswerer::look);
        timer_.start();
    }
    std::vector<BoxSeen> seen;

private:
    void look() {
        if (busy_) return;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            busy_ = true;
            BoxSeen s;
            s.text = box->text();
            s.active = isActiveOnScreen(box);
            const int mine = stackPosition(box);
            s.onTop = mine >= 0 && mine == static_cast<int>(rootWindows("_NET_CLIENT_LIST_STACKING").size()) - 1;
            s.drawn = isDrawn(box);
            seen.push_back(s);
            QAbstractButton* answer = box->button(QMessageBox::Yes);
            if (!answer) answer = box->button(QMessageBox::Ok);
            if (!answer && !box->buttons().isEmpty()) answer = box->buttons().front();
            if (answer) answer->click();
            else box->close();
            busy_ = false;
            return;
        }
    }
    QTimer timer_;
    bool busy_ = false;
};

// ---- the program's windows ----

class WindowManagerCheck : public ::testing::Test {
protected:
    void SetUp() override {
        ScriptedPrompter unused;
        Workspace ws(unused, clock_, dir_.path());
        initControlDefaults(ws);
        ASSERT_EQ(saveControl(ws), 0);
        StartOptions o;
        o.programDir = dir_.path();
        o.executablePath = dir_.path() / "zemoplan";
        main_ = std::make_unique<TFrmMain>(prompter_, clock_, o);
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(dir_.path() / d);
        TCddataArray a(main_->workspace().capacity(kKindCatalogue) + 1);
        for (int i = 0; i < 3; ++i) {
            a[i].active = 1;
            setField(a[i].barcode, "498800" + std::to_string(i + 1));
            setField(a[i].title, utf8ToSjis("タイトル" + std::to_string(i + 1)));
            a[i].timeSec = 600 + 60 * i;
        }
        ASSERT_EQ(writeDataFile(main_->workspace(), false, defaultFilePath(main_->workspace(), kKindCatalogue), kKindCatalogue, a,
                                main_->workspace().capacity(kKindCatalogue)),
                  0);
        shell_ = createShellWindows(*main_, dialogs_);
        prompter_.setDialogs(&dialogs_);
        main_->show();
        ASSERT_TRUE(isActiveOnScreen(main_.get()));
    }
    void TearDown() override {
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        main_->close();
        prompter_.setDialogs(nullptr);
    }

    // Runs check inside the modal loop that trigger starts, once `ready` holds and no box is up
    // (polled from that loop, so that no box's own loop waits under the check); the check closes
    // the window.
    void insideModal(QAction* trigger, std::function<bool()> ready, std::function<void()> check) {
        bool ran = false;
        QTimer poll;
        poll.setInterval(50);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!ready() || qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) return;
            poll.stop();
            check();
            ran = true;
        });
        poll.start();
        // A failed check may leave the window open; it is closed so that the loop ends.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        guard.start(30000);
        trigger->trigger();
        EXPECT_TRUE(ran);
    }

    testsupport::TempDir dir_{"zemo-wm"};
    FixedClock clock_{LocalTime{2024, 3, 2, 12, 5, 9}};
    QtPrompter prompter_;
    ShellPromptDialogs dialogs_;
    std::unique_ptr<TFrmMain> main_;
    ShellWindows shell_;
    BoxAnswerer boxes_;
};

TEST_F(WindowManagerCheck, DataEntryOpensTheListInFrontOfTheMainWindowAndItsBoxesInFrontOfIt) {
    TFrmCd_data* list = shell_.catalogue;
    insideModal(child<QAction>(main_.get(), "MEditEdit"), [&] { return list->isVisible(); }, [&] {
        EXPECT_TRUE(above(list, main_.get()));
        EXPECT_TRUE(isActiveOnScreen(list)) << "the list did not get the focus";
        shell_.editor->close();
        list->close();
    });
    ASSERT_GE(boxes_.seen.size(), 3u);  // the three list files made at the opening
    for (const BoxSeen& b : boxes_.seen) {
        EXPECT_TRUE(b.active) << "box not focused: " << b.text.toStdString();
        EXPECT_TRUE(b.onTop) << "box not in front: " << b.text.toStdString();
        EXPECT_TRUE(b.drawn) << "box left black: " << b.text.toStdString();
    }
}

TEST_F(WindowManagerCheck, DataEntryTheEditorBesideTheListInFrontThroughStepsAndRegistering) {
    TFrmCd_data* list = shell_.catalogue;
    TFrmCdEdit* editor = shell_.editor;
    insideModal(child<QAction>(main_.get(), "MEditEdit"), [&] { return list->isVisible() && editor->isVisible(); }, [&] {
        // The list over the main window, the editor over the list with the focus.
        ASSERT_TRUE(isActiveOnScreen(editor)) << "the editor did not get the focus";
        EXPECT_TRUE(above(list, main_.get()));
        EXPECT_TRUE(above(editor, list));
        // Clear of the list's tool bar, so that its buttons can be clicked.
        auto* tools = list->findChild<QWidget*>("ToolBar");
        ASSERT_NE(tools, nullptr);
        EXPECT_FALSE(editor->frameGeometry().intersects(globalRect(tools)))
            << "editor " << editor->frameGeometry().x() << "," << editor->frameGeometry().y();

        // Stepping to the next record keeps the editor in front.
        QTest::mousePress(child<QWidget>(editor, "SpdBtnDown"), Qt::LeftButton);
        QTest::mouseRelease(child<QWidget>(editor, "SpdBtnDown"), Qt::LeftButton);
        QTest::qWait(300);
        EXPECT_TRUE(isActiveOnScreen(editor)) << "the editor lost the focus after stepping";
        EXPECT_TRUE(above(editor, list));

        // A new record registered: its boxes come and go, and the editor is in front again.
        const std::size_t before = boxes_.seen.size();
        auto* barcode = child<QLineEdit>(editor, "Edt_bcd");
        barcode->setText("4988999");
        child<QLineEdit>(editor, "Edt_ttl")->setText("新しいタイトル");
        child<QPushButton>(editor, "BtnF06")->click();
        QTest::qWait(300);
        EXPECT_TRUE(isActiveOnScreen(editor)) << "the editor lost the focus after registering";
        EXPECT_TRUE(above(editor, list));
        EXPECT_GE(boxes_.seen.size(), before);
        editor->close();
        list->close();
    });
    ASSERT_FALSE(boxes_.seen.empty());  // at least the three list files made at the opening
    for (const BoxSeen& b : boxes_.seen) {
        EXPECT_TRUE(b.active) << "box not focused: " << b.text.toStdString();
        EXPECT_TRUE(b.onTop) << "box not in front: " << b.text.toStdString();
        EXPECT_TRUE(b.drawn) << "box left black: " << b.text.toStdString();
    }
}

TEST_F(WindowManagerCheck, TheResultsWindowOpensInFrontOfTheTapeList) {
    TFrmShufMain* tapes = shell_.shufMain;
    TFrmShufDisp* results = shell_.shufDisp;
    insideModal(child<QAction>(main_.get(), "MEditOptimum"), [&] { return tapes->isVisible(); }, [&] {
        ASSERT_TRUE(isActiveOnScreen(tapes));
        EXPECT_TRUE(above(tapes, main_.get()));
        TCddataArray& shuffle = main_->workspace().arrays[kKindShuffle];
        for (int i = 0; i < 6; ++i) {
            CdRecord r = clearedRecord();
            r.active = 1;
            r.timeSec = 300 + 37 * i;
            r.saleDate = 20240101;
            setField(r.barcode, "498800000000" + std::to_string(i));
            setField(r.title, utf8ToSjis("CD" + std::to_string(i + 1)));
            shuffle.put(i, r);
        }
        tapes->redrawList();
        child<QPushButton>(tapes, "BtnShuf")->click();
        ASSERT_TRUE(waitFor([&] { return results->isVisible(); }));
        EXPECT_TRUE(isActiveOnScreen(results)) << "the results window did not get the focus";
        EXPECT_TRUE(above(results, tapes));
        EXPECT_TRUE(isDrawn(results));
        results->close();
        ASSERT_TRUE(isActiveOnScreen(tapes)) << "the list did not get the focus back";
        tapes->close();
    });
    for (const BoxSeen& b : boxes_.seen) {
        EXPECT_TRUE(b.active) << "box not focused: " << b.text.toStdString();
        EXPECT_TRUE(b.drawn) << "box left black: " << b.text.toStdString();
    }
}

// ---- the real program ----

TEST(ProgramOnScreen, AProgramFolderThatIsNotThereIsToldInABoxAndOnStderr) {
    const QString program = QString::fromUtf8(ZEMO_PROGRAM_PATH);
    testsupport::TempDir sockets("zemo-wm-run");
    const std::vector<unsigned long> before = rootWindows("_NET_CLIENT_LIST");
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(sockets.str()));
    env.insert("TMPDIR", QString::fromStdString(sockets.str()));
    run.setProcessEnvironment(env);
    run.start(program, {"--home", QString::fromStdString(sockets.str("missing"))});
    ASSERT_TRUE(run.waitForStarted(30000));
    // A new window while the program waits: the box.
    const bool boxShown = waitFor([&] {
        return run.state() == QProcess::Running && rootWindows("_NET_CLIENT_LIST").size() > before.size();
    }, 30000);
    EXPECT_TRUE(boxShown) << "no box; the program ended with " << run.exitCode();
    if (run.state() == QProcess::Running) ::kill(static_cast<pid_t>(run.processId()), SIGTERM);
    ASSERT_TRUE(run.waitForFinished(30000));
    const std::string err = run.readAllStandardError().toStdString();
    EXPECT_EQ(run.exitCode(), 2) << err;
    EXPECT_NE(err.find("missing does not exist"), std::string::npos) << err;
}

}  // namespace
}  // namespace zemo::ui

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    zemo::ui::ZemoApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
