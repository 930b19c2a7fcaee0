// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ui/frm_lbl_inp.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/sjis.h"
#include "records/entry_checks.h"
#include "records/text.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/field_checks.h"
#include "ui/window_place.h"

namespace zemo::ui {

TFrmLblInp::TFrmLblInp(zemo::Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws), checks_(new FieldChecks(this)) {
    setObjectName("FrmLblInp");
    setWindowTitle(tr("日付/タイトル入力"));
    setModal(true);
    auto* grid = new QGridLayout;
    auto* dateLabel = new QLabel(tr("日付"), this);
    dateLabel->setObjectName("Lbl_date");
    date_edit_ = new QLineEdit(this);
    date_edit_->setObjectName("Edt_date");
    refuseBeyondSjisBytes(date_edit_, kDateChars);
    dateLabel->setBuddy(date_edit_);
    today_ = new QToolButton(this);
    today_->setObjectName("SpBtndate");
    today_->setText(tr("今日"));
    today_->setToolTip(tr("今日の日付"));
    auto* titleLabel = new QLabel(tr("ﾗﾍﾞﾙﾀｲﾄﾙ"), this);
    titleLabel->setObjectName("Lbl_lttl");
    title_edit_ = new QLineEdit(this);
    title_edit_->setObjectName("Edt_lttl");
    title_edit_->setMinimumWidth(title_edit_->fontMetrics().horizontalAdvance(QString(kTitleBytes, 'M')) / 2);
    refuseBeyondSjisBytes(title_edit_, kTitleBytes);
    titleLabel->setBuddy(title_edit_);
    grid->addWidget(dateLabel, 0, 0);
    grid->addWidget(date_edit_, 0, 1);
    grid->addWidget(today_, 0, 2, Qt::AlignLeft);
    grid->addWidget(titleLabel, 1, 0);
    grid->addWidget(title_edit_, 1, 1, 1, 2);

    go_ = new QPushButton(tr("実行"), this);
    go_->setObjectName("BtnGo");
    exit_ = new QPushButton(tr("中止"), this);
    exit_->setObjectName("BtnExit");
    // A mouse click on 中止 does not take the focus, so it never leaves the date field: cancelling
    // never runs the date check.
    exit_->setFocusPolicy(Qt::TabFocus);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(go_);
    buttons->addWidget(exit_);
    auto* main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addLayout(buttons);
    main->setSizeConstraint(QLayout::SetFixedSize);
    keepEnterFromButtons(this);

    checks_->add(date_edit_, [this] { return Edt_dateExit(); });
    connect(today_, &QToolButton::clicked, this, &TFrmLblInp::SpBtndateClick);
    connect(go_, &QPushButton::clicked, this, &TFrmLblInp::BtnGoClick);
    connect(exit_, &QPushButton::clicked, this, &TFrmLblInp::BtnExitClick);
}

void TFrmLblInp::fill(std::int32_t date, const std::string& title) {
    date_edit_->setText(QString::number(date));
    title_edit_->setText(QString::fromStdString(sjisToUtf8(title)));
}

void TFrmLblInp::showEvent(QShowEvent* e) {
    confirmed_ = false;
    centreOnScreen(this);
    QDialog::showEvent(e);
    date_edit_->setFocus(Qt::OtherFocusReason);
}

void TFrmLblInp::SpBtndateClick() {
    date_edit_->setText(QString::number(zemo::today(ws_.clock)));
    date_edit_->setFocus(Qt::OtherFocusReason);
}

bool TFrmLblInp::Edt_dateExit() {
    std::int32_t value = 0;
    if (zemo::checkDateInput(ws_, value, date_edit_->text().toStdString(), 0, 99999999) != 0) return false;
    checked_ = value;
    return true;
}

void TFrmLblInp::BtnGoClick() {
    // The date is taken only here, so it is checked here whether or not it was left; a refusal
    // shows its message once.
    if (!checks_->settle()) return;
    if (!checks_->run(date_edit_)) return;
    confirmed_ = true;
    date_ = checked_;
    title_ = utf8ToSjis(title_edit_->text().toStdString());
    done(QDialog::Accepted);
}

void TFrmLblInp::BtnExitClick() {
    confirmed_ = false;
    done(QDialog::Rejected);
}

void TFrmLblInp::keyPressEvent(QKeyEvent* e) {
    if (enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);  // Esc rejects: cancelling, without the date check
}

}  // namespace zemo::ui
