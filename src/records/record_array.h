// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// In-memory record arrays: fixed 192-byte slots, and the 32-bit integer list.
#include <cstdint>
#include <vector>

#include "records/cd_record.h"

namespace zemo {

class TCddataArray {
public:
    TCddataArray() = default;
    explicit TCddataArray(int count) { create(count); }
    // Allocates the slots; their contents are cleared records here (the stored
    // format leaves them undefined until cleared).
    void create(int count);
    // Unchecked: the checked access by kind is getRecord/putRecord.
    void get(int index, CdRecord& out) const { out = slots_[static_cast<std::size_t>(index)]; }
    void put(int index, const CdRecord& in) { slots_[static_cast<std::size_t>(index)] = in; }
    int slotCount() const { return static_cast<int>(slots_.size()); }
    CdRecord* data() { return slots_.data(); }
    const CdRecord* data() const { return slots_.data(); }
    CdRecord& operator[](int index) { return slots_[static_cast<std::size_t>(index)]; }
    const CdRecord& operator[](int index) const { return slots_[static_cast<std::size_t>(index)]; }

private:
    std::vector<CdRecord> slots_;
};

class TLongintArray {
public:
    TLongintArray() = default;
    explicit TLongintArray(int entries) { create(entries); }
    void create(int entries) { v_.assign(static_cast<std::size_t>(entries), 0); }
    std::int32_t get(int index) const { return v_[static_cast<std::size_t>(index)]; }
    void set(int index, std::int32_t value) { v_[static_cast<std::size_t>(index)] = value; }
    void fill(int count, std::int32_t value);
    bool anyPositive(int count) const;
    int size() const { return static_cast<int>(v_.size()); }

private:
    std::vector<std::int32_t> v_;
};

}  // namespace zemo
