// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ui/list_window_parts.h"

#include <QLayout>
#include <QToolButton>
#include <QWidget>
#include <algorithm>

#include "catalogue/ui/record_grid.h"
#include "printing/ui/frm_prn_st_ed.h"
#include "ui/window_parts.h"

namespace zemo::ui {

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

RecordGrid* placeRecordGrid(QWidget* place, RecordGrid* grid) {
    grid->setObjectName(QStringLiteral("StringGrid1"));
    // The layout item keeps its index, and with it the stretch the form gave the place.
    delete place->parentWidget()->layout()->replaceWidget(place, grid);
    // setTabOrder leaves widgets that take no focus alone; the place takes it for this step only.
    place->setFocusPolicy(Qt::TabFocus);
    QWidget::setTabOrder(place, grid);
    delete place;
    return grid;
}

void dressToolButtons(QWidget* area) {
    for (QToolButton* b : area->findChildren<QToolButton*>()) parts::dressToolButton(b, b->text());
}

}  // namespace zemo::ui
