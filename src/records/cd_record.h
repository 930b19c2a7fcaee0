// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CD record and the head of every data file. These are the stored byte images:
// little-endian, fixed offsets, copied whole.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace zemo {

static_assert(std::endian::native == std::endian::little, "stored files are little-endian");

struct CdRecord {
    char barcode[16];     // str 16/14
    char userCode[16];    // str 16/14
    char artistCode[32];  // str 32/30
    char title[42];       // str 42/40
    char artist[42];      // str 42/40
    std::int32_t timeSec;
    std::int32_t openDate;   // rental start YYYYMMDD, 0 = not set
    std::int32_t saleDate;   // release YYYYMMDD
    std::int32_t entryDate;  // data registration YYYYMMDD
    std::int32_t registeredAt;  // local seconds since 1970-01-01; <= 0 none
    std::int32_t deletedAt;
    std::int16_t active;
    std::int16_t trackCount;
    std::int16_t trackPos;
    std::int16_t kind;
    std::int16_t infoKind;
    std::int16_t catalogueIndex;
    std::uint8_t reserved[8];
};
static_assert(sizeof(CdRecord) == 192);
static_assert(offsetof(CdRecord, userCode) == 16);
static_assert(offsetof(CdRecord, artistCode) == 32);
static_assert(offsetof(CdRecord, title) == 64);
static_assert(offsetof(CdRecord, artist) == 106);
static_assert(offsetof(CdRecord, timeSec) == 148);
static_assert(offsetof(CdRecord, openDate) == 152);
static_assert(offsetof(CdRecord, saleDate) == 156);
static_assert(offsetof(CdRecord, entryDate) == 160);
static_assert(offsetof(CdRecord, registeredAt) == 164);
static_assert(offsetof(CdRecord, deletedAt) == 168);
static_assert(offsetof(CdRecord, active) == 172);
static_assert(offsetof(CdRecord, trackCount) == 174);
static_assert(offsetof(CdRecord, trackPos) == 176);
static_assert(offsetof(CdRecord, kind) == 178);
static_assert(offsetof(CdRecord, infoKind) == 180);
static_assert(offsetof(CdRecord, catalogueIndex) == 182);
static_assert(offsetof(CdRecord, reserved) == 184);

// A slot holds a record only when `active` is exactly 1; files are written with
// those records alone. Any other value (a damaged or foreign file) counts as not
// in use everywhere a record is shown, counted, searched or erased. The first
// free slot (`active` 0) and the shuffle list (any non-zero value) keep their
// own tests.
[[nodiscard]] constexpr bool isInUse(const CdRecord& r) noexcept { return r.active == 1; }

// Maximum text length (bytes, without the NUL) of each text field.
inline constexpr int kBarcodeMax = 14;
inline constexpr int kUserCodeMax = 14;
inline constexpr int kArtistCodeMax = 30;
inline constexpr int kTitleMax = 40;
inline constexpr int kArtistMax = 40;

struct DataFileHeader {
    char signature[32];
    char kindTitle[32];
    char subTitle[32];
    std::uint16_t magic;
    std::uint16_t dataVersion;
    std::uint16_t fileKind;
    std::uint16_t formatLevel;
    std::uint8_t zero[24];
};
static_assert(sizeof(DataFileHeader) == 128);
static_assert(offsetof(DataFileHeader, magic) == 96);
static_assert(offsetof(DataFileHeader, dataVersion) == 98);
static_assert(offsetof(DataFileHeader, fileKind) == 100);
static_assert(offsetof(DataFileHeader, formatLevel) == 102);

struct DataFileInfo {
    char memo[62];
    std::int16_t recordCount;
    std::int32_t savedAt;
    std::int16_t keyIndex;
    std::int16_t scrambled;
    std::int16_t wFlag;  // the flag the file chooser shows as "W"; this system writes 0
    char creatorId[16];
    std::int16_t hasPassword;
    char password[16];
    std::uint8_t zero2[148];
};
static_assert(sizeof(DataFileInfo) == 256);
static_assert(offsetof(DataFileInfo, recordCount) == 62);
static_assert(offsetof(DataFileInfo, savedAt) == 64);
static_assert(offsetof(DataFileInfo, keyIndex) == 68);
static_assert(offsetof(DataFileInfo, scrambled) == 70);
static_assert(offsetof(DataFileInfo, wFlag) == 72);
static_assert(offsetof(DataFileInfo, creatorId) == 74);
static_assert(offsetof(DataFileInfo, hasPassword) == 90);
static_assert(offsetof(DataFileInfo, password) == 92);

inline constexpr std::uint16_t kMagicPlain = 0x1236;
inline constexpr std::uint16_t kMagicShare = 0x1237;
inline constexpr std::uint16_t kDataVersion = 0x0302;
inline constexpr std::uint16_t kLevelPlain = 3;
inline constexpr std::uint16_t kLevelShare = 4;
inline constexpr std::size_t kHeaderBytes = sizeof(DataFileHeader);
inline constexpr std::size_t kDataStart = sizeof(DataFileHeader) + sizeof(DataFileInfo);  // 384
inline constexpr const char* kSignature = "ZEMO DATA FILE < by qend >";

// Sets a record to the cleared state: all zero, then trackCount 1 and trackPos 1.
void clearCdRecord(CdRecord& r);
CdRecord clearedRecord();

// Text of a fixed-width field: up to its NUL, never past the field (a damaged field may lack it).
template <std::size_t N>
std::string fieldText(const char (&field)[N]) {
    const void* nul = std::memchr(field, 0, N);
    std::size_t len = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - field) : N;
    return std::string(field, len);
}

// Stores text in a fixed-width field: at most maxLen bytes (default N - 1), NUL-padded.
// The cut never splits a double-byte character.
void storeField(char* field, std::size_t width, std::string_view text, std::size_t maxLen);
template <std::size_t N>
void setField(char (&field)[N], std::string_view text, std::size_t maxLen = N - 1) {
    storeField(field, N, text, maxLen < N ? maxLen : N - 1);
}

// Data-file kinds 0..11.
inline constexpr int kKindControl = 0;
inline constexpr int kKindCatalogue = 1;
inline constexpr int kKindShuffle = 2;
inline constexpr int kKindBarcodeAgree = 3;
inline constexpr int kKindDeleted = 4;
inline constexpr int kKindAdd = 5;
inline constexpr int kKindNew = 6;
inline constexpr int kKindReference = 7;
inline constexpr int kKindLast = 11;

// The kind name (CP932), "???" above 11.
std::string kindName(int kind);
// Default file name of a kind ("CD_DATA.ZMO", ...), "???" above 11.
std::string defaultFileName(int kind);
// The twelve reserved file names, kind 0..11.
const char* const* reservedFileNames();  // 12 entries

// Names of CdRecord::kind (0..4) and infoKind (0..2), CP932; "" outside the range.
std::string recordKindName(int kind);
std::string infoKindName(int infoKind);

}  // namespace zemo
