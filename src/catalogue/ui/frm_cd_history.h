// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two history windows: "登録日時データ" (the last 500 registrations, TFrmCd_New) and "削除データ"
// (the last 500 deletions and replacements, TFrmCd_Del). Both serve to take an old record back into
// the record editor.
#include <QDialog>
#include <string>

#include "records/cd_record.h"

class QPushButton;
class QToolButton;

namespace zemo {
class Workspace;
struct WindowSettings;
}  // namespace zemo

namespace zemo::ui {

class RecordGrid;

class TFrmCdHistory : public QDialog {
    Q_OBJECT
public:
    ~TFrmCdHistory() override;

    // Reads the history from its file when not yet loaded (or offers to create it) and shows it.
    int loadList();
    // Shows the window modally; true when the user took a record ("取得"), which taken() holds.
    bool takeRecord();
    const CdRecord& taken() const { return taken_; }
    RecordGrid* grid() const { return StringGrid1; }

protected:
    TFrmCdHistory(Workspace& ws, WindowSettings& settings, int kind, int columns, const char* name,
                  const char* caption, const char* widthsSection, QWidget* parent);
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void BtnF10Click();

    Workspace& ws_;
    WindowSettings& settings_;
    int kind_;
    std::string widthsSection_;
    QToolButton* SpdBtnExit;
    RecordGrid* StringGrid1;
    QPushButton* BtnF01;
    QPushButton* BtnF10;
    CdRecord taken_{};
    bool picked_ = false;
};

// New-record history (kind 6), 15 columns with "登録日付".
class TFrmCd_New : public TFrmCdHistory {
    Q_OBJECT
public:
    TFrmCd_New(Workspace& ws, WindowSettings& settings, QWidget* parent = nullptr);
};

// Deleted-record history (kind 4), 16 columns with "登録日付" and "削除日付".
class TFrmCd_Del : public TFrmCdHistory {
    Q_OBJECT
public:
    TFrmCd_Del(Workspace& ws, WindowSettings& settings, QWidget* parent = nullptr);
};

}  // namespace zemo::ui
