// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the catalogue's windows share beyond ui/window_parts.h (buttons, sort menu): the range
// question of the list windows, and the steps that finish their forms.

class QWidget;

namespace zemo::ui {

class RecordGrid;
class TFrmPrnStEd;

// Shows the range dialog over a list of capacity rows with the remembered range (a last row of 0
// or less, or beyond the capacity, becomes the capacity). True and the range remembered on OK.
bool askListRange(TFrmPrnStEd& range, int capacity, int& first, int& last);

// Puts the record grid where its form keeps a place for it (a plain widget in a layout): the grid
// is named StringGrid1, takes the place's position in the layout and in the focus order, and the
// place is deleted. The grid needs the workspace, so a form cannot create it itself.
RecordGrid* placeRecordGrid(QWidget* place, RecordGrid* grid);

// The tool buttons a form laid out inside area become tool-bar buttons (parts::dressToolButton),
// each with its text as its hint.
void dressToolButtons(QWidget* area);

}  // namespace zemo::ui
