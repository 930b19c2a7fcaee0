// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdio>

#include "app/cli/stream_prompter.h"

namespace zemo {
namespace {

TEST(BoxLine, WritesKindAndTextOnOneLine) {
    EXPECT_EQ(boxLine(BoxKind::Warning, "a\nb\r\nc"), "warning: a | b | c");
    EXPECT_EQ(boxLine(BoxKind::Information, ""), "information: ");
}

// A stored text or path in a message reaches the terminal with its control characters escaped;
// only the message's own line breaks remain, as " | ".
TEST(BoxLine, EscapesControlCharactersOfTheTextButKeepsItsLineBreaks) {
    const struct {
        const char* text;
        const char* line;
    } cases[] = {
        {"\x1b[2J\x1b]0;pwn\x07\n/home/ZEMOCTRL.DAT", "error: \\x1B[2J\\x1B]0;pwn\\x07 | /home/ZEMOCTRL.DAT"},
        {"CD_SYS\r/x\r\nnext", "error: CD_SYS\\x0D/x | next"},
        {"a\tb\x7f\xc2\x9b" "c", "error: a\\x09b\\x7F\\u009Bc"},
        {"\n\n", "error:  |  | "},
        {"ﾌｧｲﾙｴﾗｰ！\n\xe3\x83\x95", "error: ﾌｧｲﾙｴﾗｰ！ | \xe3\x83\x95"},
    };
    for (const auto& c : cases) EXPECT_EQ(boxLine(BoxKind::Error, c.text), c.line) << c.text;
}

}  // namespace
}  // namespace zemo
