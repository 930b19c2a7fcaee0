// SPDX-License-Identifier: GPL-3.0-or-later
// Leaving a dialog never waits for a field to be corrected: every settings dialog and the record
// editor close by every way out while a field holds a refused text.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/ui/frm_cd_edit.h"
#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "planning/ui/frm_shuf_ctrl.h"
#include "planning/ui/frm_sys_revi.h"
#include "platform/sjis.h"
#include "printing/ui/frm_lbpr_ctl.h"
#include "records/control_file.h"
#include "records/label_layout.h"
#include "records/window_settings.h"
#include "settings/ui/frm_get_dir.h"
#include "settings/ui/frm_sys_mode.h"
#include "settings/ui/frm_sys_pass.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "ui/field_checks.h"

namespace {

namespace fs = std::filesystem;
using zemo::Answer;
using zemo::BoxKind;
using zemo::Workspace;
using zemo::guitest::child;
using zemo::guitest::enter;
using zemo::guitest::showActive;

const std::string kQuestionWithNote = std::string("保存終了します。\n") + zemo::ui::FieldChecks::kKeptValueNote;

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<QDialog>(Workspace&)> make;
    const char* endButton;
    const char* field;
    const char* good;   // accepted on leaving: the field's last valid value
    const char* bad;    // refused by the field's check
    std::function<std::string(const Workspace&)> stored;  // the field's value in the control record
    const char* saved;  // stored() after Yes
};

zemo::ui::TFrmGetDir& getDir() {
    static zemo::ui::TFrmGetDir d;
    return d;
}

std::int32_t reviseRefTime(const Workspace& ws) {
    std::int32_t v = 0;
    std::memcpy(&v, reinterpret_cast<const char*>(&ws.control) + zemo::ui::TFrmSysRevi::kReviseBlockOffset, sizeof v);
    return v;
}

const std::vector<DialogCase>& dialogCases() {
    static const std::vector<DialogCase> cases = {
        {"system mode", [](Workspace& ws) { return std::make_unique<zemo::ui::TFrmSysMode>(ws); }, "BtnEnd",
         "Edit_Dsize", "3", "21", [](const Workspace& ws) { return std::to_string(ws.control.dbSize); }, "3"},
        {"system paths",
         [](Workspace& ws) { return std::make_unique<zemo::ui::TFrmSysPass>(ws, getDir()); }, "BtnEnd", "Edit_sys",
         "NEW SYS", "12345678901234567890123456789012345678901",
         [](const Workspace& ws) { return zemo::fieldText(ws.control.paths[zemo::kPathSys]); }, "NEW SYS"},
        {"label layout", [](Workspace& ws) { return std::make_unique<zemo::ui::TFrmLbprCtl>(ws); }, "BtnF01",
         "Edit_Tcrlf_v", "7", "x",
         [](const Workspace& ws) {
             return std::to_string(zemo::labelLayoutFrom(ws.control.labelBlock).titleFeedV);
         },
         "7"},
        {"planning settings", [](Workspace& ws) { return std::make_unique<zemo::ui::TFrmShufCtrl>(ws); }, "BtnF01",
         "Edt_stim", "4500", "x", [](const Workspace& ws) { return std::to_string(ws.control.shuffleBlock.targetSec); },
         "2700"},
        {"time correction", [](Workspace& ws) { return std::make_unique<zemo::ui::TFrmSysRevi>(ws); }, "BtnF01",
         "Edt_Cdtime", "100", "x", [](const Workspace& ws) { return std::to_string(reviseRefTime(ws)); }, "60"},
    };
    return cases;
}

enum class Way { EndButton, Esc, CloseBox };
const char* wayName(Way w) { return w == Way::EndButton ? "end button" : w == Way::Esc ? "Esc" : "close box"; }

class LeavingTest : public ::testing::Test {
protected:
    LeavingTest() {
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(dir.path() / d);
    }

    // A fresh control record in memory and on disk.
    void freshControl() {
        zemo::initControlDefaults(ws);
        ws.dbSize = 1;
        ws.control.dbSize = 1;
        ASSERT_EQ(zemo::saveControl(ws), 0);
    }

    static void leaveBy(QDialog& dlg, const char* endButton, Way way) {
        switch (way) {
        case Way::EndButton:
            QTest::mouseClick(child<QPushButton>(dlg, endButton), Qt::LeftButton);
            break;
        case Way::Esc:
            QTest::keyClick(dlg.focusWidget(), Qt::Key_Escape);
            break;
        case Way::CloseBox:
            dlg.close();
            break;
        }
    }

    zemo::guitest::TempDir dir{"zemo-leaving"};
    zemo::ScriptedPrompter prompter;
    zemo::FixedClock clock{zemo::LocalTime{2024, 5, 6, 7, 8, 9}};
    Workspace ws{prompter, clock, dir.path()};
};

