// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ui/frm_prn_st_ed.h"

#include <QApplication>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>

#include "platform/sjis.h"
#include "records/entry_checks.h"
#include "ui/dialog_keys.h"
#include "ui/window_place.h"

namespace zemo::ui {

TFrmPrnStEd::TFrmPrnStEd(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FrmPrnStEd");
    setWindowTitle(tr("範囲指定"));
    setModal(true);

    Lbl_St = new QLabel(tr("開始"), this);
    Lbl_St->setObjectName("Lbl_St");
    Lbl_Ed = new QLabel(tr("終了"), this);
    Lbl_Ed->setObjectName("Lbl_Ed");
    Edt_St = new QLineEdit(this);
    Edt_St->setObjectName("Edt_St");
    Edt_St->setMaxLength(5);
    Edt_Ed = new QLineEdit(this);
    Edt_Ed->setObjectName("Edt_Ed");
    Edt_Ed->setMaxLength(5);
    Lbl_St->setBuddy(Edt_St);
    Lbl_Ed->setBuddy(Edt_Ed);
    BtnGo = new QPushButton(tr("実行"), this);
    BtnGo->setObjectName("BtnGo");
    BtnExit = new QPushButton(tr("中止"), this);
    BtnExit->setObjectName("BtnExit");

    auto* fields = new QGridLayout;
    fields->addWidget(Lbl_St, 0, 0);
    fields->addWidget(Edt_St, 0, 1);
    fields->addWidget(Lbl_Ed, 1, 0);
    fields->addWidget(Edt_Ed, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnGo);
    buttons->addWidget(BtnExit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    setTabOrder(Edt_St, Edt_Ed);
    setTabOrder(Edt_Ed, BtnGo);
    setTabOrder(BtnGo, BtnExit);

    keepEnterFromButtons(this);
    Edt_St->installEventFilter(this);
    Edt_Ed->installEventFilter(this);
    connect(BtnGo, &QPushButton::clicked, this, &TFrmPrnStEd::BtnGoClick);
    connect(BtnExit, &QPushButton::clicked, this, &TFrmPrnStEd::BtnExitClick);
}

void TFrmPrnStEd::prepare(int capacity, int first, int last) {
    capacity_ = capacity;
    first_ = first;
    last_ = last;
    Edt_St->setText(QString::number(first));
    Edt_Ed->setText(QString::number(last));
}

void TFrmPrnStEd::showEvent(QShowEvent* e) {
    confirmed_ = false;
    QDialog::showEvent(e);
    centreOnScreen(this);
    Edt_St->setFocus(Qt::OtherFocusReason);
}

void TFrmPrnStEd::keyPressEvent(QKeyEvent* e) {
    if (enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

bool TFrmPrnStEd::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusOut && (watched == Edt_St || watched == Edt_Ed)) {
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        QWidget* to = QApplication::focusWidget();
        // No check when the focus goes to another window (a message box among them), while a
        // check puts it back, towards 中止 (which always closes), or by a click on 実行 (which
        // checks both fields itself).
        const bool skip = checking_ || !isVisible() || reason == Qt::ActiveWindowFocusReason ||
                          reason == Qt::PopupFocusReason || to == BtnExit ||
                          (to == BtnGo && reason == Qt::MouseFocusReason);
        if (!skip) {
            auto* field = static_cast<QLineEdit*>(watched);
            // After the focus change has finished, so that the message box does not cut into it.
            QTimer::singleShot(0, this, [this, field] {
                if (!isVisible()) return;
                int value = 0;
                checkField(field, value);
            });
        }
    }
    return QDialog::eventFilter(watched, e);
}

int TFrmPrnStEd::checkField(QLineEdit* field, int& value) {
    checking_ = true;
    std::int32_t v = value;
    const int r = checkNumberInput(ws_, v, utf8ToSjis(field->text().toStdString()), 1, capacity_);
    if (r != 0) field->setFocus(Qt::OtherFocusReason);
    checking_ = false;
    value = v;
    return r;
}

void TFrmPrnStEd::BtnGoClick() {
    int st = 0, ed = 0;
    if (checkField(Edt_St, st) != 0 || checkField(Edt_Ed, ed) != 0) return;
    // The two numbers may be entered in either order.
    first_ = std::min(st, ed);
    last_ = std::max(st, ed);
    confirmed_ = true;
    accept();
}

void TFrmPrnStEd::BtnExitClick() {
    confirmed_ = false;
    reject();
}

}  // namespace zemo::ui
