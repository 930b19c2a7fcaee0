// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/cli_files.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <system_error>

#include "records/control_file.h"
#include "records/data_file.h"
#include "records/file_services.h"
#include "records/text.h"

namespace zemo::cli {

namespace fs = std::filesystem;

namespace {

// The name a path reaches: links at its end followed one by one (a dangling one too, since a
// write would create the file it names), the folders above resolved by the kernel.
fs::path followLinks(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::absolute(nativePath(path), ec);
    if (ec) p = nativePath(path);
    for (int hops = 0; hops < 40; ++hops) {
        if (!fs::is_symlink(fs::symlink_status(p, ec))) break;
        fs::path target = fs::read_symlink(p, ec);
        if (ec) break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    fs::path folder = fs::weakly_canonical(p.parent_path(), ec);
    return ec ? p.lexically_normal() : folder / p.filename();
}

std::string kindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return "";
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

// Copies aside that earlier versions of this tool made while saving (".NAME.BAK.new-XXXXXX" beside
// the .BAK) and that a run killed meanwhile left behind. No save holds such a name any more.
void removeOldCopiesAside(const std::string& bak) {
    const fs::path b(bak);
    const fs::path folder = b.parent_path().empty() ? fs::path(".") : b.parent_path();
    const std::string prefix = "." + b.filename().string() + ".new-";
    constexpr std::size_t kSuffix = 6;  // mkostemp's XXXXXX
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() != prefix.size() + kSuffix || name.compare(0, prefix.size(), prefix) != 0) continue;
        struct stat st;
        if (::lstat(it->path().c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(it->path().c_str());
    }
}

}  // namespace

bool isWholePdf(const std::string& path, std::uintmax_t& size, int& err) {
    size = 0;
    err = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return false;
    }
    auto readAt = [&](std::uintmax_t offset, std::size_t n) {
        std::string bytes(n, '\0');
        const ssize_t got = ::pread(fd, bytes.data(), n, static_cast<off_t>(offset));
        if (got < 0) err = errno;
        bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return bytes;
    };
    struct stat st;
    bool whole = false;
    if (::fstat(fd, &st) != 0) {
        err = errno;
    } else if (S_ISREG(st.st_mode)) {
        size = static_cast<std::uintmax_t>(st.st_size);
        const std::size_t n = static_cast<std::size_t>(std::min<std::uintmax_t>(size, 64));
        std::string tail = readAt(size - n, n);
        while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r')) tail.pop_back();
        const std::size_t mark = tail.rfind("startxref");
        if (tail.size() >= 5 && tail.compare(tail.size() - 5, 5, "%%EOF") == 0 && mark != std::string::npos) {
            std::uintmax_t offset = 0;
            const char* p = tail.data() + mark + 9;
            const char* end = tail.data() + tail.size();
            while (p < end && (*p == ' ' || *p == '\r' || *p == '\n')) ++p;
            auto [q, ec] = std::from_chars(p, end, offset);
            whole = ec == std::errc{} && q != p && offset < size && readAt(offset, 4) == "xref";
        }
    }
    ::close(fd);
    return whole;
}

std::string reasonOf(int err) {
    switch (err) {
        case ENOENT: return "no such file or folder";
        case ENOTDIR: return "a part of the path is not a folder";
        case EISDIR: return "is a folder";
        case EACCES:
        case EPERM: return "permission denied";
        case ENOSPC: return "no space left on the disk";
        case EDQUOT: return "disk quota exceeded";
        case EFBIG: return "file too large";
        case EROFS: return "read-only file system";
        case EIO: return "input/output error";
        case ELOOP: return "too many levels of links";
        case ENAMETOOLONG: return "file name too long";
        default: break;
    }
    std::string text = std::strerror(err);
    if (!text.empty()) text[0] = lowerAscii(text[0]);
    return text;
}

std::string nonRegularKind(const std::string& path) {
    struct stat st;
    if (::stat(nativePath(path).c_str(), &st) != 0) return "";
    return kindOfMode(st.st_mode);
}

std::optional<int> refuseNonRegular(const CommandHelp& help, const std::string& path) {
    const std::string kind = nonRegularKind(path);
    if (kind.empty()) return std::nullopt;
    return failure(help, path + " is " + kind + ", not a regular file");
}

std::optional<int> takePassword(const CommandHelp& help, const Args& args, Session& session) {
    if (auto pw = args.value("--password")) {
        auto bytes = argumentToSjis(*pw);
        if (!bytes) return usageError(help, "the password has a character that Shift-JIS lacks");
        session.prompter.password = *bytes;
    }
    return std::nullopt;
}

std::optional<int> readInputFile(const CommandHelp& help, Session& session, const std::string& path, LoadedFile& file) {
    if (readAnyDataFile(session, path, file) == DataFileRead::Ok) return std::nullopt;
    if (session.prompter.shown == 0) failure(help, path + ": not read");
    explainFailure(help, path, Access::Read);
    return kExitFailed;
}

FileIdentity identify(const std::string& path) {
    FileIdentity id;
    id.resolved = followLinks(path);
    struct stat st;
    if (::stat(nativePath(path).c_str(), &st) == 0) {
        id.exists = true;
        id.device = st.st_dev;
        id.inode = st.st_ino;
    }
    return id;
}

bool sameFile(const FileIdentity& a, const FileIdentity& b) {
    if (a.exists && b.exists) return a.device == b.device && a.inode == b.inode;
    return equalIgnoringCase(a.resolved.string(), b.resolved.string());
}

std::vector<ProtectedFile> programFiles(Session& session) {
    const std::string control = controlFilePath(session.ws);
    return {{control, "the program's control file"}, {backupPath(control), "the control file's backup"}};
}

std::optional<int> checkOutput(const CommandHelp& help, const std::string& path,
                               const std::vector<ProtectedFile>& direct,
                               const std::vector<ProtectedFile>& forBackup) {
    if (auto refused = refuseNonRegular(help, path)) return refused;
    const FileIdentity out = identify(path);
    auto named = [](const ProtectedFile& p, const std::string& spelling) {
        return p.path == spelling ? p.role : p.role + " (" + p.path + ")";
    };
    for (const ProtectedFile& p : direct)
        if (sameFile(out, identify(p.path)))
            return failure(help, path + " is " + named(p, path) + "; nothing written, choose another output");
    const std::string bak = backupPath(nativePath(path));
    const FileIdentity bakId = identify(bak);
    if (sameFile(out, bakId))
        return failure(help, path + ": a .BAK name is kept for backups (the file would be its own backup); "
                             "choose another output");
    if (!out.exists) return std::nullopt;
    if (const std::string kind = nonRegularKind(bak); !kind.empty())
        return failure(help, bak + " is " + kind + ", so " + path + " cannot be kept as its backup; nothing written");
    for (const ProtectedFile& p : forBackup)
        if (sameFile(bakId, identify(p.path)))
            return failure(help, "keeping " + path + " as " + bak + " would replace " + named(p, bak) +
                                     "; nothing written, choose another output");
    return std::nullopt;
}

std::string systemReason(const std::string& path, Access access, std::uintmax_t bytes, int err) {
    const fs::path target = followLinks(path);
    const fs::path folder = target.parent_path();
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0) {
        if (errno == ENOENT) return "no such folder";
        return reasonOf(errno);
    }
    if (!S_ISDIR(st.st_mode)) return "a part of the path is not a folder";
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return "is a folder";
    if (access == Access::Read) {
        if (exists && ::access(target.c_str(), R_OK) != 0) return reasonOf(errno);
    } else {
        // A save writes a new file into the folder and renames it over the old one.
        if (::access(folder.c_str(), W_OK | X_OK) != 0) return reasonOf(errno);
        struct statvfs vs;
        if (bytes > 0 && ::statvfs(folder.c_str(), &vs) == 0 &&
            static_cast<std::uintmax_t>(vs.f_bavail) * vs.f_frsize < bytes)
            return reasonOf(ENOSPC);
        struct rlimit limit;
        if (bytes > 0 && ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
            limit.rlim_cur < bytes)
            return reasonOf(EFBIG);
    }
    // Only an error number that names a file condition; anything else says nothing useful here.
    switch (err) {
        case ENOENT: case ENOTDIR: case EISDIR: case EACCES: case EPERM: case ENOSPC: case EDQUOT:
        case EFBIG: case EROFS: case EIO:
            return reasonOf(err);
        default:
            return "";
    }
}

