// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/shell_windows.h"

#include "catalogue/catalogue_access.h"
#include "catalogue/ui/frm_cd_add.h"
#include "catalogue/ui/frm_cd_bagr.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/frm_cd_edit.h"
#include "catalogue/ui/frm_cd_history.h"
#include "catalogue/ui/frm_cd_ref.h"
#include "catalogue/ui/frm_data_disp.h"
#include "catalogue/ui/frm_ref_md.h"
#include "planning/ui/frm_shuf_ctrl.h"
#include "planning/ui/frm_shuf_main.h"
#include "planning/ui/frm_shuf_disp.h"
#include "planning/ui/frm_sys_revi.h"
#include "planning/ui/frm_tape.h"
#include "platform/sjis.h"
#include "printing/ui/frm_lbpr_ctl.h"
#include "printing/ui/frm_prn_label.h"
#include "printing/ui/frm_prn_st_ed.h"
#include "printing/ui/frm_stop.h"
#include "settings/ui/frm_file_sel.h"
#include "settings/ui/frm_get_dir.h"
#include "settings/ui/frm_share.h"
#include "settings/ui/frm_sys_mode.h"
#include "settings/ui/frm_sys_pass.h"
#include "shell/ui/frm_frdwt.h"
#include "shell/ui/frm_pass_inp.h"
#include "shell/ui/main_window.h"
#include "shell/ui/win_crt.h"
#include "ui/application.h"

