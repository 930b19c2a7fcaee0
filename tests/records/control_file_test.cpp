// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "records/control_file.h"
#include "records/file_services.h"
#include "records/label_layout.h"
#include "records/scramble.h"
#include "records/storage_fixture.h"

namespace zemo {
namespace {

using namespace zemo::testing;

constexpr const char* kFatal = "ｼｽﾃﾑｺﾝﾄﾛｰﾙﾃﾞｰﾀの設定が正常ではありません！\nシステムを終了します。";
constexpr const char* kCreateQuestion = "ｼｽﾃﾑｺﾝﾄﾛｰﾙﾌｧｲﾙがありません。作成します。\nZEMOCTRL.DAT";

class ControlFileTest : public StorageTest {
protected:
    std::string ctl() const { return dir.str("ZEMOCTRL.DAT"); }

    // A control file written by the program, as its bytes.
    Bytes freshFile() {
        initControlDefaults(ws);
        EXPECT_EQ(saveControl(ws), 0);
        return readBytes(ctl());
    }
};

TEST_F(ControlFileTest, ControlFilePathIsInTheProgramFolder) {
    EXPECT_EQ(controlFilePath(ws), ctl());
}

// --- a new control file ---

struct Int16At {
    std::size_t offset;
    std::int16_t value;
};

TEST_F(ControlFileTest, StartWithoutFileCreatesItWithTheDefaultsAfterYes) {
    prompter.answers = {Answer::Yes};
    ws.control.dbSize = 9;  // whatever memory held is replaced by the defaults
    ASSERT_EQ(startControl(ws), 0);

    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, kCreateQuestion);
    EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Confirmation);
    EXPECT_EQ(prompter.boxes[0].buttons, Buttons::YesCancel);

    const Bytes b = readBytes(ctl());
    ASSERT_EQ(b.size(), 2048u);
    EXPECT_EQ(textAt(b, 0, 32), "ZEMO DATA FILE < by qend >");
    EXPECT_EQ(textAt(b, 32, 32), sj("システムコントロール"));
    EXPECT_EQ(textAt(b, 64, 32), sj("メモ"));
    EXPECT_EQ(at<std::uint16_t>(b, 96), 0x1236);
    EXPECT_EQ(at<std::uint16_t>(b, 98), 0x0302);
    EXPECT_EQ(at<std::uint16_t>(b, 100), 0);
    EXPECT_EQ(at<std::uint16_t>(b, 102), 3);

    const std::pair<std::size_t, const char*> paths[] = {
        {256, ""}, {320, "CD_SYS"}, {384, "CD_ADD"}, {448, "CD_TXT"},
        {512, "CD_MD"}, {576, "T_TMP"}, {640, "G_TMP"}, {704, ""},
    };
    for (auto [offset, text] : paths) EXPECT_EQ(textAt(b, offset, 64), text) << "offset " << offset;

    const Int16At values[] = {
        {128, 0}, {134, 0}, {144, 1}, {160, 0},                       // mode block
        {768, 1}, {770, 67}, {772, 67}, {774, 129}, {776, 1}, {780, 1},  // misc block
        {846, 1}, {848, 1}, {854, 1},                                  // startA, startB, plusOnly
        {936, 0},                                                      // share mode off
        // label block at 1056: general part, vertical sides at +96, horizontal at +144
        {1056 + 4, 123}, {1056 + 14, 4}, {1056 + 16, 6}, {1056 + 18, 0}, {1056 + 22, 60}, {1056 + 24, 1},
        {1056 + 96 + 0, 2}, {1056 + 96 + 2, 1}, {1056 + 96 + 10, 1}, {1056 + 96 + 12, 32},
        {1056 + 96 + 14, 26}, {1056 + 96 + 16, 1}, {1056 + 96 + 18, 0}, {1056 + 96 + 20, 1},
        {1056 + 96 + 30, 32}, {1056 + 96 + 36, 1}, {1056 + 96 + 38, 1},
        {1056 + 144 + 0, 5}, {1056 + 144 + 2, 1}, {1056 + 144 + 10, 1}, {1056 + 144 + 12, 30},
        {1056 + 144 + 14, 0}, {1056 + 144 + 16, 0}, {1056 + 144 + 18, 0}, {1056 + 144 + 30, 30},
        {1056 + 144 + 36, 0},
    };
    for (const Int16At& v : values) EXPECT_EQ(at<std::int16_t>(b, v.offset), v.value) << "offset " << v.offset;
    EXPECT_EQ(at<std::int32_t>(b, 864), 5);  // tolerance
    EXPECT_EQ(at<std::int32_t>(b, 868), 0);  // targetSec
    EXPECT_EQ(at<double>(b, 1032), 1.0);

