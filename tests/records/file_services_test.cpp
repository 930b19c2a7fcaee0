// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "support/scripted_prompter.h"
#include "records/file_services.h"
#include "support/temp_dir.h"

namespace zemo {
namespace {

namespace fs = std::filesystem;

const std::string kUnknownCode = "ファイルエラー番号エラー！";

// A fresh folder per test; permissions are put back before it is removed.
class FileServices : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testsupport::makeTempDir("zemo-files");
    }

    void TearDown() override {
        std::error_code ec;
        for (const auto& d : lockedDirs_) fs::permissions(d, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(dir_, ec);
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    static std::string backslashed(std::string p) {
        std::replace(p.begin(), p.end(), '/', '\\');
        return p;
    }

    void write(const std::string& name, const std::string& bytes) {
        fs::create_directories(fs::path(path(name)).parent_path());
        std::ofstream out(path(name), std::ios::binary | std::ios::trunc);
        out << bytes;
        ASSERT_TRUE(out.good());
    }

    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    bool exists(const std::string& name) const { return fs::exists(path(name)); }

    void setMtime(const std::string& name, time_t sec, long nsec) {
        struct timespec t[2] = {{sec, nsec}, {sec, nsec}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path(name).c_str(), t, 0), 0);
    }

    struct timespec mtime(const std::string& name) const {
        struct stat st {};
        EXPECT_EQ(::stat(path(name).c_str(), &st), 0);
        return st.st_mtim;
    }

    // Names in a folder of the test directory ("" = the directory itself), hidden ones included.
    std::set<std::string> entries(const std::string& sub = "") const {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(sub.empty() ? dir_ : dir_ / sub))
            names.insert(e.path().filename().string());
        return names;
    }

    void lock(const std::string& sub) {
        fs::path d = dir_ / sub;
        fs::permissions(d, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        lockedDirs_.push_back(d);
    }

    static bool isRoot() { return ::geteuid() == 0; }

    ScriptedPrompter prompter;
    FixedClock clock;
    Workspace ws{prompter, clock, {}};

private:
    fs::path dir_;
    std::vector<fs::path> lockedDirs_;
};

std::string patternBytes(std::size_t n) {
    std::string s(n, '\0');
    std::uint32_t x = 2463534242u;
    for (auto& c : s) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x);
    }
    return s;
}

// ---- error texts and reports ----

TEST(FileErrorText, KnownCodesAndFallback) {
    struct Case {
        int code;
        std::string text;
    } cases[] = {
        {0, "正常"},
        {3, "ドライブの準備ができていません！"},
        {16, "不正なデイスクの交換です！"},
        {22, "ファイル書込オープンできません！(ﾃｷｽﾄ)"},
        {26, "ファイル読み込エラーです！"},
        {29, "ファイルが見つかりません！"},
        {34, "ファイル削除エラーです！"},
        {48, "コピー元とコピー先のファイル名が同じです！"},
        {50, "ファイルコピーエラー！"},
        {-1, kUnknownCode},
        {51, kUnknownCode},
        {1000, kUnknownCode},
    };
    for (const auto& c : cases) EXPECT_EQ(errorText(c.code), c.text) << c.code;
}

TEST(FileErrorText, EveryCodeOfTheTableHasItsOwnText) {
    std::set<std::string> texts;
    for (int code = 0; code <= 50; ++code) {
        EXPECT_NE(errorText(code), kUnknownCode) << code;
        texts.insert(errorText(code));
    }
    EXPECT_EQ(texts.size(), 51u);
}

TEST_F(FileServices, ReportShowsNameTextAndReportNumberInAnErrorBox) {
    struct Case {
        int code;
        int reportNo;
        std::string text;
    } cases[] = {
        {kErrRead, 2, "ファイル読み込エラーです！\ndno=[    2]"},
        {77, 37, kUnknownCode + "\ndno=[   37]"},
        {kErrNone, 12345, "正常\ndno=[12345]"},
    };
    for (const auto& c : cases) {
        prompter.clear();
        setLastError(ws, c.code);
        setErrorName(ws, path("CD_DATA.ZMO"));
        reportError(ws, c.reportNo);
        ASSERT_EQ(prompter.boxes.size(), 1u);
        EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Error);
        EXPECT_EQ(prompter.boxes[0].buttons, Buttons::Ok);
        EXPECT_EQ(prompter.boxes[0].text, path("CD_DATA.ZMO") + "\n" + c.text);
        EXPECT_EQ(reportText(ws, c.reportNo), prompter.boxes[0].text);
    }
}

