// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ui/frm_cd_ref.h"

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
#include "records/file_services.h"
#include "records/record_access.h"
#include "records/window_settings.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/window_parts.h"
#include "ui_frm_cd_ref.h"

namespace zemo::ui {

namespace {

const char* const kWidthsSection = "DRef_M";

}  // namespace

TFrmCd_Ref::TFrmCd_Ref(Workspace& ws, WindowSettings& settings, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(settings), ui_(std::make_unique<Ui::TFrmCd_Ref>()) {
    using namespace parts;
    ui_->setupUi(this);
    dressToolButtons(ui_->ToolBar);
    takeControls();

    StringGrid1 = placeRecordGrid(ui_->GridPlace, new RecordGrid(ws_, kKindReference, kListColumns, this));
    StringGrid1->records()->showMarks(true);
    StringGrid1->records()->setRows(kMinimumRows);
    StringGrid1->applyWidths(settings_, kWidthsSection);
    PupMnSort = sortMenu(this, [this](int tag) { SORT_BCDClick(tag); });

    keepEnterFromButtons(this);
    connect(SpdBtnSort, &QToolButton::clicked, this, [this] { openSortMenu(SpdBtnSort, SpdBtnSort->shiftHeld()); });
    // The panels' sort buttons open the menu on the press itself (BtnF04GetMouseDown).
    for (ModifierPushButton* b : {BtnF04Disp, BtnF04Get, BtnF04Pmv})
        b->onMousePress = [this, b](Qt::KeyboardModifiers m) { openSortMenu(b, m.testFlag(Qt::ShiftModifier)); };
    connect(SpdBtnSel, &QToolButton::clicked, this, &TFrmCd_Ref::SpdBtnSelClick);
    connect(SpdBtnXchg, &QToolButton::clicked, this, &TFrmCd_Ref::SpdBtnXchgClick);
    connect(SpdBtnPrint, &QToolButton::clicked, this, &TFrmCd_Ref::SpdBtnPrintClick);
    connect(SpdBtnExit, &QToolButton::clicked, this, &TFrmCd_Ref::cancelClick);
    for (QPushButton* b : {BtnF01Disp, BtnF01Get, BtnF01Pmv}) connect(b, &QPushButton::clicked, this, &TFrmCd_Ref::cancelClick);
    connect(BtnF10Get, &QPushButton::clicked, this, &TFrmCd_Ref::BtnF10GetClick);
    connect(BtnF10Pmv, &QPushButton::clicked, this, &TFrmCd_Ref::BtnF10PmvClick);
    connect(StringGrid1, &RecordGrid::rowActivated, this, &TFrmCd_Ref::StringGrid1DblClick);
    connect(StringGrid1, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& i) { StringGrid1MouseUp(i.row(), i.column()); });
    applyMode();
}

void TFrmCd_Ref::takeControls() {
    toolBar_ = ui_->ToolBar;
    SpdBtnSort = ui_->SpdBtnSort;
    SpdBtnSel = ui_->SpdBtnSel;
    SpdBtnXchg = ui_->SpdBtnXchg;
    SpdBtnPrint = ui_->SpdBtnPrint;
    SpdBtnExit = ui_->SpdBtnExit;
    PnlDisp = ui_->PnlDisp;
    BtnF01Disp = ui_->BtnF01Disp;
    BtnF04Disp = ui_->BtnF04Disp;
    PnlGet = ui_->PnlGet;
    BtnF01Get = ui_->BtnF01Get;
    BtnF10Get = ui_->BtnF10Get;
    BtnF04Get = ui_->BtnF04Get;
    PnlPmv = ui_->PnlPmv;
    BtnF01Pmv = ui_->BtnF01Pmv;
    BtnF10Pmv = ui_->BtnF10Pmv;
    BtnF04Pmv = ui_->BtnF04Pmv;
}

TFrmCd_Ref::~TFrmCd_Ref() = default;

void TFrmCd_Ref::setPrinting(ProgramPrinter* printer, TFrmPrnStEd* range, TFrmStop* stop) {
    printer_ = printer;
    range_ = range;
    stop_ = stop;
    applyMode();
}

void TFrmCd_Ref::applyMode() {
    const int mode = windowMode_ == kGetMode || windowMode_ == kMoveMode ? windowMode_ : kDisplayMode;
    PnlDisp->setVisible(mode == kDisplayMode);
    PnlGet->setVisible(mode == kGetMode);
    PnlPmv->setVisible(mode == kMoveMode);
    SpdBtnSel->setEnabled(allowMarks_);
    SpdBtnXchg->setEnabled(allowMarks_);
    SpdBtnPrint->setEnabled(printer_ && range_ && stop_);
}

void TFrmCd_Ref::showResults(ExtractSpec& request) {
    setWindowTitle(request.extractMode == 0 ? tr("抽出ﾃﾞｰﾀ") : tr("情報ﾃﾞｰﾀ"));
    windowMode_ = request.windowMode;
    const CatalogueArray results = referenceArray(ws_);
    resultCount_ = std::clamp(static_cast<int>(request.resultCount), 0, results.capacity());
    RecordTableModel* model = StringGrid1->records();
    model->clearMarks();
    model->setRows(std::max(kMinimumRows, resultCount_));
    results.clearFrom(resultCount_);
    model->redrawAll();
    StringGrid1->selectSlot(0, true);
    windowResult_ = 0;
    // The list holds what fitted; the user is told that it is not everything before seeing it.
    if (request.truncated != 0)
        showBox(ws_, BoxKind::Information, tr("500 件で打ち切りました。条件を絞ってください。").toStdString(), Buttons::Ok);
    exec();
    request.selectedRow = StringGrid1->currentSlot();
    request.windowResult = static_cast<std::int16_t>(windowResult_);
}

std::vector<int> TFrmCd_Ref::markedResults() const { return StringGrid1->records()->markedSlots(); }

void TFrmCd_Ref::showEvent(QShowEvent* e) {
    applyMode();
    QDialog::showEvent(e);
    StringGrid1->setFocus();
}

void TFrmCd_Ref::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        cancelClick();
        return;
    }
    if (enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

void TFrmCd_Ref::closeEvent(QCloseEvent* e) {
    // A printout in progress ends by its stop button, not by closing the window.
    if (running_) {
        e->ignore();
        return;
    }
    StringGrid1->storeWidths(settings_, kWidthsSection);
    allowMarks_ = false;
    QDialog::closeEvent(e);
}

bool TFrmCd_Ref::inUse(int slot) const {
    if (slot < 0 || slot >= resultCount_) return false;
    const TCddataArray* a = ws_.array(kKindReference);
    return a && slot < a->slotCount() && isInUse((*a)[slot]);
}

bool TFrmCd_Ref::currentInUse() const { return inUse(StringGrid1->currentSlot()); }

void TFrmCd_Ref::cancelClick() {
    windowResult_ = 0;
    close();
}

void TFrmCd_Ref::BtnF10GetClick() {
    if (windowMode_ != kGetMode) return;
    if (!currentInUse() && !StringGrid1->records()->anyMarked()) return;
    windowResult_ = 1;
    close();
}

void TFrmCd_Ref::BtnF10PmvClick() {
    if (windowMode_ != kMoveMode || !currentInUse()) return;
    windowResult_ = 1;
    close();
}

void TFrmCd_Ref::StringGrid1DblClick() {
    if (windowMode_ == kGetMode) BtnF10GetClick();
    else if (windowMode_ == kMoveMode) BtnF10PmvClick();
}

void TFrmCd_Ref::StringGrid1MouseUp(int slot, int column) {
    if (column != 0 || slot < 0) return;
    StringGrid1->selectSlot(slot);
    if (!allowMarks_ || windowMode_ != kGetMode || !inUse(slot)) return;
    RecordTableModel* model = StringGrid1->records();
    model->setMarked(slot, !model->marked(slot));
}

void TFrmCd_Ref::SpdBtnSelClick() {
    if (!allowMarks_) return;
    RecordTableModel* model = StringGrid1->records();
    if (model->anyMarked()) {
        model->clearMarks();
        return;
    }
    for (int slot = 0; slot < resultCount_; ++slot)
        if (inUse(slot)) model->setMarked(slot, true);
}

void TFrmCd_Ref::SpdBtnXchgClick() {
    if (!allowMarks_) return;
    RecordTableModel* model = StringGrid1->records();
    for (int slot = 0; slot < resultCount_; ++slot)
        if (inUse(slot)) model->setMarked(slot, !model->marked(slot));
}

void TFrmCd_Ref::openSortMenu(QWidget* at, bool reverse) {
    if (running_) return;
    sortReverse_ = reverse;
    PupMnSort->popup(at->mapToGlobal(QPoint(0, at->height())));
}

void TFrmCd_Ref::SORT_BCDClick(int tag) {
    if (tag < 0 || tag > kSortPosition) return;
    sortRecords(ws_, tag, kKindReference, referenceArray(ws_).capacity(), sortReverse_ ? 1 : 0);
    // A mark belongs to a row, not to the record that the sort moved away from it.
    StringGrid1->records()->clearMarks();
    StringGrid1->records()->redrawAll();
}

void TFrmCd_Ref::SpdBtnPrintClick() {
    if (!printer_ || !range_ || !stop_ || running_) return;
    const int capacity = referenceArray(ws_).capacity();
    if (printLast_ <= 0) printLast_ = capacity;
    printLast_ = std::min(printLast_, capacity);
    printFirst_ = std::clamp(printFirst_, 1, std::max(capacity, 1));
    range_->prepare(capacity, printFirst_, printLast_);
    range_->exec();
    if (!range_->confirmed()) return;
    printFirst_ = range_->first();
    printLast_ = range_->last();
    running_ = true;
    toolBar_->setEnabled(false);
    for (QWidget* p : {PnlDisp, PnlGet, PnlPmv}) p->setEnabled(false);
    StringGrid1->setEnabled(false);
    parts::Finally unlock{[this] {
        running_ = false;
        toolBar_->setEnabled(true);
        for (QWidget* p : {PnlDisp, PnlGet, PnlPmv}) p->setEnabled(true);
        StringGrid1->setEnabled(true);
    }};
    printDataList(ws_, *printer_, *stop_, kKindReference, capacity, printFirst_ - 1, printLast_ - 1, this);
}

}  // namespace zemo::ui
