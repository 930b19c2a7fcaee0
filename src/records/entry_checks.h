// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The entry checks of every dialog's integer, time and date fields, and the correction ratio of
// the error-correction settings. Times are entered as MMMMSS and converted with mmssToSeconds /
// secondsToMmss (records/text.h).
#include <cstdint>
#include <string>
#include <string_view>

#include "records/workspace.h"

namespace zemo {

// What an entry check found wrong with a text: the message of its error box (UTF-8) and the values
// that message names (the range of a range problem). None when the text is accepted.
struct EntryProblem {
    enum class Kind { None, Overlong, NotConvertible, OutOfRange, NoSuchDate };
    Kind kind = Kind::None;
    std::string text;
    std::int32_t min = 0, max = 0;  // the range, for OutOfRange
    explicit operator bool() const { return kind != Kind::None; }
};

// Each check of a field's text. The number is stored in value as soon as the text converts, even
// when the range test then fails; a text that does not convert leaves value untouched.
[[nodiscard]] EntryProblem numberInputProblem(std::int32_t& value, std::string_view text, std::int32_t min,
                                              std::int32_t max);
[[nodiscard]] EntryProblem timeInputProblem(std::int32_t& value, std::string_view text, std::int32_t min,
                                            std::int32_t max);
[[nodiscard]] EntryProblem dateInputProblem(std::int32_t& value, std::string_view text, std::int32_t min,
                                            std::int32_t max);

// The same checks for a window: 0 when the text is accepted, 1 when it is not (its problem has been
// shown in an error box).
int checkNumberInput(Workspace& ws, std::int32_t& value, std::string_view text, std::int32_t min,
                     std::int32_t max);
int checkTimeInput(Workspace& ws, std::int32_t& value, std::string_view text, std::int32_t min,
                   std::int32_t max);
int checkDateInput(Workspace& ws, std::int32_t& value, std::string_view text, std::int32_t min,
                   std::int32_t max);

// The range message: "入力範囲が不正です！\n最小[ min ] 最大[ max ]です。" (UTF-8).
std::string rangeMessage(std::int32_t min, std::int32_t max);

// A plain, optionally signed decimal number, blanks around it allowed; nothing else converts.
bool parseDecimal(std::string_view text, std::int32_t& out);

// 1.0 unless both times are positive; 2 - machine/ref when the machine is slower, else ref/machine.
double correctionRatio(std::int32_t refCdTime, std::int32_t machineTime);
// "%12.5f"
std::string formatCorrectionRatio(double ratio);

}  // namespace zemo
