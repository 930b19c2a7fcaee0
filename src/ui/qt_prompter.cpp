// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt_prompter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <vector>

#include "ui/language.h"


namespace zemo::ui {

namespace {

struct ButtonDef {
    QMessageBox::StandardButton standard;
    Answer answer;
    const char* label;
};

std::vector<ButtonDef> buttonsOf(Buttons buttons) {
    const ButtonDef ok{QMessageBox::Ok, Answer::Ok, QT_TRANSLATE_NOOP("QtPrompter", "OK")};
    const ButtonDef cancel{QMessageBox::Cancel, Answer::Cancel, QT_TRANSLATE_NOOP("QtPrompter", "キャンセル")};
    const ButtonDef yes{QMessageBox::Yes, Answer::Yes, QT_TRANSLATE_NOOP("QtPrompter", "はい")};
    const ButtonDef no{QMessageBox::No, Answer::No, QT_TRANSLATE_NOOP("QtPrompter", "いいえ")};
    switch (buttons) {
        case Buttons::Ok: return {ok};
        case Buttons::OkCancel: return {ok, cancel};
        case Buttons::Yes: return {yes};
        case Buttons::YesNo: return {yes, no};
        case Buttons::YesNoDefaultNo: return {yes, no};
        case Buttons::YesCancel: return {yes, cancel};
        case Buttons::YesNoCancel: return {yes, no, cancel};
        case Buttons::AbortRetryIgnore:
            return {{QMessageBox::Abort, Answer::Abort, QT_TRANSLATE_NOOP("QtPrompter", "中止")},
                    {QMessageBox::Retry, Answer::Retry, QT_TRANSLATE_NOOP("QtPrompter", "再試行")},
                    {QMessageBox::Ignore, Answer::Ignore, QT_TRANSLATE_NOOP("QtPrompter", "無視")}};
    }
    return {ok};
}

// What closing the box (Escape or the close box) counts as: its Cancel, its No, its only button;
// Abort for the drive question, which has none of these.
Answer closingAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::Yes: return Answer::Yes;
        case Buttons::YesNo:
        case Buttons::YesNoDefaultNo: return Answer::No;
        case Buttons::OkCancel:
        case Buttons::YesCancel:
        case Buttons::YesNoCancel: return Answer::Cancel;
        case Buttons::AbortRetryIgnore: return Answer::Abort;
    }
    return Answer::Cancel;
}

QMessageBox::Icon iconOf(BoxKind kind) {
    switch (kind) {
        case BoxKind::Error: return QMessageBox::Critical;
        case BoxKind::Warning: return QMessageBox::Warning;
        case BoxKind::Information: return QMessageBox::Information;
        case BoxKind::Confirmation: return QMessageBox::Question;
    }
    return QMessageBox::Critical;
}

QString titleOf(BoxKind kind) {
    switch (kind) {
        case BoxKind::Error: return QCoreApplication::translate("QtPrompter", "エラー");
        case BoxKind::Warning: return QCoreApplication::translate("QtPrompter", "警告");
        case BoxKind::Information: return QCoreApplication::translate("QtPrompter", "情報");
        case BoxKind::Confirmation: return QCoreApplication::translate("QtPrompter", "確認");
    }
    return {};
}

}  // namespace

QtPrompter::QtPrompter(QWidget* parent) : parent_(parent) {}

QtPrompter::~QtPrompter() {
    if (overrideSet_ && QGuiApplication::instance()) QGuiApplication::restoreOverrideCursor();
}

Answer QtPrompter::message(BoxKind kind, const std::string& text, Buttons buttons) {
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner) owner = parent_;
    QMessageBox box(owner);
    box.setObjectName("MessageBox");
    box.setIcon(iconOf(kind));
    box.setWindowTitle(titleOf(kind));
    box.setTextFormat(Qt::PlainText);  // texts such as "< ZEMO ... >" are not markup
    box.setText(translateCoreText(QString::fromStdString(text)));

    const std::vector<ButtonDef> defs = buttonsOf(buttons);
    std::vector<std::pair<QAbstractButton*, Answer>> made;
    const Answer onClose = closingAnswer(buttons);
    for (const ButtonDef& def : defs) {
        QPushButton* b = box.addButton(def.standard);
        b->setText(QCoreApplication::translate("QtPrompter", def.label));
        made.emplace_back(b, def.answer);
        if (def.answer == onClose) box.setEscapeButton(b);
    }
    QAbstractButton* preferred = made.front().first;
    if (buttons == Buttons::YesNoDefaultNo)
        for (const auto& [button, answer] : made)
            if (answer == Answer::No) preferred = button;
    box.setDefaultButton(static_cast<QPushButton*>(preferred));

    arrowCursor(true);
    box.exec();
    arrowCursor(false);

    const QAbstractButton* clicked = box.clickedButton();
    for (const auto& [button, answer] : made)
        if (button == clicked) return answer;
    return onClose;
}

std::optional<std::string> QtPrompter::askPassword() {
    if (!dialogs_) return std::nullopt;
    arrowCursor(true);
    std::optional<std::string> typed = dialogs_->askPassword();
    arrowCursor(false);
    return typed;
}

int QtPrompter::askReadWrite() {
    if (!dialogs_) return kChoiceCancel;
    arrowCursor(true);
    const int choice = dialogs_->askReadWrite();
    arrowCursor(false);
    return choice;
}

FileChoice QtPrompter::chooseDataFile(int mode, const std::string& initialDir) {
    if (!dialogs_) return {};
    arrowCursor(true);
    FileChoice choice = dialogs_->chooseDataFile(mode, initialDir);
    arrowCursor(false);
    return choice;
}

void QtPrompter::busyCursor(bool on) {
    busy_ = on;
    applyCursor();
}

void QtPrompter::arrowCursor(bool on) {
    arrowDepth_ += on ? 1 : -1;
    if (arrowDepth_ < 0) arrowDepth_ = 0;
    applyCursor();
}

void QtPrompter::applyCursor() {
    if (!QGuiApplication::instance()) return;
    // One entry of our own on the override stack, changed as the state changes, so that the
    // busy and arrow requests may come in any order without popping someone else's cursor.
    const bool want = arrowDepth_ > 0 || busy_;
    const Qt::CursorShape shape = arrowDepth_ > 0 ? Qt::ArrowCursor : Qt::WaitCursor;
    if (!want) {
        if (overrideSet_) QGuiApplication::restoreOverrideCursor();
        overrideSet_ = false;
    } else if (overrideSet_) {
        QGuiApplication::changeOverrideCursor(QCursor(shape));
    } else {
        QGuiApplication::setOverrideCursor(QCursor(shape));
        overrideSet_ = true;
    }
}

void QtPrompter::processEvents() { QCoreApplication::processEvents(); }

}  // namespace zemo::ui
