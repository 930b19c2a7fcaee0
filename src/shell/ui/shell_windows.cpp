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

ShellWindows createShellWindows(TFrmMain& main, ShellPromptDialogs& dialogs) {
    ShellWindows w;
    w.shufCtrl = new TFrmShufCtrl(main.workspace(), &main);
    main.addPlacedWindow(w.shufCtrl, "SCtl");
    w.tape = new TFrmTape(main.workspace(), &main);
    main.addPlacedWindow(w.tape, "Tape");
    w.readWrite = new TFrmFrdwt(&main);
    w.getDir = new TFrmGetDir(&main);
    w.sysMode = new TFrmSysMode(main.workspace(), &main);
    main.addPlacedWindow(w.sysMode, "SMode");
    w.sysPass = new TFrmSysPass(main.workspace(), *w.getDir, &main);
    main.addPlacedWindow(w.sysPass, "SPass");
    w.sysRevi = new TFrmSysRevi(main.workspace(), &main);
    main.addPlacedWindow(w.sysRevi, "SRevi");
    w.textOutput = new TWinCrt(&main);
    w.share = new TFrmShare(main.workspace(), &main);
    w.password = new TFrmPassInp(&main);
    w.chooser = new TFrmFileSel(main.workspace(), main.windowSettings(), &main);
    main.addPlacedWindow(w.chooser, "FileSel");
    dialogs.setReadWriteDialog(w.readWrite);
    dialogs.setPasswordDialog(w.password);
    dialogs.setFileChooser(w.chooser);
    dialogs.setChooserContext(&main.workspace(), &main.windowSettings());

    TFrmSysMode* sysMode = w.sysMode;
    TFrmSysPass* sysPass = w.sysPass;
    TFrmShare* share = w.share;
    TFrmSysRevi* sysRevi = w.sysRevi;
    TFrmShufCtrl* shufCtrl = w.shufCtrl;
    main.setCommand(TFrmMain::Command::SysMode, [sysMode] { sysMode->exec(); });
    main.setCommand(TFrmMain::Command::SysPass, [sysPass] { sysPass->exec(); });
    main.setCommand(TFrmMain::Command::ShareSet, [share] { share->exec(); });
    main.setCommand(TFrmMain::Command::Revise, [sysRevi] { sysRevi->exec(); });
    main.setCommand(TFrmMain::Command::Shuffle, [shufCtrl] { shufCtrl->exec(); });
    w.chooser->setShareHandler([share] { share->exec(); });

    w.catalogue = new TFrmCd_data(main.workspace(), main.windowSettings(), &main);
    main.addPlacedWindow(w.catalogue, "Edit");
    main.addClockCaption(w.catalogue, kCatalogueCaptionPrefix);
    ZemoApplication* app = ZemoApplication::current();
    w.catalogue->setPrinting(app ? &app->printer() : nullptr, new TFrmPrnStEd(main.workspace(), w.catalogue),
                             new TFrmStop(w.catalogue));
    TFrmCd_data* catalogue = w.catalogue;
    main.setCommand(TFrmMain::Command::Edit, [catalogue] { catalogue->openForEditing(); });

    w.dataDisplay = new TFrmDataDisp(main.workspace(), main.windowSettings(), &main);
    main.addPlacedWindow(w.dataDisplay, "Disp");
    w.searchResults = new TFrmCd_Ref(main.workspace(), main.windowSettings(), &main);
    main.addPlacedWindow(w.searchResults, "Ref");
    w.searchResults->setPrinting(app ? &app->printer() : nullptr, new TFrmPrnStEd(main.workspace(), w.searchResults),
                                 new TFrmStop(w.searchResults));
    w.search = new TFrmRefMd(main.workspace(), main.windowSettings(), *w.searchResults, &main);
    TFrmRefMd* search = w.search;
    catalogue->setSearch([search](ExtractSpec& request) { return search->runSearch(request); });

    w.labelLayout = new TFrmLbprCtl(main.workspace(), &main);
    main.addPlacedWindow(w.labelLayout, "LCtl");
    TFrmLbprCtl* labelLayout = w.labelLayout;
    main.setCommand(TFrmMain::Command::PrnLabel, [labelLayout] { labelLayout->exec(); });
    if (app) {
        w.labelPrint = new TFrmPrnLabel(main.workspace(), main.windowSettings().labelPrintFont, app->printer(), &main);
        main.addPlacedWindow(w.labelPrint, "LPrn");
        w.labelPrint->setLayoutDialog(w.labelLayout);
    }

    // The editor stands beside the list (its child, so that it takes input while the list waits)
    // and reaches the agreement window, the histories and the add list.
    Workspace& ws = main.workspace();
    WindowSettings& settings = main.windowSettings();
    ProgramPrinter* printer = app ? &app->printer() : nullptr;
    w.editor = new TFrmCdEdit(ws, settings, w.catalogue);
    main.addPlacedWindow(w.editor, "EInp");
    main.addClockCaption(w.editor, kEditorCaptionPrefix);
    w.agreement = new TFrmCd_Bagr(ws, settings, &main);
    main.addPlacedWindow(w.agreement, "Bagr");
    w.agreement->setPrinting(printer, new TFrmPrnStEd(ws, w.agreement), new TFrmStop(w.agreement));
    w.agreement->setCatalogueRowChanged([catalogue](int slot) { catalogue->drawCatalogueRow(slot); });
    w.deleted = new TFrmCd_Del(ws, settings, &main);
    main.addPlacedWindow(w.deleted, "Del");
    w.added = new TFrmCd_New(ws, settings, &main);
    main.addPlacedWindow(w.added, "New");
    w.addList = new TFrmCd_Add(ws, settings, &main);
    main.addPlacedWindow(w.addList, "Add");
    w.addList->setPrinting(printer, new TFrmPrnStEd(ws, w.addList), new TFrmStop(w.addList));
    w.addList->setCatalogueWindow(catalogue);
    TFrmCdEdit* editor = w.editor;
    editor->setCatalogueWindow(catalogue);
    editor->setAgreement(w.agreement);
    editor->setHistories(w.added, w.deleted);
    editor->setAddWindow(w.addList);
    catalogue->setEditor([editor] { editor->showBeside(); });
    TFrmCd_Add* addList = w.addList;
    // The editor's "検出" takes one result; the add list's "抽出" takes the marked ones.
    editor->setSearch([search](ExtractSpec& request) { return search->runSearch(request); });
    addList->setSearch([search](ExtractSpec& request, std::vector<int>& marked) {
        search->allowMarks();
        const bool taken = search->runSearch(request);
        marked = taken ? search->results().markedResults() : std::vector<int>{};
        return taken;
    });
    main.setCommand(TFrmMain::Command::DataAdd, [addList] { addList->openForEditing(); });

    w.shufMain = new TFrmShufMain(main.workspace(), main.windowSettings(), &main);
    main.addPlacedWindow(w.shufMain, "Shuf");
    main.addClockCaption(w.shufMain, kShufCaptionPrefix);
    w.shufMain->setCatalogue(catalogue);
    w.shufMain->setSearch(search);
    w.shufMain->setViewer(w.dataDisplay);
    w.shufMain->setSettingsDialog(shufCtrl);
    w.shufMain->setPrinting(app ? &app->printer() : nullptr, new TFrmPrnStEd(main.workspace(), w.shufMain),
                            new TFrmStop(w.shufMain));
    TFrmShufMain* shufMain = w.shufMain;
    main.setCommand(TFrmMain::Command::Optimum, [shufMain] { shufMain->openForPlanning(); });

    // The results window is not modal: as the list window's child it takes input while the list
    // waits, and it never outlives the list it was made from.
    w.shufDisp = new TFrmShufDisp(main.workspace(), main.windowSettings().shufDisplayFont, w.shufMain);
    main.addPlacedWindow(w.shufDisp, "SDsp");
    w.shufDisp->setLabelWindow(w.labelPrint);
    w.shufDisp->setSettingsDialog(w.shufCtrl);
    w.shufDisp->setTapeDialog(w.tape);
    w.shufDisp->setPrinter(app ? &app->printer() : nullptr);
    TFrmShufDisp* shufDisp = w.shufDisp;
    shufMain->setResultsOpener([shufDisp] { shufDisp->openFor(); });
    QObject::connect(shufMain, &TFrmShufMain::shuffleListChanged, shufDisp, &TFrmShufDisp::closeOnListChange);
    QObject::connect(shufMain, &TFrmShufMain::closing, shufDisp, &TFrmShufDisp::closeOnListChange);
    QObject::connect(shufDisp, &TFrmShufDisp::wroteBack, shufMain, [shufMain] { shufMain->redrawList(); });
    return w;
}

}  // namespace zemo::ui
