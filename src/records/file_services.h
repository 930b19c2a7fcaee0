// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File services and error reporting. The services never show anything: each records its outcome
// in the workspace's last-error slot and returns the code; callers decide whether to report.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "records/workspace.h"

namespace zemo {

// Error codes used by name in the code; the full table of texts is errorText().
enum FileError : int {
    kErrNone = 0,
    kErrDriveNotReady = 3,
    kErrRead = 26,
    kErrWrite = 27,
    kErrNotFound = 29,
    kErrDirNotFound = 30,
    kErrMakeDir = 32,
    kErrDelete = 34,
    kErrRename = 41,
    kErrBackup = 42,
    kErrRestore = 43,
    kErrHeader = 47,
    kErrSameName = 48,
    kErrCopy = 50,
};

// UTF-8 text of an error code; "ファイルエラー番号エラー！" outside 0..50.
std::string errorText(int code);

int setLastError(Workspace& ws, int code);  // returns the previous code
int lastError(const Workspace& ws);
void setErrorName(Workspace& ws, const std::string& name);

// Error box: name, "\n", error text, "\n", "dno=[%5d]".
void reportError(Workspace& ws, int reportNo);
std::string reportText(const Workspace& ws, int reportNo);

// Confirmation (OK / Cancel): 1 for OK, 3 otherwise. Text, "\n", path.
int confirm(Workspace& ws, const std::string& text, const std::string& path);
void inform(Workspace& ws, const std::string& text, const std::string& path);

// Every box goes through here: shown with the arrow cursor, the previous cursor put back after.
Answer showBox(Workspace& ws, BoxKind kind, const std::string& text, Buttons buttons);

void arrowCursor(Workspace& ws, bool on);
void busyCursor(Workspace& ws, bool on);

// Paths are UTF-8; "\" and "/" are both accepted as separators (nativePath, data_file.h).
int driveReady(Workspace& ws, const std::string& path);
bool fileExists(Workspace& ws, const std::string& path);
bool dirExists(Workspace& ws, const std::string& path);
std::int64_t fileSize(Workspace& ws, const std::string& path);
int deleteFile(Workspace& ws, const std::string& path);
int copyFile(Workspace& ws, const std::string& source, const std::string& target);
std::string backupPath(const std::string& path);
int makeBackup(Workspace& ws, const std::string& path);
int restoreBackup(Workspace& ws, const std::string& path);

// The system's reason for a failed file operation (an errno), in words the user reads: Japanese
// for the usual ones (a full disk, no permission, a file too large), else the system's own text.
std::string systemReasonText(int err);

// --- noticing a change made behind the program's back ---

// The name under which a file's stamp is kept: absolute, links and "." / ".." resolved.
std::string stampKey(const std::string& path);
// What is at path now, when it is a regular file (links followed).
std::optional<FileStamp> fileStampOf(const std::string& path);
// Remembers stamp as what the program last saw of path (a load taken before its read, or a save).
void rememberStamp(Workspace& ws, const std::string& path, const FileStamp& stamp);
// Remembers what is at path now; forgets path when no regular file is there.
void rememberFile(Workspace& ws, const std::string& path);
// Before a save replaces path: when a regular file is there that differs from what the last load
// or save of it saw, asks "(path) は読み込み後に変更されています。上書きしますか？" (Yes / No).
// true: go on (the file is new, was never loaded, is unchanged, or Yes; the file as it now is then
// counts as seen). false: No, write nothing.
bool confirmReplaceChanged(Workspace& ws, const std::string& path);

// Replaces path (through its links) with size bytes, never leaving a torn file. With keepBackup
// and an existing file, its previous contents and time stamp become backupPath(path) only once the
// new bytes are on the disk, and a failed save leaves both the file and its backup as they were.
// 0; -1 when the new bytes could not be put in place (last error 27 with the path); otherwise the
// code of the failed backup (42 with the path, or 3), nothing written. Shows nothing. The errno of
// a failed step is left in ws.lastErr.sysError (0 after a success).
int saveFile(Workspace& ws, const std::string& path, const void* data, std::size_t size, bool keepBackup);

}  // namespace zemo
