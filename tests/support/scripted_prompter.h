// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Prompter for tests: records every box and answers from queues.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompter.h"
#include "support/fixed_clock.h"

namespace zemo {

class ScriptedPrompter : public Prompter {
public:
    struct Box {
        BoxKind kind;
        std::string text;
        Buttons buttons;
        bool busyWhenShown;  // the hourglass, not the arrow, was showing when the box appeared
    };

    // Answers are taken in order. A box with a single button needs no answer; a question
    // without a scripted answer throws, so a test never passes on an unexpected question.
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> passwords;
    std::deque<int> readWriteChoices;
    std::deque<FileChoice> fileChoices;

    std::vector<Box> boxes;
    std::vector<std::string> events;  // "busy on", "busy off", "arrow on", "arrow off", "password", ...
    int passwordPrompts = 0;
    int readWritePrompts = 0;
    int chooserCalls = 0;
    int lastChooserMode = -1;
    std::string lastChooserDir;

    Answer message(BoxKind kind, const std::string& text, Buttons buttons) override;
    std::optional<std::string> askPassword() override;
    int askReadWrite() override;
    FileChoice chooseDataFile(int mode, const std::string& initialDir) override;
    void busyCursor(bool on) override;
    void arrowCursor(bool on) override;

    bool busy() const { return busy_; }
    // Texts of the boxes shown so far, in order.
    std::vector<std::string> texts() const;
    void clear();

private:
    bool busy_ = false;
    int arrowDepth_ = 0;
};

}  // namespace zemo
