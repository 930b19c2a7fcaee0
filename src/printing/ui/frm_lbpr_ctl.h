// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The label layout dialog: the control record's labelBlock on three pages, the four stored
// presets, the partial reset, and the save question of every settings dialog.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "records/label_layout.h"
#include "settings/ui/control_dialog.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QMenu;

namespace Ui {
class TFrmLbprCtl;
}

namespace zemo::ui {

class TFrmLbprCtl : public ControlDialog {
    Q_OBJECT
public:
    explicit TFrmLbprCtl(zemo::Workspace& ws, QWidget* parent = nullptr);
    ~TFrmLbprCtl() override;

    // Whether the layout was saved or a preset loaded since the dialog was shown (and not undone
    // by No): the label window then redraws.
    bool layoutChanged() const { return changed_; }
    // The working copy the controls edit.
    const LabelLayout& working() const { return work_; }

    // The tags of the preset slots.
    static constexpr int kPresets = 4;

public slots:
    void BtnF09Click();
    void BtnF10Click();
    void R_SINGLE1Click(int tag);
    void W_SINGLE1Click(int tag);

protected:
    void showEvent(QShowEvent* e) override;
    bool storeAnswered() override;
    void discardAnswered() override;

private:
    struct Numeric {
        QLineEdit* edit;
        int min, max, maxLength;
        std::function<std::int16_t&(LabelLayout&)> field;
    };
    struct Flag {
        QCheckBox* box;
        std::function<std::int16_t&(LabelLayout&)> field;
    };
    void addNumeric(QLineEdit* edit, int min, int max, int maxLength, std::function<std::int16_t&(LabelLayout&)> field);
    void buildMenu();
    void fillControls();
    void takeControls();
    bool numericExit(const Numeric& n);

    std::unique_ptr<Ui::TFrmLbprCtl> ui_;
    QButtonGroup* orientation_;
    QMenu* menu_;
    std::vector<Numeric> numerics_;
    std::vector<Flag> flags_;
    LabelLayout work_{};
    bool changed_ = false;
};

// "初期化": the general defaults put back; the pitch, offsets, title text, orientation, the
// user-code block and both side sub-records keep their values.
void resetGeneralLabelDefaults(LabelLayout& layout);

}  // namespace zemo::ui
