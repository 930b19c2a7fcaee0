// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The date/title dialog asked just before a label is printed: the label date and the label title.
#include <QDialog>
#include <cstdint>
#include <string>

class QLineEdit;
class QPushButton;
class QToolButton;

namespace zemo {
class Workspace;
}

namespace zemo::ui {

class FieldChecks;

class TFrmLblInp : public QDialog {
    Q_OBJECT
public:
    explicit TFrmLblInp(zemo::Workspace& ws, QWidget* parent = nullptr);

    // The date as decimal digits and the title (CP932).
    void fill(std::int32_t date, const std::string& title);
    // After the dialog closed: whether "実行" took it, and what it took.
    bool confirmed() const { return confirmed_; }
    std::int32_t date() const { return date_; }
    std::string title() const { return title_; }

    static constexpr int kTitleBytes = 60;
    static constexpr int kDateChars = 8;

public slots:
    void SpBtndateClick();
    void BtnGoClick();
    void BtnExitClick();

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool Edt_dateExit();

    zemo::Workspace& ws_;
    FieldChecks* checks_;
    QLineEdit* date_edit_;
    QLineEdit* title_edit_;
    QToolButton* today_;
    QPushButton* go_;
    QPushButton* exit_;
    bool confirmed_ = false;
    std::int32_t date_ = 0;
    std::int32_t checked_ = 0;  // the value of the date text the last check accepted
    std::string title_;
};

}  // namespace zemo::ui
