// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>

#include "records/data_ops.h"
#include "records/file_services.h"
#include "records/scramble.h"
#include "records/storage_fixture.h"
#include "records/text.h"

namespace zemo {
namespace {

using namespace zemo::testing;

constexpr const char* kFileError = "\nファイルエラー！";

CdRecord sample(int i) {
    CdRecord r = clearedRecord();
    char code[16];
    std::snprintf(code, sizeof code, "49%012d", i);
    setField(r.barcode, code);
    setField(r.userCode, "U" + std::to_string(i));
    setField(r.artistCode, "ART" + std::to_string(i % 7));
    setField(r.title, sj("タイトル") + std::to_string(i));
    setField(r.artist, sj("歌手") + std::to_string(i % 11));
    r.timeSec = 180 + i;
    r.openDate = 20240101 + i % 28;
    r.saleDate = 20231201 + i % 28;
    r.entryDate = 20240301;
    r.registeredAt = 1700000000 + i;
    r.active = 1;
    r.trackCount = 3;
    r.trackPos = static_cast<std::int16_t>(1 + i % 3);
    r.kind = static_cast<std::int16_t>(i % 5);
    r.infoKind = static_cast<std::int16_t>(i % 3);
    r.catalogueIndex = static_cast<std::int16_t>(i);
    r.reserved[0] = static_cast<std::uint8_t>(i);  // carried unchanged
    return r;
}

// Slots filled with a recognisable record that no file holds.
void fillJunk(TCddataArray& a) {
    CdRecord junk = clearedRecord();
    setField(junk.barcode, "JUNK");
    junk.active = 1;
    for (int i = 0; i < a.slotCount(); ++i) a.put(i, junk);
}

Bytes arrayBytes(const TCddataArray& a) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(a.data());
    return Bytes(p, p + a.slotCount() * sizeof(CdRecord));
}

// A data file assembled field by field, so that tests can damage any part of it.
struct FileImage {
    DataFileHeader header;
    DataFileInfo info;
    std::vector<CdRecord> records;

    FileImage(int kind, int n) {
        header = buildHeader(false, false, kindName(kind), kind, "");
        std::memset(&info, 0, sizeof info);
        setField(info.memo, "test");
        info.recordCount = static_cast<std::int16_t>(n);
        for (int i = 0; i < n; ++i) records.push_back(sample(i));
    }
    Bytes bytes() const {
        Bytes b = bytesOf(header);
        Bytes i = bytesOf(info);
        b.insert(b.end(), i.begin(), i.end());
        for (const CdRecord& r : records) {
            Bytes rb = bytesOf(r);
            b.insert(b.end(), rb.begin(), rb.end());
        }
        return b;
    }
};

class DataOpsTest : public StorageTest {
protected:
    DataOpsTest() { makeDataDirs(); }

    std::string path(int kind) const { return defaultFilePath(ws, kind); }
    TCddataArray& arr(int kind) { return ws.arrays[kind]; }
    int cap(int kind) const { return ws.capacity(kind); }

    std::string withPath(std::string text, const std::string& p) const {
        if (auto at = text.find("%P"); at != std::string::npos) text.replace(at, 2, p);
        return text;
    }

    int read(int kind, const std::string& userPath = "") {
        return readCode(readDataFile(ws, userPath, kind, arr(kind), loaded, count, cap(kind)));
    }

