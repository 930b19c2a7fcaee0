// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ui/frm_cd_edit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QValidator>

#include "catalogue/catalogue_access.h"
#include "catalogue/catalogue_editing.h"
#include "catalogue/ui/frm_cd_add.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/frm_cd_history.h"
#include "records/entry_checks.h"
#include "catalogue/ui/list_window_parts.h"
#include "catalogue/ui/record_grid.h"
#include "platform/sjis.h"
#include "records/file_services.h"
#include "records/text.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/field_checks.h"
#include "ui/window_parts.h"
#include "ui/window_place.h"
#include "ui_frm_cd_edit.h"

namespace zemo::ui {

namespace {

constexpr std::int32_t kTimeMax = 999959;
constexpr std::int32_t kDateMax = 99999999;

std::string utf8(const QLineEdit* e) { return e->text().toStdString(); }

template <std::size_t N>
QString fieldQText(const char (&field)[N]) {
    return QString::fromStdString(sjisToUtf8(fieldText(field)));
}

int doubleByteCount(const QString& text) {
    int n = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const ConvResult c = utf8ToSjisChecked(text.mid(i, len).toStdString());
        if (c.ok && c.text.size() > 1) ++n;
        i += len;
    }
    return n;
}

// The code fields: single-byte characters only (half-width katakana pass), letters upper-cased as
// typed, at most maxBytes bytes. What would break a rule is refused whole, never cut; a text the
// program puts in is kept as it is, and edits that do not make it worse are taken.
class CodeFieldValidator : public QValidator {
public:
    CodeFieldValidator(QLineEdit* edit, int maxBytes) : QValidator(edit), before_(edit->text()), maxBytes_(maxBytes) {
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { before_ = text; });
    }
    State validate(QString& input, int&) const override {
        for (QChar& c : input)
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
        const int bad = unencodableCount(input);
        const int wide = doubleByteCount(input);
        const int bytes = sjisByteLength(input);
        if (bad > unencodableCount(before_) || wide > doubleByteCount(before_)) return Invalid;
        if (bytes > maxBytes_ && bytes > sjisByteLength(before_)) return Invalid;
        return (bad == 0 && wide == 0 && bytes <= maxBytes_) ? Acceptable : Intermediate;
    }

private:
    QString before_;
    int maxBytes_;
};

void codeField(QLineEdit* edit, int maxBytes) {
    edit->setMaxLength(32767);
    edit->setValidator(new CodeFieldValidator(edit, maxBytes));
    // Double-byte characters are refused here, so the input method stays off.
    edit->setAttribute(Qt::WA_InputMethodEnabled, false);
    edit->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhPreferUppercase | Qt::ImhNoPredictiveText);
}

}  // namespace

