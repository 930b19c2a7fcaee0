// SPDX-License-Identifier: GPL-3.0-or-later
// The data-file chooser, the directory chooser and the top-level error handler.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <cstring>
#include <fstream>
#include <ios>

#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "platform/clock.h"
#include "platform/sjis.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/scramble.h"
#include "records/text.h"
#include "records/window_settings.h"
#include "settings/ui/frm_file_sel.h"
#include "settings/ui/frm_get_dir.h"
#include "shell/ui/frm_frdwt.h"
#include "shell/ui/shell_windows.h"
#include "support/scripted_prompter.h"
#include "ui/application.h"
#include "ui/qt_prompter.h"

namespace {

using zemo::ui::TFrmFileSel;
using zemo::ui::TFrmGetDir;
using zemo::ui::TFrmFrdwt;
using zemo::guitest::child;

namespace fs = std::filesystem;
using zemo::guitest::qpath;
using zemo::guitest::showActive;
using zemo::guitest::TempDir;
using zemo::guitest::whenModal;

QString cell(QTableWidget* grid, int row, int column) {
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

void clickCell(QTableWidget* grid, int row, int column, bool twice = false) {
    const QRect r = grid->visualRect(grid->model()->index(row, column));
    ASSERT_TRUE(r.isValid());
    // Qt Test's double click is the second click alone; the first comes before it.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    if (twice) QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

void doubleClickItem(QListWidget* list, const QString& text) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    const QRect r = list->visualItemRect(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

void writeBytes(const std::string& path, const void* data, std::size_t n) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(n));
}

// A file made of a header, an info block and some record bytes, written as they stand.
void writeRaw(const std::string& path, const zemo::DataFileHeader& h, const zemo::DataFileInfo* info,
              std::size_t recordBytes = 0) {
    std::string bytes(reinterpret_cast<const char*>(&h), sizeof h);
    if (info) bytes.append(reinterpret_cast<const char*>(info), sizeof *info);
    bytes.append(recordBytes, '\0');
    writeBytes(path, bytes.data(), bytes.size());
}

zemo::DataFileHeader plainHeader(int kind) {
    return zemo::buildHeader(false, false, zemo::kindName(kind), kind, "");
}

class ChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(tmp.path() / "prog");
        fs::create_directories(data);
        ws.executablePath = tmp.path() / "prog" / "zemoplan";
        ws.createArrays(1);
        zemo::setField(ws.control.creatorId, "CREATOR1");
        zemo::ui::ZemoApplication::current()->setPrompter(&prompter);
    }
    void TearDown() override {
        zemo::ui::ZemoApplication::current()->setPrompter(nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    }

    // A data file of a kind holding n records, written by the share-form writer with this memo.
    void writeData(const std::string& path, int kind, const std::string& memoUtf8, int n) {
        const int cap = 10;
        zemo::TCddataArray a(cap + 1);
        for (int i = 0; i < n; ++i) {
            a[i].active = 1;
            zemo::setField(a[i].barcode, "49" + std::to_string(i));
        }
        ws.nextMemo = zemo::sj(memoUtf8);
        ASSERT_EQ(zemo::writeDataFile(ws, true, path, kind, a, cap), 0) << path;
    }
    std::string inData(const std::string& name) const { return (data / name).string(); }

    // Three data files (one with no records, one named in lower case) and twenty other files,
    // the control file and the program itself among them.
    void fillDataFolder() {
        writeData(inData("CD_DATA.ZMO"), 1, "棚Ａの在庫", 2);
        writeData(inData("CD_SHUF.ZMO"), 2, "空", 0);
        writeData(inData("mix.zmo"), 5, "mixed", 1);

        std::string control(2048, '\0');
        const auto ctl = zemo::buildHeader(false, false, zemo::kindName(0), 0, zemo::sj("メモ"));
        std::memcpy(control.data(), &ctl, sizeof ctl);
        writeBytes(inData("ZEMOCTRL.DAT"), control.data(), control.size());
        ws.executablePath = data / "zemoplan";  // a valid data file, so only the refusal keeps it out
        writeData(ws.executablePath.string(), 1, "exe", 1);
        auto h = plainHeader(1);
        writeBytes(inData("SHORT.ZMO"), &h, sizeof h);  // exactly 128 bytes
        h.magic = 0x1234;
        writeRaw(inData("MAGIC.ZMO"), h, nullptr, 400);
        h = plainHeader(1);
        h.formatLevel = 5;
        writeRaw(inData("LEVEL5.ZMO"), h, nullptr, 400);
        h.formatLevel = 1;
        writeRaw(inData("LEVEL1.ZMO"), h, nullptr, 400);
        for (int i = 0; i < 14; ++i) {
            const std::string text = "note " + std::to_string(i) + " with some text that is long enough, " +
                                     std::string(300, 'x');
            writeBytes(inData("note" + std::to_string(i) + ".txt"), text.data(), text.size());
        }
        ASSERT_EQ(std::distance(fs::directory_iterator(data), fs::directory_iterator()), 23);
    }

    TempDir tmp{"zemo-dialogs"};
    zemo::ScriptedPrompter prompter;
    zemo::FixedClock clock{zemo::LocalTime{2024, 3, 5, 14, 7, 30}};
    zemo::Workspace ws{prompter, clock, tmp.path() / "prog"};
    zemo::WindowSettings settings;
    fs::path data = tmp.path() / "data";
};

TEST_F(ChooserTest, ThreeDataFilesAmongTwentyOthersGiveThreeFilledRowsAndSevenEmpty) {
    fillDataFolder();
    TFrmFileSel chooser(ws, settings);
    ASSERT_TRUE(chooser.setFolder(QString::fromStdString(data.string())));
    chooser.show();
    auto* grid = child<QTableWidget>(chooser, "StringGrid1");

    EXPECT_EQ(chooser.listedCount(), 3);
    ASSERT_EQ(grid->rowCount(), 10);
    ASSERT_EQ(grid->columnCount(), 7);
    const QStringList headers = {"", "ファイル名", "メモ", "作成者ID", "W", "S", "作成日時"};
    for (int c = 0; c < 7; ++c) EXPECT_EQ(grid->horizontalHeaderItem(c)->text(), headers[c]);
    for (int r = 0; r < 10; ++r) EXPECT_EQ(cell(grid, r, 0), QString::asprintf("%4d", r + 1));

    // In file-list order; the lower-case name shown upper-case.
    EXPECT_EQ(cell(grid, 0, 1), "CD_DATA.ZMO");
    EXPECT_EQ(cell(grid, 1, 1), "CD_SHUF.ZMO");
    EXPECT_EQ(cell(grid, 2, 1), "MIX.ZMO");
    const QStringList full = {"CD_DATA.ZMO", "棚Ａの在庫", "CREATOR1", "0", "0", "2024/03/05 14:07"};
    for (int c = 1; c < 7; ++c) EXPECT_EQ(cell(grid, 0, c), full[c - 1]) << c;
    // The data file without records (384 bytes) is listed with empty cells.
    ASSERT_EQ(fs::file_size(data / "CD_SHUF.ZMO"), 384u);
    for (int c = 2; c < 7; ++c) EXPECT_TRUE(cell(grid, 1, c).isEmpty()) << c;
    EXPECT_EQ(cell(grid, 2, 2), "mixed");
    for (int r = 3; r < 10; ++r)
        for (int c = 1; c < 7; ++c) EXPECT_TRUE(cell(grid, r, c).isEmpty()) << r << "," << c;

    // The plain file list has all 23 files; reading the others showed nothing.
    EXPECT_EQ(child<QListWidget>(chooser, "FileListBox1")->count(), 23);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(ChooserTest, WhichHeadersAreListed) {
    struct Case {
        const char* name;
        std::uint16_t magic, level, kind;
        std::size_t size;  // total bytes
        bool listed;
        bool infoCells;
    };
    const Case cases[] = {
        {"plain", zemo::kMagicPlain, 3, 1, 600, true, true},
        {"share", zemo::kMagicShare, 4, 7, 600, true, true},
        {"level2", zemo::kMagicPlain, 2, 3, 600, true, true},
        {"kind11", zemo::kMagicPlain, 3, 11, 600, true, true},
        {"just past the header", zemo::kMagicPlain, 3, 1, 129, true, false},
        {"exactly the info block", zemo::kMagicPlain, 3, 1, 384, true, false},
        {"exactly a header", zemo::kMagicPlain, 3, 1, 128, false, false},
        {"level 1", zemo::kMagicPlain, 1, 1, 600, false, false},
        {"level 5", zemo::kMagicPlain, 5, 1, 600, false, false},
        {"level 0x0103", zemo::kMagicPlain, 0x0103, 1, 600, false, false},
        {"other magic", 0x1235, 3, 1, 600, false, false},
        {"control kind", zemo::kMagicPlain, 3, 0, 600, false, false},
    };
    TFrmFileSel chooser(ws, settings);
    auto* grid = child<QTableWidget>(chooser, "StringGrid1");
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path dir = tmp.path() / ("case" + std::to_string(n++));
        fs::create_directories(dir);
        auto h = plainHeader(c.kind);
        h.magic = c.magic;
        h.formatLevel = c.level;
        zemo::DataFileInfo info{};
        zemo::setField(info.memo, "m");
        std::string bytes(reinterpret_cast<const char*>(&h), sizeof h);
        bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
        bytes.resize(c.size, '\0');
        writeBytes((dir / "f.zmo").string(), bytes.data(), bytes.size());

        ASSERT_TRUE(chooser.setFolder(QString::fromStdString(dir.string())));
        EXPECT_EQ(chooser.listedCount(), c.listed ? 1 : 0);
        EXPECT_EQ(cell(grid, 0, 1), c.listed ? "F.ZMO" : "");
        EXPECT_EQ(cell(grid, 0, 2), c.infoCells ? "m" : "");
    }
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(ChooserTest, InfoColumnsOfShareFormFilesAndUnsetTimes) {
    // A share-form file: creator scrambled on disk, a password, and a W flag.
    auto h = zemo::buildHeader(true, true, zemo::kindName(2), 2, "");
    zemo::DataFileInfo info{};
    zemo::setField(info.memo, zemo::sj("共有ファイル"));
    zemo::setField(info.creatorId, "ABCD1234");
    zemo::setField(info.password, "PW");
    info.hasPassword = 1;
    info.recordCount = 1;
    info.savedAt = zemo::stampOf(zemo::LocalTime{2023, 12, 31, 23, 59, 59});
    info.scrambled = 1;
    info.keyIndex = 1;
    info.wFlag = 7;
    zemo::scrambleInfo(info, zemo::kScrambleApply, info.keyIndex);
    ASSERT_NE(zemo::fieldText(info.creatorId), "ABCD1234");
    writeRaw(inData("SHARE.ZMO"), h, &info, 192);

    zemo::DataFileInfo unset{};
    zemo::setField(unset.memo, "never saved");
    writeRaw(inData("UNSET.ZMO"), plainHeader(1), &unset, 192);

    TFrmFileSel chooser(ws, settings);
    ASSERT_TRUE(chooser.setFolder(QString::fromStdString(data.string())));
    auto* grid = child<QTableWidget>(chooser, "StringGrid1");
    ASSERT_EQ(chooser.listedCount(), 2);
    const QStringList share = {"SHARE.ZMO", "共有ファイル", "ABCD1234", "7", "1", "2023/12/31 23:59"};
    const QStringList never = {"UNSET.ZMO", "never saved", "", "0", "0", "----/--/-- --:--"};
    for (int c = 1; c < 7; ++c) {
        EXPECT_EQ(cell(grid, 0, c), share[c - 1]) << c;
        EXPECT_EQ(cell(grid, 1, c), never[c - 1]) << c;
    }
}

TEST_F(ChooserTest, MoreThanTenFilesGiveOneRowEach) {
    for (int i = 0; i < 12; ++i) writeData(inData("F" + std::to_string(10 + i) + ".ZMO"), 1, "", 1);
    TFrmFileSel chooser(ws, settings);
    ASSERT_TRUE(chooser.setFolder(QString::fromStdString(data.string())));
    auto* grid = child<QTableWidget>(chooser, "StringGrid1");
    EXPECT_EQ(grid->rowCount(), 12);
    EXPECT_EQ(cell(grid, 11, 0), "  12");
    EXPECT_EQ(cell(grid, 11, 1), "F21.ZMO");

    // Back to a folder with fewer files: ten rows again, the rest emptied.
    fs::create_directories(data / "few");
    writeData(inData("few/ONE.ZMO"), 1, "", 1);
    ASSERT_TRUE(chooser.setFolder(QString::fromStdString((data / "few").string())));
    EXPECT_EQ(grid->rowCount(), 10);
    EXPECT_EQ(cell(grid, 0, 1), "ONE.ZMO");
    for (int r = 1; r < 10; ++r) EXPECT_TRUE(cell(grid, r, 1).isEmpty());
}

TEST_F(ChooserTest, CaptionAndShareButtonFollowTheMode) {
    struct Case {
        int mode;
        QString caption;
        bool share;
    };
    const Case cases[] = {{0, "読込みファイル名の選択", false}, {1, "書込みファイル名の選択", true}};
    TFrmFileSel chooser(ws, settings);
    EXPECT_EQ(chooser.windowTitle(), "ファイル選択");
    int shareOpened = 0;
    chooser.setShareHandler([&] { ++shareOpened; });
    auto* share = child<QToolButton>(chooser, "SpdBtnShare");
    EXPECT_EQ(share->toolTip(), "SHARE設定");
    EXPECT_EQ(child<QToolButton>(chooser, "SpdBtnExit")->toolTip(), "取消");
    EXPECT_EQ(child<QPushButton>(chooser, "BtnF01")->text(), "取消");
    EXPECT_EQ(child<QPushButton>(chooser, "BtnRtn")->text(), "確定");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        chooser.setMode(c.mode);
        chooser.show();
        EXPECT_EQ(chooser.windowTitle(), c.caption);
        EXPECT_EQ(share->isEnabled(), c.share);
        const int before = shareOpened;
        QTest::mouseClick(share, Qt::LeftButton);
        EXPECT_EQ(shareOpened, before + (c.share ? 1 : 0));
        EXPECT_TRUE(chooser.isVisible());
        chooser.reject();
    }
}

TEST_F(ChooserTest, ClickFillsTheFieldsAndDoubleClickChoosesTheRealFile) {
    fillDataFolder();
    TFrmFileSel chooser(ws, settings);
    ASSERT_TRUE(chooser.setFolder(QString::fromStdString(data.string())));
    chooser.show();
    auto* grid = child<QTableWidget>(chooser, "StringGrid1");
    auto* fn = child<QLineEdit>(chooser, "Edt_fn");
    auto* memo = child<QLineEdit>(chooser, "Edt_memo");

    clickCell(grid, 0, 3);
    EXPECT_EQ(fn->text().toStdString(), inData("CD_DATA.ZMO"));
    EXPECT_EQ(memo->text(), "棚Ａの在庫");
    // An empty row changes nothing.
    clickCell(grid, 6, 1);
    EXPECT_EQ(fn->text().toStdString(), inData("CD_DATA.ZMO"));
    // A click on the row-number column selects the row.
    clickCell(grid, 1, 0);
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(fn->text().toStdString(), inData("CD_SHUF.ZMO"));
    EXPECT_TRUE(memo->text().isEmpty());

    // The name is shown upper-case, but the file chosen is the one on disk.
    clickCell(grid, 2, 1, true);
    EXPECT_FALSE(chooser.isVisible());
    ASSERT_TRUE(chooser.chosen());
    const zemo::FileChoice c = chooser.choice();
    EXPECT_TRUE(c.chosen);
    EXPECT_EQ(c.path, inData("mix.zmo"));
    EXPECT_EQ(c.memo, "mixed");
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(ChooserTest, EnterConfirmsInTheGridAndNameFieldAndMovesOnElsewhere) {
    fillDataFolder();
    TFrmFileSel chooser(ws, settings);
    ASSERT_TRUE(chooser.setFolder(QString::fromStdString(data.string())));
    auto* grid = child<QTableWidget>(chooser, "StringGrid1");
    auto* fn = child<QLineEdit>(chooser, "Edt_fn");
    auto* memo = child<QLineEdit>(chooser, "Edt_memo");

    // Enter in the memo field moves to the name field.
    chooser.show();
    memo->setFocus();
    QTest::keyClicks(memo, "note");
    QTest::keyClick(memo, Qt::Key_Return);
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_EQ(chooser.focusWidget(), fn);

    // Enter in an empty name field does nothing.
    QTest::keyClick(fn, Qt::Key_Return);
    EXPECT_TRUE(chooser.isVisible());
    EXPECT_FALSE(chooser.chosen());
    QTest::mouseClick(child<QPushButton>(chooser, "BtnRtn"), Qt::LeftButton);
    EXPECT_TRUE(chooser.isVisible());

    // Keys move the grid selection as clicks do; Enter there confirms the row.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(fn->text().toStdString(), inData("CD_SHUF.ZMO"));
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_TRUE(chooser.chosen());
    EXPECT_EQ(chooser.choice().path, inData("CD_SHUF.ZMO"));

    // A bare name typed into the name field is a file of the folder shown.
    chooser.show();
    EXPECT_FALSE(chooser.chosen());
    fn->setFocus();
    fn->clear();
    QTest::keyClicks(fn, "NEW.ZMO");
    QTest::keyClick(fn, Qt::Key_Return);
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_EQ(chooser.chosenPath(), "NEW.ZMO");
    EXPECT_EQ(chooser.choice().path, inData("NEW.ZMO"));
}

TEST_F(ChooserTest, EnterOnAFocusedButtonMovesOnWithoutConfirmingOrCancelling) {
    fillDataFolder();
    TFrmFileSel chooser(ws, settings);
    ASSERT_TRUE(chooser.setFolder(QString::fromStdString(data.string())));
    chooser.show();
    auto* fn = child<QLineEdit>(chooser, "Edt_fn");
    fn->setText(QString::fromStdString(inData("CD_DATA.ZMO")));
    for (const char* name : {"BtnF01", "BtnRtn"}) {
        SCOPED_TRACE(name);
        auto* button = child<QPushButton>(chooser, name);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        EXPECT_TRUE(chooser.isVisible());
        EXPECT_FALSE(chooser.chosen());
        EXPECT_NE(chooser.focusWidget(), button);
    }
}

TEST_F(ChooserTest, CancellingChoosesNothingButHandsBackTheMemo) {
    for (const char* button : {"BtnF01", "SpdBtnExit"}) {
        SCOPED_TRACE(button);
        TFrmFileSel chooser(ws, settings);
        chooser.show();
        child<QLineEdit>(chooser, "Edt_fn")->setText("/x/Y.ZMO");
        child<QLineEdit>(chooser, "Edt_memo")->setText(QStringLiteral("ﾒﾓ memo"));
        QWidget* b = chooser.findChild<QWidget*>(button);
        ASSERT_NE(b, nullptr);
        QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_FALSE(chooser.isVisible());
        const zemo::FileChoice c = chooser.choice();
        EXPECT_FALSE(c.chosen);
        EXPECT_TRUE(c.path.empty());
        EXPECT_EQ(c.memo, zemo::sj("ﾒﾓ memo"));
    }
}

// The memo goes into 60 bytes of Shift-JIS: what does not fit or cannot be written is refused when
// the choice is made, with the message every such field shows, and never cut or replaced.
TEST_F(ChooserTest, TheMemoTakesSixtyBytesAndRefusesWhatItCannotHold) {
    const char* kTooLong = "システムで管理できる文字を超えています！\n最大 [ 60 ] 文字までです。";
    const char* kUnwritable = "入力文字が変です!";
    const QString kana30(30, QChar(0x68DA));  // "棚", two bytes each
    struct Case {
        QString memo;
        const char* message;  // nullptr: taken
    };
    const Case cases[] = {
        {QString(60, 'a'), nullptr},
        {QString(61, 'a'), kTooLong},
        {kana30, nullptr},
        {kana30 + 'a', kTooLong},
        {QString(70, 'a'), kTooLong},
        {QStringLiteral("caf\u00E9"), kUnwritable},
        {QStringLiteral("棚\U0001F600"), kUnwritable},
    };
    writeData(inData("CDX.ZMO"), 1, "", 1);
    TFrmFileSel chooser(ws, settings);
    ASSERT_TRUE(chooser.setFolder(QString::fromStdString(data.string())));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.memo.toStdString());
        prompter.clear();
        showActive(chooser);
        auto* memo = child<QLineEdit>(chooser, "Edt_memo");
        memo->setFocus();
        memo->clear();
        memo->insert(c.memo);  // as a paste: nothing is dropped
        EXPECT_EQ(memo->text(), c.memo);
        child<QLineEdit>(chooser, "Edt_fn")->setText("CDX.ZMO");
        QTest::mouseClick(child<QPushButton>(chooser, "BtnRtn"), Qt::LeftButton);
        if (c.message) {
            EXPECT_EQ(prompter.texts(), std::vector<std::string>{c.message});
            EXPECT_EQ(prompter.boxes[0].kind, zemo::BoxKind::Error);
            EXPECT_TRUE(chooser.isVisible());
            EXPECT_FALSE(chooser.chosen());
            EXPECT_EQ(chooser.focusWidget(), memo);
            EXPECT_EQ(memo->text(), c.memo);
            chooser.reject();
        } else {
            EXPECT_TRUE(prompter.boxes.empty());
            EXPECT_FALSE(chooser.isVisible());
            ASSERT_TRUE(chooser.chosen());
            EXPECT_EQ(chooser.choice().memo, zemo::utf8ToSjis(c.memo.toStdString()));
        }
    }
    // A memo that cannot be stored, left behind by a cancel, hands back the memo in force.
    ws.nextMemo = zemo::sj("前のメモ");
    prompter.clear();
    showActive(chooser);
    child<QLineEdit>(chooser, "Edt_memo")->setText(QString(61, 'b'));
    QTest::mouseClick(child<QPushButton>(chooser, "BtnF01"), Qt::LeftButton);
    EXPECT_FALSE(chooser.isVisible());
    EXPECT_FALSE(chooser.chosen());
    EXPECT_TRUE(prompter.boxes.empty());
    EXPECT_EQ(chooser.choice().memo, zemo::sj("前のメモ"));
}

