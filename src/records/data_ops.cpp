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
int readHead(Workspace& ws, const std::string& path, bool report, std::size_t offset, void* out,
             std::size_t length) {
    if (!fileExists(ws, path)) {
        showError(ws, path + "\n" + kNotFoundText);
        return -1;
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
        return -1;
    }
    return 0;
}

bool magicKnown(std::uint16_t magic) { return magic == kMagicPlain || magic == kMagicShare; }
bool levelKnown(std::uint16_t level) { return level >= 2 && level <= 4; }

void showVersionError(Workspace& ws, std::uint16_t level) {
    char line[32];
    std::snprintf(line, sizeof line, "DATA VERSION %2X.%.2X", level >> 8, level & 0xFF);
    showError(ws, std::string("対応していないﾃﾞｰﾀのﾊﾞｰｼﾞｮﾝです！\n") + line);
}

std::string asciiUpper(std::string s) {
    upperCase(s);
    return s;
}

// Usable capacity: never more slots than the array has.
int slotLimit(const TCddataArray& array, int capacity) { return std::clamp(capacity, 0, array.slotCount()); }

int failWrite(Workspace& ws, const std::string& path) {
    setLastError(ws, kErrWrite);
    setErrorName(ws, path);
    showError(ws, path + "\n" + kFileErrorText);
    return -1;
}

// Takes the one-shot kind-check switch for the transfer that starts now and re-arms it at once,
// so that it covers this transfer only, however it ends. true: compare the kind.
bool takeKindCheck(Workspace& ws) {
    const bool compare = ws.checkKindSwitch;
    ws.checkKindSwitch = true;
    return compare;
}

int checkHeaderAs(Workspace& ws, const std::string& path, int expectedKind, bool compareKind) {
    const std::string p = nativePath(path);
    DataFileHeader h;
    if (readHeader(ws, p, true, h) != 0) return -1;
    if (!magicKnown(h.magic)) {
        setLastError(ws, kErrHeader);
        setErrorName(ws, p);
        reportError(ws, kReportHeader);
        return kErrHeader;
    }
    if (!levelKnown(h.formatLevel)) {
        showVersionError(ws, h.formatLevel);
        return -1;
    }
    if (compareKind && h.fileKind != expectedKind) showError(ws, std::string("ﾃﾞｰﾀの種類が違います！\n") + p);
    return 0;
}

}  // namespace

int readHeader(Workspace& ws, const std::string& path, bool report, DataFileHeader& out) {
    return readHead(ws, nativePath(path), report, 0, &out, sizeof out);
}

int readInfo(Workspace& ws, const std::string& path, bool report, DataFileInfo& out) {
    return readHead(ws, nativePath(path), report, sizeof(DataFileHeader), &out, sizeof out);
}

int checkHeader(Workspace& ws, const std::string& path, int expectedKind) {
    return checkHeaderAs(ws, path, expectedKind, takeKindCheck(ws));
}

int checkControlHeader(Workspace& ws, const std::string& path) {
    const std::string p = nativePath(path);
    DataFileHeader h;
    if (readHeader(ws, p, true, h) != 0) return -1;
    int result = 0;
    if (!magicKnown(h.magic)) {
        setLastError(ws, kErrHeader);
        setErrorName(ws, p);
        reportError(ws, kReportHeader);
        result = kErrHeader;
    }
    if (!levelKnown(h.formatLevel)) {
        showVersionError(ws, h.formatLevel);
        result = -1;
    }
    return result;
}

namespace {

int readDataFileAs(Workspace& ws, const std::string& userPath, int kind, TCddataArray& array, int& loadedFlag,
                   int& count, int capacity, bool compareKind) {
    const std::string path = userPath.empty() ? defaultFilePath(ws, kind) : nativePath(userPath);
    count = 0;
    int r = checkHeaderAs(ws, path, kind, compareKind);
    if (r != 0) return r;
    loadedFlag = 0;
    setLastError(ws, kErrRead);
    setErrorName(ws, path);

    auto readError = [&]() {
        showError(ws, path + "\n" + kFileErrorText);
        loadedFlag = 0;
        return -1;
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
        if (!typed) return kErrRead;
        if (asciiUpper(*typed) != asciiUpper(fieldText(info.password))) {
            showError(ws, "パスワードが違います!");
            return kErrRead;
        }
    }

    // A count that the file cannot hold is damage, not a reason to read past the end.
    const int n = info.recordCount;
    const std::streamoff needed = static_cast<std::streamoff>(kDataStart) +
                                  static_cast<std::streamoff>(n) * static_cast<std::streamoff>(sizeof(CdRecord));
    if (n < 0 || needed > fileBytes) return readError();

    const int cap = slotLimit(array, capacity);
    if (n > cap) {
        Answer a = showBox(ws, BoxKind::Confirmation,
                           "ﾃﾞｰﾀﾌｧｲﾙ内ﾃﾞｰﾀ登録数がｼｽﾃﾑ制御数を越えています！\n"
                           "制御数以降を切り捨てて処理を継続します。",
                           Buttons::YesNo);
        if (a != Answer::Yes) return kErrRead;
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
    return 0;
}

}  // namespace

int readDataFile(Workspace& ws, const std::string& userPath, int kind, TCddataArray& array, int& loadedFlag,
                 int& count, int capacity) {
    return readDataFileAs(ws, userPath, kind, array, loadedFlag, count, capacity, takeKindCheck(ws));
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

    DataFileInfo info;
    std::memset(&info, 0, sizeof info);
    setField(info.memo, shareForm ? ws.nextMemo : sj("< ZEMO ｼｽﾃﾑﾌｧｲﾙ >"), 60);
    int active = 0;
    for (int i = 0; i < cap; ++i)
        if (array[i].active == 1) ++active;
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
        if (array[i].active != 1) continue;
        body.push_back(array[i]);
        if (scramble) scrambleRecord(body.back(), kScrambleApply, info.keyIndex);
    }

    std::vector<unsigned char> bytes(kDataStart + body.size() * sizeof(CdRecord));
    std::memcpy(bytes.data(), &header, sizeof header);
    std::memcpy(bytes.data() + sizeof header, &info, sizeof info);
    if (!body.empty()) std::memcpy(bytes.data() + kDataStart, body.data(), body.size() * sizeof(CdRecord));
    const int result = saveFile(ws, p, bytes.data(), bytes.size(), keepBackup);
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
    if (saveFile(ws, p, bytes.data(), bytes.size(), false) != 0) return failWrite(ws, p);
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
        result = readDataFile(ws, "", kind, array, loadedFlag, count, capacity);
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

    const std::string path = removePathBlanks(choice.path);
    if (path.empty()) return -1;

    int result = -1;
    if (mode == kChoiceRead) {
        int count = 0;
        busyCursor(ws, true);
        result = readDataFileAs(ws, path, kind, array, loadedFlag, count, capacity, compareKind);
        busyCursor(ws, false);
    } else if (checkSaveName(ws, path, true, true) == 0) {
        busyCursor(ws, true);
        result = writeDataFile(ws, true, path, kind, array, capacity);
        busyCursor(ws, false);
    }
    done = 1;
    return result;
}

void skipKindCheckOnce(Workspace& ws) { ws.checkKindSwitch = false; }

}  // namespace zemo
