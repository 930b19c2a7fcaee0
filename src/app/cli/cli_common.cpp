#include "app/cli/cli_common.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/file_services.h"
#include "records/scramble.h"
#include "records/text.h"

namespace zemo::cli {

std::optional<std::string> Args::value(const std::string& name) const {
    auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

void printHelp(const CommandHelp& help, std::FILE* out) {
    std::fprintf(out, "usage: zemo %s %s\n\n%s\n", help.name, help.synopsis, help.text);
    std::fprintf(out,
                 "  --home DIR         the program folder (default: $ZEMOPLAN_HOME, else the current directory)\n"
                 "  --help             show this help\n\n"
                 "Messages of the operations go to stderr as KIND: TEXT. Exit status: 0 done, 1 failed,\n"
                 "2 usage error.\n");
}

int usageError(const CommandHelp& help, const std::string& message) {
    std::fprintf(stderr, "zemo %s: %s\nusage: zemo %s %s\n       zemo %s --help\n", help.name, message.c_str(),
                 help.name, help.synopsis, help.name);
    return kExitUsage;
}

int failure(const CommandHelp& help, const std::string& message) {
    std::fprintf(stderr, "zemo %s: %s\n", help.name, message.c_str());
    return kExitFailed;
}

std::optional<int> parseCommandLine(const CommandHelp& help, int argc, char** argv,
                                    std::initializer_list<OptionSpec> specs, std::size_t minPositional,
                                    std::size_t maxPositional, Args& out) {
    std::vector<OptionSpec> known(specs);
    known.push_back({"--home", true});
    known.push_back({"--help", false});
    known.push_back({"-h", false});
    bool optionsEnded = false;
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            out.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        const OptionSpec* option = nullptr;
        for (const OptionSpec& s : known)
            if (name == s.name) option = &s;
        if (option == nullptr) return usageError(help, "unknown option '" + name + "'");
        if (name == "--help" || name == "-h") {
            printHelp(help, stdout);
            return kExitOk;
        }
        std::string value;
        if (option->takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                return usageError(help, "option " + name + " needs a value");
            }
        } else if (inlineValue) {
            return usageError(help, "option " + name + " takes no value");
        }
        if (out.has(name)) return usageError(help, "option " + name + " given twice");
        out.options[name] = value;
    }
    if (out.positional.size() < minPositional) return usageError(help, "missing argument");
    if (out.positional.size() > maxPositional)
        return usageError(help, "unexpected argument '" + out.positional[maxPositional] + "'");
    if (auto home = out.value("--home"); home && home->empty()) return usageError(help, "--home needs a folder");
    return std::nullopt;
}

std::filesystem::path programFolder(const Args& args) {
    std::filesystem::path dir;
    if (auto home = args.value("--home")) {
        dir = *home;
    } else if (const char* env = std::getenv("ZEMOPLAN_HOME"); env != nullptr && *env != '\0') {
        dir = env;
    } else {
        std::error_code ec;
        dir = std::filesystem::current_path(ec);
    }
    std::error_code ec;
    std::filesystem::path abs = std::filesystem::absolute(dir, ec);
    return (ec ? dir : abs).lexically_normal();
}

Session::Session(const std::filesystem::path& home, const Clock& clock) : ws(prompter, clock, home) {
    std::error_code ec;
    ws.executablePath = std::filesystem::read_symlink("/proc/self/exe", ec);
    // Without a prompt to type into, an empty password is what an unprotected file expects.
    prompter.password = std::string();
}

int Session::loadControlIfPresent() {
    initControlDefaults(ws);
    if (!fileExists(ws, controlFilePath(ws))) return 0;
    return loadControl(ws, false);
}

int readAnyDataFile(Session& session, const std::string& path, LoadedFile& out) {
    Workspace& ws = session.ws;
    // The array is sized from the information block; when that cannot be read, readDataFile
    // below fails on the same file and says why.
    int capacity = 0;
    DataFileInfo info{};
    if (fileExists(ws, path) && fileSize(ws, path) > static_cast<std::int64_t>(kDataStart) &&
        readInfo(ws, path, false, info) == 0)
        capacity = info.recordCount > 0 ? info.recordCount : 0;
    out.records.create(capacity + 1);
    int loaded = 0;
    skipKindCheckOnce(ws);
    int r = readDataFile(ws, path, kKindCatalogue, out.records, loaded, out.count, capacity);
    if (r != 0) return r;
    // The reader accepted the file, so its head is whole; read it directly, because readInfo
    // refuses a file without records (384 bytes), which is still a valid data file.
    std::ifstream in(nativePath(path), std::ios::binary);
    in.read(reinterpret_cast<char*>(&out.header), sizeof out.header);
    in.read(reinterpret_cast<char*>(&out.info), sizeof out.info);
    if (!in) {
        setLastError(ws, kErrRead);
        setErrorName(ws, path);
        reportError(ws, 2);
        return -1;
    }
    if (out.info.scrambled == 1) scrambleInfo(out.info, kScrambleUndo, out.info.keyIndex);
    return 0;
}

