// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The error-correction dialog: a reference CD time and the time the shop's machine takes for it,
// with the correction ratio they give (the revise block of the system control record).
#include <array>
#include <cstdint>
#include <memory>

#include "settings/ui/control_dialog.h"

class QLineEdit;

namespace Ui {
class TFrmSysRevi;
}

namespace zemo::ui {

class TFrmSysRevi : public ControlDialog {
    Q_OBJECT
public:
    static constexpr int kReviseBlockOffset = 1024;
    static constexpr int kReviseBlockBytes = 32;
    static constexpr int kTimeChars = 6;

    explicit TFrmSysRevi(zemo::Workspace& ws, QWidget* parent = nullptr);
    ~TFrmSysRevi() override;

    // The two times of the dialog's copy, in seconds, as the fields have accepted them so far.
    std::int32_t refCdTime() const;
    std::int32_t machineTime() const;

protected:
    void showEvent(QShowEvent* e) override;
    bool storeAnswered() override;

private:
    bool Edt_CdtimeExit();
    bool Edt_HardtimeExit();
    bool timeExit(QLineEdit* edit, std::size_t offset);
    void refreshLabels();

    std::unique_ptr<Ui::TFrmSysRevi> ui_;
    std::array<std::uint8_t, kReviseBlockBytes> block_{};  // the working copy
};

}  // namespace zemo::ui
