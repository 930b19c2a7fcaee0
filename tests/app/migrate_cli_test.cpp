// SPDX-License-Identifier: GPL-3.0-or-later
// zemo migrate run as a program on a copy of the committed old folder (tests/data/migrate, made by
// make_migrate_fixture.py): the report line by line, NEW byte for byte, nothing written on a
// refusal or a dry run, OLD untouched to its access times, and the usage errors.
#include <gtest/gtest.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/cli/migrate_source.h"
#include "support/cli_run.h"
#include "support/temp_dir.h"

namespace zemo {
namespace {

namespace fs = std::filesystem;
using testsupport::slurp;
using testsupport::splitLines;

// The fixture's report, in order: OLD path, NEW path ("" when refused), and the refusal's text.
struct Expected {
    const char* from;
    const char* to;
};
const Expected kFiles[] = {
    {"ZemoCtrl.dat", "ZEMOCTRL.DAT"},
    {"wzemo.ini", "WZEMO.INI"},
    {"cd_sys/cd_data.zmo", "CD_SYS/CD_DATA.ZMO"},
    {"cd_sys/CD_DATA.BAK", "CD_SYS/CD_DATA.BAK"},
    {"cd_sys/CD_DEL.ZMO", "CD_SYS/CD_DEL.ZMO"},
    {"cd_sys/CD_DEL.BAK", "CD_SYS/CD_DEL.BAK"},
    {"cd_sys/CD_NEW.ZMO", "CD_SYS/CD_NEW.ZMO"},
    {"cd_sys/CD_NEW.BAK", "CD_SYS/CD_NEW.BAK"},
    {"cd_sys/Cd_Shuf.zmo", "CD_SYS/CD_SHUF.ZMO"},
    {"cd_sys/cd_shuf.bak", "CD_SYS/CD_SHUF.BAK"},
    {"cd_sys/HAIBAN.ZMO", ""},
    {"cd_sys/HAIBAN.BAK", "CD_SYS/HAIBAN.BAK"},
    {"cd_sys/Kashidashi.zmo", "CD_SYS/Kashidashi.zmo"},
    {"cd_sys/KASHIDASHI.BAK", "CD_SYS/Kashidashi.BAK"},
    {"CD_ADD/cd_add.zmo", "CD_ADD/CD_ADD.ZMO"},
    {"CD_ADD/cd_add.bak", "CD_ADD/CD_ADD.BAK"},
    {"../CD_TXT/Memo.zmo", "CD_TXT/Memo.zmo"},
    {"../CD_TXT/memo.BAK", "CD_TXT/Memo.BAK"},
    {"Data/cd_md/CD_LIB.ZMO", "CD_MD/CD_LIB.ZMO"},
    {"Data/cd_md/CD_LIB.BAK", "CD_MD/CD_LIB.BAK"},
};
const char kHaibanRefused[] =
    "refused cd_sys/HAIBAN.ZMO: the file ends inside its records: 4 announced, 2 whole, 868 bytes of 1152 "
    "(ファイルエラー！)";

std::vector<std::string> expectedReport(bool withHaiban) {
    std::vector<std::string> out;
    for (const Expected& e : kFiles) {
        if (std::string(e.to).empty()) {
            if (withHaiban) out.push_back(kHaibanRefused);
        } else if (std::string(e.from) == e.to) {
            out.push_back(std::string("copied ") + e.to);
        } else {
            out.push_back(std::string("renamed ") + e.from + " → " + e.to);
        }
    }
    out.push_back(withHaiban ? "20 files, 6 records in the catalogue, 1 refused"
                             : "19 files, 6 records in the catalogue, 0 refused");
    return out;
}

// What a file or folder is and holds, read without touching its access time.
struct Snapshot {
    mode_t mode = 0;
    off_t size = 0;
    timespec atime{}, mtime{}, ctime{};
    std::string bytes;  // a file's contents; a folder's names
    bool operator==(const Snapshot& o) const {
        auto same = [](const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; };
        return mode == o.mode && size == o.size && same(atime, o.atime) && same(mtime, o.mtime) &&
               same(ctime, o.ctime) && bytes == o.bytes;
    }
};

std::vector<std::string> namesIn(const fs::path& dir) {
    std::vector<std::string> out;
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOATIME);
    DIR* d = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (d == nullptr) return out;
    while (const dirent* e = ::readdir(d))
        if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) out.emplace_back(e->d_name);
    ::closedir(d);
    std::sort(out.begin(), out.end());
    return out;
}

