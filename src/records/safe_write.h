// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file replacement that never leaves a truncated target behind.
//
// A new version is written beside the file under a hidden name that names it
// (".CD_DATA.ZMO.zemo-tmp-XXXXXX"), flushed, and put in place by one rename. A kill at any point
// leaves the old file or the new one whole; what it leaves behind goes with the next save of the
// same file. A symbolic link is written through: the new version goes into the folder of the file
// the link resolves to, so the rename stays on one file system and the link survives.
#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace zemo {

// The steps of a replacement, in the order they run. Write comes once per block of 8192 bytes.
enum class SaveStep { Cleanup, Create, Write, Attributes, Flush, Rename, FlushFolder };
const char* saveStepName(SaveStep step);

// Runs before every step. Returning false makes that step fail as a disk error would; a failed
// Cleanup or FlushFolder does not fail the save (neither endangers a version). For tests that
// fail or interrupt a save at a chosen point.
using SaveStepHook = std::function<bool(SaveStep)>;

// The file a save of path really writes: path with the links of its final name followed.
// Empty (errno ELOOP) for a loop of links.
std::string resolveLinks(const std::string& path);

// Removes the temporary files that interrupted saves of this (resolved) path left behind. A
// temporary file that a running save still holds is left alone.
void removeLeftovers(const std::string& resolvedPath);

// A hard link to an existing file under a fresh temporary name of that file, so that a version
// about to be replaced stays reachable; empty when none could be made.
std::string linkAside(const std::string& resolvedPath);

// A new version of one file, not yet in place. Discarded (its temporary file removed) unless
// committed. Every call returns false once a step has failed; error() then holds the errno.
class StagedFile {
public:
    explicit StagedFile(std::string path, SaveStepHook hook = {});
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Resolves links, refuses a target that is not a regular file, removes leftovers and creates
    // the temporary file with the target's mode and owner; a new target gets newMode when given.
    bool open(std::optional<mode_t> newMode = std::nullopt);
    bool write(const void* data, std::size_t size);
    // Everything from an open file's current position to its end.
    bool copyFrom(int fd);
    bool setTimes(const struct stat& from);
    // Gives the new version this mode (a backup takes that of the file it keeps).
    bool setMode(mode_t mode);
    // The new contents are on the disk.
    bool flush();
    // Renames the new version over the target and flushes the folder.
    bool commit();
    void discard();

    bool targetExisted() const { return existed_; }
    const std::string& target() const { return target_; }
    // The temporary file while open, for a writer that opens it by its name (a printer's output
    // file); it must write into that file, not replace it.
    const std::string& tempPath() const { return temp_; }
    int error() const { return error_; }

private:
    bool step(SaveStep s);
    bool failed(int err);

    std::string path_, target_, temp_;
    SaveStepHook hook_;
    int fd_ = -1;
    int error_ = 0;
    bool existed_ = false;
    bool committed_ = false;
};

// Replaces path with size bytes: afterwards it holds its previous contents or all of the new
// ones. false on any failure (errno says why), with no temporary file left behind.
bool replaceFile(const std::string& path, const void* data, std::size_t size, const SaveStepHook& hook = {});

// Writes all n bytes to a file descriptor, going on after interrupted or partial writes.
bool writeAll(int fd, const char* p, std::size_t n);

}  // namespace zemo
