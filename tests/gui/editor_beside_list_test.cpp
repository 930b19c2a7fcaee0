// SPDX-License-Identifier: GPL-3.0-or-later
// The record editor beside the catalogue list: locked while the list runs a loop, asking before a
// move of the list's row drops what was typed, showing the record it deleted, and a replace through
// the barcode agreement window that takes every field of the new record.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue_access.h"
#include "catalogue/ui/frm_cd_bagr.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/frm_cd_edit.h"
#include "catalogue/ui/record_grid.h"
#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "platform/sjis.h"
#include "printing/ui/frm_prn_st_ed.h"
#include "printing/ui/frm_stop.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/text.h"
#include "records/window_settings.h"
#include "support/scripted_prompter.h"
#include "ui/printer.h"
#include "ui/qt_prompter.h"

namespace zemo::ui {
namespace {

namespace fs = std::filesystem;
using guitest::TempDir;
using guitest::whenModal;

const std::string kDiscard = "登録していない変更を破棄しますか？";

// A stop window that runs a step of the test each time the loop looks at it, and asks to stop
// after `allowed` looks.
class ScriptedStop : public TFrmStop {
public:
    ScriptedStop(QWidget* parent, int allowed, std::function<void(int look)> during)
        : TFrmStop(parent), allowed_(allowed), during_(std::move(during)) {}
    bool stopRequested() override {
        during_(looks);
        if (++looks > allowed_) return true;
        return TFrmStop::stopRequested();
    }
    int looks = 0;

private:
    int allowed_;
    std::function<void(int)> during_;
};

class EditorBesideListTest : public ::testing::Test {
protected:
    void SetUp() override {
        initControlDefaults(ws);
        ws.dbSize = 1;
        ws.createArrays(1);
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(tmp.path() / d);
        ASSERT_EQ(saveControl(ws), 0);
        catalogue = std::make_unique<TFrmCd_data>(ws, settings);
        editor = new TFrmCdEdit(ws, settings, catalogue.get());
        agreement = new TFrmCd_Bagr(ws, settings, catalogue.get());
        agreement->setCatalogueRowChanged([this](int slot) { catalogue->drawCatalogueRow(slot); });
        range = new TFrmPrnStEd(ws, catalogue.get());
        editor->setCatalogueWindow(catalogue.get());
        editor->setAgreement(agreement);
        catalogue->setEditor([this] { editor->showBeside(); });
    }

    void TearDown() override {
        prompter.answers = {Answer::No, Answer::Ok};
        if (catalogue && catalogue->isVisible()) catalogue->close();
    }

    static CdRecord record(const std::string& barcode, const std::string& title) {
        CdRecord r;
        clearCdRecord(r);
        setField(r.barcode, barcode);
        setField(r.title, utf8ToSjis(title));
        r.timeSec = 245;
        r.saleDate = 20240101;
        r.trackCount = 10;
        r.trackPos = 1;
        r.active = barcode.empty() ? 0 : 1;
        return r;
    }

    void writeKind(int kind, const std::vector<CdRecord>& records) {
        TCddataArray a(ws.capacity(kind) + 1);
        for (std::size_t i = 0; i < records.size(); ++i) a[static_cast<int>(i)] = records[i];
        ASSERT_EQ(writeDataFile(ws, false, defaultFilePath(ws, kind), kind, a, ws.capacity(kind)), 0);
    }

    // The list shown for editing (not waited in) on its first row, the editor beside it.
    void open(const std::vector<CdRecord>& records) {
        writeKind(kKindCatalogue, records);
        for (int kind : {kKindDeleted, kKindNew, kKindAdd}) writeKind(kind, {});
        ASSERT_EQ(loadDeletedList(ws), 0);
        ASSERT_EQ(loadNewList(ws), 0);
        ASSERT_EQ(loadAddList(ws), 0);
        ASSERT_EQ(catalogue->loadCatalogueGrid(), 0);
        catalogue->grid()->selectSlot(0, true);
        catalogue->show();
        ASSERT_TRUE(editor->isVisible());
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
    }

