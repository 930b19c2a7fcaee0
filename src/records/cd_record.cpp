// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/cd_record.h"

#include "platform/sjis.h"

namespace zemo {

void clearCdRecord(CdRecord& r) {
    std::memset(&r, 0, sizeof r);
    r.trackCount = 1;
    r.trackPos = 1;
}

CdRecord clearedRecord() {
    CdRecord r;
    clearCdRecord(r);
    return r;
}

void storeField(char* field, std::size_t width, std::string_view text, std::size_t maxLen) {
    std::memset(field, 0, width);
    if (maxLen >= width) maxLen = width - 1;
    std::size_t n = 0;
    while (n < text.size() && text[n] != '\0') {
        auto b = static_cast<unsigned char>(text[n]);
        bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        std::size_t step = (lead && n + 1 < text.size()) ? 2 : 1;
        if (n + step > maxLen) break;
        n += step;
    }
    std::memcpy(field, text.data(), n);
}

namespace {

struct KindEntry {
    const char* file;
    const char* nameUtf8;
};

constexpr KindEntry kKinds[12] = {
    {"ZEMOCTRL.DAT", "ｼｽﾃﾑ制御"},   {"CD_DATA.ZMO", "CDﾃﾞｰﾀﾍﾞｰｽ"}, {"CD_SHUF.ZMO", "振分け"},
    {"CD_BAGR.ZMO", "ﾊﾞｰｺｰﾄﾞ一致"}, {"CD_DEL.ZMO", "削除"},          {"CD_ADD.ZMO", "追加"},
    {"CD_NEW.ZMO", "新規"},          {"CD_REF.ZMO", "検出一致"},      {"CD_TVCD.ZMO", "TVRAM CODE"},
    {"CD_TVAT.ZMO", "TVRAM ATTR"},   {"CD_FGET.ZMO", "ﾌｧｲﾙ検索"},     {"CD_LIB.ZMO", "Libraryﾃﾞｰﾀ"},
};

// The reserved names in the order the save-name check lists them.
constexpr const char* kReserved[12] = {
    "ZEMOCTRL.DAT", "CD_DATA.ZMO", "CD_SHUF.ZMO", "CD_BAGR.ZMO", "CD_DEL.ZMO",  "CD_NEW.ZMO",
    "CD_ADD.ZMO",   "CD_REF.ZMO",  "CD_TVCD.ZMO", "CD_TVAT.ZMO", "CD_FGET.ZMO", "CD_LIB.ZMO",
};

constexpr const char* kRecordKinds[5] = {"1:ｼﾝｸﾞﾙ", "2:ｱﾙﾊﾞﾑ", "3:ﾋﾞﾃﾞｵ", "4:ﾚｰｻﾞｰ", "5:その他"};
constexpr const char* kInfoKinds[3] = {"1:通常", "2:ﾀｲﾄﾙ", "3:両方"};

}  // namespace

std::string kindName(int kind) {
    if (kind < 0 || kind > kKindLast) return "???";
    return sj(kKinds[kind].nameUtf8);
}

std::string defaultFileName(int kind) {
    if (kind < 0 || kind > kKindLast) return "???";
    return kKinds[kind].file;
}

const char* const* reservedFileNames() { return kReserved; }

std::string recordKindName(int kind) {
    if (kind < 0 || kind > 4) return "";
    return sj(kRecordKinds[kind]);
}

std::string infoKindName(int infoKind) {
    if (infoKind < 0 || infoKind > 2) return "";
    return sj(kInfoKinds[infoKind]);
}

}  // namespace zemo
