// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the storage fuzz targets: a program folder on a memory file system when there is one,
// and a prompter that agrees to everything (Yes, OK, Ignore) and gives the password "ZEMO".
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "support/fixed_clock.h"
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

// libFuzzer ends with _Exit, so the destructor does not run there: each run names its folder
// after its process and sweeps away the folders of runs that are no longer alive. A replay of the
// seeds ends normally and removes its own folder.
class FuzzFolder {
public:
    FuzzFolder() {
        namespace fs = std::filesystem;
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        const std::string prefix = "zemo-fuzz-";
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(base, ec)) {
            const std::string name = e.path().filename().string();
            if (name.rfind(prefix, 0) != 0) continue;
            const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
            if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) fs::remove_all(e.path(), ec);
        }
        path = base / (prefix + std::to_string(::getpid()));
        fs::remove_all(path, ec);
        if (!fs::create_directory(path, ec)) ::abort();
    }

    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;
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
