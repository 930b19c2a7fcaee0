// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/window_settings.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "platform/clock.h"
#include "support/scripted_prompter.h"
#include "platform/sjis.h"
#include "support/temp_dir.h"

namespace zemo {
namespace {

namespace fs = std::filesystem;

fs::path makeTempDir() { return testsupport::makeTempDir("zemo-ini"); }

class WindowSettingsFile : public ::testing::Test {
protected:
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir_, fs::perms::owner_all, ec);
        fs::remove_all(dir_, ec);
    }

    fs::path iniPath() const { return dir_ / "WZEMO.INI"; }
    std::string readIni() const {
        std::ifstream in(iniPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void writeIni(const std::string& bytes) const {
        std::ofstream out(iniPath(), std::ios::binary);
        out << bytes;
    }

    fs::path dir_ = makeTempDir();
    ScriptedPrompter prompter;
    FixedClock clock;
    Workspace ws{prompter, clock, dir_};
};

// A settings object in which every key differs from its default.
WindowSettings everyKeyChanged() {
    WindowSettings s;
    int n = 100;
    for (auto& [stem, place] : s.positions) {
        place.left = n++;
        place.top = n++;
        place.height = n++;
        place.width = n++;
    }
    for (auto& [section, widths] : s.widths)
        for (int& w : widths) w = n++;
    for (const PositionStem& stem : kPositionStems)
        if (!stem.hasSize) s.positions[stem.stem].height = s.positions[stem.stem].width = -1;
    s.refMd = SearchConditions{true, 3, 2, "4988001", "U-12", "ART7", "サザンオールスターズ", "20240101", "20241231"};
    s.shufDisplayFont = FontSetting{"ＭＳ ゴシック", 12, 6, 255};
    s.labelPrintFont = FontSetting{"ＭＳ Ｐ明朝", 8, 0, -16777208};
    return s;
}

TEST_F(WindowSettingsFile, MissingFileGivesDefaultsAndSavingWritesEveryKey) {
    WindowSettings s = everyKeyChanged();
    ASSERT_EQ(loadWindowSettings(ws, s, 1024, 768), 0);
    EXPECT_EQ(s, WindowSettings{});
    EXPECT_EQ(s.positions.at("Main"), WindowPlace{});
    EXPECT_EQ(s.widths.at("DDisp_M"), std::vector<int>(15, -1));
    EXPECT_EQ(s.refMd.dst, "0");
    EXPECT_EQ(s.labelPrintFont.name, "ＭＳ 明朝");
    EXPECT_TRUE(prompter.boxes.empty());
    ASSERT_FALSE(fs::exists(iniPath()));

    ASSERT_EQ(saveWindowSettings(ws, s), 0);
    const std::string text = readIni();
    // 4 x 12 + 2 x 7 position keys, 115 widths, 9 search keys, 8 font keys.
    std::size_t keys = 0;
    for (std::size_t i = text.find('='); i != std::string::npos; i = text.find('=', i + 1)) ++keys;
    EXPECT_EQ(keys, 62u + 115u + 9u + 8u);
    for (const char* line : {"[Position]\r\nMain_L=-1\r\nMain_T=-1\r\nMain_H=-1\r\nMain_W=-1\r\n",
                             "EInp_L=-1\r\nEInp_T=-1\r\nShuf_L=", "FileSel_W=-1\r\n\r\n[DEdit_M]\r\nWidths00=-1\r\n",
                             "[DDisp_M]\r\n", "Widths14=-1\r\n\r\n[FileSel_M]", "[RefMd]\r\nAgr=0\r\nKind=0\r\n",
                             "Dst=0\r\nDed=0\r\n", "[Font]\r\nSufDspFn="})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(text.find("EInp_H"), std::string::npos);
    EXPECT_EQ(text.find("Widths13=-1\r\n\r\n[FileSel_M]"), std::string::npos);  // DDisp_M has 15 entries
    EXPECT_NE(text.find("FileSel_M]\r\nWidths00=-1\r\nWidths01=-1\r\nWidths02=-1\r\nWidths03=-1\r\nWidths04=-1\r\n"
                        "Widths05=-1\r\n\r\n[RefMd]"),
              std::string::npos);
    // Every line ends in CRLF, none with a bare LF.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "at " << i;
        }
    }
}

