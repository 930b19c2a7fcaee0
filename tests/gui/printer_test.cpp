// SPDX-License-Identifier: GPL-3.0-or-later
// The program's one printer: kept for the run, chosen once, and printing into a PDF when asked to.
#include <gtest/gtest.h>

#include <QColorDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>
#include <cstdio>
#include <string>

#include "gui/dialogs_support.h"
#include "support/pdf_text.h"
#include "ui/application.h"
#include "ui/fonts.h"
#include "ui/printer.h"

namespace {

using zemo::guitest::TempDir;
using zemo::guitest::whenModal;
using zemo::testsupport::pdfText;
using zemo::ui::ProgramPrinter;
using zemo::ui::ZemoApplication;

TEST(ProgramPrinter, TheApplicationKeepsOnePrinterForTheWholeRun) {
    ZemoApplication* app = ZemoApplication::current();
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(&app->printer(), &app->printer());
    EXPECT_EQ(&app->printer().printer(), &app->printer().printer());
}

TEST(ProgramPrinter, CancellingThePrintDialogChoosesNothing) {
    ProgramPrinter printer;
    EXPECT_FALSE(printer.chosen());
    whenModal<QPrintDialog>([](QPrintDialog* d) { d->reject(); });
    EXPECT_FALSE(printer.ensureChosen(nullptr));
    EXPECT_FALSE(printer.chosen());
}

// Qt's own dialogs speak the program's language whatever the locale.
TEST(ZemoApplicationTexts, QtsOwnDialogsAreInJapanese) {
    QPrinter printer;
    QPrintDialog print(&printer);
    QFontDialog font;
    QColorDialog colour;
    for (const auto& [dialog, english] : {std::pair<QDialog*, QString>{&print, "Print"},
                                          {&font, "Select Font"},
                                          {&colour, "Select Color"}}) {
        const QString title = dialog->windowTitle();
        SCOPED_TRACE(title.toStdString());
        EXPECT_NE(title, english);
        EXPECT_TRUE(std::any_of(title.begin(), title.end(), [](QChar c) { return c.unicode() >= 0x3000; }));
    }
}

TEST(ProgramPrinter, PrintsJapaneseTextIntoAPdfThatReadsBack) {
    TempDir dir("zemo-printer");
    const std::string pdf = dir.str("out.pdf");
    ProgramPrinter printer;
    printer.printToPdf(QString::fromStdString(pdf));
    EXPECT_TRUE(printer.chosen());
    EXPECT_TRUE(printer.ensureChosen(nullptr));  // no dialog once chosen
    {
        QPainter painter(&printer.printer());
        painter.setFont(QFont(QStringLiteral("ＭＳ 明朝"), 12));
        painter.drawText(QPoint(200, 400), QStringLiteral("データ一覧 CD-0001"));
    }
    EXPECT_NE(pdfText(pdf).find("データ一覧 CD-0001"), std::string::npos) << pdfText(pdf);
}

TEST(Fonts, TheWindowsMinchoResolvesToAnInstalledJapaneseFace) {
    const QFontInfo info(zemo::ui::minchoPixelFont(16));
    EXPECT_TRUE(info.family().contains(QStringLiteral("Mincho")) || info.family().contains(QStringLiteral("明朝")))
        << info.family().toStdString();
    EXPECT_EQ(info.pixelSize(), 16);
}

}  // namespace
