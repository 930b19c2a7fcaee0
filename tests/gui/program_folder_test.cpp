// SPDX-License-Identifier: GPL-3.0-or-later
// The real program started without options, as a menu entry starts it: where it works.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "gui/dialogs_support.h"
#include "platform/clock.h"
#include "records/control_file.h"
#include "shell/ui/single_instance.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace zemo::ui {
namespace {

namespace fs = std::filesystem;

class ProgramStartTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::exists(program_)) << "build the zemoplan target first"; }

    // The environment of a user session: no ZEMOPLAN_HOME, its own socket folder, no screen.
    QProcessEnvironment session() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("ZEMOPLAN_HOME");
        env.remove("XDG_DATA_HOME");
        env.insert("HOME", QString::fromStdString(tmp_.str("home")));
        env.insert("TMPDIR", QString::fromStdString(sockets_.string()));
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(sockets_.string()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        return env;
    }

    static void writeControl(const fs::path& dir) {
        fs::create_directories(dir);
        ScriptedPrompter p;
        Workspace ws(p, systemClock(), dir);
        initControlDefaults(ws);
        ASSERT_EQ(saveControl(ws), 0);
    }

    bool waitFor(const fs::path& p) {
        for (int i = 0; i < 1200 && !fs::exists(p); ++i) QTest::qWait(50);
        return fs::exists(p);
    }

    // Starts the program without options, waits until it is up and ends it as the session's end does.
    void runUntilTerminated(const fs::path& program, const QProcessEnvironment& env) {
        QProcess run;
        run.setProcessEnvironment(env);
        run.start(QString::fromStdString(program.string()), {});
        ASSERT_TRUE(run.waitForStarted(30000));
        ASSERT_TRUE(waitFor(sockets_ / kMutexName.toStdString())) << run.readAllStandardError().toStdString();
        ::kill(static_cast<pid_t>(run.processId()), SIGTERM);
        ASSERT_TRUE(run.waitForFinished(60000));
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    }

    testsupport::TempDir tmp_{"zemo-progstart"};
    const fs::path sockets_ = [this] {
        fs::create_directories(tmp_.path() / "sockets");
        fs::permissions(tmp_.path() / "sockets", fs::perms::owner_all);  // private, as a runtime folder is
        return tmp_.path() / "sockets";
    }();
    const fs::path program_ = (QCoreApplication::applicationDirPath() + "/zemoplan").toStdString();
};

TEST_F(ProgramStartTest, WithoutAControlFileBesideItItMakesTheUsersDataFolderAndAsksThere) {
    ASSERT_FALSE(fs::exists(program_.parent_path() / "ZEMOCTRL.DAT"));
    const fs::path data = tmp_.path() / "data";
    QProcessEnvironment env = session();
    env.insert("XDG_DATA_HOME", QString::fromStdString(data.string()));
    QProcess run;
    run.setProcessEnvironment(env);
    run.start(QString::fromStdString(program_.string()), {});
    ASSERT_TRUE(run.waitForStarted(30000));
    // The folder is made before the first-start question, which then waits for an answer.
    EXPECT_TRUE(waitFor(data / "zemoplan")) << run.readAllStandardError().toStdString();
    QTest::qWait(500);
    EXPECT_EQ(run.state(), QProcess::Running) << run.readAllStandardError().toStdString();
    run.kill();
    run.waitForFinished(30000);
    struct stat st {};
    ASSERT_EQ(::stat((data / "zemoplan").c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_FALSE(fs::exists(data / "zemoplan" / "ZEMOCTRL.DAT"));  // not answered
    EXPECT_FALSE(fs::exists(program_.parent_path() / "ZEMOCTRL.DAT"));
    EXPECT_FALSE(fs::exists(tmp_.path() / "home" / ".local"));
}

TEST_F(ProgramStartTest, WithXdgDataHomeUnsetItWorksUnderHome) {
    const fs::path folder = tmp_.path() / "home" / ".local" / "share" / "zemoplan";
    writeControl(folder);
    runUntilTerminated(program_, session());
    EXPECT_TRUE(fs::exists(folder / "WZEMO.INI"));
    EXPECT_FALSE(fs::exists(program_.parent_path() / "WZEMO.INI"));
}

TEST_F(ProgramStartTest, AControlFileBesideTheExecutableKeepsTheProgramWithItsData) {
    const fs::path shop = tmp_.path() / "shop";
    writeControl(shop);
    fs::copy_file(program_, shop / "zemoplan");
    QProcessEnvironment env = session();
    env.insert("XDG_DATA_HOME", QString::fromStdString(tmp_.str("data")));
    runUntilTerminated(shop / "zemoplan", env);
    EXPECT_TRUE(fs::exists(shop / "WZEMO.INI"));
    EXPECT_FALSE(fs::exists(tmp_.path() / "data"));
}

TEST_F(ProgramStartTest, ZemoplanHomeStillWinsAndIsNeverMade) {
    QProcessEnvironment env = session();
    env.insert("ZEMOPLAN_HOME", QString::fromStdString(tmp_.str("missing")));
    QProcess run;
    run.setProcessEnvironment(env);
    run.start(QString::fromStdString(program_.string()), {});
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(run.exitCode(), 2);
    EXPECT_NE(run.readAllStandardError().toStdString().find("missing does not exist"), std::string::npos);
    EXPECT_FALSE(fs::exists(tmp_.path() / "missing"));
    EXPECT_FALSE(fs::exists(tmp_.path() / "home" / ".local"));
}

}  // namespace
}  // namespace zemo::ui
