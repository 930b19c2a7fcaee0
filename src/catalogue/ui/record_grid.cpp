#include "catalogue/ui/record_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>
#include <array>

#include "platform/sjis.h"
#include "records/cd_record.h"
#include "records/text.h"
#include "records/workspace.h"
#include "shell/window_settings.h"
#include "ui/fonts.h"
#include "ui/window_place.h"

namespace zemo::ui {

namespace {

constexpr int kGridPixelSize = 16;

const std::array<const char*, kFullListColumns> kHeaders = {
    "",         "バーコード", "ユーザーコード", "アーチストコード", "タイトル", "アーチスト",
    "時間",     "発売日",     "ﾃﾞｰﾀ登録",       "ﾚﾝﾀﾙ開始",        "曲数",     "位置",
    "種類",     "属性",       "登録日付",       "削除日付",
};

// Design widths in characters of the 16-pixel face (a half-width character is 8 pixels): room
// for each field's stored width; the row-number column has the list's default width of 44.
const std::array<int, kFullListColumns> kDesignChars = {5, 14, 14, 16, 24, 20, 8, 10, 10, 10, 4, 4, 9, 8, 16, 16};

QString fromSjis(const std::string& s) { return QString::fromStdString(sjisToUtf8(s)); }

QString fromField(const char* field, std::size_t width) {
    return fromSjis(std::string(field, strnlen(field, width)));
}

QString twoDigits(int v) { return QString::asprintf("%2d", v); }

}  // namespace

QString recordCellText(const CdRecord& r, int column) {
    if (r.active == 0) return {};
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
    if (index.column() == 0) return QString::asprintf("%5d", index.row() + 1);
    const TCddataArray* array = ws_.array(kind_);
    // The arrays may have been recreated smaller since the last reset.
    if (!array || index.row() >= array->slotCount()) return {};
    return recordCellText((*array)[index.row()], index.column());
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
    if (section < 0 || section >= columns_) return {};
    return QString::fromUtf8(kHeaders[static_cast<std::size_t>(section)]);
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
    const int rows = shownRows_ < 0 ? capacity : std::min(shownRows_, capacity);
    if (rows == rows_) {
        redrawAll();
        return;
    }
    beginResetModel();
    rows_ = rows;
    endResetModel();
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
    horizontalHeader()->setHighlightSections(false);
    const int half = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < columns; ++c)
        horizontalHeader()->resizeSection(c, c == 0 ? 44 : kDesignChars[static_cast<std::size_t>(c)] * half + 8);
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
