// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/record_array.h"

namespace zemo {

void TCddataArray::create(int count) {
    slots_.assign(static_cast<std::size_t>(count < 0 ? 0 : count), clearedRecord());
}

void TLongintArray::fill(int count, std::int32_t value) {
    for (int i = 0; i < count && i < size(); ++i) v_[static_cast<std::size_t>(i)] = value;
}

bool TLongintArray::anyPositive(int count) const {
    for (int i = 0; i < count && i < size(); ++i)
        if (v_[static_cast<std::size_t>(i)] > 0) return true;
    return false;
}

}  // namespace zemo
