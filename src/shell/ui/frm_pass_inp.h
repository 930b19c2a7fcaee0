// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The password prompt shown before the records of a protected file are read.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zemo::ui {

class TFrmPassInp : public QDialog {
    Q_OBJECT
public:
    explicit TFrmPassInp(QWidget* parent = nullptr);

    // Read by the caller after the prompt has closed.
    bool confirmed() const { return confirmed_; }
    QString password() const;

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void BtnGoClick();
    void BtnExitClick();

    QLabel* Label1;
    QLabel* Lbl_pass;
    QLineEdit* Edit_pass;
    QPushButton* BtnGo;
    QPushButton* BtnExit;
    bool confirmed_ = false;
};

}  // namespace zemo::ui
