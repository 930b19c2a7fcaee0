// SPDX-License-Identifier: GPL-3.0-or-later
// The data file viewer over files made in a fresh folder: any kind shown with all sixteen columns,
// and every read that does not succeed leaving the previous file on screen.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/ui/frm_data_disp.h"
#include "catalogue/ui/record_grid.h"
#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/text.h"
#include "records/window_settings.h"
#include "support/scripted_prompter.h"

namespace zemo::ui {
namespace {

namespace fs = std::filesystem;
using guitest::TempDir;

class DataDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        initControlDefaults(ws);
        ws.createArrays(1);
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(tmp.path() / d);
        viewer = std::make_unique<TFrmDataDisp>(ws, settings);
    }

    static CdRecord record(const std::string& barcode, std::int32_t deletedAt = 0) {
        CdRecord r;
        clearCdRecord(r);
        setField(r.barcode, barcode);
        r.registeredAt = stampOf(LocalTime{2024, 3, 1, 9, 30, 0});
        r.deletedAt = deletedAt;
        r.active = 1;
        return r;
    }

    // A data file of a kind with these records, optionally in share form with a password.
    std::string writeFile(const std::string& name, int kind, const std::vector<CdRecord>& records,
                          const char* password = nullptr) {
        const std::string path = (tmp.path() / "CD_MD" / name).string();
        TCddataArray a(static_cast<int>(records.size()) + 1);
        for (std::size_t i = 0; i < records.size(); ++i) a[static_cast<int>(i)] = records[i];
        ws.shareFlag = password != nullptr;
        ws.control.shareMode = password != nullptr ? 1 : 0;
        if (password) setField(ws.control.sharePassword, password);
        EXPECT_EQ(writeDataFile(ws, true, path, kind, a, static_cast<int>(records.size())), 0);
        ws.shareFlag = false;
        ws.control.shareMode = 0;
        return path;
    }

    void open(const std::string& path) {
        prompter.fileChoices.push_back(FileChoice{true, path, ""});
        QTest::mouseClick(viewer->findChild<QToolButton*>("SpdBtnOpen"), Qt::LeftButton);
    }

    QString cell(int row, int column) const { return viewer->grid()->model()->index(row, column).data().toString(); }
    int rows() const { return viewer->grid()->model()->rowCount(); }

    TempDir tmp{"zemo-viewer"};
    ScriptedPrompter prompter;
    FixedClock clock{LocalTime{2024, 6, 1, 10, 0, 0}};
    Workspace ws{prompter, clock, tmp.path()};
    WindowSettings settings;
    std::unique_ptr<TFrmDataDisp> viewer;
};

TEST_F(DataDisplayTest, ADeletedRecordFileShowsEachRecordWithItsDeletionTime) {
    const std::int32_t deleted = stampOf(LocalTime{2024, 5, 20, 18, 5, 0});
    const std::string path = writeFile("CD_DEL.ZMO", kKindDeleted, {record("D1", deleted), record("D2", deleted + 60)});
    viewer->showViewer();
    EXPECT_FALSE(viewer->isModal());
    open(path);
    EXPECT_EQ(prompter.lastChooserDir, workDir(ws, kPathLib));
    EXPECT_TRUE(prompter.boxes.empty());  // the kind is not compared
    EXPECT_EQ(viewer->shownPath(), QString::fromStdString(path));
    EXPECT_EQ(viewer->findChild<QLabel*>("Label1")->text(), QString::fromStdString(path));
    EXPECT_EQ(rows(), 2);  // exactly the records read
    EXPECT_EQ(viewer->grid()->model()->columnCount(), kFullListColumns);
    EXPECT_EQ(viewer->grid()->model()->headerData(15, Qt::Horizontal).toString(), QStringLiteral("削除日付"));
    EXPECT_EQ(cell(0, 0), "    1");
    EXPECT_EQ(cell(0, 1), "D1");
    EXPECT_EQ(cell(0, 14), "2024/03/01 09:30");
    EXPECT_EQ(cell(0, 15), "2024/05/20 18:05");
    EXPECT_EQ(cell(1, 15), "2024/05/20 18:06");
    // The catalogue itself is untouched.
    EXPECT_EQ(ws.arrays[kKindCatalogue][0].active, 0);
    EXPECT_EQ(ws.loaded[kKindCatalogue], 0);
}

