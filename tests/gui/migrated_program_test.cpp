// SPDX-License-Identifier: GPL-3.0-or-later
// A shop's old folder moved in with `zemo migrate`, then the real program started on the new
// program folder as the shop starts it: no question on the way, and the catalogue window shows
// every record of the old catalogue. The program is looked into by the window probe it preloads.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "gui/dialogs_support.h"
#include "platform/clock.h"
#include "platform/sjis.h"
#include "records/data_ops.h"
#include "support/cli_run.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace zemo::ui {
namespace {

namespace fs = std::filesystem;
using testsupport::runZemo;
using testsupport::slurp;
using testsupport::splitLines;

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        out.push_back(line.substr(start, tab - start));
    out.push_back(line.substr(start));
    return out;
}

// The barcodes of a data file as the program's reader gives them.
std::vector<std::string> barcodesOf(const fs::path& file) {
    ScriptedPrompter p;
    Workspace ws(p, systemClock(), file.parent_path());
    TCddataArray array(1001);
    int loaded = 0, count = 0;
    skipKindCheckOnce(ws);
    EXPECT_EQ(readDataFile(ws, file.string(), 1, array, loaded, count, 1000), DataFileRead::Ok);
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.push_back(sjisToUtf8(fieldText(array[i].barcode)));
    return out;
}

class MigratedProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(program_)) << "build the zemoplan target first";
        ASSERT_TRUE(fs::exists(ZEMO_WINDOW_PROBE)) << "build the zemo_window_probe target first";
        fs::copy(std::string(ZEMO_TEST_DATA) + "/migrate", tmp_.path() / "shop", fs::copy_options::recursive);
        fs::create_directories(sockets_);
        fs::permissions(sockets_, fs::perms::owner_all);  // private, as a runtime folder is
    }

    // What the probe saw in the program started on folder, keyed by the first field of its lines.
    std::multimap<std::string, std::vector<std::string>> startAndLook(const fs::path& folder) {
        const fs::path out = tmp_.path() / "probe.txt";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("ZEMOPLAN_HOME");
        env.insert("HOME", QString::fromStdString((tmp_.path() / "home").string()));
        env.insert("TMPDIR", QString::fromStdString(sockets_.string()));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(sockets_.string()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("LD_PRELOAD", ZEMO_WINDOW_PROBE);
        env.insert("ZEMO_PROBE_OUT", QString::fromStdString(out.string()));
        // A sanitized program wants its runtime first; the probe comes before it.
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        QProcess run;
        run.setProcessEnvironment(env);
        run.start(QString::fromStdString(program_.string()), {"--home", QString::fromStdString(folder.string())});
        EXPECT_TRUE(run.waitForStarted(30000));
        for (int i = 0; i < 1200 && !fs::exists(out) && run.state() == QProcess::Running; ++i) QTest::qWait(50);
        const std::string err = run.readAllStandardError().toStdString();
        run.kill();
        run.waitForFinished(30000);
        EXPECT_TRUE(fs::exists(out)) << "the probe saw nothing; the program said: " << err;
        std::multimap<std::string, std::vector<std::string>> seen;
        for (const std::string& line : splitLines(slurp(out))) {
            std::vector<std::string> f = fields(line);
            const std::string key = f.front();
            f.erase(f.begin());
            seen.emplace(key, f);
        }
        return seen;
    }

    testsupport::TempDir tmp_{"zemo-migrated"};
    const fs::path sockets_ = tmp_.path() / "sockets";
    const fs::path program_ = (QCoreApplication::applicationDirPath() + "/zemoplan").toStdString();
};

TEST_F(MigratedProgramTest, TheProgramStartsOnTheNewFolderWithoutAQuestionAndShowsTheOldCatalogue) {
    const fs::path old = tmp_.path() / "shop" / "ZEMO";
    const fs::path neu = tmp_.path() / "new";
    fs::remove(old / "cd_sys" / "HAIBAN.ZMO");  // the fixture's cut-short list would be refused
    const auto migrated = runZemo(tmp_.path(), {"migrate", old.string(), "--home", neu.string()});
    ASSERT_EQ(migrated.status, 0) << migrated.out << migrated.err;
    ASSERT_TRUE(fs::exists(neu / "CD_SYS" / "CD_DATA.ZMO")) << migrated.out << migrated.err;

    const auto seen = startAndLook(neu);
    ASSERT_EQ(seen.count("box"), 0u) << seen.find("box")->second.at(0);
    ASSERT_EQ(seen.count("rows"), 1u);
    // The old control file's database size of 2 came along: 1000 rows.
    EXPECT_EQ(seen.find("rows")->second.at(0), "1000");

    const std::vector<std::string> expected = barcodesOf(old / "cd_sys" / "cd_data.zmo");
    ASSERT_EQ(expected.size(), 6u);
    EXPECT_EQ(seen.find("records")->second.at(0), std::to_string(expected.size()));
    std::vector<std::string> shown;
    for (auto [it, end] = seen.equal_range("record"); it != end; ++it) shown.push_back(it->second.at(1));
    std::vector<std::string> sortedExpected = expected;
    std::sort(shown.begin(), shown.end());
    std::sort(sortedExpected.begin(), sortedExpected.end());
    EXPECT_EQ(shown, sortedExpected);
}

// The probe itself: a folder that was never migrated starts with the first-start question, and
// the probe reports it rather than a catalogue.
TEST_F(MigratedProgramTest, AnEmptyFolderStartsWithTheFirstStartQuestion) {
    const fs::path empty = tmp_.path() / "empty";
    fs::create_directory(empty);
    const auto seen = startAndLook(empty);
    ASSERT_EQ(seen.count("box"), 1u);
    EXPECT_NE(seen.find("box")->second.at(0).find("ｼｽﾃﾑｺﾝﾄﾛｰﾙﾌｧｲﾙがありません。作成します。"), std::string::npos);
    EXPECT_EQ(seen.count("rows"), 0u);
}

}  // namespace
}  // namespace zemo::ui
