// SPDX-License-Identifier: GPL-3.0-or-later
// The record editor with the barcode agreement window, the histories and the add list over a real
// catalogue: registering, replacing, adding, deleting, the entry checks, stepping, and taking
// records back into the editor. Driven offscreen by the controls' names.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/catalogue_access.h"
#include "catalogue/ui/frm_cd_add.h"
#include "catalogue/ui/frm_cd_bagr.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/frm_cd_edit.h"
#include "catalogue/ui/frm_cd_history.h"
#include "catalogue/ui/record_grid.h"
#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/text.h"
#include "records/window_settings.h"
#include "support/scripted_prompter.h"
#include "ui/qt_prompter.h"
#include <QMessageBox>

namespace zemo::ui {
namespace {

namespace fs = std::filesystem;
using guitest::TempDir;
using guitest::whenModal;

constexpr const char* kConfirm = "登録します。";

// Types a text one character at a time as key presses carrying it (any script, unlike keyClicks).
void typeText(QWidget* w, const QString& text) {
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
        QCoreApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text.mid(i, n));
        QCoreApplication::sendEvent(w, &release);
        i += n;
    }
}

class EditingTest : public ::testing::Test {
protected:
    void SetUp() override { build(1); }

    void build(int dbSize) {
        editor = nullptr;
        catalogue.reset();
        initControlDefaults(ws);
        ws.dbSize = dbSize;
        ws.createArrays(dbSize);
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(tmp.path() / d);
        ASSERT_EQ(saveControl(ws), 0);
        catalogue = std::make_unique<TFrmCd_data>(ws, settings);
        editor = new TFrmCdEdit(ws, settings, catalogue.get());
        agreement = new TFrmCd_Bagr(ws, settings, catalogue.get());
        deleted = new TFrmCd_Del(ws, settings, catalogue.get());
        added = new TFrmCd_New(ws, settings, catalogue.get());
        addList = new TFrmCd_Add(ws, settings, catalogue.get());
        agreement->setCatalogueRowChanged([this](int slot) {
            redrawn.push_back(slot);
            catalogue->drawCatalogueRow(slot);
        });
        addList->setCatalogueWindow(catalogue.get());
        editor->setCatalogueWindow(catalogue.get());
        editor->setAgreement(agreement);
        editor->setHistories(added, deleted);
        editor->setAddWindow(addList);
        catalogue->setEditor([this] { editor->showBeside(); });
    }

    static CdRecord record(const std::string& barcode, const std::string& title, int pos = 1) {
        CdRecord r;
        clearCdRecord(r);
        setField(r.barcode, barcode);
        setField(r.title, utf8ToSjis(title));
        r.timeSec = 245;
        r.saleDate = 20240101;
        r.trackCount = 10;
        r.trackPos = static_cast<std::int16_t>(pos);
        r.active = barcode.empty() ? 0 : 1;
        return r;
    }

    void writeKind(int kind, const std::vector<CdRecord>& records) {
        TCddataArray a(ws.capacity(kind) + 1);
        for (std::size_t i = 0; i < records.size(); ++i) a[static_cast<int>(i)] = records[i];
        ASSERT_EQ(writeDataFile(ws, false, defaultFilePath(ws, kind), kind, a, ws.capacity(kind)), 0);
    }

    // What the main window loads, the list shown (not waited in) and the editor beside it.
    void open(const std::vector<CdRecord>& records) {
        writeKind(kKindCatalogue, records);
        for (int kind : {kKindDeleted, kKindNew, kKindAdd}) writeKind(kind, {});
        ASSERT_EQ(loadDeletedList(ws), 0);
        ASSERT_EQ(loadNewList(ws), 0);
        ASSERT_EQ(loadAddList(ws), 0);
        ASSERT_EQ(catalogue->loadCatalogueGrid(), 0);
        catalogue->grid()->selectSlot(0, true);
        catalogue->show();
        ASSERT_TRUE(editor->isVisible());  // opened beside the list
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
    }

    void TearDown() override {
        prompter.answers = {Answer::No, Answer::Ok};
        if (catalogue && catalogue->isVisible()) catalogue->close();
    }

    template <typename T>
    T* child(const char* name) {
        return guitest::child<T>(editor, name);
    }
    QLineEdit* field(const char* name) { return child<QLineEdit>(name); }
    void click(const char* name) { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }

    // Types a text into a field as the user would (replacing what was there) and leaves it.
    void enter(const char* name, const QString& text) {
        QLineEdit* e = field(name);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        typeText(e, text);
        guitest::leave(e);
    }

    // Fills the editor with a record and registers it, answering the confirmation.
    void registerRecord(const CdRecord& r) {
        editor->showInEditor(r, catalogue->currentSlot());
        prompter.answers.push_back(Answer::Ok);
        click("BtnF06");
    }

    std::string catBarcode(int slot) const { return fieldText(ws.arrays[kKindCatalogue][slot].barcode); }
    std::string catTitle(int slot) const { return sjisToUtf8(fieldText(ws.arrays[kKindCatalogue][slot].title)); }
    std::string histTitle(int kind, int slot) const { return sjisToUtf8(fieldText(ws.arrays[kind][slot].title)); }
    QString gridText(RecordGrid* grid, int slot, int column) const {
        return grid->model()->index(slot, column).data().toString();
    }

    TempDir tmp{"zemo-editing"};
    ScriptedPrompter prompter;
    FixedClock clock{LocalTime{1997, 3, 3, 14, 5, 0}};
    Workspace ws{prompter, clock, tmp.path()};
    WindowSettings settings;
    std::unique_ptr<TFrmCd_data> catalogue;
    TFrmCdEdit* editor = nullptr;
    TFrmCd_Bagr* agreement = nullptr;
    TFrmCd_Del* deleted = nullptr;
    TFrmCd_New* added = nullptr;
    TFrmCd_Add* addList = nullptr;
    std::vector<int> redrawn;
};

