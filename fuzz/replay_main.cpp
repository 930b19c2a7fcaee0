// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target once over each input named on the command line (a file, or a folder of
// files taken in name order), without fuzzing: the seed corpora become regression tests. Each
// input's name is printed before it runs, so a crash names the input that caused it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::printf("replaying %s (%zu bytes)\n", file.c_str(), bytes.size());
    std::fflush(stdout);
    // A buffer of exactly the input's size, as libFuzzer hands it over, so that the sanitizer sees
    // any read past its end; never a null pointer, even for an empty input.
    const std::size_t size = bytes.size();
    const auto data = std::make_unique<std::uint8_t[]>(size);
    std::copy(bytes.begin(), bytes.end(), data.get());
    LLVMFuzzerTestOneInput(data.get(), size);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s INPUT_FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg(argv[i]);
        std::vector<fs::path> inputs;
        std::error_code ec;
        if (fs::is_directory(arg, ec)) {
            for (const auto& e : fs::directory_iterator(arg, ec))
                if (e.is_regular_file()) inputs.push_back(e.path());
            std::sort(inputs.begin(), inputs.end());
        } else {
            inputs.push_back(arg);
        }
        for (const fs::path& f : inputs) {
            if (!replay(f)) return 1;
            ++replayed;
        }
    }
    // A folder that lost its inputs must not pass as a clean run.
    if (replayed == 0) {
        std::fprintf(stderr, "no inputs found\n");
        return 1;
    }
    return 0;
}
