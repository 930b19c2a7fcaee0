// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes read as "WZEMO.INI". Beyond not crashing, the settings read must survive a
// write and a second read unchanged, and writing them again must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "records/window_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const zemo::WindowSettings first = zemo::parseWindowSettings(bytes);
    const std::string written = zemo::formatWindowSettings(first);
    const zemo::WindowSettings second = zemo::parseWindowSettings(written);
    if (!(second == first)) std::abort();
    if (zemo::formatWindowSettings(second) != written) std::abort();
    zemo::WindowSettings clamped = first;
    zemo::clampToScreen(clamped, 1024, 768);
    return 0;
}
