// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keyboard conventions shared by the dialogs: Enter moves on to the next control instead of
// confirming, and entry fields are limited by their stored byte width, not by characters.
#include <QString>

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace zemo::ui {

bool isEnterKey(const QKeyEvent* e);

// For a dialog's keyPressEvent: Enter that reached the dialog moves the focus to the next
// control in the tab chain. Returns true when the key was consumed.
bool enterMovesFocus(QWidget* dialog, QKeyEvent* e);

// Takes the dialog's push buttons out of Enter handling (no default button, none pressed by
// Enter when focused), so that Enter on a button reaches the dialog and moves on as well. Space
// and the mnemonics still press them. Call once the buttons exist.
void keepEnterFromButtons(QWidget* dialog);

// Keeps a line edit's text within maxBytes bytes of CP932, the width of the field it is stored
// in (a full-width character counts two). Longer input is cut at a character boundary.
void limitSjisBytes(QLineEdit* edit, int maxBytes);

// Number of CP932 bytes a text takes.
int sjisByteLength(const QString& text);

}  // namespace zemo::ui
