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
#include <vector>

#include "app/cli/cli_common.h"

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

// Writes an output through `write`, keeping the file it replaces as its .BAK. The previous
// contents are copied aside first and become the .BAK only after the new contents are in place,
// so a failed save leaves the file and its older .BAK as they were. `write` returns true when it
// wrote, else false with err set to the error number it saw (0 if none); bytes is the size it
// writes. false after the messages.
bool writeKeepingBackup(Session& session, const CommandHelp& help, const std::string& path, std::uintmax_t bytes,
                        const std::function<bool(int& err)>& write);

}  // namespace zemo::cli
