#pragma once
// Pieces the catalogue's list windows share: their buttons, the sort menu and the range question.
#include <QString>

class QMenu;
class QPushButton;
class QToolButton;
class QWidget;

namespace zemo::ui {

class TFrmPrnStEd;

QToolButton* listToolButton(QWidget* parent, const char* name, const char* hint);
QPushButton* listButton(QWidget* parent, const char* name, const char* text);

// The sort menu PupMnSort with SORT_BCD ... SORT_POS, each carrying its key as the "Tag" property.
QMenu* makeSortMenu(QWidget* parent);

// Shows the range dialog over a list of capacity rows with the remembered range (a last row of 0
// or less, or beyond the capacity, becomes the capacity). True and the range remembered on OK.
bool askListRange(TFrmPrnStEd& range, int capacity, int& first, int& last);

}  // namespace zemo::ui
