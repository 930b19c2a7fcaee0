// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CSV form of records that `zemo export` writes and `zemo import` reads back.
#include <string>
#include <vector>

#include "records/cd_record.h"

namespace zemo::cli {

// The header row: the record fields by their names in the code, CRLF.
std::string exportCsvHeader();
// One record's row, CRLF. A text that would not come back byte for byte adds
// "where: FIELD: reason" to problems (the row then holds what could be converted).
std::string exportCsvRow(const CdRecord& record, const std::string& where, std::vector<std::string>& problems);

}  // namespace zemo::cli
