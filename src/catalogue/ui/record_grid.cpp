// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ui/record_grid.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QFontMetrics>
#include <algorithm>
#include <array>

#include "platform/sjis.h"
#include "records/cd_record.h"
#include "records/text.h"
#include "records/window_settings.h"
#include "records/workspace.h"
#include "ui/fonts.h"
#include "ui/window_place.h"

namespace zemo::ui {

namespace {

constexpr int kGridPixelSize = 16;

// Column headings are window texts (the cells are data).
const std::array<const char*, kFullListColumns> kHeaders = {
    "",
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "バーコード"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "ユーザーコード"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "アーチストコード"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "タイトル"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "アーチスト"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "時間"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "発売日"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "ﾃﾞｰﾀ登録"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "ﾚﾝﾀﾙ開始"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "曲数"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "位置"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "種類"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "属性"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "登録日付"),
    QT_TRANSLATE_NOOP("zemo::ui::RecordGrid", "削除日付"),
};

// Design widths: room for a typical cell of each column in the grid's face (the stored widths of
// the text fields would make the grid wider than any screen; the user widens a column as needed).
const std::array<const char*, kFullListColumns> kDesignSamples = {
    "00000",      "00000000000000", "00000000000000", "MMMMMMMMMMMM", "タイトルタイトルタイトル", "アーチストアーチスト",
    "00000:00",   "0000/00/00",     "0000/00/00",     "0000/00/00",   "000",                      "000",
    "5:その他",   "3:両方",         "0000/00/00 00:00", "0000/00/00 00:00"};

QString fromSjis(const std::string& s) { return QString::fromStdString(sjisToUtf8(s)); }

QString fromField(const char* field, std::size_t width) {
    return fromSjis(std::string(field, strnlen(field, width)));
}

QString headerText(int column) {
    return QCoreApplication::translate("zemo::ui::RecordGrid", kHeaders[static_cast<std::size_t>(column)]);
}

QString twoDigits(int v) { return QString::asprintf("%2d", v); }

}  // namespace

QString recordCellText(const CdRecord& r, int column) {
    if (!isInUse(r)) return {};
    switch (column) {
        case 1: return fromField(r.barcode, sizeof r.barcode);
        case 2: return fromField(r.userCode, sizeof r.userCode);
        case 3: return fromField(r.artistCode, sizeof r.artistCode);
        case 4: return fromField(r.title, sizeof r.title);
        case 5: return fromField(r.artist, sizeof r.artist);
        case 6: return QString::fromStdString(formatTimeLong(r.timeSec));
        case 7: return QString::fromStdString(formatDate(r.saleDate));
        case 8: return QString::fromStdString(formatDate(r.entryDate));
        case 9: return QString::fromStdString(formatDate(r.openDate));
        case 10: return twoDigits(r.trackCount);
        case 11: return twoDigits(r.trackPos);
        case 12: return fromSjis(recordKindName(r.kind));
        case 13: return fromSjis(infoKindName(r.infoKind));
        case 14: return QString::fromStdString(formatStamp(r.registeredAt));
        case 15: return QString::fromStdString(formatStamp(r.deletedAt));
    }
    return {};
}

RecordTableModel::RecordTableModel(Workspace& ws, int kind, int columns, QObject* parent)
    : QAbstractTableModel(parent), ws_(ws), kind_(kind), columns_(columns), rows_(ws.capacity(kind)) {}

int RecordTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int RecordTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

QVariant RecordTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole && index.column() == 0)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    if (index.column() == 0) {
        if (!marksShown_) return QString::asprintf("%5d", index.row() + 1);
        return QString::asprintf(marked(index.row()) ? "*%4d" : " %4d", index.row() + 1);
    }
    const TCddataArray* array = shownArray();
    // The arrays may have been recreated smaller since the last reset.
    if (!array || index.row() >= array->slotCount()) return {};
    return recordCellText((*array)[index.row()], index.column());
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    if (section < 0 || section >= columns_) return {};
    return headerText(section);
}

