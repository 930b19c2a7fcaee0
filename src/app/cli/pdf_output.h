// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The PDF outputs of `zemo list` and `zemo label`: the windows' printer text device printing into a file, with Qt on
// its offscreen platform. Kept apart from the commands so that only this part links Qt.
#include <memory>
#include <string>

#include <vector>

#include "printing/data_list.h"
#include "printing/label.h"
#include "records/window_settings.h"

namespace zemo::cli {

// Whether this build can print PDF files (it has Qt).
bool pdfOutputAvailable();

// A device that prints into the PDF file at path when opened; nothing when this build has no Qt.
std::unique_ptr<TextDevice> makePdfTextDevice(const std::string& path);

inline constexpr int kPdfCannotWrite = -1;
inline constexpr int kPdfUnavailable = -2;
// Draws a label onto one A4 page of a PDF file as the label window prints it: 0, kPdfCannotWrite,
// or kPdfUnavailable when this build has no Qt.
int printLabelPdf(const std::string& path, const std::vector<LabelText>& texts, const LabelLayout& layout,
                  const FontSetting& font);

}  // namespace zemo::cli
