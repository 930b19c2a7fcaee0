// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/stream_prompter.h"

#include <cstdio>
#include <string_view>

#include "app/cli/cli_common.h"

namespace zemo {

std::string boxLine(BoxKind kind, const std::string& text) {
    std::string line = boxKindName(kind);
    line += ": ";
    // The message's own line breaks stay readable; every other control character, as a stored
    // text or path may hold, is written as a visible escape.
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find('\n', start);
        std::string_view part(text.data() + start, (end == std::string::npos ? text.size() : end) - start);
        if (end != std::string::npos && !part.empty() && part.back() == '\r') part.remove_suffix(1);
        line += cli::visibleControls(part);
        if (end == std::string::npos) break;
        line += " | ";
        start = end + 1;
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
