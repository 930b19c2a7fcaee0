// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cassette label layout record: the control record's labelBlock and each of its four presets.
// 192 bytes, every integer int16 little-endian; widths and counts are half-width cells.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "records/sys_control.h"

namespace zemo {

// One side's part of a layout (side A at +0, side B at +18 of LabelSides).
struct LabelSide {
    std::int16_t subtitleFeed;   // line feeds before the side caption
    std::int16_t subtitlePrint;  // flag
    std::int16_t subtitleSpace;  // blank cells before the caption
    std::int16_t dataFeed;       // line feeds before the CD lines
    std::int16_t dataSpace;      // blank cells before each CD line
    std::int16_t numberPrint;    // flag: running number
    std::int16_t titleWidth;     // cells for the CD title
    std::int16_t artistWidth;    // cells for the artist
    std::int16_t timePrint;      // flag: playing time
};
static_assert(sizeof(LabelSide) == 18);

struct LabelSides {
    LabelSide sides[2];          // [0] side A, [1] side B
    std::int16_t artistPrint[2]; // flags at +36 (A) and +38 (B): artist in its own field
};
static_assert(sizeof(LabelSides) == 40);
static_assert(offsetof(LabelSides, sides) == 0);
static_assert(offsetof(LabelSides, artistPrint) == 36);

struct LabelLayout {
    std::int16_t reserved0;
    std::int16_t reserved2;         // written 0 with the defaults
    std::int16_t paperWidthChars;   // stored only
    std::int16_t pitchX;
    std::int16_t pitchY;
    std::int16_t offsetX;
    std::int16_t offsetY;
    std::int16_t titleFeedV;
    std::int16_t titleFeedH;
    std::int16_t titlePrint;
    std::int16_t titleSpace;
    std::int16_t titleChars;
    std::int16_t datePrint;
    std::int16_t subtitleKind;      // 0 "Ａ面", 1 "SIDE-A", 2 "A:"
    std::int16_t titleInput;
    char labelTitle[62];            // str 62/60
    std::int16_t dateInput;
    std::int16_t orientation;       // 0 vertical, 1 horizontal, 2 both
    LabelSides vertical;
    std::int16_t userVertical;
    std::int16_t userVerticalFeed;
    std::uint8_t reserved140[4];
    LabelSides horizontal;
    std::uint8_t reserved184[8];
};
static_assert(sizeof(LabelLayout) == kLabelBlockBytes);
static_assert(offsetof(LabelLayout, paperWidthChars) == 4);
static_assert(offsetof(LabelLayout, pitchX) == 6);
static_assert(offsetof(LabelLayout, offsetY) == 12);
static_assert(offsetof(LabelLayout, titleFeedV) == 14);
static_assert(offsetof(LabelLayout, titleFeedH) == 16);
static_assert(offsetof(LabelLayout, titlePrint) == 18);
static_assert(offsetof(LabelLayout, titleChars) == 22);
static_assert(offsetof(LabelLayout, datePrint) == 24);
static_assert(offsetof(LabelLayout, subtitleKind) == 26);
static_assert(offsetof(LabelLayout, titleInput) == 28);
static_assert(offsetof(LabelLayout, labelTitle) == 30);
static_assert(offsetof(LabelLayout, dateInput) == 92);
static_assert(offsetof(LabelLayout, orientation) == 94);
static_assert(offsetof(LabelLayout, vertical) == 96);
static_assert(offsetof(LabelLayout, userVertical) == 136);
static_assert(offsetof(LabelLayout, userVerticalFeed) == 138);
static_assert(offsetof(LabelLayout, horizontal) == 144);
static_assert(offsetof(LabelLayout, reserved184) == 184);

inline constexpr int kSideA = 0;
inline constexpr int kSideB = 1;

// The layout of a new control file: zero, then every creation default.
inline LabelLayout defaultLabelLayout() {
    LabelLayout l;
    std::memset(&l, 0, sizeof l);
    l.paperWidthChars = 123;
    l.titleFeedV = 4;
    l.titleFeedH = 6;
    l.titleChars = 60;
    l.datePrint = 1;
    for (LabelSides* s : {&l.vertical, &l.horizontal})
        for (LabelSide& side : s->sides) {
            side.subtitlePrint = 1;
            side.numberPrint = 1;
        }
    l.vertical.sides[kSideA].subtitleFeed = 2;
    l.horizontal.sides[kSideA].subtitleFeed = 5;
    for (LabelSide& side : l.vertical.sides) {
        side.titleWidth = 32;
        side.artistWidth = 26;
        side.timePrint = 1;
    }
    l.vertical.artistPrint[kSideA] = l.vertical.artistPrint[kSideB] = 1;
    for (LabelSide& side : l.horizontal.sides) side.titleWidth = 30;
    return l;
}

// The control record keeps the layout as raw bytes; these copy it in and out whole.
inline LabelLayout labelLayoutFrom(const std::uint8_t (&block)[kLabelBlockBytes]) {
    LabelLayout l;
    std::memcpy(&l, block, sizeof l);
    return l;
}
inline void storeLabelLayout(std::uint8_t (&block)[kLabelBlockBytes], const LabelLayout& l) {
    std::memcpy(block, &l, sizeof l);
}

}  // namespace zemo
