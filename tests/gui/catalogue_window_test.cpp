// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue list window over a real catalogue file: sorting, erasing, taking a record in
// reference mode, and each way of closing it, driven offscreen by the controls' names.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/catalogue_access.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/record_grid.h"
#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "platform/sjis.h"
#include "printing/ui/frm_prn_st_ed.h"
#include "printing/ui/frm_stop.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/file_services.h"
#include "records/text.h"
#include "records/window_settings.h"
#include "support/scripted_prompter.h"

namespace zemo::ui {
namespace {

namespace fs = std::filesystem;
using guitest::TempDir;
using guitest::whenModal;
using guitest::readBytes;

// A stop window that asks to stop once the loop has looked at it `allowed` times, and meanwhile
// records whether the catalogue window was locked and refused to close.
class StopAfter : public TFrmStop {
public:
    StopAfter(TFrmCd_data* window, int allowed) : TFrmStop(window), window_(window), allowed_(allowed) {}
    bool stopRequested() override {
        if (window_->isVisible()) {
            lockedEveryTime = lockedEveryTime && window_->running() &&
                              !window_->findChild<QToolButton*>("SpdBtnExit")->isEnabled() &&
                              !window_->findChild<QWidget*>("PnlEdit")->isEnabled() && !window_->grid()->isEnabled();
            window_->close();
            stayedOpen = stayedOpen && window_->isVisible();
        }
        ++calls;
        if (calls > allowed_) return true;
        return TFrmStop::stopRequested();
    }
    bool lockedEveryTime = true;
    bool stayedOpen = true;
    int calls = 0;

private:
    TFrmCd_data* window_;
    int allowed_;
};

class CatalogueWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        initControlDefaults(ws);
        ws.dbSize = 1;
        ws.createArrays(1);
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(tmp.path() / d);
        ASSERT_EQ(saveControl(ws), 0);
        window = std::make_unique<TFrmCd_data>(ws, settings);
        range = new TFrmPrnStEd(ws, window.get());
    }

    static CdRecord record(const std::string& barcode, int entryDate, int openDate = 0, int pos = 1) {
        CdRecord r;
        clearCdRecord(r);
        setField(r.barcode, barcode);
        setField(r.title, sj("タイトル") + barcode);
        r.timeSec = 245;
        r.entryDate = entryDate;
        r.saleDate = 20240101;
        r.openDate = openDate;
        r.trackPos = static_cast<std::int16_t>(pos);
        r.active = barcode.empty() ? 0 : 1;
        return r;
    }

    // The catalogue file with these records from slot 0 (a file holds only records in use).
    void writeCatalogue(const std::vector<CdRecord>& records) {
        TCddataArray a(ws.capacity(kKindCatalogue) + 1);
        for (std::size_t i = 0; i < records.size(); ++i) a[static_cast<int>(i)] = records[i];
        ASSERT_EQ(writeDataFile(ws, false, defaultFilePath(ws, kKindCatalogue), kKindCatalogue, a,
                                ws.capacity(kKindCatalogue)),
                  0);
    }

    void writeEmptyList(int kind) {
        TCddataArray a(ws.capacity(kind) + 1);
        ASSERT_EQ(writeDataFile(ws, false, defaultFilePath(ws, kind), kind, a, ws.capacity(kind)), 0);
    }

    // Loads what the main window loads and shows the window without waiting in it.
    void showForEditing() {
        for (int kind : {kKindDeleted, kKindNew, kKindAdd}) writeEmptyList(kind);
        ASSERT_EQ(loadDeletedList(ws), 0);
        ASSERT_EQ(loadNewList(ws), 0);
        ASSERT_EQ(loadAddList(ws), 0);
        ASSERT_EQ(window->loadCatalogueGrid(), 0);
        window->show();
    }

    // Empties a slot of the loaded catalogue, as an erase would leave it.
    void emptySlot(int slot) {
        clearCdRecord(ws.arrays[kKindCatalogue][slot]);
        window->grid()->records()->redrawAll();
    }

