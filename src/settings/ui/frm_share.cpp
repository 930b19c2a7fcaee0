// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/frm_share.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "platform/sjis.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/window_place.h"

namespace zemo::ui {

namespace {

std::uint8_t* shareBlock(zemo::SysControl& c) {
    return reinterpret_cast<std::uint8_t*>(&c) + TFrmShare::kShareBlockOffset;
}

// The password as the working copy holds it.
QString storedPassword(const std::array<std::uint8_t, TFrmShare::kShareBlockBytes>& block) {
    zemo::SysControl c{};
    std::memcpy(shareBlock(c), block.data(), block.size());
    return QString::fromStdString(zemo::sjisToUtf8(zemo::fieldText(c.sharePassword)));
}

}  // namespace

TFrmShare::TFrmShare(zemo::Workspace& ws, QWidget* parent) : ControlDialog(ws, parent) {
    setObjectName("FrmShare");
    setWindowTitle(tr("シェアデータ設定"));

    Lbl_pass = new QLabel(tr("ﾊﾟｽﾜｰﾄﾞ"), this);
    Lbl_pass->setObjectName("Lbl_pass");
    Edit_pass = new QLineEdit(this);
    Edit_pass->setObjectName("Edit_pass");
    Edit_pass->setEchoMode(QLineEdit::Normal);
    refuseBeyondSjisBytes(Edit_pass, kPasswordBytes);
    Lbl_pass->setBuddy(Edit_pass);
    ChkBx_pass = new QCheckBox(tr("SHARE 設定"), this);
    ChkBx_pass->setObjectName("ChkBx_pass");
    BtnEnd = new QPushButton(tr("終了"), this);
    BtnEnd->setObjectName("BtnEnd");

    auto* fields = new QGridLayout;
    fields->addWidget(Lbl_pass, 0, 0);
    fields->addWidget(Edit_pass, 0, 1);
    fields->addWidget(ChkBx_pass, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnEnd);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    setTabOrder(Edit_pass, ChkBx_pass);
    setTabOrder(ChkBx_pass, BtnEnd);
    keepEnterFromButtons(this);
    connect(BtnEnd, &QPushButton::clicked, this, [this] { close(); });
}

void TFrmShare::showEvent(QShowEvent* e) {
    std::memcpy(block_.data(), shareBlock(ws_.control), block_.size());
    Edit_pass->setText(storedPassword(block_));
    ChkBx_pass->setChecked(ws_.control.shareMode != 0);
    ControlDialog::showEvent(e);
    centreOnScreen(this);
    Edit_pass->setFocus(Qt::OtherFocusReason);
}

bool TFrmShare::storeAnswered() {
    const QString typed = Edit_pass->text();
    const bool share = ChkBx_pass->isChecked();
    return storeAndSave([&] {
               zemo::SysControl& c = ws_.control;
               std::memcpy(shareBlock(c), block_.data(), block_.size());
               // An unchanged password keeps its bytes; a typed one is what the box holds.
               if (typed != storedPassword(block_))
                   zemo::setField(c.sharePassword, zemo::utf8ToSjis(typed.toStdString()));
               c.shareMode = share ? 1 : 0;
           }) == 0;
}

}  // namespace zemo::ui