    template <typename T>
    T* child(const char* name) {
        return guitest::child<T>(editor, name);
    }
    QLineEdit* field(const char* name) { return child<QLineEdit>(name); }
    void click(const char* name) { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }
    void pressStep(const char* name) {
        QTest::mousePress(child<QToolButton>(name), Qt::LeftButton);
        QTest::mouseRelease(child<QToolButton>(name), Qt::LeftButton);
    }
    // Types into a field as the user does and leaves it.
    void type(const char* name, const QString& text) {
        QLineEdit* e = field(name);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
        guitest::leave(e);
    }
    void clickRow(int slot) {
        RecordGrid* grid = catalogue->grid();
        const QRect cell = grid->visualRect(grid->model()->index(slot, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    std::vector<int> selectedSlots() const {
        std::vector<int> rows;
        for (const QModelIndex& i : catalogue->grid()->selectionModel()->selectedRows()) rows.push_back(i.row());
        return rows;
    }
    std::string catBarcode(int slot) const { return fieldText(ws.arrays[kKindCatalogue][slot].barcode); }
    bool anyHolds(int kind, const std::string& barcode) const {
        for (int i = 0; i < ws.capacity(kind); ++i)
            if (fieldText(ws.arrays[kind][i].barcode) == barcode) return true;
        return false;
    }

    TempDir tmp{"zemo-editor-beside"};
    ScriptedPrompter prompter;
    FixedClock clock{LocalTime{2024, 6, 1, 10, 0, 0}};
    Workspace ws{prompter, clock, tmp.path()};
    WindowSettings settings;
    std::unique_ptr<TFrmCd_data> catalogue;
    TFrmCdEdit* editor = nullptr;
    TFrmCd_Bagr* agreement = nullptr;
    TFrmPrnStEd* range = nullptr;
};

// A record registered while a range erase runs would go into the first free slot, which the loop
// has not reached yet, and be erased at once. A printout locks the editor the same way.
TEST_F(EditorBesideListTest, WhileTheListRunsALoopTheEditorTakesNoCommand) {
    struct Case {
        const char* name;
        const char* button;  // in the list
        std::vector<std::string> boxes;
        int freeAfter;  // the first free slot once the loop is over
    };
    const Case cases[] = {
        {"消去(範囲)", "BtnEF10", {"4 件を消去します。よろしいですか？"}, 0},
        {"印刷", "SpdBtnPrint", {}, 2},
    };
    ProgramPrinter printer;
    printer.printToPdf(QString::fromStdString(tmp.str("list.pdf")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (catalogue->isVisible()) {
            prompter.answers = {Answer::No, Answer::Ok};
            catalogue->close();
        }
        prompter.clear();
        open({record("B1", "ONE"), record("B2", "TWO"), record("B3", "THREE"), record("B4", "FOUR"), record("B5", "FIVE")});
        clearCdRecord(ws.arrays[kKindCatalogue][2]);  // a file holds records in use only: emptied here
        catalogue->drawCatalogueRow(2);
        bool lockedEveryLook = true;
        bool stepped = false;
        auto* stop = new ScriptedStop(catalogue.get(), 100, [&](int look) {
            for (const char* name : {"BtnF06", "BtnDelete", "SpdBtnDown", "SpdBtnCopy", "BtnF01"})
                lockedEveryLook = lockedEveryLook && !child<QWidget>(name)->isEnabled();
            lockedEveryLook = lockedEveryLook && !field("Edt_bcd")->isEnabled();
            if (look != 0) return;
            // The loop stands at slot 0; slot 2 is free and not yet reached.
            editor->showInEditor(record("NEW", "NEW ONE"), catalogue->currentSlot());
            prompter.answers.push_back(Answer::Ok);  // for the registration, if it ran
            click("BtnF06");
            pressStep("SpdBtnDown");
            stepped = catalogue->currentSlot() != 0;
        });
        catalogue->setPrinting(&printer, range, stop);
        whenModal<TFrmPrnStEd>([](TFrmPrnStEd* d) {
            d->findChild<QLineEdit*>("Edt_St")->setText("1");
            d->findChild<QLineEdit*>("Edt_Ed")->setText("5");
            QTest::mouseClick(d->findChild<QPushButton*>("BtnGo"), Qt::LeftButton);
        });
        prompter.answers.clear();
        if (!c.boxes.empty()) prompter.answers.push_back(Answer::Yes);  // the erase's question
        QTest::mouseClick(catalogue->findChild<QAbstractButton*>(c.button), Qt::LeftButton);

        ASSERT_GT(stop->looks, 2);
        EXPECT_TRUE(lockedEveryLook);
        EXPECT_FALSE(stepped);
        EXPECT_EQ(prompter.texts(), c.boxes);
        EXPECT_FALSE(anyHolds(kKindCatalogue, "NEW"));
        EXPECT_FALSE(anyHolds(kKindDeleted, "NEW"));
        EXPECT_FALSE(anyHolds(kKindNew, "NEW"));
        // Given back when the loop is over, the doors that were shut staying shut.
        EXPECT_TRUE(child<QWidget>("BtnF06")->isEnabled());
        EXPECT_TRUE(field("Edt_bcd")->isEnabled());
        EXPECT_FALSE(child<QWidget>("BtnGagr")->isEnabled());  // no search was given
        prompter.clear();
        prompter.answers = {Answer::Ok};
        editor->showInEditor(record("NEW", "NEW ONE"), catalogue->currentSlot());
        click("BtnF06");
        EXPECT_EQ(catBarcode(c.freeAfter), "NEW");
    }
}

// The list's current row moved by a click, an arrow key or the editor's ＤＯＷＮ over typing that
// was not registered: Yes lets the typing go and loads the row, No keeps the editor and the list
// goes back to the row the editor holds.
TEST_F(EditorBesideListTest, MovingTheListsRowOverUnregisteredTypingAsksFirst) {
    enum class Move { Click, ArrowKey, DownButton };
    struct Case {
        const char* name;
        Move move;
        Answer answer;
    };
    const Case cases[] = {
        {"click, Yes", Move::Click, Answer::Yes},
        {"click, No", Move::Click, Answer::No},
        {"arrow key, Yes", Move::ArrowKey, Answer::Yes},
        {"arrow key, No", Move::ArrowKey, Answer::No},
        {"ＤＯＷＮ, Yes", Move::DownButton, Answer::Yes},
        {"ＤＯＷＮ, No", Move::DownButton, Answer::No},
    };
    open({record("B1", "ONE"), record("B2", "TWO"), record("B3", "THREE")});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        catalogue->grid()->selectSlot(0);
        ASSERT_EQ(field("Edt_ttl")->text(), "ONE");
        type("Edt_ttl", "TYPED");
        QCoreApplication::processEvents();
        prompter.clear();
        prompter.answers = {c.answer};
        switch (c.move) {
            case Move::Click: clickRow(1); break;
            case Move::ArrowKey: QTest::keyClick(catalogue->grid(), Qt::Key_Down); break;
            case Move::DownButton: pressStep("SpdBtnDown"); break;
        }
        QCoreApplication::processEvents();
        ASSERT_EQ(prompter.boxes.size(), 1u);
        EXPECT_EQ(prompter.boxes[0].text, kDiscard);
        EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Confirmation);
        EXPECT_EQ(prompter.boxes[0].buttons, Buttons::YesNoDefaultNo);
        const int row = c.answer == Answer::Yes ? 1 : 0;
        EXPECT_EQ(catalogue->currentSlot(), row);
        EXPECT_EQ(selectedSlots(), std::vector<int>{row});
        EXPECT_EQ(editor->slot(), row);
        EXPECT_EQ(field("Edt_ttl")->text(), c.answer == Answer::Yes ? "TWO" : "TYPED");
        EXPECT_EQ(fieldText(editor->buffer().barcode), c.answer == Answer::Yes ? "B2" : "B1");
        // Nothing was registered either way.
        EXPECT_EQ(ws.arrays[kKindNew][0].active, 0);
        // Put the editor back to the first row's record for the next case.
        if (c.answer == Answer::No) {
            prompter.answers = {Answer::Yes};
            catalogue->grid()->selectSlot(1);
        }
    }
}

TEST_F(EditorBesideListTest, OnlyTypingThatWasNotRegisteredIsAskedAbout) {
    open({record("B1", "ONE"), record("B2", "TWO"), record("B3", "THREE")});
    // Untouched, and typed back to what was shown: the row loads without a question.
    clickRow(1);
    EXPECT_EQ(field("Edt_ttl")->text(), "TWO");
    type("Edt_ttl", "CHANGED");
    type("Edt_ttl", "TWO");
    clickRow(2);
    EXPECT_EQ(field("Edt_ttl")->text(), "THREE");
    EXPECT_TRUE(prompter.boxes.empty());
    // Registered: nothing is left to lose (a new barcode goes to the first free slot, slot 3).
    type("Edt_bcd", "NEW");
    prompter.answers = {Answer::Ok};
    click("BtnF06");
    ASSERT_EQ(catBarcode(3), "NEW");
    prompter.clear();
    clickRow(0);
    EXPECT_EQ(field("Edt_bcd")->text(), "B1");
    EXPECT_TRUE(prompter.boxes.empty());
    // The same row drawn again (its record erased from the list) leaves the typing as it is and asks
    // nothing; the kind list counts as typing too.
    child<QComboBox>("CBx_kind")->setCurrentIndex(4);
    QTest::mouseClick(catalogue->findChild<QToolButton*>("SpBtnClearRow"), Qt::LeftButton);
    EXPECT_EQ(ws.arrays[kKindCatalogue][0].active, 0);
    EXPECT_EQ(field("Edt_bcd")->text(), "B1");
    EXPECT_EQ(child<QComboBox>("CBx_kind")->currentIndex(), 4);
    EXPECT_TRUE(prompter.boxes.empty());
    prompter.answers = {Answer::No};
    clickRow(1);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{kDiscard});
    EXPECT_EQ(catalogue->currentSlot(), 0);
}

// Closing the list hides the editor without a question about its fields; the next opening shows
// the list's row, not what was left typed.
TEST_F(EditorBesideListTest, TheNextOpeningOfTheListStartsFromItsRow) {
    open({record("B1", "ONE"), record("B2", "TWO")});
    type("Edt_ttl", "LEFT TYPED");
    prompter.answers = {Answer::No, Answer::Ok};
    catalogue->close();
    ASSERT_FALSE(editor->isVisible());
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"保存終了します。", "破棄終了します！"}));
    prompter.clear();
    open({record("B1", "ONE"), record("B2", "TWO")});
    EXPECT_EQ(field("Edt_ttl")->text(), "ONE");
    EXPECT_TRUE(prompter.boxes.empty());
}

