// SPDX-License-Identifier: GPL-3.0-or-later
// The tape-planning list window over a real shuffle-list file: collecting CDs from the catalogue
// and from a search, dragging rows, mixing the list, the close question, and the change signal
// every slot write sends, driven offscreen by the controls' names.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "catalogue/catalogue_access.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/frm_cd_ref.h"
#include "catalogue/ui/frm_data_disp.h"
#include "catalogue/ui/frm_ref_md.h"
#include "catalogue/ui/record_grid.h"
#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "planning/ui/frm_shuf_ctrl.h"
#include "planning/ui/frm_shuf_main.h"
#include "platform/sjis.h"
#include "printing/ui/frm_prn_st_ed.h"
#include "printing/ui/frm_stop.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/text.h"
#include "records/window_settings.h"
#include "support/pdf_text.h"
#include "support/scripted_prompter.h"
#include "ui/printer.h"

namespace zemo::ui {
namespace {

namespace fs = std::filesystem;
using guitest::TempDir;
using guitest::whenModal;
using guitest::readBytes;
using guitest::child;

CdRecord record(const std::string& barcode, int timeSec = 240) {
    CdRecord r;
    clearCdRecord(r);
    setField(r.barcode, barcode);
    setField(r.title, sj("曲") + barcode);
    r.timeSec = timeSec;
    r.active = 1;
    return r;
}

class ShuffleListWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        initControlDefaults(ws);
        ws.createArrays(1);
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(tmp.path() / d);
        ASSERT_EQ(saveControl(ws), 0);
        catalogue = std::make_unique<TFrmCd_data>(ws, settings);
        results = std::make_unique<TFrmCd_Ref>(ws, settings);
        search = std::make_unique<TFrmRefMd>(ws, settings, *results);
        window = std::make_unique<TFrmShufMain>(ws, settings);
        window->setCatalogue(catalogue.get());
        window->setSearch(search.get());
        changes = std::make_unique<QSignalSpy>(window.get(), &TFrmShufMain::shuffleListChanged);
    }

    void TearDown() override {
        if (window->isVisible()) {
            prompter.answers.push_back(Answer::No);
            window->close();
        }
    }

    // The catalogue in memory from slot 0, marked loaded.
    void setCatalogue(const std::vector<CdRecord>& records) {
        for (std::size_t i = 0; i < records.size(); ++i) ws.arrays[kKindCatalogue][static_cast<int>(i)] = records[i];
        ws.loaded[kKindCatalogue] = 1;
    }

    // The shuffle-list file with these records, opened; then the slots laid out as given ("" an
    // empty slot), as earlier edits would leave them (a file holds only the records in use).
    void openList(const std::vector<std::string>& barcodes) {
        TCddataArray a(ws.capacity(kKindShuffle) + 1);
        int used = 0;
        for (const std::string& b : barcodes)
            if (!b.empty()) a[used++] = record(b);
        ASSERT_EQ(writeDataFile(ws, false, defaultFilePath(ws, kKindShuffle), kKindShuffle, a,
                                ws.capacity(kKindShuffle)),
                  0);
        ASSERT_EQ(window->openShuffleList(), 0);
        for (int slot = 0; slot < TFrmShufMain::kSlots; ++slot) {
            const std::string b = slot < static_cast<int>(barcodes.size()) ? barcodes[slot] : "";
            if (b.empty()) clearCdRecord(ws.arrays[kKindShuffle][slot]);
            else ws.arrays[kKindShuffle][slot] = record(b, 60 * (slot + 1));
        }
        window->redrawList();
        window->show();
    }

    std::string slotBarcode(int slot) const {
        const CdRecord& r = ws.arrays[kKindShuffle][slot];
        return r.active ? fieldText(r.barcode) : "";
    }
    std::vector<std::string> barcodes() const {
        std::vector<std::string> out;
        for (int slot = 0; slot < TFrmShufMain::kSlots; ++slot) out.push_back(slotBarcode(slot));
        return out;
    }
    QString gridText(int slot, int column) const { return window->grid()->model()->index(slot, column).data().toString(); }

