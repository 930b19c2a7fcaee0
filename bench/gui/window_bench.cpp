// SPDX-License-Identifier: GPL-3.0-or-later
// The catalogue window opened as the main window's command opens it (histories, add list and
// catalogue read, window shown, first rows painted offscreen), and the data list of a full-size
// catalogue printed to a PDF file.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include "bench_catalogue.h"
#include "catalogue/catalogue_access.h"
#include "catalogue/ui/frm_cd_bagr.h"
#include "catalogue/ui/frm_cd_data.h"
#include "catalogue/ui/frm_cd_edit.h"
#include "catalogue/ui/frm_cd_history.h"
#include "catalogue/ui/record_grid.h"
#include "printing/ui/data_list_printing.h"
#include "printing/ui/frm_stop.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/window_settings.h"
#include "ui/application.h"
#include "ui/printer.h"

namespace zemo {
namespace {

using bench::CatalogueFixture;
namespace fs = std::filesystem;

// dbSize 20 (10,001 rows) whatever the catalogue holds; the other lists present and empty.
struct WindowFixture {
    explicit WindowFixture(int count) : f(count, 20) {
        for (int kind : {kKindDeleted, kKindAdd, kKindNew}) {
            TCddataArray empty(f.ws.capacity(kind) + 1);
            ok = ok && writeDataFile(f.ws, false, defaultFilePath(f.ws, kind), kind, empty, f.ws.capacity(kind)) == 0;
        }
        ok = ok && saveKind(f.ws, 1, kKindCatalogue, f.capacity(), f.catalogue()) == 0;
    }
    CatalogueFixture f;
    bool ok = true;
};

void BM_OpenCatalogueWindow(benchmark::State& state) {
    WindowFixture w(static_cast<int>(state.range(0)));
    WindowSettings settings;
    ui::TFrmCd_data window(w.f.ws, settings);
    window.resize(980, 600);
    for (auto _ : state) {
        for (int kind : {kKindCatalogue, kKindDeleted, kKindAdd, kKindNew}) w.f.ws.loaded[kind] = 0;
        const bool loaded = loadDeletedList(w.f.ws) == 0 && loadNewList(w.f.ws) == 0 && loadAddList(w.f.ws) == 0 &&
                            window.loadCatalogueGrid() == 0;
        if (!w.ok || !loaded) {
            state.SkipWithError("could not read the lists");
            break;
        }
        window.show();
        QPixmap painted = window.grab();
        benchmark::DoNotOptimize(painted);
        window.hide();
    }
    if (w.f.prompter.boxes != 0) state.SkipWithError("a message box appeared");
}
BENCHMARK(BM_OpenCatalogueWindow)->Arg(0)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);

// Registering from the editor into a 10,000-record catalogue whose barcode clashes with 3 records:
// the agreement window opens offscreen and 設定 is pressed on its preselected row; the list window
// is shown and both history windows exist (hidden), so what is measured includes what the windows
// redraw.
void BM_RegisterRecordWithWindows(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    WindowFixture w(count);
    w.f.prompter.reply = Answer::Ok;
    WindowSettings settings;
    ui::TFrmCd_data list(w.f.ws, settings);
    auto* editor = new ui::TFrmCdEdit(w.f.ws, settings, &list);
    ui::TFrmCd_Bagr agreement(w.f.ws, settings);
    ui::TFrmCd_New added(w.f.ws, settings);
    ui::TFrmCd_Del deleted(w.f.ws, settings);
    agreement.setCatalogueRowChanged([&list](int slot) { list.drawCatalogueRow(slot); });
    editor->setCatalogueWindow(&list);
    editor->setAgreement(&agreement);
    editor->setHistories(&added, &deleted);
    const bool loaded = loadDeletedList(w.f.ws) == 0 && loadNewList(w.f.ws) == 0 && loadAddList(w.f.ws) == 0 &&
                        list.loadCatalogueGrid() == 0 && added.loadList() == 0 && deleted.loadList() == 0;
    const int clash = count / 2;
    for (int slot : {count / 10, clash, count - 1}) {
        setField(w.f.catalogue()[slot].barcode, "4900000CLASH");
        setField(w.f.catalogue()[slot].title, std::string("CLASH ").append(std::to_string(slot)));
    }
    list.resize(980, 600);
    list.show();
    list.grid()->selectSlot(clash);
    auto* registerButton = editor->findChild<QPushButton*>("BtnF06");
    auto* replaceButton = agreement.findChild<QPushButton*>("BtnF10Put");
    const CdRecord key = w.f.catalogue()[clash];
    for (auto _ : state) {
        editor->showInEditor(key, clash);
        QTimer::singleShot(0, replaceButton, &QPushButton::click);
        registerButton->click();
    }
    if (!w.ok || !loaded) state.SkipWithError("could not read the lists");
    if (w.f.prompter.boxes != 2 * static_cast<int>(state.iterations())) state.SkipWithError("an unexpected box appeared");
    if (w.f.catalogue()[clash].registeredAt == 0) state.SkipWithError("nothing was registered");
    list.hide();
}
BENCHMARK(BM_RegisterRecordWithWindows)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_PrintDataList(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    CatalogueFixture f(count);
    ui::ProgramPrinter printer;
    printer.printToPdf(QString::fromStdString((fs::temp_directory_path() / "zemo-bench-list.pdf").string()));
    ui::TFrmStop stop;
    for (auto _ : state) {
        if (ui::printDataList(f.ws, printer, stop, kKindCatalogue, f.capacity(), 0, f.capacity() - 1, nullptr) != 0) {
            state.SkipWithError("printing failed");
            break;
        }
    }
    if (f.prompter.boxes != 0) state.SkipWithError("a message box appeared");
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_PrintDataList)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace zemo

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    zemo::ui::ZemoApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
