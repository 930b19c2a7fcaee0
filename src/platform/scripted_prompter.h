#pragma once
// A Prompter for tests and headless runs: records every box and answers from queues.
#include <cstdio>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/prompter.h"

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

// Writes every box to a stream as "KIND: TEXT" (line breaks as " | ") and answers with a fixed
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

// "KIND: TEXT" with each line break in TEXT written as " | ".
std::string boxLine(BoxKind kind, const std::string& text);

}  // namespace zemo
