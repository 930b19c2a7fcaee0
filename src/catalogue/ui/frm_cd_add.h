// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The add list window "追加データ": records brought in from other data files, from the catalogue and
// from searches, waiting to be registered one by one through the record editor. Edit mode keeps
// the list; get mode only hands one record to the editor.
#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "records/cd_record.h"
#include "ui/modifier_button.h"

class QMenu;
class QPushButton;
class QToolButton;

namespace Ui {
class TFrmCd_Add;
}

namespace zemo {
class Workspace;
struct WindowSettings;
struct ExtractSpec;
}  // namespace zemo

namespace zemo::ui {

class ProgramPrinter;
class RecordGrid;
class TFrmCd_data;
class TFrmPrnStEd;
class TFrmStop;

class TFrmCd_Add : public QDialog {
    Q_OBJECT
public:
    static constexpr int kEditMode = 0;
    static constexpr int kGetMode = 1;

    // The search with marks allowed in the result window: fills the extraction list and returns
    // true when the user chose "取得" (request.selectedRow), with the marked result rows in order.
    using MarkedSearch = std::function<bool(ExtractSpec& request, std::vector<int>& markedRows)>;

    TFrmCd_Add(Workspace& ws, WindowSettings& settings, QWidget* parent = nullptr);
    ~TFrmCd_Add() override;

    void setPrinting(ProgramPrinter* printer, TFrmPrnStEd* range, TFrmStop* stop);
    // The catalogue list window, opened for reference by "選択".
    void setCatalogueWindow(TFrmCd_data* catalogue);
    void setSearch(MarkedSearch search);

    // Sets the row count and reads the add list when it is not loaded (or offers to create it).
    int loadAddList();
    // As the main window opens it: the add list read afresh and the catalogue too, then edit mode
    // and modal; nothing opens when a read fails.
    int openForEditing();
    // Get mode, reading nothing: true when the user took a record, which taken() then holds.
    bool takeRecord();
    const CdRecord& taken() const { return taken_; }

    int openMode() const { return openMode_; }
    RecordGrid* grid() const { return StringGrid1; }

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void SpdBtnOpenClick();
    void SpdBtnSaveClick();
    void openSortMenu(QWidget* at, bool reverse);
    void SORT_BCDClick(int tag);
    void BtnF06EditClick();
    void BtnF10EditClick();
    void BtnF05EditClick();
    void SpdBtnPrintClick();
    void SpBtnClearRowClick();
    void BtnF10GetClick();
    bool FormCloseQuery();
    void rowActivated(int slot);
    void applyModeButtons();
    void lockCommands(bool locked);

    Workspace& ws_;
    WindowSettings& settings_;
    ProgramPrinter* printer_ = nullptr;
    TFrmPrnStEd* range_ = nullptr;
    TFrmStop* stop_ = nullptr;
    TFrmCd_data* catalogue_ = nullptr;
    MarkedSearch search_;

    // The form, and its controls under the names the handlers use (takeControls).
    std::unique_ptr<Ui::TFrmCd_Add> ui_;
    void takeControls();
    QWidget* toolBar_;
    QToolButton* SpdBtnExit;
    QToolButton* SpdBtnOpen;
    QToolButton* SpdBtnSave;
    ModifierToolButton* SpdBtnSort;
    QToolButton* SpdBtnSelect;
    QToolButton* SpdBtnErase;
    QToolButton* SpdBtnFind;
    QToolButton* SpdBtnPrint;
    QToolButton* SpBtnClearRow;
    RecordGrid* StringGrid1;
    QWidget* PnlEdit;
    QPushButton* BtnF01Edit;
    ModifierPushButton* BtnF04Edit;
    QPushButton* BtnF06Edit;
    QPushButton* BtnF10Edit;
    QPushButton* BtnF05Edit;
    QWidget* PnlGet;
    QPushButton* BtnF01Get;
    QPushButton* BtnF10Get;
    QMenu* PupMnSort;

    int openMode_ = kEditMode;
    bool sortReverse_ = false;
    bool running_ = false;
    bool picked_ = false;
    CdRecord taken_{};
    int eraseFirst_ = 0, eraseLast_ = 0;
    int printFirst_ = 0, printLast_ = 0;
};

}  // namespace zemo::ui
