#pragma once
// The shell's own dialogs beside the main window: created once at start-up, owned by the main
// window, handed to the prompter that shows them.
class TFrmFileSel;
class TFrmFrdwt;
class TFrmGetDir;
class TFrmPassInp;
class TWinCrt;

namespace zemo {
class QtPrompter;
}

namespace zemo::ui {

class TFrmMain;

struct ShellWindows {
    TFrmFrdwt* readWrite = nullptr;
    TFrmGetDir* getDir = nullptr;
    TWinCrt* textOutput = nullptr;
    TFrmPassInp* password = nullptr;
    TFrmFileSel* chooser = nullptr;
};

// Creates the dialogs in start-up order and wires them to the prompter. The chooser's placement
// goes back into the window settings when the main window closes.
ShellWindows createShellWindows(TFrmMain& main, QtPrompter& prompter);

}  // namespace zemo::ui
