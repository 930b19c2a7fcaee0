// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The search dialog "検出・抽出": the conditions, remembered in the window settings, then the
// extraction into the result list and the result window. runSearch is the one entry point every
// window that searches the catalogue uses.
#include <QDialog>
#include <cstdint>
#include <memory>

class QButtonGroup;
class QLineEdit;

namespace Ui {
class TFrmRefMd;
}

namespace zemo {
class Workspace;
struct WindowSettings;
struct ExtractSpec;
struct CdRecord;
}  // namespace zemo

namespace zemo::ui {

class FieldChecks;
class TFrmCd_Ref;

class TFrmRefMd : public QDialog {
    Q_OBJECT
public:
    TFrmRefMd(Workspace& ws, WindowSettings& settings, TFrmCd_Ref& results, QWidget* parent = nullptr);
    ~TFrmRefMd() override;

    // Lets the result window mark rows during the next search only; every way out of that
    // search takes the permission back.
    void allowMarks();

    // Loads the catalogue when it is not loaded, asks for the conditions, extracts, sorts the
    // results by the searched item and shows them in the result window in request.windowMode.
    // True only when the user confirmed "取得" or "移動": request.selectedRow is then the current
    // result index and, when marks were allowed, results().markedResults() the marked ones.
    bool runSearch(ExtractSpec& request);

    TFrmCd_Ref& results() { return results_; }
    // Whether the dialog's last showing ended with "実行".
    bool confirmed() const { return confirmed_; }

protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void BtnRunClick();
    void BtnF01Click();
    void SpBtnStClick();
    void SpBtnEdClick();
    bool normalizeField(QLineEdit* edit);
    bool Edit_dstExit();
    bool Edit_dedExit();
    bool dateItemChosen() const;
    void showConditions();
    void rememberConditions();
    // The request and key record from the controls (after 実行).
    void buildRequest(ExtractSpec& request, CdRecord& key) const;

    Workspace& ws_;
    WindowSettings& settings_;
    TFrmCd_Ref& results_;
    std::unique_ptr<Ui::TFrmRefMd> ui_;
    QButtonGroup* kind_;
    QButtonGroup* item_;
    FieldChecks* checks_;
    std::int32_t dateFrom_ = 0, dateTo_ = 0;
    bool confirmed_ = false;
};

}  // namespace zemo::ui
