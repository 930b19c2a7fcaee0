// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/data_ops.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/regular_file.h"
#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/file_services.h"
#include "records/record_access.h"
#include "records/scramble.h"
#include "records/text.h"

namespace zemo {
namespace {

constexpr int kReportHeader = 1;
constexpr int kReportUnreadable = 2;

constexpr const char* kNotFoundText = "ファイルが見つかりません！";
constexpr const char* kFileErrorText = "ファイルエラー！";

bool isExecutable(const Workspace& ws, const std::string& path) {
    if (ws.executablePath.empty()) return false;
    std::error_code ec;
    return std::filesystem::equivalent(path, ws.executablePath, ec) && !ec;
}

void showError(Workspace& ws, const std::string& text) { showBox(ws, BoxKind::Error, text, Buttons::Ok); }

// Reads length bytes at offset; the file must be longer than offset + length (so a data file
// without records has no readable information block, as the chooser expects).
DataFileRead readHead(Workspace& ws, const std::string& path, bool report, std::size_t offset, void* out,
                      std::size_t length) {
    if (!fileExists(ws, path)) {
        showError(ws, path + "\n" + kNotFoundText);
        return DataFileRead::Failed;
    }
    bool ok = !isExecutable(ws, path) && fileSize(ws, path) > static_cast<std::int64_t>(offset + length);
    if (ok) {
        ReadFile in = openRegularForReading(path);
        ok = in.isOpen() && in.seek(offset) && in.readExactly(out, length);
    }
    if (!ok) {
        setLastError(ws, kErrRead);
        setErrorName(ws, path);
        if (report) reportError(ws, kReportUnreadable);
        return DataFileRead::Failed;
    }
    return DataFileRead::Ok;
}

bool magicKnown(std::uint16_t magic) { return magic == kMagicPlain || magic == kMagicShare; }
bool levelKnown(std::uint16_t level) { return level >= 2 && level <= 4; }

void showVersionError(Workspace& ws, std::uint16_t level) {
    char line[32];
    std::snprintf(line, sizeof line, "DATA VERSION %2X.%.2X", level >> 8, level & 0xFF);
    showError(ws, std::string("対応していないﾃﾞｰﾀのﾊﾞｰｼﾞｮﾝです！\n") + line);
}

// The stored question, then the two numbers, then the way out when a larger database size would
// hold the whole file (only the catalogue, the barcode list and the add list grow with it).
std::string cutQuestion(int kind, int inFile, int holds) {
    std::string text =
        "ﾃﾞｰﾀﾌｧｲﾙ内ﾃﾞｰﾀ登録数がｼｽﾃﾑ制御数を越えています！\n"
        "制御数以降を切り捨てて処理を継続します。";
    char line[96];
    std::snprintf(line, sizeof line, "\nﾌｧｲﾙ内 %d 件 / ｼｽﾃﾑ制御数 %d 件", inFile, holds);
    text += line;
    if (kind >= 1 && kind <= kArrayKinds) {
        const auto k = static_cast<std::size_t>(kind);
        const int smallest = Workspace::capacitiesFor(1)[k];
        const int largest = Workspace::capacitiesFor(20)[k];
        if (largest != smallest && largest >= inFile) text += "\nｼｽﾃﾑﾓｰﾄﾞのﾃﾞｰﾀﾍﾞｰｽｻｲｽﾞを大きくしてください";
    }
    return text;
}

std::string asciiUpper(std::string s) {
    upperCase(s);
    return s;
}

// Usable capacity: never more slots than the array has.
int slotLimit(const TCddataArray& array, int capacity) { return std::clamp(capacity, 0, array.slotCount()); }

// The stored message, and the system's reason on a line of its own when there is one.
int failWrite(Workspace& ws, const std::string& path) {
    const int reason = ws.lastErr.sysError;
    setLastError(ws, kErrWrite);
    setErrorName(ws, path);
    std::string text = path + "\n" + kFileErrorText;
    if (reason != 0) text += "\n" + systemReasonText(reason);
    showError(ws, text);
    return -1;
}

// Takes the one-shot kind-check switch for the transfer that starts now and re-arms it at once,
// so that it covers this transfer only, however it ends. true: compare the kind.
bool takeKindCheck(Workspace& ws) {
    const bool compare = ws.checkKindSwitch;
    ws.checkKindSwitch = true;
    return compare;
}

DataFileRead checkHeaderAs(Workspace& ws, const std::string& path, int expectedKind, bool compareKind) {
    const std::string p = nativePath(path);
    DataFileHeader h;
    if (readHeader(ws, p, true, h) != DataFileRead::Ok) return DataFileRead::Failed;
    if (!magicKnown(h.magic)) {
        setLastError(ws, kErrHeader);
        setErrorName(ws, p);
        reportError(ws, kReportHeader);
        return DataFileRead::WrongMagic;
    }
    if (!levelKnown(h.formatLevel)) {
        showVersionError(ws, h.formatLevel);
        return DataFileRead::Failed;
    }
    if (compareKind && h.fileKind != expectedKind) showError(ws, std::string("ﾃﾞｰﾀの種類が違います！\n") + p);
    return DataFileRead::Ok;
}

}  // namespace

DataFileRead readHeader(Workspace& ws, const std::string& path, bool report, DataFileHeader& out) {
    return readHead(ws, nativePath(path), report, 0, &out, sizeof out);
}

DataFileRead readInfo(Workspace& ws, const std::string& path, bool report, DataFileInfo& out) {
    return readHead(ws, nativePath(path), report, sizeof(DataFileHeader), &out, sizeof out);
}

DataFileRead checkHeader(Workspace& ws, const std::string& path, int expectedKind) {
    return checkHeaderAs(ws, path, expectedKind, takeKindCheck(ws));
}

DataFileRead checkControlHeader(Workspace& ws, const std::string& path) {
    const std::string p = nativePath(path);
    DataFileHeader h;
    if (readHeader(ws, p, true, h) != DataFileRead::Ok) return DataFileRead::Failed;
    DataFileRead result = DataFileRead::Ok;
    if (!magicKnown(h.magic)) {
        setLastError(ws, kErrHeader);
        setErrorName(ws, p);
        reportError(ws, kReportHeader);
        result = DataFileRead::WrongMagic;
    }
    if (!levelKnown(h.formatLevel)) {
        showVersionError(ws, h.formatLevel);
        result = DataFileRead::Failed;
    }
    return result;
}

namespace {

DataFileRead readDataFileAs(Workspace& ws, const std::string& userPath, int kind, TCddataArray& array,
                            int& loadedFlag, int& count, int capacity, bool compareKind, int* fileRecords = nullptr) {
    const std::string path = userPath.empty() ? defaultFilePath(ws, kind) : nativePath(userPath);
    count = 0;
    const DataFileRead r = checkHeaderAs(ws, path, kind, compareKind);
    if (r != DataFileRead::Ok) return r;
    loadedFlag = 0;
    setLastError(ws, kErrRead);
    setErrorName(ws, path);

    auto readError = [&]() {
        showError(ws, path + "\n" + kFileErrorText);
        loadedFlag = 0;
        return DataFileRead::Failed;
    };

    struct stat opened;
    ReadFile in = openRegularForReading(path, &opened);
    if (!in.isOpen()) return readError();
    const std::streamoff fileBytes = static_cast<std::streamoff>(opened.st_size);
    DataFileHeader header;
    DataFileInfo info;
    if (!in.readExactly(&header, sizeof header) || !in.readExactly(&info, sizeof info)) return readError();

    const bool scrambled = info.scrambled == 1;
    if (scrambled) scrambleInfo(info, kScrambleUndo, info.keyIndex);

    if (info.hasPassword == 1) {
        arrowCursor(ws, true);
        std::optional<std::string> typed = ws.prompter.askPassword();
        arrowCursor(ws, false);
        if (!typed) return DataFileRead::Stopped;
        if (asciiUpper(*typed) != asciiUpper(fieldText(info.password))) {
            showError(ws, "パスワードが違います!");
            return DataFileRead::Stopped;
        }
    }

    // A count that the file cannot hold is damage, not a reason to read past the end.
    const int n = info.recordCount;
    const std::streamoff needed = static_cast<std::streamoff>(kDataStart) +
                                  static_cast<std::streamoff>(n) * static_cast<std::streamoff>(sizeof(CdRecord));
    if (n < 0 || needed > fileBytes) return readError();

    const int cap = slotLimit(array, capacity);
    if (n > cap) {
        Answer a = showBox(ws, BoxKind::Confirmation, cutQuestion(kind, n, cap), Buttons::YesNo);
        if (a != Answer::Yes) return DataFileRead::Stopped;
    }

    // Everything is read before the array is touched, so a failed read changes nothing.
    const int m = std::min(n, cap);
    std::vector<CdRecord> scratch(static_cast<std::size_t>(m));
    if (!in.readExactly(scratch.data(), scratch.size() * sizeof(CdRecord))) return readError();
    if (scrambled) {
        for (CdRecord& rec : scratch) {
            scrambleRecord(rec, kScrambleUndo, info.keyIndex);
            // Older files left userCode plain.
            if (header.formatLevel <= 2) scrambleUserCode(rec, kScrambleApply, info.keyIndex);
        }
    }
    std::copy(scratch.begin(), scratch.end(), array.data());
    clearSlots(m, cap, array);

    setLastError(ws, kErrNone);
    loadedFlag = 1;
    count = m;
    if (fileRecords) *fileRecords = n;
    return DataFileRead::Ok;
}

// A read that remembers what it read: the file's stamp, taken before the read so that a change
// made while it ran shows at the next save, and whether the kind now holds a cut copy of it.
DataFileRead readRemembering(Workspace& ws, const std::string& userPath, int kind, TCddataArray& array,
                             int& loadedFlag, int& count, int capacity, bool compareKind) {
    const std::string path = userPath.empty() ? defaultFilePath(ws, kind) : nativePath(userPath);
    const std::optional<FileStamp> seen = fileStampOf(path);
    int fileRecords = 0;
    const DataFileRead result =
        readDataFileAs(ws, userPath, kind, array, loadedFlag, count, capacity, compareKind, &fileRecords);
    if (result != DataFileRead::Ok) return result;
    if (seen) rememberStamp(ws, path, *seen);
    if (kind >= 1 && kind <= kArrayKinds) {
        ReadCut& cut = ws.readCuts[static_cast<std::size_t>(kind)];
        cut = ReadCut{};
        if (fileRecords > count) cut = ReadCut{stampKey(path), fileRecords, false};
    }
    return DataFileRead::Ok;
}

int activeRecords(const TCddataArray& array, int cap) {
    int active = 0;
    for (int i = 0; i < cap; ++i)
        if (isInUse(array[i])) ++active;
    return active;
}

// The questions before array replaces the file at path: a change made there since it was read,
// and a kind read cut from this very file. true: write.
bool confirmOverwrite(Workspace& ws, int kind, const std::string& path, int writing) {
    if (!confirmReplaceChanged(ws, path)) return false;
    if (kind < 1 || kind > kArrayKinds) return true;
    ReadCut& cut = ws.readCuts[static_cast<std::size_t>(kind)];
    if (cut.path.empty() || cut.confirmed || cut.path != stampKey(path)) return true;
    if (!fileStampOf(path)) return true;  // gone: nothing left to lose
    const int losing = cut.fileRecords - writing;
    if (losing <= 0) return true;
    char line[128];
    std::snprintf(line, sizeof line, "上書きするとﾌｧｲﾙ内 %d 件のうち %d 件のﾃﾞｰﾀが失われます。", cut.fileRecords,
                  losing);
    const std::string text = nativePath(path) + "\n制御数以降を切り捨てて読み込んだﾃﾞｰﾀです！\n" + line +
                             "\n上書きしますか？";
    if (showBox(ws, BoxKind::Confirmation, text, Buttons::YesNoDefaultNo) != Answer::Yes) return false;
    cut.confirmed = true;
    return true;
}

// After a save of kind to path: the file is what the program last saw of it, and the kind no
// longer holds a cut copy of that file. A failed save asks again next time.
void settleAfterSave(Workspace& ws, int kind, const std::string& path, bool saved) {
    if (saved) rememberFile(ws, path);
    if (kind < 1 || kind > kArrayKinds) return;
    ReadCut& cut = ws.readCuts[static_cast<std::size_t>(kind)];
    if (saved && cut.path == stampKey(path))
        cut = ReadCut{};
    else
        cut.confirmed = false;
}

}  // namespace

DataFileRead readDataFile(Workspace& ws, const std::string& userPath, int kind, TCddataArray& array,
                          int& loadedFlag, int& count, int capacity) {
    return readRemembering(ws, userPath, kind, array, loadedFlag, count, capacity, takeKindCheck(ws));
}

int writeDataFile(Workspace& ws, bool shareForm, const std::string& path, int kind, const TCddataArray& array,
                  int capacity) {
    return writeDataFileWithBackup(ws, shareForm, path, kind, array, capacity, false);
}

int writeDataFileWithBackup(Workspace& ws, bool shareForm, const std::string& path, int kind,
                            const TCddataArray& array, int capacity, bool keepBackup) {
    const std::string p = shareForm ? nativePath(path) : defaultFilePath(ws, kind);
    const int cap = slotLimit(array, capacity);
    const bool scramble = shareForm && ws.shareFlag;

    const int active = activeRecords(array, cap);
    // Asked before anything is built or written; No leaves the file as it is.
    if (!confirmOverwrite(ws, kind, p, std::min(active, 0x7FFF))) return -1;

    DataFileInfo info;
    std::memset(&info, 0, sizeof info);
    setField(info.memo, shareForm ? ws.nextMemo : sj("< ZEMO ｼｽﾃﾑﾌｧｲﾙ >"), 60);
    info.recordCount = static_cast<std::int16_t>(std::min(active, 0x7FFF));
    info.savedAt = nowStamp(ws.clock);
    info.scrambled = scramble ? 1 : 0;
    info.keyIndex = static_cast<std::int16_t>(scramble ? kind - 1 : 0);
    std::memcpy(info.creatorId, ws.control.creatorId, sizeof info.creatorId);
    if (shareForm) {
        info.hasPassword = ws.shareFlag ? 1 : 0;
        if (ws.shareFlag) setField(info.password, removedBlanks(fitText(fieldText(ws.control.sharePassword), 14)));
    }
    if (scramble) scrambleInfo(info, kScrambleApply, info.keyIndex);

    const DataFileHeader header = buildHeader(shareForm, ws.shareFlag, kindName(kind), kind, "");
    std::vector<CdRecord> body;
    body.reserve(static_cast<std::size_t>(info.recordCount));
    for (int i = 0; i < cap && static_cast<int>(body.size()) < info.recordCount; ++i) {
        if (!isInUse(array[i])) continue;
        body.push_back(array[i]);
        if (scramble) scrambleRecord(body.back(), kScrambleApply, info.keyIndex);
    }

    std::vector<unsigned char> bytes(kDataStart + body.size() * sizeof(CdRecord));
    std::memcpy(bytes.data(), &header, sizeof header);
    std::memcpy(bytes.data() + sizeof header, &info, sizeof info);
    if (!body.empty()) std::memcpy(bytes.data() + kDataStart, body.data(), body.size() * sizeof(CdRecord));
    const int result = saveFile(ws, p, bytes.data(), bytes.size(), keepBackup);
    settleAfterSave(ws, kind, p, result == 0);
    if (result == -1) return failWrite(ws, p);
    return result;
}

int writeEmptyFile(Workspace& ws, int kind, int capacity, TCddataArray& array) {
    const std::string p = defaultFilePath(ws, kind);
    const int cap = std::max(capacity, 0);
    clearSlots(0, slotLimit(array, capacity), array);

    const DataFileHeader header = buildHeader(false, ws.shareFlag, kindName(kind), kind, "");
    std::vector<unsigned char> bytes(kDataStart + static_cast<std::size_t>(cap) * sizeof(CdRecord), 0);
    std::memcpy(bytes.data(), &header, sizeof header);
    const CdRecord cleared = clearedRecord();
    for (int i = 0; i < cap; ++i)
        std::memcpy(bytes.data() + kDataStart + static_cast<std::size_t>(i) * sizeof(CdRecord), &cleared,
                    sizeof cleared);
    const int result = saveFile(ws, p, bytes.data(), bytes.size(), false);
    settleAfterSave(ws, kind, p, result == 0);
    if (kind >= 1 && kind <= kArrayKinds) ws.readCuts[static_cast<std::size_t>(kind)] = ReadCut{};  // array cleared
    if (result != 0) return failWrite(ws, p);
    return 0;
}

int saveKind(Workspace& ws, int backupMode, int kind, int capacity, TCddataArray& array) {
    // The backup is replaced only once the new file is written, and a failed save changes
    // nothing on the disk: the file and its .BAK stay as they were, with nothing to restore.
    const int result = writeDataFileWithBackup(ws, false, "", kind, array, capacity, backupMode != 1);
    if (result > 0) reportError(ws, kind + 25);
    return result;
}

int loadKind(Workspace& ws, int kind, int capacity, int& count, TCddataArray& array, int& loadedFlag) {
    // The array is not cleared beforehand: a successful load fills or clears every slot below the
    // capacity, and a failed one leaves the array as it was.
    count = 0;
    int dirs = checkDataDirs(ws);
    if (dirs != 0) return dirs;

    busyCursor(ws, true);
    const std::string path = defaultFilePath(ws, kind);
    int result;
    if (fileExists(ws, path)) {
        result = readCode(readDataFile(ws, "", kind, array, loadedFlag, count, capacity));
    } else {
        std::string text = "[";
        text += sjisToUtf8(kindName(kind));
        text += "] ﾃﾞｰﾀﾌｧｲﾙを新規作成します。\n";
        text += path;
        if (showBox(ws, BoxKind::Error, text, Buttons::YesNo) == Answer::Yes)
            result = writeEmptyFile(ws, kind, capacity, array);
        else
            result = -1;
    }
    busyCursor(ws, false);

    if (result == 0) {
        loadedFlag = 1;
        return 0;
    }
    loadedFlag = 0;
    return -1;
}

int chooseAndTransfer(Workspace& ws, bool askMode, int mode, int kind, TCddataArray& array, int& done,
                      int& loadedFlag, int capacity) {
    // A skipped kind check belongs to this transfer, also when it is cancelled.
    const bool compareKind = takeKindCheck(ws);
    done = 0;
    if (askMode) {
        arrowCursor(ws, true);
        mode = ws.prompter.askReadWrite();
        arrowCursor(ws, false);
    }
    if (mode != kChoiceRead && mode != kChoiceWrite) return -1;

    arrowCursor(ws, true);
    FileChoice choice = ws.prompter.chooseDataFile(mode, mode == kChoiceRead ? ws.openDialogDir : ws.saveDialogDir);
    arrowCursor(ws, false);
    ws.nextMemo = choice.memo;
    if (!choice.chosen) return -1;
    (mode == kChoiceRead ? ws.openDialogFile : ws.saveDialogFile) = choice.path;

    const std::string path = trimPathBlanks(choice.path);
    if (path.empty()) return -1;

    int result = -1;
    if (mode == kChoiceRead) {
        int count = 0;
        busyCursor(ws, true);
        result = readCode(readRemembering(ws, path, kind, array, loadedFlag, count, capacity, compareKind));
        busyCursor(ws, false);
    } else if (checkSaveName(ws, path, true, true) == 0) {
        busyCursor(ws, true);
        result = writeDataFile(ws, true, path, kind, array, capacity);
        busyCursor(ws, false);
    }
    done = 1;
    return result;
}

int confirmKindSaves(Workspace& ws, std::initializer_list<int> kinds) {
    // A No anywhere leaves every answer given before it unsaid.
    const auto stamps = ws.fileStamps;
    const auto cuts = ws.readCuts;
    for (int kind : kinds) {
        const TCddataArray* a = ws.array(kind);
        if (!a) continue;
        const int cap = slotLimit(*a, ws.capacity(kind));
        if (!confirmOverwrite(ws, kind, defaultFilePath(ws, kind), std::min(activeRecords(*a, cap), 0x7FFF))) {
            ws.fileStamps = stamps;
            ws.readCuts = cuts;
            return -1;
        }
    }
    return 0;
}

void clearSaveConfirmations(Workspace& ws) {
    for (ReadCut& cut : ws.readCuts) cut.confirmed = false;
}

void skipKindCheckOnce(Workspace& ws) { ws.checkKindSwitch = false; }

}  // namespace zemo
