// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drive box, folder list and plain file list of the choosers. On Linux a "drive" is a
// mounted volume, named by the folder it is mounted on.
#include <QComboBox>
#include <QListWidget>
#include <QStringList>

namespace zemo::ui {

// Mounted volumes that are valid and ready, by mount folder.
QStringList mountedDrives();

// A folder without a trailing "/" (except the root), absolute and cleaned.
QString cleanFolder(const QString& folder);

// folder joined with name, with exactly one "/" between them.
QString joinFolder(const QString& folder, const QString& name);

class DriveBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveBox(QWidget* parent = nullptr);

    // Fills the box with these mount folders (by default mountedDrives()); no change signal.
    void setDrives(const QStringList& roots);
    QStringList drives() const;
    QString currentDrive() const;
    // Shows the drive a folder lies on (the longest mount folder containing it); no change signal.
    void showDriveOf(const QString& folder);
    // The drive a folder lies on, among the drives of the box; "/" when none contains it.
    QString driveOf(const QString& folder) const;
};

class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // Lists the sub-folders of folder, with ".." first below the root. Throws
    // std::filesystem::filesystem_error when the folder cannot be read; the list is then unchanged.
    void setFolder(const QString& folder);
    QString folder() const { return folder_; }
    // The folder an item leads to.
    QString target(const QListWidgetItem* item) const;

private:
    QString folder_;
};

class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    // Lists every plain file of folder by name. Throws std::filesystem::filesystem_error when the
    // folder cannot be read; the list is then unchanged.
    void setFolder(const QString& folder);
    QString folder() const { return folder_; }
    QStringList names() const;

private:
    QString folder_;
};

}  // namespace zemo::ui
