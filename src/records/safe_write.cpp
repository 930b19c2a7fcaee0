// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/safe_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace zemo {
namespace {

constexpr std::size_t kBlock = 8192;
constexpr int kMaxLinkHops = 40;
constexpr std::string_view kTempMark = ".zemo-tmp-";
constexpr std::size_t kSuffixLength = 6;

std::string folderOf(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Every temporary name of a file starts with this, so leftovers can be told from other files.
std::string tempPrefix(const std::string& path) { return "." + nameOf(path) + std::string(kTempMark); }

std::uint64_t mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A fresh temporary name for path in the same folder. The process id takes part, so a forked
// child does not repeat its parent's names; a clash is caught by O_EXCL anyway.
std::string tempName(const std::string& path) {
    static const std::uint64_t seed = (static_cast<std::uint64_t>(std::random_device{}()) << 32) ^
                                      static_cast<std::uint64_t>(std::random_device{}());
    static std::atomic<std::uint64_t> counter{0};
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uint64_t x = mix(seed ^ (static_cast<std::uint64_t>(::getpid()) << 40) ^ counter++);
    std::string suffix;
    for (std::size_t i = 0; i < kSuffixLength; ++i) {
        suffix += kAlphabet[x % (sizeof kAlphabet - 1)];
        x /= sizeof kAlphabet - 1;
    }
    const std::string folder = folderOf(path);
    return (folder == "/" ? "" : folder) + "/" + tempPrefix(path) + suffix;
}

bool sameInode(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

const char* saveStepName(SaveStep step) {
    switch (step) {
        case SaveStep::Cleanup: return "Cleanup";
        case SaveStep::Create: return "Create";
        case SaveStep::Write: return "Write";
        case SaveStep::Attributes: return "Attributes";
        case SaveStep::Flush: return "Flush";
        case SaveStep::Rename: return "Rename";
        case SaveStep::FlushFolder: return "FlushFolder";
    }
    return "?";
}

bool writeAll(int fd, const char* p, std::size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= static_cast<std::size_t>(w);
    }
    return true;
}

std::string resolveLinks(const std::string& path) {
    std::string p = path;
    for (int hops = 0; hops < kMaxLinkHops; ++hops) {
        struct stat st {};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        std::vector<char> buf(256);
        ssize_t n;
        while ((n = ::readlink(p.c_str(), buf.data(), buf.size())) == static_cast<ssize_t>(buf.size()))
            buf.resize(buf.size() * 2);
        if (n <= 0) return p;  // vanished meanwhile: the save acts on the name itself
        std::string link(buf.data(), static_cast<std::size_t>(n));
        p = link.front() == '/' ? link : folderOf(p) + "/" + link;
    }
    errno = ELOOP;
    return {};
}

void removeLeftovers(const std::string& resolvedPath) {
    const std::string folder = folderOf(resolvedPath);
    const std::string prefix = tempPrefix(resolvedPath);
    DIR* d = ::opendir(folder.c_str());
    if (d == nullptr) return;
    std::vector<std::string> names;
    while (const dirent* e = ::readdir(d)) {
        std::string_view name(e->d_name);
        if (name.size() == prefix.size() + kSuffixLength && name.substr(0, prefix.size()) == prefix)
            names.emplace_back(name);
    }
    ::closedir(d);
    for (const std::string& name : names) {
        const std::string full = (folder == "/" ? "" : folder) + "/" + name;
        int fd = ::open(full.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        // A save in progress holds its lock until the rename; one that died holds none.
        struct stat held {}, named {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            ::lstat(full.c_str(), &named) == 0 && sameInode(held, named))
            ::unlink(full.c_str());
        ::close(fd);
    }
}

std::string linkAside(const std::string& resolvedPath) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string aside = tempName(resolvedPath);
        if (::link(resolvedPath.c_str(), aside.c_str()) == 0) return aside;
        if (errno != EEXIST) return {};
    }
    return {};
}

StagedFile::StagedFile(std::string path, SaveStepHook hook) : path_(std::move(path)), hook_(std::move(hook)) {}

StagedFile::~StagedFile() { discard(); }

bool StagedFile::step(SaveStep s) { return !hook_ || hook_(s); }

bool StagedFile::failed(int err) {
    error_ = err != 0 ? err : EIO;
    discard();
    errno = error_;
    return false;
}

bool StagedFile::open(std::optional<mode_t> newMode) {
    if (error_ != 0 || fd_ >= 0 || committed_) return false;
    if (path_.empty()) return failed(ENOENT);
    target_ = resolveLinks(path_);
    if (target_.empty()) return failed(errno);
    struct stat old {};
    if (::stat(target_.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) return failed(S_ISDIR(old.st_mode) ? EISDIR : EINVAL);
        existed_ = true;
    } else if (errno != ENOENT) {
        return failed(errno);
    }

    if (step(SaveStep::Cleanup)) removeLeftovers(target_);

    if (!step(SaveStep::Create)) return failed(EIO);
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        temp_ = tempName(target_);
        int fd = ::open(temp_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            int err = errno;
            temp_.clear();
            return failed(err);
        }
        // The lock tells a concurrent cleanup that this file is in use. Where locks are not
        // supported the save goes on without that protection.
        (void)::flock(fd, LOCK_EX);
        struct stat held {}, named {};
        if (::fstat(fd, &held) == 0 && ::lstat(temp_.c_str(), &named) == 0 && sameInode(held, named)) {
            fd_ = fd;
            break;
        }
        ::close(fd);  // taken for a leftover between creation and lock: try another name
    }
    if (fd_ < 0) {
        temp_.clear();
        return failed(EEXIST);
    }

