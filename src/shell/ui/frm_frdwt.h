// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The read/write choice shown before the data-file chooser.
#include <QDialog>

class QPushButton;

namespace zemo::ui {

class TFrmFrdwt : public QDialog {
    Q_OBJECT
public:
    explicit TFrmFrdwt(QWidget* parent = nullptr);

    // 0 read, 1 write, 3 cancelled or closed; read by the caller after the window has closed.
    int mode() const { return mode_; }

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void choose(int mode);

    QPushButton* BtnRead;
    QPushButton* BtnWrite;
    QPushButton* BtnCancel;
    int mode_ = 3;
};

}  // namespace zemo::ui
