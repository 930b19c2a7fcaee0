// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QCloseEvent>
#include <QDialog>
#include <QTest>
#include <csignal>
#include <QPushButton>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/ui/frm_cd_add.h"
#include "catalogue/ui/frm_cd_bagr.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/frm_cd_edit.h"
#include "catalogue/ui/frm_cd_history.h"
#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "platform/clock.h"
#include "support/scripted_prompter.h"
#include "catalogue/ui/record_grid.h"
#include "planning/ui/frm_shuf_disp.h"
#include "planning/ui/frm_shuf_main.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/file_services.h"
#include "records/text.h"
#include "records/window_settings.h"
#include "settings/ui/frm_file_sel.h"
#include "shell/startup.h"
#include "shell/ui/about_box.h"
#include "shell/ui/main_window.h"
#include "shell/ui/shell_windows.h"
#include "shell/ui/single_instance.h"
#include "support/temp_dir.h"
#include "ui/qt_prompter.h"

namespace zemo::ui {
namespace {

namespace fs = std::filesystem;
using guitest::whenModal;
using guitest::readBytes;
using guitest::child;

const std::string kCreateQuestion = "ｼｽﾃﾑｺﾝﾄﾛｰﾙﾌｧｲﾙがありません。作成します。\nZEMOCTRL.DAT";
const std::string kFatalMessage = "ｼｽﾃﾑｺﾝﾄﾛｰﾙﾃﾞｰﾀの設定が正常ではありません！\nシステムを終了します。";

void writeBytes(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary);
    out << bytes;
}

// Runs the event loop until something ends it, at most a generous while (so a fault hangs no run).
int runEventLoop() {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(30000);
    return QApplication::exec();
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testsupport::makeTempDir("zemo-mainwin");
    }

    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // A control file with the creation defaults and a stored database size.
    void writeControl(int dbSize) {
        ScriptedPrompter p;
        Workspace ws(p, clock_, dir_);
        initControlDefaults(ws);
        ws.control.dbSize = static_cast<std::int16_t>(dbSize);
        ASSERT_EQ(saveControl(ws), 0);
    }

    void writeSettings(const WindowSettings& s) { writeBytes(dir_ / "WZEMO.INI", formatWindowSettings(s)); }
    WindowSettings readSettings() { return parseWindowSettings(readBytes(dir_ / "WZEMO.INI")); }

    std::unique_ptr<TFrmMain> start(std::vector<std::string> args = {}) {
        StartOptions o;
        o.programDir = dir_;
        o.executablePath = dir_ / "zemoplan";
        o.args = std::move(args);
        return std::make_unique<TFrmMain>(prompter_, clock_, o);
    }

    fs::path dir_;
    ScriptedPrompter prompter_;
    FixedClock clock_{LocalTime{2024, 3, 2, 12, 5, 9}};
};

// ---- start-up over the control file ----

TEST_F(MainWindowTest, StartsQuietlyWithAControlFile) {
    writeControl(2);
    auto w = start();
    EXPECT_TRUE(prompter_.boxes.empty());
    EXPECT_FALSE(w->fatal());
    EXPECT_EQ(w->windowTitle(), "Zemoplan");
    EXPECT_EQ(w->workspace().dbSize, 2);
    EXPECT_EQ(w->workspace().capacity(1), 1000);
    EXPECT_EQ(w->workspace().arrays[1].slotCount(), 1001);
    EXPECT_EQ(w->workspace().arrays[2].slotCount(), 31);
    EXPECT_EQ(w->workspace().indexList.size(), 501);
    EXPECT_TRUE(child<QLabel>(w.get(), "Lbl_DtTm")->text().isEmpty());
    EXPECT_FALSE(child<QWidget>(w.get(), "Memo1")->isVisibleTo(w.get()));
    EXPECT_FALSE(child<QWidget>(w.get(), "Panel1")->isVisibleTo(w.get()));
    w->show();
    EXPECT_TRUE(w->isVisible());
}

TEST_F(MainWindowTest, MissingControlFileIsCreatedOnYes) {
    prompter_.answers = {Answer::Yes};
    auto w = start();
    ASSERT_EQ(prompter_.boxes.size(), 1u);
    EXPECT_EQ(prompter_.boxes[0].kind, BoxKind::Confirmation);
    EXPECT_EQ(prompter_.boxes[0].text, kCreateQuestion);
    EXPECT_EQ(prompter_.boxes[0].buttons, Buttons::YesCancel);
    EXPECT_FALSE(w->fatal());
    EXPECT_EQ(fs::file_size(dir_ / "ZEMOCTRL.DAT"), 2048u);
    // The new record holds no size: the run uses 1 and the record in memory says so.
    EXPECT_EQ(w->workspace().dbSize, 1);
    EXPECT_EQ(w->workspace().control.dbSize, 1);
}

