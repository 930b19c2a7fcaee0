// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The only place where data files are opened: load and save by kind, the user's own files,
// header checks and the share form.
#include <initializer_list>
#include <string>

#include "records/file_services.h"
#include "records/workspace.h"

namespace zemo {

// How reading a data file's head or its records ended; every failure has been shown (or, for a
// head read without reports, only recorded). The values are the codes the callers and the file
// error table share; keep them.
enum class [[nodiscard]] DataFileRead : int {
    Ok = 0,
    Failed = -1,              // missing, unreadable, damaged, or of a version no reader knows
    WrongMagic = kErrHeader,  // 47: not a data file; reported with its number
    Stopped = kErrRead,       // 26: the password prompt was cancelled or refused, or the cut declined
};

// The numeric code.
[[nodiscard]] constexpr int readCode(DataFileRead r) noexcept { return static_cast<int>(r); }

// Ok, Failed or WrongMagic.
DataFileRead checkHeader(Workspace& ws, const std::string& path, int expectedKind);
// The same check for the system control file: no kind comparison, and a wrong magic is reported
// with the level still examined (a wrong level then wins: Failed).
DataFileRead checkControlHeader(Workspace& ws, const std::string& path);
// Ok or Failed.
DataFileRead readHeader(Workspace& ws, const std::string& path, bool report, DataFileHeader& out);
DataFileRead readInfo(Workspace& ws, const std::string& path, bool report, DataFileInfo& out);

// userPath empty: the kind's default path. count receives the number of records read. Ok, or any
// failure: Failed, WrongMagic or Stopped (the array then as it was).
DataFileRead readDataFile(Workspace& ws, const std::string& userPath, int kind, TCddataArray& array,
                          int& loadedFlag, int& count, int capacity);
int writeDataFile(Workspace& ws, bool shareForm, const std::string& path, int kind, const TCddataArray& array,
                  int capacity);
// writeDataFile that, with keepBackup and an existing file, keeps its previous contents as its
// ".BAK" copy, replaced only once the new file is written (saveFile, file_services.h). 0; -1 after
// the "ファイルエラー！" box; or the failed backup's code, not reported, with nothing changed.
int writeDataFileWithBackup(Workspace& ws, bool shareForm, const std::string& path, int kind,
                            const TCddataArray& array, int capacity, bool keepBackup);
int writeEmptyFile(Workspace& ws, int kind, int capacity, TCddataArray& array);
int saveKind(Workspace& ws, int backupMode, int kind, int capacity, TCddataArray& array);
int loadKind(Workspace& ws, int kind, int capacity, int& count, TCddataArray& array, int& loadedFlag);
int chooseAndTransfer(Workspace& ws, bool askMode, int mode, int kind, TCddataArray& array, int& done,
                      int& loadedFlag, int capacity);
// Before a save, writeDataFile (and so saveKind) asks the questions that protect what is on disk,
// and writes nothing on No (-1, no further box): "(path) は読み込み後に変更されています。上書きしますか？"
// (Yes / No) when the file changed since it was read or written here, and, when the kind was read
// cut to its capacity from this very file, how many of its records the file would lose (Yes / No,
// No the default). confirmKindSaves asks them up front for saving these kinds to their default
// files, so that a window saving several files writes none of them on a No: 0 go on (later
// saves of these kinds do not ask again), -1 No (nothing changed).
int confirmKindSaves(Workspace& ws, std::initializer_list<int> kinds);
// Drops what confirmKindSaves agreed for saves that were not made after all.
void clearSaveConfirmations(Workspace& ws);

// Skips the kind comparison of the next transfer only (checkHeader, readDataFile, loadKind or
// chooseAndTransfer), however that transfer ends; every later one compares again.
void skipKindCheckOnce(Workspace& ws);

}  // namespace zemo
