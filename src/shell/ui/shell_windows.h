// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shell's own dialogs beside the main window: created once at start-up, owned by the main
// window, and installed in the prompter as the dialogs behind its password prompt, read/write
// choice and data-file chooser.
#include <memory>
#include <optional>
#include <string>

#include "ui/qt_prompter.h"

namespace zemo {
class Workspace;
struct WindowSettings;
}  // namespace zemo

namespace zemo::ui {

class TFrmCd_Add;
class TFrmCd_Bagr;
class TFrmCd_data;
class TFrmCdEdit;
class TFrmCd_Del;
class TFrmCd_New;
class TFrmCd_Ref;
class TFrmDataDisp;
class TFrmFileSel;
class TFrmFrdwt;
class TFrmLbprCtl;
class TFrmGetDir;
class TFrmMain;
class TFrmPassInp;
class TFrmPrnLabel;
class TFrmPrnStEd;
class TFrmRefMd;
class TFrmShare;
class TFrmShufCtrl;
class TFrmShufMain;
class TFrmShufDisp;
class TFrmStop;
class TFrmSysMode;
class TFrmSysPass;
class TFrmSysRevi;
class TFrmTape;
class TWinCrt;

// The prompter's dialogs. A dialog not handed over is created on first use; the chooser then
// needs the workspace and the window settings it remembers its placement in, and without them
// nothing is chosen.
class ShellPromptDialogs : public PromptDialogs {
public:
    ShellPromptDialogs();
    ~ShellPromptDialogs() override;

    void setPasswordDialog(TFrmPassInp* dialog) { password_ = dialog; }
    void setReadWriteDialog(TFrmFrdwt* dialog) { readWrite_ = dialog; }
    void setFileChooser(TFrmFileSel* chooser) { chooser_ = chooser; }
    void setChooserContext(Workspace* ws, WindowSettings* settings);

    std::optional<std::string> askPassword() override;
    int askReadWrite() override;
    FileChoice chooseDataFile(int mode, const std::string& initialDir) override;

private:
    TFrmPassInp* password_ = nullptr;
    TFrmFrdwt* readWrite_ = nullptr;
    TFrmFileSel* chooser_ = nullptr;
    std::unique_ptr<TFrmPassInp> ownPassword_;
    std::unique_ptr<TFrmFrdwt> ownReadWrite_;
    std::unique_ptr<TFrmFileSel> ownChooser_;
    Workspace* ws_ = nullptr;
    WindowSettings* settings_ = nullptr;
};

struct ShellWindows {
    TFrmShufCtrl* shufCtrl = nullptr;  // also for the planning windows (execReloaded)
    TFrmTape* tape = nullptr;          // for the planning results window
    TFrmFrdwt* readWrite = nullptr;
    TFrmGetDir* getDir = nullptr;
    TFrmSysMode* sysMode = nullptr;
    TFrmSysPass* sysPass = nullptr;
    TFrmSysRevi* sysRevi = nullptr;
    TWinCrt* textOutput = nullptr;
    TFrmShare* share = nullptr;
    TFrmPassInp* password = nullptr;
    TFrmFileSel* chooser = nullptr;
    TFrmCd_data* catalogue = nullptr;
    TFrmCd_Ref* searchResults = nullptr;
    TFrmRefMd* search = nullptr;
    // Opened without blocking from the tape-planning window, which gives it its parent.
    TFrmDataDisp* dataDisplay = nullptr;
    TFrmLbprCtl* labelLayout = nullptr;
    TFrmPrnLabel* labelPrint = nullptr;  // for the results window's label command
    TFrmCdEdit* editor = nullptr;
    TFrmCd_Bagr* agreement = nullptr;
    TFrmCd_Del* deleted = nullptr;
    TFrmCd_New* added = nullptr;
    TFrmCd_Add* addList = nullptr;
    // The tape-planning list, opened by the optimisation commands.
    TFrmShufMain* shufMain = nullptr;
    // The planning results window; the tape-planning list window opens it (openFor).
    TFrmShufDisp* shufDisp = nullptr;
};

// Creates the dialogs in start-up order and hands them to the prompt dialogs, which the caller
// installs in its prompter, and gives the main window's settings commands their dialogs (the
// chooser's "SHARE設定" button opens the share settings too). The placement of the chooser and of
// the settings and tape dialogs goes back into the window settings when the main window closes.
ShellWindows createShellWindows(TFrmMain& main, ShellPromptDialogs& dialogs);

}  // namespace zemo::ui