    int loaded = -1;
    int count = -1;
};

// --- writing and reading back ---

TEST_F(DataOpsTest, SavedCatalogueHasTheFileLayoutAndReadsBack) {
    setField(ws.control.creatorId, "SHOP0001");
    const int slots[] = {0, 2, 5};  // gaps are not written
    for (int i : slots) arr(1).put(i, sample(i));
    ASSERT_EQ(saveKind(ws, 1, 1, cap(1), arr(1)), 0);

    const Bytes b = readBytes(path(1));
    ASSERT_EQ(b.size(), 384u + 3 * 192u);
    EXPECT_EQ(path(1), dir.str("CD_SYS/CD_DATA.ZMO"));
    EXPECT_EQ(textAt(b, 0, 32), "ZEMO DATA FILE < by qend >");
    EXPECT_EQ(textAt(b, 32, 32), sj("CDﾃﾞｰﾀﾍﾞｰｽ"));
    EXPECT_EQ(at<std::uint16_t>(b, 96), 0x1236);
    EXPECT_EQ(at<std::uint16_t>(b, 100), 1);
    EXPECT_EQ(at<std::uint16_t>(b, 102), 3);
    EXPECT_EQ(textAt(b, 128, 62), sj("< ZEMO ｼｽﾃﾑﾌｧｲﾙ >"));
    EXPECT_EQ(at<std::int16_t>(b, 128 + 62), 3);
    EXPECT_EQ(at<std::int32_t>(b, 128 + 64), stampOf(LocalTime{2024, 5, 6, 7, 8, 9}));
    EXPECT_EQ(at<std::int16_t>(b, 128 + 70), 0);
    EXPECT_EQ(textAt(b, 128 + 74, 16), "SHOP0001");
    EXPECT_EQ(at<std::int16_t>(b, 128 + 90), 0);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(Bytes(b.begin() + 384 + k * 192, b.begin() + 384 + (k + 1) * 192), bytesOf(sample(slots[k])));

    fillJunk(arr(1));
    ASSERT_EQ(loadKind(ws, 1, cap(1), count, arr(1), loaded), 0);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(loaded, 1);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(bytesOf(arr(1)[k]), bytesOf(sample(slots[k])));
    for (int i = 3; i < cap(1); ++i) ASSERT_EQ(bytesOf(arr(1)[i]), bytesOf(clearedRecord())) << i;
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(prompter.events.back(), "busy off");
}

TEST_F(DataOpsTest, FileWithoutActiveRecordsIsJustItsHead) {
    ASSERT_EQ(saveKind(ws, 1, 4, cap(4), arr(4)), 0);
    EXPECT_EQ(readBytes(path(4)).size(), 384u);
    EXPECT_EQ(read(4), 0);
    EXPECT_EQ(count, 0);
}

// --- header checks ---

struct HeaderCase {
    const char* name;
    int size;  // -1: the whole file; -2: no file at all
    std::uint16_t magic;
    std::uint16_t level;
    std::uint16_t kind;
    int result;
    const char* box;  // "" none; "%P" is the path
};

void PrintTo(const HeaderCase& c, std::ostream* os) {
    char line[96];
    std::snprintf(line, sizeof line, "%s (size %d, magic %04X, level %04X, kind %u: %d)", c.name, c.size, c.magic,
                  c.level, c.kind, c.result);
    *os << line;
}

class CheckHeader : public DataOpsTest, public ::testing::WithParamInterface<HeaderCase> {};

TEST_P(CheckHeader, RefusesWithItsReport) {
    const HeaderCase& c = GetParam();
    const std::string p = dir.str("x.zmo");
    if (c.size != -2) {
        FileImage f(1, 2);
        f.header.magic = c.magic;
        f.header.formatLevel = c.level;
        f.header.fileKind = c.kind;
        Bytes b = f.bytes();
        if (c.size >= 0) b.resize(static_cast<std::size_t>(c.size));
        writeBytes(p, b);
    }
    EXPECT_EQ(readCode(checkHeader(ws, p, 1)), c.result);
    if (c.box[0] == '\0')
        EXPECT_TRUE(prompter.boxes.empty());
    else
        EXPECT_EQ(texts(), std::vector<std::string>{withPath(c.box, p)});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckHeader,
    ::testing::Values(
        HeaderCase{"Missing", -2, 0x1236, 3, 1, -1, "%P\nファイルが見つかりません！"},
        HeaderCase{"Empty", 0, 0x1236, 3, 1, -1, "%P\nファイル読み込エラーです！\ndno=[    2]"},
        HeaderCase{"Exactly128", 128, 0x1236, 3, 1, -1, "%P\nファイル読み込エラーです！\ndno=[    2]"},
        HeaderCase{"Just129", 129, 0x1236, 3, 1, 0, ""},
        HeaderCase{"WrongMagic", -1, 0x1235, 3, 1, 47, "%P\nファイルヘッダーが不正です！\ndno=[    1]"},
        HeaderCase{"Level0105", -1, 0x1236, 0x0105, 1, -1, "対応していないﾃﾞｰﾀのﾊﾞｰｼﾞｮﾝです！\nDATA VERSION  1.05"},
        HeaderCase{"Level1", -1, 0x1236, 1, 1, -1, "対応していないﾃﾞｰﾀのﾊﾞｰｼﾞｮﾝです！\nDATA VERSION  0.01"},
        HeaderCase{"Level5", -1, 0x1237, 5, 1, -1, "対応していないﾃﾞｰﾀのﾊﾞｰｼﾞｮﾝです！\nDATA VERSION  0.05"},
        HeaderCase{"LevelA1B2", -1, 0x1237, 0xA1B2, 1, -1, "対応していないﾃﾞｰﾀのﾊﾞｰｼﾞｮﾝです！\nDATA VERSION A1.B2"},
        HeaderCase{"Level2", -1, 0x1236, 2, 1, 0, ""}, HeaderCase{"ShareLevel4", -1, 0x1237, 4, 1, 0, ""},
        HeaderCase{"WrongKind", -1, 0x1236, 3, 2, 0, "ﾃﾞｰﾀの種類が違います！\n%P"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(DataOpsTest, ExecutableIsNeverReadAsDataFile) {
    const std::string exe = ws.executablePath.string();
    EXPECT_EQ(checkHeader(ws, exe, 1), DataFileRead::Failed);
    EXPECT_EQ(texts(), std::vector<std::string>{exe + "\nファイル読み込エラーです！\ndno=[    2]"});
}

TEST_F(DataOpsTest, HeadAndInfoReadWithoutReports) {
    FileImage f(5, 1);
    const std::string p = dir.str("x.zmo");
    Bytes b = f.bytes();
    b.resize(300);
    writeBytes(p, b);
    DataFileHeader h;
    DataFileInfo info;
    EXPECT_EQ(readHeader(ws, p, false, h), DataFileRead::Ok);
    EXPECT_EQ(h.fileKind, 5);
    EXPECT_EQ(readInfo(ws, p, false, info), DataFileRead::Failed);  // ends inside the information block
    EXPECT_EQ(lastError(ws), kErrRead);
    EXPECT_TRUE(prompter.boxes.empty());
    writeBytes(p, f.bytes());
    EXPECT_EQ(readInfo(ws, p, false, info), DataFileRead::Ok);
    EXPECT_EQ(fieldText(info.memo), "test");
    b = f.bytes();
    b.resize(384);  // a file without records: the chooser shows no information for it
    writeBytes(p, b);
    EXPECT_EQ(readInfo(ws, p, false, info), DataFileRead::Failed);
    // A missing file is always told.
    EXPECT_EQ(readInfo(ws, dir.str("none.zmo"), false, info), DataFileRead::Failed);
    EXPECT_EQ(texts(), std::vector<std::string>{dir.str("none.zmo") + "\nファイルが見つかりません！"});
}

TEST_F(DataOpsTest, WrongKindWarnsThenLoads) {
    writeBytes(path(1), FileImage(2, 4).bytes());
    EXPECT_EQ(read(1), 0);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(texts(), std::vector<std::string>{"ﾃﾞｰﾀの種類が違います！\n" + path(1)});
}

TEST_F(DataOpsTest, SkippedKindCheckAppliesToOneCheckOnly) {
    writeBytes(path(1), FileImage(9, 1).bytes());
    skipKindCheckOnce(ws);
    EXPECT_EQ(checkHeader(ws, path(1), 1), DataFileRead::Ok);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_TRUE(ws.checkKindSwitch);
    EXPECT_EQ(checkHeader(ws, path(1), 1), DataFileRead::Ok);
    EXPECT_EQ(prompter.boxes.size(), 1u);
}

// A skipped kind check belongs to the transfer it was set for, however that transfer ends; the
// next, unrelated read compares the kind again.
TEST_F(DataOpsTest, SkippedKindCheckEndsWithItsTransfer) {
    const std::string foreign = dir.str("foreign.zmo");  // kind 9, read as kind 1 below
    writeBytes(foreign, FileImage(9, 2).bytes());
    FileImage locked(9, 1);
    locked.info.hasPassword = 1;
    setField(locked.info.password, "pw");
    writeBytes(dir.str("locked.zmo"), locked.bytes());
    Bytes torn = FileImage(9, 3).bytes();
    torn.resize(384 + 192);
    writeBytes(dir.str("torn.zmo"), torn);

    int done = 0;
    auto chooseRead = [&](const std::string& p) {
        prompter.fileChoices = {FileChoice{true, p, ""}};
        return chooseAndTransfer(ws, false, kChoiceRead, 1, arr(1), done, loaded, cap(1));
    };
    struct Case {
        const char* name;
        std::function<int()> transfer;
        int result;
    } cases[] = {
        {"ModeCancelled",
         [&] {
             prompter.readWriteChoices = {kChoiceCancel};
             return chooseAndTransfer(ws, true, kChoiceRead, 1, arr(1), done, loaded, cap(1));
         },
         -1},
        {"ChooserCancelled",
         [&] {
             prompter.fileChoices = {FileChoice{false, "", ""}};
             return chooseAndTransfer(ws, false, kChoiceRead, 1, arr(1), done, loaded, cap(1));
         },
         -1},
        {"PasswordCancelled",
         [&] {
             prompter.passwords = {std::nullopt};
             return chooseRead(dir.str("locked.zmo"));
         },
         kErrRead},
        {"WrongPassword",
         [&] {
             prompter.passwords = {std::string("no")};
             return chooseRead(dir.str("locked.zmo"));
         },
         kErrRead},
        {"ChosenFileMissing", [&] { return chooseRead(dir.str("none.zmo")); }, -1},
        {"ReadOfAMissingFile", [&] { return read(1, dir.str("none.zmo")); }, -1},
        {"ReadOfATornFile", [&] { return read(1, dir.str("torn.zmo")); }, -1},
        {"HeaderOfAMissingFile", [&] { return readCode(checkHeader(ws, dir.str("none.zmo"), 1)); }, -1},
        {"Saved",
         [&] {
             prompter.fileChoices = {FileChoice{true, dir.str("out.zmo"), ""}};
             return chooseAndTransfer(ws, false, kChoiceWrite, 1, arr(1), done, loaded, cap(1));
         },
         0},
        {"ReadWithoutWarning", [&] { return chooseRead(foreign); }, 0},
    };
    for (const auto& c : cases) {
        fs::remove(dir.str("out.zmo"));
        prompter.clear();
        skipKindCheckOnce(ws);
        EXPECT_EQ(c.transfer(), c.result) << c.name;
        for (const std::string& t : texts()) EXPECT_EQ(t.find("ﾃﾞｰﾀの種類が違います！"), std::string::npos) << c.name;
        prompter.clear();
        EXPECT_EQ(read(1, foreign), 0) << c.name;
        EXPECT_EQ(texts(), std::vector<std::string>{"ﾃﾞｰﾀの種類が違います！\n" + foreign}) << c.name;
    }
}

// --- damaged files never touch the array ---

TEST_F(DataOpsTest, TruncatedFileAtEveryLengthLeavesTheArrayAsItWas) {
    const Bytes whole = FileImage(1, 3).bytes();
    fillJunk(arr(1));
    const Bytes before = arrayBytes(arr(1));
    for (std::size_t len = 0; len < whole.size(); ++len) {
        writeBytes(path(1), whole.data(), len);
        prompter.clear();
        loaded = 5;
        EXPECT_EQ(read(1), -1) << "length " << len;
        ASSERT_EQ(arrayBytes(arr(1)), before) << "length " << len;
        EXPECT_EQ(count, 0);
        ASSERT_EQ(prompter.boxes.size(), 1u) << "length " << len;
        if (len <= 128) {
            EXPECT_EQ(lastText(), path(1) + "\nファイル読み込エラーです！\ndno=[    2]") << len;
        } else {
            EXPECT_EQ(lastText(), path(1) + kFileError) << len;
            EXPECT_EQ(loaded, 0);
        }
    }
    writeBytes(path(1), whole);
    EXPECT_EQ(read(1), 0);
    EXPECT_EQ(count, 3);
}

struct CountCase {
    const char* name;
    int kind;
    int recordCount;
    int recordsInFile;
};

void PrintTo(const CountCase& c, std::ostream* os) {
    *os << c.name << " (kind " << c.kind << ", count " << c.recordCount << ", " << c.recordsInFile
        << " records in the file)";
}

class BadRecordCount : public DataOpsTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(BadRecordCount, IsAReadErrorWithoutTouchingTheArray) {
    const CountCase& c = GetParam();
    FileImage f(c.kind, c.recordsInFile);
    f.info.recordCount = static_cast<std::int16_t>(c.recordCount);
    writeBytes(path(c.kind), f.bytes());
    fillJunk(arr(c.kind));
    const Bytes before = arrayBytes(arr(c.kind));
    EXPECT_EQ(read(c.kind), -1);  // no truncation question: the scripted prompter has no answer
    EXPECT_EQ(loaded, 0);
    EXPECT_EQ(arrayBytes(arr(c.kind)), before);
    EXPECT_EQ(texts(), std::vector<std::string>{path(c.kind) + kFileError});
}

INSTANTIATE_TEST_SUITE_P(Cases, BadRecordCount,
                         ::testing::Values(CountCase{"MinusOne", 1, -1, 3}, CountCase{"Minimum", 1, -32768, 3},
                                           CountCase{"OneTooMany", 1, 4, 3}, CountCase{"Maximum", 1, 32767, 0},
                                           CountCase{"BeyondCapacityAndFile", 2, 600, 3}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(DataOpsTest, FieldsWithoutTheirNulAreReadWithinTheirWidth) {
    FileImage f(1, 1);
    std::memcpy(f.info.password, "ABCDEFGHIJKLMNOP", 16);  // no NUL in the field
    f.info.hasPassword = 1;
    std::memset(f.info.memo, 'M', sizeof f.info.memo);
    std::memcpy(f.records[0].barcode, "1234567890ABCDEF", 16);
    writeBytes(path(1), f.bytes());
    prompter.passwords = {std::string("abcdefghijklmnop")};
    ASSERT_EQ(read(1), 0);
    EXPECT_EQ(fieldText(arr(1)[0].barcode), "1234567890ABCDEF");
    EXPECT_EQ(fieldText(arr(1)[0].userCode), "U0");
}

// --- more records than the array holds ---

class Truncation : public DataOpsTest {
protected:
    Truncation() {
        TCddataArray big(601);
        for (int i = 0; i < 600; ++i) big.put(i, sample(i));
        EXPECT_EQ(writeDataFile(ws, false, "", 1, big, 600), 0);
        fillJunk(arr(1));
    }
    // The stored two lines, then the two numbers and the way out.
    static constexpr const char* kQuestion =
        "ﾃﾞｰﾀﾌｧｲﾙ内ﾃﾞｰﾀ登録数がｼｽﾃﾑ制御数を越えています！\n制御数以降を切り捨てて処理を継続します。\n"
        "ﾌｧｲﾙ内 600 件 / ｼｽﾃﾑ制御数 500 件\nｼｽﾃﾑﾓｰﾄﾞのﾃﾞｰﾀﾍﾞｰｽｻｲｽﾞを大きくしてください";
};

TEST_F(Truncation, YesLoadsAsManyAsTheArrayHolds) {
    ASSERT_EQ(cap(1), 500);
    prompter.answers = {Answer::Yes};
    EXPECT_EQ(read(1), 0);
    EXPECT_EQ(count, 500);
    EXPECT_EQ(loaded, 1);
    for (int i = 0; i < 500; ++i) ASSERT_EQ(bytesOf(arr(1)[i]), bytesOf(sample(i))) << i;
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, kQuestion);
    EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Confirmation);
    EXPECT_EQ(prompter.boxes[0].buttons, Buttons::YesNo);
}

TEST_F(Truncation, NoLeavesTheArray) {
    const Bytes before = arrayBytes(arr(1));
    prompter.answers = {Answer::No};
    EXPECT_EQ(read(1), kErrRead);
    EXPECT_EQ(loaded, 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(arrayBytes(arr(1)), before);
    EXPECT_EQ(texts(), std::vector<std::string>{kQuestion});
}

// --- share form and password ---

class ShareForm : public DataOpsTest {
protected:
    ShareForm() {
        ws.control.shareMode = 1;
        ws.shareFlag = true;
        setField(ws.control.creatorId, "SHOP0042");
        for (int i = 0; i < 5; ++i) arr(2).put(i, sample(i));
    }
    std::string shared() const { return dir.str("share.zmo"); }
    void writeShared(const char* password) {
        setField(ws.control.sharePassword, password);
        ws.nextMemo = sj("店舗Aへ");
        ASSERT_EQ(writeDataFile(ws, true, shared(), 2, arr(2), cap(2)), 0);
    }
};

TEST_F(ShareForm, FileIsScrambledOnDiskAndReadsBackExactly) {
    writeShared("Secret");
    const Bytes b = readBytes(shared());
    ASSERT_EQ(b.size(), 384u + 5 * 192u);
    EXPECT_EQ(at<std::uint16_t>(b, 96), 0x1237);
    EXPECT_EQ(at<std::uint16_t>(b, 102), 4);
    EXPECT_EQ(textAt(b, 128, 62), sj("店舗Aへ"));
    EXPECT_EQ(at<std::int16_t>(b, 128 + 68), 1);  // keyIndex = kind - 1
    EXPECT_EQ(at<std::int16_t>(b, 128 + 70), 1);
    EXPECT_EQ(at<std::int16_t>(b, 128 + 90), 1);
    EXPECT_NE(textAt(b, 128 + 74, 8), "SHOP0042");

    DataFileInfo info;
    std::memcpy(&info, b.data() + 128, sizeof info);
    scrambleInfo(info, kScrambleUndo, 1);
    EXPECT_EQ(fieldText(info.creatorId), "SHOP0042");
    EXPECT_EQ(fieldText(info.password), "Secret");

    for (int k = 0; k < 5; ++k) {
        const Bytes plain = bytesOf(sample(k));
        const Bytes stored(b.begin() + 384 + k * 192, b.begin() + 384 + (k + 1) * 192);
        EXPECT_NE(Bytes(stored.begin(), stored.begin() + 14), Bytes(plain.begin(), plain.begin() + 14));
        EXPECT_EQ(Bytes(stored.begin() + 148, stored.end()), Bytes(plain.begin() + 148, plain.end()));
    }
    EXPECT_EQ(bytesOf(arr(2)[0]), bytesOf(sample(0)));  // the array itself stays plain

    fillJunk(arr(2));
    prompter.passwords = {std::string("Secret")};
    ASSERT_EQ(read(2, shared()), 0);
    EXPECT_EQ(count, 5);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(bytesOf(arr(2)[k]), bytesOf(sample(k)));
    EXPECT_EQ(prompter.passwordPrompts, 1);
}

TEST_F(ShareForm, WithShareModeOffTheChosenFileIsPlain) {
    ws.control.shareMode = 0;
    ws.shareFlag = false;
    writeShared("Secret");
    const Bytes b = readBytes(shared());
    EXPECT_EQ(at<std::uint16_t>(b, 96), 0x1236);
    EXPECT_EQ(at<std::int16_t>(b, 128 + 70), 0);
    EXPECT_EQ(at<std::int16_t>(b, 128 + 90), 0);
    EXPECT_EQ(textAt(b, 128 + 92, 16), "");
    EXPECT_EQ(textAt(b, 128, 62), sj("店舗Aへ"));
    EXPECT_EQ(Bytes(b.begin() + 384, b.begin() + 576), bytesOf(sample(0)));
}

struct PasswordCase {
    const char* name;
    const char* stored;
    std::optional<std::string> typed;
    bool opens;
    bool wrongMessage;
};

void PrintTo(const PasswordCase& c, std::ostream* os) {
    *os << c.name << " (stored \"" << c.stored << "\", typed "
        << (c.typed ? "\"" + *c.typed + "\"" : std::string("nothing")) << ")";
}

class Password : public ShareForm, public ::testing::WithParamInterface<PasswordCase> {};

TEST_P(Password, IsComparedIgnoringCase) {
    const PasswordCase& c = GetParam();
    writeShared(c.stored);
    fillJunk(arr(2));
    const Bytes before = arrayBytes(arr(2));
    prompter.passwords = {c.typed};
    const int result = read(2, shared());
    if (c.opens) {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(loaded, 1);
        EXPECT_EQ(bytesOf(arr(2)[4]), bytesOf(sample(4)));
        EXPECT_TRUE(prompter.boxes.empty());
    } else {
        EXPECT_EQ(result, kErrRead);
        EXPECT_EQ(loaded, 0);
        EXPECT_EQ(arrayBytes(arr(2)), before);
        if (c.wrongMessage)
            EXPECT_EQ(texts(), std::vector<std::string>{"パスワードが違います!"});
        else
            EXPECT_TRUE(prompter.boxes.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Password,
    ::testing::Values(PasswordCase{"Same", "Secret", "Secret", true, false},
                      PasswordCase{"Lower", "Secret", "secret", true, false},
                      PasswordCase{"Upper", "Secret", "SECRET", true, false},
                      PasswordCase{"Shorter", "Secret", "Secre", false, true},
                      PasswordCase{"Longer", "Secret", "Secrets", false, true},
                      PasswordCase{"Cancelled", "Secret", std::nullopt, false, false},
                      PasswordCase{"EmptyMatchesEmpty", "", "", true, false},
                      PasswordCase{"EmptyStoredTypedText", "", "x", false, true},
                      PasswordCase{"BlanksAreDropped", "Se cret ", "SECRET", true, false},
                      PasswordCase{"TypedBlanksCount", "Secret", "Se cret", false, true},
                      PasswordCase{"CutToFourteen", "abcdefghijklmno", "ABCDEFGHIJKLM*", true, false}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(DataOpsTest, LevelTwoFileKeepsItsUserCodeAsStored) {
    FileImage f(1, 3);
    f.header.magic = kMagicShare;
    f.header.formatLevel = 2;
    f.info.scrambled = 1;
    f.info.keyIndex = 0;
    scrambleInfo(f.info, kScrambleApply, 0);
    for (CdRecord& r : f.records) {
        const CdRecord plain = r;
        scrambleRecord(r, kScrambleApply, 0);
        std::memcpy(r.userCode, plain.userCode, sizeof r.userCode);  // older files left it plain
    }
    writeBytes(path(1), f.bytes());
    ASSERT_EQ(read(1), 0);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(bytesOf(arr(1)[k]), bytesOf(sample(k)));

    // At level 4 the same userCode bytes would have been unscrambled.
    f.header.formatLevel = 4;
    writeBytes(path(1), f.bytes());
    ASSERT_EQ(read(1), 0);
    EXPECT_NE(fieldText(arr(1)[0].userCode), "U0");
}

// --- loading by kind ---

TEST_F(DataOpsTest, MissingKindIsCreatedEmptyAfterYes) {
    fillJunk(arr(2));
    prompter.answers = {Answer::Yes};
    ASSERT_EQ(loadKind(ws, 2, cap(2), count, arr(2), loaded), 0);
    EXPECT_EQ(loaded, 1);
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].text, "[振分け] ﾃﾞｰﾀﾌｧｲﾙを新規作成します。\n" + path(2));
    EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(prompter.boxes[0].buttons, Buttons::YesNo);

    const Bytes b = readBytes(path(2));
    EXPECT_EQ(b.size(), 384u + 192u * static_cast<std::size_t>(cap(2)));
    EXPECT_EQ(at<std::uint16_t>(b, 100), 2);
    EXPECT_EQ(at<std::int16_t>(b, 128 + 62), 0);
    for (int i = 0; i < cap(2); ++i) {
        EXPECT_EQ(bytesOf(arr(2)[i]), bytesOf(clearedRecord())) << i;
        EXPECT_EQ(Bytes(b.begin() + 384 + i * 192, b.begin() + 384 + (i + 1) * 192), bytesOf(clearedRecord()));
    }

    // The empty file loads without a question.
    prompter.clear();
    ASSERT_EQ(loadKind(ws, 2, cap(2), count, arr(2), loaded), 0);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(DataOpsTest, MissingKindDeclinedLeavesItUnloaded) {
    fillJunk(arr(5));
    const Bytes before = arrayBytes(arr(5));
    loaded = 1;
    prompter.answers = {Answer::No};
    EXPECT_EQ(loadKind(ws, 5, cap(5), count, arr(5), loaded), -1);
    EXPECT_EQ(loaded, 0);
    EXPECT_FALSE(fs::exists(path(5)));
    EXPECT_EQ(path(5), dir.str("CD_ADD/CD_ADD.ZMO"));
    EXPECT_EQ(arrayBytes(arr(5)), before);
    EXPECT_FALSE(prompter.busy());
}

// --- saving with a backup ---

TEST_F(DataOpsTest, SaveKeepsThePreviousCatalogueInItsBak) {
    for (int i = 0; i < 2; ++i) arr(1).put(i, sample(i));
    ASSERT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), 0);  // first save: nothing to back up yet
    EXPECT_TRUE(prompter.boxes.empty());
    const Bytes first = readBytes(path(1));
    const auto oldTime = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    fs::last_write_time(path(1), oldTime);
    rememberFile(ws, path(1));  // the old time stands for a save long ago, not for a change behind the program

    clock.set(LocalTime{2024, 6, 1, 12, 0, 0});
    arr(1).put(2, sample(2));
    ASSERT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), 0);

    const std::string bak = dir.str("CD_SYS/CD_DATA.BAK");
    EXPECT_EQ(readBytes(bak), first);
    EXPECT_EQ(at<std::int32_t>(readBytes(bak), 128 + 64), stampOf(LocalTime{2024, 5, 6, 7, 8, 9}));
    EXPECT_EQ(fs::last_write_time(bak), oldTime);
    const Bytes now = readBytes(path(1));
    EXPECT_EQ(at<std::int16_t>(now, 128 + 62), 3);
    EXPECT_EQ(at<std::int32_t>(now, 128 + 64), stampOf(LocalTime{2024, 6, 1, 12, 0, 0}));
}

struct FailedSaveCase {
    const char* name;
    int backupMode;
    bool olderBak;  // a .BAK from the save before is there
};

void PrintTo(const FailedSaveCase& c, std::ostream* os) { *os << c.name; }

class FailedSave : public DataOpsTest, public ::testing::WithParamInterface<FailedSaveCase> {
protected:
    std::string bak() const { return dir.str("CD_SYS/CD_DATA.BAK"); }
    fs::file_time_type bakTime() const { return fs::file_time_type::clock::now() - std::chrono::hours(24 * 30); }

    // The catalogue on disk holds records 0 .. n-1; the older backup, when asked for, holds junk.
    void saved(int n) {
        for (int i = 0; i < n; ++i) arr(1).put(i, sample(i));
        ASSERT_EQ(saveKind(ws, 1, 1, cap(1), arr(1)), 0);
        if (GetParam().olderBak) {
            writeBytes(bak(), Bytes(700, 0xBB));
            fs::last_write_time(bak(), olderTime_);
        }
    }

    // The file and its backup as they were, and nothing else beside them.
    void expectDiskAsBefore(const Bytes& file) const {
        EXPECT_EQ(readBytes(path(1)), file);
        std::vector<std::string> left;
        for (const auto& e : fs::directory_iterator(dir.path() / "CD_SYS")) left.push_back(e.path().filename());
        std::sort(left.begin(), left.end());
        if (GetParam().olderBak) {
            EXPECT_EQ(left, (std::vector<std::string>{"CD_DATA.BAK", "CD_DATA.ZMO"}));
            EXPECT_EQ(readBytes(bak()), Bytes(700, 0xBB));
            EXPECT_EQ(fs::last_write_time(bak()), olderTime_);
        } else {
            EXPECT_EQ(left, std::vector<std::string>{"CD_DATA.ZMO"});
        }
    }

    const fs::file_time_type olderTime_ = bakTime();
};

// The new contents cannot be written: the old file stays, and so does its backup.
TEST_P(FailedSave, LeavesThePreviousFileWhole) {
    saved(1);
    const Bytes before = readBytes(path(1));
    ASSERT_EQ(before.size(), 576u);

    for (int i = 1; i < 10; ++i) arr(1).put(i, sample(i));  // 2304 bytes to write
    int result;
    {
        FileSizeLimit limit(1500);
        result = saveKind(ws, GetParam().backupMode, 1, cap(1), arr(1));
    }
    EXPECT_EQ(result, -1);
    // The stored message, and the system's reason in words the user reads.
    EXPECT_EQ(texts(), std::vector<std::string>{path(1) + kFileError + "\nファイルが大きすぎます"});
    expectDiskAsBefore(before);
}

INSTANTIATE_TEST_SUITE_P(BackupOnAndOff, FailedSave,
                         ::testing::Values(FailedSaveCase{"BackupOn", 0, false}, FailedSaveCase{"BackupOff", 1, false},
                                           FailedSaveCase{"BackupOnOlderBak", 0, true},
                                           FailedSaveCase{"BackupOffOlderBak", 1, true}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

class FailedBackup : public FailedSave {};

// The new contents are written but the backup copy of the file cannot be: nothing changes on the
// disk and the backup failure is reported.
TEST_P(FailedBackup, KeepsTheFileAndTheOlderBak) {
    saved(10);
    const Bytes before = readBytes(path(1));
    ASSERT_EQ(before.size(), 2304u);
    for (int i = 1; i < 10; ++i) arr(1).put(i, clearedRecord());  // 576 bytes to write
    int result;
    {
        FileSizeLimit limit(1500);  // enough for the new file, too little for the copy of the old one
        result = saveKind(ws, 0, 1, cap(1), arr(1));
    }
    EXPECT_EQ(result, kErrBackup);
    EXPECT_EQ(texts(), std::vector<std::string>{path(1) + "\nバックアップファイル作成エラーです！\ndno=[   26]"});
    expectDiskAsBefore(before);
}

// The very last step, putting the new file in place, fails after the backup was replaced: the
// older backup is put back.
TEST_P(FailedBackup, LastRenameFailingPutsTheOlderBakBack) {
    saved(1);
    const Bytes before = readBytes(path(1));
    arr(1).put(1, sample(1));
    int renames = 0;
    ws.saveHook = [&](SaveStep s) { return s != SaveStep::Rename || ++renames != 2; };
    EXPECT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), -1);
    ws.saveHook = {};
    EXPECT_EQ(renames, 2);
    EXPECT_EQ(texts(), std::vector<std::string>{path(1) + kFileError + "\nディスクの読み書きに失敗しました"});
    expectDiskAsBefore(before);
}

INSTANTIATE_TEST_SUITE_P(OlderBak, FailedBackup,
                         ::testing::Values(FailedSaveCase{"None", 0, false}, FailedSaveCase{"Present", 0, true}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(DataOpsTest, SaveOntoADirectoryFails) {
    fs::create_directory(path(1));
    arr(1).put(0, sample(0));
    EXPECT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), -1);
    EXPECT_EQ(texts(), std::vector<std::string>{path(1) + kFileError + "\n同じ名前のフォルダがあります"});
    EXPECT_TRUE(fs::is_directory(path(1)));
}

TEST_F(DataOpsTest, SaveIntoReadOnlyFolderKeepsThePreviousFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    arr(1).put(0, sample(0));
    ASSERT_EQ(saveKind(ws, 1, 1, cap(1), arr(1)), 0);
    const Bytes before = readBytes(path(1));
    fs::permissions(dir.path() / "CD_SYS", fs::perms::owner_read | fs::perms::owner_exec);
    arr(1).put(1, sample(1));
    EXPECT_NE(saveKind(ws, 0, 1, cap(1), arr(1)), 0);
    fs::permissions(dir.path() / "CD_SYS", fs::perms::owner_all);
    EXPECT_EQ(readBytes(path(1)), before);
}

// --- the user's own files ---

TEST_F(DataOpsTest, CancelledReadWriteChoiceShowsNoChooser) {
    prompter.readWriteChoices = {kChoiceCancel};
    int done = 7;
    EXPECT_EQ(chooseAndTransfer(ws, true, kChoiceRead, 1, arr(1), done, loaded, cap(1)), -1);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(prompter.readWritePrompts, 1);
    EXPECT_EQ(prompter.chooserCalls, 0);
}

TEST_F(DataOpsTest, ChosenFileIsReadWithTheBlanksInsideItsPath) {
    // A stick named "My Stick" holding "my file.zmo"; the same name without blanks lies beside it
    // with other records, so a read that dropped the blanks would take the wrong file.
    fs::create_directory(dir.path() / "My Stick");
    fs::create_directory(dir.path() / "MyStick");
    for (int i = 0; i < 4; ++i) arr(1).put(i, sample(i));
    ASSERT_EQ(writeDataFile(ws, true, dir.str("My Stick/my file.zmo"), 1, arr(1), cap(1)), 0);
    arr(1).put(4, sample(4));
    ASSERT_EQ(writeDataFile(ws, true, dir.str("MyStick/myfile.zmo"), 1, arr(1), cap(1)), 0);
    fillJunk(arr(1));
    ws.openDialogDir = dir.str("CD_TXT");
    prompter.readWriteChoices = {kChoiceRead};
    prompter.fileChoices = {FileChoice{true, " " + dir.str("My Stick/my file.zmo\u3000"), "memo"}};
    int done = 0;
    EXPECT_EQ(chooseAndTransfer(ws, true, kChoiceWrite, 1, arr(1), done, loaded, cap(1)), 0);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(prompter.lastChooserMode, kChoiceRead);
    EXPECT_EQ(prompter.lastChooserDir, dir.str("CD_TXT"));
    EXPECT_EQ(ws.openDialogFile, " " + dir.str("My Stick/my file.zmo\u3000"));  // as chosen
    EXPECT_EQ(bytesOf(arr(1)[3]), bytesOf(sample(3)));
    EXPECT_EQ(bytesOf(arr(1)[4]), bytesOf(clearedRecord()));
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_FALSE(prompter.busy());
}

TEST_F(DataOpsTest, ChosenFileIsWrittenWithTheMemoTypedInTheChooser) {
    for (int i = 0; i < 2; ++i) arr(6).put(i, sample(i));
    ws.saveDialogDir = dir.str("CD_ADD");
    fs::create_directory(dir.path() / "My Stick");
    prompter.fileChoices = {FileChoice{true, dir.str("My Stick/Take Out.zmo "), sj("店舗Bへ")}};
    int done = 0;
    EXPECT_EQ(chooseAndTransfer(ws, false, kChoiceWrite, 6, arr(6), done, loaded, cap(6)), 0);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(prompter.readWritePrompts, 0);
    EXPECT_EQ(prompter.lastChooserMode, kChoiceWrite);
    EXPECT_EQ(prompter.lastChooserDir, dir.str("CD_ADD"));
    EXPECT_EQ(ws.saveDialogFile, dir.str("My Stick/Take Out.zmo "));
    EXPECT_EQ(fs::directory_iterator(dir.path() / "My Stick")->path().filename(), "Take Out.zmo");
    const Bytes b = readBytes(dir.str("My Stick/Take Out.zmo"));
    ASSERT_EQ(b.size(), 384u + 2 * 192u);
    EXPECT_EQ(textAt(b, 128, 62), sj("店舗Bへ"));
    EXPECT_EQ(at<std::uint16_t>(b, 100), 6);

    // A cancelled chooser still hands over its memo for the next save.
    prompter.fileChoices = {FileChoice{false, "", "next"}};
    EXPECT_EQ(chooseAndTransfer(ws, false, kChoiceWrite, 6, arr(6), done, loaded, cap(6)), -1);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(ws.nextMemo, "next");
}

TEST_F(DataOpsTest, ReservedNameIsRefusedBeforeAnythingIsWritten) {
    arr(1).put(0, sample(0));
    fs::create_directory(dir.path() / "elsewhere");
    prompter.fileChoices = {FileChoice{true, dir.str("elsewhere/cd_data.zmo"), ""}};
    int done = 0;
    EXPECT_EQ(chooseAndTransfer(ws, false, kChoiceWrite, 1, arr(1), done, loaded, cap(1)), -1);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(texts(), std::vector<std::string>{"cd_data.zmo\nこのﾌｧｲﾙ名はｼｽﾃﾑで使用しています！中止します。"});
    EXPECT_TRUE(fs::is_empty(dir.path() / "elsewhere"));
}

TEST_F(DataOpsTest, OverwriteCancelledKeepsTheFile) {
    const std::string p = dir.str("mine.zmo");
    writeBytes(p, "keep", 4);
    arr(1).put(0, sample(0));
    prompter.fileChoices = {FileChoice{true, p, ""}};
    prompter.answers = {Answer::Cancel};
    int done = 0;
    EXPECT_EQ(chooseAndTransfer(ws, false, kChoiceWrite, 1, arr(1), done, loaded, cap(1)), -1);
    EXPECT_EQ(texts(), std::vector<std::string>{p + "\n上書きします。"});
    EXPECT_EQ(readBytes(p), (Bytes{'k', 'e', 'e', 'p'}));
}

TEST_F(DataOpsTest, PathOfOnlyBlanksTransfersNothing) {
    prompter.fileChoices = {FileChoice{true, " \u3000 ", ""}};
    int done = 9;
    EXPECT_EQ(chooseAndTransfer(ws, false, kChoiceRead, 1, arr(1), done, loaded, cap(1)), -1);
    EXPECT_EQ(done, 0);
    EXPECT_TRUE(prompter.boxes.empty());
}

// --- the system's reason for a failed save ---

TEST(SystemReason, UsualCausesInJapaneseOthersInTheSystemsWords) {
    const struct {
        int err;
        std::string text;
    } cases[] = {
        {ENOSPC, "ディスクがいっぱいです"},   {EDQUOT, "ディスクがいっぱいです"},
        {EACCES, "書き込みが許可されていません"}, {EPERM, "書き込みが許可されていません"},
        {EROFS, "書き込みが許可されていません"}, {EFBIG, "ファイルが大きすぎます"},
        {EIO, "ディスクの読み書きに失敗しました"}, {EISDIR, "同じ名前のフォルダがあります"},
        {ENOENT, "フォルダが見つかりません"},   {EBADF, std::strerror(EBADF)},
    };
    for (const auto& c : cases) EXPECT_EQ(systemReasonText(c.err), c.text) << c.err;
}

TEST_F(DataOpsTest, ASaveIntoAFolderItMayNotWriteSaysWhy) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    fs::permissions(dir.path() / "CD_SYS", fs::perms::owner_read | fs::perms::owner_exec);
    arr(1).put(0, sample(0));
    EXPECT_EQ(saveKind(ws, 1, 1, cap(1), arr(1)), -1);
    fs::permissions(dir.path() / "CD_SYS", fs::perms::owner_all);
    EXPECT_EQ(texts(), std::vector<std::string>{path(1) + kFileError + "\n書き込みが許可されていません"});
    EXPECT_EQ(ws.lastErr.code, kErrWrite);
}

// --- a file changed behind the program ---

constexpr const char* kChanged = " は読み込み後に変更されています。上書きしますか？";

// What another program (a sync client, the old program on another computer) does to a file.
struct BehindCase {
    const char* name;
    std::function<void(const std::string&)> change;
};

Bytes otherContents(const std::string& p) {
    Bytes b = readBytes(p);
    b.back() ^= 0x5A;  // same size
    return b;
}

void PrintTo(const BehindCase& c, std::ostream* os) { *os << c.name; }

class ChangedBehind : public DataOpsTest, public ::testing::WithParamInterface<BehindCase> {};

TEST_P(ChangedBehind, IsNotReplacedUnasked) {
    for (int i = 0; i < 3; ++i) arr(1).put(i, sample(i));
    ASSERT_EQ(saveKind(ws, 1, 1, cap(1), arr(1)), 0);
    ASSERT_EQ(read(1), 0);
    GetParam().change(path(1));
    const Bytes theirs = readBytes(path(1));
    arr(1).put(3, sample(3));

    prompter.answers = {Answer::No};
    EXPECT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), -1);
    ASSERT_EQ(texts(), std::vector<std::string>{path(1) + kChanged});
    EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Confirmation);
    EXPECT_EQ(prompter.boxes[0].buttons, Buttons::YesNo);
    EXPECT_EQ(readBytes(path(1)), theirs);  // byte for byte
    EXPECT_FALSE(fs::exists(backupPath(path(1))));

