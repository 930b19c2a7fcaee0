// SPDX-License-Identifier: GPL-3.0-or-later
// `zemo plan` run as a program on data files made in a fresh folder per test.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "plan_fixture.h"
#include "planning/plan_results.h"
#include "records/control_file.h"
#include "records/data_ops.h"
#include "records/text.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace zemo::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using Outcome = testsupport::CliResult;
using testsupport::slurp;
using testsupport::splitLines;

std::string spaces(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

class PlanCli : public ::testing::Test {
protected:
    PlanCli() {
        dir_ = testsupport::makeTempDir("zemo-plan");
        world_.ws.programDir = dir_;
        initControlDefaults(world_.ws);
    }
    ~PlanCli() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    Outcome zemo(const Lines& args) {
        Lines argv{"plan"};
        argv.insert(argv.end(), args.begin(), args.end());
        return testsupport::runZemo(dir_, argv);
    }

    std::string writeFile(const std::string& name, int kind, const std::vector<int>& times) {
        std::vector<CdRecord> cds;
        for (std::size_t i = 0; i < times.size(); ++i) cds.push_back(makeCd(times[i], "CD" + std::to_string(i + 1)));
        return writeRecords(name, kind, cds);
    }

    std::string writeRecords(const std::string& name, int kind, const std::vector<CdRecord>& cds) {
        TCddataArray array(static_cast<int>(cds.size()) + 1);
        for (std::size_t i = 0; i < cds.size(); ++i) array.put(static_cast<int>(i), cds[i]);
        const std::string path = (dir_ / name).string();
        EXPECT_EQ(writeDataFile(world_.ws, true, path, kind, array, static_cast<int>(cds.size())), 0);
        return path;
    }

    // A control file in the test folder holding these planning settings.
    std::string writeControl(const ShufControl& c) {
        world_.ws.control.shuffleBlock = c;
        EXPECT_EQ(saveControl(world_.ws), 0);
        return controlFilePath(world_.ws);
    }

    // The image lines the library gives for the same file, settings and steps.
    Lines libraryLines(const std::vector<int>& times, const ShufControl& c, int runs) {
        PlanWorld w;
        w.setTimes(times);
        w.ws.control.shuffleBlock = c;
        ResultsState results(w.engine);
        EXPECT_EQ(results.openResults(), 0);
        for (int k = 2; k <= runs; ++k) results.stepNext();
        Lines out;
        for (const std::string& l : results.image().gridLines()) out.push_back(sjisToUtf8(l));
        return out;
    }

    fs::path dir_;
    PlanWorld world_;
};

TEST_F(PlanCli, UnreachableTargetPrintsTheImageAndTheResultMessage) {
    const std::string file = writeFile("T.ZMO", kKindShuffle, {300, 200, 100});
    const Outcome r = zemo({file, "--target", "10000"});
    EXPECT_EQ(r.status, 0);
    const std::string cds = spaces(23) + " Artist" + spaces(20);
    EXPECT_EQ(splitLines(r.out), (Lines{
                                     spaces(21) + "目標=[  100:00]   有効=[    0:05]   SHUFFLE No=[    1]",
                                     "A面",
                                     " 1 CD1" + cds + "     5:00     5:00   1",
                                     " 2 CD2" + cds + "     3:20     8:20   2",
                                     " 3 CD3" + cds + "     1:40    10:00   3",
                                 }));
    EXPECT_EQ(r.err, "information: 有効秒差 最適化に失敗しました！\n");
}

TEST_F(PlanCli, SteppedRunsMatchTheResultsWindow) {
    const std::vector<int> times = {612, 345, 1234, 433, 250, 900, 777, 120, 300, 480};
    const std::string file = writeFile("S.ZMO", kKindShuffle, times);
    ShufControl c = defaultShufControl();
    c.tolerance = 20;
    for (int runs : {1, 2, 5}) {
        const Outcome r = zemo({file, "--tolerance", "20", "--run", std::to_string(runs)});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(splitLines(r.out), libraryLines(times, c, runs)) << runs;
        EXPECT_NE(r.out.find("SHUFFLE No=[    " + std::to_string(runs) + "]"), std::string::npos);
    }
    // Stored run-time fields count in the first run.
    ShufControl stored = c;
    stored.fixedA = 4;
    stored.startA = 3;
    const std::string control = writeControl(stored);
    const Outcome r = zemo({file, "--control", control});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(splitLines(r.out), libraryLines(times, stored, 1));
}

TEST_F(PlanCli, ControlFileSettingsAndOverrides) {
    const std::string file = writeFile("C.ZMO", kKindShuffle, {300, 200, 100});
    ShufControl c = defaultShufControl();
    c.csvLayout = 1;
    c.targetSec = 6000;
    const std::string control = writeControl(c);
    Outcome r = zemo({file, "--control", control});
    EXPECT_EQ(r.status, 0);
    Lines out = splitLines(r.out);
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[0].find("目標=[  100:00]"), 21u);
    EXPECT_EQ(out[2], " \"CD1" + spaces(23) + "\",\"Artist" + spaces(20) + "\",    5:00,2024/01/01");

    // Overrides change the stored block before anything runs: 10:00 is 600 seconds.
    r = zemo({file, "--control", control, "--csv-layout", "0", "--target", "1000"});
    out = splitLines(r.out);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out[0].find("目標=[   10:00]"), 21u);
    EXPECT_EQ(out[2].substr(0, 6), " 1 CD1");
}