    std::string barcodeAt(int slot) const { return fieldText(ws.arrays[kKindCatalogue][slot].barcode); }
    QString gridText(int slot, int column) const {
        return window->grid()->model()->index(slot, column).data().toString();
    }
    template <typename T>
    T* child(const char* name) {
        return guitest::child<T>(window.get(), name);
    }
    void answerRange(const QString& first, const QString& last) {
        whenModal<TFrmPrnStEd>([first, last](TFrmPrnStEd* d) {
            d->findChild<QLineEdit*>("Edt_St")->setText(first);
            d->findChild<QLineEdit*>("Edt_Ed")->setText(last);
            QTest::mouseClick(d->findChild<QPushButton*>("BtnGo"), Qt::LeftButton);
        });
    }

    TempDir tmp{"zemo-catalogue"};
    ScriptedPrompter prompter;
    FixedClock clock{LocalTime{2024, 6, 1, 10, 0, 0}};
    Workspace ws{prompter, clock, tmp.path()};
    WindowSettings settings;
    std::unique_ptr<TFrmCd_data> window;
    TFrmPrnStEd* range = nullptr;
};

TEST_F(CatalogueWindowTest, TheGridShowsEverySlotOfTheCatalogueFromTheArray) {
    writeCatalogue({record("B1", 20240105), record("B2", 0), record("B3", 20240107)});
    showForEditing();
    emptySlot(1);
    EXPECT_EQ(window->grid()->model()->rowCount(), 500);
    EXPECT_EQ(window->grid()->model()->columnCount(), kListColumns);
    EXPECT_EQ(gridText(0, 0), "    1");
    EXPECT_EQ(gridText(0, 1), "B1");
    EXPECT_EQ(gridText(0, 4), QStringLiteral("タイトルB1"));
    EXPECT_EQ(gridText(0, 6), "    4:05");
    EXPECT_EQ(gridText(0, 8), "2024/01/05");
    EXPECT_EQ(gridText(1, 0), "    2");
    EXPECT_EQ(gridText(1, 1), "");  // an empty slot shows only its number
    EXPECT_EQ(gridText(2, 1), "B3");
    EXPECT_EQ(window->grid()->model()->headerData(12, Qt::Horizontal).toString(), QStringLiteral("種類"));
    EXPECT_EQ(window->grid()->font().pixelSize(), 16);
}

