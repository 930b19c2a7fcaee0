// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/startup.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <new>

#include "records/control_file.h"
#include "records/file_services.h"

namespace zemo {

int databaseSizeFromControl(SysControl& control) {
    if (control.dbSize <= 0) {
        control.dbSize = 1;
        return 1;
    }
    return std::min<int>(control.dbSize, kMaxDbSize);
}

namespace {

// A whole decimal int32 with an optional sign; anything else (empty, trailing text, overflow) is
// unreadable.
bool readNumber(const std::string& text, int& out) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    if (first == last) return false;
    int value = 0;
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last) return false;
    out = value;
    return true;
}

}  // namespace

int databaseSizeFromArguments(int size, const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a.size() < 3) continue;
        if ((a[0] != '-' && a[0] != '/') || (a[1] != 'D' && a[1] != 'd')) continue;
        int n = 0;
        if (readNumber(a.substr(2), n)) size = std::clamp(n, 1, kMaxDbSize);
    }
    return size;
}

bool startShell(Workspace& ws, WindowSettings& settings, const std::vector<std::string>& args,
                int screenWidth, int screenHeight) {
    bool fatal = false;
    if (startControl(ws) != 0) {
        initControlDefaults(ws);
        fatal = true;
    }
    loadWindowSettings(ws, settings, screenWidth, screenHeight);
    int size = databaseSizeFromControl(ws.control);
    size = databaseSizeFromArguments(size, args);
    try {
        ws.createArrays(size);
    } catch (const std::bad_alloc&) {
        for (auto& a : ws.arrays) a = TCddataArray();
        ws.indexList = TLongintArray();
        ws.capacities.fill(0);
        showBox(ws, BoxKind::Error, "メモリーが足りないようです!", Buttons::Ok);
        fatal = true;
    }
    return fatal;
}

std::string clockText(const LocalTime& t) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%4d/%.2d/%.2d %.2d:%.2d:%.2d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return buf;
}

}  // namespace zemo
