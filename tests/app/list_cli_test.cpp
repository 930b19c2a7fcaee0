// SPDX-License-Identifier: GPL-3.0-or-later
// `zemo list` run as a program on data files made in a fresh folder per test.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/cli_files.h"
#include "platform/sjis.h"
#include "printing/data_list.h"
#include "records/control_file.h"
#include "records/data_ops.h"
#include "records/text.h"
#include "support/cli_run.h"
#include "support/pdf_text.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace zemo {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using Result = testsupport::CliResult;
using testsupport::slurp;
using testsupport::splitLines;

const auto& collapsed = testsupport::collapsedBlanks;

class ListCli : public ::testing::Test {
protected:
    ListCli() {
        fs::create_directory(home_);
        initControlDefaults(ws_);
        for (int i = 1; i <= 5; ++i) {
            CdRecord r = clearedRecord();
            r.active = 1;
            setField(r.barcode, "49880" + std::to_string(i));
            setField(r.title, sj(i == 2 ? "とても長いアルバムのタイトルです" : "タイトル" + std::to_string(i)));
            setField(r.artist, sj("ｱｰﾃｨｽﾄ"));
            r.timeSec = 60 * i + 5;
            r.saleDate = 20240200 + i;
            records_.push_back(r);
        }
        writeFile(file_, 1, records_);
    }
    ~ListCli() override { testsupport::removeTempDir(dir_); }

    Result zemo(Lines args) {
        Lines argv{"list"};
        argv.insert(argv.end(), args.begin(), args.end());
        argv.insert(argv.end(), {"--home", home_.string()});
        return testsupport::runZemo(dir_, argv);
    }

    void writeFile(const fs::path& path, int kind, const std::vector<CdRecord>& records,
                   const char* password = nullptr) {
        TCddataArray array(static_cast<int>(records.size()) + 1);
        for (std::size_t i = 0; i < records.size(); ++i) array.put(static_cast<int>(i), records[i]);
        ws_.shareFlag = password != nullptr;
        ws_.control.shareMode = password != nullptr ? 1 : 0;
        if (password != nullptr) setField(ws_.control.sharePassword, password);
        ASSERT_EQ(writeDataFile(ws_, true, path.string(), kind, array, static_cast<int>(records.size())), 0);
    }

    // What stdout holds for records first..last (1-based), the heading first.
    Lines expected(int first, int last) {
        Lines out{sjisToUtf8(dataListHeading())};
        for (int n = first; n <= last; ++n) out.push_back(sjisToUtf8(dataListLine(records_[n - 1], n - 1)));
        for (std::string& l : out)
            while (!l.empty() && l.back() == ' ') l.pop_back();
        return out;
    }

    fs::path dir_ = testsupport::makeTempDir("zemo-list");
    fs::path home_ = dir_ / "home";
    fs::path file_ = dir_ / "CD_DATA.ZMO";
    ScriptedPrompter prompter_;
    FixedClock clock_{LocalTime{2024, 5, 1, 12, 0, 0}};
    Workspace ws_{prompter_, clock_, home_};
    std::vector<CdRecord> records_;
};

