// A build without Qt has no printer text device to print a PDF with.
#include "app/cli/pdf_output.h"

namespace zemo::cli {

std::unique_ptr<TextDevice> makePdfTextDevice(const std::string&) { return nullptr; }

}  // namespace zemo::cli