TEST_F(MainWindowTest, DecliningTheControlFileEndsTheApplication) {
    prompter_.answers = {Answer::Cancel};
    auto w = start();
    ASSERT_GE(prompter_.boxes.size(), 2u);
    EXPECT_EQ(prompter_.boxes.front().text, kCreateQuestion);
    EXPECT_EQ(prompter_.boxes.back().text, kFatalMessage);
    EXPECT_EQ(prompter_.boxes.back().kind, BoxKind::Error);
    EXPECT_EQ(prompter_.boxes.back().buttons, Buttons::Yes);
    EXPECT_TRUE(w->fatal());
    EXPECT_FALSE(fs::exists(dir_ / "ZEMOCTRL.DAT"));
    // The run goes on with the defaults until the window would appear; then it ends, unseen.
    EXPECT_STREQ(w->workspace().control.paths[kPathSys], "CD_SYS");
    QTimer::singleShot(0, w.get(), [&w] { w->show(); });
    EXPECT_EQ(runEventLoop(), kFatalExitStatus);
    EXPECT_FALSE(w->isVisible());
    w->close();
    EXPECT_FALSE(fs::exists(dir_ / "WZEMO.INI"));  // a run that never started keeps no layout
}

TEST_F(MainWindowTest, DamagedControlFileEndsTheApplicationAndIsLeftAlone) {
    const std::string garbage(2048, '\x5a');
    writeBytes(dir_ / "ZEMOCTRL.DAT", garbage);
    auto w = start();
    ASSERT_FALSE(prompter_.boxes.empty());
    EXPECT_EQ(prompter_.boxes.back().text, kFatalMessage);
    EXPECT_TRUE(w->fatal());
    EXPECT_STREQ(w->workspace().control.paths[kPathSys], "CD_SYS");
    EXPECT_EQ(readBytes(dir_ / "ZEMOCTRL.DAT"), garbage);
    QTimer::singleShot(0, w.get(), [&w] { w->show(); });
    EXPECT_EQ(runEventLoop(), kFatalExitStatus);
}

struct SizeCase {
    int stored;
    std::vector<std::string> args;
    int size;
    int storedAfter;  // the in-memory record's value
};

TEST_F(MainWindowTest, DatabaseSizeFromRecordAndParameters) {
    const SizeCase cases[] = {
        {5, {"-D3"}, 3, 5},
        {5, {"/d3"}, 3, 5},
        {5, {"-D99"}, 20, 5},
        {5, {"-Dx"}, 5, 5},
        {0, {}, 1, 1},
        {25, {}, 20, 25},
        {4, {"-D2", "-D7"}, 7, 4},
    };
    for (const SizeCase& c : cases) {
        writeControl(c.stored);
        auto w = start(c.args);
        Workspace& ws = w->workspace();
        SCOPED_TRACE(c.stored);
        EXPECT_FALSE(w->fatal());
        EXPECT_EQ(ws.dbSize, c.size);
        EXPECT_EQ(ws.capacity(1), 500 * c.size);
        EXPECT_EQ(ws.capacity(3), 100 * c.size);
        EXPECT_EQ(ws.capacity(5), 200 * c.size);
        EXPECT_EQ(ws.arrays[1].slotCount(), 500 * c.size + 1);
        EXPECT_EQ(ws.control.dbSize, c.storedAfter);
    }
}

// ---- clock in the captions ----

TEST_F(MainWindowTest, TimerWritesTheClockIntoRegisteredCaptions) {
    writeControl(1);
    auto w = start();
    auto* timer = child<QTimer>(w.get(), "Timer1");
    EXPECT_EQ(timer->interval(), 1000);
    EXPECT_TRUE(timer->isActive());

    QWidget catalogue;
    catalogue.setWindowTitle("データ登録");
    w->addClockCaption(&catalogue, kCatalogueCaptionPrefix);
    {
        QWidget editor;  // gone before the next tick: nothing to write to, nothing breaks
        w->addClockCaption(&editor, kEditorCaptionPrefix);
    }
    w->Timer1Timer();
    EXPECT_EQ(catalogue.windowTitle(), "データ登録 2024/03/02 12:05:09");
    EXPECT_EQ(w->windowTitle(), "Zemoplan");

    clock_.set(LocalTime{2024, 12, 31, 23, 59, 59});
    w->Timer1Timer();
    EXPECT_EQ(catalogue.windowTitle(), "データ登録 2024/12/31 23:59:59");
}

// ---- window settings ----

