// SPDX-License-Identifier: GPL-3.0-or-later
// zemo label: the cassette label of a tape plan, composed as the label window composes it, as a
// character grid on stdout or drawn onto a PDF page as its 印刷 draws it.
#include <climits>
#include <string>
#include <vector>

#include "app/cli/cli_common.h"
#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/pdf_output.h"
#include "app/cli/plan_request.h"
#include "platform/sjis.h"
#include "printing/label.h"
#include "records/entry_checks.h"
#include "records/text.h"
#include "records/window_settings.h"

namespace zemo::cli {
namespace {

const std::string kText = std::string(
    "Reaches the plan that `zemo plan` reaches with the same FILE, --control, --run, --action and\n"
    "overrides, then composes its label from the control file's label layout (the creation defaults\n"
    "without --control) and creatorId, and prints it as a character grid: rows 0 to the last row\n"
    "written on, blanks drawing nothing, trailing blanks removed. A plan that the last redraw found\n"
    "inconsistent is not labelled (exit 1).\n"
    "  --date YYYYMMDD      the label date (default: today)\n"
    "  --title TEXT         the label title, at most 60 Shift-JIS bytes (default: the stored one)\n"
    "  --text               the character grid on stdout (the default)\n"
    "  --pdf OUT.pdf        the label drawn onto one A4 page of OUT.pdf with the label font of the\n"
    "                       program folder's WZEMO.INI; nothing on stdout. An existing OUT.pdf is\n"
    "                       kept as OUT.BAK; FILE, the --control file, WZEMO.INI, the control file\n"
    "                       and their .BAK copies are refused.\n") +
    kPlanOptionsHelp + "\nA repeated option: the last one counts; of --text and --pdf the last one counts.";

const CommandHelp kHelp{"label",
                        "FILE [--control PATH] [--run N] [--action ACTION] [--password TEXT] [setting overrides] "
                        "[--date YYYYMMDD] "
                        "[--title TEXT] [--text | --pdf OUT.pdf] [--home DIR]",
                        kText.c_str()};

constexpr int kTitleBytes = 60;

// The date dialog's check of a date: nothing when it passes, else its message.
std::optional<std::string> dateProblem(const std::string& text, std::int32_t& value) {
    const EntryProblem problem = dateInputProblem(value, text, 0, 99999999);
    if (!problem) return std::nullopt;
    std::string message = problem.text;
    for (char& c : message)
        if (c == '\n') c = ' ';
    return message;
}

}  // namespace

int runLabel(int argc, char** argv) {
    std::vector<OptionSpec> specs = planOptionSpecs();
    for (OptionSpec o : {OptionSpec{"--date", true}, OptionSpec{"--title", true}, OptionSpec{"--text", false},
                         OptionSpec{"--pdf", true}})
        specs.push_back(o);
    std::vector<std::string> valued{"--home"};
    std::vector<std::vector<std::string>> groups{{"--home"}, {"--text", "--pdf"}};
    for (const OptionSpec& o : specs) {
        if (o.takesValue) valued.push_back(o.name);
        if (std::string(o.name) != "--text" && std::string(o.name) != "--pdf") groups.push_back({o.name});
    }
    std::vector<char*> kept = lastOfEachOption(argc, argv, groups, valued);
    Args args;
    if (auto status = parseCommandLine(kHelp, static_cast<int>(kept.size()), kept.data(), specs, 1, 1, args))
        return *status;

    std::optional<std::int32_t> date;
    if (auto v = args.value("--date")) {
        std::int32_t value = 0;
        if (auto problem = dateProblem(*v, value)) return usageError(kHelp, "--date: " + *problem);
        date = value;
    }
    std::optional<std::string> title;
    if (auto v = args.value("--title")) {
        title = argumentToSjis(*v);
        if (!title) return usageError(kHelp, "--title has a character that Shift-JIS lacks");
        if (title->size() > static_cast<std::size_t>(kTitleBytes))
            return usageError(kHelp, "--title takes at most " + std::to_string(kTitleBytes) + " Shift-JIS bytes");
    }
    auto pdf = args.value("--pdf");
    if (pdf && pdf->empty()) return usageError(kHelp, "--pdf needs a file name");
    PlanRequest request;
    if (auto status = readPlanRequest(kHelp, args, request)) return *status;

    PlanRun run(request.home);
    if (pdf) {
        std::vector<ProtectedFile> guarded = inputFiles(request.path);
        if (request.controlPath)
            for (ProtectedFile& p : inputFiles(*request.controlPath)) guarded.push_back(std::move(p));
        for (ProtectedFile& p : programFiles(run.session)) guarded.push_back(std::move(p));
        guarded.push_back({windowSettingsPath(run.session.ws), "the program's settings file"});
        if (auto refused = checkOutput(kHelp, *pdf, guarded, guarded)) return *refused;
    }
    if (auto status = makePlan(kHelp, request, run)) return *status;
    // The label command shows the redraw's box again and composes nothing.
    if (!run.results.labelAllowed()) return kExitFailed;

    Workspace& ws = run.session.ws;
    LabelLayout layout = labelLayoutFrom(ws.control.labelBlock);
    if (title) setField(layout.labelTitle, *title, kTitleBytes);
    LabelSource source;
    source.plan = &run.results.plan();
    source.creatorId = fieldText(ws.control.creatorId);
    source.labelDate = date ? *date : today(ws.clock);
    const std::vector<LabelText> texts = composeLabel(layout, source);

    if (pdf) {
        WindowSettings settings;
        loadWindowSettings(ws, settings, INT_MAX, INT_MAX);
        if (!pdfOutputAvailable()) return failure(kHelp, "this build has no PDF output");
        auto print = [&](const std::string& file) {
            return printLabelPdf(file, texts, layout, settings.labelPrintFont) == 0 ? Printed::Done
                                                                                    : Printed::NotStarted;
        };
        return writeKeepingBackup(run.session, kHelp, *pdf, 0, pdfWriter(run.session, kHelp, *pdf, print))
                   ? kExitOk
                   : kExitFailed;
    }
    if (!writeStdout(outputText(labelGridLines(texts)))) return failure(kHelp, "cannot write the output");
    return kExitOk;
}

}  // namespace zemo::cli
