// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes read as "ZEMOCTRL.DAT" (the fatal message answered). Beyond not crashing: a
// refused file leaves the record in memory as it was, apart from the values every read settles;
// an accepted one, saved and read again, gives back exactly the record in memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "records/control_file.h"
#include "storage_fuzz_env.h"

namespace {

using namespace zemo;

struct Env {
    fuzzing::FuzzFolder folder;
    fuzzing::AgreeingPrompter prompter;
    FixedClock clock{LocalTime{2024, 5, 15, 10, 0, 0}};
    Workspace ws{prompter, clock, folder.path};
    SysControl defaults{};

    Env() {
        initControlDefaults(ws);
        ws.control.runtime138 = 11;
        ws.control.runtime140 = -12;
        defaults = ws.control;
    }
};

bool same(const SysControl& a, const SysControl& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Env env;
    Workspace& ws = env.ws;
    ws.control = env.defaults;
    fuzzing::writeInput(controlFilePath(ws), data, size);

    if (loadControl(ws, true) != 0) {
        if (!same(ws.control, env.defaults)) std::abort();
        return 0;
    }
    if (size < sizeof(SysControl)) std::abort();
    if (ws.control.runtime138 != 11 || ws.control.runtime140 != -12 || ws.control.mode144 != 1 ||
        ws.control.misc[6] <= 0)
        std::abort();
    // Fields the file marks as scrambled are plain in memory.
    if (ws.control.shareMarker == 0x0303 && ws.control.scrambledNow == 1) std::abort();
    if (ws.shareFlag != (ws.control.shareMode == 1)) std::abort();

    if (saveControl(ws) != 0) std::abort();
    const SysControl saved = ws.control;
    if (loadControl(ws, true) != 0) std::abort();
    if (!same(ws.control, saved)) std::abort();
    return 0;
}
