// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/printer.h"

#include <QCoreApplication>
#include <QPrintDialog>
#include <QPrinter>

namespace zemo::ui {

QString printJobName(PrintJob job) {
    switch (job) {
    case PrintJob::DataList:
        return QCoreApplication::translate("ProgramPrinter", "Zemoplan データリスト");
    case PrintJob::Label:
        return QCoreApplication::translate("ProgramPrinter", "Zemoplan ラベル");
    case PrintJob::Plan:
        break;
    }
    return QCoreApplication::translate("ProgramPrinter", "Zemoplan 振分け");
}

QPrinter& ProgramPrinter::printerFor(PrintJob job) {
    printer_->setDocName(printJobName(job));
    return *printer_;
}

ProgramPrinter::ProgramPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

ProgramPrinter::~ProgramPrinter() = default;

bool ProgramPrinter::choose(QWidget* parent) {
    QPrintDialog dialog(printer_.get(), parent);
    dialog.setObjectName("PrintDialog");
    if (dialog.exec() != QDialog::Accepted) return false;
    chosen_ = true;
    return true;
}

void ProgramPrinter::printToPdf(const QString& path) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(path);
    chosen_ = true;
}

}  // namespace zemo::ui
