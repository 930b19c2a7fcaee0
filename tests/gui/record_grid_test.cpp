// SPDX-License-Identifier: GPL-3.0-or-later
// The record grid's model under Qt's model checker: whatever the list windows do to it (redraws,
// marks, a shown-row limit, a new database size, records of its own), every index, count and
// change signal it gives stays consistent with what it reports.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

#include "app/cli/cli_common.h"
#include "catalogue/ui/record_grid.h"
#include "gui/dialogs_support.h"
#include "platform/clock.h"
#include "records/cd_record.h"
#include "records/control_file.h"
#include "records/record_array.h"
#include "records/workspace.h"
#include "support/scripted_prompter.h"

namespace zemo::ui {
namespace {

using guitest::TempDir;

// What the model checker reports (it logs each problem as a warning of its own category).
QStringList& checkerReports() {
    static QStringList reports;
    return reports;
}

void collectCheckerReports(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg && QString::fromUtf8(context.category) == "qt.modeltest")
        checkerReports().append(text);
}

CdRecord inUse(const std::string& barcode) {
    CdRecord r;
    clearCdRecord(r);
    setField(r.barcode, barcode);
    r.active = 1;
    return r;
}

class RecordGridModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        initControlDefaults(ws);
        ws.createArrays(1);
        checkerReports().clear();
        previous_ = qInstallMessageHandler(collectCheckerReports);
    }
    void TearDown() override { qInstallMessageHandler(previous_); }

    TempDir tmp{"zemo-grid-model"};
    ScriptedPrompter prompter;
    FixedClock clock{LocalTime{2024, 6, 1, 10, 0, 0}};
    Workspace ws{prompter, clock, tmp.path()};

private:
    QtMessageHandler previous_ = nullptr;
};

TEST_F(RecordGridModelTest, EveryChangeTheListWindowsMakeKeepsTheModelConsistent) {
    struct Case {
        int kind;
        int columns;
    };
    const Case cases[] = {
        {kKindCatalogue, kListColumns},
        {kKindNew, kNewListColumns},
        {kKindDeleted, kFullListColumns},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ws.createArrays(1);
        RecordGrid grid(ws, c.kind, c.columns);
        RecordTableModel* model = grid.records();
        QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Warning);
        const int capacity = ws.capacity(c.kind);
        ASSERT_GT(capacity, 3);
        ASSERT_EQ(model->rowCount(), capacity);

        (*ws.array(c.kind))[0] = inUse("A1");
        (*ws.array(c.kind))[capacity - 1] = inUse("Z9");
        model->redrawAll();
        // The first and last rows, and slots on either side of the rows (ignored).
        for (int slot : {0, capacity - 1, -1, capacity}) model->redrawRow(slot);
        grid.selectSlot(capacity - 1, true);

        model->showMarks(true);
        model->setMarked(1, true);
        model->setMarked(capacity - 1, true);
        model->setMarked(capacity, true);  // beyond the rows: kept, not drawn
        model->setMarked(capacity + 5, false);
        model->clearMarks();
        model->showMarks(false);

        // A shown-row limit, at the capacity, beyond it, and back to following it.
        for (int rows : {3, capacity, capacity + 1, -1}) model->setShownRows(rows);
        EXPECT_EQ(model->rowCount(), capacity);

        // A new database size: the arrays grow, then shrink below the rows still shown.
        ws.changeDatabaseSize(2);
        model->followCapacity();
        EXPECT_EQ(model->rowCount(), ws.capacity(c.kind));
        ws.changeDatabaseSize(1);
        model->redrawAll();  // rows beyond the smaller array show empty until the model follows
        model->followCapacity();

        model->setRows(0);
        model->redrawAll();
        model->redrawRow(0);
        model->setRows(-4);
        EXPECT_EQ(model->rowCount(), 0);
        model->setRows(5);

        // Records of its own, fewer than the rows shown, then none.
        TCddataArray own(3);
        own[0] = inUse("OWN");
        model->showOwnRecords(own, 10);
        model->redrawAll();
        model->showOwnRecords(TCddataArray(1), 0);
        model->redrawAll();
    }
    EXPECT_TRUE(checkerReports().isEmpty()) << checkerReports().join('\n').toStdString();
}

// Only `active` 1 marks a record in use; a damaged or foreign file may carry any other value, and
// the grid and the tool's listing (zemo show) then agree on showing the row number alone.
TEST_F(RecordGridModelTest, OnlyActiveOneShowsItsRecordAsTheToolDoes) {
    struct Case {
        std::int16_t active;
        bool shown;
    };
    const Case cases[] = {{0, false}, {1, true}, {2, false}, {-1, false}};
    RecordGrid grid(ws, kKindCatalogue, kListColumns);
    RecordTableModel* model = grid.records();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.active);
        CdRecord r = inUse("4988001234567");
        setField(r.title, "TITLE");
        r.active = c.active;
        (*ws.array(kKindCatalogue))[0] = r;
        model->redrawAll();
        EXPECT_EQ(isInUse(r), c.shown);
        EXPECT_EQ(model->data(model->index(0, 0), Qt::DisplayRole).toString().trimmed(), "1");
        EXPECT_EQ(model->data(model->index(0, 1), Qt::DisplayRole).toString(), c.shown ? "4988001234567" : "");
        EXPECT_EQ(model->data(model->index(0, 4), Qt::DisplayRole).toString(), c.shown ? "TITLE" : "");

        const std::vector<std::string> tool = cli::displayColumns(r, 1);
        EXPECT_EQ(tool[1], c.shown ? "4988001234567" : "");
        EXPECT_EQ(tool[4], c.shown ? "TITLE" : "");
        for (int column = 1; column < kListColumns; ++column)
            EXPECT_EQ(model->data(model->index(0, column), Qt::DisplayRole).toString().isEmpty(),
                      tool[column].empty())
                << "column " << column;
    }
}

}  // namespace
}  // namespace zemo::ui
