// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line tool run as a program, each case in a fresh folder.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "support/scripted_prompter.h"
#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_ops.h"
#include "records/text.h"
#include "support/temp_dir.h"

namespace zemo {
namespace {

namespace fs = std::filesystem;

struct Result {
    int status = -1;
    std::string out, err;
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

fs::path makeTempDir() { return testsupport::makeTempDir("zemo-cli"); }

bool hasPrefix(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

class Cli : public ::testing::Test {
protected:
    Cli() {
        fs::create_directory(home_);
        initControlDefaults(ws_);
    }
    ~Cli() override { testsupport::removeTempDir(dir_); }

    // Runs zemo in the test folder with the given arguments; env entries replace the environment
    // (ZEMOPLAN_HOME is never inherited). A run that hangs is killed by its alarm and fails with
    // status -1. childSetup_, when set, runs in the child before the program starts.
    Result zemo(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
        const fs::path outFile = dir_ / ".stdout", errFile = dir_ / ".stderr";
        std::vector<std::string> argStore{ZEMO_CLI_PATH};
        argStore.insert(argStore.end(), args.begin(), args.end());
        std::vector<std::string> envStore;
        for (char** e = environ; *e != nullptr; ++e)
            if (std::strncmp(*e, "ZEMOPLAN_HOME=", 14) != 0) envStore.push_back(*e);
        envStore.insert(envStore.end(), env.begin(), env.end());
        std::vector<char*> argv, envp;
        for (std::string& a : argStore) argv.push_back(a.data());
        for (std::string& e : envStore) envp.push_back(e.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        pid_t pid = ::fork();
        if (pid == 0) {
            int o = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            int e = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 || ::chdir(dir_.c_str()) != 0) ::_exit(127);
            if (childSetup_) childSetup_();
            ::alarm(kWatchdogSeconds);  // kept across exec
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        Result r;
        int ws = 0;
        if (pid > 0 && ::waitpid(pid, &ws, 0) == pid && WIFEXITED(ws)) r.status = WEXITSTATUS(ws);
        r.out = slurp(outFile);
        r.err = slurp(errFile);
        return r;
    }

    // Writes records as a data file of the given kind, plain or in share form with a password.
    void writeFile(const fs::path& path, int kind, const std::vector<CdRecord>& records, const std::string& memo,
                   const char* password = nullptr) {
        TCddataArray array(static_cast<int>(records.size()) + 1);
        for (std::size_t i = 0; i < records.size(); ++i) array.put(static_cast<int>(i), records[i]);
        ws_.shareFlag = password != nullptr;
        ws_.control.shareMode = password != nullptr ? 1 : 0;
        if (password != nullptr) setField(ws_.control.sharePassword, password);
        ws_.nextMemo = sj(memo);
        ASSERT_EQ(writeDataFile(ws_, true, path.string(), kind, array, static_cast<int>(records.size())), 0);
    }

    // Reads a data file back through the core.
    std::vector<CdRecord> readFile(const fs::path& path, DataFileInfo* info = nullptr) {
        TCddataArray array(1001);
        int loaded = 0, count = 0;
        skipKindCheckOnce(ws_);
        EXPECT_EQ(readDataFile(ws_, path.string(), 1, array, loaded, count, 1000), DataFileRead::Ok);
        if (info != nullptr) {
            EXPECT_EQ(readInfo(ws_, path.string(), true, *info), DataFileRead::Ok);
        }
        return std::vector<CdRecord>(array.data(), array.data() + count);
    }

    static constexpr unsigned kWatchdogSeconds = 60;
    std::function<void()> childSetup_;
    fs::path dir_ = makeTempDir();
    fs::path home_ = dir_ / "home";
    ScriptedPrompter prompter_;
    FixedClock clock_{LocalTime{2024, 5, 1, 12, 34, 56}};
    Workspace ws_{prompter_, clock_, home_};
};

CdRecord record(const char* barcode, const char* title, const char* artist) {
    CdRecord r = clearedRecord();
    r.active = 1;
    setField(r.barcode, sj(barcode));
    setField(r.title, sj(title));
    setField(r.artist, sj(artist));
    return r;
}

// Records with play times, so that a tape plan and its label can be made of them.
std::vector<CdRecord> tapeRecords() {
    std::vector<CdRecord> out;
    for (int i = 0; i < 4; ++i) {
        CdRecord r = record(("49880" + std::to_string(i)).c_str(), "タイトル", "ｱｰﾃｨｽﾄ");
        r.timeSec = 1500 + 300 * i;
        out.push_back(r);
    }
    return out;
}

// --- init ---

TEST_F(Cli, InitCreatesTheControlFileAndTheFourDirectoriesThenKeepsThem) {
    Result r = zemo({"init", "--home", home_.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fs::file_size(home_ / "ZEMOCTRL.DAT"), 2048u);
    for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) EXPECT_TRUE(fs::is_directory(home_ / d)) << d;
    const std::string h = home_.string();
    EXPECT_EQ(lines(r.err), (std::vector<std::string>{
                                "confirmation: ｼｽﾃﾑｺﾝﾄﾛｰﾙﾌｧｲﾙがありません。作成します。 | ZEMOCTRL.DAT",
                                "warning: データディレクトリがありません。作成します。 | " + h + "/CD_SYS/",
                                "warning: データディレクトリがありません。作成します。 | " + h + "/CD_ADD/",
                                "warning: データディレクトリがありません。作成します。 | " + h + "/CD_TXT/",
                                "warning: データディレクトリがありません。作成します。 | " + h + "/CD_MD/",
                            }));
    EXPECT_EQ(lines(r.out)[0], "control\t" + h + "/ZEMOCTRL.DAT\tcreated");

    // The control file a first start writes is the one the program reads back.
    Workspace loaded(prompter_, clock_, home_);
    ASSERT_EQ(loadControl(loaded, false), 0);
    EXPECT_EQ(fieldText(loaded.control.paths[kPathSys]), "CD_SYS");
    EXPECT_EQ(loaded.control.shuffleBlock.tolerance, 5);

    const std::string before = slurp(home_ / "ZEMOCTRL.DAT");
    Result again = zemo({"init", "--home", home_.string()});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(again.err, "");
    EXPECT_EQ(lines(again.out)[0], "control\t" + h + "/ZEMOCTRL.DAT\tkept");
    EXPECT_EQ(slurp(home_ / "ZEMOCTRL.DAT"), before);
}

TEST_F(Cli, TheProgramFolderComesFromHomeThenTheEnvironmentThenTheCurrentFolder) {
    ASSERT_EQ(zemo({"init"}, {"ZEMOPLAN_HOME=" + (dir_ / "env").string()}).status, 0);
    EXPECT_TRUE(fs::exists(dir_ / "env" / "ZEMOCTRL.DAT"));
    ASSERT_EQ(zemo({"init", "--home=" + (dir_ / "opt").string()}, {"ZEMOPLAN_HOME=" + (dir_ / "env2").string()}).status,
              0);
    EXPECT_TRUE(fs::exists(dir_ / "opt" / "ZEMOCTRL.DAT"));
    EXPECT_FALSE(fs::exists(dir_ / "env2"));
    ASSERT_EQ(zemo({"init"}).status, 0);
    EXPECT_TRUE(fs::exists(dir_ / "ZEMOCTRL.DAT"));
}

// --- show ---

class CliShow : public Cli {
protected:
    void SetUp() override {
        CdRecord a = record("4988001234567", "ミュージック・アルバム", "ｱｰﾃｨｽﾄ");
        setField(a.userCode, "U-01");
        setField(a.artistCode, "A,1");
        a.timeSec = 3725;
        a.saleDate = 20240229;
        a.entryDate = 20240301;
        a.openDate = 0;
        a.trackCount = 12;
        a.trackPos = 3;
        a.kind = 1;
        a.infoKind = 2;
        a.registeredAt = stampOf(LocalTime{2024, 3, 1, 9, 5, 0});
        a.deletedAt = stampOf(LocalTime{2024, 4, 30, 23, 59, 0});
        CdRecord b = record("X2", "Say \"hi\"", "B");
        b.timeSec = 6000000;
        b.kind = 4;
        file_ = dir_ / "CD_DEL.ZMO";
        writeFile(file_, 4, {a, b}, "削除の記録");
    }
    fs::path file_;
};

TEST_F(CliShow, PrintsTheSummaryAndTheSixteenColumnsTabSeparated) {
    Result r = zemo({"show", file_.string(), "--home", home_.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out,
              "kind\t4\t削除\n"
              "memo\t削除の記録\n"
              "creator\t\n"
              "scrambled\t0\n"
              "protected\t0\n"
              "records\t2\n"
              "saved\t2024/05/01 12:34\n"
              "\n"
              "\tバーコード\tユーザーコード\tアーチストコード\tタイトル\tアーチスト\t時間\t発売日\tﾃﾞｰﾀ登録\tﾚﾝﾀﾙ開始\t"
              "曲数\t位置\t種類\t属性\t登録日付\t削除日付\n"
              "    1\t4988001234567\tU-01\tA,1\tミュージック・アルバム\tｱｰﾃｨｽﾄ\t   62:05\t2024/02/29\t2024/03/01\t"
              "   0/00/00\t12\t 3\t2:ｱﾙﾊﾞﾑ\t3:両方\t2024/03/01 09:05\t2024/04/30 23:59\n"
              "    2\tX2\t\t\tSay \"hi\"\tB\t-----:--\t   0/00/00\t   0/00/00\t   0/00/00\t 1\t 1\t5:その他\t1:通常\t"
              "----/--/-- --:--\t----/--/-- --:--\n");
}

// Only `active` 1 marks a record; a damaged or foreign file may carry any other value.
TEST_F(CliShow, RecordsThatAreNotActiveShowOnlyTheirRowNumber) {
    std::string bytes = slurp(file_);
    for (std::int16_t active : {std::int16_t{1}, std::int16_t{2}, std::int16_t{0}, std::int16_t{-1}}) {
        std::string damaged = bytes;
        std::memcpy(damaged.data() + 384 + 192 + 172, &active, sizeof active);  // the second record
        std::ofstream(file_, std::ios::binary | std::ios::trunc) << damaged;
        Result r = zemo({"show", file_.string(), "--home", home_.string()});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> l = lines(r.out);
        ASSERT_EQ(l.size(), 11u) << r.out;
        EXPECT_TRUE(hasPrefix(l[9], "    1\t4988001234567\t")) << l[9];
        if (active == 1) {
            EXPECT_TRUE(hasPrefix(l[10], "    2\tX2\t")) << l[10];
        } else {
            EXPECT_EQ(l[10], "    2" + std::string(15, '\t')) << "active " << active;
        }
    }
}

TEST_F(Cli, ShowsAndExportsAFileWithoutRecords) {
    const fs::path empty = dir_ / "EMPTY.ZMO";
    writeFile(empty, 2, {}, "空");
    ASSERT_EQ(fs::file_size(empty), 384u);
    Result r = zemo({"show", empty.string(), "--home", home_.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(hasPrefix(r.out, "kind\t2\t振分け\nmemo\t空\n")) << r.out;
    EXPECT_NE(r.out.find("records\t0\n"), std::string::npos) << r.out;
    Result e = zemo({"export", empty.string(), "--home", home_.string()});
    ASSERT_EQ(e.status, 0) << e.err;
    EXPECT_EQ(lines(e.out).size(), 1u) << e.out;  // the header row only
}

TEST_F(CliShow, CsvQuotesWhatNeedsQuotingAndEndsLinesInCrLf) {
    Result r = zemo({"show", "--csv", file_.string(), "--home", home_.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> l = lines(r.out);
    ASSERT_EQ(l.size(), 11u);
    EXPECT_EQ(l[0], "kind,4,削除\r");
    EXPECT_EQ(l[7], "\r");
    EXPECT_EQ(l[9], "\"    1\",4988001234567,U-01,\"A,1\",ミュージック・アルバム,ｱｰﾃｨｽﾄ,\"   62:05\",2024/02/29,"
                    "2024/03/01,\"   0/00/00\",12,\" 3\",2:ｱﾙﾊﾞﾑ,3:両方,2024/03/01 09:05,2024/04/30 23:59\r");
    EXPECT_TRUE(hasPrefix(l[10], "\"    2\",X2,,,\"Say \"\"hi\"\"\",B,-----:--,\"   0/00/00\",")) << l[10];
}

TEST_F(Cli, AProtectedFileNeedsItsPasswordInAnyCase) {
    setField(ws_.control.creatorId, "SHOP0001");
    CdRecord a = record("111", "タイトル", "アーチスト");
    setField(a.userCode, "UC9");
    const fs::path file = dir_ / "share.zmo";
    writeFile(file, 1, {a}, "共有", "Secret");

    Result none = zemo({"show", file.string(), "--home", home_.string()});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "error: パスワードが違います!\n");

    Result wrong = zemo({"export", file.string(), "--password", "Secrets", "--home", home_.string()});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.err, "error: パスワードが違います!\n");

    Result right = zemo({"show", file.string(), "--password", "sECRET", "--home", home_.string()});
    ASSERT_EQ(right.status, 0) << right.err;
    const std::vector<std::string> l = lines(right.out);
    EXPECT_EQ(l[1], "memo\t共有");
    EXPECT_EQ(l[2], "creator\tSHOP0001");
    EXPECT_EQ(l[3], "scrambled\t1");
    EXPECT_EQ(l[4], "protected\t1");
    EXPECT_TRUE(hasPrefix(l[9], "    1\t111\tUC9\t\tタイトル\tアーチスト\t")) << l[9];
}

TEST_F(Cli, DamagedOrMissingFilesFailWithTheReadersMessages) {
    Result missing = zemo({"show", "nothing.zmo", "--home", home_.string()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "error: nothing.zmo | ファイルが見つかりません！\n");

    writeFile(dir_ / "ok.zmo", 1, {record("1", "t", "a"), record("2", "t", "a")}, "");
    std::string bytes = slurp(dir_ / "ok.zmo");
    bytes.resize(bytes.size() - 10);  // the last record cut short
    std::ofstream(dir_ / "cut.zmo", std::ios::binary) << bytes;
    Result cut = zemo({"export", "cut.zmo", "--home", home_.string()});
    EXPECT_EQ(cut.status, 1);
    EXPECT_EQ(cut.out, "");
    EXPECT_EQ(cut.err, "error: cut.zmo | ファイルエラー！\n");
}

// --- export and import ---

TEST_F(Cli, ExportThenImportGivesBackEveryFieldOfEveryRecord) {
    std::vector<CdRecord> records;
    CdRecord full = record("12345678901234", "全角二十文字のタイトルでちょうど四十バイ", "ｱｰﾃｨｽﾄ, \"quoted\"  ");
    setField(full.userCode, "  lead blank");
    setField(full.artistCode, "123456789012345678901234567890");
    full.timeSec = 359999;
    full.openDate = 20240101;
    full.saleDate = 19991231;
    full.entryDate = 20000229;
    full.registeredAt = 2147483647;
    full.deletedAt = -5;
    full.trackCount = 99;
    full.trackPos = 99;
    full.kind = 4;
    full.infoKind = 2;
    full.catalogueIndex = -32768;
    records.push_back(full);
    CdRecord plain = record("A", "", "");
    plain.catalogueIndex = 32767;
    records.push_back(plain);
    CdRecord jp = record("①②", "ﾊﾝｶｸ～", "髙橋");
    records.push_back(jp);
    ASSERT_EQ(fieldText(full.title).size(), 40u);
    writeFile(dir_ / "in.zmo", 7, records, "");

    Result ex = zemo({"export", "in.zmo", "-o", "out.csv", "--home", home_.string()});
    ASSERT_EQ(ex.status, 0) << ex.err;
    EXPECT_EQ(ex.out, "");
    const std::string csv = slurp(dir_ / "out.csv");
    EXPECT_EQ(csv.substr(0, csv.find('\n') + 1),
              "barcode,userCode,artistCode,title,artist,timeSec,openDate,saleDate,entryDate,registeredAt,deletedAt,"
              "trackCount,trackPos,kind,infoKind,catalogueIndex\r\n");
    Result toStdout = zemo({"export", "in.zmo", "--home", home_.string()});
    EXPECT_EQ(toStdout.out, csv);

    Result im = zemo({"import", "out.csv", "-o", "back.zmo", "--kind", "7", "--memo", "取込み", "--home", home_.string()});
    ASSERT_EQ(im.status, 0) << im.err;
    DataFileInfo info{};
    const std::vector<CdRecord> back = readFile(dir_ / "back.zmo", &info);
    ASSERT_EQ(back.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(std::memcmp(&back[i], &records[i], sizeof(CdRecord)), 0) << "record " << i;
    EXPECT_EQ(fieldText(info.memo), sj("取込み"));
    DataFileHeader header{};
    ASSERT_EQ(readHeader(ws_, (dir_ / "back.zmo").string(), true, header), DataFileRead::Ok);
    EXPECT_EQ(header.fileKind, 7);
    EXPECT_EQ(header.magic, kMagicPlain);
    EXPECT_EQ(info.scrambled, 0);
    EXPECT_EQ(info.hasPassword, 0);
}

// A program folder and a stick whose names hold blanks: every command finds its files under their
// real names, and a stored work folder keeps its inner blanks (those around it are dropped).
TEST_F(Cli, CommandsWorkOnPathsWithBlanks) {
    const fs::path shop = dir_ / "shop home";
    const fs::path stick = dir_ / "My Stick";
    fs::create_directories(shop);
    fs::create_directories(stick);
    fs::create_directories(dir_ / "MyStick");  // the blank-free twin stays empty
    Workspace shopWs(prompter_, clock_, shop);
    initControlDefaults(shopWs);
    setField(shopWs.control.paths[kPathSys], "  My Data ");
    ASSERT_EQ(saveControl(shopWs), 0);

    Result init = zemo({"init", "--home", shop.string()});
    ASSERT_EQ(init.status, 0) << init.err;
    EXPECT_TRUE(fs::is_directory(shop / "My Data"));
    EXPECT_NE(init.out.find("sysDir\t" + shop.string() + "/My Data/\n"), std::string::npos) << init.out;

    const std::vector<CdRecord> records = {record("4988001", "一枚目", "A"), record("4988002", "二枚目", "B")};
    writeFile(stick / "CD X.ZMO", 1, records, "棚Ｂ");
    Result show = zemo({"show", (stick / "CD X.ZMO").string(), "--home", shop.string()});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_NE(show.out.find("memo\t棚Ｂ\n"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("records\t2\n"), std::string::npos) << show.out;

    Result ex = zemo({"export", "My Stick/CD X.ZMO", "-o", "My Stick/out file.csv", "--home", shop.string()});
    ASSERT_EQ(ex.status, 0) << ex.err;
    ASSERT_TRUE(fs::exists(stick / "out file.csv"));
    Result im = zemo({"import", "My Stick/out file.csv", "-o", "My Stick/back again.zmo", "--home", shop.string()});
    ASSERT_EQ(im.status, 0) << im.err;
    const std::vector<CdRecord> back = readFile(stick / "back again.zmo");
    ASSERT_EQ(back.size(), records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        EXPECT_EQ(std::memcmp(&back[i], &records[i], sizeof(CdRecord)), 0) << "record " << i;
    EXPECT_TRUE(fs::is_empty(dir_ / "MyStick"));
}

TEST_F(Cli, ImportTakesColumnsInAnyOrderAndKeepsTheReplacedFileAsBak) {
    std::ofstream(dir_ / "sheet.csv", std::ios::binary)
        << "\xEF\xBB\xBFtitle,barcode,timeSec\n\"Line, one\",111, 90 \n\n,222,\n";
    writeFile(dir_ / "CD_DATA.ZMO", 1, {record("OLD", "old", "old")}, "");
    const std::string old = slurp(dir_ / "CD_DATA.ZMO");
    Result r = zemo({"import", "sheet.csv", "-o", "CD_DATA.ZMO", "--home", home_.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(slurp(dir_ / "CD_DATA.BAK"), old);
    const std::vector<CdRecord> back = readFile(dir_ / "CD_DATA.ZMO");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(fieldText(back[0].barcode), "111");
    EXPECT_EQ(fieldText(back[0].title), "Line, one");
    EXPECT_EQ(back[0].timeSec, 90);
    EXPECT_EQ(back[0].trackCount, 1);
    EXPECT_EQ(back[1].timeSec, 0);
    EXPECT_EQ(back[1].active, 1);
}

TEST_F(Cli, ImportListsEveryBadRowAndWritesNothing) {
    std::ofstream(dir_ / "bad.csv", std::ios::binary)
        << "barcode,title,artist,timeSec,trackCount,trackPos,kind,infoKind,saleDate,entryDate,openDate\r\n"
           "OK1,Fine,A,1,1,1,0,0,0,0,0\r\n"
           "   ,T,A,1,0,1,5,3,20230229,20241300,20240032\r\n"
           "OK2,\"two\r\nlines\",A,x,1,1,0,0,0,0,0\r\n"
           "123456789012345,全角二十一文字のタイトルでちょうど四十二バ,🎵,99999999999,1,2,0,0,0,0,0\r\n"
           "OK3,short,row\r\n"
           "OK4,Fine,A,1,1,1,0,0,0,0,0\r\n";
    Result r = zemo({"import", "bad.csv", "-o", "out.zmo", "--home", home_.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fs::exists(dir_ / "out.zmo"));
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(lines(r.err),
              (std::vector<std::string>{
                  "bad.csv:3: barcode: ﾊﾞｰｺｰﾄﾞ文字がありません！ | スペース以外の文字が必要です。",
                  "bad.csv:3: trackCount: CD内登録曲数が異常です！",
                  "bad.csv:3: kind: 種類が異常です！",
                  "bad.csv:3: infoKind: 情報種別が異常です！",
                  "bad.csv:3: saleDate: 存在しない日付です!",
                  "bad.csv:3: entryDate: 存在しない日付です!",
                  "bad.csv:3: openDate: 存在しない日付です!",
                  "bad.csv:4: title: line break or NUL in the text",
                  "bad.csv:4: timeSec: not a whole number",
                  "bad.csv:6: barcode: 15 bytes in Shift-JIS, at most 14",
                  "bad.csv:6: title: 42 bytes in Shift-JIS, at most 40",
                  "bad.csv:6: artist: not convertible to Shift-JIS (CP932) at byte 1",
                  "bad.csv:6: timeSec: out of range -2147483648..2147483647",
                  "bad.csv:6: trackPos: CD内登録位置が異常です！",
                  "bad.csv:7: row: 3 fields, the header has 11",
                  "zemo import: 4 of 6 rows are bad; nothing written",
              }));
}

TEST_F(Cli, ImportRefusesAnUnusableHeaderOrBrokenQuoting) {
    std::ofstream(dir_ / "h.csv", std::ios::binary) << "title,Barcode,title\r\nx,y,z\r\n";
    Result h = zemo({"import", "h.csv", "-o", "o.zmo", "--home", home_.string()});
    EXPECT_EQ(h.status, 1);
    EXPECT_EQ(lines(h.err), (std::vector<std::string>{
                                "h.csv:1: header: unknown column 'Barcode'",
                                "h.csv:1: header: column 'title' given twice",
                                "h.csv:1: header: no barcode column",
                                "zemo import: the header row is not usable; nothing written",
                            }));
    std::ofstream(dir_ / "q.csv", std::ios::binary) << "barcode\r\n1\r\n\"2\r\n";
    Result q = zemo({"import", "q.csv", "-o", "o.zmo", "--home", home_.string()});
    EXPECT_EQ(q.status, 1);
    EXPECT_EQ(q.err, "zemo import: q.csv: line 3: quoted field not closed\n");
    EXPECT_FALSE(fs::exists(dir_ / "o.zmo"));
}

// --- what the tool refuses ---

// Every entry below the folder: a regular file by its contents, anything else by its type, so that
// a refused command is seen to have written, created and removed nothing.
std::map<std::string, std::string> folderState(const fs::path& dir) {
    std::map<std::string, std::string> state;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(dir, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const std::string name = fs::relative(it->path(), dir).string();
        if (name == ".stdout" || name == ".stderr") continue;
        const fs::file_status st = it->symlink_status();
        if (fs::is_symlink(st)) state[name] = "link to " + fs::read_symlink(it->path()).string();
        else if (fs::is_regular_file(st)) state[name] = "file " + slurp(it->path());
        else if (fs::is_directory(st)) state[name] = "folder";
        else state[name] = "other";
    }
    return state;
}

// The entries that differ between two states, by name ("" when none do).
std::string changedEntries(const std::map<std::string, std::string>& before,
                           const std::map<std::string, std::string>& after) {
    std::string out;
    for (const auto& [name, what] : before) {
        auto it = after.find(name);
        if (it == after.end()) out += " removed " + name;
        else if (it->second != what) out += " changed " + name;
    }
    for (const auto& [name, what] : after)
        if (before.count(name) == 0) out += " created " + name;
    return out;
}

std::string joined(const std::vector<std::string>& args) {
    std::string out;
    for (const std::string& a : args) out += a + " ";
    return out;
}

// A command that must be refused: its arguments (the program folder "home" is added), the exit
// status and the texts its stderr must hold.
struct Refusal {
    const char* what;
    std::vector<std::string> args;
    int status;
    std::vector<std::string> says;
    std::vector<std::string> env = {};
    bool addHome = true;
    bool needsNonRoot = false;  // permissions do not hold for root
};

class CliRefuses : public Cli {
protected:
    void SetUp() override {
        ASSERT_EQ(saveControl(ws_), 0);
        put("home/ZEMOCTRL.BAK", "the control file's previous generation");
        writeFile(home_ / "ZEMOCTRL.ZMO", 1, {record("C", "c", "c")}, "");
        put("a.csv", "barcode,title\r\n1,one\r\n");
        put("a.BAK", "the backup name of a.csv");
        fs::create_symlink("a.csv", dir_ / "link.csv");
        fs::create_hard_link(dir_ / "a.csv", dir_ / "hard.csv");
        fs::create_directory(dir_ / "sub");
        fs::create_directory_symlink("home", dir_ / "homelink");
        ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0644), 0);
        fs::create_symlink("fifo", dir_ / "fifolink");
        writeFile(dir_ / "d.zmo", 1, {record("D1", "d", "d")}, "");
        put("d.BAK", "the backup of d.zmo");
        put("d.csv", "an earlier export");
        fs::create_symlink("d.zmo", dir_ / "dlink.zmo");
        writeFile(dir_ / "e.zmo", 1, {record("E1", "e", "e")}, "");
        ASSERT_EQ(::mkfifo((dir_ / "e.BAK").c_str(), 0644), 0);
        put("k.BAK", "barcode\r\n1\r\n");  // a CSV under a backup's name
        writeFile(dir_ / "k.zmo", 1, {record("K1", "k", "k")}, "");
        fs::create_directory(dir_ / "fifohome");
        ASSERT_EQ(::mkfifo((dir_ / "fifohome" / "ZEMOCTRL.DAT").c_str(), 0644), 0);

        put("sjis.csv", "barcode,title\r\n1," + sj("ブルー・ホライズン") + "\r\n");
        put("a-bom.csv", "\xEF\xBB\xBF" "barcode\r\n1\r\n");
        put("long.csv", "barcode,title\r\n1," + std::string(121, 'x') + "\r\n");
        put("wide.csv", "barcode\r\n1" + std::string(16, ',') + "\r\n");
        put("time.csv", "barcode,timeSec\r\n1,-2147483648\r\n");
        put("date.csv", "barcode,saleDate\r\n1,100000000\r\n");
        put("locked.csv", "barcode\r\n1\r\n");
        fs::permissions(dir_ / "locked.csv", fs::perms::none);
        writeFile(dir_ / "locked.zmo", 1, {record("L1", "l", "l")}, "");
        fs::permissions(dir_ / "locked.zmo", fs::perms::none);
        fs::create_directory(dir_ / "ro");
        fs::permissions(dir_ / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    }

    void put(const std::string& name, const std::string& bytes) {
        std::ofstream(dir_ / name, std::ios::binary | std::ios::trunc) << bytes;
    }
};

TEST_F(CliRefuses, BadInputsFailWithTheirReasonAndTouchNothing) {
    const std::string absInput = (dir_ / "a.csv").string();
    const std::vector<Refusal> cases = {
        // Never onto what is being read or the program's own files, under any spelling or link.
        {"import onto its input", {"import", "a.csv", "-o", "a.csv"}, 1, {"a.csv is the input;"}},
        {"... spelled otherwise", {"import", "a.csv", "-o", "sub/../a.csv"}, 1, {"is the input"}},
        {"... spelled absolutely", {"import", "a.csv", "-o", absInput}, 1, {"is the input"}},
        {"... through a link", {"import", "a.csv", "-o", "link.csv"}, 1, {"is the input"}},
        {"... through a hard link", {"import", "a.csv", "-o", "hard.csv"}, 1, {"is the input"}},
        {"... read through a link", {"import", "link.csv", "-o", "a.csv"}, 1, {"is the input"}},
        {"import onto the control file", {"import", "a.csv", "-o", "home/ZEMOCTRL.DAT"}, 1,
         {"is the program's control file"}},
        {"... through a linked folder", {"import", "a.csv", "-o", "homelink/ZEMOCTRL.DAT"}, 1,
         {"is the program's control file"}},
        {"... in other letters", {"import", "a.csv", "-o", "home/zemoctrl.dat"}, 1, {"is the program's control file"}},
        {"import onto the control file's backup", {"import", "a.csv", "-o", "home/ZEMOCTRL.BAK"}, 1,
         {"is the control file's backup"}},
        {"import onto the input's backup", {"import", "a.csv", "-o", "a.BAK"}, 1, {"is the input's backup"}},
        {"import whose kept output would replace the control file's backup",
         {"import", "a.csv", "-o", "home/ZEMOCTRL.ZMO"}, 1, {"would replace the control file's backup"}},
        {"import whose kept output would replace the input", {"import", "k.BAK", "-o", "k.zmo"}, 1,
         {"would replace the input"}},
        {"export onto its input", {"export", "d.zmo", "-o", "d.zmo"}, 1, {"d.zmo is the input;"}},
        {"... through a link", {"export", "d.zmo", "-o", "dlink.zmo"}, 1, {"is the input"}},
        {"export onto the input's backup", {"export", "d.zmo", "-o", "d.BAK"}, 1, {"is the input's backup"}},
        {"export whose kept output would replace the input's backup", {"export", "d.zmo", "-o", "d.csv"}, 1,
         {"keeping d.csv as d.BAK would replace the input's backup"}},
        {"export onto the control file", {"export", "d.zmo", "-o", "home/ZEMOCTRL.DAT"}, 1,
         {"is the program's control file"}},
        {"export onto a backup name", {"export", "d.zmo", "-o", "list.bak"}, 1, {"a .BAK name is kept for backups"}},
        // A printed PDF is an output like any other.
        {"list into its input", {"list", "d.zmo", "--pdf", "d.zmo"}, 1, {"zemo list: d.zmo is the input;"}},
        {"... spelled otherwise", {"list", "d.zmo", "--pdf", "sub/../d.zmo"}, 1, {"is the input"}},
        {"... through a link", {"list", "d.zmo", "--pdf", "dlink.zmo"}, 1, {"is the input"}},
        {"list into the input's backup", {"list", "d.zmo", "--pdf", "d.BAK"}, 1, {"is the input's backup"}},
        {"list whose kept output would replace the input's backup", {"list", "d.zmo", "--pdf", "d.csv"}, 1,
         {"keeping d.csv as d.BAK would replace the input's backup"}},
        {"list into the control file", {"list", "d.zmo", "--pdf", "home/ZEMOCTRL.DAT"}, 1,
         {"is the program's control file"}},
        {"... through a linked folder", {"list", "d.zmo", "--pdf", "homelink/../homelink/zemoctrl.dat"}, 1,
         {"is the program's control file"}},
        {"list into the control file's backup", {"list", "d.zmo", "--pdf", "home/ZEMOCTRL.BAK"}, 1,
         {"is the control file's backup"}},
        {"list whose kept output would replace the control file's backup",
         {"list", "d.zmo", "--pdf", "home/ZEMOCTRL.ZMO"}, 1, {"would replace the control file's backup"}},
        {"list into a FIFO", {"list", "d.zmo", "--pdf", "fifolink"}, 1, {"fifolink is a FIFO"}},
        {"list into a device", {"list", "d.zmo", "--pdf", "/dev/full"}, 1, {"/dev/full is a character device"}},
        {"list into a folder", {"list", "d.zmo", "--pdf", "sub"}, 1, {"sub is a folder"}},
        {"label into its input", {"label", "d.zmo", "--pdf", "dlink.zmo"}, 1, {"zemo label: dlink.zmo is the input"}},
        {"label into the input's backup", {"label", "d.zmo", "--pdf", "d.BAK"}, 1, {"is the input's backup"}},
        {"label into its control file", {"label", "d.zmo", "--control", "k.zmo", "--pdf", "./k.zmo"}, 1,
         {"is the input"}},
        {"label into the control file", {"label", "d.zmo", "--pdf", "homelink/ZEMOCTRL.DAT"}, 1,
         {"is the program's control file"}},
        {"label into the control file's backup", {"label", "d.zmo", "--pdf", "home/ZEMOCTRL.BAK"}, 1,
         {"is the control file's backup"}},
        {"label into the settings file its font comes from", {"label", "d.zmo", "--pdf", "home/wzemo.ini"}, 1,
         {"is the program's settings file"}},
        {"label into a FIFO", {"label", "d.zmo", "--pdf", "fifo"}, 1, {"fifo is a FIFO"}},
        {"label into a device", {"label", "d.zmo", "--pdf", "/dev/full"}, 1, {"/dev/full is a character device"}},

        // Only regular files, looked at without blocking.
        {"import from a FIFO", {"import", "fifo", "-o", "x.zmo"}, 1, {"fifo is a FIFO (named pipe), not a regular file"}},
        {"import into a FIFO", {"import", "a.csv", "-o", "fifo"}, 1, {"fifo is a FIFO"}},
        {"import into a link to a FIFO", {"import", "a.csv", "-o", "fifolink"}, 1, {"fifolink is a FIFO"}},
        {"import whose output's backup is a FIFO", {"import", "a.csv", "-o", "e.zmo"}, 1,
         {"e.BAK is a FIFO (named pipe), so e.zmo cannot be kept"}},
        {"import with a FIFO as the control file", {"import", "a.csv", "-o", "x.zmo", "--home", "fifohome"}, 1,
         {"ZEMOCTRL.DAT is a FIFO"}, {}, false},
        {"init with a FIFO as the control file", {"init", "--home", "fifohome"}, 1, {"ZEMOCTRL.DAT is a FIFO"}, {},
         false},
        {"import from a device", {"import", "/dev/zero", "-o", "x.zmo"}, 1, {"/dev/zero is a character device"}},
        {"import from a folder", {"import", "sub", "-o", "x.zmo"}, 1, {"sub is a folder, not a regular file"}},
        {"import into a folder", {"import", "a.csv", "-o", "sub"}, 1, {"sub is a folder, not a regular file"}},
        {"show a FIFO", {"show", "fifo"}, 1, {"fifo is a FIFO"}},
        {"show a device", {"show", "/dev/zero"}, 1, {"is a character device"}},
        {"show a folder", {"show", "sub"}, 1, {"sub is a folder"}},
        {"export a FIFO", {"export", "fifo", "-o", "x.csv"}, 1, {"fifo is a FIFO"}},
        {"export into a device", {"export", "d.zmo", "-o", "/dev/null"}, 1, {"/dev/null is a character device"}},
        {"plan a FIFO", {"plan", "fifo"}, 1, {"fifo is a FIFO"}},
        {"plan with a FIFO as the control file", {"plan", "d.zmo", "--control", "fifo"}, 1, {"fifo is a FIFO"}},

        // Bounded work.
        {"a field longer than any record field", {"import", "long.csv", "-o", "x.zmo"}, 1,
         {"long.csv: line 2: a field longer than 120 bytes"}},
        {"a row of more fields than a record has", {"import", "wide.csv", "-o", "x.zmo"}, 1,
         {"wide.csv: line 2: more than 16 fields"}},
        {"a run number beyond five digits", {"plan", "d.zmo", "--run", "100000"}, 2, {"--run takes a run number 1..99999"}},

        // A program folder that is not a usable folder.
        {"show with a missing program folder", {"show", "d.zmo", "--home", "nowhere"}, 2, {"--home nowhere: no such folder"},
         {}, false},
        {"show with a file as the program folder", {"show", "d.zmo", "--home", "a.csv"}, 2, {"--home a.csv: not a folder"},
         {}, false},
        {"export with a file as the program folder", {"export", "d.zmo", "--home", "a.csv"}, 2, {"not a folder"}, {}, false},
        {"import with a missing program folder", {"import", "a.csv", "-o", "x.zmo", "--home", "nowhere"}, 2,
         {"no such folder"}, {}, false},
        {"plan with a file as the program folder", {"plan", "d.zmo", "--home", "a.csv"}, 2, {"not a folder"}, {}, false},
        {"init with a file as the program folder", {"init", "--home", "a.csv"}, 2, {"not a folder"}, {}, false},
        {"show with a missing ZEMOPLAN_HOME", {"show", "d.zmo"}, 2, {"ZEMOPLAN_HOME=nowhere: no such folder"},
         {"ZEMOPLAN_HOME=nowhere"}, false},

        // The encoding of the CSV.
        {"a Shift-JIS file read as UTF-8", {"import", "sjis.csv", "-o", "x.zmo"}, 1,
         {"sjis.csv: line 2: not UTF-8", "--encoding cp932"}},
        {"a UTF-8 file read as CP932", {"import", "a-bom.csv", "-o", "x.zmo", "--encoding", "cp932"}, 1,
         {"UTF-8 byte order mark"}},
        {"an unknown encoding", {"import", "a.csv", "-o", "x.zmo", "--encoding", "latin1"}, 2,
         {"--encoding takes utf-8 or cp932"}},

        // File errors give the system's reason after the stored message.
        {"show in a missing folder", {"show", "nowhere/x.zmo"}, 1,
         {"nowhere/x.zmo | ファイルが見つかりません！", "zemo show: nowhere/x.zmo: no such folder"}},
        {"plan in a missing folder", {"plan", "nowhere/x.zmo"}, 1, {"ファイルが見つかりません！", "no such folder"}},
        {"import into a missing folder", {"import", "a.csv", "-o", "nowhere/x.zmo"}, 1,
         {"nowhere/x.zmo | ファイルエラー！", "zemo import: nowhere/x.zmo: no such folder"}},
        {"import from a missing folder", {"import", "nowhere/a.csv", "-o", "x.zmo"}, 1,
         {"nowhere/a.csv: cannot be read: no such folder"}},
        {"export into a missing folder", {"export", "d.zmo", "-o", "nowhere/x.csv"}, 1,
         {"nowhere/x.csv: cannot write", "nowhere/x.csv: no such folder"}},
        {"import into a folder it may not write", {"import", "a.csv", "-o", "ro/x.zmo"}, 1,
         {"ファイルエラー！", "ro/x.zmo: permission denied"}, {}, true, true},
        {"show a file it may not read", {"show", "locked.zmo"}, 1,
         {"ファイル読み込エラーです！", "locked.zmo: permission denied"}, {}, true, true},
        {"import a file it may not read", {"import", "locked.csv", "-o", "x.zmo"}, 1,
         {"locked.csv: cannot be read: permission denied"}, {}, true, true},

        // Times and dates are checked as the record editor's fields check them.
        {"a play time of -2147483648 seconds", {"import", "time.csv", "-o", "x.zmo"}, 1,
         {"time.csv:2: timeSec: 入力範囲が不正です！ | 最小[ 0 ] 最大[ 999959 ]です。"}},
        {"a date 100000000", {"import", "date.csv", "-o", "x.zmo"}, 1,
         {"date.csv:2: saleDate: 入力範囲が不正です！ | 最小[ 0 ] 最大[ 99999999 ]です。"}},
    };
    const bool root = ::geteuid() == 0;
    for (const Refusal& c : cases) {
        if (c.needsNonRoot && root) {
            std::printf("[ skipped ] %s: permissions do not bind root\n", c.what);
            continue;
        }
        std::vector<std::string> args = c.args;
        if (c.addHome && c.env.empty()) args.insert(args.end(), {"--home", "home"});
        const auto before = folderState(dir_);
        const Result r = zemo(args, c.env);
        EXPECT_EQ(r.status, c.status) << c.what << ": " << joined(args) << "\n" << r.err;
        for (const std::string& text : c.says)
            EXPECT_NE(r.err.find(text), std::string::npos) << c.what << ": expected \"" << text << "\" in\n" << r.err;
        EXPECT_EQ(r.out, "") << c.what;
        EXPECT_EQ(changedEntries(before, folderState(dir_)), "") << c.what;
    }
}

TEST_F(Cli, ImportStopsAtTheRowCapBeforeReadingOn) {
    std::string rows = "barcode\r\n";
    for (int i = 1; i <= 32767; ++i) rows += std::to_string(i) + "\r\n";
    std::ofstream(dir_ / "full.csv", std::ios::binary) << rows;
    Result full = zemo({"import", "full.csv", "-o", "full.zmo", "--home", home_.string()});
    ASSERT_EQ(full.status, 0) << full.err;
    EXPECT_EQ(full.out, "full.zmo\t32767 records\n");
    EXPECT_EQ(fs::file_size(dir_ / "full.zmo"), 384u + 32767u * 192u);

    // One row more, then a quote that is never closed: the reading stops at the row cap, so the
    // quote further on is never reached.
    std::ofstream(dir_ / "over.csv", std::ios::binary) << rows << "32768\r\n\"never closed";
    Result over = zemo({"import", "over.csv", "-o", "over.zmo", "--home", home_.string()});
    EXPECT_EQ(over.status, 1);
    EXPECT_EQ(over.err, "zemo import: over.csv: line 32769: more than 32767 rows; a data file holds at most 32767; "
                        "nothing written\n");
    EXPECT_FALSE(fs::exists(dir_ / "over.zmo"));
}

TEST_F(Cli, ImportTakesAFieldAsWideAsTheWidestRecordFieldAndNoWider) {
    std::string widest;
    for (int i = 0; i < 40; ++i) widest += "ｱ";  // 40 bytes in Shift-JIS, 120 in UTF-8
    ASSERT_EQ(widest.size(), 120u);
    std::ofstream(dir_ / "w.csv", std::ios::binary) << "barcode,title\r\n1," << widest << "\r\n";
    Result ok = zemo({"import", "w.csv", "-o", "w.zmo", "--home", home_.string()});
    ASSERT_EQ(ok.status, 0) << ok.err;
    EXPECT_EQ(fieldText(readFile(dir_ / "w.zmo")[0].title), sj(widest));

    // One byte more stops the reading there: the unclosed quote after it is never reached.
    std::ofstream(dir_ / "w1.csv", std::ios::binary) << "barcode,title\r\n1," << widest << "x\r\n2,\"open";
    Result over = zemo({"import", "w1.csv", "-o", "w1.zmo", "--home", home_.string()});
    EXPECT_EQ(over.status, 1);
    EXPECT_EQ(over.err, "zemo import: w1.csv: line 2: a field longer than 120 bytes, more than any field of a record "
                        "holds\n");
    EXPECT_FALSE(fs::exists(dir_ / "w1.zmo"));
}

TEST_F(Cli, ImportChecksTimesAndDatesAsTheEditorsFieldsDo) {
    const std::string timeRange = "入力範囲が不正です！ | 最小[ 0 ] 最大[ 999959 ]です。";
    const std::string dateRange = "入力範囲が不正です！ | 最小[ 0 ] 最大[ 99999999 ]です。";
    const struct {
        const char* column;
        const char* value;
        std::string message;  // "" when the row is taken
    } cases[] = {
        {"timeSec", "0", ""},
        {"timeSec", "599999", ""},  // 9999:59, the editor's 999959
        {"timeSec", "600000", timeRange + " (600000 seconds are 1000000 as MMMMSS)"},
        {"timeSec", "-1", timeRange + " (-1 seconds are -1 as MMMMSS)"},
        {"timeSec", "-2147483648", timeRange + " (-2147483648 seconds are -3579139408 as MMMMSS)"},
        {"saleDate", "99991231", ""},
        {"saleDate", "99999999", "存在しない日付です!"},
        {"saleDate", "100000000", dateRange},
        {"entryDate", "-1", dateRange},
        {"entryDate", "20240229", ""},
        {"entryDate", "20230229", "存在しない日付です!"},
        {"openDate", "20240000", ""},
        {"openDate", "20240132", "存在しない日付です!"},
    };
    for (const auto& c : cases) {
        std::ofstream(dir_ / "t.csv", std::ios::binary | std::ios::trunc)
            << "barcode," << c.column << "\r\n1," << c.value << "\r\n";
        fs::remove(dir_ / "t.zmo");
        Result r = zemo({"import", "t.csv", "-o", "t.zmo", "--home", home_.string()});
        if (c.message.empty()) {
            EXPECT_EQ(r.status, 0) << c.column << " " << c.value << "\n" << r.err;
            continue;
        }
        EXPECT_EQ(r.status, 1) << c.column << " " << c.value;
        EXPECT_EQ(lines(r.err), (std::vector<std::string>{"t.csv:2: " + std::string(c.column) + ": " + c.message,
                                                          "zemo import: 1 of 1 rows are bad; nothing written"}))
            << c.column << " " << c.value;
        EXPECT_FALSE(fs::exists(dir_ / "t.zmo"));
    }
}

TEST_F(Cli, ImportReadsShiftJisWithTheEncodingOption) {
    const std::string title = sj("ブルー・ホライズン"), artist = sj("ｱｵｲ ﾐｽﾞﾉ");
    std::ofstream(dir_ / "sj.csv", std::ios::binary) << "barcode,title,artist\r\n1," << title << "," << artist << "\r\n";
    Result r = zemo({"import", "sj.csv", "-o", "sj.zmo", "--encoding", "cp932", "--home", home_.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<CdRecord> back = readFile(dir_ / "sj.zmo");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(fieldText(back[0].title), title);
    EXPECT_EQ(fieldText(back[0].artist), artist);

    // UTF-8 is the default, and may be named.
    std::ofstream(dir_ / "u.csv", std::ios::binary) << "barcode,title\r\n1,ブルー\r\n";
    Result u = zemo({"import", "u.csv", "-o", "u.zmo", "--encoding", "UTF-8", "--home", home_.string()});
    ASSERT_EQ(u.status, 0) << u.err;
    EXPECT_EQ(fieldText(readFile(dir_ / "u.zmo")[0].title), sj("ブルー"));

    // A Shift-JIS text still has to fit its field.
    std::ofstream(dir_ / "sjw.csv", std::ios::binary) << "barcode\r\n" << sj("一二三四五六七八") << "\r\n";
    Result w = zemo({"import", "sjw.csv", "-o", "sjw.zmo", "--encoding", "cp932", "--home", home_.string()});
    EXPECT_EQ(w.status, 1);
    EXPECT_NE(w.err.find("sjw.csv:2: barcode: 16 bytes in Shift-JIS, at most 14"), std::string::npos) << w.err;
}

TEST_F(Cli, ShowEscapesControlCharactersAndExportWritesThemAsStored) {
    CdRecord r = record("1", "", "");
    setField(r.title, "\x1B[2JX\x07");
    setField(r.artist, "A\tB");
    writeFile(dir_ / "esc.zmo", 1, {r}, "memo\x1B]0;title\x07");
    Result show = zemo({"show", "esc.zmo", "--home", home_.string()});
    ASSERT_EQ(show.status, 0) << show.err;
    EXPECT_EQ(show.out.find('\x1B'), std::string::npos);
    EXPECT_EQ(show.out.find('\x07'), std::string::npos);
    EXPECT_NE(show.out.find("memo\tmemo\\x1B]0;title\\x07\n"), std::string::npos) << show.out;
    EXPECT_NE(show.out.find("\t\\x1B[2JX\\x07\tA\\x09B\t"), std::string::npos) << show.out;
    Result csv = zemo({"show", "--csv", "esc.zmo", "--home", home_.string()});
    EXPECT_EQ(csv.out.find('\x1B'), std::string::npos);
    EXPECT_NE(csv.out.find(",\\x1B[2JX\\x07,A\\x09B,"), std::string::npos) << csv.out;

    Result ex = zemo({"export", "esc.zmo", "--home", home_.string()});
    ASSERT_EQ(ex.status, 0) << ex.err;
    EXPECT_NE(ex.out.find("\r\n1,,,\x1B[2JX\x07,A\tB,"), std::string::npos) << ex.out;
}

TEST_F(Cli, ExportKeepsTheCsvItReplacesAsBak) {
    writeFile(dir_ / "one.zmo", 1, {record("1", "first", "a")}, "");
    writeFile(dir_ / "two.zmo", 1, {record("2", "second", "b")}, "");
    ASSERT_EQ(zemo({"export", "one.zmo", "-o", "list.csv", "--home", home_.string()}).status, 0);
    const std::string first = slurp(dir_ / "list.csv");
    EXPECT_FALSE(fs::exists(dir_ / "list.BAK"));
    Result r = zemo({"export", "two.zmo", "-o", "list.csv", "--home", home_.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(slurp(dir_ / "list.BAK"), first);
    EXPECT_NE(slurp(dir_ / "list.csv").find("second"), std::string::npos);
}

// A save that fails once the previous file is copied aside (here at the file size limit, as on a
// full disk) leaves the file and its older .BAK as they were, and says why.
TEST_F(Cli, AFailedSaveKeepsTheFileAndItsOlderBackup) {
    writeFile(dir_ / "out.zmo", 1, {record("OLD", "old", "old")}, "");
    std::ofstream(dir_ / "out.BAK", std::ios::binary) << "the generation before";
    writeFile(dir_ / "out.csv", 1, {}, "");  // any small file will do as the CSV to replace
    std::string rows = "barcode,title\r\n";
    for (int i = 0; i < 30; ++i) rows += std::to_string(i) + ",a title long enough to need room\r\n";
    std::ofstream(dir_ / "big.csv", std::ios::binary) << rows;
    std::vector<CdRecord> many;  // about 5 KB as CSV
    for (int i = 0; i < 100; ++i) many.push_back(record(std::to_string(i).c_str(), "a title long enough", "x"));
    writeFile(dir_ / "big.zmo", 1, many, "");
    std::ofstream(dir_ / "out.pdf", std::ios::binary) << "an earlier PDF";
    writeFile(dir_ / "tape.zmo", kKindShuffle, tapeRecords(), "");

    childSetup_ = [] {
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
        const struct rlimit limit = {2000, 2000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
    const struct {
        std::vector<std::string> args;
        const char* target;
        const char* says;
    } cases[] = {
        {{"import", "big.csv", "-o", "out.zmo"}, "out.zmo", "out.zmo | ファイルエラー！"},
        {{"export", "big.zmo", "-o", "out.csv"}, "out.csv", "zemo export: out.csv: cannot write"},
        // A PDF cut short is never put in place.
        {{"list", "big.zmo", "--pdf", "out.pdf"}, "out.pdf", "zemo list: out.pdf: cannot write"},
        {{"label", "tape.zmo", "--pdf", "out.pdf"}, "out.pdf", "zemo label: out.pdf: cannot write"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--home", home_.string()});
        const auto before = folderState(dir_);
        Result r = zemo(args);
        EXPECT_EQ(r.status, 1) << c.target;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_NE(r.err.find(std::string(c.target) + ": file too large"), std::string::npos) << r.err;
        // out.BAK is still the generation before, and no copy is left over.
        EXPECT_EQ(changedEntries(before, folderState(dir_)), "") << c.target;
    }
}

// A run killed while it writes (here at the file size limit, whose signal ends it there) leaves the
// output and its .BAK whole; what it leaves beside them goes with the next run, as do the copies
// that earlier versions of the tool left aside (".NAME.BAK.new-XXXXXX").
TEST_F(Cli, WhatAKilledSaveLeavesGoesWithTheNextRun) {
    std::string rows = "barcode,title\r\n";
    for (int i = 0; i < 30; ++i) rows += std::to_string(i) + ",a title long enough to need room\r\n";
    std::ofstream(dir_ / "big.csv", std::ios::binary) << rows;
    std::vector<CdRecord> many;
    for (int i = 0; i < 100; ++i) many.push_back(record(std::to_string(i).c_str(), "a title long enough", "x"));
    writeFile(dir_ / "big.zmo", 1, many, "");
    writeFile(dir_ / "tape.zmo", kKindShuffle, tapeRecords(), "");
    const struct {
        std::vector<std::string> args;
        const char* target;
    } cases[] = {
        {{"import", "big.csv", "-o", "out.zmo"}, "out.zmo"},
        {{"export", "big.zmo", "-o", "out.csv"}, "out.csv"},
        {{"list", "big.zmo", "--pdf", "out.pdf"}, "out.pdf"},
        {{"label", "tape.zmo", "--pdf", "out.pdf"}, "out.pdf"},
    };
    auto hidden = [&] {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) {
            const std::string name = e.path().filename().string();
            if (name[0] == '.' && name != ".stdout" && name != ".stderr") names.push_back(name);
        }
        return names;
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--home", home_.string()});
        // Once whole first, so that nothing but the output (no cache of a library) meets the limit.
        ASSERT_EQ(zemo(args).status, 0) << c.target;
        std::ofstream(dir_ / c.target, std::ios::binary | std::ios::trunc) << "the earlier output";
        std::ofstream(dir_ / "out.BAK", std::ios::binary | std::ios::trunc) << "the generation before";
        std::ofstream(dir_ / ".out.BAK.new-Ab3dE9", std::ios::binary) << "an old copy aside";

        childSetup_ = [] {
            const struct rlimit size = {2000, 2000}, core = {0, 0};
            ::setrlimit(RLIMIT_CORE, &core);
            ::setrlimit(RLIMIT_FSIZE, &size);  // the write past it ends the run with SIGXFSZ
        };
        EXPECT_EQ(zemo(args).status, -1) << c.target << ": not killed";
        childSetup_ = nullptr;
        EXPECT_EQ(slurp(dir_ / c.target), "the earlier output") << c.target;
        EXPECT_EQ(slurp(dir_ / "out.BAK"), "the generation before") << c.target;
        EXPECT_GT(hidden().size(), 1u) << c.target << ": the kill left nothing beside the output";

        const Result r = zemo(args);
        ASSERT_EQ(r.status, 0) << c.target << "\n" << r.err;
        EXPECT_EQ(hidden(), std::vector<std::string>{}) << c.target;
        EXPECT_EQ(slurp(dir_ / "out.BAK"), "the earlier output") << c.target;
    }
}

// The .BAK of an output keeps the mode of the file it keeps, whatever the mode of the .BAK it
// replaces; the new output keeps it too.
TEST_F(Cli, TheBackupKeepsTheModeOfTheFileItKeeps) {
    std::ofstream(dir_ / "a.csv", std::ios::binary) << "barcode,title\r\n1,one\r\n";
    writeFile(dir_ / "one.zmo", 1, {record("1", "one", "a")}, "");
    writeFile(dir_ / "tape.zmo", kKindShuffle, tapeRecords(), "");
    const struct {
        std::vector<std::string> args;
        const char* target;
    } cases[] = {
        {{"import", "a.csv", "-o", "out.zmo"}, "out.zmo"},
        {{"export", "one.zmo", "-o", "out.csv"}, "out.csv"},
        {{"list", "one.zmo", "--pdf", "out.pdf"}, "out.pdf"},
        {{"label", "tape.zmo", "--pdf", "out.pdf"}, "out.pdf"},
    };
    auto modeOf = [](const fs::path& p) {
        struct stat st {};
        ::stat(p.c_str(), &st);
        return st.st_mode & 07777;
    };
    for (const auto& c : cases) {
        for (const mode_t mode : {mode_t{0640}, mode_t{0604}}) {
            std::ofstream(dir_ / c.target, std::ios::binary | std::ios::trunc) << "the earlier output";
            ASSERT_EQ(::chmod((dir_ / c.target).c_str(), mode), 0);
            std::ofstream(dir_ / "out.BAK", std::ios::binary | std::ios::trunc) << "the generation before";
            ASSERT_EQ(::chmod((dir_ / "out.BAK").c_str(), 0600), 0);
            std::vector<std::string> args = c.args;
            args.insert(args.end(), {"--home", home_.string()});
            const Result r = zemo(args);
            ASSERT_EQ(r.status, 0) << c.target << "\n" << r.err;
            EXPECT_EQ(slurp(dir_ / "out.BAK"), "the earlier output") << c.target;
            EXPECT_EQ(modeOf(dir_ / "out.BAK"), mode) << c.target;
            EXPECT_EQ(modeOf(dir_ / c.target), mode) << c.target;
        }
    }
}

// A work folder stored in an existing control file is made under its own name or not at all, and
// the control characters it holds reach the terminal as escapes.
TEST_F(Cli, InitMakesStoredWorkFoldersOnlyUnderTheirOwnNames) {
    setField(ws_.control.paths[kPathAdd], "CD_\x81\x20X");  // a lead byte without its trail byte
    ASSERT_EQ(saveControl(ws_), 0);
    const auto before = folderState(dir_);
    Result bad = zemo({"init", "--home", home_.string()});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_NE(bad.err.find("zemo init: " + home_.string() + "/ZEMOCTRL.DAT: the work directory addDir ("),
              std::string::npos) << bad.err;
    EXPECT_NE(bad.err.find(") is not valid Shift-JIS at byte 4; nothing created"), std::string::npos) << bad.err;
    EXPECT_EQ(changedEntries(before, folderState(dir_)), "");

    setField(ws_.control.paths[kPathAdd], "CD_\x1b[2J\x07");
    ASSERT_EQ(saveControl(ws_), 0);
    Result esc = zemo({"init", "--home", home_.string()});
    EXPECT_EQ(esc.status, 0) << esc.err;
    EXPECT_TRUE(fs::is_directory(home_ / "CD_\x1b[2J\x07"));
    for (const std::string* text : {&esc.out, &esc.err})
        for (char c : *text) EXPECT_TRUE(c == '\n' || c == '\t' || static_cast<unsigned char>(c) >= 0x20) << *text;
    EXPECT_NE(esc.out.find("addDir\t" + home_.string() + "/CD_\\x1B[2J\\x07/\n"), std::string::npos) << esc.out;
    EXPECT_NE(esc.err.find("warning: データディレクトリがありません。作成します。 | " + home_.string() +
                           "/CD_\\x1B[2J\\x07/"),
              std::string::npos)
        << esc.err;
}

// --- usage ---

TEST_F(Cli, UsageErrorsExitWithTwo) {
    std::ofstream(dir_ / "a.csv") << "barcode\n1\n";
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"show"},
        {"show", "a.zmo", "b.zmo"},
        {"show", "a.zmo", "--colour"},
        {"show", "a.zmo", "--csv=yes"},
        {"show", "a.zmo", "--password"},
        {"export", "a.zmo", "-o", "x", "-o", "y"},
        {"import", "a.csv"},
        {"import", "a.csv", "-o", "x.zmo", "--kind", "0"},
        {"import", "a.csv", "-o", "x.zmo", "--kind", "12"},
        {"import", "a.csv", "-o", "x.zmo", "--kind", "1x"},
        {"import", "a.csv", "-o", "x.zmo", "--memo", std::string(61, 'm')},
        {"init", "extra"},
        {"init", "--home"},
    };
    for (const auto& args : cases) {
        Result r = zemo(args);
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_EQ(r.status, 2) << joined << "\n" << r.err;
        EXPECT_NE(r.err.find("usage: zemo"), std::string::npos) << joined;
        EXPECT_EQ(r.out, "") << joined;
    }
    EXPECT_FALSE(fs::exists(dir_ / "x.zmo"));
    EXPECT_FALSE(fs::exists(dir_ / "ZEMOCTRL.DAT"));
}

TEST_F(Cli, HelpAndVersion) {
    for (const char* cmd : {"init", "show", "export", "import"}) {
        Result r = zemo({cmd, "--help"});
        EXPECT_EQ(r.status, 0) << cmd;
        EXPECT_EQ(r.out.rfind(std::string("usage: zemo ") + cmd + " ", 0), 0u) << r.out;
        EXPECT_NE(r.out.find("--home DIR"), std::string::npos) << cmd;
        EXPECT_EQ(r.err, "");
    }
    Result tool = zemo({"--help"});
    EXPECT_EQ(tool.status, 0);
    for (const char* cmd : {"init", "show", "export", "import"}) EXPECT_NE(tool.out.find(cmd), std::string::npos);
    Result v = zemo({"--version"});
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, std::string("zemo ") + ZEMO_VERSION + "\n");
}

}  // namespace
}  // namespace zemo
