// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/window_settings.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/regular_file.h"
#include "platform/sjis.h"
#include "records/file_services.h"
#include "records/safe_write.h"
#include "records/text.h"

namespace zemo {

const PositionStem kPositionStems[19] = {
    {"Main", true},    {"Edit", true},  {"EInp", false},  {"Shuf", true},  {"Bagr", true},
    {"Del", true},     {"New", true},   {"Add", true},    {"Ref", true},   {"Disp", true},
    {"SDsp", true},    {"LPrn", true},  {"Tape", false},  {"SMode", false}, {"SRevi", false},
    {"SPass", false},  {"SCtl", false}, {"LCtl", false},  {"FileSel", true},
};

const WidthSection kWidthSections[9] = {
    {"DEdit_M", 13}, {"DShuf_M", 13}, {"DBagr_M", 13}, {"DDel_M", 15},   {"DNew_M", 14},
    {"DAdd_M", 13},  {"DRef_M", 13},  {"DDisp_M", 15}, {"FileSel_M", 6},
};

WindowSettings::WindowSettings() {
    for (const PositionStem& p : kPositionStems) positions[p.stem] = WindowPlace{};
    for (const WidthSection& w : kWidthSections) widths[w.section] = std::vector<int>(w.entries, -1);
}

namespace {

constexpr const char* kFileName = "WZEMO.INI";

// Section and key names compare without regard to the case of their letters.
std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

std::string_view trimBlanks(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// A whole value as an integer: decimal with an optional sign, or hexadecimal written "$1F" or
// "0x1F" (up to 8 digits, the bits taken as they stand), as the profile readers of the original
// platform accept it. Anything else is not a number.
std::optional<int> parseInt(std::string_view s) {
    int base = 10;
    if (s.size() > 1 && s.front() == '$') {
        s.remove_prefix(1);
        base = 16;
    } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        base = 16;
    }
    if (s.empty()) return std::nullopt;
    const char* end = s.data() + s.size();
    if (base == 16) {
        std::uint32_t u = 0;
        if (s.front() == '+' || s.front() == '-') return std::nullopt;
        auto [ptr, ec] = std::from_chars(s.data(), end, u, 16);
        if (ec != std::errc{} || ptr != end) return std::nullopt;
        return static_cast<int>(u);
    }
    if (s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.front() == '+') return std::nullopt;
    int n = 0;
    auto [ptr, ec] = std::from_chars(s.data(), end, n);
    if (ec != std::errc{} || ptr != end) return std::nullopt;
    return n;
}

// Section and key names folded to lower case -> raw value bytes; first occurrence wins.
class Profile {
public:
    explicit Profile(std::string_view bytes) {
        if (bytes.size() > kMaxSettingsBytes) {
            // Only whole lines inside the limit count; a line cut by it is dropped.
            bytes = bytes.substr(0, kMaxSettingsBytes);
            std::size_t lastBreak = bytes.find_last_of("\r\n");
            bytes = lastBreak == std::string_view::npos ? std::string_view{} : bytes.substr(0, lastBreak + 1);
        }
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        std::map<std::string, std::string>* section = nullptr;
        while (!bytes.empty()) {
            std::size_t end = bytes.find_first_of("\r\n");
            std::string_view line = bytes.substr(0, end);
            bytes = end == std::string_view::npos ? std::string_view{} : bytes.substr(end + 1);
            // The platform's string functions stop at a NUL.
            line = line.substr(0, line.find('\0'));
            line = trimBlanks(line);
            if (line.empty() || line.front() == ';') continue;
            if (line.front() == '[') {
                std::size_t close = line.find(']');
                section = nullptr;
                if (close == std::string_view::npos) continue;  // damaged header: its keys are ignored
                std::string name = lowered(trimBlanks(line.substr(1, close - 1)));
                if (name.empty()) continue;
                section = &sections_[name];  // a repeated section adds keys not seen before
                continue;
            }
            std::size_t eq = line.find('=');
            if (section == nullptr || eq == std::string_view::npos) continue;
            std::string key = lowered(trimBlanks(line.substr(0, eq)));
            if (key.empty()) continue;
            section->try_emplace(std::move(key), std::string(trimBlanks(line.substr(eq + 1))));
        }
    }