TEST_F(ChooserTest, FolderListOpensSubFoldersAndGoesBack) {
    fillDataFolder();
    fs::create_directories(data / "old");
    writeData(inData("old/OLD.ZMO"), 1, "old one", 1);
    TFrmFileSel chooser(ws, settings);
    ASSERT_TRUE(chooser.setFolder(QString::fromStdString(data.string())));
    chooser.show();
    auto* folders = child<QListWidget>(chooser, "DirectoryListBox1");
    auto* grid = child<QTableWidget>(chooser, "StringGrid1");
    auto* fn = child<QLineEdit>(chooser, "Edt_fn");
    EXPECT_EQ(folders->item(0)->text(), "..");
    clickCell(grid, 0, 1);
    ASSERT_FALSE(fn->text().isEmpty());

    doubleClickItem(folders, "old");
    EXPECT_EQ(chooser.folder().toStdString(), (data / "old").string());
    EXPECT_EQ(chooser.listedCount(), 1);
    EXPECT_EQ(cell(grid, 0, 1), "OLD.ZMO");
    EXPECT_TRUE(fn->text().isEmpty());
    EXPECT_EQ(child<QLabel>(chooser, "Lbl_Folder")->text().toStdString(), (data / "old").string());

    doubleClickItem(folders, "..");
    EXPECT_EQ(chooser.folder().toStdString(), data.string());
    EXPECT_EQ(chooser.listedCount(), 3);
    EXPECT_TRUE(prompter.boxes.empty());
}

