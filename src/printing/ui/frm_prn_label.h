// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The label window: the preview of the current plan's label at a zoom, the label font, the printer
// choice, the layout dialog, and printing after the date/title dialog.
#include <QDialog>
#include <QImage>
#include <cstdint>
#include <vector>

#include "printing/label.h"
#include "records/shuf_tape.h"
#include "records/window_settings.h"

class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace zemo {
class Workspace;
}  // namespace zemo

namespace zemo::ui {

class ProgramPrinter;
class TFrmLblInp;
class TFrmLbprCtl;

class TFrmPrnLabel : public QDialog {
    Q_OBJECT
public:
    // font: the stored label font, read now and written back when the window closes.
    TFrmPrnLabel(zemo::Workspace& ws, FontSetting& font, ProgramPrinter& printer, QWidget* parent = nullptr);
    ~TFrmPrnLabel() override;

    // The layout dialog that "設定" opens (the main menu's one).
    void setLayoutDialog(TFrmLbprCtl* dialog) { layoutDialog_ = dialog; }

    // The plan the label is composed from (read at each composition); nullptr composes nothing.
    // The results window hands its plan over and then opens this window modally (exec).
    void setPlan(const ShufTape* plan) { plan_ = plan; }

    int zoom() const { return zoom_; }
    std::int32_t labelDate() const { return labelDate_; }
    const FontSetting& labelFont() const { return font_; }
    const QImage& preview() const { return image_; }
    const std::vector<LabelText>& composed() const { return texts_; }
    TFrmLblInp* dateTitleDialog() const { return input_; }

public slots:
    void BtnEndClick();
    void BtnPrintClick();
    void BtnCtlClick();
    void BtnPrnClick();
    void BtnFontClick();
    void BitBtnBigClick();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    // A full redraw: the preview's size from the printer and the zoom, the label composed anew.
    void redraw();
    std::vector<LabelText> compose();

    zemo::Workspace& ws_;
    FontSetting& stored_;
    FontSetting font_;
    ProgramPrinter& printer_;
    TFrmLbprCtl* layoutDialog_ = nullptr;
    TFrmLblInp* input_;
    const ShufTape* plan_ = nullptr;
    std::int32_t labelDate_ = -1;  // fixed at the first composition of the run
    int zoom_;

    QScrollArea* scroll_;
    QLabel* image1_;
    QLabel* rate_;
    QImage image_;
    std::vector<LabelText> texts_;
};

}  // namespace zemo::ui
