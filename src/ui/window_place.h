// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Remembered placement and column widths applied to Qt windows (see records/window_settings.h).
#include <vector>

#include "records/window_settings.h"

class QHeaderView;
class QWidget;

namespace zemo::ui {

// Left and top go to 0 first; then every remembered value that is not -1 is applied.
void applyPlace(QWidget* window, const WindowPlace& place);
// The window's current placement, for writing back.
WindowPlace currentPlace(const QWidget* window);

// widths[k] is the width of column k + 1; -1 keeps the design width.
void applyColumnWidths(QHeaderView* header, const std::vector<int>& widths);
void storeColumnWidths(const QHeaderView* header, std::vector<int>& widths);

// Moves a window to the middle of the screen it is on.
void centreOnScreen(QWidget* window);

}  // namespace zemo::ui
