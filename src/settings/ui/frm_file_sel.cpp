// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/frm_file_sel.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
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
#include "ui/window_place.h"

namespace zemo::ui {

namespace {

constexpr int kColumns = 7;
constexpr int kMinDataRows = 10;
constexpr int kNameColumn = 1;
constexpr int kMemoColumn = 2;
constexpr int kPathRole = Qt::UserRole;  // the file's real path; the name cell shows it upper-cased

bool isListedHeader(const zemo::DataFileHeader& h) {
    return (h.magic == zemo::kMagicPlain || h.magic == zemo::kMagicShare) && h.fileKind != zemo::kKindControl &&
           h.formatLevel >= 2 && h.formatLevel <= 4;
}

QString textOf(const std::string& sjis) { return QString::fromStdString(zemo::sjisToUtf8(sjis)); }

}  // namespace

TFrmFileSel::TFrmFileSel(zemo::Workspace& ws, zemo::WindowSettings& settings, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(settings) {
    setObjectName("FrmFileSel");
    setWindowTitle(QStringLiteral("ファイル選択"));
    setModal(true);
    resize(900, 480);

    SpdBtnExit = new QToolButton(this);
    SpdBtnExit->setObjectName("SpdBtnExit");
    SpdBtnExit->setToolTip(QStringLiteral("取消"));
    SpdBtnExit->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    SpdBtnShare = new QToolButton(this);
    SpdBtnShare->setObjectName("SpdBtnShare");
    SpdBtnShare->setToolTip(QStringLiteral("SHARE設定"));
    SpdBtnShare->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));

    StringGrid1 = new QTableWidget(kMinDataRows, kColumns, this);
    StringGrid1->setObjectName("StringGrid1");
    StringGrid1->setHorizontalHeaderLabels({QString(), QStringLiteral("ファイル名"), QStringLiteral("メモ"),
                                            QStringLiteral("作成者ID"), QStringLiteral("W"), QStringLiteral("S"),
                                            QStringLiteral("作成日時")});
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setTabKeyNavigation(false);
    StringGrid1->setColumnWidth(0, 40);
    StringGrid1->setColumnWidth(1, 110);
    StringGrid1->setColumnWidth(2, 160);
    StringGrid1->setColumnWidth(3, 80);
    StringGrid1->setColumnWidth(4, 30);
    StringGrid1->setColumnWidth(5, 30);
    StringGrid1->setColumnWidth(6, 120);

    LblMemo = new QLabel(QStringLiteral("メモ"), this);
    LblMemo->setObjectName("LblMemo");
    Edt_memo = new QLineEdit(this);
    Edt_memo->setObjectName("Edt_memo");
    zemo::ui::limitSjisBytes(Edt_memo, kMemoBytes);
    LblMemo->setBuddy(Edt_memo);
    Edt_fn = new QLineEdit(this);
    Edt_fn->setObjectName("Edt_fn");

    DriveComboBox1 = new zemo::ui::DriveBox(this);
    DriveComboBox1->setObjectName("DriveComboBox1");
    Lbl_Folder = new QLabel(this);
    Lbl_Folder->setObjectName("Lbl_Folder");
    DirectoryListBox1 = new zemo::ui::FolderList(this);
    DirectoryListBox1->setObjectName("DirectoryListBox1");
    FileListBox1 = new zemo::ui::FileList(this);
    FileListBox1->setObjectName("FileListBox1");

    BtnF01 = new QPushButton(QStringLiteral("取消"), this);
    BtnF01->setObjectName("BtnF01");
    BtnRtn = new QPushButton(QStringLiteral("確定"), this);
    BtnRtn->setObjectName("BtnRtn");

