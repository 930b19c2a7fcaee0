// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/printer.h"

#include <QPrintDialog>
#include <QPrinter>

namespace zemo::ui {

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