std::optional<std::string> argumentToSjis(std::string_view utf8) {
    ConvResult r = utf8ToSjisChecked(utf8);
    if (!r.ok) return std::nullopt;
    return r.text;
}

std::vector<std::string> displayHeaders() {
    return {"",       "バーコード", "ユーザーコード", "アーチストコード", "タイトル", "アーチスト",
            "時間",   "発売日",     "ﾃﾞｰﾀ登録",       "ﾚﾝﾀﾙ開始",         "曲数",     "位置",
            "種類",   "属性",       "登録日付",       "削除日付"};
}

std::vector<std::string> displayColumns(const CdRecord& r, int rowNumber) {
    std::vector<std::string> cols(kDisplayColumns);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%5d", rowNumber);
    cols[0] = buf;
    if (r.active != 1) return cols;  // only 1 marks a record in use
    cols[1] = sjisToUtf8(fieldText(r.barcode));
    cols[2] = sjisToUtf8(fieldText(r.userCode));
    cols[3] = sjisToUtf8(fieldText(r.artistCode));
    cols[4] = sjisToUtf8(fieldText(r.title));
    cols[5] = sjisToUtf8(fieldText(r.artist));
    cols[6] = formatTimeLong(r.timeSec);
    cols[7] = formatDate(r.saleDate);
    cols[8] = formatDate(r.entryDate);
    cols[9] = formatDate(r.openDate);
    std::snprintf(buf, sizeof buf, "%2d", r.trackCount);
    cols[10] = buf;
    std::snprintf(buf, sizeof buf, "%2d", r.trackPos);
    cols[11] = buf;
    cols[12] = sjisToUtf8(recordKindName(r.kind));
    cols[13] = sjisToUtf8(infoKindName(r.infoKind));
    cols[14] = formatStamp(r.registeredAt);
    cols[15] = formatStamp(r.deletedAt);
    return cols;
}

std::string csvField(std::string_view field) {
    const bool quote = field.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quote) return std::string(field);
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string csvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        line += csvField(fields[i]);
    }
    line += "\r\n";
    return line;
}

std::string tabLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += '\t';
        for (char c : fields[i]) line += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
    line += '\n';
    return line;
}

bool parseCsv(std::string_view text, std::vector<CsvRow>& rows, std::string& error) {
    rows.clear();
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::size_t i = 0;
    int line = 1;
    auto lineBreakAt = [&](std::size_t p) -> std::size_t {  // length of a line break at p, 0 if none
        if (p >= text.size()) return 0;
        if (text[p] == '\n') return 1;
        if (text[p] == '\r') return (p + 1 < text.size() && text[p + 1] == '\n') ? 2 : 1;
        return 0;
    };
    while (i < text.size()) {
        if (std::size_t br = lineBreakAt(i)) {  // an empty line
            i += br;
            ++line;
            continue;
        }
        CsvRow row;
        row.line = line;
        for (;;) {
            std::string field;
            if (i < text.size() && text[i] == '"') {
                const int startLine = line;
                ++i;
                for (;;) {
                    if (i >= text.size()) {
                        error = "line " + std::to_string(startLine) + ": quoted field not closed";
                        return false;
                    }
                    char c = text[i];
                    if (c == '"') {
                        if (i + 1 < text.size() && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++line;
                    field += c;
                    ++i;
                }
                if (i < text.size() && text[i] != ',' && lineBreakAt(i) == 0) {
                    error = "line " + std::to_string(line) + ": text after a closing quote";
                    return false;
                }
            } else {
                while (i < text.size() && text[i] != ',' && lineBreakAt(i) == 0) {
                    if (text[i] == '"') {
                        error = "line " + std::to_string(line) + ": quote inside an unquoted field";
                        return false;
                    }
                    field += text[i++];
                }
            }
            row.fields.push_back(std::move(field));
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            if (std::size_t br = lineBreakAt(i)) {
                i += br;
                ++line;
            }
            break;
        }
        rows.push_back(std::move(row));
    }
    return true;
}

bool writeStdout(std::string_view bytes) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) return false;
    return std::fflush(stdout) == 0;
}

std::optional<std::string> readWholeFile(const std::string& path, std::string& error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = path + ": is a folder";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = path + ": read error";
        return std::nullopt;
    }
    return bytes;
}

}  // namespace zemo::cli
