// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ui/frm_cd_add.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "catalogue/catalogue_access.h"
#include "catalogue/catalogue_editing.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/list_window_parts.h"
#include "catalogue/ui/record_grid.h"
#include "printing/ui/data_list_printing.h"
#include "printing/ui/frm_prn_st_ed.h"
#include "records/data_file.h"
#include "records/file_services.h"
#include "records/record_access.h"
#include "records/window_settings.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/window_parts.h"
#include "ui_frm_cd_add.h"

namespace zemo::ui {

namespace {
const char* const kWidthsSection = "DAdd_M";
}  // namespace

TFrmCd_Add::TFrmCd_Add(Workspace& ws, WindowSettings& settings, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(settings), ui_(std::make_unique<Ui::TFrmCd_Add>()) {
    ui_->setupUi(this);
    dressToolButtons(ui_->ToolBar);
    takeControls();
    clearCdRecord(taken_);

    StringGrid1 = placeRecordGrid(ui_->GridPlace, new RecordGrid(ws_, kKindAdd, kListColumns, this));
    StringGrid1->applyWidths(settings_, kWidthsSection);
    PupMnSort = parts::sortMenu(this, [this](int tag) { SORT_BCDClick(tag); });

    keepEnterFromButtons(this);
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{SpdBtnExit, BtnF01Edit, BtnF01Get})
        connect(b, &QAbstractButton::clicked, this, &QDialog::close);
    connect(SpdBtnOpen, &QToolButton::clicked, this, &TFrmCd_Add::SpdBtnOpenClick);
    connect(SpdBtnSave, &QToolButton::clicked, this, &TFrmCd_Add::SpdBtnSaveClick);
    connect(SpdBtnSort, &QToolButton::clicked, this, [this] { openSortMenu(SpdBtnSort, SpdBtnSort->shiftHeld()); });
    BtnF04Edit->onMousePress = [this](Qt::KeyboardModifiers m) { openSortMenu(BtnF04Edit, m.testFlag(Qt::ShiftModifier)); };
    connect(SpdBtnSelect, &QToolButton::clicked, this, &TFrmCd_Add::BtnF06EditClick);
    connect(BtnF06Edit, &QPushButton::clicked, this, &TFrmCd_Add::BtnF06EditClick);
    connect(SpdBtnErase, &QToolButton::clicked, this, &TFrmCd_Add::BtnF10EditClick);
    connect(BtnF10Edit, &QPushButton::clicked, this, &TFrmCd_Add::BtnF10EditClick);
    connect(SpdBtnFind, &QToolButton::clicked, this, &TFrmCd_Add::BtnF05EditClick);
    connect(BtnF05Edit, &QPushButton::clicked, this, &TFrmCd_Add::BtnF05EditClick);
    connect(SpdBtnPrint, &QToolButton::clicked, this, &TFrmCd_Add::SpdBtnPrintClick);
    connect(SpBtnClearRow, &QToolButton::clicked, this, &TFrmCd_Add::SpBtnClearRowClick);
    connect(BtnF10Get, &QPushButton::clicked, this, &TFrmCd_Add::BtnF10GetClick);
    connect(StringGrid1, &RecordGrid::rowActivated, this, &TFrmCd_Add::rowActivated);
    applyModeButtons();
}

void TFrmCd_Add::takeControls() {
    toolBar_ = ui_->ToolBar;
    SpdBtnExit = ui_->SpdBtnExit;
    SpdBtnOpen = ui_->SpdBtnOpen;
    SpdBtnSave = ui_->SpdBtnSave;
    SpdBtnSort = ui_->SpdBtnSort;
    SpdBtnSelect = ui_->SpdBtnSelect;
    SpdBtnErase = ui_->SpdBtnErase;
    SpdBtnFind = ui_->SpdBtnFind;
    SpdBtnPrint = ui_->SpdBtnPrint;
    SpBtnClearRow = ui_->SpBtnClearRow;
    PnlEdit = ui_->PnlEdit;
    BtnF01Edit = ui_->BtnF01Edit;
    BtnF04Edit = ui_->BtnF04Edit;
    BtnF06Edit = ui_->BtnF06Edit;
    BtnF10Edit = ui_->BtnF10Edit;
    BtnF05Edit = ui_->BtnF05Edit;
    PnlGet = ui_->PnlGet;
    BtnF01Get = ui_->BtnF01Get;
    BtnF10Get = ui_->BtnF10Get;
}

TFrmCd_Add::~TFrmCd_Add() = default;

void TFrmCd_Add::setPrinting(ProgramPrinter* printer, TFrmPrnStEd* range, TFrmStop* stop) {
    printer_ = printer;
    range_ = range;
    stop_ = stop;
    applyModeButtons();
}

void TFrmCd_Add::setCatalogueWindow(TFrmCd_data* catalogue) {
    catalogue_ = catalogue;
    applyModeButtons();
}

void TFrmCd_Add::setSearch(MarkedSearch search) {
    search_ = std::move(search);
    applyModeButtons();
}

int TFrmCd_Add::loadAddList() {
    const int result = zemo::loadAddList(ws_);
    StringGrid1->records()->followCapacity();
    return result;
}

int TFrmCd_Add::openForEditing() {
    // Opening from the menu always shows the list as its file holds it.
    ws_.loaded[kKindAdd] = 0;
    if (loadAddList() != 0) return -1;
    if (catalogue_ ? catalogue_->loadCatalogueGrid() != 0 : catalogueArray(ws_).loadOrCreate() != 0) return -1;
    openMode_ = kEditMode;
    if (StringGrid1->currentSlot() < 0) StringGrid1->selectSlot(0, true);
    exec();
    return 0;
}

bool TFrmCd_Add::takeRecord() {
    openMode_ = kGetMode;
    picked_ = false;
    StringGrid1->records()->followCapacity();
    if (StringGrid1->currentSlot() < 0) StringGrid1->selectSlot(0, true);
    exec();
    openMode_ = kEditMode;
    return picked_;
}

void TFrmCd_Add::applyModeButtons() {
    const bool edit = openMode_ == kEditMode;
    PnlEdit->setVisible(edit);
    PnlGet->setVisible(!edit);
    SpdBtnOpen->setEnabled(true);
    SpdBtnSave->setEnabled(edit);
    SpdBtnSort->setEnabled(edit);
    BtnF04Edit->setEnabled(edit);
    SpdBtnFind->setEnabled(edit && search_);
    BtnF05Edit->setEnabled(edit && search_);
    SpdBtnSelect->setEnabled(edit && catalogue_);
    BtnF06Edit->setEnabled(edit && catalogue_);
    SpdBtnErase->setEnabled(edit && range_);
    BtnF10Edit->setEnabled(edit && range_);
    SpBtnClearRow->setEnabled(edit);
    SpdBtnPrint->setEnabled(edit && printer_ && range_ && stop_);
}

void TFrmCd_Add::showEvent(QShowEvent* e) {
    applyModeButtons();
    QDialog::showEvent(e);
    StringGrid1->setFocus();
}

void TFrmCd_Add::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

void TFrmCd_Add::closeEvent(QCloseEvent* e) {
    if (running_ || (openMode_ == kEditMode && !FormCloseQuery())) {
        e->ignore();
        return;
    }
    StringGrid1->storeWidths(settings_, kWidthsSection);
    QDialog::closeEvent(e);
}

bool TFrmCd_Add::FormCloseQuery() {
    const Answer first = showBox(ws_, BoxKind::Confirmation, tr("保存終了します。").toStdString(), Buttons::YesNoCancel);
    if (first == Answer::Yes) {
        if (showBox(ws_, BoxKind::Warning, tr("保存終了します！").toStdString(), Buttons::OkCancel) != Answer::Ok) return false;
        return addArray(ws_).save() == 0;
    }
    if (first == Answer::No) {
        if (showBox(ws_, BoxKind::Warning, tr("破棄終了します！").toStdString(), Buttons::OkCancel) != Answer::Ok) return false;
        ws_.loaded[kKindAdd] = 0;
        return true;
    }
    return false;
}

void TFrmCd_Add::rowActivated(int) {
    if (openMode_ == kEditMode) BtnF06EditClick();
    else BtnF10GetClick();
}

void TFrmCd_Add::SpdBtnOpenClick() {
    ws_.openDialogDir = kindDir(ws_, kKindAdd);
    int done = 0;
    if (addArray(ws_).transferByDialog(false, kChoiceRead, done) == 0 && done) StringGrid1->records()->redrawAll();
}

void TFrmCd_Add::SpdBtnSaveClick() {
    ws_.saveDialogDir = kindDir(ws_, kKindAdd);
    int done = 0;
    addArray(ws_).transferByDialog(false, kChoiceWrite, done);
}

void TFrmCd_Add::openSortMenu(QWidget* at, bool reverse) {
    if (running_ || openMode_ != kEditMode) return;
    sortReverse_ = reverse;
    PupMnSort->popup(at->mapToGlobal(QPoint(0, at->height())));
}

void TFrmCd_Add::SORT_BCDClick(int tag) {
    if (tag < 0 || tag > kSortPosition) return;
    busyCursor(ws_, true);
    sortRecords(ws_, tag, kKindAdd, addArray(ws_).capacity(), sortReverse_ ? 1 : 0);
    busyCursor(ws_, false);
    StringGrid1->records()->redrawAll();
}

void TFrmCd_Add::BtnF06EditClick() {
    if (openMode_ != kEditMode || !catalogue_) return;
    const int slot = StringGrid1->currentSlot();
    if (slot < 0) return;
    CdRecord r;
    int start = 0;
    if (addArray(ws_).getInUse(slot, r)) {
        FindSpec request;
        initFindSpec(request);
        if (findCdRecord(ws_, r, request) == 0 && request.found) start = request.foundIndex;
    }
    int picked = start;
    if (!catalogue_->pickFromCatalogue(picked)) return;
    CdRecord chosen;
    if (catalogueArray(ws_).get(picked, chosen) != 0) return;
    if (addArray(ws_).put(slot, chosen) == 0) StringGrid1->records()->redrawRow(slot);
}

void TFrmCd_Add::BtnF05EditClick() {
    if (openMode_ != kEditMode || !search_) return;
    const int slot = StringGrid1->currentSlot();
    if (slot < 0) return;
    ExtractSpec request;
    initExtractSpec(request);
    request.windowMode = 2;
    std::vector<int> marked;
    if (!search_(request, marked)) return;
    if (marked.empty()) {
        CdRecord r;
        if (referenceArray(ws_).get(request.selectedRow, r) == 0 && addArray(ws_).put(slot, r) == 0)
            StringGrid1->records()->redrawRow(slot);
        return;
    }
    int written = 0;
    copyResultsToAddList(ws_, marked, slot, written);
    for (int i = 0; i < written; ++i) StringGrid1->records()->redrawRow(slot + i);
}

void TFrmCd_Add::SpBtnClearRowClick() {
    const int slot = StringGrid1->currentSlot();
    if (slot < 0) return;
    CdRecord cleared;
    CatalogueArray::clearRecord(cleared);
    if (addArray(ws_).put(slot, cleared) == 0) StringGrid1->records()->redrawRow(slot);
}

void TFrmCd_Add::lockCommands(bool locked) {
    running_ = locked;
    for (QWidget* w : {toolBar_, PnlEdit, PnlGet, static_cast<QWidget*>(StringGrid1)}) w->setEnabled(!locked);
}

void TFrmCd_Add::BtnF10EditClick() {
    if (!range_ || running_ || openMode_ != kEditMode) return;
    if (!askListRange(*range_, addArray(ws_).capacity(), eraseFirst_, eraseLast_)) return;
    CdRecord cleared;
    CatalogueArray::clearRecord(cleared);
    for (int slot = eraseFirst_ - 1; slot <= eraseLast_ - 1; ++slot) {
        if (addArray(ws_).put(slot, cleared) != 0) break;
        StringGrid1->records()->redrawRow(slot);
    }
}

void TFrmCd_Add::SpdBtnPrintClick() {
    if (!printer_ || !range_ || !stop_ || running_) return;
    const int capacity = addArray(ws_).capacity();
    if (!askListRange(*range_, capacity, printFirst_, printLast_)) return;
    lockCommands(true);
    printDataList(ws_, *printer_, *stop_, kKindAdd, capacity, printFirst_ - 1, printLast_ - 1, this);
    lockCommands(false);
}

void TFrmCd_Add::BtnF10GetClick() {
    if (openMode_ != kGetMode) return;
    const int slot = StringGrid1->currentSlot();
    CdRecord r;
    if (slot < 0 || !addArray(ws_).getInUse(slot, r)) return;  // an empty row takes nothing
    taken_ = r;
    picked_ = true;
    close();
}

}  // namespace zemo::ui
