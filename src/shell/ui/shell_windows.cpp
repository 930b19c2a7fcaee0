#include "shell/ui/shell_windows.h"

#include "settings/ui/frm_file_sel.h"
#include "settings/ui/frm_get_dir.h"
#include "shell/ui/frm_frdwt.h"
#include "shell/ui/frm_pass_inp.h"
#include "shell/ui/main_window.h"
#include "shell/ui/qt_prompter.h"
#include "shell/ui/win_crt.h"

namespace zemo::ui {

ShellWindows createShellWindows(TFrmMain& main, QtPrompter& prompter) {
    ShellWindows w;
    w.readWrite = new TFrmFrdwt(&main);
    w.getDir = new TFrmGetDir(&main);
    w.textOutput = new TWinCrt(&main);
    w.password = new TFrmPassInp(&main);
    w.chooser = new TFrmFileSel(main.workspace(), main.windowSettings(), &main);
    main.addPlacedWindow(w.chooser, "FileSel");
    prompter.setReadWriteDialog(w.readWrite);
    prompter.setPasswordDialog(w.password);
    prompter.setFileChooser(w.chooser);
    prompter.setChooserContext(&main.workspace(), &main.windowSettings());
    return w;
}

}  // namespace zemo::ui
