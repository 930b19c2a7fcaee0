// SPDX-License-Identifier: GPL-3.0-or-later
// The search dialog and its result window over an in-memory catalogue, driven offscreen by the
// controls' names: conditions, prefix and partial matches, date ranges, the 500-row limit, marks
// and their permission, the move from the catalogue list, and the dialog's fields.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QImage>
#include <QTest>
#include <cstdio>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/catalogue_access.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/frm_cd_ref.h"
#include "catalogue/ui/frm_ref_md.h"
#include "catalogue/ui/record_grid.h"
#include "gui/widget_driver.h"
#include "printing/ui/frm_prn_st_ed.h"
#include "printing/ui/frm_stop.h"
#include "gui/dialogs_support.h"
#include "platform/sjis.h"
#include "records/control_file.h"
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
using Barcodes = std::vector<std::string>;
using guitest::child;
using guitest::leave;

// A prompter whose boxes take the focus as a real message box does: a window over the dialog is
// activated, then closed, and the dialog activated again.
class FocusTakingPrompter : public ScriptedPrompter {
public:
    Answer message(BoxKind kind, const std::string& text, Buttons buttons) override {
        if (QWidget* under = QApplication::activeModalWidget()) {
            QDialog box(under);
            box.show();
            box.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&box));
            box.close();
            under->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(under));
        }
        return ScriptedPrompter::message(kind, text, buttons);
    }
};

struct Conditions {
    int kind = 5;  // "6:全て"
    int item = 0;
    std::string bcd, ucd, acd, art;  // typed, UTF-8
    bool partial = false;
    std::string dst = "0", ded = "0";
};

class SearchWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        initControlDefaults(ws);
        ws.createArrays(2);  // a catalogue of 1000
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(tmp.path() / d);
        results = std::make_unique<TFrmCd_Ref>(ws, settings);
        dialog = std::make_unique<TFrmRefMd>(ws, settings, *results);
    }

    static CdRecord record(const std::string& barcode, const std::string& artist = "", int saleDate = 0,
                           int kind = 0) {
        CdRecord r;
        clearCdRecord(r);
        setField(r.barcode, barcode);
        setField(r.artist, sj(artist));
        r.saleDate = saleDate;
        r.kind = static_cast<std::int16_t>(kind);
        r.active = 1;
        return r;
    }

    // The catalogue in memory from slot 0, marked loaded.
    void setCatalogue(const std::vector<CdRecord>& records) {
        for (std::size_t i = 0; i < records.size(); ++i) ws.arrays[kKindCatalogue][static_cast<int>(i)] = records[i];
        ws.loaded[kKindCatalogue] = 1;
    }

    // Types one character at a time through the edit's key handling (and so its validator).
    static void typeInto(QLineEdit* edit, const std::string& utf8) {
        edit->clear();
        const QString text = QString::fromStdString(utf8);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QString ch = text.mid(i, 1);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, ch);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, ch);
            QApplication::sendEvent(edit, &press);
            QApplication::sendEvent(edit, &release);
        }
    }

    // Fills the dialog as a user would and presses 実行.
    static void fillAndRun(TFrmRefMd* d, const Conditions& c) {
        child<QRadioButton>(d, ("RdGrpKind" + std::to_string(c.kind)).c_str())->setChecked(true);
        child<QRadioButton>(d, ("RdGrpItem" + std::to_string(c.item)).c_str())->setChecked(true);
        typeInto(child<QLineEdit>(d, "Edit_bcd"), c.bcd);
        typeInto(child<QLineEdit>(d, "Edit_ucd"), c.ucd);
        typeInto(child<QLineEdit>(d, "Edit_acd"), c.acd);
        typeInto(child<QLineEdit>(d, "Edit_art"), c.art);
        child<QCheckBox>(d, "ChkBoxAgr")->setChecked(c.partial);
        typeInto(child<QLineEdit>(d, "Edit_dst"), c.dst);
        typeInto(child<QLineEdit>(d, "Edit_ded"), c.ded);
        QTest::mouseClick(child<QPushButton>(d, "BtnRun"), Qt::LeftButton);
    }

    // Runs a search with these conditions; inResults acts on the result window, which it must close.
    bool search(const Conditions& c, int windowMode, std::function<void(TFrmCd_Ref*)> inResults,
                ExtractSpec* out = nullptr) {
        whenModal<TFrmRefMd>([c](TFrmRefMd* d) { fillAndRun(d, c); });
        whenModal<TFrmCd_Ref>(std::move(inResults));
        ExtractSpec request;
        initExtractSpec(request);
        request.windowMode = static_cast<std::int16_t>(windowMode);
        const bool confirmed = dialog->runSearch(request);
        if (out) *out = request;
        return confirmed;
    }

    // The barcodes of the result rows in use, in row order.
    static Barcodes shown(TFrmCd_Ref* w) {
        Barcodes out;
        QAbstractItemModel* m = w->grid()->model();
        for (int row = 0; row < m->rowCount(); ++row) {
            const QString b = m->index(row, 1).data().toString();
            if (!b.isEmpty()) out.push_back(b.toStdString());
        }
        return out;
    }

    static QString rowNumber(TFrmCd_Ref* w, int slot) { return w->grid()->model()->index(slot, 0).data().toString(); }

    static void clickNumber(TFrmCd_Ref* w, int slot) {
        RecordGrid* g = w->grid();
        g->scrollTo(g->model()->index(slot, 0));
        const QRect cell = g->visualRect(g->model()->index(slot, 0));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    }

    static void cancel(TFrmCd_Ref* w) { QTest::mouseClick(child<QToolButton>(w, "SpdBtnExit"), Qt::LeftButton); }

    TempDir tmp{"zemo-search"};
    FocusTakingPrompter prompter;
    FixedClock clock{LocalTime{2024, 6, 1, 10, 0, 0}};
    Workspace ws{prompter, clock, tmp.path()};
    WindowSettings settings;
    std::unique_ptr<TFrmCd_Ref> results;
    std::unique_ptr<TFrmRefMd> dialog;
};