    prompter.clear();
    prompter.answers = {Answer::Yes};
    EXPECT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), 0);
    EXPECT_EQ(texts(), std::vector<std::string>{path(1) + kChanged});  // asked again, and written
    EXPECT_EQ(at<std::int16_t>(readBytes(path(1)), 128 + 62), 4);
    EXPECT_EQ(readBytes(backupPath(path(1))), theirs);

    // What the save left is what the program now knows of the file.
    prompter.clear();
    EXPECT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), 0);
    EXPECT_TRUE(prompter.boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChangedBehind,
    ::testing::Values(
        BehindCase{"RewrittenInPlace",
                   [](const std::string& p) {
                       // Same size, same inode; a time stamp a little later than the read.
                       const auto stamp = fs::last_write_time(p);
                       writeBytes(p, otherContents(p));
                       fs::last_write_time(p, stamp + std::chrono::nanoseconds(1000));
                   }},
        BehindCase{"OnlyTheTimeMovedByMicroseconds",
                   [](const std::string& p) { fs::last_write_time(p, fs::last_write_time(p) + std::chrono::microseconds(3)); }},
        BehindCase{"ReplacedByRenameWithTheSameTime",
                   [](const std::string& p) {
                       const auto stamp = fs::last_write_time(p);
                       writeBytes(p + ".new", otherContents(p));
                       fs::last_write_time(p + ".new", stamp);
                       fs::rename(p + ".new", p);
                   }},
        BehindCase{"Grown",
                   [](const std::string& p) {
                       Bytes b = readBytes(p);
                       b.push_back(0);
                       writeBytes(p, b);
                   }}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(DataOpsTest, ASaveAsksNothingWhenTheFileIsUnchangedNewNeverReadOrGone) {
    // Never read by this program: written as before.
    writeBytes(path(1), FileImage(1, 2).bytes());
    arr(1).put(0, sample(0));
    EXPECT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), 0);
    // Read and unchanged since.
    ASSERT_EQ(read(1), 0);
    EXPECT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), 0);
    // Read, then removed: nothing there to lose.
    ASSERT_EQ(read(1), 0);
    fs::remove(path(1));
    EXPECT_EQ(saveKind(ws, 1, 1, cap(1), arr(1)), 0);
    // A new file that another kind's load created.
    ASSERT_EQ(fs::exists(path(4)), false);
    prompter.answers = {Answer::Yes};
    ASSERT_EQ(loadKind(ws, 4, cap(4), count, arr(4), loaded), 0);  // "新規作成します" answered Yes
    arr(4).put(0, sample(0));
    EXPECT_EQ(saveKind(ws, 0, 4, cap(4), arr(4)), 0);
    ASSERT_EQ(texts().size(), 1u);  // only the creation question
    EXPECT_EQ(at<std::int16_t>(readBytes(path(1)), 128 + 62), 1);
}

