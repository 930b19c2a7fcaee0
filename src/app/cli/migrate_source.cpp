// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/migrate_source.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "records/cd_record.h"
#include "records/file_services.h"

namespace zemo::cli::migrate {

namespace fs = std::filesystem;

namespace {

constexpr const char* kFileErrorText = "ファイルエラー！";
constexpr std::size_t kControlBytes = 2048;

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool magicKnown(std::uint16_t m) { return m == kMagicPlain || m == kMagicShare; }
bool levelKnown(std::uint16_t level) { return level >= 2 && level <= 4; }

std::string format(const char* fmt, auto... values) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, values...);
    return buf;
}

// The program's own box for a level it does not read, on one line.
std::string versionMessage(std::uint16_t level) {
    return "対応していないﾃﾞｰﾀのﾊﾞｰｼﾞｮﾝです！ " + format("DATA VERSION %2X.%.2X", level >> 8, level & 0xFF);
}

FileCheck refusal(std::string reason, std::string stored) {
    FileCheck c;
    c.reason = std::move(reason);
    c.stored = std::move(stored);
    return c;
}

// The header as both the data-file reader and the control file's start check it.
std::optional<FileCheck> headerRefusal(std::string_view b, DataFileHeader& h) {
    if (b.empty()) return refusal("the file is empty", errorText(kErrRead));
    if (b.size() <= sizeof h)
        return refusal(format("the file has %zu bytes, not more than its 128-byte header", b.size()),
                       errorText(kErrRead));
    std::memcpy(&h, b.data(), sizeof h);
    if (!magicKnown(h.magic))
        return refusal(format("not a file of the program: its header mark is 0x%04X, not 0x1236 or 0x1237", h.magic),
                       errorText(kErrHeader));
    if (!levelKnown(h.formatLevel))
        return refusal(format("its format level 0x%04X is not one the program reads (2, 3 or 4)", h.formatLevel),
                       versionMessage(h.formatLevel));
    return std::nullopt;
}

// Walks names down from base, each matched without regard to case (an exact match first).
std::optional<fs::path> walk(const fs::path& base, const std::vector<std::string>& names, std::string& problem) {
    fs::path cur = base;
    for (const std::string& n : names) {
        if (n == "..") {
            cur = cur.has_relative_path() ? cur.parent_path() : cur;
            continue;
        }
        struct stat st {};
        if (::stat((cur / n).c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
            cur /= n;
            continue;
        }
        const std::vector<std::string> like = namesLike(cur, n, true);
        if (like.size() > 1) {
            problem = "two folders for one name there: " + printable(like[0]) + " and " + printable(like[1]);
            return std::nullopt;
        }
        if (like.empty()) return std::nullopt;
        cur /= like[0];
    }
    return cur;
}

std::string joined(const std::vector<std::string>& names, std::size_t from) {
    std::string out;
    for (std::size_t i = from; i < names.size(); ++i) out += (out.empty() ? "" : "/") + names[i];
    return out.empty() ? "." : out;
}

}  // namespace

int openQuietly(const fs::path& p, int flags) {
    int fd = ::open(p.c_str(), flags | O_NOATIME);
    // Only the file's owner (or root) may read without touching the access time.
    if (fd < 0 && errno == EPERM) fd = ::open(p.c_str(), flags);
    return fd;
}

bool listFolder(const fs::path& dir, std::vector<std::string>& names, int& err) {
    names.clear();
    const int fd = openQuietly(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return false;
    }
    DIR* d = ::fdopendir(fd);
    if (d == nullptr) {
        err = errno;
        ::close(fd);
        return false;
    }
    errno = 0;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
        errno = 0;
    }
    err = errno;
    ::closedir(d);
    return err == 0;
}

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

std::string upperAscii(std::string s) {
    for (char& c : s) c = upper(c);
    return s;
}

bool readWhole(const fs::path& p, std::size_t limit, std::string& bytes, struct stat& st, int& err) {
    bytes.clear();
    // Never waits on a FIFO put in a file's place.
    const int fd = openQuietly(p, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return false;
    }
    bool ok = ::fstat(fd, &st) == 0;
    err = ok ? 0 : errno;
    if (ok && !S_ISREG(st.st_mode)) ok = false, err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    if (ok && static_cast<std::uintmax_t>(st.st_size) > limit) ok = false, err = EFBIG;
    if (ok) {
        char buf[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                ok = false, err = errno;
                break;
            }
            if (n == 0) break;
            bytes.append(buf, static_cast<std::size_t>(n));
            if (bytes.size() > limit) {
                ok = false, err = EFBIG;
                break;
            }
        }
    }
    ::close(fd);
    return ok;
}

