// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ui/frm_cd_history.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "catalogue/catalogue_access.h"
#include "catalogue/ui/record_grid.h"
#include "records/window_settings.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/window_parts.h"

namespace zemo::ui {

TFrmCdHistory::TFrmCdHistory(Workspace& ws, WindowSettings& settings, int kind, int columns, const char* name,
                             const char* caption, const char* widthsSection, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(settings), kind_(kind), widthsSection_(widthsSection) {
    setObjectName(name);
    setWindowTitle(tr(caption));
    setModal(true);
    resize(1000, 500);
    clearCdRecord(taken_);

    auto* tools = new QWidget(this);
    SpdBtnExit = parts::toolButton(tools, "SpdBtnExit", qUtf8Printable(tr("終了")));
    auto* toolRow = new QHBoxLayout(tools);
    toolRow->setContentsMargins(0, 0, 0, 0);
    toolRow->addWidget(SpdBtnExit);
    toolRow->addStretch();

    StringGrid1 = new RecordGrid(ws_, kind_, columns, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->applyWidths(settings_, widthsSection_);

    auto* panel = new QWidget(this);
    panel->setObjectName("Panel1");
    BtnF01 = parts::button<QPushButton>(panel, "BtnF01", qUtf8Printable(tr("終了")));
    BtnF10 = parts::button<QPushButton>(panel, "BtnF10", qUtf8Printable(tr("取得")));
    auto* buttons = new QHBoxLayout(panel);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(BtnF01);
    buttons->addWidget(BtnF10);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tools);
    layout->addWidget(StringGrid1, 1);
    layout->addWidget(panel);

    keepEnterFromButtons(this);
    connect(SpdBtnExit, &QToolButton::clicked, this, &QDialog::close);
    connect(BtnF01, &QPushButton::clicked, this, &QDialog::close);
    connect(BtnF10, &QPushButton::clicked, this, &TFrmCdHistory::BtnF10Click);
    connect(StringGrid1, &RecordGrid::rowActivated, this, &TFrmCdHistory::BtnF10Click);
}

TFrmCdHistory::~TFrmCdHistory() = default;

int TFrmCdHistory::loadList() {
    const int result = CatalogueArray(ws_, kind_).loadIfNeeded();
    StringGrid1->records()->followCapacity();
    return result;
}

bool TFrmCdHistory::takeRecord() {
    picked_ = false;
    if (StringGrid1->currentSlot() < 0) StringGrid1->selectSlot(0, true);
    exec();
    return picked_;
}

void TFrmCdHistory::showEvent(QShowEvent* e) {
    // The history changes while the window is hidden (every registration and deletion moves all
    // of it down); it is drawn again when it is shown, never per change.
    StringGrid1->records()->followCapacity();
    QDialog::showEvent(e);
    StringGrid1->setFocus();
}

void TFrmCdHistory::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

void TFrmCdHistory::closeEvent(QCloseEvent* e) {
    StringGrid1->storeWidths(settings_, widthsSection_);
    QDialog::closeEvent(e);
}

void TFrmCdHistory::BtnF10Click() {
    const int slot = StringGrid1->currentSlot();
    CdRecord r;
    if (slot < 0 || !CatalogueArray(ws_, kind_).getInUse(slot, r)) return;  // an empty row takes nothing
    taken_ = r;
    picked_ = true;
    close();
}

TFrmCd_New::TFrmCd_New(Workspace& ws, WindowSettings& settings, QWidget* parent)
    : TFrmCdHistory(ws, settings, kKindNew, kNewListColumns, "FrmCd_New", QT_TRANSLATE_NOOP("zemo::ui::TFrmCdHistory", "登録日時データ"), "DNew_M", parent) {}

TFrmCd_Del::TFrmCd_Del(Workspace& ws, WindowSettings& settings, QWidget* parent)
    : TFrmCdHistory(ws, settings, kKindDeleted, kFullListColumns, "FrmCd_Del", QT_TRANSLATE_NOOP("zemo::ui::TFrmCdHistory", "削除データ"), "DDel_M", parent) {}

}  // namespace zemo::ui
