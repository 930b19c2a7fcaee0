// SPDX-License-Identifier: GPL-3.0-or-later
// Message boxes and cursors of the core operations: every box is shown with the arrow cursor.
#include "records/file_services.h"

namespace zemo {

void arrowCursor(Workspace& ws, bool on) { ws.prompter.arrowCursor(on); }
void busyCursor(Workspace& ws, bool on) { ws.prompter.busyCursor(on); }

Answer showBox(Workspace& ws, BoxKind kind, const std::string& text, Buttons buttons) {
    arrowCursor(ws, true);
    Answer a = ws.prompter.message(kind, text, buttons);
    arrowCursor(ws, false);
    return a;
}

}  // namespace zemo
