// SPDX-License-Identifier: GPL-3.0-or-later
// One running copy: the guard in the user's runtime folder, and the lock of the program folder,
// in the process and with real copies of the program started as two computers would start them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gui/dialogs_support.h"
#include "shell/program_lock.h"
#include "shell/ui/single_instance.h"
#include "support/cli_run.h"
#include "support/scripted_prompter.h"
#include "support/lock_files.h"
#include "support/temp_dir.h"

namespace zemo::ui {
namespace {

namespace fs = std::filesystem;
using testsupport::deadPid;
using testsupport::setMtime;
using testsupport::writeFile;
using testsupport::lockText;
using testsupport::snapshot;
using testsupport::runZemo;
using testsupport::slurp;
using testsupport::TempDir;

const std::string kInUse = "ﾌﾟﾛｸﾞﾗﾑﾌｫﾙﾀﾞは他のZemoplanが使用中です！";
const std::string kTakeOver = "使用中を解除して起動しますか？";


std::time_t mtimeOf(const fs::path& p) {
    struct stat st {};
    ::stat(p.c_str(), &st);
    return st.st_mtime;
}

std::string userName() { return ::getpwuid(::getuid())->pw_name; }

// A lock of this test process, which runs.
std::string ownLock() {
    return lockText(::getpid(), fs::read_symlink("/proc/self/exe").filename().string(), thisMachine());
}
const ThisMachine kOtherComputer{"counter2", "ffffffffffffffffffffffffffffffff", "boot"};

// ---- the program folder's lock, in the process ----

class ProgramFolderLockTest : public ::testing::Test {
protected:
    fs::path lockPath() const { return home_.path() / "ZEMOPLAN.LCK"; }
    std::string holderLines(const std::string& host, std::time_t since) const {
        return home_.str() + "\n使用者: " + userName() + "\nｺﾝﾋﾟｭｰﾀ: " + host + "\n開始: " + formatLockTime(since);
    }

