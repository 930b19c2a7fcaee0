// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The plain record list: one line per CD of a record array, laid on a printer text device, with
// the stop window's count and stop button polled between slots.
#include <string>

#include "records/cd_record.h"
#include "records/workspace.h"

namespace zemo {

// The printer as a text device: lines of CP932 text laid on pages.
class TextDevice {
public:
    virtual ~TextDevice() = default;
    // Starts the job; false when it cannot be started (nothing is printed then).
    virtual bool open(const std::string& fontFamilyUtf8, int pointSize) = 0;
    virtual void write(const std::string& sjis) = 0;  // text without ending the line
    virtual void endLine() = 0;
    virtual void flush() = 0;
    virtual void close() = 0;  // ends the job
};

// The stop window as the printing loop sees it.
class ListProgress {
public:
    virtual ~ListProgress() = default;
    virtual void start() = 0;  // show without blocking, stop request off
    virtual void setCount(int n) = 0;
    virtual bool stopRequested() = 0;  // also lets pending events run
    virtual void pause(int ms) = 0;    // waits, handling events, ends at once on a stop request
    virtual void finish() = 0;         // close
};

struct DataListOptions {
    bool pauses = true;  // false: printing to a file, no spooler to wait for
};

inline constexpr int kDataListPauseEvery = 50;    // printed lines between pauses
inline constexpr int kDataListPauseMs = 3000;
inline constexpr const char* kDataListFont = "ＭＳ 明朝";
inline constexpr int kDataListPointSize = 9;
// dataListPrint's result when the device would not open (no line was printed).
inline constexpr int kDataListDeviceFailed = -2;

std::string dataListHeading();                            // the heading line (CP932)
std::string dataListLine(const CdRecord& r, int index);   // one record's line (CP932), index 0-based

// Prints the in-use records of the array of kind with 0-based indexes between a and b (either
// order, cut at capacity - 1). 0 when every read succeeded, the getter's code when one failed,
// -1 when the range is empty, kDataListDeviceFailed when the device would not open.
int dataListPrint(Workspace& ws, int kind, int capacity, int a, int b, TextDevice& device,
                  ListProgress& progress, DataListOptions options = {});

}  // namespace zemo
