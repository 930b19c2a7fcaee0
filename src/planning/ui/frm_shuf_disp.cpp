// SPDX-License-Identifier: GPL-3.0-or-later
#include "planning/ui/frm_shuf_disp.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextLayout>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <unordered_map>

#include "planning/ui/frm_shuf_ctrl.h"
#include "planning/ui/frm_tape.h"
#include "planning/ui/press_button.h"
#include "platform/prompter.h"
#include "platform/sjis.h"
#include "printing/data_list.h"
#include "printing/ui/frm_prn_label.h"
#include "printing/ui/printer_text_device.h"
#include "records/text.h"
#include "records/workspace.h"
#include "ui/application.h"
#include "ui/dialog_keys.h"
#include "ui/fonts.h"
#include "ui/printer.h"
#include "ui/window_parts.h"
#include "ui_frm_shuf_disp.h"

namespace zemo::ui {

namespace {

constexpr int kMinColumns = 80;
constexpr int kMinRowsOfW = 64;  // the minimum height in cell widths

QMenu* menuOf(QWidget* owner, const char* name, std::initializer_list<std::pair<const char*, const char*>> items,
              const std::function<void(int)>& chosen) {
    auto* m = new QMenu(owner);
    m->setObjectName(name);
    int tag = 0;
    for (const auto& [item, text] : items) {
        QAction* a = m->addAction(QCoreApplication::translate("zemo::ui::TFrmShufDisp", text));
        a->setObjectName(item);
        a->setData(tag);
        QObject::connect(a, &QAction::triggered, owner, [chosen, tag] { guarded([&] { chosen(tag); }); });
        ++tag;
    }
    return m;
}

}  // namespace

// Drawing a character with QPainter::drawText shapes it anew every time, and the shaping costs
// several times the drawing: a plan of 30 CDs is some thousand characters per step. A character
// laid out once is drawn through the same text item path, so the pixels are the same.
struct TFrmShufDisp::CharLayouts {
    struct Laid {
        QTextLayout layout;
        qreal ascent = 0;  // of the laid line, whose baseline drawText would be given
    };
    QFont font;
    std::unordered_map<unsigned, std::unique_ptr<Laid>> laid;  // by the CP932 bytes of the character

