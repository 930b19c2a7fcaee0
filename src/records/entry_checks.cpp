// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/entry_checks.h"

#include <cstdio>
#include <limits>

#include "records/file_services.h"
#include "records/text.h"

namespace zemo {

namespace {

constexpr std::size_t kMaxInputBytes = 255;

// Steps shared by the three checks: convert, store, range test.
EntryProblem inputProblem(std::int32_t& value, std::string_view text, std::int32_t min, std::int32_t max,
                          const char* convertMessage, bool isDate) {
    using Kind = EntryProblem::Kind;
    if (text.size() > kMaxInputBytes) return {Kind::Overlong, "入力文字が変です!"};
    std::int32_t v = 0;
    if (!parseDecimal(text, v)) return {Kind::NotConvertible, convertMessage};
    value = v;
    if (v < min || v > max) return {Kind::OutOfRange, rangeMessage(min, max), min, max};
    if (isDate && checkDate(v) != 0) return {Kind::NoSuchDate, "存在しない日付です!"};
    return {};
}

int shown(Workspace& ws, const EntryProblem& problem) {
    if (!problem) return 0;
    showBox(ws, BoxKind::Error, problem.text, Buttons::Ok);
    return 1;
}

constexpr const char* kNumberMessage = "入力文字を数値に変換できません!";
constexpr const char* kTimeMessage = "入力文字を時間数値に変換できません!";
constexpr const char* kDateMessage = "入力文字を日付数値に変換できません!";

}  // namespace

bool parseDecimal(std::string_view text, std::int32_t& out) {
    std::size_t i = 0, n = text.size();
    while (i < n && text[i] == ' ') ++i;
    while (n > i && text[n - 1] == ' ') --n;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= n) return false;
    std::int64_t v = 0;
    for (; i < n; ++i) {
        char c = text[i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) return false;
    }
    if (negative) v = -v;
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max()) return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

std::string rangeMessage(std::int32_t min, std::int32_t max) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "最小[ %d ] 最大[ %d ]です。", static_cast<int>(min), static_cast<int>(max));
    return std::string("入力範囲が不正です！\n") + buf;
}

EntryProblem numberInputProblem(std::int32_t& value, std::string_view text, std::int32_t min, std::int32_t max) {
    return inputProblem(value, text, min, max, kNumberMessage, false);
}

EntryProblem timeInputProblem(std::int32_t& value, std::string_view text, std::int32_t min, std::int32_t max) {
    return inputProblem(value, text, min, max, kTimeMessage, false);
}

EntryProblem dateInputProblem(std::int32_t& value, std::string_view text, std::int32_t min, std::int32_t max) {
    return inputProblem(value, text, min, max, kDateMessage, true);
}

int checkNumberInput(Workspace& ws, std::int32_t& value, std::string_view text, std::int32_t min,
                     std::int32_t max) {
    return shown(ws, numberInputProblem(value, text, min, max));
}

int checkTimeInput(Workspace& ws, std::int32_t& value, std::string_view text, std::int32_t min,
                   std::int32_t max) {
    return shown(ws, timeInputProblem(value, text, min, max));
}

int checkDateInput(Workspace& ws, std::int32_t& value, std::string_view text, std::int32_t min,
                   std::int32_t max) {
    return shown(ws, dateInputProblem(value, text, min, max));
}

double correctionRatio(std::int32_t refCdTime, std::int32_t machineTime) {
    if (machineTime <= 0 || refCdTime <= 0) return 1.0;
    double ref = refCdTime, machine = machineTime;
    if (machineTime > refCdTime) return 2.0 - machine / ref;
    return ref / machine;
}

std::string formatCorrectionRatio(double ratio) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%12.5f", ratio);
    return buf;
}

}  // namespace zemo
