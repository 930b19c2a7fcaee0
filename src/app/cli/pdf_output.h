#pragma once
// The PDF output of `zemo list`: the windows' printer text device printing into a file, with Qt on
// its offscreen platform. Kept apart from the commands so that only this part links Qt.
#include <memory>
#include <string>

#include "printing/data_list.h"

namespace zemo::cli {

// A device that prints into the PDF file at path when opened; nothing when this build has no Qt.
std::unique_ptr<TextDevice> makePdfTextDevice(const std::string& path);

}  // namespace zemo::cli