namespace zemo::ui {

ShellPromptDialogs::ShellPromptDialogs() = default;
ShellPromptDialogs::~ShellPromptDialogs() = default;

void ShellPromptDialogs::setChooserContext(Workspace* ws, WindowSettings* settings) {
    ws_ = ws;
    settings_ = settings;
}

std::optional<std::string> ShellPromptDialogs::askPassword() {
    TFrmPassInp* dialog = password_;
    if (!dialog) {
        if (!ownPassword_) ownPassword_ = std::make_unique<TFrmPassInp>();
        dialog = ownPassword_.get();
    }
    dialog->exec();
    if (!dialog->confirmed()) return std::nullopt;
    return utf8ToSjis(dialog->password().toStdString());
}

int ShellPromptDialogs::askReadWrite() {
    TFrmFrdwt* dialog = readWrite_;
    if (!dialog) {
        if (!ownReadWrite_) ownReadWrite_ = std::make_unique<TFrmFrdwt>();
        dialog = ownReadWrite_.get();
    }
    dialog->exec();
    return dialog->mode();
}

FileChoice ShellPromptDialogs::chooseDataFile(int mode, const std::string& initialDir) {
    TFrmFileSel* chooser = chooser_;
    if (!chooser) {
        if (!ownChooser_) {
            if (!ws_ || !settings_) return {};
            ownChooser_ = std::make_unique<TFrmFileSel>(*ws_, *settings_);
        }
        chooser = ownChooser_.get();
    }
    chooser->setMode(mode);
    if (!initialDir.empty()) chooser->setFolder(QString::fromStdString(initialDir));
    chooser->exec();
    return chooser->choice();
}

namespace {

// A window placed from the settings under its key stem and written back when the main window closes.
template <typename W>
W* placed(TFrmMain& main, W* window, const char* stem) {
    main.addPlacedWindow(window, stem);
    return window;
}

ProgramPrinter* programPrinter() {
    ZemoApplication* app = ZemoApplication::current();
    return app ? &app->printer() : nullptr;
}

// A list window's printing: the program's printer, its own range dialog and stop window.
template <typename W>
void givePrinting(Workspace& ws, W* window) {
    window->setPrinting(programPrinter(), new TFrmPrnStEd(ws, window), new TFrmStop(window));
}

// The settings dialogs, the tape dialog and the prompter's own dialogs, with the settings commands.
void createSettingsDialogs(TFrmMain& main, ShellPromptDialogs& dialogs, ShellWindows& w) {
    Workspace& ws = main.workspace();
    w.shufCtrl = placed(main, new TFrmShufCtrl(ws, &main), "SCtl");
    w.tape = placed(main, new TFrmTape(ws, &main), "Tape");
    w.readWrite = new TFrmFrdwt(&main);
    w.getDir = new TFrmGetDir(&main);
    w.sysMode = placed(main, new TFrmSysMode(ws, &main), "SMode");
    w.sysPass = placed(main, new TFrmSysPass(ws, *w.getDir, &main), "SPass");
    w.sysRevi = placed(main, new TFrmSysRevi(ws, &main), "SRevi");
    w.textOutput = new TWinCrt(&main);
    w.share = new TFrmShare(ws, &main);
    w.password = new TFrmPassInp(&main);
    w.chooser = placed(main, new TFrmFileSel(ws, main.windowSettings(), &main), "FileSel");
    dialogs.setReadWriteDialog(w.readWrite);
    dialogs.setPasswordDialog(w.password);
    dialogs.setFileChooser(w.chooser);
    dialogs.setChooserContext(&ws, &main.windowSettings());

    main.setCommand(TFrmMain::Command::SysMode, [d = w.sysMode] { d->exec(); });
    main.setCommand(TFrmMain::Command::SysPass, [d = w.sysPass] { d->exec(); });
    main.setCommand(TFrmMain::Command::ShareSet, [d = w.share] { d->exec(); });
    main.setCommand(TFrmMain::Command::Revise, [d = w.sysRevi] { d->exec(); });
    main.setCommand(TFrmMain::Command::Shuffle, [d = w.shufCtrl] { d->exec(); });
    w.chooser->setShareHandler([d = w.share] { d->exec(); });
}

// The catalogue list, the data file viewer, and the search dialog with its result window.
void createCatalogueWindows(TFrmMain& main, ShellWindows& w) {
    Workspace& ws = main.workspace();
    WindowSettings& settings = main.windowSettings();
    w.catalogue = placed(main, new TFrmCd_data(ws, settings, &main), "Edit");
    main.addClockCaption(w.catalogue, kCatalogueCaptionPrefix);
    givePrinting(ws, w.catalogue);
    main.setCommand(TFrmMain::Command::Edit, [catalogue = w.catalogue] { catalogue->openForEditing(); });

    w.dataDisplay = placed(main, new TFrmDataDisp(ws, settings, &main), "Disp");
    w.searchResults = placed(main, new TFrmCd_Ref(ws, settings, &main), "Ref");
    givePrinting(ws, w.searchResults);
    w.search = new TFrmRefMd(ws, settings, *w.searchResults, &main);
    w.catalogue->setSearch([search = w.search](ExtractSpec& request) { return search->runSearch(request); });
}

// The label layout dialog and, with a printer, the label window.
void createLabelWindows(TFrmMain& main, ShellWindows& w) {
    w.labelLayout = placed(main, new TFrmLbprCtl(main.workspace(), &main), "LCtl");
    main.setCommand(TFrmMain::Command::PrnLabel, [d = w.labelLayout] { d->exec(); });
    if (ProgramPrinter* printer = programPrinter()) {
        w.labelPrint = placed(
            main, new TFrmPrnLabel(main.workspace(), main.windowSettings().labelPrintFont, *printer, &main), "LPrn");
        w.labelPrint->setLayoutDialog(w.labelLayout);
    }
}

// The editor stands beside the list (its child, so that it takes input while the list waits)
// and reaches the agreement window, the histories and the add list.
void createEditingWindows(TFrmMain& main, ShellWindows& w) {
    Workspace& ws = main.workspace();
    WindowSettings& settings = main.windowSettings();
    TFrmCd_data* catalogue = w.catalogue;
    w.editor = placed(main, new TFrmCdEdit(ws, settings, catalogue), "EInp");
    main.addClockCaption(w.editor, kEditorCaptionPrefix);
    w.agreement = placed(main, new TFrmCd_Bagr(ws, settings, &main), "Bagr");
    givePrinting(ws, w.agreement);
    w.agreement->setCatalogueRowChanged([catalogue](int slot) { catalogue->drawCatalogueRow(slot); });
    w.deleted = placed(main, new TFrmCd_Del(ws, settings, &main), "Del");
    w.added = placed(main, new TFrmCd_New(ws, settings, &main), "New");
    w.addList = placed(main, new TFrmCd_Add(ws, settings, &main), "Add");
    givePrinting(ws, w.addList);
    w.addList->setCatalogueWindow(catalogue);

    TFrmCdEdit* editor = w.editor;
    editor->setCatalogueWindow(catalogue);
    editor->setAgreement(w.agreement);
    editor->setHistories(w.added, w.deleted);
    editor->setAddWindow(w.addList);
    catalogue->setEditor([editor] { editor->showBeside(); });
    // The editor's "検出" takes one result; the add list's "抽出" takes the marked ones.
    TFrmRefMd* search = w.search;
    editor->setSearch([search](ExtractSpec& request) { return search->runSearch(request); });
    w.addList->setSearch([search](ExtractSpec& request, std::vector<int>& marked) {
        search->allowMarks();
        const bool taken = search->runSearch(request);
        marked = taken ? search->results().markedResults() : std::vector<int>{};
        return taken;
    });
    main.setCommand(TFrmMain::Command::DataAdd, [addList = w.addList] { addList->openForEditing(); });
}

// The tape-planning list and its results window.
void createPlanningWindows(TFrmMain& main, ShellWindows& w) {
    Workspace& ws = main.workspace();
    w.shufMain = placed(main, new TFrmShufMain(ws, main.windowSettings(), &main), "Shuf");
    main.addClockCaption(w.shufMain, kShufCaptionPrefix);
    TFrmShufMain* shufMain = w.shufMain;
    shufMain->setCatalogue(w.catalogue);
    shufMain->setSearch(w.search);
    shufMain->setViewer(w.dataDisplay);
    shufMain->setSettingsDialog(w.shufCtrl);
    givePrinting(ws, shufMain);
    main.setCommand(TFrmMain::Command::Optimum, [shufMain] { shufMain->openForPlanning(); });

    // The results window is not modal: as the list window's child it takes input while the list
    // waits, and it never outlives the list it was made from.
    TFrmShufDisp* shufDisp = placed(main, new TFrmShufDisp(ws, main.windowSettings().shufDisplayFont, shufMain), "SDsp");
    w.shufDisp = shufDisp;
    shufDisp->setLabelWindow(w.labelPrint);
    shufDisp->setSettingsDialog(w.shufCtrl);
    shufDisp->setTapeDialog(w.tape);
    shufDisp->setPrinter(programPrinter());
    shufMain->setResultsOpener([shufDisp] { shufDisp->openFor(); });
    QObject::connect(shufMain, &TFrmShufMain::shuffleListChanged, shufDisp, &TFrmShufDisp::closeOnListChange);
    QObject::connect(shufMain, &TFrmShufMain::closing, shufDisp, &TFrmShufDisp::closeOnListChange);
    QObject::connect(shufDisp, &TFrmShufDisp::wroteBack, shufMain, [shufMain] { shufMain->redrawList(); });
}

}  // namespace

ShellWindows createShellWindows(TFrmMain& main, ShellPromptDialogs& dialogs) {
    ShellWindows w;
    createSettingsDialogs(main, dialogs, w);
    createCatalogueWindows(main, w);
    createLabelWindows(main, w);
    createEditingWindows(main, w);
    createPlanningWindows(main, w);
    return w;
}

}  // namespace zemo::ui
