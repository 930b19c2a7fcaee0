// SPDX-License-Identifier: GPL-3.0-or-later
// On a screen at 200 % (QT_SCALE_FACTOR=2, set before the application object is made) the results
// image and the label preview are drawn with twice the pixels, not scaled up from a bitmap.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QLabel>
#include <QImage>
#include <string>
#include <vector>

// Before the application object of dialogs_support.h is made.
static const bool kScaled = [] { return ::setenv("QT_SCALE_FACTOR", "2", 1) == 0; }();

#include "gui/dialogs_support.h"
#include "gui/widget_driver.h"
#include "planning/ui/frm_shuf_disp.h"
#include "platform/sjis.h"
#include "printing/ui/frm_prn_label.h"
#include "records/control_file.h"
#include "records/shuf_tape.h"
#include "records/text.h"
#include "records/workspace.h"
#include "support/fixed_clock.h"
#include "support/scripted_prompter.h"
#include "ui/printer.h"

namespace {

zemo::CdRecord cd(const std::string& title, int seconds) {
    zemo::CdRecord r = zemo::clearedRecord();
    r.active = 1;
    r.timeSec = seconds;
    r.saleDate = 20240101;
    zemo::setField(r.barcode, "4988000000000");
    zemo::setField(r.title, zemo::sj(title));
    zemo::setField(r.artist, zemo::sj("Artist"));
    return r;
}

class HighDensity : public ::testing::Test {
protected:
    HighDensity() {
        zemo::initControlDefaults(ws);
        ws.executablePath = dir.path() / "zemoplan";
        ws.createArrays(1);
    }
    // The image shown has pixelRatio times the pixels of the label that shows it.
    static void expectSharp(const QImage& image, const QLabel* shown, double pixelRatio) {
        ASSERT_FALSE(image.isNull());
        EXPECT_DOUBLE_EQ(image.devicePixelRatio(), pixelRatio);
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->size() * pixelRatio, image.size());
        ASSERT_FALSE(shown->pixmap().isNull());
        EXPECT_DOUBLE_EQ(shown->pixmap().devicePixelRatio(), pixelRatio);
    }

    zemo::guitest::TempDir dir{"zemo-hidpi"};
    zemo::ScriptedPrompter prompter;
    zemo::FixedClock clock{zemo::LocalTime{2024, 5, 6, 7, 8, 9}};
    zemo::Workspace ws{prompter, clock, dir.path()};
    zemo::FontSetting font;
};

TEST_F(HighDensity, TheResultsImageAndTheLabelPreviewHaveTwiceThePixels) {
    ASSERT_TRUE(kScaled);
    zemo::ui::TFrmShufDisp results{ws, font};
    ASSERT_DOUBLE_EQ(results.devicePixelRatioF(), 2.0);
    for (int i = 0; i < 6; ++i) ws.arrays[zemo::kKindShuffle].put(i, cd("CD" + std::to_string(i + 1), 600 + 40 * i));
    ASSERT_EQ(results.openFor(), 0);
    expectSharp(results.image(), results.findChild<QLabel*>("Image1"), 2.0);
    results.close();

    zemo::ui::ProgramPrinter printer;
    zemo::ShufTape plan{};
    plan.count = 2;
    plan.cds[0] = cd("Blue Train", 2532);
    plan.cds[1] = cd("Moanin", 2330);
    plan.countA = plan.countB = 1;
    plan.sideA[0] = 1;
    plan.sideB[0] = 2;
    zemo::ui::TFrmPrnLabel label(ws, font, printer);
    label.setPlan(&plan);
    label.show();
    expectSharp(label.preview(), label.findChild<QLabel*>("Image1"), 2.0);
    label.close();
}

}  // namespace
