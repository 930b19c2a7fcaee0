// SPDX-License-Identifier: GPL-3.0-or-later
// A build without Qt has no printer text device to print a PDF with.
#include "app/cli/pdf_output.h"

namespace zemo::cli {

bool pdfOutputAvailable() { return false; }

std::unique_ptr<TextDevice> makePdfTextDevice(const std::string&) { return nullptr; }

int printLabelPdf(const std::string&, const std::vector<LabelText>&, const LabelLayout&, const FontSetting&) {
    return kPdfUnavailable;
}

}  // namespace zemo::cli
