// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CSV form of records that `zemo export` writes and `zemo import` reads back: the columns, the
// fields of an exported record, and for an imported row the checks it goes through (those of the
// record editor's fields and of a record) and the record it makes. Reading and writing the file
// itself, and the CSV quoting, are the caller's.
#include <cstddef>
#include <string>
#include <vector>

#include "records/cd_record.h"

namespace zemo {

enum class CsvEncoding { Utf8, Cp932 };
// "utf-8" / "utf8", or "cp932" / "shift-jis" / "shift_jis" / "sjis", in any case.
bool parseCsvEncoding(std::string name, CsvEncoding& out);

inline constexpr std::size_t kCsvColumnCount = 16;
inline constexpr int kCsvMaxRows = 0x7FFF;  // recordCount is an int16
// The widest field holds 40 Shift-JIS bytes; a character of one or two bytes there takes at most
// three in UTF-8. No cell of a usable sheet is longer, in either encoding.
inline constexpr std::size_t kCsvMaxCellBytes = 3 * kTitleMax;

// The record fields by their names in the code, in stored order: the header row.
std::vector<std::string> csvColumnNames();
// One record's cells, in the order of csvColumnNames (texts in UTF-8). A text that would not come
// back byte for byte adds "where: FIELD: reason" to problems (its cell then holds what converted).
std::vector<std::string> csvRowOf(const CdRecord& record, const std::string& where,
                                  std::vector<std::string>& problems);

// Why a cell of a file in the given encoding is not text of that encoding ("" when it is).
std::string csvEncodingProblem(const std::string& cell, CsvEncoding encoding);

// A check failure of an imported row: its line, the field (or "row", "record") and the reason.
struct CsvFinding {
    int line;
    std::string field;
    std::string reason;
};

// The rows of one CSV file made into records, as the record editor would take them.
class CsvImport {
public:
    explicit CsvImport(CsvEncoding encoding) : encoding_(encoding) {}

    // The header row: names in any order, each once, barcode required. Its problems; none when usable.
    std::vector<std::string> takeHeader(const std::vector<std::string>& names);
    // A row after a usable header: the active record it makes. Every failure of its cells and of the
    // record (not only the first) goes to findings, in column order.
    CdRecord takeRow(int line, const std::vector<std::string>& cells, std::vector<CsvFinding>& findings) const;

private:
    CsvEncoding encoding_;
    std::vector<int> columns_;  // the field of each column, -1 when unknown
};

class Workspace;

// Imported records as a plain data file of the given kind and memo, written as the chooser's save
// writes it with share mode off: the result of writeDataFile (0, or after its messages).
int writeRecordsFile(Workspace& ws, const std::string& path, int kind, const std::string& memo,
                     const std::vector<CdRecord>& records);

}  // namespace zemo