TFrmCdEdit::TFrmCdEdit(Workspace& ws, WindowSettings& settings, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(settings), ui_(std::make_unique<Ui::TFrmCdEdit>()) {
    ui_->setupUi(this);
    dressToolButtons(this);
    takeControls();
    clearCdRecord(buffer_);
    clearCdRecord(copy_);

    codeField(Edt_bcd, kBarcodeMax);
    codeField(Edt_ucd, kUserCodeMax);
    codeField(Edt_acd, kArtistCodeMax);
    refuseBeyondSjisBytes(Edt_ttl, kTitleMax);
    refuseBeyondSjisBytes(Edt_art, kArtistMax);
    refuseBeyondSjisBytes(Edt_tim, 6);
    for (QLineEdit* e : {Edt_date, Edt_entry, Edt_open}) refuseBeyondSjisBytes(e, 8);
    for (QLineEdit* e : {Edt_suu, Edt_pos}) refuseBeyondSjisBytes(e, 2);

    checks_ = new FieldChecks(this);
    checks_->add(Edt_bcd, [this] { return codeExit(Edt_bcd); });
    checks_->add(Edt_ucd, [this] { return codeExit(Edt_ucd); });
    checks_->add(Edt_acd, [this] { return codeExit(Edt_acd); });
    checks_->add(Edt_tim, [this] { return timeExit(); });
    checks_->add(Edt_date, [this] { return dateExit(Edt_date); });
    checks_->add(Edt_entry, [this] { return dateExit(Edt_entry); });
    checks_->add(Edt_open, [this] { return dateExit(Edt_open); });
    checks_->add(Edt_suu, [this] { return numberExit(Edt_suu, 1, 99); });
    checks_->add(Edt_pos, [this] { return numberExit(Edt_pos, 1, 99); });

    keepEnterFromButtons(this);
    connect(SpdBtnExit, &QToolButton::clicked, this, &QDialog::close);
    connect(BtnF01, &QPushButton::clicked, this, &QDialog::close);
    connect(BtnF06, &QPushButton::clicked, this, &TFrmCdEdit::BtnF06Click);
    connect(BtnGagr, &QPushButton::clicked, this, &TFrmCdEdit::BtnGagrClick);
    connect(SpdBtnFind, &QToolButton::clicked, this, &TFrmCdEdit::BtnGagrClick);
    connect(BtnDelete, &QPushButton::clicked, this, &TFrmCdEdit::BtnDeleteClick);
    connect(BtnDel, &QPushButton::clicked, this, &TFrmCdEdit::BtnDelClick);
    connect(BtnNew, &QPushButton::clicked, this, &TFrmCdEdit::BtnNewClick);
    connect(BtnAdd, &QPushButton::clicked, this, &TFrmCdEdit::BtnAddClick);
    connect(SpBtndate, &QToolButton::clicked, this, &TFrmCdEdit::SpBtndateClick);
    connect(SpBtnentry, &QToolButton::clicked, this, &TFrmCdEdit::SpBtnentryClick);
    connect(SpBtnopen, &QToolButton::clicked, this, &TFrmCdEdit::SpBtnopenClick);
    connect(SpdBtnCopy, &QToolButton::clicked, this, &TFrmCdEdit::SpdBtnCopyClick);
    connect(SpdBtnPaste, &QToolButton::clicked, this, &TFrmCdEdit::SpdBtnPasteClick);
    // The step is taken on the press, with the modifiers of that press.
    SpdBtnUp->onMousePress = [this](Qt::KeyboardModifiers m) { stepRows(-1, m); };
    SpdBtnDown->onMousePress = [this](Qt::KeyboardModifiers m) { stepRows(+1, m); };

    showInEditor(buffer_, -1);
    applyDoors();
}

void TFrmCdEdit::takeControls() {
    Edt_bcd = ui_->Edt_bcd;
    Edt_ucd = ui_->Edt_ucd;
    Edt_acd = ui_->Edt_acd;
    Edt_ttl = ui_->Edt_ttl;
    Edt_art = ui_->Edt_art;
    Edt_tim = ui_->Edt_tim;
    Lbl_timdt = ui_->Lbl_timdt;
    Edt_date = ui_->Edt_date;
    Edt_entry = ui_->Edt_entry;
    Edt_open = ui_->Edt_open;
    Edt_suu = ui_->Edt_suu;
    Edt_pos = ui_->Edt_pos;
    CBx_kind = ui_->CBx_kind;
    CBx_infk = ui_->CBx_infk;
    SpBtndate = ui_->SpBtndate;
    SpBtnentry = ui_->SpBtnentry;
    SpBtnopen = ui_->SpBtnopen;
    SpdBtnExit = ui_->SpdBtnExit;
    SpdBtnFind = ui_->SpdBtnFind;
    SpdBtnCopy = ui_->SpdBtnCopy;
    SpdBtnPaste = ui_->SpdBtnPaste;
    SpdBtnUp = ui_->SpdBtnUp;
    SpdBtnDown = ui_->SpdBtnDown;
    BtnF01 = ui_->BtnF01;
    BtnF06 = ui_->BtnF06;
    BtnGagr = ui_->BtnGagr;
    BtnDelete = ui_->BtnDelete;
    BtnDel = ui_->BtnDel;
    BtnNew = ui_->BtnNew;
    BtnAdd = ui_->BtnAdd;
}

TFrmCdEdit::~TFrmCdEdit() = default;

void TFrmCdEdit::setCatalogueWindow(TFrmCd_data* catalogue) {
    if (catalogue_) {
        disconnect(catalogue_, nullptr, this, nullptr);
        catalogue_->removeEventFilter(this);
    }
    catalogue_ = catalogue;
    if (catalogue_) connectCatalogueWindow();
    applyDoors();
}

void TFrmCdEdit::connectCatalogueWindow() {
    connect(catalogue_, &TFrmCd_data::currentSlotChanged, this, &TFrmCdEdit::followRow);
    connect(catalogue_, &QDialog::finished, this, [this] {
        hide();
        // The next opening starts from the list's row, not from what was left here.
        shownTexts_ = fieldTexts();
    });
    connect(catalogue_, &TFrmCd_data::runningChanged, this, &TFrmCdEdit::lockCommands);
    catalogue_->installEventFilter(this);
}

void TFrmCdEdit::lockCommands(bool locked) {
    // A record registered or deleted meanwhile could land in a slot the loop has not reached yet.
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isWindow()) w->setEnabled(!locked);
}

