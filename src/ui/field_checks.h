// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Entry fields of the dialogs: a byte limit that refuses what would not fit instead of cutting it,
// and the check that runs once when a field is left.
#include <QObject>
#include <QPointer>
#include <QValidator>
#include <functional>
#include <vector>

class QLineEdit;
class QWidget;

namespace zemo {
class Prompter;
}

namespace zemo::ui {

// Refuses typed or pasted text that Shift-JIS cannot hold or that would take more than maxBytes
// bytes of CP932. Text the program puts in with setText is never cut; when it is already longer
// than the limit, edits that shorten it are still taken, edits that lengthen it are not.
class SjisFieldValidator : public QValidator {
    Q_OBJECT
public:
    SjisFieldValidator(QLineEdit* edit, int maxBytes);
    State validate(QString& input, int& pos) const override;
    int maxBytes() const { return maxBytes_; }

private:
    QString before_;  // the edit's text before the change being validated
    int maxBytes_;
};

// Installs a SjisFieldValidator on the edit (and no character limit, which would cut).
void refuseBeyondSjisBytes(QLineEdit* edit, int maxBytes);

// Characters of a text that Shift-JIS cannot hold.
int unencodableCount(const QString& text);

// The check of a text field stored in maxBytes bytes of Shift-JIS: true when the text fits;
// otherwise the refusal every such field shows ("入力文字が変です!" for what Shift-JIS cannot hold,
// the byte limit for what is too long) and false. Nothing is cut or replaced.
bool checkFieldText(zemo::Prompter& prompter, const QString& text, int maxBytes);
// The same test without a message.
bool fitsSjisField(const QString& text, int maxBytes);

// The "Exit" checks of a dialog's entry fields. A field's check runs once when the focus leaves it
// for another control of the dialog; a message box or menu taking the focus is not a leave. A
// check returns true when it accepts the text (and stores it); when it refuses it has shown its
// message, and the focus goes back to the field.
class FieldChecks : public QObject {
    Q_OBJECT
public:
    explicit FieldChecks(QWidget* window);

    void add(QLineEdit* edit, std::function<bool()> check);

    // Runs the check of a field that was left and not yet checked. False when it refused.
    bool settle();
    // Runs one field's check now (the program changed its text). False when it refused.
    bool run(QLineEdit* edit);
    // Before a command that needs the fields' values: settle(), then the check of the focused
    // field. False when one refused; the command then does not run.
    bool checkBeforeClosing();
    // Leaving the window (Esc, the close box, its end button): the same checks run and show their
    // messages, but a refusal never keeps the window open. A refused field's value stays the last
    // one its check accepted. False when one refused.
    bool checkOnLeaving() { return checkBeforeClosing(); }

    // The line a close question adds after a refusal: what "Yes" then saves.
    static constexpr const char* kKeptValueNote =
        QT_TRANSLATE_NOOP("zemo::ui::FieldChecks", "誤りのある入力は保存せず、前の値のまま保存します。");

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    struct Field {
        QLineEdit* edit;
        std::function<bool()> check;
    };
    const Field* find(const QObject* edit) const;
    void runLeft();

    QWidget* window_;
    std::vector<Field> fields_;
    QPointer<QLineEdit> left_;  // left by the user, its check still to run
    bool returning_ = false;    // the focus is being put back after a refusal
};

}  // namespace zemo::ui
