#include <gtest/gtest.h>

#include <cstdio>

#include "app/cli/stream_prompter.h"

namespace zemo {
namespace {

TEST(BoxLine, WritesKindAndTextOnOneLine) {
    EXPECT_EQ(boxLine(BoxKind::Warning, "a\nb\r\nc"), "warning: a | b | c");
    EXPECT_EQ(boxLine(BoxKind::Information, ""), "information: ");
}

}  // namespace
}  // namespace zemo