TEST_F(EditingTest, TheEditorTakesInputBesideTheModalListAndHidesWhenItCloses) {
    writeKind(kKindCatalogue, {record("B1", "ONE")});
    for (int kind : {kKindDeleted, kKindNew, kKindAdd}) writeKind(kind, {});
    bool copied = false, shown = false;
    whenModal<TFrmCd_data>([&](TFrmCd_data* list) {
        shown = editor->isVisible();
        // A click as the window system delivers it, so that modal blocking applies.
        auto* copy = child<QToolButton>("SpdBtnCopy");
        const QPoint at = copy->mapTo(editor->window(), copy->rect().center());
        QTest::mouseClick(editor->windowHandle(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
        copied = fieldText(editor->copyRecord().barcode) == "B1";
        prompter.answers = {Answer::No, Answer::Ok};
        list->close();
    });
    ASSERT_EQ(catalogue->openForEditing(), 0);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(copied);
    EXPECT_FALSE(editor->isVisible());
}

TEST_F(EditingTest, ANewBarcodeGoesToTheFirstFreeSlotAndTopsTheNewHistory) {
    open({record("B1", "ONE"), record("B2", "TWO"), record("B3", "THREE")});
    ws.arrays[kKindCatalogue][1] = clearedRecord();  // slot 1 free
    registerRecord(record("NEW", "新しいCD"));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{kConfirm});
    EXPECT_FALSE(agreement->isVisible());
    EXPECT_EQ(catBarcode(1), "NEW");
    EXPECT_EQ(gridText(catalogue->grid(), 1, 1), "NEW");  // the row was redrawn
    EXPECT_EQ(ws.arrays[kKindCatalogue][1].registeredAt, stampOf(clock.localNow()));
    EXPECT_EQ(histTitle(kKindNew, 0), "新しいCD");
    // The new history shows it with the moment of registration.
    whenModal<TFrmCd_New>([this](TFrmCd_New* w) {
        EXPECT_EQ(w->grid()->model()->columnCount(), kNewListColumns);
        EXPECT_EQ(w->grid()->model()->rowCount(), 500);
        EXPECT_EQ(gridText(w->grid(), 0, 14), "1997/03/03 14:05");
        EXPECT_EQ(w->grid()->model()->headerData(14, Qt::Horizontal).toString(), QStringLiteral("登録日付"));
        w->close();
    });
    click("BtnNew");
}

TEST_F(EditingTest, AnExistingBarcodeShowsTheAgreementWindowAndItsAnswerDecides) {
    struct Case {
        const char* name;
        const char* button;  // in the agreement window
        std::vector<Answer> answers;
        int expectedSlot;  // where the new record went, -1 nowhere
    };
    const Case cases[] = {
        {"設定 replaces the preselected record", "BtnF10Put", {Answer::Ok, Answer::Ok}, 2},
        {"追加 adds in the first free slot", "BtnF09Put", {Answer::Ok, Answer::Ok}, 4},
        {"取消 registers nothing", "BtnF01Put", {Answer::Ok}, -1},
        {"設定 answered Cancel keeps the window; then 取消", "BtnF10Put", {Answer::Ok, Answer::Cancel}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (catalogue->isVisible()) {
            prompter.answers = {Answer::No, Answer::Ok};
            catalogue->close();
        }
        prompter.clear();
        open({record("DUP", "FIRST"), record("X", "OTHER"), record("DUP", "SAME TITLE"), record("DUP", "THIRD")});
        bool seen = false;
        whenModal<TFrmCd_Bagr>([&, c](TFrmCd_Bagr* w) {
            seen = true;
            EXPECT_EQ(w->grid()->model()->rowCount(), 10);  // three matches, ten rows
            EXPECT_EQ(w->grid()->currentSlot(), 1);         // the same title, blanks ignored
            EXPECT_EQ(gridText(w->grid(), 1, 4), "SAME TITLE");
            EXPECT_EQ(gridText(w->grid(), 3, 1), "");
            EXPECT_TRUE(w->findChild<QWidget*>("PnlPut")->isVisible());
            EXPECT_FALSE(w->findChild<QWidget*>("PnlDel")->isVisible());
            QTest::mouseClick(w->findChild<QPushButton*>(c.button), Qt::LeftButton);
            if (w->isVisible()) QTest::mouseClick(w->findChild<QPushButton*>("BtnF01Put"), Qt::LeftButton);
        });
        editor->showInEditor(record("DUP", "SAMETITLE"), 0);
        prompter.answers = {c.answers.begin(), c.answers.end()};
        click("BtnF06");
        EXPECT_TRUE(seen);
        EXPECT_FALSE(agreement->isVisible());
        if (c.expectedSlot == 2) {
            EXPECT_EQ(catTitle(2), "SAMETITLE");
            EXPECT_EQ(histTitle(kKindDeleted, 0), "SAME TITLE");  // the old version
            EXPECT_EQ(ws.arrays[kKindDeleted][0].deletedAt, stampOf(clock.localNow()));
            EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kConfirm, "設定します。(差し替え)"}));
        } else if (c.expectedSlot == 4) {
            EXPECT_EQ(catTitle(4), "SAMETITLE");
            EXPECT_EQ(catTitle(2), "SAME TITLE");
            EXPECT_EQ(ws.arrays[kKindDeleted][0].active, 0);
            EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kConfirm, "追加登録します。"}));
        } else {
            EXPECT_EQ(catTitle(2), "SAME TITLE");
            EXPECT_EQ(ws.arrays[kKindCatalogue][4].active, 0);
            EXPECT_EQ(ws.arrays[kKindNew][0].active, 0);
        }
        if (c.expectedSlot >= 0) {
            EXPECT_EQ(histTitle(kKindNew, 0), "SAMETITLE");
            EXPECT_EQ(gridText(catalogue->grid(), c.expectedSlot, 4), "SAMETITLE");
        }
    }
}

TEST_F(EditingTest, DeletingFromTheAgreementWindowShiftsTheListAndEmptiesTheSlot) {
    open({record("DUP", "FIRST"), record("X", "OTHER"), record("DUP", "SECOND"), record("DUP", "THIRD")});
    editor->showInEditor(ws.arrays[kKindCatalogue][0], 0);
    whenModal<TFrmCd_Bagr>([this](TFrmCd_Bagr* w) {
        EXPECT_TRUE(w->findChild<QWidget*>("PnlDel")->isVisible());
        EXPECT_EQ(w->grid()->currentSlot(), 0);
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF10Del"), Qt::LeftButton);
        EXPECT_TRUE(w->isVisible());  // several can go in a row
        EXPECT_EQ(gridText(w->grid(), 0, 4), "SECOND");
        EXPECT_EQ(gridText(w->grid(), 1, 4), "THIRD");
        EXPECT_EQ(gridText(w->grid(), 2, 4), "");
        w->grid()->selectSlot(5);
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF10Del"), Qt::LeftButton);  // an empty row: nothing
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF01Del"), Qt::LeftButton);
    });
    prompter.answers = {Answer::Ok};
    click("BtnDelete");
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"削除します。"});
    EXPECT_EQ(ws.arrays[kKindCatalogue][0].active, 0);
    EXPECT_EQ(gridText(catalogue->grid(), 0, 1), "");
    EXPECT_EQ(catTitle(2), "SECOND");
    EXPECT_EQ(histTitle(kKindDeleted, 0), "FIRST");
    EXPECT_EQ(histTitle(kKindDeleted, 1), "");
    EXPECT_EQ(redrawn, std::vector<int>{0});

    // A barcode no record carries: nothing after the question.
    editor->showInEditor(record("NONE", "X"), 0);
    prompter.clear();
    prompter.answers = {Answer::Ok};
    click("BtnDelete");
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"削除します。"});
    EXPECT_FALSE(agreement->isVisible());
}

