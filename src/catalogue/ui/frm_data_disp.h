// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data file viewer "データの表示": the records of any data file, read-only, with all sixteen
// columns, shown without blocking the window that opened it.
#include <QDialog>

class QLabel;
class QPushButton;
class QToolButton;

namespace zemo {
class Workspace;
struct WindowSettings;
}  // namespace zemo

namespace zemo::ui {

class RecordGrid;

class TFrmDataDisp : public QDialog {
    Q_OBJECT
public:
    // parent: the window it opens from, so that it takes input while that one is modal.
    TFrmDataDisp(Workspace& ws, WindowSettings& settings, QWidget* parent = nullptr);
    ~TFrmDataDisp() override;

    // Shows the window without blocking (or raises it when it is already up).
    void showViewer();
    // The path of the file shown ("" before the first successful read).
    QString shownPath() const;
    RecordGrid* grid() const { return StringGrid1; }

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void SpdBtnOpenClick();
    void SpdBtnExitClick();

    Workspace& ws_;
    WindowSettings& settings_;
    QToolButton* SpdBtnOpen;
    QToolButton* SpdBtnExit;
    RecordGrid* StringGrid1;
    QLabel* Label1;
    QPushButton* BtnF01;
};

}  // namespace zemo::ui