// A pass that made no attempt: the plan names no CD, it is reported and nothing is drawn; the
// printout still has its headings and the difference line.
TEST_F(PlanCli, EmptyPassPlanDrawsNothing) {
    const std::string file = writeFile("E.ZMO", kKindShuffle, {300, 300, 600});
    Outcome r = zemo({file, "--target", "1000", "--start-a", "3", "--run", "2"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    const Lines err = splitLines(r.err);
    ASSERT_GE(err.size(), 2u);
    EXPECT_EQ(err[err.size() - 2], "error: Program error!(code=6)");
    EXPECT_EQ(err.back(), "information: 有効秒差 最適化に失敗しました！");

    r = zemo({file, "--target", "1000", "--start-a", "3", "--run", "2", "--printout"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(splitLines(r.out), (Lines{
                                     "目標=[   10:00] 有効=[    0:05] 合計=[   20:00] SHUFFLE No=[    2]",
                                     "",
                                     "A面",
                                     "B面",
                                     spaces(50) + "ABの差     0:00",
                                     "未収録",
                                 }));
}

TEST_F(PlanCli, OtherKindAndTooManyRecordsAreReadLikeTheWindowReadsThem) {
    std::vector<int> times;
    for (int i = 0; i < 32; ++i) times.push_back(100 + i);
    const std::string file = writeFile("BIG.ZMO", kKindCatalogue, times);
    const Outcome r = zemo({file, "--action", "none"});
    EXPECT_EQ(r.status, 0);
    const Lines err = splitLines(r.err);
    ASSERT_GE(err.size(), 2u);
    EXPECT_EQ(err[0], "error: ﾃﾞｰﾀの種類が違います！ | " + file);
    EXPECT_EQ(err[1],
              "confirmation: ﾃﾞｰﾀﾌｧｲﾙ内ﾃﾞｰﾀ登録数がｼｽﾃﾑ制御数を越えています！ | 制御数以降を切り捨てて処理を継続します。"
              " | ﾌｧｲﾙ内 32 件 / ｼｽﾃﾑ制御数 30 件");
    const Lines out = splitLines(r.out);
    ASSERT_EQ(out.size(), 32u);  // line 0 empty, 30 CDs, the total
    EXPECT_EQ(out[0], "");
    EXPECT_EQ(out[30].substr(0, 6), "30 CD3");
    int total = 0;
    for (int i = 0; i < 30; ++i) total += times[static_cast<std::size_t>(i)];
    EXPECT_EQ(out[31], spaces(50) + "総時間 " + formatTimeLong(total));
}

TEST_F(PlanCli, ActionsWorkOnTheStateTheLastRedrawLeft) {
    const std::string file = writeFile("A.ZMO", kKindShuffle, {100, 100, 100, 100});
    Outcome r = zemo({file, "--action", "half"});
    EXPECT_EQ(r.status, 0);
    Lines out = splitLines(r.out);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(out[0], "");
    EXPECT_EQ(out[1], "A面");
    EXPECT_EQ(out[4], "B面");
    EXPECT_EQ(out[7], spaces(50) + "ABの差     0:00");

    r = zemo({file, "--action", "shuffle-b", "--printout"});
    EXPECT_EQ(r.status, 0);
    out = splitLines(r.out);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(out[0], "目標=[    3:20] 有効=[    0:05] 合計=[    6:40]");
}

TEST_F(PlanCli, Failures) {
    Outcome r = zemo({(dir_ / "missing.ZMO").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("ファイルが見つかりません！"), std::string::npos);

    const std::string empty = writeFile("EMPTY.ZMO", kKindShuffle, {});
    r = zemo({empty});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("holds no CD"), std::string::npos);
}

// A run number is reached by replaying every run before it; five digits are the most the results
// window shows, and the most the tool replays.
TEST_F(PlanCli, TheLastRunNumberIs99999) {
    const std::string file = writeFile("R.ZMO", kKindShuffle, {100, 100});
    const Outcome last = zemo({file, "--run", "99999"});
    EXPECT_EQ(last.status, 0) << last.err;
    EXPECT_NE(last.out.find("SHUFFLE No=[99999]"), std::string::npos) << last.out;
    const Outcome over = zemo({file, "--run", "100000"});
    EXPECT_EQ(over.status, 2);
    EXPECT_NE(over.err.find("--run takes a run number 1..99999"), std::string::npos) << over.err;
}

TEST_F(PlanCli, ControlCharactersOfTheTitlesArePrintedAsEscapes) {
    CdRecord cd = makeCd(300, "CD1");
    setField(cd.title, "\x1B[2JX");
    const std::string file = writeRecords("X.ZMO", kKindShuffle, {cd, makeCd(200, "CD2")});
    for (const char* printout : {"", "--printout"}) {
        Lines args = {file};
        if (*printout != '\0') args.push_back(printout);
        const Outcome r = zemo(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out.find('\x1B'), std::string::npos) << printout;
        EXPECT_NE(r.out.find("\\x1B[2JX"), std::string::npos) << printout << "\n" << r.out;
    }
}

// A protected (share-form) list is planned with its password, as `show` and `list` read one.
TEST_F(PlanCli, AProtectedListIsPlannedWithItsPassword) {
    const std::vector<int> times = {612, 345, 1234, 433};
    const std::string plain = writeFile("P.ZMO", kKindShuffle, times);
    world_.ws.shareFlag = true;
    world_.ws.control.shareMode = 1;
    setField(world_.ws.control.sharePassword, "Secret");
    const std::string shared = writeFile("SHARE.ZMO", kKindShuffle, times);
    world_.ws.shareFlag = false;
    const Outcome want = zemo({plain});
    ASSERT_EQ(want.status, 0) << want.err;
    const struct {
        Lines args;
        int status;
    } cases[] = {
        {{shared}, 1},
        {{shared, "--password", "Secrets"}, 1},
        {{shared, "--password", "sECRET"}, 0},
        {{shared, "--password=Secret", "--printout"}, 0},
        {{plain, "--password", "whatever"}, 0},  // a plain list has none to check
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const Outcome r = zemo(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        if (c.status == 0) {
            if (c.args.back() != "--printout") {
                EXPECT_EQ(r.out, want.out);
            }
            EXPECT_EQ(r.err, want.err);
        } else {
            EXPECT_EQ(r.out, "");
            EXPECT_NE(r.err.find("error: パスワードが違います!"), std::string::npos) << r.err;
        }
    }
    const Outcome help = zemo({"--help"});
    EXPECT_NE(help.out.find("--password TEXT"), std::string::npos) << help.out;
}

TEST_F(PlanCli, UsageErrors) {
    const std::string file = writeFile("U.ZMO", kKindShuffle, {100});
    const Lines cases[] = {
        {},
        {file, "--run", "0"},
        {file, "--run", "two"},
        {file, "--action", "shuffle"},
        {file, "--start-a", "0"},
        {file, "--start-b", "31"},
        {file, "--target", "1000000"},
        {file, "--tolerance", "-1"},
        {file, "--plus-only", "2"},
        {file, "--force-start", "yes"},
        {file, "--bogus"},
        {file, file},
        {file, "--run", "100000"},
        {file, "--home", (dir_ / "nowhere").string()},
        {file, "--home", file},
        {file, "--password"},
        {file, "--password", "\xF0\x9F\x98\x80"},  // a character Shift-JIS lacks
    };
    for (const Lines& args : cases) {
        const Outcome r = zemo(args);
        EXPECT_EQ(r.status, 2) << (args.size() > 1 ? args[1] : "");
        EXPECT_EQ(r.out, "");
    }
}

}  // namespace
}  // namespace zemo::test
