// SPDX-License-Identifier: GPL-3.0-or-later
// `zemo label` run as a program on data and control files made in a fresh folder per test.
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

#include "planning/plan_engine.h"
#include "planning/plan_results.h"
#include "platform/sjis.h"
#include "printing/label.h"
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

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

CdRecord cd(const std::string& title, const std::string& artist, int seconds) {
    CdRecord r = clearedRecord();
    r.active = 1;
    setField(r.barcode, "4988000000000");
    setField(r.title, sj(title));
    setField(r.artist, sj(artist));
    r.timeSec = seconds;
    r.saleDate = 20240101;
    return r;
}

class LabelCli : public ::testing::Test {
protected:
    LabelCli() {
        fs::create_directory(home_);
        initControlDefaults(ws_);
        cds_ = {cd("ベスト・アルバム", "山田太郎", 2712), cd("Summer Songs", "The Band", 1530),
                cd("Jazz Night", "Quartet", 1845), cd("Classic", "Orchestra", 1900)};
        writeFile(file_, cds_);
    }
    ~LabelCli() override { testsupport::removeTempDir(dir_); }

    Result zemo(const std::string& command, Lines args) {
        Lines argv{command};
        argv.insert(argv.end(), args.begin(), args.end());
        argv.insert(argv.end(), {"--home", home_.string()});
        return testsupport::runZemo(dir_, argv);
    }
    Result label(Lines args) {
        args.insert(args.begin(), file_.string());
        return zemo("label", args);
    }

    void writeFile(const fs::path& path, const std::vector<CdRecord>& records) {
        TCddataArray array(static_cast<int>(records.size()) + 1);
        for (std::size_t i = 0; i < records.size(); ++i) array.put(static_cast<int>(i), records[i]);
        ASSERT_EQ(writeDataFile(ws_, true, path.string(), kKindShuffle, array, static_cast<int>(records.size())), 0);
    }

    // A control file elsewhere holding this label layout and creatorId.
    std::string writeControl(const LabelLayout& layout, const std::string& creator) {
        Workspace w{prompter_, clock_, dir_ / "ctl"};
        fs::create_directory(w.programDir);
        initControlDefaults(w);
        storeLabelLayout(w.control.labelBlock, layout);
        setField(w.control.creatorId, creator);
        EXPECT_EQ(saveControl(w), 0);
        return controlFilePath(w);
    }

    // The label the library composes for the same plan (run 1 of the default settings).
    Lines libraryLabel(const LabelLayout& layout, const std::string& creator, std::int32_t date) {
        ScriptedPrompter prompter;
        Workspace w{prompter, clock_};
        w.createArrays(1);
        initControlDefaults(w);
        for (std::size_t i = 0; i < cds_.size(); ++i) w.arrays[kKindShuffle].put(static_cast<int>(i), cds_[i]);
        PlanEngine engine(w);
        ResultsState results(engine);
        EXPECT_EQ(results.openResults(), 0);
        const LabelSource source{&results.plan(), creator, date};
        Lines out;
        for (std::string l : labelGridLines(composeLabel(layout, source))) {
            trimRight(l);
            out.push_back(sjisToUtf8(l));
        }
        return out;
    }

    fs::path dir_ = testsupport::makeTempDir("zemo-label");
    fs::path home_ = dir_ / "home";
    fs::path file_ = dir_ / "TAPE.ZMO";
    ScriptedPrompter prompter_;
    FixedClock clock_{LocalTime{2024, 5, 1, 12, 0, 0}};
    Workspace ws_{prompter_, clock_, home_};
    std::vector<CdRecord> cds_;
};

TEST_F(LabelCli, PrintsTheDefaultLabelAsACharacterGrid) {
    Result r = label({"--date", "20240519"});
    ASSERT_EQ(r.status, 0) << r.err;
    const Lines lines = splitLines(r.out);
    // Title feed 4 and caption feed 2 pass over rows 0..5; every CD fits on side A.
    ASSERT_EQ(lines.size(), 11u);
    for (int row = 0; row < 6; ++row) EXPECT_EQ(lines[row], "") << row;
    EXPECT_EQ(lines[6], "Ａ面");
    EXPECT_EQ(lines[7], " 1 ベスト・アルバム" + blanks(16) + " 山田太郎" + blanks(18) + " 45:12");
    EXPECT_EQ(lines[10], " 4 Classic" + blanks(25) + " Orchestra" + blanks(17) + " 31:40");
    EXPECT_EQ(lines, libraryLabel(defaultLabelLayout(), "", 20240519));
    EXPECT_EQ(r.out.back(), '\n');
    EXPECT_EQ(label({"--date", "20240519", "--text"}).out, r.out);
}

