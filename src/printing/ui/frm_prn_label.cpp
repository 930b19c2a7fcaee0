// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ui/frm_prn_label.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/prompter.h"
#include "printing/ui/frm_lbl_inp.h"
#include "printing/ui/frm_lbpr_ctl.h"
#include "printing/ui/label_drawing.h"
#include "records/cd_record.h"
#include "records/text.h"
#include "records/workspace.h"
#include "ui/application.h"
#include "ui/dialog_keys.h"
#include "ui/fonts.h"
#include "ui/printer.h"
#include "ui/window_parts.h"

namespace zemo::ui {

TFrmPrnLabel::TFrmPrnLabel(zemo::Workspace& ws, FontSetting& font, ProgramPrinter& printer, QWidget* parent)
    : QDialog(parent), ws_(ws), stored_(font), font_(font), printer_(printer), zoom_(kZoomStart) {
    setObjectName("FrmPrnLabel");
    setWindowTitle(tr("ラベル印刷"));
    setModal(true);
    resize(720, 560);
    input_ = new TFrmLblInp(ws, this);

    auto* bar = new QToolBar(this);
    bar->setObjectName("ToolBar1");
    const QByteArray end = tr("終了").toUtf8(), print = tr("印刷").toUtf8(), ctl = tr("設定").toUtf8(),
                     printerHint = tr("プリンター設定").toUtf8(), printerText = tr("ﾌﾟﾘﾝﾀｰ").toUtf8(),
                     fontHint = tr("フォント").toUtf8(), fontText = tr("ﾌｫﾝﾄ").toUtf8();
    parts::addToolButtons<TFrmPrnLabel>(bar, this,
                                        {{"SpdBtnExit", end.constData(), end.constData(), &TFrmPrnLabel::BtnEndClick},
                                         {"SpdBtnPrint", print.constData(), print.constData(), &TFrmPrnLabel::BtnPrintClick},
                                         {"SpdBtnProperty", ctl.constData(), ctl.constData(), &TFrmPrnLabel::BtnCtlClick},
                                         {"SpdBtnPrinter", printerHint.constData(), printerText.constData(), &TFrmPrnLabel::BtnPrnClick},
                                         {"SpdBtnFont", fontHint.constData(), fontText.constData(), &TFrmPrnLabel::BtnFontClick}});
    bar->addSeparator();
    QToolButton* big = parts::toolButton(bar, "BitBtnBig", qUtf8Printable(tr("拡大")), qUtf8Printable(tr("＋")));
    rate_ = new QLabel(bar);
    rate_->setObjectName("Lbl_Rate");
    rate_->setMinimumWidth(rate_->fontMetrics().horizontalAdvance("00.0") + 8);
    rate_->setAlignment(Qt::AlignCenter);
    QToolButton* small = parts::toolButton(bar, "BitBtn1", qUtf8Printable(tr("縮小")), qUtf8Printable(tr("－")));
    bar->addWidget(big);
    bar->addWidget(rate_);
    bar->addWidget(small);
    connect(big, &QToolButton::clicked, this, &TFrmPrnLabel::BitBtnBigClick);
    connect(small, &QToolButton::clicked, this, &TFrmPrnLabel::BitBtn1Click);

    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("ScrollBox1");
    scroll_->setBackgroundRole(QPalette::Dark);
    image1_ = new QLabel;
    image1_->setObjectName("Image1");
    image1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroll_->setWidget(image1_);

    auto* buttons = new QHBoxLayout;
    struct Bottom {
        const char* name;
        const char* text;
        void (TFrmPrnLabel::*handler)();
    };
    const Bottom bottoms[] = {{"BtnEnd", end.constData(), &TFrmPrnLabel::BtnEndClick},
                              {"BtnPrint", print.constData(), &TFrmPrnLabel::BtnPrintClick},
                              {"BtnCtl", ctl.constData(), &TFrmPrnLabel::BtnCtlClick},
                              {"BtnPrn", printerText.constData(), &TFrmPrnLabel::BtnPrnClick},
                              {"BtnFont", fontText.constData(), &TFrmPrnLabel::BtnFontClick}};
    for (const Bottom& b : bottoms) {
        QPushButton* button = parts::button<QPushButton>(this, b.name, b.text);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, h = b.handler] { guarded([&] { (this->*h)(); }); });
    }
    buttons->addStretch();

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 4);
    main->addWidget(bar);
    main->addWidget(scroll_, 1);
    main->addLayout(buttons);
    keepEnterFromButtons(this);
    rate_->setText(QString::asprintf("%3.1f", zoom_ / 10.0));
}

