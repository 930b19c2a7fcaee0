// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Headers of data files and the directories and default paths of the file kinds.
#include <string>

#include "records/workspace.h"

namespace zemo {

// A 128-byte header: share form (magic 0x1237, level 4) only when shareForm and share mode are on.
DataFileHeader buildHeader(bool shareForm, bool shareModeOn, const std::string& kindTitle, int fileKind,
                           const std::string& subTitle);

// "\" separators turned into "/".
std::string nativePath(const std::string& path);

// A stored directory made absolute (relative to the program folder), ending in "/"; the blanks
// around it are dropped, those inside kept.
std::string resolveDir(const Workspace& ws, const std::string& storedPath);
// A work directory of the path block (kPathSys, ...): the stored Shift-JIS text made a path.
std::string workDir(const Workspace& ws, int slot);
// Directory of a file kind: program folder for 0 and above 11, addDir for 5, libDir for 11, else sysDir.
std::string kindDir(const Workspace& ws, int kind);
// Directory of the kind joined with its default file name.
std::string defaultFilePath(const Workspace& ws, int kind);

}  // namespace zemo
