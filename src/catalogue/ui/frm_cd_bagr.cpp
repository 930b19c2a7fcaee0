// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ui/frm_cd_bagr.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "catalogue/catalogue_editing.h"
#include "catalogue/ui/list_window_parts.h"
#include "catalogue/ui/record_grid.h"
#include "printing/ui/data_list_printing.h"
#include "printing/ui/frm_prn_st_ed.h"
#include "records/file_services.h"
#include "records/window_settings.h"
#include "ui/dialog_keys.h"
#include "ui/window_parts.h"

namespace zemo::ui {

namespace {
const char* const kWidthsSection = "DBagr_M";
constexpr int kMinimumRows = 10;
}  // namespace

TFrmCd_Bagr::TFrmCd_Bagr(Workspace& ws, WindowSettings& settings, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(settings) {
    setObjectName("FrmCd_Bagr");
    setWindowTitle(tr("検索一致表示"));
    setModal(true);
    resize(900, 380);

    auto* tools = tools_ = new QWidget(this);
    SpdBtnPrint = parts::toolButton(tools, "SpdBtnPrint", qUtf8Printable(tr("印刷")));
    SpdBtnExit = parts::toolButton(tools, "SpdBtnExit", qUtf8Printable(tr("終了/取消")));
    auto* toolRow = new QHBoxLayout(tools);
    toolRow->setContentsMargins(0, 0, 0, 0);
    toolRow->addWidget(SpdBtnExit);
    toolRow->addWidget(SpdBtnPrint);
    toolRow->addStretch();

    StringGrid1 = new RecordGrid(ws_, kKindBarcodeAgree, kListColumns, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->applyWidths(settings_, kWidthsSection);

    PnlPut = new QWidget(this);
    PnlPut->setObjectName("PnlPut");
    BtnF01Put = parts::button<QPushButton>(PnlPut, "BtnF01Put", qUtf8Printable(tr("取消")));
    BtnF08Put = parts::button<QPushButton>(PnlPut, "BtnF08Put", qUtf8Printable(tr("削除")));
    BtnF09Put = parts::button<QPushButton>(PnlPut, "BtnF09Put", qUtf8Printable(tr("追加")));
    BtnF10Put = parts::button<QPushButton>(PnlPut, "BtnF10Put", qUtf8Printable(tr("設定")));
    auto* put = new QHBoxLayout(PnlPut);
    put->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {BtnF01Put, BtnF08Put, BtnF09Put, BtnF10Put}) put->addWidget(b);
    put->addStretch();

    PnlDel = new QWidget(this);
    PnlDel->setObjectName("PnlDel");
    BtnF01Del = parts::button<QPushButton>(PnlDel, "BtnF01Del", qUtf8Printable(tr("終了")));
    BtnF10Del = parts::button<QPushButton>(PnlDel, "BtnF10Del", qUtf8Printable(tr("削除")));
    auto* del = new QHBoxLayout(PnlDel);
    del->setContentsMargins(0, 0, 0, 0);
    del->addWidget(BtnF01Del);
    del->addWidget(BtnF10Del);
    del->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tools);
    layout->addWidget(StringGrid1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(PnlPut);
    bottom->addWidget(PnlDel);
    layout->addLayout(bottom);

    keepEnterFromButtons(this);
    connect(BtnF01Put, &QPushButton::clicked, this, &TFrmCd_Bagr::BtnF01PutCick);
    connect(BtnF01Del, &QPushButton::clicked, this, &TFrmCd_Bagr::BtnF01PutCick);
    connect(SpdBtnExit, &QToolButton::clicked, this, &TFrmCd_Bagr::BtnF01PutCick);
    connect(BtnF08Put, &QPushButton::clicked, this, &TFrmCd_Bagr::BtnF08PutClick);
    connect(BtnF10Del, &QPushButton::clicked, this, &TFrmCd_Bagr::BtnF08PutClick);
    connect(BtnF09Put, &QPushButton::clicked, this, &TFrmCd_Bagr::BtnF09PutClick);
    connect(BtnF10Put, &QPushButton::clicked, this, &TFrmCd_Bagr::BtnF10PutClick);
    connect(SpdBtnPrint, &QToolButton::clicked, this, &TFrmCd_Bagr::SpdBtnPrintClick);
    connect(StringGrid1, &RecordGrid::rowActivated, this, &TFrmCd_Bagr::StringGrid1DblClick);
    SpdBtnPrint->setEnabled(false);
    PnlDel->hide();
}

TFrmCd_Bagr::~TFrmCd_Bagr() = default;

void TFrmCd_Bagr::setPrinting(ProgramPrinter* printer, TFrmPrnStEd* range, TFrmStop* stop) {
    printer_ = printer;
    range_ = range;
    stop_ = stop;
    SpdBtnPrint->setEnabled(printer_ && range_ && stop_);
}

int TFrmCd_Bagr::agree(Workspace&, FindSpec& request, const CdRecord& key) {
    showBarcodeAgreement(request, key);
    return request.agreeResult;
}

void TFrmCd_Bagr::showBarcodeAgreement(FindSpec& request, const CdRecord& key) {
    const CatalogueArray list = barcodeAgreeArray(ws_);
    const int count = std::clamp(request.matchCount, 0, list.capacity());
    rows_ = std::max(kMinimumRows, count);
    list.clearFrom(count);
    StringGrid1->records()->setShownRows(rows_);
    StringGrid1->selectSlot(preselectAgreementEntry(ws_, key, count), true);
    mode_ = request.agreeMode == kDeleteMode ? kDeleteMode : kRegisterMode;
    PnlPut->setVisible(mode_ == kRegisterMode);
    PnlDel->setVisible(mode_ == kDeleteMode);
    exec();
    request.selectedRow = std::max(StringGrid1->currentSlot(), 0);
    request.agreeResult = static_cast<std::int16_t>(result_);
}

void TFrmCd_Bagr::showEvent(QShowEvent* e) {
    result_ = kAgreeCancelled;
    QDialog::showEvent(e);
    StringGrid1->setFocus();
}

void TFrmCd_Bagr::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

void TFrmCd_Bagr::closeEvent(QCloseEvent* e) {
    StringGrid1->storeWidths(settings_, kWidthsSection);
    QDialog::closeEvent(e);
}

void TFrmCd_Bagr::BtnF01PutCick() {
    result_ = kAgreeCancelled;
    close();
}

void TFrmCd_Bagr::BtnF08PutClick() { deleteCurrentRow(); }

void TFrmCd_Bagr::deleteCurrentRow() {
    const int entry = StringGrid1->currentSlot();
    if (entry < 0) return;
    CdRecord r;
    if (!barcodeAgreeArray(ws_).getInUse(entry, r)) return;
    int slot = -1;
    const int deleted = deleteAgreementEntry(ws_, entry, rows_, slot);
    if (deleted == 0 && rowChanged_) rowChanged_(slot);
    StringGrid1->records()->redrawAll();
}

void TFrmCd_Bagr::BtnF09PutClick() {
    const int entry = StringGrid1->currentSlot();
    CdRecord r;
    if (entry < 0 || barcodeAgreeArray(ws_).get(entry, r) != 0) return;
    if (showBox(ws_, BoxKind::Confirmation, tr("追加登録します。").toStdString(), Buttons::OkCancel) != Answer::Ok) return;
    result_ = kAgreeAdd;
    close();
}

void TFrmCd_Bagr::BtnF10PutClick() {
    const int entry = StringGrid1->currentSlot();
    CdRecord r;
    if (entry < 0 || !barcodeAgreeArray(ws_).getInUse(entry, r)) return;
    if (showBox(ws_, BoxKind::Confirmation, tr("設定します。(差し替え)").toStdString(), Buttons::OkCancel) != Answer::Ok) return;
    result_ = kAgreeReplace;
    close();
}

void TFrmCd_Bagr::StringGrid1DblClick() {
    if (mode_ == kRegisterMode) BtnF10PutClick();
    else deleteCurrentRow();
}

void TFrmCd_Bagr::SpdBtnPrintClick() {
    if (!printer_ || !range_ || !stop_) return;
    const int capacity = barcodeAgreeArray(ws_).capacity();
    if (!askListRange(*range_, capacity, printFirst_, printLast_)) return;
    // Everything but the stop window off while the printout lets events run.
    for (QWidget* w : {tools_, PnlPut, PnlDel, static_cast<QWidget*>(StringGrid1)}) w->setEnabled(false);
    printDataList(ws_, *printer_, *stop_, kKindBarcodeAgree, capacity, printFirst_ - 1, printLast_ - 1, this);
    for (QWidget* w : {tools_, PnlPut, PnlDel, static_cast<QWidget*>(StringGrid1)}) w->setEnabled(true);
}

}  // namespace zemo::ui
