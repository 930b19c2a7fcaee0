// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_parts.h"

#include <QAction>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QRadioButton>

#include "records/record_access.h"

namespace zemo::ui::parts {

void dressToolButton(QToolButton* b, const QString& hint) {
    b->setToolTip(hint);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
}

QToolButton* glyphToolButton(QWidget* parent, const char* name, const QString& hint, QStyle::StandardPixmap glyph) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setToolTip(hint);
    dressGlyphToolButton(b, glyph);
    return b;
}

void dressGlyphToolButton(QToolButton* b, QStyle::StandardPixmap glyph) {
    const QString hint = b->toolTip();
    dressToolButton(b, hint);
    b->setStatusTip(hint);
    b->setAccessibleName(hint);
    b->setIcon(b->style()->standardIcon(glyph));
    b->setIconSize(QSize(24, 24));
}

QMenu* sortMenu(QWidget* parent, std::function<void(int tag)> chosen) {
    struct Item {
        const char* name;
        const char* caption;
        int tag;
    };
    static const Item items[] = {
        {"SORT_BCD", QT_TRANSLATE_NOOP("SortMenu", "ﾊﾞｰｺｰﾄﾞ"), kSortBarcode},
        {"SORT_UCD", QT_TRANSLATE_NOOP("SortMenu", "ﾕｰｻﾞｰｺｰﾄﾞ"), kSortUserCode},
        {"SORT_ACD", QT_TRANSLATE_NOOP("SortMenu", "ｱｰﾁｽﾄｺｰﾄﾞ"), kSortArtistCode},
        {"SORT_ENTRY", QT_TRANSLATE_NOOP("SortMenu", "登録日"), kSortEntryDate},
        {"SORT_DATE", QT_TRANSLATE_NOOP("SortMenu", "発売日"), kSortSaleDate},
        {"SORT_OPEN", QT_TRANSLATE_NOOP("SortMenu", "ﾚﾝﾀﾙ開始日"), kSortOpenDate},
        {"SORT_POS", QT_TRANSLATE_NOOP("SortMenu", "登録位置"), kSortPosition},
    };
    auto* menu = new QMenu(parent);
    menu->setObjectName("PupMnSort");
    for (const Item& item : items) {
        QAction* a = menu->addAction(QCoreApplication::translate("SortMenu", item.caption));
        a->setObjectName(QString::fromUtf8(item.name));
        a->setProperty("Tag", item.tag);
        QObject::connect(a, &QAction::triggered, menu, [a, chosen] { chosen(a->property("Tag").toInt()); });
    }
    return menu;
}

QButtonGroup* radioGroup(QWidget* owner, std::initializer_list<QRadioButton*> items) {
    auto* g = new QButtonGroup(owner);
    int id = 0;
    for (QRadioButton* b : items) g->addButton(b, id++);
    return g;
}

void showItem(QButtonGroup* group, std::int16_t value) { group->button(value == 0 ? 0 : 1)->setChecked(true); }

}  // namespace zemo::ui::parts