TEST_F(CatalogueWindowTest, SortingTakesShiftFromTheClickThatOpensTheMenu) {
    writeCatalogue({record("B2", 20240102), record("B3", 20240103), record("B1", 20240101)});
    showForEditing();
    auto* sortButton = child<QToolButton>("SpdBtnSort");
    auto* byEntry = child<QAction>("SORT_ENTRY");
    auto* byBarcode = child<QAction>("SORT_BCD");
    struct Case {
        const char* name;
        Qt::KeyboardModifiers modifiers;
        QAction* item;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"登録日 newest first", Qt::NoModifier, byEntry, {"B3", "B2", "B1"}},
        {"登録日 with Shift oldest first", Qt::ShiftModifier, byEntry, {"B1", "B2", "B3"}},
        {"ﾊﾞｰｺｰﾄﾞ with Shift descending", Qt::ShiftModifier, byBarcode, {"B3", "B2", "B1"}},
        {"ﾊﾞｰｺｰﾄﾞ ascending", Qt::NoModifier, byBarcode, {"B1", "B2", "B3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTest::mouseClick(sortButton, Qt::LeftButton, c.modifiers);
        auto* menu = child<QMenu>("PupMnSort");
        EXPECT_TRUE(menu->isVisible());
        c.item->trigger();
        menu->close();
        EXPECT_EQ((std::vector<std::string>{barcodeAt(0), barcodeAt(1), barcodeAt(2)}), c.order);
        EXPECT_EQ(gridText(0, 1), QString::fromStdString(c.order[0]));  // redrawn from the array
    }
    // The panel's button opens the menu on the mouse press, Shift taken from that press.
    QTest::mousePress(child<QPushButton>("BtnEF04"), Qt::LeftButton, Qt::ShiftModifier);
    QTest::mouseRelease(child<QPushButton>("BtnEF04"), Qt::LeftButton, Qt::ShiftModifier);
    byEntry->trigger();
    EXPECT_EQ(barcodeAt(0), "B1");
}

TEST_F(CatalogueWindowTest, ErasingARangeMovesOnlyRecordsInUseAndStopsWhereAsked) {
    writeCatalogue({record("B1", 1), record("B2", 2), record("B3", 3), record("B4", 4), record("B5", 5), record("B6", 6)});
    showForEditing();
    emptySlot(1);
    auto* stop = new StopAfter(window.get(), 4);  // slots 0..3 are looked at, then the stop comes
    window->setPrinting(nullptr, range, stop);
    answerRange("6", "1");
    prompter.answers = {Answer::Yes};
    QTest::mouseClick(child<QPushButton>("BtnEF10"), Qt::LeftButton);

    for (int slot : {0, 1, 2, 3}) EXPECT_EQ(ws.arrays[kKindCatalogue][slot].active, 0) << slot;
    EXPECT_EQ(barcodeAt(4), "B5");  // the rest of the range is untouched
    EXPECT_EQ(barcodeAt(5), "B6");
    EXPECT_EQ(gridText(0, 1), "");
    EXPECT_EQ(gridText(4, 1), "B5");
    // The last erased is first in the deleted history.
    const TCddataArray& deleted = ws.arrays[kKindDeleted];
    EXPECT_EQ(fieldText(deleted[0].barcode), "B4");
    EXPECT_EQ(fieldText(deleted[1].barcode), "B3");
    EXPECT_EQ(fieldText(deleted[2].barcode), "B1");
    EXPECT_EQ(deleted[3].active, 0);
    EXPECT_EQ(deleted[0].deletedAt, stampOf(clock.localNow()));
    // Locked while it ran, and open throughout; given back afterwards.
    EXPECT_TRUE(stop->lockedEveryTime);
    EXPECT_TRUE(stop->stayedOpen);
    EXPECT_FALSE(window->running());
    EXPECT_TRUE(child<QToolButton>("SpdBtnExit")->isEnabled());
    EXPECT_TRUE(window->grid()->isEnabled());
    // Asked first, counting only the records in use.
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"5 件を消去します。よろしいですか？"});
}

// The deleted history keeps 500 records: a range erase says how many it takes, and when that is
// more than the history holds, that the first ones will be in no current file.
TEST_F(CatalogueWindowTest, ARangeEraseAsksFirstNamingWhatTheDeletedHistoryCannotKeep) {
    ws.changeDatabaseSize(2);
    std::vector<CdRecord> records;
    for (int i = 0; i < 501; ++i) records.push_back(record("B" + std::to_string(i + 1), 20240101));
    writeCatalogue(records);
    showForEditing();
    window->setPrinting(nullptr, range, new TFrmStop(window.get()));
    const std::string beyond = "\n削除履歴に残るのは最後の 500 件だけです。";
    struct Case {
        const char* name;
        QString first, last;
        Answer answer;
        std::string text;
        int erased;
    };
    const Case cases[] = {
        {"500 in the range, No", "1", "500", Answer::No, "500 件を消去します。よろしいですか？", 0},
        {"501 in the range, No", "501", "1", Answer::No, "501 件を消去します。よろしいですか？" + beyond, 0},
        {"501 in the range, Yes", "1", "501", Answer::Yes, "501 件を消去します。よろしいですか？" + beyond, 501},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.clear();
        prompter.answers = {c.answer};
        answerRange(c.first, c.last);
        QTest::mouseClick(child<QPushButton>("BtnEF10"), Qt::LeftButton);
        ASSERT_EQ(prompter.boxes.size(), 1u);
        EXPECT_EQ(prompter.boxes[0].text, c.text);
        EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Confirmation);
        EXPECT_EQ(prompter.boxes[0].buttons, Buttons::YesNoDefaultNo);
        int inUse = 0;
        for (int slot = 0; slot < 501; ++slot) inUse += ws.arrays[kKindCatalogue][slot].active == 1;
        EXPECT_EQ(inUse, 501 - c.erased);
    }
    // A range of empty slots takes nothing and asks nothing.
    prompter.clear();
    answerRange("1", "501");
    QTest::mouseClick(child<QPushButton>("BtnEF10"), Qt::LeftButton);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(CatalogueWindowTest, ReferenceModeTakesOnlyARecordInUse) {
    writeCatalogue({record("B1", 1), record("B2", 2), record("B3", 3)});
    ASSERT_EQ(window->loadCatalogueGrid(), 0);
    emptySlot(1);

    // 取得 on an empty row does nothing; 取消 then closes with nothing taken.
    bool stayed = false;
    whenModal<TFrmCd_data>([&](TFrmCd_data* w) {
        EXPECT_FALSE(w->findChild<QWidget*>("PnlEdit")->isVisible());
        EXPECT_TRUE(w->findChild<QToolButton*>("SpdBtnSelect")->isEnabled());
        EXPECT_FALSE(w->findChild<QToolButton*>("SpdBtnErase")->isEnabled());
        QTest::mouseClick(w->findChild<QPushButton*>("BtnRF10"), Qt::LeftButton);
        stayed = w->isVisible();
        QTest::mouseClick(w->findChild<QPushButton*>("BtnRF01"), Qt::LeftButton);
    });
    int slot = 1;
    EXPECT_FALSE(window->pickFromCatalogue(slot));
    EXPECT_TRUE(stayed);

    whenModal<TFrmCd_data>([](TFrmCd_data* w) {
        EXPECT_EQ(w->currentSlot(), 2);
        QTest::mouseClick(w->findChild<QPushButton*>("BtnRF10"), Qt::LeftButton);
    });
    slot = 2;
    EXPECT_TRUE(window->pickFromCatalogue(slot));
    EXPECT_EQ(slot, 2);
    EXPECT_TRUE(prompter.boxes.empty());  // reference mode closes without questions
}

