#include "app/cli/cli_files.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "records/control_file.h"
#include "records/data_file.h"
#include "records/file_services.h"

namespace zemo::cli {

namespace fs = std::filesystem;

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

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

// A hidden, fresh file beside target that a copy can be renamed from; "" when none can be made.
std::string freshHiddenFile(const std::string& target) {
    fs::path t(target);
    fs::path folder = t.parent_path();
    if (folder.empty()) folder = ".";
    std::string name = (folder / ("." + t.filename().string() + ".new-XXXXXX")).string();
    int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) return {};
    ::close(fd);
    return name;
}

}  // namespace

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

bool writeKeepingBackup(Session& session, const CommandHelp& help, const std::string& path, std::uintmax_t bytes,
                        const std::function<bool(int& err)>& write) {
    Workspace& ws = session.ws;
    const std::string native = nativePath(path);
    const std::string bak = backupPath(native);
    std::string aside;
    if (fileExists(ws, native)) {
        aside = freshHiddenFile(bak);
        const int savedErrno = errno;
        if (aside.empty() || copyFile(ws, native, aside) != 0) {
            const int err = aside.empty() ? savedErrno : 0;
            if (!aside.empty()) ::unlink(aside.c_str());
            failure(help, path + ": the previous file cannot be kept as " + bak + "; nothing written");
            explainFailure(help, bak, Access::Write, static_cast<std::uintmax_t>(fileSize(ws, native)), err);
            return false;
        }
    }
    int err = 0;
    if (!write(err)) {
        if (!aside.empty()) ::unlink(aside.c_str());
        explainFailure(help, path, Access::Write, bytes, err);
        return false;
    }
    if (!aside.empty() && ::rename(aside.c_str(), bak.c_str()) != 0) {
        const int renameErr = errno;
        ::unlink(aside.c_str());
        failure(help, path + " is written, but the previous file could not become " + bak + ": " + reasonOf(renameErr));
        return false;
    }
    return true;
}

}  // namespace zemo::cli