TEST_F(EditingTest, AMatchDeletedDuringRegistrationFreesTheSlotThatAddTakes) {
    open({record("DUP", "FIRST"), record("X", "OTHER"), record("DUP", "SECOND")});
    whenModal<TFrmCd_Bagr>([this](TFrmCd_Bagr* w) {
        EXPECT_EQ(w->grid()->currentSlot(), 0);
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF08Put"), Qt::LeftButton);
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(gridText(w->grid(), 0, 4), "SECOND");
        EXPECT_EQ(field("Edt_ttl")->text(), "NEWEST");  // the record being registered stays shown
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF09Put"), Qt::LeftButton);
    });
    editor->showInEditor(record("DUP", "NEWEST"), 0);
    prompter.answers = {Answer::Ok, Answer::Ok};
    click("BtnF06");
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{kConfirm, "追加登録します。"}));
    EXPECT_EQ(catTitle(0), "NEWEST");  // the slot the delete emptied
    EXPECT_EQ(catTitle(2), "SECOND");
    EXPECT_EQ(histTitle(kKindDeleted, 0), "FIRST");
    EXPECT_EQ(gridText(catalogue->grid(), 0, 4), "NEWEST");
}

TEST_F(EditingTest, EntryChecksRefuseWithTheirMessagesAndKeepTheFocus) {
    open({record("B1", "ONE")});
    const std::string range199 = "入力範囲が不正です！\n最小[ 1 ] 最大[ 99 ]です。";
    struct Case {
        const char* field;
        const char* text;
        std::vector<std::string> boxes;  // empty: accepted
    };
    const Case cases[] = {
        {"Edt_tim", "512", {}},
        {"Edt_tim", "60", {}},
        {"Edt_tim", "999959", {}},
        {"Edt_tim", "999960", {"入力範囲が不正です！\n最小[ 0 ] 最大[ 999959 ]です。"}},
        {"Edt_tim", "5m", {"入力文字を時間数値に変換できません!"}},
        {"Edt_suu", "0", {range199}},
        {"Edt_suu", "99", {}},
        {"Edt_pos", "0", {range199}},
        {"Edt_suu", "", {"入力文字を数値に変換できません!"}},
        {"Edt_date", "20240229", {}},
        {"Edt_date", "20230229", {"存在しない日付です!"}},
        {"Edt_entry", "2024/1/1", {"入力文字を日付数値に変換できません!"}},
        {"Edt_open", "0", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.text);
        prompter.clear();
        enter(c.field, QString::fromUtf8(c.text));
        EXPECT_EQ(prompter.texts(), c.boxes);
        if (c.boxes.empty()) EXPECT_NE(editor->focusWidget(), field(c.field));
        else EXPECT_EQ(editor->focusWidget(), field(c.field));
        // Put a good value back so that the next case starts from a clean form.
        editor->showInEditor(ws.arrays[kKindCatalogue][0], 0);
        QCoreApplication::processEvents();
    }
    // 100 cannot even be typed into the two-byte track count: the third digit is refused.
    enter("Edt_suu", "100");
    EXPECT_EQ(field("Edt_suu")->text(), "10");

    // A date that does not exist registers nothing, also when 登録 is pressed right away, and the
    // buffer keeps the record shown before.
    prompter.clear();
    enter("Edt_bcd", "new b");
    EXPECT_EQ(field("Edt_bcd")->text(), "NEWB");  // upper case as typed, blanks gone on leaving
    field("Edt_date")->setFocus();
    field("Edt_date")->setText("20230229");
    click("BtnF06");
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"存在しない日付です!"});
    EXPECT_EQ(ws.arrays[kKindCatalogue][1].active, 0);
    EXPECT_EQ(fieldText(editor->buffer().barcode), "B1");

    // The time: 512 shows 5:12 and registers 312 seconds.
    field("Edt_date")->setText("20240301");
    prompter.clear();
    enter("Edt_tim", "512");
    EXPECT_EQ(child<QLabel>("Lbl_timdt")->text(), "(    5:12)");
    prompter.answers = {Answer::Ok};
    click("BtnF06");
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{kConfirm});
    EXPECT_EQ(catBarcode(1), "NEWB");
    EXPECT_EQ(ws.arrays[kKindCatalogue][1].timeSec, 312);
    EXPECT_EQ(ws.arrays[kKindCatalogue][1].saleDate, 20240301);
    EXPECT_EQ(fieldText(editor->buffer().barcode), "NEWB");
}

