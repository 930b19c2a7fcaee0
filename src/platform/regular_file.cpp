// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/regular_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace zemo {

ReadFile::~ReadFile() {
    if (fd_ >= 0) ::close(fd_);
}

ReadFile& ReadFile::operator=(ReadFile&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

long ReadFile::readSome(void* out, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd_, out, size);
        if (got >= 0) return static_cast<long>(got);
        if (errno != EINTR) return -1;
    }
}

bool ReadFile::readExactly(void* out, std::size_t size) {
    char* p = static_cast<char*>(out);
    while (size > 0) {
        const long got = readSome(p, size);
        if (got <= 0) {
            if (got == 0) errno = EIO;  // the file ended early
            return false;
        }
        p += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool ReadFile::seek(std::size_t offset) {
    return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) == static_cast<off_t>(offset);
}

ReadFile openRegularForReading(const std::string& path, struct stat* st) {
    // O_NONBLOCK only for the open: it is what keeps a FIFO's open from waiting for a writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return ReadFile();
    // Closes the descriptor without losing the error number that says why.
    auto refuse = [fd](int err) {
        ::close(fd);
        errno = err;
        return ReadFile();
    };
    struct stat seen;
    if (::fstat(fd, &seen) != 0) return refuse(errno);
    if (!S_ISREG(seen.st_mode)) return refuse(S_ISDIR(seen.st_mode) ? EISDIR : kNotRegularFile);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) return refuse(errno);
    if (st) *st = seen;
    return ReadFile(fd);
}

bool readRegularFile(const std::string& path, std::string& out, std::size_t limit, struct stat* st) {
    out.clear();
    ReadFile file = openRegularForReading(path, st);
    if (!file.isOpen()) return false;
    char block[8192];
    while (out.size() < limit) {
        const std::size_t want = std::min(sizeof block, limit - out.size());
        const long got = file.readSome(block, want);
        if (got < 0) return false;
        if (got == 0) break;
        out.append(block, static_cast<std::size_t>(got));
    }
    return true;
}

}  // namespace zemo
