// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Buttons that remember the keyboard modifiers of the event that pressed them, so a handler can
// ask "was Shift held for this click" of the click itself rather than of the keyboard's state
// afterwards (a sort reverses with Shift).
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <functional>

namespace zemo::ui {

template <typename Button>
class ModifierAware : public Button {
public:
    using Button::Button;

    // The modifiers of the mouse press or key press that started the last click.
    Qt::KeyboardModifiers clickModifiers() const { return modifiers_; }
    bool shiftHeld() const { return modifiers_.testFlag(Qt::ShiftModifier); }

    // Called on every left mouse press with its modifiers, before the button reacts.
    std::function<void(Qt::KeyboardModifiers)> onMousePress;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        modifiers_ = e->modifiers();
        if (e->button() == Qt::LeftButton && onMousePress) onMousePress(e->modifiers());
        Button::mousePressEvent(e);
    }
    // The click is emitted inside the release; afterwards the modifiers are forgotten, so a
    // click by mnemonic or by the program never inherits an old Shift.
    void mouseReleaseEvent(QMouseEvent* e) override {
        Button::mouseReleaseEvent(e);
        modifiers_ = {};
    }
    void keyPressEvent(QKeyEvent* e) override {
        modifiers_ = e->modifiers();
        Button::keyPressEvent(e);
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        Button::keyReleaseEvent(e);
        modifiers_ = {};
    }

private:
    Qt::KeyboardModifiers modifiers_;
};

using ModifierToolButton = ModifierAware<QToolButton>;
using ModifierPushButton = ModifierAware<QPushButton>;

}  // namespace zemo::ui
