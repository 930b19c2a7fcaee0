// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/scramble.h"

#include <algorithm>

namespace zemo {
namespace {

// Key table: group 0 information block, group 1 userCode, group 2 the other record texts.
// Constant for every installation so that any installation reads another's share files.
constexpr std::int32_t kKeys[3][8] = {
    {0x5A3C96E1, -0x2B7D4F13, 0x13579BDF, 0x7E6D5C4B, -0x00C0FFEE, 0x24681357, 0x0BADF00D, -0x6A5B4C3D},
    {0x3141592B, 0x27182818, -0x16180339, 0x7FFFFFF5, 0x00000003, -0x55555552, 0x12345676, 0x0F0F0F0E},
    {0x6B8B4567, 0x327B23C6, -0x643C9869, 0x66334873, 0x74B0DC51, -0x19495CFF, 0x2AE8944A, 0x625558EC},
};

struct FieldRule {
    std::uint8_t xorByte;
    int rotate;  // 1 .. span - 1
};

constexpr FieldRule kCreatorRule{0xA5, 3};
constexpr FieldRule kPasswordRule{0x5C, 5};
constexpr FieldRule kBarcodeRule{0x3E, 6};
constexpr FieldRule kArtistCodeRule{0xC3, 11};
constexpr FieldRule kTitleRule{0x69, 17};
constexpr FieldRule kArtistRule{0x96, 23};
constexpr FieldRule kUserCodeRule{0x71, 4};

// Share fields of the control file: fixed bit rotation instead of a key.
constexpr FieldRule kShareCreatorRule{0xD2, 2};
constexpr FieldRule kShareExtraRule{0x4B, 7};
constexpr std::int32_t kShareCreatorBits = 5;
constexpr std::int32_t kShareExtraBits = 3;

// (k + j) mod 8 keeping the sign, as an index; negative results cannot arise for the kinds
// used, but a damaged keyIndex must not index outside the table.
std::int32_t key(int group, int k, int j) {
    int idx = (k + j) % 8;
    if (idx < 0) idx += 8;
    return kKeys[group][idx];
}

std::uint8_t rotr8(std::uint8_t b, int n) {
    return static_cast<std::uint8_t>((b >> n) | (b << (8 - n)));
}
std::uint8_t rotl8(std::uint8_t b, int n) {
    return static_cast<std::uint8_t>((b << n) | (b >> (8 - n)));
}

void apply(void* field, std::size_t span, FieldRule rule, std::int32_t keyValue, int direction) {
    scrambleSpan(static_cast<std::uint8_t*>(field), span, rule.xorByte, rule.rotate, keyValue, direction);
}

}  // namespace

void scrambleSpan(std::uint8_t* span, std::size_t length, std::uint8_t xorByte, int rotate,
                  std::int32_t key, int direction) {
    const int bits = key % 8;  // keeps the sign of key; <= 0 leaves the bits alone
    const std::size_t r = static_cast<std::size_t>(rotate) % length;
    if (direction == kScrambleApply) {
        for (std::size_t i = 0; i < length; ++i) span[i] ^= xorByte;
        std::rotate(span, span + (length - r), span + length);  // last r bytes to the front
        if (bits > 0)
            for (std::size_t i = 0; i < length; ++i) span[i] = rotr8(span[i], bits);
    } else {
        if (bits > 0)
            for (std::size_t i = 0; i < length; ++i) span[i] = rotl8(span[i], bits);
        std::rotate(span, span + r, span + length);  // first r bytes to the end
        for (std::size_t i = 0; i < length; ++i) span[i] ^= xorByte;
    }
}

void scrambleInfo(DataFileInfo& info, int direction, int k) {
    apply(info.creatorId, 8, kCreatorRule, key(0, k, 1), direction);
    apply(info.password, 14, kPasswordRule, key(0, k, 2), direction);
}

void scrambleUserCode(CdRecord& r, int direction, int k) {
    apply(r.userCode, 14, kUserCodeRule, key(1, k, 1), direction);
}

void scrambleRecord(CdRecord& r, int direction, int k) {
    apply(r.barcode, 14, kBarcodeRule, key(2, k, 1), direction);
    apply(r.artistCode, 30, kArtistCodeRule, key(2, k, 2), direction);
    apply(r.title, 40, kTitleRule, key(2, k, 3), direction);
    apply(r.artist, 40, kArtistRule, key(2, k, 4), direction);
    scrambleUserCode(r, direction, k);
}

void scrambleShareFields(char* creatorId, std::uint8_t* extra11, int direction) {
    apply(creatorId, 8, kShareCreatorRule, kShareCreatorBits, direction);
    apply(extra11, 11, kShareExtraRule, kShareExtraBits, direction);
}

}  // namespace zemo
