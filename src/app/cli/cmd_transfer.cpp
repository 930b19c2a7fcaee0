// zemo export / zemo import: the records of a data file as CSV and back.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/cli_common.h"
#include "app/cli/commands.h"
#include "platform/sjis.h"
#include "records/cd_record.h"
#include "records/data_ops.h"
#include "records/file_services.h"
#include "records/safe_write.h"
#include "records/text.h"

namespace zemo::cli {
namespace {

enum class FieldType { Text, Int32, Int16 };

struct FieldDef {
    const char* name;
    FieldType type;
    std::size_t offset;
    std::size_t width;  // bytes of the stored field
    int maxBytes;       // texts: the longest text the field holds
    int empty;          // numbers: the value of an empty cell (that of a cleared record)
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
    {"timeSec", FieldType::Int32, offsetof(CdRecord, timeSec), 4, 0, 0},
    {"openDate", FieldType::Int32, offsetof(CdRecord, openDate), 4, 0, 0},
    {"saleDate", FieldType::Int32, offsetof(CdRecord, saleDate), 4, 0, 0},
    {"entryDate", FieldType::Int32, offsetof(CdRecord, entryDate), 4, 0, 0},
    {"registeredAt", FieldType::Int32, offsetof(CdRecord, registeredAt), 4, 0, 0},
    {"deletedAt", FieldType::Int32, offsetof(CdRecord, deletedAt), 4, 0, 0},
    {"trackCount", FieldType::Int16, offsetof(CdRecord, trackCount), 2, 0, 1},
    {"trackPos", FieldType::Int16, offsetof(CdRecord, trackPos), 2, 0, 1},
    {"kind", FieldType::Int16, offsetof(CdRecord, kind), 2, 0, 0},
    {"infoKind", FieldType::Int16, offsetof(CdRecord, infoKind), 2, 0, 0},
    {"catalogueIndex", FieldType::Int16, offsetof(CdRecord, catalogueIndex), 2, 0, 0},
};
constexpr std::size_t kFieldCount = std::size(kFields);
constexpr int kMaxRecords = 0x7FFF;                 // recordCount is an int16
constexpr std::size_t kMaxCsvBytes = 256u << 20;    // far beyond 32767 rows

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

// Why a CSV cell cannot be stored in a text field ("" when it can); its CP932 form in sjis.
std::string importTextProblem(const std::string& cell, const FieldDef& f, std::string& sjis) {
    if (cell.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return "line break or NUL in the text";
    ConvResult r = utf8ToSjisChecked(cell);
    if (!r.ok) return "not convertible to Shift-JIS (CP932) at byte " + std::to_string(r.badOffset + 1);
    if (r.text.size() > static_cast<std::size_t>(f.maxBytes)) return tooLong(r.text.size(), f.maxBytes);
    sjis = std::move(r.text);
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

struct Finding {
    int line;
    std::string field;
    std::string reason;
};

// Every check failure of a record, not only the first: after each one, its field is given a value
// that passes and the checks run again. Fields already found bad are not reported twice.
void recordFindings(CdRecord r, int line, const std::vector<std::string>& badFields, std::vector<Finding>& out) {
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

std::vector<std::string> headerRow() {
    std::vector<std::string> names;
    for (const FieldDef& f : kFields) names.push_back(f.name);
    return names;
}

const CommandHelp kExportHelp{
    "export", "FILE [-o OUT.csv] [--password TEXT] [--home DIR]",
    "Writes the active records of the data file FILE (any kind) as CSV (RFC 4180, UTF-8, CRLF): a\n"
    "header row naming the record fields, then one row per record in file order:\n"
    "  barcode,userCode,artistCode,title,artist,timeSec,openDate,saleDate,entryDate,registeredAt,\n"
    "  deletedAt,trackCount,trackPos,kind,infoKind,catalogueIndex\n"
    "Texts are converted from Shift-JIS; numbers are written as stored (seconds, YYYYMMDD dates,\n"
    "time stamps in seconds). A text that would not come back byte for byte stops the export.\n"
    "  -o OUT.csv         write to OUT.csv (replaced whole) instead of stdout\n"
    "  --password TEXT    the password of a protected file\n"};

const CommandHelp kImportHelp{
    "import", "IN.csv -o OUT.ZMO [--kind K] [--memo TEXT] [--home DIR]",
    "Makes the data file OUT.ZMO from CSV in the form `zemo export` writes (RFC 4180, UTF-8). The\n"
    "header row names the columns; they may come in any order, barcode is required, a missing\n"
    "column takes the value of a cleared record, and catalogueIndex may be left out. Every row is\n"
    "checked as the record editor checks a record, and each text for Shift-JIS and its width; when\n"
    "any row is bad, every bad row is listed on stderr as IN.csv:LINE: FIELD: REASON and nothing is\n"
    "written. An existing OUT.ZMO is kept as OUT.BAK and replaced whole. The creator id is the\n"
    "program folder's (its control file, when there is one).\n"
    "  -o OUT.ZMO         the data file to write (required)\n"
    "  --kind K           its file kind, 1..11 (default 1, the catalogue)\n"
    "  --memo TEXT        its memo, at most 60 bytes in Shift-JIS (default empty)\n"};

}  // namespace

int runExport(int argc, char** argv) {
    Args args;
    if (auto status = parseCommandLine(kExportHelp, argc, argv, {{"-o", true}, {"--password", true}}, 1, 1, args))
        return *status;
    Session s(programFolder(args));
    if (auto pw = args.value("--password")) {
        auto bytes = argumentToSjis(*pw);
        if (!bytes) return usageError(kExportHelp, "the password has a character that Shift-JIS lacks");
        s.prompter.password = *bytes;
    }
    const std::string& path = args.positional[0];
    LoadedFile file;
    if (readAnyDataFile(s, path, file) != 0) {
        if (s.prompter.shown == 0) return failure(kExportHelp, path + ": not read");
        return kExitFailed;
    }

    std::string out = csvLine(headerRow());
    std::vector<std::string> problems;
    for (int i = 0; i < file.count; ++i) {
        const CdRecord& r = file.records[i];
        if (r.active != 1) continue;
        std::vector<std::string> row;
        for (const FieldDef& f : kFields) {
            if (f.type != FieldType::Text) {
                row.push_back(std::to_string(storedNumber(r, f)));
                continue;
            }
            std::string utf8;
            std::string why = exportProblem(storedText(r, f), f, utf8);
            if (!why.empty()) problems.push_back(path + ": record " + std::to_string(i + 1) + ": " + f.name + ": " + why);
            row.push_back(std::move(utf8));
        }
        out += csvLine(row);
    }
    if (!problems.empty()) {
        for (const std::string& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
        return failure(kExportHelp, std::to_string(problems.size()) + " texts cannot be exported exactly; nothing written");
    }

    if (auto target = args.value("-o")) {
        if (!replaceFile(*target, out.data(), out.size())) return failure(kExportHelp, *target + ": cannot write");
    } else if (!writeStdout(out)) {
        return failure(kExportHelp, "cannot write the output");
    }
    return kExitOk;
}

int runImport(int argc, char** argv) {
    Args args;
    if (auto status = parseCommandLine(kImportHelp, argc, argv, {{"-o", true}, {"--kind", true}, {"--memo", true}},
                                       1, 1, args))
        return *status;
    const auto target = args.value("-o");
    if (!target || target->empty()) return usageError(kImportHelp, "-o OUT.ZMO is required");
    int kind = kKindCatalogue;
    if (auto k = args.value("--kind")) {
        auto [ptr, ec] = std::from_chars(k->data(), k->data() + k->size(), kind);
        if (ec != std::errc{} || ptr != k->data() + k->size() || kind < 1 || kind > kKindLast)
            return usageError(kImportHelp, "--kind must be a kind 1..11");
    }
    std::string memo;
    if (auto m = args.value("--memo")) {
        auto bytes = argumentToSjis(*m);
        if (!bytes) return usageError(kImportHelp, "the memo has a character that Shift-JIS lacks");
        if (bytes->size() > 60) return usageError(kImportHelp, "the memo is longer than 60 bytes in Shift-JIS");
        if (bytes->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            return usageError(kImportHelp, "the memo must be one line");
        memo = *bytes;
    }

    const std::string& inPath = args.positional[0];
    std::string error;
    std::error_code ec;
    const auto inBytes = std::filesystem::file_size(inPath, ec);
    if (!ec && inBytes > kMaxCsvBytes) return failure(kImportHelp, inPath + ": too large for a data file");
    const auto text = readWholeFile(inPath, error);
    if (!text) return failure(kImportHelp, error);
    std::vector<CsvRow> rows;
    if (!parseCsv(*text, rows, error)) return failure(kImportHelp, inPath + ": " + error);
    if (rows.empty()) return failure(kImportHelp, inPath + ": no header row");

    // The header: names in any order, each once, barcode required.
    std::vector<const FieldDef*> columns;
    std::vector<std::string> headerProblems;
    for (const std::string& raw : rows[0].fields) {
        std::string name = raw;
        while (!name.empty() && name.back() == ' ') name.pop_back();
        while (!name.empty() && name.front() == ' ') name.erase(0, 1);
        const FieldDef* f = fieldNamed(name);
        if (f == nullptr) headerProblems.push_back("unknown column '" + raw + "'");
        for (const FieldDef* c : columns)
            if (f != nullptr && c == f) headerProblems.push_back("column '" + name + "' given twice");
        columns.push_back(f);
    }
    bool hasBarcode = false;
    for (const FieldDef* c : columns) hasBarcode = hasBarcode || (c != nullptr && c == &kFields[0]);
    if (!hasBarcode) headerProblems.push_back("no barcode column");
    if (!headerProblems.empty()) {
        for (const std::string& p : headerProblems)
            std::fprintf(stderr, "%s:%d: header: %s\n", inPath.c_str(), rows[0].line, p.c_str());
        return failure(kImportHelp, "the header row is not usable; nothing written");
    }
    const std::size_t records = rows.size() - 1;
    if (records > static_cast<std::size_t>(kMaxRecords))
        return failure(kImportHelp, inPath + ": " + std::to_string(records) + " rows; a data file holds at most " +
                                        std::to_string(kMaxRecords) + "; nothing written");

    TCddataArray array(static_cast<int>(records) + 1);
    std::vector<Finding> findings;
    std::size_t badRows = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const CsvRow& row = rows[i];
        const std::size_t before = findings.size();
        CdRecord r = clearedRecord();
        r.active = 1;
        if (row.fields.size() != columns.size()) {
            findings.push_back({row.line, "row",
                                std::to_string(row.fields.size()) + " fields, the header has " +
                                    std::to_string(columns.size())});
        } else {
            std::vector<std::string> badFields;
            for (std::size_t c = 0; c < columns.size(); ++c) {
                const FieldDef& f = *columns[c];
                std::string why;
                if (f.type == FieldType::Text) {
                    std::string sjis;
                    why = importTextProblem(row.fields[c], f, sjis);
                    if (why.empty()) storeField(reinterpret_cast<char*>(&r) + f.offset, f.width, sjis,
                                                static_cast<std::size_t>(f.maxBytes));
                } else {
                    std::int32_t v = 0;
                    why = importNumberProblem(row.fields[c], f, v);
                    if (why.empty()) storeNumber(r, f, v);
                }
                if (!why.empty()) {
                    findings.push_back({row.line, f.name, why});
                    badFields.push_back(f.name);
                }
            }
            recordFindings(r, row.line, badFields, findings);
        }
        if (findings.size() != before) ++badRows;
        array.put(static_cast<int>(i - 1), r);
    }
    if (!findings.empty()) {
        for (const Finding& f : findings)
            std::fprintf(stderr, "%s:%d: %s: %s\n", inPath.c_str(), f.line, f.field.c_str(), f.reason.c_str());
        return failure(kImportHelp, std::to_string(badRows) + " of " + std::to_string(records) +
                                        " rows are bad; nothing written");
    }

    Session s(programFolder(args));
    if (s.loadControlIfPresent() != 0) return failure(kImportHelp, "the program folder's control file is not usable");
    Workspace& ws = s.ws;
    // A plain file under the chosen name with the given memo: the chooser's save, share mode off.
    ws.shareFlag = false;
    ws.nextMemo = memo;
    const std::string outPath = *target;
    if (fileExists(ws, outPath) && makeBackup(ws, outPath) != 0)
        return failure(kImportHelp, outPath + ": cannot keep the previous file as " + backupPath(outPath));
    if (writeDataFile(ws, true, outPath, kind, array, static_cast<int>(records)) != 0) return kExitFailed;
    std::printf("%s\t%zu records\n", outPath.c_str(), records);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

}  // namespace zemo::cli