std::vector<std::string> namesLike(const fs::path& dir, std::string_view name, bool wantFolder) {
    std::vector<std::string> names, out;
    int err = 0;
    if (!listFolder(dir, names, err)) return out;
    for (const std::string& n : names) {
        if (!sameNameIgnoringCase(n, name)) continue;
        struct stat st {};
        const bool isFolder = ::stat((dir / n).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        if (isFolder == wantFolder) out.push_back(n);
    }
    std::sort(out.begin(), out.end());
    return out;
}

StoredFolder splitStoredFolder(std::string_view utf8) {
    std::string s(utf8);
    for (char& c : s)
        if (c == '/') c = '\\';
    StoredFolder out;
    std::string_view rest = s;
    if (rest.substr(0, 2) == "\\\\") {
        // \\server\share\...: the server is no folder of the copy.
        out.absolute = true;
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('\\');
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    } else if (rest.size() >= 2 && rest[1] == ':' &&
               ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= 'a' && rest[0] <= 'z'))) {
        out.absolute = true;
        rest.remove_prefix(2);
    } else if (!rest.empty() && rest[0] == '\\') {
        out.absolute = true;
    }
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find('\\', start);
        if (end == std::string_view::npos) end = rest.size();
        const std::string name(rest.substr(start, end - start));
        start = end + 1;
        if (name.empty() || name == ".") continue;
        if (name == ".." && !out.names.empty() && out.names.back() != "..") {
            out.names.pop_back();
        } else if (name == ".." && out.absolute) {
            // Above a drive's root is its root.
        } else {
            out.names.push_back(name);
        }
    }
    return out;
}

FoundFolder findOldFolder(const fs::path& old, std::string_view storedUtf8) {
    FoundFolder found;
    const StoredFolder stored = splitStoredFolder(storedUtf8);
    if (!stored.absolute) {
        found.lookedFor.push_back(joined(stored.names, 0));
        found.path = walk(old, stored.names, found.problem);
        return found;
    }
    for (std::size_t from = 0; from < stored.names.size(); ++from) {
        found.lookedFor.push_back(joined(stored.names, from));
        std::vector<std::string> tail(stored.names.begin() + static_cast<std::ptrdiff_t>(from), stored.names.end());
        std::string problem;
        found.path = walk(old, tail, problem);
        if (found.problem.empty()) found.problem = problem;
        if (found.path) {
            found.problem.clear();
            return found;
        }
    }
    if (stored.names.empty()) found.problem = "it names the root of a drive";
    return found;
}

FileCheck checkDataFile(std::string_view b) {
    DataFileHeader h{};
    if (auto refused = headerRefusal(b, h)) return *refused;
    if (b.size() < kDataStart)
        return refusal(format("the file ends inside its information block (%zu of 384 bytes)", b.size()),
                       kFileErrorText);
    DataFileInfo info{};
    std::memcpy(&info, b.data() + sizeof h, sizeof info);
    const int n = info.recordCount;
    if (n < 0) return refusal(format("its record count is negative (%d)", n), kFileErrorText);
    const std::size_t needed = kDataStart + static_cast<std::size_t>(n) * sizeof(CdRecord);
    if (b.size() < needed)
        return refusal(format("the file ends inside its records: %d announced, %zu whole, %zu bytes of %zu", n,
                              (b.size() - kDataStart) / sizeof(CdRecord), b.size(), needed),
                       kFileErrorText);
    FileCheck c;
    c.ok = true;
    c.records = n;
    c.shareForm = h.magic == kMagicShare || info.hasPassword == 1;
    return c;
}

FileCheck checkControlFile(std::string_view b) {
    DataFileHeader h{};
    if (auto refused = headerRefusal(b, h)) return *refused;
    if (b.size() < kControlBytes)
        return refusal(format("the control file has %zu bytes, not its 2048", b.size()), errorText(kErrRead));
    FileCheck c;
    c.ok = true;
    return c;
}

std::string printable(std::string_view s) {
    std::string out;
    auto escape = [&out](unsigned char c) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "\\x%02X", c);
        out += buf;
    };
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            if (c < 0x20 || c == 0x7F)
                escape(c);
            else
                out += static_cast<char>(c);
            ++i;
            continue;
        }
        std::size_t n = 0;
        std::uint32_t cp = 0, min = 0;
        if ((c & 0xE0) == 0xC0)
            n = 1, cp = c & 0x1F, min = 0x80;
        else if ((c & 0xF0) == 0xE0)
            n = 2, cp = c & 0x0F, min = 0x800;
        else if ((c & 0xF8) == 0xF0)
            n = 3, cp = c & 0x07, min = 0x10000;
        bool valid = n > 0;
        for (std::size_t k = 1; valid && k <= n; ++k) {
            if (i + k >= s.size()) {
                valid = false;
                break;
            }
            const auto t = static_cast<unsigned char>(s[i + k]);
            valid = (t & 0xC0) == 0x80;
            cp = (cp << 6) | (t & 0x3F);
        }
        valid = valid && cp >= min && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
        if (!valid) {
            escape(c);
            ++i;
        } else if (cp >= 0x80 && cp <= 0x9F) {  // C1 controls act on terminals too
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(cp));
            out += buf;
            i += n + 1;
        } else {
            out.append(s.substr(i, n + 1));
            i += n + 1;
        }
    }
    return out;
}

}  // namespace zemo::cli::migrate
