// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/data_list.h"

#include <algorithm>
#include <cstdio>

#include "platform/sjis.h"
#include "records/record_access.h"
#include "records/text.h"

namespace zemo {
namespace {

// "%-*s ": left-aligned in width bytes (never cut), then one blank.
void appendField(std::string& line, const std::string& text, int width) {
    line += text;
    if (static_cast<int>(text.size()) < width) line.append(static_cast<std::size_t>(width) - text.size(), ' ');
    line += ' ';
}

}  // namespace

std::string dataListHeading() {
    std::string line;
    appendField(line, "No.", 5);
    appendField(line, sj("バーコード"), 14);
    appendField(line, sj("ﾕｰｻﾞｰｺｰﾄﾞ"), 14);
    appendField(line, sj("タイトル"), 20);
    appendField(line, sj("アーチスト"), 18);
    appendField(line, sj("時間"), 8);
    appendField(line, sj("発売日"), 10);
    appendField(line, sj("登録日"), 10);
    return line;
}

std::string dataListLine(const CdRecord& r, int index) {
    char number[16];
    std::snprintf(number, sizeof number, "%5d ", index + 1);
    std::string line = number;
    appendField(line, fieldText(r.barcode), 14);
    appendField(line, fieldText(r.userCode), 14);
    appendField(line, fitText(fieldText(r.title), 20), 20);
    appendField(line, fitText(fieldText(r.artist), 18), 18);
    appendField(line, formatTimeLong(r.timeSec), 8);
    appendField(line, formatDate(r.saleDate), 10);
    appendField(line, formatDate(r.entryDate), 10);
    return line;
}

int dataListPrint(Workspace& ws, int kind, int capacity, int a, int b, TextDevice& device,
                  ListProgress& progress, DataListOptions options) {
    int first = std::min(std::min(a, b), capacity - 1);
    int last = std::min(std::max(a, b), capacity - 1);
    if (first < 0 || last < 0) return -1;

    int status = 0;
    int printed = 0;
    progress.setCount(0);
    progress.start();
    for (int i = first; i <= last; ++i) {
        // Lets the stop button be pressed; the request is acted on after this slot.
        progress.stopRequested();
        CdRecord r{};
        if (int got = getRecord(ws, r, i, kind, capacity); got != 0) {
            status = got;
            break;
        }
        if (isInUse(r)) {
            if (printed == 0) {
                if (!device.open(kDataListFont, kDataListPointSize)) {
                    status = kDataListDeviceFailed;
                    break;
                }
                device.write(dataListHeading());
                device.endLine();
            }
            // Ends the previous record's line; under the heading this leaves an empty line when
            // the range starts with empty slots.
            if (i != first) device.endLine();
            device.write(dataListLine(r, i));
            device.flush();
            ++printed;
            progress.setCount(printed);
            // A pause only right after every 50th line, to let a printer's spooler catch up.
            if (options.pauses && printed % kDataListPauseEvery == 0) progress.pause(kDataListPauseMs);
        }
        if (progress.stopRequested()) break;
    }
    if (printed > 0) device.close();
    progress.finish();
    return status;
}

}  // namespace zemo
