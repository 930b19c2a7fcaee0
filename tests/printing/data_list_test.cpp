// SPDX-License-Identifier: GPL-3.0-or-later
// The list printout loop over a recording text device and a scripted stop window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sjis.h"
#include "printing/data_list.h"
#include "records/record_access.h"
#include "support/scripted_prompter.h"

namespace zemo {
namespace {

// Keeps the lines as a page device would lay them, and what was asked of it.
class RecordingDevice : public TextDevice {
public:
    bool open(const std::string& family, int size) override {
        ++opens;
        font = family + " " + std::to_string(size);
        return opens <= failOpens ? false : true;
    }
    void write(const std::string& sjis) override {
        if (!lineOpen) lines.emplace_back();
        lineOpen = true;
        lines.back() += sjis;
    }
    void endLine() override {
        if (!lineOpen) lines.emplace_back();
        lineOpen = false;
    }
    void flush() override { ++flushes; }
    void close() override { ++closes; }

    std::vector<std::string> utf8Lines() const {
        std::vector<std::string> out;
        for (const std::string& l : lines) out.push_back(sjisToUtf8(l));
        return out;
    }

    int failOpens = 0;  // the first this many opens fail
    int opens = 0, closes = 0, flushes = 0;
    std::string font;
    std::vector<std::string> lines;
    bool lineOpen = false;
};

class ScriptedProgress : public ListProgress {
public:
    void start() override { events.push_back("start"); }
    void setCount(int n) override {
        count = n;
        events.push_back("count " + std::to_string(n));
    }
    bool stopRequested() override {
        ++polls;
        if (polls == stopOnPoll) stop = true;
        return stop;
    }
    void pause(int ms) override {
        events.push_back("pause " + std::to_string(ms));
        pausedAt.push_back(count);
        if (stopInPause) stop = true;
    }
    void finish() override { events.push_back("finish"); }

    int stopOnPoll = -1;  // the stop button is pressed before this poll (from 1)
    bool stopInPause = false;
    bool stop = false;
    int polls = 0, count = -1;
    std::vector<int> pausedAt;  // the count at each pause
    std::vector<std::string> events;
};

CdRecord active(const std::string& titleUtf8) {
    CdRecord r = clearedRecord();
    r.active = 1;
    setField(r.title, sj(titleUtf8));
    return r;
}

class DataList : public ::testing::Test {
protected:
    DataList() { ws_.createArrays(1); }  // catalogue capacity 500

    void put(int index, const CdRecord& r) { ASSERT_EQ(putRecord(ws_, r, index, 1, ws_.capacity(1)), 0); }
    void putTitled(std::initializer_list<int> indexes) {
        for (int i : indexes) put(i, active("T" + std::to_string(i)));
    }
    std::string line(int index) {
        CdRecord r{};
        EXPECT_EQ(getRecord(ws_, r, index, 1, ws_.capacity(1)), 0);
        return sjisToUtf8(dataListLine(r, index));
    }

