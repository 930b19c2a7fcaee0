// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes read as a data file, with every question answered Yes and the password given.
// Beyond not crashing: a refused file leaves the array untouched, a loaded one never yields more
// records than the file holds, and the loaded records survive a share-form save and read exactly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "records/control_file.h"
#include "records/data_ops.h"
#include "storage_fuzz_env.h"

namespace {

using namespace zemo;

constexpr int kCapacity = 4;  // small, so that the truncation question is reachable with small inputs

struct Env {
    fuzzing::FuzzFolder folder;
    fuzzing::AgreeingPrompter prompter;
    FixedClock clock{LocalTime{2024, 5, 15, 10, 0, 0}};
    Workspace ws{prompter, clock, folder.path};
    std::string input = (folder.path / "input.zmo").string();
    std::string shared = (folder.path / "shared.zmo").string();
    TCddataArray array{kCapacity + 1};
    TCddataArray back{kCapacity + 1};

    Env() {
        initControlDefaults(ws);
        ws.control.shareMode = 1;
        ws.shareFlag = true;
        setField(ws.control.sharePassword, "zemo");
        setField(ws.control.creatorId, "FUZZ0001");
    }
};

bool sameBytes(const CdRecord& a, const CdRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Env env;
    fuzzing::writeInput(env.input, data, size);

    // The chooser's way of looking at a file: never a report, never a crash.
    DataFileHeader header;
    DataFileInfo info;
    (void)readHeader(env.ws, env.input, false, header);
    (void)readInfo(env.ws, env.input, false, info);

    CdRecord junk = clearedRecord();
    setField(junk.barcode, "UNTOUCHED");
    for (int i = 0; i <= kCapacity; ++i) env.array.put(i, junk);
    const std::vector<CdRecord> before(env.array.data(), env.array.data() + kCapacity + 1);

    int loaded = 0, count = 0;
    const DataFileRead result = readDataFile(env.ws, env.input, kKindCatalogue, env.array, loaded, count, kCapacity);
    if (result != DataFileRead::Ok) {
        for (int i = 0; i <= kCapacity; ++i)
            if (!sameBytes(env.array[i], before[static_cast<std::size_t>(i)])) std::abort();
        return 0;
    }
    const std::size_t inFile = size < kDataStart ? 0 : (size - kDataStart) / sizeof(CdRecord);
    if (loaded != 1 || count < 0 || count > kCapacity || static_cast<std::size_t>(count) > inFile) std::abort();
    if (!sameBytes(env.array[kCapacity], junk)) std::abort();  // the slot past the capacity is never written

    // Share-form round trip of the active records just loaded.
    std::vector<CdRecord> active;
    for (int i = 0; i < kCapacity; ++i)
        if (env.array[i].active == 1) active.push_back(env.array[i]);
    env.ws.nextMemo.assign(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 80));
    if (writeDataFile(env.ws, true, env.shared, kKindCatalogue, env.array, kCapacity) != 0) std::abort();
    if (readDataFile(env.ws, env.shared, kKindCatalogue, env.back, loaded, count, kCapacity) != DataFileRead::Ok)
        std::abort();
    if (count != static_cast<int>(active.size())) std::abort();
    for (std::size_t i = 0; i < active.size(); ++i)
        if (!sameBytes(env.back[static_cast<int>(i)], active[i])) std::abort();
    return 0;
}
