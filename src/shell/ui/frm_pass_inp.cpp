// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/frm_pass_inp.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/dialog_keys.h"
#include "ui/window_place.h"

namespace zemo::ui {

TFrmPassInp::TFrmPassInp(QWidget* parent) : QDialog(parent) {
    setObjectName("FrmPassInp");
    setWindowTitle(tr("パスワード入力"));
    setModal(true);

    Label1 = new QLabel(tr("パスワードが設定されています"), this);
    Label1->setObjectName("Label1");
    Lbl_pass = new QLabel(tr("ﾊﾟｽﾜｰﾄﾞ"), this);
    Lbl_pass->setObjectName("Lbl_pass");
    Edit_pass = new QLineEdit(this);
    Edit_pass->setObjectName("Edit_pass");
    Edit_pass->setEchoMode(QLineEdit::Normal);
    Edit_pass->clear();
    // The stored password is 14 bytes at most.
    zemo::ui::limitSjisBytes(Edit_pass, 14);
    Lbl_pass->setBuddy(Edit_pass);
    BtnGo = new QPushButton(tr("実行"), this);
    BtnGo->setObjectName("BtnGo");
    BtnExit = new QPushButton(tr("中止"), this);
    BtnExit->setObjectName("BtnExit");

    auto* fields = new QGridLayout;
    fields->addWidget(Label1, 0, 0, 1, 2);
    fields->addWidget(Lbl_pass, 1, 0);
    fields->addWidget(Edit_pass, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnGo);
    buttons->addWidget(BtnExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    setTabOrder(Edit_pass, BtnGo);
    setTabOrder(BtnGo, BtnExit);

    zemo::ui::keepEnterFromButtons(this);
    connect(BtnGo, &QPushButton::clicked, this, &TFrmPassInp::BtnGoClick);
    connect(BtnExit, &QPushButton::clicked, this, &TFrmPassInp::BtnExitClick);
}

QString TFrmPassInp::password() const { return Edit_pass->text(); }

void TFrmPassInp::showEvent(QShowEvent* e) {
    // The text typed last time stays in the box.
    confirmed_ = false;
    QDialog::showEvent(e);
    zemo::ui::centreOnScreen(this);
    Edit_pass->setFocus(Qt::OtherFocusReason);
}

void TFrmPassInp::keyPressEvent(QKeyEvent* e) {
    if (zemo::ui::enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

void TFrmPassInp::BtnGoClick() {
    confirmed_ = true;
    accept();
}

void TFrmPassInp::BtnExitClick() {
    confirmed_ = false;
    reject();
}

}  // namespace zemo::ui
