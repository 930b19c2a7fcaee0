#include "catalogue/ui/list_window_parts.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "printing/ui/frm_prn_st_ed.h"
#include "records/record_access.h"

namespace zemo::ui {

namespace {
struct SortItem {
    const char* name;
    const char* caption;
    int tag;
};
const SortItem kSortItems[] = {
    {"SORT_BCD", "ﾊﾞｰｺｰﾄﾞ", kSortBarcode},         {"SORT_UCD", "ﾕｰｻﾞｰｺｰﾄﾞ", kSortUserCode},
    {"SORT_ACD", "ｱｰﾁｽﾄｺｰﾄﾞ", kSortArtistCode},     {"SORT_ENTRY", "登録日", kSortEntryDate},
    {"SORT_DATE", "発売日", kSortSaleDate},         {"SORT_OPEN", "ﾚﾝﾀﾙ開始日", kSortOpenDate},
    {"SORT_POS", "登録位置", kSortPosition},
};
}  // namespace

QToolButton* listToolButton(QWidget* parent, const char* name, const char* hint) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(QString::fromUtf8(hint));
    b->setToolTip(QString::fromUtf8(hint));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

QPushButton* listButton(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(name);
    return b;
}

QMenu* makeSortMenu(QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName("PupMnSort");
    for (const SortItem& item : kSortItems) {
        QAction* a = menu->addAction(QString::fromUtf8(item.caption));
        a->setObjectName(item.name);
        a->setProperty("Tag", item.tag);
    }
    return menu;
}

bool askListRange(TFrmPrnStEd& range, int capacity, int& first, int& last) {
    if (last <= 0 || last > capacity) last = capacity;
    first = std::clamp(first, 1, std::max(capacity, 1));
    range.prepare(capacity, first, last);
    range.exec();
    if (!range.confirmed()) return false;
    first = range.first();
    last = range.last();
    return true;
}

}  // namespace zemo::ui
