// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ui/frm_stop.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

namespace zemo::ui {

TFrmStop::TFrmStop(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName("FrmStop");
    setWindowTitle(tr("中止"));
    setModal(false);

    Lbl_Count = new QLabel(QStringLiteral("0"), this);
    Lbl_Count->setObjectName("Lbl_Count");
    Lbl_Count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Lbl_Count->setMinimumWidth(80);
    BitBtnStop = new QPushButton(style()->standardIcon(QStyle::SP_BrowserStop), tr("中止"), this);
    BitBtnStop->setObjectName("BitBtnStop");
    BitBtnStop->setAutoDefault(false);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Lbl_Count, 1);
    layout->addWidget(BitBtnStop);

    connect(BitBtnStop, &QPushButton::clicked, this, &TFrmStop::BitBtnStopClick);
}

void TFrmStop::start() {
    stop_ = false;
    show();
    raise();
}

void TFrmStop::setCount(int n) { Lbl_Count->setText(QString::number(n)); }

bool TFrmStop::stopRequested() {
    QCoreApplication::processEvents();
    return stop_;
}

void TFrmStop::pause(int ms) {
    if (ms <= 0 || stop_ || pauseLoop_ != nullptr) return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    pauseLoop_ = &loop;
    loop.exec();
    pauseLoop_ = nullptr;
}

void TFrmStop::finish() { close(); }

void TFrmStop::reject() {
    requestStop();
    QDialog::reject();
}

void TFrmStop::showEvent(QShowEvent* e) {
    stop_ = false;
    QDialog::showEvent(e);
}

void TFrmStop::closeEvent(QCloseEvent* e) {
    requestStop();
    QDialog::closeEvent(e);
}

void TFrmStop::BitBtnStopClick() {
    requestStop();
    close();
}

void TFrmStop::requestStop() {
    stop_ = true;
    if (pauseLoop_ != nullptr) pauseLoop_->quit();
}

}  // namespace zemo::ui
