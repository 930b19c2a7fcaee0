// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/program_lock.h"

#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

namespace zemo {

namespace fs = std::filesystem;

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::string firstLineOf(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    return std::string(trimmed(line));
}

std::string environment(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string accountName(uid_t uid) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name &&
        *found->pw_name)
        return found->pw_name;
    return std::to_string(uid);
}

struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

fs::path folderLockPath(const fs::path& programDir) { return programDir / kFolderLockName; }

bool parseLockRecord(std::string_view text, LockRecord& out) {
    std::vector<std::string_view> lines;
    while (!text.empty() && lines.size() < 5) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    if (lines.empty()) return false;
    const std::string_view pidText = trimmed(lines[0]);
    if (pidText.empty() || pidText.size() > 18) return false;
    long long pid = 0;
    for (char c : pidText) {
        if (c < '0' || c > '9') return false;
        pid = pid * 10 + (c - '0');
    }
    if (pid <= 0) return false;
    auto line = [&](std::size_t i) { return i < lines.size() ? std::string(trimmed(lines[i])) : std::string(); };
    out = {pid, line(1), line(2), line(3), line(4)};
    return true;
}

ThisMachine thisMachine() {
    ThisMachine me;
    utsname u{};
    if (::uname(&u) == 0) me.host = u.nodename;
    me.machineId = firstLineOf("/etc/machine-id");
    if (me.machineId.empty()) me.machineId = firstLineOf("/var/lib/dbus/machine-id");
    me.bootId = firstLineOf("/proc/sys/kernel/random/boot_id");
    return me;
}

bool recordedHere(const LockRecord& r, const ThisMachine& me) {
    if (!r.machineId.empty() && !me.machineId.empty()) return r.machineId == me.machineId;
    return r.host.empty() || r.host == me.host;
}

bool processRunning(long long pid, const std::string& app) {
    if (pid <= 0 || pid > INT_MAX) return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
    if (app.empty()) return true;
    char exe[64];
    std::snprintf(exe, sizeof exe, "/proc/%lld/exe", pid);
    std::vector<char> target(PATH_MAX + 1);
    const ssize_t n = ::readlink(exe, target.data(), target.size() - 1);
    if (n < 0) return errno != ENOENT;  // another account's process cannot be looked at: it runs
    std::string name(target.data(), static_cast<std::size_t>(n));
    const std::string deleted = " (deleted)";
    if (name.size() > deleted.size() && name.compare(name.size() - deleted.size(), deleted.size(), deleted) == 0)
        name.resize(name.size() - deleted.size());
    return fs::path(name).filename() == fs::path(app).filename();
}

LockHolder readLock(const fs::path& path) { return readLock(path, thisMachine()); }

LockHolder readLock(const fs::path& path, const ThisMachine& me) {
    LockHolder h;
    Fd f{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC)};
    struct stat st {};
    if (f.fd < 0) {
        if (errno == ENOENT) return h;
        // There but not to be opened (a link, no permission): someone's, and not ours to judge.
        h.state = LockState::Held;
        if (::lstat(path.c_str(), &st) == 0) {
            h.user = accountName(st.st_uid);
            h.since = st.st_mtime;
        }
        return h;
    }
    h.state = LockState::Held;
    if (::fstat(f.fd, &st) != 0) return h;
    h.user = accountName(st.st_uid);
    h.since = st.st_mtime;
    if (!S_ISREG(st.st_mode)) return h;
    std::string text(4096, '\0');
    const ssize_t n = ::read(f.fd, text.data(), text.size());
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    h.readable = parseLockRecord(text, h.record);
    if (!h.readable) {
        // A copy still writing its lock keeps it flock()ed from the moment it made it.
        if (::flock(f.fd, LOCK_SH | LOCK_NB) == 0) {
            ::flock(f.fd, LOCK_UN);
            h.state = LockState::Stale;
        }
        return h;
    }
    h.here = recordedHere(h.record, me);
    if (!h.here) return h;
    if (!h.record.bootId.empty() && !me.bootId.empty() && h.record.bootId != me.bootId) h.state = LockState::Stale;
    else if (!processRunning(h.record.pid, h.record.app)) h.state = LockState::Stale;
    return h;
}

