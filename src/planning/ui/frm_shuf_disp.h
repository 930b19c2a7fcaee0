// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The planning results window, not modal: the plan of ResultsState drawn as fixed-pitch text on an
// image in a scroll area, run-number stepping, the two distribution menus, the settings and tape
// dialogs, printing, labels and the write-back into the shuffle list. The window is thin over
// ResultsState; the image is drawn only when the plan changes, never when it is painted.
#include <QDialog>
#include <QFont>
#include <QImage>
#include <QStringList>
#include <memory>

#include "planning/plan_engine.h"
#include "planning/plan_results.h"
#include "records/window_settings.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QToolBar;
class QToolButton;

namespace Ui {
class TFrmShufDisp;
}

namespace zemo::ui {

class ProgramPrinter;
class TFrmPrnLabel;
class TFrmShufCtrl;
class TFrmTape;

// One side of the plan shown against the acceptance window: the scale from 0 past the window's
// upper end, both ends marked, the side's sum as a filled length (green inside the window), and
// the sum as text.
class SideBar : public QWidget {
public:
    explicit SideBar(QWidget* parent = nullptr);
    void setSide(const QString& side);
    void setSum(std::int32_t sum, std::int32_t lo, std::int32_t hi, std::int32_t scale);
    bool inside() const { return lo_ <= sum_ && sum_ <= hi_; }
    std::int32_t sum() const { return sum_; }
    QColor fillColour() const;
    QString text() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QString side_;
    std::int32_t sum_ = 0, lo_ = 0, hi_ = 0, scale_ = 1;
    bool shown_ = false;
};

class TFrmShufDisp : public QDialog {
    Q_OBJECT
public:
    // font: the stored results font, read now and written back when the window closes.
    TFrmShufDisp(zemo::Workspace& ws, FontSetting& font, QWidget* parent = nullptr);
    ~TFrmShufDisp() override;

    void setLabelWindow(TFrmPrnLabel* w) { label_ = w; }
    void setSettingsDialog(TFrmShufCtrl* d) { settings_ = d; }
    void setTapeDialog(TFrmTape* d) { tape_ = d; }
    void setPrinter(ProgramPrinter* p) { printer_ = p; }

    // "振分け" of the list window: the selection from the used slots of the shuffle list, the
    // planning settings, run number 1, and the window shown without blocking. 0, or -1 when the
    // selection could not be read or holds no CD (nothing is shown then).
    int openFor();

    zemo::PlanEngine& engine() { return engine_; }
    zemo::ResultsState& results() { return results_; }
    // The text as drawn on the image, one entry per line from line 0 (UTF-8, trailing blanks cut).
    const QStringList& drawnLines() const { return drawn_; }
    const QImage& image() const { return image_; }
    int cellWidth() const { return cell_; }
    QScrollArea* scrollArea() const { return scroll_; }
    QMenu* shuf2Menu() const { return shuf2_; }
    QMenu* shufABMenu() const { return shufAB_; }
    SideBar* sideBar(int side) const { return bars_[side]; }
    // The line under the image with the answer of the exact check.
    QString exactLine() const;
    bool running() const { return running_; }

signals:
    // 結設定 rewrote the shuffle list: its window redraws its grid.
    void wroteBack();

public slots:
    // Any slot of the shuffle list was written: the plan indexes a selection that no longer is.
    void closeOnListChange();

    void BtnEndClick();
    void BtnPrintClick();
    void BtnLabelClick();
    void BtnSSetClick();
    void SpdBtnShuf_UClick();
    void SpdBtnShuf_DClick();
    void BtnFontClick();
    void BtnCtlClick();
    void BtnTapeClick();
    void chooseShuf2(int tag);
    void chooseShufAB(int tag);
    // "最適解": the plan of the exact check.
    void chooseBest();
    // A mouse press on BtnShuf: the previous run number with Shift, the next otherwise.
    void BtnShufMouseDown(Qt::KeyboardModifiers modifiers);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void reject() override;

private:
    // Runs a step that may search: commands off, events let in so Escape can stop it.
    template <typename F>
    void run(F&& step);
    void setCommandsEnabled(bool on);
    // The steps of building the window on its form.
    void buildToolBar();
    void connectButtons();
    // Draws the cached text of ResultsState onto the image (font, size, texts).
    void paintImage();
    // The characters of the image, each shaped once for the current font.
    struct CharLayouts;
    void popup(QMenu* menu, QWidget* button, bool below);
    // The exact check's line and whether "最適解" can be chosen, after the plan changed.
    void showExact();

    zemo::Workspace& ws_;
    FontSetting& stored_;
    FontSetting font_;
    zemo::PlanEngine engine_;
    zemo::ResultsState results_;
    TFrmPrnLabel* label_ = nullptr;
    TFrmShufCtrl* settings_ = nullptr;
    TFrmTape* tape_ = nullptr;
    ProgramPrinter* printer_ = nullptr;

    std::unique_ptr<Ui::TFrmShufDisp> ui_;
    QToolBar* bar_ = nullptr;
    QWidget* buttons_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QLabel* image1_ = nullptr;
    QLabel* exact_ = nullptr;
    SideBar* bars_[2] = {};
    QAction* bestItem_ = nullptr;
    QWidget* bestButtons_[2] = {};
    QMenu* shuf2_ = nullptr;
    QMenu* shufAB_ = nullptr;
    QImage image_;
    std::unique_ptr<CharLayouts> chars_;
    QStringList drawn_;
    int cell_ = 8;
    bool running_ = false;
    bool closeAfterRun_ = false;
    unsigned polls_ = 0;
};

}  // namespace zemo::ui