    auto* tools = new QHBoxLayout;
    tools->addWidget(SpdBtnExit);
    tools->addWidget(SpdBtnShare);
    tools->addStretch();
    auto* memoRow = new QHBoxLayout;
    memoRow->addWidget(LblMemo);
    memoRow->addWidget(Edt_memo, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(StringGrid1, 1);
    left->addLayout(memoRow);
    left->addWidget(Edt_fn);
    auto* right = new QVBoxLayout;
    right->addWidget(DriveComboBox1);
    right->addWidget(Lbl_Folder);
    right->addWidget(DirectoryListBox1, 1);
    right->addWidget(FileListBox1, 1);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 3);
    body->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnF01);
    buttons->addWidget(BtnRtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    setTabOrder(StringGrid1, Edt_memo);
    setTabOrder(Edt_memo, Edt_fn);
    setTabOrder(Edt_fn, DriveComboBox1);
    setTabOrder(DriveComboBox1, DirectoryListBox1);
    setTabOrder(DirectoryListBox1, FileListBox1);
    setTabOrder(FileListBox1, BtnF01);
    setTabOrder(BtnF01, BtnRtn);

    zemo::ui::keepEnterFromButtons(this);
    // Enter in the grid and in the name field confirms; elsewhere it moves on.
    StringGrid1->installEventFilter(this);
    Edt_fn->installEventFilter(this);

    connect(SpdBtnExit, &QToolButton::clicked, this, &QDialog::reject);
    connect(BtnF01, &QPushButton::clicked, this, &QDialog::reject);
    connect(SpdBtnShare, &QToolButton::clicked, this, [this] { guarded([this] { SpdBtnShareClick(); }, this); });
    connect(BtnRtn, &QPushButton::clicked, this, [this] { guarded([this] { BtnRtnClick(); }, this); });
    connect(StringGrid1, &QTableWidget::currentCellChanged, this, [this] {
        if (!quietSelect_) StringGrid1Click();
    });
    connect(StringGrid1, &QTableWidget::cellClicked, this, [this] { StringGrid1Click(); });
    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this,
            [this] { guarded([this] { StringGrid1DblClick(); }, this); });
    connect(DriveComboBox1, &QComboBox::currentIndexChanged, this,
            [this] { guarded([this] { DriveComboBox1Change(); }, this); });
    connect(DirectoryListBox1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        guarded([this, item] { openFolder(DirectoryListBox1->target(item)); }, this);
    });

    // FormCreate: the drives, the current folder and its drive as the last good one, the
    // remembered placement and widths, and the row numbers.
    DriveComboBox1->setDrives(zemo::ui::mountedDrives());
    const QString start = zemo::ui::cleanFolder(QDir::currentPath());
    lastGoodDrive_ = DriveComboBox1->driveOf(start);
    setFolder(start);
    if (auto it = settings_.positions.find("FileSel"); it != settings_.positions.end())
        zemo::ui::applyPlace(this, it->second);
    if (auto it = settings_.widths.find("FileSel_M"); it != settings_.widths.end())
        zemo::ui::applyColumnWidths(StringGrid1->horizontalHeader(), it->second);
    setGridRows(kMinDataRows);
}

void TFrmFileSel::setMode(int mode) { mode_ = mode == zemo::kChoiceWrite ? zemo::kChoiceWrite : zemo::kChoiceRead; }

QString TFrmFileSel::folder() const { return DirectoryListBox1->folder(); }

bool TFrmFileSel::setFolder(const QString& folder) {
    try {
        openFolder(folder);
        return true;
    } catch (const std::exception&) {
        // The folder cannot be read: the chooser keeps showing what it showed.
        const QString shown = DirectoryListBox1->folder();
        if (FileListBox1->folder() != shown) {
            try {
                FileListBox1->setFolder(shown);
            } catch (const std::exception&) {
                FileListBox1->clear();
            }
        }
        DriveComboBox1->showDriveOf(shown);
        return false;
    }
}

void TFrmFileSel::setDrives(const QStringList& roots) {
    customDrives_ = true;
    DriveComboBox1->setDrives(roots);
    DriveComboBox1->showDriveOf(folder());
    lastGoodDrive_ = DriveComboBox1->currentDrive();
}

QString TFrmFileSel::memoText() const { return Edt_memo->text(); }

zemo::FileChoice TFrmFileSel::choice() const {
    zemo::FileChoice c;
    c.memo = zemo::cutToBytes(zemo::utf8ToSjis(Edt_memo->text().toStdString()), kMemoBytes);
    c.chosen = chosen_;
    if (!chosen_) return c;
    const std::string typed = chosenPath_.toStdString();
    const std::string bare = zemo::removePathBlanks(typed);
    // A bare name means a file of the folder shown (the process's own current folder is not
    // moved around by the chooser).
    if (!bare.empty() && bare.front() != '/')
        c.path = zemo::ui::joinFolder(folder(), chosenPath_).toStdString();
    else
        c.path = typed;
    return c;
}

void TFrmFileSel::refresh() {
    FileListBox1->setFolder(folder());
    fillGrid();
}

void TFrmFileSel::saveSettings() {
    settings_.positions["FileSel"] = zemo::ui::currentPlace(this);
    auto& widths = settings_.widths["FileSel_M"];
    widths.resize(kColumns - 1, -1);
    zemo::ui::storeColumnWidths(StringGrid1->horizontalHeader(), widths);
}

void TFrmFileSel::done(int r) {
    // FormClose: the column widths go back to the settings.
    auto& widths = settings_.widths["FileSel_M"];
    widths.resize(kColumns - 1, -1);
    zemo::ui::storeColumnWidths(StringGrid1->horizontalHeader(), widths);
    QDialog::done(r);
}

