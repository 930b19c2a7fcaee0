// SPDX-License-Identifier: GPL-3.0-or-later
// The printer text device of the windows printing into a PDF file, for the command-line tool.
#include <QGuiApplication>
#include <QPageSize>
#include <QPrinter>
#include <QString>
#include <memory>

#include "app/cli/pdf_output.h"
#include "printing/ui/label_drawing.h"
#include "printing/ui/printer_text_device.h"
#include "ui/fonts.h"

namespace zemo::cli {
namespace {

// Qt's own notices (missing runtime folder, platform remarks) are not the tool's messages.
void quietQt(QtMsgType, const QMessageLogContext&, const QString&) {}

// Qt on its offscreen platform, for as long as the device lives: no display is needed for a
// file, so none is ever reached.
std::unique_ptr<QGuiApplication> makeApplication() {
    static int argc = 1;
    static char name[] = "zemo";
    static char* argv[] = {name, nullptr};
    qInstallMessageHandler(quietQt);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto app = std::make_unique<QGuiApplication>(argc, argv);
    ui::installFontSubstitutes();
    return app;
}

class PdfTextDevice : public TextDevice {
public:
    explicit PdfTextDevice(const std::string& path)
        : app_(makeApplication()), printer_(QPrinter::HighResolution), device_(printer_) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(QString::fromStdString(path));
    }
    bool open(const std::string& family, int pointSize) override { return device_.open(family, pointSize); }
    void write(const std::string& sjis) override { device_.write(sjis); }
    void endLine() override { device_.endLine(); }
    void flush() override { device_.flush(); }
    void close() override { device_.close(); }

private:
    std::unique_ptr<QGuiApplication> app_;  // first made, last gone
    QPrinter printer_;
    ui::PrinterTextDevice device_;
};

}  // namespace

bool pdfOutputAvailable() { return true; }

std::unique_ptr<TextDevice> makePdfTextDevice(const std::string& path) {
    return std::make_unique<PdfTextDevice>(path);
}

int printLabelPdf(const std::string& path, const std::vector<LabelText>& texts, const LabelLayout& layout,
                  const FontSetting& font) {
    const std::unique_ptr<QGuiApplication> app = makeApplication();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(QString::fromStdString(path));
    return ui::printLabel(printer, texts, layout, font) ? 0 : kPdfCannotWrite;
}

}  // namespace zemo::cli
