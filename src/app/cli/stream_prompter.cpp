#include "app/cli/stream_prompter.h"

#include <cstdio>

namespace zemo {

std::string boxLine(BoxKind kind, const std::string& text) {
    std::string line = boxKindName(kind);
    line += ": ";
    for (char c : text) {
        if (c == '\n') line += " | ";
        else if (c != '\r') line += c;
    }
    return line;
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
        case Buttons::YesNoDefaultNo: return Answer::No;  // a question that loses data on Yes takes its default
        case Buttons::YesCancel: return affirmative ? Answer::Yes : Answer::Cancel;
        case Buttons::YesNoCancel: return affirmative ? Answer::Yes : Answer::Cancel;
        case Buttons::AbortRetryIgnore: return affirmative ? Answer::Ignore : Answer::Abort;
    }
    return Answer::Cancel;
}

}  // namespace zemo
