// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A workspace in a fresh temporary program folder, with a scripted prompter and a fixed clock.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "support/scripted_prompter.h"
#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/workspace.h"
#include "support/temp_dir.h"

namespace zemo::testing {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

using testsupport::TempDir;

inline Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::string& path, const void* data, std::size_t n) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(n));
}
inline void writeBytes(const std::string& path, const Bytes& b) { writeBytes(path, b.data(), b.size()); }

template <typename T>
T at(const Bytes& b, std::size_t offset) {
    T v;
    std::memcpy(&v, b.data() + offset, sizeof v);
    return v;
}
inline std::string textAt(const Bytes& b, std::size_t offset, std::size_t width) {
    std::string s(reinterpret_cast<const char*>(b.data() + offset), width);
    return s.substr(0, s.find('\0'));
}

template <typename T>
Bytes bytesOf(const T& v) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&v);
    return Bytes(p, p + sizeof v);
}

// Lowers the file size limit of this process for one test, so that a write fails part-way
// even for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = old_;
        lim.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int);
};

class StorageTest : public ::testing::Test {
protected:
    StorageTest() {
        initControlDefaults(ws);
        ws.executablePath = dir.path() / "zemoplan";
        // Long enough to pass any size test: only its identity refuses it.
        writeBytes(ws.executablePath.string(), Bytes(4096, 0x7f));
        ws.createArrays(1);
    }

    // The four work directories, so that loads ask no directory questions.
    void makeDataDirs() {
        for (const char* d : {"CD_SYS", "CD_ADD", "CD_TXT", "CD_MD"}) fs::create_directories(dir.path() / d);
    }

    std::vector<std::string> texts() const { return prompter.texts(); }
    std::string lastText() const { return prompter.boxes.empty() ? std::string() : prompter.boxes.back().text; }

    TempDir dir{"zemo-storage"};
    ScriptedPrompter prompter;
    FixedClock clock{LocalTime{2024, 5, 6, 7, 8, 9}};
    Workspace ws{prompter, clock, dir.path()};
};

}  // namespace zemo::testing