void TFrmCdEdit::setSearch(std::function<bool(ExtractSpec&)> search) {
    search_ = std::move(search);
    applyDoors();
}

void TFrmCdEdit::setHistories(TFrmCd_New* added, TFrmCd_Del* deleted) {
    newWindow_ = added;
    delWindow_ = deleted;
    applyDoors();
}

void TFrmCdEdit::setAddWindow(TFrmCd_Add* add) {
    addWindow_ = add;
    applyDoors();
}

void TFrmCdEdit::applyDoors() {
    BtnF06->setEnabled(agreement_ != nullptr);
    BtnDelete->setEnabled(agreement_ != nullptr);
    BtnGagr->setEnabled(bool(search_));
    SpdBtnFind->setEnabled(bool(search_));
    BtnDel->setEnabled(delWindow_ != nullptr);
    BtnNew->setEnabled(newWindow_ != nullptr);
    BtnAdd->setEnabled(addWindow_ != nullptr);
    SpdBtnUp->setEnabled(catalogue_ != nullptr);
    SpdBtnDown->setEnabled(catalogue_ != nullptr);
}

bool TFrmCdEdit::eventFilter(QObject* watched, QEvent* e) {
    // The list opened for editing brings the editor up beside it.
    if (watched == catalogue_ && e->type() == QEvent::Show && catalogue_->openMode() == TFrmCd_data::kEditMode)
        showBeside();
    return QDialog::eventFilter(watched, e);
}

void TFrmCdEdit::showBeside() { zemo::ui::showBeside(this, catalogue_); }

void TFrmCdEdit::showTime(std::int32_t seconds) {
    Lbl_timdt->setText(QStringLiteral("(%1)").arg(QString::fromStdString(formatTimeLong(seconds))));
}

void TFrmCdEdit::showInEditor(const CdRecord& record, int slot) {
    buffer_ = record;
    slot_ = slot;
    Edt_bcd->setText(fieldQText(record.barcode));
    Edt_ucd->setText(fieldQText(record.userCode));
    Edt_acd->setText(fieldQText(record.artistCode));
    Edt_ttl->setText(fieldQText(record.title));
    Edt_art->setText(fieldQText(record.artist));
    Edt_tim->setText(QString::number(secondsToMmss(record.timeSec)));
    Edt_date->setText(QString::number(record.saleDate));
    Edt_entry->setText(QString::number(record.entryDate));
    Edt_open->setText(QString::number(record.openDate));
    Edt_suu->setText(QString::number(record.trackCount));
    Edt_pos->setText(QString::number(record.trackPos));
    CBx_kind->setCurrentIndex(record.kind >= 0 && record.kind < CBx_kind->count() ? record.kind : -1);
    CBx_infk->setCurrentIndex(record.infoKind >= 0 && record.infoKind < CBx_infk->count() ? record.infoKind : -1);
    showTime(record.timeSec);
    shownTexts_ = fieldTexts();
}