TEST_F(MainWindowTest, RememberedPlacementIsAppliedAtCreation) {
    writeControl(1);
    WindowSettings s;
    s.positions["Main"] = WindowPlace{30, 40, 200, 400};
    s.positions["Edit"] = WindowPlace{-1, 25, -1, 500};
    writeSettings(s);
    auto w = start();
    EXPECT_EQ(w->pos(), QPoint(30, 40));
    EXPECT_EQ(w->size(), QSize(400, 200));

    QWidget catalogue;
    catalogue.move(300, 300);
    catalogue.resize(120, 90);
    w->addPlacedWindow(&catalogue, "Edit");
    EXPECT_EQ(catalogue.pos(), QPoint(0, 25));  // no left stored: the left edge
    EXPECT_EQ(catalogue.size(), QSize(500, 90));
}

TEST_F(MainWindowTest, PlacementBeyondTheScreenOpensAtTheEdge) {
    writeControl(1);
    WindowSettings s;
    s.positions["Main"] = WindowPlace{5000, 5000, -1, -1};
    writeSettings(s);
    auto w = start();
    EXPECT_EQ(w->pos(), QPoint(0, 0));
}

TEST_F(MainWindowTest, ClosingWritesThePlacementOfEveryTrackedWindow) {
    writeControl(1);
    WindowSettings s;
    s.widths["DEdit_M"][0] = 77;  // not the main window's to change: kept as read
    writeSettings(s);
    auto w = start();
    QWidget catalogue;
    w->addPlacedWindow(&catalogue, "Edit");
    w->show();
    w->move(55, 66);
    w->resize(333, 222);
    catalogue.move(7, 8);
    catalogue.resize(140, 110);

    // Shown, the main window has a frame: its outer size is what is kept.
    const QSize outer = w->frameGeometry().size();
    EXPECT_NE(outer, QSize(333, 222));
    child<QAction>(w.get(), "MFileExit")->trigger();
    EXPECT_FALSE(w->isVisible());
    WindowSettings written = readSettings();
    EXPECT_EQ(written.positions["Main"], (WindowPlace{55, 66, outer.height(), outer.width()}));
    EXPECT_EQ(written.positions["Edit"], (WindowPlace{7, 8, 110, 140}));
    EXPECT_EQ(written.widths["DEdit_M"][0], 77);
}

TEST_F(MainWindowTest, DataEntryOpensTheCatalogueWindowWithItsListsLoaded) {
    writeControl(1);
    auto w = start();
    ShellPromptDialogs dialogs;
    const ShellWindows shell = createShellWindows(*w, dialogs);
    ASSERT_NE(shell.catalogue, nullptr);
    // A catalogue of two records; the histories and the add list have no files yet.
    {
        Workspace& ws = w->workspace();
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(dir_ / d);
        TCddataArray a(ws.capacity(kKindCatalogue) + 1);
        a[0].active = a[1].active = 1;
        setField(a[0].barcode, "4988001");
        setField(a[1].barcode, "4988002");
        ASSERT_EQ(writeDataFile(ws, false, defaultFilePath(ws, kKindCatalogue), kKindCatalogue, a,
                                ws.capacity(kKindCatalogue)),
                  0);
    }
    auto* command = child<QAction>(w.get(), "MEditEdit");
    ASSERT_TRUE(command->isEnabled());
    prompter_.answers = {Answer::Yes, Answer::Yes, Answer::Yes};  // create the three missing list files
    int rows = 0;
    QString caption, firstBarcode;
    whenModal<TFrmCd_data>([&](TFrmCd_data* d) {
        rows = d->grid()->model()->rowCount();
        firstBarcode = d->grid()->model()->index(0, 1).data().toString();
        w->Timer1Timer();
        caption = d->windowTitle();
        prompter_.answers = {Answer::No, Answer::Ok};
        d->close();
    });
    command->trigger();
    EXPECT_EQ(rows, 500);
    EXPECT_EQ(firstBarcode, "4988001");
    EXPECT_EQ(caption, QStringLiteral("データ登録 ") + QString::fromStdString(clockText(clock_.localNow())));
    EXPECT_EQ(prompter_.boxes.size(), 5u);  // three files made, then the close question and its warning
    for (int kind : {kKindDeleted, kKindAdd, kKindNew})
        EXPECT_TRUE(fs::exists(defaultFilePath(w->workspace(), kind))) << kind;
    // Discarding sends the histories back to their files; the add list stays as it was read.
    EXPECT_EQ(w->workspace().loaded[kKindAdd], 1);
    EXPECT_EQ(w->workspace().loaded[kKindDeleted], 0);
}