TEST_F(CatalogueWindowTest, ClosingWithYesSortsAndSavesTheCatalogueAndBothHistories) {
    for (int sortMode : {0, 1}) {
        SCOPED_TRACE(sortMode);
        ws.control.sortMode = static_cast<std::int16_t>(sortMode);
        writeCatalogue({record("B1", 1, 20240101), record("B2", 2, 20240301), record("B3", 3, 20240201),
                        record("B4", 4, 20240401)});
        showForEditing();
        window->grid()->selectSlot(3);
        QTest::mouseClick(child<QToolButton>("SpBtnClearRow"), Qt::LeftButton);  // B4 to the deleted history
        prompter.answers = {Answer::Yes, Answer::Ok};
        window->close();
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"保存終了します。", "保存終了します！"}));
        prompter.clear();

        TCddataArray saved(ws.capacity(kKindCatalogue) + 1);
        int loadedFlag = 0, count = 0;
        ASSERT_EQ(readDataFile(ws, "", kKindCatalogue, saved, loadedFlag, count, ws.capacity(kKindCatalogue)), DataFileRead::Ok);
        const std::vector<std::string> order{fieldText(saved[0].barcode), fieldText(saved[1].barcode),
                                             fieldText(saved[2].barcode)};
        // Sorted: rental start newest first; unsorted: the order on screen.
        const std::vector<std::string> expected =
            sortMode == 0 ? std::vector<std::string>{"B2", "B3", "B1"} : std::vector<std::string>{"B1", "B2", "B3"};
        EXPECT_EQ(order, expected);
        TCddataArray deleted(ws.capacity(kKindDeleted) + 1);
        ASSERT_EQ(readDataFile(ws, "", kKindDeleted, deleted, loadedFlag, count, ws.capacity(kKindDeleted)), DataFileRead::Ok);
        EXPECT_EQ(fieldText(deleted[0].barcode), "B4");
        EXPECT_EQ(saved[3].active, 0);
        for (int kind : {kKindCatalogue, kKindNew, kKindDeleted})
            EXPECT_TRUE(fs::exists(backupPath(defaultFilePath(ws, kind)))) << kind;  // backupMode 0
    }
}

