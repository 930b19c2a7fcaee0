// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ui/run_lock.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace zemo::ui {

RunLock::RunLock(QWidget* window) : window_(window ? window->window() : nullptr) {
    if (window_) QCoreApplication::instance()->installEventFilter(this);
}

RunLock::~RunLock() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

bool RunLock::eventFilter(QObject* watched, QEvent* e) {
    if (!window_ || !watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    if (w->window() != window_) return false;
    switch (e->type()) {
    case QEvent::Close:
        e->ignore();  // an ignored close event keeps the window open
        return true;
    case QEvent::ShortcutOverride:
        e->accept();  // claimed by the widget, so no shortcut of the window fires
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

}  // namespace zemo::ui