TEST_F(DataOpsTest, AFileCreatedByALoadIsWatchedLikeOneRead) {
    prompter.answers = {Answer::Yes};
    ASSERT_EQ(loadKind(ws, 5, cap(5), count, arr(5), loaded), 0);
    writeBytes(path(5), FileImage(5, 7).bytes());  // someone fills it meanwhile
    const Bytes theirs = readBytes(path(5));
    prompter.clear();
    prompter.answers = {Answer::No};
    EXPECT_EQ(saveKind(ws, 0, 5, cap(5), arr(5)), -1);
    EXPECT_EQ(texts(), std::vector<std::string>{path(5) + kChanged});
    EXPECT_EQ(readBytes(path(5)), theirs);
}

TEST_F(DataOpsTest, AChosenFileChangedSinceItWasReadIsAskedAboutToo) {
    const std::string mine = dir.str("MINE.ZMO");
    writeBytes(mine, FileImage(1, 3).bytes());
    prompter.fileChoices = {FileChoice{true, mine, ""}};
    int done = 0;
    ASSERT_EQ(chooseAndTransfer(ws, false, kChoiceRead, 1, arr(1), done, loaded, cap(1)), 0);
    writeBytes(mine, FileImage(1, 4).bytes());
    const Bytes theirs = readBytes(mine);
    prompter.fileChoices = {FileChoice{true, mine, ""}};
    prompter.answers = {Answer::Ok, Answer::No};  // "上書きします。", then the change
    EXPECT_EQ(chooseAndTransfer(ws, false, kChoiceWrite, 1, arr(1), done, loaded, cap(1)), -1);
    EXPECT_EQ(texts(), (std::vector<std::string>{mine + "\n上書きします。", mine + kChanged}));
    EXPECT_EQ(readBytes(mine), theirs);
}

