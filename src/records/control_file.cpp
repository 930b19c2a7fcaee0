// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/control_file.h"

#include <cstring>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/regular_file.h"
#include "platform/sjis.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/file_services.h"
#include "records/label_layout.h"
#include "records/scramble.h"
#include "records/text.h"

namespace zemo {
namespace {

constexpr std::uint16_t kShareMarker = 0x0303;

// Report numbers of the control file's call sites.
constexpr int kReportWrite = 4;
constexpr int kReportRead = 5;
constexpr int kReportBackup = 6;
constexpr int kReportMakeDir = 11;

constexpr const char* kFatalText =
    "ｼｽﾃﾑｺﾝﾄﾛｰﾙﾃﾞｰﾀの設定が正常ではありません！\nシステムを終了します。";

void setPath(SysControl& c, int slot, const char* text) { setField(c.paths[slot], text); }

bool shareFieldsStoredScrambled(const SysControl& c) { return c.shareMarker == kShareMarker; }

void scrambleShare(SysControl& c, int direction) {
    scrambleShareFields(c.creatorId, c.shareExtra, direction);
}

// Steps every read and write ends with.
void settleAfterTransfer(Workspace& ws, std::int16_t keep138, std::int16_t keep140) {
    if (ws.control.misc[6] <= 0) ws.control.misc[6] = 1;  // offset 780
    ws.control.runtime138 = keep138;
    ws.control.runtime140 = keep140;
    ws.control.mode144 = 1;
    ws.shareFlag = ws.control.shareMode == 1;
}

// Reads exactly the 2048 bytes of the record from the file's start.
bool readRecordBytes(const std::string& path, SysControl& out) {
    ReadFile in = openRegularForReading(path);
    return in.isOpen() && in.readExactly(&out, sizeof out);
}

std::string asciiUpper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

}  // namespace

// Paths are UTF-8 here: the blanks are the ASCII space and the full-width space U+3000. Blanks inside
// a path are part of a folder's or a file's name ("My Stick"); only those around it are typing slips.
std::string trimPathBlanks(const std::string& path) {
    static constexpr std::string_view kWide = "\xE3\x80\x80";
    std::string_view s = path;
    for (;;) {
        if (!s.empty() && s.front() == ' ') s.remove_prefix(1);
        else if (s.starts_with(kWide)) s.remove_prefix(kWide.size());
        else break;
    }
    for (;;) {
        if (!s.empty() && s.back() == ' ') s.remove_suffix(1);
        else if (s.ends_with(kWide)) s.remove_suffix(kWide.size());
        else break;
    }
    return std::string(s);
}

std::string controlFilePath(const Workspace& ws) { return defaultFilePath(ws, kKindControl); }

ShufControl defaultShufControl() {
    ShufControl c{};
    c.startA = 1;
    c.startB = 1;
    c.plusOnly = 1;
    c.tolerance = 5;
    return c;
}

void initControlDefaults(Workspace& ws) {
    SysControl& c = ws.control;
    std::memset(&c, 0, sizeof c);
    setPath(c, kPathSys, "CD_SYS");
    setPath(c, kPathAdd, "CD_ADD");
    setPath(c, kPathTxt, "CD_TXT");
    setPath(c, kPathLib, "CD_MD");
    setPath(c, kPathTmp, "T_TMP");
    setPath(c, kPathGtmp, "G_TMP");
    // miscBlock at 768: 1, 67, 67, 129, 1, (778) 0, (780) 1
    c.misc[0] = 1;
    c.misc[1] = 67;
    c.misc[2] = 67;
    c.misc[3] = 129;
    c.misc[4] = 1;
    c.misc[6] = 1;
    c.shuffleBlock = defaultShufControl();
    c.mode144 = 1;
    c.reviseRatio = 1.0;
    const LabelLayout layout = defaultLabelLayout();
    storeLabelLayout(c.labelBlock, layout);
    for (auto& preset : c.labelPresets) storeLabelLayout(preset, layout);
}

int loadControl(Workspace& ws, bool showFatal) {
    const std::int16_t keep138 = ws.control.runtime138;
    const std::int16_t keep140 = ws.control.runtime140;
    const std::string path = controlFilePath(ws);
    const std::optional<FileStamp> seen = fileStampOf(path);  // before the read: a change during it shows at the save

    int result = readCode(checkControlHeader(ws, path));
    if (result == 0) {
        // Read into a scratch copy: a failed read leaves the record in memory as it was.
        SysControl fresh;
        if (!readRecordBytes(path, fresh)) {
            setLastError(ws, kErrRead);
            setErrorName(ws, path);
            reportError(ws, kReportRead);
            result = -1;
        } else {
            ws.control = fresh;
            if (seen) rememberStamp(ws, path, *seen);
            if (shareFieldsStoredScrambled(ws.control) && ws.control.scrambledNow == 1) {
                scrambleShare(ws.control, kScrambleUndo);
                ws.control.scrambledNow = 0;
            }
        }
    }
    if (result != 0 && showFatal) showBox(ws, BoxKind::Error, kFatalText, Buttons::Yes);
    settleAfterTransfer(ws, keep138, keep140);
    return result;
}

namespace {

// saveControl with an optional ".BAK" guard: 0, -1 (reported with number 4, or the user kept a
// file changed since it was read: nothing written, the record in memory as it was), or the failed
// backup's code (reported with number 6, the record in memory left as it was).
int writeControl(Workspace& ws, bool keepBackup) {
    const SysControl before = ws.control;
    const bool shareFlagBefore = ws.shareFlag;
    const std::int16_t keep138 = ws.control.runtime138;
    const std::int16_t keep140 = ws.control.runtime140;
    const std::string path = controlFilePath(ws);
    SysControl& c = ws.control;
    c.mode136 = 0;
    c.mode144 = 1;
    c.header = buildHeader(false, ws.shareFlag, sj("システムコントロール"), kKindControl, sj("メモ"));

    // The disk image: run-time values zero, share fields scrambled when the marker asks for it.
    // Memory keeps the share fields plain throughout.
    SysControl image = c;
    image.runtime138 = 0;
    image.runtime140 = 0;
    if (shareFieldsStoredScrambled(image)) {
        image.scrambledNow = 1;
        scrambleShare(image, kScrambleApply);
        c.scrambledNow = 0;
    }

    // Someone else's change to the file since it was read is not replaced unasked; No is as if
    // the save had not been tried.
    if (!confirmReplaceChanged(ws, path)) {
        ws.control = before;
        ws.shareFlag = shareFlagBefore;
        return -1;
    }

    // The backup is replaced only once the new record is written; a failed save leaves the file
    // and its backup as they were.
    int result = saveFile(ws, path, &image, sizeof image, keepBackup);
    if (result == 0) rememberFile(ws, path);
    if (result > 0) {
        // The backup failed before anything was written: as if the save had not been tried.
        ws.control = before;
        ws.shareFlag = shareFlagBefore;
        reportError(ws, kReportBackup);
        return result;
    }
    if (result != 0) {
        setLastError(ws, kErrWrite);
        setErrorName(ws, path);
        result = -1;
        reportError(ws, kReportWrite);
    }
    c.runtime138 = keep138;
    c.runtime140 = keep140;
    ws.shareFlag = c.shareMode == 1;
    return result;
}

}  // namespace

int saveControl(Workspace& ws) { return writeControl(ws, false); }

int saveControlWithBackup(Workspace& ws, int backupMode) { return writeControl(ws, backupMode != 1); }

int startControl(Workspace& ws) {
    const std::string path = controlFilePath(ws);
    if (!fileExists(ws, path)) {
        Answer a = showBox(ws, BoxKind::Confirmation,
                           "ｼｽﾃﾑｺﾝﾄﾛｰﾙﾌｧｲﾙがありません。作成します。\nZEMOCTRL.DAT", Buttons::YesCancel);
        if (a == Answer::Yes) {
            initControlDefaults(ws);
            int code = saveControl(ws);
            if (code != 0) return code;
        }
    }
    return loadControl(ws, true);
}

int checkDataDirs(Workspace& ws) {
    int result = 0;
    for (int slot : {kPathSys, kPathAdd, kPathTxt, kPathLib}) {
        const std::string dir = workDir(ws, slot);
        bool skip = false;
        for (;;) {
            result = driveReady(ws, dir);
            if (result == 0) break;
            Answer a = showBox(ws, BoxKind::Error, "ドライブの準備ができていません！\n" + dir,
                               Buttons::AbortRetryIgnore);
            if (a == Answer::Retry) continue;
            if (a == Answer::Abort) return 3;
            result = 5;
            skip = true;
            break;
        }
        if (skip || dirExists(ws, dir)) continue;
        Answer a = showBox(ws, BoxKind::Warning, "データディレクトリがありません。作成します。\n" + dir,
                           Buttons::OkCancel);
        if (a != Answer::Ok) continue;
        std::error_code ec;
        std::filesystem::create_directories(dir, ec);
        if (ec || !dirExists(ws, dir)) {
            setLastError(ws, kErrMakeDir);
            setErrorName(ws, dir);
            reportError(ws, kReportMakeDir);
            break;
        }
    }
    return result;
}

int checkSaveName(Workspace& ws, const std::string& path, bool confirmOverwrite, bool showMessages) {
    const std::string p = nativePath(trimPathBlanks(path));
    const std::string name = p.substr(p.rfind('/') + 1);
    const auto dot = name.find('.');
    if (dot == std::string::npos || dot == 0) {
        if (showMessages) showBox(ws, BoxKind::Error, name + "\n" + "ﾌｧｲﾙ名が不正です！中止します。", Buttons::Ok);
        return -1;
    }
    const std::string upper = asciiUpper(name);
    const char* const* reserved = reservedFileNames();
    for (int i = 0; i < 12; ++i) {
        if (upper == reserved[i]) {
            if (showMessages)
                showBox(ws, BoxKind::Error, name + "\n" + "このﾌｧｲﾙ名はｼｽﾃﾑで使用しています！中止します。",
                        Buttons::Ok);
            return -1;
        }
    }
    if (confirmOverwrite && fileExists(ws, p)) {
        if (showBox(ws, BoxKind::Confirmation, p + "\n" + "上書きします。", Buttons::OkCancel) != Answer::Ok)
            return -1;
    }
    return 0;
}

}  // namespace zemo