    const Bytes label(b.begin() + 1056, b.begin() + 1248);
    for (int p = 0; p < 4; ++p) {
        const auto start = b.begin() + 1250 + p * 192;
        EXPECT_EQ(Bytes(start, start + 192), label) << "preset " << p;
    }
    EXPECT_EQ(label, bytesOf(defaultLabelLayout()));
    for (std::size_t i : {1248u, 1249u}) EXPECT_EQ(b[i], 0);
    for (std::size_t i = 2018; i < 2048; ++i) EXPECT_EQ(b[i], 0) << i;
    for (std::size_t i = 896; i < 1024; ++i) EXPECT_EQ(b[i], 0) << "share block " << i;

    // A database size of 0 stays 0 in the file; the shell makes it 1.
    EXPECT_EQ(ws.control.dbSize, 0);
}

TEST_F(ControlFileTest, StartWithoutFileAndCancelIsFatal) {
    prompter.answers = {Answer::Cancel};
    EXPECT_NE(startControl(ws), 0);
    EXPECT_FALSE(fs::exists(ctl()));
    ASSERT_EQ(prompter.boxes.size(), 3u);
    EXPECT_EQ(prompter.boxes[1].text, ctl() + "\nファイルが見つかりません！");
    EXPECT_EQ(prompter.boxes[2].text, kFatal);
    EXPECT_EQ(prompter.boxes[2].kind, BoxKind::Error);
    EXPECT_EQ(prompter.boxes[2].buttons, Buttons::Yes);
}

TEST_F(ControlFileTest, StartWithAnExistingFileAsksNothing) {
    freshFile();
    ws.control.dbSize = 42;
    EXPECT_EQ(startControl(ws), 0);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(ws.control.dbSize, 0);  // read from the file
}

// --- damaged and foreign files ---

struct DamagedCase {
    const char* name;
    int size;  // bytes kept of a valid file; larger pads with zeros
    std::uint16_t magic;
    std::uint16_t level;
    int result;
    std::vector<std::string> boxes;  // "%P" stands for the file's path
};

void PrintTo(const DamagedCase& c, std::ostream* os) {
    char line[96];
    std::snprintf(line, sizeof line, "%s (size %d, magic %04X, level %04X: %d)", c.name, c.size, c.magic, c.level,
                  c.result);
    *os << line;
}

class ControlFileDamaged : public ControlFileTest, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(ControlFileDamaged, IsRefusedWithItsReportThenTheFatalMessage) {
    const DamagedCase& c = GetParam();
    Bytes b = freshFile();
    std::memcpy(b.data() + 96, &c.magic, 2);
    std::memcpy(b.data() + 102, &c.level, 2);
    b.resize(static_cast<std::size_t>(c.size), 0);
    writeBytes(ctl(), b);

    ws.control.dbSize = 13;  // memory must survive a failed read
    ws.control.runtime138 = 4;
    EXPECT_EQ(startControl(ws), c.result);

