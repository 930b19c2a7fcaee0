// SPDX-License-Identifier: GPL-3.0-or-later
// `zemo search` run as a program on data files made in a fresh folder per test.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_ops.h"
#include "records/text.h"
#include "support/cli_run.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace zemo {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using Result = testsupport::CliResult;
using testsupport::slurp;
using testsupport::splitLines;

// The row number and the barcode of each output line.
Lines rowsAndBarcodes(const std::string& out) {
    Lines got;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string row, barcode;
        std::getline(fields, row, '\t');
        std::getline(fields, barcode, '\t');
        while (!row.empty() && row.front() == ' ') row.erase(0, 1);
        got.push_back(row + ":" + barcode);
    }
    return got;
}

class SearchCli : public ::testing::Test {
protected:
    SearchCli() {
        fs::create_directory(home_);
        initControlDefaults(ws_);
        // row: barcode, user code, artist code, artist, sale, entry, open, kind, information kind
        add("B30", "U2", "ACD-1", "ABC DEF", 20240101, 20240110, 20240520, 0, 1);
        add("X10", "u1", "ACD-2", "XABC", 20231231, 20240105, 20240701, 1, 2);
        add("B10", "U1", "OTHER", "abc", 20240615, 20240301, 20240301, 0, 0);
        add("B20", "U3", "ACD-3", "ＡＢ　Ｃ", 20241231, 20240201, 20240401, 1, 1);
        add("C10", "", "", "ZZ", 20250101, 0, 20240515, 4, 1);
        writeFile(file_, records_);
    }
    ~SearchCli() override { testsupport::removeTempDir(dir_); }

    void add(const char* barcode, const char* user, const char* artistCode, const char* artist, int sale, int entry,
             int open, int kind, int infoKind) {
        CdRecord r = clearedRecord();
        r.active = 1;
        setField(r.barcode, barcode);
        setField(r.userCode, user);
        setField(r.artistCode, artistCode);
        setField(r.artist, sj(artist));
        setField(r.title, sj("タイトル"));
        r.saleDate = sale;
        r.entryDate = entry;
        r.openDate = open;
        r.kind = static_cast<std::int16_t>(kind);
        r.infoKind = static_cast<std::int16_t>(infoKind);
        records_.push_back(r);
    }

    Result zemo(Lines args) {
        Lines argv{"search"};
        argv.insert(argv.end(), args.begin(), args.end());
        argv.insert(argv.end(), {"--home", home_.string()});
        return testsupport::runZemo(dir_, argv);
    }

    void writeFile(const fs::path& path, const std::vector<CdRecord>& records, const char* password = nullptr) {
        TCddataArray array(static_cast<int>(records.size()) + 1);
        for (std::size_t i = 0; i < records.size(); ++i) array.put(static_cast<int>(i), records[i]);
        ws_.shareFlag = password != nullptr;
        ws_.control.shareMode = password != nullptr ? 1 : 0;
        if (password != nullptr) setField(ws_.control.sharePassword, password);
        // Any kind is searched as the catalogue: this one says it is the deleted history.
        ASSERT_EQ(writeDataFile(ws_, true, path.string(), kKindDeleted, array, static_cast<int>(records.size())), 0);
    }

    fs::path dir_ = testsupport::makeTempDir("zemo-search");
    fs::path home_ = dir_ / "home";
    fs::path file_ = dir_ / "CD_DEL.ZMO";
    ScriptedPrompter prompter_;
    FixedClock clock_{LocalTime{2024, 5, 1, 12, 0, 0}};
    Workspace ws_{prompter_, clock_, home_};
    std::vector<CdRecord> records_;
};

