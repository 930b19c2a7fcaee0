// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The range question the catalogue's list windows share (their buttons and sort menu are in
// ui/window_parts.h).

namespace zemo::ui {

class TFrmPrnStEd;

// Shows the range dialog over a list of capacity rows with the remembered range (a last row of 0
// or less, or beyond the capacity, becomes the capacity). True and the range remembered on OK.
bool askListRange(TFrmPrnStEd& range, int capacity, int& first, int& last);

}  // namespace zemo::ui
