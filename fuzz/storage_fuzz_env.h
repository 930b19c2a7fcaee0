#pragma once
// Shared by the storage fuzz targets: a program folder on a memory file system when there is one,
// and a prompter that agrees to everything (Yes, OK, Ignore) and gives the password "ZEMO".
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/prompter.h"
#include "records/workspace.h"

namespace zemo::fuzzing {

class AgreeingPrompter : public Prompter {
public:
    Answer message(BoxKind, const std::string&, Buttons buttons) override {
        switch (buttons) {
            case Buttons::Ok:
            case Buttons::OkCancel: return Answer::Ok;
            case Buttons::AbortRetryIgnore: return Answer::Ignore;  // Retry could loop for ever
            default: return Answer::Yes;
        }
    }
    std::optional<std::string> askPassword() override { return std::string("ZEMO"); }
    int askReadWrite() override { return kChoiceCancel; }
    FileChoice chooseDataFile(int, const std::string&) override { return {}; }
    void busyCursor(bool) override {}
    void arrowCursor(bool) override {}
};

class FuzzFolder {
public:
    FuzzFolder() {
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                      : std::filesystem::temp_directory_path();
        std::string tmpl = (base / "zemo-fuzz-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) ::abort();
        path = tmpl;
    }
    ~FuzzFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

inline void writeInput(const std::string& file, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace zemo::fuzzing
