// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The result window "検出一致結果表示": the extraction list in the record grid, in display, get or
// move mode, with marks in column 0 when the caller allowed them, its own sort and printout.
#include <QDialog>
#include <memory>
#include <vector>

#include "ui/modifier_button.h"

class QMenu;
class QPushButton;
class QToolButton;

namespace Ui {
class TFrmCd_Ref;
}

namespace zemo {
class Workspace;
struct WindowSettings;
struct ExtractSpec;
}  // namespace zemo

namespace zemo::ui {

class ProgramPrinter;
class RecordGrid;
class TFrmPrnStEd;
class TFrmStop;

class TFrmCd_Ref : public QDialog {
    Q_OBJECT
public:
    // windowMode: the panel set.
    static constexpr int kDisplayMode = 1;
    static constexpr int kGetMode = 2;
    static constexpr int kMoveMode = 4;
    // Rows shown at least, however few results there are.
    static constexpr int kMinimumRows = 10;

    TFrmCd_Ref(Workspace& ws, WindowSettings& settings, QWidget* parent = nullptr);
    ~TFrmCd_Ref() override;

    // The printer and the range and stop windows of "印刷"; the button stays disabled without them.
    void setPrinting(ProgramPrinter* printer, TFrmPrnStEd* range, TFrmStop* stop);

    // Marking, for the next showing only: cleared when the window closes.
    void setAllowMarks(bool on) { allowMarks_ = on; }
    bool allowMarks() const { return allowMarks_; }

    // Shows request.resultCount results of the extraction list in the panel of request.windowMode and
    // waits; writes request.selectedRow (the current row's result index) and request.windowResult back.
    // An extraction that was cut at the list's capacity (request.truncated) is first said in a box.
    void showResults(ExtractSpec& request);

    // After a confirmed showing: the marked result indexes in row order (empty without marks).
    std::vector<int> markedResults() const;
    int windowResult() const { return windowResult_; }
    int windowMode() const { return windowMode_; }
    RecordGrid* grid() const { return StringGrid1; }
    bool running() const { return running_; }

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void openSortMenu(QWidget* at, bool reverse);
    void SORT_BCDClick(int tag);
    void BtnF10GetClick();
    void BtnF10PmvClick();
    void cancelClick();
    void SpdBtnSelClick();
    void SpdBtnXchgClick();
    void SpdBtnPrintClick();
    void StringGrid1DblClick();
    void StringGrid1MouseUp(int slot, int column);
    bool currentInUse() const;
    bool inUse(int slot) const;
    void applyMode();

    Workspace& ws_;
    WindowSettings& settings_;
    ProgramPrinter* printer_ = nullptr;
    TFrmPrnStEd* range_ = nullptr;
    TFrmStop* stop_ = nullptr;

    // The form, and its controls under the names the handlers use (takeControls).
    std::unique_ptr<Ui::TFrmCd_Ref> ui_;
    void takeControls();
    QWidget* toolBar_;
    ModifierToolButton* SpdBtnSort;
    QToolButton* SpdBtnSel;
    QToolButton* SpdBtnXchg;
    QToolButton* SpdBtnPrint;
    QToolButton* SpdBtnExit;
    RecordGrid* StringGrid1;
    QWidget* PnlDisp;
    QPushButton* BtnF01Disp;
    ModifierPushButton* BtnF04Disp;
    QWidget* PnlGet;
    QPushButton* BtnF01Get;
    QPushButton* BtnF10Get;
    ModifierPushButton* BtnF04Get;
    QWidget* PnlPmv;
    QPushButton* BtnF01Pmv;
    QPushButton* BtnF10Pmv;
    ModifierPushButton* BtnF04Pmv;
    QMenu* PupMnSort;

    bool allowMarks_ = false;
    int windowMode_ = kDisplayMode;
    int resultCount_ = 0;
    bool sortReverse_ = false;
    int windowResult_ = 0;
    bool running_ = false;
    int printFirst_ = 0, printLast_ = 0;
};

}  // namespace zemo::ui
