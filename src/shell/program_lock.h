// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lock a running zemoplan holds on its program folder (ZEMOPLAN.LCK), read without Qt, and
// the private runtime folder of the raise-the-first-copy guard.
//
// The desktop program makes the lock with Qt's QLockFile and keeps it for its whole run. Its
// first lines are the process id, the executable's name and the host name, then (since Qt 5.10)
// the machine id and the boot id; the file stays flock()ed while its owner lives. Whoever makes
// the file owns it, and its modification time is when that copy started.
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace zemo {

// The lock file's name in the program folder.
inline constexpr const char* kFolderLockName = "ZEMOPLAN.LCK";
std::filesystem::path folderLockPath(const std::filesystem::path& programDir);

// What a lock file records, and who and what this machine is, for comparing the two.
struct LockRecord {
    long long pid = 0;
    std::string app;        // the executable's file name
    std::string host;       // the host name
    std::string machineId;  // empty in locks of old Qt versions
    std::string bootId;
};
// Parses a lock file's contents; false when they name no process (empty, garbage, pid <= 0).
bool parseLockRecord(std::string_view text, LockRecord& out);

struct ThisMachine {
    std::string host;
    std::string machineId;
    std::string bootId;
};
ThisMachine thisMachine();

// A lock recorded on this machine: by its machine id when both have one, else by host name
// (an empty one counts as this machine), as Qt decides it.
bool recordedHere(const LockRecord& r, const ThisMachine& me);

// Whether a process of this machine runs: kill(pid, 0) succeeds or is refused (EPERM); when its
// executable can be seen it must have the recorded name (a reused pid does not count).
bool processRunning(long long pid, const std::string& app);

enum class LockState {
    Free,   // no lock file
    Held,   // a copy on another computer, or a running one here
    Stale,  // left by a copy of this machine that is gone (or ran before the last boot)
};

struct LockHolder {
    LockState state = LockState::Free;
    bool readable = false;  // the file names a process (otherwise only user and since are known)
    LockRecord record;
    bool here = false;     // recorded on this machine
    std::string user;      // the file's owner: the account name, else the uid as a number
    std::time_t since = 0;  // the file's modification time
};

// Reads the lock file at path. An unreadable one (a copy that died while making it, or one still
// writing it) is held while some process keeps it flock()ed, else stale.
LockHolder readLock(const std::filesystem::path& path);
LockHolder readLock(const std::filesystem::path& path, const ThisMachine& me);

// The lock of the program folder when a running copy holds it (the commands that write the
// program's files refuse then); nothing when it is free or stale.
std::optional<LockHolder> folderHolder(const std::filesystem::path& programDir);

// "user NAME on computer HOST since YYYY/MM/DD HH:MM:SS (process PID)", for messages.
std::string describeHolder(const LockHolder& h);
// Local time as the program writes time stamps: "%4d/%.2d/%.2d %.2d:%.2d:%.2d".
std::string formatLockTime(std::time_t t);

// A lock of another computer this old or older may be taken over after a confirmation.
inline constexpr std::time_t kForeignLockAge = 24 * 60 * 60;
bool foreignLockOld(std::time_t since, std::time_t now);

// Removes a lock file unless a process holds it flock()ed (the way QLockFile keeps it), opening it
// read-only so that a lock of another account of the shop can go too. True when it is gone.
bool removeUnheldLock(const std::filesystem::path& path);

// Where the guard's lock and socket live: $XDG_RUNTIME_DIR when it is a private folder of the
// user, else a folder of the user's own under $XDG_CACHE_HOME (or ~/.cache) named after this
// computer, made 0700 when missing. Private means: a real folder (no link), owned by uid, with
// no access for group or others. Empty, with problem set, when there is none.
struct RuntimeSources {
    std::string xdgRuntimeDir;
    std::string xdgCacheHome;
    std::string home;
    std::string host;
    uid_t uid = 0;
};
RuntimeSources runtimeSources();  // of this process
std::filesystem::path privateRuntimeFolder(const RuntimeSources& s, std::string& problem);
// Why dir is not a private folder of uid ("" when it is).
std::string privateFolderProblem(const std::filesystem::path& dir, uid_t uid);

}  // namespace zemo
