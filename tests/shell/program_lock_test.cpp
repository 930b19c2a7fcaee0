// SPDX-License-Identifier: GPL-3.0-or-later
// The program folder's lock read without Qt, and the guard's private runtime folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shell/program_lock.h"
#include "support/lock_files.h"
#include "support/temp_dir.h"

namespace zemo {
namespace {

namespace fs = std::filesystem;
using testsupport::deadPid;
using testsupport::setMtime;
using testsupport::writeFile;
using testsupport::lockText;
using testsupport::TempDir;


std::string ownExeName() { return fs::read_symlink("/proc/self/exe").filename().string(); }

const ThisMachine kHere{"counter1", "0123456789abcdef0123456789abcdef", "11111111-2222-3333-4444-555555555555"};

TEST(LockRecord, ParsesWhatQLockFileWritesAndRefusesWhatNamesNoProcess) {
    struct Case {
        const char* text;
        bool ok;
        long long pid;
        const char* app;
        const char* host;
        const char* machineId;
    };
    const Case cases[] = {
        {"4242\nzemoplan\ncounter1\nabcd\nboot\n", true, 4242, "zemoplan", "counter1", "abcd"},
        {"17\nzemoplan\ncounter2\n", true, 17, "zemoplan", "counter2", ""},  // before Qt 5.10: three lines
        {"17", true, 17, "", "", ""},                                          // cut after the pid
        {"", false, 0, "", "", ""},                                            // made, never written
        {"\n\n\n", false, 0, "", "", ""},
        {"garbage\nzemoplan\n", false, 0, "", "", ""},
        {"12ab\nzemoplan\n", false, 0, "", "", ""},
        {"0\nzemoplan\nhost\n", false, 0, "", "", ""},
        {"-5\nzemoplan\nhost\n", false, 0, "", "", ""},
        {"99999999999999999999\nzemoplan\n", false, 0, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        LockRecord r;
        ASSERT_EQ(parseLockRecord(c.text, r), c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(r.pid, c.pid);
        EXPECT_EQ(r.app, c.app);
        EXPECT_EQ(r.host, c.host);
        EXPECT_EQ(r.machineId, c.machineId);
    }
}

TEST(LockRecord, ThisMachineIsTheMachineIdWhenBothHaveOneElseTheHostName) {
    struct Case {
        const char* host;
        const char* machineId;
        bool here;
    };
    const Case cases[] = {
        {"counter1", "0123456789abcdef0123456789abcdef", true},
        {"counter2", "0123456789abcdef0123456789abcdef", true},   // renamed, same machine
        {"counter1", "ffffffffffffffffffffffffffffffff", false},  // same name, another machine
        {"counter1", "", true},
        {"counter2", "", false},
        {"", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.host) + "/" + c.machineId);
        LockRecord r{1, "zemoplan", c.host, c.machineId, ""};
        EXPECT_EQ(recordedHere(r, kHere), c.here);
    }
    ThisMachine noId = kHere;
    noId.machineId.clear();
    EXPECT_FALSE(recordedHere({1, "zemoplan", "counter2", "0123456789abcdef0123456789abcdef", ""}, noId));
}

TEST(LockRecord, AProcessRunsWhenItIsThereUnderTheRecordedName) {
    EXPECT_TRUE(processRunning(::getpid(), ownExeName()));
    EXPECT_TRUE(processRunning(::getpid(), "/some/folder/" + ownExeName()));
    EXPECT_TRUE(processRunning(::getpid(), ""));
    EXPECT_FALSE(processRunning(::getpid(), "zemoplan-not-this"));  // a reused pid
    EXPECT_FALSE(processRunning(deadPid(), ownExeName()));
    EXPECT_FALSE(processRunning(0, ""));
    EXPECT_FALSE(processRunning(-1, ""));
}

class ReadLockTest : public ::testing::Test {
protected:
    fs::path lock() const { return folderLockPath(tmp_.path()); }
    ThisMachine me_ = thisMachine();
    TempDir tmp_{"zemo-lockread"};
};

TEST_F(ReadLockTest, TheLockIsZemoplanLckInTheProgramFolder) {
    EXPECT_EQ(folderLockPath("/shop/zemo"), fs::path("/shop/zemo/ZEMOPLAN.LCK"));
}

TEST_F(ReadLockTest, NoFileIsFree) {
    const LockHolder h = readLock(lock(), me_);
    EXPECT_EQ(h.state, LockState::Free);
    EXPECT_FALSE(folderHolder(tmp_.path()).has_value());
}

TEST_F(ReadLockTest, ARunningCopyHereHoldsItAndIsNamed) {
    writeFile(lock(), lockText(::getpid(), ownExeName(), me_));
    ASSERT_TRUE(setMtime(lock(), 1700000000));
    const LockHolder h = readLock(lock(), me_);
    EXPECT_EQ(h.state, LockState::Held);
    EXPECT_TRUE(h.readable);
    EXPECT_TRUE(h.here);
    EXPECT_EQ(h.record.pid, ::getpid());
    EXPECT_EQ(h.user, ::getpwuid(::getuid())->pw_name);  // the file's owner
    EXPECT_EQ(h.since, 1700000000);
    ASSERT_TRUE(folderHolder(tmp_.path()).has_value());
    EXPECT_EQ(describeHolder(h), "user " + h.user + " on computer " + me_.host + " since " +
                                     formatLockTime(1700000000) + " (process " + std::to_string(::getpid()) + ")");
}

TEST_F(ReadLockTest, ACopyHereThatIsGoneOrRanBeforeTheLastBootIsStale) {
    writeFile(lock(), lockText(deadPid(), ownExeName(), me_));
    EXPECT_EQ(readLock(lock(), me_).state, LockState::Stale);
    EXPECT_FALSE(folderHolder(tmp_.path()).has_value());

    writeFile(lock(), lockText(::getpid(), "another-program", me_));  // its pid reused
    EXPECT_EQ(readLock(lock(), me_).state, LockState::Stale);

    ThisMachine before = me_;
    before.bootId = "99999999-2222-3333-4444-555555555555";
    writeFile(lock(), lockText(::getpid(), ownExeName(), before));
    EXPECT_EQ(readLock(lock(), me_).state, LockState::Stale);
}

TEST_F(ReadLockTest, ACopyOnAnotherComputerHoldsItWhateverItsPid) {
    ThisMachine other{"counter2", "ffffffffffffffffffffffffffffffff", "boot"};
    writeFile(lock(), lockText(deadPid(), "zemoplan", other));
    const LockHolder h = readLock(lock(), me_);
    EXPECT_EQ(h.state, LockState::Held);
    EXPECT_FALSE(h.here);
    EXPECT_EQ(h.record.host, "counter2");
    ASSERT_TRUE(folderHolder(tmp_.path()).has_value());
    EXPECT_NE(describeHolder(h).find(" on computer counter2 since "), std::string::npos);
}

TEST_F(ReadLockTest, ALockThatNamesNoProcessIsHeldOnlyWhileSomeoneKeepsItLocked) {
    for (const std::string text : {"", "garbage\n", "\n"}) {
        SCOPED_TRACE(text);
        writeFile(lock(), text);
        LockHolder h = readLock(lock(), me_);
        EXPECT_EQ(h.state, LockState::Stale);
        EXPECT_FALSE(h.readable);
        // A copy still writing it has it flock()ed.
        const int fd = ::open(lock().c_str(), O_RDONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
        h = readLock(lock(), me_);
        EXPECT_EQ(h.state, LockState::Held);
        EXPECT_NE(describeHolder(h).find("(the lock names no process)"), std::string::npos);
        ::close(fd);
    }
}

TEST_F(ReadLockTest, SomethingElseInTheLocksPlaceCountsAsHeld) {
    fs::create_directory(lock());
    EXPECT_EQ(readLock(lock(), me_).state, LockState::Held);
    fs::remove(lock());
    ASSERT_EQ(::mkfifo(lock().c_str(), 0600), 0);  // opened without waiting
    EXPECT_EQ(readLock(lock(), me_).state, LockState::Held);
    fs::remove(lock());
    fs::create_symlink(tmp_.path() / "elsewhere", lock());
    EXPECT_EQ(readLock(lock(), me_).state, LockState::Held);
}

TEST(ForeignLockAge, OlderThanADayOnly) {
    const std::time_t now = 1800000000;
    EXPECT_FALSE(foreignLockOld(now, now));
    EXPECT_FALSE(foreignLockOld(now - kForeignLockAge, now));
    EXPECT_TRUE(foreignLockOld(now - kForeignLockAge - 1, now));
    EXPECT_FALSE(foreignLockOld(now + 3600, now));  // a clock ahead on the other computer
    EXPECT_EQ(kForeignLockAge, 86400);
}

TEST(FormatLockTime, AsTheProgramWritesTimeStamps) {
    std::tm tm{};
    tm.tm_year = 2024 - 1900;
    tm.tm_mon = 2;
    tm.tm_mday = 2;
    tm.tm_hour = 12;
    tm.tm_min = 5;
    tm.tm_sec = 9;
    tm.tm_isdst = -1;
    EXPECT_EQ(formatLockTime(std::mktime(&tm)), "2024/03/02 12:05:09");
}

TEST(RemoveUnheldLock, RemovesOnlyWhatNobodyHolds) {
    TempDir tmp("zemo-lockrm");
    const fs::path p = tmp.path() / "ZEMOPLAN.LCK";
    EXPECT_TRUE(removeUnheldLock(p));  // nothing there
    writeFile(p, "1\nzemoplan\nvm\n");
    const int fd = ::open(p.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_FALSE(removeUnheldLock(p));
    EXPECT_TRUE(fs::exists(p));
    ::close(fd);
    ::chmod(p.c_str(), 0444);  // another account's lock, not writable
    EXPECT_TRUE(removeUnheldLock(p));
    EXPECT_FALSE(fs::exists(p));
}

class RuntimeFolderTest : public ::testing::Test {
protected:
    RuntimeSources sources() const {
        RuntimeSources s;
        s.home = (tmp_.path() / "home").string();
        s.host = "counter1";
        s.uid = ::getuid();
        return s;
    }
    TempDir tmp_{"zemo-runtime"};
};

TEST_F(RuntimeFolderTest, XdgRuntimeDirWhenItIsPrivate) {
    const fs::path run = tmp_.path() / "run";
    ASSERT_EQ(::mkdir(run.c_str(), 0700), 0);
    RuntimeSources s = sources();
    s.xdgRuntimeDir = run.string();
    std::string problem;
    EXPECT_EQ(privateRuntimeFolder(s, problem), run);
    EXPECT_EQ(problem, "");
    EXPECT_FALSE(fs::exists(tmp_.path() / "home"));  // nothing made
}

TEST_F(RuntimeFolderTest, ElseAFolderOfThisComputerInTheUsersCacheMadePrivate) {
    const fs::path open = tmp_.path() / "open";
    ASSERT_EQ(::mkdir(open.c_str(), 0700), 0);
    ::chmod(open.c_str(), 0755);
    struct Case {
        std::string xdgRuntimeDir, xdgCacheHome;
        fs::path expected;
    };
    const fs::path home = tmp_.path() / "home";
    const std::vector<Case> cases = {
        {"", "", home / ".cache" / "zemoplan-run-counter1"},
        {open.string(), "", home / ".cache" / "zemoplan-run-counter1"},        // others may enter it
        {"relative/run", "", home / ".cache" / "zemoplan-run-counter1"},
        {"", (tmp_.path() / "cache").string(), tmp_.path() / "cache" / "zemoplan-run-counter1"},
        {"", "relative/cache", home / ".cache" / "zemoplan-run-counter1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xdgRuntimeDir + " | " + c.xdgCacheHome);
        RuntimeSources s = sources();
        s.xdgRuntimeDir = c.xdgRuntimeDir;
        s.xdgCacheHome = c.xdgCacheHome;
        std::string problem;
        EXPECT_EQ(privateRuntimeFolder(s, problem), c.expected);
        EXPECT_EQ(problem, "");
        struct stat st {};
        ASSERT_EQ(::lstat(c.expected.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_EQ(st.st_uid, ::getuid());
        // The cache folder made on the way is the user's own too.
        ASSERT_EQ(::lstat(c.expected.parent_path().c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0077, 0u);
    }
}

TEST_F(RuntimeFolderTest, AFallbackFolderThatIsNotPrivateIsNotUsed) {
    const fs::path cache = tmp_.path() / "cache";
    fs::create_directories(cache);
    RuntimeSources s = sources();
    s.xdgCacheHome = cache.string();
    const fs::path folder = cache / "zemoplan-run-counter1";
    std::string problem;

    ASSERT_EQ(::mkdir(folder.c_str(), 0777), 0);
    ::chmod(folder.c_str(), 0777);
    EXPECT_EQ(privateRuntimeFolder(s, problem), fs::path());
    EXPECT_NE(problem.find("open to other users"), std::string::npos) << problem;

    fs::remove(folder);
    fs::create_directory(tmp_.path() / "planted");
    fs::create_directory_symlink(tmp_.path() / "planted", folder);
    EXPECT_EQ(privateRuntimeFolder(s, problem), fs::path());
    EXPECT_NE(problem.find("is a link"), std::string::npos) << problem;

    fs::remove(folder);
    writeFile(folder, "");
    EXPECT_EQ(privateRuntimeFolder(s, problem), fs::path());
    EXPECT_NE(problem.find("is not a folder"), std::string::npos) << problem;

    RuntimeSources nowhere = sources();
    nowhere.home.clear();
    EXPECT_EQ(privateRuntimeFolder(nowhere, problem), fs::path());
    EXPECT_FALSE(problem.empty());
}

TEST_F(RuntimeFolderTest, AFolderOfAnotherUserIsNotPrivate) {
    const fs::path dir = tmp_.path() / "mine";
    ASSERT_EQ(::mkdir(dir.c_str(), 0700), 0);
    EXPECT_EQ(privateFolderProblem(dir, ::getuid()), "");
    EXPECT_NE(privateFolderProblem(dir, ::getuid() + 1).find("belongs to another user"), std::string::npos);
    EXPECT_NE(privateFolderProblem(tmp_.path() / "none", ::getuid()), "");
}

}  // namespace
}  // namespace zemo