TEST_F(ChooserTest, AnUnreadableDriveGoesBackToTheLastGoodOne) {
    fillDataFolder();
    fs::create_directories(tmp.path() / "other");
    writeData((tmp.path() / "other" / "OTHER.ZMO").string(), 1, "", 1);
    TFrmFileSel chooser(ws, settings);
    ASSERT_TRUE(chooser.setFolder(QString::fromStdString(data.string())));
    // Folders standing in for volumes: the temporary folder, one that has gone, and another.
    chooser.setDrives({qpath(tmp), qpath(tmp, "gone"), qpath(tmp, "other")});
    chooser.show();
    auto* drives = child<QComboBox>(chooser, "DriveComboBox1");
    ASSERT_EQ(drives->currentData().toString(), qpath(tmp));
    ASSERT_EQ(chooser.lastGoodDrive(), qpath(tmp));

    drives->setCurrentIndex(drives->findData(qpath(tmp, "gone")));
    ASSERT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(prompter.boxes[0].kind, zemo::BoxKind::Error);
    EXPECT_EQ(prompter.boxes[0].text, "ドライブにアクセスできません");
    EXPECT_EQ(prompter.boxes[0].buttons, zemo::Buttons::Ok);
    EXPECT_EQ(drives->currentData().toString(), qpath(tmp));
    EXPECT_EQ(chooser.lastGoodDrive(), qpath(tmp));
    EXPECT_EQ(chooser.folder().toStdString(), data.string());
    EXPECT_EQ(chooser.listedCount(), 3);

    child<QLineEdit>(chooser, "Edt_fn")->setText("x");
    drives->setCurrentIndex(drives->findData(qpath(tmp, "other")));
    EXPECT_EQ(prompter.boxes.size(), 1u);
    EXPECT_EQ(chooser.lastGoodDrive(), qpath(tmp, "other"));
    EXPECT_EQ(chooser.folder(), qpath(tmp, "other"));
    EXPECT_EQ(chooser.listedCount(), 1);
    EXPECT_TRUE(child<QLineEdit>(chooser, "Edt_fn")->text().isEmpty());
}

