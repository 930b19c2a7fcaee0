// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "shell/program_folder.h"
#include "support/temp_dir.h"

namespace zemo {
namespace {

namespace fs = std::filesystem;

class ProgramFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(with_);
        std::ofstream(with_ / "ZEMOCTRL.DAT") << "x";
        fs::create_directories(without_);
        fs::create_directories(dirNamedLikeTheFile_ / "ZEMOCTRL.DAT");
    }

    testsupport::TempDir tmp_{"zemo-progfolder"};
    const fs::path with_ = tmp_.path() / "with" / "bin";
    const fs::path without_ = tmp_.path() / "without" / "bin";
    const fs::path dirNamedLikeTheFile_ = tmp_.path() / "folder" / "bin";
};

struct FolderCase {
    const char* what;
    std::string homeOption, zemoplanHome;
    int exe;  // 0 none, 1 with ZEMOCTRL.DAT, 2 without, 3 with a folder of that name
    std::string xdg, userHome;
    std::string expected;  // "<exe>" for the executable's folder, "" for none
    bool create;
};

TEST_F(ProgramFolderTest, ChoosesByOptionVariableExecutableFolderAndUserDataFolder) {
    const FolderCase cases[] = {
        {"--home wins over everything", "/h", "/z", 1, "/x", "/u", "/h", false},
        {"ZEMOPLAN_HOME wins over the executable's folder", "", "/z", 1, "/x", "/u", "/z", false},
        {"the executable's folder with its control file", "", "", 1, "/x", "/u", "<exe>", false},
        {"no control file there: XDG_DATA_HOME", "", "", 2, "/x/data", "/u", "/x/data/zemoplan", true},
        {"XDG_DATA_HOME with a trailing slash", "", "", 2, "/x/data/", "/u", "/x/data/zemoplan", true},
        {"a folder named ZEMOCTRL.DAT is no control file", "", "", 3, "/x", "/u", "/x/zemoplan", true},
        {"XDG_DATA_HOME unset: HOME", "", "", 2, "", "/u", "/u/.local/share/zemoplan", true},
        {"XDG_DATA_HOME relative is ignored", "", "", 2, "rel/data", "/u", "/u/.local/share/zemoplan", true},
        {"no executable folder known", "", "", 0, "/x", "/u", "/x/zemoplan", true},
        {"no usable XDG_DATA_HOME nor HOME", "", "", 2, "", "", "", false},
        {"a relative HOME is no home", "", "", 2, "rel", "home/u", "", false},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(c.what);
        ProgramFolderSources s;
        s.homeOption = c.homeOption;
        s.zemoplanHome = c.zemoplanHome;
        s.executableDir = c.exe == 1 ? with_ : c.exe == 2 ? without_ : c.exe == 3 ? dirNamedLikeTheFile_ : fs::path();
        s.xdgDataHome = c.xdg;
        s.userHome = c.userHome;
        const ProgramFolder f = chooseProgramFolder(s);
        const fs::path expected = std::string(c.expected) == "<exe>" ? with_ : fs::path(c.expected);
        EXPECT_EQ(f.path, expected);
        EXPECT_EQ(f.createWhenMissing, c.create);
    }
}

TEST_F(ProgramFolderTest, RelativeOptionAndVariableAreTakenFromTheCurrentFolder) {
    ProgramFolderSources s;
    s.homeOption = "shop/../data";
    EXPECT_EQ(chooseProgramFolder(s).path, fs::current_path() / "data");
    s.homeOption.clear();
    s.zemoplanHome = "./zemo";
    EXPECT_EQ(chooseProgramFolder(s).path, fs::current_path() / "zemo");
}

// Sets or unsets variables for one test and puts the old values back.
class Environment {
public:
    void set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    ~Environment() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second) ::setenv(it->first.c_str(), it->second->c_str(), 1);
            else ::unsetenv(it->first.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(ProgramFolderTest, SourcesComeFromTheEnvironmentAndHomeFromTheAccountWhenUnset) {
    {
        Environment env;
        env.set("ZEMOPLAN_HOME", "/z");
        env.set("XDG_DATA_HOME", "/x");
        env.set("HOME", "/u");
        const ProgramFolderSources s = programFolderSources("/h", without_);
        EXPECT_EQ(s.homeOption, "/h");
        EXPECT_EQ(s.zemoplanHome, "/z");
        EXPECT_EQ(s.executableDir, without_);
        EXPECT_EQ(s.xdgDataHome, "/x");
        EXPECT_EQ(s.userHome, "/u");
    }
    for (const char* home : {static_cast<const char*>(nullptr), ""}) {
        Environment env;
        env.set("ZEMOPLAN_HOME", nullptr);
        env.set("XDG_DATA_HOME", nullptr);
        env.set("HOME", home);
        const passwd* account = ::getpwuid(::getuid());
        ASSERT_NE(account, nullptr);
        const ProgramFolderSources s = programFolderSources("", without_);
        EXPECT_EQ(s.zemoplanHome, "");
        EXPECT_EQ(s.xdgDataHome, "");
        EXPECT_EQ(s.userHome, account->pw_dir);
        EXPECT_EQ(chooseProgramFolder(s).path, fs::path(account->pw_dir) / ".local/share/zemoplan");
    }
}

TEST_F(ProgramFolderTest, MakesTheFolderAndItsParentsPrivately) {
    const fs::path dir = tmp_.path() / "home" / ".local" / "share" / "zemoplan";
    std::error_code ec;
    makeProgramFolder(dir, ec);
    ASSERT_FALSE(ec) << ec.message();
    for (const fs::path& p : {dir, dir.parent_path(), dir.parent_path().parent_path()}) {
        struct stat st {};
        ASSERT_EQ(::stat(p.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << p;
    }
    // Existing folders are fine as they are, their modes untouched.
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    makeProgramFolder(dir, ec);
    EXPECT_FALSE(ec);
    EXPECT_EQ(fs::status(dir).permissions() & fs::perms::all,
              fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

TEST_F(ProgramFolderTest, AFileInTheWayIsAnError) {
    const fs::path file = tmp_.path() / "share";
    std::ofstream(file) << "x";
    std::error_code ec;
    makeProgramFolder(file / "zemoplan", ec);
    EXPECT_TRUE(ec);
    makeProgramFolder(file, ec);
    EXPECT_EQ(ec, std::errc::not_a_directory);
}

}  // namespace
}  // namespace zemo