    TempDir home_{"zemo-folderlock"};
    ScriptedPrompter prompter_;
};

TEST_F(ProgramFolderLockTest, AFreeFolderIsHeldForTheRunWithoutAWord) {
    {
        ProgramFolderLock lock(home_.path());
        EXPECT_EQ(lock.path(), lockPath());
        ASSERT_EQ(lock.acquire(prompter_), ProgramFolderLock::Outcome::Held);
        EXPECT_TRUE(lock.held());
        const LockHolder h = readLock(lockPath());
        EXPECT_EQ(h.state, LockState::Held);  // as another copy or `zemo` sees it
        EXPECT_EQ(h.record.pid, ::getpid());
        EXPECT_TRUE(h.here);
        EXPECT_TRUE(prompter_.boxes.empty());
    }
    EXPECT_FALSE(fs::exists(lockPath()));  // released at the end
}

TEST_F(ProgramFolderLockTest, ARunningCopyOfThisComputerRefusesTheSecondNamingItsHolder) {
    writeFile(lockPath(), ownLock());
    ASSERT_TRUE(setMtime(lockPath(), 1700000000));
    const std::string bytes = slurp(lockPath());
    ProgramFolderLock lock(home_.path());
    EXPECT_EQ(lock.acquire(prompter_), ProgramFolderLock::Outcome::Refused);
    EXPECT_FALSE(lock.held());
    ASSERT_EQ(prompter_.boxes.size(), 1u);
    EXPECT_EQ(prompter_.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(prompter_.boxes[0].buttons, Buttons::Ok);
    EXPECT_EQ(prompter_.boxes[0].text,
              kInUse + "\n" + holderLines(thisMachine().host, 1700000000) + "\nシステムを終了します。");
    EXPECT_EQ(slurp(lockPath()), bytes);
    EXPECT_EQ(mtimeOf(lockPath()), 1700000000);
}

TEST_F(ProgramFolderLockTest, ALockLeftByACopyOfThisComputerThatIsGoneIsTakenOver) {
    for (const std::string& left : {lockText(deadPid(), "zemoplan", thisMachine()), std::string(""),
                                    std::string("garbage\n")}) {
        SCOPED_TRACE(left);
        writeFile(lockPath(), left);
        ProgramFolderLock lock(home_.path());
        ASSERT_EQ(lock.acquire(prompter_), ProgramFolderLock::Outcome::Held);
        EXPECT_EQ(readLock(lockPath()).record.pid, ::getpid());
        EXPECT_TRUE(prompter_.boxes.empty());
    }
}

TEST_F(ProgramFolderLockTest, ALockThatNamesNoProcessButIsKeptLockedRefuses) {
    writeFile(lockPath(), "");
    ASSERT_TRUE(setMtime(lockPath(), 1700000000));
    const int fd = ::open(lockPath().c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);  // a copy writing it, and never finishing
    ProgramFolderLock lock(home_.path());
    EXPECT_EQ(lock.acquire(prompter_), ProgramFolderLock::Outcome::Refused);
    ::close(fd);
    ASSERT_EQ(prompter_.boxes.size(), 1u);
    EXPECT_EQ(prompter_.boxes[0].text, kInUse + "\n" + holderLines("不明", 1700000000) + "\nシステムを終了します。");
    EXPECT_TRUE(fs::exists(lockPath()));
}

TEST_F(ProgramFolderLockTest, AnotherComputersLockIsOfferedOnlyWhenOlderThanADay) {
    const std::time_t now = 1800000000;
    struct Case {
        std::time_t age;
        std::optional<Answer> answer;  // the question's answer; none when no question comes
        ProgramFolderLock::Outcome outcome;
    };
    const Case cases[] = {
        {60, std::nullopt, ProgramFolderLock::Outcome::Refused},
        {kForeignLockAge, std::nullopt, ProgramFolderLock::Outcome::Refused},
        {kForeignLockAge + 1, Answer::No, ProgramFolderLock::Outcome::Refused},
        {kForeignLockAge + 1, Answer::Yes, ProgramFolderLock::Outcome::Held},
        {30 * kForeignLockAge, Answer::Yes, ProgramFolderLock::Outcome::Held},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.age) + (c.answer ? (*c.answer == Answer::Yes ? " yes" : " no") : ""));
        prompter_.clear();
        writeFile(lockPath(), lockText(4242, "zemoplan", kOtherComputer));
        ASSERT_TRUE(setMtime(lockPath(), now - c.age));
        const std::string bytes = slurp(lockPath());
        if (c.answer) prompter_.answers.push_back(*c.answer);
        ProgramFolderLock lock(home_.path());
        EXPECT_EQ(lock.acquire(prompter_, now), c.outcome);
        ASSERT_EQ(prompter_.boxes.size(), 1u);
        const std::string lines = holderLines("counter2", now - c.age);
        if (c.answer) {
            EXPECT_EQ(prompter_.boxes[0].kind, BoxKind::Confirmation);
            EXPECT_EQ(prompter_.boxes[0].buttons, Buttons::YesNoDefaultNo);
            EXPECT_EQ(prompter_.boxes[0].text,
                      kInUse + "\n" + lines +
                          "\n1日以上前からの使用です。そのｺﾝﾋﾟｭｰﾀのZemoplanが終了していることを確かめてください。\n" +
                          kTakeOver);
        } else {
            EXPECT_EQ(prompter_.boxes[0].kind, BoxKind::Error);
            EXPECT_EQ(prompter_.boxes[0].text, kInUse + "\n" + lines + "\nシステムを終了します。");
        }
        if (c.outcome == ProgramFolderLock::Outcome::Held) {
            EXPECT_EQ(readLock(lockPath()).record.pid, ::getpid());
        } else {
            EXPECT_EQ(slurp(lockPath()), bytes);
            EXPECT_EQ(mtimeOf(lockPath()), now - c.age);
        }
    }
}

TEST_F(ProgramFolderLockTest, WhereNoLockCanBeMadeTheProgramRunsWithout) {
    writeFile(home_.path() / "file", "");
    ProgramFolderLock lock(home_.path() / "file");  // no folder to make it in
    EXPECT_EQ(lock.acquire(prompter_), ProgramFolderLock::Outcome::NoLock);
    EXPECT_FALSE(lock.held());
    EXPECT_TRUE(prompter_.boxes.empty());
}

// ---- the guard, in the process ----

class GuardTest : public ::testing::Test {
protected:
    QString folder() const { return QString::fromStdString(run_.str()); }
    fs::path guardLock() const { return run_.path() / (kMutexName.toStdString() + ".lock"); }
    TempDir run_{"zemo-guard"};  // 0700, as a runtime folder is
    ScriptedPrompter prompter_;
};

TEST_F(GuardTest, ItLivesInThePrivateRuntimeFolder) {
    const std::optional<std::string> old =
        std::getenv("XDG_RUNTIME_DIR") ? std::optional<std::string>(std::getenv("XDG_RUNTIME_DIR")) : std::nullopt;
    ::setenv("XDG_RUNTIME_DIR", run_.str().c_str(), 1);
    SingleInstance guard;
    EXPECT_EQ(guard.folder(), folder());
    EXPECT_EQ(guard.lockPath().toStdString(), guardLock().string());
    EXPECT_EQ(guard.socketPath().toStdString(), (run_.path() / "WZEMO32 Double StandUp Stopper").string());
    if (old) ::setenv("XDG_RUNTIME_DIR", old->c_str(), 1);
    else ::unsetenv("XDG_RUNTIME_DIR");
}

TEST_F(GuardTest, ALockThatNamesNoLiveCopyIsTakenOver) {
    for (const std::string& left : {std::string(""), std::string("garbage"), std::string("\n\n"),
                                    lockText(deadPid(), "zemoplan", thisMachine())}) {
        SCOPED_TRACE(left);
        writeFile(guardLock(), left);
        SingleInstance guard(folder(), nullptr);
        EXPECT_EQ(guard.acquire(), SingleInstance::Outcome::First);
        EXPECT_EQ(readLock(guardLock()).record.pid, ::getpid());
        EXPECT_EQ(guard.report(SingleInstance::Outcome::First, prompter_), -1);
    }
    EXPECT_TRUE(prompter_.boxes.empty());
}

TEST_F(GuardTest, ACopyThatHoldsTheLockButDoesNotAnswerIsToldAndEndsTheStart) {
    writeFile(guardLock(), ownLock());  // alive, and no socket
    SingleInstance guard(folder(), nullptr);
    const SingleInstance::Outcome outcome = guard.acquire();
    ASSERT_EQ(outcome, SingleInstance::Outcome::NoAnswer);
    EXPECT_EQ(guard.report(outcome, prompter_), 1);
    ASSERT_EQ(prompter_.boxes.size(), 1u);
    EXPECT_EQ(prompter_.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(prompter_.boxes[0].text, "Zemoplanは既に起動していますが、応答がありません！\nﾌﾟﾛｾｽ: " +
                                           std::to_string(::getpid()) + "\nシステムを終了します。");
}

TEST_F(GuardTest, RaisedEndsQuietlyAndNoGuardRunsOn) {
    SingleInstance first(folder(), nullptr);
    ASSERT_EQ(first.acquire(), SingleInstance::Outcome::First);
    SingleInstance second(folder(), nullptr);
    const SingleInstance::Outcome raised = second.acquire();
    EXPECT_EQ(raised, SingleInstance::Outcome::Raised);
    EXPECT_EQ(second.report(raised, prompter_), 0);
    SingleInstance none(QString(), nullptr);
    const SingleInstance::Outcome unguarded = none.acquire();
    EXPECT_EQ(unguarded, SingleInstance::Outcome::NoGuard);
    EXPECT_EQ(none.report(unguarded, prompter_), -1);
    EXPECT_TRUE(prompter_.boxes.empty());
}

// ---- real copies of the program on one program folder, as two computers ----

class TwoCopiesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(program_)) << "build the zemoplan target first";
        ASSERT_EQ(runZemo(tmp_.path(), {"init", "--home", home_.string()}).status, 0);
        std::ofstream(tmp_.path() / "in.csv") << "barcode,title\r\n4988001,Blue\r\n";
    }
    void TearDown() override {
        for (auto& p : runs_) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(30000);
            }
        }
    }

    // A computer of its own: its runtime and temporary folder.
    fs::path computer(int n) {
        const fs::path dir = tmp_.path() / ("computer" + std::to_string(n));
        if (!fs::exists(dir)) {
            fs::create_directory(dir);
            fs::permissions(dir, fs::perms::owner_all);
        }
        return dir;
    }

    QProcess& start(int n) {
        runs_.push_back(std::make_unique<QProcess>());
        QProcess& run = *runs_.back();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("ZEMOPLAN_HOME");
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString(computer(n).string()));
        env.insert("TMPDIR", QString::fromStdString(computer(n).string()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        run.setProcessEnvironment(env);
        run.start(QString::fromStdString(program_.string()), {"--home", QString::fromStdString(home_.string())});
        EXPECT_TRUE(run.waitForStarted(30000));
        return run;
    }

    // Up: its guard listens and the program folder's lock is its own.
    bool waitUntilUp(QProcess& run, int n) {
        const fs::path socket = computer(n) / kMutexName.toStdString();
        for (int i = 0; i < 1200; ++i) {
            if (run.state() == QProcess::NotRunning) return false;
            if (fs::exists(socket) && readLock(lock()).record.pid == run.processId()) return true;
            QTest::qWait(50);
        }
        return false;
    }

    // The stderr of run once it holds needle (or run has ended, or a generous while has passed).
    std::string waitForStderr(QProcess& run, const std::string& needle) {
        std::string err;
        for (int i = 0; i < 600 && err.find(needle) == std::string::npos; ++i) {
            run.waitForReadyRead(100);
            err += run.readAllStandardError().toStdString();
            if (run.state() == QProcess::NotRunning) {
                err += run.readAllStandardError().toStdString();
                break;
            }
        }
        return err;
    }

    int endWith(QProcess& run, int sig) {
        ::kill(static_cast<pid_t>(run.processId()), sig);
        EXPECT_TRUE(run.waitForFinished(60000));
        return run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1;
    }

    fs::path lock() const { return home_ / "ZEMOPLAN.LCK"; }

    TempDir tmp_{"zemo-twocopies"};
    const fs::path home_ = tmp_.path() / "home";
    const fs::path program_ = (QCoreApplication::applicationDirPath() + "/zemoplan").toStdString();
    std::vector<std::unique_ptr<QProcess>> runs_;
};