TEST_F(SearchWindowTest, TextSearchesMatchAPrefixOrAnywhereWithBlanksRemovedOnBothSides) {
    setCatalogue({record("B3", "ABC DEF", 0, 1), record("X1", "XABC"), record("B1", "abc", 0, 0),
                  record("B2", "ＡＢ", 0, 1), record("C1", "ZZ")});
    struct Case {
        const char* name;
        Conditions conditions;
        Barcodes expected;
    };
    auto artist = [](const char* text, bool partial, int kind = 5) {
        Conditions c;
        c.item = 3;
        c.art = text;
        c.partial = partial;
        c.kind = kind;
        return c;
    };
    auto barcode = [](const char* text, int kind = 5) {
        Conditions c;
        c.bcd = text;
        c.kind = kind;
        return c;
    };
    const Case cases[] = {
        {"artist as a prefix", artist("ABC", false), {"B3"}},
        {"artist anywhere, in catalogue order", artist("ABC", true), {"B3", "X1"}},
        {"blanks in the search text", artist("A B C", false), {"B3"}},
        {"the artist is compared with its case", artist("abc", false), {"B1"}},
        {"double-byte text", artist("Ａ", false), {"B2"}},
        {"an empty text finds nothing", artist("", true), {}},
        {"a typed barcode is upper-cased, results ascending", barcode("b"), {"B1", "B2", "B3"}},
        {"the kind filter (2:CDｱﾙﾊﾞﾑ)", barcode("B", 1), {"B2", "B3"}},
        {"nothing found", barcode("Q"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Barcodes got;
        int rows = 0;
        QString caption;
        EXPECT_FALSE(search(c.conditions, TFrmCd_Ref::kMoveMode, [&](TFrmCd_Ref* w) {
            got = shown(w);
            rows = w->grid()->model()->rowCount();
            caption = w->windowTitle();
            cancel(w);
        }));
        EXPECT_EQ(got, c.expected);
        EXPECT_EQ(rows, 10);  // a few results still show ten rows
        EXPECT_EQ(caption, QStringLiteral("抽出ﾃﾞｰﾀ"));
    }
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(SearchWindowTest, AReversedDateRangeFindsTheSameRecordsNewestFirst) {
    setCatalogue({record("D1", "", 20231231), record("D2", "", 20240101), record("D3", "", 20240615),
                  record("D4", "", 20241231), record("D5", "", 20250101)});
    for (auto [from, to] : {std::pair{"20241231", "20240101"}, std::pair{"20240101", "20241231"}}) {
        SCOPED_TRACE(from);
        Conditions c;
        c.item = 4;  // "5:発売日"
        c.dst = from;
        c.ded = to;
        Barcodes got;
        search(c, TFrmCd_Ref::kMoveMode, [&](TFrmCd_Ref* w) {
            got = shown(w);
            cancel(w);
        });
        EXPECT_EQ(got, (Barcodes{"D4", "D3", "D2"}));
    }
}

TEST_F(SearchWindowTest, SixHundredHitsShowFiveHundredRowsAndClearingTakesRowFiveHundredsMark) {
    std::vector<CdRecord> many;
    for (int i = 0; i < 600; ++i) many.push_back(record("M" + std::to_string(1000 + i)));
    setCatalogue(many);
    Conditions c;
    c.bcd = "M";
    int rows = 0;
    std::size_t inUse = 0;
    QString last, afterClear;
    bool anyAfterClear = true;
    ExtractSpec request;
    dialog->allowMarks();
    search(
        c, TFrmCd_Ref::kGetMode,
        [&](TFrmCd_Ref* w) {
            rows = w->grid()->model()->rowCount();
            inUse = shown(w).size();
            clickNumber(w, 499);
            last = rowNumber(w, 499);
            QTest::mouseClick(child<QToolButton>(w, "SpdBtnSel"), Qt::LeftButton);
            afterClear = rowNumber(w, 499);
            anyAfterClear = !w->markedResults().empty();
            cancel(w);
        },
        &request);
    EXPECT_EQ(request.resultCount, 500);
    EXPECT_EQ(rows, 500);
    EXPECT_EQ(inUse, 500u);
    EXPECT_EQ(last, "* 500");
    EXPECT_EQ(afterClear, "  500");
    EXPECT_FALSE(anyAfterClear);
}

// A list cut at its 500 results says so before it shows them; exactly 500 results are all there
// are and say nothing. The same for a search and for the information list by rental start.
TEST_F(SearchWindowTest, AListCutAtFiveHundredSaysSoBeforeItShows) {
    const std::string cut = "500 件で打ち切りました。条件を絞ってください。";
    struct Case {
        bool search;  // else the information list by age
        int matches;
        bool told;
    };
    const Case cases[] = {{true, 500, false}, {true, 501, true}, {false, 500, false}, {false, 501, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.search ? "search " : "information ") + std::to_string(c.matches));
        prompter.clear();
        ws.createArrays(2);
        std::vector<CdRecord> many;
        for (int i = 0; i < c.matches; ++i) {
            CdRecord r = record("M" + std::to_string(1000 + i));
            r.openDate = 20240520;
            r.infoKind = 1;
            many.push_back(r);
        }
        many.push_back(record("Z9"));  // matches neither, after the last match
        setCatalogue(many);
        int rows = 0;
        std::size_t inUse = 0, boxesBefore = 0;
        auto look = [&](TFrmCd_Ref* w) {
            boxesBefore = prompter.boxes.size();
            rows = w->grid()->model()->rowCount();
            inUse = shown(w).size();
            cancel(w);
        };
        if (c.search) {
            Conditions conditions;
            conditions.bcd = "M";
            search(conditions, TFrmCd_Ref::kMoveMode, look);
        } else {
            ExtractSpec request;
            initExtractSpec(request);
            request.extractMode = 1;
            request.ageKind = kAllKinds;
            request.ageRange = 0;  // within 30 days
            CdRecord key;
            clearCdRecord(key);
            ASSERT_EQ(extractCdRecords(ws, key, request), 0);
            request.windowMode = TFrmCd_Ref::kDisplayMode;
            whenModal<TFrmCd_Ref>(look);
            results->showResults(request);
        }
        EXPECT_EQ(rows, 500);
        EXPECT_EQ(inUse, 500u);
        EXPECT_EQ(prompter.texts(), c.told ? std::vector<std::string>{cut} : std::vector<std::string>{});
        if (c.told && prompter.boxes.size() == 1) {
            EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Information);
            EXPECT_EQ(prompter.boxes[0].buttons, Buttons::Ok);
            EXPECT_EQ(boxesBefore, 1u);  // told before the rows were shown
        }
    }
}

TEST_F(SearchWindowTest, MarksAndTakingOnAnEmptyRow) {
    setCatalogue({record("B1"), record("B2"), record("B3")});
    Conditions c;
    c.bcd = "B";
    struct Seen {
        bool stayedOnEmptyRow = false;
        QString emptyRowAfterClick, firstAfterClick;
        std::vector<int> afterInvert, afterSort, afterAll;
        bool selEnabled = false, xchgEnabled = false;
    } seen;
    ExtractSpec request;
    dialog->allowMarks();
    const bool confirmed = search(
        c, TFrmCd_Ref::kGetMode,
        [&](TFrmCd_Ref* w) {
            seen.selEnabled = child<QToolButton>(w, "SpdBtnSel")->isEnabled();
            seen.xchgEnabled = child<QToolButton>(w, "SpdBtnXchg")->isEnabled();
            EXPECT_TRUE(child<QWidget>(w, "PnlGet")->isVisible());
            EXPECT_FALSE(child<QWidget>(w, "PnlPmv")->isVisible());
            // 取得 on an empty row with nothing marked does nothing.
            w->grid()->selectSlot(5);
            QTest::mouseClick(child<QPushButton>(w, "BtnF10Get"), Qt::LeftButton);
            seen.stayedOnEmptyRow = w->isVisible();
            // An empty row takes no mark; a row in use does.
            clickNumber(w, 6);
            seen.emptyRowAfterClick = rowNumber(w, 6);
            clickNumber(w, 0);
            seen.firstAfterClick = rowNumber(w, 0);
            QTest::mouseClick(child<QToolButton>(w, "SpdBtnXchg"), Qt::LeftButton);
            seen.afterInvert = w->markedResults();
            child<QAction>(w, "SORT_BCD")->trigger();
            seen.afterSort = w->markedResults();
            QTest::mouseClick(child<QToolButton>(w, "SpdBtnSel"), Qt::LeftButton);
            seen.afterAll = w->markedResults();
            QTest::mouseClick(child<QToolButton>(w, "SpdBtnSel"), Qt::LeftButton);  // all cleared
            clickNumber(w, 1);
            // With a mark, 取得 on an empty row takes the marked results.
            w->grid()->selectSlot(8);
            QTest::mouseClick(child<QPushButton>(w, "BtnF10Get"), Qt::LeftButton);
        },
        &request);
    EXPECT_TRUE(seen.selEnabled);
    EXPECT_TRUE(seen.xchgEnabled);
    EXPECT_TRUE(seen.stayedOnEmptyRow);
    EXPECT_EQ(seen.emptyRowAfterClick, "    7");
    EXPECT_EQ(seen.firstAfterClick, "*   1");
    EXPECT_EQ(seen.afterInvert, (std::vector<int>{1, 2}));
    EXPECT_TRUE(seen.afterSort.empty());  // sorting clears every mark
    EXPECT_EQ(seen.afterAll, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(request.windowResult, 1);
    EXPECT_EQ(request.selectedRow, 8);
    EXPECT_EQ(results->markedResults(), std::vector<int>{1});
    EXPECT_FALSE(results->allowMarks());
}

// Column 0 (row numbers and marks) is fixed: scrolled to the far right, the grid still shows it at
// its left edge exactly as before, a click there marks that row without scrolling back, and a cell
// scrolled to comes out beside it, not under it.
TEST_F(SearchWindowTest, TheRowNumbersAndMarksStayAtTheLeftEdgeWhenTheGridScrollsRight) {
    std::vector<CdRecord> records;
    for (int i = 0; i < 12; ++i) {
        CdRecord r = record("F" + std::to_string(10 + i), "ARTIST", 20240101 + i);
        setField(r.title, "TITLE " + std::to_string(i));
        records.push_back(r);
    }
    setCatalogue(records);
    Conditions c;
    c.bcd = "F";
    struct Seen {
        int sidewaysMax = 0, sidewaysAfterClick = 0, fixedWidth = 0, titleLeft = -1;
        QImage before, after;
        QString markedAtEdge;
    } seen;
    dialog->allowMarks();
    search(c, TFrmCd_Ref::kGetMode, [&](TFrmCd_Ref* w) {
        RecordGrid* g = w->grid();
        QScrollBar* sideways = g->horizontalScrollBar();
        seen.fixedWidth = g->columnWidth(0);
        const QRect strip(g->viewport()->geometry().topLeft(), QSize(seen.fixedWidth, g->viewport()->height()));
        clickNumber(w, 1);
        seen.before = g->grab(strip).toImage();
        sideways->setValue(sideways->maximum());
        QCoreApplication::processEvents();
        seen.sidewaysMax = sideways->value();
        seen.after = g->grab(strip).toImage();
        const QPoint edge(2, g->rowViewportPosition(2) + g->rowHeight(2) / 2);
        QTest::mouseClick(g->viewport(), Qt::LeftButton, Qt::NoModifier, edge);
        seen.markedAtEdge = rowNumber(w, 2);
        seen.sidewaysAfterClick = sideways->value();
        g->scrollTo(g->model()->index(2, 4));
        seen.titleLeft = g->visualRect(g->model()->index(2, 4)).left();
        cancel(w);
    });
    ASSERT_GT(seen.sidewaysMax, seen.fixedWidth);  // the grid really is scrolled past column 0
    ASSERT_FALSE(seen.before.isNull());
    EXPECT_TRUE(seen.after == seen.before) << "column 0 is not at the left edge once scrolled";
    EXPECT_EQ(seen.markedAtEdge, "*   3");
    EXPECT_EQ(seen.sidewaysAfterClick, seen.sidewaysMax);
    EXPECT_EQ(seen.titleLeft, seen.fixedWidth);
}

TEST_F(SearchWindowTest, EveryWayOutOfASearchTakesTheMarkPermissionBack) {
    setCatalogue({record("B1"), record("B2")});
    Conditions c;
    c.bcd = "B";
    struct Case {
        const char* name;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"取消 in the dialog",
         [&] {
             whenModal<TFrmRefMd>([](TFrmRefMd* d) { QTest::mouseClick(child<QPushButton>(d, "BtnF01"), Qt::LeftButton); });
             ExtractSpec request;
             request.windowMode = TFrmCd_Ref::kGetMode;
             EXPECT_FALSE(dialog->runSearch(request));
         }},
        {"Esc in the dialog",
         [&] {
             whenModal<TFrmRefMd>([](TFrmRefMd* d) { QTest::keyClick(d, Qt::Key_Escape); });
             ExtractSpec request;
             request.windowMode = TFrmCd_Ref::kGetMode;
             EXPECT_FALSE(dialog->runSearch(request));
         }},
        {"no hits", [&] {
             Conditions none = c;
             none.bcd = "Q";
             EXPECT_FALSE(search(none, TFrmCd_Ref::kGetMode, cancel));
         }},
        {"取消 in the result window", [&] { EXPECT_FALSE(search(c, TFrmCd_Ref::kGetMode, cancel)); }},
        {"a catalogue that cannot be read",
         [&] {
             ws.loaded[kKindCatalogue] = 0;  // and no file: its creation is declined
             prompter.answers = {Answer::No};
             ExtractSpec request;
             request.windowMode = TFrmCd_Ref::kGetMode;
             EXPECT_FALSE(dialog->runSearch(request));
             ws.loaded[kKindCatalogue] = 1;
         }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        dialog->allowMarks();
        k.run();
        EXPECT_FALSE(results->allowMarks());
        // The next search, which did not ask for marks, cannot mark.
        bool enabled = true;
        QString first;
        search(c, TFrmCd_Ref::kGetMode, [&](TFrmCd_Ref* w) {
            enabled = child<QToolButton>(w, "SpdBtnSel")->isEnabled();
            clickNumber(w, 0);
            first = rowNumber(w, 0);
            cancel(w);
        });
        EXPECT_FALSE(enabled);
        EXPECT_EQ(first, "    1");
    }
}

TEST_F(SearchWindowTest, TheCatalogueListMovesToTheRecordChosenWithMove) {
    setCatalogue({record("A1"), record("B7"), record("A2"), record("B5")});
    TFrmCd_data list(ws, settings);
    list.setSearch([this](ExtractSpec& request) { return dialog->runSearch(request); });
    list.grid()->records()->followCapacity();
    list.grid()->selectSlot(0);
    list.show();
    EXPECT_TRUE(list.findChild<QToolButton*>("SpdBtnFind")->isEnabled());
    Conditions c;
    c.bcd = "B";
    bool emptyRowStayed = false;
    whenModal<TFrmRefMd>([c](TFrmRefMd* d) { fillAndRun(d, c); });
    whenModal<TFrmCd_Ref>([&](TFrmCd_Ref* w) {
        EXPECT_TRUE(child<QWidget>(w, "PnlPmv")->isVisible());
        w->grid()->selectSlot(4);  // 移動 on an empty row does nothing
        QTest::mouseClick(child<QPushButton>(w, "BtnF10Pmv"), Qt::LeftButton);
        emptyRowStayed = w->isVisible();
        w->grid()->selectSlot(1);  // B7, sorted after B5
        QTest::mouseClick(child<QPushButton>(w, "BtnF10Pmv"), Qt::LeftButton);
    });
    QTest::mouseClick(list.findChild<QPushButton*>("BtnF05Edit"), Qt::LeftButton);
    EXPECT_TRUE(emptyRowStayed);
    EXPECT_EQ(list.currentSlot(), 1);
}

TEST_F(SearchWindowTest, TheDialogsFieldsLimitNormaliseCheckOnceAndAreRemembered) {
    setCatalogue({record("AB12", "", 20240101)});
    settings.refMd.kind = 2;
    settings.refMd.item = 1;
    settings.refMd.ucd = "U9";
    settings.refMd.bcd = "THIS IS FAR TOO LONG";  // not what the field could hold
    struct Seen {
        int kindShown = -1, itemShown = -1;
        QString ucdShown, bcdShown, normalised, limited, wide, today;
        std::size_t boxesAfterLeave = 0;
        bool focusBack = false, stayedOnBadDate = false;
    } seen;
    whenModal<TFrmRefMd>([&](TFrmRefMd* d) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(d));
        seen.kindShown = child<QRadioButton>(d, "RdGrpKind2")->isChecked() ? 2 : -1;
        seen.itemShown = child<QRadioButton>(d, "RdGrpItem1")->isChecked() ? 1 : -1;
        seen.ucdShown = child<QLineEdit>(d, "Edit_ucd")->text();
        seen.bcdShown = child<QLineEdit>(d, "Edit_bcd")->text();

        auto* bcd = child<QLineEdit>(d, "Edit_bcd");
        bcd->setFocus();
        typeInto(bcd, "ab 1２");  // a full-width digit stays as it is
        leave(bcd);
        seen.normalised = bcd->text();
        auto* acd = child<QLineEdit>(d, "Edit_acd");
        typeInto(acd, std::string(31, 'a'));
        seen.limited = acd->text();
        auto* art = child<QLineEdit>(d, "Edit_art");
        typeInto(art, "あいうえおかきくけこさしすせそたちつてとな");  // 21 double-byte characters
        seen.wide = art->text();

        // A bad date is reported once per leaving, although its box takes the focus.
        auto* dst = child<QLineEdit>(d, "Edit_dst");
        dst->setFocus();
        typeInto(dst, "20241301");
        QTest::keyClick(dst, Qt::Key_Tab);
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
        seen.boxesAfterLeave = prompter.boxes.size();
        seen.focusBack = d->focusWidget() == dst;

        // 実行 with a date item and that date refuses, once more, and stays open.
        child<QRadioButton>(d, "RdGrpItem4")->setChecked(true);
        QTest::mouseClick(child<QPushButton>(d, "BtnRun"), Qt::LeftButton);
        seen.stayedOnBadDate = d->isVisible();

        QTest::mouseClick(child<QToolButton>(d, "SpBtnSt"), Qt::LeftButton);
        seen.today = dst->text();
        typeInto(child<QLineEdit>(d, "Edit_ded"), "20240101");
        child<QCheckBox>(d, "ChkBoxAgr")->setChecked(true);
        whenModal<TFrmCd_Ref>([](TFrmCd_Ref* w) { cancel(w); });
        QTest::mouseClick(child<QPushButton>(d, "BtnRun"), Qt::LeftButton);
    });
    ExtractSpec request;
    request.windowMode = TFrmCd_Ref::kGetMode;
    dialog->runSearch(request);

    EXPECT_EQ(seen.kindShown, 2);
    EXPECT_EQ(seen.itemShown, 1);
    EXPECT_EQ(seen.ucdShown, "U9");
    EXPECT_EQ(seen.bcdShown, "");
    EXPECT_EQ(seen.normalised, QStringLiteral("AB1２"));
    EXPECT_EQ(seen.limited, QString(30, QLatin1Char('A')));
    EXPECT_EQ(seen.wide, QStringLiteral("あいうえおかきくけこさしすせそたちつてと"));
    EXPECT_EQ(seen.boxesAfterLeave, 1u);
    EXPECT_TRUE(seen.focusBack);
    EXPECT_TRUE(seen.stayedOnBadDate);
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"存在しない日付です!", "存在しない日付です!"}));
    EXPECT_EQ(seen.today, "20240601");
    // The search ran by 発売日 with the dates given, and 実行 remembered the conditions.
    EXPECT_EQ(request.item, kItemSaleDate);
    EXPECT_EQ(request.dateFrom, 20240601);
    EXPECT_EQ(request.dateTo, 20240101);
    EXPECT_EQ(request.kindFilter, 2);
    EXPECT_EQ(request.resultCount, 0);  // its kind is 1:CDｼﾝｸﾞﾙ
    const SearchConditions& r = settings.refMd;
    EXPECT_EQ(r.item, 4);
    EXPECT_EQ(r.kind, 2);
    EXPECT_TRUE(r.agr);
    EXPECT_EQ(r.bcd, "AB1２");
    EXPECT_EQ(r.acd, std::string(30, 'A'));
    EXPECT_EQ(r.dst, "20240601");
    EXPECT_EQ(r.ded, "20240101");
}

