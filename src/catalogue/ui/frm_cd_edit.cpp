// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ui/frm_cd_edit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QValidator>
#include <QVBoxLayout>

#include "catalogue/catalogue_access.h"
#include "catalogue/catalogue_editing.h"
#include "catalogue/ui/frm_cd_add.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/frm_cd_history.h"
#include "records/entry_checks.h"
#include "catalogue/ui/list_window_parts.h"
#include "platform/sjis.h"
#include "records/file_services.h"
#include "records/text.h"
#include "records/workspace.h"
#include "ui/dialog_keys.h"
#include "ui/field_checks.h"
#include "ui/window_parts.h"

namespace zemo::ui {

namespace {

constexpr std::int32_t kTimeMax = 999959;
constexpr std::int32_t kDateMax = 99999999;

const char* const kKindItems[] = {"1:ｼﾝｸﾞﾙ", "2:ｱﾙﾊﾞﾑ", "3:ﾋﾞﾃﾞｵ", "4:ﾚｰｻﾞｰ", "5:その他"};
const char* const kInfoKindItems[] = {"1:通常", "2:ﾀｲﾄﾙ", "3:両方"};

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

QLineEdit* lineEdit(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}

}  // namespace

TFrmCdEdit::TFrmCdEdit(Workspace& ws, WindowSettings& settings, QWidget* parent)
    : QDialog(parent), ws_(ws), settings_(settings) {
    setObjectName("FrmCdEdit");
    setWindowTitle(QStringLiteral("データ編集"));
    clearCdRecord(buffer_);
    clearCdRecord(copy_);

    auto* tools = new QWidget(this);
    tools->setObjectName("ToolBar");
    SpdBtnExit = parts::toolButton(tools, "SpdBtnExit", "終了");
    SpdBtnFind = parts::toolButton(tools, "SpdBtnFind", "検出");
    SpdBtnCopy = parts::toolButton(tools, "SpdBtnCopy", "コピー");
    SpdBtnPaste = parts::toolButton(tools, "SpdBtnPaste", "張り付け");
    SpdBtnUp = parts::toolButton<ModifierToolButton>(tools, "SpdBtnUp", "ＵＰ");
    SpdBtnDown = parts::toolButton<ModifierToolButton>(tools, "SpdBtnDown", "ＤＯＷＮ");
    auto* toolRow = new QHBoxLayout(tools);
    toolRow->setContentsMargins(0, 0, 0, 0);
    for (QToolButton* b : {SpdBtnExit, SpdBtnFind, SpdBtnCopy, SpdBtnPaste, static_cast<QToolButton*>(SpdBtnUp),
                           static_cast<QToolButton*>(SpdBtnDown)})
        toolRow->addWidget(b);
    toolRow->addStretch();

    auto* form = new QWidget(this);
    auto* grid = new QGridLayout(form);
    int row = 0;
    auto addRow = [&](const char* label, QWidget* field, QWidget* extra = nullptr) {
        auto* l = new QLabel(QString::fromUtf8(label), form);
        l->setBuddy(field);
        grid->addWidget(l, row, 0);
        grid->addWidget(field, row, 1);
        if (extra) grid->addWidget(extra, row, 2);
        ++row;
    };
    Edt_bcd = lineEdit(form, "Edt_bcd");
    Edt_ucd = lineEdit(form, "Edt_ucd");
    Edt_acd = lineEdit(form, "Edt_acd");
    Edt_ttl = lineEdit(form, "Edt_ttl");
    Edt_art = lineEdit(form, "Edt_art");
    Edt_tim = lineEdit(form, "Edt_tim");
    Lbl_timdt = new QLabel(form);
    Lbl_timdt->setObjectName("Lbl_timdt");
    Edt_date = lineEdit(form, "Edt_date");
    Edt_entry = lineEdit(form, "Edt_entry");
    Edt_open = lineEdit(form, "Edt_open");
    Edt_suu = lineEdit(form, "Edt_suu");
    Edt_pos = lineEdit(form, "Edt_pos");
    CBx_kind = new QComboBox(form);
    CBx_kind->setObjectName("CBx_kind");
    for (const char* item : kKindItems) CBx_kind->addItem(QString::fromUtf8(item));
    CBx_infk = new QComboBox(form);
    CBx_infk->setObjectName("CBx_infk");
    for (const char* item : kInfoKindItems) CBx_infk->addItem(QString::fromUtf8(item));
    SpBtndate = parts::toolButton(form, "SpBtndate", "今日の日付");
    SpBtnentry = parts::toolButton(form, "SpBtnentry", "今日の日付");
    SpBtnopen = parts::toolButton(form, "SpBtnopen", "発売日");

    codeField(Edt_bcd, kBarcodeMax);
    codeField(Edt_ucd, kUserCodeMax);
    codeField(Edt_acd, kArtistCodeMax);
    refuseBeyondSjisBytes(Edt_ttl, kTitleMax);
    refuseBeyondSjisBytes(Edt_art, kArtistMax);
    refuseBeyondSjisBytes(Edt_tim, 6);
    for (QLineEdit* e : {Edt_date, Edt_entry, Edt_open}) refuseBeyondSjisBytes(e, 8);
    for (QLineEdit* e : {Edt_suu, Edt_pos}) refuseBeyondSjisBytes(e, 2);

    addRow("ﾊﾞｰｺｰﾄﾞ", Edt_bcd);
    addRow("ﾕｰｻﾞｰｺｰﾄﾞ", Edt_ucd);
    addRow("ｱｰﾁｽﾄｺｰﾄﾞ", Edt_acd);
    addRow("ﾀｲﾄﾙ名", Edt_ttl);
    addRow("ｱｰﾁｽﾄ名", Edt_art);
    addRow("時間", Edt_tim, Lbl_timdt);
    addRow("発売日", Edt_date, SpBtndate);
    addRow("ﾃﾞｰﾀ登録日", Edt_entry, SpBtnentry);
    addRow("ﾚﾝﾀﾙ開始日", Edt_open, SpBtnopen);
    addRow("登録曲数", Edt_suu);
    addRow("登録位置", Edt_pos);
    addRow("種類", CBx_kind);
    addRow("属性", CBx_infk);
    grid->setColumnStretch(1, 1);

    auto* panel = new QWidget(this);
    panel->setObjectName("Panel1");
    BtnF01 = parts::button<QPushButton>(panel, "BtnF01", " 終了 ");
    BtnF06 = parts::button<QPushButton>(panel, "BtnF06", " 登録 ");
    BtnGagr = parts::button<QPushButton>(panel, "BtnGagr", "検出");
    BtnDelete = parts::button<QPushButton>(panel, "BtnDelete", "削除");
    BtnDel = parts::button<QPushButton>(panel, "BtnDel", "復活");
    BtnNew = parts::button<QPushButton>(panel, "BtnNew", "登録日");
    BtnAdd = parts::button<QPushButton>(panel, "BtnAdd", "追加");
    auto* buttons = new QHBoxLayout(panel);
    buttons->setContentsMargins(0, 0, 0, 0);
    for (QPushButton* b : {BtnF01, BtnF06, BtnGagr, BtnDelete, BtnDel, BtnNew, BtnAdd}) buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tools);
    layout->addWidget(form);
    layout->addWidget(panel);

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

TFrmCdEdit::~TFrmCdEdit() = default;

void TFrmCdEdit::setCatalogueWindow(TFrmCd_data* catalogue) {
    if (catalogue_) {
        disconnect(catalogue_, nullptr, this, nullptr);
        catalogue_->removeEventFilter(this);
    }
    catalogue_ = catalogue;
    if (catalogue_) {
        connect(catalogue_, &TFrmCd_data::currentSlotChanged, this, &TFrmCdEdit::followRow);
        connect(catalogue_, &QDialog::finished, this, [this] { hide(); });
        catalogue_->installEventFilter(this);
    }
    applyDoors();
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

void TFrmCdEdit::showBeside() {
    show();
    raise();
    activateWindow();
}

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
}

void TFrmCdEdit::followRow(int slot) {
    if (registering_) return;
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
    registering_ = true;
    int index = -1;
    const int result = registerCdRecord(ws_, *agreement_, built, index);
    registering_ = false;
    if (result == 0 && catalogue_) catalogue_->drawCatalogueRow(index);
}

void TFrmCdEdit::BtnDeleteClick() {
    if (!agreement_) return;
    if (showBox(ws_, BoxKind::Confirmation, "削除します。", Buttons::OkCancel) != Answer::Ok) return;
    FindSpec search;
    initFindSpec(search);
    int count = 0;
    if (collectBarcodeMatches(ws_, buffer_, search, count) != 0 || count == 0) return;
    FindSpec request;
    initFindSpec(request);
    request.agreeMode = 3;
    request.matchCount = count;
    const CdRecord key = buffer_;  // the window's deletions move the list's row, and with it the buffer
    agreement_->agree(ws_, request, key);
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
    const int slot = catalogue_->stepCatalogueRow(direction * step);
    followRow(slot);
}

}  // namespace zemo::ui