TEST_F(EditingTest, FieldsRefuseWhatWouldNotFitInsteadOfCuttingIt) {
    open({record("B1", "ONE")});
    struct Case {
        const char* field;
        QString typed;
        QString kept;
    };
    const Case cases[] = {
        {"Edt_bcd", QString(14, QLatin1Char('a')), QString(14, QLatin1Char('A'))},
        {"Edt_bcd", QString(15, QLatin1Char('1')), QString(14, QLatin1Char('1'))},
        {"Edt_bcd", QStringLiteral("1ア2"), QStringLiteral("12")},     // no double-byte characters
        {"Edt_bcd", QStringLiteral("ｱｲｳ"), QStringLiteral("ｱｲｳ")},     // half-width katakana pass
        {"Edt_acd", QString(31, QLatin1Char('x')), QString(30, QLatin1Char('X'))},
        {"Edt_ttl", QString(40, QLatin1Char('t')), QString(40, QLatin1Char('t'))},
        {"Edt_ttl", QString(19, QLatin1Char('t')) + QStringLiteral("漢字"), QString(19, QLatin1Char('t')) + QStringLiteral("漢字")},
        {"Edt_ttl", QString(39, QLatin1Char('t')) + QStringLiteral("漢"), QString(39, QLatin1Char('t'))},
        {"Edt_art", QStringLiteral("A🎵B"), QStringLiteral("AB")},  // not in Shift-JIS
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + c.typed.toStdString());
        QLineEdit* e = field(c.field);
        e->clear();
        e->setFocus();
        typeText(e, c.typed);
        EXPECT_EQ(e->text(), c.kept);
    }
    // A paste that would not fit is refused whole.
    QLineEdit* title = field("Edt_ttl");
    title->setText(QString(30, QLatin1Char('t')));
    title->insert(QString(11, QLatin1Char('p')));
    EXPECT_EQ(title->text(), QString(30, QLatin1Char('t')));
    title->insert(QString(10, QLatin1Char('p')));
    EXPECT_EQ(title->text().size(), 40);
    // The input method is off where double-byte characters are refused.
    for (const char* name : {"Edt_bcd", "Edt_ucd", "Edt_acd"})
        EXPECT_FALSE(field(name)->testAttribute(Qt::WA_InputMethodEnabled)) << name;
    EXPECT_TRUE(field("Edt_ttl")->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(EditingTest, UpAndDownStepTheListByOneTenOrAHundred) {
    build(20);
    open({record("B1", "ONE")});
    struct Case {
        const char* button;
        Qt::KeyboardModifiers modifiers;
        int from, to;  // grid rows, from 1
    };
    const Case cases[] = {
        {"SpdBtnDown", Qt::NoModifier, 1, 2},
        {"SpdBtnDown", Qt::ShiftModifier, 1, 11},
        {"SpdBtnDown", Qt::ControlModifier, 1, 101},
        {"SpdBtnDown", Qt::ShiftModifier | Qt::ControlModifier, 1, 11},  // Shift wins
        {"SpdBtnUp", Qt::NoModifier, 1, 1},                               // nothing above row 1
        {"SpdBtnUp", Qt::ShiftModifier, 10, 10},                          // the step must be smaller
        {"SpdBtnUp", Qt::ShiftModifier, 11, 1},
        {"SpdBtnUp", Qt::ControlModifier, 150, 50},
        {"SpdBtnDown", Qt::ControlModifier, 9950, 9950},  // 10,050 lies beyond the last row
        {"SpdBtnDown", Qt::ControlModifier, 9900, 10000},
        {"SpdBtnDown", Qt::NoModifier, 10000, 10000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " from " + std::to_string(c.from));
        catalogue->grid()->selectSlot(c.from - 1);
        auto* b = child<QToolButton>(c.button);
        QTest::mousePress(b, Qt::LeftButton, c.modifiers);
        QTest::mouseRelease(b, Qt::LeftButton, c.modifiers);
        EXPECT_EQ(catalogue->currentSlot(), c.to - 1);
        EXPECT_EQ(editor->slot(), c.to - 1);
    }
    // The editor shows the record of the row it stepped to.
    catalogue->grid()->selectSlot(1);
    QTest::mousePress(child<QToolButton>("SpdBtnUp"), Qt::LeftButton);
    EXPECT_EQ(field("Edt_bcd")->text(), "B1");
    EXPECT_EQ(field("Edt_tim")->text(), "405");  // 245 seconds as MMMMSS
}

TEST_F(EditingTest, CopyAndPasteKeepTheRecordAndTheSlot) {
    open({record("B1", "ONE"), record("B2", "TWO")});
    click("SpdBtnCopy");
    catalogue->grid()->selectSlot(1);
    EXPECT_EQ(field("Edt_bcd")->text(), "B2");
    click("SpdBtnPaste");
    EXPECT_EQ(field("Edt_bcd")->text(), "B1");
    EXPECT_EQ(field("Edt_ttl")->text(), "ONE");
    EXPECT_EQ(editor->slot(), 1);
    EXPECT_EQ(fieldText(editor->buffer().barcode), "B1");
}

TEST_F(EditingTest, ADeletedRecordTakenFromItsHistoryIsRegisteredAgain) {
    open({record("B1", "ONE"), record("B2", "TWO")});
    catalogue->grid()->selectSlot(0);
    QTest::mouseClick(catalogue->findChild<QToolButton*>("SpBtnClearRow"), Qt::LeftButton);
    ASSERT_EQ(histTitle(kKindDeleted, 0), "ONE");
    whenModal<TFrmCd_Del>([this](TFrmCd_Del* w) {
        EXPECT_EQ(w->grid()->model()->columnCount(), kFullListColumns);
        EXPECT_EQ(gridText(w->grid(), 0, 15), "1997/03/03 14:05");
        w->grid()->selectSlot(1);
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF10"), Qt::LeftButton);  // empty: nothing
        EXPECT_TRUE(w->isVisible());
        w->grid()->selectSlot(0);
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF10"), Qt::LeftButton);
    });
    catalogue->grid()->selectSlot(1);
    click("BtnDel");
    EXPECT_FALSE(deleted->isVisible());
    EXPECT_EQ(field("Edt_ttl")->text(), "ONE");
    EXPECT_EQ(editor->slot(), 1);  // the list's row, not the history's
    prompter.answers = {Answer::Ok};
    click("BtnF06");
    EXPECT_EQ(catTitle(0), "ONE");
    EXPECT_EQ(catBarcode(0), "B1");
    EXPECT_EQ(histTitle(kKindDeleted, 0), "ONE");  // the history still lists it
    EXPECT_EQ(histTitle(kKindNew, 0), "ONE");
}

TEST_F(EditingTest, FiveHundredAndOneDeletionsDropTheOldestFromTheDeletedWindow) {
    open({});
    for (int i = 0; i < 501; ++i) ASSERT_EQ(addToDeletedList(ws, record("D" + std::to_string(i), "T" + std::to_string(i))), 0);
    whenModal<TFrmCd_Del>([this](TFrmCd_Del* w) {
        EXPECT_EQ(w->grid()->model()->rowCount(), 500);
        EXPECT_EQ(gridText(w->grid(), 0, 4), "T500");
        EXPECT_EQ(gridText(w->grid(), 499, 4), "T1");  // T0 is gone
        w->close();
    });
    click("BtnDel");
}

TEST_F(EditingTest, TheAddListIsFilledFromAFileAndHandsOneRecordToTheEditor) {
    // Another data file with two records, read into the add list in edit mode.
    const std::string other = (tmp.path() / "OTHER.ZMO").string();
    {
        TCddataArray a(ws.capacity(kKindAdd) + 1);
        a[0] = record("A1", "ADD ONE");
        a[1] = record("A2", "ADD TWO");
        ASSERT_EQ(writeDataFile(ws, true, other, kKindAdd, a, ws.capacity(kKindAdd)), 0);
    }
    writeKind(kKindAdd, {});
    writeKind(kKindCatalogue, {record("B1", "ONE")});
    prompter.clear();
    prompter.fileChoices.push_back(FileChoice{true, other, ""});
    whenModal<TFrmCd_Add>([this](TFrmCd_Add* w) {
        EXPECT_TRUE(w->findChild<QWidget*>("PnlEdit")->isVisible());
        QTest::mouseClick(w->findChild<QToolButton*>("SpdBtnOpen"), Qt::LeftButton);
        EXPECT_EQ(gridText(w->grid(), 1, 4), "ADD TWO");
        prompter.answers = {Answer::Yes, Answer::Ok};
        w->close();
    });
    ASSERT_EQ(addList->openForEditing(), 0);
    EXPECT_EQ(prompter.lastChooserDir, kindDir(ws, kKindAdd));
    EXPECT_FALSE(addList->isVisible());
    int loadedFlag = 0, count = 0;
    TCddataArray saved(ws.capacity(kKindAdd) + 1);
    ASSERT_EQ(readDataFile(ws, "", kKindAdd, saved, loadedFlag, count, ws.capacity(kKindAdd)), DataFileRead::Ok);
    EXPECT_EQ(count, 2);

    // From the editor, in get mode: an empty row takes nothing, a record row goes to the editor.
    open({record("B1", "ONE")});
    ws.arrays[kKindAdd][0] = record("A1", "ADD ONE");
    ws.arrays[kKindAdd][1] = clearedRecord();
    ws.arrays[kKindAdd][2] = record("A3", "ADD THREE");
    whenModal<TFrmCd_Add>([](TFrmCd_Add* w) {
        EXPECT_TRUE(w->findChild<QWidget*>("PnlGet")->isVisible());
        EXPECT_FALSE(w->findChild<QToolButton*>("SpdBtnSave")->isEnabled());
        w->grid()->selectSlot(1);
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF10Get"), Qt::LeftButton);
        EXPECT_TRUE(w->isVisible());
        w->grid()->selectSlot(2);
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF10Get"), Qt::LeftButton);
    });
    prompter.clear();
    click("BtnAdd");
    EXPECT_EQ(field("Edt_ttl")->text(), "ADD THREE");
    EXPECT_EQ(editor->slot(), 0);
    EXPECT_TRUE(prompter.boxes.empty());  // get mode closes without questions
}

// The add list read cut to its 200 slots: closing with saving asks once more, No as the default,
// and No writes nothing and keeps the window open.
TEST_F(EditingTest, AnAddListReadCutIsNotSavedOverTheWholeFileUnasked) {
    const std::string file = defaultFilePath(ws, kKindAdd);
    auto bytes = [&] {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    {
        TCddataArray a(202);
        for (int i = 0; i < 201; ++i) a[i] = record("A" + std::to_string(i), "ADD");
        ASSERT_EQ(writeDataFile(ws, false, file, kKindAdd, a, 201), 0);
    }
    writeKind(kKindCatalogue, {record("B1", "ONE")});
    const std::string whole = bytes();
    prompter.clear();
    prompter.answers = {Answer::Yes};  // read the first 200
    std::vector<std::string> asked;
    Buttons buttons = Buttons::Ok;
    bool stayedOpen = false, unchanged = false;
    whenModal<TFrmCd_Add>([&](TFrmCd_Add* w) {
        prompter.clear();
        prompter.answers = {Answer::Yes, Answer::Ok, Answer::No};
        w->close();
        stayedOpen = w->isVisible();
        asked = prompter.texts();
        if (!prompter.boxes.empty()) buttons = prompter.boxes.back().buttons;
        unchanged = bytes() == whole;
        prompter.answers = {Answer::No, Answer::Ok};
        w->close();
    });
    ASSERT_EQ(addList->openForEditing(), 0);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(unchanged);
    EXPECT_EQ(asked, (std::vector<std::string>{"保存終了します。", "保存終了します！",
                                               file +
                                                   "\n制御数以降を切り捨てて読み込んだﾃﾞｰﾀです！\n"
                                                   "上書きするとﾌｧｲﾙ内 201 件のうち 1 件のﾃﾞｰﾀが失われます。\n"
                                                   "上書きしますか？"}));
    EXPECT_EQ(buttons, Buttons::YesNoDefaultNo);
    EXPECT_EQ(bytes(), whole);  // discarded afterwards: still 201
}

TEST_F(EditingTest, MarkedResultsFillTheAddListUpToItsLastSlot) {
    writeKind(kKindAdd, {});
    writeKind(kKindCatalogue, {record("B1", "ONE")});
    const int cap = ws.capacity(kKindAdd);
    addList->setSearch([this](ExtractSpec& request, std::vector<int>& marked) {
        EXPECT_EQ(request.windowMode, 2);
        for (int i = 0; i < 3; ++i) ws.arrays[kKindReference][i] = record("R" + std::to_string(i), "RES" + std::to_string(i));
        request.resultCount = 3;
        marked = {0, 1, 2};
        return true;
    });
    whenModal<TFrmCd_Add>([this, cap](TFrmCd_Add* w) {
        w->grid()->selectSlot(cap - 2);
        QTest::mouseClick(w->findChild<QPushButton*>("BtnF05Edit"), Qt::LeftButton);
        EXPECT_EQ(gridText(w->grid(), cap - 1, 4), "RES1");
        prompter.answers = {Answer::No, Answer::Ok};
        w->close();
    });
    ASSERT_EQ(addList->openForEditing(), 0);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"全てを登録することが出来ませんでした。", "保存終了します。",
                                                          "破棄終了します！"}));
    EXPECT_EQ(ws.arrays[kKindAdd][cap].active, 0);  // the spare slot stays untouched
    EXPECT_EQ(ws.loaded[kKindAdd], 0);               // discarded: read again next time
}

