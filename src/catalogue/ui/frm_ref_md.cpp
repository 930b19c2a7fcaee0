// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ui/frm_ref_md.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>
#include <string>

#include "catalogue/catalogue_access.h"
#include "catalogue/search.h"
#include "catalogue/ui/frm_cd_ref.h"
#include "records/entry_checks.h"
#include "platform/sjis.h"
#include "records/cd_record.h"
#include "records/text.h"
#include "records/window_settings.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/field_checks.h"
#include "ui/window_parts.h"
#include "ui_frm_ref_md.h"

namespace zemo::ui {

namespace {

constexpr int kKindItems = 6;  // "1:CDｼﾝｸﾞﾙ" .. "6:全て"
constexpr int kItemItems = 7;  // "1:ﾊﾞｰｺｰﾄﾞ" .. "7:ﾚﾝﾀﾙ開始"
constexpr int kDateBytes = 8;
constexpr std::int32_t kMaxDateEntry = 99999999;

// A code field: what is typed is upper-cased as it comes in, then held to the byte limit.
class UpperSjisValidator : public SjisFieldValidator {
public:
    using SjisFieldValidator::SjisFieldValidator;
    State validate(QString& input, int& pos) const override {
        for (QChar& c : input)
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = c.toUpper();
        return SjisFieldValidator::validate(input, pos);
    }
};

void limitUpper(QLineEdit* edit, int maxBytes) {
    edit->setMaxLength(32767);
    edit->setValidator(new UpperSjisValidator(edit, maxBytes));
}

QString fromUtf8(const std::string& s) { return QString::fromStdString(s); }

// A remembered text that its field cannot take is not shown: the field starts empty rather than
// searching with a text the user could not have typed.
QString rememberedText(const std::string& utf8, int maxBytes) {
    const ConvResult r = utf8ToSjisChecked(utf8);
    if (!r.ok || static_cast<int>(r.text.size()) > maxBytes) return {};
    return fromUtf8(utf8);
}

}  // namespace

TFrmRefMd::TFrmRefMd(Workspace& ws, WindowSettings& settings, TFrmCd_Ref& results, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(settings), results_(results), ui_(std::make_unique<Ui::TFrmRefMd>()) {
    ui_->setupUi(this);
    setModal(true);
    kind_ = parts::radioGroup(
        this, {ui_->RdGrpKind0, ui_->RdGrpKind1, ui_->RdGrpKind2, ui_->RdGrpKind3, ui_->RdGrpKind4, ui_->RdGrpKind5});
    item_ = parts::radioGroup(this, {ui_->RdGrpItem0, ui_->RdGrpItem1, ui_->RdGrpItem2, ui_->RdGrpItem3,
                                     ui_->RdGrpItem4, ui_->RdGrpItem5, ui_->RdGrpItem6});
    limitUpper(ui_->Edit_bcd, kBarcodeMax);
    limitUpper(ui_->Edit_ucd, kUserCodeMax);
    limitUpper(ui_->Edit_acd, kArtistCodeMax);
    refuseBeyondSjisBytes(ui_->Edit_art, kArtistMax);
    refuseBeyondSjisBytes(ui_->Edit_dst, kDateBytes);
    refuseBeyondSjisBytes(ui_->Edit_ded, kDateBytes);
    // The code fields take no double-byte characters from an input method.
    for (QLineEdit* e : {ui_->Edit_bcd, ui_->Edit_ucd, ui_->Edit_acd, ui_->Edit_dst, ui_->Edit_ded})
        e->setAttribute(Qt::WA_InputMethodEnabled, false);

    checks_ = new FieldChecks(this);
    checks_->add(ui_->Edit_bcd, [this] { return normalizeField(ui_->Edit_bcd); });
    checks_->add(ui_->Edit_ucd, [this] { return normalizeField(ui_->Edit_ucd); });
    checks_->add(ui_->Edit_acd, [this] { return normalizeField(ui_->Edit_acd); });
    checks_->add(ui_->Edit_dst, [this] { return Edit_dstExit(); });
    checks_->add(ui_->Edit_ded, [this] { return Edit_dedExit(); });

    keepEnterFromButtons(this);
    connect(ui_->BtnRun, &QPushButton::clicked, this, &TFrmRefMd::BtnRunClick);
    connect(ui_->BtnF01, &QPushButton::clicked, this, &TFrmRefMd::BtnF01Click);
    connect(ui_->SpBtnSt, &QToolButton::clicked, this, &TFrmRefMd::SpBtnStClick);
    connect(ui_->SpBtnEd, &QToolButton::clicked, this, &TFrmRefMd::SpBtnEdClick);
}

TFrmRefMd::~TFrmRefMd() = default;

void TFrmRefMd::allowMarks() { results_.setAllowMarks(true); }

bool TFrmRefMd::runSearch(ExtractSpec& request) {
    // The result window's mark permission is cleared however a search ends.
    parts::Finally marksBack{[this] { results_.setAllowMarks(false); }};
    const std::int16_t windowMode = request.windowMode;
    initExtractSpec(request);
    request.windowMode = windowMode;
    if (loadCatalogue(ws_) != 0) return false;

    exec();
    if (!confirmed_) return false;

    CdRecord key;
    buildRequest(request, key);
    if (searchCatalogue(ws_, key, request) != 0) return false;
    request.windowMode = windowMode;
    results_.showResults(request);
    return request.windowResult == 1;
}

void TFrmRefMd::buildRequest(ExtractSpec& request, CdRecord& key) const {
    const std::int16_t windowMode = request.windowMode;
    initExtractSpec(request);
    request.windowMode = windowMode;
    request.partialMatch = ui_->ChkBoxAgr->isChecked() ? 1 : 0;
    request.extractMode = 0;
    request.kindFilter = static_cast<std::int16_t>(std::max(kind_->checkedId(), 0));
    request.item = static_cast<std::int16_t>(std::max(item_->checkedId(), 0));
    request.dateFrom = dateFrom_;
    request.dateTo = dateTo_;
    clearCdRecord(key);
    // The validators keep every text within its field and within Shift-JIS.
    setField(key.barcode, utf8ToSjis(ui_->Edit_bcd->text().toStdString()), kBarcodeMax);
    setField(key.userCode, utf8ToSjis(ui_->Edit_ucd->text().toStdString()), kUserCodeMax);
    setField(key.artistCode, utf8ToSjis(ui_->Edit_acd->text().toStdString()), kArtistCodeMax);
    setField(key.artist, utf8ToSjis(ui_->Edit_art->text().toStdString()), kArtistMax);
}

void TFrmRefMd::showConditions() {
    const SearchConditions& c = settings_.refMd;
    kind_->button(std::clamp(c.kind, 0, kKindItems - 1))->setChecked(true);
    item_->button(std::clamp(c.item, 0, kItemItems - 1))->setChecked(true);
    ui_->Edit_bcd->setText(rememberedText(c.bcd, kBarcodeMax));
    ui_->Edit_ucd->setText(rememberedText(c.ucd, kUserCodeMax));
    ui_->Edit_acd->setText(rememberedText(c.acd, kArtistCodeMax));
    ui_->Edit_art->setText(rememberedText(c.art, kArtistMax));
    ui_->ChkBoxAgr->setChecked(c.agr);
    ui_->Edit_dst->setText(rememberedText(c.dst, kDateBytes));
    ui_->Edit_ded->setText(rememberedText(c.ded, kDateBytes));
}

void TFrmRefMd::rememberConditions() {
    SearchConditions& c = settings_.refMd;
    c.agr = ui_->ChkBoxAgr->isChecked();
    c.kind = std::max(kind_->checkedId(), 0);
    c.item = std::max(item_->checkedId(), 0);
    c.bcd = ui_->Edit_bcd->text().toStdString();
    c.ucd = ui_->Edit_ucd->text().toStdString();
    c.acd = ui_->Edit_acd->text().toStdString();
    c.art = ui_->Edit_art->text().toStdString();
    c.dst = ui_->Edit_dst->text().toStdString();
    c.ded = ui_->Edit_ded->text().toStdString();
}

void TFrmRefMd::showEvent(QShowEvent* e) {
    confirmed_ = false;
    showConditions();
    QDialog::showEvent(e);
    if (QAbstractButton* checked = kind_->checkedButton()) checked->setFocus(Qt::OtherFocusReason);
}

void TFrmRefMd::keyPressEvent(QKeyEvent* e) {
    if (enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);  // Esc: as 取消
}

bool TFrmRefMd::dateItemChosen() const { return item_->checkedId() >= kItemSaleDate; }

void TFrmRefMd::BtnRunClick() {
    // A field left or still focused is checked first; a refusal keeps the dialog open there.
    if (!checks_->checkBeforeClosing()) return;
    dateFrom_ = dateTo_ = 0;
    // The dates count only for a date item; a date that fails its check is corrected in the
    // dialog before anything is searched.
    if (dateItemChosen() && (!checks_->run(ui_->Edit_dst) || !checks_->run(ui_->Edit_ded))) return;
    rememberConditions();
    confirmed_ = true;
    accept();
}

void TFrmRefMd::BtnF01Click() {
    confirmed_ = false;
    reject();
}

void TFrmRefMd::SpBtnStClick() {
    ui_->Edit_dst->setText(QString::number(today(ws_.clock)));
    ui_->Edit_dst->setFocus(Qt::OtherFocusReason);
}

void TFrmRefMd::SpBtnEdClick() {
    ui_->Edit_ded->setText(QString::number(today(ws_.clock)));
    ui_->Edit_ded->setFocus(Qt::OtherFocusReason);
}

bool TFrmRefMd::normalizeField(QLineEdit* edit) {
    std::string sjis = utf8ToSjis(edit->text().toStdString());
    normalizeKey(sjis);
    const QString normal = QString::fromStdString(sjisToUtf8(sjis));
    if (normal != edit->text()) edit->setText(normal);
    return true;
}

bool TFrmRefMd::Edit_dstExit() {
    std::int32_t value = 0;
    if (checkDateInput(ws_, value, ui_->Edit_dst->text().toStdString(), 0, kMaxDateEntry) != 0) return false;
    dateFrom_ = value;
    return true;
}

bool TFrmRefMd::Edit_dedExit() {
    std::int32_t value = 0;
    if (checkDateInput(ws_, value, ui_->Edit_ded->text().toStdString(), 0, kMaxDateEntry) != 0) return false;
    dateTo_ = value;
    return true;
}

}  // namespace zemo::ui
