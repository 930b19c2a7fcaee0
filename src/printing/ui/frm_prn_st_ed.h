// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The range dialog of the list printouts and range erasing: first and last record number,
// checked against 1..capacity when a field is left, handed back in order on 実行.
#include <QDialog>

namespace zemo {
class Workspace;
}

class QLabel;
class QLineEdit;
class QPushButton;

namespace zemo::ui {

class TFrmPrnStEd : public QDialog {
    Q_OBJECT
public:
    explicit TFrmPrnStEd(Workspace& ws, QWidget* parent = nullptr);

    // Remembers the capacity and shows first and last in the fields.
    void prepare(int capacity, int first, int last);

    // Read after the dialog has closed: whether 実行 was chosen, and the range (first <= last).
    bool confirmed() const { return confirmed_; }
    int first() const { return first_; }
    int last() const { return last_; }

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BtnGoClick();
    void BtnExitClick();
    // 0 when the field holds a number in 1..capacity; otherwise the check's message is shown and
    // the field gets the focus back.
    int checkField(QLineEdit* field, int& value);

    Workspace& ws_;
    QLabel* Lbl_St;
    QLabel* Lbl_Ed;
    QLineEdit* Edt_St;
    QLineEdit* Edt_Ed;
    QPushButton* BtnGo;
    QPushButton* BtnExit;
    int capacity_ = 1, first_ = 1, last_ = 1;
    bool confirmed_ = false;
    bool checking_ = false;  // a check's message box is up: leaving the field for it runs no check
};

}  // namespace zemo::ui
