// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tape-length dialog: the target per side from common cassette lengths or a typed length in
// minutes. It only chooses; the caller puts the choice into the working and the stored settings
// and makes a new plan from run number 1 (ResultsState::applyTapeTarget).
#include <QDialog>
#include <array>
#include <cstdint>
#include <optional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zemo {
class Workspace;
}

namespace zemo::ui {

class FieldChecks;

class TFrmTape : public QDialog {
    Q_OBJECT
public:
    static constexpr int kItems = 10;
    static constexpr int kFreeItem = 8;    // "9:入力": minutes from the field
    static constexpr int kCancelItem = 9;  // "0:取り消し": nothing is set
    static constexpr int kMinuteChars = 3;
    // Seconds per side of the items 0..7 (0 = automatic, half of the total).
    static constexpr std::array<std::int32_t, 8> kPresetSeconds{0, 1500, 1620, 1800, 1920, 2100, 2220, 2400};

    explicit TFrmTape(zemo::Workspace& ws, QWidget* parent = nullptr);

    // Before showing: the minutes field := the tape length of a working target (both sides).
    void prefillTapeDialog(std::int32_t workingTargetSec);

    // After the dialog closed: the target per side that ＯＫ chose, or nothing (ｷｬﾝｾﾙ, Escape,
    // the close box, "0:取り消し").
    std::optional<std::int32_t> chosenTarget() const { return chosen_; }

    // The value pending from the items and the minutes field (kept for the whole run).
    std::int32_t pending() const { return pending_; }

    void BtnChgClick();
    void BtnCanselClick();
    // Escape and the close box: the cancel button's action.
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void RadioGroup1Click(int item);
    bool Edt_stimExit();

    zemo::Workspace& ws_;
    QGroupBox* RadioGroup1;
    std::array<QRadioButton*, kItems> items_{};
    QButtonGroup* group_;
    QLabel* Label1;
    QLineEdit* Edt_stim;
    QPushButton* BtnChg;
    QPushButton* BtnCansel;
    FieldChecks* checks_;
    std::int32_t pending_ = 0;
    std::optional<std::int32_t> chosen_;
};

}  // namespace zemo::ui
