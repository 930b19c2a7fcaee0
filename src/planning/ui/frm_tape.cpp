// SPDX-License-Identifier: GPL-3.0-or-later
#include "planning/ui/frm_tape.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/sjis.h"
#include "records/entry_checks.h"
#include "records/workspace.h"
#include "ui/application.h"
#include "ui/dialog_keys.h"
#include "ui/field_checks.h"

namespace zemo::ui {

namespace {

constexpr std::int32_t kMaxMinutes = 999;
constexpr std::int32_t kSecondsPerMinuteOfTape = 30;  // a minute of tape is half a minute per side

const char* const kItemCaptions[TFrmTape::kItems] = {
    QT_TRANSLATE_NOOP("zemo::ui::TFrmTape", "1:なし(AB均等)"), QT_TRANSLATE_NOOP("zemo::ui::TFrmTape", "2:５０( 25:00)"),
    QT_TRANSLATE_NOOP("zemo::ui::TFrmTape", "3:５４( 27:00)"), QT_TRANSLATE_NOOP("zemo::ui::TFrmTape", "4:６０( 30:00)"),
    QT_TRANSLATE_NOOP("zemo::ui::TFrmTape", "5:６４( 32:00)"), QT_TRANSLATE_NOOP("zemo::ui::TFrmTape", "6:７０( 35:00)"),
    QT_TRANSLATE_NOOP("zemo::ui::TFrmTape", "7:７４( 37:00)"), QT_TRANSLATE_NOOP("zemo::ui::TFrmTape", "8:８０( 40:00)"),
    QT_TRANSLATE_NOOP("zemo::ui::TFrmTape", "9:入力"),         QT_TRANSLATE_NOOP("zemo::ui::TFrmTape", "0:取り消し")};

}  // namespace

TFrmTape::TFrmTape(zemo::Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FrmTape");
    setWindowTitle(tr("TAPE時間"));
    setModal(true);

    RadioGroup1 = new QGroupBox(this);
    RadioGroup1->setObjectName("RadioGroup1");
    group_ = new QButtonGroup(this);
    auto* itemsLayout = new QGridLayout(RadioGroup1);
    for (int i = 0; i < kItems; ++i) {
        items_[i] = new QRadioButton(tr(kItemCaptions[i]), RadioGroup1);
        items_[i]->setObjectName(QStringLiteral("RadioGroup1%1").arg(i));
        group_->addButton(items_[i], i);
        itemsLayout->addWidget(items_[i], i % 5, i / 5);
    }
    items_[0]->setChecked(true);

    Label1 = new QLabel(tr("入力(分)"), this);
    Label1->setObjectName("Label1");
    Edt_stim = new QLineEdit(this);
    Edt_stim->setObjectName("Edt_stim");
    Edt_stim->setMaximumWidth(56);
    refuseBeyondSjisBytes(Edt_stim, kMinuteChars);
    Label1->setBuddy(Edt_stim);
    BtnChg = new QPushButton(tr("ＯＫ"), this);
    BtnChg->setObjectName("BtnChg");
    BtnCansel = new QPushButton(tr("ｷｬﾝｾﾙ"), this);
    BtnCansel->setObjectName("BtnCansel");

    auto* field = new QHBoxLayout;
    field->addWidget(Label1);
    field->addWidget(Edt_stim);
    field->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnChg);
    buttons->addWidget(BtnCansel);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(RadioGroup1);
    layout->addLayout(field);
    layout->addLayout(buttons);

    QWidget* previous = items_[0];
    for (QWidget* next : {static_cast<QWidget*>(Edt_stim), static_cast<QWidget*>(BtnChg),
                          static_cast<QWidget*>(BtnCansel)}) {
        setTabOrder(previous, next);
        previous = next;
    }

    checks_ = new FieldChecks(this);
    checks_->add(Edt_stim, [this] { return Edt_stimExit(); });
    keepEnterFromButtons(this);
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) RadioGroup1Click(id);
    });
    connect(BtnChg, &QPushButton::clicked, this, [this] { guarded([&] { BtnChgClick(); }); });
    connect(BtnCansel, &QPushButton::clicked, this, [this] { BtnCanselClick(); });
}

void TFrmTape::prefillTapeDialog(std::int32_t workingTargetSec) {
    const std::int64_t minutes = static_cast<std::int64_t>(workingTargetSec) * 2 / 60;
    Edt_stim->setText(QString::number(minutes));
}

void TFrmTape::showEvent(QShowEvent* e) {
    chosen_.reset();
    QDialog::showEvent(e);
    if (QAbstractButton* item = group_->checkedButton()) item->setFocus(Qt::OtherFocusReason);
}

void TFrmTape::RadioGroup1Click(int item) {
    if (item >= 0 && item < static_cast<int>(kPresetSeconds.size())) pending_ = kPresetSeconds[item];
}

bool TFrmTape::Edt_stimExit() {
    std::int32_t minutes = 0;
    if (zemo::checkNumberInput(ws_, minutes, zemo::utf8ToSjis(Edt_stim->text().toStdString()), 0, kMaxMinutes) != 0)
        return false;
    // The typed length counts only for the free item; a chosen preset keeps its table value.
    if (group_->checkedId() == kFreeItem) pending_ = minutes * kSecondsPerMinuteOfTape;
    return true;
}

void TFrmTape::BtnChgClick() {
    const int item = group_->checkedId();
    if (item == kCancelItem || item < 0) {
        chosen_.reset();
    } else if (item == kFreeItem) {
        // A check still due from leaving the field runs first; then the field is read as at OK.
        if (!checks_->settle() || !checks_->run(Edt_stim)) return;  // refused: stay open, nothing set
        chosen_ = pending_;
    } else {
        pending_ = kPresetSeconds[static_cast<std::size_t>(item)];
        chosen_ = pending_;
    }
    QDialog::done(chosen_ ? QDialog::Accepted : QDialog::Rejected);
}

void TFrmTape::BtnCanselClick() {
    chosen_.reset();
    QDialog::done(QDialog::Rejected);
}

void TFrmTape::reject() { BtnCanselClick(); }

void TFrmTape::keyPressEvent(QKeyEvent* e) {
    if (isEnterKey(e)) {
        e->accept();
        guarded([&] { BtnChgClick(); });
        return;
    }
    QDialog::keyPressEvent(e);  // Escape: reject(), the cancel button's action
}

}  // namespace zemo::ui
