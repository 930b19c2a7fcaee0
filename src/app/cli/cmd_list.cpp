// SPDX-License-Identifier: GPL-3.0-or-later
// zemo list: the data list of a file's records, as the printer text device receives it, on stdout
// or printed into a PDF file.
#include <climits>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/cli/cli_common.h"
#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/pdf_output.h"
#include "platform/sjis.h"
#include "printing/data_list.h"
#include "records/text.h"

namespace zemo::cli {
namespace {

const CommandHelp kHelp{
    "list", "FILE [--from N] [--to M] [--password TEXT] [--pdf OUT.pdf] [--home DIR]",
    "Reads the data file FILE (any kind) and prints its records as the data list: the heading line,\n"
    "then one line per record in use from record N to record M (1-based; by default the first and\n"
    "the last; either order; cut at the file's record count), on stdout in UTF-8.\n"
    "  --from N, --to M   the range (whole numbers from 1)\n"
    "  --password TEXT    the password of a protected file (without it an empty one is given)\n"
    "  --pdf OUT.pdf      print the lines into a PDF file instead; nothing on stdout. An existing\n"
    "                     OUT.pdf is kept as OUT.BAK; the input, the control file and their .BAK\n"
    "                     copies are refused.\n"
    "A repeated option: the last one counts."};

// A whole number from 1; nothing otherwise.
std::optional<int> recordNumber(const std::string& text) {
    if (text.empty() || text.size() > 10) return std::nullopt;
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > INT_MAX) return std::nullopt;
    return static_cast<int>(v);
}

// Keeps the lines as they reach the device.
class LineDevice : public TextDevice {
public:
    bool open(const std::string&, int) override { return true; }
    void write(const std::string& sjis) override {
        if (!lineOpen_) lines.emplace_back();
        lineOpen_ = true;
        lines.back() += sjis;
    }
    void endLine() override {
        if (!lineOpen_) lines.emplace_back();
        lineOpen_ = false;
    }
    void flush() override {}
    void close() override {}

    std::vector<std::string> lines;

private:
    bool lineOpen_ = false;
};

// Passes everything on to a device and notes whether it was opened, that is whether a line was
// printed at all.
class OpenWatch : public TextDevice {
public:
    explicit OpenWatch(TextDevice& device) : device_(device) {}
    bool open(const std::string& family, int pointSize) override {
        opened = true;
        return device_.open(family, pointSize);
    }
    void write(const std::string& sjis) override { device_.write(sjis); }
    void endLine() override { device_.endLine(); }
    void flush() override { device_.flush(); }
    void close() override { device_.close(); }

    bool opened = false;

private:
    TextDevice& device_;
};

// No window, nothing to stop, and no spooler to wait for.
class NoProgress : public ListProgress {
public:
    void start() override {}
    void setCount(int) override {}
    bool stopRequested() override { return false; }
    void pause(int) override {}
    void finish() override {}
};

}  // namespace

int runList(int argc, char** argv) {
    std::vector<char*> kept = lastOfEachOption(
        argc, argv, {{"--from", true}, {"--to", true}, {"--password", true}, {"--pdf", true}});
    Args args;
    if (auto status = parseCommandLine(kHelp, static_cast<int>(kept.size()), kept.data(),
                                       {{"--from", true}, {"--to", true}, {"--password", true}, {"--pdf", true}}, 1,
                                       1, args))
        return *status;
    std::optional<int> from, to;
    for (auto [name, number] : {std::pair{"--from", &from}, std::pair{"--to", &to}}) {
        if (auto text = args.value(name)) {
            *number = recordNumber(*text);
            if (!*number) return usageError(kHelp, std::string(name) + " needs a whole number from 1");
        }
    }
    auto pdf = args.value("--pdf");
    if (pdf && pdf->empty()) return usageError(kHelp, "--pdf needs a file name");

    std::filesystem::path home;
    if (auto status = checkProgramFolder(kHelp, args, false, home)) return *status;
    Session s(home);
    const std::string& path = args.positional[0];
    if (auto pw = args.value("--password")) {
        auto bytes = argumentToSjis(*pw);
        if (!bytes) return usageError(kHelp, "the password has a character that Shift-JIS lacks");
        s.prompter.password = *bytes;
    }
    if (pdf) {
        std::vector<ProtectedFile> guarded = inputFiles(path);
        for (ProtectedFile& p : programFiles(s)) guarded.push_back(std::move(p));
        if (auto refused = checkOutput(kHelp, *pdf, guarded, guarded)) return *refused;
    }
    LoadedFile file;
    if (readAnyDataFile(s, path, file) != DataFileRead::Ok) {
        if (s.prompter.shown == 0) s.prompter.message(BoxKind::Error, "ファイルを読めません\n" + path, Buttons::Ok);
        return kExitFailed;
    }

    const int capacity = file.count;
    s.ws.arrays[kKindCatalogue] = std::move(file.records);
    const int first = from.value_or(1), last = to.value_or(capacity);

    NoProgress progress;
    const DataListOptions noPauses{false};
    if (pdf) {
        if (!pdfOutputAvailable()) return failure(kHelp, "this build has no PDF output");
        auto print = [&](const std::string& pdfPath) {
            std::unique_ptr<TextDevice> pdfDevice = makePdfTextDevice(pdfPath);
            OpenWatch device(*pdfDevice);
            const int r = dataListPrint(s.ws, kKindCatalogue, capacity, first - 1, last - 1, device, progress,
                                        noPauses);
            if (r == kDataListDeviceFailed) return Printed::NotStarted;
            if (r != 0 && r != -1) return Printed::Failed;
            return device.opened ? Printed::Done : Printed::Nothing;
        };
        return writeKeepingBackup(s, kHelp, *pdf, 0, pdfWriter(s, kHelp, *pdf, print)) ? kExitOk : kExitFailed;
    }
    LineDevice device;
    const int r = dataListPrint(s.ws, kKindCatalogue, capacity, first - 1, last - 1, device, progress, noPauses);
    if (r != 0 && r != -1) return kExitFailed;
    std::string out;
    for (std::string line : device.lines) {
        trimRight(line);
        out += visibleControls(sjisToUtf8(line)) + "\n";
    }
    if (!writeStdout(out)) return failure(kHelp, "cannot write the output");
    return kExitOk;
}

}  // namespace zemo::cli