TEST_F(MainWindowTest, OptimisationOpensTheTapePlanningListWithTheCatalogueAndTheListLoaded) {
    writeControl(1);
    auto w = start();
    ShellPromptDialogs dialogs;
    const ShellWindows shell = createShellWindows(*w, dialogs);
    ASSERT_NE(shell.shufMain, nullptr);
    Workspace& ws = w->workspace();
    for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(dir_ / d);
    for (int kind : {kKindCatalogue, kKindShuffle}) {
        TCddataArray a(ws.capacity(kind) + 1);
        a[0].active = 1;
        setField(a[0].barcode, kind == kKindCatalogue ? "4988001" : "4988777");
        ASSERT_EQ(writeDataFile(ws, false, defaultFilePath(ws, kind), kind, a, ws.capacity(kind)), 0);
    }
    auto* command = child<QAction>(w.get(), "MEditOptimum");
    ASSERT_TRUE(command->isEnabled());
    bool catalogueLoaded = false;
    QString caption, firstBarcode;
    whenModal<TFrmShufMain>([&](TFrmShufMain* d) {
        catalogueLoaded = ws.loaded[kKindCatalogue] == 1;
        firstBarcode = d->grid()->model()->index(0, 1).data().toString();
        w->Timer1Timer();
        caption = d->windowTitle();
        prompter_.answers = {Answer::No};
        d->close();
    });
    command->trigger();
    EXPECT_TRUE(catalogueLoaded);
    EXPECT_EQ(firstBarcode, "4988777");
    EXPECT_EQ(caption, QStringLiteral("振り分け ") + QString::fromStdString(clockText(clock_.localNow())));
    EXPECT_EQ(prompter_.texts(), (std::vector<std::string>{"保存終了します。"}));
}

TEST_F(MainWindowTest, ATapeJobFromTheMainWindowPlansWritesTheOrderBackAndSavesIt) {
    writeControl(1);
    auto w = start();
    ShellPromptDialogs dialogs;
    const ShellWindows shell = createShellWindows(*w, dialogs);
    ASSERT_NE(shell.shufMain, nullptr);
    ASSERT_NE(shell.shufDisp, nullptr);
    Workspace& ws = w->workspace();
    for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(dir_ / d);
    // Five CDs collected in the tape-planning list, from a catalogue of the same five.
    const std::vector<std::string> barcodes{"4988001", "4988002", "4988003", "4988004", "4988005"};
    for (int kind : {kKindCatalogue, kKindShuffle}) {
        TCddataArray a(ws.capacity(kind) + 1);
        for (std::size_t i = 0; i < barcodes.size(); ++i) {
            CdRecord& r = a[static_cast<int>(i)];
            r.active = 1;
            r.trackCount = r.trackPos = 1;
            setField(r.barcode, barcodes[i]);
            r.timeSec = 600 + 150 * static_cast<int>(i);
        }
        ASSERT_EQ(writeDataFile(ws, false, defaultFilePath(ws, kind), kind, a, ws.capacity(kind)), 0);
    }
    bool resultsShown = false, resultsClosedWithList = false;
    std::vector<std::string> written;
    whenModal<TFrmShufMain>([&](TFrmShufMain* list) {
        QTest::mouseClick(list->findChild<QPushButton*>("BtnShuf"), Qt::LeftButton);
        resultsShown = shell.shufDisp->isVisible();
        prompter_.answers = {Answer::Ok};
        QTest::mouseClick(shell.shufDisp->findChild<QPushButton*>("BtnSSet"), Qt::LeftButton);
        EXPECT_TRUE(prompter_.answers.empty());  // "振分け結果を設定します。" was asked and answered
        for (int i = 0; i < 5; ++i) written.push_back(fieldText(ws.arrays[kKindShuffle][i].barcode));
        prompter_.answers = {Answer::Yes};
        list->close();
        resultsClosedWithList = !shell.shufDisp->isVisible();
    });
    child<QAction>(w.get(), "MEditOptimum")->trigger();
    EXPECT_TRUE(resultsShown);
    EXPECT_TRUE(resultsClosedWithList);
    // The order written back holds the same five CDs, and that order is what was saved.
    std::vector<std::string> sorted = written;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, barcodes);
    TCddataArray saved(ws.capacity(kKindShuffle) + 1);
    int flag = 0, count = 0;
    ASSERT_EQ(readDataFile(ws, "", kKindShuffle, saved, flag, count, ws.capacity(kKindShuffle)), DataFileRead::Ok);
    ASSERT_EQ(count, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(fieldText(saved[i].barcode), written[static_cast<std::size_t>(i)]) << i;
    EXPECT_TRUE(fs::exists(backupPath(defaultFilePath(ws, kKindShuffle))));
    const std::vector<std::string> texts = prompter_.texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "振分け結果を設定します。"), texts.end());
}

TEST_F(MainWindowTest, TheFileChooserTakesItsPlacementAndGivesItBackAtClosing) {
    writeControl(1);
    WindowSettings s;
    s.positions["FileSel"] = WindowPlace{30, 40, 380, 560};
    writeSettings(s);
    auto w = start();
    ShellPromptDialogs dialogs;
    const ShellWindows shell = createShellWindows(*w, dialogs);
    ASSERT_NE(shell.chooser, nullptr);
    EXPECT_EQ(shell.chooser->pos(), QPoint(30, 40));
    EXPECT_EQ(shell.chooser->size(), QSize(560, 380));

    shell.chooser->move(12, 34);
    shell.chooser->resize(700, 450);
    child<QAction>(w.get(), "MFileExit")->trigger();
    EXPECT_EQ(readSettings().positions["FileSel"], (WindowPlace{12, 34, 450, 700}));
}

