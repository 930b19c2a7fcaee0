// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV form of records, called directly: the columns, an exported record's cells, and the
// checks and the record of an imported row. No workspace and no prompter take part.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/sjis.h"
#include "records/cd_record.h"
#include "records/csv_transfer.h"

namespace zemo::test {
namespace {

const std::vector<std::string> kHeader = {"barcode", "timeSec", "saleDate", "trackCount", "trackPos"};

CsvImport importWithHeader(const std::vector<std::string>& header = kHeader) {
    CsvImport import(CsvEncoding::Utf8);
    EXPECT_TRUE(import.takeHeader(header).empty());
    return import;
}

TEST(CsvTransfer, ColumnsAreTheRecordFieldsInStoredOrder) {
    const std::vector<std::string> names = csvColumnNames();
    ASSERT_EQ(names.size(), kCsvColumnCount);
    EXPECT_EQ(names.front(), "barcode");
    EXPECT_EQ(names[5], "timeSec");
    EXPECT_EQ(names.back(), "catalogueIndex");
}

TEST(CsvTransfer, HeaderProblems) {
    struct Case {
        std::vector<std::string> names;
        std::vector<std::string> problems;
    } cases[] = {
        {{" barcode ", "title"}, {}},
        {{"barcode", "colour"}, {"unknown column 'colour'"}},
        {{"barcode", "title", "title"}, {"column 'title' given twice"}},
        {{"title"}, {"no barcode column"}},
        {{"barcode", " barcode"}, {"column 'barcode' given twice"}},
    };
    for (const Case& c : cases) {
        CsvImport import(CsvEncoding::Utf8);
        EXPECT_EQ(import.takeHeader(c.names), c.problems) << c.names.size();
    }
}

TEST(CsvTransfer, RowsAreCheckedAsTheEditorChecksTheirFields) {
    struct Case {
        std::vector<std::string> cells;
        std::vector<std::string> findings;  // "FIELD: REASON", in column order
    } cases[] = {
        {{"4988001", "599999", "20240229", "", ""}, {}},  // 9999:59, the longest time the editor takes
        {{"4988001", "600000", "", "", ""},
         {"timeSec: 入力範囲が不正です！ | 最小[ 0 ] 最大[ 999959 ]です。 (600000 seconds are 1000000 as MMMMSS)"}},
        {{"4988001", "", "20230229", "", ""}, {"saleDate: 存在しない日付です!"}},
        {{"4988001", "x", "", "", ""}, {"timeSec: not a whole number"}},
        {{"4988001", "", "", "40000", ""}, {"trackCount: out of range -32768..32767"}},
        {{"12345678901234", "", "", "", ""}, {}},  // 14 bytes, the barcode's capacity
        {{"123456789012345", "", "", "", ""}, {"barcode: 15 bytes in Shift-JIS, at most 14"}},
        // A record check after the field checks; the field found bad is not reported twice.
        {{" ", "", "", "3", "4"},
         {"barcode: ﾊﾞｰｺｰﾄﾞ文字がありません！ | スペース以外の文字が必要です。", "trackPos: CD内登録位置が異常です！"}},
        {{"4988001", ""}, {"row: 2 fields, the header has 5"}},
    };
    CsvImport import = importWithHeader();
    for (const Case& c : cases) {
        std::vector<CsvFinding> findings;
        const CdRecord r = import.takeRow(7, c.cells, findings);
        std::vector<std::string> got;
        for (const CsvFinding& f : findings) {
            EXPECT_EQ(f.line, 7);
            got.push_back(f.field + ": " + f.reason);
        }
        EXPECT_EQ(got, c.findings) << c.cells[0];
        EXPECT_EQ(r.active, 1);
    }
}

TEST(CsvTransfer, AnExportedRecordComesBackByteForByte) {
    CdRecord r = clearedRecord();
    r.active = 1;
    setField(r.barcode, "4988001");
    setField(r.title, sj("夜の果て"));
    setField(r.artist, sj("ｱｰﾃｨｽﾄ"));
    r.timeSec = 3723;
    r.saleDate = 20240101;
    r.trackCount = 12;
    r.trackPos = 3;
    r.kind = 2;
    r.catalogueIndex = 41;
    std::vector<std::string> problems;
    const std::vector<std::string> cells = csvRowOf(r, "record 1", problems);
    EXPECT_TRUE(problems.empty());
    ASSERT_EQ(cells.size(), kCsvColumnCount);
    EXPECT_EQ(cells[3], "夜の果て");

    CsvImport import = importWithHeader(csvColumnNames());
    std::vector<CsvFinding> findings;
    const CdRecord back = import.takeRow(2, cells, findings);
    EXPECT_TRUE(findings.empty());
    EXPECT_EQ(std::memcmp(&back, &r, sizeof r), 0);
}

TEST(CsvTransfer, AnExportedTextThatWouldNotComeBackIsAProblem) {
    CdRecord r = clearedRecord();
    r.active = 1;
    setField(r.barcode, "4988001");
    setField(r.title, "a\nb");
    std::vector<std::string> problems;
    (void)csvRowOf(r, "record 9", problems);
    EXPECT_EQ(problems, std::vector<std::string>{"record 9: title: line break in the text"});
}

TEST(CsvTransfer, EncodingProblems) {
    EXPECT_EQ(csvEncodingProblem("夜", CsvEncoding::Utf8), "");
    EXPECT_EQ(csvEncodingProblem("a\xff", CsvEncoding::Utf8),
              "not UTF-8 (byte 2 of a field); a CSV saved in Shift-JIS (CP932) is read with --encoding cp932");
    EXPECT_EQ(csvEncodingProblem(sj("夜"), CsvEncoding::Cp932), "");
    CsvEncoding e = CsvEncoding::Utf8;
    EXPECT_TRUE(parseCsvEncoding("Shift_JIS", e));
    EXPECT_EQ(e, CsvEncoding::Cp932);
    EXPECT_FALSE(parseCsvEncoding("latin1", e));
}

}  // namespace
}  // namespace zemo::test
