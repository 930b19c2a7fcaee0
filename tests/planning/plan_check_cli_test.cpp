// SPDX-License-Identifier: GPL-3.0-or-later
// `zemo plan --check` run as a program: the exact check's lines for data files made per test.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "plan_fixture.h"
#include "planning/exact_check.h"
#include "records/control_file.h"
#include "records/data_ops.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace zemo::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using Outcome = testsupport::CliResult;
using testsupport::splitLines;

class PlanCheckCli : public ::testing::Test {
protected:
    PlanCheckCli() {
        dir_ = testsupport::makeTempDir("zemo-check");
        world_.ws.programDir = dir_;
        initControlDefaults(world_.ws);
    }
    ~PlanCheckCli() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    Outcome check(const std::string& file, const Lines& more = {}) {
        Lines argv{"plan", file, "--check"};
        argv.insert(argv.end(), more.begin(), more.end());
        return testsupport::runZemo(dir_, argv);
    }

    std::string writeFile(const std::string& name, const std::vector<int>& times, int kind = kKindShuffle) {
        TCddataArray array(static_cast<int>(times.size()) + 1);
        for (std::size_t i = 0; i < times.size(); ++i)
            array.put(static_cast<int>(i), makeCd(times[i], "CD" + std::to_string(i + 1)));
        const std::string path = (dir_ / name).string();
        EXPECT_EQ(writeDataFile(world_.ws, true, path, kind, array, static_cast<int>(times.size())), 0);
        return path;
    }

    std::string writeControl(const ShufControl& c) {
        world_.ws.control.shuffleBlock = c;
        EXPECT_EQ(saveControl(world_.ws), 0);
        return controlFilePath(world_.ws);
    }

    fs::path dir_;
    PlanWorld world_;
};

// The numbers after a label, and whether the line had exactly that form.
bool parseList(const std::string& line, const std::string& label, std::vector<int>& out) {
    out.clear();
    if (line == label) return true;
    if (line.rfind(label + " ", 0) != 0) return false;
    std::istringstream in(line.substr(label.size()));
    for (int x; in >> x;) out.push_back(x);
    std::string rebuilt = label;
    for (int x : out) rebuilt += " " + std::to_string(x);
    return rebuilt == line;
}

