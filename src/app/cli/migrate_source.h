// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The old program's folder as `zemo migrate` reads it: copied from a Windows computer, so its
// names may be in any case and its control file names the work folders as Windows paths. Read
// only, and without moving its access times (O_NOATIME where the system allows it), so that the
// copy a shop keeps as its fallback stays exactly as it came.
#include <sys/stat.h>

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zemo::cli::migrate {

// Opens for reading without changing the access time where the system allows it; -1 with errno.
int openQuietly(const std::filesystem::path& p, int flags);

// Every entry of a folder but "." and "..", in the order the system gives. false with err set.
bool listFolder(const std::filesystem::path& dir, std::vector<std::string>& names, int& err);

// ASCII letters compared without regard to case, as Windows compares names.
bool sameNameIgnoringCase(std::string_view a, std::string_view b);
std::string upperAscii(std::string s);

// A whole regular file: its bytes and what stat said of it. false with err (EINVAL for something
// that is not a regular file, EFBIG past limit).
bool readWhole(const std::filesystem::path& p, std::size_t limit, std::string& bytes, struct stat& st, int& err);

// The entries of dir whose name equals name but for case; with wantFolder only folders, else only
// what is not a folder.
std::vector<std::string> namesLike(const std::filesystem::path& dir, std::string_view name, bool wantFolder);

// A work folder setting of the control file ("C:\ZEMO\CD_SYS", "..\CD_TXT", "\\SHOP\DATA\CD_MD"),
// split at "\" or "/".
struct StoredFolder {
    bool absolute = false;           // a drive ("C:"), a share ("\\server\share") or a leading separator
    std::vector<std::string> names;  // the folder names after the drive or server; "." dropped and,
                                     // for an absolute path, ".." applied
};
StoredFolder splitStoredFolder(std::string_view utf8);

// Where a work folder of the old computer is in the copy: a relative setting below old, an
// absolute one as its trailing folder names below old, longest first (C:\ZEMO\CD_SYS is looked
// for as ZEMO/CD_SYS, then CD_SYS). Every name is matched without regard to case.
struct FoundFolder {
    std::optional<std::filesystem::path> path;  // absolute, when found
    std::vector<std::string> lookedFor;         // the relative names tried, "/"-separated
    std::string problem;                        // why a name did not count (two folders for one name)
};
FoundFolder findOldFolder(const std::filesystem::path& old, std::string_view storedUtf8);

// The check of a data file's bytes as the program's reader takes them: the header, the
// information block, the records it announces, all there. A file that asks for its password
// (share form) is taken on its header and size alone.
struct FileCheck {
    bool ok = false;
    std::string reason;  // why not, in English
    std::string stored;  // the program's own message for it (UTF-8), "" when it has none
    int records = 0;     // the record count of a file that checked
    bool shareForm = false;
};
FileCheck checkDataFile(std::string_view bytes);
// The control file: the header check of the program's start, then its 2048 bytes.
FileCheck checkControlFile(std::string_view bytes);

// A name or path for the report: valid UTF-8 as it is, control characters and bytes that are not
// UTF-8 as escapes (\x1B, \xFF).
std::string printable(std::string_view bytes);

}  // namespace zemo::cli::migrate
