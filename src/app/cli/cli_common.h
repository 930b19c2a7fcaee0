// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the commands of `zemo` share: option parsing, the program folder, the workspace with its
// message output, the record display columns, CSV and tab-separated lines.
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "app/cli/stream_prompter.h"
#include "records/cd_record.h"
#include "records/data_ops.h"
#include "records/record_array.h"
#include "records/workspace.h"

namespace zemo::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// How a command introduces itself in --help and in usage errors.
struct CommandHelp {
    const char* name;      // "show"
    const char* synopsis;  // "FILE [--csv] [--password TEXT]"
    const char* text;      // what it does and its options, one per line
};

struct OptionSpec {
    const char* name;  // "--csv", "-o"
    bool takesValue;
};

struct Args {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;  // option name -> value ("" for a flag)

    bool has(const std::string& name) const { return options.count(name) != 0; }
    std::optional<std::string> value(const std::string& name) const;
};

// Parses a command's arguments (those after its name). "--home DIR" and "--help" are known to
// every command; "--name=value" and "--name value" are both accepted; "--" ends the options.
// Handles --help (usage to stdout) and every usage error (message and usage to stderr).
// Returns nothing when the command should go on, else the exit status to return.
std::optional<int> parseCommandLine(const CommandHelp& help, int argc, char** argv,
                                    std::initializer_list<OptionSpec> specs, std::size_t minPositional,
                                    std::size_t maxPositional, Args& out);
std::optional<int> parseCommandLine(const CommandHelp& help, int argc, char** argv,
                                    const std::vector<OptionSpec>& specs, std::size_t minPositional,
                                    std::size_t maxPositional, Args& out);

// For commands where a repeated option is not an error but the last one counts: the arguments
// without the earlier occurrences ("--name value" and "--name=value" alike; nothing after "--").
// Options of one group replace each other (a group of one option: it replaces itself); valued
// names the options that take a value.
std::vector<char*> lastOfEachOption(int argc, char** argv, const std::vector<std::vector<std::string>>& groups,
                                    const std::vector<std::string>& valued);

// The arguments with every earlier occurrence of a repeated option dropped, for the commands where
// the last one counts (parseCommandLine refuses a repeat). specs names the options, valued or
// flags ("--home" counts too); "--name value" and "--name=value" alike;
// nothing after "--" is touched.
std::vector<char*> lastOfEachOption(int argc, char** argv, std::initializer_list<OptionSpec> specs);

// "zemo NAME: message" and the usage line on stderr; returns kExitUsage.
int usageError(const CommandHelp& help, const std::string& message);
// "zemo NAME: message" on stderr; returns kExitFailed.
int failure(const CommandHelp& help, const std::string& message);
void printHelp(const CommandHelp& help, std::FILE* out);

// The program folder: --home DIR, else $ZEMOPLAN_HOME, else the current directory; absolute.
std::filesystem::path programFolder(const Args& args);
// The program folder when it is a usable folder (there, a folder, readable). A missing one is made
// when `create` is set (init makes the program folder); anything else unusable is a usage error
// naming where the folder came from. Nothing, or the exit status to return.
std::optional<int> checkProgramFolder(const CommandHelp& help, const Args& args, bool create,
                                      std::filesystem::path& out);

// Writes every box to stderr as "KIND: TEXT" and counts them, so that a command knows whether
// its operations have already given the reason for a failure.
class CliPrompter : public StreamPrompter {
public:
    CliPrompter() : StreamPrompter(stderr) {}
    Answer message(BoxKind kind, const std::string& text, Buttons buttons) override {
        ++shown;
        return StreamPrompter::message(kind, text, buttons);
    }
    int shown = 0;
};

// The workspace of one command: program folder, the running executable (never read as a data
// file), the machine's clock, messages to stderr. Questions are answered Yes / OK; the password
// prompt answers an empty text unless a command sets one. No arrays are created.
class Session {
public:
    explicit Session(const std::filesystem::path& home, const Clock& clock = systemClock());
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    CliPrompter prompter;
    Workspace ws;

    // The creation defaults, then the program folder's control file when there is one.
    // 0, or the error of loadControl (already shown).
    int loadControlIfPresent();
};

// A data file of any kind read whole, as the record display window reads it.
struct LoadedFile {
    DataFileHeader header{};
    DataFileInfo info{};  // the share fields unscrambled
    TCddataArray records;
    int count = 0;  // records read, in slots 0 .. count - 1
};
// Reads path with readDataFile, without the kind comparison, into an array as large as the file's
// record count (so nothing is cut off); the password prompt answers the session's password.
// Ok, or the failure of readDataFile after its messages.
DataFileRead readAnyDataFile(Session& session, const std::string& path, LoadedFile& out);

// The CP932 bytes of a UTF-8 argument, or nothing when it has a character CP932 lacks.
std::optional<std::string> argumentToSjis(std::string_view utf8);

// --- the record display window's sixteen columns, UTF-8 ---
inline constexpr int kDisplayColumns = 16;
std::vector<std::string> displayHeaders();
// Column 0 is the row number "%5d" (1-based); a record that is not active shows empty cells.
std::vector<std::string> displayColumns(const CdRecord& record, int rowNumber);

// --- lines ---
// RFC 4180: the field quoted when it holds a comma, a quote, CR or LF or starts or ends with a
// blank; quotes doubled.
std::string csvField(std::string_view field);
std::string csvLine(const std::vector<std::string>& fields);  // ends in CRLF
// Tab-separated; tabs and line breaks inside a field become blanks. Ends in LF.
std::string tabLine(const std::vector<std::string>& fields);

// Text from a file made safe for a terminal: every control character (C0, DEL, C1) written as a
// visible escape, \x1B or \u009B, so that no stored text can move the cursor or clear the screen.
std::string visibleControls(std::string_view utf8);

// Writes everything to stdout; false on a write error.
bool writeStdout(std::string_view bytes);

}  // namespace zemo::cli
