// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/cli_common.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

#include "app/cli/cli_files.h"
#include "platform/regular_file.h"
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
    return parseCommandLine(help, argc, argv, std::vector<OptionSpec>(specs), minPositional, maxPositional, out);
}

std::vector<char*> lastOfEachOption(int argc, char** argv, const std::vector<std::vector<std::string>>& groups,
                                    const std::vector<std::string>& valued) {
    struct Span {
        std::size_t group;
        int at, length;
    };
    std::vector<Span> spans;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") break;
        if (arg.rfind("--", 0) != 0) continue;
        const std::string name = arg.substr(0, arg.find('='));
        std::size_t group = groups.size();
        for (std::size_t g = 0; g < groups.size(); ++g)
            for (const std::string& n : groups[g])
                if (n == name) group = g;
        bool takesValue = false;
        for (const std::string& v : valued) takesValue = takesValue || v == name;
        const int length = (takesValue && arg.find('=') == std::string::npos && i + 1 < argc) ? 2 : 1;
        if (group < groups.size()) spans.push_back({group, i, length});
        i += length - 1;
    }
    std::vector<int> last(groups.size(), -1);
    for (const Span& s : spans) last[s.group] = s.at;
    std::vector<bool> dropped(static_cast<std::size_t>(argc), false);
    for (const Span& s : spans)
        if (last[s.group] != s.at)
            for (int k = 0; k < s.length; ++k) dropped[static_cast<std::size_t>(s.at + k)] = true;
    std::vector<char*> out;
    for (int i = 0; i < argc; ++i)
        if (!dropped[static_cast<std::size_t>(i)]) out.push_back(argv[i]);
    return out;
}

std::optional<int> parseCommandLine(const CommandHelp& help, int argc, char** argv,
                                    const std::vector<OptionSpec>& specs, std::size_t minPositional,
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

std::vector<char*> lastOfEachOption(int argc, char** argv, std::initializer_list<OptionSpec> specs) {
    // Every option its own group; --home counts as well.
    std::vector<std::vector<std::string>> groups{{"--home"}};
    std::vector<std::string> valued{"--home"};
    for (const OptionSpec& request : specs) {
        groups.push_back({request.name});
        if (request.takesValue) valued.push_back(request.name);
    }
    return lastOfEachOption(argc, argv, groups, valued);
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

std::optional<int> checkProgramFolder(const CommandHelp& help, const Args& args, bool create,
                                      std::filesystem::path& out) {
    out = programFolder(args);
    std::string source = "the current folder " + out.string();
    if (auto home = args.value("--home")) {
        source = "--home " + *home;
    } else if (const char* env = std::getenv("ZEMOPLAN_HOME"); env != nullptr && *env != '\0') {
        source = std::string("ZEMOPLAN_HOME=") + env;
    }
    struct stat st;
    if (::stat(out.c_str(), &st) != 0) {
        const int err = errno;
        if (err != ENOENT) return usageError(help, source + ": " + reasonOf(err));
        if (!create) return usageError(help, source + ": no such folder");
        std::error_code ec;
        std::filesystem::create_directories(out, ec);
        if (ec) return failure(help, out.string() + ": cannot make the program folder: " + reasonOf(ec.value()));
        return std::nullopt;
    }
    if (!S_ISDIR(st.st_mode)) return usageError(help, source + ": not a folder");
    if (::access(out.c_str(), R_OK | X_OK) != 0) return usageError(help, source + ": " + reasonOf(errno));
    return std::nullopt;
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

DataFileRead readAnyDataFile(Session& session, const std::string& path, LoadedFile& out) {
    Workspace& ws = session.ws;
    // The array is sized from the information block; when that cannot be read, readDataFile
    // below fails on the same file and says why.
    int capacity = 0;
    DataFileInfo info{};
    if (fileExists(ws, path) && fileSize(ws, path) > static_cast<std::int64_t>(kDataStart) &&
        readInfo(ws, path, false, info) == DataFileRead::Ok)
        capacity = info.recordCount > 0 ? info.recordCount : 0;
    out.records.create(capacity + 1);
    int loaded = 0;
    skipKindCheckOnce(ws);
    const DataFileRead r = readDataFile(ws, path, kKindCatalogue, out.records, loaded, out.count, capacity);
    if (r != DataFileRead::Ok) return r;
    // The reader accepted the file, so its head is whole; read it directly, because readInfo
    // refuses a file without records (384 bytes), which is still a valid data file.
    ReadFile in = openRegularForReading(nativePath(path));
    if (!in.isOpen() || !in.readExactly(&out.header, sizeof out.header) || !in.readExactly(&out.info, sizeof out.info)) {
        setLastError(ws, kErrRead);
        setErrorName(ws, path);
        reportError(ws, 2);
        return DataFileRead::Failed;
    }
    if (out.info.scrambled == 1) scrambleInfo(out.info, kScrambleUndo, out.info.keyIndex);
    return DataFileRead::Ok;
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
    if (!isInUse(r)) return cols;
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

std::string visibleControls(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    char buf[8];
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x20 || c == 0x7F) {
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else if (c == 0xC2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(s[i + 1]) <= 0x9F) {  // U+0080..U+009F
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned char>(s[++i]));
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool writeStdout(std::string_view bytes) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) return false;
    return std::fflush(stdout) == 0;
}

}  // namespace zemo::cli
