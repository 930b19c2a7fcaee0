// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The count and stop window of the long list loops: stays on top, shown without blocking, and any
// way of closing it (button, close box, Esc) asks the loop to stop.
#include <QDialog>

#include "printing/data_list.h"

class QEventLoop;
class QLabel;
class QPushButton;

namespace zemo::ui {

class TFrmStop : public QDialog, public ListProgress {
    Q_OBJECT
public:
    // parent: the window that runs the loop, so that this one takes input while it waits.
    explicit TFrmStop(QWidget* parent = nullptr);

    void start() override;
    void setCount(int n) override;
    bool stopRequested() override;
    void pause(int ms) override;
    void finish() override;

    bool stopFlag() const { return stop_; }  // without letting events run

public slots:
    void reject() override;  // Esc

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void BitBtnStopClick();
    void requestStop();

    QLabel* Lbl_Count;
    QPushButton* BitBtnStop;
    bool stop_ = false;
    QEventLoop* pauseLoop_ = nullptr;  // the running pause, ended by a stop request
};

}  // namespace zemo::ui