TEST_F(WindowSettingsFile, EveryKeySurvivesSaveAndLoadWithJapaneseTextsInCp932) {
    const WindowSettings s = everyKeyChanged();
    ASSERT_EQ(saveWindowSettings(ws, s), 0);
    WindowSettings back;
    ASSERT_EQ(loadWindowSettings(ws, back, 100000, 100000), 0);
    EXPECT_EQ(back, s);

    const std::string bytes = readIni();
    EXPECT_NE(bytes.find("SufDspFn=" + sj("ＭＳ ゴシック") + "\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Art=" + sj("サザンオールスターズ") + "\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("LblPrnFn=\x82\x6c\x82\x72\x20\x82\x6f\x96\xbe\x92\xa9\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("LblPrnCl=-16777208\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Agr=1\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find("\xE3"), std::string::npos) << "UTF-8 bytes written";
}

TEST_F(WindowSettingsFile, SaveReplacesTheFileWholeAndAFailedSaveKeepsTheOldOne) {
    writeIni("[Position]\r\nMain_L=7\r\n[Other]\r\nx=1\r\n");
    WindowSettings s;
    s.positions["Main"].left = 8;
    ASSERT_EQ(saveWindowSettings(ws, s), 0);
    EXPECT_EQ(readIni(), formatWindowSettings(s));

    // A write that fails half-way (file size limit; works for root too).
    const std::string before = readIni();
    s.positions["Main"].left = 9;
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    struct rlimit small = old;
    small.rlim_cur = 100;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int rc = saveWindowSettings(ws, s);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(rc, -1);
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(prompter.boxes[0].buttons, Buttons::Ok);
    EXPECT_EQ(prompter.boxes[0].text, iniPath().string() + "\nファイルエラー！");
    EXPECT_EQ(readIni(), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1) << "temporary file left";
}

TEST_F(WindowSettingsFile, SaveIntoAMissingFolderReportsTheFileError) {
    ws.programDir = dir_ / "gone";
    EXPECT_EQ(saveWindowSettings(ws, WindowSettings{}), -1);
    ASSERT_EQ(prompter.texts(), std::vector<std::string>{(dir_ / "gone" / "WZEMO.INI").string() + "\nファイルエラー！"});
}

TEST_F(WindowSettingsFile, UnreadableFileKeepsDefaultsAndReportsTheFileError) {
    fs::create_directory(iniPath());  // there, but not a file to read
    WindowSettings s = everyKeyChanged();
    EXPECT_EQ(loadWindowSettings(ws, s, 1024, 768), -1);
    EXPECT_EQ(s, WindowSettings{});
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{iniPath().string() + "\nファイルエラー！\n通常のファイルではありません"});
}

TEST_F(WindowSettingsFile, LeftAndTopBeyondTheScreenComeBackToZero) {
    writeIni("[Position]\r\nMain_L=5000\r\nMain_T=709\r\nEdit_L=964\r\nEdit_T=708\r\nShuf_L=965\r\n"
             "Shuf_T=-1\r\nShuf_H=5000\r\nShuf_W=5000\r\nDel_L=-1\r\nDel_T=-1\r\nNew_L=-40\r\n");
    WindowSettings s;
    ASSERT_EQ(loadWindowSettings(ws, s, 1024, 768), 0);
    EXPECT_EQ(s.positions.at("Main"), (WindowPlace{0, 0, -1, -1}));
    EXPECT_EQ(s.positions.at("Edit"), (WindowPlace{964, 708, -1, -1}));  // exactly at the limit stays
    EXPECT_EQ(s.positions.at("Shuf"), (WindowPlace{0, -1, 5000, 5000}));  // sizes are not clamped
    EXPECT_EQ(s.positions.at("Del"), WindowPlace{});
    EXPECT_EQ(s.positions.at("New").left, -40);
}

// Tolerant reading: each case holds the file and what Main_L and RefMd's Art read as.
struct TolerantCase {
    const char* name;
    std::string file;
    int mainLeft;
    std::string art;
};

void PrintTo(const TolerantCase& c, std::ostream* os) { *os << c.name << " (" << c.file.size() << " bytes)"; }

class TolerantReading : public ::testing::TestWithParam<TolerantCase> {};

TEST_P(TolerantReading, ReadsWhatItCanAndDefaultsTheRest) {
    const TolerantCase& c = GetParam();
    WindowSettings s = parseWindowSettings(c.file);
    EXPECT_EQ(s.positions.at("Main").left, c.mainLeft);
    EXPECT_EQ(s.refMd.art, c.art);
}

INSTANTIATE_TEST_SUITE_P(
    WindowSettings, TolerantReading,
    ::testing::Values(
        TolerantCase{"Lf", "[Position]\nMain_L=12\n[RefMd]\nArt=a\n", 12, "a"},
        TolerantCase{"CrOnly", "[Position]\rMain_L=12\r[RefMd]\rArt=a\r", 12, "a"},
        TolerantCase{"NoFinalBreak", "[RefMd]\r\nArt=a\r\n[Position]\r\nMain_L=12", 12, "a"},
        TolerantCase{"BlanksAroundNames", " [ Position ] \r\n\t Main_L \t= 12 \r\n[RefMd]\r\n Art = a b \r\n", 12,
                     "a b"},
        TolerantCase{"CaseOfNames", "[POSITION]\r\nmain_l=12\r\n[refmd]\r\nART=a\r\n", 12, "a"},
        TolerantCase{"FirstKeyWins", "[Position]\r\nMain_L=12\r\nMain_L=13\r\n", 12, ""},
        TolerantCase{"FirstKeyWinsAcrossRepeatedSections", "[Position]\r\nMain_L=12\r\n[RefMd]\r\n[Position]\r\n"
                     "Main_L=13\r\n", 12, ""},
        TolerantCase{"RepeatedSectionAddsNewKeys", "[Position]\r\n[RefMd]\r\n[Position]\r\nMain_L=13\r\n", 13, ""},
        TolerantCase{"NotANumber", "[Position]\r\nMain_L=12px\r\n", -1, ""},
        TolerantCase{"EmptyNumber", "[Position]\r\nMain_L=\r\n", -1, ""},
        TolerantCase{"NumberOutOfRange", "[Position]\r\nMain_L=99999999999\r\n", -1, ""},
        TolerantCase{"PlusSign", "[Position]\r\nMain_L=+12\r\n", 12, ""},
        TolerantCase{"Hexadecimal", "[Position]\r\nMain_L=0x1F\r\n", 31, ""},
        TolerantCase{"HexadecimalDollar", "[Position]\r\nMain_L=$10\r\n", 16, ""},
        TolerantCase{"KeyBeforeAnySection", "Main_L=12\r\n[RefMd]\r\nArt=a\r\n", -1, "a"},
        TolerantCase{"DamagedSectionHeaderHidesItsKeys", "[Position\r\nMain_L=12\r\n", -1, ""},
        TolerantCase{"GarbageLines", "\x01\x02\xff garbage\r\n[Position]\r\n=5\r\nno equals\r\n;Main_L=3\r\n"
                     "Main_L=12\r\n\xff\xfe[[]]\r\n", 12, ""},
        TolerantCase{"TextNotCp932KeepsDefault", "[RefMd]\r\nArt=\x82\r\n", -1, ""},
        TolerantCase{"NulEndsTheLine", std::string("[Position]\r\nMain_L=12\0 9\r\n", 22), 12, ""},
        TolerantCase{"Utf8ByteOrderMark", "\xEF\xBB\xBF[Position]\r\nMain_L=12\r\n", 12, ""},
        TolerantCase{"Cp932TrailByteLikeBracket", "[RefMd]\r\nArt=\x83\x5d\x83\x5b\r\n", -1, "ゾゼ"}),
    [](const ::testing::TestParamInfo<TolerantCase>& i) { return std::string(i.param.name); });

TEST(WindowSettings, AHugeFileIsReadOnlyUpToTheLimit) {
    const std::string head = "[Position]\r\nMain_T=3\r\n[RefMd]\r\n";
    const std::string art = "Art=a\r\n";
    // One long comment line so that the Art line ends 5 bytes before the limit.
    std::string file = head + ";" + std::string(kMaxSettingsBytes - 5 - art.size() - head.size() - 3, 'y') + "\r\n";
    file += art;
    ASSERT_EQ(file.size(), kMaxSettingsBytes - 5);
    file += "Kind=1234\r\n";  // straddles the limit
    file += "[Position]\r\nMain_L=77\r\n";
    WindowSettings s = parseWindowSettings(file);
    EXPECT_EQ(s.positions.at("Main").top, 3);
    EXPECT_EQ(s.refMd.art, "a");
    EXPECT_EQ(s.refMd.kind, 0) << "a line cut by the limit must not count";
    EXPECT_EQ(s.positions.at("Main").left, -1);
}

TEST(WindowSettings, TextsBecomeOneLineInCp932) {
    WindowSettings s;
    s.refMd.bcd = "12\r\n[Position]\r\nMain_L=3";
    s.refMd.acd = "A\xF0\x9F\x8E\xB5" "B\xC3\xA9";  // characters CP932 lacks
    WindowSettings back = parseWindowSettings(formatWindowSettings(s));
    EXPECT_EQ(back.positions.at("Main").left, -1);
    EXPECT_EQ(back.refMd.bcd, "12  [Position]  Main_L=3");
    EXPECT_EQ(back.refMd.acd, "A?B?");
}

TEST(WindowSettings, MissingOrShortWidthListsAreWrittenAsDesignWidths) {
    WindowSettings s;
    s.widths.erase("DDel_M");
    s.widths["DNew_M"] = {50};
    WindowSettings back = parseWindowSettings(formatWindowSettings(s));
    EXPECT_EQ(back.widths.at("DDel_M"), std::vector<int>(15, -1));
    std::vector<int> expected(14, -1);
    expected[0] = 50;
    EXPECT_EQ(back.widths.at("DNew_M"), expected);
}

}  // namespace
}  // namespace zemo
