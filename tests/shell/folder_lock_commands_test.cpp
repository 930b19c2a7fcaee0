// SPDX-License-Identifier: GPL-3.0-or-later
// The commands of `zemo` that write the program's own files refuse while a copy of the program
// holds the program folder; reading, and writing elsewhere, go on.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "shell/program_lock.h"
#include "support/cli_run.h"
#include "support/lock_files.h"
#include "support/temp_dir.h"

namespace zemo {
namespace {

namespace fs = std::filesystem;
using testsupport::deadPid;
using testsupport::snapshot;
using testsupport::runZemo;
using testsupport::slurp;

class FolderLockCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(shop_);
        ASSERT_EQ(runZemo(tmp_.path(), {"init", "--home", home_.string()}).status, 0);
        std::ofstream(csv_) << "barcode,title\r\n4988001,Blue\r\n";
    }

    // A lock as the program leaves it while it runs, here this test process.
    void holdAsRunningCopy() {
        const ThisMachine me = thisMachine();
        writeLock(std::to_string(::getpid()) + "\n" + fs::read_symlink("/proc/self/exe").filename().string() + "\n" +
                  me.host + "\n" + me.machineId + "\n" + me.bootId + "\n");
    }
    void writeLock(const std::string& text) { std::ofstream(folderLockPath(home_), std::ios::binary) << text; }

    testsupport::TempDir tmp_{"zemo-lockcmd"};
    const fs::path home_ = tmp_.path() / "home";
    const fs::path shop_ = tmp_.path() / "shop";
    const fs::path csv_ = tmp_.path() / "shop" / "in.csv";
};

TEST_F(FolderLockCommandsTest, InitAndImportIntoAWorkFolderAreRefusedWhileTheProgramHoldsTheFolder) {
    holdAsRunningCopy();
    const std::string user = ::getpwuid(::getuid())->pw_name;
    const auto before = snapshot(home_);

    const auto init = runZemo(tmp_.path(), {"init", "--home", home_.string()});
    EXPECT_EQ(init.status, 1);
    EXPECT_NE(init.err.find("zemo init: the program folder " + home_.string() + " is in use by zemoplan, user " +
                            user + " on computer " + thisMachine().host + " since "),
              std::string::npos)
        << init.err;
    EXPECT_NE(init.err.find("(process " + std::to_string(::getpid()) + "); nothing written"), std::string::npos)
        << init.err;
    EXPECT_EQ(init.out, "");

    // Every work folder, under any spelling or link.
    fs::create_directory_symlink(home_ / "CD_TXT", shop_ / "linked");
    for (const fs::path& out : {home_ / "CD_SYS" / "NEW.ZMO", home_ / "CD_ADD" / "NEW.ZMO",
                                home_ / "CD_TXT" / "NEW.ZMO", home_ / "CD_MD" / "NEW.ZMO",
                                home_ / "CD_SYS" / ".." / "CD_ADD" / "NEW.ZMO", shop_ / "linked" / "NEW.ZMO",
                                home_ / "CD_SYS" / "CD_DATA.ZMO"}) {
        SCOPED_TRACE(out.string());
        const auto r = runZemo(tmp_.path(), {"import", csv_.string(), "-o", out.string(), "--home", home_.string()});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("zemo import: " + out.string() + " is in a work folder of " + home_.string() +
                             ", which is in use by zemoplan, user " + user),
                  std::string::npos)
            << r.err;
    }
    EXPECT_EQ(snapshot(home_), before);  // nothing written, not even touched
}

TEST_F(FolderLockCommandsTest, ReadingAndWritingOutsideTheWorkFoldersGoOnWhileTheProgramHoldsTheFolder) {
    holdAsRunningCopy();
    const auto before = snapshot(home_);
    const fs::path data = shop_ / "SHOP.ZMO";
    auto r = runZemo(tmp_.path(), {"import", csv_.string(), "-o", data.string(), "--home", home_.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    r = runZemo(tmp_.path(), {"show", data.string(), "--home", home_.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    r = runZemo(tmp_.path(), {"export", data.string(), "-o", (shop_ / "out.csv").string(), "--home", home_.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(slurp(shop_ / "out.csv").find("4988001"), std::string::npos);
    // Into the program folder itself, which is no work folder.
    r = runZemo(tmp_.path(), {"import", csv_.string(), "-o", (home_ / "SPARE.ZMO").string(), "--home", home_.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    fs::remove(home_ / "SPARE.ZMO");
    EXPECT_EQ(snapshot(home_), before);
}

TEST_F(FolderLockCommandsTest, ACopyOnAnotherComputerHoldsTheFolderToo) {
    writeLock(std::to_string(deadPid()) + "\nzemoplan\ncounter2\nffffffffffffffffffffffffffffffff\nboot\n");
    const auto r = runZemo(tmp_.path(), {"init", "--home", home_.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(" on computer counter2 since "), std::string::npos) << r.err;
}

TEST_F(FolderLockCommandsTest, ALockLeftByACopyThatIsGoneOrNoLockAtAllHoldsNothing) {
    const ThisMachine me = thisMachine();
    for (const std::string& lock : {std::string(), std::to_string(deadPid()) + "\nzemoplan\n" + me.host + "\n" +
                                                     me.machineId + "\n" + me.bootId + "\n",
                                   std::string("garbage\n")}) {
        SCOPED_TRACE(lock);
        fs::remove(folderLockPath(home_));
        if (!lock.empty()) writeLock(lock);
        auto r = runZemo(tmp_.path(), {"init", "--home", home_.string()});
        EXPECT_EQ(r.status, 0) << r.err;
        r = runZemo(tmp_.path(),
                    {"import", csv_.string(), "-o", (home_ / "CD_ADD" / "NEW.ZMO").string(), "--home", home_.string()});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(fs::exists(home_ / "CD_ADD" / "NEW.ZMO"));
        fs::remove(home_ / "CD_ADD" / "NEW.ZMO");
        fs::remove(home_ / "CD_ADD" / "NEW.BAK");
    }
}

}  // namespace
}  // namespace zemo