TEST_F(ChooserTest, AtItsDesignSizeEveryColumnAndTheSidePanelAreInView) {
    fillDataFolder();
    TFrmFileSel chooser(ws, settings);
    ASSERT_TRUE(chooser.setFolder(QString::fromStdString(data.string())));
    chooser.show();
    auto* grid = child<QTableWidget>(chooser, "StringGrid1");
    EXPECT_LE(grid->horizontalHeader()->length(), grid->viewport()->width());
    EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0);
    for (const char* side : {"DriveComboBox1", "DirectoryListBox1", "FileListBox1"}) {
        const QWidget* w = child<QWidget>(chooser, side);
        EXPECT_GE(w->width(), 150) << side;
        EXPECT_TRUE(chooser.rect().contains(QRect(w->mapTo(&chooser, QPoint(0, 0)), w->size()))) << side;
    }
}

TEST_F(ChooserTest, PlacementAndColumnWidthsComeFromAndGoBackToTheSettings) {
    {
        TFrmFileSel chooser(ws, settings);  // nothing stored: top-left corner, design size
        EXPECT_EQ(chooser.pos(), QPoint(0, 0));
        EXPECT_EQ(chooser.size(), QSize(900, 480));
    }
    settings.positions["FileSel"] = zemo::WindowPlace{30, 40, 380, 560};
    settings.widths["FileSel_M"] = {100, -1, 70, -1, -1, -1};
    TFrmFileSel chooser(ws, settings);
    auto* header = child<QTableWidget>(chooser, "StringGrid1")->horizontalHeader();
    EXPECT_EQ(chooser.pos(), QPoint(30, 40));
    EXPECT_EQ(chooser.size(), QSize(560, 380));
    EXPECT_EQ(header->sectionSize(1), 100);
    EXPECT_EQ(header->sectionSize(2), 160);  // design width
    EXPECT_EQ(header->sectionSize(3), 70);

    chooser.show();
    header->resizeSection(4, 45);
    chooser.close();
    EXPECT_EQ(settings.widths["FileSel_M"], (std::vector<int>{100, 160, 70, 45, 30, 120}));

    chooser.move(12, 34);
    chooser.saveSettings();
    EXPECT_EQ(settings.positions["FileSel"].left, 12);
    EXPECT_EQ(settings.positions["FileSel"].top, 34);
    EXPECT_EQ(settings.positions["FileSel"].width, 560);
}

