// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue and printing windows in English: no window text left in Japanese, no button or
// label cut at the default size; and the Japanese program keeps its texts.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <functional>
#include <memory>
#include <string>

#include "catalogue/ui/frm_cd_add.h"
#include "catalogue/ui/frm_cd_bagr.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/frm_cd_edit.h"
#include "catalogue/ui/frm_cd_history.h"
#include "catalogue/ui/frm_cd_ref.h"
#include "catalogue/ui/frm_data_disp.h"
#include "catalogue/ui/frm_ref_md.h"
#include "gui/dialogs_support.h"
#include "gui/english_texts.h"
#include "gui/widget_driver.h"
#include "printing/ui/frm_lbl_inp.h"
#include "printing/ui/frm_lbpr_ctl.h"
#include "printing/ui/frm_prn_label.h"
#include "printing/ui/frm_prn_st_ed.h"
#include "printing/ui/frm_stop.h"
#include "records/control_file.h"
#include "records/window_settings.h"
#include "records/workspace.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "ui/fonts.h"
#include "ui/printer.h"

namespace {

using namespace zemo;
using namespace zemo::ui;

struct Windows {
    Windows() {
        initControlDefaults(ws);
        ws.dbSize = 1;
        ws.createArrays(1);
    }
    guitest::TempDir dir{"zemo-english-cat"};
    ScriptedPrompter prompter;
    FixedClock clock{LocalTime{2024, 5, 19, 7, 8, 9}};
    Workspace ws{prompter, clock, dir.path()};
    WindowSettings settings;
    FontSetting font;
    ProgramPrinter printer;
};

struct Case {
    const char* name;
    std::function<std::unique_ptr<QWidget>(Windows&)> make;
};

template <typename W>
std::unique_ptr<QWidget> withSettings(Windows& w) {
    return std::make_unique<W>(w.ws, w.settings);
}

const Case kCases[] = {
    {"FrmCd_data", withSettings<TFrmCd_data>},
    {"FrmCdEdit", withSettings<TFrmCdEdit>},
    {"FrmCd_Add", withSettings<TFrmCd_Add>},
    {"FrmCd_Ref", withSettings<TFrmCd_Ref>},
    {"FrmCd_Bagr", withSettings<TFrmCd_Bagr>},
    {"FrmCd_New", withSettings<TFrmCd_New>},
    {"FrmCd_Del", withSettings<TFrmCd_Del>},
    {"FrmDataDisp", withSettings<TFrmDataDisp>},
    {"FrmRefMd",
     [](Windows& w) -> std::unique_ptr<QWidget> {
         auto results = std::make_unique<TFrmCd_Ref>(w.ws, w.settings);
         new TFrmRefMd(w.ws, w.settings, *results);  // owned by nobody else: kept as the results' child
         return results;
     }},
    {"FrmPrnLabel", [](Windows& w) -> std::unique_ptr<QWidget> {
         return std::make_unique<TFrmPrnLabel>(w.ws, w.font, w.printer);
     }},
    {"FrmLblInp", [](Windows& w) -> std::unique_ptr<QWidget> { return std::make_unique<TFrmLblInp>(w.ws); }},
    {"FrmLbprCtl", [](Windows& w) -> std::unique_ptr<QWidget> { return std::make_unique<TFrmLbprCtl>(w.ws); }},
    {"FrmPrnStEd", [](Windows& w) -> std::unique_ptr<QWidget> { return std::make_unique<TFrmPrnStEd>(w.ws); }},
    {"FrmStop", [](Windows&) -> std::unique_ptr<QWidget> { return std::make_unique<TFrmStop>(); }},
};

// Buttons and one-line labels whose text is wider than the room they have.
QStringList cutTexts(QWidget* window) {
    QStringList cut;
    for (QWidget* c : window->findChildren<QWidget*>()) {
        if (!c->isVisible()) continue;
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(c)) text = b->text();
        else if (auto* l = qobject_cast<QLabel*>(c); l && !l->wordWrap() && !l->text().contains('\n')) text = l->text();
        text.remove('&');
        if (text.isEmpty()) continue;
        const int room = c->contentsRect().width() - (qobject_cast<QPushButton*>(c) ? 8 : 0);
        if (c->fontMetrics().horizontalAdvance(text) > room)
            cut << QStringLiteral("%1: %2 (%3 > %4)").arg(c->objectName(), text).arg(c->fontMetrics().horizontalAdvance(text)).arg(room);
    }
    return cut;
}

class EnglishCatalogueAndPrinting : public guitest::EnglishProgram {};

TEST_F(EnglishCatalogueAndPrinting, EveryWindowShowsEnglishTextsThatFit) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Windows w;
        std::unique_ptr<QWidget> window = c.make(w);
        QWidget* shown = window.get();
        if (auto* md = window->findChild<TFrmRefMd*>()) shown = md;
        shown->show();
        QApplication::processEvents();
        const QStringList japanese = guitest::japaneseTextsIn(window.get());
        EXPECT_TRUE(japanese.isEmpty()) << japanese.join('\n').toStdString();
        const QStringList cut = cutTexts(shown);
        EXPECT_TRUE(cut.isEmpty()) << cut.join('\n').toStdString();
        shown->hide();
    }
}

TEST(JapaneseCatalogueAndPrinting, WindowsKeepTheirTexts) {
    Windows w;
    TFrmCd_Bagr bagr(w.ws, w.settings);
    EXPECT_EQ(bagr.windowTitle(), QStringLiteral("検索一致表示"));
    EXPECT_EQ(guitest::child<QPushButton>(&bagr, "BtnF09Put")->text(), QStringLiteral("追加"));
    TFrmPrnLabel label(w.ws, w.font, w.printer);
    EXPECT_EQ(label.windowTitle(), QStringLiteral("ラベル印刷"));
    EXPECT_EQ(guitest::child<QPushButton>(&label, "BtnPrn")->text(), QStringLiteral("ﾌﾟﾘﾝﾀｰ"));
    TFrmLbprCtl layout(w.ws);
    auto* read = layout.findChild<QMenu*>("DataRead");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->title(), QStringLiteral("読み込み"));
    EXPECT_EQ(read->actions().value(2)->text(), QStringLiteral("ｱﾙﾊﾞﾑﾃﾞｰﾀ1"));
    TFrmCd_data list(w.ws, w.settings);
    auto* grid = list.findChild<QAbstractItemView*>("StringGrid1");
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("バーコード"));
}

}  // namespace
