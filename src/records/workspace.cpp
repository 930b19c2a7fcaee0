// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/workspace.h"

#include <algorithm>

namespace zemo {

Workspace::Workspace(Prompter& p, const Clock& c, std::filesystem::path dir)
    : prompter(p), clock(c), programDir(std::move(dir)) {}

std::array<int, kArrayKinds + 1> Workspace::capacitiesFor(int size) {
    size = std::clamp(size, 1, 20);
    return {0, 500 * size, 30, 100 * size, 500, 200 * size, 500, 500};
}

void Workspace::createArrays(int size) {
    dbSize = std::clamp(size, 1, 20);
    capacities = capacitiesFor(dbSize);
    for (int k = 1; k <= kArrayKinds; ++k) arrays[k].create(capacities[k] + 1);
    indexList.create(kIndexListEntries);
    loaded.fill(0);
    readCuts.fill(ReadCut{});
}

void Workspace::changeDatabaseSize(int size) {
    dbSize = std::clamp(size, 1, 20);
    capacities = capacitiesFor(dbSize);
    for (int k = 1; k <= kArrayKinds; ++k)
        if (arrays[k].slotCount() != capacities[k] + 1) {
            arrays[k].create(capacities[k] + 1);
            readCuts[k] = ReadCut{};  // what was read cut is gone with the old array
        }
    loaded.fill(0);
}

TCddataArray* Workspace::array(int kind) {
    return (kind >= 1 && kind <= kArrayKinds) ? &arrays[kind] : nullptr;
}

const TCddataArray* Workspace::array(int kind) const {
    return (kind >= 1 && kind <= kArrayKinds) ? &arrays[kind] : nullptr;
}

}  // namespace zemo
