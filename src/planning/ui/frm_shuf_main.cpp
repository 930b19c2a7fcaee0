// SPDX-License-Identifier: GPL-3.0-or-later
#include "planning/ui/frm_shuf_main.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "catalogue/catalogue_access.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/frm_cd_ref.h"
#include "catalogue/ui/frm_data_disp.h"
#include "catalogue/ui/frm_ref_md.h"
#include "catalogue/ui/record_grid.h"
#include "planning/exact_check.h"
#include "planning/plan_engine.h"
#include "planning/plan_finish.h"
#include "planning/ui/frm_shuf_ctrl.h"
#include "platform/sjis.h"
#include "printing/ui/data_list_printing.h"
#include "printing/ui/frm_prn_st_ed.h"
#include "printing/ui/frm_stop.h"
#include "records/data_file.h"
#include "records/file_services.h"
#include "records/text.h"
#include "records/window_settings.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/window_parts.h"
#include "ui_frm_shuf_main.h"

namespace zemo::ui {

namespace {

const char* const kWidthsSection = "DShuf_M";
const char* const kListFull = "登録は出来ません。(全て登録されています)";

CatalogueArray shuffleArray(Workspace& ws) { return {ws, kKindShuffle}; }

QString paddedTime(std::int32_t seconds) {
    // "%-*s" with width 8: the time left-aligned in eight places.
    return QString::fromStdString(formatTimeLong(seconds)).leftJustified(8);
}

}  // namespace

TFrmShufMain::TFrmShufMain(Workspace& ws, WindowSettings& settings, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(settings), engine_(std::make_unique<PlanEngine>(ws)),
      ui_(std::make_unique<Ui::TFrmShufMain>()) {
    ui_->setupUi(this);
    placeGrid();
    buildMenus();
    keepEnterFromButtons(this);
    connectCommands();
    applyCommands();
}

void TFrmShufMain::placeGrid() {
    StringGrid1 = new RecordGrid(ws_, kKindShuffle, kListColumns, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->records()->setRows(kSlots);
    StringGrid1->applyWidths(settings_, kWidthsSection);
    StringGrid1->viewport()->installEventFilter(this);
    delete layout()->replaceWidget(ui_->GridPlace, StringGrid1);
    delete ui_->GridPlace;
    ui_->GridPlace = nullptr;
    static_cast<QBoxLayout*>(layout())->setStretchFactor(StringGrid1, 1);
}

void TFrmShufMain::buildMenus() {
    // The information menu: the tag of a kind item is period x 10 + kind.
    PupMnInfo = new QMenu(this);
    PupMnInfo->setObjectName("PupMnInfo");
    struct Item {
        const char* name;
        const char* caption;
    };
    const Item periods[] = {{"PI_MONTH", QT_TR_NOOP("３０日前")}, {"PI_15DAY", QT_TR_NOOP("６０日前")}, {"PI_WEEK", QT_TR_NOOP("９０日前")}, {"PI_PLAN", QT_TR_NOOP("入荷予定")}};
    const Item kinds[] = {{"PI_SSINGLE", QT_TR_NOOP("CDｼﾝｸﾞﾙ")}, {"PI_SALBUM", QT_TR_NOOP("CDｱﾙﾊﾞﾑ")}, {"PI_SVIDEO", QT_TR_NOOP("ビデオ")},
                          {"PI_SLASER", QT_TR_NOOP("ﾚｰｻﾞｰ")},     {"PI_ATHER", QT_TR_NOOP("その他")},     {"PI_SALL", QT_TR_NOOP("全て")},
                          {"PI_SCANCEL", QT_TR_NOOP("取り消し")}};
    for (int p = 0; p < 4; ++p) {
        QMenu* sub = PupMnInfo->addMenu(tr(periods[p].caption));
        QAction* periodItem = sub->menuAction();
        periodItem->setObjectName(periods[p].name);
        periodItem->setProperty("Tag", p);
        connect(sub, &QMenu::aboutToShow, this, [this, p] { infoPeriod_ = p; });
        for (int k = 0; k < 7; ++k) {
            QAction* a = sub->addAction(tr(kinds[k].caption));
            a->setObjectName(QString::fromUtf8(kinds[k].name) + QString::number(p));
            const int tag = p * 10 + k;
            a->setProperty("Tag", tag);
            connect(a, &QAction::triggered, this, [this, tag] { PI_Click(tag); });
        }
    }
    QAction* infoCancel = PupMnInfo->addAction(tr("取り消し"));
    infoCancel->setObjectName("PI_CANCEL");
    infoCancel->setProperty("Tag", 4);

    PupMnNewCls = new QMenu(this);
    PupMnNewCls->setObjectName("PupMnNewCls");
    const Item newItems[] = {{"PNC_CLS_YES", QT_TR_NOOP("初期化")}, {"PNC_CLS_SHUF", QT_TR_NOOP("シャッフル")}, {"PNC_CLS_NO", QT_TR_NOOP("取り消し")}};
    for (int tag = 0; tag < 3; ++tag) {
        QAction* a = PupMnNewCls->addAction(tr(newItems[tag].caption));
        a->setObjectName(newItems[tag].name);
        a->setProperty("Tag", tag);
        connect(a, &QAction::triggered, this, [this, tag] { PNC_Click(tag); });
    }
}

void TFrmShufMain::connectCommands() {
    // Each command has a tool-bar button and a panel button.
    using Handler = void (TFrmShufMain::*)();
    const struct {
        QAbstractButton* tool;
        QAbstractButton* panel;
        Handler handler;
    } pairs[] = {{ui_->SpdBtnOpen, nullptr, &TFrmShufMain::SpdBtnOpenClick},
                 {ui_->SpdBtnSave, nullptr, &TFrmShufMain::SpdBtnSaveClick},
                 {nullptr, ui_->BtnF02, &TFrmShufMain::BtnF02Click},
                 {ui_->SpdBtnSelect, ui_->BtnSel, &TFrmShufMain::BtnSelClick},
                 {ui_->SpdBtnFind, ui_->BtnSerch, &TFrmShufMain::BtnSerchClick},
                 {ui_->SpdBtnShuf, ui_->BtnShuf, &TFrmShufMain::BtnShufClick},
                 {ui_->SpdBtnProperty, ui_->BtnCtl, &TFrmShufMain::BtnCtlClick},
                 {ui_->SpdBtnErase, ui_->BtnF08, &TFrmShufMain::BtnF08Click},
                 {ui_->SpBtnClearRow, nullptr, &TFrmShufMain::SpBtnClearRowClick},
                 {ui_->SpdBtnPrint, ui_->BtnEPrn, &TFrmShufMain::BtnEPrnClick},
                 {nullptr, ui_->BtnFDsp, &TFrmShufMain::BtnFDspClick}};
    for (const auto& p : pairs)
        for (QAbstractButton* b : {p.tool, p.panel})
            if (b) connect(b, &QAbstractButton::clicked, this, p.handler);
    connect(ui_->SpdBtnExit, &QToolButton::clicked, this, &QWidget::close);
    connect(ui_->BtnF01, &QPushButton::clicked, this, &QWidget::close);
    connect(ui_->SpdBtnReport, &QToolButton::clicked, this, [this] { popupAt(PupMnInfo, ui_->SpdBtnReport, true); });
    connect(ui_->BtnF09, &QPushButton::clicked, this, [this] { popupAt(PupMnInfo, ui_->BtnF09, false); });
    connect(ui_->SpdBtnNew, &QToolButton::clicked, this, [this] { popupAt(PupMnNewCls, ui_->SpdBtnNew, true); });
    connect(ui_->BtnF10, &QPushButton::clicked, this, [this] { popupAt(PupMnNewCls, ui_->BtnF10, false); });
    connect(StringGrid1, &RecordGrid::rowActivated, this, [this](int) { BtnSelClick(); });
}

TFrmShufMain::~TFrmShufMain() {
    // The viewer belongs to whoever created it, not to this window.
    if (viewer_ && viewer_->parentWidget() == this) viewer_->setParent(viewerHome_, viewer_->windowFlags());
}

void TFrmShufMain::setCatalogue(TFrmCd_data* catalogue) {
    catalogue_ = catalogue;
    applyCommands();
}

void TFrmShufMain::setSearch(TFrmRefMd* search) {
    search_ = search;
    applyCommands();
}

void TFrmShufMain::setViewer(TFrmDataDisp* viewer) {
    viewer_ = viewer;
    applyCommands();
}

void TFrmShufMain::setPrinting(ProgramPrinter* printer, TFrmPrnStEd* range, TFrmStop* stop) {
    printer_ = printer;
    range_ = range;
    stop_ = stop;
    applyCommands();
}

void TFrmShufMain::setSettingsDialog(TFrmShufCtrl* dialog) {
    settingsDialog_ = dialog;
    applyCommands();
}

void TFrmShufMain::setResultsOpener(std::function<void()> open) {
    openResults_ = std::move(open);
    applyCommands();
}

void TFrmShufMain::applyCommands() {
    const bool pick = catalogue_ != nullptr;
    ui_->SpdBtnSelect->setEnabled(pick);
    ui_->BtnSel->setEnabled(pick);
    ui_->SpdBtnFind->setEnabled(search_ != nullptr);
    ui_->BtnSerch->setEnabled(search_ != nullptr);
    ui_->SpdBtnReport->setEnabled(search_ != nullptr);
    ui_->BtnF09->setEnabled(search_ != nullptr);
    ui_->SpdBtnShuf->setEnabled(bool(openResults_));
    ui_->BtnShuf->setEnabled(bool(openResults_));
    ui_->SpdBtnProperty->setEnabled(settingsDialog_ != nullptr);
    ui_->BtnCtl->setEnabled(settingsDialog_ != nullptr);
    const bool print = printer_ && range_ && stop_;
    ui_->SpdBtnPrint->setEnabled(print);
    ui_->BtnEPrn->setEnabled(print);
    ui_->BtnFDsp->setEnabled(!viewer_.isNull());
}

int TFrmShufMain::openShuffleList() {
    const int result = shuffleArray(ws_).loadOrCreate();
    if (result != 0) return result;
    busyCursor(ws_, true);
    StringGrid1->records()->setRows(kSlots);
    refreshShuffleGrid();
    refreshShuffleLabels();
    busyCursor(ws_, false);
    return 0;
}

int TFrmShufMain::openForPlanning() {
    // Through the catalogue window when there is one, so that its grid follows the new records.
    const int read = catalogue_ ? catalogue_->loadCatalogueGrid() : catalogueArray(ws_).loadOrCreate();
    if (read != 0) return read;
    if (const int result = openShuffleList(); result != 0) return result;
    exec();
    return 0;
}

void TFrmShufMain::refreshShuffleGrid() { StringGrid1->records()->redrawAll(); }

int TFrmShufMain::refreshShuffleLabels() {
    std::int32_t total = 0;
    CdRecord r;
    for (int slot = 0; slot < kSlots; ++slot)
        if (shuffleArray(ws_).getInUse(slot, r)) total = add32(total, r.timeSec);
    ui_->Lbl_Total->setText(tr("総時間=[%1]").arg(paddedTime(total)));
    std::int32_t target = 0;
    const bool read = engine_->currentTarget(target) == 0;
    ui_->Lbl_Target->setText(tr("目標=[%1]").arg(paddedTime(target)));
    // Before 振分け: whether any split of the list fits the tape at all.
    QString word;
    if (read && engine_->selection.count > 0) {
        switch (exactCheckSelection(engine_->selection, engine_->ctl).exists) {
            case ExactAnswer::Yes: word = tr("プランあり"); break;
            case ExactAnswer::No: word = tr("プランなし"); break;
            case ExactAnswer::Unchecked: word = tr("対象外"); break;
        }
    }
    ui_->Lbl_Exact->setText(word);
    return 0;
}

void TFrmShufMain::redrawList() {
    refreshShuffleGrid();
    refreshShuffleLabels();
}

bool TFrmShufMain::putSlot(int slot, const CdRecord& r) {
    if (shuffleArray(ws_).put(slot, r) != 0) return false;
    StringGrid1->records()->redrawRow(slot);
    return true;
}

void TFrmShufMain::slotsWritten() {
    refreshShuffleLabels();
    emit shuffleListChanged();
}

void TFrmShufMain::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    StringGrid1->setFocus();
    ui_->Lbl_fname->clear();
}

void TFrmShufMain::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();  // through the close question
        return;
    }
    if (enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

void TFrmShufMain::closeEvent(QCloseEvent* e) {
    if (running_ || !FormCloseQuery()) {
        e->ignore();
        return;
    }
    StringGrid1->storeWidths(settings_, kWidthsSection);
    emit closing();
    if (viewer_) {
        viewer_->close();
        if (viewer_->parentWidget() == this) viewer_->setParent(viewerHome_, viewer_->windowFlags());
    }
    QDialog::closeEvent(e);
}

bool TFrmShufMain::FormCloseQuery() {
    const Answer answer = showBox(ws_, BoxKind::Confirmation, "保存終了します。", Buttons::YesNoCancel);
    if (answer == Answer::Yes) return shuffleArray(ws_).save() == 0;
    return answer == Answer::No;
}

void TFrmShufMain::popupAt(QMenu* menu, QWidget* at, bool below) {
    if (running_) return;
    menu->popup(at->mapToGlobal(QPoint(0, below ? at->height() : 0)));
}

void TFrmShufMain::BtnSelClick() {
    if (!catalogue_ || running_) return;
    const int slot = StringGrid1->currentSlot();
    if (slot < 0) return;
    int index = 0;
    CdRecord r;
    if (shuffleArray(ws_).getInUse(slot, r)) {
        FindSpec find;
        initFindSpec(find);
        if (findCdRecord(ws_, r, find) == 0 && find.found && find.foundIndex >= 0) index = find.foundIndex;
    }
    if (catalogue_->pickFromCatalogue(index)) {
        CdRecord picked;
        if (catalogueArray(ws_).get(index, picked) == 0 && putSlot(slot, picked)) {
            slotsWritten();
            return;
        }
    }
    refreshShuffleLabels();
}

void TFrmShufMain::BtnSerchClick() {
    if (!search_ || running_) return;
    ExtractSpec request;
    initExtractSpec(request);
    request.windowMode = TFrmCd_Ref::kGetMode;
    search_->allowMarks();
    if (!search_->runSearch(request)) {
        refreshShuffleLabels();
        return;
    }
    std::vector<int> taken = search_->results().markedResults();
    if (taken.empty()) taken.push_back(request.selectedRow);
    bool wrote = false;
    for (int result : taken) {
        CdRecord r;
        if (referenceArray(ws_).get(result, r) != 0) break;
        int slot = 0;
        CdRecord present;
        while (slot < kSlots && shuffleArray(ws_).getInUse(slot, present)) ++slot;
        if (slot >= kSlots) {
            showBox(ws_, BoxKind::Information, kListFull, Buttons::Ok);
            break;
        }
        if (!putSlot(slot, r)) break;
        wrote = true;
    }
    if (wrote) slotsWritten();
    else refreshShuffleLabels();
}

void TFrmShufMain::PI_Click(int tag) {
    if (!search_ || running_) return;
    infoKind_ = tag % 10;
    infoPeriod_ = tag / 10;
    if (infoKind_ > 5 || infoPeriod_ > 3) return;
    CdRecord key;
    clearCdRecord(key);
    ExtractSpec request;
    initExtractSpec(request);
    request.extractMode = 1;
    request.ageKind = static_cast<std::int16_t>(infoKind_);
    request.ageRange = static_cast<std::int16_t>(infoPeriod_);
    busyCursor(ws_, true);
    const int result = extractCdRecords(ws_, key, request);
    busyCursor(ws_, false);
    if (result != 0) return;
    request.windowMode = TFrmCd_Ref::kDisplayMode;
    search_->results().setAllowMarks(false);
    search_->results().showResults(request);
}

void TFrmShufMain::BtnF08Click() {
    if (running_) return;
    CdRecord r;
    for (int slot = kSlots - 1; slot >= 0; --slot) {
        if (!shuffleArray(ws_).getInUse(slot, r)) continue;
        CdRecord cleared;
        clearCdRecord(cleared);
        if (putSlot(slot, cleared)) slotsWritten();
        return;
    }
    refreshShuffleLabels();
}

void TFrmShufMain::SpBtnClearRowClick() {
    if (running_) return;
    const int slot = StringGrid1->currentSlot();
    if (slot < 0 || slot >= kSlots) return;
    CdRecord cleared;
    clearCdRecord(cleared);
    if (putSlot(slot, cleared)) slotsWritten();
    else refreshShuffleLabels();
}

void TFrmShufMain::PNC_Click(int tag) {
    if (running_ || (tag != 0 && tag != 1)) return;
    // The new list is made in a copy and written back slot by slot.
    std::vector<CdRecord> list(kSlots);
    for (int slot = 0; slot < kSlots; ++slot) {
        if (tag == 0) clearCdRecord(list[slot]);
        else if (shuffleArray(ws_).get(slot, list[slot]) != 0) return;
    }
    if (tag == 1) {
        std::int32_t v[kSlots] = {};
        randomPermutation(engine_->rng, 0, kSlots, v);
        for (int k = 0; k < kSlots; ++k) std::swap(list[k], list[std::clamp<int>(v[k], 0, kSlots - 1)]);
        // The used slots to the front in their new order, the rest cleared.
        int used = 0;
        for (int slot = 0; slot < kSlots; ++slot)
            if (list[slot].active != 0) std::swap(list[used++], list[slot]);
        for (int slot = used; slot < kSlots; ++slot) clearCdRecord(list[slot]);
    }
    for (int slot = 0; slot < kSlots; ++slot)
        if (shuffleArray(ws_).put(slot, list[slot]) != 0) break;
    refreshShuffleGrid();
    if (tag == 0) StringGrid1->selectSlot(0, true);
    slotsWritten();
}

void TFrmShufMain::SpdBtnOpenClick() {
    if (running_) return;
    ws_.openDialogDir = kindDir(ws_, kKindShuffle);
    int done = 0;
    const int result = shuffleArray(ws_).transferByDialog(false, kChoiceRead, done);
    if (!done) return;
    if (result == 0) {
        const std::string name = QFileInfo(QString::fromStdString(ws_.openDialogFile)).fileName().toUpper().toStdString();
        ui_->Lbl_fname->setText(QStringLiteral("[%1]").arg(QString::fromStdString(name)));
        refreshShuffleGrid();
        slotsWritten();
    } else {
        ui_->Lbl_fname->setText(QStringLiteral("[ERROR]"));
        redrawList();
    }
}

void TFrmShufMain::SpdBtnSaveClick() {
    if (running_) return;
    ws_.saveDialogDir = kindDir(ws_, kKindShuffle);
    int done = 0;
    shuffleArray(ws_).transferByDialog(false, kChoiceWrite, done);
}

void TFrmShufMain::BtnF02Click() {
    if (running_) return;
    arrowCursor(ws_, true);
    const int mode = ws_.prompter.askReadWrite();
    arrowCursor(ws_, false);
    if (mode == kChoiceRead) SpdBtnOpenClick();
    else if (mode == kChoiceWrite) SpdBtnSaveClick();
}

void TFrmShufMain::lockCommands(bool locked) {
    running_ = locked;
    ui_->ToolBar->setEnabled(!locked);
    ui_->Panel->setEnabled(!locked);
    StringGrid1->setEnabled(!locked);
}

void TFrmShufMain::BtnEPrnClick() {
    if (!printer_ || !range_ || !stop_ || running_) return;
    if (printLast_ <= 0) printLast_ = kSlots;
    range_->prepare(kSlots, std::clamp(printFirst_, 1, kSlots), std::min(printLast_, kSlots));
    range_->exec();
    if (!range_->confirmed()) return;
    printFirst_ = range_->first();
    printLast_ = range_->last();
    lockCommands(true);
    parts::Finally unlock{[this] { lockCommands(false); }};
    printDataList(ws_, *printer_, *stop_, kKindShuffle, kSlots, printFirst_ - 1, printLast_ - 1, this);
}

void TFrmShufMain::BtnFDspClick() {
    if (!viewer_ || running_) return;
    // Parented here, the viewer takes input while this modal window waits.
    if (viewer_->parentWidget() != this) {
        viewerHome_ = viewer_->parentWidget();
        viewer_->setParent(this, viewer_->windowFlags());
    }
    viewer_->showViewer();
}

void TFrmShufMain::BtnShufClick() {
    if (!openResults_ || running_) return;
    openResults_();
}

void TFrmShufMain::BtnCtlClick() {
    if (!settingsDialog_ || running_) return;
    settingsDialog_->execReloaded();
    refreshShuffleLabels();
}

bool TFrmShufMain::dropOnRow(int sourceSlot, int row) {
    // Only a data row other than the source takes a drop; the header and outside do nothing.
    if (row < 1 || row > kSlots || sourceSlot < 0 || sourceSlot >= kSlots) return false;
    const int target = row - 1;
    if (target == sourceSlot) return false;
    CdRecord a, b;
    if (shuffleArray(ws_).get(sourceSlot, a) != 0 || shuffleArray(ws_).get(target, b) != 0) return false;
    const bool first = putSlot(sourceSlot, b);
    const bool second = first && putSlot(target, a);
    if (!second && first) putSlot(sourceSlot, a);  // half an exchange would lose a CD
    if (second) {
        StringGrid1->selectSlot(target);
        slotsWritten();
    }
    return second;
}

bool TFrmShufMain::eventFilter(QObject* watched, QEvent* e) {
    if (watched != StringGrid1->viewport()) return QDialog::eventFilter(watched, e);
    // The grid row (1..30) under a viewport position, 0 outside the data rows.
    auto rowAt = [this](const QPoint& pos) {
        if (!StringGrid1->viewport()->rect().contains(pos)) return 0;
        const int row = StringGrid1->rowAt(pos.y());
        return row >= 0 && row < kSlots ? row + 1 : 0;
    };
    switch (e->type()) {
    case QEvent::MouseButtonDblClick:
        // Qt delivers the second press before the double click: the drag that press started is
        // dropped here, and the flag only covers a press that comes after it within the same click.
        doubleClicked_ = true;
        dragging_ = false;
        break;
    case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(e);
        if (m->button() != Qt::LeftButton || running_) break;
        const QPoint pos = m->position().toPoint();
        const int row = rowAt(pos);
        if (row == 0) break;
        if (StringGrid1->columnAt(pos.x()) == 0) {
            StringGrid1->selectSlot(row - 1);
            break;
        }
        if (doubleClicked_) {
            doubleClicked_ = false;
            break;
        }
        dragSource_ = row - 1;
        dragging_ = true;
        break;
    }
    case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(e);
        if (!dragging_ || !(m->buttons() & Qt::LeftButton)) break;
        const int row = rowAt(m->position().toPoint());
        if (row > 0) StringGrid1->selectSlot(row - 1);
        return true;  // the grid's own rubber-band selection stays out of a drag
    }
    case QEvent::MouseButtonRelease: {
        auto* m = static_cast<QMouseEvent*>(e);
        if (m->button() == Qt::LeftButton) doubleClicked_ = false;  // the double click is over
        if (!dragging_ || m->button() != Qt::LeftButton) break;
        dragging_ = false;
        const QPoint pos = m->position().toPoint();
        const int row = rowAt(pos);
        if (row == 0) {
            // Dropped on the header or outside the rows: nothing moves, the source stays current.
            StringGrid1->selectSlot(dragSource_);
            return true;
        }
        dropOnRow(dragSource_, row);
        return true;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, e);
}

}  // namespace zemo::ui
