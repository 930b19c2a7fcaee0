// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tape-planning list window "振り分け": the 30 slots of the shuffle list in the record grid,
// collected from the catalogue (one by one or from a search), rearranged by dragging, cleared,
// shuffled, read, written and printed, with its total and target labels. It owns the planning
// buffers from its creation to its destruction.
#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>

class QMenu;

namespace Ui {
class TFrmShufMain;
}

namespace zemo {
class PlanEngine;
class Workspace;
struct CdRecord;
struct WindowSettings;
}  // namespace zemo

namespace zemo::ui {

class ProgramPrinter;
class RecordGrid;
class TFrmCd_data;
class TFrmDataDisp;
class TFrmPrnStEd;
class TFrmRefMd;
class TFrmShufCtrl;
class TFrmStop;

class TFrmShufMain : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSlots = 30;

    TFrmShufMain(Workspace& ws, WindowSettings& settings, QWidget* parent = nullptr);
    ~TFrmShufMain() override;

    // The windows it drives; each command stays disabled without what it needs.
    void setCatalogue(TFrmCd_data* catalogue);
    void setSearch(TFrmRefMd* search);
    void setViewer(TFrmDataDisp* viewer);
    void setPrinting(ProgramPrinter* printer, TFrmPrnStEd* range, TFrmStop* stop);
    void setSettingsDialog(TFrmShufCtrl* dialog);
    // "振分け": prepares the first plan and shows the results window.
    void setResultsOpener(std::function<void()> open);

    // Loads the shuffle list (or offers to create its file) and shows every slot: 0 or the error.
    int openShuffleList();
    // The menu command: the catalogue is read afresh from its file (it may have changed since it
    // was last loaded), then the shuffle list; when both loaded, the window runs modally.
    // 0, or the error of loading.
    int openForPlanning();
    // Redraws every slot from the array (after the results were written back) and the labels.
    void redrawList();
    void refreshShuffleGrid();
    int refreshShuffleLabels();

    PlanEngine& engine() { return *engine_; }
    RecordGrid* grid() const { return StringGrid1; }

    // The drop of a drag that started on sourceSlot, at a grid row (0 the header, 1..30 the
    // slots, -1 outside): true when the two slots were exchanged.
    bool dropOnRow(int sourceSlot, int row);

signals:
    // A slot of the shuffle list was written: a plan made from the list before no longer fits it.
    void shuffleListChanged();
    // The window is closing: the windows opened from it close with it.
    void closing();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BtnSelClick();
    void BtnSerchClick();
    void BtnShufClick();
    void BtnCtlClick();
    void BtnF08Click();
    void SpBtnClearRowClick();
    void SpdBtnOpenClick();
    void SpdBtnSaveClick();
    void BtnF02Click();
    void BtnEPrnClick();
    void BtnFDspClick();
    void PI_Click(int tag);
    void PNC_Click(int tag);
    void placeGrid();
    void buildMenus();
    void connectCommands();
    void popupAt(QMenu* menu, QWidget* button, bool below);
    bool FormCloseQuery();
    // Writes a record into a slot and redraws its row; false when the access failed.
    bool putSlot(int slot, const CdRecord& r);
    void slotsWritten();
    void lockCommands(bool locked);
    void applyCommands();

    Workspace& ws_;
    WindowSettings& settings_;
    std::unique_ptr<PlanEngine> engine_;
    TFrmCd_data* catalogue_ = nullptr;
    TFrmRefMd* search_ = nullptr;
    QPointer<TFrmDataDisp> viewer_;
    QPointer<QWidget> viewerHome_;  // the viewer's own parent, given back when this window closes
    ProgramPrinter* printer_ = nullptr;
    TFrmPrnStEd* range_ = nullptr;
    TFrmStop* stop_ = nullptr;
    TFrmShufCtrl* settingsDialog_ = nullptr;
    std::function<void()> openResults_;

    std::unique_ptr<Ui::TFrmShufMain> ui_;
    RecordGrid* StringGrid1 = nullptr;  // in the form's GridPlace
    QMenu* PupMnInfo;
    QMenu* PupMnNewCls;

    int dragSource_ = -1;
    bool dragging_ = false;
    bool doubleClicked_ = false;
    int infoPeriod_ = 0, infoKind_ = 0;
    int printFirst_ = 1, printLast_ = 0;
    bool running_ = false;
};

}  // namespace zemo::ui