// "削除" works on the record in the editor; the deletions empty list rows (here the current one),
// and the editor goes on showing that record rather than the emptied row.
TEST_F(EditorBesideListTest, AfterDeletingTheEditorShowsTheRecordItDeletedBy) {
    open({record("DUP", "FIRST"), record("X", "OTHER"), record("DUP", "SECOND")});
    ASSERT_EQ(field("Edt_ttl")->text(), "FIRST");
    whenModal<TFrmCd_Bagr>([](TFrmCd_Bagr* w) {
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF10Del"), Qt::LeftButton);  // slot 0, the list's row
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF10Del"), Qt::LeftButton);  // slot 2
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF01Del"), Qt::LeftButton);
    });
    prompter.answers = {Answer::Ok};
    click("BtnDelete");
    EXPECT_EQ(ws.arrays[kKindCatalogue][0].active, 0);
    EXPECT_EQ(ws.arrays[kKindCatalogue][2].active, 0);
    EXPECT_EQ(catalogue->grid()->model()->index(0, 1).data().toString(), "");
    EXPECT_EQ(field("Edt_bcd")->text(), "DUP");
    EXPECT_EQ(field("Edt_ttl")->text(), "FIRST");
    EXPECT_EQ(field("Edt_tim")->text(), "405");
    EXPECT_EQ(fieldText(editor->buffer().barcode), "DUP");
    EXPECT_EQ(editor->slot(), 0);
    // It holds nothing unregistered: the next row loads without a question.
    prompter.clear();
    clickRow(1);
    EXPECT_EQ(field("Edt_ttl")->text(), "OTHER");
    EXPECT_TRUE(prompter.boxes.empty());
}

