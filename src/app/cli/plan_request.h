// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the commands that make a tape plan share (zemo plan, zemo label): the options that say which
// plan, their checks, and the run that reaches the results window's state from a data file.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/cli_common.h"
#include "planning/plan_engine.h"
#include "planning/plan_results.h"

namespace zemo::cli {

// The help lines of those options.
extern const char* const kPlanOptionsHelp;

// --control, --run, --action, --password and the setting overrides.
std::vector<OptionSpec> planOptionSpecs();

enum class PlanAction { None, NoShuffle, Half, ShuffleA, ShuffleB, ShuffleAB };

struct PlanOverride;

struct PlanRequest {
    std::string path;                        // the data file
    std::optional<std::string> controlPath;  // --control
    std::int32_t runs = 1;                   // --run
    PlanAction action = PlanAction::None;
    std::optional<std::string> password;     // --password, in Shift-JIS
    std::vector<std::pair<const PlanOverride*, std::int32_t>> overrides;  // in the order of the table
    std::filesystem::path home;
    bool checkOnly = false;  // zemo plan --check: the settings and the list are read, no plan is made
};

// Checks what the command line says (usage errors), the program folder, and that the inputs are
// regular files. Nothing, or the exit status to return.
std::optional<int> readPlanRequest(const CommandHelp& help, const Args& args, PlanRequest& out);

// The session, the engine and the results state of one command.
class PlanRun {
public:
    explicit PlanRun(const std::filesystem::path& home) : session(home), engine(session.ws), results(engine) {}
    PlanRun(const PlanRun&) = delete;
    PlanRun& operator=(const PlanRun&) = delete;

    Session session;
    PlanEngine engine;
    ResultsState results;
};

// The creation defaults, the control file's planning settings, label layout and creatorId (with
// --control), the overrides; the data file into the shuffle list; the plan of run number 1, the
// steps to run N, the action (with checkOnly, nothing after the list is read). Nothing, or the exit status to return (the reason has been given).
std::optional<int> makePlan(const CommandHelp& help, const PlanRequest& request, PlanRun& run);

// Output lines: UTF-8, trailing blanks (both kinds) removed, control characters as visible
// escapes, each ending in "\n".
std::string outputText(const std::vector<std::string>& sjLines);

}  // namespace zemo::cli