    const Laid& of(std::string_view ch) {
        const unsigned key = ch.size() == 2 ? (static_cast<unsigned char>(ch[0]) << 8 | static_cast<unsigned char>(ch[1]))
                                            : static_cast<unsigned char>(ch[0]);
        std::unique_ptr<Laid>& slot = laid[key];
        if (!slot) {
            slot = std::make_unique<Laid>();
            slot->layout.setText(QString::fromStdString(zemo::sjisToUtf8(ch)));
            slot->layout.setFont(font);
            slot->layout.setCacheEnabled(true);
            slot->layout.beginLayout();
            QTextLine line = slot->layout.createLine();
            line.setLineWidth(1e6);
            slot->layout.endLayout();
            slot->ascent = line.ascent();
        }
        return *slot;
    }
    // A new font starts afresh; so does a cache that long titles have filled with rare characters.
    void use(const QFont& f) {
        if (f == font && laid.size() < 4096) return;
        font = f;
        laid.clear();
    }
};

SideBar::SideBar(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(fontMetrics().height() + 6);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SideBar::setSide(const QString& side) {
    side_ = side;
    update();
}

void SideBar::setSum(std::int32_t sum, std::int32_t lo, std::int32_t hi, std::int32_t scale) {
    sum_ = sum;
    lo_ = lo;
    hi_ = hi;
    scale_ = std::max<std::int32_t>(1, scale);
    shown_ = true;
    setToolTip(text());
    update();
}

QColor SideBar::fillColour() const { return inside() ? QColor(0x2e, 0xa0, 0x43) : QColor(0xd0, 0x60, 0x20); }

QString SideBar::text() const {
    if (!shown_) return side_;
    const QString time = QString::fromStdString(zemo::sjisToUtf8(zemo::formatTimeShort(sum_))).trimmed();
    return QStringLiteral("%1 %2").arg(side_, time);
}

QSize SideBar::sizeHint() const { return {240, fontMetrics().height() + 6}; }

void SideBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Room for the widest side name and time; a translated side name may be wider than "W面".
    const int label = std::max(fontMetrics().horizontalAdvance(QStringLiteral("W面 000:00")),
                               fontMetrics().horizontalAdvance(side_ + QStringLiteral(" 000:00"))) +
                      8;
    const QRect bar(label, 2, std::max(1, width() - label - 4), height() - 4);
    p.drawText(QRect(0, 0, label, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    p.fillRect(bar, palette().base());
    p.setPen(palette().mid().color());
    p.drawRect(bar.adjusted(0, 0, -1, -1));
    if (!shown_) return;
    auto x = [&](std::int32_t v) {
        const double f = std::clamp(static_cast<double>(v) / scale_, 0.0, 1.0);
        return bar.left() + static_cast<int>(f * (bar.width() - 1));
    };
    p.fillRect(QRect(QPoint(bar.left(), bar.top() + 2), QPoint(x(sum_), bar.bottom() - 2)), fillColour());
    p.setPen(QPen(palette().text().color(), 1));
    for (const std::int32_t end : {lo_, hi_}) p.drawLine(x(end), bar.top(), x(end), bar.bottom());
}

TFrmShufDisp::TFrmShufDisp(zemo::Workspace& ws, FontSetting& font, QWidget* parent)
    : QDialog(parent), ws_(ws), stored_(font), font_(font), engine_(ws), results_(engine_),
      ui_(std::make_unique<Ui::TFrmShufDisp>()), chars_(std::make_unique<CharLayouts>()) {
    ui_->setupUi(this);
    engine_.stopRequested = false;
    bar_ = ui_->ToolBar1;
    buttons_ = ui_->Buttons;
    scroll_ = ui_->ScrollBox1;
    image1_ = ui_->Image1;
    exact_ = ui_->Lbl_Exact;
    exact_->setContentsMargins(4, 2, 4, 2);
    bars_[0] = ui_->Bar_A;
    bars_[1] = ui_->Bar_B;
    bars_[0]->setSide(tr("A面"));
    bars_[1]->setSide(tr("B面"));
    shuf2_ = menuOf(this, "PupMnshuf2", {{"NOSHUF", QT_TRANSLATE_NOOP("zemo::ui::TFrmShufDisp", "振分無")}, {"HALF", QT_TRANSLATE_NOOP("zemo::ui::TFrmShufDisp", "２分割")}, {"K1", QT_TRANSLATE_NOOP("zemo::ui::TFrmShufDisp", "取り消")}},
                    [this](int tag) { chooseShuf2(tag); });
    shufAB_ = menuOf(this, "PupMnshufAB",
                     {{"SHUF_A", QT_TRANSLATE_NOOP("zemo::ui::TFrmShufDisp", "A 面ｼｬｯﾌﾙ")}, {"SHUF_B", QT_TRANSLATE_NOOP("zemo::ui::TFrmShufDisp", "B 面ｼｬｯﾌﾙ")}, {"SHUF_AB", QT_TRANSLATE_NOOP("zemo::ui::TFrmShufDisp", "AB面ｼｬｯﾌﾙ")},
                      {"SHUF_ABCancel", QT_TRANSLATE_NOOP("zemo::ui::TFrmShufDisp", "取り消し")}},
                     [this](int tag) { chooseShufAB(tag); });
    bestItem_ = new QAction(tr("最適解"), shuf2_);
    bestItem_->setObjectName("MBestPlan");
    shuf2_->insertAction(shuf2_->findChild<QAction*>("K1"), bestItem_);
    connect(bestItem_, &QAction::triggered, this, [this] { guarded([&] { chooseBest(); }); });
    buildToolBar();
    connectButtons();
    keepEnterFromButtons(this);
    paintImage();
    showExact();
}

void TFrmShufDisp::buildToolBar() {
    parts::addToolButtons<TFrmShufDisp>(bar_, this,
                                        {{"SpdBtnExit", QT_TR_NOOP("終了"), QT_TR_NOOP("終了"), &TFrmShufDisp::BtnEndClick},
                                         {"SpdBtnPrint", QT_TR_NOOP("印刷"), QT_TR_NOOP("印刷"), &TFrmShufDisp::BtnPrintClick},
                                         {"SpdBtnLabel", QT_TR_NOOP("ラベル印刷"), QT_TR_NOOP("ﾗﾍﾞﾙ"), &TFrmShufDisp::BtnLabelClick},
                                         {"SpdBtnShufset", QT_TR_NOOP("結果設定"), QT_TR_NOOP("結設定"), &TFrmShufDisp::BtnSSetClick},
                                         {"SpdBtnShuf_U", QT_TR_NOOP("振り分け次"), QT_TR_NOOP("次"), &TFrmShufDisp::SpdBtnShuf_UClick},
                                         {"SpdBtnShuf_D", QT_TR_NOOP("振り分け前"), QT_TR_NOOP("前"), &TFrmShufDisp::SpdBtnShuf_DClick},
                                         {"SpdBtnFont", QT_TR_NOOP("フォント"), QT_TR_NOOP("ﾌｫﾝﾄ"), &TFrmShufDisp::BtnFontClick},
                                         {"SpdBtnProperty", QT_TR_NOOP("設定"), QT_TR_NOOP("設定"), &TFrmShufDisp::BtnCtlClick},
                                         {"SpdBtnTape", QT_TR_NOOP("ＴＡＰＥ時間"), QT_TR_NOOP("TAPE"), &TFrmShufDisp::BtnTapeClick}});
    QToolButton* half = parts::toolButton(bar_, "SpdBtnShufhalf", QT_TR_NOOP("振り分け２"), QT_TR_NOOP("振分２"));
    QToolButton* shuffle = parts::toolButton(bar_, "SpdBtnShuffle", QT_TR_NOOP("シャッフル"), QT_TR_NOOP("ｼｬｯﾌﾙ"));
    QToolButton* best = parts::toolButton(bar_, "SpdBtnBest", QT_TR_NOOP("最適解"), QT_TR_NOOP("最適解"));
    // The table holds the Japanese sources; each button shows its translation.
    for (QToolButton* b : bar_->findChildren<QToolButton*>()) {
        if (!b->text().isEmpty()) b->setText(tr(b->text().toUtf8().constData()));
        if (!b->toolTip().isEmpty()) b->setToolTip(tr(b->toolTip().toUtf8().constData()));
    }
    best->setText(tr("最適解"));
    best->setToolTip(tr("全探索で見つけたプラン"));
    bar_->addWidget(half);
    bar_->addWidget(best);
    bar_->addWidget(shuffle);
    connect(best, &QToolButton::clicked, this, [this] { guarded([&] { chooseBest(); }); });
    connect(half, &QToolButton::clicked, this, [this, half] { popup(shuf2_, half, true); });
    connect(shuffle, &QToolButton::clicked, this, [this, shuffle] { popup(shufAB_, shuffle, true); });
    bestButtons_[0] = best;
}

void TFrmShufDisp::connectButtons() {
    const struct {
        QPushButton* button;
        void (TFrmShufDisp::*handler)();
    } commands[] = {{ui_->BtnEnd, &TFrmShufDisp::BtnEndClick},   {ui_->BtnPrint, &TFrmShufDisp::BtnPrintClick},
                    {ui_->BtnLabel, &TFrmShufDisp::BtnLabelClick}, {ui_->BtnSSet, &TFrmShufDisp::BtnSSetClick},
                    {ui_->BtnFont, &TFrmShufDisp::BtnFontClick}, {ui_->BtnCtl, &TFrmShufDisp::BtnCtlClick},
                    {ui_->BtnTape, &TFrmShufDisp::BtnTapeClick},   {ui_->BtnBest, &TFrmShufDisp::chooseBest}};
    for (const auto& c : commands)
        connect(c.button, &QPushButton::clicked, this, [this, h = c.handler] { guarded([&] { (this->*h)(); }); });
    // The press steps, not the click: Shift is read from the press itself.
    ui_->BtnShuf->onPress = [this](Qt::KeyboardModifiers m) { guarded([&] { BtnShufMouseDown(m); }); };
    QPushButton* shuf2 = ui_->BtnShuf2;
    QPushButton* dshuf = ui_->BtnDShuf;
    connect(shuf2, &QPushButton::clicked, this, [this, shuf2] { popup(shuf2_, shuf2, false); });
    connect(dshuf, &QPushButton::clicked, this, [this, dshuf] { popup(shufAB_, dshuf, false); });
    bestButtons_[1] = ui_->BtnBest;
}

TFrmShufDisp::~TFrmShufDisp() { engine_.onPoll = nullptr; }

template <typename F>
void TFrmShufDisp::run(F&& step) {
    if (running_) return;
    {
        running_ = true;
        setCommandsEnabled(false);
        QElapsedTimer since;
        since.start();
        polls_ = 0;
        // At the first poll, then only now and then: the search polls far more often than
        // events need handling.
        engine_.onPoll = [this, &since] {
            if (polls_++ != 0 && ((polls_ & 0x3F) != 0 || since.elapsed() < 15)) return;
            since.restart();
            QCoreApplication::processEvents();
        };
        parts::Finally restore{[this] {
            engine_.onPoll = nullptr;
            setCommandsEnabled(true);
            running_ = false;
        }};
        step();
    }
    paintImage();
    showExact();
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        close();
    }
}

void TFrmShufDisp::setCommandsEnabled(bool on) {
    bar_->setEnabled(on);
    buttons_->setEnabled(on);
}

int TFrmShufDisp::openFor() {
    if (running_) return -1;
    if (engine_.buildSelection() != 0 || engine_.selection.count <= 0) return -1;
    show();
    raise();
    activateWindow();
    int rc = -1;
    run([&] { rc = results_.openResults(); });
    if (rc != 0) hide();
    return rc;
}

void TFrmShufDisp::closeOnListChange() {
    if (running_) {
        closeAfterRun_ = true;
        return;
    }
    if (isVisible()) close();
}

void TFrmShufDisp::paintImage() {
    const QFont font = fontOfSetting(font_);
    const QFontMetrics metrics(font);
    cell_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('a')));
    const int w = cell_;
    const int pitch = 2 * w;
    // The cells as drawn, so the drawn text can be read back line by line.
    std::vector<std::string> cells;
    int columns = 0;
    for (const zemo::ImageText& t : results_.image().texts()) {
        if (t.line < 0 || t.col < 0) continue;
        if (static_cast<int>(cells.size()) <= t.line) cells.resize(static_cast<std::size_t>(t.line) + 1);
        columns = std::max(columns, t.col + static_cast<int>(t.text.size()));
    }
    const int lines = static_cast<int>(cells.size());
    // Every drawn line can be scrolled to, however many the plan has.
    const int lastBottom = lines == 0 ? 0 : (lines - 1) * pitch + std::max(pitch, metrics.height());
    const QSize panel = scroll_->viewport()->size();
    const int width = std::max({kMinColumns * w, columns * w, panel.width()});
    const int height = std::max({kMinRowsOfW * w, lastBottom, panel.height()});
    // Drawn at the screen's pixel density, so that text stays sharp on a high-density screen.
    const qreal dpr = devicePixelRatioF();
    image_ = QImage(QSize(width, height) * dpr, QImage::Format_RGB32);
    image_.setDevicePixelRatio(dpr);
    image_.fill(Qt::white);
    QPainter p(&image_);
    p.setFont(font);
    p.setPen(colourOfSetting(font_.color));
    p.setBackgroundMode(Qt::TransparentMode);
    chars_->use(font);
    const int ascent = metrics.ascent();
    for (const zemo::ImageText& t : results_.image().texts()) {
        if (t.line < 0 || t.col < 0) continue;
        std::string& row = cells[static_cast<std::size_t>(t.line)];
        int col = t.col;
        for (std::size_t i = 0; i < t.text.size();) {
            const bool dbl = zemo::isLeadByte(static_cast<unsigned char>(t.text[i])) && i + 1 < t.text.size();
            const std::string ch = t.text.substr(i, dbl ? 2 : 1);
            i += ch.size();
            if (ch != " ") {
                const CharLayouts::Laid& laid = chars_->of(ch);
                laid.layout.draw(&p, QPointF(col * w, t.line * pitch + ascent - laid.ascent));
                if (row.size() < static_cast<std::size_t>(col) + ch.size()) row.resize(col + ch.size(), ' ');
                row.replace(static_cast<std::size_t>(col), ch.size(), ch);
            }
            col += static_cast<int>(ch.size());
        }
    }
    p.end();
    drawn_.clear();
    for (std::string& row : cells) {
        while (!row.empty() && row.back() == ' ') row.pop_back();
        drawn_.push_back(QString::fromStdString(zemo::sjisToUtf8(row)));
    }
    image1_->setPixmap(QPixmap::fromImage(image_));
    image1_->resize(image_.deviceIndependentSize().toSize());
}

