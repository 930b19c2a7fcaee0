// SPDX-License-Identifier: GPL-3.0-or-later
// zemo show: a data file's summary and its records in the columns of the record display window.
#include <filesystem>
#include <string>
#include <vector>

#include "app/cli/cli_common.h"
#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "platform/sjis.h"
#include "records/cd_record.h"
#include "records/text.h"

namespace zemo::cli {
namespace {

const CommandHelp kHelp{
    "show", "FILE [--csv] [--password TEXT] [--home DIR]",
    "Reads the data file FILE (any kind) and prints its summary, one NAME<TAB>VALUE line each:\n"
    "kind (number and kind name), memo, creator, scrambled (0/1), protected (0/1), records, saved;\n"
    "then an empty line, the column headings and one line per record with the sixteen columns of\n"
    "the record display window (row number, barcode ... deletion time), tab-separated.\n"
    "Control characters in the texts are shown as escapes (\\x1B); `zemo export` gives them as stored.\n"
    "  --csv              the same lines as CSV (RFC 4180, UTF-8, CRLF)\n"
    "  --password TEXT    the password of a protected file (without it an empty one is given)\n"};

}  // namespace

int runShow(int argc, char** argv) {
    Args args;
    if (auto status = parseCommandLine(kHelp, argc, argv, {{"--csv", false}, {"--password", true}}, 1, 1, args))
        return *status;
    std::filesystem::path home;
    if (auto status = checkProgramFolder(kHelp, args, false, home)) return *status;
    Session s(home);
    if (auto status = takePassword(kHelp, args, s)) return *status;
    const std::string& path = args.positional[0];
    if (auto refused = refuseNonRegular(kHelp, path)) return *refused;
    LoadedFile file;
    if (auto status = readInputFile(kHelp, s, path, file)) return *status;

    // Stored texts reach a terminal here, so none of their bytes may act on it.
    const bool csv = args.has("--csv");
    auto line = [csv](std::vector<std::string> fields) {
        for (std::string& f : fields) f = visibleControls(f);
        return csv ? csvLine(fields) : tabLine(fields);
    };
    const DataFileInfo& info = file.info;
    std::string out;
    out += line({"kind", std::to_string(file.header.fileKind), sjisToUtf8(kindName(file.header.fileKind))});
    out += line({"memo", sjisToUtf8(fieldText(info.memo))});
    out += line({"creator", sjisToUtf8(fieldText(info.creatorId))});
    out += line({"scrambled", info.scrambled == 1 ? "1" : "0"});
    out += line({"protected", info.hasPassword == 1 ? "1" : "0"});
    out += line({"records", std::to_string(file.count)});
    out += line({"saved", formatStamp(info.savedAt)});
    out += csv ? "\r\n" : "\n";
    out += line(displayHeaders());
    for (int i = 0; i < file.count; ++i) out += line(displayColumns(file.records[i], i + 1));
    if (!writeStdout(out)) return failure(kHelp, "cannot write the output");
    return kExitOk;
}

}  // namespace zemo::cli
