// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ui/frm_data_disp.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "catalogue/ui/record_grid.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/file_services.h"
#include "records/window_settings.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/window_parts.h"

namespace zemo::ui {

namespace {

const char* const kWidthsSection = "DDisp_M";

}  // namespace

TFrmDataDisp::TFrmDataDisp(Workspace& ws, WindowSettings& settings, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(settings) {
    using namespace parts;
    setObjectName("FrmDataDisp");
    setWindowTitle(tr("データの表示"));
    setModal(false);
    resize(980, 520);

    auto* toolBar = new QWidget(this);
    toolBar->setObjectName("ToolBar");
    SpdBtnOpen = toolButton(toolBar, "SpdBtnOpen", qUtf8Printable(tr("読み込み")));
    SpdBtnExit = toolButton(toolBar, "SpdBtnExit", qUtf8Printable(tr("終了")));
    auto* tools = new QHBoxLayout(toolBar);
    tools->setContentsMargins(0, 0, 0, 0);
    tools->addWidget(SpdBtnOpen);
    tools->addWidget(SpdBtnExit);
    tools->addStretch();

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);

    StringGrid1 = new RecordGrid(ws_, kKindCatalogue, kFullListColumns, this);
    StringGrid1->setObjectName("StringGrid1");
    // Nothing is shown until a file has been read; the catalogue array is never shown here.
    StringGrid1->records()->showOwnRecords(TCddataArray(), 0);
    StringGrid1->applyWidths(settings_, kWidthsSection);

    BtnF01 = button<QPushButton>(this, "BtnF01", qUtf8Printable(tr("終了")));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BtnF01);
    bottom->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(toolBar);
    layout->addWidget(Label1);
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(bottom);

    keepEnterFromButtons(this);
    connect(SpdBtnOpen, &QToolButton::clicked, this, &TFrmDataDisp::SpdBtnOpenClick);
    connect(SpdBtnExit, &QToolButton::clicked, this, &TFrmDataDisp::SpdBtnExitClick);
    connect(BtnF01, &QPushButton::clicked, this, &TFrmDataDisp::SpdBtnExitClick);
    // StringGrid1MouseUp: a click in column 0 selects the row, as whole-row selection does.
}

TFrmDataDisp::~TFrmDataDisp() = default;

void TFrmDataDisp::showViewer() {
    show();
    raise();
    activateWindow();
}

QString TFrmDataDisp::shownPath() const { return Label1->text(); }

void TFrmDataDisp::SpdBtnOpenClick() {
    arrowCursor(ws_, true);
    const FileChoice choice = ws_.prompter.chooseDataFile(kChoiceRead, workDir(ws_, kPathLib));
    arrowCursor(ws_, false);
    ws_.nextMemo = choice.memo;
    if (!choice.chosen) return;
    ws_.openDialogFile = choice.path;
    const std::string path = trimPathBlanks(choice.path);
    if (path.empty()) return;

    const int capacity = ws_.capacity(kKindCatalogue);
    TCddataArray records(capacity + 1);
    int loadedFlag = 0, count = 0;
    busyCursor(ws_, true);
    skipKindCheckOnce(ws_);  // a file of any kind is shown
    const DataFileRead result = readDataFile(ws_, path, kKindCatalogue, records, loadedFlag, count, capacity);
    busyCursor(ws_, false);
    // A cancelled password, a "No" to the truncation question or a damaged file leave the
    // previous file's label and rows.
    if (result != DataFileRead::Ok) return;
    Label1->setText(QString::fromStdString(path));
    StringGrid1->records()->showOwnRecords(std::move(records), count);
    StringGrid1->selectSlot(0, true);
}

void TFrmDataDisp::SpdBtnExitClick() { close(); }

void TFrmDataDisp::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

void TFrmDataDisp::closeEvent(QCloseEvent* e) {
    StringGrid1->storeWidths(settings_, kWidthsSection);
    QDialog::closeEvent(e);
}

}  // namespace zemo::ui