void snapshot(const fs::path& p, std::map<std::string, Snapshot>& out) {
    struct stat st {};
    ASSERT_EQ(::lstat(p.c_str(), &st), 0) << p;
    Snapshot s;
    s.mode = st.st_mode;
    s.size = st.st_size;
    s.atime = st.st_atim;
    s.mtime = st.st_mtim;
    s.ctime = st.st_ctim;
    if (S_ISDIR(st.st_mode)) {
        for (const std::string& n : namesIn(p)) {
            s.bytes += n + "\n";
            snapshot(p / n, out);
        }
    } else {
        const int fd = ::open(p.c_str(), O_RDONLY | O_NOATIME);
        char buf[4096];
        for (ssize_t n; fd >= 0 && (n = ::read(fd, buf, sizeof buf)) > 0;)
            s.bytes.append(buf, static_cast<std::size_t>(n));
        if (fd >= 0) ::close(fd);
    }
    out[p.string()] = s;
}

void setTimes(const fs::path& p, std::time_t t) {
    const timespec times[2] = {{t, 123456789}, {t, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << p;
}

struct Outcome {
    int status = -1;
    std::string out, err;
};

class MigrateCli : public ::testing::Test {
protected:
    MigrateCli() {
        fs::copy(std::string(ZEMO_TEST_DATA) + "/migrate", shop_, fs::copy_options::recursive);
        // As a copy from the old computer: old time stamps (the access time no later than the
        // modification, so that any ordinary read would move it), and modes of its own.
        std::time_t t = 1262304000;  // 2010-01-01
        for (auto it = fs::recursive_directory_iterator(shop_); it != fs::recursive_directory_iterator(); ++it)
            setTimes(it->path(), t += 3600);
        fs::permissions(old_ / "cd_sys" / "Cd_Shuf.zmo", fs::perms(0600));
        fs::permissions(old_ / "Data" / "cd_md" / "CD_LIB.ZMO", fs::perms(0444));
        for (const fs::path& p : {old_, old_ / "cd_sys", old_ / "Data" / "cd_md", old_ / "Data", shop_ / "CD_TXT"})
            setTimes(p, 1262304000);
    }
    ~MigrateCli() override { testsupport::removeTempDir(tmp_.path()); }

    // zemo in the test folder; setup runs in the child before the program starts.
    Outcome zemo(std::vector<std::string> args, const std::function<void()>& setup = {}) {
        const fs::path outFile = tmp_.path() / ".stdout", errFile = tmp_.path() / ".stderr";
        args.insert(args.begin(), ZEMO_CLI_PATH);
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int o = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int e = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 || ::chdir(tmp_.path().c_str()) != 0)
                ::_exit(127);
            ::unsetenv("ZEMOPLAN_HOME");
            if (setup) setup();
            ::alarm(60);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        Outcome r;
        int ws = 0;
        if (pid > 0 && ::waitpid(pid, &ws, 0) == pid && WIFEXITED(ws)) r.status = WEXITSTATUS(ws);
        r.out = slurp(outFile);
        r.err = slurp(errFile);
        return r;
    }
    Outcome migrate(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args{"migrate", old_.string(), "--home", new_.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return zemo(args);
    }

    std::map<std::string, Snapshot> shopSnapshot() {
        std::map<std::string, Snapshot> s;
        snapshot(shop_, s);
        return s;
    }

    // Every file written is the old one byte for byte, with its times and mode; the control file
    // alone differs, in its work folders.
    void expectNewHoldsTheOldFiles() {
        std::vector<std::string> expectedNames;
        for (const Expected& e : kFiles) {
            SCOPED_TRACE(e.from);
            if (std::string(e.to).empty()) {
                EXPECT_FALSE(fs::exists(new_ / "CD_SYS" / "HAIBAN.ZMO"));
                continue;
            }
            expectedNames.push_back(e.to);
            const fs::path from = old_ / e.from, to = new_ / e.to;
            struct stat a {
            }, b{};
            ASSERT_EQ(::stat(from.c_str(), &a), 0);
            ASSERT_EQ(::stat(to.c_str(), &b), 0);
            EXPECT_EQ(a.st_mode, b.st_mode);
            EXPECT_EQ(a.st_mtim.tv_sec, b.st_mtim.tv_sec);
            EXPECT_EQ(a.st_mtim.tv_nsec, b.st_mtim.tv_nsec);
            EXPECT_EQ(a.st_atim.tv_sec, b.st_atim.tv_sec);
            const std::string oldBytes = slurp(from), newBytes = slurp(to);
            if (std::string(e.to) != "ZEMOCTRL.DAT") {
                EXPECT_TRUE(oldBytes == newBytes);
                continue;
            }
            ASSERT_EQ(newBytes.size(), 2048u);
            ASSERT_EQ(oldBytes.size(), 2048u);
            for (std::size_t i = 0; i < 2048; ++i) {
                if (i < 320 || i >= 576) {
                    ASSERT_EQ(oldBytes[i], newBytes[i]) << "control file byte " << i;
                }
            }
            const char* names[] = {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"};
            for (int slot = 0; slot < 4; ++slot) {
                std::string field(64, '\0');
                field.replace(0, std::strlen(names[slot]), names[slot]);
                EXPECT_EQ(newBytes.substr(320 + 64 * static_cast<std::size_t>(slot), 64), field) << names[slot];
            }
        }
        // Nothing else: no README.TXT, no old control file backup, no leftovers.
        std::vector<std::string> actual;
        for (auto it = fs::recursive_directory_iterator(new_); it != fs::recursive_directory_iterator(); ++it)
            if (it->is_regular_file()) actual.push_back(it->path().lexically_relative(new_).generic_string());
        std::sort(actual.begin(), actual.end());
        std::sort(expectedNames.begin(), expectedNames.end());
        EXPECT_EQ(actual, expectedNames);
        for (const char* folder : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) EXPECT_TRUE(fs::is_directory(new_ / folder));
    }

    testsupport::TempDir tmp_{"zemo-migrate"};
    const fs::path shop_ = tmp_.path() / "shop";
    const fs::path old_ = shop_ / "ZEMO";
    const fs::path new_ = tmp_.path() / "new";
};

TEST_F(MigrateCli, AnyRefusalPrintsTheWholeReportAndWritesNothing) {
    const Outcome r = migrate();
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(splitLines(r.out), expectedReport(true));
    EXPECT_NE(r.err.find("1 refused; nothing written"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(new_));

    // An empty NEW that is there stays empty.
    fs::create_directory(new_);
    EXPECT_EQ(migrate().status, 1);
    EXPECT_TRUE(fs::is_empty(new_));
}

TEST_F(MigrateCli, KeepGoingWritesWhatCheckedAndListsWhatDidNot) {
    const Outcome r = migrate({"--keep-going"});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(splitLines(r.out), expectedReport(true));
    expectNewHoldsTheOldFiles();
}

TEST_F(MigrateCli, AFolderWhereEveryFileChecksIsCopiedWholeAndShowsTheOldCatalogue) {
    fs::remove(old_ / "cd_sys" / "HAIBAN.ZMO");
    const Outcome r = migrate();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(splitLines(r.out), expectedReport(false));
    EXPECT_EQ(r.err, "");
    expectNewHoldsTheOldFiles();

    const Outcome before = zemo({"show", (old_ / "cd_sys" / "cd_data.zmo").string()});
    const Outcome after = zemo({"show", (new_ / "CD_SYS" / "CD_DATA.ZMO").string()});
    EXPECT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(after.out, before.out);
    EXPECT_EQ(splitLines(after.out).size(), 7u + 2u + 6u);  // summary, blank and heading, six records
}

TEST_F(MigrateCli, ADryRunPrintsTheSameReportAndWritesNothing) {
    for (bool refusal : {true, false}) {
        SCOPED_TRACE(refusal);
        if (!refusal) fs::remove(old_ / "cd_sys" / "HAIBAN.ZMO");
        const Outcome dry = migrate({"--dry-run"});
        EXPECT_EQ(dry.status, refusal ? 1 : 0);
        EXPECT_EQ(splitLines(dry.out), expectedReport(refusal));
        EXPECT_FALSE(fs::exists(new_));
        const Outcome dryKeepGoing = migrate({"--dry-run", "--keep-going"});
        EXPECT_EQ(dryKeepGoing.out, dry.out);
        EXPECT_FALSE(fs::exists(new_));
    }
    // The real run reports what the dry run said.
    const Outcome dry = migrate({"--dry-run"});
    const Outcome real = migrate();
    EXPECT_EQ(real.status, 0);
    EXPECT_EQ(real.out, dry.out);
}

TEST_F(MigrateCli, OldIsLeftAsItWasToItsAccessTimes) {
    const std::map<std::string, Snapshot> before = shopSnapshot();
    ASSERT_GT(before.size(), 25u);
    EXPECT_EQ(migrate({"--dry-run"}).status, 1);
    EXPECT_EQ(migrate().status, 1);
    EXPECT_EQ(migrate({"--keep-going"}).status, 1);
    const std::map<std::string, Snapshot> after = shopSnapshot();
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [path, snap] : before) EXPECT_TRUE(after.at(path) == snap) << path;
}

TEST_F(MigrateCli, UsageErrorsWriteNothing) {
    fs::create_directories(tmp_.path() / "full");
    std::ofstream(tmp_.path() / "full" / "notes.txt") << "x";
    std::ofstream(tmp_.path() / "a-file") << "x";
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"migrate"}, "missing argument"},
        {{"migrate", old_.string(), "--home", (tmp_.path() / "full").string()}, "not empty (notes.txt)"},
        {{"migrate", old_.string(), "--home", (tmp_.path() / "a-file").string()}, "not a folder"},
        {{"migrate", (tmp_.path() / "missing").string(), "--home", new_.string()}, "no such file or folder"},
        {{"migrate", (tmp_.path() / "a-file").string(), "--home", new_.string()}, "not a folder"},
        {{"migrate", old_.string(), "--home", (old_ / "NEW").string()}, "is inside OLD"},
        {{"migrate", old_.string(), "--home", (shop_ / "CD_TXT" / "NEW").string()}, "is inside the old work folder"},
        {{"migrate", old_.string(), "--home", new_.string(), "--force"}, "unknown option '--force'"},
        {{"migrate", old_.string(), old_.string(), "--home", new_.string()}, "unexpected argument"},
    };
    const std::map<std::string, Snapshot> before = shopSnapshot();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        const Outcome r = zemo(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_FALSE(fs::exists(new_));
    EXPECT_EQ(namesIn(tmp_.path() / "full"), std::vector<std::string>{"notes.txt"});
    EXPECT_TRUE(shopSnapshot() == before);
}

// Writes the stored work folder names into the old control file.
void setStoredFolder(const fs::path& control, int slot, const std::string& name) {
    std::string bytes = slurp(control);
    std::string field(64, '\0');
    field.replace(0, name.size(), name);
    bytes.replace(256 + 64 * static_cast<std::size_t>(slot), 64, field);
    std::ofstream(control, std::ios::binary | std::ios::trunc) << bytes;
}

TEST_F(MigrateCli, AWorkFolderThatIsNotThereIsReportedWithWhatWasLookedFor) {
    fs::remove(old_ / "cd_sys" / "HAIBAN.ZMO");
    setStoredFolder(old_ / "ZemoCtrl.dat", 4, "\\\\SHOP\\DATA\\CD_LIBRARY");
    setStoredFolder(old_ / "ZemoCtrl.dat", 3, "D:\\");
    const Outcome r = migrate({"--keep-going"});
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 18u) << r.out;
    EXPECT_EQ(lines[15],
              "refused D:\\: the work folder txtDir is not in OLD: looked for nothing; it names the root of a drive");
    EXPECT_EQ(lines[16],
              "refused \\\\SHOP\\DATA\\CD_LIBRARY: the work folder libDir is not in OLD: looked for "
              "DATA/CD_LIBRARY, CD_LIBRARY");
    EXPECT_EQ(lines[17], "17 files, 6 records in the catalogue, 2 refused");
    // What checked is there, and the program's four work folders, empty where nothing was found.
    EXPECT_TRUE(fs::exists(new_ / "CD_SYS" / "CD_DATA.ZMO"));
    EXPECT_TRUE(fs::is_empty(new_ / "CD_MD"));
    EXPECT_TRUE(fs::is_empty(new_ / "CD_TXT"));
}

