// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Double-byte-aware text routines on CP932 bytes, and the time and date formats.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "records/cd_record.h"

namespace zemo {

class Prompter;
class Workspace;

// --- characters and strings (CP932 bytes) ---
bool isLeadByte(unsigned char b);   // 0x81..0x9F, 0xE0..0xFC
bool isTrailByte(unsigned char b);  // 0x40..0xFC

// Keyboard filter for single-byte-only fields: swallows a lead byte (sets key to 0) and the
// trail byte after it. The state lives in the filter object (one per field).
class DoubleByteKeyFilter {
public:
    void filter(char& key);

private:
    bool pendingTrail_ = false;
};

void upperCase(std::string& s);           // ASCII letters; double-byte characters untouched
// ASCII letters byte by byte, for names and paths (not CP932 text, whose trail bytes may be letters).
char lowerAscii(char c);
bool equalIgnoringCase(std::string_view a, std::string_view b);  // same length, same bytes but for A-Z/a-z
int countBlanks(std::string_view s);      // ' ' counts 1, full-width space counts 2
void removeBlanks(std::string& s);
std::string removedBlanks(std::string_view s);
void normalizeKey(std::string& s);        // upperCase then removeBlanks
int trimmedLength(std::string_view s);
void trimRight(std::string& s);
std::string cutToBytes(std::string_view s, int n);
int byteClassAt(std::string_view s, int i);  // 0 single, 1 lead, 2 trail, 3 beyond the end
std::string fitText(std::string_view s, int width);
bool startsWith(std::string_view text, std::string_view prefix);
int findText(std::string_view pattern, std::string_view text);

// --- time and date ---
std::int32_t stampOf(const LocalTime& t);  // seconds since 1970-01-01 00:00 of a local time
std::int32_t nowStamp(const Clock& clock);
std::int32_t today(const Clock& clock);    // YYYYMMDD
LocalTime localTimeOfStamp(std::int32_t stamp);

std::int32_t secondsToMmss(std::int32_t s);
std::int32_t mmssToSeconds(std::int32_t v);
std::string formatTimeLong(std::int32_t s);   // "%5d:%.2d" or "-----:--"
std::string formatTimeShort(std::int32_t s);  // "%2d:%.2d" or "--:--"
std::string formatDate(std::int32_t d);       // "%4d/%.2d/%.2d"
std::string formatDateShort(std::int32_t d);  // "%2d/%.2d/%.2d"
std::string formatStamp(std::int32_t t);      // "%4d/%.2d/%.2d %.2d:%.2d" or "----/--/-- --:--"

bool isLeapYear(int y);
int daysInMonth(int y, int m);
int dayOfYear(int y, int m, int d);
int daysBetween(std::int32_t a, std::int32_t b);
int checkDate(std::int32_t d);  // 0 valid, -1 invalid

// Waits ms milliseconds, letting the user interface handle its events meanwhile.
void waitMs(Prompter& prompter, const Clock& clock, int ms);

// 0 valid; -1 after showing the reason in an error box.
int validateCdRecord(Workspace& ws, const CdRecord& r);
// The reason without showing it ("" when valid): first line, "\n", second line.
std::string cdRecordProblem(const CdRecord& r);

}  // namespace zemo
