// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/field_checks.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QWidget>

#include <string>

#include "platform/prompter.h"
#include "platform/sjis.h"
#include "ui/dialog_keys.h"

namespace zemo::ui {

int unencodableCount(const QString& text) {
    int bad = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype n = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        if (!utf8ToSjisChecked(text.mid(i, n).toStdString()).ok) ++bad;
        i += n;
    }
    return bad;
}

bool fitsSjisField(const QString& text, int maxBytes) {
    return unencodableCount(text) == 0 && sjisByteLength(text) <= maxBytes;
}

bool checkFieldText(zemo::Prompter& prompter, const QString& text, int maxBytes) {
    if (unencodableCount(text) > 0) {
        prompter.message(zemo::BoxKind::Error, "入力文字が変です!", zemo::Buttons::Ok);
        return false;
    }
    if (sjisByteLength(text) > maxBytes) {
        prompter.message(zemo::BoxKind::Error,
                         FieldChecks::tr("システムで管理できる文字を超えています！\n最大 [ %1 ] 文字までです。")
                             .arg(maxBytes)
                             .toStdString(),
                         zemo::Buttons::Ok);
        return false;
    }
    return true;
}

SjisFieldValidator::SjisFieldValidator(QLineEdit* edit, int maxBytes)
    : QValidator(edit), before_(edit->text()), maxBytes_(maxBytes) {
    // textChanged follows every accepted edit and every setText, so before_ is always the text
    // that the next change starts from (the edit itself already holds the new text when asked).
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
}

QValidator::State SjisFieldValidator::validate(QString& input, int&) const {
    const int bad = unencodableCount(input);
    if (bad > unencodableCount(before_)) return Invalid;
    const int bytes = sjisByteLength(input);
    if (bytes > maxBytes_ && bytes > sjisByteLength(before_)) return Invalid;
    return (bad == 0 && bytes <= maxBytes_) ? Acceptable : Intermediate;
}

void refuseBeyondSjisBytes(QLineEdit* edit, int maxBytes) {
    edit->setMaxLength(32767);  // the validator limits; a character limit would cut set texts
    edit->setValidator(new SjisFieldValidator(edit, maxBytes));
}

FieldChecks::FieldChecks(QWidget* window) : QObject(window), window_(window) {}

void FieldChecks::add(QLineEdit* edit, std::function<bool()> check) {
    fields_.push_back(Field{edit, std::move(check)});
    edit->installEventFilter(this);
}

const FieldChecks::Field* FieldChecks::find(const QObject* edit) const {
    for (const Field& f : fields_)
        if (f.edit == edit) return &f;
    return nullptr;
}

bool FieldChecks::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::FocusOut || returning_) return false;
    const auto reason = static_cast<QFocusEvent*>(e)->reason();
    // A box, a menu or another window taking the focus: the field has not been left.
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
        reason == Qt::MenuBarFocusReason)
        return false;
    if (const Field* f = find(watched)) {
        // Run after the event that moved the focus is done (a button pressed with the mouse
        // completes its click); closing and the dialog's buttons settle it first.
        left_ = f->edit;
        QMetaObject::invokeMethod(this, &FieldChecks::runLeft, Qt::QueuedConnection);
    }
    return false;
}

void FieldChecks::runLeft() {
    if (left_ && !window_->isVisible()) left_ = nullptr;
    settle();
}

bool FieldChecks::settle() {
    if (!left_) return true;
    QLineEdit* edit = left_;
    left_ = nullptr;
    return run(edit);
}

bool FieldChecks::run(QLineEdit* edit) {
    const Field* f = find(edit);
    if (!f || f->check()) return true;
    // Putting the focus back is not the user leaving another field.
    returning_ = true;
    edit->setFocus(Qt::OtherFocusReason);
    returning_ = false;
    return false;
}

bool FieldChecks::checkBeforeClosing() {
    if (!settle()) return false;
    auto* focused = qobject_cast<QLineEdit*>(window_->focusWidget());
    return !focused || run(focused);
}

}  // namespace zemo::ui
