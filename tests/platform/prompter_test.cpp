// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "support/scripted_prompter.h"
#include "platform/sjis.h"
#include "records/file_services.h"

namespace zemo {
namespace {

TEST(ShowBox, ShowsEveryBoxUnderTheArrowCursorAndPutsTheCursorBack) {
    ScriptedPrompter p;
    FixedClock clock;
    Workspace ws(p, clock);
    busyCursor(ws, true);
    p.answers.push_back(Answer::Cancel);
    EXPECT_EQ(showBox(ws, BoxKind::Confirmation, "a\nb", Buttons::OkCancel), Answer::Cancel);
    ASSERT_EQ(p.boxes.size(), 1u);
    EXPECT_FALSE(p.boxes[0].busyWhenShown);
    EXPECT_EQ(p.events, (std::vector<std::string>{"busy on", "arrow on", "arrow off"}));
    p.message(BoxKind::Error, "bare", Buttons::Ok);  // a box bypassing showBox is caught
    EXPECT_TRUE(p.boxes[1].busyWhenShown);
}

TEST(ScriptedPrompter, RefusesUnscriptedQuestionsButAnswersSingleButtonBoxes) {
    ScriptedPrompter p;
    EXPECT_EQ(p.message(BoxKind::Error, "x", Buttons::Ok), Answer::Ok);
    EXPECT_EQ(p.message(BoxKind::Error, "x", Buttons::Yes), Answer::Yes);
    EXPECT_THROW(p.message(BoxKind::Confirmation, "q", Buttons::YesNo), std::logic_error);
    EXPECT_THROW(p.askPassword(), std::logic_error);
}

TEST(Sjis, ConvertsBothWaysAndReportsWhatCannotBeConverted) {
    EXPECT_EQ(sj("ｱ"), "\xB1");
    EXPECT_EQ(sjisToUtf8("\x82\xA0\x87\x40"), "あ①");
    ConvResult bad = sjisToUtf8Checked("ab\x82");  // a lead byte without its trail
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.badOffset, 2u);
    ConvResult noCp932 = utf8ToSjisChecked("x\xF0\x9F\x8E\xB5");  // a musical note emoji
    EXPECT_FALSE(noCp932.ok);
    EXPECT_EQ(noCp932.badOffset, 1u);
    EXPECT_EQ(utf8ToSjis("x\xF0\x9F\x8E\xB5y"), "x?y");
    EXPECT_EQ(sjisToUtf8("a\x82z"), "a\xEF\xBF\xBDz");  // 0x82 0x7A is no character; kept visible
    EXPECT_THROW(sj("\xF0\x9F\x8E\xB5"), std::logic_error);
}

}  // namespace
}  // namespace zemo
