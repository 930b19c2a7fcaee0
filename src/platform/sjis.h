// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shift-JIS (CP932) <-> UTF-8. Stored texts are CP932 bytes in std::string;
// everything shown to the user or the terminal is UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace zemo {

struct ConvResult {
    std::string text;      // converted bytes (as far as conversion went)
    bool ok = true;        // false when some input could not be converted
    std::size_t badOffset = 0;  // byte offset in the input of the first failure
};

ConvResult sjisToUtf8Checked(std::string_view sjis);
ConvResult utf8ToSjisChecked(std::string_view utf8);

// Lenient forms for display: an unconvertible byte becomes U+FFFD (or "?" towards CP932)
// instead of being dropped.
std::string sjisToUtf8(std::string_view sjis);
std::string utf8ToSjis(std::string_view utf8);

// For the program's own literals, which are always convertible: throws std::logic_error otherwise.
std::string sj(std::string_view utf8Literal);

// Whether bytes are well-formed UTF-8 (no overlong forms, surrogates or code points above
// U+10FFFF); badOffset receives the offset of the first bad byte.
bool isUtf8(std::string_view bytes, std::size_t& badOffset);

}  // namespace zemo