TEST_F(SearchCli, SearchesAsTheDialogDoesWithTheCatalogueRowOfEachResult) {
    struct Case {
        const char* name;
        Lines args;
        Lines expected;  // "row:barcode" in output order
    };
    const Case cases[] = {
        {"a barcode prefix, ascending", {"--item", "barcode", "--text", "B"}, {"3:B10", "4:B20", "1:B30"}},
        {"a code is normalised as its field leaves it", {"--item", "barcode", "--text", " b 2"}, {"4:B20"}},
        {"anywhere in the barcode", {"--item", "barcode", "--text", "10", "--partial"}, {"3:B10", "5:C10", "2:X10"}},
        {"a user code, compared with its case after upper-casing the text",
         {"--item", "user-code", "--text", "u1"},
         {"3:B10"}},
        {"an artist code", {"--item", "artist-code", "--text", "acd"}, {"1:B30", "2:X10", "4:B20"}},
        {"an artist prefix keeps catalogue order", {"--item", "artist", "--text", "ABC"}, {"1:B30"}},
        {"an artist anywhere", {"--item", "artist", "--text", "ABC", "--partial"}, {"1:B30", "2:X10"}},
        {"an artist as given, with its case", {"--item", "artist", "--text", "abc"}, {"3:B10"}},
        {"blanks never count, full-width ones neither", {"--item", "artist", "--text", "ＡＢＣ"}, {"4:B20"}},
        {"an empty text finds nothing", {"--item", "barcode", "--text", "", "--partial"}, {}},
        {"the kind filter", {"--item", "artist-code", "--text", "ACD", "--kind", "2"}, {"2:X10", "4:B20"}},
        {"a reversed date range, newest first",
         {"--item", "sale-date", "--from", "20241231", "--to", "20240101"},
         {"4:B20", "3:B10", "1:B30"}},
        {"entry dates", {"--item", "entry-date", "--from", "20240101", "--to", "20240201"}, {"4:B20", "1:B30", "2:X10"}},
        {"rental starts of one day", {"--item", "open-date", "--from", "20240301", "--to", "20240301"}, {"3:B10"}},
        {"nothing found", {"--item", "barcode", "--text", "Q"}, {}},
        {"the last of each option counts",
         {"--item", "artist", "--text", "ZZ", "--item", "barcode", "--text", "C", "--kind", "2", "--kind", "6"},
         {"5:C10"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lines args{file_.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        Result r = zemo(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(rowsAndBarcodes(r.out), c.expected);
    }
}

TEST_F(SearchCli, TheAgeListTakesInformationRecordsInCatalogueOrder) {
    struct Case {
        Lines args;
        Lines expected;
    };
    // Today 2024-06-01: open dates 05-20 (12 days), 07-01 (future), 03-01 (no information), 04-01
    // (61 days), 05-15 (17 days, kind 5).
    const Case cases[] = {
        {{"--age", "30"}, {"1:B30", "5:C10"}},
        {{"--age", "60"}, {"1:B30", "5:C10"}},
        {{"--age", "90"}, {"1:B30", "4:B20", "5:C10"}},
        {{"--age", "future"}, {"2:X10"}},
        {{"--age", "90", "--kind", "1"}, {"1:B30"}},
        {{"--age", "90", "--kind", "5"}, {"5:C10"}},
        {{"--age", "30", "--today", "20240715"}, {"2:X10"}},  // the last --today counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1]);
        Lines args{file_.string(), "--today", "20240601"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        Result r = zemo(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(rowsAndBarcodes(r.out), c.expected);
    }
}

TEST_F(SearchCli, ALinePrintsTheRecordAsShowDoesAndCsvAsExportDoes) {
    Result show = zemo({file_.string(), "--item", "barcode", "--text", "B20"});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(show.out,
              "    4\tB20\tU3\tACD-3\tタイトル\tＡＢ　Ｃ\t    0:00\t2024/12/31\t2024/02/01\t2024/04/01\t 1\t 1\t"
              "2:ｱﾙﾊﾞﾑ\t2:ﾀｲﾄﾙ\t----/--/-- --:--\t----/--/-- --:--\n");
    const std::string header =
        "barcode,userCode,artistCode,title,artist,timeSec,openDate,saleDate,entryDate,registeredAt,deletedAt,"
        "trackCount,trackPos,kind,infoKind,catalogueIndex\r\n";
    Result csv = zemo({file_.string(), "--item", "barcode", "--text", "B20", "--csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out, header + "B20,U3,ACD-3,タイトル,ＡＢ　Ｃ,0,20240401,20241231,20240201,0,0,1,1,1,1,3\r\n");
    Result none = zemo({file_.string(), "--item", "barcode", "--text", "Q", "--csv"});
    ASSERT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(none.out, header);
}

TEST_F(SearchCli, SixHundredHitsGiveFiveHundredLines) {
    std::vector<CdRecord> many;
    for (int i = 0; i < 600; ++i) {
        CdRecord r = clearedRecord();
        r.active = 1;
        setField(r.barcode, "M" + std::to_string(1000 + i));
        many.push_back(r);
    }
    writeFile(file_, many);
    Result r = zemo({file_.string(), "--item", "barcode", "--text", "M"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Lines lines = rowsAndBarcodes(r.out);
    ASSERT_EQ(lines.size(), 500u);
    EXPECT_EQ(lines.front(), "1:M1000");
    EXPECT_EQ(lines.back(), "500:M1499");
}

TEST_F(SearchCli, UsageErrorsExitTwoWithNothingOnStdout) {
    const Lines cases[] = {
        {},
        {"--item", "title", "--text", "A"},
        {"--item", "barcode", "--text", "123456789012345"},
        {"--item", "artist-code", "--text", std::string(31, 'A')},
        {"--item", "artist", "--text", "あいうえおかきくけこさしすせそたちつてとな"},  // 42 bytes
        {"--item", "artist", "--text", "\xF0\x9F\x98\x80"},                          // no Shift-JIS form
        {"--item", "barcode"},
        {"--item", "sale-date", "--text", "2024"},
        {"--item", "sale-date", "--from", "20240101"},
        {"--item", "sale-date", "--from", "20230229", "--to", "20240101"},
        {"--item", "sale-date", "--from", "2024x", "--to", "20240101"},
        {"--item", "sale-date", "--from", "-1", "--to", "20240101"},
        {"--item", "barcode", "--text", "B", "--from", "20240101"},
        {"--item", "barcode", "--text", "B", "--today", "20240101"},
        {"--age", "30", "--item", "barcode", "--text", "B"},
        {"--age", "45"},
        {"--age", "30", "--text", "B"},
        {"--age", "30", "--today", "20241301"},
        {"--age", "30", "--kind", "0"},
        {"--age", "30", "--kind", "7"},
        {"--age", "30", "--kind", "x"},
        {"--age", "30", "--unknown"},
    };
    for (const Lines& c : cases) {
        Lines args{file_.string()};
        args.insert(args.end(), c.begin(), c.end());
        std::string name;
        for (const std::string& a : c) name += a + " ";
        SCOPED_TRACE(name);
        Result r = zemo(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: zemo search"), std::string::npos) << r.err;
    }
    // A date refused by the date check says why, as the dialog does.
    Result date = zemo({file_.string(), "--item", "sale-date", "--from", "20230229", "--to", "1"});
    EXPECT_EQ(date.err.rfind("error: 存在しない日付です!\n", 0), 0u) << date.err;
}

TEST_F(SearchCli, AnUnreadableFileOrAWrongPasswordFails) {
    const fs::path locked = dir_ / "LOCKED.ZMO";
    writeFile(locked, records_, "SECRET");
    struct Case {
        Lines args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{(dir_ / "nothing.zmo").string()}, 1, "error: " + (dir_ / "nothing.zmo").string() + " | ファイルが見つかりません！\n"},
        {{locked.string()}, 1, "error: パスワードが違います!\n"},
        {{locked.string(), "--password", "WRONG"}, 1, "error: パスワードが違います!\n"},
        {{locked.string(), "--password", "secret"}, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        Lines args = c.args;
        args.insert(args.end(), {"--item", "barcode", "--text", "B3"});
        Result r = zemo(args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_EQ(r.err.substr(0, c.err.size()), c.err);
        EXPECT_EQ(r.out.empty(), c.status != 0);
    }
}

}  // namespace
}  // namespace zemo