TEST_F(FileServices, SetLastErrorHandsBackThePreviousCode) {
    EXPECT_EQ(setLastError(ws, kErrCopy), 0);
    EXPECT_EQ(setLastError(ws, kErrNotFound), kErrCopy);
    EXPECT_EQ(lastError(ws), kErrNotFound);
}

TEST_F(FileServices, ConfirmAnswersOneForOkAndThreeOtherwise) {
    struct Case {
        Answer answer;
        int result;
    } cases[] = {{Answer::Ok, 1}, {Answer::Cancel, 3}};
    for (const auto& c : cases) {
        prompter.clear();
        prompter.answers.push_back(c.answer);
        EXPECT_EQ(confirm(ws, "上書きします。", "/data/CD_DATA.ZMO"), c.result);
        ASSERT_EQ(prompter.boxes.size(), 1u);
        EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Confirmation);
        EXPECT_EQ(prompter.boxes[0].buttons, Buttons::OkCancel);
        EXPECT_EQ(prompter.boxes[0].text, "上書きします。\n/data/CD_DATA.ZMO");
    }
}

TEST_F(FileServices, InformShowsAnInformationBoxWithOk) {
    inform(ws, "保存しました。", "/data/CD_DATA.ZMO");
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Information);
    EXPECT_EQ(prompter.boxes[0].buttons, Buttons::Ok);
    EXPECT_EQ(prompter.boxes[0].text, "保存しました。\n/data/CD_DATA.ZMO");
}

// ---- drive, existence, size, delete ----

TEST_F(FileServices, DriveOfExistingAndNotYetExistingPathsIsReady) {
    write("sub/F.ZMO", "x");
    for (const std::string& p : {path("sub"), path("no/such/folder/F.ZMO"), backslashed(path("sub\\F.ZMO")),
                                 std::string("relative/name.ZMO")}) {
        setLastError(ws, 99);
        EXPECT_EQ(driveReady(ws, p), kErrNone) << p;
        EXPECT_EQ(lastError(ws), kErrNone) << p;
    }
}

TEST_F(FileServices, ExistenceAndSizeTellFilesFromFolders) {
    write("sub/F.ZMO", "12345");
    EXPECT_TRUE(fileExists(ws, backslashed(path("sub/F.ZMO"))));
    EXPECT_EQ(fileSize(ws, path("sub/F.ZMO")), 5);
    EXPECT_TRUE(dirExists(ws, path("sub")));

    EXPECT_FALSE(fileExists(ws, path("sub")));
    EXPECT_FALSE(dirExists(ws, path("sub/F.ZMO")));
    EXPECT_EQ(fileSize(ws, path("sub")), -1);

    EXPECT_EQ(fileSize(ws, path("GONE.ZMO")), -1);
    EXPECT_EQ(lastError(ws), kErrNotFound);
    EXPECT_EQ(ws.lastErr.name, path("GONE.ZMO"));
}

TEST_F(FileServices, DeleteRemovesTheFileAndFailsWith34) {
    write("F.ZMO", "x");
    EXPECT_EQ(deleteFile(ws, path("F.ZMO")), kErrNone);
    EXPECT_FALSE(exists("F.ZMO"));

    EXPECT_EQ(deleteFile(ws, path("F.ZMO")), kErrDelete);
    EXPECT_EQ(ws.lastErr.name, path("F.ZMO"));
}

TEST_F(FileServices, DeleteInReadOnlyFolderFails) {
    if (isRoot()) GTEST_SKIP() << "folder permissions do not bind root";
    write("ro/F.ZMO", "x");
    lock("ro");
    EXPECT_EQ(deleteFile(ws, path("ro/F.ZMO")), kErrDelete);
    EXPECT_EQ(ws.lastErr.name, path("ro/F.ZMO"));
    EXPECT_TRUE(exists("ro/F.ZMO"));
}

// ---- copy ----

TEST_F(FileServices, CopyRefusesTheSameFileUnderAnotherSpelling) {
    write("sub/CD_DATA.ZMO", "original");
    struct Case {
        std::string target;
    } cases[] = {
        {path("sub/cd_data.zmo")},                  // other letter case
        {backslashed(path("sub/CD_DATA.ZMO"))},     // other separators
        {path("sub/./CD_DATA.ZMO")},                // same file, other path
        {path("sub")},                              // the folder it already lies in
    };
    for (const auto& c : cases) {
        EXPECT_EQ(copyFile(ws, path("sub/CD_DATA.ZMO"), c.target), kErrSameName) << c.target;
        EXPECT_EQ(entries("sub"), std::set<std::string>{"CD_DATA.ZMO"}) << c.target;
        EXPECT_EQ(read("sub/CD_DATA.ZMO"), "original");
    }
    copyFile(ws, path("sub/CD_DATA.ZMO"), path("sub/cd_data.zmo"));
    EXPECT_EQ(ws.lastErr.name, path("sub/cd_data.zmo"));
}

