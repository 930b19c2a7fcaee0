// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/prompter.h"

namespace zemo {

const char* boxKindName(BoxKind kind) {
    switch (kind) {
        case BoxKind::Error: return "error";
        case BoxKind::Warning: return "warning";
        case BoxKind::Information: return "information";
        case BoxKind::Confirmation: return "confirmation";
    }
    return "error";
}

}  // namespace zemo