QString TFrmShufDisp::exactLine() const {
    if (engine_.selection.count <= 0) return {};
    const zemo::ExactResult& r = results_.exact();
    switch (r.exists) {
        case zemo::ExactAnswer::Yes: {
            QString line = tr("全探索: 有効秒差内のプランがあります");
            if (results_.searchFailed()) line += tr("　「最適解」で表示できます");
            return line;
        }
        case zemo::ExactAnswer::No: {
            QString line = tr("全探索: 有効秒差内のプランはありません");
            if (r.toleranceFound == zemo::ExactAnswer::Yes) {
                const QString mss = QStringLiteral("%1:%2").arg(r.minTolerance / 60).arg(r.minTolerance % 60, 2, 10, QLatin1Char('0'));
                line += tr("（必要な有効秒差 %1）").arg(mss);
            } else if (r.toleranceFound == zemo::ExactAnswer::No) {
                line += tr("（3時間以内では足りません）");
            }
            return line;
        }
        case zemo::ExactAnswer::Unchecked: break;
    }
    return tr("全探索: 対象外（3時間を超えます）");
}

void TFrmShufDisp::showExact() {
    exact_->setText(exactLine());
    // The bars follow the plan as the last redraw left it, whichever distribution made it.
    const zemo::ShufTape& plan = results_.plan();
    const std::int32_t sums[2] = {zemo::listTime(plan, plan.sideA, plan.countA), zemo::listTime(plan, plan.sideB, plan.countB)};
    const zemo::ExactResult& r = results_.exact();
    const std::int32_t scale = std::max({r.hi, sums[0], sums[1]}) + std::max<std::int32_t>(60, r.hi / 10);
    for (int side = 0; side < 2; ++side) bars_[side]->setSum(sums[side], r.lo, r.hi, scale);
    const bool best = results_.bestAvailable();
    bestItem_->setEnabled(best);
    for (QWidget* b : bestButtons_) b->setEnabled(best);
}

