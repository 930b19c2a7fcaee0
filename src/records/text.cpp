// SPDX-License-Identifier: GPL-3.0-or-later
// Double-byte-aware text routines on CP932 bytes, the time and date formats, and the
// validity test every record passes before it is stored.
#include "records/text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <limits>
#include <thread>

#include "platform/prompter.h"
#include "records/file_services.h"
#include "records/workspace.h"

namespace zemo {

namespace {

constexpr unsigned char kFullWidthSpaceLead = 0x81;
constexpr unsigned char kFullWidthSpaceTrail = 0x40;

unsigned char byteAt(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// Length of the character starting at byte i: a lead byte takes the byte after it along,
// if there is one; a lead byte cut off at the end stands alone.
std::size_t charLen(std::string_view s, std::size_t i) {
    return (isLeadByte(byteAt(s, i)) && i + 1 < s.size()) ? 2 : 1;
}

// Blank width of the character at byte i: 1 for ' ', 2 for the full-width space, else 0.
int blankWidth(std::string_view s, std::size_t i, std::size_t len) {
    if (len == 1) return s[i] == ' ' ? 1 : 0;
    return (byteAt(s, i) == kFullWidthSpaceLead && byteAt(s, i + 1) == kFullWidthSpaceTrail) ? 2 : 0;
}

std::int32_t clampToInt32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Days from 1970-01-01 to a proleptic Gregorian date (month 1..12).
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = floorDiv(y, 400);
    const std::int64_t yoe = y - era * 400;                                       // 0..399
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;      // 0..365
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;               // 0..146096
    return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

// Leap days in the years 1 .. y (any y; years before 1 count negatively).
std::int64_t leapDaysThrough(std::int64_t y) { return floorDiv(y, 4) - floorDiv(y, 100) + floorDiv(y, 400); }

// Days in the whole years from .. to - 1.
std::int64_t daysInYears(std::int64_t from, std::int64_t to) {
    return 365 * (to - from) + leapDaysThrough(to - 1) - leapDaysThrough(from - 1);
}

std::string format(const char* fmt, int a, int b) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

std::string format(const char* fmt, int a, int b, int c) {
    char buf[64];
    std::snprintf(buf, sizeof buf, fmt, a, b, c);
    return buf;
}

}  // namespace

// --- characters and strings ---

bool isLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool isTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC; }

void DoubleByteKeyFilter::filter(char& key) {
    const auto b = static_cast<unsigned char>(key);
    if (pendingTrail_) {
        pendingTrail_ = false;
        if (isTrailByte(b)) {
            key = 0;
            return;
        }
    }
    if (isLeadByte(b)) {
        pendingTrail_ = true;
        key = 0;
    }
}

void upperCase(std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = charLen(s, i);
        if (len == 1 && s[i] >= 'a' && s[i] <= 'z') s[i] = static_cast<char>(s[i] - 'a' + 'A');
        i += len;
    }
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

int countBlanks(std::string_view s) {
    int n = 0;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = charLen(s, i);
        n += blankWidth(s, i, len);
        i += len;
    }
    return n;
}

std::string removedBlanks(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = charLen(s, i);
        if (blankWidth(s, i, len) == 0) out.append(s.substr(i, len));
        i += len;
    }
    return out;
}

void removeBlanks(std::string& s) { s = removedBlanks(s); }

void normalizeKey(std::string& s) {
    upperCase(s);
    removeBlanks(s);
}

int trimmedLength(std::string_view s) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = charLen(s, i);
        if (blankWidth(s, i, len) == 0) end = i + len;
        i += len;
    }
    return static_cast<int>(end);
}

void trimRight(std::string& s) { s.resize(static_cast<std::size_t>(trimmedLength(s))); }

std::string cutToBytes(std::string_view s, int n) {
    if (n <= 0) return {};
    const auto limit = static_cast<std::size_t>(n);
    if (limit >= s.size()) return std::string(s);
    std::string out(s.substr(0, limit));
    if (byteClassAt(s, n - 1) == 1) out.back() = ' ';  // the trail would fall outside
    return out;
}

int byteClassAt(std::string_view s, int i) {
    if (i < 0 || static_cast<std::size_t>(i) >= s.size()) return 3;
    const auto target = static_cast<std::size_t>(i);
    std::size_t pos = 0;
    for (;;) {
        const std::size_t len = charLen(s, pos);
        if (target < pos + len) {
            if (len == 2) return target == pos ? 1 : 2;
            return isLeadByte(byteAt(s, pos)) ? 1 : 0;  // a lead cut off at the end is still a lead
        }
        pos += len;
    }
}

std::string fitText(std::string_view s, int width) {
    if (width <= 0) return {};
    std::string t(s);
    trimRight(t);
    if (t.size() > static_cast<std::size_t>(width)) {
        t = cutToBytes(s, width);
        // Mark the cut on the last character: one byte, or both bytes of a double-byte one.
        if (byteClassAt(t, width - 1) == 2) t[t.size() - 2] = '*';
        t.back() = '*';
    }
    t.resize(static_cast<std::size_t>(width), ' ');
    return t;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    std::size_t i = 0;
    while (i < prefix.size()) {
        if (i >= text.size()) return false;
        const std::size_t len = charLen(prefix, i);
        if (charLen(text, i) != len || text.substr(i, len) != prefix.substr(i, len)) return false;
        i += len;
    }
    return true;
}

