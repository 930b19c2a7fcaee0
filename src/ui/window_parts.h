// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pieces windows build themselves from: named buttons, tool-bar buttons with their hints, a
// tool bar laid from a table, the sort menu whose items carry their sort key, radio groups, and a
// guard that undoes a step however the code after it ends.
#include <QObject>
#include <QString>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <cstdint>
#include <functional>
#include <initializer_list>

#include "ui/application.h"

class QButtonGroup;
class QMenu;
class QRadioButton;
class QWidget;

namespace zemo::ui::parts {

template <typename B>
B* button(QWidget* parent, const char* name, const char* text) {
    auto* b = new B(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setText(QString::fromUtf8(text));
    return b;
}

// What makes a tool button a tool-bar button: its hint, a flat look, and no focus, so that a
// click never takes the focus from the field or grid the command acts on.
void dressToolButton(QToolButton* b, const QString& hint);

// A tool-bar button whose text is its hint, or the given shorter text.
template <typename B = QToolButton>
B* toolButton(QWidget* parent, const char* name, const char* hint, const char* text = nullptr) {
    B* b = button<B>(parent, name, text ? text : hint);
    dressToolButton(b, QString::fromUtf8(hint));
    return b;
}

// A tool-bar button that shows a standard glyph instead of a text; the hint names it for the
// status line and for accessibility too.
QToolButton* glyphToolButton(QWidget* parent, const char* name, const QString& hint, QStyle::StandardPixmap glyph);
// The same for a button a form has laid out, whose tool tip is its hint.
void dressGlyphToolButton(QToolButton* b, QStyle::StandardPixmap glyph);

// One row of a tool bar laid from a table: the button's name, hint, text and the window's handler.
template <typename W>
struct ToolBarItem {
    const char* name;
    const char* hint;
    const char* text;
    void (W::*handler)();
};

// Adds a tool button per item to the bar; each click runs its handler under the error handler.
template <typename W>
void addToolButtons(QToolBar* bar, W* window, std::initializer_list<ToolBarItem<W>> items) {
    for (const ToolBarItem<W>& item : items) {
        QToolButton* b = toolButton(bar, item.name, item.hint, item.text);
        bar->addWidget(b);
        QObject::connect(b, &QToolButton::clicked, window,
                         [window, h = item.handler] { guarded([&] { (window->*h)(); }); });
    }
}

// The sort menu "PupMnSort": SORT_BCD ... SORT_POS, each with its key as the "Tag" property;
// choosing one calls chosen with that key.
QMenu* sortMenu(QWidget* parent, std::function<void(int tag)> chosen);

// The items as one exclusive group, numbered from 0 in the order given.
QButtonGroup* radioGroup(QWidget* owner, std::initializer_list<QRadioButton*> items);

// For a two-item group over a stored flag: 0 checks the first item, anything else the second.
void showItem(QButtonGroup* group, std::int16_t value);

// Runs the given undo when it goes out of scope, however the code after it ends.
struct Finally {
    std::function<void()> undo;
    ~Finally() {
        if (undo) undo();
    }
};

}  // namespace zemo::ui::parts