void TFrmShufDisp::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    paintImage();
}

void TFrmShufDisp::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        results_.requestStop();
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TFrmShufDisp::reject() {
    if (running_) return;
    QDialog::reject();
}

void TFrmShufDisp::closeEvent(QCloseEvent* e) {
    if (running_) {
        e->ignore();
        return;
    }
    stored_ = font_;
    QDialog::closeEvent(e);
}

void TFrmShufDisp::popup(QMenu* menu, QWidget* button, bool below) {
    menu->popup(button->mapToGlobal(below ? QPoint(0, button->height()) : QPoint(0, 0)));
}

void TFrmShufDisp::BtnEndClick() { close(); }

void TFrmShufDisp::BtnPrintClick() {
    if (!results_.canPrint() || !results_.confirmPrint()) return;
    const std::vector<std::string> lines = results_.printoutLines();
    if (lines.empty()) return;
    ProgramPrinter* printer = printer_;
    if (!printer) {
        ZemoApplication* app = ZemoApplication::current();
        if (!app) return;
        printer = &app->printer();
    }
    if (!printer->ensureChosen(this)) return;
    PrinterTextDevice device(printer->printerFor(PrintJob::Plan));
    if (!device.open(zemo::kDataListFont, zemo::kDataListPointSize)) {
        QPrinter& q = printer->printer();
        const QString where = q.outputFileName().isEmpty() ? q.printerName() : q.outputFileName();
        ws_.prompter.message(zemo::BoxKind::Error, "印刷を開始できません\n" + where.toStdString(), zemo::Buttons::Ok);
        return;
    }
    for (const std::string& l : lines) {
        device.write(l);
        device.endLine();
    }
    device.flush();
    device.close();
}