int findText(std::string_view pattern, std::string_view text) {
    if (pattern.empty()) return 1;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = charLen(text, i);
        if (text.size() - i >= pattern.size() && startsWith(text.substr(i), pattern))
            return static_cast<int>(i) + 1 + (len == 2 ? 1 : 0);
        i += len;
    }
    return 0;
}

// --- time and date ---

std::int32_t stampOf(const LocalTime& t) {
    const std::int64_t days = daysFromCivil(t.year, t.month, t.day);
    return clampToInt32(days * 86400 + std::int64_t{t.hour} * 3600 + std::int64_t{t.minute} * 60 + t.second);
}

std::int32_t nowStamp(const Clock& clock) { return stampOf(clock.localNow()); }

std::int32_t today(const Clock& clock) {
    const LocalTime t = clock.localNow();
    return t.year * 10000 + t.month * 100 + t.day;
}

LocalTime localTimeOfStamp(std::int32_t stamp) {
    const std::int64_t days = floorDiv(stamp, 86400);
    const auto rest = static_cast<int>(stamp - days * 86400);
    LocalTime t;
    civilFromDays(days, t.year, t.month, t.day);
    t.hour = rest / 3600;
    t.minute = rest / 60 % 60;
    t.second = rest % 60;
    return t;
}

std::int32_t secondsToMmss(std::int32_t s) { return clampToInt32(s % 60 + std::int64_t{s / 60} * 100); }

std::int32_t mmssToSeconds(std::int32_t v) { return clampToInt32(v % 100 + std::int64_t{v / 100} * 60); }

std::string formatTimeLong(std::int32_t s) {
    if (s / 60 >= 100000) return "-----:--";
    return format("%5d:%.2d", s / 60, s % 60);
}

std::string formatTimeShort(std::int32_t s) {
    if (s / 60 >= 100) return "--:--";
    return format("%2d:%.2d", s / 60, s % 60);
}

std::string formatDate(std::int32_t d) { return format("%4d/%.2d/%.2d", d / 10000, d % 10000 / 100, d % 100); }

std::string formatDateShort(std::int32_t d) {
    return format("%2d/%.2d/%.2d", d / 10000 % 100, d % 10000 / 100, d % 100);
}

std::string formatStamp(std::int32_t t) {
    if (t <= 0) return "----/--/-- --:--";
    const LocalTime lt = localTimeOfStamp(t);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%4d/%.2d/%.2d %.2d:%.2d", lt.year, lt.month, lt.day, lt.hour, lt.minute);
    return buf;
}

bool isLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
    static constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12) return 0;
    return (m == 2 && isLeapYear(y)) ? 29 : kLengths[m - 1];
}

int dayOfYear(int y, int m, int d) {
    const int last = std::min(m, 13);
    for (int k = 1; k < last; ++k) d += daysInMonth(y, k);
    return d;
}

int daysBetween(std::int32_t a, std::int32_t b) {
    const int ya = a / 10000, yb = b / 10000;
    const int da = dayOfYear(ya, a % 10000 / 100, a % 100);
    const int db = dayOfYear(yb, b % 10000 / 100, b % 100);
    if (ya == yb) return db - da;
    // Whole years between the two, plus the rest of the earlier year and the part of the later one.
    auto span = [](int y1, int d1, int y2, int d2) {
        return daysInYears(y1, y2) - d1 + d2;
    };
    const std::int64_t n = ya < yb ? span(ya, da, yb, db) : -span(yb, db, ya, da);
    return static_cast<int>(n);
}

int checkDate(std::int32_t d) {
    if (d == 0) return 0;
    if (d < 0) return -1;
    const int month = d % 10000 / 100;
    const int day = d % 100;
    if (month > 12) return -1;
    const int maxDay = month == 0 ? 31 : daysInMonth(d / 10000, month);
    return day > maxDay ? -1 : 0;
}

void waitMs(Prompter& prompter, const Clock& clock, int ms) {
    if (ms <= 0) return;
    const std::int64_t start = clock.tickMs();
    for (;;) {
        prompter.processEvents();
        const std::int64_t left = ms - (clock.tickMs() - start);
        if (left <= 0) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<std::int64_t>(left, 5)));
    }
}

// --- record validation ---

std::string cdRecordProblem(const CdRecord& r) {
    auto problem = [](const char* first, const char* second = "") {
        return std::string(first) + "\n" + second;
    };
    // Any barcode without a character other than blanks is refused, whatever its length.
    if (trimmedLength(fieldText(r.barcode)) == 0)
        return problem("ﾊﾞｰｺｰﾄﾞ文字がありません！", "スペース以外の文字が必要です。");
    if (r.trackCount < 1 || r.trackCount > 99) return problem("CD内登録曲数が異常です！");
    if (r.trackPos < 1 || r.trackPos > r.trackCount) return problem("CD内登録位置が異常です！");
    if (r.kind < 0 || r.kind > 4) return problem("種類が異常です！");
    if (r.infoKind < 0 || r.infoKind > 2) return problem("情報種別が異常です！");
    if (checkDate(r.saleDate) != 0) return problem("発売日が異常です！");
    if (checkDate(r.entryDate) != 0) return problem("ﾃﾞｰﾀ登録日が異常です！");
    if (checkDate(r.openDate) != 0) return problem("ﾚﾝﾀﾙ開始日が異常です！");
    return {};
}

int validateCdRecord(Workspace& ws, const CdRecord& r) {
    const std::string text = cdRecordProblem(r);
    if (text.empty()) return 0;
    showBox(ws, BoxKind::Error, text, Buttons::Ok);
    return -1;
}

}  // namespace zemo