TEST_F(EditingTest, EveryListWindowTakesItsColumnWidthsAndGivesThemBack) {
    struct Case {
        const char* section;
        int entries;
    };
    const Case cases[] = {{"DBagr_M", 13}, {"DAdd_M", 13}, {"DNew_M", 14}, {"DDel_M", 15}};
    for (const Case& c : cases) {
        std::vector<int> widths(static_cast<std::size_t>(c.entries), -1);
        widths[0] = 77;
        widths.back() = 66;
        settings.widths[c.section] = widths;
    }
    build(1);
    struct Window {
        const char* section;
        QDialog* window;
        RecordGrid* grid;
    };
    const Window windows[] = {{"DBagr_M", agreement, agreement->grid()},
                              {"DAdd_M", addList, addList->grid()},
                              {"DNew_M", added, added->grid()},
                              {"DDel_M", deleted, deleted->grid()}};
    for (const Window& w : windows) {
        SCOPED_TRACE(w.section);
        const int last = w.grid->model()->columnCount() - 1;
        EXPECT_EQ(last, static_cast<int>(settings.widths[w.section].size()));
        EXPECT_EQ(w.grid->columnWidth(1), 77);
        EXPECT_EQ(w.grid->columnWidth(last), 66);
        w.grid->setColumnWidth(2, 123);
        w.window->show();
        prompter.answers = {Answer::No, Answer::Ok};  // the add list asks
        w.window->close();
        EXPECT_EQ(settings.widths[w.section][1], 123);
    }
}

