// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/frm_sys_mode.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstring>

#include "records/entry_checks.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/window_parts.h"
#include "ui_frm_sys_mode.h"

namespace zemo::ui {

namespace {

std::uint8_t* modeBlock(zemo::SysControl& c) {
    return reinterpret_cast<std::uint8_t*>(&c) + TFrmSysMode::kModeBlockOffset;
}

}  // namespace

TFrmSysMode::TFrmSysMode(zemo::Workspace& ws, QWidget* parent)
    : ControlDialog(ws, parent), ui_(std::make_unique<Ui::TFrmSysMode>()) {
    ui_->setupUi(this);
    back_ = parts::radioGroup(this, {ui_->RdoGrpBack0, ui_->RdoGrpBack1});
    cdmd_ = parts::radioGroup(this, {ui_->RdoGrpCdmd0, ui_->RdoGrpCdmd1});
    sort_ = parts::radioGroup(this, {ui_->RdoGrpSort0, ui_->RdoGrpSort1});
    keepEnterFromButtons(this);
    checks_->add(ui_->Edit_Dsize, [this] { return Edit_DsizeExit(); });
    connect(ui_->BtnEnd, &QPushButton::clicked, this, [this] { close(); });
}

TFrmSysMode::~TFrmSysMode() = default;

void TFrmSysMode::showEvent(QShowEvent* e) {
    std::memcpy(block_.data(), modeBlock(ws_.control), block_.size());
    // The size in force, which the command line may have set, not the stored one.
    pendingSize_ = ws_.dbSize;
    ui_->Edit_Dsize->setText(QString::number(pendingSize_));
    parts::showItem(back_, ws_.control.backupMode);
    parts::showItem(sort_, ws_.control.sortMode);
    parts::showItem(cdmd_, ws_.control.searchCodeMode);
    ControlDialog::showEvent(e);
    ui_->Edit_Dsize->setFocus(Qt::OtherFocusReason);
}

bool TFrmSysMode::Edit_DsizeExit() {
    std::int32_t value = 0;
    if (zemo::checkNumberInput(ws_, value, ui_->Edit_Dsize->text().toStdString(), 1, 20) != 0) return false;
    pendingSize_ = value;
    return true;
}

bool TFrmSysMode::storeAnswered() {
    const int size = pendingSize_;
    const int result = storeAndSave([&] {
        zemo::SysControl& c = ws_.control;
        std::memcpy(modeBlock(c), block_.data(), block_.size());
        c.backupMode = static_cast<std::int16_t>(back_->checkedId());
        c.searchCodeMode = static_cast<std::int16_t>(cdmd_->checkedId());
        c.sortMode = static_cast<std::int16_t>(sort_->checkedId());
        c.dbSize = static_cast<std::int16_t>(size);
    });
    // A failed save keeps the size in force and the arrays as they are.
    if (result != 0) return false;
    ws_.changeDatabaseSize(size);
    return true;
}

}  // namespace zemo::ui