TEST_F(ListCli, PrintsTheHeadingAndTheRangeInEitherOrderCutAtTheRecordCount) {
    struct Case {
        Lines args;
        int first, last;
    };
    const Case cases[] = {
        {{}, 1, 5},
        {{"--from", "2", "--to", "4"}, 2, 4},
        {{"--from", "4", "--to", "2"}, 2, 4},
        {{"--from=3"}, 3, 5},
        {{"--to", "99"}, 1, 5},
        {{"--from", "9"}, 5, 5},
        {{"--from", "3", "--to=1", "--from=2", "--to", "3"}, 2, 3},  // the last of each counts
    };
    for (const Case& c : cases) {
        Lines args{file_.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        Result r = zemo(args);
        SCOPED_TRACE(testing::PrintToString(c.args));
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(splitLines(r.out), expected(c.first, c.last));
        EXPECT_EQ(r.out.back(), '\n');
    }
    Result all = zemo({file_.string()});
    EXPECT_EQ(splitLines(all.out).at(2),
              "    2 498802" + std::string(24, ' ') + "とても長いアルバム** ｱｰﾃｨｽﾄ" + std::string(17, ' ') +
                  "2:05 2024/02/02    0/00/00");
}

TEST_F(ListCli, AnEmptyLineStandsWhereTheRangeStartsWithEmptySlots) {
    std::string bytes = slurp(file_);
    bytes[384 + 172] = 0;  // the first record's slot marked empty
    std::ofstream(file_, std::ios::binary | std::ios::trunc) << bytes;
    Result r = zemo({file_.string(), "--to", "3"});
    ASSERT_EQ(r.status, 0) << r.err;
    Lines want = expected(2, 3);
    want.insert(want.begin() + 1, "");
    EXPECT_EQ(splitLines(r.out), want);
}

TEST_F(ListCli, AFileWithoutRecordsPrintsNothing) {
    writeFile(dir_ / "empty.zmo", 1, {});
    Result r = zemo({(dir_ / "empty.zmo").string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(ListCli, UsageErrorsExitTwoWithNothingOnStdout) {
    const Lines cases[] = {
        {"--from", "0"}, {"--to", "-1"}, {"--from", "x"}, {"--to", "1.5"}, {"--from", ""},
        {"--bogus"},     {"--from"},     {},              {"a.zmo"},  // a second file
    };
    for (const Lines& extra : cases) {
        SCOPED_TRACE(testing::PrintToString(extra));
        Lines args{file_.string()};
        if (extra.empty()) args.clear();  // no file at all
        args.insert(args.end(), extra.begin(), extra.end());
        Result r = zemo(args);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: zemo list"), std::string::npos) << r.err;
    }
}

TEST_F(ListCli, AProgramFolderThatIsNoFolderIsAUsageError) {
    for (bool isFile : {false, true}) {
        SCOPED_TRACE(isFile);
        fs::remove_all(home_);
        if (isFile) std::ofstream(home_) << "x";
        Result r = zemo({file_.string()});
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(ListCli, AProtectedFileNeedsItsPassword) {
    const fs::path shared = dir_ / "share.zmo";
    writeFile(shared, 5, {records_[0]}, "Secret");
    struct Case {
        Lines args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{}, 1, "error: パスワードが違います!\n"},
        {{"--password", "Secrets"}, 1, "error: パスワードが違います!\n"},
        {{"--password", "sECRET"}, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        Lines args{shared.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        Result r = zemo(args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(splitLines(r.out), c.status == 0 ? expected(1, 1) : Lines{});
    }
    Result plain = zemo({file_.string(), "--password", "whatever"});  // ignored on a plain file
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(splitLines(plain.out), expected(1, 5));
}

TEST_F(ListCli, AnUnreadableFileFailsWithTheReadersMessage) {
    Result r = zemo({"nothing.zmo"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "error: nothing.zmo | ファイルが見つかりません！\n");
}

TEST_F(ListCli, PdfPrintsTheSameLinesIntoAFile) {
    const fs::path pdf = dir_ / "list.pdf";
    Result r = zemo({file_.string(), "--from", "4", "--to", "2", "--pdf", pdf.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "");
    const Lines shown = testsupport::pdfLines(pdf);
    Lines want;
    for (const std::string& l : expected(2, 4)) want.push_back(collapsed(l));
    EXPECT_EQ(shown, want);

    const fs::path nowhere = dir_ / "no" / "such.pdf";
    Result failed = zemo({file_.string(), "--pdf", nowhere.string()});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err, "error: 印刷を開始できません | " + nowhere.string() + "\n");
    EXPECT_FALSE(fs::exists(nowhere));
}

// A PDF replaces an earlier one only whole and keeps it as its .BAK; with nothing to print, the
// earlier one stays as it is.
TEST_F(ListCli, PdfKeepsTheEarlierPdfAsItsBackup) {
    const fs::path pdf = dir_ / "list.pdf", bak = dir_ / "list.BAK";
    ASSERT_EQ(zemo({file_.string(), "--to", "1", "--pdf", pdf.string()}).status, 0);
    const std::string first = slurp(pdf);
    EXPECT_FALSE(fs::exists(bak));
    Result r = zemo({file_.string(), "--from", "2", "--pdf", pdf.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(slurp(bak) == first);
    Lines want;
    for (const std::string& l : expected(2, 5)) want.push_back(collapsed(l));
    EXPECT_EQ(testsupport::pdfLines(pdf), want);

    const std::string second = slurp(pdf);
    writeFile(dir_ / "empty.zmo", 1, {});
    Result nothing = zemo({(dir_ / "empty.zmo").string(), "--pdf", pdf.string()});
    EXPECT_EQ(nothing.status, 0) << nothing.err;
    EXPECT_EQ(nothing.err, "");
    EXPECT_TRUE(slurp(pdf) == second);
    EXPECT_TRUE(slurp(bak) == first);
    for (const auto& e : fs::directory_iterator(dir_))
        EXPECT_EQ(e.path().filename().string().find("zemo-tmp"), std::string::npos) << e.path();
}

// Stored texts reach the terminal with their control characters as visible escapes.
TEST_F(ListCli, ControlCharactersOfStoredTextsArePrintedAsEscapes) {
    CdRecord r = records_[0];
    setField(r.title, "\x1b[2J\x1b]0;pwn\x07");
    setField(r.artist, "a\rb\nc\td");
    writeFile(dir_ / "esc.zmo", 1, {r});
    Result out = zemo({(dir_ / "esc.zmo").string()});
    ASSERT_EQ(out.status, 0) << out.err;
    for (char c : out.out)
        EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << static_cast<int>(c);
    EXPECT_NE(out.out.find("\\x1B[2J\\x1B]0;pwn\\x07"), std::string::npos) << out.out;
    EXPECT_NE(out.out.find("a\\x0Db\\x0Ac\\x09d"), std::string::npos) << out.out;
    EXPECT_EQ(splitLines(out.out).size(), 2u);
}

// What the PDF check takes for a whole file: the printed file as it is, and nothing cut from its end
// or from before its cross-reference table.
TEST_F(ListCli, OnlyAWholePdfPassesTheCheck) {
    const fs::path pdf = dir_ / "list.pdf";
    ASSERT_EQ(zemo({file_.string(), "--pdf", pdf.string()}).status, 0);
    const std::string whole = slurp(pdf);
    const std::size_t xref = whole.rfind("\nxref\n");
    ASSERT_NE(xref, std::string::npos);
    ASSERT_EQ(whole.substr(whole.size() - 6), "%%EOF\n");
    const struct {
        const char* what;
        std::string bytes;
        bool whole;
    } cases[] = {
        {"as printed", whole, true},
        {"without the last line break", whole.substr(0, whole.size() - 1), true},
        {"one byte short of %%EOF", whole.substr(0, whole.size() - 2), false},
        {"cut in the middle", whole.substr(0, whole.size() / 2), false},
        {"cut before the table", whole.substr(0, xref), false},
        {"a block lost before the table", whole.substr(0, 100) + whole.substr(4196), false},
        {"empty", "", false},
        {"only the end", "startxref\n0\n%%EOF\n", false},
    };
    for (const auto& c : cases) {
        const fs::path f = dir_ / "check.pdf";
        std::ofstream(f, std::ios::binary | std::ios::trunc) << c.bytes;
        std::uintmax_t size = 0;
        int err = -1;
        EXPECT_EQ(cli::isWholePdf(f.string(), size, err), c.whole) << c.what;
        EXPECT_EQ(size, c.bytes.size()) << c.what;
        EXPECT_EQ(err, 0) << c.what;
    }
    std::uintmax_t size = 0;
    int err = 0;
    EXPECT_FALSE(cli::isWholePdf((dir_ / "none.pdf").string(), size, err));
    EXPECT_EQ(err, ENOENT);
}

}  // namespace
}  // namespace zemo
