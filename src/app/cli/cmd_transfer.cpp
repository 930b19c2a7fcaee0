// SPDX-License-Identifier: GPL-3.0-or-later
// zemo export / zemo import: the records of a data file as CSV and back.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/cli_common.h"
#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/csv_reader.h"
#include "app/cli/record_csv.h"
#include "platform/regular_file.h"
#include "platform/sjis.h"
#include "records/cd_record.h"
#include "records/control_file.h"
#include "records/csv_transfer.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/file_services.h"
#include "records/text.h"
#include "shell/program_lock.h"

namespace zemo::cli {
namespace {

constexpr std::size_t kMaxCsvBytes = 256u << 20;  // far beyond 32767 rows

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

}  // namespace

std::string exportCsvHeader() { return csvLine(csvColumnNames()); }

std::string exportCsvRow(const CdRecord& r, const std::string& where, std::vector<std::string>& problems) {
    return csvLine(csvRowOf(r, where, problems));
}

int runExport(int argc, char** argv) {
    Args args;
    if (auto status = parseCommandLine(kExportHelp, argc, argv, {{"-o", true}, {"--password", true}}, 1, 1, args))
        return *status;
    std::filesystem::path home;
    if (auto status = checkProgramFolder(kExportHelp, args, false, home)) return *status;
    Session s(home);
    if (auto status = takePassword(kExportHelp, args, s)) return *status;
    const std::string& path = args.positional[0];
    if (auto refused = refuseNonRegular(kExportHelp, path)) return *refused;
    const auto target = args.value("-o");
    if (target) {
        std::vector<ProtectedFile> guarded = inputFiles(path);
        for (ProtectedFile& p : programFiles(s)) guarded.push_back(std::move(p));
        if (auto refused = checkOutput(kExportHelp, *target, guarded, guarded)) return *refused;
    }
    LoadedFile file;
    if (auto status = readInputFile(kExportHelp, s, path, file)) return *status;

    std::string out = exportCsvHeader();
    std::vector<std::string> problems;
    for (int i = 0; i < file.count; ++i) {
        const CdRecord& r = file.records[i];
        if (!isInUse(r)) continue;
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

namespace {

struct ImportOptions {
    std::string target;
    int kind = kKindCatalogue;
    std::string memo;
    CsvEncoding encoding = CsvEncoding::Utf8;
};

// The options of zemo import; nothing when it should go on, else the exit status.
std::optional<int> importOptions(int argc, char** argv, Args& args, ImportOptions& out) {
    if (auto status = parseCommandLine(kImportHelp, argc, argv,
                                       {{"-o", true}, {"--kind", true}, {"--memo", true}, {"--encoding", true}}, 1, 1,
                                       args))
        return status;
    const auto target = args.value("-o");
    if (!target || target->empty()) return usageError(kImportHelp, "-o OUT.ZMO is required");
    out.target = *target;
    if (auto k = args.value("--kind")) {
        auto [ptr, ec] = std::from_chars(k->data(), k->data() + k->size(), out.kind);
        if (ec != std::errc{} || ptr != k->data() + k->size() || out.kind < 1 || out.kind > kKindLast)
            return usageError(kImportHelp, "--kind must be a kind 1..11");
    }
    if (auto m = args.value("--memo")) {
        auto bytes = argumentToSjis(*m);
        if (!bytes) return usageError(kImportHelp, "the memo has a character that Shift-JIS lacks");
        if (bytes->size() > 60) return usageError(kImportHelp, "the memo is longer than 60 bytes in Shift-JIS");
        if (bytes->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            return usageError(kImportHelp, "the memo must be one line");
        out.memo = *bytes;
    }
    if (auto e = args.value("--encoding"); e && !parseCsvEncoding(*e, out.encoding))
        return usageError(kImportHelp, "--encoding takes utf-8 or cp932");
    return std::nullopt;
}

// A FIFO or a device is refused instead of waited on; then the file is read a block at a time.
std::optional<int> openCsv(const std::string& inPath, ReadFile& in) {
    struct stat st;
    in = openRegularForReading(nativePath(inPath), &st);
    if (!in.isOpen()) {
        const int err = errno;
        if (err == kNotRegularFile || err == EISDIR) {
            const std::string kind = nonRegularKind(inPath);
            return failure(kImportHelp,
                           inPath + " is " + (kind.empty() ? "not a regular file" : kind + ", not a regular file"));
        }
        std::string why = err == ENOENT ? systemReason(inPath, Access::Read) : reasonOf(err);
        return failure(kImportHelp, inPath + ": cannot be read: " + (why.empty() ? "no such file" : why));
    }
    if (static_cast<std::uintmax_t>(st.st_size) > kMaxCsvBytes)
        return failure(kImportHelp, inPath + ": too large for a data file");
    return std::nullopt;
}

// The output: a data file, so never the input, the control file or their backups. The CSV's own
// .BAK name is that of the data file in the usual `import shop.csv -o shop.ZMO`, so the output may
// be kept there.
std::optional<int> refuseImportTarget(Session& s, const std::string& inPath, const std::string& outPath) {
    std::vector<ProtectedFile> direct = inputFiles(inPath);
    std::vector<ProtectedFile> forBackup = {direct[0]};
    for (const ProtectedFile& p : programFiles(s)) {
        direct.push_back(p);
        forBackup.push_back(p);
    }
    if (auto refused = checkOutput(kImportHelp, outPath, direct, forBackup)) return refused;
    return refuseNonRegular(kImportHelp, controlFilePath(s.ws));
}

// Reads the CSV's rows a block at a time into records, every row checked; nothing when all rows
// made records, else the exit status after the findings.
class CsvRecordReader {
public:
    CsvRecordReader(const ReadFile& in, const std::string& inPath, CsvEncoding encoding)
        : reader_(fdSource(in.fd()), kCsvMaxCellBytes, kCsvColumnCount), inPath_(inPath), import_(encoding),
          encoding_(encoding) {}

    std::optional<int> read(std::vector<CdRecord>& records) {
        CsvRow header;
        const CsvReader::Result first = reader_.next(header, error_);
        if (first == CsvReader::Result::Error) return readFailure();
        if (first == CsvReader::Result::End) return failure(kImportHelp, inPath_ + ": no header row");
        if (encoding_ == CsvEncoding::Cp932 && reader_.sawByteOrderMark())
            return failure(kImportHelp, inPath_ + ": starts with a UTF-8 byte order mark, so it is UTF-8; leave out "
                                                  "--encoding cp932");
        if (!checkEncoding(header)) return readFailure();
        const std::vector<std::string> headerProblems = import_.takeHeader(header.fields);
        if (!headerProblems.empty()) {
            for (const std::string& p : headerProblems)
                std::fprintf(stderr, "%s:%d: header: %s\n", inPath_.c_str(), header.line, p.c_str());
            return failure(kImportHelp, "the header row is not usable; nothing written");
        }
        return readRows(records);
    }

private:
    std::optional<int> readRows(std::vector<CdRecord>& records) {
        std::vector<CsvFinding> findings;
        std::size_t badRows = 0;
        for (CsvRow row;;) {
            const CsvReader::Result got = reader_.next(row, error_);
            if (got == CsvReader::Result::Error) return readFailure();
            if (got == CsvReader::Result::End) break;
            if (!checkEncoding(row)) return readFailure();
            if (records.size() == static_cast<std::size_t>(kCsvMaxRows))
                return failure(kImportHelp, inPath_ + ": line " + std::to_string(row.line) + ": more than " +
                                                std::to_string(kCsvMaxRows) + " rows; a data file holds at most " +
                                                std::to_string(kCsvMaxRows) + "; nothing written");
            const std::size_t before = findings.size();
            records.push_back(import_.takeRow(row.line, row.fields, findings));
            if (findings.size() != before) ++badRows;
        }
        if (findings.empty()) return std::nullopt;
        for (const CsvFinding& f : findings)
            std::fprintf(stderr, "%s:%d: %s: %s\n", inPath_.c_str(), f.line, f.field.c_str(), f.reason.c_str());
        return failure(kImportHelp, std::to_string(badRows) + " of " + std::to_string(records.size()) +
                                        " rows are bad; nothing written");
    }

    // Every cell is text of the file's encoding, or the file is not read further.
    bool checkEncoding(const CsvRow& row) {
        for (const std::string& cell : row.fields) {
            const std::string why = csvEncodingProblem(cell, encoding_);
            if (!why.empty()) {
                error_ = "line " + std::to_string(row.line) + ": " + why;
                return false;
            }
        }
        return true;
    }

    int readFailure() { return failure(kImportHelp, inPath_ + ": " + error_); }

    CsvReader reader_;
    const std::string& inPath_;
    CsvImport import_;
    CsvEncoding encoding_;
    std::string error_;
};

}  // namespace

int runImport(int argc, char** argv) {
    Args args;
    ImportOptions opt;
    if (auto status = importOptions(argc, argv, args, opt)) return *status;
    std::filesystem::path home;
    if (auto status = checkProgramFolder(kImportHelp, args, false, home)) return *status;

    Session s(home);
    Workspace& ws = s.ws;
    const std::string& inPath = args.positional[0];
    const std::string& outPath = opt.target;
    ReadFile in;
    if (auto status = openCsv(inPath, in)) return *status;
    if (auto refused = refuseImportTarget(s, inPath, outPath)) return *refused;
    std::vector<CdRecord> records;
    if (auto status = CsvRecordReader(in, inPath, opt.encoding).read(records)) return *status;

    if (s.loadControlIfPresent() != 0) {
        failure(kImportHelp, "the program folder's control file is not usable");
        explainFailure(kImportHelp, controlFilePath(ws), Access::Read);
        return kExitFailed;
    }
    // A running copy of the program owns the data files of its work folders.
    if (inWorkFolder(ws, outPath))
        if (auto holder = folderHolder(home))
            return failure(kImportHelp, outPath + " is in a work folder of " + home.string() +
                                            ", which is in use by zemoplan, " + describeHolder(*holder) +
                                            "; nothing written");
    const int count = static_cast<int>(records.size());
    const std::uintmax_t bytes = kDataStart + static_cast<std::uintmax_t>(count) * sizeof(CdRecord);
    OutputWriter writer;
    writer.save = [&] {
        errno = 0;
        if (writeRecordsFile(ws, outPath, opt.kind, opt.memo, records) == 0) return true;
        explainFailure(kImportHelp, outPath, Access::Write, bytes, errno);
        return false;
    };
    if (!writeKeepingBackup(s, kImportHelp, outPath, bytes, writer)) return kExitFailed;
    std::printf("%s\t%d records\n", outPath.c_str(), count);
    return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
}

}  // namespace zemo::cli