// "設定" writes the new record over the chosen slot: every field of it, whatever the old record held.
// The barcodes differ too: the key search takes the new barcode as a prefix.
TEST_F(EditorBesideListTest, AReplaceTakesEveryFieldOfTheNewRecord) {
    open({record("X", "OTHER"), record("ABC123", "OLD")});
    CdRecord old;
    clearCdRecord(old);
    setField(old.barcode, "ABC123");
    setField(old.userCode, "U-OLD");
    setField(old.artistCode, "AC-OLD");
    setField(old.title, utf8ToSjis("古いタイトル"));
    setField(old.artist, utf8ToSjis("古いアーチスト"));
    old.timeSec = 245;
    old.openDate = 20200105;
    old.saleDate = 20191201;
    old.entryDate = 20191215;
    old.registeredAt = 1000;
    old.deletedAt = 0;
    old.active = 1;
    old.trackCount = 10;
    old.trackPos = 1;
    old.kind = 1;
    old.infoKind = 1;
    old.catalogueIndex = 7;
    std::memset(old.reserved, 0x5A, sizeof old.reserved);
    ws.arrays[kKindCatalogue][1] = old;
    catalogue->drawCatalogueRow(1);

    CdRecord fresh;
    clearCdRecord(fresh);
    setField(fresh.barcode, "ABC");
    setField(fresh.userCode, "U-NEW");
    setField(fresh.artistCode, "AC-NEW");
    setField(fresh.title, utf8ToSjis("新しいタイトル"));
    setField(fresh.artist, utf8ToSjis("新しいアーチスト"));
    fresh.timeSec = 1234;
    fresh.openDate = 20240301;
    fresh.saleDate = 20240215;
    fresh.entryDate = 20240220;
    fresh.trackCount = 12;
    fresh.trackPos = 2;
    fresh.kind = 3;
    fresh.infoKind = 2;
    fresh.active = 1;

    bool offered = false;
    whenModal<TFrmCd_Bagr>([&](TFrmCd_Bagr* w) {
        offered = w->grid()->model()->index(0, 1).data().toString() == "ABC123";
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF10Put"), Qt::LeftButton);
    });
    editor->showInEditor(fresh, 0);
    prompter.answers = {Answer::Ok, Answer::Ok};
    click("BtnF06");
    ASSERT_TRUE(offered);
    ASSERT_EQ(prompter.texts(), (std::vector<std::string>{"登録します。", "設定します。(差し替え)"}));

    const CdRecord& put = ws.arrays[kKindCatalogue][1];
    using Field = std::function<std::string(const CdRecord&)>;
    auto number = [](auto member) { return [member](const CdRecord& r) { return std::to_string(r.*member); }; };
    const std::vector<std::pair<const char*, Field>> fields = {
        {"barcode", [](const CdRecord& r) { return fieldText(r.barcode); }},
        {"userCode", [](const CdRecord& r) { return fieldText(r.userCode); }},
        {"artistCode", [](const CdRecord& r) { return fieldText(r.artistCode); }},
        {"title", [](const CdRecord& r) { return fieldText(r.title); }},
        {"artist", [](const CdRecord& r) { return fieldText(r.artist); }},
        {"timeSec", number(&CdRecord::timeSec)},
        {"openDate", number(&CdRecord::openDate)},
        {"saleDate", number(&CdRecord::saleDate)},
        {"entryDate", number(&CdRecord::entryDate)},
        {"trackCount", number(&CdRecord::trackCount)},
        {"trackPos", number(&CdRecord::trackPos)},
        {"kind", number(&CdRecord::kind)},
        {"infoKind", number(&CdRecord::infoKind)},
        {"catalogueIndex", number(&CdRecord::catalogueIndex)},
        {"reserved", [](const CdRecord& r) { return std::string(reinterpret_cast<const char*>(r.reserved), sizeof r.reserved); }},
    };
    for (const auto& [name, value] : fields) {
        SCOPED_TRACE(name);
        ASSERT_NE(value(old), value(fresh));  // the case tells the two apart
        EXPECT_EQ(value(put), value(fresh));
    }
    EXPECT_EQ(put.active, 1);
    EXPECT_EQ(put.registeredAt, stampOf(clock.localNow()));
    // The old version went to the deleted history as it was.
    EXPECT_EQ(ws.arrays[kKindDeleted][0].timeSec, 245);
    EXPECT_EQ(fieldText(ws.arrays[kKindDeleted][0].barcode), "ABC123");
}