std::optional<LockHolder> folderHolder(const fs::path& programDir) {
    LockHolder h = readLock(folderLockPath(programDir));
    if (h.state != LockState::Held) return std::nullopt;
    return h;
}

std::string formatLockTime(std::time_t t) {
    std::tm tm{};
    ::localtime_r(&t, &tm);
    char text[80];
    std::snprintf(text, sizeof text, "%4d/%.2d/%.2d %.2d:%.2d:%.2d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                  tm.tm_hour, tm.tm_min, tm.tm_sec);
    return text;
}

std::string describeHolder(const LockHolder& h) {
    std::string text = "user " + (h.user.empty() ? std::string("(unknown)") : h.user);
    if (h.readable) text += " on computer " + (h.record.host.empty() ? std::string("(unnamed)") : h.record.host);
    text += " since " + formatLockTime(h.since);
    if (h.readable) text += " (process " + std::to_string(h.record.pid) + ")";
    else text += " (the lock names no process)";
    return text;
}

bool foreignLockOld(std::time_t since, std::time_t now) { return now - since > kForeignLockAge; }

bool removeUnheldLock(const fs::path& path) {
    Fd f{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC)};
    if (f.fd < 0) return errno == ENOENT;
    if (::flock(f.fd, LOCK_EX | LOCK_NB) != 0) return false;
    // Only the file looked at: not one another start put there meanwhile.
    struct stat opened {}, named {};
    if (::fstat(f.fd, &opened) != 0 || ::lstat(path.c_str(), &named) != 0) return false;
    if (opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) return false;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

RuntimeSources runtimeSources() {
    RuntimeSources s;
    s.xdgRuntimeDir = environment("XDG_RUNTIME_DIR");
    s.xdgCacheHome = environment("XDG_CACHE_HOME");
    s.home = environment("HOME");
    s.uid = ::getuid();
    if (s.home.empty()) {
        std::vector<char> buffer(16384);
        passwd entry{};
        passwd* found = nullptr;
        if (::getpwuid_r(s.uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
            s.home = found->pw_dir;
    }
    s.host = thisMachine().host;
    return s;
}

std::string privateFolderProblem(const fs::path& dir, uid_t uid) {
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0) return dir.string() + ": " + std::strerror(errno);
    if (S_ISLNK(st.st_mode)) return dir.string() + " is a link";
    if (!S_ISDIR(st.st_mode)) return dir.string() + " is not a folder";
    if (st.st_uid != uid) return dir.string() + " belongs to another user";
    if ((st.st_mode & 077) != 0) return dir.string() + " is open to other users";
    return {};
}

fs::path privateRuntimeFolder(const RuntimeSources& s, std::string& problem) {
    problem.clear();
    if (!s.xdgRuntimeDir.empty()) {
        if (!fs::path(s.xdgRuntimeDir).is_absolute()) {
            problem = "XDG_RUNTIME_DIR is not an absolute path";
        } else {
            problem = privateFolderProblem(s.xdgRuntimeDir, s.uid);
            if (problem.empty()) return fs::path(s.xdgRuntimeDir).lexically_normal();
        }
    }
    fs::path base;
    if (!s.xdgCacheHome.empty() && fs::path(s.xdgCacheHome).is_absolute()) base = s.xdgCacheHome;
    else if (!s.home.empty() && fs::path(s.home).is_absolute()) base = fs::path(s.home) / ".cache";
    else {
        if (problem.empty()) problem = "no home folder";
        return {};
    }
    // Per computer: a home folder on a network drive is shared by the shop's computers.
    const fs::path folder = (base / ("zemoplan-run-" + (s.host.empty() ? std::string("localhost") : s.host)))
                                .lexically_normal();
    fs::path made;
    for (const fs::path& part : folder) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
            problem = made.string() + ": " + std::strerror(errno);
            return {};
        }
    }
    const std::string why = privateFolderProblem(folder, s.uid);
    if (!why.empty()) {
        problem = why;
        return {};
    }
    problem.clear();
    return folder;
}

}  // namespace zemo
