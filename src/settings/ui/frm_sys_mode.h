// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system mode dialog: database size, backups, search code mode and catalogue sorting, the
// mode block of the system control record.
#include <array>
#include <cstdint>
#include <memory>

#include "settings/ui/control_dialog.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace Ui {
class TFrmSysMode;
}

namespace zemo::ui {

class TFrmSysMode : public ControlDialog {
    Q_OBJECT
public:
    static constexpr int kModeBlockOffset = 128;
    static constexpr int kModeBlockBytes = 128;

    explicit TFrmSysMode(zemo::Workspace& ws, QWidget* parent = nullptr);
    ~TFrmSysMode() override;

    // The size that Yes puts in force: the last value the size field accepted.
    int pendingSize() const { return pendingSize_; }

protected:
    void showEvent(QShowEvent* e) override;
    bool storeAnswered() override;

private:
    bool Edit_DsizeExit();

    std::unique_ptr<Ui::TFrmSysMode> ui_;
    QButtonGroup* back_;
    QButtonGroup* cdmd_;
    QButtonGroup* sort_;
    std::array<std::uint8_t, kModeBlockBytes> block_{};  // the working copy
    int pendingSize_ = 1;
};

}  // namespace zemo::ui
