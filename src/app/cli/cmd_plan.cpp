// zemo plan: a tape plan made from a data file exactly as the results window makes it, printed as
// the text of the results image (or of the printout).
#include <string>
#include <vector>

#include "app/cli/cli_common.h"
#include "app/cli/commands.h"
#include "app/cli/plan_request.h"

namespace zemo::cli {
namespace {

const std::string kText = std::string(
    "Reads the data file FILE (any kind; at most its first 30 records) into the shuffle list, makes\n"
    "the plan of run number 1 as the results window does when it opens, steps to run number N, then\n"
    "applies ACTION, and prints the text of the results image: lines 0 to the last line drawn on,\n"
    "blanks drawing nothing, trailing blanks removed. Messages go to stderr as KIND: TEXT.\n"
    "  --printout           print the lines that 印刷 would send to the printer instead\n") + kPlanOptionsHelp;

const CommandHelp kHelp{"plan",
                        "FILE [--control PATH] [--run N] [--action ACTION] [--password TEXT] [--printout] "
                        "[setting overrides]",
                        kText.c_str()};

}  // namespace

int runPlan(int argc, char** argv) {
    Args args;
    std::vector<OptionSpec> specs = planOptionSpecs();
    specs.push_back({"--printout", false});
    if (auto status = parseCommandLine(kHelp, argc, argv, specs, 1, 1, args)) return *status;
    PlanRequest request;
    if (auto status = readPlanRequest(kHelp, args, request)) return *status;

    PlanRun run(request.home);
    if (auto status = makePlan(kHelp, request, run)) return *status;
    const std::vector<std::string> lines =
        args.has("--printout") ? run.results.printoutLines() : run.results.image().gridLines();
    if (!writeStdout(outputText(lines))) return failure(kHelp, "cannot write the output");
    return kExitOk;
}

}  // namespace zemo::cli