TEST_F(CatalogueWindowTest, YesThenCancelAndNoThenOkLeaveEveryFileAsItWas) {
    writeCatalogue({record("B2", 2), record("B1", 1)});
    showForEditing();
    const std::string catalogue = readBytes(defaultFilePath(ws, kKindCatalogue));
    const std::string deleted = readBytes(defaultFilePath(ws, kKindDeleted));
    window->grid()->selectSlot(0);
    QTest::mouseClick(child<QToolButton>("SpBtnClearRow"), Qt::LeftButton);

    prompter.answers = {Answer::Yes, Answer::Cancel};
    window->close();
    EXPECT_TRUE(window->isVisible());
    prompter.answers = {Answer::Cancel};
    QTest::keyClick(window.get(), Qt::Key_Escape);  // Esc asks too
    EXPECT_TRUE(window->isVisible());
    prompter.answers = {Answer::No, Answer::Cancel};
    window->close();
    EXPECT_TRUE(window->isVisible());
    prompter.answers = {Answer::No, Answer::Ok};
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"保存終了します。", "保存終了します！", "保存終了します。",
                                                          "保存終了します。", "破棄終了します！", "保存終了します。",
                                                          "破棄終了します！"}));
    EXPECT_EQ(readBytes(defaultFilePath(ws, kKindCatalogue)), catalogue);
    EXPECT_EQ(readBytes(defaultFilePath(ws, kKindDeleted)), deleted);
    // The erased record went back with the discarded catalogue; so does its history entry.
    EXPECT_EQ(ws.loaded[kKindDeleted], 0);
    EXPECT_EQ(ws.loaded[kKindNew], 0);
    ASSERT_EQ(loadDeletedList(ws), 0);
    EXPECT_EQ(ws.arrays[kKindDeleted][0].active, 0);
}

TEST_F(CatalogueWindowTest, AFailedSaveKeepsTheWindowOpenWithTheGridShowingTheSortedArray) {
    writeCatalogue({record("B1", 1, 20240101), record("B2", 2, 20240301)});
    showForEditing();
    // The catalogue file replaced by a folder: nothing can be saved over it.
    fs::remove(defaultFilePath(ws, kKindCatalogue));
    fs::create_directory(defaultFilePath(ws, kKindCatalogue));
    prompter.answers = {Answer::Yes, Answer::Ok};
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(barcodeAt(0), "B2");  // sorted by rental start
    EXPECT_EQ(gridText(0, 1), "B2");
    EXPECT_EQ(gridText(1, 1), "B1");
    ASSERT_GE(prompter.boxes.size(), 3u);
    EXPECT_EQ(prompter.boxes[2].kind, BoxKind::Error);
    prompter.answers = {Answer::No, Answer::Ok};
    window->close();
}

TEST_F(CatalogueWindowTest, AFailedReadFromAnotherFileLeavesArrayGridAndFlag) {
    writeCatalogue({record("B1", 1)});
    showForEditing();
    // A file that ends inside its first record.
    const std::string torn = (tmp.path() / "TORN.ZMO").string();
    {
        std::string bytes = readBytes(defaultFilePath(ws, kKindCatalogue));
        bytes.resize(128 + 256 + 100);
        std::ofstream(torn, std::ios::binary) << bytes;
    }
    prompter.fileChoices.push_back(FileChoice{true, torn, ""});
    QTest::mouseClick(child<QToolButton>("SpdBtnOpen"), Qt::LeftButton);
    EXPECT_EQ(prompter.lastChooserDir, kindDir(ws, kKindCatalogue));
    EXPECT_FALSE(prompter.boxes.empty());  // the read error was reported
    EXPECT_EQ(barcodeAt(0), "B1");
    EXPECT_EQ(gridText(0, 1), "B1");
    EXPECT_EQ(ws.loaded[kKindCatalogue], 1);
    prompter.answers = {Answer::No, Answer::Ok};
    window->close();
}