TEST_F(LabelCli, UsesTheControlFilesLayoutCreatorAndTheGivenDateAndTitle) {
    LabelLayout l = defaultLabelLayout();
    l.orientation = 1;
    l.titlePrint = 1;
    l.titleChars = 12;
    setField(l.labelTitle, sj("保存タイトル"));
    const std::string control = writeControl(l, "cxc01166");
    struct Case {
        Lines args;
        std::string titleRow;
    };
    const Case cases[] = {
        {{"--date", "19961219"}, "保存タイトル96/12/19"},
        {{"--date", "20240101", "--title", "とても長いラベルのタイトル"}, "とても長い**24/01/01"},
        {{"--title", "x", "--date", "20240101", "--title=New", "--date=20240519"}, "New" + blanks(9) + "24/05/19"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        Lines args{"--control", control};
        args.insert(args.end(), c.args.begin(), c.args.end());
        Result r = label(args);
        ASSERT_EQ(r.status, 0) << r.err;
        const Lines lines = splitLines(r.out);
        // Horizontal: title feed 6, the title row, caption feed 5, captions, four rows, and the
        // filler rows of that one creator (30 - 4) as empty lines.
        ASSERT_EQ(lines.size(), 17u);
        EXPECT_EQ(lines[6], c.titleRow);
        EXPECT_EQ(lines[12], "Ａ面");
        EXPECT_EQ(collapsed(lines[13]), "1 ベスト・アルバム");
    }
    // Without --date, today's date.
    const std::int32_t before = today(systemClock());
    Result r = label({"--control", control});
    const std::int32_t after = today(systemClock());
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string row = splitLines(r.out).at(6);
    EXPECT_TRUE(row == "保存タイトル" + formatDateShort(before) || row == "保存タイトル" + formatDateShort(after)) << row;
}

TEST_F(LabelCli, AnInconsistentPlanIsNotLabelled) {
    writeFile(file_, {cd("One", "Solo", 600)});
    const Lines args{file_.string(), "--run", "2", "--target", "1000", "--start-a", "1"};
    Result plan = zemo("plan", args);
    ASSERT_EQ(plan.status, 0) << plan.err;
    ASSERT_NE(plan.err.find("Program error!(code=3)"), std::string::npos) << plan.err;
    Result r = zemo("label", args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, plan.err + "error: Program error!(code=3)\n");
}

TEST_F(LabelCli, PrintsThePdfThatPdftotextReadsBack) {
    const fs::path pdf = dir_ / "label.pdf";
    Result r = label({"--date", "20240519", "--pdf", pdf.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, label({"--date", "20240519"}).err);  // the run's messages only
    const Lines shown = testsupport::pdfLines(pdf);
    Lines want;
    for (const std::string& l : libraryLabel(defaultLabelLayout(), "", 20240519))
        if (!collapsed(l).empty()) want.push_back(collapsed(l));
    EXPECT_EQ(shown, want);

    Result text = label({"--pdf", pdf.string(), "--text"});  // the last of the two counts
    EXPECT_EQ(text.status, 0);
    EXPECT_FALSE(text.out.empty());

    Result nowhere = label({"--pdf", (dir_ / "no" / "such.pdf").string()});
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(nowhere.out, "");
    EXPECT_NE(nowhere.err.find("印刷を開始できません"), std::string::npos) << nowhere.err;
}

// A protected (share-form) list is labelled with its password, as `show` and `list` read one.
TEST_F(LabelCli, AProtectedListIsLabelledWithItsPassword) {
    const fs::path shared = dir_ / "SHARE.ZMO";
    ws_.shareFlag = true;
    ws_.control.shareMode = 1;
    setField(ws_.control.sharePassword, "Secret");
    writeFile(shared, cds_);
    const Result want = label({"--date", "20240519"});
    ASSERT_EQ(want.status, 0) << want.err;

    Result refused = zemo("label", {shared.string(), "--date", "20240519"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("error: パスワードが違います!"), std::string::npos) << refused.err;
    Result wrong = zemo("label", {shared.string(), "--password", "Secrets", "--date", "20240519"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.err.find("パスワードが違います!"), std::string::npos) << wrong.err;

    Result right = zemo("label", {shared.string(), "--password", "secret", "--date", "20240519"});
    EXPECT_EQ(right.status, 0) << right.err;
    EXPECT_EQ(right.out, want.out);
    const fs::path pdf = dir_ / "share.pdf";
    Result printed = zemo("label", {shared.string(), "--password=Secret", "--date", "20240519", "--pdf", pdf.string()});
    EXPECT_EQ(printed.status, 0) << printed.err;
    EXPECT_FALSE(testsupport::pdfLines(pdf).empty());
    EXPECT_NE(zemo("label", {"--help"}).out.find("--password TEXT"), std::string::npos);
}

TEST_F(LabelCli, UsageErrorsExitTwoWithNothingOnStdout) {
    const Lines cases[] = {
        {"--bogus"},
        {"--action", "sideways"},
        {"--run"},
        {"--run", "0"},
        {"--run", "100000"},
        {"--target", "999960"},
        {"--start-a", "31"},
        {"--date", "20240230"},
        {"--date", "abc"},
        {"--date", "-1"},
        {"--title", std::string(61, 'x')},
        {"--title", "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほX"},  // 61 bytes
        {"--title", "emoji 😀"},
        {"--pdf", ""},
        {"--printout"},
        {"second.zmo"},
    };
    for (const Lines& extra : cases) {
        SCOPED_TRACE(testing::PrintToString(extra));
        Result r = label(extra);
        EXPECT_EQ(r.status, 2) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("usage: zemo label"), std::string::npos) << r.err;
    }
    // At the edges: 60 bytes of title, the last day of a month.
    for (const Lines& ok : {Lines{"--title", std::string(60, 'x')}, Lines{"--date", "20240229"}}) {
        SCOPED_TRACE(testing::PrintToString(ok));
        EXPECT_EQ(label(ok).status, 0);
    }
}

}  // namespace
}  // namespace zemo