TEST_F(MainWindowTest, TheCatalogueEditingWindowsTakeTheirPlacementAndGiveItBack) {
    writeControl(1);
    WindowSettings s;
    s.positions["EInp"] = WindowPlace{11, 12, -1, -1};
    s.positions["Bagr"] = WindowPlace{21, 22, 300, 700};
    s.positions["Add"] = WindowPlace{31, 32, 310, 710};
    s.positions["New"] = WindowPlace{41, 42, 320, 720};
    s.positions["Del"] = WindowPlace{51, 52, 330, 730};
    writeSettings(s);
    auto w = start();
    ShellPromptDialogs dialogs;
    const ShellWindows shell = createShellWindows(*w, dialogs);
    struct Case {
        const char* stem;
        QWidget* window;
        WindowPlace place;
    };
    const Case cases[] = {
        {"EInp", shell.editor, {11, 12, -1, -1}},
        {"Bagr", shell.agreement, {21, 22, 300, 700}},
        {"Add", shell.addList, {31, 32, 310, 710}},
        {"New", shell.added, {41, 42, 320, 720}},
        {"Del", shell.deleted, {51, 52, 330, 730}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stem);
        ASSERT_NE(c.window, nullptr);
        EXPECT_EQ(c.window->pos(), QPoint(c.place.left, c.place.top));
        if (c.place.width > 0) {
            EXPECT_EQ(c.window->size(), QSize(c.place.width, c.place.height));
        }
        c.window->move(c.place.left + 100, c.place.top + 100);
    }
    // "追加  ﾌｧｲﾙ(&A)" now has its window.
    EXPECT_TRUE(child<QAction>(w.get(), "MDataAdd")->isEnabled());
    child<QAction>(w.get(), "MFileExit")->trigger();
    const WindowSettings written = readSettings();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stem);
        const WindowPlace got = written.positions.at(c.stem);
        EXPECT_EQ(got.left, c.place.left + 100);
        EXPECT_EQ(got.top, c.place.top + 100);
    }
}

TEST_F(MainWindowTest, WithoutASettingsFileEveryKeyIsWrittenAtClosing) {
    writeControl(1);
    auto w = start();
    EXPECT_EQ(w->pos(), QPoint(0, 0));
    w->close();
    ASSERT_TRUE(fs::exists(dir_ / "WZEMO.INI"));
    const std::string text = readBytes(dir_ / "WZEMO.INI");
    for (const char* key : {"Main_L=", "FileSel_W=", "[DDisp_M]", "Widths14=", "[RefMd]", "LblPrnFn="})
        EXPECT_NE(text.find(key), std::string::npos) << key;
}

// ---- menu, buttons, version box ----

struct MenuCase {
    const char* name;
    const char* caption;
    bool enabled;
};

TEST_F(MainWindowTest, MenuItemsOfWindowsNotYetThereAreDisabled) {
    writeControl(1);
    auto w = start();
    EXPECT_EQ(w->menuBar()->objectName(), "MainMenu1");
    const MenuCase cases[] = {
        {"MFileExit", "終了(&X)", true},
        {"MEditOptimum", "最適化処理(&S)", false},
        {"MEditEdit", "データ登録(&E)", false},
        {"MDataAdd", "追加  ﾌｧｲﾙ(&A)", false},
        {"SysMode", "ｼｽﾃﾑﾓｰﾄﾞ(&M)", false},
        {"Revise", "誤差補正(&R)", false},
        {"SysPass", "ｼｽﾃﾑﾊﾟｽ(&P)", false},
        {"Shuffle", "振り分け(&S)", false},
        {"PrnLabel", "ﾗﾍﾞﾙ 印刷(&L)", false},
        {"ShareSet", "SHARE 設定(&S)", false},
        {"MHelpAbout", "ﾊﾞｰｼﾞｮﾝ情報(&A)", true},
    };
    for (const MenuCase& c : cases) {
        QAction* a = child<QAction>(w.get(), c.name);
        if (!a) continue;
        EXPECT_EQ(a->text(), QString::fromUtf8(c.caption)) << c.name;
        EXPECT_EQ(a->isEnabled(), c.enabled) << c.name;
        EXPECT_TRUE(a->isVisible()) << c.name;
    }
    const std::pair<const char*, const char*> menus[] = {
        {"MenuFile", "ﾌｧｲﾙ(&F)"}, {"MenuEdit", "編集(&E)"}, {"MenuMente", "設定(&S)"}, {"MenuHelp", "ヘルプ(&H)"}};
    for (auto [name, caption] : menus)
        if (QMenu* m = child<QMenu>(w.get(), name)) {
            EXPECT_EQ(m->title(), QString::fromUtf8(caption)) << name;
        }
    for (const char* hidden : {"MEditText", "MMenteDataPrint", "MHelpHelp"})
        if (QAction* a = child<QAction>(w.get(), hidden)) {
            EXPECT_FALSE(a->isVisible()) << hidden;
        }

    const std::pair<const char*, const char*> speed[] = {
        {"SpdBtnExit", "終了"}, {"SpdBtnShuf", "振り分け"}, {"SpdBtnEdit", "登録"}};
    for (auto [name, hint] : speed)
        if (auto* b = child<QToolButton>(w.get(), name)) {
            EXPECT_EQ(b->toolTip(), QString::fromUtf8(hint)) << name;
        }
    EXPECT_TRUE(child<QToolButton>(w.get(), "SpdBtnExit")->isEnabled());
    EXPECT_FALSE(child<QToolButton>(w.get(), "SpdBtnShuf")->isEnabled());
    EXPECT_FALSE(child<QToolButton>(w.get(), "SpdBtnEdit")->isEnabled());
    const std::pair<const char*, const char*> panel[] = {
        {"BtnEnd", "終了"}, {"BtnShuffle", "最適化"}, {"BtnData", "登録"}, {"BtnSys", "ｼｽﾃﾑ"}};
    for (auto [name, caption] : panel)
        if (auto* b = child<QPushButton>(w.get(), name)) {
            EXPECT_EQ(b->text(), QString::fromUtf8(caption)) << name;
        }
}