// --- a kind read cut to its capacity ---

std::string cutSaveQuestion(const std::string& p, int inFile, int losing) {
    return p + "\n制御数以降を切り捨てて読み込んだﾃﾞｰﾀです！\n上書きするとﾌｧｲﾙ内 " + std::to_string(inFile) +
           " 件のうち " + std::to_string(losing) + " 件のﾃﾞｰﾀが失われます。\n上書きしますか？";
}

TEST_F(Truncation, SavingOverTheFileItCameFromAsksOnceMoreWithNoTheDefault) {
    const Bytes whole = readBytes(path(1));
    prompter.answers = {Answer::Yes};
    ASSERT_EQ(read(1), 0);
    arr(1).put(0, clearedRecord());  // one erased as well: the file would hold 499
    prompter.clear();
    prompter.answers = {Answer::No};
    EXPECT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), -1);
    ASSERT_EQ(texts(), std::vector<std::string>{cutSaveQuestion(path(1), 600, 101)});
    EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Confirmation);
    EXPECT_EQ(prompter.boxes[0].buttons, Buttons::YesNoDefaultNo);
    EXPECT_EQ(readBytes(path(1)), whole);
    EXPECT_FALSE(fs::exists(backupPath(path(1))));

    prompter.clear();
    prompter.answers = {Answer::Yes};
    EXPECT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), 0);
    EXPECT_EQ(texts(), std::vector<std::string>{cutSaveQuestion(path(1), 600, 101)});
    EXPECT_EQ(at<std::int16_t>(readBytes(path(1)), 128 + 62), 499);
    // The file now holds what the array holds: no more questions.
    prompter.clear();
    EXPECT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), 0);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(Truncation, ASaveToAnotherFileDoesNotAsk) {
    prompter.answers = {Answer::Yes};
    ASSERT_EQ(read(1), 0);
    prompter.clear();
    prompter.fileChoices = {FileChoice{true, dir.str("PART.ZMO"), ""}};
    int done = 0;
    EXPECT_EQ(chooseAndTransfer(ws, false, kChoiceWrite, 1, arr(1), done, loaded, cap(1)), 0);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(at<std::int16_t>(readBytes(dir.str("PART.ZMO")), 128 + 62), 500);
    // The mark stays with the file it came from.
    prompter.answers = {Answer::No};
    EXPECT_EQ(saveKind(ws, 1, 1, cap(1), arr(1)), -1);
    EXPECT_EQ(texts(), std::vector<std::string>{cutSaveQuestion(path(1), 600, 100)});
}