TEST_F(MigrateCli, TwoSettingsNamingOneFolderGiveEachKindItsOwnFolder) {
    fs::remove(old_ / "cd_sys" / "HAIBAN.ZMO");
    setStoredFolder(old_ / "ZemoCtrl.dat", 2, "C:\\ZEMO\\CD_SYS");  // addDir where sysDir is
    fs::copy_file(old_ / "CD_ADD" / "cd_add.zmo", old_ / "cd_sys" / "Cd_Add.zmo");
    const Outcome r = migrate();
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), 19u) << r.out;
    EXPECT_EQ(lines[2], "renamed cd_sys/Cd_Add.zmo → CD_ADD/CD_ADD.ZMO");
    EXPECT_EQ(lines[3], "renamed cd_sys/cd_data.zmo → CD_SYS/CD_DATA.ZMO");
    EXPECT_EQ(lines.back(), "18 files, 6 records in the catalogue, 0 refused");
    EXPECT_EQ(slurp(new_ / "CD_ADD" / "CD_ADD.ZMO"), slurp(old_ / "CD_ADD" / "cd_add.zmo"));
    EXPECT_FALSE(fs::exists(new_ / "CD_SYS" / "CD_ADD.ZMO"));
}

TEST_F(MigrateCli, TwoSpellingsOfOneNameAreBothRefused) {
    fs::copy_file(old_ / "cd_sys" / "CD_DATA.BAK", old_ / "cd_sys" / "CD_DATA.ZMO");
    const Outcome r = migrate();
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> lines = splitLines(r.out);
    const std::string why = ": two files for one name (CD_SYS/CD_DATA.ZMO): CD_DATA.ZMO and cd_data.zmo";
    EXPECT_NE(std::find(lines.begin(), lines.end(), "refused cd_sys/cd_data.zmo" + why), lines.end()) << r.out;
    EXPECT_NE(std::find(lines.begin(), lines.end(), "refused cd_sys/CD_DATA.ZMO" + why), lines.end()) << r.out;
    EXPECT_EQ(lines.back(), "21 files, 0 records in the catalogue, 3 refused");
    EXPECT_FALSE(fs::exists(new_));
}