// The chooser behind chooseAndTransfer, with the Qt prompter: the path comes back as chosen and
// is used without its blanks.
class ChooserTransferTest : public ChooserTest {
protected:
    void SetUp() override {
        ChooserTest::SetUp();
        qws.createArrays(1);
        dialogs.setFileChooser(&chooser);
        qprompter.setDialogs(&dialogs);
        qws.openDialogDir = qws.saveDialogDir = data.string();
        // Any message box that comes up is a failure; close it so the test goes on.
        connect = new QTimer;
        QObject::connect(connect, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                unexpected << box->text();
                box->close();
            }
        });
        connect->start(20);
    }
    void TearDown() override {
        delete connect;
        EXPECT_TRUE(unexpected.isEmpty()) << unexpected.join(" / ").toStdString();
        ChooserTest::TearDown();
    }

    zemo::ui::ShellPromptDialogs dialogs;
    zemo::ui::QtPrompter qprompter;
    zemo::Workspace qws{qprompter, clock, tmp.path() / "prog"};
    TFrmFileSel chooser{qws, settings};
    QTimer* connect = nullptr;
    QStringList unexpected;
};

// A stick labelled with a blank: its files are read and written under their real names, blanks
// inside the path kept and only those around a typed name dropped.
TEST_F(ChooserTransferTest, AFileInAFolderWithABlankIsReadAndWrittenThroughTheChooser) {
    const fs::path stick = tmp.path() / "My Stick";
    fs::create_directories(stick);
    fs::create_directories(tmp.path() / "MyStick");
    writeData((stick / "CD X.ZMO").string(), 1, "two", 2);
    writeData((tmp.path() / "MyStick" / "CDX.ZMO").string(), 1, "three", 3);  // the blank-free twin
    qws.openDialogDir = qws.saveDialogDir = stick.string();

    // Picked in the grid, Enter confirming.
    whenModal<TFrmFileSel>([&](TFrmFileSel* d) {
        EXPECT_EQ(d->windowTitle(), "読込みファイル名の選択");
        EXPECT_EQ(d->folder().toStdString(), stick.string());
        auto* grid = child<QTableWidget>(*d, "StringGrid1");
        ASSERT_EQ(d->listedCount(), 1);
        EXPECT_EQ(grid->item(0, 1)->text(), "CD X.ZMO");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(0, 1)).center());
        EXPECT_EQ(child<QLineEdit>(*d, "Edt_fn")->text().toStdString(), (stick / "CD X.ZMO").string());
        QTest::keyClick(grid, Qt::Key_Return);
    });
    int done = -1, loaded = 0;
    const int cap = qws.capacity(1);
    EXPECT_EQ(zemo::chooseAndTransfer(qws, false, 0, 1, qws.arrays[1], done, loaded, cap), 0);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(qws.arrays[1][1].active, 1);
    EXPECT_EQ(qws.arrays[1][2].active, 0);
    EXPECT_EQ(qws.openDialogFile, (stick / "CD X.ZMO").string());

    // A name typed with slips around it.
    for (int i = 0; i < 3; ++i) qws.arrays[1][i] = zemo::clearedRecord();
    whenModal<TFrmFileSel>([](TFrmFileSel* d) {
        auto* fn = d->findChild<QLineEdit*>("Edt_fn");
        fn->setText(QStringLiteral("\u3000CD X.ZMO "));
        QTest::keyClick(fn, Qt::Key_Return);
    });
    EXPECT_EQ(zemo::chooseAndTransfer(qws, false, 0, 1, qws.arrays[1], done, loaded, cap), 0);
    EXPECT_EQ(qws.arrays[1][1].active, 1);
    EXPECT_EQ(qws.arrays[1][2].active, 0);

    // Written back under a name with a blank, into the same folder.
    whenModal<TFrmFileSel>([](TFrmFileSel* d) {
        EXPECT_EQ(d->windowTitle(), "書込みファイル名の選択");
        d->findChild<QLineEdit*>("Edt_memo")->setText(QStringLiteral("店舗Ｂ"));
        auto* fn = d->findChild<QLineEdit*>("Edt_fn");
        fn->setText("NEW ONE.ZMO");
        QTest::keyClick(fn, Qt::Key_Return);
    });
    EXPECT_EQ(zemo::chooseAndTransfer(qws, false, 1, 1, qws.arrays[1], done, loaded, cap), 0);
    EXPECT_EQ(done, 1);
    ASSERT_TRUE(fs::exists(stick / "NEW ONE.ZMO"));
    EXPECT_FALSE(fs::exists(stick / "NEWONE.ZMO"));
    zemo::DataFileInfo info{};
    ASSERT_EQ(zemo::readInfo(ws, (stick / "NEW ONE.ZMO").string(), false, info), zemo::DataFileRead::Ok);
    EXPECT_EQ(zemo::fieldText(info.memo), zemo::sj("店舗Ｂ"));
    EXPECT_EQ(info.recordCount, 2);
}

