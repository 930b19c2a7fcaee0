// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/cli/plan_request.h"

#include <fstream>

#include "app/cli/cli_files.h"
#include "platform/regular_file.h"
#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/entry_checks.h"
#include "records/file_services.h"
#include "records/scramble.h"
#include "records/text.h"

namespace zemo::cli {

const char* const kPlanOptionsHelp =
    "  --control PATH       a system control file whose planning settings are used\n"
    "                       (default: startA 1, startB 1, plusOnly 1, tolerance 5, the rest 0)\n"
    "  --run N              the run number to step to, 1..99999 (default 1)\n"
    "  --action ACTION      none (振分無), half (２分割), shuffle-a, shuffle-b, shuffle-ab\n"
    "  --password TEXT      the password of a protected file (without it an empty one is given)\n"
    "  --target MMMMSS      目標秒数, 0..999959 (0 = half of the total)\n"
    "  --tolerance MMMMSS   有効秒差, 0..999959\n"
    "  --start-a N          設定開始A面, 1..30\n"
    "  --start-b N          設定開始B面, 1..30\n"
    "  --plus-only 0|1      有効秒差: 0 = ＋－, 1 = ＋ only\n"
    "  --no-optimise 0|1    最適化 しない\n"
    "  --no-optimise-a 0|1  A面最適化 しない\n"
    "  --reg-order-first 0|1  登録順優先 する\n"
    "  --force-start 0|1    ﾃﾞｰﾀ強制設定 する\n"
    "  --csv-layout 0|1     comma-separated result lines";

// A setting override: the option, its accepted range, and where it goes.
struct PlanOverride {
    const char* option;
    std::int32_t min, max;
    bool time;  // MMMMSS, stored as seconds
    void (*apply)(ShufControl&, std::int32_t);
};

namespace {

const PlanOverride kOverrides[] = {
    {"--target", 0, 999959, true, [](ShufControl& c, std::int32_t v) { c.targetSec = v; }},
    {"--tolerance", 0, 999959, true, [](ShufControl& c, std::int32_t v) { c.tolerance = v; }},
    {"--start-a", 1, 30, false, [](ShufControl& c, std::int32_t v) { c.startA = static_cast<std::int16_t>(v); }},
    {"--start-b", 1, 30, false, [](ShufControl& c, std::int32_t v) { c.startB = static_cast<std::int16_t>(v); }},
    {"--plus-only", 0, 1, false, [](ShufControl& c, std::int32_t v) { c.plusOnly = static_cast<std::int16_t>(v); }},
    {"--no-optimise", 0, 1, false,
     [](ShufControl& c, std::int32_t v) { c.noOptimise = static_cast<std::int16_t>(v); }},
    {"--no-optimise-a", 0, 1, false,
     [](ShufControl& c, std::int32_t v) { c.noOptimiseA = static_cast<std::int16_t>(v); }},
    {"--reg-order-first", 0, 1, false,
     [](ShufControl& c, std::int32_t v) { c.regOrderFirst = static_cast<std::int16_t>(v); }},
    {"--force-start", 0, 1, false,
     [](ShufControl& c, std::int32_t v) { c.forceStart = static_cast<std::int16_t>(v); }},
    {"--csv-layout", 0, 1, false, [](ShufControl& c, std::int32_t v) { c.csvLayout = static_cast<std::int16_t>(v); }},
};

bool parseAction(const std::string& s, PlanAction& out) {
    static const struct {
        const char* name;
        PlanAction action;
    } kActions[] = {{"none", PlanAction::NoShuffle},     {"half", PlanAction::Half},
                    {"shuffle-a", PlanAction::ShuffleA}, {"shuffle-b", PlanAction::ShuffleB},
                    {"shuffle-ab", PlanAction::ShuffleAB}};
    for (const auto& a : kActions)
        if (s == a.name) {
            out = a.action;
            return true;
        }
    return false;
}

// A plain decimal number only (no blanks around it on the command line).
bool parseNumber(const std::string& s, std::int32_t& out) {
    if (s.empty() || s.front() == ' ' || s.back() == ' ') return false;
    return parseDecimal(s, out);
}

// The blocks of a system control file that a plan and its label use: the planning settings, the
// label layout and the creatorId. The file is checked like a control file and read as it stands;
// a creatorId stored scrambled is made plain, as loading the control file does.
bool readStoredSettings(Workspace& ws, const std::string& path) {
    skipKindCheckOnce(ws);
    if (checkHeader(ws, path, kKindControl) != DataFileRead::Ok) return false;
    SysControl control{};
    ReadFile in = openRegularForReading(nativePath(path));
    if (!in.isOpen() || !in.readExactly(&control, sizeof control)) {
        setLastError(ws, kErrRead);
        setErrorName(ws, path);
        reportError(ws, 5);
        return false;
    }
    if (control.shareMarker == 0x0303 && control.scrambledNow == 1)
        scrambleShareFields(control.creatorId, control.shareExtra, kScrambleUndo);
    ws.control.shuffleBlock = control.shuffleBlock;
    std::memcpy(ws.control.labelBlock, control.labelBlock, sizeof control.labelBlock);
    std::memcpy(ws.control.creatorId, control.creatorId, sizeof control.creatorId);
    return true;
}

// A run number is reached by replaying every run before it, and the results window shows five digits.
constexpr std::int32_t kMaxRun = 99999;

}  // namespace

std::vector<OptionSpec> planOptionSpecs() {
    std::vector<OptionSpec> specs{{"--control", true}, {"--run", true}, {"--action", true}, {"--password", true}};
    for (const PlanOverride& o : kOverrides) specs.push_back({o.option, true});
    return specs;
}

std::optional<int> readPlanRequest(const CommandHelp& help, const Args& args, PlanRequest& out) {
    // Everything the command line says is checked before anything runs.
    if (auto v = args.value("--run"); v && (!parseNumber(*v, out.runs) || out.runs < 1 || out.runs > kMaxRun))
        return usageError(help, "--run takes a run number 1.." + std::to_string(kMaxRun));
    if (auto v = args.value("--action"); v && !parseAction(*v, out.action))
        return usageError(help, "unknown action '" + *v + "'");
    if (auto pw = args.value("--password")) {
        out.password = argumentToSjis(*pw);
        if (!out.password) return usageError(help, "the password has a character that Shift-JIS lacks");
    }
    for (const PlanOverride& o : kOverrides) {
        auto v = args.value(o.option);
        if (!v) continue;
        std::int32_t n = 0;
        if (!parseNumber(*v, n) || n < o.min || n > o.max)
            return usageError(help, std::string(o.option) + " takes " + std::to_string(o.min) + ".." +
                                        std::to_string(o.max));
        out.overrides.emplace_back(&o, o.time ? mmssToSeconds(n) : n);
    }

    if (auto status = checkProgramFolder(help, args, false, out.home)) return status;
    out.path = args.positional[0];
    if (auto refused = refuseNonRegular(help, out.path)) return refused;
    out.controlPath = args.value("--control");
    if (out.controlPath) {
        if (auto refused = refuseNonRegular(help, *out.controlPath)) return refused;
    }
    return std::nullopt;
}

std::optional<int> makePlan(const CommandHelp& help, const PlanRequest& request, PlanRun& run) {
    Workspace& ws = run.session.ws;
    initControlDefaults(ws);
    if (request.controlPath && !readStoredSettings(ws, *request.controlPath)) {
        failure(help, *request.controlPath + ": the control file cannot be read");
        explainFailure(help, *request.controlPath, Access::Read);
        return kExitFailed;
    }
    for (const auto& [o, value] : request.overrides) o->apply(ws.control.shuffleBlock, value);

    if (request.password) run.session.prompter.password = *request.password;
    ws.createArrays(ws.dbSize);
    int loaded = 0, count = 0;
    if (readDataFile(ws, request.path, kKindShuffle, ws.arrays[kKindShuffle], loaded, count,
                     ws.capacity(kKindShuffle)) != DataFileRead::Ok) {
        failure(help, request.path + ": the file cannot be read");
        explainFailure(help, request.path, Access::Read);
        return kExitFailed;
    }

    if (request.checkOnly) return std::nullopt;

    ResultsState& results = run.results;
    if (results.openResults() != 0) return failure(help, request.path + ": the selection holds no CD");
    for (std::int64_t k = 2; k <= request.runs; ++k) results.stepNext();
    switch (request.action) {
        case PlanAction::None: break;
        case PlanAction::NoShuffle: results.chooseShuf2(kMenuNoShuffle); break;
        case PlanAction::Half: results.chooseShuf2(kMenuHalf); break;
        case PlanAction::ShuffleA: results.chooseShufAB(kMenuShufA); break;
        case PlanAction::ShuffleB: results.chooseShufAB(kMenuShufB); break;
        case PlanAction::ShuffleAB: results.chooseShufAB(kMenuShufAB); break;
    }
    return std::nullopt;
}

std::string outputText(const std::vector<std::string>& sjLines) {
    std::string out;
    for (std::string line : sjLines) {
        trimRight(line);
        out += visibleControls(sjisToUtf8(line));
        out += '\n';
    }
    return out;
}

}  // namespace zemo::cli
