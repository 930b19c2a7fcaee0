// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialog_keys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

#include <algorithm>

#include "platform/sjis.h"

namespace zemo::ui {

bool isEnterKey(const QKeyEvent* e) {
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
}

bool enterMovesFocus(QWidget* dialog, QKeyEvent* e) {
    if (!isEnterKey(e)) return false;
    QWidget* from = dialog->focusWidget();
    QWidget* next = from ? from->nextInFocusChain() : nullptr;
    // Skip what cannot take the focus by Tab (labels, hidden or disabled controls).
    while (next && next != from) {
        if (next->isVisibleTo(dialog) && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus) &&
            dialog->isAncestorOf(next))
            break;
        next = next->nextInFocusChain();
    }
    if (next && next != from) next->setFocus(Qt::TabFocusReason);
    e->accept();
    return true;
}

void keepEnterFromButtons(QWidget* dialog) {
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
}

int sjisByteLength(const QString& text) {
    return static_cast<int>(utf8ToSjis(text.toStdString()).size());
}

void limitSjisBytes(QLineEdit* edit, int maxBytes) {
    edit->setMaxLength(maxBytes);  // never more characters than bytes
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, maxBytes](const QString& text) {
        if (sjisByteLength(text) <= maxBytes) return;
        QString cut;
        for (qsizetype i = 0; i < text.size();) {
            const qsizetype n = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
            const QString next = cut + text.mid(i, n);
            if (sjisByteLength(next) > maxBytes) break;
            cut = next;
            i += n;
        }
        const int pos = std::min(edit->cursorPosition(), static_cast<int>(cut.size()));
        edit->setText(cut);
        edit->setCursorPosition(pos);
    });
}

}  // namespace zemo::ui
