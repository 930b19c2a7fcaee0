// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A program folder in a temporary directory with its work directories and a catalogue of a given
// number of records in use, for the benchmarks; the prompter answers nothing and counts the boxes.
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/prompter.h"
#include "records/cd_record.h"
#include "records/control_file.h"
#include "records/text.h"
#include "records/workspace.h"
#include "support/fixed_clock.h"

namespace zemo::bench {

namespace fs = std::filesystem;

// Answers nothing: any box during a measured run is a failure of the set-up. A benchmark that
// goes through confirmations sets reply and counts them.
class SilentPrompter : public Prompter {
public:
    int boxes = 0;
    Answer reply = Answer::Cancel;
    Answer message(BoxKind, const std::string&, Buttons) override {
        ++boxes;
        return reply;
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
    explicit CatalogueFixture(int count, int dbSize = 0) {
        std::string tmpl = (fs::temp_directory_path() / "zemo-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        dir_ = tmpl;
        ws.programDir = dir_;
        initControlDefaults(ws);
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(dir_ / d);
        ws.createArrays(dbSize > 0 ? dbSize : (count + 499) / 500);
        ws.dbSize = dbSize > 0 ? dbSize : (count + 499) / 500;
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

}  // namespace zemo::bench