TEST_F(ChooserTransferTest, ANameOfBlanksOnlyTransfersNothing) {
    whenModal<TFrmFileSel>([](TFrmFileSel* d) {
        auto* fn = d->findChild<QLineEdit*>("Edt_fn");
        fn->setText(QStringLiteral("  \u3000"));
        QTest::keyClick(fn, Qt::Key_Return);
    });
    int done = -1, loaded = 0;
    EXPECT_EQ(zemo::chooseAndTransfer(qws, false, 0, 1, qws.arrays[1], done, loaded, qws.capacity(1)), -1);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(loaded, 0);
}

TEST_F(ChooserTransferTest, SavingWritesTheTypedMemoUnderTheNameAsTyped) {
    qws.arrays[1][0].active = 1;
    whenModal<TFrmFileSel>([](TFrmFileSel* d) {
        EXPECT_EQ(d->windowTitle(), "書込みファイル名の選択");
        EXPECT_TRUE(d->findChild<QToolButton*>("SpdBtnShare")->isEnabled());
        d->findChild<QLineEdit*>("Edt_memo")->setText(QStringLiteral("保存メモ"));
        auto* fn = d->findChild<QLineEdit*>("Edt_fn");
        fn->setText("MY SAVE.ZMO");
        QTest::keyClick(fn, Qt::Key_Return);
    });
    int done = -1, loaded = 0;
    EXPECT_EQ(zemo::chooseAndTransfer(qws, false, 1, 1, qws.arrays[1], done, loaded, qws.capacity(1)), 0);
    EXPECT_EQ(done, 1);
    ASSERT_TRUE(fs::exists(data / "MY SAVE.ZMO"));
    zemo::DataFileInfo info{};
    ASSERT_EQ(zemo::readInfo(ws, inData("MY SAVE.ZMO"), false, info), zemo::DataFileRead::Ok);
    EXPECT_EQ(zemo::fieldText(info.memo), zemo::sj("保存メモ"));
    EXPECT_EQ(info.recordCount, 1);
}

