// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "records/file_services.h"
#include "records/safe_write.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "support/temp_dir.h"

namespace zemo {
namespace {

namespace fs = std::filesystem;

std::string pattern(std::size_t n, char seed) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>(seed + i * 7 + i / 251);
    return s;
}

// Larger than one block, so that a save has several write steps to be interrupted between.
const std::string kOld = pattern(20000, 'o');
const std::string kNew = pattern(30000, 'n');
const std::string kOldBak = pattern(5000, 'b');

std::string readAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeAll(const fs::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::set<std::string> entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

mode_t modeOf(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
    return st.st_mode & 07777;
}

// A hook that fails (or, in a child process, ends the process) at the n-th step it sees.
struct StepCounter {
    int failAt = 0;  // 0: never
    int seen = 0;
    std::vector<SaveStep> steps;
    bool operator()(SaveStep s) {
        steps.push_back(s);
        return ++seen != failAt;
    }
};

// ---- the ways a save can be done, for the tables below ----

class SafeWrite : public ::testing::Test {
protected:
    // real/CD_DATA.ZMO, reached directly or through the link "CD_DATA.ZMO" in the test folder.
    fs::path realDir() const { return dir.path() / "real"; }
    fs::path real() const { return realDir() / "CD_DATA.ZMO"; }
    // The backup goes beside the name the save was given, the link itself when there is one.
    fs::path bakOf(bool throughLink) const { return (throughLink ? dir.path() : realDir()) / "CD_DATA.BAK"; }
    fs::path bak() const { return bakOf(false); }
    fs::path link() const { return dir.path() / "CD_DATA.ZMO"; }

    void SetUp() override { fs::create_directory(realDir()); }

    testsupport::TempDir dir{"zemo-safe-write"};
    ScriptedPrompter prompter;
    FixedClock clock;
    Workspace ws{prompter, clock, {}};
};

struct SaveWay {
    const char* name;
    bool throughLink;
    bool keepBackup;  // saveFile with a backup rather than a plain replaceFile
};

void PrintTo(const SaveWay& w, std::ostream* os) { *os << w.name; }

const SaveWay kWays[] = {
    {"Plain", false, false},
    {"ThroughLink", true, false},
    {"WithBackup", false, true},
    {"WithBackupThroughLink", true, true},
};

class InterruptedSave : public SafeWrite, public ::testing::WithParamInterface<SaveWay> {
protected:
    void prepare() {
        std::error_code ec;
        fs::remove_all(realDir(), ec);
        fs::remove(link(), ec);
        fs::create_directory(realDir());
        writeAll(real(), kOld);
        fs::remove(bak(), ec);
        fs::remove(bakOf(true), ec);
        if (GetParam().keepBackup) writeAll(bak(), kOldBak);
        if (GetParam().throughLink) fs::create_symlink("real/CD_DATA.ZMO", link());
    }

    // The path the save is given: the link, or the file itself.
    std::string target() const { return (GetParam().throughLink ? link() : real()).string(); }
    fs::path bak() const { return bakOf(GetParam().throughLink); }

    bool save(const std::string& bytes, SaveStepHook hook) {
        if (GetParam().keepBackup) {
            ws.saveHook = std::move(hook);
            const int r = saveFile(ws, target(), bytes.data(), bytes.size(), true);
            ws.saveHook = {};
            return r == 0;
        }
        return replaceFile(target(), bytes.data(), bytes.size(), hook);
    }

    // What the folders hold besides temporary files that should not be there.
    std::set<std::string> expectedEntries() const {
        if (GetParam().keepBackup && !GetParam().throughLink) return {"CD_DATA.ZMO", "CD_DATA.BAK"};
        return {"CD_DATA.ZMO"};
    }

    void expectLinkKept() const {
        if (GetParam().throughLink) {
            EXPECT_TRUE(fs::is_symlink(link()));
        }
    }

    // Nothing but the file, its backup and the link in the folders.
    void expectNoLeftovers(int n) const {
        EXPECT_EQ(entries(realDir()), expectedEntries()) << "step " << n;
        if (!GetParam().throughLink) return;
        EXPECT_TRUE(fs::is_symlink(link()));
        std::set<std::string> beside = {"CD_DATA.ZMO", "real"};
        if (GetParam().keepBackup) beside.insert("CD_DATA.BAK");
        EXPECT_EQ(entries(dir.path()), beside) << "step " << n;
    }
};

// A child process saves and ends itself right before its n-th step, for every n; the file is then
// old or new and whole, the backup (when kept) a whole earlier generation, and the next save
// leaves no temporary file behind.
TEST_P(InterruptedSave, KillBeforeAnyStepLeavesOldOrNewWhole) {
    constexpr int kKilled = 77;
    bool sawOld = false, sawNew = false;
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 200) << "the save never completed";
        prepare();
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int seen = 0;
            bool ok = save(kNew, [&](SaveStep) {
                if (++seen == n) ::_exit(kKilled);
                return true;
            });
            ::_exit(ok ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        const int code = WEXITSTATUS(status);
        ASSERT_TRUE(code == kKilled || code == 0) << "step " << n << ": the save failed";

        const std::string now = readAll(real());
        ASSERT_TRUE(now == kOld || now == kNew) << "step " << n << ": torn file of " << now.size() << " bytes";
        sawOld = sawOld || now == kOld;
        sawNew = sawNew || now == kNew;
        if (GetParam().keepBackup) {
            const std::string b = readAll(bak());
            EXPECT_TRUE(b == kOldBak || b == kOld) << "step " << n << ": torn backup of " << b.size() << " bytes";
            if (now == kNew) {
                EXPECT_EQ(b, kOld) << "step " << n << ": the new file without its backup";
            }
        }
        expectLinkKept();

        const std::string next = pattern(9000, 'x');
        ASSERT_TRUE(save(next, {})) << "step " << n;
        EXPECT_EQ(readAll(real()), next);
        expectNoLeftovers(n);
        if (code == 0) break;
    }
    EXPECT_TRUE(sawOld);
    EXPECT_TRUE(sawNew);
}

// A failure at any one step: the save reports it and leaves the file and its backup as they were,
// with no temporary file; only a failed cleanup or folder flush does not fail the save.
TEST_P(InterruptedSave, FailureAtAnyStepKeepsWhatIsOnDisk) {
    std::set<SaveStep> failedSteps;
    for (int n = 1;; ++n) {
        ASSERT_LT(n, 200);
        prepare();
        StepCounter counter;
        counter.failAt = n;
        const bool ok = save(kNew, std::ref(counter));
        if (counter.seen < n) {
            EXPECT_TRUE(ok);
            break;
        }
        const SaveStep at = counter.steps[static_cast<std::size_t>(n - 1)];
        failedSteps.insert(at);
        const bool harmless = at == SaveStep::Cleanup || at == SaveStep::FlushFolder;
        EXPECT_EQ(ok, harmless) << "step " << n << " " << saveStepName(at);
        if (!harmless) {
            EXPECT_EQ(readAll(real()), kOld) << "step " << n << " " << saveStepName(at);
            if (GetParam().keepBackup) {
                EXPECT_EQ(readAll(bak()), kOldBak) << "step " << n << " " << saveStepName(at);
            }
        }
        expectNoLeftovers(n);
    }
    for (SaveStep s : {SaveStep::Cleanup, SaveStep::Create, SaveStep::Write, SaveStep::Flush, SaveStep::Rename,
                       SaveStep::FlushFolder})
        EXPECT_EQ(failedSteps.count(s), 1u) << saveStepName(s);
    if (GetParam().keepBackup) {
        EXPECT_EQ(failedSteps.count(SaveStep::Attributes), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, InterruptedSave, ::testing::ValuesIn(kWays),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// ---- links ----

TEST_F(SafeWrite, SaveThroughLinksWritesTheFileTheyNameAndKeepsThem) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // link, where it points
    } cases[] = {
        {"Relative", {{"CD_DATA.ZMO", "real/CD_DATA.ZMO"}}},
        {"Absolute", {{"CD_DATA.ZMO", (dir.path() / "real/CD_DATA.ZMO").string()}}},
        {"Chain", {{"CD_DATA.ZMO", "hop"}, {"hop", "real/CD_DATA.ZMO"}}},
    };
    for (const auto& c : cases) {
        writeAll(real(), kOld);
        for (const auto& [from, to] : c.links) fs::create_symlink(to, dir.path() / from);
        ASSERT_TRUE(replaceFile(link().string(), kNew.data(), kNew.size())) << c.name;
        EXPECT_EQ(readAll(real()), kNew) << c.name;
        EXPECT_EQ(entries(realDir()), std::set<std::string>{"CD_DATA.ZMO"}) << c.name;
        for (const auto& [from, to] : c.links) {
            EXPECT_TRUE(fs::is_symlink(dir.path() / from)) << c.name << " " << from;
            EXPECT_EQ(fs::read_symlink(dir.path() / from).string(), to) << c.name;
            fs::remove(dir.path() / from);
        }
    }
}

TEST_F(SafeWrite, LinkToAMissingFileCreatesThatFile) {
    fs::create_symlink("real/CD_DATA.ZMO", link());
    ASSERT_TRUE(replaceFile(link().string(), kNew.data(), kNew.size()));
    EXPECT_TRUE(fs::is_symlink(link()));
    EXPECT_EQ(readAll(real()), kNew);
}

TEST_F(SafeWrite, RefusesFoldersAndLinkLoops) {
    fs::create_symlink("loop2", dir.path() / "loop1");
    fs::create_symlink("loop1", dir.path() / "loop2");
    fs::create_symlink("real", dir.path() / "folderLink");
    for (const char* name : {"real", "loop1", "folderLink"}) {
        errno = 0;
        EXPECT_FALSE(replaceFile((dir.path() / name).string(), kNew.data(), kNew.size())) << name;
        EXPECT_NE(errno, 0) << name;
    }
    EXPECT_TRUE(fs::is_directory(realDir()));
    EXPECT_TRUE(fs::is_empty(realDir()));
}

// ---- attributes ----

TEST_F(SafeWrite, ReplacementKeepsTheModeOfTheFileItReplaces) {
    for (mode_t mode : {0600, 0640, 0644, 0755, 0444}) {
        writeAll(real(), kOld);
        ASSERT_EQ(::chmod(real().c_str(), mode), 0);
        ASSERT_TRUE(replaceFile(real().string(), kNew.data(), kNew.size())) << std::oct << mode;
        EXPECT_EQ(modeOf(real()), mode) << std::oct << mode;
        fs::remove(real());
    }
    // A new file gets the usual mode under the process's umask.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(replaceFile(real().string(), kNew.data(), kNew.size()));
    ::umask(mask);
    EXPECT_EQ(modeOf(real()), 0644);
}

TEST_F(SafeWrite, CopyKeepsAnExistingTargetsModeAndGivesANewOneTheSourceMode) {
    writeAll(dir.path() / "SRC.ZMO", kNew);
    ASSERT_EQ(::chmod((dir.path() / "SRC.ZMO").c_str(), 0604), 0);
    writeAll(real(), kOld);
    ASSERT_EQ(::chmod(real().c_str(), 0640), 0);
    ASSERT_EQ(copyFile(ws, (dir.path() / "SRC.ZMO").string(), real().string()), 0);
    EXPECT_EQ(readAll(real()), kNew);
    EXPECT_EQ(modeOf(real()), 0640);
    ASSERT_EQ(copyFile(ws, (dir.path() / "SRC.ZMO").string(), (realDir() / "NEW.ZMO").string()), 0);
    EXPECT_EQ(modeOf(realDir() / "NEW.ZMO"), 0604);
}

TEST_F(SafeWrite, CopyWritesThroughALinkedTarget) {
    writeAll(dir.path() / "SRC.ZMO", kNew);
    writeAll(real(), kOld);
    fs::create_symlink("real/CD_DATA.ZMO", link());
    ASSERT_EQ(copyFile(ws, (dir.path() / "SRC.ZMO").string(), link().string()), 0);
    EXPECT_TRUE(fs::is_symlink(link()));
    EXPECT_EQ(readAll(real()), kNew);
}

// ---- leftovers ----

TEST_F(SafeWrite, SaveRemovesOnlyTheLeftoversOfItsOwnFile) {
    writeAll(real(), kOld);
    const std::set<std::string> strangers = {
        ".CD_DATA.ZMO.zemo-tmp-abc12",     // one character short
        ".CD_DATA.ZMO.zemo-tmp-abc1234",   // one too many
        ".CD_SHUF.ZMO.zemo-tmp-abc123",    // another file's
        "CD_DATA.ZMO.zemo-tmp-abc123",     // not hidden
        ".CD_DATA.ZMO.tmp-abc123",         // other mark
        ".CD_DATA.ZMO.zemo-tmp-abc123.x",  // longer name
    };
    for (const std::string& s : strangers) writeAll(realDir() / s, "someone else's");
    for (const char* mine : {".CD_DATA.ZMO.zemo-tmp-abc123", ".CD_DATA.ZMO.zemo-tmp-ZZZZZZ"})
        writeAll(realDir() / mine, "an interrupted save");

    ASSERT_TRUE(replaceFile(real().string(), kNew.data(), kNew.size()));
    std::set<std::string> expected = strangers;
    expected.insert("CD_DATA.ZMO");
    EXPECT_EQ(entries(realDir()), expected);
    for (const std::string& s : strangers) EXPECT_EQ(readAll(realDir() / s), "someone else's") << s;
}

TEST_F(SafeWrite, TemporaryFileOfASaveInProgressIsLeftAlone) {
    writeAll(real(), kOld);
    const fs::path running = realDir() / ".CD_DATA.ZMO.zemo-tmp-run123";
    writeAll(running, "being written");
    const int fd = ::open(running.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    // The lock is tied to this open file; another open of it (the cleanup) cannot take it.
    ASSERT_TRUE(replaceFile(real().string(), kNew.data(), kNew.size()));
    EXPECT_TRUE(fs::exists(running));
    ::close(fd);
    ASSERT_TRUE(replaceFile(real().string(), kOld.data(), kOld.size()));
    EXPECT_FALSE(fs::exists(running));
}

// ---- saving with a backup ----

TEST_F(SafeWrite, SaveWithBackupKeepsThePreviousContentsAndTimeStamp) {
    writeAll(real(), kOld);
    struct timespec t[2] = {{1000000000, 250}, {1000000000, 250}};
    ASSERT_EQ(::utimensat(AT_FDCWD, real().c_str(), t, 0), 0);
    writeAll(bak(), kOldBak);

    ASSERT_EQ(saveFile(ws, real().string(), kNew.data(), kNew.size(), true), 0);
    EXPECT_EQ(readAll(real()), kNew);
    EXPECT_EQ(readAll(bak()), kOld);
    struct stat st {};
    ASSERT_EQ(::stat(bak().c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(st.st_mtim.tv_nsec, 250);

    // Without a backup the old one is left as it is.
    ASSERT_EQ(saveFile(ws, real().string(), kOldBak.data(), kOldBak.size(), false), 0);
    EXPECT_EQ(readAll(bak()), kOld);
    EXPECT_EQ(entries(realDir()), (std::set<std::string>{"CD_DATA.ZMO", "CD_DATA.BAK"}));
}

TEST_F(SafeWrite, SaveWithBackupCodes) {
    // A new file has nothing to back up.
    ASSERT_EQ(saveFile(ws, real().string(), kNew.data(), kNew.size(), true), 0);
    EXPECT_EQ(entries(realDir()), std::set<std::string>{"CD_DATA.ZMO"});

    // A file named like its own backup cannot keep one: nothing is written.
    writeAll(bak(), kOldBak);
    EXPECT_EQ(saveFile(ws, bak().string(), kNew.data(), kNew.size(), true), kErrBackup);
    EXPECT_EQ(ws.lastErr.name, bak().string());
    EXPECT_EQ(readAll(bak()), kOldBak);

    // A folder in the way of the new file is a write error.
    fs::create_directory(realDir() / "F.ZMO");
    EXPECT_EQ(saveFile(ws, (realDir() / "F.ZMO").string(), kNew.data(), kNew.size(), true), -1);
    EXPECT_EQ(lastError(ws), kErrWrite);
    EXPECT_EQ(ws.lastErr.name, (realDir() / "F.ZMO").string());
}

// A writer that opens the staged file by its name (a printer's output file) writes the new
// version; setMode gives it the mode asked for, whatever the target's.
TEST_F(SafeWrite, AStagedFileWrittenByItsNameTakesTheModeGiven) {
    writeAll(real(), kOld);
    ASSERT_EQ(::chmod(real().c_str(), 0600), 0);
    StagedFile staged(real().string());
    ASSERT_TRUE(staged.open());
    ASSERT_FALSE(staged.tempPath().empty());
    EXPECT_EQ(fs::path(staged.tempPath()).parent_path(), realDir());
    writeAll(staged.tempPath(), kNew);
    EXPECT_EQ(readAll(real()), kOld);
    ASSERT_TRUE(staged.setMode(0640));
    ASSERT_TRUE(staged.flush());
    ASSERT_TRUE(staged.commit());
    EXPECT_EQ(readAll(real()), kNew);
    EXPECT_EQ(modeOf(real()), 0640u);
    EXPECT_TRUE(staged.tempPath().empty());
    EXPECT_FALSE(staged.setMode(0600));  // nothing staged any more
    EXPECT_EQ(entries(realDir()), std::set<std::string>{"CD_DATA.ZMO"});

    // A failed mode change fails the staging, as any step does, and leaves nothing behind.
    StagedFile failing(real().string(), [](SaveStep s) { return s != SaveStep::Attributes; });
    ASSERT_TRUE(failing.open());
    EXPECT_FALSE(failing.setMode(0644));
    EXPECT_EQ(failing.error(), EIO);
    EXPECT_FALSE(failing.commit());
    EXPECT_EQ(readAll(real()), kNew);
    EXPECT_EQ(entries(realDir()), std::set<std::string>{"CD_DATA.ZMO"});
}

}  // namespace
}  // namespace zemo
