// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue list window "データ登録": the whole catalogue in the record grid, edited, sorted,
// searched, erased, printed, read from and written to other files, and saved or discarded when
// it closes. Reference mode lets another window pick one catalogue record.
#include <QDialog>
#include <functional>
#include <memory>

#include "ui/modifier_button.h"

class QMenu;
class QPushButton;
class QWidget;

namespace Ui {
class TFrmCd_data;
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

class TFrmCd_data : public QDialog {
    Q_OBJECT
public:
    static constexpr int kEditMode = 0;
    static constexpr int kReferenceMode = 1;

    TFrmCd_data(Workspace& ws, WindowSettings& settings, QWidget* parent = nullptr);
    ~TFrmCd_data() override;

    // What the window works with; the range and stop windows and the printer are the program's.
    void setPrinting(ProgramPrinter* printer, TFrmPrnStEd* range, TFrmStop* stop);
    // The record editor, opened on the current row ("編集"); the button stays disabled without it.
    void setEditor(std::function<void()> openEditor);
    // The search dialog in move mode: fills the extraction list and returns true when the user
    // chose "移動" (request.selectedRow). ＦＩＮＤ and 抽出 stay disabled without it.
    void setSearch(std::function<bool(ExtractSpec& request)> search);

    // Reads the catalogue from its file and shows every row; hourglass meanwhile. 0 or the error.
    int loadCatalogueGrid();
    // Edit mode, as the main window opens it: the histories and the add list are read when not yet
    // loaded and the catalogue afresh; when any of that fails the window does not open.
    int openForEditing();
    // Reference mode: loads the catalogue only when not loaded, shows the slot's row at the top
    // and waits. True when the user took a record; slot then holds its index.
    bool pickFromCatalogue(int& slot);
    // Redraws one slot's row from the array (after the editor or another window put a record).
    void drawCatalogueRow(int slot);
    // Moves the current row by step (clamped to the grid) and returns the new slot.
    int stepCatalogueRow(int step);

    int openMode() const { return openMode_; }
    bool picked() const { return picked_; }
    // The slot of the current row (-1 none); the editor follows it.
    int currentSlot() const;
    RecordGrid* grid() const { return StringGrid1; }
    // True while an erase or a printout runs.
    bool running() const { return running_; }

signals:
    void currentSlotChanged(int slot);
    // An erase or a printout began (true) or ended (false).
    void runningChanged(bool running);

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void BtnEF01Click();
    void SpdBtnOpenClick();
    void SpdBtnSaveClick();
    void BtnEEditClick();
    void openSortMenu(QWidget* at, bool reverse);
    void SORT_BCDClick(int tag);
    void BtnF05EditClick();
    void BtnRF10Click();
    void BtnEF10Click();
    void SpBtnClearRowClick();
    void SpdBtnPrintClick();
    bool FormCloseQuery();
    void rowActivated(int slot);
    // Shows the range dialog for the remembered range; false when cancelled.
    bool askRange(int& first, int& last);
    // Asks before a range erase that would take records from the catalogue; true to go on.
    bool confirmRangeErase(int first, int last);
    // Everything but the stop window off (or back on) while a loop lets events run.
    void lockCommands(bool locked);
    void applyModeButtons();

    Workspace& ws_;
    WindowSettings& settings_;
    ProgramPrinter* printer_ = nullptr;
    TFrmPrnStEd* range_ = nullptr;
    TFrmStop* stop_ = nullptr;
    std::function<void()> openEditor_;
    std::function<bool(ExtractSpec&)> search_;

    // The form, and its controls under the names the handlers use (takeControls).
    std::unique_ptr<Ui::TFrmCd_data> ui_;
    void takeControls();
    QWidget* toolBar_;
    QToolButton* SpdBtnExit;
    QToolButton* SpdBtnOpen;
    QToolButton* SpdBtnSave;
    QToolButton* SpdBtnEdit;
    ModifierToolButton* SpdBtnSort;
    QToolButton* SpdBtnFind;
    QToolButton* SpdBtnSelect;
    QToolButton* SpdBtnErase;
    QToolButton* SpBtnClearRow;
    QToolButton* SpdBtnPrint;
    RecordGrid* StringGrid1;
    QWidget* PnlEdit;
    QPushButton* BtnEF01;
    QPushButton* BtnEEdit;
    ModifierPushButton* BtnEF04;
    QPushButton* BtnF05Edit;
    QPushButton* BtnEF10;
    QWidget* PnlRef;
    QPushButton* BtnRF01;
    QPushButton* BtnRF10;
    QMenu* PupMnSort;

    int openMode_ = kEditMode;
    bool picked_ = false;
    bool sortReverse_ = false;
    bool running_ = false;
    int eraseFirst_ = 0, eraseLast_ = 0;
    int printFirst_ = 0, printLast_ = 0;
};

}  // namespace zemo::ui
