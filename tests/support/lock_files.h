// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the program-folder lock tests share: lock files as QLockFile writes them, a process id
// that is gone, and a snapshot of a folder to show that nothing in it was written.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>

#include "shell/program_lock.h"
#include "support/cli_run.h"

namespace zemo::testsupport {

inline void writeFile(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Sets a file's access and modification time; false when it cannot.
inline bool setMtime(const std::filesystem::path& p, std::time_t t) {
    timespec times[2] = {{t, 0}, {t, 0}};
    return ::utimensat(AT_FDCWD, p.c_str(), times, 0) == 0;
}

// A lock as QLockFile writes it: pid, executable name, host name, machine id, boot id.
inline std::string lockText(long long pid, const std::string& app, const ThisMachine& m) {
    return std::to_string(pid) + "\n" + app + "\n" + m.host + "\n" + m.machineId + "\n" + m.bootId + "\n";
}

// A process id that was used a moment ago and is gone now.
inline long long deadPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

// Every file under dir with its bytes and modification time.
using FolderSnapshot = std::map<std::string, std::pair<std::string, long long>>;
inline FolderSnapshot snapshot(const std::filesystem::path& dir) {
    FolderSnapshot out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir)) {
        struct stat st {};
        ::lstat(e.path().c_str(), &st);
        const long long mtime = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
        out[e.path().string()] = {e.is_regular_file() ? slurp(e.path()) : std::string(), mtime};
    }
    return out;
}

}  // namespace zemo::testsupport