    ScriptedPrompter prompter_;
    FixedClock clock_;
    Workspace ws_{prompter_, clock_};
    RecordingDevice device_;
    ScriptedProgress progress_;
};

TEST(DataListText, TheHeadingPadsEachTitleToItsByteWidth) {
    const std::string expected = "No." + std::string(3, ' ') + "バーコード" + std::string(5, ' ') + "ﾕｰｻﾞｰｺｰﾄﾞ" +
                                 std::string(6, ' ') + "タイトル" + std::string(13, ' ') + "アーチスト" +
                                 std::string(9, ' ') + "時間" + std::string(5, ' ') + "発売日" +
                                 std::string(5, ' ') + "登録日" + std::string(5, ' ');
    EXPECT_EQ(sjisToUtf8(dataListHeading()), expected);
    EXPECT_EQ(dataListHeading().size(), 6u + 15 + 15 + 21 + 19 + 9 + 11 + 11);
}

TEST(DataListText, ARecordLineHasTheNumberAndTheFieldsInTheirWidths) {
    CdRecord r = active("ミュージック");
    setField(r.barcode, "4988001234567");
    setField(r.userCode, "U-01");
    setField(r.artist, sj("ｱｰﾃｨｽﾄ"));
    r.timeSec = 3725;
    r.saleDate = 20240229;
    r.entryDate = 0;
    EXPECT_EQ(sjisToUtf8(dataListLine(r, 2)), "    3 4988001234567" + std::string(2, ' ') + "U-01" + std::string(11, ' ') +
                                                  "ミュージック" + std::string(9, ' ') + "ｱｰﾃｨｽﾄ" + std::string(13, ' ') +
                                                  "   62:05 2024/02/29    0/00/00 ");
    CdRecord far = clearedRecord();
    far.timeSec = 6000000;
    EXPECT_EQ(sjisToUtf8(dataListLine(far, 9999)), "10000 " + std::string(15 + 15 + 21 + 19, ' ') +
                                                      "-----:--    0/00/00    0/00/00 ");
}

TEST(DataListText, TitlesAndArtistsLongerThanTheirColumnsEndInTheMark) {
    struct Case {
        const char* title;
        const char* artist;
        const char* shownTitle;
        const char* shownArtist;
    };
    const Case cases[] = {
        {"ABCDEFGHIJKLMNOPQRSTU", "ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLMNOPQRS*", "ABCDEFGHIJKLMNOPQ*"},
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQR", "ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOPQR"},
        {"あいうえおかきくけこさ", "Aあいうえおかきくけ", "あいうえおかきくけ**", "Aあいうえおかきく*"},
    };
    for (const Case& c : cases) {
        CdRecord r = active(c.title);
        setField(r.artist, sj(c.artist));
        const std::string l = dataListLine(r, 0);
        EXPECT_EQ(sjisToUtf8(l.substr(36, 20)), c.shownTitle) << c.title;
        EXPECT_EQ(l[56], ' ');
        EXPECT_EQ(sjisToUtf8(l.substr(57, 18)), c.shownArtist) << c.artist;
        EXPECT_EQ(l[75], ' ');
    }
}

TEST_F(DataList, PrintsTheHeadingAndTheInUseRecordsOfTheRangeInEitherOrder) {
    putTitled({1, 2, 3, 4, 5});
    ASSERT_EQ(dataListPrint(ws_, 1, 500, 4, 2, device_, progress_), 0);
    EXPECT_EQ(device_.utf8Lines(), (std::vector<std::string>{sjisToUtf8(dataListHeading()), line(2), line(3), line(4)}));
    EXPECT_EQ(device_.font, "ＭＳ 明朝 9");
    EXPECT_EQ(device_.opens, 1);
    EXPECT_EQ(device_.closes, 1);
    EXPECT_EQ(device_.flushes, 3);
    EXPECT_EQ(progress_.events,
              (std::vector<std::string>{"count 0", "start", "count 1", "count 2", "count 3", "finish"}));
}

TEST_F(DataList, EmptySlotsPrintNoLineButAnEmptyLineIsLeftWhereTheRangeStartsWithThem) {
    putTitled({2, 4});
    ASSERT_EQ(dataListPrint(ws_, 1, 500, 0, 5, device_, progress_), 0);
    EXPECT_EQ(device_.utf8Lines(), (std::vector<std::string>{sjisToUtf8(dataListHeading()), "", line(2), line(4)}));
    EXPECT_EQ(device_.closes, 1);
}

TEST_F(DataList, ARangeBeyondTheCapacityIsCutAtTheLastSlot) {
    putTitled({498, 499, 500});  // slot 500 is past the last record number
    ASSERT_EQ(dataListPrint(ws_, 1, 500, 498, 9000, device_, progress_), 0);
    EXPECT_EQ(device_.utf8Lines(), (std::vector<std::string>{sjisToUtf8(dataListHeading()), line(498), line(499)}));
}

TEST_F(DataList, AnEmptyRangeOrOneOfEmptySlotsStartsNoJob) {
    putTitled({0, 30});
    struct Case {
        int capacity, a, b, result;
        bool windowShown;
    };
    const Case cases[] = {
        {0, 0, 3, -1, false},    // no slot at all
        {500, -1, -1, -1, false},
        {500, -1, 3, -1, false},
        {500, 10, 20, 0, true},  // only empty slots
    };
    for (const Case& c : cases) {
        RecordingDevice device;
        ScriptedProgress progress;
        EXPECT_EQ(dataListPrint(ws_, 1, c.capacity, c.a, c.b, device, progress), c.result) << c.a << ".." << c.b;
        EXPECT_EQ(device.opens, 0);
        EXPECT_EQ(device.closes, 0);
        EXPECT_TRUE(device.lines.empty());
        EXPECT_TRUE(progress.pausedAt.empty());
        if (c.windowShown)
            EXPECT_EQ(progress.events, (std::vector<std::string>{"count 0", "start", "finish"}));
        else
            EXPECT_TRUE(progress.events.empty());
    }
}

TEST_F(DataList, AFailedReadEndsTheRunWithItsCodeAndPrintsWhatWasWritten) {
    putTitled({499, 500});
    // The caller's capacity is larger than the array: slot 501 does not exist.
    EXPECT_EQ(dataListPrint(ws_, 1, 1000, 499, 600, device_, progress_), -1);
    EXPECT_EQ(device_.utf8Lines(), (std::vector<std::string>{sjisToUtf8(dataListHeading()), line(499), line(500)}));
    EXPECT_EQ(device_.closes, 1);
    EXPECT_EQ(prompter_.texts(), (std::vector<std::string>{"DATA GET ERROR!(Under or Over)"}));
    EXPECT_EQ(progress_.events.back(), "finish");
}

TEST_F(DataList, ADeviceThatWillNotOpenEndsTheRunBeforeAnyLine) {
    putTitled({3, 4});
    device_.failOpens = 1;
    EXPECT_EQ(dataListPrint(ws_, 1, 500, 0, 9, device_, progress_), kDataListDeviceFailed);
    EXPECT_EQ(device_.opens, 1);
    EXPECT_EQ(device_.closes, 0);
    EXPECT_TRUE(device_.lines.empty());
    EXPECT_EQ(progress_.events, (std::vector<std::string>{"count 0", "start", "finish"}));
}

TEST_F(DataList, PausesOnlyRightAfterEveryFiftiethLineAndNotWhenPrintingToAFile) {
    // 120 records among empty slots: the count sits at 50 and 100 over several slots.
    for (int i = 0; i < 240; i += 2) put(i, active("T"));
    ASSERT_EQ(dataListPrint(ws_, 1, 500, 0, 499, device_, progress_), 0);
    EXPECT_EQ(progress_.pausedAt, (std::vector<int>{50, 100}));
    for (std::size_t k = 0; k < progress_.events.size(); ++k)
        if (progress_.events[k].rfind("pause", 0) == 0) {
            EXPECT_EQ(progress_.events[k], "pause 3000");
            EXPECT_TRUE(progress_.events[k - 1] == "count 50" || progress_.events[k - 1] == "count 100");
        }
    EXPECT_EQ(device_.lines.size(), 121u);  // the heading and the lines, no empty line at the start

    RecordingDevice device;
    ScriptedProgress progress;
    ASSERT_EQ(dataListPrint(ws_, 1, 500, 0, 499, device, progress, DataListOptions{false}), 0);
    EXPECT_TRUE(progress.pausedAt.empty());
    EXPECT_EQ(device.lines, device_.lines);
}

TEST_F(DataList, TheFortyNinthLineDoesNotPause) {
    for (int i = 0; i < 49; ++i) put(i, active("T"));
    ASSERT_EQ(dataListPrint(ws_, 1, 500, 0, 499, device_, progress_), 0);
    EXPECT_TRUE(progress_.pausedAt.empty());
    put(49, active("T"));
    ScriptedProgress progress;
    ASSERT_EQ(dataListPrint(ws_, 1, 500, 0, 499, device_, progress), 0);
    EXPECT_EQ(progress.pausedAt, (std::vector<int>{50}));
}

TEST_F(DataList, AStopRequestEndsTheRunAfterTheCurrentSlotAndPrintsWhatWasWritten) {
    for (int i = 0; i < 120; ++i) put(i, active("T"));
    progress_.stopInPause = true;
    ASSERT_EQ(dataListPrint(ws_, 1, 500, 0, 499, device_, progress_), 0);
    EXPECT_EQ(progress_.pausedAt, (std::vector<int>{50}));
    EXPECT_EQ(device_.lines.size(), 51u);
    EXPECT_EQ(sjisToUtf8(device_.lines.back()), line(49));
    EXPECT_EQ(device_.closes, 1);
    EXPECT_EQ(progress_.events.back(), "finish");

    // Pressed while the first slot is being handled: that slot is still printed.
    RecordingDevice device;
    ScriptedProgress progress;
    progress.stopOnPoll = 1;
    ASSERT_EQ(dataListPrint(ws_, 1, 500, 0, 499, device, progress), 0);
    EXPECT_EQ(device.utf8Lines(), (std::vector<std::string>{sjisToUtf8(dataListHeading()), line(0)}));
    EXPECT_EQ(device.closes, 1);
}

}  // namespace
}  // namespace zemo