TEST_F(ChooserTransferTest, ClosingTheReadWriteChoiceNeverShowsTheChooser) {
    TFrmFrdwt readWrite;
    dialogs.setReadWriteDialog(&readWrite);
    int chooserShown = 0;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<TFrmFileSel*>(QApplication::activeModalWidget())) {
            ++chooserShown;
            d->reject();
        }
    });
    guard.start(20);
    whenModal<TFrmFrdwt>([](TFrmFrdwt* d) { d->close(); });
    int done = -1, loaded = 0;
    EXPECT_EQ(zemo::chooseAndTransfer(qws, true, 0, 1, qws.arrays[1], done, loaded, qws.capacity(1)), -1);
    EXPECT_EQ(readWrite.mode(), zemo::kChoiceCancel);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(chooserShown, 0);
}

TEST_F(ChooserTest, DirectoryChooser) {
    const fs::path a = tmp.path() / "a";
    fs::create_directories(a / "sub1");
    fs::create_directories(a / "sub2");
    writeBytes((a / "file.txt").string(), "x", 1);
    TFrmGetDir dlg;
    EXPECT_EQ(dlg.windowTitle(), "ディレクトリ名の取得");
    EXPECT_EQ(child<QPushButton>(dlg, "BtnOk")->text(), "ＯＫ");
    EXPECT_EQ(child<QPushButton>(dlg, "BtnCancel")->text(), "ｷｬﾝｾﾙ");
    ASSERT_TRUE(dlg.setFolder(qpath(tmp, "a")));
    dlg.show();
    auto* name = child<QLineEdit>(dlg, "Edit_DirName");
    auto* folders = child<QListWidget>(dlg, "DirectoryListBox1");
    EXPECT_EQ(name->text(), qpath(tmp, "a"));
    ASSERT_EQ(folders->count(), 3);
    EXPECT_EQ(folders->item(0)->text(), "..");
    EXPECT_EQ(folders->item(1)->text(), "sub1");
    EXPECT_EQ(folders->item(2)->text(), "sub2");

    doubleClickItem(folders, "sub2");
    EXPECT_EQ(name->text(), qpath(tmp, "a/sub2"));
    doubleClickItem(folders, "..");
    EXPECT_EQ(name->text(), qpath(tmp, "a"));

    // The name may be edited; the caller takes the text.
    name->setText("/somewhere/else");
    QTest::mouseClick(child<QPushButton>(dlg, "BtnOk"), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.ok());
    EXPECT_EQ(dlg.dirName(), "/somewhere/else");

    dlg.show();
    EXPECT_FALSE(dlg.ok());
    EXPECT_EQ(name->text(), qpath(tmp, "a"));
    // Enter moves on instead of confirming, on the buttons as well.
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_TRUE(dlg.isVisible());
    for (const char* button : {"BtnOk", "BtnCancel"}) {
        auto* b = child<QPushButton>(dlg, button);
        b->setFocus();
        QTest::keyClick(b, Qt::Key_Return);
        EXPECT_TRUE(dlg.isVisible()) << button;
        EXPECT_NE(dlg.focusWidget(), b) << button;
    }
    EXPECT_FALSE(dlg.ok());
    QTest::mouseClick(child<QPushButton>(dlg, "BtnCancel"), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_FALSE(dlg.ok());
}

TEST_F(ChooserTest, DirectoryChooserGoesBackFromAnUnreadableDrive) {
    fs::create_directories(tmp.path() / "a");
    TFrmGetDir dlg;
    ASSERT_TRUE(dlg.setFolder(qpath(tmp, "a")));
    dlg.setDrives({qpath(tmp), qpath(tmp, "gone")});
    dlg.show();
    auto* drives = child<QComboBox>(dlg, "DriveComboBox1");
    drives->setCurrentIndex(drives->findData(qpath(tmp, "gone")));
    ASSERT_EQ(prompter.texts(), std::vector<std::string>{"ドライブにアクセスできません"});
    EXPECT_EQ(drives->currentData().toString(), qpath(tmp));
    EXPECT_EQ(dlg.lastGoodDrive(), qpath(tmp));
    EXPECT_EQ(dlg.folder(), qpath(tmp, "a"));
    EXPECT_EQ(child<QLineEdit>(dlg, "Edit_DirName")->text(), qpath(tmp, "a"));
}

TEST_F(ChooserTest, TopLevelHandlerReportsOnlyDriveAndFileErrorsAndNamesEveryOtherOnStderr) {
    struct Case {
        const char* name;
        std::function<void()> raise;
        bool reported;
        const char* onStderr;  // what the handler writes for the terminal; "" for nothing
    };
    const Case cases[] = {
        {"filesystem_error",
         [] { throw fs::filesystem_error("x", std::make_error_code(std::errc::no_such_device)); }, true, ""},
        {"ios_base::failure", [] { throw std::ios_base::failure("read"); }, true, ""},
        {"runtime_error", [] { throw std::runtime_error("other"); }, false,
         "zemoplan: unhandled std::runtime_error: other\n"},
        {"logic_error", [] { throw std::logic_error("bad index"); }, false,
         "zemoplan: unhandled std::logic_error: bad index\n"},
        {"not an exception class", [] { throw 42; }, false, "zemoplan: unhandled an exception of unknown type\n"},
    };

    // Thrown from an event handler, through the application object.
    class Thrower : public QObject {
    public:
        std::function<void()> raise;
        bool event(QEvent* e) override {
            if (e->type() == QEvent::User) raise();
            return QObject::event(e);
        }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.clear();
        Thrower t;
        t.raise = c.raise;
        QEvent e(QEvent::User);
        ::testing::internal::CaptureStderr();
        QCoreApplication::sendEvent(&t, &e);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.onStderr);
        EXPECT_EQ(prompter.texts(), c.reported ? std::vector<std::string>{"ドライブにアクセスできません"}
                                               : std::vector<std::string>{});

        prompter.clear();
        ::testing::internal::CaptureStderr();
        zemo::ui::guarded(c.raise);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.onStderr);
        EXPECT_EQ(prompter.boxes.size(), c.reported ? 1u : 0u);
    }
}

TEST_F(ChooserTest, ChoosersBelongToTheApplicationObjectOnlyWhileTheyExist) {
    fs::create_directories(tmp.path() / "a");
    auto dlg = std::make_unique<TFrmGetDir>();
    ASSERT_TRUE(dlg->setFolder(qpath(tmp, "a")));
    dlg->setDrives({qpath(tmp)});
    dlg->show();
    // A drive error raised outside any chooser puts the one on screen back on its good drive.
    auto* drives = child<QComboBox>(*dlg, "DriveComboBox1");
    EXPECT_TRUE(zemo::ui::handleTopLevelError(fs::filesystem_error("x", std::make_error_code(std::errc::io_error))));
    EXPECT_EQ(drives->currentData().toString(), qpath(tmp));
    dlg.reset();
    // With the chooser gone the box still comes, and nothing touches the destroyed window.
    prompter.clear();
    EXPECT_TRUE(zemo::ui::handleTopLevelError(fs::filesystem_error("x", std::make_error_code(std::errc::io_error))));
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"ドライブにアクセスできません"});
}

}  // namespace
