// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scripted_prompter.h"

#include <stdexcept>

namespace zemo {

namespace {
std::optional<Answer> singleButton(Buttons b) {
    if (b == Buttons::Ok) return Answer::Ok;
    if (b == Buttons::Yes) return Answer::Yes;
    return std::nullopt;
}
}  // namespace

Answer ScriptedPrompter::message(BoxKind kind, const std::string& text, Buttons buttons) {
    boxes.push_back(Box{kind, text, buttons, busy_ && arrowDepth_ == 0});
    if (auto only = singleButton(buttons)) return *only;
    if (answers.empty()) throw std::logic_error("unscripted question: " + text);
    Answer a = answers.front();
    answers.pop_front();
    return a;
}

std::optional<std::string> ScriptedPrompter::askPassword() {
    ++passwordPrompts;
    events.push_back("password");
    if (passwords.empty()) throw std::logic_error("unscripted password prompt");
    auto p = passwords.front();
    passwords.pop_front();
    return p;
}

int ScriptedPrompter::askReadWrite() {
    ++readWritePrompts;
    events.push_back("readwrite");
    if (readWriteChoices.empty()) throw std::logic_error("unscripted read/write choice");
    int c = readWriteChoices.front();
    readWriteChoices.pop_front();
    return c;
}

FileChoice ScriptedPrompter::chooseDataFile(int mode, const std::string& initialDir) {
    ++chooserCalls;
    lastChooserMode = mode;
    lastChooserDir = initialDir;
    events.push_back("chooser");
    if (fileChoices.empty()) throw std::logic_error("unscripted file chooser");
    FileChoice c = fileChoices.front();
    fileChoices.pop_front();
    return c;
}

void ScriptedPrompter::busyCursor(bool on) {
    busy_ = on;
    events.push_back(on ? "busy on" : "busy off");
}

void ScriptedPrompter::arrowCursor(bool on) {
    arrowDepth_ += on ? 1 : -1;
    events.push_back(on ? "arrow on" : "arrow off");
}

std::vector<std::string> ScriptedPrompter::texts() const {
    std::vector<std::string> out;
    for (const Box& b : boxes) out.push_back(b.text);
    return out;
}

void ScriptedPrompter::clear() {
    boxes.clear();
    events.clear();
}

}  // namespace zemo
