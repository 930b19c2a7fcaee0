// SPDX-License-Identifier: GPL-3.0-or-later
#include "planning/ui/frm_shuf_ctrl.h"

#include <QLabel>

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/entry_checks.h"
#include "records/text.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/window_parts.h"
#include "ui_frm_shuf_ctrl.h"

namespace zemo::ui {

namespace {

constexpr std::int32_t kMaxMmss = 999959;
constexpr std::int32_t kMaxStart = 30;

QString timeLabel(std::int32_t seconds) {
    return QString::fromStdString("(" + zemo::formatTimeLong(seconds) + ")");
}

}  // namespace

TFrmShufCtrl::TFrmShufCtrl(zemo::Workspace& ws, QWidget* parent)
    : ControlDialog(ws, parent), ui_(std::make_unique<Ui::TFrmShufCtrl>()) {
    ui_->setupUi(this);
    // The times shown beside the fields are set later; keep room for the widest.
    for (QLabel* l : {ui_->Lbl_stim, ui_->Lbl_less})
        l->setMinimumWidth(l->fontMetrics().horizontalAdvance(QStringLiteral("(    0:00)")) + 2);
    groups_[0] = parts::radioGroup(this, {ui_->RdoGrp10, ui_->RdoGrp11});
    groups_[1] = parts::radioGroup(this, {ui_->RdoGrp20, ui_->RdoGrp21});
    groups_[2] = parts::radioGroup(this, {ui_->RdoGrp30, ui_->RdoGrp31});
    groups_[3] = parts::radioGroup(this, {ui_->RdoGrp40, ui_->RdoGrp41});
    groups_[4] = parts::radioGroup(this, {ui_->RdiGrp50, ui_->RdiGrp51});
    // Typing stops at the field's width; a longer stored value is shown whole and refused by its check.
    refuseBeyondSjisBytes(ui_->Edt_stim, kTimeChars);
    refuseBeyondSjisBytes(ui_->Edt_less, kTimeChars);
    refuseBeyondSjisBytes(ui_->Edt_divA, kCountChars);
    refuseBeyondSjisBytes(ui_->Edt_divB, kCountChars);
    checks_->add(ui_->Edt_stim, [this] { return Edt_stimExit(); });
    checks_->add(ui_->Edt_less, [this] { return Edt_lessExit(); });
    checks_->add(ui_->Edt_divA, [this] { return Edt_divAExit(); });
    checks_->add(ui_->Edt_divB, [this] { return Edt_divBExit(); });
    keepEnterFromButtons(this);
    connect(ui_->BtnF01, &QPushButton::clicked, this, [this] { close(); });
}

TFrmShufCtrl::~TFrmShufCtrl() = default;

bool TFrmShufCtrl::execReloaded() {
    // A record that could not be read back was reported by the read; the dialog would edit a stale one.
    saved_ = false;
    if (zemo::loadControl(ws_, false) != 0) return false;
    exec();
    return saved_;
}

void TFrmShufCtrl::showEvent(QShowEvent* e) {
    saved_ = false;
    block_ = ws_.control.shuffleBlock;
    ui_->Edt_stim->setText(QString::number(zemo::secondsToMmss(block_.targetSec)));
    ui_->Edt_less->setText(QString::number(zemo::secondsToMmss(block_.tolerance)));
    ui_->Edt_divA->setText(QString::number(block_.startA));
    ui_->Edt_divB->setText(QString::number(block_.startB));
    parts::showItem(groups_[0], block_.noOptimise);
    parts::showItem(groups_[1], block_.noOptimiseA);
    parts::showItem(groups_[2], block_.regOrderFirst);
    parts::showItem(groups_[3], block_.forceStart);
    parts::showItem(groups_[4], block_.plusOnly);
    refreshLabels();
    ControlDialog::showEvent(e);
    ui_->Edt_stim->setFocus(Qt::OtherFocusReason);
}

void TFrmShufCtrl::refreshLabels() {
    ui_->Lbl_stim->setText(timeLabel(block_.targetSec));
    ui_->Lbl_less->setText(timeLabel(block_.tolerance));
}

bool TFrmShufCtrl::timeExit(QLineEdit* edit, std::int32_t& field) {
    std::int32_t value = 0;
    if (zemo::checkTimeInput(ws_, value, zemo::utf8ToSjis(edit->text().toStdString()), 0, kMaxMmss) != 0)
        return false;
    field = zemo::mmssToSeconds(value);
    refreshLabels();
    return true;
}

bool TFrmShufCtrl::countExit(QLineEdit* edit, std::int16_t& field) {
    std::int32_t value = 0;
    if (zemo::checkNumberInput(ws_, value, zemo::utf8ToSjis(edit->text().toStdString()), 1, kMaxStart) != 0)
        return false;
    field = static_cast<std::int16_t>(value);
    refreshLabels();
    return true;
}

bool TFrmShufCtrl::Edt_stimExit() { return timeExit(ui_->Edt_stim, block_.targetSec); }
bool TFrmShufCtrl::Edt_lessExit() { return timeExit(ui_->Edt_less, block_.tolerance); }
bool TFrmShufCtrl::Edt_divAExit() { return countExit(ui_->Edt_divA, block_.startA); }
bool TFrmShufCtrl::Edt_divBExit() { return countExit(ui_->Edt_divB, block_.startB); }

bool TFrmShufCtrl::storeAnswered() {
    zemo::ShufControl next = block_;
    next.noOptimise = static_cast<std::int16_t>(groups_[0]->checkedId());
    next.noOptimiseA = static_cast<std::int16_t>(groups_[1]->checkedId());
    next.regOrderFirst = static_cast<std::int16_t>(groups_[2]->checkedId());
    next.forceStart = static_cast<std::int16_t>(groups_[3]->checkedId());
    next.plusOnly = static_cast<std::int16_t>(groups_[4]->checkedId());
    // Saved only when the file was written: a failed save leaves the record as it was.
    saved_ = storeAndSave([&] { ws_.control.shuffleBlock = next; }) == 0;
    return saved_;
}

void TFrmShufCtrl::discardAnswered() { saved_ = false; }

}  // namespace zemo::ui