TEST_F(MigrateCli, SomethingThatIsNotAFileInAFilesPlaceIsRefusedNotWaitedOn) {
    fs::remove(old_ / "cd_sys" / "HAIBAN.ZMO");
    ASSERT_EQ(::mkfifo((old_ / "cd_sys" / "PIPE.ZMO").c_str(), 0644), 0);
    const Outcome r = migrate();
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> lines = splitLines(r.out);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "refused cd_sys/PIPE.ZMO: is a FIFO (named pipe), not a regular file"),
              lines.end())
        << r.out;
    EXPECT_EQ(lines.back(), "20 files, 6 records in the catalogue, 1 refused");
    EXPECT_FALSE(fs::exists(new_));
}

TEST_F(MigrateCli, AFailedWriteTakesBackWhatItWrote) {
    fs::remove(old_ / "cd_sys" / "HAIBAN.ZMO");
    // A list with more after its records than the process may write, listed last in CD_SYS.
    std::string big = slurp(old_ / "cd_sys" / "CD_DATA.BAK");
    big.resize(4000, '\0');
    std::ofstream(old_ / "cd_sys" / "ZZBIG.ZMO", std::ios::binary) << big;
    std::vector<std::string> args{"migrate", old_.string(), "--home", new_.string()};
    for (bool existed : {false, true}) {
        SCOPED_TRACE(existed);
        if (existed) fs::create_directory(new_);
        const Outcome r = zemo(args, [] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{3000, 3000};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("ZZBIG.ZMO: cannot write: file too large; nothing written"), std::string::npos) << r.err;
        EXPECT_EQ(fs::exists(new_), existed);
        if (existed) {
            EXPECT_TRUE(fs::is_empty(new_));
        }
    }
}

