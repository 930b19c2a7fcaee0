// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ui/frm_cd_ref.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "catalogue/catalogue_access.h"
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

namespace zemo::ui {

namespace {

const char* const kWidthsSection = "DRef_M";

}  // namespace

TFrmCd_Ref::TFrmCd_Ref(Workspace& ws, WindowSettings& settings, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(settings) {
    using namespace parts;
    setObjectName("FrmCd_Ref");
    setWindowTitle(QStringLiteral("検出一致結果表示"));
    setModal(true);
    resize(900, 480);

    toolBar_ = new QWidget(this);
    toolBar_->setObjectName("ToolBar");
    SpdBtnSort = toolButton<ModifierToolButton>(toolBar_, "SpdBtnSort", "並び換え");
    SpdBtnSel = toolButton(toolBar_, "SpdBtnSel", "全選択/解除");
    SpdBtnXchg = toolButton(toolBar_, "SpdBtnXchg", "反転選択");
    SpdBtnPrint = toolButton(toolBar_, "SpdBtnPrint", "印刷");
    SpdBtnExit = toolButton(toolBar_, "SpdBtnExit", "終了/取消");
    auto* tools = new QHBoxLayout(toolBar_);
    tools->setContentsMargins(0, 0, 0, 0);
    for (QToolButton* b : {static_cast<QToolButton*>(SpdBtnSort), SpdBtnSel, SpdBtnXchg, SpdBtnPrint, SpdBtnExit})
        tools->addWidget(b);
    tools->addStretch();

    StringGrid1 = new RecordGrid(ws_, kKindReference, kListColumns, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->records()->showMarks(true);
    StringGrid1->records()->setRows(kMinimumRows);
    StringGrid1->applyWidths(settings_, kWidthsSection);

    auto panel = [this](const char* name, std::initializer_list<QPushButton*> buttons, QWidget* w) {
        w->setObjectName(name);
        auto* row = new QHBoxLayout(w);
        row->setContentsMargins(0, 0, 0, 0);
        for (QPushButton* b : buttons) row->addWidget(b);
        row->addStretch();
    };
    PnlDisp = new QWidget(this);
    BtnF01Disp = button<QPushButton>(PnlDisp, "BtnF01Disp", "終了");
    BtnF04Disp = button<ModifierPushButton>(PnlDisp, "BtnF04Disp", "並び換");
    panel("PnlDisp", {BtnF01Disp, BtnF04Disp}, PnlDisp);
    PnlGet = new QWidget(this);
    BtnF01Get = button<QPushButton>(PnlGet, "BtnF01Get", "取消");
    BtnF10Get = button<QPushButton>(PnlGet, "BtnF10Get", "取得");
    BtnF04Get = button<ModifierPushButton>(PnlGet, "BtnF04Get", "並び換");
    panel("PnlGet", {BtnF01Get, BtnF10Get, BtnF04Get}, PnlGet);
    PnlPmv = new QWidget(this);
    BtnF01Pmv = button<QPushButton>(PnlPmv, "BtnF01Pmv", "取消");
    BtnF10Pmv = button<QPushButton>(PnlPmv, "BtnF10Pmv", "移動");
    BtnF04Pmv = button<ModifierPushButton>(PnlPmv, "BtnF04Pmv", "並び換");
    panel("PnlPmv", {BtnF01Pmv, BtnF10Pmv, BtnF04Pmv}, PnlPmv);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(toolBar_);
    layout->addWidget(StringGrid1, 1);
    auto* panels = new QHBoxLayout;
    for (QWidget* p : {PnlDisp, PnlGet, PnlPmv}) panels->addWidget(p);
    layout->addLayout(panels);

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
    setWindowTitle(request.extractMode == 0 ? QStringLiteral("抽出ﾃﾞｰﾀ") : QStringLiteral("情報ﾃﾞｰﾀ"));
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
