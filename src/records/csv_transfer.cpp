// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/csv_transfer.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string_view>

#include "platform/sjis.h"
#include "records/data_ops.h"
#include "records/entry_checks.h"
#include "records/record_array.h"
#include "records/text.h"

namespace zemo {
namespace {

enum class FieldType { Text, Int32, Int16 };
// The record editor's entry check a field goes through: the time field (MMMMSS) or a date field.
enum class Entry { None, Time, Date };

struct FieldDef {
    const char* name;
    FieldType type;
    std::size_t offset;
    std::size_t width;  // bytes of the stored field
    int maxBytes;       // texts: the longest text the field holds
    int empty;          // numbers: the value of an empty cell (that of a cleared record)
    Entry entry = Entry::None;
};

// The record's fields by their names in the code, in stored order. `active` is not a column (only
// active records are exported, and every imported one is active); the 8 reserved bytes are not a
// field. `catalogueIndex` is, because the working copies of kinds 3 and 7 need it to find their
// catalogue record again and an exact round trip must keep it; a sheet may leave it out.
const FieldDef kFields[] = {
    {"barcode", FieldType::Text, offsetof(CdRecord, barcode), 16, kBarcodeMax, 0},
    {"userCode", FieldType::Text, offsetof(CdRecord, userCode), 16, kUserCodeMax, 0},
    {"artistCode", FieldType::Text, offsetof(CdRecord, artistCode), 32, kArtistCodeMax, 0},
    {"title", FieldType::Text, offsetof(CdRecord, title), 42, kTitleMax, 0},
    {"artist", FieldType::Text, offsetof(CdRecord, artist), 42, kArtistMax, 0},
    {"timeSec", FieldType::Int32, offsetof(CdRecord, timeSec), 4, 0, 0, Entry::Time},
    {"openDate", FieldType::Int32, offsetof(CdRecord, openDate), 4, 0, 0, Entry::Date},
    {"saleDate", FieldType::Int32, offsetof(CdRecord, saleDate), 4, 0, 0, Entry::Date},
    {"entryDate", FieldType::Int32, offsetof(CdRecord, entryDate), 4, 0, 0, Entry::Date},
    {"registeredAt", FieldType::Int32, offsetof(CdRecord, registeredAt), 4, 0, 0},
    {"deletedAt", FieldType::Int32, offsetof(CdRecord, deletedAt), 4, 0, 0},
    {"trackCount", FieldType::Int16, offsetof(CdRecord, trackCount), 2, 0, 1},
    {"trackPos", FieldType::Int16, offsetof(CdRecord, trackPos), 2, 0, 1},
    {"kind", FieldType::Int16, offsetof(CdRecord, kind), 2, 0, 0},
    {"infoKind", FieldType::Int16, offsetof(CdRecord, infoKind), 2, 0, 0},
    {"catalogueIndex", FieldType::Int16, offsetof(CdRecord, catalogueIndex), 2, 0, 0},
};
static_assert(std::size(kFields) == kCsvColumnCount);
// The editor's limits: 時間 takes MMMMSS up to 999959, the date fields YYYYMMDD up to 99999999.
constexpr std::int32_t kMaxTimeEntry = 999959;
constexpr std::int32_t kMaxDateEntry = 99999999;

const FieldDef* fieldNamed(std::string_view name) {
    for (const FieldDef& f : kFields)
        if (name == f.name) return &f;
    return nullptr;
}

std::string storedText(const CdRecord& r, const FieldDef& f) {
    const char* p = reinterpret_cast<const char*>(&r) + f.offset;
    const void* nul = std::memchr(p, 0, f.width);
    return std::string(p, nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - p) : f.width);
}

std::int32_t storedNumber(const CdRecord& r, const FieldDef& f) {
    const char* p = reinterpret_cast<const char*>(&r) + f.offset;
    if (f.type == FieldType::Int16) {
        std::int16_t v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    std::int32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void storeNumber(CdRecord& r, const FieldDef& f, std::int32_t value) {
    char* p = reinterpret_cast<char*>(&r) + f.offset;
    if (f.type == FieldType::Int16) {
        const auto v = static_cast<std::int16_t>(value);
        std::memcpy(p, &v, sizeof v);
    } else {
        std::memcpy(p, &value, sizeof value);
    }
}

std::string tooLong(std::size_t bytes, int max) {
    return std::to_string(bytes) + " bytes in Shift-JIS, at most " + std::to_string(max);
}

// Why a stored text cannot go out to CSV and come back byte for byte ("" when it can); its UTF-8
// form in utf8.
std::string exportProblem(const std::string& sjis, const FieldDef& f, std::string& utf8) {
    if (sjis.size() > static_cast<std::size_t>(f.maxBytes)) return tooLong(sjis.size(), f.maxBytes);
    if (sjis.find_first_of("\r\n") != std::string::npos) return "line break in the text";
    ConvResult r = sjisToUtf8Checked(sjis);
    if (!r.ok) return "not valid Shift-JIS (CP932) at byte " + std::to_string(r.badOffset + 1);
    ConvResult back = utf8ToSjisChecked(r.text);
    if (!back.ok || back.text != sjis) return "a Shift-JIS code with no UTF-8 form of its own";
    utf8 = std::move(r.text);
    return {};
}

// Why a CSV cell cannot be stored in a text field ("" when it can); its CP932 form in sjis. The
// cell is already known to be text of its encoding.
std::string importTextProblem(const std::string& cell, CsvEncoding encoding, const FieldDef& f, std::string& sjis) {
    if (cell.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return "line break or NUL in the text";
    if (encoding == CsvEncoding::Cp932) {
        sjis = cell;
    } else {
        ConvResult r = utf8ToSjisChecked(cell);
        if (!r.ok) return "not convertible to Shift-JIS (CP932) at byte " + std::to_string(r.badOffset + 1);
        sjis = std::move(r.text);
    }
    if (sjis.size() > static_cast<std::size_t>(f.maxBytes)) return tooLong(sjis.size(), f.maxBytes);
    return {};
}

std::string importNumberProblem(std::string_view cell, const FieldDef& f, std::int32_t& value) {
    while (!cell.empty() && (cell.front() == ' ' || cell.front() == '\t')) cell.remove_prefix(1);
    while (!cell.empty() && (cell.back() == ' ' || cell.back() == '\t')) cell.remove_suffix(1);
    if (cell.empty()) {
        value = f.empty;
        return {};
    }
    if (cell.front() == '+') cell.remove_prefix(1);
    long long v = 0;
    auto [ptr, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), v);
    if (cell.empty() || cell.front() == '+' || ptr != cell.data() + cell.size() ||
        (ec != std::errc{} && ec != std::errc::result_out_of_range))
        return "not a whole number";
    const long long lo = f.type == FieldType::Int16 ? INT16_MIN : INT32_MIN;
    const long long hi = f.type == FieldType::Int16 ? INT16_MAX : INT32_MAX;
    if (ec == std::errc::result_out_of_range || v < lo || v > hi)
        return "out of range " + std::to_string(lo) + ".." + std::to_string(hi);
    value = static_cast<std::int32_t>(v);
    return {};
}

// The record checks, each with its field and a value that passes, in the order they are made.
struct CheckField {
    const char* message;  // first line of the reason
    const char* field;
};
const CheckField kChecks[] = {
    {"ﾊﾞｰｺｰﾄﾞ文字がありません！", "barcode"}, {"CD内登録曲数が異常です！", "trackCount"},
    {"CD内登録位置が異常です！", "trackPos"},   {"種類が異常です！", "kind"},
    {"情報種別が異常です！", "infoKind"},       {"発売日が異常です！", "saleDate"},
    {"ﾃﾞｰﾀ登録日が異常です！", "entryDate"},    {"ﾚﾝﾀﾙ開始日が異常です！", "openDate"},
};

// A reason as one line: its line break written as " | ", an empty second line dropped.
std::string oneLine(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string(" | ") : std::string(1, c);
    while (out.size() >= 3 && out.compare(out.size() - 3, 3, " | ") == 0) out.resize(out.size() - 3);
    return out;
}

// Every check failure of a record, not only the first: after each one, its field is given a value
// that passes and the checks run again. Fields already found bad are not reported twice.
void recordFindings(CdRecord r, int line, const std::vector<std::string>& badFields, std::vector<CsvFinding>& out) {
    for (std::size_t round = 0; round <= std::size(kChecks); ++round) {
        const std::string problem = cdRecordProblem(r);
        if (problem.empty()) return;
        const std::string first = problem.substr(0, problem.find('\n'));
        const CheckField* check = nullptr;
        for (const CheckField& c : kChecks)
            if (first == c.message) check = &c;
        if (check == nullptr) {
            out.push_back({line, "record", oneLine(problem)});
            return;
        }
        const std::string field = check->field;
        bool known = false;
        for (const std::string& b : badFields) known = known || b == field;
        if (!known) out.push_back({line, field, oneLine(problem)});
        if (field == "barcode") setField(r.barcode, "0");
        else if (field == "trackCount") r.trackCount = 99;
        else if (field == "trackPos") r.trackPos = 1;
        else if (field == "kind") r.kind = 0;
        else if (field == "infoKind") r.infoKind = 0;
        else if (field == "saleDate") r.saleDate = 0;
        else if (field == "entryDate") r.entryDate = 0;
        else if (field == "openDate") r.openDate = 0;
    }
}

// The record editor's check of a time or date field, on the value as the editor would show it
// (a time as MMMMSS); the editor's message when it refuses it, else "".
std::string editorEntryProblem(const FieldDef& f, std::int32_t value) {
    std::int32_t entered = 0;
    if (f.entry == Entry::Time) {
        // secondsToMmss on 64 bits: a large count of seconds does not fit MMMMSS in 32.
        const std::int64_t mmss = static_cast<std::int64_t>(value) / 60 * 100 + value % 60;
        const auto shown = static_cast<std::int32_t>(std::clamp<std::int64_t>(mmss, INT32_MIN, INT32_MAX));
        const EntryProblem problem = timeInputProblem(entered, std::to_string(shown), 0, kMaxTimeEntry);
        if (!problem) return {};
        return oneLine(problem.text) + " (" + std::to_string(value) + " seconds are " + std::to_string(mmss) +
               " as MMMMSS)";
    }
    if (f.entry == Entry::Date) {
        if (const EntryProblem problem = dateInputProblem(entered, std::to_string(value), 0, kMaxDateEntry))
            return oneLine(problem.text);
    }
    return {};
}

}  // namespace

bool parseCsvEncoding(std::string name, CsvEncoding& out) {
    for (char& c : name) c = lowerAscii(c);
    if (name == "utf-8" || name == "utf8") {
        out = CsvEncoding::Utf8;
        return true;
    }
    if (name == "cp932" || name == "shift-jis" || name == "shift_jis" || name == "sjis") {
        out = CsvEncoding::Cp932;
        return true;
    }
    return false;
}

std::vector<std::string> csvColumnNames() {
    std::vector<std::string> names;
    for (const FieldDef& f : kFields) names.push_back(f.name);
    return names;
}

std::vector<std::string> csvRowOf(const CdRecord& r, const std::string& where, std::vector<std::string>& problems) {
    std::vector<std::string> row;
    for (const FieldDef& f : kFields) {
        if (f.type != FieldType::Text) {
            row.push_back(std::to_string(storedNumber(r, f)));
            continue;
        }
        std::string utf8;
        std::string why = exportProblem(storedText(r, f), f, utf8);
        if (!why.empty()) problems.push_back(where + ": " + f.name + ": " + why);
        row.push_back(std::move(utf8));
    }
    return row;
}

std::string csvEncodingProblem(const std::string& cell, CsvEncoding encoding) {
    if (encoding == CsvEncoding::Utf8) {
        std::size_t bad = 0;
        if (isUtf8(cell, bad)) return {};
        return "not UTF-8 (byte " + std::to_string(bad + 1) +
               " of a field); a CSV saved in Shift-JIS (CP932) is read with --encoding cp932";
    }
    ConvResult r = sjisToUtf8Checked(cell);
    if (r.ok) return {};
    return "not Shift-JIS (CP932) (byte " + std::to_string(r.badOffset + 1) +
           " of a field); without --encoding cp932 the file is read as UTF-8";
}

std::vector<std::string> CsvImport::takeHeader(const std::vector<std::string>& names) {
    columns_.clear();
    std::vector<std::string> problems;
    for (const std::string& raw : names) {
        std::string name = raw;
        while (!name.empty() && name.back() == ' ') name.pop_back();
        while (!name.empty() && name.front() == ' ') name.erase(0, 1);
        const FieldDef* f = fieldNamed(name);
        if (f == nullptr) problems.push_back("unknown column '" + raw + "'");
        for (int c : columns_)
            if (f != nullptr && c == f - kFields) problems.push_back("column '" + name + "' given twice");
        columns_.push_back(f == nullptr ? -1 : static_cast<int>(f - kFields));
    }
    bool hasBarcode = false;
    for (int c : columns_) hasBarcode = hasBarcode || c == 0;
    if (!hasBarcode) problems.push_back("no barcode column");
    return problems;
}

CdRecord CsvImport::takeRow(int line, const std::vector<std::string>& cells, std::vector<CsvFinding>& findings) const {
    CdRecord r = clearedRecord();
    r.active = 1;
    if (cells.size() != columns_.size()) {
        findings.push_back({line, "row",
                            std::to_string(cells.size()) + " fields, the header has " +
                                std::to_string(columns_.size())});
        return r;
    }
    // Where a field's findings go in the row's list: its column, so they read left to right.
    auto columnOf = [&](const std::string& field) {
        for (std::size_t c = 0; c < columns_.size(); ++c)
            if (field == kFields[columns_[c]].name) return c;
        return columns_.size();
    };
    std::vector<CsvFinding> rowFindings;
    std::vector<std::string> badFields;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const FieldDef& f = kFields[columns_[c]];
        std::string why;
        if (f.type == FieldType::Text) {
            std::string sjis;
            why = importTextProblem(cells[c], encoding_, f, sjis);
            if (why.empty())
                storeField(reinterpret_cast<char*>(&r) + f.offset, f.width, sjis, static_cast<std::size_t>(f.maxBytes));
        } else {
            std::int32_t v = 0;
            why = importNumberProblem(cells[c], f, v);
            if (why.empty()) why = editorEntryProblem(f, v);
            if (why.empty()) storeNumber(r, f, v);
        }
        if (!why.empty()) {
            rowFindings.push_back({line, f.name, why});
            badFields.push_back(f.name);
        }
    }
    recordFindings(r, line, badFields, rowFindings);
    std::stable_sort(rowFindings.begin(), rowFindings.end(),
                     [&](const CsvFinding& a, const CsvFinding& b) { return columnOf(a.field) < columnOf(b.field); });
    findings.insert(findings.end(), rowFindings.begin(), rowFindings.end());
    return r;
}

int writeRecordsFile(Workspace& ws, const std::string& path, int kind, const std::string& memo,
                     const std::vector<CdRecord>& records) {
    const int count = static_cast<int>(records.size());
    TCddataArray array(count + 1);
    for (int i = 0; i < count; ++i) array.put(i, records[static_cast<std::size_t>(i)]);
    ws.shareFlag = false;
    ws.nextMemo = memo;
    return writeDataFile(ws, true, path, kind, array, count);
}

}  // namespace zemo