// A plan that the last redraw found inconsistent shows that box again and opens no label.
void TFrmShufDisp::BtnLabelClick() {
    if (!label_ || !results_.labelAllowed()) return;
    label_->setPlan(&results_.plan());
    label_->exec();
}

void TFrmShufDisp::BtnSSetClick() {
    // An inconsistent plan is refused before the question (the box comes from the write-back).
    if (results_.lastIntegrityCode() != 0) {
        results_.writePlanBack();
        return;
    }
    if (!results_.confirmWriteBack()) return;
    if (results_.writePlanBack() == 0) {
        showExact();
        emit wroteBack();
    }
}

void TFrmShufDisp::SpdBtnShuf_UClick() {
    run([&] { results_.stepNext(); });
}

void TFrmShufDisp::SpdBtnShuf_DClick() {
    run([&] { results_.stepPrevious(); });
}

void TFrmShufDisp::BtnShufMouseDown(Qt::KeyboardModifiers modifiers) {
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    run([&] { results_.pressShuffleButton(shift); });
}

void TFrmShufDisp::chooseShuf2(int tag) {
    if (tag != zemo::kMenuNoShuffle && tag != zemo::kMenuHalf) return;
    run([&] { results_.chooseShuf2(tag); });
}

void TFrmShufDisp::chooseShufAB(int tag) {
    if (tag < zemo::kMenuShufA || tag > zemo::kMenuShufAB) return;
    run([&] { results_.chooseShufAB(tag); });
}

void TFrmShufDisp::chooseBest() {
    if (!results_.bestAvailable()) return;
    run([&] { results_.chooseBest(); });
}

void TFrmShufDisp::BtnCtlClick() {
    if (!settings_ || !settings_->execReloaded()) return;
    run([&] { results_.settingsSaved(); });
}

void TFrmShufDisp::BtnTapeClick() {
    if (!tape_) return;
    tape_->prefillTapeDialog(engine_.ctl.targetSec);
    tape_->exec();
    if (const auto target = tape_->chosenTarget()) run([&] { results_.applyTapeTarget(*target); });
}

void TFrmShufDisp::BtnFontClick() {
    if (!chooseFontSetting(this, font_)) return;
    paintImage();
}

}  // namespace zemo::ui
