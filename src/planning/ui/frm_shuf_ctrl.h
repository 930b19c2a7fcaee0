// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tape-planning settings dialog: target, tolerance, start counts and the five switches of the
// planning engine, the shuffle block of the system control record.
#include <memory>

#include "records/sys_control.h"
#include "settings/ui/control_dialog.h"

class QButtonGroup;
class QLineEdit;

namespace Ui {
class TFrmShufCtrl;
}

namespace zemo::ui {

class TFrmShufCtrl : public ControlDialog {
    Q_OBJECT
public:
    static constexpr int kTimeChars = 6;
    static constexpr int kCountChars = 2;

    explicit TFrmShufCtrl(zemo::Workspace& ws, QWidget* parent = nullptr);
    ~TFrmShufCtrl() override;

    // Whether the last showing ended with the record saved: the planning windows then reload
    // their working settings.
    bool saved() const { return saved_; }

    // How the planning windows open it: the control record is reloaded from its file first (what
    // was only changed in memory, such as a tape length, is dropped), then the dialog runs.
    // Returns saved(); false without showing the dialog when the reload failed (the read reported it).
    bool execReloaded();

    // The dialog's working copy, as the fields have accepted it so far.
    const zemo::ShufControl& block() const { return block_; }

protected:
    void showEvent(QShowEvent* e) override;
    bool storeAnswered() override;
    void discardAnswered() override;

private:
    bool Edt_stimExit();
    bool Edt_lessExit();
    bool Edt_divAExit();
    bool Edt_divBExit();
    bool timeExit(QLineEdit* edit, std::int32_t& field);
    bool countExit(QLineEdit* edit, std::int16_t& field);
    void refreshLabels();

    std::unique_ptr<Ui::TFrmShufCtrl> ui_;
    QButtonGroup* groups_[5];  // noOptimise, noOptimiseA, regOrderFirst, forceStart, plusOnly
    zemo::ShufControl block_{};
    bool saved_ = false;
};

}  // namespace zemo::ui