TEST_F(CatalogueWindowTest, TheEditorsSlotFollowsTheCurrentRowHoweverItMoves) {
    writeCatalogue({record("B2", 2), record("B1", 1), record("B3", 3)});
    showForEditing();
    std::vector<int> seen;
    QObject::connect(window.get(), &TFrmCd_data::currentSlotChanged, [&](int slot) { seen.push_back(slot); });
    window->grid()->selectSlot(1);
    QTest::keyClick(window->grid(), Qt::Key_Down);
    EXPECT_EQ(window->stepCatalogueRow(-2), 0);
    EXPECT_EQ(window->stepCatalogueRow(-5), 0);  // clamped at the first row
    EXPECT_EQ((std::vector<int>{seen.begin(), seen.begin() + 3}), (std::vector<int>{1, 2, 0}));
    // A sort changes the record under the current row: the editor hears of it too.
    seen.clear();
    child<QAction>("SORT_BCD")->trigger();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 0);
    prompter.answers = {Answer::No, Answer::Ok};
    window->close();
}

// --- saves that keep what is on the disk ---

bool fileHolds(const std::string& path, const std::string& text) {
    return readBytes(path).find(text) != std::string::npos;
}

// SIGKILL or a failing disk at any step of the closing save: the erased record is always in the
// catalogue file or in the deleted history (or both), never in neither.
TEST_F(CatalogueWindowTest, AnErasedRecordSurvivesASaveStoppedAtAnyStep) {
    const std::string catalogue = defaultFilePath(ws, kKindCatalogue);
    const std::string deleted = defaultFilePath(ws, kKindDeleted);
    int calls = 0;
    // One closing save after an erase, its steps failing from `from` on (kill) or at `from`
    // only (a failing disk); from < 0 fails nothing. Whether the window closed.
    auto closeAfterErase = [&](int from, bool kill) {
        ws.saveHook = {};
        fs::remove_all(tmp.path() / "CD_SYS");
        fs::create_directories(tmp.path() / "CD_SYS");
        ws.createArrays(1);
        window = std::make_unique<TFrmCd_data>(ws, settings);
        writeCatalogue({record("B1", 1), record("ERASED", 2), record("B3", 3)});
        showForEditing();
        window->grid()->selectSlot(1);
        QTest::mouseClick(child<QToolButton>("SpBtnClearRow"), Qt::LeftButton);
        calls = 0;
        ws.saveHook = [&, from, kill](SaveStep) {
            const int n = calls++;
            if (from < 0) return true;
            return kill ? n < from : n != from;
        };
        prompter.clear();
        prompter.answers = {Answer::Yes, Answer::Ok};
        window->close();
        ws.saveHook = {};
        return !window->isVisible();
    };

    ASSERT_TRUE(closeAfterErase(-1, false));
    const int steps = calls;
    ASSERT_GT(steps, 10);
    EXPECT_FALSE(fileHolds(catalogue, "ERASED"));
    EXPECT_TRUE(fileHolds(deleted, "ERASED"));
    for (bool kill : {true, false}) {
        for (int from = 0; from < steps; ++from) {
            SCOPED_TRACE((kill ? "killed at step " : "failing step ") + std::to_string(from));
            const bool closed = closeAfterErase(from, kill);
            EXPECT_TRUE(fileHolds(catalogue, "ERASED") || fileHolds(deleted, "ERASED"));
            // A window that stayed open still holds the erase, to save again or discard.
            if (!closed) {
                for (int slot = 0; slot < 3; ++slot) EXPECT_NE(barcodeAt(slot), "ERASED");
                prompter.answers = {Answer::No, Answer::Ok};
                window->close();
            }
        }
    }
}

