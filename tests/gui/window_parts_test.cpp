// SPDX-License-Identifier: GPL-3.0-or-later
// The parts every window builds itself from: what a tool-bar button is, the tool bar from a table,
// the sort menu's items and keys, radio groups over stored flags, and the guard that undoes a step.
#include <gtest/gtest.h>

#include <QAction>
#include <QButtonGroup>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>
#include <stdexcept>
#include <string>
#include <vector>

#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "records/record_access.h"
#include "ui/modifier_button.h"
#include "ui/window_parts.h"

namespace zemo::ui {
namespace {

using guitest::child;

TEST(WindowParts, AToolBarButtonShowsItsHintOrItsTextAndNeverTakesTheFocus) {
    QWidget owner;
    QToolButton* plain = parts::toolButton(&owner, "SpdBtnExit", "終了");
    QToolButton* shortText = parts::toolButton(&owner, "SpdBtnLabel", "ラベル印刷", "ﾗﾍﾞﾙ");
    ModifierToolButton* sort = parts::toolButton<ModifierToolButton>(&owner, "SpdBtnSort", "並び換え");
    QToolButton* glyph = parts::glyphToolButton(&owner, "SpdBtnShuf", "振り分け", QStyle::SP_MediaSeekForward);
    struct Case {
        QToolButton* button;
        const char* name;
        const char* text;
        const char* hint;
    };
    const Case cases[] = {
        {plain, "SpdBtnExit", "終了", "終了"},
        {shortText, "SpdBtnLabel", "ﾗﾍﾞﾙ", "ラベル印刷"},
        {sort, "SpdBtnSort", "並び換え", "並び換え"},
        {glyph, "SpdBtnShuf", "", "振り分け"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(child<QToolButton>(owner, c.name), c.button);
        EXPECT_EQ(c.button->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(c.button->toolTip(), QString::fromUtf8(c.hint));
        EXPECT_TRUE(c.button->autoRaise());
        EXPECT_EQ(c.button->focusPolicy(), Qt::NoFocus);
    }
    EXPECT_FALSE(glyph->icon().isNull());
    EXPECT_EQ(glyph->statusTip(), QStringLiteral("振り分け"));
    EXPECT_EQ(glyph->accessibleName(), QStringLiteral("振り分け"));
}

// A window with two commands, one of which fails as a handler can.
class Commands : public QWidget {
public:
    std::vector<std::string> ran;
    void print() { ran.push_back("print"); }
    void fail() {
        ran.push_back("fail");
        throw std::runtime_error("the handler failed");
    }
};

TEST(WindowParts, AToolBarFromATableRunsEachHandlerUnderTheErrorHandler) {
    Commands window;
    auto* bar = new QToolBar(&window);
    parts::addToolButtons<Commands>(bar, &window,
                                    {{"SpdBtnPrint", "印刷", "印刷", &Commands::print},
                                     {"SpdBtnFail", "失敗する", "失敗", &Commands::fail}});
    ASSERT_EQ(bar->actions().size(), 2);
    QToolButton* fail = child<QToolButton>(window, "SpdBtnFail");
    ASSERT_NE(fail, nullptr);
    EXPECT_EQ(fail->text(), QStringLiteral("失敗"));
    EXPECT_EQ(fail->toolTip(), QStringLiteral("失敗する"));
    // The failure ends the action; it does not escape the click.
    fail->click();
    child<QToolButton>(window, "SpdBtnPrint")->click();
    EXPECT_EQ(window.ran, (std::vector<std::string>{"fail", "print"}));
}

TEST(WindowParts, TheSortMenuCarriesEachKeyAsItsTagAndHandsItOver) {
    QWidget owner;
    std::vector<int> chosen;
    QMenu* menu = parts::sortMenu(&owner, [&](int tag) { chosen.push_back(tag); });
    EXPECT_EQ(menu->objectName(), QStringLiteral("PupMnSort"));
    struct Item {
        const char* name;
        const char* caption;
        int tag;
    };
    const Item items[] = {
        {"SORT_BCD", "ﾊﾞｰｺｰﾄﾞ", kSortBarcode},     {"SORT_UCD", "ﾕｰｻﾞｰｺｰﾄﾞ", kSortUserCode},
        {"SORT_ACD", "ｱｰﾁｽﾄｺｰﾄﾞ", kSortArtistCode}, {"SORT_ENTRY", "登録日", kSortEntryDate},
        {"SORT_DATE", "発売日", kSortSaleDate},     {"SORT_OPEN", "ﾚﾝﾀﾙ開始日", kSortOpenDate},
        {"SORT_POS", "登録位置", kSortPosition},
    };
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(items)));
    std::vector<int> expected;
    for (std::size_t i = 0; i < std::size(items); ++i) {
        SCOPED_TRACE(items[i].name);
        QAction* a = actions[static_cast<qsizetype>(i)];
        EXPECT_EQ(a->objectName(), QString::fromUtf8(items[i].name));
        EXPECT_EQ(a->text(), QString::fromUtf8(items[i].caption));
        EXPECT_EQ(a->property("Tag").toInt(), items[i].tag);
        a->trigger();
        expected.push_back(items[i].tag);
    }
    EXPECT_EQ(chosen, expected);
}

TEST(WindowParts, ARadioGroupNumbersItsItemsAndAStoredFlagShowsOnOneOfTwo) {
    QWidget owner;
    auto* first = new QRadioButton(&owner);
    auto* second = new QRadioButton(&owner);
    auto* third = new QRadioButton(&owner);
    QButtonGroup* three = parts::radioGroup(&owner, {first, second, third});
    EXPECT_TRUE(three->exclusive());
    EXPECT_EQ(three->id(first), 0);
    EXPECT_EQ(three->id(second), 1);
    EXPECT_EQ(three->id(third), 2);

    auto* off = new QRadioButton(&owner);
    auto* on = new QRadioButton(&owner);
    QButtonGroup* two = parts::radioGroup(&owner, {off, on});
    struct Case {
        std::int16_t stored;
        int shown;
    };
    for (const Case c : {Case{0, 0}, Case{1, 1}, Case{0, 0}, Case{2, 1}, Case{-1, 1}}) {
        SCOPED_TRACE(c.stored);
        parts::showItem(two, c.stored);
        EXPECT_EQ(two->checkedId(), c.shown);
    }
}

TEST(WindowParts, TheGuardUndoesOnceHoweverTheScopeEnds) {
    int undone = 0;
    { parts::Finally guard{[&] { ++undone; }}; }
    EXPECT_EQ(undone, 1);
    try {
        parts::Finally guard{[&] { ++undone; }};
        throw std::runtime_error("the loop failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(undone, 2);
    { parts::Finally nothing{}; }  // an empty guard does nothing
    EXPECT_EQ(undone, 2);
}

}  // namespace
}  // namespace zemo::ui
