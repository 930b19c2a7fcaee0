// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files a command reads and writes: only regular files, never the input or the program's own
// files as an output, the system's reason when a file operation fails, and a save that keeps the
// replaced file as its .BAK.
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/cli_common.h"
#include "records/safe_write.h"

namespace zemo::cli {

// A short English phrase for a file error number ("permission denied", "no space left on the
// disk", ...).
std::string reasonOf(int err);

// What a path names when that is not a regular file ("a folder", "a FIFO (named pipe)", "a
// character device", ...); "" for a regular file or when nothing is there. Looked at with stat,
// which follows links and never opens anything, so a FIFO cannot block.
std::string nonRegularKind(const std::string& path);

// Refuses an input that is there but not a regular file: "zemo NAME: PATH is a FIFO ..., not a
// regular file" and kExitFailed. Nothing when the command may go on (a missing file is left to the
// reader, which says so in its own words).
std::optional<int> refuseNonRegular(const CommandHelp& help, const std::string& path);

// --password into the session's prompter; a usage error when Shift-JIS lacks one of its characters.
std::optional<int> takePassword(const CommandHelp& help, const Args& args, Session& session);

// The command's input data file read whole (readAnyDataFile); on failure its reason is told and the
// exit status given back.
std::optional<int> readInputFile(const CommandHelp& help, Session& session, const std::string& path, LoadedFile& file);

// Where a path leads: the name it reaches once every link is followed, and the file there.
struct FileIdentity {
    std::filesystem::path resolved;
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
};
FileIdentity identify(const std::string& path);
// One file: the same device and inode when both are there; otherwise the same resolved name,
// ignoring the case of ASCII letters as the program's own name comparisons do.
bool sameFile(const FileIdentity& a, const FileIdentity& b);

// A file no output may replace, and what it is ("the input", "the program's control file", ...).
struct ProtectedFile {
    std::string path;
    std::string role;
};
// An input and its .BAK.
std::vector<ProtectedFile> inputFiles(const std::string& path);
// The control file of the session's program folder and its .BAK.
std::vector<ProtectedFile> programFiles(Session& session);

// Checks an output before anything is read or written: it is a regular file or nothing, it is none
// of `direct`, its .BAK name is not itself, and when it is there (so that it will be kept as its
// .BAK) that .BAK is a regular file or nothing and none of `forBackup`. Nothing, or kExitFailed
// after the message.
std::optional<int> checkOutput(const CommandHelp& help, const std::string& path,
                               const std::vector<ProtectedFile>& direct,
                               const std::vector<ProtectedFile>& forBackup);

enum class Access { Read, Write };
// Why reading or writing path fails, as far as the file system tells: "no such folder", "is a
// folder", "permission denied", "no space left on the disk", "file too large"; bytes is the size
// about to be written. err, an error number seen at the failure, is used when nothing else is
// found. "" when nothing is found (the file is there and looks usable).
std::string systemReason(const std::string& path, Access access, std::uintmax_t bytes = 0, int err = 0);
// "zemo NAME: PATH: reason" on stderr when there is a reason.
void explainFailure(const CommandHelp& help, const std::string& path, Access access, std::uintmax_t bytes = 0,
                    int err = 0);

// How the new contents of an output come to be. Exactly one of the two is set.
struct OutputWriter {
    enum class Filled { Written, Nothing, Failed };
    // Opens the target's staged file (StagedFile::open), fills it through StagedFile::write or by
    // its tempPath() and checks what is there; writeKeepingBackup flushes it and puts it in place.
    // Nothing: there was nothing to write and the output stays as it is. Failed: after its own
    // messages.
    std::function<Filled(StagedFile& staged)> fill;
    // The core's own whole-file save of the target (a data file), which stages, flushes and
    // renames by itself: true when the target is replaced, else false after its messages.
    std::function<bool()> save;
};

// The one way every output of the tool is written (CSV, data file, PDF): the new contents go into
// a temporary file beside the target, are flushed and put in place by a rename; an existing
// target is kept as its .BAK with its mode and times, staged before the new contents are written
// and renamed into place only after them, so a failed or interrupted save leaves the file and its
// older .BAK as they were. What interrupted earlier runs left beside the target or its .BAK goes.
// bytes is about the size written, for the reason of a failure. false after the messages. The
// output has been checked with checkOutput before anything was read.
bool writeKeepingBackup(Session& session, const CommandHelp& help, const std::string& path, std::uintmax_t bytes,
                        const OutputWriter& writer);

// The writer of an output held in memory; a failure is "zemo NAME: PATH: cannot write" and the
// system's reason.
OutputWriter bytesWriter(const CommandHelp& help, const std::string& path, std::string_view bytes);

// Whether the file at path ends as a whole PDF does: "startxref", the offset of its cross-reference
// table, and "%%EOF"; and the table is where that offset says, so no part before it went missing.
// size receives the file's size, err an error number seen while reading it (0 if none).
bool isWholePdf(const std::string& path, std::uintmax_t& size, int& err);

enum class Printed { Done, Nothing, NotStarted, Failed };
// The writer of a PDF output: print(file) prints into the file of that name (Nothing when there was
// nothing to print; NotStarted when the printer would not begin, which is the box "印刷を開始できません"
// with path; Failed after its own messages); the file must then end as a whole PDF does, else
// "cannot write" and the system's reason.
OutputWriter pdfWriter(Session& session, const CommandHelp& help, const std::string& path,
                       const std::function<Printed(const std::string& file)>& print);

}  // namespace zemo::cli
