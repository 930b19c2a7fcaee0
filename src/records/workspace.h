// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the shell owns for the whole run. No globals: every test builds its own Workspace.
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "platform/clock.h"
#include "platform/prompter.h"
#include "records/record_array.h"
#include "records/safe_write.h"
#include "records/sys_control.h"

namespace zemo {

// The last-error slot of the file services: a code 0..50 and the file or directory concerned.
struct LastError {
    int code = 0;
    std::string name;  // UTF-8 path
    int sysError = 0;  // errno of the failed step of the last save, 0 when it succeeded
};

// What a load saw of a file (or what a save left), to notice a change made behind the program's
// back before a save replaces it.
struct FileStamp {
    std::int64_t size = 0;
    std::int64_t mtimeSec = 0;
    std::int64_t mtimeNsec = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileStamp&) const = default;
};

// A kind whose last read stopped at the array's capacity: the file it came from and how many
// records that file held, so that a save over that file does not drop the rest unasked.
struct ReadCut {
    std::string path;        // stampKey of the file; empty = the array holds no cut read
    int fileRecords = 0;
    bool confirmed = false;  // the user accepted the loss for the save under way
};

inline constexpr int kArrayKinds = 7;       // record arrays exist for kinds 1..7
inline constexpr int kIndexListEntries = 501;

class Workspace {
public:
    Workspace(Prompter& prompter, const Clock& clock, std::filesystem::path programDir = {});
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    Prompter& prompter;
    const Clock& clock;
    LastError lastErr;

    std::filesystem::path programDir;      // the program folder (absolute)
    std::filesystem::path executablePath;  // the running program, refused as a data file
    SysControl control{};                  // the in-memory control record
    bool shareFlag = false;                // run-time copy of control.shareMode

    int dbSize = 1;
    std::array<TCddataArray, kArrayKinds + 1> arrays;  // index = kind 1..7; [0] unused
    std::array<int, kArrayKinds + 1> capacities{};     // highest valid index per kind
    TLongintArray indexList;
    std::array<int, kArrayKinds + 1> loaded{};         // per-kind loaded flags

    std::map<std::string, FileStamp> fileStamps;      // per file (stampKey): as last read or written
    std::array<ReadCut, kArrayKinds + 1> readCuts{};  // per kind 1..7

    bool checkKindSwitch = true;  // off for the one transfer it was turned off for
    SaveStepHook saveHook;        // runs before each step of every file save (tests fail or interrupt saves)
    std::string nextMemo;         // memo typed into the chooser, for the next save (CP932)
    std::string openDialogDir, saveDialogDir;    // initial folders of the chooser
    std::string openDialogFile, saveDialogFile;  // last chosen paths

    // Capacities of kinds 1..7 for a database size (clamped to 1..20).
    static std::array<int, kArrayKinds + 1> capacitiesFor(int dbSize);
    // Creates the seven arrays (capacity + 1 slots each, cleared) and the index list.
    void createArrays(int dbSize);
    // A new database size for the rest of the run: the capacities follow it, the arrays whose
    // capacity depends on it (kinds 1, 3, 5) are recreated at their new size, cleared, and every
    // kind is marked not loaded, so the next window reads its file again.
    void changeDatabaseSize(int dbSize);
    // The array of a kind 1..7, nullptr otherwise.
    TCddataArray* array(int kind);
    const TCddataArray* array(int kind) const;
    int capacity(int kind) const { return (kind >= 1 && kind <= kArrayKinds) ? capacities[kind] : 0; }
};

}  // namespace zemo
