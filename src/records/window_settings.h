// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "WZEMO.INI": window placement, column widths, the last search conditions and two fonts.
// Read whole at start-up, written whole at closing; in between the values live here.
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "records/workspace.h"

namespace zemo {

struct WindowPlace {
    int left = -1, top = -1, height = -1, width = -1;  // -1 = not stored
    bool operator==(const WindowPlace&) const = default;
};

struct FontSetting {
    std::string name = "ＭＳ 明朝";  // UTF-8
    int size = 9;
    int style = 1;  // 1 bold, 2 italic, 4 underline, 8 strike-out
    int color = 0;
    bool operator==(const FontSetting&) const = default;
};

struct SearchConditions {
    bool agr = false;
    int kind = 0;
    int item = 0;
    std::string bcd, ucd, acd, art;  // UTF-8
    std::string dst = "0", ded = "0";
    bool operator==(const SearchConditions&) const = default;
};

struct WindowSettings {
    // Key stem ("Main", "Edit", "EInp", ..., "FileSel") -> placement. Stems that keep only
    // left and top (kPositionStems) ignore height and width.
    std::map<std::string, WindowPlace> positions;
    // Section ("DEdit_M", ..., "FileSel_M") -> widths of columns 1..n (-1 = design width).
    std::map<std::string, std::vector<int>> widths;
    SearchConditions refMd;
    FontSetting shufDisplayFont;  // "SufDsp..."
    FontSetting labelPrintFont;   // "LblPrn..."

    WindowSettings();  // every key at its default
    bool operator==(const WindowSettings&) const = default;
};

struct PositionStem {
    const char* stem;
    bool hasSize;  // false: only "_L" and "_T" are kept
};
// The "Position" stems in file order.
extern const PositionStem kPositionStems[19];

struct WidthSection {
    const char* section;
    int entries;
};
// The column-width sections in file order.
extern const WidthSection kWidthSections[9];

// Only this much of the file is read; the rest counts as not there.
inline constexpr std::size_t kMaxSettingsBytes = 1 << 20;

std::string windowSettingsPath(const Workspace& ws);  // program folder + "WZEMO.INI"

// The file's bytes (CP932, "[Section]" and "key=value" lines) to settings. Reading is tolerant:
// LF, CRLF or CR line ends; blanks around names and values are dropped; section and key names
// match without regard to case; the first occurrence of a section or key wins, later ones are
// ignored, as the platform's profile reader does; lines that are neither are ignored; a number
// that does not read as one, or a text that is not valid CP932, keeps its default.
// Bytes beyond kMaxSettingsBytes are ignored.
WindowSettings parseWindowSettings(std::string_view bytes);
// Settings to the file's bytes: every key, CRLF line ends, CP932. Line breaks inside a text
// become blanks (a value is one line), characters outside CP932 become "?".
std::string formatWindowSettings(const WindowSettings& settings);

// The off-screen clamp: a stored left above screenWidth - 60 or top above screenHeight - 60
// becomes 0; -1 is unaffected.
void clampToScreen(WindowSettings& settings, int screenWidth, int screenHeight);

// Reads the file (missing file: defaults) and clamps to the screen. A read error shows the
// path + "\n" + "ファイルエラー！" and keeps what was read. 0 or -1.
int loadWindowSettings(Workspace& ws, WindowSettings& settings, int screenWidth, int screenHeight);
// Writes every key, through a temporary file renamed over the old one, so a failed save keeps
// the previous file. 0 or -1 (after the same message).
int saveWindowSettings(Workspace& ws, const WindowSettings& settings);

}  // namespace zemo