TEST_F(MainWindowTest, AGivenCommandEnablesItsMenuItemAndButtons) {
    writeControl(1);
    auto w = start();
    int runs = 0;
    w->setCommand(TFrmMain::Command::Optimum, [&runs] { ++runs; });
    auto* item = child<QAction>(w.get(), "MEditOptimum");
    auto* speed = child<QToolButton>(w.get(), "SpdBtnShuf");
    auto* button = child<QPushButton>(w.get(), "BtnShuffle");
    ASSERT_TRUE(item && speed && button);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(speed->isEnabled());
    EXPECT_TRUE(button->isEnabled());
    item->trigger();
    speed->click();
    button->click();
    EXPECT_EQ(runs, 3);
    EXPECT_FALSE(child<QAction>(w.get(), "MEditEdit")->isEnabled());

    w->setCommand(TFrmMain::Command::Optimum, nullptr);
    EXPECT_FALSE(item->isEnabled());
    EXPECT_FALSE(speed->isEnabled());
}

// Every command runs its own handler from each of its menu items and buttons, and from nothing else.
TEST_F(MainWindowTest, EachCommandRunsFromItsOwnItemsAndButtons) {
    writeControl(1);
    auto w = start();
    struct CommandCase {
        TFrmMain::Command command;
        std::vector<const char*> items;
        std::vector<const char*> buttons;
    };
    using C = TFrmMain::Command;
    const CommandCase cases[] = {
        {C::Optimum, {"MEditOptimum"}, {"SpdBtnShuf", "BtnShuffle"}},
        {C::Edit, {"MEditEdit"}, {"SpdBtnEdit", "BtnData"}},
        {C::DataAdd, {"MDataAdd"}, {}},
        {C::SysMode, {"SysMode"}, {"BtnSys"}},
        {C::Revise, {"Revise"}, {}},
        {C::SysPass, {"SysPass"}, {}},
        {C::Shuffle, {"Shuffle"}, {}},
        {C::PrnLabel, {"PrnLabel"}, {}},
        {C::ShareSet, {"ShareSet"}, {}},
    };
    std::vector<int> runs(std::size(cases), 0);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        w->setCommand(cases[i].command, [&runs, i] { ++runs[i]; });
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const CommandCase& c = cases[i];
        std::vector<int> expected(std::size(cases), 0);
        for (const char* name : c.items) {
            QAction* a = child<QAction>(w.get(), name);
            ASSERT_TRUE(a);
            a->trigger();
        }
        for (const char* name : c.buttons) {
            auto* b = child<QAbstractButton>(w.get(), name);
            ASSERT_TRUE(b);
            b->click();
        }
        expected[i] = static_cast<int>(c.items.size() + c.buttons.size());
        EXPECT_EQ(runs, expected) << c.items[0];
        std::fill(runs.begin(), runs.end(), 0);
    }
    // The speed buttons show glyphs named by their hints and never take the focus.
    for (const char* name : {"SpdBtnExit", "SpdBtnShuf", "SpdBtnEdit"}) {
        auto* b = child<QToolButton>(w.get(), name);
        ASSERT_TRUE(b);
        EXPECT_FALSE(b->icon().isNull()) << name;
        EXPECT_EQ(b->statusTip(), b->toolTip()) << name;
        EXPECT_EQ(b->accessibleName(), b->toolTip()) << name;
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << name;
    }
}

