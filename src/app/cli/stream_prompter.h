// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command-line tool's prompter: every box goes to a stream, every question gets a fixed answer.
#include <cstdio>
#include <optional>
#include <string>

#include "platform/prompter.h"

namespace zemo {

// Writes every box to a stream as "KIND: TEXT" (line breaks as " | ", other control characters
// escaped) and answers with a fixed
// answer per button set; used by the command-line tool.
class StreamPrompter : public Prompter {
public:
    explicit StreamPrompter(std::FILE* out) : out_(out) {}
    // The answer to every question with two or more buttons (Yes / OK when true, else No / Cancel).
    bool affirmative = true;
    std::optional<std::string> password;  // what the password prompt answers; nothing = cancel
    int readWrite = kChoiceCancel;
    FileChoice fileChoice;

    Answer message(BoxKind kind, const std::string& text, Buttons buttons) override;
    std::optional<std::string> askPassword() override { return password; }
    int askReadWrite() override { return readWrite; }
    FileChoice chooseDataFile(int, const std::string&) override { return fileChoice; }
    void busyCursor(bool) override {}
    void arrowCursor(bool) override {}

private:
    std::FILE* out_;
};

// "KIND: TEXT" with each line break in TEXT (LF or CR LF) written as " | " and every other control
// character as a visible escape (\x1B).
std::string boxLine(BoxKind kind, const std::string& text);

}  // namespace zemo
