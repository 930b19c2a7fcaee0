// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grid every record-list window shows: one row per slot of a record array, read from the
// array when a cell is painted (never one item per cell), with the row number in column 0 and
// 14, 15 or 16 columns in all. Column 0 is fixed: it stays at the left edge when the grid is
// scrolled sideways.
#include <QAbstractTableModel>
#include <QTableView>
#include <optional>
#include <string>
#include <vector>

#include "records/record_array.h"

namespace zemo {
class Workspace;
struct CdRecord;
struct WindowSettings;
}  // namespace zemo

namespace zemo::ui {

// Column counts of the record lists: the catalogue-style lists, the new-record history, the
// deleted-record history and the record display.
inline constexpr int kListColumns = 14;
inline constexpr int kNewListColumns = 15;
inline constexpr int kFullListColumns = 16;

// The text of one cell of a record (column 1..15) as the grid shows it; "" for a record that is
// not in use.
QString recordCellText(const CdRecord& r, int column);

class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // rows: the number of slots shown (normally the kind's capacity).
    RecordTableModel(Workspace& ws, int kind, int columns, QObject* parent = nullptr);

    int kind() const { return kind_; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Shows the array again: every row (after a sort or a read), or one slot.
    void redrawAll();
    void redrawRow(int slot);
    // The number of rows follows the kind's capacity (after the database size changed).
    void followCapacity();
    // A fixed number of rows instead of the capacity (rows beyond the array show empty).
    void setRows(int rows);

    // Records of the model's own instead of the kind's array (a file shown without loading it
    // into a list), one row per slot up to rows.
    void showOwnRecords(TCddataArray records, int rows);

    // Marks in column 0: with marks shown, the row number is " %4d", or "*%4d" when marked.
    void showMarks(bool on);
    bool marked(int slot) const;
    void setMarked(int slot, bool on);
    void clearMarks();
    bool anyMarked() const;
    // The marked slots in row order.
    std::vector<int> markedSlots() const;

    // Shows a fixed number of rows instead (at most the kind's slots); -1 follows the capacity.
    void setShownRows(int rows);

private:
    const TCddataArray* shownArray() const;

    Workspace& ws_;
    int kind_;
    int columns_;
    int rows_;
    std::optional<TCddataArray> own_;
    bool marksShown_ = false;
    std::vector<bool> marks_;  // by slot
    int shownRows_ = -1;
};

class RecordGrid : public QTableView {
    Q_OBJECT
public:
    RecordGrid(Workspace& ws, int kind, int columns, QWidget* parent = nullptr);

    RecordTableModel* records() const { return model_; }

    // The slot of the current row, -1 when no data row is current.
    int currentSlot() const;
    // Makes a slot's row current and selected; with toTop the row is scrolled to the top.
    void selectSlot(int slot, bool toTop = false);
    // Scrolls so that the current row is visible (keeping the top row when it already is).
    void showCurrentRow();
    // The first row scrolled into view, as a slot.
    int topSlot() const;

    // Column widths 1..n from and into the window settings under a section ("DEdit_M", ...).
    void applyWidths(const WindowSettings& settings, const std::string& section);
    void storeWidths(WindowSettings& settings, const std::string& section) const;

    // Column 0 is always in view: a point over it is in column 0 however far the grid is scrolled,
    // and scrolling to a row-number cell moves the rows only.
    QModelIndex indexAt(const QPoint& pos) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    // The current row changed, however it changed (click, keys, sort, read, program).
    void currentSlotChanged(int slot);
    // Double click or Enter on a data row.
    void rowActivated(int slot);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void updateGeometries() override;

private:
    // A second view over the same model and selection that shows only column 0, laid over the
    // left edge of the viewport; it takes no focus and lets the mouse through to the grid.
    void makeFixedColumn();
    void placeFixedColumn();

    RecordTableModel* model_;
    QTableView* fixed_ = nullptr;
    int lastReported_ = -2;
};

}  // namespace zemo::ui
