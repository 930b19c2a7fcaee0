// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The share settings dialog: whether data files saved through the chooser are written in share
// form, and the password they carry (the share block of the system control record).
#include <array>
#include <cstdint>

#include "settings/ui/control_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zemo::ui {

class TFrmShare : public ControlDialog {
    Q_OBJECT
public:
    static constexpr int kShareBlockOffset = 896;
    static constexpr int kShareBlockBytes = 128;
    static constexpr int kPasswordBytes = 14;

    explicit TFrmShare(zemo::Workspace& ws, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* e) override;
    bool storeAnswered() override;

private:
    QLabel* Lbl_pass;
    QLineEdit* Edit_pass;
    QCheckBox* ChkBx_pass;
    QPushButton* BtnEnd;
    std::array<std::uint8_t, kShareBlockBytes> block_{};  // the working copy
};

}  // namespace zemo::ui