TEST_F(MainWindowTest, VersionBox) {
    writeControl(1);
    auto w = start();
    TAboutBox* box = w->aboutBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "バージョン情報");
    EXPECT_EQ(child<QLabel>(box, "ProductName")->text(), "Zemoplan ｼｽﾃﾑ");
    EXPECT_EQ(child<QLabel>(box, "Version")->text(), "Version 3.02");

    bool seen = false;
    QTimer::singleShot(0, box, [box, &seen] {
        seen = box->isVisible();
        box->findChild<QPushButton*>("OKButton")->click();
    });
    child<QAction>(w.get(), "MHelpAbout")->trigger();  // modal until OK
    EXPECT_TRUE(seen);
    EXPECT_FALSE(box->isVisible());
}

// ---- one copy per user ----

class SingleInstanceTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        if (const char* t = std::getenv("TMPDIR")) oldTmp_ = t;
        if (const char* r = std::getenv("XDG_RUNTIME_DIR")) oldRuntime_ = r;
        // The lock and the socket live in the user's runtime folder: a fresh private one for each
        // test (made 0700 by mkdtemp).
        ::setenv("TMPDIR", dir_.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    }
    void TearDown() override {
        if (oldTmp_) ::setenv("TMPDIR", oldTmp_->c_str(), 1);
        else ::unsetenv("TMPDIR");
        if (oldRuntime_) ::setenv("XDG_RUNTIME_DIR", oldRuntime_->c_str(), 1);
        else ::unsetenv("XDG_RUNTIME_DIR");
        MainWindowTest::TearDown();
    }
    std::optional<std::string> oldTmp_, oldRuntime_;
};

TEST_F(SingleInstanceTest, SecondAcquireCallsTheFirstForward) {
    SingleInstance first;
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::First);
    EXPECT_EQ(first.folder().toStdString(), dir_.string());
    EXPECT_EQ(QFileInfo(first.socketPath()).fileName(), kMutexName);
    QSignalSpy called(&first, &SingleInstance::activationRequested);
    {
        SingleInstance second;
        EXPECT_EQ(second.acquire(), SingleInstance::Outcome::Raised);
    }
    EXPECT_TRUE(called.wait(10000));
    EXPECT_EQ(called.count(), 1);
}

TEST_F(SingleInstanceTest, ASecondStartWhileAStartUpQuestionIsUpBringsTheQuestionForward) {
    SingleInstance first;
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::First);
    const QMetaObject::Connection startBoxes = first.raiseStartBoxOnRequest();
    QMessageBox question(QMessageBox::Question, "Zemoplan", QString::fromStdString(kCreateQuestion),
                         QMessageBox::Yes | QMessageBox::No);
    question.show();
    // The user went on with another program's window meanwhile.
    QWidget other;
    guitest::showActive(other);
    ASSERT_EQ(QApplication::activeWindow(), &other);
    {
        SingleInstance second;
        EXPECT_EQ(second.acquire(), SingleInstance::Outcome::Raised);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &question; }, 10000));
    // Once the main window has taken the message over, the start-up's handling is gone.
    QObject::disconnect(startBoxes);
    QSignalSpy called(&first, &SingleInstance::activationRequested);
    guitest::showActive(other);
    {
        SingleInstance third;
        EXPECT_EQ(third.acquire(), SingleInstance::Outcome::Raised);
    }
    ASSERT_TRUE(called.wait(10000));
    QTest::qWait(50);
    EXPECT_EQ(QApplication::activeWindow(), &other);
    question.close();
}

TEST_F(SingleInstanceTest, StaleSocketOfACrashedCopyIsReplaced) {
    SingleInstance probe;
    const std::string socketPath = probe.socketPath().toStdString();
    // A socket bound and abandoned, as a copy that died leaves it.
    int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(socketPath.size(), sizeof addr.sun_path);
    std::memcpy(addr.sun_path, socketPath.c_str(), socketPath.size() + 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
    ASSERT_TRUE(fs::exists(socketPath));

    SingleInstance first;
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::First);
    QSignalSpy called(&first, &SingleInstance::activationRequested);
    SingleInstance second;
    EXPECT_EQ(second.acquire(), SingleInstance::Outcome::Raised);
    EXPECT_TRUE(called.wait(10000));
}