    // A mouse event sent straight to the grid's viewport, with the buttons held during it.
    void mouse(QEvent::Type type, QPoint pos, Qt::MouseButtons held) {
        QWidget* vp = window->grid()->viewport();
        QMouseEvent e(type, QPointF(pos), QPointF(vp->mapToGlobal(pos)), Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(vp, &e);
    }
    QPoint cellCenter(int slot, int column) const {
        RecordGrid* g = window->grid();
        return g->visualRect(g->model()->index(slot, column)).center();
    }
    void drag(int fromSlot, QPoint to) {
        const QPoint from = cellCenter(fromSlot, 4);
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    TempDir tmp{"zemo-shufmain"};
    ScriptedPrompter prompter;
    FixedClock clock{LocalTime{2024, 6, 1, 10, 0, 0}};
    Workspace ws{prompter, clock, tmp.path()};
    WindowSettings settings;
    std::unique_ptr<TFrmCd_data> catalogue;
    std::unique_ptr<TFrmCd_Ref> results;
    std::unique_ptr<TFrmRefMd> search;
    std::unique_ptr<TFrmShufMain> window;
    std::unique_ptr<QSignalSpy> changes;
};

TEST_F(ShuffleListWindowTest, OpeningShowsThirtySlotsAndTheTotal) {
    openList({"S1", "", "S3"});
    EXPECT_EQ(window->grid()->model()->rowCount(), 30);
    EXPECT_EQ(window->grid()->model()->columnCount(), 14);
    EXPECT_EQ(gridText(0, 0), "    1");
    EXPECT_EQ(gridText(29, 0), "   30");
    EXPECT_EQ(gridText(0, 1), "S1");
    EXPECT_EQ(gridText(1, 1), "");
    EXPECT_EQ(gridText(2, 1), "S3");
    // 60 s + 180 s; with no target set the target is half the total.
    EXPECT_EQ(child<QLabel>(window.get(), "Lbl_Total")->text(), QStringLiteral("総時間=[    4:00]"));
    EXPECT_EQ(child<QLabel>(window.get(), "Lbl_Target")->text(), QStringLiteral("目標=[    2:00]"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("振り分け"));
    EXPECT_EQ(changes->count(), 0);
}

// The status line's word follows the list: slot k holds 60 * (k + 1) s, the tolerance is 5 s.
TEST_F(ShuffleListWindowTest, TheStatusLineSaysWhetherAPlanExists) {
    openList({"S1", "", "S3"});  // 60 + 180: side A is 0, 60, 180 or 240 against 120
    EXPECT_EQ(child<QLabel>(window.get(), "Lbl_Exact")->text(), QStringLiteral("プランなし"));
    ws.arrays[kKindShuffle][1] = record("S2", 120);  // 180 against 60 + 120
    window->redrawList();
    EXPECT_EQ(child<QLabel>(window.get(), "Lbl_Exact")->text(), QStringLiteral("プランあり"));
    ws.control.shuffleBlock.targetSec = 10801;
    window->redrawList();
    EXPECT_EQ(child<QLabel>(window.get(), "Lbl_Exact")->text(), QStringLiteral("対象外"));
    ws.control.shuffleBlock.targetSec = 0;
    for (int slot = 0; slot < 3; ++slot) clearCdRecord(ws.arrays[kKindShuffle][slot]);
    window->redrawList();
    EXPECT_EQ(child<QLabel>(window.get(), "Lbl_Exact")->text(), QString());
}

TEST_F(ShuffleListWindowTest, SelectTakesTheCatalogueRecordPickedInReferenceMode) {
    setCatalogue({record("C1", 200), record("C2", 300), record("C3", 400)});
    openList({"S1"});
    window->grid()->selectSlot(2);
    int startedAt = -1;
    whenModal<TFrmCd_data>([&](TFrmCd_data* d) {
        startedAt = d->currentSlot();
        d->grid()->selectSlot(1);
        QTest::mouseClick(d->findChild<QPushButton*>("BtnRF10"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(window.get(), "BtnSel"), Qt::LeftButton);
    EXPECT_EQ(startedAt, 0);  // an empty row starts the catalogue at its top
    EXPECT_EQ(slotBarcode(2), "C2");
    EXPECT_EQ(gridText(2, 1), "C2");
    EXPECT_EQ(changes->count(), 1);
    EXPECT_EQ(child<QLabel>(window.get(), "Lbl_Total")->text(), QStringLiteral("総時間=[    6:00]"));

    // On a used row the catalogue opens at that CD; cancelling writes nothing.
    window->grid()->selectSlot(2);
    whenModal<TFrmCd_data>([&](TFrmCd_data* d) {
        startedAt = d->currentSlot();
        QTest::mouseClick(d->findChild<QPushButton*>("BtnRF01"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QToolButton>(window.get(), "SpdBtnSelect"), Qt::LeftButton);
    EXPECT_EQ(startedAt, 1);
    EXPECT_EQ(slotBarcode(2), "C2");
    EXPECT_EQ(changes->count(), 1);
}

TEST_F(ShuffleListWindowTest, MarkedSearchResultsFillTheEmptySlotsInOrderUntilTheListIsFull) {
    std::vector<CdRecord> cat;
    for (int i = 1; i <= 5; ++i) cat.push_back(record("M" + std::to_string(i)));
    setCatalogue(cat);
    std::vector<std::string> list;
    for (int i = 0; i < 30; ++i) list.push_back("U" + std::to_string(i));
    list[3] = list[10] = list[29] = "";
    openList(list);

    whenModal<TFrmRefMd>([this](TFrmRefMd* d) {
        child<QRadioButton>(d, "RdGrpKind5")->setChecked(true);
        child<QRadioButton>(d, "RdGrpItem0")->setChecked(true);
        child<QLineEdit>(d, "Edit_bcd")->setText("M");
        QTest::mouseClick(child<QPushButton>(d, "BtnRun"), Qt::LeftButton);
    });
    whenModal<TFrmCd_Ref>([](TFrmCd_Ref* w) {
        for (int slot = 0; slot < 5; ++slot) w->grid()->records()->setMarked(slot, true);
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF10Get"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(window.get(), "BtnSerch"), Qt::LeftButton);
    EXPECT_EQ(slotBarcode(3), "M1");
    EXPECT_EQ(slotBarcode(10), "M2");
    EXPECT_EQ(slotBarcode(29), "M3");
    EXPECT_EQ(gridText(29, 1), "M3");
    EXPECT_EQ(slotBarcode(0), "U0");
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"登録は出来ません。(全て登録されています)"}));
    EXPECT_EQ(changes->count(), 1);
}

TEST_F(ShuffleListWindowTest, TheInformationListShowsRecordsByKindAndAgeWithoutTouchingTheList) {
    auto info = [](const std::string& barcode, int kind, int openDate) {
        CdRecord r = record(barcode);
        r.kind = static_cast<std::int16_t>(kind);
        r.infoKind = 1;
        r.openDate = openDate;
        return r;
    };
    setCatalogue({info("I1", 0, 20240520), info("I2", 1, 20240520), info("I3", 0, 20240701), record("N1")});
    openList({"S1"});
    struct Case {
        const char* item;
        std::vector<std::string> shown;
    };
    const Case cases[] = {{"PI_SSINGLE0", {"I1"}}, {"PI_SALL0", {"I1", "I2"}}, {"PI_SALL3", {"I3"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        std::vector<std::string> shown;
        int mode = 0;
        whenModal<TFrmCd_Ref>([&](TFrmCd_Ref* w) {
            mode = w->windowMode();
            QAbstractItemModel* m = w->grid()->model();
            for (int row = 0; row < m->rowCount(); ++row)
                if (!m->index(row, 1).data().toString().isEmpty()) shown.push_back(m->index(row, 1).data().toString().toStdString());
            w->close();
        });
        child<QAction>(window.get(), c.item)->trigger();
        EXPECT_EQ(mode, TFrmCd_Ref::kDisplayMode);
        EXPECT_EQ(shown, c.shown);
    }
    EXPECT_EQ(slotBarcode(0), "S1");
    EXPECT_EQ(slotBarcode(1), "");
    EXPECT_EQ(changes->count(), 0);
}

TEST_F(ShuffleListWindowTest, DraggingExchangesTwoRowsAndADropOnTheHeaderOrTheSourceDoesNothing) {
    openList({"S1", "S2", "", "S4"});
    // Onto an empty row: the CD moves there and the source is left empty.
    drag(0, cellCenter(2, 4));
    EXPECT_EQ(barcodes()[0], "");
    EXPECT_EQ(barcodes()[2], "S1");
    EXPECT_EQ(gridText(2, 1), "S1");
    EXPECT_EQ(gridText(0, 1), "");
    EXPECT_EQ(window->grid()->currentSlot(), 2);
    EXPECT_EQ(changes->count(), 1);
    // Onto a used row: the two exchange.
    drag(3, cellCenter(1, 6));
    EXPECT_EQ(slotBarcode(1), "S4");
    EXPECT_EQ(slotBarcode(3), "S2");
    EXPECT_EQ(changes->count(), 2);

    const std::vector<std::string> before = barcodes();
    // Onto the header (above the first row of the viewport) and onto the row itself.
    drag(1, QPoint(cellCenter(0, 4).x(), -window->grid()->horizontalHeader()->height() / 2));
    EXPECT_EQ(barcodes(), before);
    drag(1, cellCenter(1, 8));
    EXPECT_EQ(barcodes(), before);
    EXPECT_EQ(changes->count(), 2);
    EXPECT_FALSE(window->dropOnRow(1, 0));  // row 0 is the header
    EXPECT_EQ(barcodes(), before);
}

// A real double click through the window system: Qt sends the second press before the double
// click itself, and the drag after it must not be lost to the double click.
TEST_F(ShuffleListWindowTest, TheFirstDragAfterADoubleClickExchangesTheRows) {
    window->setCatalogue(nullptr);  // the double click then picks nothing
    openList({"S1", "S2", "S3"});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QWidget* vp = window->grid()->viewport();
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, vp->mapTo(window.get(), cellCenter(0, 4)));
    QCoreApplication::processEvents();
    EXPECT_EQ(barcodes()[0], "S1");
    EXPECT_EQ(changes->count(), 0);
    drag(1, cellCenter(2, 4));
    EXPECT_EQ(slotBarcode(1), "S3");
    EXPECT_EQ(slotBarcode(2), "S2");
    EXPECT_EQ(changes->count(), 1);
}

// A control file that cannot be read back: the error is shown and the settings dialog stays shut.
TEST_F(ShuffleListWindowTest, SettingsDoNotOpenWhenTheControlFileCannotBeReread) {
    TFrmShufCtrl dialog(ws);
    window->setSettingsDialog(&dialog);
    openList({"S1"});
    bool opened = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<TFrmShufCtrl*>(QApplication::activeModalWidget())) {
            opened = true;
            prompter.answers.push_back(Answer::No);
            d->close();
        }
    });
    watch.start(10);
    QTest::mouseClick(child<QPushButton>(window.get(), "BtnCtl"), Qt::LeftButton);
    EXPECT_TRUE(opened);  // a readable file: the dialog opens
    opened = false;
    prompter.clear();
    {
        std::ofstream out(controlFilePath(ws), std::ios::binary | std::ios::trunc);
        out << "not a control file";
    }
    QTest::mouseClick(child<QPushButton>(window.get(), "BtnCtl"), Qt::LeftButton);
    watch.stop();
    EXPECT_FALSE(opened);
    ASSERT_FALSE(prompter.boxes.empty());
    EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Error);
    EXPECT_TRUE(window->isVisible());
}

// The menu command reads the catalogue from its file each time, so that a catalogue written since
// it was last loaded is the one the list picks from.
TEST_F(ShuffleListWindowTest, OpeningForPlanningReadsTheCatalogueAfresh) {
    auto writeKind = [&](int kind, const std::vector<std::string>& barcodes) {
        TCddataArray a(ws.capacity(kind) + 1);
        for (std::size_t i = 0; i < barcodes.size(); ++i) a[static_cast<int>(i)] = record(barcodes[i]);
        ASSERT_EQ(writeDataFile(ws, false, defaultFilePath(ws, kind), kind, a, ws.capacity(kind)), 0);
    };
    writeKind(kKindShuffle, {"S1"});
    setCatalogue({record("OLD")});  // loaded before the file changed
    for (const char* barcode : {"C1", "C2"}) {
        writeKind(kKindCatalogue, {barcode});
        std::string seen, listed;
        whenModal<TFrmShufMain>([&](TFrmShufMain* w) {
            seen = fieldText(ws.arrays[kKindCatalogue][0].barcode);
            listed = catalogue->grid()->model()->index(0, 1).data().toString().toStdString();
            prompter.answers.push_back(Answer::No);
            w->close();
        });
        EXPECT_EQ(window->openForPlanning(), 0);
        EXPECT_EQ(seen, barcode);
        EXPECT_EQ(listed, barcode);
        EXPECT_EQ(slotBarcode(0), "S1");
    }
}

TEST_F(ShuffleListWindowTest, ShufflingKeepsTheSameCdsPackedToTheFront) {
    openList({"", "", "A", "", "", "", "", "B", "", "", "", "", "", "", "", "", "", "", "", "", "C"});
    const std::set<std::string> cds{"A", "B", "C"};
    bool orderChanged = false;
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        const std::vector<std::string> before = barcodes();
        child<QAction>(window.get(), "PNC_CLS_SHUF")->trigger();
        const std::vector<std::string> after = barcodes();
        EXPECT_EQ((std::set<std::string>{after[0], after[1], after[2]}), cds);
        for (int slot = 3; slot < 30; ++slot) EXPECT_EQ(after[slot], "") << slot;
        EXPECT_EQ(gridText(0, 1).toStdString(), after[0]);
        if (round > 0 && after != before) orderChanged = true;
    }
    EXPECT_TRUE(orderChanged);
    EXPECT_EQ(changes->count(), 5);
    EXPECT_EQ(child<QLabel>(window.get(), "Lbl_Total")->text(), QStringLiteral("総時間=[   32:00]"));
}

TEST_F(ShuffleListWindowTest, EverySlotWriteSendsTheChangeSignal) {
    openList({"S1", "S2", "S3"});
    struct Case {
        const char* name;
        std::function<void()> act;
        std::vector<std::string> first4;
    };
    TCddataArray other(ws.capacity(kKindShuffle) + 1);
    other[0] = record("F1");
    const fs::path otherFile = tmp.path() / "OTHER.ZMO";
    ASSERT_EQ(writeDataFile(ws, true, otherFile.string(), kKindShuffle, other, ws.capacity(kKindShuffle)), 0);
    const Case cases[] = {
        {"消去 clears the last used slot", [&] { QTest::mouseClick(child<QPushButton>(window.get(), "BtnF08"), Qt::LeftButton); },
         {"S1", "S2", "", ""}},
        {"消去(現在位置) clears the current row",
         [&] {
             window->grid()->selectSlot(0);
             QTest::mouseClick(child<QToolButton>(window.get(), "SpBtnClearRow"), Qt::LeftButton);
         },
         {"", "S2", "", ""}},
        {"a drag", [&] { drag(1, cellCenter(3, 4)); }, {"", "", "", "S2"}},
        {"読み込み",
         [&] {
             prompter.fileChoices.push_back(FileChoice{true, otherFile.string(), ""});
             QTest::mouseClick(child<QToolButton>(window.get(), "SpdBtnOpen"), Qt::LeftButton);
         },
         {"F1", "", "", ""}},
        {"新規 初期化", [&] { child<QAction>(window.get(), "PNC_CLS_YES")->trigger(); }, {"", "", "", ""}},
    };
    int expected = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.act();
        ++expected;
        EXPECT_EQ(changes->count(), expected);
        const std::vector<std::string> all = barcodes();
        EXPECT_EQ((std::vector<std::string>(all.begin(), all.begin() + 4)), c.first4);
    }
    EXPECT_EQ(child<QLabel>(window.get(), "Lbl_fname")->text(), "[OTHER.ZMO]");
    // Nothing written, nothing sent: 消去 on an empty list and 取り消し.
    QTest::mouseClick(child<QPushButton>(window.get(), "BtnF08"), Qt::LeftButton);
    child<QAction>(window.get(), "PNC_CLS_NO")->trigger();
    EXPECT_EQ(changes->count(), expected);
}

TEST_F(ShuffleListWindowTest, ClosingWithYesSavesTheListAndItsBackupAndWithNoWritesNothing) {
    const fs::path file = defaultFilePath(ws, kKindShuffle);
    const fs::path backup = fs::path(file).replace_extension(".BAK");
    openList({"S1", "S2"});
    const std::string original = readBytes(file);
    drag(1, cellCenter(0, 4));  // S2, S1

    // No: the file stays byte for byte and no backup appears.
    prompter.answers = {Answer::No};
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(readBytes(file), original);
    EXPECT_FALSE(fs::exists(backup));

    // Cancel keeps the window open; Yes saves the list and keeps the old file as the backup.
    window->show();
    prompter.answers = {Answer::Cancel};
    window->close();
    EXPECT_TRUE(window->isVisible());
    prompter.answers = {Answer::Yes};
    window->close();
    EXPECT_FALSE(window->isVisible());
    ASSERT_TRUE(fs::exists(backup));
    EXPECT_EQ(readBytes(backup), original);
    for (int slot = 0; slot < 2; ++slot) clearCdRecord(ws.arrays[kKindShuffle][slot]);
    ASSERT_EQ(window->openShuffleList(), 0);
    EXPECT_EQ(slotBarcode(0), "S2");
    EXPECT_EQ(slotBarcode(1), "S1");
    EXPECT_EQ(prompter.boxes.front().text, "保存終了します。");
    EXPECT_EQ(prompter.boxes.front().buttons, Buttons::YesNoCancel);
}

TEST_F(ShuffleListWindowTest, ClosingWithYesOverAListChangedBehindTheWindowAsksAndNoKeepsTheirs) {
    const std::string file = defaultFilePath(ws, kKindShuffle);
    openList({"S1", "S2"});
    {
        // Another program rewrites the list meanwhile.
        ScriptedPrompter otherPrompter;
        Workspace other{otherPrompter, clock, tmp.path()};
        initControlDefaults(other);
        other.createArrays(1);
        other.arrays[kKindShuffle][0] = record("THEIRS");
        ASSERT_EQ(writeDataFile(other, false, "", kKindShuffle, other.arrays[kKindShuffle], 30), 0);
    }
    const std::string theirs = readBytes(file);

    prompter.answers = {Answer::Yes, Answer::No};
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"保存終了します。", file + " は読み込み後に変更されています。上書きしますか？"}));
    EXPECT_EQ(readBytes(file), theirs);
    EXPECT_EQ(slotBarcode(0), "S1");  // the window keeps its list

