#pragma once
// "WZEMO.INI": window placement, column widths, the last search conditions and two fonts.
// Read whole at start-up, written whole at closing; in between the values live here.
#include <map>
#include <string>
#include <vector>

#include "records/workspace.h"

namespace zemo {

struct WindowPlace {
    int left = -1, top = -1, height = -1, width = -1;  // -1 = not stored
};

struct FontSetting {
    std::string name;  // UTF-8, default "ＭＳ 明朝"
    int size = 9;
    int style = 1;     // 1 bold, 2 italic, 4 underline, 8 strike-out
    int color = 0;
};

struct SearchConditions {
    bool agr = false;
    int kind = 0;
    int item = 0;
    std::string bcd, ucd, acd, art;  // UTF-8
    std::string dst = "0", ded = "0";
};

struct WindowSettings {
    // Key stem ("Main", "Edit", "EInp", ..., "FileSel") -> placement.
    std::map<std::string, WindowPlace> positions;
    // Section ("DEdit_M", ..., "FileSel_M") -> widths of columns 1..n (-1 = design width).
    std::map<std::string, std::vector<int>> widths;
    SearchConditions refMd;
    FontSetting shufDisplayFont;  // "SufDsp..."
    FontSetting labelPrintFont;   // "LblPrn..."

    WindowSettings();  // every key at its default
};

std::string windowSettingsPath(const Workspace& ws);  // program folder + "WZEMO.INI"

// Reads the file (missing file: defaults); left/top beyond the screen less 60 become 0.
// A read error shows the path + "\n" + "ファイルエラー！" and keeps what was read. 0 or -1.
int loadWindowSettings(Workspace& ws, WindowSettings& settings, int screenWidth, int screenHeight);
// Writes every key. 0 or -1 (after the same message).
int saveWindowSettings(Workspace& ws, const WindowSettings& settings);

}  // namespace zemo