TEST_F(SingleInstanceTest, ARealSecondStartExitsAndRaisesTheFirstWindow) {
    const QString program = QCoreApplication::applicationDirPath() + "/zemoplan";
    ASSERT_TRUE(QFile::exists(program)) << "build the zemoplan target first";
    writeControl(1);
    auto w = start();
    SingleInstance first;
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::First);
    QObject::connect(&first, &SingleInstance::activationRequested, w.get(), &TFrmMain::bringToFront);
    w->show();
    w->showMinimized();
    ASSERT_TRUE(w->isMinimized());
    QSignalSpy raised(w.get(), &TFrmMain::broughtToFront);

    const fs::path home = dir_ / "second-home";
    fs::create_directory(home);
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", QString::fromStdString(dir_.string()));
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir_.string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(env);
    second.start(program, {"--home", QString::fromStdString(home.string()), "-D3"});
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    EXPECT_TRUE(fs::is_empty(home));  // it never got as far as the control file

    EXPECT_TRUE(raised.wait(10000));
    EXPECT_FALSE(w->isMinimized());
    EXPECT_TRUE(w->isVisible());
}

TEST_F(MainWindowTest, ATerminationRequestClosesAsEndWhenOnlyTheMainWindowIsOpen) {
    writeControl(1);
    auto w = start();
    w->show();
    w->move(21, 43);
    w->closeOnRequest();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(readSettings().positions["Main"].left, 21);
    EXPECT_EQ(readSettings().positions["Main"].top, 43);
}

TEST_F(MainWindowTest, ATerminationRequestOverAnOpenWindowRunsThatWindowsCloseQuestion) {
    writeControl(1);
    auto w = start();
    w->show();
    // A window that owns a file: its close question keeps it open until the user answers.
    class Asking : public QDialog {
    public:
        using QDialog::QDialog;
        int asked = 0;

    protected:
        void closeEvent(QCloseEvent* e) override {
            ++asked;
            e->ignore();
        }
    };
    Asking open(w.get());
    bool stillOpen = false;
    QTimer::singleShot(0, &open, [&] {
        w->closeOnRequest();
        stillOpen = open.isVisible();
        open.done(0);
    });
    open.exec();
    EXPECT_EQ(open.asked, 1);
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(fs::exists(dir_ / "WZEMO.INI"));  // the main window never closed
}

// A SIGTERM while a start-up box waits, before the main window listens, is not lost: the main
// window hears it once it is there.
TEST(TerminationSignals, ARequestMadeBeforeAnythingListensReachesTheFirstListener) {
    ZemoApplication* app = ZemoApplication::current();
    ASSERT_NE(app, nullptr);
    app->watchTerminationSignals();
    ::raise(SIGTERM);
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);  // the box's loop
    int heard = 0;
    const QMetaObject::Connection listening =
        QObject::connect(app, &ZemoApplication::terminationRequested, [&heard] { ++heard; });
    for (int i = 0; i < 200 && heard == 0; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QObject::disconnect(listening);
    QCoreApplication::processEvents();
    EXPECT_EQ(heard, 1);
    // Without a listener again, a further request waits once more.
    ::raise(SIGINT);
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(heard, 1);
    const QMetaObject::Connection again =
        QObject::connect(app, &ZemoApplication::terminationRequested, [&heard] { ++heard; });
    for (int i = 0; i < 200 && heard == 1; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QObject::disconnect(again);
    EXPECT_EQ(heard, 2);
}

TEST_F(MainWindowTest, TheProgramEndsOnSigtermAndSigintAsEndDoesKeepingItsSettings) {
    const QString program = QCoreApplication::applicationDirPath() + "/zemoplan";
    ASSERT_TRUE(QFile::exists(program)) << "build the zemoplan target first";
    for (int sig : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(sig);
        writeControl(1);
        fs::remove(dir_ / "WZEMO.INI");
        const fs::path tmp = dir_ / ("tmp" + std::to_string(sig));
        fs::create_directory(tmp);
        fs::permissions(tmp, fs::perms::owner_all);  // private, as a runtime folder is
        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TMPDIR", QString::fromStdString(tmp.string()));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(tmp.string()));  // its own single-instance socket
        env.insert("QT_QPA_PLATFORM", "offscreen");
        run.setProcessEnvironment(env);
        run.start(program, {"--home", QString::fromStdString(dir_.string())});
        ASSERT_TRUE(run.waitForStarted(30000));
        // Up once its single-instance socket exists; signals are watched from before that. (Other
        // files, such as Qt's runtime folder, may appear earlier.)
        const fs::path socket = tmp / kMutexName.toStdString();
        for (int i = 0; i < 600 && !fs::exists(socket); ++i) QTest::qWait(50);
        ASSERT_TRUE(fs::exists(socket));
        ::kill(static_cast<pid_t>(run.processId()), sig);
        ASSERT_TRUE(run.waitForFinished(60000));
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
        EXPECT_TRUE(fs::exists(dir_ / "WZEMO.INI"));
        EXPECT_EQ(readSettings().positions.count("Main"), 1u);
    }
}

}  // namespace
}  // namespace zemo::ui
