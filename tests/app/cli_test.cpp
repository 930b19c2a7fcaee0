// The command-line tool run as a program, each case in a fresh folder.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
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
    ~Cli() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // Runs zemo in the test folder with the given arguments; env entries replace the environment
    // (ZEMOPLAN_HOME is never inherited).
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
        EXPECT_EQ(readDataFile(ws_, path.string(), 1, array, loaded, count, 1000), 0);
        if (info != nullptr) {
            EXPECT_EQ(readInfo(ws_, path.string(), true, *info), 0);
        }
        return std::vector<CdRecord>(array.data(), array.data() + count);
    }

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
    for (std::int16_t active : {std::int16_t{2}, std::int16_t{0}, std::int16_t{-1}}) {
        std::string damaged = bytes;
        std::memcpy(damaged.data() + 384 + 192 + 172, &active, sizeof active);  // the second record
        std::ofstream(file_, std::ios::binary | std::ios::trunc) << damaged;
        Result r = zemo({"show", file_.string(), "--home", home_.string()});
        ASSERT_EQ(r.status, 0) << r.err;
        const std::vector<std::string> l = lines(r.out);
        ASSERT_EQ(l.size(), 11u) << r.out;
        EXPECT_TRUE(hasPrefix(l[9], "    1\t4988001234567\t")) << l[9];
        EXPECT_EQ(l[10], "    2" + std::string(15, '\t')) << "active " << active;
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
    ASSERT_EQ(readHeader(ws_, (dir_ / "back.zmo").string(), true, header), 0);
    EXPECT_EQ(header.fileKind, 7);
    EXPECT_EQ(header.magic, kMagicPlain);
    EXPECT_EQ(info.scrambled, 0);
    EXPECT_EQ(info.hasPassword, 0);
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
