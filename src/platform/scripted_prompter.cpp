#include "platform/scripted_prompter.h"

#include <cstdio>
#include <stdexcept>

namespace zemo {

const char* boxKindName(BoxKind kind) {
    switch (kind) {
        case BoxKind::Error: return "error";
        case BoxKind::Warning: return "warning";
        case BoxKind::Information: return "information";
        case BoxKind::Confirmation: return "confirmation";
    }
    return "error";
}

std::string boxLine(BoxKind kind, const std::string& text) {
    std::string line = boxKindName(kind);
    line += ": ";
    for (char c : text) {
        if (c == '\n') line += " | ";
        else if (c != '\r') line += c;
    }
    return line;
}

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

Answer StreamPrompter::message(BoxKind kind, const std::string& text, Buttons buttons) {
    std::string line = boxLine(kind, text);
    std::fprintf(out_, "%s\n", line.c_str());
    std::fflush(out_);
    switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::Yes: return Answer::Yes;
        case Buttons::OkCancel: return affirmative ? Answer::Ok : Answer::Cancel;
        case Buttons::YesNo: return affirmative ? Answer::Yes : Answer::No;
        case Buttons::YesCancel: return affirmative ? Answer::Yes : Answer::Cancel;
        case Buttons::YesNoCancel: return affirmative ? Answer::Yes : Answer::Cancel;
        case Buttons::AbortRetryIgnore: return affirmative ? Answer::Ignore : Answer::Abort;
    }
    return Answer::Cancel;
}

}  // namespace zemo
