// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ui/control_dialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <string>

#include "records/control_file.h"
#include "records/workspace.h"
#include "ui/application.h"
#include "ui/dialog_keys.h"

namespace zemo::ui {

ControlDialog::ControlDialog(zemo::Workspace& ws, QWidget* parent)
    : QDialog(parent), ws_(ws), checks_(new FieldChecks(this)) {
    setModal(true);
}

void ControlDialog::reject() { close(); }

int ControlDialog::storeAndSave(const std::function<void()>& apply) {
    const zemo::SysControl before = ws_.control;
    const bool shareFlagBefore = ws_.shareFlag;
    apply();
    const int result = zemo::saveControlWithBackup(ws_, ws_.control.backupMode);
    if (result != 0) {
        ws_.control = before;
        ws_.shareFlag = shareFlagBefore;
    }
    return result;
}

bool ControlDialog::FormCloseQuery() {
    // A field holding a refused text never holds the user here: Yes saves the value it had last,
    // No drops it with every other change.
    std::string question = tr("保存終了します。").toStdString();
    if (!checks_->checkOnLeaving()) question += "\n" + FieldChecks::tr(FieldChecks::kKeptValueNote).toStdString();
    switch (ws_.prompter.message(zemo::BoxKind::Confirmation, question, zemo::Buttons::YesNoCancel)) {
    case zemo::Answer::Yes:
        return storeAnswered();
    case zemo::Answer::No:
        zemo::loadControl(ws_, false);
        discardAnswered();
        return true;
    default:
        return false;
    }
}

void ControlDialog::closeEvent(QCloseEvent* e) {
    if (!isVisible()) {
        e->accept();
        return;
    }
    bool close = false;
    guarded([&] { close = FormCloseQuery(); });
    if (!close) {
        e->ignore();
        return;
    }
    e->accept();
    QDialog::done(QDialog::Accepted);
}

void ControlDialog::keyPressEvent(QKeyEvent* e) {
    if (enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);  // Esc: reject(), which asks
}

}  // namespace zemo::ui
