// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// While a long loop lets events run, its window takes no input: clicks, keys, wheel, context menus
// and the close box of that window (and everything inside it) are refused, so only the stop window
// acts. Other windows (the stop window, message boxes) are untouched. Undone when destroyed,
// however the loop ends.
#include <QObject>
#include <QPointer>

class QWidget;

namespace zemo::ui {

class RunLock : public QObject {
public:
    // window: the window to lock (its top-level window is locked); nullptr locks nothing.
    explicit RunLock(QWidget* window);
    ~RunLock() override;
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QPointer<QWidget> window_;
};

}  // namespace zemo::ui
