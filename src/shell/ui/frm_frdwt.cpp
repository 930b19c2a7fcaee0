// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/frm_frdwt.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

#include "platform/prompter.h"
#include "ui/dialog_keys.h"
#include "ui/window_place.h"

namespace zemo::ui {

TFrmFrdwt::TFrmFrdwt(QWidget* parent) : QDialog(parent) {
    setObjectName("FrmFrdwt");
    setWindowTitle(tr("読み書きモード選択"));
    setModal(true);

    BtnRead = new QPushButton(tr("読込み(&R)"), this);
    BtnRead->setObjectName("BtnRead");
    BtnWrite = new QPushButton(tr("書込み(&W)"), this);
    BtnWrite->setObjectName("BtnWrite");
    BtnCancel = new QPushButton(tr("ｷｬﾝｾﾙ(&C)"), this);
    BtnCancel->setObjectName("BtnCancel");

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(BtnRead);
    layout->addWidget(BtnWrite);
    layout->addWidget(BtnCancel);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed dialog

    zemo::ui::keepEnterFromButtons(this);
    connect(BtnRead, &QPushButton::clicked, this, [this] { choose(zemo::kChoiceRead); });
    connect(BtnWrite, &QPushButton::clicked, this, [this] { choose(zemo::kChoiceWrite); });
    connect(BtnCancel, &QPushButton::clicked, this, [this] { choose(zemo::kChoiceCancel); });
}

void TFrmFrdwt::showEvent(QShowEvent* e) {
    mode_ = zemo::kChoiceCancel;  // closing the window in any other way leaves this
    QDialog::showEvent(e);
    zemo::ui::centreOnScreen(this);
}

void TFrmFrdwt::keyPressEvent(QKeyEvent* e) {
    if (zemo::ui::enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

void TFrmFrdwt::choose(int mode) {
    mode_ = mode;
    if (mode == zemo::kChoiceCancel) reject();
    else accept();
}

}  // namespace zemo::ui
