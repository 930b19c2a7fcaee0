// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data-file chooser: lists only the system's data files of a folder, with the memo, creator,
// flags and save time read from each file, and hands back the chosen path and the typed memo.
#include <QDialog>
#include <functional>
#include <memory>

#include "platform/prompter.h"
#include "ui/application.h"

namespace Ui {
class TFrmFileSel;
}

namespace zemo {
class Workspace;
struct WindowSettings;
}  // namespace zemo

namespace zemo::ui {
class DriveBox;
class FileList;
class FolderList;
}  // namespace zemo::ui

namespace zemo::ui {

class TFrmFileSel : public QDialog, public zemo::ui::DriveChooser {
    Q_OBJECT
public:
    static constexpr int kMemoBytes = 60;

    TFrmFileSel(zemo::Workspace& ws, zemo::WindowSettings& settings, QWidget* parent = nullptr);
    ~TFrmFileSel() override;

    // 0 = choose a file to read, 1 = choose a file to write.
    void setMode(int mode);
    int mode() const { return mode_; }

    // Points the folder list at a folder; false (and nothing changed) when it cannot be read.
    bool setFolder(const QString& folder);
    QString folder() const;

    // The drives offered in the drive box (by default the mounted volumes).
    void setDrives(const QStringList& roots);
    QString lastGoodDrive() const { return lastGoodDrive_; }

    // Opens the share settings; the button is enabled in write mode only.
    void setShareHandler(std::function<void()> handler) { shareHandler_ = std::move(handler); }

    // The result of the last showing.
    bool chosen() const { return chosen_; }
    QString chosenPath() const { return chosenPath_; }  // as chosen
    QString memoText() const;
    // The result for the data-file operations: the path as chosen without the blanks around it (a
    // bare name resolved against the folder shown) and the memo as CP932 bytes, at most 60; a
    // memo that cannot be stored (left after a cancel) hands back the memo in force.
    zemo::FileChoice choice() const;

    // Number of data files listed in the grid.
    int listedCount() const { return listed_; }
    // Re-reads the file list and refills the grid.
    void refresh();

    // Placement and column widths into the window settings.
    void saveSettings();

    void restoreLastGoodDrive() override;
    QWidget* chooserWindow() override { return this; }

    void done(int r) override;

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void openFolder(const QString& folder);
    void DriveComboBox1Change();
    void DirectoryListBox1Change();
    void StringGrid1Click();
    void StringGrid1DblClick();
    void BtnRtnClick();
    void SpdBtnShareClick();
    void connectHandlers();
    // The memo must fit its 60 bytes of Shift-JIS before a choice is made.
    bool memoFits() const;
    bool memoAccepted();
    void fillGrid();
    void setGridRows(int dataRows);
    void selectFirstRow();
    void clearChoiceFields();

    zemo::Workspace& ws_;
    zemo::WindowSettings& settings_;

    std::unique_ptr<Ui::TFrmFileSel> ui_;

    int mode_ = 0;
    bool chosen_ = false;
    QString chosenPath_;
    QString lastGoodDrive_;
    QString lastGoodFolder_;
    bool customDrives_ = false;
    bool quietSelect_ = false;  // the program moves the grid selection, not the user
    int listed_ = 0;
    std::function<void()> shareHandler_;
};

}  // namespace zemo::ui
