// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The reversible byte scrambling of share-form files and of the control file's share fields.
#include <cstddef>
#include <cstdint>

#include "records/cd_record.h"

namespace zemo {

inline constexpr int kScrambleApply = 1;
inline constexpr int kScrambleUndo = 0;

void scrambleInfo(DataFileInfo& info, int direction, int keyIndex);
void scrambleRecord(CdRecord& r, int direction, int keyIndex);
void scrambleUserCode(CdRecord& r, int direction, int keyIndex);

// One span: XOR with xorByte, rotate the span right by rotate bytes, rotate each byte's bits
// right by (key mod 8). Direction 0 undoes the three steps in reverse order.
void scrambleSpan(std::uint8_t* span, std::size_t length, std::uint8_t xorByte, int rotate,
                  std::int32_t key, int direction);

// The control file's two share fields: creatorId (8 bytes at its start) and the 11 carried bytes.
void scrambleShareFields(char* creatorId, std::uint8_t* extra11, int direction);

}  // namespace zemo