TEST_F(PlanCheckCli, PrintsTheWindowTheAnswerTheToleranceAndOnePlan) {
    // 5:00 and 3:20, a target of 5:00 with no tolerance: only CD 1 fills side A, and CD 2 is a
    // short side B with every CD on the tape.
    const std::string file = writeFile("P.ZMO", {300, 200});
    Outcome r = check(file, {"--target", "500", "--tolerance", "0"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "window: 300 300\nexists: yes\ntolerance: 0\nA: 1\nB: 2\nrest:\n");
    EXPECT_EQ(r.err, "");

    // No plan: three lines, the tolerance a plan would need (side A 5:00 + 3:20 = 8:20 for 8:10).
    r = check(file, {"--target", "810", "--tolerance", "5"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "window: 490 495\nexists: no\ntolerance: 10\n");

    // Plus and minus 5 s around 8:25: the same plan passes from below.
    r = check(file, {"--target", "825", "--plus-only", "0"});
    EXPECT_EQ(r.out, "window: 500 510\nexists: yes\ntolerance: 5\nA: 1 2\nB:\nrest:\n");
}

TEST_F(PlanCheckCli, ThreeHoursIsTheLastCheckedWindowAndTarget) {
    // Side A of 1:30:00 is CD 1 alone; CDs 2 and 3 make a short side B with every CD on the tape.
    const std::string window = writeFile("W.ZMO", {5400, 5300, 1});
    // Side A of 3:00:00 is CDs 1 and 2; CD 3 is a short side B.
    const std::string target = writeFile("T.ZMO", {5400, 5400, 1});
    struct Row {
        const std::string& file;
        Lines args;
        std::string out;
    };
    const Row rows[] = {
        // hi = 10800: checked; 10801: not, but the tolerance still is.
        {window, {"--target", "9000", "--tolerance", "9000"},
         "window: 5400 10800\nexists: yes\ntolerance: 0\nA: 1\nB: 2 3\nrest:\n"},
        {window, {"--target", "9000", "--tolerance", "9001"}, "window: 5400 10801\nexists: unchecked\ntolerance: 0\n"},
        // target 10800 is checked, 10801 is not.
        {target, {"--target", "18000", "--tolerance", "0"},
         "window: 10800 10800\nexists: yes\ntolerance: 0\nA: 1 2\nB: 3\nrest:\n"},
        {target, {"--target", "18000", "--tolerance", "0", "--plus-only", "0"},
         "window: 10800 10800\nexists: yes\ntolerance: 0\nA: 1 2\nB: 3\nrest:\n"},
        {target, {"--target", "18001", "--tolerance", "0"},
         "window: 10801 10801\nexists: unchecked\ntolerance: unchecked\n"},
    };
    for (const Row& row : rows) {
        const Outcome r = check(row.file, row.args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, row.out) << row.args[1] << " " << row.args[3];
    }
    // Side A has to be 10801 s or nothing: no tolerance within three hours makes it.
    const std::string longer = writeFile("M.ZMO", {10801});
    const Outcome r = check(longer, {"--target", "9000", "--tolerance", "0"});
    EXPECT_EQ(r.out, "window: 5400 5400\nexists: no\ntolerance: none\n");
}

TEST_F(PlanCheckCli, AnEmptyListIsNoErrorAndALowEndBelowZeroIsPrintedAsItIs) {
    const std::string file = writeFile("E.ZMO", {});
    Outcome r = check(file);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "window: 0 5\nexists: yes\ntolerance: 0\nA:\nB:\nrest:\n");

    // 1:00 plus and minus 2:00.
    r = check(file, {"--target", "100", "--tolerance", "200", "--plus-only", "0"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "window: -60 180\nexists: yes\ntolerance: 60\nA:\nB:\nrest:\n");

    // Plus only: an empty side A never reaches 1:00.
    r = check(file, {"--target", "100"});
    EXPECT_EQ(r.out, "window: 60 65\nexists: no\ntolerance: none\n");
}

TEST_F(PlanCheckCli, TakesEveryOptionOfPlanAndTheControlFilesSettings) {
    const std::string file = writeFile("O.ZMO", {612, 345, 1234, 433, 251, 900, 777, 120});
    ShufControl c = defaultShufControl();
    c.plusOnly = 0;
    c.tolerance = 3;
    c.targetSec = 1300;
    const std::string control = writeControl(c);
    const Outcome base = check(file, {"--control", control});
    EXPECT_EQ(base.status, 0);
    const Lines out = splitLines(base.out);
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[0], "window: 1297 1303");

    const Lines others[] = {
        {"--run", "7"},
        {"--action", "half"},
        {"--printout"},
        {"--start-a", "3", "--start-b", "2", "--no-optimise", "1", "--no-optimise-a", "1"},
        {"--reg-order-first", "1", "--force-start", "1", "--csv-layout", "1"},
        {"--home", dir_.string()},
    };
    for (const Lines& more : others) {
        Lines args{"--control", control};
        args.insert(args.end(), more.begin(), more.end());
        const Outcome r = check(file, args);
        EXPECT_EQ(r.status, 0) << more[0];
        EXPECT_EQ(r.out, base.out) << more[0];
    }
    // The overrides replace the control file's settings.
    const Outcome r = check(file, {"--control", control, "--target", "1000", "--tolerance", "10", "--plus-only", "1"});
    EXPECT_EQ(splitLines(r.out).at(0), "window: 600 610");
}

// The list holds 30 CDs: a 31st record of the file is not part of the check. Side A of 25:50 needs
// the 50-second CD, so with 30 CDs of 1:40 no plan exists.
TEST_F(PlanCheckCli, ThirtyCdsAreCheckedAndTheThirtyFirstIsNot) {
    std::vector<int> times(30, 100);
    const std::string thirty = writeFile("A30.ZMO", times, kKindCatalogue);
    times.push_back(50);
    const std::string thirtyOne = writeFile("A31.ZMO", times, kKindCatalogue);
    const Lines args = {"--target", "2550", "--tolerance", "0"};
    Outcome r = check(thirty, args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "window: 1550 1550\nexists: no\ntolerance: 50\n");
    r = check(thirtyOne, args);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "window: 1550 1550\nexists: no\ntolerance: 50\n");
    // With 30 CDs of which the last is 50 s, side A of 15 x 1:40 + 0:50 fills it.
    times.erase(times.begin());
    const std::string withShort = writeFile("B30.ZMO", times, kKindCatalogue);
    r = check(withShort, args);
    EXPECT_EQ(splitLines(r.out).at(1), "exists: yes");
}

