// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list printout as the windows start it: the program's printer (chosen once), the stop window
// and the calling window locked to everything but the stop button while the loop runs.
#include "printing/ui/frm_stop.h"
#include "records/workspace.h"

class QWidget;

namespace zemo::ui {

class ProgramPrinter;

// Makes sure a printer is chosen (cancelled: -1, nothing printed), then runs dataListPrint on it,
// pausing only when the printer is not a PDF file. The result of dataListPrint otherwise.
int printDataList(Workspace& ws, ProgramPrinter& printer, TFrmStop& stop, int kind, int capacity, int a,
                  int b, QWidget* parent);

}  // namespace zemo::ui
