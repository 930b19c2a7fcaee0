// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The directory chooser used by the "参照" buttons of the system paths dialog.
#include <QDialog>

#include "ui/application.h"

class QLineEdit;
class QPushButton;

namespace zemo::ui {
class DriveBox;
class FolderList;
}  // namespace zemo::ui

namespace zemo::ui {

class TFrmGetDir : public QDialog, public zemo::ui::DriveChooser {
    Q_OBJECT
public:
    explicit TFrmGetDir(QWidget* parent = nullptr);

    // Points the folder list at a folder before showing; false (nothing changed) when it cannot
    // be read.
    bool setFolder(const QString& folder);
    QString folder() const;

    // The drives offered in the drive box (by default the mounted volumes).
    void setDrives(const QStringList& roots);
    QString lastGoodDrive() const { return lastGoodDrive_; }

    // Read by the caller after the dialog has closed.
    bool ok() const { return ok_; }
    QString dirName() const;

    void restoreLastGoodDrive() override;
    QWidget* chooserWindow() override { return this; }

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void DriveComboBox1Change();
    void DirectoryListBox1Change();

    QLineEdit* Edit_DirName;
    zemo::ui::FolderList* DirectoryListBox1;
    zemo::ui::DriveBox* DriveComboBox1;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    QString lastGoodDrive_;
    bool customDrives_ = false;
    bool ok_ = false;
};

}  // namespace zemo::ui