void TFrmFileSel::showEvent(QShowEvent* e) {
    chosen_ = false;
    if (!customDrives_) DriveComboBox1->setDrives(zemo::ui::mountedDrives());
    DriveComboBox1->showDriveOf(folder());
    guarded([this] { refresh(); }, this);
    setWindowTitle(mode_ == zemo::kChoiceWrite ? QStringLiteral("書込みファイル名の選択")
                                               : QStringLiteral("読込みファイル名の選択"));
    SpdBtnShare->setEnabled(mode_ == zemo::kChoiceWrite);
    QDialog::showEvent(e);
    StringGrid1->setFocus(Qt::OtherFocusReason);
}

void TFrmFileSel::keyPressEvent(QKeyEvent* e) {
    if (zemo::ui::enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

bool TFrmFileSel::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress && (watched == StringGrid1 || watched == Edt_fn) &&
        zemo::ui::isEnterKey(static_cast<QKeyEvent*>(e))) {
        guarded([this] { BtnRtnClick(); }, this);
        return true;
    }
    return QDialog::eventFilter(watched, e);
}

void TFrmFileSel::openFolder(const QString& target) {
    DirectoryListBox1->setFolder(target);  // throws when the folder cannot be read
    DirectoryListBox1Change();
}

void TFrmFileSel::DriveComboBox1Change() {
    const QString drive = DriveComboBox1->currentDrive();
    if (drive.isEmpty()) return;
    openFolder(drive);
    selectFirstRow();
    clearChoiceFields();
    lastGoodDrive_ = drive;  // only a drive that could be read gets here
}

void TFrmFileSel::DirectoryListBox1Change() {
    const QString shown = folder();
    Lbl_Folder->setText(shown);
    selectFirstRow();
    clearChoiceFields();
    FileListBox1->setFolder(shown);
    DriveComboBox1->showDriveOf(shown);
    fillGrid();
    lastGoodFolder_ = shown;
    lastGoodDrive_ = DriveComboBox1->currentDrive();
}

void TFrmFileSel::restoreLastGoodDrive() {
    DriveComboBox1->showDriveOf(lastGoodDrive_);
    QString target = lastGoodFolder_;
    if (target.isEmpty() || DriveComboBox1->driveOf(target) != lastGoodDrive_) target = lastGoodDrive_;
    try {
        openFolder(target);
    } catch (const std::exception&) {
        openFolder(lastGoodDrive_);
    }
}

void TFrmFileSel::StringGrid1Click() {
    const int row = StringGrid1->currentRow();
    if (row < 0 || row >= listed_) return;
    const QTableWidgetItem* name = StringGrid1->item(row, kNameColumn);
    if (!name || name->text().isEmpty()) return;
    Edt_fn->setText(name->data(kPathRole).toString());
    const QTableWidgetItem* memo = StringGrid1->item(row, kMemoColumn);
    Edt_memo->setText(memo ? memo->text() : QString());
}

void TFrmFileSel::StringGrid1DblClick() {
    const int row = StringGrid1->currentRow();
    if (row < 0 || row >= listed_) return;
    const QTableWidgetItem* name = StringGrid1->item(row, kNameColumn);
    if (!name || name->text().isEmpty()) return;
    StringGrid1Click();
    chosen_ = true;
    chosenPath_ = name->data(kPathRole).toString();
    accept();
}

void TFrmFileSel::BtnRtnClick() {
    if (Edt_fn->text().isEmpty()) return;
    chosen_ = true;
    chosenPath_ = Edt_fn->text();
    accept();
}

void TFrmFileSel::SpdBtnShareClick() {
    if (shareHandler_) shareHandler_();
}

void TFrmFileSel::setGridRows(int dataRows) {
    const int rows = std::max(kMinDataRows, dataRows);
    StringGrid1->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        auto* number = new QTableWidgetItem(QString::asprintf("%4d", r + 1));
        number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        StringGrid1->setItem(r, 0, number);
    }
}

void TFrmFileSel::fillGrid() {
    const QString dir = FileListBox1->folder();
    const QStringList names = FileListBox1->names();
    const bool wasQuiet = quietSelect_;
    quietSelect_ = true;
    setGridRows(static_cast<int>(names.size()));

    auto setCell = [this](int row, int column, const QString& text) {
        StringGrid1->setItem(row, column, new QTableWidgetItem(text));
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
        StringGrid1->setItem(row, kNameColumn, nameItem);
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
    for (int r = listed; r < StringGrid1->rowCount(); ++r)
        for (int c = kNameColumn; c < kColumns; ++c) delete StringGrid1->takeItem(r, c);
    quietSelect_ = wasQuiet;
}

void TFrmFileSel::selectFirstRow() {
    const bool wasQuiet = quietSelect_;
    quietSelect_ = true;
    if (StringGrid1->rowCount() > 0) StringGrid1->setCurrentCell(0, kNameColumn);
    quietSelect_ = wasQuiet;
}

void TFrmFileSel::clearChoiceFields() {
    FileListBox1->clearSelection();
    FileListBox1->setCurrentRow(-1);
    Edt_fn->clear();
    Edt_memo->clear();
}

}  // namespace zemo::ui
