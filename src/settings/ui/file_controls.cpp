// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/file_controls.h"

#include <QDir>
#include <QStorageInfo>
#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace zemo::ui {

namespace {

bool nameLess(const QString& a, const QString& b) {
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

// Names of the entries of a folder that pass the test; throws when the folder cannot be read.
template <typename Pred>
QStringList listFolder(const QString& folder, Pred wanted) {
    QStringList names;
    const fs::path dir = fs::path(folder.toStdString());
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name[0] == '.') continue;  // hidden
        if (wanted(entry)) names << QString::fromStdString(name);
    }
    std::sort(names.begin(), names.end(), nameLess);
    return names;
}

}  // namespace

QStringList mountedDrives() {
    QStringList roots;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady()) roots << cleanFolder(v.rootPath());
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end());
    return roots;
}

QString cleanFolder(const QString& folder) {
    QString f = QDir::cleanPath(QDir(folder).absolutePath());
    return f.isEmpty() ? QStringLiteral("/") : f;
}

QString joinFolder(const QString& folder, const QString& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

DriveBox::DriveBox(QWidget* parent) : QComboBox(parent) {}

void DriveBox::setDrives(const QStringList& roots) {
    const QSignalBlocker block(this);
    const QString shown = currentDrive();
    clear();
    for (const QString& r : roots) addItem(r, r);
    const int i = findData(shown);
    if (i >= 0) setCurrentIndex(i);
}

QStringList DriveBox::drives() const {
    QStringList roots;
    for (int i = 0; i < count(); ++i) roots << itemData(i).toString();
    return roots;
}

QString DriveBox::currentDrive() const { return currentIndex() >= 0 ? currentData().toString() : QString(); }

QString DriveBox::driveOf(const QString& folder) const {
    const QString f = cleanFolder(folder);
    QString best;
    for (const QString& r : drives()) {
        const bool contains = r == "/" || f == r || f.startsWith(r + '/');
        if (contains && r.size() > best.size()) best = r;
    }
    return best.isEmpty() ? QStringLiteral("/") : best;
}

void DriveBox::showDriveOf(const QString& folder) {
    const QSignalBlocker block(this);
    const QString drive = driveOf(folder);
    int i = findData(drive);
    if (i < 0) {
        addItem(drive, drive);
        i = count() - 1;
    }
    setCurrentIndex(i);
}

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {}

void FolderList::setFolder(const QString& folder) {
    const QString f = cleanFolder(folder);
    const QStringList subs = listFolder(f, [](const fs::directory_entry& e) {
        std::error_code ec;
        return e.is_directory(ec);
    });
    folder_ = f;
    clear();
    if (f != "/") addItem(QStringLiteral(".."));
    addItems(subs);
}

QString FolderList::target(const QListWidgetItem* item) const {
    if (!item) return folder_;
    if (item->text() == "..") {
        const fs::path parent = fs::path(folder_.toStdString()).parent_path();
        return cleanFolder(QString::fromStdString(parent.string()));
    }
    return joinFolder(folder_, item->text());
}

FileList::FileList(QWidget* parent) : QListWidget(parent) {}

void FileList::setFolder(const QString& folder) {
    const QString f = cleanFolder(folder);
    const QStringList files = listFolder(f, [](const fs::directory_entry& e) {
        std::error_code ec;
        return e.is_regular_file(ec);
    });
    folder_ = f;
    clear();
    addItems(files);
}

QStringList FileList::names() const {
    QStringList all;
    for (int i = 0; i < count(); ++i) all << item(i)->text();
    return all;
}

}  // namespace zemo::ui
