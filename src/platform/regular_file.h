// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a file that may be something else: a FIFO without a writer, a device or a folder put in a
// file's place must never make a read wait, nor feed it for ever. Every reader of the program's
// files opens them through here.
#include <sys/stat.h>

#include <cerrno>
#include <cstddef>
#include <string>

namespace zemo {

// The error number a read gets for something that is there but is not a regular file.
inline constexpr int kNotRegularFile = EINVAL;

// A descriptor that closes itself.
class ReadFile {
public:
    ReadFile() = default;
    explicit ReadFile(int fd) : fd_(fd) {}
    ~ReadFile();
    ReadFile(ReadFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    ReadFile& operator=(ReadFile&& other) noexcept;
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // Reads exactly size bytes at the current position; false on an error or an early end.
    bool readExactly(void* out, std::size_t size);
    // Up to size bytes; the number read, -1 on an error.
    long readSome(void* out, std::size_t size);
    bool seek(std::size_t offset);

private:
    int fd_ = -1;
};

// Opens path for reading only when it is a regular file. The open never waits (a FIFO without a
// writer answers at once and is refused); the descriptor it gives blocks as usual. Not open on
// failure, with errno from the open, or kNotRegularFile (EISDIR for a folder). st, when given,
// receives what was opened.
ReadFile openRegularForReading(const std::string& path, struct stat* st = nullptr);

// The file's first bytes, at most limit of them. false (errno set) when it cannot be opened as a
// regular file or a read fails; out then holds what was read before the failure.
bool readRegularFile(const std::string& path, std::string& out, std::size_t limit, struct stat* st = nullptr);

}  // namespace zemo
