// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The barcode agreement window "検索一致表示": the catalogue records that carry one barcode, with
// the choice to replace one by the record being registered, add it beside them, or delete them.
#include <QDialog>
#include <functional>

#include "catalogue/catalogue_access.h"

class QPushButton;
class QToolButton;
class QWidget;

namespace zemo {
struct WindowSettings;
}

namespace zemo::ui {

class ProgramPrinter;
class RecordGrid;
class TFrmPrnStEd;
class TFrmStop;

class TFrmCd_Bagr : public QDialog, public BarcodeAgreement {
    Q_OBJECT
public:
    static constexpr int kRegisterMode = 0;
    static constexpr int kDeleteMode = 3;

    TFrmCd_Bagr(Workspace& ws, WindowSettings& settings, QWidget* parent = nullptr);
    ~TFrmCd_Bagr() override;

    void setPrinting(ProgramPrinter* printer, TFrmPrnStEd* range, TFrmStop* stop);
    // Called with the catalogue slot a delete emptied, so that the list window redraws that row.
    void setCatalogueRowChanged(std::function<void(int slot)> changed) { rowChanged_ = std::move(changed); }

    // Shows the list of request.matchCount entries modally in the panel of request.agreeMode and
    // writes selectedRow and agreeResult back.
    void showBarcodeAgreement(FindSpec& request, const CdRecord& key);
    // The core's port: the same, returning agreeResult.
    int agree(Workspace& ws, FindSpec& request, const CdRecord& key) override;

    RecordGrid* grid() const { return StringGrid1; }
    int result() const { return result_; }

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void BtnF01PutCick();
    void BtnF08PutClick();
    void BtnF09PutClick();
    void BtnF10PutClick();
    void StringGrid1DblClick();
    void SpdBtnPrintClick();
    void deleteCurrentRow();

    Workspace& ws_;
    WindowSettings& settings_;
    ProgramPrinter* printer_ = nullptr;
    TFrmPrnStEd* range_ = nullptr;
    TFrmStop* stop_ = nullptr;
    std::function<void(int)> rowChanged_;

    QWidget* tools_;
    QToolButton* SpdBtnPrint;
    QToolButton* SpdBtnExit;
    RecordGrid* StringGrid1;
    QWidget* PnlPut;
    QPushButton* BtnF01Put;
    QPushButton* BtnF08Put;
    QPushButton* BtnF09Put;
    QPushButton* BtnF10Put;
    QWidget* PnlDel;
    QPushButton* BtnF01Del;
    QPushButton* BtnF10Del;

    int result_ = kAgreeCancelled;
    int mode_ = kRegisterMode;
    int rows_ = 10;
    int printFirst_ = 0, printLast_ = 0;
};

}  // namespace zemo::ui