QStringList TFrmCdEdit::fieldTexts() const {
    QStringList texts;
    for (const QLineEdit* e : {Edt_bcd, Edt_ucd, Edt_acd, Edt_ttl, Edt_art, Edt_tim, Edt_date, Edt_entry, Edt_open,
                               Edt_suu, Edt_pos})
        texts << e->text();
    texts << QString::number(CBx_kind->currentIndex()) << QString::number(CBx_infk->currentIndex());
    return texts;
}

bool TFrmCdEdit::hasUnregisteredChanges() const { return isVisible() && fieldTexts() != shownTexts_; }

bool TFrmCdEdit::mayDiscardChanges() {
    if (!hasUnregisteredChanges()) return true;
    const std::string question = tr("登録していない変更を破棄しますか？").toStdString();
    if (showBox(ws_, BoxKind::Confirmation, question, Buttons::YesNoDefaultNo) != Answer::Yes) return false;
    shownTexts_ = fieldTexts();  // let go: whatever comes next may replace them
    return true;
}

void TFrmCdEdit::putListRowBack() {
    auto back = [this] {
        if (!catalogue_ || slot_ < 0) return;
        puttingRowBack_ = true;
        catalogue_->grid()->selectSlot(slot_);
        puttingRowBack_ = false;
    };
    back();
    // A mouse press selects the clicked row after it has made it current: once more when the
    // press is over, so that the selection and the current row agree again.
    QMetaObject::invokeMethod(this, back, Qt::QueuedConnection);
}

void TFrmCdEdit::followRow(int slot) {
    if (keepShown_ || puttingRowBack_) return;
    if (hasUnregisteredChanges()) {
        // The same row drawn again (a sort, a read, its record erased) leaves the typing alone;
        // another row replaces it only when the user lets it go, else the list goes back.
        if (slot == slot_) return;
        if (!mayDiscardChanges()) {
            putListRowBack();
            return;
        }
    }
    CdRecord r;
    if (slot < 0 || catalogueArray(ws_).get(slot, r) != 0) clearCdRecord(r);
    showInEditor(r, slot);
}

void TFrmCdEdit::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (enterMovesFocus(this, e)) return;
    QDialog::keyPressEvent(e);
}

void TFrmCdEdit::closeEvent(QCloseEvent* e) {
    // The list closing hides the editor without asking; the user closing it runs the due check,
    // whose refusal is shown but never keeps the editor open.
    checks_->checkOnLeaving();
    QDialog::closeEvent(e);
}

bool TFrmCdEdit::fieldsSettled() { return checks_->checkBeforeClosing(); }

// --- field checks on leaving ---

bool TFrmCdEdit::codeExit(QLineEdit* edit) {
    std::string text = utf8ToSjis(utf8(edit));
    normalizeKey(text);
    const QString normal = QString::fromStdString(sjisToUtf8(text));
    if (normal != edit->text()) edit->setText(normal);
    return true;
}

bool TFrmCdEdit::timeExit() {
    std::int32_t v = 0;
    if (checkTimeInput(ws_, v, utf8(Edt_tim), 0, kTimeMax) != 0) return false;
    showTime(mmssToSeconds(v));
    return true;
}

bool TFrmCdEdit::dateExit(QLineEdit* edit) {
    std::int32_t v = 0;
    return checkDateInput(ws_, v, utf8(edit), 0, kDateMax) == 0;
}

bool TFrmCdEdit::numberExit(QLineEdit* edit, int min, int max) {
    std::int32_t v = 0;
    return checkNumberInput(ws_, v, utf8(edit), min, max) == 0;
}

// --- commands ---

