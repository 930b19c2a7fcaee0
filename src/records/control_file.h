// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system control file "ZEMOCTRL.DAT" in the program folder, and the work directories.
#include <string>

#include "records/workspace.h"

namespace zemo {

std::string controlFilePath(const Workspace& ws);

// The planning settings of a new control file: startA 1, startB 1, plusOnly 1, tolerance 5, the rest 0.
ShufControl defaultShufControl();

// Fills ws.control with the creation defaults (label block and presets included).
void initControlDefaults(Workspace& ws);

// Reads the file into ws.control; 0 or an error code. showFatal adds the fatal message on failure.
int loadControl(Workspace& ws, bool showFatal);
// Writes the whole record; 0 or -1.
int saveControl(Workspace& ws);
// saveControl guarded by a ".BAK" copy unless backupMode is 1.
int saveControlWithBackup(Workspace& ws, int backupMode);
// The start-up sequence; non-zero means the application cannot go on.
int startControl(Workspace& ws);

// Checks and, with consent, creates sysDir, addDir, txtDir and libDir: 0, 3 (abort) or 5.
int checkDataDirs(Workspace& ws);
// Whether a user-chosen name may be written: 0 yes, -1 no.
int checkSaveName(Workspace& ws, const std::string& path, bool confirmOverwrite, bool showMessages);
// A user's path without the blanks (ASCII and full-width spaces) before and after it, as the save-name
// check, the data-file chooser and the work folders take it; blanks inside it are kept.
std::string trimPathBlanks(const std::string& path);

// resolveDir, kindDir and defaultFilePath are in data_file.h.

}  // namespace zemo
