// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_place.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QWidget>

namespace zemo::ui {

void applyPlace(QWidget* window, const WindowPlace& place) {
    const int left = place.left == -1 ? 0 : place.left;
    const int top = place.top == -1 ? 0 : place.top;
    const int width = place.width == -1 ? window->width() : place.width;
    const int height = place.height == -1 ? window->height() : place.height;
    window->resize(width, height);
    window->move(left, top);
}

WindowPlace currentPlace(const QWidget* window) {
    const QPoint pos = window->pos();
    return WindowPlace{pos.x(), pos.y(), window->height(), window->width()};
}

void applyColumnWidths(QHeaderView* header, const std::vector<int>& widths) {
    for (std::size_t k = 0; k < widths.size(); ++k) {
        const int column = static_cast<int>(k) + 1;
        if (widths[k] != -1 && column < header->count()) header->resizeSection(column, widths[k]);
    }
}

void storeColumnWidths(const QHeaderView* header, std::vector<int>& widths) {
    for (std::size_t k = 0; k < widths.size(); ++k) {
        const int column = static_cast<int>(k) + 1;
        if (column < header->count()) widths[k] = header->sectionSize(column);
    }
}

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

}  // namespace zemo::ui