TEST_F(FileServices, CopyIntoAFolderKeepsTheSourceName) {
    write("F.ZMO", "contents");
    fs::create_directory(path("dest"));
    EXPECT_EQ(copyFile(ws, path("F.ZMO"), path("dest")), kErrNone);
    EXPECT_EQ(read("dest/F.ZMO"), "contents");
    EXPECT_EQ(entries("dest"), std::set<std::string>{"F.ZMO"});
}

TEST_F(FileServices, CopyOfAMissingSourceFailsWith50AndLeavesTheTarget) {
    EXPECT_EQ(copyFile(ws, path("GONE.ZMO"), path("NEW.ZMO")), kErrCopy);
    EXPECT_EQ(ws.lastErr.name, path("NEW.ZMO"));
    EXPECT_TRUE(entries().empty());

    write("OLD.ZMO", "keep me");
    EXPECT_EQ(copyFile(ws, path("GONE.ZMO"), path("OLD.ZMO")), kErrCopy);
    EXPECT_EQ(read("OLD.ZMO"), "keep me");
}

TEST_F(FileServices, CopyFailingWhileReadingLeavesTheOldTargetAndNoScraps) {
    // Reading the own process memory at offset 0 fails after the open succeeded.
    if (!fs::exists("/proc/self/mem")) GTEST_SKIP() << "no /proc";
    write("OLD.ZMO", "keep me");
    EXPECT_EQ(copyFile(ws, "/proc/self/mem", path("OLD.ZMO")), kErrCopy);
    EXPECT_EQ(ws.lastErr.name, path("OLD.ZMO"));
    EXPECT_EQ(read("OLD.ZMO"), "keep me");
    EXPECT_EQ(entries(), std::set<std::string>{"OLD.ZMO"});
}

TEST_F(FileServices, CopyIsByteIdenticalAroundTheBlockSize) {
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{8191}, std::size_t{8192},
                             std::size_t{8193}, std::size_t{3 * 8192 + 5}}) {
        const std::string bytes = patternBytes(size);
        write("SRC.ZMO", bytes);
        write("DST.ZMO", std::string(40000, 'x'));  // an older, longer target is replaced whole
        EXPECT_EQ(copyFile(ws, path("SRC.ZMO"), path("DST.ZMO")), kErrNone) << size;
        EXPECT_TRUE(read("DST.ZMO") == bytes) << size;
        EXPECT_EQ(entries(), (std::set<std::string>{"SRC.ZMO", "DST.ZMO"})) << size;
    }
}

TEST_F(FileServices, CopyGivesTheTargetTheSourceTimeStamp) {
    write("SRC.ZMO", "abc");
    setMtime("SRC.ZMO", 981173106, 123456789);
    EXPECT_EQ(copyFile(ws, path("SRC.ZMO"), path("DST.ZMO")), kErrNone);
    EXPECT_EQ(mtime("DST.ZMO").tv_sec, 981173106);
    EXPECT_EQ(mtime("DST.ZMO").tv_nsec, 123456789);
}

// ---- backup and restore ----

TEST(BackupPath, ReplacesOnlyTheFileNameExtension) {
    struct Case {
        std::string path, expected;
    } cases[] = {
        {"CD_DATA.ZMO", "CD_DATA.BAK"},
        {"/data/CD_DATA.ZMO", "/data/CD_DATA.BAK"},
        {"C:\\ZEMO\\ZEMOCTRL.DAT", "C:\\ZEMO\\ZEMOCTRL.BAK"},
        {"/data/v1.2/NOEXT", "/data/v1.2/NOEXT.BAK"},
        {"C:\\v1.2\\NOEXT", "C:\\v1.2\\NOEXT.BAK"},
        {"/data/a.b.ZMO", "/data/a.b.BAK"},
    };
    for (const auto& c : cases) EXPECT_EQ(backupPath(c.path), c.expected) << c.path;
}

TEST_F(FileServices, BackupOfAMissingFileFailsWith29AndCreatesNothing) {
    EXPECT_EQ(makeBackup(ws, path("CD_DATA.ZMO")), kErrNotFound);
    EXPECT_EQ(ws.lastErr.name, path("CD_DATA.ZMO"));
    EXPECT_TRUE(entries().empty());

    write("CD_DATA.BAK", "older backup");
    EXPECT_EQ(makeBackup(ws, path("CD_DATA.ZMO")), kErrNotFound);
    EXPECT_EQ(read("CD_DATA.BAK"), "older backup");
}