TEST_F(MigrateCli, TheControlFileIsCheckedAsTheProgramStartsWithIt) {
    const struct {
        std::size_t size;
        const char* line;
    } cases[] = {
        {0, "refused ZemoCtrl.dat: the file is empty (ファイル読み込エラーです！)"},
        {128,
         "refused ZemoCtrl.dat: the file has 128 bytes, not more than its 128-byte header "
         "(ファイル読み込エラーです！)"},
        {2047, "refused ZemoCtrl.dat: the control file has 2047 bytes, not its 2048 (ファイル読み込エラーです！)"},
    };
    const std::string whole = slurp(old_ / "ZemoCtrl.dat");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        std::ofstream(old_ / "ZemoCtrl.dat", std::ios::binary | std::ios::trunc) << whole.substr(0, c.size);
        const Outcome r = migrate();
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(splitLines(r.out), (std::vector<std::string>{c.line, "renamed wzemo.ini → WZEMO.INI",
                                                               "2 files, 0 records in the catalogue, 1 refused"}));
    }
    fs::remove(old_ / "ZemoCtrl.dat");
    const Outcome r = migrate();
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(splitLines(r.out).front(), "refused ZEMOCTRL.DAT: no ZEMOCTRL.DAT in OLD (looked for it in any case)");
}

