// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The common part of the dialogs that edit a block of the system control record: Enter moves on,
// Esc, the close box and "終了" all ask "保存終了します。", Yes stores the block and saves the
// record, No reloads the record from its file, Cancel stays.
#include <QDialog>
#include <functional>

#include "ui/field_checks.h"

namespace zemo {
class Workspace;
}

namespace zemo::ui {

class ControlDialog : public QDialog {
    Q_OBJECT
public:
    // Esc and the dialog's own rejection go through the close question too.
    void reject() override;

protected:
    ControlDialog(zemo::Workspace& ws, QWidget* parent);

    // Yes: put the dialog's values into the record (through storeAndSave); true closes.
    virtual bool storeAnswered() = 0;
    // No, after the record has been reloaded.
    virtual void discardAnswered() {}

    // Applies the block to the in-memory record and saves it with the backup setting in force
    // after the change. A failed save puts the record (and the run-time share flag) back as they
    // were, so that the next save from anywhere writes nothing half-applied. 0 or the save's code.
    int storeAndSave(const std::function<void()>& apply);

    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

    zemo::Workspace& ws_;
    FieldChecks* checks_;

private:
    // FormCloseQuery: true lets the dialog close.
    bool FormCloseQuery();
};

}  // namespace zemo::ui