TEST_F(Truncation, AfterTheSizeGrewAndTheFileWasReadWholeNothingIsAsked) {
    prompter.answers = {Answer::Yes};
    ASSERT_EQ(read(1), 0);
    ws.changeDatabaseSize(2);
    prompter.clear();
    ASSERT_EQ(read(1), 0);
    EXPECT_EQ(count, 600);
    EXPECT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), 0);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(at<std::int16_t>(readBytes(path(1)), 128 + 62), 600);
}

TEST_F(Truncation, AWholeReadOfAnotherFileDropsTheMark) {
    prompter.answers = {Answer::Yes};
    ASSERT_EQ(read(1), 0);
    writeBytes(dir.str("SMALL.ZMO"), FileImage(1, 5).bytes());
    ASSERT_EQ(read(1, dir.str("SMALL.ZMO")), 0);
    prompter.clear();
    EXPECT_EQ(saveKind(ws, 1, 1, cap(1), arr(1)), 0);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(at<std::int16_t>(readBytes(path(1)), 128 + 62), 5);
}

// Every kind: a file at the capacity is read whole and saved unasked; one more record and the
// read asks (with the way out only where a larger database size would hold it) and so does the save.
TEST_F(DataOpsTest, EveryKindReadCutAtCapacityPlusOneAsksBeforeItsSave) {
    const struct {
        int kind;
        bool wayOut;
    } kinds[] = {{1, true}, {2, false}, {4, false}, {5, true}, {6, false}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        const int c = cap(k.kind);
        for (int n : {c, c + 1}) {
            SCOPED_TRACE(n);
            writeBytes(path(k.kind), FileImage(k.kind, n).bytes());
            const Bytes whole = readBytes(path(k.kind));
            prompter.clear();
            if (n > c) prompter.answers = {Answer::Yes};
            ASSERT_EQ(read(k.kind), 0);
            EXPECT_EQ(count, c);
            if (n > c) {
                std::string question =
                    "ﾃﾞｰﾀﾌｧｲﾙ内ﾃﾞｰﾀ登録数がｼｽﾃﾑ制御数を越えています！\n制御数以降を切り捨てて処理を継続します。\nﾌｧｲﾙ内 " +
                    std::to_string(n) + " 件 / ｼｽﾃﾑ制御数 " + std::to_string(c) + " 件";
                if (k.wayOut) question += "\nｼｽﾃﾑﾓｰﾄﾞのﾃﾞｰﾀﾍﾞｰｽｻｲｽﾞを大きくしてください";
                EXPECT_EQ(texts(), std::vector<std::string>{question});
                prompter.clear();
                prompter.answers = {Answer::No};
                EXPECT_EQ(saveKind(ws, 0, k.kind, c, arr(k.kind)), -1);
                EXPECT_EQ(texts(), std::vector<std::string>{cutSaveQuestion(path(k.kind), n, 1)});
                EXPECT_EQ(readBytes(path(k.kind)), whole);
            } else {
                EXPECT_TRUE(prompter.boxes.empty());
                EXPECT_EQ(saveKind(ws, 1, k.kind, c, arr(k.kind)), 0);
                EXPECT_TRUE(prompter.boxes.empty());
                EXPECT_EQ(at<std::int16_t>(readBytes(path(k.kind)), 128 + 62), c);
            }
        }
    }
}

