// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/ui/list_window_parts.h"

#include <algorithm>

#include "printing/ui/frm_prn_st_ed.h"

namespace zemo::ui {

bool askListRange(TFrmPrnStEd& range, int capacity, int& first, int& last) {
    if (last <= 0 || last > capacity) last = capacity;
    first = std::clamp(first, 1, std::max(capacity, 1));
    range.prepare(capacity, first, last);
    range.exec();
    if (!range.confirmed()) return false;
    first = range.first();
    last = range.last();
    return true;
}

}  // namespace zemo::ui