// The real message box takes the focus from the field it complains about: that is not a second
// leave, so the box comes once per leaving.
class CountingPrompter : public QtPrompter {
public:
    int boxes = 0;
    Answer message(BoxKind kind, const std::string& text, Buttons buttons) override {
        ++boxes;
        return QtPrompter::message(kind, text, buttons);
    }
};

TEST(EditorChecks, ACheckShowsItsBoxOncePerLeaving) {
    TempDir tmp{"zemo-editing-box"};
    CountingPrompter prompter;
    FixedClock clock{LocalTime{2024, 6, 1, 10, 0, 0}};
    Workspace ws{prompter, clock, tmp.path()};
    initControlDefaults(ws);
    ws.createArrays(1);
    WindowSettings settings;
    TFrmCdEdit editor(ws, settings);
    editor.show();
    editor.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
    auto* tracks = editor.findChild<QLineEdit*>("Edt_suu");
    for (int leaving = 1; leaving <= 2; ++leaving) {
        SCOPED_TRACE(leaving);
        editor.activateWindow();  // offscreen, closing the box does not give the window back
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
        tracks->setFocus();
        tracks->setText("0");
        whenModal<QMessageBox>([](QMessageBox* box) {
            EXPECT_EQ(box->text(), QStringLiteral("入力範囲が不正です！\n最小[ 1 ] 最大[ 99 ]です。"));
            box->accept();
        });
        QTest::keyClick(tracks, Qt::Key_Tab);
        for (int i = 0; i < 50 && prompter.boxes < leaving; ++i) QTest::qWait(10);
        // The box is gone and the focus is back in the field; nothing runs the check again.
        for (int i = 0; i < 10; ++i) QTest::qWait(10);
        EXPECT_EQ(prompter.boxes, leaving);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(editor.focusWidget(), tracks);
    }
}

}  // namespace
}  // namespace zemo::ui