TEST_F(FileServices, BackupReplacesAnOldBakWithThePreviousContentsAndTime) {
    write("CD_DATA.ZMO", "current contents");
    setMtime("CD_DATA.ZMO", 1000000000, 500);
    write("CD_DATA.BAK", "an older backup, longer than the file");
    setMtime("CD_DATA.BAK", 900000000, 0);

    EXPECT_EQ(makeBackup(ws, backslashed(path("CD_DATA.ZMO"))), kErrNone);
    EXPECT_EQ(read("CD_DATA.BAK"), "current contents");
    EXPECT_EQ(mtime("CD_DATA.BAK").tv_sec, 1000000000);
    EXPECT_EQ(mtime("CD_DATA.BAK").tv_nsec, 500);
    EXPECT_EQ(read("CD_DATA.ZMO"), "current contents");
    EXPECT_EQ(entries(), (std::set<std::string>{"CD_DATA.ZMO", "CD_DATA.BAK"}));
}

TEST_F(FileServices, BackupStopsWith34WhenTheOldBakCannotBeDeleted) {
    if (isRoot()) GTEST_SKIP() << "folder permissions do not bind root";
    write("ro/CD_DATA.ZMO", "current");
    write("ro/CD_DATA.BAK", "older");
    lock("ro");
    EXPECT_EQ(makeBackup(ws, path("ro/CD_DATA.ZMO")), kErrDelete);
    EXPECT_EQ(ws.lastErr.name, path("ro/CD_DATA.BAK"));
    EXPECT_EQ(read("ro/CD_DATA.BAK"), "older");
}

TEST_F(FileServices, BackupFailsWith42WhenTheCopyFails) {
    if (isRoot()) GTEST_SKIP() << "folder permissions do not bind root";
    write("ro/CD_DATA.ZMO", "current");
    lock("ro");
    EXPECT_EQ(makeBackup(ws, path("ro/CD_DATA.ZMO")), kErrBackup);
    EXPECT_EQ(ws.lastErr.name, path("ro/CD_DATA.ZMO"));
    EXPECT_EQ(entries("ro"), std::set<std::string>{"CD_DATA.ZMO"});
}

TEST_F(FileServices, FileNamedLikeItsBackupIsNeitherBackedUpNorRestoredOverItself) {
    write("OLD.BAK", "only copy");
    EXPECT_EQ(makeBackup(ws, path("OLD.BAK")), kErrBackup);
    EXPECT_EQ(read("OLD.BAK"), "only copy");
    EXPECT_EQ(restoreBackup(ws, path("OLD.BAK")), kErrRestore);
    EXPECT_EQ(read("OLD.BAK"), "only copy");
    EXPECT_EQ(entries(), std::set<std::string>{"OLD.BAK"});
}

TEST_F(FileServices, RestorePutsTheBakBackAndRemovesIt) {
    for (bool damagedPresent : {true, false}) {
        if (damagedPresent) write("CD_DATA.ZMO", "damaged");
        write("CD_DATA.BAK", "good contents");
        setMtime("CD_DATA.BAK", 900000000, 0);
        EXPECT_EQ(restoreBackup(ws, path("CD_DATA.ZMO")), kErrNone) << damagedPresent;
        EXPECT_EQ(read("CD_DATA.ZMO"), "good contents");
        EXPECT_EQ(mtime("CD_DATA.ZMO").tv_sec, 900000000);
        EXPECT_EQ(entries(), std::set<std::string>{"CD_DATA.ZMO"});
        fs::remove(path("CD_DATA.ZMO"));
    }
}

TEST_F(FileServices, RestoreWithoutBakFailsWith29NamingTheBak) {
    write("CD_DATA.ZMO", "current");
    EXPECT_EQ(restoreBackup(ws, path("CD_DATA.ZMO")), kErrNotFound);
    EXPECT_EQ(ws.lastErr.name, path("CD_DATA.BAK"));
    EXPECT_EQ(read("CD_DATA.ZMO"), "current");
}

TEST_F(FileServices, RestoreStopsWith34WhenTheFileCannotBeDeleted) {
    if (isRoot()) GTEST_SKIP() << "folder permissions do not bind root";
    write("ro/CD_DATA.ZMO", "damaged");
    write("ro/CD_DATA.BAK", "good");
    lock("ro");
    EXPECT_EQ(restoreBackup(ws, path("ro/CD_DATA.ZMO")), kErrDelete);
    EXPECT_EQ(ws.lastErr.name, path("ro/CD_DATA.ZMO"));
    EXPECT_EQ(read("ro/CD_DATA.ZMO"), "damaged");
    EXPECT_EQ(read("ro/CD_DATA.BAK"), "good");
}

}  // namespace
}  // namespace zemo
