#pragma once
// The only place where data files are opened: load and save by kind, the user's own files,
// header checks and the share form.
#include <string>

#include "records/workspace.h"

namespace zemo {

int checkHeader(Workspace& ws, const std::string& path, int expectedKind);
// The same check for the system control file: no kind comparison, and a wrong magic is reported
// with the level still examined. 0, 47 or -1.
int checkControlHeader(Workspace& ws, const std::string& path);
int readHeader(Workspace& ws, const std::string& path, bool report, DataFileHeader& out);
int readInfo(Workspace& ws, const std::string& path, bool report, DataFileInfo& out);

// userPath empty: the kind's default path. count receives the number of records read.
int readDataFile(Workspace& ws, const std::string& userPath, int kind, TCddataArray& array, int& loadedFlag,
                 int& count, int capacity);
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
// Skips the kind comparison of the next transfer only (checkHeader, readDataFile, loadKind or
// chooseAndTransfer), however that transfer ends; every later one compares again.
void skipKindCheckOnce(Workspace& ws);

}  // namespace zemo