    const std::string* find(const char* section, const std::string& key) const {
        auto s = sections_.find(lowered(section));
        if (s == sections_.end()) return nullptr;
        auto k = s->second.find(lowered(key));
        return k == s->second.end() ? nullptr : &k->second;
    }

    void readInt(const char* section, const std::string& key, int& value) const {
        const std::string* v = find(section, key);
        if (v == nullptr) return;
        if (auto n = parseInt(*v)) value = *n;
    }

    void readBool(const char* section, const std::string& key, bool& value) const {
        int n = value ? 1 : 0;
        readInt(section, key, n);
        value = n != 0;
    }

    // Text values are CP932 in the file and UTF-8 in memory.
    void readText(const char* section, const std::string& key, std::string& value) const {
        const std::string* v = find(section, key);
        if (v == nullptr) return;
        ConvResult r = sjisToUtf8Checked(*v);
        if (r.ok) value = std::move(r.text);
    }

private:
    std::map<std::string, std::map<std::string, std::string>> sections_;
};

std::string widthKey(int i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Widths%.2d", i);
    return buf;
}

void readFont(const Profile& p, const char* prefix, FontSetting& f) {
    const std::string pre = prefix;
    p.readText("Font", pre + "Fn", f.name);
    p.readInt("Font", pre + "Sz", f.size);
    p.readInt("Font", pre + "St", f.style);
    p.readInt("Font", pre + "Cl", f.color);
}

// UTF-8 to CP932 with "?" for each character CP932 lacks (one mark per character, as the
// platform's conversion writes it, not one per byte).
std::string toCp932(std::string_view utf8) {
    std::string out;
    while (!utf8.empty()) {
        ConvResult r = utf8ToSjisChecked(utf8);
        out += r.text;
        if (r.ok) break;
        const auto lead = static_cast<unsigned char>(utf8[r.badOffset]);
        std::size_t len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        std::size_t skip = 1;  // the lead, then only genuine continuation bytes
        while (skip < len && r.badOffset + skip < utf8.size() &&
               (static_cast<unsigned char>(utf8[r.badOffset + skip]) & 0xC0) == 0x80)
            ++skip;
        out += '?';
        utf8.remove_prefix(r.badOffset + skip);
    }
    return out;
}

class Writer {
public:
    void section(const char* name) {
        if (!out_.empty()) out_ += "\r\n";
        out_ += '[';
        out_ += name;
        out_ += "]\r\n";
    }
    void value(const std::string& key, std::string_view bytes) {
        out_ += key;
        out_ += '=';
        out_ += bytes;
        out_ += "\r\n";
    }
    void integer(const std::string& key, int v) { value(key, std::to_string(v)); }
    void text(const std::string& key, std::string_view utf8) {
        // A value is one line and carries no NUL; the file holds CP932.
        std::string line(utf8);
        for (char& c : line)
            if (c == '\r' || c == '\n' || c == '\0') c = ' ';
        value(key, toCp932(line));
    }
    std::string take() { return std::move(out_); }

private:
    std::string out_;
};

void writeFont(Writer& w, const char* prefix, const FontSetting& f) {
    const std::string pre = prefix;
    w.text(pre + "Fn", f.name);
    w.integer(pre + "Sz", f.size);
    w.integer(pre + "St", f.style);
    w.integer(pre + "Cl", f.color);
}

constexpr const char* kNotRegularText = "通常のファイルではありません";

// reason, when given, is a third line saying why.
void fileError(Workspace& ws, const std::string& path, const std::string& reason = "") {
    showBox(ws, BoxKind::Error, path + "\n" + "ファイルエラー！" + (reason.empty() ? "" : "\n" + reason), Buttons::Ok);
}

}  // namespace

WindowSettings parseWindowSettings(std::string_view bytes) {
    const Profile p(bytes);
    WindowSettings s;
    for (const PositionStem& stem : kPositionStems) {
        WindowPlace& w = s.positions[stem.stem];
        const std::string base = stem.stem;
        p.readInt("Position", base + "_L", w.left);
        p.readInt("Position", base + "_T", w.top);
        if (stem.hasSize) {
            p.readInt("Position", base + "_H", w.height);
            p.readInt("Position", base + "_W", w.width);
        }
    }
    for (const WidthSection& sec : kWidthSections) {
        std::vector<int>& v = s.widths[sec.section];
        for (int i = 0; i < sec.entries; ++i) p.readInt(sec.section, widthKey(i), v[static_cast<std::size_t>(i)]);
    }
    SearchConditions& r = s.refMd;
    p.readBool("RefMd", "Agr", r.agr);
    p.readInt("RefMd", "Kind", r.kind);
    p.readInt("RefMd", "Item", r.item);
    p.readText("RefMd", "Bcd", r.bcd);
    p.readText("RefMd", "Ucd", r.ucd);
    p.readText("RefMd", "Acd", r.acd);
    p.readText("RefMd", "Art", r.art);
    p.readText("RefMd", "Dst", r.dst);
    p.readText("RefMd", "Ded", r.ded);
    readFont(p, "SufDsp", s.shufDisplayFont);
    readFont(p, "LblPrn", s.labelPrintFont);
    return s;
}

std::string formatWindowSettings(const WindowSettings& s) {
    Writer w;
    w.section("Position");
    for (const PositionStem& stem : kPositionStems) {
        auto it = s.positions.find(stem.stem);
        const WindowPlace place = it == s.positions.end() ? WindowPlace{} : it->second;
        const std::string base = stem.stem;
        w.integer(base + "_L", place.left);
        w.integer(base + "_T", place.top);
        if (stem.hasSize) {
            w.integer(base + "_H", place.height);
            w.integer(base + "_W", place.width);
        }
    }
    for (const WidthSection& sec : kWidthSections) {
        w.section(sec.section);
        auto it = s.widths.find(sec.section);
        for (int i = 0; i < sec.entries; ++i) {
            const auto idx = static_cast<std::size_t>(i);
            int v = (it != s.widths.end() && idx < it->second.size()) ? it->second[idx] : -1;
            w.integer(widthKey(i), v);
        }
    }
    const SearchConditions& r = s.refMd;
    w.section("RefMd");
    w.integer("Agr", r.agr ? 1 : 0);
    w.integer("Kind", r.kind);
    w.integer("Item", r.item);
    w.text("Bcd", r.bcd);
    w.text("Ucd", r.ucd);
    w.text("Acd", r.acd);
    w.text("Art", r.art);
    w.text("Dst", r.dst);
    w.text("Ded", r.ded);
    w.section("Font");
    writeFont(w, "SufDsp", s.shufDisplayFont);
    writeFont(w, "LblPrn", s.labelPrintFont);
    return w.take();
}

void clampToScreen(WindowSettings& settings, int screenWidth, int screenHeight) {
    for (auto& [stem, place] : settings.positions) {
        if (place.left > screenWidth - 60) place.left = 0;
        if (place.top > screenHeight - 60) place.top = 0;
    }
}

std::string windowSettingsPath(const Workspace& ws) {
    std::string dir = ws.programDir.string();
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir + kFileName;
}

int loadWindowSettings(Workspace& ws, WindowSettings& settings, int screenWidth, int screenHeight) {
    const std::string path = windowSettingsPath(ws);
    std::string bytes;
    bool failed = false, notRegular = false;
    // One byte past the limit tells the parser that the file went on.
    if (!readRegularFile(path, bytes, kMaxSettingsBytes + 1)) {
        const int err = errno;
        failed = err != ENOENT;  // a missing file simply gives the defaults
        notRegular = err == kNotRegularFile || err == EISDIR;
        // Keep only the whole lines read before a read error.
        std::size_t lastBreak = bytes.find_last_of("\r\n");
        bytes.resize(lastBreak == std::string::npos ? 0 : lastBreak + 1);
    }
    settings = parseWindowSettings(bytes);
    clampToScreen(settings, screenWidth, screenHeight);
    if (failed) {
        // Something else in the settings file's place (a FIFO, a folder) is named as such: the
        // program goes on with the defaults, as without the file.
        fileError(ws, path, notRegular ? kNotRegularText : "");
        return -1;
    }
    return 0;
}

int saveWindowSettings(Workspace& ws, const WindowSettings& settings) {
    const std::string path = windowSettingsPath(ws);
    const std::string bytes = formatWindowSettings(settings);
    if (!replaceFile(path, bytes.data(), bytes.size())) {
        fileError(ws, path);
        return -1;
    }
    return 0;
}

}  // namespace zemo