TEST_F(TwoCopiesTest, TheSecondCopyRefusesNamingTheFirstAndWritesNothing) {
    QProcess& first = start(1);
    ASSERT_TRUE(waitUntilUp(first, 1)) << first.readAllStandardError().toStdString();
    const std::time_t since = mtimeOf(lock());
    const auto before = snapshot(home_);

    QProcess& second = start(2);
    const std::string err = waitForStderr(second, "システムを終了します。");
    EXPECT_NE(err.find("zemoplan: " + kInUse + "\n  " + home_.string() + "\n  使用者: " + userName() +
                       "\n  ｺﾝﾋﾟｭｰﾀ: " + thisMachine().host + "\n  開始: " + formatLockTime(since) +
                       "\n  システムを終了します。"),
              std::string::npos)
        << err;
    EXPECT_EQ(second.state(), QProcess::Running);  // the box waits for its OK
    EXPECT_EQ(endWith(second, SIGTERM), 1);        // closed as its OK: the refused start ends

    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(readLock(lock()).record.pid, first.processId());
    EXPECT_EQ(snapshot(home_), before);
    EXPECT_FALSE(fs::exists(computer(2) / kMutexName.toStdString()));  // its own guard is gone with it

    // While the first runs, the tool does not write the program's files either; elsewhere it does.
    auto r = runZemo(tmp_.path(), {"init", "--home", home_.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is in use by zemoplan, user " + userName()), std::string::npos) << r.err;
    const std::string csv = (tmp_.path() / "in.csv").string();
    const std::string inWork = (home_ / "CD_SYS" / "NEW.ZMO").string();
    r = runZemo(tmp_.path(), {"import", csv, "-o", inWork, "--home", home_.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("(process " + std::to_string(first.processId()) + ")"), std::string::npos) << r.err;
    r = runZemo(tmp_.path(), {"import", csv, "-o", (tmp_.path() / "SHOP.ZMO").string(), "--home", home_.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(snapshot(home_), before);

    EXPECT_EQ(endWith(first, SIGTERM), 0);
    EXPECT_FALSE(fs::exists(lock()));
    EXPECT_EQ(runZemo(tmp_.path(), {"init", "--home", home_.string()}).status, 0);
    r = runZemo(tmp_.path(), {"import", csv, "-o", inWork, "--home", home_.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(inWork));
}

TEST_F(TwoCopiesTest, ACrashedCopysLockIsTakenOverByTheNext) {
    QProcess& first = start(1);
    ASSERT_TRUE(waitUntilUp(first, 1)) << first.readAllStandardError().toStdString();
    EXPECT_EQ(endWith(first, SIGKILL), -1);
    ASSERT_TRUE(fs::exists(lock()));  // left behind

    QProcess& second = start(2);
    ASSERT_TRUE(waitUntilUp(second, 2)) << second.readAllStandardError().toStdString();
    EXPECT_EQ(endWith(second, SIGTERM), 0);
    EXPECT_TRUE(fs::exists(home_ / "WZEMO.INI"));  // it ran and closed as End does
}

TEST_F(TwoCopiesTest, AnOldLockOfAnotherComputerIsOfferedAndKeptWhenNotTakenOver) {
    writeFile(lock(), lockText(4242, "zemoplan", kOtherComputer));
    ASSERT_TRUE(setMtime(lock(), std::time(nullptr) - 3 * kForeignLockAge));
    const auto before = snapshot(home_);
    QProcess& run = start(1);
    const std::string err = waitForStderr(run, kTakeOver);
    EXPECT_NE(err.find("ｺﾝﾋﾟｭｰﾀ: counter2"), std::string::npos) << err;
    EXPECT_NE(err.find(kTakeOver), std::string::npos) << err;
    EXPECT_EQ(endWith(run, SIGTERM), 1);  // closed as its No
    EXPECT_EQ(snapshot(home_), before);
}

// An empty or garbage lock of the guard (a crash while it was made) once made every later start
// end after a while, showing nothing. Planted where the guard lives now and where it lived before.
TEST_F(TwoCopiesTest, AnEmptyOrGarbageGuardLockDoesNotStopTheStart) {
    int n = 1;
    for (const std::string& left : {std::string(""), std::string("garbage\n")}) {
        SCOPED_TRACE(left);
        const fs::path where = computer(n);
        writeFile(where / (kMutexName.toStdString() + ".lock"), left);
        writeFile(where / (kMutexName.toStdString() + "-" + std::to_string(::getuid()) + ".lock"), left);
        QProcess& run = start(n);
        ASSERT_TRUE(waitUntilUp(run, n)) << run.readAllStandardError().toStdString();
        EXPECT_EQ(endWith(run, SIGTERM), 0);
        ++n;
    }
}

}  // namespace
}  // namespace zemo::ui
