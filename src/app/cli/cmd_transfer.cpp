// zemo export / zemo import: the records of a data file as CSV and back.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/cli_common.h"
#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/csv_reader.h"
#include "app/cli/record_csv.h"
#include "platform/sjis.h"
#include "records/cd_record.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/entry_checks.h"
#include "records/file_services.h"
#include "records/text.h"
#include "shell/program_lock.h"

namespace zemo::cli {
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
constexpr std::size_t kFieldCount = std::size(kFields);
constexpr int kMaxRecords = 0x7FFF;               // recordCount is an int16
constexpr std::size_t kMaxCsvBytes = 256u << 20;  // far beyond 32767 rows
// The widest field holds 40 Shift-JIS bytes; a character of one or two bytes there takes at most
// three in UTF-8. No cell of a usable sheet is longer, in either encoding.
constexpr std::size_t kMaxCellBytes = 3 * kTitleMax;
// The editor's limits: 時間 takes MMMMSS up to 999959, the date fields YYYYMMDD up to 99999999.
constexpr std::int32_t kMaxTimeEntry = 999959;
constexpr std::int32_t kMaxDateEntry = 99999999;

enum class Encoding { Utf8, Cp932 };

bool parseEncoding(std::string name, Encoding& out) {
    for (char& c : name) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (name == "utf-8" || name == "utf8") {
        out = Encoding::Utf8;
        return true;
    }
    if (name == "cp932" || name == "shift-jis" || name == "shift_jis" || name == "sjis") {
        out = Encoding::Cp932;
        return true;
    }
    return false;
}

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

// Why a cell of a file in the given encoding is not text of that encoding ("" when it is).
std::string encodingProblem(const std::string& cell, Encoding encoding) {
    if (encoding == Encoding::Utf8) {
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

// Why a CSV cell cannot be stored in a text field ("" when it can); its CP932 form in sjis. The
// cell is already known to be text of its encoding.
std::string importTextProblem(const std::string& cell, Encoding encoding, const FieldDef& f, std::string& sjis) {
    if (cell.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) return "line break or NUL in the text";
    if (encoding == Encoding::Cp932) {
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

// Takes the boxes of the entry checks instead of showing them, so that each becomes a finding.
class CollectingPrompter : public Prompter {
public:
    Answer message(BoxKind, const std::string& text, Buttons) override {
        last = text;
        return Answer::Ok;
    }
    std::optional<std::string> askPassword() override { return std::nullopt; }
    int askReadWrite() override { return kChoiceCancel; }
    FileChoice chooseDataFile(int, const std::string&) override { return {}; }
    void busyCursor(bool) override {}
    void arrowCursor(bool) override {}
    std::string last;
};

// The record editor's check of a time or date field, on the value as the editor would show it
// (a time as MMMMSS); the editor's message when it refuses it, else "".
std::string editorEntryProblem(Workspace& checks, CollectingPrompter& boxes, const FieldDef& f, std::int32_t value) {
    std::int32_t entered = 0;
    if (f.entry == Entry::Time) {
        // secondsToMmss on 64 bits: a large count of seconds does not fit MMMMSS in 32.
        const std::int64_t mmss = static_cast<std::int64_t>(value) / 60 * 100 + value % 60;
        const auto shown = static_cast<std::int32_t>(std::clamp<std::int64_t>(mmss, INT32_MIN, INT32_MAX));
        if (checkTimeInput(checks, entered, std::to_string(shown), 0, kMaxTimeEntry) == 0) return {};
        return oneLine(boxes.last) + " (" + std::to_string(value) + " seconds are " + std::to_string(mmss) +
               " as MMMMSS)";
    }
    if (f.entry == Entry::Date && checkDateInput(checks, entered, std::to_string(value), 0, kMaxDateEntry) != 0)
        return oneLine(boxes.last);
    return {};
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
    "Texts are converted from Shift-JIS and written as stored; numbers are written as stored\n"
    "(seconds, YYYYMMDD dates, time stamps in seconds). A text that would not come back byte for\n"
    "byte stops the export.\n"
    "  -o OUT.csv         write to OUT.csv instead of stdout; an existing OUT.csv is kept as\n"
    "                     OUT.BAK. The input, the control file and their .BAK copies are refused.\n"
    "  --password TEXT    the password of a protected file\n"};

const CommandHelp kImportHelp{
    "import", "IN.csv -o OUT.ZMO [--encoding utf-8|cp932] [--kind K] [--memo TEXT] [--home DIR]",
    "Makes the data file OUT.ZMO from CSV in the form `zemo export` writes (RFC 4180). The header\n"
    "row names the columns; they may come in any order, barcode is required, a missing column takes\n"
    "the value of a cleared record, and catalogueIndex may be left out. Every row is checked as the\n"
    "record editor checks its fields (times as MMMMSS 0..999959, dates 0..99999999 that exist) and\n"
    "a record, and each text for Shift-JIS and its width; when any row is bad, every bad row is\n"
    "listed on stderr as IN.csv:LINE: FIELD: REASON and nothing is written. A file of more than\n"
    "32767 rows, a field of more than 120 bytes or a row of more than 16 fields stops the reading at\n"
    "once. An existing OUT.ZMO is kept as OUT.BAK and replaced whole; the input, the control file\n"
    "and their .BAK copies are refused as OUT.ZMO. The creator id is the program folder's (its\n"
    "control file, when there is one). An OUT.ZMO in one of the program folder's work folders is\n"
    "refused while zemoplan runs on that folder (it holds ZEMOPLAN.LCK there).\n"
    "  -o OUT.ZMO         the data file to write (required)\n"
    "  --encoding ENC     the encoding of IN.csv: utf-8 (default) or cp932 (Shift-JIS, as Japanese\n"
    "                     spreadsheets save CSV)\n"
    "  --kind K           its file kind, 1..11 (default 1, the catalogue)\n"
    "  --memo TEXT        its memo, at most 60 bytes in Shift-JIS (default empty)\n"};

// Whether path would be written into one of the work folders of the session's program folder.
bool inWorkFolder(const Workspace& ws, const std::string& path) {
    std::error_code ec;
    std::filesystem::path abs = std::filesystem::absolute(nativePath(path), ec);
    if (ec) return false;
    const FileIdentity parent = identify(abs.parent_path().string());
    for (int slot : {kPathSys, kPathAdd, kPathTxt, kPathLib})
        if (sameFile(parent, identify(workDir(ws, slot)))) return true;
    return false;
}

// Closes a descriptor when the command ends.
struct FdGuard {
    int fd;
    ~FdGuard() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

std::string exportCsvHeader() { return csvLine(headerRow()); }

std::string exportCsvRow(const CdRecord& r, const std::string& where, std::vector<std::string>& problems) {
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
    return csvLine(row);
}

int runExport(int argc, char** argv) {
    Args args;
    if (auto status = parseCommandLine(kExportHelp, argc, argv, {{"-o", true}, {"--password", true}}, 1, 1, args))
        return *status;
    std::filesystem::path home;
    if (auto status = checkProgramFolder(kExportHelp, args, false, home)) return *status;
    Session s(home);
    if (auto pw = args.value("--password")) {
        auto bytes = argumentToSjis(*pw);
        if (!bytes) return usageError(kExportHelp, "the password has a character that Shift-JIS lacks");
        s.prompter.password = *bytes;
    }
    const std::string& path = args.positional[0];
    if (auto refused = refuseNonRegular(kExportHelp, path)) return *refused;
    const auto target = args.value("-o");
    if (target) {
        std::vector<ProtectedFile> guarded = inputFiles(path);
        for (ProtectedFile& p : programFiles(s)) guarded.push_back(std::move(p));
        if (auto refused = checkOutput(kExportHelp, *target, guarded, guarded)) return *refused;
    }
    LoadedFile file;
    if (readAnyDataFile(s, path, file) != 0) {
        if (s.prompter.shown == 0) failure(kExportHelp, path + ": not read");
        explainFailure(kExportHelp, path, Access::Read);
        return kExitFailed;
    }

    std::string out = exportCsvHeader();
    std::vector<std::string> problems;
    for (int i = 0; i < file.count; ++i) {
        const CdRecord& r = file.records[i];
        if (r.active != 1) continue;
        out += exportCsvRow(r, path + ": record " + std::to_string(i + 1), problems);
    }
    if (!problems.empty()) {
        for (const std::string& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
        return failure(kExportHelp, std::to_string(problems.size()) + " texts cannot be exported exactly; nothing written");
    }

    if (target) {
        if (!writeKeepingBackup(s, kExportHelp, *target, out.size(), bytesWriter(kExportHelp, *target, out)))
            return kExitFailed;
    } else if (!writeStdout(out)) {
        return failure(kExportHelp, "cannot write the output");
    }
    return kExitOk;
}

int runImport(int argc, char** argv) {
    Args args;
    if (auto status = parseCommandLine(kImportHelp, argc, argv,
                                       {{"-o", true}, {"--kind", true}, {"--memo", true}, {"--encoding", true}}, 1, 1,
                                       args))
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
    Encoding encoding = Encoding::Utf8;
    if (auto e = args.value("--encoding"); e && !parseEncoding(*e, encoding))
        return usageError(kImportHelp, "--encoding takes utf-8 or cp932");
    std::filesystem::path home;
    if (auto status = checkProgramFolder(kImportHelp, args, false, home)) return *status;

    Session s(home);
    Workspace& ws = s.ws;
    const std::string& inPath = args.positional[0];
    const std::string outPath = *target;
    const std::string controlPath = controlFilePath(ws);

    // Opened without blocking, so that a FIFO or a device is refused instead of waited on; then
    // read a block at a time.
    FdGuard in{::open(nativePath(inPath).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (in.fd < 0) {
        const int err = errno;
        std::string why = err == ENOENT ? systemReason(inPath, Access::Read) : reasonOf(err);
        return failure(kImportHelp, inPath + ": cannot be read: " + (why.empty() ? "no such file" : why));
    }
    struct stat st;
    if (::fstat(in.fd, &st) != 0) return failure(kImportHelp, inPath + ": cannot be read: " + reasonOf(errno));
    if (!S_ISREG(st.st_mode)) {
        const std::string kind = nonRegularKind(inPath);
        return failure(kImportHelp, inPath + " is " + (kind.empty() ? "not a regular file" : kind + ", not a regular file"));
    }
    const int flags = ::fcntl(in.fd, F_GETFL);
    if (flags < 0 || ::fcntl(in.fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return failure(kImportHelp, inPath + ": cannot be read: " + reasonOf(errno));
    if (static_cast<std::uintmax_t>(st.st_size) > kMaxCsvBytes)
        return failure(kImportHelp, inPath + ": too large for a data file");

    // The output: a data file, so never the input, the control file or their backups. The CSV's
    // own .BAK name is that of the data file in the usual `import shop.csv -o shop.ZMO`, so the
    // output may be kept there.
    std::vector<ProtectedFile> direct = inputFiles(inPath);
    std::vector<ProtectedFile> forBackup = {direct[0]};
    for (const ProtectedFile& p : programFiles(s)) {
        direct.push_back(p);
        forBackup.push_back(p);
    }
    if (auto refused = checkOutput(kImportHelp, outPath, direct, forBackup)) return *refused;
    if (auto refused = refuseNonRegular(kImportHelp, controlPath)) return *refused;

    CsvReader reader(fdSource(in.fd), kMaxCellBytes, kFieldCount);
    std::string error;
    auto readFailure = [&]() { return failure(kImportHelp, inPath + ": " + error); };
    // Every cell is text of the file's encoding, or the file is not read further.
    auto checkEncoding = [&](const CsvRow& row) {
        for (const std::string& cell : row.fields) {
            const std::string why = encodingProblem(cell, encoding);
            if (!why.empty()) {
                error = "line " + std::to_string(row.line) + ": " + why;
                return false;
            }
        }
        return true;
    };

    CsvRow header;
    const CsvReader::Result first = reader.next(header, error);
    if (first == CsvReader::Result::Error) return readFailure();
    if (first == CsvReader::Result::End) return failure(kImportHelp, inPath + ": no header row");
    if (encoding == Encoding::Cp932 && reader.sawByteOrderMark())
        return failure(kImportHelp, inPath + ": starts with a UTF-8 byte order mark, so it is UTF-8; leave out "
                                             "--encoding cp932");
    if (!checkEncoding(header)) return readFailure();

    // The header: names in any order, each once, barcode required.
    std::vector<const FieldDef*> columns;
    std::vector<std::string> headerProblems;
    for (const std::string& raw : header.fields) {
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
            std::fprintf(stderr, "%s:%d: header: %s\n", inPath.c_str(), header.line, p.c_str());
        return failure(kImportHelp, "the header row is not usable; nothing written");
    }
    // Where a field's findings go in a row's list: its column, so they read left to right.
    auto columnOf = [&](const std::string& field) {
        for (std::size_t c = 0; c < columns.size(); ++c)
            if (field == columns[c]->name) return c;
        return columns.size();
    };

    CollectingPrompter boxes;
    Workspace checks(boxes, systemClock(), home);
    std::vector<CdRecord> records;
    std::vector<Finding> findings;
    std::size_t badRows = 0;
    for (CsvRow row;;) {
        const CsvReader::Result got = reader.next(row, error);
        if (got == CsvReader::Result::Error) return readFailure();
        if (got == CsvReader::Result::End) break;
        if (!checkEncoding(row)) return readFailure();
        if (records.size() == static_cast<std::size_t>(kMaxRecords))
            return failure(kImportHelp, inPath + ": line " + std::to_string(row.line) + ": more than " +
                                            std::to_string(kMaxRecords) + " rows; a data file holds at most " +
                                            std::to_string(kMaxRecords) + "; nothing written");
        std::vector<Finding> rowFindings;
        CdRecord r = clearedRecord();
        r.active = 1;
        if (row.fields.size() != columns.size()) {
            rowFindings.push_back({row.line, "row",
                                   std::to_string(row.fields.size()) + " fields, the header has " +
                                       std::to_string(columns.size())});
        } else {
            std::vector<std::string> badFields;
            for (std::size_t c = 0; c < columns.size(); ++c) {
                const FieldDef& f = *columns[c];
                std::string why;
                if (f.type == FieldType::Text) {
                    std::string sjis;
                    why = importTextProblem(row.fields[c], encoding, f, sjis);
                    if (why.empty()) storeField(reinterpret_cast<char*>(&r) + f.offset, f.width, sjis,
                                                static_cast<std::size_t>(f.maxBytes));
                } else {
                    std::int32_t v = 0;
                    why = importNumberProblem(row.fields[c], f, v);
                    if (why.empty()) why = editorEntryProblem(checks, boxes, f, v);
                    if (why.empty()) storeNumber(r, f, v);
                }
                if (!why.empty()) {
                    rowFindings.push_back({row.line, f.name, why});
                    badFields.push_back(f.name);
                }
            }
            recordFindings(r, row.line, badFields, rowFindings);
            std::stable_sort(rowFindings.begin(), rowFindings.end(), [&](const Finding& a, const Finding& b) {
                return columnOf(a.field) < columnOf(b.field);
            });
        }
        if (!rowFindings.empty()) ++badRows;
        findings.insert(findings.end(), rowFindings.begin(), rowFindings.end());
        records.push_back(r);
    }
    if (!findings.empty()) {
        for (const Finding& f : findings)
            std::fprintf(stderr, "%s:%d: %s: %s\n", inPath.c_str(), f.line, f.field.c_str(), f.reason.c_str());
        return failure(kImportHelp, std::to_string(badRows) + " of " + std::to_string(records.size()) +
                                        " rows are bad; nothing written");
    }

    if (s.loadControlIfPresent() != 0) {
        failure(kImportHelp, "the program folder's control file is not usable");
        explainFailure(kImportHelp, controlPath, Access::Read);
        return kExitFailed;
    }
    // A running copy of the program owns the data files of its work folders.
    if (inWorkFolder(ws, outPath))
        if (auto holder = folderHolder(home))
            return failure(kImportHelp, outPath + " is in a work folder of " + home.string() +
                                            ", which is in use by zemoplan, " + describeHolder(*holder) +
                                            "; nothing written");
    const int count = static_cast<int>(records.size());
    TCddataArray array(count + 1);
    for (int i = 0; i < count; ++i) array.put(i, records[static_cast<std::size_t>(i)]);
    // A plain file under the chosen name with the given memo: the chooser's save, share mode off.
    ws.shareFlag = false;
    ws.nextMemo = memo;
    const std::uintmax_t bytes = kDataStart + static_cast<std::uintmax_t>(count) * sizeof(CdRecord);
    OutputWriter writer;
    writer.save = [&] {
        errno = 0;
        if (writeDataFile(ws, true, outPath, kind, array, count) == 0) return true;
        explainFailure(kImportHelp, outPath, Access::Write, bytes, errno);
        return false;
    };
    if (!writeKeepingBackup(s, kImportHelp, outPath, bytes, writer)) return kExitFailed;
    std::printf("%s\t%d records\n", outPath.c_str(), count);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

}  // namespace zemo::cli
