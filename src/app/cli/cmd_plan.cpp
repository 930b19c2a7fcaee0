// SPDX-License-Identifier: GPL-3.0-or-later
// zemo plan: a tape plan made from a data file exactly as the results window makes it, printed as
// the text of the results image (or of the printout); with --check, the exact check's answer instead.
#include <string>
#include <vector>

#include "app/cli/cli_common.h"
#include "app/cli/commands.h"
#include "app/cli/plan_request.h"
#include "planning/exact_check.h"

namespace zemo::cli {
namespace {

const std::string kText = std::string(
    "Reads the data file FILE (any kind; at most its first 30 records) into the shuffle list, makes\n"
    "the plan of run number 1 as the results window does when it opens, steps to run number N, then\n"
    "applies ACTION, and prints the text of the results image: lines 0 to the last line drawn on,\n"
    "blanks drawing nothing, trailing blanks removed. Messages go to stderr as KIND: TEXT.\n"
    "  --printout           print the lines that 印刷 would send to the printer instead\n"
    "  --check              print the exact check of the list instead of a plan:\n"
    "                         window: LO HI               the acceptance window, in seconds\n"
    "                         exists: yes|no|unchecked    whether any split of the CDs passes\n"
    "                                                     (unchecked: HI is over 10800)\n"
    "                         tolerance: S|none|unchecked the smallest 有効秒差 in seconds with\n"
    "                                                     which one passes (none: not while\n"
    "                                                     target + S <= 10800; unchecked: the\n"
    "                                                     target is over 10800)\n"
    "                         A: n ...                    with exists: yes, one passing plan:\n"
    "                         B: n ...                    CD numbers 1..N in list order,\n"
    "                         rest: n ...                 ascending; a list may be empty\n") + kPlanOptionsHelp;

const CommandHelp kHelp{"plan",
                        "FILE [--control PATH] [--run N] [--action ACTION] [--password TEXT] [--printout] "
                        "[--check] [setting overrides]",
                        kText.c_str()};

std::string numberList(const char* label, const std::vector<int>& cds) {
    std::string line = label;
    for (int x : cds) line += " " + std::to_string(x);
    return line + "\n";
}

const char* answerText(ExactAnswer a) {
    switch (a) {
        case ExactAnswer::Yes: return "yes";
        case ExactAnswer::No: return "no";
        case ExactAnswer::Unchecked: break;
    }
    return "unchecked";
}

// The check of the list as the results window would read it: the settings, the selection, the target.
int printCheck(PlanRun& run, const std::string& path) {
    PlanEngine& engine = run.engine;
    engine.loadShufControl();
    if (engine.buildSelection() != 0) return failure(kHelp, path + ": the list cannot be read");
    const ExactResult r = exactCheckSelection(engine.selection, engine.ctl);
    std::string out = "window: " + std::to_string(r.lo) + " " + std::to_string(r.hi) + "\n";
    out += std::string("exists: ") + answerText(r.exists) + "\n";
    out += "tolerance: ";
    switch (r.toleranceFound) {
        case ExactAnswer::Yes: out += std::to_string(r.minTolerance); break;
        case ExactAnswer::No: out += "none"; break;
        case ExactAnswer::Unchecked: out += "unchecked"; break;
    }
    out += "\n";
    if (r.exists == ExactAnswer::Yes)
        out += numberList("A:", r.sideA) + numberList("B:", r.sideB) + numberList("rest:", r.rest);
    if (!writeStdout(out)) return failure(kHelp, "cannot write the output");
    return kExitOk;
}

}  // namespace

int runPlan(int argc, char** argv) {
    Args args;
    std::vector<OptionSpec> specs = planOptionSpecs();
    specs.push_back({"--printout", false});
    specs.push_back({"--check", false});
    if (auto status = parseCommandLine(kHelp, argc, argv, specs, 1, 1, args)) return *status;
    PlanRequest request;
    if (auto status = readPlanRequest(kHelp, args, request)) return *status;
    request.checkOnly = args.has("--check");

    PlanRun run(request.home);
    if (auto status = makePlan(kHelp, request, run)) return *status;
    if (request.checkOnly) return printCheck(run, request.path);
    const std::vector<std::string> lines =
        args.has("--printout") ? run.results.printoutLines() : run.results.image().gridLines();
    if (!writeStdout(outputText(lines))) return failure(kHelp, "cannot write the output");
    return kExitOk;
}

}  // namespace zemo::cli
