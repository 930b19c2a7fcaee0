// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/ui/frm_lbpr_ctl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include "platform/sjis.h"
#include "records/cd_record.h"
#include "records/entry_checks.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/field_checks.h"
#include "ui/window_parts.h"
#include "ui_frm_lbpr_ctl.h"

namespace zemo::ui {

namespace {

constexpr int kTitleBytes = 60;

struct Preset {
    const char* read;
    const char* write;
    const char* caption;
};
constexpr Preset kPresetItems[TFrmLbprCtl::kPresets] = {{"R_SINGLE1", "W_SINGLE1", QT_TRANSLATE_NOOP("zemo::ui::TFrmLbprCtl", "ｼﾝｸﾞﾙﾃﾞｰﾀ1")},
                                                       {"R_SINGLE2", "W_SINGLE2", QT_TRANSLATE_NOOP("zemo::ui::TFrmLbprCtl", "ｼﾝｸﾞﾙﾃﾞｰﾀ2")},
                                                       {"R_ALBUM1", "W_ALBUM1", QT_TRANSLATE_NOOP("zemo::ui::TFrmLbprCtl", "ｱﾙﾊﾞﾑﾃﾞｰﾀ1")},
                                                       {"R_ALBUM2", "W_ALBUM2", QT_TRANSLATE_NOOP("zemo::ui::TFrmLbprCtl", "ｱﾙﾊﾞﾑﾃﾞｰﾀ2")}};

LabelLayout labelBlockOf(const zemo::SysControl& c) { return labelLayoutFrom(c.labelBlock); }

}  // namespace

void resetGeneralLabelDefaults(LabelLayout& l) {
    const LabelLayout d = defaultLabelLayout();
    l.reserved2 = d.reserved2;
    l.paperWidthChars = d.paperWidthChars;
    l.titleFeedV = d.titleFeedV;
    l.titleFeedH = d.titleFeedH;
    l.titlePrint = d.titlePrint;
    l.titleSpace = d.titleSpace;
    l.titleChars = d.titleChars;
    l.datePrint = d.datePrint;
    l.subtitleKind = d.subtitleKind;
    l.titleInput = d.titleInput;
    l.dateInput = d.dateInput;
}

TFrmLbprCtl::TFrmLbprCtl(zemo::Workspace& ws, QWidget* parent)
    : ControlDialog(ws, parent), ui_(std::make_unique<Ui::TFrmLbprCtl>()) {
    ui_->setupUi(this);
    ui_->Edit_pwidth->hide();
    orientation_ = parts::radioGroup(this, {ui_->RdoGrpVH0, ui_->RdoGrpVH1, ui_->RdoGrpVH2});
    refuseBeyondSjisBytes(ui_->Edit_lttl, kTitleBytes);

    using L = LabelLayout;
    auto general = [](std::int16_t L::*m) { return [m](L& l) -> std::int16_t& { return l.*m; }; };
    addNumeric(ui_->Edit_Tcrlf_v, 0, 999, 3, general(&L::titleFeedV));
    addNumeric(ui_->Edit_Tcrlf_h, 0, 999, 3, general(&L::titleFeedH));
    addNumeric(ui_->Edit_Ttlsp, 0, 999, 3, general(&L::titleSpace));
    addNumeric(ui_->Edit_Tmsuu, 0, 999, 3, general(&L::titleChars));
    addNumeric(ui_->Edit_pity, -99, 99, 3, general(&L::pitchY));
    addNumeric(ui_->Edit_pitx, -99, 99, 3, general(&L::pitchX));
    addNumeric(ui_->Edit_skpy, -99, 99, 3, general(&L::offsetY));
    addNumeric(ui_->Edit_skpx, -99, 99, 3, general(&L::offsetX));
    addNumeric(ui_->Edit_UVcrlf, 0, 999, 3, general(&L::userVerticalFeed));
    flags_.push_back({ui_->CkBx_Tlb, general(&L::titlePrint)});
    flags_.push_back({ui_->CkBx_Tday, general(&L::datePrint)});
    flags_.push_back({ui_->CkBx_Tdayi, general(&L::dateInput)});
    flags_.push_back({ui_->CkBx_Tinp, general(&L::titleInput)});
    flags_.push_back({ui_->CkBx_UVf, general(&L::userVertical)});

    // The two side pages: the vertical sub-record, then the horizontal one ("h" names).
    struct SideControls {
        QLineEdit *tcrlf, *tlsp, *dcrlf, *dlsp, *ttl, *art;
        QCheckBox *lb, *no, *part, *tim;
    };
    const SideControls pages[2][2] = {
        {{ui_->Edit_tcrlf_A, ui_->Edit_tlsp_A, ui_->Edit_dcrlf_A, ui_->Edit_dlsp_A, ui_->Edit_ttl_A, ui_->Edit_art_A,
          ui_->CkBx_lb_A, ui_->CkBx_no_A, ui_->CkBx_part_A, ui_->CkBx_tim_A},
         {ui_->Edit_tcrlf_B, ui_->Edit_tlsp_B, ui_->Edit_dcrlf_B, ui_->Edit_dlsp_B, ui_->Edit_ttl_B, ui_->Edit_art_B,
          ui_->CkBx_lb_B, ui_->CkBx_no_B, ui_->CkBx_part_B, ui_->CkBx_tim_B}},
        {{ui_->hEdit_tcrlf_A, ui_->hEdit_tlsp_A, ui_->hEdit_dcrlf_A, ui_->hEdit_dlsp_A, ui_->hEdit_ttl_A,
          ui_->hEdit_art_A, ui_->hCkBx_lb_A, ui_->hCkBx_no_A, ui_->hCkBx_part_A, ui_->hCkBx_tim_A},
         {ui_->hEdit_tcrlf_B, ui_->hEdit_tlsp_B, ui_->hEdit_dcrlf_B, ui_->hEdit_dlsp_B, ui_->hEdit_ttl_B,
          ui_->hEdit_art_B, ui_->hCkBx_lb_B, ui_->hCkBx_no_B, ui_->hCkBx_part_B, ui_->hCkBx_tim_B}}};
    for (int p = 0; p < 2; ++p) {
        LabelSides L::*sub = p == 0 ? &L::vertical : &L::horizontal;
        for (int s = 0; s < 2; ++s) {
            const SideControls& c = pages[p][s];
            auto side = [sub, s](std::int16_t LabelSide::*m) {
                return [sub, s, m](L& l) -> std::int16_t& { return (l.*sub).sides[s].*m; };
            };
            addNumeric(c.tcrlf, 0, 999, 3, side(&LabelSide::subtitleFeed));
            addNumeric(c.tlsp, 0, 999, 3, side(&LabelSide::subtitleSpace));
            addNumeric(c.dcrlf, 0, 999, 3, side(&LabelSide::dataFeed));
            addNumeric(c.dlsp, 0, 999, 3, side(&LabelSide::dataSpace));
            addNumeric(c.ttl, 0, 99, 2, side(&LabelSide::titleWidth));
            addNumeric(c.art, 0, 99, 2, side(&LabelSide::artistWidth));
            flags_.push_back({c.lb, side(&LabelSide::subtitlePrint)});
            flags_.push_back({c.no, side(&LabelSide::numberPrint)});
            flags_.push_back({c.tim, side(&LabelSide::timePrint)});
            flags_.push_back({c.part, [sub, s](L& l) -> std::int16_t& { return (l.*sub).artistPrint[s]; }});
        }
    }

    buildMenu();
    keepEnterFromButtons(this);
    connect(ui_->BtnF01, &QPushButton::clicked, this, [this] { close(); });
    connect(ui_->BtnF09, &QPushButton::clicked, this, &TFrmLbprCtl::BtnF09Click);
    connect(ui_->BtnF10, &QPushButton::clicked, this, &TFrmLbprCtl::BtnF10Click);
}

TFrmLbprCtl::~TFrmLbprCtl() = default;

void TFrmLbprCtl::addNumeric(QLineEdit* edit, int min, int max, int maxLength,
                             std::function<std::int16_t&(LabelLayout&)> field) {
    refuseBeyondSjisBytes(edit, maxLength);
    numerics_.push_back({edit, min, max, maxLength, std::move(field)});
    const std::size_t index = numerics_.size() - 1;
    checks_->add(edit, [this, index] { return numericExit(numerics_[index]); });
}

void TFrmLbprCtl::buildMenu() {
    menu_ = new QMenu(this);
    menu_->setObjectName("PupMnData");
    QMenu* read = menu_->addMenu(tr("読み込み"));
    read->setObjectName("DataRead");
    QMenu* write = menu_->addMenu(tr("書き込み"));
    write->setObjectName("DataWrite");
    for (int tag = 0; tag < kPresets; ++tag) {
        QAction* r = read->addAction(tr(kPresetItems[tag].caption));
        r->setObjectName(kPresetItems[tag].read);
        r->setData(tag);
        connect(r, &QAction::triggered, this, [this, tag] { R_SINGLE1Click(tag); });
        QAction* w = write->addAction(tr(kPresetItems[tag].caption));
        w->setObjectName(kPresetItems[tag].write);
        w->setData(tag);
        connect(w, &QAction::triggered, this, [this, tag] { W_SINGLE1Click(tag); });
    }
}

void TFrmLbprCtl::showEvent(QShowEvent* e) {
    changed_ = false;
    work_ = labelBlockOf(ws_.control);
    fillControls();
    ControlDialog::showEvent(e);
}

void TFrmLbprCtl::fillControls() {
    for (Numeric& n : numerics_) n.edit->setText(QString::number(n.field(work_)));
    for (Flag& f : flags_) f.box->setChecked(f.field(work_) != 0);
    ui_->CmbBox_sttl->setCurrentIndex(work_.subtitleKind >= 0 && work_.subtitleKind <= 2 ? work_.subtitleKind : -1);
    if (QAbstractButton* b = orientation_->button(work_.orientation)) {
        b->setChecked(true);
    } else {
        // A value the group does not know checks no item.
        orientation_->setExclusive(false);
        for (QAbstractButton* item : orientation_->buttons()) item->setChecked(false);
        orientation_->setExclusive(true);
    }
    ui_->Edit_lttl->setText(QString::fromStdString(sjisToUtf8(fieldText(work_.labelTitle))));
    ui_->Edit_pwidth->setText(QString::number(work_.paperWidthChars));
}

void TFrmLbprCtl::takeControls() {
    for (Flag& f : flags_) f.field(work_) = f.box->isChecked() ? 1 : 0;
    // A stored value the list or the group cannot show is kept as it is.
    if (ui_->CmbBox_sttl->currentIndex() >= 0) work_.subtitleKind = static_cast<std::int16_t>(ui_->CmbBox_sttl->currentIndex());
    if (orientation_->checkedId() >= 0) work_.orientation = static_cast<std::int16_t>(orientation_->checkedId());
    setField(work_.labelTitle, utf8ToSjis(ui_->Edit_lttl->text().toStdString()), kTitleBytes);
}

bool TFrmLbprCtl::numericExit(const Numeric& n) {
    std::int32_t value = 0;
    if (zemo::checkNumberInput(ws_, value, n.edit->text().toStdString(), n.min, n.max) != 0) return false;
    n.field(work_) = static_cast<std::int16_t>(value);
    return true;
}

void TFrmLbprCtl::BtnF09Click() { menu_->popup(ui_->BtnF09->mapToGlobal(QPoint(0, 0))); }

void TFrmLbprCtl::R_SINGLE1Click(int tag) {
    if (tag < 0 || tag >= kPresets) return;
    std::memcpy(ws_.control.labelBlock, ws_.control.labelPresets[tag], sizeof ws_.control.labelBlock);
    changed_ = true;
    work_ = labelBlockOf(ws_.control);
    fillControls();
}

void TFrmLbprCtl::W_SINGLE1Click(int tag) {
    if (tag < 0 || tag >= kPresets) return;
    std::memcpy(ws_.control.labelPresets[tag], ws_.control.labelBlock, sizeof ws_.control.labelBlock);
}

void TFrmLbprCtl::BtnF10Click() {
    if (ws_.prompter.message(zemo::BoxKind::Confirmation, tr("初期化します。").toStdString(), zemo::Buttons::OkCancel) != zemo::Answer::Ok)
        return;
    LabelLayout l = labelBlockOf(ws_.control);
    resetGeneralLabelDefaults(l);
    storeLabelLayout(ws_.control.labelBlock, l);
    work_ = l;
    fillControls();
}

bool TFrmLbprCtl::storeAnswered() {
    changed_ = true;
    takeControls();
    const LabelLayout work = work_;
    return storeAndSave([&] { storeLabelLayout(ws_.control.labelBlock, work); }) == 0;
}

void TFrmLbprCtl::discardAnswered() { changed_ = false; }

}  // namespace zemo::ui
