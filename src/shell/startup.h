// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up of the shell over a workspace: the control record, the window settings, the database
// size for this run and the record arrays, in the order the main window's creation needs them.
#include <string>
#include <vector>

#include "platform/clock.h"
#include "records/window_settings.h"
#include "records/workspace.h"

namespace zemo {

inline constexpr int kMaxDbSize = 20;

// The size stored in the control record: above 0 it is used, at most 20 (the record keeps what it
// holds); 0 or less becomes 1, in the record as well.
int databaseSizeFromControl(SysControl& control);

// Applies the "-Dn" / "/Dn" parameters (case-insensitive, at least three characters) to a size:
// each readable number sets it, limited to 1..20; unreadable ones are ignored, later ones win.
int databaseSizeFromArguments(int size, const std::vector<std::string>& args);

// What the creation of the main window does before it places itself: startControl (defaults and
// the fatal flag on failure), the window settings, the database size and the arrays. Returns the
// fatal flag: the application must end when its main window would first be shown.
bool startShell(Workspace& ws, WindowSettings& settings, const std::vector<std::string>& args,
                int screenWidth, int screenHeight);

// "%4d/%.2d/%.2d %.2d:%.2d:%.2d", the clock in the captions of the main working windows.
std::string clockText(const LocalTime& t);

}  // namespace zemo
