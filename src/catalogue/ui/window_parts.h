#pragma once
// Small pieces the record-list windows of the search and the viewer build themselves from: named
// buttons, tool-bar buttons with their hints, and the sort menu whose items carry their sort key.
#include <QMenu>
#include <QString>
#include <QToolButton>
#include <functional>

#include "records/record_access.h"

namespace zemo::ui::parts {

template <typename B>
B* button(QWidget* parent, const char* name, const char* text) {
    auto* b = new B(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setText(QString::fromUtf8(text));
    return b;
}

// A tool-bar button: its hint is its text, and it never takes the focus from the grid.
template <typename B = QToolButton>
B* toolButton(QWidget* parent, const char* name, const char* hint) {
    auto* b = button<B>(parent, name, hint);
    b->setToolTip(QString::fromUtf8(hint));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

// The sort menu "PupMnSort": SORT_BCD ... SORT_POS, each with its key as the "Tag" property.
inline QMenu* sortMenu(QWidget* parent, std::function<void(int tag)> chosen) {
    struct Item {
        const char* name;
        const char* caption;
        int tag;
    };
    static const Item items[] = {
        {"SORT_BCD", "ﾊﾞｰｺｰﾄﾞ", kSortBarcode},     {"SORT_UCD", "ﾕｰｻﾞｰｺｰﾄﾞ", kSortUserCode},
        {"SORT_ACD", "ｱｰﾁｽﾄｺｰﾄﾞ", kSortArtistCode}, {"SORT_ENTRY", "登録日", kSortEntryDate},
        {"SORT_DATE", "発売日", kSortSaleDate},     {"SORT_OPEN", "ﾚﾝﾀﾙ開始日", kSortOpenDate},
        {"SORT_POS", "登録位置", kSortPosition},
    };
    auto* menu = new QMenu(parent);
    menu->setObjectName("PupMnSort");
    for (const Item& item : items) {
        QAction* a = menu->addAction(QString::fromUtf8(item.caption));
        a->setObjectName(QString::fromUtf8(item.name));
        a->setProperty("Tag", item.tag);
        QObject::connect(a, &QAction::triggered, menu, [a, chosen] { chosen(a->property("Tag").toInt()); });
    }
    return menu;
}

// Runs the given undo however a loop that let events run ends.
struct Finally {
    std::function<void()> undo;
    ~Finally() {
        if (undo) undo();
    }
};

}  // namespace zemo::ui::parts