// --- the pieces, in the process ---

std::string dataFile(int records, std::size_t size) {
    std::string b(size, '\0');
    std::memcpy(b.data(), "ZEMO DATA FILE < by qend >", 26);
    const std::uint16_t head[] = {0x1236, 0x0302, 1, 3};
    if (size >= 104) std::memcpy(b.data() + 96, head, sizeof head);
    const auto count = static_cast<std::int16_t>(records);
    if (size >= 192) std::memcpy(b.data() + 128 + 62, &count, 2);
    return b;
}

TEST(MigrateChecks, ADataFileChecksExactlyWhenItHoldsWhatItAnnounces) {
    const struct {
        int records;
        std::size_t size;
        bool ok;
        const char* reason;
    } cases[] = {
        {0, 128, false, "the file has 128 bytes, not more than its 128-byte header"},
        {0, 129, false, "the file ends inside its information block (129 of 384 bytes)"},
        {0, 383, false, "the file ends inside its information block (383 of 384 bytes)"},
        {0, 384, true, ""},
        {2, 384 + 2 * 192, true, ""},
        {2, 384 + 2 * 192 - 1, false, "the file ends inside its records: 2 announced, 1 whole, 767 bytes of 768"},
        {3, 384 + 2 * 192, false, "the file ends inside its records: 3 announced, 2 whole, 768 bytes of 960"},
        {0, 384 + 500 * 192, true, ""},  // the empty file of a kind: cleared records after a count of 0
        {-1, 384 + 192, false, "its record count is negative (-1)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.records) + " records in " + std::to_string(c.size) + " bytes");
        const cli::migrate::FileCheck check = cli::migrate::checkDataFile(dataFile(c.records, c.size));
        EXPECT_EQ(check.ok, c.ok);
        EXPECT_EQ(check.reason, c.reason);
        if (c.ok) {
            EXPECT_EQ(check.records, c.records);
        }
        EXPECT_EQ(check.stored.empty(), c.ok);
    }
    std::string foreign = dataFile(0, 384);
    foreign[96] = 0x35;
    EXPECT_EQ(cli::migrate::checkDataFile(foreign).stored, "ファイルヘッダーが不正です！");
    std::string future = dataFile(0, 384);
    future[102] = 5, future[103] = 1;
    EXPECT_EQ(cli::migrate::checkDataFile(future).stored, "対応していないﾃﾞｰﾀのﾊﾞｰｼﾞｮﾝです！ DATA VERSION  1.05");
}

TEST(MigrateChecks, StoredWorkFoldersAreSplitAsWindowsNamesThem) {
    const struct {
        const char* stored;
        bool absolute;
        std::vector<std::string> names;
    } cases[] = {
        {"C:\\ZEMO\\CD_SYS", true, {"ZEMO", "CD_SYS"}},
        {"c:\\zemo\\cd_sys\\", true, {"zemo", "cd_sys"}},
        {"\\\\SHOP\\DATA\\CD_MD", true, {"DATA", "CD_MD"}},
        {"\\DATA", true, {"DATA"}},
        {"D:DATA", true, {"DATA"}},
        {"C:\\ZEMO\\..\\..\\CD_SYS", true, {"CD_SYS"}},
        {"CD_ADD", false, {"CD_ADD"}},
        {"..\\CD_TXT", false, {"..", "CD_TXT"}},
        {".\\SUB\\..\\CD_ADD", false, {"CD_ADD"}},
        {"DATA/CD_SYS", false, {"DATA", "CD_SYS"}},
        {"", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        const cli::migrate::StoredFolder s = cli::migrate::splitStoredFolder(c.stored);
        EXPECT_EQ(s.absolute, c.absolute);
        EXPECT_EQ(s.names, c.names);
    }
}

TEST(MigrateChecks, WorkFoldersAreFoundBelowOldWhateverTheirCase) {
    testsupport::TempDir tmp("zemo-migrate-find");
    const fs::path old = tmp.path() / "ZEMO";
    for (const char* d : {"ZEMO/cd_sys", "ZEMO/Data/Cd_Md", "ZEMO/CD_MD", "CD_TXT", "ZEMO/twice/A", "ZEMO/twice/a"})
        fs::create_directories(tmp.path() / d);
    const struct {
        const char* stored;
        const char* found;  // below tmp, "" when not found
        std::vector<std::string> lookedFor;
    } cases[] = {
        {"C:\\ZEMO\\CD_SYS", "ZEMO/cd_sys", {"ZEMO/CD_SYS", "CD_SYS"}},
        {"\\\\SHOP\\DATA\\CD_MD", "ZEMO/Data/Cd_Md", {"DATA/CD_MD"}},  // the longest tail first
        {"E:\\CD_MD", "ZEMO/CD_MD", {"CD_MD"}},
        {"..\\cd_txt", "CD_TXT", {"../cd_txt"}},
        {"CD_SYS", "ZEMO/cd_sys", {"CD_SYS"}},
        {"", "ZEMO", {"."}},
        {"C:\\ZEMO\\CD_NONE", "", {"ZEMO/CD_NONE", "CD_NONE"}},
        {"TWICE\\A", "ZEMO/twice/A", {"TWICE/A"}},  // the exact spelling wins
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        const cli::migrate::FoundFolder f = cli::migrate::findOldFolder(old, c.stored);
        EXPECT_EQ(f.lookedFor, c.lookedFor);
        ASSERT_EQ(f.path.has_value(), std::string(c.found) != "");
        if (f.path) {
            EXPECT_EQ(fs::canonical(*f.path), fs::canonical(tmp.path() / c.found));
        }
    }
    fs::create_directories(tmp.path() / "ZEMO" / "TWIN" / "x");
    fs::create_directories(tmp.path() / "ZEMO" / "twin" / "x");
    const cli::migrate::FoundFolder twin = cli::migrate::findOldFolder(old, "Twin\\x");
    EXPECT_FALSE(twin.path);
    EXPECT_EQ(twin.problem, "two folders for one name there: TWIN and twin");
}

TEST(MigrateChecks, NamesReachTheReportAsPrintableUtf8) {
    EXPECT_EQ(cli::migrate::printable("CD_SYS/ﾒﾓ.zmo"), "CD_SYS/ﾒﾓ.zmo");
    EXPECT_EQ(cli::migrate::printable("a\x1B[2Jb"), "a\\x1B[2Jb");
    EXPECT_EQ(cli::migrate::printable("\x83\x81\x83\x82.ZMO"), "\\x83\\x81\\x83\\x82.ZMO");  // Shift-JIS bytes
    EXPECT_EQ(cli::migrate::printable("\xC2\x9B"
                                      "x"),
              "\\u009Bx");
}

}  // namespace
}  // namespace zemo
