// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/sjis.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>

namespace zemo {
namespace {

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
    }
    ~Iconv() { iconv_close(cd_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts until the first failure; replacement (if not empty) is written for each bad
    // sequence and conversion resumes one byte later.
    ConvResult run(std::string_view in, std::string_view replacement, bool resume, bool utf8Input) {
        ConvResult r;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t left = in.size();
        char buf[1024];
        while (left > 0) {
            char* dst = buf;
            std::size_t room = sizeof buf;
            std::size_t rc = iconv(cd_, &src, &left, &dst, &room);
            r.text.append(buf, static_cast<std::size_t>(dst - buf));
            if (rc != static_cast<std::size_t>(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL (truncated sequence at the end)
            if (r.ok) {
                r.ok = false;
                r.badOffset = static_cast<std::size_t>(src - in.data());
            }
            if (!resume) return r;
            r.text.append(replacement);
            // One replacement per character: skip a whole UTF-8 sequence, or one CP932 byte.
            std::size_t skip = 1;
            if (utf8Input) {
                auto lead = static_cast<unsigned char>(*src);
                std::size_t want = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
                while (skip < want && skip < left && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
            }
            src += skip;
            left -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return r;
    }

private:
    iconv_t cd_;
};

Iconv& toUtf8() {
    thread_local Iconv cv("UTF-8", "CP932");
    return cv;
}
Iconv& toSjis() {
    thread_local Iconv cv("CP932", "UTF-8");
    return cv;
}

}  // namespace

ConvResult sjisToUtf8Checked(std::string_view sjis) { return toUtf8().run(sjis, "", false, false); }
ConvResult utf8ToSjisChecked(std::string_view utf8) { return toSjis().run(utf8, "", false, true); }

std::string sjisToUtf8(std::string_view sjis) { return toUtf8().run(sjis, "\xEF\xBF\xBD", true, false).text; }
std::string utf8ToSjis(std::string_view utf8) { return toSjis().run(utf8, "?", true, true).text; }

std::string sj(std::string_view utf8Literal) {
    ConvResult r = utf8ToSjisChecked(utf8Literal);
    if (!r.ok) throw std::logic_error("literal not convertible to CP932: " + std::string(utf8Literal));
    return r.text;
}

bool isUtf8(std::string_view s, std::size_t& badOffset) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        std::uint32_t cp = 0, min = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            n = 1, cp = c & 0x1F, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            n = 2, cp = c & 0x0F, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            n = 3, cp = c & 0x07, min = 0x10000;
        } else {
            badOffset = i;
            return false;
        }
        if (i + n >= s.size()) {  // the sequence runs past the end
            badOffset = i;
            return false;
        }
        for (std::size_t k = 1; k <= n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) {
                badOffset = i;
                return false;
            }
            cp = (cp << 6) | (t & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            badOffset = i;
            return false;
        }
        i += n + 1;
    }
    return true;
}

}  // namespace zemo