    prompter.answers = {Answer::Yes, Answer::Yes};
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(readBytes(file).find("THEIRS"), std::string::npos);
}

TEST_F(ShuffleListWindowTest, TheViewerOpensWithoutBlockingOverTheListAndClosesWithIt) {
    QWidget home;
    auto* viewer = new TFrmDataDisp(ws, settings, &home);
    window->setViewer(viewer);
    openList({"S1"});
    QTest::mouseClick(child<QPushButton>(window.get(), "BtnFDsp"), Qt::LeftButton);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(viewer->isModal());
    EXPECT_EQ(viewer->parentWidget(), window.get());  // takes input while the list waits modally
    prompter.answers = {Answer::No};
    window->close();
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(viewer->parentWidget(), &home);
}

TEST_F(ShuffleListWindowTest, PrintingPrintsTheChosenRowsOfTheList) {
    ProgramPrinter printer;
    const std::string pdf = (tmp.path() / "list.pdf").string();
    printer.printToPdf(QString::fromStdString(pdf));
    window->setPrinting(&printer, new TFrmPrnStEd(ws, window.get()), new TFrmStop(window.get()));
    openList({"P1", "P2", "P3"});
    int capacity = 0;
    whenModal<TFrmPrnStEd>([&](TFrmPrnStEd* d) {
        capacity = d->findChild<QLineEdit*>("Edt_Ed")->text().toInt();
        d->findChild<QLineEdit*>("Edt_St")->setText("2");
        d->findChild<QLineEdit*>("Edt_Ed")->setText("3");
        QTest::mouseClick(d->findChild<QPushButton*>("BtnGo"), Qt::LeftButton);
    });
    QTest::mouseClick(child<QPushButton>(window.get(), "BtnEPrn"), Qt::LeftButton);
    EXPECT_EQ(capacity, 30);  // the whole list until a range was chosen
    EXPECT_TRUE(child<QWidget>(window.get(), "Panel")->isEnabled());
    const std::string text = zemo::testsupport::pdfText(pdf);
    EXPECT_EQ(text.find("P1"), std::string::npos);
    EXPECT_NE(text.find("P2"), std::string::npos);
    EXPECT_NE(text.find("P3"), std::string::npos);
}

TEST_F(ShuffleListWindowTest, ColumnWidthsComeFromTheirSectionAndGoBackAtClosing) {
    settings.widths["DShuf_M"] = {-1, -1, -1, 321};
    TFrmShufMain placed(ws, settings);
    EXPECT_EQ(placed.grid()->columnWidth(4), 321);
    placed.grid()->setColumnWidth(4, 150);
    placed.show();
    prompter.answers = {Answer::No};
    placed.close();
    ASSERT_EQ(settings.widths["DShuf_M"].size(), 13u);
    EXPECT_EQ(settings.widths["DShuf_M"][3], 150);
}

}  // namespace
}  // namespace zemo::ui
