// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A text output window for diagnostic lines.
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace zemo::ui {

class TWinCrt : public QWidget {
    Q_OBJECT
public:
    explicit TWinCrt(QWidget* parent = nullptr);

    // Sets the state and the button caption; shows the window when running, closes it when not.
    void setRunning(bool running);
    bool running() const { return running_; }

    // Appends a line to the memo while running; stopped output is dropped.
    void writeLine(const QString& line);

private:
    void updateCaption();

    QPushButton* ButtonClear;
    QPushButton* ButtonStop;
    QPushButton* ButtonClose;
    QPlainTextEdit* Memo1;
    bool running_ = false;
};

}  // namespace zemo::ui
