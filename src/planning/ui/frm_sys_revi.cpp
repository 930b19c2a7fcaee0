// SPDX-License-Identifier: GPL-3.0-or-later
#include "planning/ui/frm_sys_revi.h"

#include <QLineEdit>
#include <QPushButton>
#include <cstring>

#include "platform/sjis.h"
#include "records/entry_checks.h"
#include "records/text.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui_frm_sys_revi.h"

namespace zemo::ui {

namespace {

constexpr std::int32_t kMaxMmss = 999959;
// Offsets of the two times within the block.
constexpr std::size_t kRefAt = 0;
constexpr std::size_t kMachineAt = 4;

std::uint8_t* reviseBlock(zemo::SysControl& c) {
    return reinterpret_cast<std::uint8_t*>(&c) + TFrmSysRevi::kReviseBlockOffset;
}

QString timeLabel(std::int32_t seconds) {
    return QString::fromStdString("(" + zemo::formatTimeLong(seconds) + ")");
}

}  // namespace

TFrmSysRevi::TFrmSysRevi(zemo::Workspace& ws, QWidget* parent)
    : ControlDialog(ws, parent), ui_(std::make_unique<Ui::TFrmSysRevi>()) {
    ui_->setupUi(this);
    // Typing stops at six characters; a longer stored value is shown whole and refused by its check.
    refuseBeyondSjisBytes(ui_->Edt_Cdtime, kTimeChars);
    refuseBeyondSjisBytes(ui_->Edt_Hardtime, kTimeChars);
    checks_->add(ui_->Edt_Cdtime, [this] { return Edt_CdtimeExit(); });
    checks_->add(ui_->Edt_Hardtime, [this] { return Edt_HardtimeExit(); });
    keepEnterFromButtons(this);
    connect(ui_->BtnF01, &QPushButton::clicked, this, [this] { close(); });
}

TFrmSysRevi::~TFrmSysRevi() = default;

std::int32_t TFrmSysRevi::refCdTime() const {
    std::int32_t v = 0;
    std::memcpy(&v, block_.data() + kRefAt, sizeof v);
    return v;
}

std::int32_t TFrmSysRevi::machineTime() const {
    std::int32_t v = 0;
    std::memcpy(&v, block_.data() + kMachineAt, sizeof v);
    return v;
}

void TFrmSysRevi::showEvent(QShowEvent* e) {
    std::memcpy(block_.data(), reviseBlock(ws_.control), block_.size());
    ui_->Edt_Cdtime->setText(QString::number(zemo::secondsToMmss(refCdTime())));
    ui_->Edt_Hardtime->setText(QString::number(zemo::secondsToMmss(machineTime())));
    refreshLabels();
    ControlDialog::showEvent(e);
    ui_->Edt_Cdtime->setFocus(Qt::OtherFocusReason);
}

void TFrmSysRevi::refreshLabels() {
    ui_->Lbl_Cdtime->setText(timeLabel(refCdTime()));
    ui_->Lbl_HardTime->setText(timeLabel(machineTime()));
    ui_->Lbl_Revdata->setText(
        QString::fromStdString(zemo::formatCorrectionRatio(zemo::correctionRatio(refCdTime(), machineTime()))));
}

bool TFrmSysRevi::timeExit(QLineEdit* edit, std::size_t offset) {
    std::int32_t value = 0;
    if (zemo::checkTimeInput(ws_, value, zemo::utf8ToSjis(edit->text().toStdString()), 0, kMaxMmss) != 0)
        return false;
    const std::int32_t seconds = zemo::mmssToSeconds(value);
    std::memcpy(block_.data() + offset, &seconds, sizeof seconds);
    refreshLabels();
    return true;
}

bool TFrmSysRevi::Edt_CdtimeExit() { return timeExit(ui_->Edt_Cdtime, kRefAt); }
bool TFrmSysRevi::Edt_HardtimeExit() { return timeExit(ui_->Edt_Hardtime, kMachineAt); }

bool TFrmSysRevi::storeAnswered() {
    // The ratio is information only: the block goes back with the stored ratio as it was read.
    return storeAndSave([&] { std::memcpy(reviseBlock(ws_.control), block_.data(), block_.size()); }) == 0;
}

}  // namespace zemo::ui