    std::vector<std::string> expected;
    for (std::string t : c.boxes) {
        if (auto p = t.find("%P"); p != std::string::npos) t.replace(p, 2, ctl());
        expected.push_back(t);
    }
    expected.push_back(kFatal);
    EXPECT_EQ(texts(), expected);
    EXPECT_EQ(ws.control.dbSize, 13);
    EXPECT_EQ(ws.control.runtime138, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ControlFileDamaged,
    ::testing::Values(
        DamagedCase{"Empty", 0, 0x1236, 3, -1, {"%P\nファイル読み込エラーです！\ndno=[    2]"}},
        DamagedCase{"HeaderOnly", 128, 0x1236, 3, -1, {"%P\nファイル読み込エラーです！\ndno=[    2]"}},
        DamagedCase{"ShortRecord", 1000, 0x1236, 3, -1, {"%P\nファイル読み込エラーです！\ndno=[    5]"}},
        DamagedCase{"OneByteShort", 2047, 0x1236, 3, -1, {"%P\nファイル読み込エラーです！\ndno=[    5]"}},
        DamagedCase{"WrongMagic", 2048, 0x4D5A, 3, 47, {"%P\nファイルヘッダーが不正です！\ndno=[    1]"}},
        DamagedCase{"WrongLevel", 2048, 0x1236, 0x0105, -1,
                    {"対応していないﾃﾞｰﾀのﾊﾞｰｼﾞｮﾝです！\nDATA VERSION  1.05"}},
        DamagedCase{"ForeignFile", 2048, 0x4D5A, 0x0105, -1,
                    {"%P\nファイルヘッダーが不正です！\ndno=[    1]",
                     "対応していないﾃﾞｰﾀのﾊﾞｰｼﾞｮﾝです！\nDATA VERSION  1.05"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(ControlFileTest, LongerFileIsReadUpToItsRecord) {
    Bytes b = freshFile();
    b.resize(4096, 0xEE);
    writeBytes(ctl(), b);
    EXPECT_EQ(loadControl(ws, true), 0);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(fieldText(ws.control.paths[kPathSys]), "CD_SYS");
}

TEST_F(ControlFileTest, LoadWithoutFatalFlagShowsOnlyTheReport) {
    Bytes b = freshFile();
    b.resize(600);
    writeBytes(ctl(), b);
    EXPECT_EQ(loadControl(ws, false), -1);
    EXPECT_EQ(texts(), std::vector<std::string>{ctl() + "\nファイル読み込エラーです！\ndno=[    5]"});
}

TEST_F(ControlFileTest, ExecutableIsRefusedAsControlFile) {
    freshFile();
    fs::remove(ctl());
    fs::create_symlink(ws.executablePath, ctl());
    EXPECT_EQ(loadControl(ws, false), -1);
    EXPECT_EQ(texts(), std::vector<std::string>{ctl() + "\nファイル読み込エラーです！\ndno=[    2]"});
}

// --- values handled on every read and write ---

TEST_F(ControlFileTest, RunTimeValuesAreZeroInTheFileAndKeptInMemory) {
    initControlDefaults(ws);
    ws.control.runtime138 = 7;
    ws.control.runtime140 = -9;
    ws.control.mode136 = 5;
    ws.control.mode144 = 0;
    ASSERT_EQ(saveControl(ws), 0);
    Bytes b = readBytes(ctl());
    EXPECT_EQ(at<std::int16_t>(b, 136), 0);
    EXPECT_EQ(at<std::int16_t>(b, 138), 0);
    EXPECT_EQ(at<std::int16_t>(b, 140), 0);
    EXPECT_EQ(at<std::int16_t>(b, 144), 1);
    EXPECT_EQ(ws.control.runtime138, 7);
    EXPECT_EQ(ws.control.runtime140, -9);

    // Values in a file never reach memory; a read also sets 144 and mends 780.
    const std::int16_t inFile[] = {3, 4};
    std::memcpy(b.data() + 138, inFile, sizeof inFile);
    const std::int16_t zero = 0, negative = -2;
    std::memcpy(b.data() + 144, &zero, 2);
    std::memcpy(b.data() + 780, &negative, 2);
    writeBytes(ctl(), b);
    ASSERT_EQ(loadControl(ws, true), 0);
    EXPECT_EQ(ws.control.runtime138, 7);
    EXPECT_EQ(ws.control.runtime140, -9);
    EXPECT_EQ(ws.control.mode144, 1);
    EXPECT_EQ(ws.control.misc[6], 1);
}

TEST_F(ControlFileTest, ShareModeIsCopiedToTheRunTimeFlag) {
    initControlDefaults(ws);
    ws.control.shareMode = 1;
    ASSERT_EQ(saveControl(ws), 0);
    EXPECT_TRUE(ws.shareFlag);
    ws.shareFlag = false;
    ASSERT_EQ(loadControl(ws, true), 0);
    EXPECT_TRUE(ws.shareFlag);
    ws.control.shareMode = 0;
    ASSERT_EQ(saveControl(ws), 0);
    EXPECT_FALSE(ws.shareFlag);
}

TEST_F(ControlFileTest, ShareFieldsStayScrambledOnDiskAndPlainInMemory) {
    initControlDefaults(ws);
    setField(ws.control.creatorId, "ABCD1234");
    const std::uint8_t extra[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    std::memcpy(ws.control.shareExtra, extra, sizeof extra);
    ws.control.shareMarker = 0x0303;
    const SysControl plain = ws.control;

    char scrambledId[16];
    std::uint8_t scrambledExtra[11];
    std::memcpy(scrambledId, plain.creatorId, 16);
    std::memcpy(scrambledExtra, plain.shareExtra, 11);
    scrambleShareFields(scrambledId, scrambledExtra, kScrambleApply);
    ASSERT_NE(std::memcmp(scrambledId, plain.creatorId, 8), 0);

    ASSERT_EQ(saveControl(ws), 0);
    for (int cycle = 0; cycle < 4; ++cycle) {
        const Bytes b = readBytes(ctl());
        EXPECT_EQ(Bytes(b.begin() + 900, b.begin() + 916), bytesOf(scrambledId)) << "cycle " << cycle;
        EXPECT_EQ(Bytes(b.begin() + 916, b.begin() + 927), bytesOf(scrambledExtra)) << "cycle " << cycle;
        EXPECT_EQ(at<std::int16_t>(b, 932), 1);
        EXPECT_EQ(at<std::uint16_t>(b, 934), 0x0303);

        ASSERT_EQ(loadControl(ws, true), 0);
        EXPECT_EQ(fieldText(ws.control.creatorId), "ABCD1234") << "cycle " << cycle;
        EXPECT_EQ(bytesOf(ws.control.shareExtra), bytesOf(plain.shareExtra));
        EXPECT_EQ(ws.control.scrambledNow, 0);
        ASSERT_EQ(saveControl(ws), 0);
        EXPECT_EQ(fieldText(ws.control.creatorId), "ABCD1234");
        EXPECT_EQ(ws.control.scrambledNow, 0);
    }
}

TEST_F(ControlFileTest, WithoutTheMarkerTheShareFieldsAreStoredPlain) {
    initControlDefaults(ws);
    setField(ws.control.creatorId, "ABCD1234");
    ASSERT_EQ(saveControl(ws), 0);
    const Bytes b = readBytes(ctl());
    EXPECT_EQ(textAt(b, 900, 16), "ABCD1234");
    EXPECT_EQ(at<std::int16_t>(b, 932), 0);
}

// --- saving ---

TEST_F(ControlFileTest, SaveWithBackupKeepsThePreviousFile) {
    const Bytes before = freshFile();
    ws.control.backupMode = 0;
    ws.control.sortMode = 1;
    ASSERT_EQ(saveControlWithBackup(ws, 0), 0);
    EXPECT_EQ(readBytes(dir.str("ZEMOCTRL.BAK")), before);
    EXPECT_EQ(at<std::int16_t>(readBytes(ctl()), 134), 1);

    fs::remove(dir.str("ZEMOCTRL.BAK"));
    ASSERT_EQ(saveControlWithBackup(ws, 1), 0);
    EXPECT_FALSE(fs::exists(dir.str("ZEMOCTRL.BAK")));
}

TEST_F(ControlFileTest, FirstSaveWithBackupModeOnNeedsNoPreviousFile) {
    initControlDefaults(ws);
    EXPECT_EQ(saveControlWithBackup(ws, 0), 0);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(readBytes(ctl()).size(), 2048u);
}

TEST_F(ControlFileTest, FailedWriteIsReportedAndKeepsMemoryPlain) {
    initControlDefaults(ws);
    fs::create_directory(ctl());  // nothing can be written under this name
    setField(ws.control.creatorId, "ABCD1234");
    ws.control.shareMarker = 0x0303;
    ws.control.runtime138 = 6;
    EXPECT_EQ(saveControl(ws), -1);
    EXPECT_EQ(texts(), std::vector<std::string>{ctl() + "\nファイル書込みエラーです！\ndno=[    4]"});
    EXPECT_EQ(fieldText(ws.control.creatorId), "ABCD1234");
    EXPECT_EQ(ws.control.scrambledNow, 0);
    EXPECT_EQ(ws.control.runtime138, 6);
    EXPECT_TRUE(fs::is_directory(ctl()));
}

struct FailedControlSave {
    const char* name;
    std::size_t fileSize;  // of the control file on disk: longer files are read up to their record
    rlim_t sizeLimit;
    int result;
    const char* report;
};

void PrintTo(const FailedControlSave& c, std::ostream* os) { *os << c.name; }

class ControlFileFailedSave : public ControlFileTest, public ::testing::WithParamInterface<FailedControlSave> {};

// Whether the new record or the backup copy cannot be written, the file and its backup stay as
// they were; a failed backup leaves the record in memory as it was, too.
TEST_P(ControlFileFailedSave, LeavesTheFileAndItsBackup) {
    const FailedControlSave& c = GetParam();
    Bytes file = freshFile();
    file.resize(c.fileSize, 0);
    writeBytes(ctl(), file);
    writeBytes(dir.str("ZEMOCTRL.BAK"), Bytes(100, 0xBB));
    ASSERT_EQ(loadControl(ws, false), 0);
    ws.control.sortMode = 1;
    ws.control.mode136 = 3;
    const Bytes memory = bytesOf(ws.control);
    const auto entriesBefore = std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator());

    int result;
    {
        FileSizeLimit limit(c.sizeLimit);
        result = saveControlWithBackup(ws, 0);
    }
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(texts(), std::vector<std::string>{ctl() + "\n" + c.report});
    EXPECT_EQ(readBytes(ctl()), file);
    EXPECT_EQ(readBytes(dir.str("ZEMOCTRL.BAK")), Bytes(100, 0xBB));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), entriesBefore);
    if (c.result > 0) {
        EXPECT_EQ(bytesOf(ws.control), memory);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ControlFileFailedSave,
    ::testing::Values(FailedControlSave{"RecordNotWritten", 2048, 1000, -1, "ファイル書込みエラーです！\ndno=[    4]"},
                      FailedControlSave{"BackupNotWritten", 4096, 3000, kErrBackup,
                                        "バックアップファイル作成エラーです！\ndno=[    6]"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(ControlFileTest, FailedSaveInReadOnlyFolderLeavesThePreviousFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const Bytes before = freshFile();
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    ws.control.sortMode = 1;
    EXPECT_NE(saveControlWithBackup(ws, 0), 0);
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(readBytes(ctl()), before);
}

// --- work directories ---

struct DirCase {
    const char* name;
    std::vector<Answer> answers;    // to the four questions, in the order sys, add, txt, lib
    std::vector<const char*> made;  // folders that exist afterwards
};

void PrintTo(const DirCase& c, std::ostream* os) {
    *os << c.name << " (answers";
    for (Answer a : c.answers) *os << (a == Answer::Ok ? " Ok" : " Cancel");
    *os << ")";
}

class CheckDataDirs : public ControlFileTest, public ::testing::WithParamInterface<DirCase> {};

TEST_P(CheckDataDirs, AsksForEachMissingFolderAndCreatesOnOk) {
    const DirCase& c = GetParam();
    prompter.answers.assign(c.answers.begin(), c.answers.end());
    EXPECT_EQ(checkDataDirs(ws), 0);
    const char* all[] = {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"};
    ASSERT_EQ(prompter.boxes.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(prompter.boxes[i].text,
                  std::string("データディレクトリがありません。作成します。\n") + dir.str(all[i]) + "/");
        EXPECT_EQ(prompter.boxes[i].kind, BoxKind::Warning);
        EXPECT_EQ(prompter.boxes[i].buttons, Buttons::OkCancel);
    }
    for (const char* d : all) {
        bool expected = std::find_if(c.made.begin(), c.made.end(),
                                     [&](const char* m) { return std::strcmp(m, d) == 0; }) != c.made.end();
        EXPECT_EQ(fs::is_directory(dir.path() / d), expected) << d;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckDataDirs,
    ::testing::Values(
        DirCase{"AllOk", {Answer::Ok, Answer::Ok, Answer::Ok, Answer::Ok}, {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}},
        DirCase{"AllCancel", {Answer::Cancel, Answer::Cancel, Answer::Cancel, Answer::Cancel}, {}},
        DirCase{"Mixed", {Answer::Ok, Answer::Cancel, Answer::Ok, Answer::Cancel}, {"CD_SYS", "CD_TXT"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(ControlFileTest, CheckDataDirsAsksNothingWhenTheFoldersExist) {
    makeDataDirs();
    setField(ws.control.paths[kPathLib], (dir.path() / "abs" / "lib").string());  // absolute setting
    fs::create_directories(dir.path() / "abs" / "lib");
    EXPECT_EQ(checkDataDirs(ws), 0);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(ControlFileTest, CheckDataDirsStopsAfterAFailedCreation) {
    writeBytes(dir.str("CD_ADD"), "x", 1);  // a file stands where the folder should be
    fs::create_directory(dir.path() / "CD_SYS");
    prompter.answers = {Answer::Ok};
    checkDataDirs(ws);
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[1].text, dir.str("CD_ADD") + "/\nディレクトリ作成エラーです！\ndno=[   11]");
    EXPECT_FALSE(fs::exists(dir.path() / "CD_TXT"));
}

// --- names the user may save under ---

struct NameCase {
    const char* path;  // relative to the test folder
    int result;
    const char* message;  // "%N" stands for the file name as checked
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << "\"" << c.path << "\" -> " << c.result; }

// The path with every character a test name cannot hold written as "_".
std::string nameCaseName(const ::testing::TestParamInfo<NameCase>& info) {
    std::string name = info.param.path;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
}

class CheckSaveName : public ControlFileTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(CheckSaveName, RefusesReservedAndInvalidNames) {
    const NameCase& c = GetParam();
    EXPECT_EQ(checkSaveName(ws, dir.str(c.path), true, true), c.result);
    if (c.message[0] == '\0') {
        EXPECT_TRUE(prompter.boxes.empty());
    } else {
        std::string expected = c.message;
        std::string name = trimPathBlanks(c.path);
        name = name.substr(name.find_last_of("/\\") + 1);
        expected.replace(expected.find("%N"), 2, name);
        EXPECT_EQ(texts(), std::vector<std::string>{expected});
    }
    // Without messages the answer is the same and nothing is shown.
    prompter.clear();
    EXPECT_EQ(checkSaveName(ws, dir.str(c.path), false, false), c.result);
    EXPECT_TRUE(prompter.boxes.empty());
}

constexpr const char* kReservedMsg = "%N\nこのﾌｧｲﾙ名はｼｽﾃﾑで使用しています！中止します。";
constexpr const char* kInvalidMsg = "%N\nﾌｧｲﾙ名が不正です！中止します。";

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckSaveName,
    ::testing::Values(NameCase{"cd_data.zmo", -1, kReservedMsg}, NameCase{"any/where/Cd_Data.Zmo", -1, kReservedMsg},
                      NameCase{"zemoctrl.dat", -1, kReservedMsg}, NameCase{"CD_LIB.ZMO", -1, kReservedMsg},
                      NameCase{"cd_data.zmo\u3000 ", -1, kReservedMsg},  // blanks around go before the check
                      NameCase{"cd_ data.zmo", 0, ""},                    // blanks inside are the name's
                      NameCase{"sub\\cd_shuf.zmo", -1, kReservedMsg}, NameCase{"memo", -1, kInvalidMsg},
                      NameCase{".zmo", -1, kInvalidMsg}, NameCase{"folder.d/memo", -1, kInvalidMsg},
                      NameCase{"my cds.zmo", 0, ""}, NameCase{"cd_data.bak", 0, ""},
                      NameCase{"cd_data.zmo.txt", 0, ""}),
    nameCaseName);

TEST_F(ControlFileTest, OverwritingAnExistingFileAsksFirst) {
    const std::string path = dir.str("mine.zmo");
    writeBytes(path, "x", 1);
    prompter.answers = {Answer::Cancel, Answer::Ok};
    EXPECT_EQ(checkSaveName(ws, path, true, true), -1);
    EXPECT_EQ(checkSaveName(ws, path, true, true), 0);
    ASSERT_EQ(prompter.boxes.size(), 2u);
    EXPECT_EQ(prompter.boxes[0].text, path + "\n上書きします。");
    EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Confirmation);
    EXPECT_EQ(prompter.boxes[0].buttons, Buttons::OkCancel);
    // Not asked when the caller does not want it.
    EXPECT_EQ(checkSaveName(ws, path, false, true), 0);
    EXPECT_EQ(prompter.boxes.size(), 2u);
}

TEST(TrimPathBlanks, DropsAsciiAndFullWidthSpacesAroundAndKeepsThoseInside) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {" /a b/c\u3000d.zmo ", "/a b/c\u3000d.zmo"},
        {"\u3000 \u3000/media/My Stick/CD.ZMO\u3000 ", "/media/My Stick/CD.ZMO"},
        {"/x/  two  .zmo", "/x/  two  .zmo"},
        {"\u3000 ", ""},
        {"", ""},
        {"\u3001x\u3001", "\u3001x\u3001"},  // an ideographic comma is no blank
    };
    for (const auto& c : cases) EXPECT_EQ(trimPathBlanks(c.in), c.out) << c.in;
}

// --- a control file changed behind the program ---

TEST_F(ControlFileTest, ASaveOverAFileChangedSinceItWasReadAsksFirst) {
    freshFile();
    ASSERT_EQ(loadControl(ws, false), 0);
    // Another copy of the program on a shared folder stores its own settings meanwhile.
    SysControl theirs = ws.control;
    theirs.dbSize = 7;
    const auto readAt = fs::last_write_time(ctl());
    writeBytes(ctl(), &theirs, sizeof theirs);  // in place, the same size
    fs::last_write_time(ctl(), readAt + std::chrono::microseconds(1));  // however fine the clock
    const Bytes onDisk = readBytes(ctl());
    ws.control.dbSize = 3;
    const SysControl mine = ws.control;

    prompter.answers = {Answer::No};
    EXPECT_EQ(saveControlWithBackup(ws, 0), -1);
    ASSERT_EQ(texts(), std::vector<std::string>{ctl() + " は読み込み後に変更されています。上書きしますか？"});
    EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Confirmation);
    EXPECT_EQ(prompter.boxes[0].buttons, Buttons::YesNo);
    EXPECT_EQ(readBytes(ctl()), onDisk);
    EXPECT_FALSE(fs::exists(dir.str("ZEMOCTRL.BAK")));
    EXPECT_EQ(bytesOf(ws.control), bytesOf(mine));  // as if the save had not been tried

    prompter.clear();
    prompter.answers = {Answer::Yes};
    EXPECT_EQ(saveControlWithBackup(ws, 0), 0);
    EXPECT_EQ(texts().size(), 1u);
    EXPECT_EQ(at<std::int16_t>(readBytes(ctl()), 160), 3);
    EXPECT_EQ(readBytes(dir.str("ZEMOCTRL.BAK")), onDisk);
    // Saved by this program: the next save asks nothing.
    prompter.clear();
    EXPECT_EQ(saveControl(ws), 0);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(ControlFileTest, AnUnchangedOrNeverReadControlFileIsSavedUnasked) {
    freshFile();  // written, never read
    EXPECT_EQ(saveControlWithBackup(ws, 0), 0);
    ASSERT_EQ(loadControl(ws, false), 0);
    EXPECT_EQ(saveControlWithBackup(ws, 1), 0);
    EXPECT_TRUE(prompter.boxes.empty());
}

}  // namespace
}  // namespace zemo
