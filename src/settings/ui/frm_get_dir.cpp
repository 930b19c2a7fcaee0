// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/frm_get_dir.h"

#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/ui/file_controls.h"
#include "ui/dialog_keys.h"

namespace zemo::ui {

TFrmGetDir::TFrmGetDir(QWidget* parent) : QDialog(parent) {
    setObjectName("FrmGetDir");
    setWindowTitle(tr("ディレクトリ名の取得"));
    setModal(true);
    resize(360, 380);

    Edit_DirName = new QLineEdit(this);
    Edit_DirName->setObjectName("Edit_DirName");
    DirectoryListBox1 = new zemo::ui::FolderList(this);
    DirectoryListBox1->setObjectName("DirectoryListBox1");
    DriveComboBox1 = new zemo::ui::DriveBox(this);
    DriveComboBox1->setObjectName("DriveComboBox1");
    BtnOk = new QPushButton(tr("ＯＫ"), this);
    BtnOk->setObjectName("BtnOk");
    BtnCancel = new QPushButton(tr("ｷｬﾝｾﾙ"), this);
    BtnCancel->setObjectName("BtnCancel");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Edit_DirName);
    layout->addWidget(DirectoryListBox1, 1);
    layout->addWidget(DriveComboBox1);
    layout->addLayout(buttons);

    zemo::ui::keepEnterFromButtons(this);
    connect(BtnOk, &QPushButton::clicked, this, [this] {
        ok_ = true;
        accept();
    });
    connect(BtnCancel, &QPushButton::clicked, this, [this] {
        ok_ = false;
        reject();
    });
    connect(DriveComboBox1, &QComboBox::currentIndexChanged, this,
            [this] { guarded([this] { DriveComboBox1Change(); }, this); });
    connect(DirectoryListBox1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        guarded(
            [this, item] {
                DirectoryListBox1->setFolder(DirectoryListBox1->target(item));
                DirectoryListBox1Change();
            },
            this);
    });

    // FormCreate: the current folder's drive is the last good one.
    DriveComboBox1->setDrives(zemo::ui::mountedDrives());
    const QString start = zemo::ui::cleanFolder(QDir::currentPath());
    lastGoodDrive_ = DriveComboBox1->driveOf(start);
    DriveComboBox1->showDriveOf(start);
    setFolder(start);
}

bool TFrmGetDir::setFolder(const QString& folder) {
    try {
        DirectoryListBox1->setFolder(folder);
    } catch (const std::exception&) {
        return false;
    }
    DirectoryListBox1Change();
    return true;
}

QString TFrmGetDir::folder() const { return DirectoryListBox1->folder(); }

void TFrmGetDir::setDrives(const QStringList& roots) {
    customDrives_ = true;
    DriveComboBox1->setDrives(roots);
    DriveComboBox1->showDriveOf(folder());
    lastGoodDrive_ = DriveComboBox1->currentDrive();
}

QString TFrmGetDir::dirName() const { return Edit_DirName->text(); }

void TFrmGetDir::showEvent(QShowEvent* e) {
    if (!customDrives_) DriveComboBox1->setDrives(zemo::ui::mountedDrives());
    Edit_DirName->setText(folder());
    ok_ = false;
    QDialog::showEvent(e);
}

void TFrmGetDir::keyPressEvent(QKeyEvent* e) {
    if (zemo::ui::enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

void TFrmGetDir::DriveComboBox1Change() {
    const QString drive = DriveComboBox1->currentDrive();
    if (drive.isEmpty()) return;
    // The drive the folder list is on was readable; the one chosen may not be.
    lastGoodDrive_ = DriveComboBox1->driveOf(folder());
    DirectoryListBox1->setFolder(drive);
    DirectoryListBox1Change();
}

void TFrmGetDir::DirectoryListBox1Change() { Edit_DirName->setText(folder()); }

void TFrmGetDir::restoreLastGoodDrive() {
    DriveComboBox1->showDriveOf(lastGoodDrive_);
    if (DriveComboBox1->driveOf(folder()) != lastGoodDrive_) {
        DirectoryListBox1->setFolder(lastGoodDrive_);
        DirectoryListBox1Change();
    }
}

}  // namespace zemo::ui