// A valid value is typed and left, then a refused one typed and not corrected: each way out
// shows the check's refusal, then the close question saying what Yes keeps. Yes saves the last
// valid value, No the record as it was on disk; Cancel stays with the text as typed.
TEST_F(LeavingTest, ARefusedFieldNeverHoldsASettingsDialog) {
    for (const DialogCase& c : dialogCases()) {
        for (Way way : {Way::EndButton, Way::Esc, Way::CloseBox}) {
            for (Answer answer : {Answer::Yes, Answer::No}) {
                SCOPED_TRACE(std::string(c.name) + ", " + wayName(way) + (answer == Answer::Yes ? ", Yes" : ", No"));
                freshControl();
                const std::string original = c.stored(ws);
                ASSERT_NE(original, c.saved);
                prompter.clear();
                std::unique_ptr<QDialog> dlg = c.make(ws);
                showActive(*dlg);
                enter(*dlg, c.field, QString::fromUtf8(c.good));
                ASSERT_TRUE(prompter.boxes.empty()) << prompter.texts().front();
                auto* edit = child<QLineEdit>(*dlg, c.field);
                edit->setFocus();
                edit->setText(QString::fromUtf8(c.bad));

                // Cancel first: the dialog stays, the text as typed.
                prompter.answers.push_back(Answer::Cancel);
                leaveBy(*dlg, c.endButton, way);
                ASSERT_TRUE(dlg->isVisible());
                EXPECT_EQ(edit->text(), QString::fromUtf8(c.bad));
                ASSERT_EQ(prompter.boxes.size(), 2u);
                EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Error);
                EXPECT_EQ(prompter.boxes[1].text, kQuestionWithNote);
                EXPECT_EQ(prompter.boxes[1].kind, BoxKind::Confirmation);
                EXPECT_EQ(prompter.boxes[1].buttons, zemo::Buttons::YesNoCancel);

                prompter.clear();
                prompter.answers.push_back(answer);
                leaveBy(*dlg, c.endButton, way);
                EXPECT_FALSE(dlg->isVisible());
                ASSERT_EQ(prompter.boxes.size(), 2u);
                EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Error);
                EXPECT_EQ(prompter.boxes[1].text, kQuestionWithNote);
                EXPECT_EQ(c.stored(ws), answer == Answer::Yes ? c.saved : original);
                // What the file holds agrees.
                ASSERT_EQ(zemo::loadControl(ws, false), 0);
                EXPECT_EQ(c.stored(ws), answer == Answer::Yes ? c.saved : original);
            }
        }
    }
}

// Without a refused field the question is the plain one.
TEST_F(LeavingTest, AllFieldsValidAskTheQuestionWithoutTheNote) {
    for (const DialogCase& c : dialogCases()) {
        SCOPED_TRACE(c.name);
        freshControl();
        prompter.clear();
        std::unique_ptr<QDialog> dlg = c.make(ws);
        showActive(*dlg);
        auto* edit = child<QLineEdit>(*dlg, c.field);
        edit->setFocus();
        edit->setText(QString::fromUtf8(c.good));  // checked on the way out, and taken
        prompter.answers.push_back(Answer::Yes);
        leaveBy(*dlg, c.endButton, Way::EndButton);
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(prompter.texts(), std::vector<std::string>{"保存終了します。"});
        EXPECT_EQ(c.stored(ws), c.saved);
    }
}

// The record editor has no question: its refusal is shown and it closes all the same.
TEST_F(LeavingTest, ARefusedFieldNeverHoldsTheRecordEditor) {
    struct Case {
        const char* field;
        const char* bad;
    };
    const Case fields[] = {{"Edt_tim", "x"}, {"Edt_date", "20241399"}, {"Edt_suu", "0"}, {"Edt_pos", "100"}};
    zemo::initControlDefaults(ws);
    ws.createArrays(1);
    zemo::WindowSettings settings;
    zemo::ui::TFrmCdEdit editor(ws, settings);
    for (const Case& c : fields) {
        for (Way way : {Way::Esc, Way::CloseBox}) {
            SCOPED_TRACE(std::string(c.field) + ", " + wayName(way));
            prompter.clear();
            showActive(editor);
            auto* edit = child<QLineEdit>(editor, c.field);
            edit->setFocus();
            edit->setText(QString::fromUtf8(c.bad));
            leaveBy(editor, nullptr, way);
            EXPECT_FALSE(editor.isVisible());
            ASSERT_EQ(prompter.boxes.size(), 1u);
            EXPECT_EQ(prompter.boxes[0].kind, BoxKind::Error);
        }
    }
}

}  // namespace
