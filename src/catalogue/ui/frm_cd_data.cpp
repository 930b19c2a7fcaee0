// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ui/frm_cd_data.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "catalogue/catalogue_access.h"
#include "catalogue/ui/list_window_parts.h"
#include "catalogue/ui/record_grid.h"
#include "printing/ui/data_list_printing.h"
#include "printing/ui/frm_prn_st_ed.h"
#include "printing/ui/frm_stop.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/file_services.h"
#include "records/record_access.h"
#include "records/window_settings.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/window_parts.h"
#include "ui_frm_cd_data.h"

namespace zemo::ui {

namespace {

const char* const kWidthsSection = "DEdit_M";

}  // namespace

TFrmCd_data::TFrmCd_data(Workspace& ws, WindowSettings& settings, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(settings), ui_(std::make_unique<Ui::TFrmCd_data>()) {
    ui_->setupUi(this);
    dressToolButtons(ui_->ToolBar);
    takeControls();
    StringGrid1 = placeRecordGrid(ui_->GridPlace, new RecordGrid(ws_, kKindCatalogue, kListColumns, this));
    StringGrid1->applyWidths(settings_, kWidthsSection);
    PupMnSort = parts::sortMenu(this, [this](int tag) { SORT_BCDClick(tag); });

    keepEnterFromButtons(this);
    connect(SpdBtnExit, &QToolButton::clicked, this, &TFrmCd_data::BtnEF01Click);
    connect(BtnEF01, &QPushButton::clicked, this, &TFrmCd_data::BtnEF01Click);
    connect(BtnRF01, &QPushButton::clicked, this, &TFrmCd_data::BtnEF01Click);
    connect(SpdBtnOpen, &QToolButton::clicked, this, &TFrmCd_data::SpdBtnOpenClick);
    connect(SpdBtnSave, &QToolButton::clicked, this, &TFrmCd_data::SpdBtnSaveClick);
    connect(SpdBtnEdit, &QToolButton::clicked, this, &TFrmCd_data::BtnEEditClick);
    connect(BtnEEdit, &QPushButton::clicked, this, &TFrmCd_data::BtnEEditClick);
    connect(SpdBtnSort, &QToolButton::clicked, this, [this] { openSortMenu(SpdBtnSort, SpdBtnSort->shiftHeld()); });
    // The panel's sort button opens the menu on the press itself; its click does nothing.
    BtnEF04->onMousePress = [this](Qt::KeyboardModifiers m) { openSortMenu(BtnEF04, m.testFlag(Qt::ShiftModifier)); };
    connect(SpdBtnFind, &QToolButton::clicked, this, &TFrmCd_data::BtnF05EditClick);
    connect(BtnF05Edit, &QPushButton::clicked, this, &TFrmCd_data::BtnF05EditClick);
    connect(SpdBtnSelect, &QToolButton::clicked, this, &TFrmCd_data::BtnRF10Click);
    connect(BtnRF10, &QPushButton::clicked, this, &TFrmCd_data::BtnRF10Click);
    connect(SpdBtnErase, &QToolButton::clicked, this, &TFrmCd_data::BtnEF10Click);
    connect(BtnEF10, &QPushButton::clicked, this, &TFrmCd_data::BtnEF10Click);
    connect(SpBtnClearRow, &QToolButton::clicked, this, &TFrmCd_data::SpBtnClearRowClick);
    connect(SpdBtnPrint, &QToolButton::clicked, this, &TFrmCd_data::SpdBtnPrintClick);
    connect(StringGrid1, &RecordGrid::currentSlotChanged, this, &TFrmCd_data::currentSlotChanged);
    connect(StringGrid1, &RecordGrid::rowActivated, this, &TFrmCd_data::rowActivated);
    applyModeButtons();
}

void TFrmCd_data::takeControls() {
    toolBar_ = ui_->ToolBar;
    SpdBtnExit = ui_->SpdBtnExit;
    SpdBtnOpen = ui_->SpdBtnOpen;
    SpdBtnSave = ui_->SpdBtnSave;
    SpdBtnEdit = ui_->SpdBtnEdit;
    SpdBtnSort = ui_->SpdBtnSort;
    SpdBtnFind = ui_->SpdBtnFind;
    SpdBtnSelect = ui_->SpdBtnSelect;
    SpdBtnErase = ui_->SpdBtnErase;
    SpBtnClearRow = ui_->SpBtnClearRow;
    SpdBtnPrint = ui_->SpdBtnPrint;
    PnlEdit = ui_->PnlEdit;
    BtnEF01 = ui_->BtnEF01;
    BtnEEdit = ui_->BtnEEdit;
    BtnEF04 = ui_->BtnEF04;
    BtnF05Edit = ui_->BtnF05Edit;
    BtnEF10 = ui_->BtnEF10;
    PnlRef = ui_->PnlRef;
    BtnRF01 = ui_->BtnRF01;
    BtnRF10 = ui_->BtnRF10;
}

TFrmCd_data::~TFrmCd_data() = default;

void TFrmCd_data::setPrinting(ProgramPrinter* printer, TFrmPrnStEd* range, TFrmStop* stop) {
    printer_ = printer;
    range_ = range;
    stop_ = stop;
    applyModeButtons();
}

void TFrmCd_data::setEditor(std::function<void()> openEditor) {
    openEditor_ = std::move(openEditor);
    applyModeButtons();
}

void TFrmCd_data::setSearch(std::function<bool(ExtractSpec&)> search) {
    search_ = std::move(search);
    applyModeButtons();
}

int TFrmCd_data::currentSlot() const { return StringGrid1->currentSlot(); }

int TFrmCd_data::loadCatalogueGrid() {
    busyCursor(ws_, true);
    const int result = catalogueArray(ws_).loadOrCreate();
    busyCursor(ws_, false);
    StringGrid1->records()->followCapacity();
    emit currentSlotChanged(currentSlot());
    return result;
}

int TFrmCd_data::openForEditing() {
    if (loadDeletedList(ws_) != 0 || loadNewList(ws_) != 0 || loadAddList(ws_) != 0) return -1;
    if (loadCatalogueGrid() != 0) return -1;
    openMode_ = kEditMode;
    if (currentSlot() < 0) StringGrid1->selectSlot(0, true);
    exec();
    return 0;
}

bool TFrmCd_data::pickFromCatalogue(int& slot) {
    if (!catalogueArray(ws_).isLoaded() && loadCatalogueGrid() != 0) return false;
    StringGrid1->records()->followCapacity();
    StringGrid1->selectSlot(std::clamp(slot, 0, std::max(0, catalogueArray(ws_).capacity() - 1)), true);
    openMode_ = kReferenceMode;
    exec();
    openMode_ = kEditMode;
    if (!picked_) return false;
    slot = currentSlot();
    return true;
}

void TFrmCd_data::drawCatalogueRow(int slot) {
    StringGrid1->records()->redrawRow(slot);
    if (slot == currentSlot()) emit currentSlotChanged(slot);
}

int TFrmCd_data::stepCatalogueRow(int step) {
    const int rows = StringGrid1->records()->rowCount();
    if (rows == 0) return -1;
    const int from = std::max(currentSlot(), 0);
    const int to = std::clamp(from + step, 0, rows - 1);
    StringGrid1->selectSlot(to);
    return to;
}

void TFrmCd_data::applyModeButtons() {
    const bool edit = openMode_ == kEditMode;
    PnlEdit->setVisible(edit);
    PnlRef->setVisible(!edit);
    SpdBtnOpen->setEnabled(true);
    SpdBtnSave->setEnabled(edit);
    SpdBtnEdit->setEnabled(edit && openEditor_);
    BtnEEdit->setEnabled(edit && openEditor_);
    SpdBtnSort->setEnabled(edit);
    SpdBtnFind->setEnabled(edit && search_);
    BtnF05Edit->setEnabled(edit && search_);
    SpdBtnErase->setEnabled(edit && range_ && stop_);
    BtnEF10->setEnabled(edit && range_ && stop_);
    SpBtnClearRow->setEnabled(edit);
    SpdBtnPrint->setEnabled(edit && printer_ && range_ && stop_);
    SpdBtnSelect->setEnabled(!edit);
}

void TFrmCd_data::showEvent(QShowEvent* e) {
    applyModeButtons();
    picked_ = false;
    QDialog::showEvent(e);
    StringGrid1->setFocus();
    emit currentSlotChanged(currentSlot());
}

void TFrmCd_data::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();  // through the close question, never around it
        return;
    }
    if (enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

void TFrmCd_data::closeEvent(QCloseEvent* e) {
    // An erase or a printout in progress ends by its stop button, not by closing the window.
    if (running_ || (openMode_ == kEditMode && !FormCloseQuery())) {
        e->ignore();
        return;
    }
    StringGrid1->storeWidths(settings_, kWidthsSection);
    QDialog::closeEvent(e);
}

bool TFrmCd_data::FormCloseQuery() {
    const Answer first = showBox(ws_, BoxKind::Confirmation, tr("保存終了します。").toStdString(), Buttons::YesNoCancel);
    if (first == Answer::Yes) {
        if (showBox(ws_, BoxKind::Warning, tr("保存終了します！").toStdString(), Buttons::OkCancel) != Answer::Ok) return false;
        // Every file's questions come before anything is written: a No keeps all three as they are.
        if (confirmKindSaves(ws_, {kKindDeleted, kKindNew, kKindCatalogue}) != 0) return false;
        const int sorted = sortCatalogue(ws_, kKindCatalogue, catalogueArray(ws_).capacity());
        // The grid shows the array as it now is, also when the save below fails.
        StringGrid1->records()->redrawAll();
        emit currentSlotChanged(currentSlot());
        // The histories go first, so that a save cut short leaves an erased or replaced record in
        // the catalogue file, in the deleted history, or in both, never in neither. For the same
        // reason a deleted history that could not be written keeps the catalogue file as it is and
        // the window open; the new-record history only reports (its records are in the catalogue).
        bool saved = sorted == 0 && deletedArray(ws_).save() == 0;
        if (saved) {
            newArray(ws_).save();
            saved = catalogueArray(ws_).save() == 0;
        }
        // A later try asks again about what was not written this time.
        clearSaveConfirmations(ws_);
        return saved;
    }
    if (first == Answer::No) {
        if (showBox(ws_, BoxKind::Warning, tr("破棄終了します！").toStdString(), Buttons::OkCancel) != Answer::Ok) return false;
        // The erased records are back in the catalogue file, so the histories that received them
        // are read again from their files, and so is the catalogue, before anyone uses them.
        ws_.loaded[kKindCatalogue] = 0;
        ws_.loaded[kKindDeleted] = 0;
        ws_.loaded[kKindNew] = 0;
        return true;
    }
    return false;
}

void TFrmCd_data::BtnEF01Click() { close(); }

void TFrmCd_data::SpdBtnOpenClick() {
    ws_.openDialogDir = kindDir(ws_, kKindCatalogue);
    int done = 0;
    const int result = catalogueArray(ws_).transferByDialog(false, kChoiceRead, done);
    if (result == 0 && done) {
        StringGrid1->records()->redrawAll();
        emit currentSlotChanged(currentSlot());
    }
}

void TFrmCd_data::SpdBtnSaveClick() {
    ws_.saveDialogDir = kindDir(ws_, kKindCatalogue);
    int done = 0;
    catalogueArray(ws_).transferByDialog(false, kChoiceWrite, done);
}

void TFrmCd_data::BtnEEditClick() {
    if (!openEditor_) return;
    StringGrid1->showCurrentRow();
    openEditor_();
}

void TFrmCd_data::openSortMenu(QWidget* at, bool reverse) {
    if (running_ || openMode_ != kEditMode) return;
    sortReverse_ = reverse;
    PupMnSort->popup(at->mapToGlobal(QPoint(0, at->height())));
}

void TFrmCd_data::SORT_BCDClick(int tag) {
    if (tag < 0 || tag > kSortPosition) return;
    busyCursor(ws_, true);
    sortRecords(ws_, tag, kKindCatalogue, catalogueArray(ws_).capacity(), sortReverse_ ? 1 : 0);
    busyCursor(ws_, false);
    StringGrid1->records()->redrawAll();
    emit currentSlotChanged(currentSlot());
}

void TFrmCd_data::BtnF05EditClick() {
    if (!search_) return;
    ExtractSpec request;
    initExtractSpec(request);
    request.windowMode = 4;
    if (!search_(request)) return;
    CdRecord r;
    if (referenceArray(ws_).get(request.selectedRow, r) != 0) return;
    StringGrid1->selectSlot(r.catalogueIndex, true);
}

void TFrmCd_data::BtnRF10Click() {
    if (openMode_ != kReferenceMode) return;
    const int slot = currentSlot();
    if (slot >= 0) {
        CdRecord r;
        if (!catalogueArray(ws_).getInUse(slot, r)) return;  // an empty row takes nothing
        picked_ = true;
    }
    close();
}

void TFrmCd_data::rowActivated(int) {
    if (openMode_ == kEditMode) BtnEEditClick();
    else BtnRF10Click();
}

void TFrmCd_data::SpBtnClearRowClick() {
    const int slot = currentSlot();
    if (slot < 0) return;
    if (deleteCatalogueRecord(ws_, slot) == 0) drawCatalogueRow(slot);
}

bool TFrmCd_data::askRange(int& first, int& last) {
    const int capacity = catalogueArray(ws_).capacity();
    if (last <= 0) last = capacity;
    // A range remembered under a larger database size is cut to the slots there are now.
    last = std::min(last, capacity);
    first = std::clamp(first, 1, std::max(capacity, 1));
    range_->prepare(capacity, first, last);
    range_->exec();
    if (!range_->confirmed()) return false;
    first = range_->first();
    last = range_->last();
    return true;
}

bool TFrmCd_data::confirmRangeErase(int first, int last) {
    // A slip of the range fields must not empty the catalogue unasked, and the deleted history
    // keeps only its newest records: what falls out of it is in no current file any more.
    int inUse = 0;
    for (int slot = std::min(first, last) - 1; slot <= std::max(first, last) - 1; ++slot) {
        CdRecord r;
        if (catalogueArray(ws_).get(slot, r) != 0) break;
        if (isInUse(r)) ++inUse;
    }
    if (inUse == 0) return true;  // nothing to lose
    QString text = tr("%1 件を消去します。よろしいですか？").arg(inUse);
    const int kept = ws_.capacity(kKindDeleted);
    if (inUse > kept) text += tr("\n削除履歴に残るのは最後の %1 件だけです。").arg(kept);
    return showBox(ws_, BoxKind::Confirmation, text.toStdString(), Buttons::YesNoDefaultNo) == Answer::Yes;
}

void TFrmCd_data::lockCommands(bool locked) {
    running_ = locked;
    toolBar_->setEnabled(!locked);
    PnlEdit->setEnabled(!locked);
    PnlRef->setEnabled(!locked);
    StringGrid1->setEnabled(!locked);
    emit runningChanged(locked);
}

void TFrmCd_data::BtnEF10Click() {
    if (!range_ || !stop_ || running_) return;
    if (!askRange(eraseFirst_, eraseLast_)) return;
    const int first = eraseFirst_, last = eraseLast_;
    if (!confirmRangeErase(first, last)) return;
    StringGrid1->scrollTo(StringGrid1->records()->index(first - 1, 0), QAbstractItemView::PositionAtTop);
    busyCursor(ws_, true);
    lockCommands(true);
    stop_->start();
    stop_->setCount(first);
    parts::Finally unlock{[this] {
        busyCursor(ws_, false);
        stop_->finish();
        lockCommands(false);
        emit currentSlotChanged(currentSlot());
    }};
    for (int slot = first - 1; slot <= last - 1; ++slot) {
        if (stop_->stopRequested()) break;
        stop_->setCount(slot + 1);
        CdRecord r;
        if (catalogueArray(ws_).get(slot, r) != 0) break;
        if (!isInUse(r)) continue;
        if (deleteCatalogueRecord(ws_, slot) != 0) break;
        StringGrid1->records()->redrawRow(slot);
    }
}

void TFrmCd_data::SpdBtnPrintClick() {
    if (!printer_ || !range_ || !stop_ || running_) return;
    if (!askRange(printFirst_, printLast_)) return;
    lockCommands(true);
    parts::Finally unlock{[this] { lockCommands(false); }};
    printDataList(ws_, *printer_, *stop_, kKindCatalogue, catalogueArray(ws_).capacity(), printFirst_ - 1,
                  printLast_ - 1, this);
}

}  // namespace zemo::ui
