// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The version box.
#include <QDialog>

namespace zemo::ui {

class TAboutBox : public QDialog {
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace zemo::ui