TFrmPrnLabel::~TFrmPrnLabel() = default;

std::vector<LabelText> TFrmPrnLabel::compose() {
    if (labelDate_ == -1) labelDate_ = zemo::today(ws_.clock);
    LabelSource source;
    source.plan = plan_;
    source.creatorId = fieldText(ws_.control.creatorId);
    source.labelDate = labelDate_;
    return composeLabel(labelLayoutFrom(ws_.control.labelBlock), source);
}

void TFrmPrnLabel::redraw() {
    texts_ = compose();
    const QSize size = labelPreviewSize(printer_.printer(), zoom_);
    image_ = labelPreview(texts_, labelLayoutFrom(ws_.control.labelBlock), font_, size, zoom_, devicePixelRatioF());
    image1_->setPixmap(QPixmap::fromImage(image_));
    image1_->resize(image_.deviceIndependentSize().toSize());
    rate_->setText(QString::asprintf("%3.1f", zoom_ / 10.0));
}

void TFrmPrnLabel::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    redraw();
}

void TFrmPrnLabel::closeEvent(QCloseEvent* e) {
    stored_ = font_;
    QDialog::closeEvent(e);
}

void TFrmPrnLabel::BtnEndClick() { close(); }

void TFrmPrnLabel::BtnPrintClick() {
    if (ws_.prompter.message(zemo::BoxKind::Confirmation, tr("ラベル印刷します。よろしいですか？").toStdString(),
                             zemo::Buttons::YesCancel) != zemo::Answer::Yes)
        return;
    if (labelDate_ == -1) labelDate_ = zemo::today(ws_.clock);
    LabelLayout layout = labelLayoutFrom(ws_.control.labelBlock);
    const bool asked = layout.dateInput == 1 || layout.titleInput == 1;
    if (asked) {
        input_->fill(labelDate_, fieldText(layout.labelTitle));
        input_->exec();
        if (!input_->confirmed()) return;
        labelDate_ = input_->date();
        setField(layout.labelTitle, input_->title(), TFrmLblInp::kTitleBytes);
        storeLabelLayout(ws_.control.labelBlock, layout);
    }
    if (printer_.ensureChosen(this)) {
        QPrinter& device = printer_.printerFor(PrintJob::Label);
        if (!printLabel(device, compose(), layout, font_)) {
            const QString where = device.outputFileName().isEmpty() ? device.printerName() : device.outputFileName();
            ws_.prompter.message(zemo::BoxKind::Error, tr("印刷を開始できません\n%1").arg(where).toStdString(), zemo::Buttons::Ok);
        }
    }
    if (asked) redraw();
}

void TFrmPrnLabel::BtnCtlClick() {
    if (!layoutDialog_) return;
    layoutDialog_->exec();
    if (layoutDialog_->layoutChanged()) redraw();
}

void TFrmPrnLabel::BtnPrnClick() {
    if (printer_.choose(this)) redraw();
}

void TFrmPrnLabel::BtnFontClick() {
    if (!chooseFontSetting(this, font_)) return;
    redraw();
}

void TFrmPrnLabel::BitBtnBigClick() {
    if (zoom_ >= kZoomMax) return;
    ++zoom_;
    redraw();
}

void TFrmPrnLabel::BitBtn1Click() {
    if (zoom_ <= kZoomMin) return;
    --zoom_;
    redraw();
}

}  // namespace zemo::ui
