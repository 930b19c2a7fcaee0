// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Remembered placement and column widths applied to Qt windows (see records/window_settings.h),
// and the rules that keep windows where the user can reach them.
#include <QRect>
#include <vector>

#include "records/window_settings.h"

class QApplication;
class QHeaderView;
class QWidget;

namespace zemo::ui {

// Left and top go to 0 first; then every remembered value that is not -1 is applied. Height and
// width are the outer frame's: the inside is made smaller by the frame once the window manager has
// told its size. A place out of reach of every screen is moved onto the nearest one.
void applyPlace(QWidget* window, const WindowPlace& place);
// The window's current placement with its outer frame, for writing back.
WindowPlace currentPlace(const QWidget* window);

// widths[k] is the width of column k + 1; -1 keeps the design width.
void applyColumnWidths(QHeaderView* header, const std::vector<int>& widths);
void storeColumnWidths(const QHeaderView* header, std::vector<int>& widths);

// Moves a window to the middle of the screen it is on.
void centreOnScreen(QWidget* window);

// How much of a window's top edge must lie on a screen for its title bar to be taken with the mouse.
inline constexpr int kReachableEdge = 60;

// frame unchanged when its title bar is within reach on one of the available areas; otherwise
// moved onto the nearest area, keeping its size where it fits and shrunk to the area where not.
QRect placeOnScreens(const QRect& frame, const std::vector<QRect>& available);
// The available areas of the screens there are.
std::vector<QRect> availableScreenAreas();

// frame unchanged unless it covers `avoid` (the owner's tool bar); then beside the owner, right
// or left of it, where the area has room, else under `avoid` at the owner's right edge.
QRect placeBeside(const QRect& frame, const QRect& owner, const QRect& avoid, const QRect& available);
// Shows window beside owner so that it leaves owner's tool bar (its child "ToolBar") free, in front
// with the focus.
void showBeside(QWidget* window, QWidget* owner);

// Raises the window and gives it the focus (the window manager may have handed them to the
// window it waits over meanwhile).
void bringForward(QWidget* window);

// Every window shown from another comes in front of it with the focus, and when it goes the window
// it was opened from gets them back; a window without a parent is made transient for the one it
// was opened from. Installed once on the application.
void keepOpenedWindowsInFront(QApplication& app);

}  // namespace zemo::ui