void explainFailure(const CommandHelp& help, const std::string& path, Access access, std::uintmax_t bytes,
                    int err) {
    const std::string reason = systemReason(path, access, bytes, err);
    if (!reason.empty()) std::fprintf(stderr, "zemo %s: %s: %s\n", help.name, path.c_str(), reason.c_str());
}

std::vector<ProtectedFile> inputFiles(const std::string& path) {
    return {{path, "the input"}, {backupPath(nativePath(path)), "the input's backup"}};
}

bool writeKeepingBackup(Session& session, const CommandHelp& help, const std::string& path, std::uintmax_t bytes,
                        const OutputWriter& writer) {
    Workspace& ws = session.ws;
    const std::string native = nativePath(path);
    const std::string bak = backupPath(native);
    removeOldCopiesAside(bak);
    if (const std::string bakTarget = resolveLinks(bak); !bakTarget.empty()) removeLeftovers(bakTarget);

    // The file about to be replaced, staged as the next .BAK before anything is written; it goes
    // in place only once the new file is.
    std::unique_ptr<StagedFile> kept;
    const int in = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (in >= 0 || ::stat(native.c_str(), &st) == 0) {
        int err = errno;
        bool ok = false;
        if (in >= 0) {
            kept = std::make_unique<StagedFile>(bak, ws.saveHook);
            ok = ::fstat(in, &st) == 0 && S_ISREG(st.st_mode) && kept->open() && kept->setMode(st.st_mode) &&
                 kept->copyFrom(in) && kept->setTimes(st) && kept->flush();
            err = kept->error();
            ::close(in);
        }
        if (!ok) {
            failure(help, path + ": the previous file cannot be kept as " + bak + "; nothing written");
            explainFailure(help, bak, Access::Write, static_cast<std::uintmax_t>(st.st_size), err);
            return false;
        }
    }

    if (writer.save) {
        if (!writer.save()) return false;
    } else {
        StagedFile staged(native, ws.saveHook);
        switch (writer.fill(staged)) {
            case OutputWriter::Filled::Nothing: return true;
            case OutputWriter::Filled::Failed: return false;
            case OutputWriter::Filled::Written: break;
        }
        if (!staged.flush() || !staged.commit()) {
            failure(help, path + ": cannot write");
            explainFailure(help, path, Access::Write, bytes, staged.error());
            return false;
        }
    }
    if (kept && !kept->commit()) {
        failure(help, path + " is written, but the previous file could not become " + bak + ": " +
                          reasonOf(kept->error()));
        return false;
    }
    return true;
}

