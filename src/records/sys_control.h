// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The 2048-byte system control record ("ZEMOCTRL.DAT"), held in memory for the whole run.
#include <cstddef>
#include <cstdint>

#include "records/cd_record.h"

namespace zemo {

// Tape-planning settings: the shuffleBlock at 832. Fields marked run-time are scratch values of
// the engine's working copy.
struct ShufControl {
    std::int16_t csvLayout;
    std::int16_t noOptimise;
    std::int16_t regOrderFirst;
    std::int16_t noOptimiseA;
    std::int16_t firstState;  // run-time
    std::int16_t forceStart;
    std::int16_t firstCount;  // run-time
    std::int16_t startA;
    std::int16_t startB;
    std::int16_t fixedA;      // run-time
    std::int16_t fixedB;      // run-time
    std::int16_t plusOnly;
    std::int16_t autoTarget;  // run-time
    std::int16_t bestCount;   // run-time
    std::int32_t bestDiff;    // run-time
    std::int32_t tolerance;
    std::int32_t targetSec;
    std::uint8_t reserved[24];
};
static_assert(sizeof(ShufControl) == 64);
static_assert(offsetof(ShufControl, startA) == 14);
static_assert(offsetof(ShufControl, plusOnly) == 22);
static_assert(offsetof(ShufControl, bestDiff) == 28);
static_assert(offsetof(ShufControl, tolerance) == 32);
static_assert(offsetof(ShufControl, targetSec) == 36);

inline constexpr std::size_t kLabelBlockBytes = 192;

struct SysControl {
    DataFileHeader header;  // 0
    // modeBlock, 128..255
    std::int16_t backupMode;      // 128: 0 = keep ".BAK", 1 = don't
    std::int16_t mode130;         // kept as read
    std::int16_t searchCodeMode;  // 132
    std::int16_t sortMode;        // 134: 0 = keep catalogue sorted, 1 = don't
    std::int16_t mode136;         // written as 0
    std::int16_t runtime138;      // run-time values: 0 in the file, kept in memory
    std::int16_t runtime140;
    std::int16_t mode142;
    std::int16_t mode144;         // set to 1 by reading and writing
    std::uint8_t mode146[14];
    std::int16_t dbSize;          // 160
    std::uint8_t mode162[94];
    // pathBlock, 256..767: eight str 64 slots
    char paths[8][64];
    // miscBlock, 768..831
    std::int16_t misc[32];
    // shuffleBlock, 832..895
    ShufControl shuffleBlock;
    // shareBlock, 896..1023
    std::uint8_t share896[4];
    char creatorId[16];            // 900
    std::uint8_t shareExtra[11];   // 916: carried, not interpreted
    std::uint8_t share927[5];
    std::int16_t scrambledNow;     // 932
    std::uint16_t shareMarker;     // 934: 0x0303 = the two fields above are stored scrambled
    std::int16_t shareMode;        // 936
    char sharePassword[16];        // 938
    std::uint8_t share954[70];
    // reviseBlock, 1024..1055
    std::int32_t refCdTime;
    std::int32_t machineTime;
    double reviseRatio;            // 1032
    std::uint8_t revise1040[16];
    // labelBlock, 1056..1247; presets 1250..2017
    std::uint8_t labelBlock[kLabelBlockBytes];
    std::uint8_t zero1248[2];
    std::uint8_t labelPresets[4][kLabelBlockBytes];
    std::uint8_t zero2018[30];
};
static_assert(sizeof(SysControl) == 2048);
static_assert(offsetof(SysControl, backupMode) == 128);
static_assert(offsetof(SysControl, sortMode) == 134);
static_assert(offsetof(SysControl, runtime138) == 138);
static_assert(offsetof(SysControl, mode144) == 144);
static_assert(offsetof(SysControl, dbSize) == 160);
static_assert(offsetof(SysControl, paths) == 256);
static_assert(offsetof(SysControl, misc) == 768);
static_assert(offsetof(SysControl, shuffleBlock) == 832);
static_assert(offsetof(SysControl, creatorId) == 900);
static_assert(offsetof(SysControl, shareExtra) == 916);
static_assert(offsetof(SysControl, scrambledNow) == 932);
static_assert(offsetof(SysControl, shareMarker) == 934);
static_assert(offsetof(SysControl, shareMode) == 936);
static_assert(offsetof(SysControl, sharePassword) == 938);
static_assert(offsetof(SysControl, refCdTime) == 1024);
static_assert(offsetof(SysControl, reviseRatio) == 1032);
static_assert(offsetof(SysControl, labelBlock) == 1056);
static_assert(offsetof(SysControl, labelPresets) == 1250);
static_assert(offsetof(SysControl, zero2018) == 2018);

// Slots of the path block.
inline constexpr int kPathSys = 1;   // "CD_SYS"
inline constexpr int kPathAdd = 2;   // "CD_ADD"
inline constexpr int kPathTxt = 3;   // "CD_TXT"
inline constexpr int kPathLib = 4;   // "CD_MD"
inline constexpr int kPathTmp = 5;   // "T_TMP"
inline constexpr int kPathGtmp = 6;  // "G_TMP"

}  // namespace zemo
