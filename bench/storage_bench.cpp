// Loading and saving a full-size catalogue file (10,000 records) through the data-file operations,
// the save with backup mode on (".BAK" copy, then the new file through a flushed temporary file).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/clock.h"
#include "support/fixed_clock.h"
#include "platform/prompter.h"
#include "records/control_file.h"
#include "records/data_ops.h"

namespace zemo {
namespace {

namespace fs = std::filesystem;

// Answers nothing: any box during a measured run is a failure of the set-up.
class SilentPrompter : public Prompter {
public:
    int boxes = 0;
    Answer message(BoxKind, const std::string&, Buttons) override {
        ++boxes;
        return Answer::Cancel;
    }
    std::optional<std::string> askPassword() override { return std::nullopt; }
    int askReadWrite() override { return kChoiceCancel; }
    FileChoice chooseDataFile(int, const std::string&) override { return {}; }
    void busyCursor(bool) override {}
    void arrowCursor(bool) override {}
};

// A program folder with its work directories and a catalogue of count active records.
class CatalogueFixture {
public:
    explicit CatalogueFixture(int count) {
        std::string tmpl = (fs::temp_directory_path() / "zemo-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        dir_ = tmpl;
        ws.programDir = dir_;
        initControlDefaults(ws);
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(dir_ / d);
        ws.createArrays((count + 499) / 500);
        TCddataArray& a = ws.arrays[kKindCatalogue];
        for (int i = 0; i < count; ++i) {
            CdRecord r = clearedRecord();
            r.active = 1;
            setField(r.barcode, std::to_string(4988100000000LL + i), kBarcodeMax);
            setField(r.userCode, std::to_string(i));
            setField(r.title, std::string("TITLE OF CD NUMBER ").append(std::to_string(i)));
            setField(r.artist, std::string("ARTIST ").append(std::to_string(i % 900)));
            r.timeSec = 3000 + i % 1200;
            r.openDate = 20240101 + i % 28;
            a[i] = r;
        }
    }
    ~CatalogueFixture() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    int capacity() const { return ws.capacity(kKindCatalogue); }
    TCddataArray& catalogue() { return ws.arrays[kKindCatalogue]; }

    SilentPrompter prompter;
    FixedClock clock{LocalTime{2024, 5, 15, 10, 0, 0}};
    Workspace ws{prompter, clock};

private:
    fs::path dir_;
};

void BM_LoadCatalogue(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    CatalogueFixture f(count);
    if (saveKind(f.ws, 1, kKindCatalogue, f.capacity(), f.catalogue()) != 0) {
        state.SkipWithError("could not write the catalogue");
        return;
    }
    int loaded = 0, read = 0;
    for (auto _ : state) {
        if (loadKind(f.ws, kKindCatalogue, f.capacity(), read, f.catalogue(), loaded) != 0 || read != count) {
            state.SkipWithError("load failed");
            break;
        }
    }
    if (f.prompter.boxes != 0) state.SkipWithError("a message box appeared");
    state.SetItemsProcessed(state.iterations() * count);
    state.SetBytesProcessed(state.iterations() * (384 + 192 * static_cast<std::int64_t>(count)));
}
BENCHMARK(BM_LoadCatalogue)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SaveCatalogue(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    CatalogueFixture f(count);
    if (saveKind(f.ws, 1, kKindCatalogue, f.capacity(), f.catalogue()) != 0) {
        state.SkipWithError("could not write the catalogue");
        return;
    }
    for (auto _ : state) {
        if (saveKind(f.ws, 0, kKindCatalogue, f.capacity(), f.catalogue()) != 0) {
            state.SkipWithError("save failed");
            break;
        }
    }
    if (f.prompter.boxes != 0) state.SkipWithError("a message box appeared");
    state.SetItemsProcessed(state.iterations() * count);
    state.SetBytesProcessed(state.iterations() * (384 + 192 * static_cast<std::int64_t>(count)));
}
BENCHMARK(BM_SaveCatalogue)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zemo
