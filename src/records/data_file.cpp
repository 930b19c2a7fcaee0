// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/data_file.h"

#include <cstring>

#include "platform/sjis.h"
#include "records/control_file.h"


namespace zemo {

DataFileHeader buildHeader(bool shareForm, bool shareModeOn, const std::string& kindTitle, int fileKind,
                           const std::string& subTitle) {
    DataFileHeader h;
    std::memset(&h, 0, sizeof h);
    setField(h.signature, kSignature);
    setField(h.kindTitle, kindTitle);
    setField(h.subTitle, subTitle);
    const bool share = shareForm && shareModeOn;
    h.magic = share ? kMagicShare : kMagicPlain;
    h.formatLevel = share ? kLevelShare : kLevelPlain;
    h.dataVersion = kDataVersion;
    h.fileKind = static_cast<std::uint16_t>(fileKind);
    return h;
}

std::string nativePath(const std::string& path) {
    std::string p = path;
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

namespace {
std::string programFolder(const Workspace& ws) {
    std::string base = ws.programDir.string();
    if (base.empty() || base.back() != '/') base += '/';
    return base;
}
}  // namespace

std::string resolveDir(const Workspace& ws, const std::string& storedPath) {
    std::string p = nativePath(trimPathBlanks(storedPath));
    if (!p.empty() && p.back() == '/') p.pop_back();
    p += '/';
    p = p.substr(0, p.rfind('/') + 1);
    if (p.front() != '/') {
        p = programFolder(ws) + p;
    }
    return p;
}

std::string kindDir(const Workspace& ws, int kind) {
    if (kind <= 0 || kind > kKindLast) return programFolder(ws);
    int slot = kind == kKindAdd ? kPathAdd : kind == 11 ? kPathLib : kPathSys;
    return workDir(ws, slot);
}

std::string workDir(const Workspace& ws, int slot) {
    // The slot holds Shift-JIS; paths are UTF-8.
    return resolveDir(ws, sjisToUtf8(fieldText(ws.control.paths[slot])));
}

std::string defaultFilePath(const Workspace& ws, int kind) { return kindDir(ws, kind) + defaultFileName(kind); }

}  // namespace zemo