void TFrmCdEdit::BtnF06Click() {
    if (!agreement_ || !fieldsSettled()) return;
    EditorFields f;
    f.barcode = utf8(Edt_bcd);
    f.userCode = utf8(Edt_ucd);
    f.artistCode = utf8(Edt_acd);
    f.title = utf8(Edt_ttl);
    f.artist = utf8(Edt_art);
    f.time = utf8(Edt_tim);
    f.saleDate = utf8(Edt_date);
    f.entryDate = utf8(Edt_entry);
    f.openDate = utf8(Edt_open);
    f.trackCount = utf8(Edt_suu);
    f.trackPos = utf8(Edt_pos);
    f.kind = CBx_kind->currentIndex();
    f.infoKind = CBx_infk->currentIndex();
    // Built aside: a field that does not convert leaves the buffer as it was.
    CdRecord built;
    const int made = buildEditorRecord(f, built);
    if (made != 0) {
        showBox(ws_, BoxKind::Error, buildErrorMessage(made), Buttons::Ok);
        return;
    }
    buffer_ = built;
    // The agreement window may empty the list's current row meanwhile; the record being registered
    // stays in the fields until the registration is over.
    keepShown_ = true;
    int index = -1;
    const int result = registerCdRecord(ws_, *agreement_, built, index);
    keepShown_ = false;
    if (result == 0) {
        shownTexts_ = fieldTexts();  // registered: nothing left to lose
        if (catalogue_) catalogue_->drawCatalogueRow(index);
    }
    zemo::ui::bringForward(this);
}

void TFrmCdEdit::BtnDeleteClick() {
    if (!agreement_) return;
    if (showBox(ws_, BoxKind::Confirmation, tr("削除します。").toStdString(), Buttons::OkCancel) != Answer::Ok) return;
    FindSpec search;
    initFindSpec(search);
    int count = 0;
    if (collectBarcodeMatches(ws_, buffer_, search, count) != 0 || count == 0) return;
    FindSpec request;
    initFindSpec(request);
    request.agreeMode = 3;
    request.matchCount = count;
    // The deletions empty list rows, the current one too; the editor goes on showing the record
    // they were made for.
    const CdRecord key = buffer_;
    keepShown_ = true;
    agreement_->agree(ws_, request, key);
    keepShown_ = false;
}

void TFrmCdEdit::BtnGagrClick() {
    if (!search_ || !fieldsSettled()) return;
    ExtractSpec request;
    initExtractSpec(request);
    request.windowMode = 2;
    if (!search_(request)) return;
    CdRecord r;
    if (referenceArray(ws_).get(request.selectedRow, r) == 0) showInEditor(r, slot_);
}

void TFrmCdEdit::BtnDelClick() {
    if (!delWindow_ || delWindow_->loadList() != 0) return;
    if (delWindow_->takeRecord()) showInEditor(delWindow_->taken(), slot_);
}

void TFrmCdEdit::BtnNewClick() {
    if (!newWindow_ || newWindow_->loadList() != 0) return;
    if (newWindow_->takeRecord()) showInEditor(newWindow_->taken(), slot_);
}

void TFrmCdEdit::BtnAddClick() {
    if (!addWindow_) return;
    if (addWindow_->takeRecord()) showInEditor(addWindow_->taken(), slot_);
}

void TFrmCdEdit::SpBtndateClick() {
    Edt_date->setText(QString::number(today(ws_.clock)));
    Edt_date->setFocus();
}

void TFrmCdEdit::SpBtnentryClick() {
    Edt_entry->setText(QString::number(today(ws_.clock)));
    Edt_entry->setFocus();
}

void TFrmCdEdit::SpBtnopenClick() {
    Edt_open->setText(Edt_date->text());
    Edt_open->setFocus();
}

void TFrmCdEdit::SpdBtnCopyClick() { copy_ = buffer_; }

void TFrmCdEdit::SpdBtnPasteClick() { showInEditor(copy_, slot_); }

void TFrmCdEdit::stepRows(int direction, Qt::KeyboardModifiers modifiers) {
    if (!catalogue_) return;
    const int step = modifiers.testFlag(Qt::ShiftModifier) ? 10 : modifiers.testFlag(Qt::ControlModifier) ? 100 : 1;
    const int row = catalogue_->currentSlot() + 1;  // grid rows count from 1
    const int lastRow = catalogueArray(ws_).capacity();
    if (row < 1) return;
    if (direction < 0 && step >= row) return;
    if (direction > 0 && row + step > lastRow) return;
    if (!mayDiscardChanges()) return;
    const int slot = catalogue_->stepCatalogueRow(direction * step);
    followRow(slot);
    zemo::ui::bringForward(this);
}

}  // namespace zemo::ui
