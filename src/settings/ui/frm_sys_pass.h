// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The system paths dialog: the four work directories of the path block, typed or picked with
// the directory chooser, relative to the program folder or absolute.
#include <array>
#include <memory>
#include <QString>

#include "settings/ui/control_dialog.h"

class QLineEdit;
class QPushButton;

namespace Ui {
class TFrmSysPass;
}

namespace zemo::ui {

class TFrmGetDir;

class TFrmSysPass : public ControlDialog {
    Q_OBJECT
public:
    // Bytes of Shift-JIS a directory may take.
    static constexpr int kMaxPathBytes = 40;

    TFrmSysPass(zemo::Workspace& ws, TFrmGetDir& getDir, QWidget* parent = nullptr);
    ~TFrmSysPass() override;

protected:
    void showEvent(QShowEvent* e) override;
    bool storeAnswered() override;

private:
    struct Row {
        QLineEdit* edit;
        QPushButton* browse;
        int slot;  // in the path block
    };

    // Edit_sysExit and its three siblings: the length check, storing the text in its slot.
    bool EditExit(const Row& row);
    // A folder picked in the chooser as its slot keeps it: relative when inside the program folder.
    QString storedForm(const QString& picked) const;
    // BtnSsysClick and its three siblings.
    void BtnBrowseClick(const Row& row);

    std::unique_ptr<Ui::TFrmSysPass> ui_;
    TFrmGetDir& getDir_;
    std::array<Row, 4> rows_;
    char paths_[8][64] = {};  // the working copy of the path block
};

}  // namespace zemo::ui
