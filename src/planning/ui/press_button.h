// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A push button that acts on the press of any mouse button, with the modifiers of that press.
#include <QMouseEvent>
#include <QPushButton>
#include <functional>

namespace zemo::ui {

class PressButton : public QPushButton {
public:
    using QPushButton::QPushButton;
    std::function<void(Qt::KeyboardModifiers)> onPress;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        QPushButton::mousePressEvent(e);
        if (onPress) onPress(e->modifiers());
    }
};

}  // namespace zemo::ui