// The real box opens inside the mouse press on the list; whichever answer, the list's selection
// and its current row agree afterwards, and the editor holds what the answer says.
TEST(EditorDiscardQuestion, TheRealBoxInsideAClickLeavesTheListConsistent) {
    struct Case {
        QMessageBox::StandardButton answer;
        int row;
        const char* title;
    };
    const Case cases[] = {{QMessageBox::No, 0, "TYPED"}, {QMessageBox::Yes, 1, "TWO"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        TempDir tmp{"zemo-editor-box"};
        QtPrompter prompter;
        FixedClock clock{LocalTime{2024, 6, 1, 10, 0, 0}};
        Workspace ws{prompter, clock, tmp.path()};
        initControlDefaults(ws);
        ws.createArrays(1);
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(tmp.path() / d);
        WindowSettings settings;
        TFrmCd_data list(ws, settings);
        auto* editor = new TFrmCdEdit(ws, settings, &list);
        editor->setCatalogueWindow(&list);
        TCddataArray a(ws.capacity(kKindCatalogue) + 1);
        clearCdRecord(a[0]);
        clearCdRecord(a[1]);
        setField(a[0].barcode, "B1");
        setField(a[0].title, "ONE");
        setField(a[1].barcode, "B2");
        setField(a[1].title, "TWO");
        a[0].active = a[1].active = 1;
        a[0].trackCount = a[1].trackCount = a[0].trackPos = a[1].trackPos = 1;
        ASSERT_EQ(writeDataFile(ws, false, defaultFilePath(ws, kKindCatalogue), kKindCatalogue, a,
                                ws.capacity(kKindCatalogue)),
                  0);
        ASSERT_EQ(list.loadCatalogueGrid(), 0);
        list.grid()->selectSlot(0, true);
        list.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
        ASSERT_TRUE(editor->isVisible());
        auto* title = editor->findChild<QLineEdit*>("Edt_ttl");
        title->setText("TYPED");

        QString asked;
        whenModal<QMessageBox>([&asked, &c](QMessageBox* box) {
            asked = box->text();
            box->button(c.answer)->click();
        });
        RecordGrid* grid = list.grid();
        const QPoint at = grid->viewport()->mapTo(&list, grid->visualRect(grid->model()->index(1, 1)).center());
        QTest::mouseClick(list.windowHandle(), Qt::LeftButton, {}, at);
        for (int i = 0; i < 20; ++i) QTest::qWait(10);
        EXPECT_EQ(asked, QString::fromStdString(kDiscard));
        EXPECT_EQ(grid->currentSlot(), c.row);
        std::vector<int> selected;
        for (const QModelIndex& i : grid->selectionModel()->selectedRows()) selected.push_back(i.row());
        EXPECT_EQ(selected, std::vector<int>{c.row});
        EXPECT_EQ(title->text(), c.title);
        EXPECT_EQ(editor->slot(), c.row);
        list.hide();
    }
}

}  // namespace
}  // namespace zemo::ui