OutputWriter bytesWriter(const CommandHelp& help, const std::string& path, std::string_view bytes) {
    OutputWriter writer;
    writer.fill = [&help, path, bytes](StagedFile& staged) {
        if (staged.open() && staged.write(bytes.data(), bytes.size())) return OutputWriter::Filled::Written;
        failure(help, path + ": cannot write");
        explainFailure(help, path, Access::Write, bytes.size(), staged.error());
        return OutputWriter::Filled::Failed;
    };
    return writer;
}

OutputWriter pdfWriter(Session& session, const CommandHelp& help, const std::string& path,
                       const std::function<Printed(const std::string& file)>& print) {
    OutputWriter writer;
    writer.fill = [&session, &help, path, print](StagedFile& staged) {
        auto notStarted = [&] {
            session.prompter.message(BoxKind::Error, "印刷を開始できません\n" + path, Buttons::Ok);
            return OutputWriter::Filled::Failed;
        };
        if (!staged.open()) return notStarted();
        switch (print(staged.tempPath())) {
            case Printed::Nothing: return OutputWriter::Filled::Nothing;
            case Printed::NotStarted: return notStarted();
            case Printed::Failed: return OutputWriter::Filled::Failed;
            case Printed::Done: break;
        }
        // The printer says nothing of a failed write; a PDF cut short has no end.
        std::uintmax_t size = 0;
        int err = 0;
        if (isWholePdf(staged.tempPath(), size, err)) return OutputWriter::Filled::Written;
        failure(help, path + ": cannot write");
        // The file needed at least one byte more than it got.
        const std::string reason = systemReason(path, Access::Write, size + 1, err);
        failure(help, path + ": " + (reason.empty() ? std::string("the PDF is not whole (cut short)") : reason));
        return OutputWriter::Filled::Failed;
    };
    return writer;
}

}  // namespace zemo::cli
