// SPDX-License-Identifier: GPL-3.0-or-later
// File services on POSIX. Every service records its outcome in the workspace's last-error slot;
// nothing here shows a box except the report and question helpers.
#include "records/file_services.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "records/data_file.h"
#include "records/safe_write.h"
#include "records/text.h"

namespace zemo {

namespace fs = std::filesystem;

namespace {

constexpr std::array<const char*, 51> kErrorTexts = {
    "正常",  // 0
    "書き込み禁止です！",  // 1
    "ドライブ指定が違います！",  // 2
    "ドライブの準備ができていません！",  // 3
    "無効なコマンドです！",  // 4
    "データエラーです！",  // 5
    "要求形式が違います！",  // 6
    "シークエラーです！",  // 7
    "このディスクは扱えません！",  // 8
    "セクタが見つかりません！",  // 9
    "用紙がありません！",  // 10
    "書込みができません！",  // 11
    "読取りができません！",  // 12
    "エラーです。(0x0C)",  // 13
    "エラーです。(0x0D)",  // 14
    "エラーです。(0x0E)",  // 15
    "不正なデイスクの交換です！",  // 16
    "その他デイスクのエラーです！",  // 17
    "ファイル追加オープンできません！",  // 18
    "ファイル読込オープンできません！",  // 19
    "ファイル書込オープンできません！",  // 20
    "ファイル読書オープンできません！",  // 21
    "ファイル書込オープンできません！(ﾃｷｽﾄ)",  // 22
    "ファイル追加オープンできません！(ﾃｷｽﾄ)",  // 23
    "ファイル読込オープンできません！(ﾃｷｽﾄ)",  // 24
    "ファイルクローズエラーです！",  // 25
    "ファイル読み込エラーです！",  // 26
    "ファイル書込みエラーです！",  // 27
    "ファイルシークエラーです！",  // 28
    "ファイルが見つかりません！",  // 29
    "ディレクトリが見つかりません！",  // 30
    "ディスクがいっぱいです！",  // 31
    "ディレクトリ作成エラーです！",  // 32
    "ディレクトリ削除エラーです！",  // 33
    "ファイル削除エラーです！",  // 34
    "ファイル日時取得エラーです！",  // 35
    "ファイル日時設定エラーです！",  // 36
    "ファイル属性取得エラーです！",  // 37
    "ファイル属性設定エラーです！",  // 38
    "ディスク空きエリア取得エラーです！",  // 39
    "ファイル初期化サイズ０エラーです！",  // 40
    "ファイル名変更エラーです！",  // 41
    "バックアップファイル作成エラーです！",  // 42
    "バックアップファイルの復活エラーです！",  // 43
    "オリジナルファイル作成エラーです！",  // 44
    "オリジナルファイルの復活エラーです！",  // 45
    "文字列など作成ワークをオーバしました！",  // 46
    "ファイルヘッダーが不正です！",  // 47
    "コピー元とコピー先のファイル名が同じです！",  // 48
    "コピー先ファイルサイズエラーです！",  // 49
    "ファイルコピーエラー！",  // 50
};

int fail(Workspace& ws, int code, const std::string& name) {
    ws.lastErr.code = code;
    ws.lastErr.name = name;
    return code;
}

int succeed(Workspace& ws) {
    ws.lastErr.code = kErrNone;
    return kErrNone;
}

bool statPath(const std::string& native, struct stat& st) { return ::stat(native.c_str(), &st) == 0; }

// Anything at the path, a dangling link included: what a delete or rename would act on.
bool entryExists(const std::string& native) {
    struct stat st;
    return ::lstat(native.c_str(), &st) == 0;
}

bool isDirectory(const std::string& native) {
    struct stat st;
    return statPath(native, st) && S_ISDIR(st.st_mode);
}

// Both names reach the same file: equal ignoring case, or one inode under two spellings.
bool sameFile(const std::string& a, const std::string& b) {
    if (equalIgnoringCase(a, b)) return true;
    struct stat sa, sb;
    return statPath(a, sa) && statPath(b, sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

std::string errorText(int code) {
    if (code < 0 || code >= static_cast<int>(kErrorTexts.size())) return "ファイルエラー番号エラー！";
    return kErrorTexts[static_cast<std::size_t>(code)];
}

int setLastError(Workspace& ws, int code) {
    int previous = ws.lastErr.code;
    ws.lastErr.code = code;
    return previous;
}

int lastError(const Workspace& ws) { return ws.lastErr.code; }

void setErrorName(Workspace& ws, const std::string& name) { ws.lastErr.name = name; }

std::string reportText(const Workspace& ws, int reportNo) {
    char dno[32];
    std::snprintf(dno, sizeof dno, "dno=[%5d]", reportNo);
    return ws.lastErr.name + "\n" + errorText(ws.lastErr.code) + "\n" + dno;
}

void reportError(Workspace& ws, int reportNo) {
    showBox(ws, BoxKind::Error, reportText(ws, reportNo), Buttons::Ok);
}

int confirm(Workspace& ws, const std::string& text, const std::string& path) {
    Answer a = showBox(ws, BoxKind::Confirmation, text + "\n" + path, Buttons::OkCancel);
    return a == Answer::Ok ? 1 : 3;
}

void inform(Workspace& ws, const std::string& text, const std::string& path) {
    showBox(ws, BoxKind::Information, text + "\n" + path, Buttons::Ok);
}

// The volume answers when the nearest existing ancestor of the absolute path can be queried;
// a path that does not exist yet still lies on a ready volume.
int driveReady(Workspace& ws, const std::string& path) {
    std::string native = nativePath(path);
    if (native.empty()) native = ".";
    std::error_code ec;
    fs::path probe = fs::absolute(fs::path(native), ec);
    if (ec) return fail(ws, kErrDriveNotReady, path);
    probe = probe.lexically_normal();
    for (;;) {
        struct stat st;
        if (::stat(probe.c_str(), &st) == 0) {
            struct statvfs vs;
            if (::statvfs(probe.c_str(), &vs) == 0) return succeed(ws);
            return fail(ws, kErrDriveNotReady, path);
        }
        // Only "not there (yet)" walks up; an I/O error or a stale mount means the volume is gone.
        if (errno != ENOENT && errno != ENOTDIR && errno != EACCES && errno != ELOOP && errno != ENAMETOOLONG)
            return fail(ws, kErrDriveNotReady, path);
        fs::path parent = probe.parent_path();
        if (parent == probe || parent.empty()) return fail(ws, kErrDriveNotReady, path);
        probe = parent;
    }
}

bool fileExists(Workspace& ws, const std::string& path) {
    if (driveReady(ws, path) != kErrNone) return false;
    struct stat st;
    if (!statPath(nativePath(path), st) || S_ISDIR(st.st_mode)) {
        fail(ws, kErrNotFound, path);
        return false;
    }
    succeed(ws);
    return true;
}

bool dirExists(Workspace& ws, const std::string& path) {
    if (driveReady(ws, path) != kErrNone) return false;
    if (!isDirectory(nativePath(path))) {
        fail(ws, kErrDirNotFound, path);
        return false;
    }
    succeed(ws);
    return true;
}

std::int64_t fileSize(Workspace& ws, const std::string& path) {
    struct stat st;
    if (!statPath(nativePath(path), st) || S_ISDIR(st.st_mode)) {
        fail(ws, kErrNotFound, path);
        return -1;
    }
    succeed(ws);
    return static_cast<std::int64_t>(st.st_size);
}

int deleteFile(Workspace& ws, const std::string& path) {
    if (::unlink(nativePath(path).c_str()) != 0) return fail(ws, kErrDelete, path);
    return succeed(ws);
}

int copyFile(Workspace& ws, const std::string& source, const std::string& target) {
    std::string src = nativePath(source);
    std::string dst = nativePath(target);
    if (equalIgnoringCase(src, dst)) return fail(ws, kErrSameName, target);
    if (driveReady(ws, source) != kErrNone) return lastError(ws);
    if (driveReady(ws, target) != kErrNone) return lastError(ws);

    if (isDirectory(dst)) dst = (fs::path(dst) / fs::path(src).filename()).string();
    // Copying a file onto itself would read what is being replaced; refuse it like equal names.
    if (sameFile(src, dst)) return fail(ws, kErrSameName, dst);

    int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return fail(ws, kErrCopy, dst);
    struct stat sst;
    bool ok = ::fstat(in, &sst) == 0 && S_ISREG(sst.st_mode);
    if (ok) {
        // A new target gets the source's mode; an existing one keeps its own.
        StagedFile out(dst, ws.saveHook);
        ok = out.open(sst.st_mode & 07777) && out.copyFrom(in) && out.setTimes(sst) && out.flush() && out.commit();
    }
    ::close(in);
    if (!ok) return fail(ws, kErrCopy, dst);
    return succeed(ws);
}

std::string backupPath(const std::string& path) {
    std::size_t nameStart = path.find_last_of("/\\");
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    std::size_t dot = path.rfind('.');
    // A dot in a folder name, or the leading dot of a hidden name, is no extension.
    if (dot == std::string::npos || dot <= nameStart) return path + ".BAK";
    return path.substr(0, dot) + ".BAK";
}

int makeBackup(Workspace& ws, const std::string& path) {
    if (driveReady(ws, path) != kErrNone) return lastError(ws);
    if (!fileExists(ws, path)) return lastError(ws);  // 29 with its name
    std::string bak = backupPath(path);
    // A file that is its own backup name ("X.BAK") would be deleted before it is copied.
    if (sameFile(nativePath(path), nativePath(bak))) return fail(ws, kErrBackup, path);
    if (entryExists(nativePath(bak)) && deleteFile(ws, bak) != kErrNone) return lastError(ws);
    if (copyFile(ws, path, bak) != kErrNone) return fail(ws, kErrBackup, path);
    return lastError(ws);
}

int restoreBackup(Workspace& ws, const std::string& path) {
    if (driveReady(ws, path) != kErrNone) return lastError(ws);
    std::string bak = backupPath(path);
    // Restoring a file from itself would delete the only copy first.
    if (sameFile(nativePath(path), nativePath(bak))) return fail(ws, kErrRestore, path);
    if (!fileExists(ws, bak)) return fail(ws, kErrNotFound, bak);
    if (entryExists(nativePath(path)) && deleteFile(ws, path) != kErrNone) return lastError(ws);
    if (::rename(nativePath(bak).c_str(), nativePath(path).c_str()) != 0) return fail(ws, kErrRestore, path);
    return succeed(ws);
}

std::string systemReasonText(int err) {
    switch (err) {
        case ENOSPC:
        case EDQUOT: return "ディスクがいっぱいです";
        case EACCES:
        case EPERM:
        case EROFS: return "書き込みが許可されていません";
        case EFBIG: return "ファイルが大きすぎます";
        case EIO: return "ディスクの読み書きに失敗しました";
        case EISDIR: return "同じ名前のフォルダがあります";
        case ENOENT:
        case ENOTDIR: return "フォルダが見つかりません";
        default: return std::strerror(err);
    }
}

std::string stampKey(const std::string& path) {
    const std::string native = nativePath(path);
    std::error_code ec;
    fs::path key = fs::weakly_canonical(fs::path(native), ec);
    if (ec || key.empty()) key = fs::absolute(fs::path(native), ec).lexically_normal();
    return key.string();
}

std::optional<FileStamp> fileStampOf(const std::string& path) {
    struct stat st;
    if (!statPath(nativePath(path), st) || !S_ISREG(st.st_mode)) return std::nullopt;
    FileStamp s;
    s.size = static_cast<std::int64_t>(st.st_size);
    s.mtimeSec = static_cast<std::int64_t>(st.st_mtim.tv_sec);
    s.mtimeNsec = static_cast<std::int64_t>(st.st_mtim.tv_nsec);
    s.device = static_cast<std::uint64_t>(st.st_dev);
    s.inode = static_cast<std::uint64_t>(st.st_ino);
    return s;
}

void rememberStamp(Workspace& ws, const std::string& path, const FileStamp& stamp) {
    ws.fileStamps[stampKey(path)] = stamp;
}

void rememberFile(Workspace& ws, const std::string& path) {
    if (std::optional<FileStamp> now = fileStampOf(path))
        rememberStamp(ws, path, *now);
    else
        ws.fileStamps.erase(stampKey(path));
}

bool confirmReplaceChanged(Workspace& ws, const std::string& path) {
    auto seen = ws.fileStamps.find(stampKey(path));
    if (seen == ws.fileStamps.end()) return true;
    // Nothing there (or a folder) is nothing to lose; the save itself reports what it cannot replace.
    const std::optional<FileStamp> now = fileStampOf(path);
    if (!now || *now == seen->second) return true;
    const std::string text = nativePath(path) + " は読み込み後に変更されています。上書きしますか？";
    const Answer a = showBox(ws, BoxKind::Confirmation, text, Buttons::YesNo);
    if (a != Answer::Yes) return false;
    seen->second = *now;
    return true;
}

int saveFile(Workspace& ws, const std::string& path, const void* data, std::size_t size, bool keepBackup) {
    const std::string native = nativePath(path);
    const std::string bak = backupPath(native);
    ws.lastErr.sysError = 0;
    StagedFile file(native, ws.saveHook);
    auto writeFailed = [&] {
        ws.lastErr.sysError = file.error() != 0 ? file.error() : EIO;
        fail(ws, kErrWrite, path);
        return -1;
    };

    if (!file.open() || !file.write(data, size) || !file.flush()) return writeFailed();
    // What an interrupted backup left goes with the next save, whether or not it keeps one.
    const std::string bakTarget = resolveLinks(bak);
    if (!bakTarget.empty()) removeLeftovers(bakTarget);
    if (!keepBackup || !file.targetExisted()) {
        if (!file.commit()) return writeFailed();
        return succeed(ws);
    }

    // The new contents are on the disk: only now is the backup replaced, by a copy of the file
    // as it still is (its contents and time stamp).
    if (driveReady(ws, bak) != kErrNone) return lastError(ws);
    // A file that is its own backup name ("X.BAK") cannot keep a backup.
    if (sameFile(native, bak)) return fail(ws, kErrBackup, path);
    int in = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return fail(ws, kErrBackup, path);
    struct stat sst;
    StagedFile copy(bak, ws.saveHook);
    bool ok = ::fstat(in, &sst) == 0 && copy.open(sst.st_mode & 07777) && copy.copyFrom(in) && copy.setTimes(sst) &&
              copy.flush();
    ::close(in);
    if (!ok) return fail(ws, kErrBackup, path);

    // The generation before stays reachable until the new file is in place, so that a failed
    // last rename can put it back.
    struct stat bst;
    const bool hadBackup = ::lstat(copy.target().c_str(), &bst) == 0;
    const std::string aside = hadBackup ? linkAside(copy.target()) : std::string();
    if (!copy.commit()) {
        if (!aside.empty()) ::unlink(aside.c_str());
        return fail(ws, kErrBackup, path);
    }
    if (!file.commit()) {
        if (!aside.empty())
            ::rename(aside.c_str(), copy.target().c_str());
        else if (!hadBackup)
            ::unlink(copy.target().c_str());
        return writeFailed();
    }
    if (!aside.empty()) ::unlink(aside.c_str());
    return succeed(ws);
}

}  // namespace zemo
