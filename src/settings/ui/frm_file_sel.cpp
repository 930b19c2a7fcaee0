// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/frm_file_sel.h"

#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <algorithm>

#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_ops.h"
#include "records/file_services.h"
#include "records/scramble.h"
#include "records/text.h"
#include "records/window_settings.h"
#include "settings/ui/file_controls.h"
#include "ui/dialog_keys.h"
#include "ui/field_checks.h"
#include "ui/window_place.h"
#include "ui_frm_file_sel.h"

namespace zemo::ui {

namespace {

constexpr int kColumns = 7;
constexpr int kMinDataRows = 10;
constexpr int kNameColumn = 1;
constexpr int kMemoColumn = 2;
constexpr int kColumnWidths[kColumns] = {40, 110, 160, 80, 30, 30, 120};
constexpr int kPathRole = Qt::UserRole;  // the file's real path; the name cell shows it upper-cased

bool isListedHeader(const zemo::DataFileHeader& h) {
    return (h.magic == zemo::kMagicPlain || h.magic == zemo::kMagicShare) && h.fileKind != zemo::kKindControl &&
           h.formatLevel >= 2 && h.formatLevel <= 4;
}

QString textOf(const std::string& sjis) { return QString::fromStdString(zemo::sjisToUtf8(sjis)); }

}  // namespace

TFrmFileSel::TFrmFileSel(zemo::Workspace& ws, zemo::WindowSettings& settings, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(settings), ui_(std::make_unique<Ui::TFrmFileSel>()) {
    ui_->setupUi(this);
    ui_->SpdBtnExit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    ui_->SpdBtnShare->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    for (int c = 0; c < kColumns; ++c) ui_->StringGrid1->setColumnWidth(c, kColumnWidths[c]);
    // No character limit: a memo that does not fit is refused when the choice is made, never cut.
    ui_->Edt_memo->setMaxLength(32767);

    zemo::ui::keepEnterFromButtons(this);
    // Enter in the grid and in the name field confirms; elsewhere it moves on.
    ui_->StringGrid1->installEventFilter(this);
    ui_->Edt_fn->installEventFilter(this);
    connectHandlers();

    // FormCreate: the drives, the current folder and its drive as the last good one, the
    // remembered placement and widths, and the row numbers.
    ui_->DriveComboBox1->setDrives(zemo::ui::mountedDrives());
    const QString start = zemo::ui::cleanFolder(QDir::currentPath());
    lastGoodDrive_ = ui_->DriveComboBox1->driveOf(start);
    setFolder(start);
    if (auto it = settings_.positions.find("FileSel"); it != settings_.positions.end())
        zemo::ui::applyPlace(this, it->second);
    if (auto it = settings_.widths.find("FileSel_M"); it != settings_.widths.end())
        zemo::ui::applyColumnWidths(ui_->StringGrid1->horizontalHeader(), it->second);
    setGridRows(kMinDataRows);
}

TFrmFileSel::~TFrmFileSel() = default;

void TFrmFileSel::connectHandlers() {
    connect(ui_->SpdBtnExit, &QToolButton::clicked, this, &QDialog::reject);
    connect(ui_->BtnF01, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->SpdBtnShare, &QToolButton::clicked, this, [this] { guarded([this] { SpdBtnShareClick(); }, this); });
    connect(ui_->BtnRtn, &QPushButton::clicked, this, [this] { guarded([this] { BtnRtnClick(); }, this); });
    connect(ui_->StringGrid1, &QTableWidget::currentCellChanged, this, [this] {
        if (!quietSelect_) StringGrid1Click();
    });
    connect(ui_->StringGrid1, &QTableWidget::cellClicked, this, [this] { StringGrid1Click(); });
    connect(ui_->StringGrid1, &QTableWidget::cellDoubleClicked, this,
            [this] { guarded([this] { StringGrid1DblClick(); }, this); });
    connect(ui_->DriveComboBox1, &QComboBox::currentIndexChanged, this,
            [this] { guarded([this] { DriveComboBox1Change(); }, this); });
    connect(ui_->DirectoryListBox1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        guarded([this, item] { openFolder(ui_->DirectoryListBox1->target(item)); }, this);
    });
}

void TFrmFileSel::setMode(int mode) { mode_ = mode == zemo::kChoiceWrite ? zemo::kChoiceWrite : zemo::kChoiceRead; }

QString TFrmFileSel::folder() const { return ui_->DirectoryListBox1->folder(); }

bool TFrmFileSel::setFolder(const QString& folder) {
    try {
        openFolder(folder);
        return true;
    } catch (const std::exception&) {
        // The folder cannot be read: the chooser keeps showing what it showed.
        const QString shown = ui_->DirectoryListBox1->folder();
        if (ui_->FileListBox1->folder() != shown) {
            try {
                ui_->FileListBox1->setFolder(shown);
            } catch (const std::exception&) {
                ui_->FileListBox1->clear();
            }
        }
        ui_->DriveComboBox1->showDriveOf(shown);
        return false;
    }
}

void TFrmFileSel::setDrives(const QStringList& roots) {
    customDrives_ = true;
    ui_->DriveComboBox1->setDrives(roots);
    ui_->DriveComboBox1->showDriveOf(folder());
    lastGoodDrive_ = ui_->DriveComboBox1->currentDrive();
}

QString TFrmFileSel::memoText() const { return ui_->Edt_memo->text(); }

bool TFrmFileSel::memoFits() const { return zemo::ui::fitsSjisField(ui_->Edt_memo->text(), kMemoBytes); }

zemo::FileChoice TFrmFileSel::choice() const {
    zemo::FileChoice c;
    // A memo that cannot be stored only gets here with a cancel: the memo in force stays.
    c.memo = memoFits() ? zemo::utf8ToSjis(ui_->Edt_memo->text().toStdString()) : ws_.nextMemo;
    c.chosen = chosen_;
    if (!chosen_) return c;
    // Blanks around the name are slips; those inside are the folder's or the file's own.
    const std::string typed = zemo::trimPathBlanks(chosenPath_.toStdString());
    // A bare name means a file of the folder shown (the process's own current folder is not
    // moved around by the chooser).
    if (!typed.empty() && typed.front() != '/')
        c.path = zemo::ui::joinFolder(folder(), QString::fromStdString(typed)).toStdString();
    else
        c.path = typed;
    return c;
}

void TFrmFileSel::refresh() {
    ui_->FileListBox1->setFolder(folder());
    fillGrid();
}

void TFrmFileSel::saveSettings() {
    settings_.positions["FileSel"] = zemo::ui::currentPlace(this);
    auto& widths = settings_.widths["FileSel_M"];
    widths.resize(kColumns - 1, -1);
    zemo::ui::storeColumnWidths(ui_->StringGrid1->horizontalHeader(), widths);
}

void TFrmFileSel::done(int r) {
    // FormClose: the column widths go back to the settings.
    auto& widths = settings_.widths["FileSel_M"];
    widths.resize(kColumns - 1, -1);
    zemo::ui::storeColumnWidths(ui_->StringGrid1->horizontalHeader(), widths);
    QDialog::done(r);
}

void TFrmFileSel::showEvent(QShowEvent* e) {
    chosen_ = false;
    if (!customDrives_) ui_->DriveComboBox1->setDrives(zemo::ui::mountedDrives());
    ui_->DriveComboBox1->showDriveOf(folder());
    guarded([this] { refresh(); }, this);
    setWindowTitle(mode_ == zemo::kChoiceWrite ? tr("書込みファイル名の選択")
                                               : tr("読込みファイル名の選択"));
    ui_->SpdBtnShare->setEnabled(mode_ == zemo::kChoiceWrite);
    QDialog::showEvent(e);
    ui_->StringGrid1->setFocus(Qt::OtherFocusReason);
}

void TFrmFileSel::keyPressEvent(QKeyEvent* e) {
    if (zemo::ui::enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

bool TFrmFileSel::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && (watched == ui_->StringGrid1 || watched == ui_->Edt_fn) &&
        zemo::ui::isEnterKey(static_cast<QKeyEvent*>(e))) {
        guarded([this] { BtnRtnClick(); }, this);
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TFrmFileSel::openFolder(const QString& target) {
    ui_->DirectoryListBox1->setFolder(target);  // throws when the folder cannot be read
    DirectoryListBox1Change();
}

void TFrmFileSel::DriveComboBox1Change() {
    const QString drive = ui_->DriveComboBox1->currentDrive();
    if (drive.isEmpty()) return;
    openFolder(drive);
    selectFirstRow();
    clearChoiceFields();
    lastGoodDrive_ = drive;  // only a drive that could be read gets here
}

void TFrmFileSel::DirectoryListBox1Change() {
    const QString shown = folder();
    ui_->Lbl_Folder->setText(shown);
    selectFirstRow();
    clearChoiceFields();
    ui_->FileListBox1->setFolder(shown);
    ui_->DriveComboBox1->showDriveOf(shown);
    fillGrid();
    lastGoodFolder_ = shown;
    lastGoodDrive_ = ui_->DriveComboBox1->currentDrive();
}

void TFrmFileSel::restoreLastGoodDrive() {
    ui_->DriveComboBox1->showDriveOf(lastGoodDrive_);
    QString target = lastGoodFolder_;
    if (target.isEmpty() || ui_->DriveComboBox1->driveOf(target) != lastGoodDrive_) target = lastGoodDrive_;
    try {
        openFolder(target);
    } catch (const std::exception&) {
        openFolder(lastGoodDrive_);
    }
}

void TFrmFileSel::StringGrid1Click() {
    const int row = ui_->StringGrid1->currentRow();
    if (row < 0 || row >= listed_) return;
    const QTableWidgetItem* name = ui_->StringGrid1->item(row, kNameColumn);
    if (!name || name->text().isEmpty()) return;
    ui_->Edt_fn->setText(name->data(kPathRole).toString());
    const QTableWidgetItem* memo = ui_->StringGrid1->item(row, kMemoColumn);
    ui_->Edt_memo->setText(memo ? memo->text() : QString());
}

void TFrmFileSel::StringGrid1DblClick() {
    const int row = ui_->StringGrid1->currentRow();
    if (row < 0 || row >= listed_) return;
    const QTableWidgetItem* name = ui_->StringGrid1->item(row, kNameColumn);
    if (!name || name->text().isEmpty()) return;
    StringGrid1Click();
    if (!memoAccepted()) return;
    chosen_ = true;
    chosenPath_ = name->data(kPathRole).toString();
    accept();
}

void TFrmFileSel::BtnRtnClick() {
    if (ui_->Edt_fn->text().isEmpty()) return;
    if (!memoAccepted()) return;
    chosen_ = true;
    chosenPath_ = ui_->Edt_fn->text();
    accept();
}

bool TFrmFileSel::memoAccepted() {
    if (zemo::ui::checkFieldText(ws_.prompter, ui_->Edt_memo->text(), kMemoBytes)) return true;
    ui_->Edt_memo->setFocus(Qt::OtherFocusReason);
    return false;
}

void TFrmFileSel::SpdBtnShareClick() {
    if (shareHandler_) shareHandler_();
}

void TFrmFileSel::setGridRows(int dataRows) {
    const int rows = std::max(kMinDataRows, dataRows);
    ui_->StringGrid1->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        auto* number = new QTableWidgetItem(QString::asprintf("%4d", r + 1));
        number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        ui_->StringGrid1->setItem(r, 0, number);
    }
}

void TFrmFileSel::fillGrid() {
    const QString dir = ui_->FileListBox1->folder();
    const QStringList names = ui_->FileListBox1->names();
    const bool wasQuiet = quietSelect_;
    quietSelect_ = true;
    setGridRows(static_cast<int>(names.size()));

    auto setCell = [this](int row, int column, const QString& text) {
        ui_->StringGrid1->setItem(row, column, new QTableWidgetItem(text));
    };

    int listed = 0;
    for (const QString& name : names) {
        const QString path = zemo::ui::joinFolder(dir, name);
        const std::string p = path.toStdString();
        // The readers report a missing file even when asked for no report; a file that has gone
        // since the folder was read is simply not listed.
        if (!zemo::fileExists(ws_, p)) continue;
        zemo::DataFileHeader header{};
        if (zemo::readHeader(ws_, p, false, header) != zemo::DataFileRead::Ok || !isListedHeader(header)) continue;

        const int row = listed++;
        auto* nameItem = new QTableWidgetItem(name.toUpper());
        nameItem->setData(kPathRole, path);
        ui_->StringGrid1->setItem(row, kNameColumn, nameItem);
        for (int c = kMemoColumn; c < kColumns; ++c) setCell(row, c, QString());

        zemo::DataFileInfo info{};
        if (!zemo::fileExists(ws_, p) || zemo::readInfo(ws_, p, false, info) != zemo::DataFileRead::Ok) continue;
        if (info.scrambled == 1) zemo::scrambleInfo(info, zemo::kScrambleUndo, info.keyIndex);
        setCell(row, 2, textOf(zemo::fieldText(info.memo)));
        setCell(row, 3, textOf(zemo::fieldText(info.creatorId)));
        setCell(row, 4, QString::number(info.wFlag));
        setCell(row, 5, QString::number(info.hasPassword));
        setCell(row, 6, QString::fromStdString(zemo::formatStamp(info.savedAt)));
    }

    listed_ = listed;
    setGridRows(listed);
    for (int r = listed; r < ui_->StringGrid1->rowCount(); ++r)
        for (int c = kNameColumn; c < kColumns; ++c) delete ui_->StringGrid1->takeItem(r, c);
    quietSelect_ = wasQuiet;
}

void TFrmFileSel::selectFirstRow() {
    const bool wasQuiet = quietSelect_;
    quietSelect_ = true;
    if (ui_->StringGrid1->rowCount() > 0) ui_->StringGrid1->setCurrentCell(0, kNameColumn);
    quietSelect_ = wasQuiet;
}

void TFrmFileSel::clearChoiceFields() {
    ui_->FileListBox1->clearSelection();
    ui_->FileListBox1->setCurrentRow(-1);
    ui_->Edt_fn->clear();
    ui_->Edt_memo->clear();
}

}  // namespace zemo::ui
