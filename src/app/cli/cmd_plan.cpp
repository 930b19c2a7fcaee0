// zemo plan: a tape plan made from a data file exactly as the results window makes it, printed as
// the text of the results image (or of the printout).
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/cli/cli_common.h"
#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "planning/entry_checks.h"
#include "planning/plan_engine.h"
#include "planning/plan_results.h"
#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/data_ops.h"
#include "records/file_services.h"
#include "records/text.h"

namespace zemo::cli {
namespace {

const CommandHelp kHelp{
    "plan", "FILE [--control PATH] [--run N] [--action ACTION] [--printout] [setting overrides]",
    "Reads the data file FILE (any kind; at most its first 30 records) into the shuffle list, makes\n"
    "the plan of run number 1 as the results window does when it opens, steps to run number N, then\n"
    "applies ACTION, and prints the text of the results image: lines 0 to the last line drawn on,\n"
    "blanks drawing nothing, trailing blanks removed. Messages go to stderr as KIND: TEXT.\n"
    "  --control PATH       a system control file whose planning settings are used\n"
    "                       (default: startA 1, startB 1, plusOnly 1, tolerance 5, the rest 0)\n"
    "  --run N              the run number to step to, 1..99999 (default 1)\n"
    "  --action ACTION      none (振分無), half (２分割), shuffle-a, shuffle-b, shuffle-ab\n"
    "  --printout           print the lines that 印刷 would send to the printer instead\n"
    "  --target MMMMSS      目標秒数, 0..999959 (0 = half of the total)\n"
    "  --tolerance MMMMSS   有効秒差, 0..999959\n"
    "  --start-a N          設定開始A面, 1..30\n"
    "  --start-b N          設定開始B面, 1..30\n"
    "  --plus-only 0|1      有効秒差: 0 = ＋－, 1 = ＋ only\n"
    "  --no-optimise 0|1    最適化 しない\n"
    "  --no-optimise-a 0|1  A面最適化 しない\n"
    "  --reg-order-first 0|1  登録順優先 する\n"
    "  --force-start 0|1    ﾃﾞｰﾀ強制設定 する\n"
    "  --csv-layout 0|1     comma-separated result lines"};

// A setting override: the option, its accepted range, and where it goes.
struct Override {
    const char* option;
    std::int32_t min, max;
    bool time;  // MMMMSS, stored as seconds
    void (*apply)(ShufControl&, std::int32_t);
};

const Override kOverrides[] = {
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

enum class Action { None, NoShuffle, Half, ShuffleA, ShuffleB, ShuffleAB };

bool parseAction(const std::string& s, Action& out) {
    static const struct {
        const char* name;
        Action action;
    } kActions[] = {{"none", Action::NoShuffle},       {"half", Action::Half},
                    {"shuffle-a", Action::ShuffleA},   {"shuffle-b", Action::ShuffleB},
                    {"shuffle-ab", Action::ShuffleAB}};
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

// The shuffleBlock of a system control file. Only the planning block is taken, and it is never
// stored scrambled, so the file is checked like a control file and the block read as it stands.
bool readStoredSettings(Workspace& ws, const std::string& path, ShufControl& out) {
    skipKindCheckOnce(ws);
    if (checkHeader(ws, path, kKindControl) != 0) return false;
    SysControl control{};
    std::ifstream in(nativePath(path), std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(&control), sizeof control)) {
        setLastError(ws, kErrRead);
        setErrorName(ws, path);
        reportError(ws, 5);
        return false;
    }
    out = control.shuffleBlock;
    return true;
}

// A run number is reached by replaying every run before it, and the results window shows five digits.
constexpr std::int32_t kMaxRun = 99999;

// Lines as the output wants them: UTF-8, trailing blanks (both kinds) removed, control characters
// of the titles and artists as visible escapes, each ending in "\n".
std::string outputText(const std::vector<std::string>& sjLines) {
    std::string out;
    for (std::string line : sjLines) {
        trimRight(line);
        out += visibleControls(sjisToUtf8(line));
        out += '\n';
    }
    return out;
}

}  // namespace

int runPlan(int argc, char** argv) {
    Args args;
    if (auto status = parseCommandLine(kHelp, argc, argv,
                                       {{"--control", true},
                                        {"--run", true},
                                        {"--action", true},
                                        {"--printout", false},
                                        {"--target", true},
                                        {"--tolerance", true},
                                        {"--start-a", true},
                                        {"--start-b", true},
                                        {"--plus-only", true},
                                        {"--no-optimise", true},
                                        {"--no-optimise-a", true},
                                        {"--reg-order-first", true},
                                        {"--force-start", true},
                                        {"--csv-layout", true}},
                                       1, 1, args))
        return *status;

    // Everything the command line says is checked before anything runs.
    std::int32_t runs = 1;
    if (auto v = args.value("--run"); v && (!parseNumber(*v, runs) || runs < 1 || runs > kMaxRun))
        return usageError(kHelp, "--run takes a run number 1.." + std::to_string(kMaxRun));
    Action action = Action::None;
    if (auto v = args.value("--action"); v && !parseAction(*v, action))
        return usageError(kHelp, "unknown action '" + *v + "'");
    struct Given {
        const Override* o;
        std::int32_t value;
    };
    std::vector<Given> overrides;
    for (const Override& o : kOverrides) {
        auto v = args.value(o.option);
        if (!v) continue;
        std::int32_t n = 0;
        if (!parseNumber(*v, n) || n < o.min || n > o.max)
            return usageError(kHelp, std::string(o.option) + " takes " + std::to_string(o.min) + ".." +
                                         std::to_string(o.max));
        overrides.push_back({&o, o.time ? mmssToSeconds(n) : n});
    }

    std::filesystem::path home;
    if (auto status = checkProgramFolder(kHelp, args, false, home)) return *status;
    const std::string& path = args.positional[0];
    if (auto refused = refuseNonRegular(kHelp, path)) return *refused;
    const auto controlPath = args.value("--control");
    if (controlPath) {
        if (auto refused = refuseNonRegular(kHelp, *controlPath)) return *refused;
    }

    Session s(home);
    Workspace& ws = s.ws;
    initControlDefaults(ws);
    if (controlPath && !readStoredSettings(ws, *controlPath, ws.control.shuffleBlock)) {
        failure(kHelp, *controlPath + ": the control file cannot be read");
        explainFailure(kHelp, *controlPath, Access::Read);
        return kExitFailed;
    }
    for (const Given& g : overrides) g.o->apply(ws.control.shuffleBlock, g.value);

    ws.createArrays(ws.dbSize);
    int loaded = 0, count = 0;
    if (readDataFile(ws, path, kKindShuffle, ws.arrays[kKindShuffle], loaded, count, ws.capacity(kKindShuffle)) != 0) {
        failure(kHelp, path + ": the file cannot be read");
        explainFailure(kHelp, path, Access::Read);
        return kExitFailed;
    }

    PlanEngine engine(ws);
    ResultsState results(engine);
    if (results.openResults() != 0) return failure(kHelp, path + ": the selection holds no CD");
    for (std::int64_t k = 2; k <= runs; ++k) results.stepNext();
    switch (action) {
        case Action::None: break;
        case Action::NoShuffle: results.chooseShuf2(kMenuNoShuffle); break;
        case Action::Half: results.chooseShuf2(kMenuHalf); break;
        case Action::ShuffleA: results.chooseShufAB(kMenuShufA); break;
        case Action::ShuffleB: results.chooseShufAB(kMenuShufB); break;
        case Action::ShuffleAB: results.chooseShufAB(kMenuShufAB); break;
    }

    const std::vector<std::string> lines = args.has("--printout") ? results.printoutLines() : results.image().gridLines();
    if (!writeStdout(outputText(lines))) return failure(kHelp, "cannot write the output");
    return kExitOk;
}

}  // namespace zemo::cli
