// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The English program, for the tests that open windows in it: the real translation from the build
// folder installed for the life of a fixture, and every text a window shows that still holds a
// Japanese character. Data (the cells of grids and lists, stored names) are not looked at.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QTabWidget>
#include <QWidget>

#include "ui/language.h"

namespace zemo::guitest {

inline bool hasJapanese(const QString& text) {
    // Hiragana, katakana (full and half width), CJK ideographs, full-width forms and CJK punctuation.
    static const QRegularExpression japanese(
        QStringLiteral("[\\x{3000}-\\x{30FF}\\x{3400}-\\x{4DBF}\\x{4E00}-\\x{9FFF}\\x{FF00}-\\x{FFEF}]"));
    return text.contains(japanese);
}

// "objectName: text" for every caption, label, button, menu item, tool tip, group title, tab and
// column heading under w (w included) that still holds Japanese.
inline QStringList japaneseTextsIn(QWidget* w) {
    QStringList found;
    auto check = [&](const QObject* o, const QString& what, const QString& text) {
        if (hasJapanese(text)) found << QStringLiteral("%1 %2: %3").arg(o->objectName(), what, text);
    };
    QList<QWidget*> widgets = w->findChildren<QWidget*>();
    widgets.prepend(w);
    for (QWidget* c : widgets) {
        if (c->isWindow()) check(c, "caption", c->windowTitle());
        check(c, "tool tip", c->toolTip());
        if (auto* l = qobject_cast<QLabel*>(c)) check(l, "label", l->text());
        if (auto* b = qobject_cast<QAbstractButton*>(c)) check(b, "button", b->text());
        if (auto* g = qobject_cast<QGroupBox*>(c)) check(g, "group", g->title());
        if (auto* t = qobject_cast<QTabWidget*>(c))
            for (int i = 0; i < t->count(); ++i) check(t, "tab", t->tabText(i));
        if (auto* h = qobject_cast<QHeaderView*>(c); h && h->orientation() == Qt::Horizontal && h->model())
            for (int i = 0; i < h->count(); ++i)
                check(h, "heading", h->model()->headerData(i, Qt::Horizontal).toString());
        for (QAction* a : c->actions()) {
            check(a, "item", a->text());
            check(a, "tool tip", a->toolTip() == a->text().remove('&') ? QString() : a->toolTip());
        }
    }
    found.removeDuplicates();
    return found;
}

// The English translation from the build folder for the fixture's life; Japanese again after.
class EnglishProgram : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui::installLanguage(*QCoreApplication::instance(), ui::UiLanguage::English,
                                        ui::translationFolders(QCoreApplication::applicationDirPath())))
            << "build the translations (zemoplan_lrelease) first";
    }
    void TearDown() override { ui::installLanguage(*QCoreApplication::instance(), ui::UiLanguage::Japanese, {}); }
};

}  // namespace zemo::guitest