Qt::ItemFlags RecordTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void RecordTableModel::redrawAll() {
    if (rows_ == 0 || columns_ == 0) return;
    emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1), {Qt::DisplayRole});
}

void RecordTableModel::redrawRow(int slot) {
    if (slot < 0 || slot >= rows_) return;
    emit dataChanged(index(slot, 0), index(slot, columns_ - 1), {Qt::DisplayRole});
}

void RecordTableModel::setShownRows(int rows) {
    shownRows_ = rows;
    followCapacity();
}

void RecordTableModel::followCapacity() {
    const int capacity = ws_.capacity(kind_);
    setRows(shownRows_ < 0 ? capacity : std::min(shownRows_, capacity));
}

void RecordTableModel::setRows(int rows) {
    rows = std::max(rows, 0);
    if (rows == rows_) {
        redrawAll();
        return;
    }
    beginResetModel();
    rows_ = rows;
    endResetModel();
}

const TCddataArray* RecordTableModel::shownArray() const { return own_ ? &*own_ : ws_.array(kind_); }

void RecordTableModel::showOwnRecords(TCddataArray records, int rows) {
    beginResetModel();
    own_ = std::move(records);
    rows_ = std::max(rows, 0);
    endResetModel();
}

void RecordTableModel::showMarks(bool on) {
    marksShown_ = on;
    if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, 0), {Qt::DisplayRole});
}

bool RecordTableModel::marked(int slot) const {
    return slot >= 0 && static_cast<std::size_t>(slot) < marks_.size() && marks_[static_cast<std::size_t>(slot)];
}

void RecordTableModel::setMarked(int slot, bool on) {
    if (slot < 0) return;
    if (static_cast<std::size_t>(slot) >= marks_.size()) {
        if (!on) return;
        marks_.resize(static_cast<std::size_t>(slot) + 1, false);
    }
    marks_[static_cast<std::size_t>(slot)] = on;
    if (slot < rows_) emit dataChanged(index(slot, 0), index(slot, 0), {Qt::DisplayRole});
}

void RecordTableModel::clearMarks() {
    marks_.clear();
    if (marksShown_ && rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, 0), {Qt::DisplayRole});
}

bool RecordTableModel::anyMarked() const { return std::find(marks_.begin(), marks_.end(), true) != marks_.end(); }

std::vector<int> RecordTableModel::markedSlots() const {
    std::vector<int> out;
    for (std::size_t i = 0; i < marks_.size(); ++i)
        if (marks_[i]) out.push_back(static_cast<int>(i));
    return out;
}

RecordGrid::RecordGrid(Workspace& ws, int kind, int columns, QWidget* parent)
    : QTableView(parent), model_(new RecordTableModel(ws, kind, columns, this)) {
    setModel(model_);
    setFont(minchoPixelFont(kGridPixelSize));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    // Fixed row heights keep 10,000 rows as cheap as ten: no row is measured.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Sideways by pixels: the column beside the fixed one can always be brought fully into view.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    horizontalHeader()->setHighlightSections(false);
    const QFontMetrics metrics(font());
    for (int c = 0; c < columns; ++c) {
        const QString sample = QString::fromUtf8(kDesignSamples[static_cast<std::size_t>(c)]);
        const QString header = headerText(c);
        const int width = std::max(metrics.horizontalAdvance(sample), horizontalHeader()->fontMetrics().horizontalAdvance(header));
        horizontalHeader()->resizeSection(c, width + 14);
    }
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        const int slot = currentSlot();
        if (slot == lastReported_) return;
        lastReported_ = slot;
        emit currentSlotChanged(slot);
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        lastReported_ = -2;
        emit currentSlotChanged(currentSlot());
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& i) {
        if (i.isValid()) emit rowActivated(i.row());
    });
    makeFixedColumn();
}