    if (existed_) {
        struct stat mine {};
        if (::fstat(fd_, &mine) == 0 && (mine.st_uid != old.st_uid || mine.st_gid != old.st_gid))
            (void)::fchown(fd_, old.st_uid, old.st_gid);  // only root or a group member can; best effort
        if (::fchmod(fd_, old.st_mode & 07777) != 0) return failed(errno);
    } else if (newMode && ::fchmod(fd_, *newMode & 07777) != 0) {
        return failed(errno);
    }
    return true;
}

bool StagedFile::write(const void* data, std::size_t size) {
    if (error_ != 0 || fd_ < 0 || committed_) return false;
    const char* p = static_cast<const char*>(data);
    for (std::size_t done = 0; done < size;) {
        const std::size_t n = std::min(kBlock, size - done);
        if (!step(SaveStep::Write)) return failed(EIO);
        if (!writeAll(fd_, p + done, n)) return failed(errno);
        done += n;
    }
    return true;
}

bool StagedFile::copyFrom(int in) {
    if (error_ != 0 || fd_ < 0 || committed_) return false;
    std::vector<char> buf(kBlock);
    for (;;) {
        ssize_t n = ::read(in, buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return failed(errno);
        }
        if (n == 0) return true;
        if (!step(SaveStep::Write)) return failed(EIO);
        if (!writeAll(fd_, buf.data(), static_cast<std::size_t>(n))) return failed(errno);
    }
}

bool StagedFile::setTimes(const struct stat& from) {
    if (error_ != 0 || fd_ < 0 || committed_) return false;
    if (!step(SaveStep::Attributes)) return failed(EIO);
    const struct timespec times[2] = {from.st_atim, from.st_mtim};
    if (::futimens(fd_, times) != 0) return failed(errno);
    return true;
}

bool StagedFile::setMode(mode_t mode) {
    if (error_ != 0 || fd_ < 0 || committed_) return false;
    if (!step(SaveStep::Attributes)) return failed(EIO);
    if (::fchmod(fd_, mode & 07777) != 0) return failed(errno);
    return true;
}

bool StagedFile::flush() {
    if (error_ != 0 || fd_ < 0 || committed_) return false;
    if (!step(SaveStep::Flush)) return failed(EIO);
    if (::fsync(fd_) != 0) return failed(errno);
    return true;
}

bool StagedFile::commit() {
    if (error_ != 0 || fd_ < 0 || committed_) return false;
    if (!step(SaveStep::Rename)) return failed(EIO);
    if (::rename(temp_.c_str(), target_.c_str()) != 0) return failed(errno);
    committed_ = true;
    temp_.clear();
    // Makes the rename itself durable; a failure here no longer endangers either version.
    if (step(SaveStep::FlushFolder)) {
        int dirFd = ::open(folderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd >= 0) {
            (void)::fsync(dirFd);
            ::close(dirFd);
        }
    }
    ::close(fd_);  // the contents were flushed before the rename
    fd_ = -1;
    return true;
}

void StagedFile::discard() {
    if (fd_ < 0) return;
    // Unlinked while still locked, so no cleanup can mistake it for someone else's leftover.
    if (!committed_ && !temp_.empty()) ::unlink(temp_.c_str());
    ::close(fd_);
    fd_ = -1;
    temp_.clear();
}

bool replaceFile(const std::string& path, const void* data, std::size_t size, const SaveStepHook& hook) {
    StagedFile file(path, hook);
    if (file.open() && file.write(data, size) && file.flush() && file.commit()) return true;
    errno = file.error();
    return false;
}

}  // namespace zemo