TEST_F(DataDisplayTest, AReadThatDoesNotSucceedKeepsThePreviousFileOnScreen) {
    const std::string first = writeFile("FIRST.ZMO", kKindCatalogue, {record("F1"), record("F2"), record("F3")});
    const std::string locked = writeFile("LOCKED.ZMO", kKindCatalogue, {record("L1")}, "SECRET");
    std::vector<CdRecord> tooMany;
    for (int i = 0; i < 501; ++i) tooMany.push_back(record("T" + std::to_string(i)));
    const std::string big = writeFile("BIG.ZMO", kKindCatalogue, tooMany);
    const std::string torn = (tmp.path() / "CD_MD" / "TORN.ZMO").string();
    {
        std::string bytes = guitest::readBytes(first);
        bytes.resize(384 + 192 + 100);  // ends inside the second record
        std::ofstream(torn, std::ios::binary) << bytes;
    }
    viewer->showViewer();
    open(first);
    ASSERT_EQ(rows(), 3);

    struct Case {
        const char* name;
        std::function<void()> act;
        std::size_t boxes;  // boxes the attempt shows
    };
    const Case cases[] = {
        {"the chooser cancelled",
         [&] {
             prompter.fileChoices.push_back(FileChoice{});
             QTest::mouseClick(viewer->findChild<QToolButton*>("SpdBtnOpen"), Qt::LeftButton);
         },
         0},
        {"the password cancelled",
         [&] {
             prompter.passwords.push_back(std::nullopt);
             open(locked);
         },
         0},
        {"a wrong password",
         [&] {
             prompter.passwords.push_back(std::string("WRONG"));
             open(locked);
         },
         1},
        {"No to the truncation question",
         [&] {
             prompter.answers = {Answer::No};
             open(big);
         },
         1},
        {"a damaged file", [&] { open(torn); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.clear();
        c.act();
        EXPECT_EQ(prompter.boxes.size(), c.boxes);
        EXPECT_EQ(viewer->shownPath(), QString::fromStdString(first));
        EXPECT_EQ(rows(), 3);
        EXPECT_EQ(cell(0, 1), "F1");
        EXPECT_EQ(cell(2, 1), "F3");
    }

    // The right password and Yes to the truncation show those files.
    prompter.passwords.push_back(std::string("secret"));
    open(locked);
    EXPECT_EQ(viewer->shownPath(), QString::fromStdString(locked));
    EXPECT_EQ(rows(), 1);
    prompter.answers = {Answer::Yes};
    open(big);
    EXPECT_EQ(rows(), 500);  // the catalogue's capacity
    EXPECT_EQ(cell(499, 1), "T499");
}

TEST_F(DataDisplayTest, ColumnWidthsComeFromAndGoBackToTheSettings) {
    settings.widths["DDisp_M"] = std::vector<int>(15, -1);
    settings.widths["DDisp_M"][14] = 123;  // column 15
    TFrmDataDisp placed(ws, settings);
    const int designWidth = placed.grid()->columnWidth(1);
    EXPECT_EQ(placed.grid()->columnWidth(15), 123);
    placed.grid()->setColumnWidth(2, 77);
    placed.showViewer();
    placed.close();
    EXPECT_EQ(settings.widths["DDisp_M"][0], designWidth);  // -1 kept the design width
    EXPECT_EQ(settings.widths["DDisp_M"][1], 77);
    EXPECT_EQ(settings.widths["DDisp_M"][14], 123);
}

}  // namespace
}  // namespace zemo::ui