void RecordGrid::makeFixedColumn() {
    fixed_ = new QTableView(this);
    fixed_->setObjectName("FixedColumn");
    fixed_->setModel(model_);
    fixed_->setSelectionModel(selectionModel());
    fixed_->setFocusPolicy(Qt::NoFocus);
    fixed_->setAttribute(Qt::WA_TransparentForMouseEvents);
    fixed_->setFrameShape(QFrame::NoFrame);
    fixed_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fixed_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The grid does the scrolling; the fixed column only follows it.
    fixed_->setAutoScroll(false);
    fixed_->setSelectionBehavior(QAbstractItemView::SelectRows);
    fixed_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fixed_->setWordWrap(false);
    fixed_->verticalHeader()->hide();
    fixed_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    fixed_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    fixed_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    fixed_->horizontalHeader()->setHighlightSections(false);
    auto showColumnZeroOnly = [this] {
        for (int c = 1; c < model_->columnCount(); ++c) fixed_->setColumnHidden(c, true);
        placeFixedColumn();
    };
    showColumnZeroOnly();
    // A reset shows every section of a header again.
    connect(model_, &QAbstractItemModel::modelReset, this, showColumnZeroOnly);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section) {
        if (section == 0) placeFixedColumn();
    });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, fixed_->verticalScrollBar(), &QScrollBar::setValue);
    viewport()->stackUnder(fixed_);
}

void RecordGrid::placeFixedColumn() {
    const int width = columnWidth(0);
    fixed_->setColumnWidth(0, width);
    const bool headed = !horizontalHeader()->isHidden();
    fixed_->horizontalHeader()->setFixedHeight(headed ? horizontalHeader()->height() : 0);
    const QRect area = viewport()->geometry();
    const int top = headed ? horizontalHeader()->y() : area.y();
    fixed_->setGeometry(area.x(), top, std::min(width, area.width()), area.bottom() + 1 - top);
    fixed_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void RecordGrid::updateGeometries() {
    QTableView::updateGeometries();
    if (fixed_) placeFixedColumn();
}

QModelIndex RecordGrid::indexAt(const QPoint& pos) const {
    if (pos.x() >= 0 && pos.x() < columnWidth(0)) {
        const int row = rowAt(pos.y());
        return row < 0 ? QModelIndex() : model_->index(row, 0);
    }
    return QTableView::indexAt(pos);
}

void RecordGrid::scrollTo(const QModelIndex& index, ScrollHint hint) {
    const int sideways = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (!index.isValid()) return;
    // The row-number cell is in view at any sideways position: only the rows move to it.
    if (index.column() == 0) {
        horizontalScrollBar()->setValue(sideways);
        return;
    }
    // Any other cell comes out from under the fixed column.
    const int hidden = columnWidth(0) - visualRect(index).left();
    if (hidden > 0) horizontalScrollBar()->setValue(horizontalScrollBar()->value() - hidden);
}

int RecordGrid::currentSlot() const {
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void RecordGrid::selectSlot(int slot, bool toTop) {
    if (slot < 0 || slot >= model_->rowCount()) return;
    const QModelIndex i = model_->index(slot, 0);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(i, toTop ? QAbstractItemView::PositionAtTop : QAbstractItemView::EnsureVisible);
}

void RecordGrid::showCurrentRow() {
    const QModelIndex i = currentIndex();
    if (i.isValid()) scrollTo(i, QAbstractItemView::EnsureVisible);
}

int RecordGrid::topSlot() const { return rowAt(0); }

void RecordGrid::applyWidths(const WindowSettings& settings, const std::string& section) {
    auto it = settings.widths.find(section);
    if (it != settings.widths.end()) applyColumnWidths(horizontalHeader(), it->second);
}

void RecordGrid::storeWidths(WindowSettings& settings, const std::string& section) const {
    std::vector<int>& widths = settings.widths[section];
    if (widths.size() < static_cast<std::size_t>(model_->columnCount() - 1))
        widths.resize(static_cast<std::size_t>(model_->columnCount() - 1), -1);
    storeColumnWidths(horizontalHeader(), widths);
}

void RecordGrid::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && currentSlot() >= 0) {
        emit rowActivated(currentSlot());
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}

}  // namespace zemo::ui