TEST_F(SearchWindowTest, PrintingTakesARangeOfTheResultListAndGivesTheCommandsBack) {
    setCatalogue({record("P3"), record("P1"), record("P2"), record("Q1")});
    const std::string pdf = (tmp.path() / "results.pdf").string();
    ProgramPrinter printer;
    printer.printToPdf(QString::fromStdString(pdf));
    auto* range = new TFrmPrnStEd(ws, results.get());
    results->setPrinting(&printer, range, new TFrmStop(results.get()));
    Conditions c;
    c.bcd = "P";
    int capacityOffered = 0;
    bool unlocked = false;
    search(c, TFrmCd_Ref::kDisplayMode, [&](TFrmCd_Ref* w) {
        EXPECT_TRUE(child<QWidget>(w, "PnlDisp")->isVisible());
        whenModal<TFrmPrnStEd>([&](TFrmPrnStEd* d) {
            capacityOffered = child<QLineEdit>(d, "Edt_Ed")->text().toInt();  // the last row defaults to 500
            child<QLineEdit>(d, "Edt_St")->setText("2");
            child<QLineEdit>(d, "Edt_Ed")->setText("1");
            QTest::mouseClick(child<QPushButton>(d, "BtnGo"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QToolButton>(w, "SpdBtnPrint"), Qt::LeftButton);
        unlocked = !w->running() && child<QToolButton>(w, "SpdBtnExit")->isEnabled() && w->grid()->isEnabled();
        cancel(w);
    });
    EXPECT_EQ(capacityOffered, 500);
    EXPECT_TRUE(unlocked);
    const std::string text = zemo::testsupport::pdfText(pdf);
    // Results 1 and 2 in their sorted order; the third is outside the range.
    EXPECT_NE(text.find("P1"), std::string::npos) << text;
    EXPECT_NE(text.find("P2"), std::string::npos) << text;
    EXPECT_EQ(text.find("P3"), std::string::npos) << text;
    EXPECT_EQ(text.find("Q1"), std::string::npos) << text;
}

}  // namespace
}  // namespace zemo::ui
