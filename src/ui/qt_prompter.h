// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Prompter of the desktop program: message boxes, the busy and arrow cursors, and the
// password prompt, read/write choice and data-file chooser through the dialogs installed.
#include <QPointer>
#include <optional>
#include <string>

#include "platform/prompter.h"

class QWidget;

namespace zemo::ui {

// The program's own dialogs behind the password prompt, the read/write choice and the data-file
// chooser. They live in rooms above this one, so the program installs them.
class PromptDialogs {
public:
    virtual ~PromptDialogs() = default;
    // The typed password as CP932 bytes; nothing when cancelled.
    virtual std::optional<std::string> askPassword() = 0;
    virtual int askReadWrite() = 0;
    virtual FileChoice chooseDataFile(int mode, const std::string& initialDir) = 0;
};

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr);
    ~QtPrompter() override;

    // Without dialogs the password prompt and the choices answer as cancelled.
    void setDialogs(PromptDialogs* dialogs) { dialogs_ = dialogs; }

    Answer message(BoxKind kind, const std::string& text, Buttons buttons) override;
    std::optional<std::string> askPassword() override;
    int askReadWrite() override;
    FileChoice chooseDataFile(int mode, const std::string& initialDir) override;
    void busyCursor(bool on) override;
    void arrowCursor(bool on) override;
    void processEvents() override;

    bool busy() const { return busy_; }

private:
    void applyCursor();

    QPointer<QWidget> parent_;
    PromptDialogs* dialogs_ = nullptr;

    bool busy_ = false;
    int arrowDepth_ = 0;
    bool overrideSet_ = false;  // this prompter has a cursor on the override stack
};

}  // namespace zemo::ui