TEST_F(CatalogueWindowTest, AClosingSaveAsksBeforeReplacingAFileChangedBehindTheWindow) {
    const std::string catalogue = defaultFilePath(ws, kKindCatalogue);
    writeCatalogue({record("B1", 1), record("B2", 2)});
    showForEditing();
    // The old program on another counter saves the shared catalogue meanwhile.
    {
        ScriptedPrompter otherPrompter;
        Workspace other{otherPrompter, clock, tmp.path()};
        initControlDefaults(other);
        other.createArrays(1);
        other.arrays[kKindCatalogue][0] = record("THEIRS", 5);
        ASSERT_EQ(writeDataFile(other, false, "", kKindCatalogue, other.arrays[kKindCatalogue], 500), 0);
    }
    const std::string theirs = readBytes(catalogue);
    const std::string deleted = readBytes(defaultFilePath(ws, kKindDeleted));
    window->grid()->selectSlot(0);
    QTest::mouseClick(child<QToolButton>("SpBtnClearRow"), Qt::LeftButton);

    prompter.answers = {Answer::Yes, Answer::Ok, Answer::No};
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"保存終了します。", "保存終了します！",
                                                          catalogue + " は読み込み後に変更されています。上書きしますか？"}));
    EXPECT_EQ(prompter.boxes[2].buttons, Buttons::YesNo);
    // Nothing written: their catalogue byte for byte, the history as it was; the window keeps the erase.
    EXPECT_EQ(readBytes(catalogue), theirs);
    EXPECT_EQ(readBytes(defaultFilePath(ws, kKindDeleted)), deleted);
    EXPECT_EQ(barcodeAt(0), "");
    EXPECT_EQ(barcodeAt(1), "B2");

    prompter.clear();
    prompter.answers = {Answer::Yes, Answer::Ok, Answer::Yes};
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompter.texts().size(), 3u);
    EXPECT_FALSE(fileHolds(catalogue, "THEIRS"));
    EXPECT_TRUE(fileHolds(catalogue, "B2"));
    EXPECT_TRUE(fileHolds(defaultFilePath(ws, kKindDeleted), "B1"));
}

TEST_F(CatalogueWindowTest, ACatalogueReadCutToTheDatabaseSizeIsNotSavedOverTheWholeFileUnasked) {
    const std::string catalogue = defaultFilePath(ws, kKindCatalogue);
    TCddataArray big(701);
    for (int i = 0; i < 700; ++i) big[i] = record("C" + std::to_string(i), 1);
    ASSERT_EQ(writeDataFile(ws, false, catalogue, kKindCatalogue, big, 700), 0);
    const std::string whole = readBytes(catalogue);
    prompter.answers = {Answer::Yes};  // cut to the 500 the size holds
    showForEditing();
    ASSERT_EQ(prompter.texts(),
              std::vector<std::string>{"ﾃﾞｰﾀﾌｧｲﾙ内ﾃﾞｰﾀ登録数がｼｽﾃﾑ制御数を越えています！\n"
                                       "制御数以降を切り捨てて処理を継続します。\n"
                                       "ﾌｧｲﾙ内 700 件 / ｼｽﾃﾑ制御数 500 件\n"
                                       "ｼｽﾃﾑﾓｰﾄﾞのﾃﾞｰﾀﾍﾞｰｽｻｲｽﾞを大きくしてください"});

    prompter.clear();
    prompter.answers = {Answer::Yes, Answer::Ok, Answer::No};
    window->close();
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(prompter.boxes.size(), 3u);
    EXPECT_EQ(prompter.boxes[2].text, catalogue +
                                          "\n制御数以降を切り捨てて読み込んだﾃﾞｰﾀです！\n"
                                          "上書きするとﾌｧｲﾙ内 700 件のうち 200 件のﾃﾞｰﾀが失われます。\n上書きしますか？");
    EXPECT_EQ(prompter.boxes[2].kind, BoxKind::Confirmation);
    EXPECT_EQ(prompter.boxes[2].buttons, Buttons::YesNoDefaultNo);
    EXPECT_EQ(readBytes(catalogue), whole);  // still 700
    EXPECT_FALSE(fs::exists(backupPath(defaultFilePath(ws, kKindDeleted))));  // nor anything else written

    // Asked again on the next try; Yes saves the 500.
    prompter.clear();
    prompter.answers = {Answer::Yes, Answer::Ok, Answer::Yes};
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompter.texts().size(), 3u);
    TCddataArray saved(701);
    int loadedFlag = 0, count = 0;
    ASSERT_EQ(readDataFile(ws, "", kKindCatalogue, saved, loadedFlag, count, 700), DataFileRead::Ok);
    EXPECT_EQ(count, 500);
}

}  // namespace
}  // namespace zemo::ui