TEST_F(Truncation, ConfirmingSeveralSavesUpFrontTakesBackEveryAnswerOnANo) {
    // The deleted history changed behind the program; the catalogue was read cut.
    writeBytes(path(4), FileImage(4, 2).bytes());
    ASSERT_EQ(read(4), 0);
    writeBytes(path(4), FileImage(4, 3).bytes());
    prompter.answers = {Answer::Yes};
    ASSERT_EQ(read(1), 0);
    prompter.clear();

    prompter.answers = {Answer::Yes, Answer::No};
    EXPECT_EQ(confirmKindSaves(ws, {4, 1}), -1);
    EXPECT_EQ(texts(), (std::vector<std::string>{path(4) + kChanged, cutSaveQuestion(path(1), 600, 100)}));
    // Both are asked again: the first Yes went with the No.
    prompter.clear();
    prompter.answers = {Answer::Yes, Answer::Yes};
    EXPECT_EQ(confirmKindSaves(ws, {4, 1}), 0);
    EXPECT_EQ(texts().size(), 2u);
    // Agreed up front: the saves ask nothing more.
    prompter.clear();
    EXPECT_EQ(saveKind(ws, 0, 4, cap(4), arr(4)), 0);
    EXPECT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), 0);
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(at<std::int16_t>(readBytes(path(1)), 128 + 62), 500);
    // An agreement that no save used is dropped for the next time.
    writeBytes(path(1), FileImage(1, 600).bytes());
    prompter.answers = {Answer::Yes};
    ASSERT_EQ(read(1), 0);
    prompter.clear();
    prompter.answers = {Answer::Yes};
    EXPECT_EQ(confirmKindSaves(ws, {1}), 0);
    clearSaveConfirmations(ws);
    prompter.clear();
    prompter.answers = {Answer::No};
    EXPECT_EQ(saveKind(ws, 0, 1, cap(1), arr(1)), -1);
    EXPECT_EQ(texts(), std::vector<std::string>{cutSaveQuestion(path(1), 600, 100)});
}

}  // namespace
}  // namespace zemo