TEST_F(PlanCheckCli, UsageErrorsAreThoseOfPlan) {
    const std::string file = writeFile("U.ZMO", {100});
    const Lines cases[] = {
        {"plan", "--check"},
        {"plan", file, "--check", "--run", "0"},
        {"plan", file, "--check", "--action", "shuffle"},
        {"plan", file, "--check", "--tolerance", "-1"},
        {"plan", file, "--check", "--target", "1000000"},
        {"plan", file, "--check", "--plus-only", "2"},
        {"plan", file, "--check", "--bogus"},
        {"plan", file, file, "--check"},
        {"plan", file, "--check", "--home", (dir_ / "nowhere").string()},
        {"label", file, "--check"},  // the check is plan's alone
    };
    for (const Lines& args : cases) {
        const Outcome r = testsupport::runZemo(dir_, args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_EQ(r.out, "");
    }
    const Outcome missing = check((dir_ / "missing.ZMO").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
}

TEST_F(PlanCheckCli, HelpNamesTheCheck) {
    const Outcome r = testsupport::runZemo(dir_, {"plan", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("[--check]"), std::string::npos);
    EXPECT_NE(r.out.find("  --check "), std::string::npos);
}

// Random lists: the lines have the contract's form, agree with the library, and the plan printed
// passes the printed window.
TEST_F(PlanCheckCli, RandomListsFollowTheContract) {
    std::mt19937 gen(1919);
    for (int round = 0; round < 12; ++round) {
        const int n = std::uniform_int_distribution<int>(0, 30)(gen);
        std::vector<int> times;
        for (int k = 0; k < n; ++k) times.push_back(std::uniform_int_distribution<int>(0, 420)(gen));
        const std::string file = writeFile("R" + std::to_string(round) + ".ZMO", times);
        const int targetMin = std::uniform_int_distribution<int>(0, 90)(gen);
        const int tol = std::uniform_int_distribution<int>(0, 10)(gen);
        const bool plusOnly = round % 3 != 0;
        const Outcome r = check(file, {"--target", std::to_string(targetMin * 100), "--tolerance", std::to_string(tol),
                                       "--plus-only", plusOnly ? "1" : "0"});
        SCOPED_TRACE(r.out);
        ASSERT_EQ(r.status, 0) << r.err;
        std::vector<std::int32_t> t32(times.begin(), times.end());
        std::int64_t total = 0;
        for (int x : times) total += x;
        const std::int32_t target = targetMin > 0 ? targetMin * 60 : static_cast<std::int32_t>(total / 2);
        const ExactResult lib = exactCheck(t32.data(), n, target, tol, plusOnly);
        const Lines out = splitLines(r.out);
        ASSERT_GE(out.size(), 3u);
        EXPECT_EQ(out[0], "window: " + std::to_string(lib.lo) + " " + std::to_string(lib.hi));
        const std::string answer = out[1].substr(0, 8) == "exists: " ? out[1].substr(8) : "";
        EXPECT_TRUE(answer == "yes" || answer == "no" || answer == "unchecked") << out[1];
        EXPECT_EQ(answer == "yes", lib.exists == ExactAnswer::Yes);
        EXPECT_EQ(out[2], "tolerance: " + (lib.toleranceFound == ExactAnswer::Yes ? std::to_string(lib.minTolerance)
                                           : lib.toleranceFound == ExactAnswer::No ? std::string("none")
                                                                                   : std::string("unchecked")));
        if (answer != "yes") {
            EXPECT_EQ(out.size(), 3u);
            continue;
        }
        ASSERT_EQ(out.size(), 6u);
        std::vector<int> a, b, rest;
        ASSERT_TRUE(parseList(out[3], "A:", a)) << out[3];
        ASSERT_TRUE(parseList(out[4], "B:", b)) << out[4];
        ASSERT_TRUE(parseList(out[5], "rest:", rest)) << out[5];
        std::vector<int> seen(static_cast<std::size_t>(n), 0);
        std::int64_t sumA = 0, sumB = 0;
        for (int x : a) sumA += times.at(static_cast<std::size_t>(x - 1)), ++seen[x - 1];
        for (int x : b) sumB += times.at(static_cast<std::size_t>(x - 1)), ++seen[x - 1];
        for (int x : rest) ++seen.at(static_cast<std::size_t>(x - 1));
        for (int k = 0; k < n; ++k) EXPECT_EQ(seen[k], 1);
        EXPECT_TRUE(std::is_sorted(a.begin(), a.end()) && std::is_sorted(b.begin(), b.end()) &&
                    std::is_sorted(rest.begin(), rest.end()));
        EXPECT_TRUE(lib.lo <= sumA && sumA <= lib.hi);
        EXPECT_TRUE((lib.lo <= sumB && sumB <= lib.hi) || (sumB < lib.lo && rest.empty()));
    }
}

}  // namespace
}  // namespace zemo::test
