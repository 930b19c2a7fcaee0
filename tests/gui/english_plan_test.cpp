// SPDX-License-Identifier: GPL-3.0-or-later
// The planning windows in English: no Japanese left in their window texts and no button or label
// cut at the default size; in Japanese they show the texts they always did.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <functional>
#include <memory>

#include "gui/dialogs_support.h"
#include "gui/english_texts.h"
#include "gui/widget_driver.h"
#include "planning/ui/frm_shuf_ctrl.h"
#include "planning/ui/frm_shuf_disp.h"
#include "planning/ui/frm_shuf_main.h"
#include "planning/ui/frm_sys_revi.h"
#include "planning/ui/frm_tape.h"
#include "records/control_file.h"
#include "records/window_settings.h"
#include "records/workspace.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"

namespace {

using zemo::guitest::child;
using zemo::guitest::japaneseTextsIn;

class PlanWindows {
public:
    PlanWindows() {
        zemo::initControlDefaults(ws);
        ws.executablePath = dir.path() / "zemoplan";
        ws.createArrays(1);
    }

    struct Window {
        const char* name;
        std::function<std::unique_ptr<QWidget>(PlanWindows&)> make;
    };
    static std::vector<Window> all() {
        return {{"TFrmShufMain", [](PlanWindows& p) { return std::make_unique<zemo::ui::TFrmShufMain>(p.ws, p.settings); }},
                {"TFrmShufDisp", [](PlanWindows& p) { return std::make_unique<zemo::ui::TFrmShufDisp>(p.ws, p.font); }},
                {"TFrmShufCtrl", [](PlanWindows& p) { return std::make_unique<zemo::ui::TFrmShufCtrl>(p.ws); }},
                {"TFrmSysRevi", [](PlanWindows& p) { return std::make_unique<zemo::ui::TFrmSysRevi>(p.ws); }},
                {"TFrmTape", [](PlanWindows& p) { return std::make_unique<zemo::ui::TFrmTape>(p.ws); }}};
    }

    zemo::guitest::TempDir dir{"zemo-enplan"};
    zemo::ScriptedPrompter prompter;
    zemo::FixedClock clock{zemo::LocalTime{2024, 5, 6, 7, 8, 9}};
    zemo::Workspace ws{prompter, clock, dir.path()};
    zemo::WindowSettings settings;
    zemo::FontSetting font;
};

// Buttons and one-line labels whose text is wider than the room they have.
QStringList cutTexts(QWidget* w) {
    QStringList cut;
    auto check = [&](QWidget* c, QString text) {
        text.remove('&');
        if (text.isEmpty() || text.contains('\n') || !c->isVisibleTo(w)) return;
        const int room = c->contentsRect().width();
        if (c->fontMetrics().horizontalAdvance(text) > room)
            cut << QStringLiteral("%1: %2 (%3 > %4)").arg(c->objectName(), text).arg(c->fontMetrics().horizontalAdvance(text)).arg(room);
    };
    for (QWidget* c : w->findChildren<QWidget*>()) {
        if (c->window() != w) continue;
        if (auto* b = qobject_cast<QAbstractButton*>(c)) check(b, b->text());
        if (auto* l = qobject_cast<QLabel*>(c); l && !l->wordWrap()) check(l, l->text());
    }
    return cut;
}

class EnglishPlanTest : public zemo::guitest::EnglishProgram {};

TEST_F(EnglishPlanTest, PlanningWindowsHoldNoJapaneseAndNoCutText) {
    PlanWindows p;
    for (const PlanWindows::Window& win : PlanWindows::all()) {
        SCOPED_TRACE(win.name);
        std::unique_ptr<QWidget> w = win.make(p);
        w->show();
        // The list's column headings come with the shared record grid, not with these windows.
        QStringList found = japaneseTextsIn(w.get());
        found.removeIf([](const QString& t) { return t.startsWith(" heading: "); });
        EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
        EXPECT_TRUE(cutTexts(w.get()).isEmpty()) << cutTexts(w.get()).join('\n').toStdString();
        w->hide();
    }
}

TEST_F(EnglishPlanTest, StatusLinesAndPopUpMenusAreEnglish) {
    PlanWindows p;
    zemo::ui::TFrmShufMain main(p.ws, p.settings);
    zemo::ui::TFrmShufDisp disp(p.ws, p.font);
    for (const char* menu : {"PupMnshuf2", "PupMnshufAB"}) {
        SCOPED_TRACE(menu);
        EXPECT_TRUE(japaneseTextsIn(child<QMenu>(disp, menu)).isEmpty())
            << japaneseTextsIn(child<QMenu>(disp, menu)).join('\n').toStdString();
    }
    for (const char* menu : {"PupMnInfo", "PupMnNewCls"}) {
        SCOPED_TRACE(menu);
        QMenu* m = child<QMenu>(main, menu);
        QStringList found = japaneseTextsIn(m);
        for (QMenu* sub : m->findChildren<QMenu*>()) found << japaneseTextsIn(sub);
        EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
    }
}

TEST(JapanesePlanTexts, TapeDialogAndResultsWindowKeepTheirTexts) {
    PlanWindows p;
    zemo::ui::TFrmTape tape(p.ws);
    EXPECT_EQ(tape.windowTitle(), QStringLiteral("TAPE時間"));
    EXPECT_EQ(child<QPushButton>(tape, "BtnCansel")->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    EXPECT_EQ(child<QAbstractButton>(tape, "RadioGroup10")->text(), QStringLiteral("1:なし(AB均等)"));
    zemo::ui::TFrmShufDisp disp(p.ws, p.font);
    EXPECT_EQ(child<QToolButton>(disp, "SpdBtnLabel")->text(), QStringLiteral("ﾗﾍﾞﾙ"));
    EXPECT_EQ(child<QToolButton>(disp, "SpdBtnLabel")->toolTip(), QStringLiteral("ラベル印刷"));
    EXPECT_EQ(child<QMenu>(disp, "PupMnshufAB")->actions().value(0)->text(), QStringLiteral("A 面ｼｬｯﾌﾙ"));
}

}  // namespace
