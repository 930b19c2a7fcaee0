// SPDX-License-Identifier: GPL-3.0-or-later
// zemo search: the catalogue search of the search dialog, or the tape-planning information list,
// run on a data file; one line per result.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/cli_common.h"
#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/record_csv.h"
#include "app/cli/stream_prompter.h"
#include "catalogue/catalogue_access.h"
#include "catalogue/search.h"
#include "records/cd_record.h"
#include "records/entry_checks.h"
#include "records/text.h"

namespace zemo::cli {
namespace {

const CommandHelp kHelp{
    "search",
    "FILE (--item ITEM (--text TEXT [--partial] | --from YYYYMMDD --to YYYYMMDD) | --age 30|60|90|future\n"
    "       [--today YYYYMMDD]) [--kind K] [--password TEXT] [--csv] [--home DIR]",
    "Reads the data file FILE (any kind) as the catalogue and searches it as the search dialog does,\n"
    "or lists information records by the age of their rental start as the tape-planning window does.\n"
    "Prints one line per result (at most 500) as `zemo show` prints a record, the row number being\n"
    "the record's place in FILE; nothing when nothing is found.\n"
    "  --item ITEM        barcode, user-code, artist-code, artist (with --text) or sale-date,\n"
    "                     entry-date, open-date (with --from and --to, either order, both included)\n"
    "  --text TEXT        the search text; at most 14, 14, 30 or 40 bytes in Shift-JIS. Codes are\n"
    "                     upper-cased; blanks never count. Results sorted by the item, the artist\n"
    "                     in file order, dates newest first\n"
    "  --partial          the text may stand anywhere, not only at the start\n"
    "  --age A            30, 60, 90: rental start within that many days; future: still to come\n"
    "  --today YYYYMMDD   the day the age is counted to (default: today)\n"
    "  --kind K           1 CDｼﾝｸﾞﾙ, 2 CDｱﾙﾊﾞﾑ, 3 VIDEO, 4 LASER, 5 その他, 6 all (default)\n"
    "  --password TEXT    the password of a protected file (without it an empty one is given)\n"
    "  --csv              the results in the CSV form of `zemo export`, header row first\n"
    "A repeated option: the last one counts."};

constexpr std::initializer_list<OptionSpec> kOptions = {
    {"--item", true}, {"--text", true},  {"--partial", false}, {"--from", true},     {"--to", true},
    {"--age", true},  {"--today", true}, {"--kind", true},     {"--password", true}, {"--csv", false},
};

struct ItemName {
    const char* name;
    int item;
    int maxBytes;  // text items: the field's width
};
const ItemName kItems[] = {
    {"barcode", kItemBarcode, kBarcodeMax},       {"user-code", kItemUserCode, kUserCodeMax},
    {"artist-code", kItemArtistCode, kArtistCodeMax}, {"artist", kItemArtist, kArtistMax},
    {"sale-date", kItemSaleDate, 0},              {"entry-date", kItemEntryDate, 0},
    {"open-date", kItemOpenDate, 0},
};

struct AgeName {
    const char* name;
    int range;
};
const AgeName kAges[] = {{"30", 0}, {"60", 1}, {"90", 2}, {"future", 3}};

constexpr std::int32_t kMaxDateEntry = 99999999;

// The day the information list counts the age to.
class DayClock : public Clock {
public:
    DayClock(const Clock& base, std::optional<std::int32_t> day) : base_(base), day_(day) {}
    LocalTime localNow() const override {
        if (!day_) return base_.localNow();
        return LocalTime{*day_ / 10000, *day_ / 100 % 100, *day_ % 100, 12, 0, 0};
    }
    std::int64_t tickMs() const override { return base_.tickMs(); }

private:
    const Clock& base_;
    std::optional<std::int32_t> day_;
};

// A date option through the date check of the dialogs (its message on stderr, as the box would
// be); nothing when refused.
std::optional<std::int32_t> dateOption(const std::string& text) {
    std::int32_t value = 0;
    if (const EntryProblem problem = dateInputProblem(value, text, 0, kMaxDateEntry)) {
        std::fprintf(stderr, "%s\n", boxLine(BoxKind::Error, problem.text).c_str());
        std::fflush(stderr);
        return std::nullopt;
    }
    return value;
}

void storeText(CdRecord& key, int item, const std::string& sjis) {
    switch (item) {
        case kItemBarcode: setField(key.barcode, sjis, kBarcodeMax); break;
        case kItemUserCode: setField(key.userCode, sjis, kUserCodeMax); break;
        case kItemArtistCode: setField(key.artistCode, sjis, kArtistCodeMax); break;
        default: setField(key.artist, sjis, kArtistMax); break;
    }
}

// What the command line asks for, settled before the file is read.
struct SearchRequest {
    ExtractSpec spec;
    CdRecord key;
    std::optional<std::int32_t> day;  // --today
};

// The kind filter of --kind: 1..6, 6 for all. Nothing when the command should go on, else the
// exit status (as for every step below).
std::optional<int> kindOption(const Args& args, int& kind) {
    kind = 6;
    if (auto k = args.value("--kind")) {
        std::int32_t v = 0;
        if (!parseDecimal(*k, v) || v < 1 || v > 6) return usageError(kHelp, "--kind needs a number from 1 to 6");
        kind = v;
    }
    return std::nullopt;
}

// A text item's --text: the key field as the search dialog fills it.
std::optional<int> textItemRequest(const Args& args, const ItemName& item, SearchRequest& out) {
    for (const char* o : {"--from", "--to"})
        if (args.has(o)) return usageError(kHelp, std::string(o) + " goes with a date item");
    const auto text = args.value("--text");
    if (!text) return usageError(kHelp, std::string("--item ") + item.name + " needs --text");
    auto sjis = argumentToSjis(*text);
    if (!sjis) return usageError(kHelp, "--text has a character that Shift-JIS lacks");
    if (static_cast<int>(sjis->size()) > item.maxBytes)
        return usageError(kHelp, "--text takes at most " + std::to_string(item.maxBytes) + " bytes in Shift-JIS for " +
                                     item.name + ", not " + std::to_string(sjis->size()));
    // The codes as their fields hold them once left; the artist as given.
    if (item.item != kItemArtist) normalizeKey(*sjis);
    storeText(out.key, item.item, *sjis);
    out.spec.partialMatch = args.has("--partial") ? 1 : 0;
    return std::nullopt;
}

// A date item's --from and --to, through the dialog's date check.
std::optional<int> dateItemRequest(const Args& args, const ItemName& item, SearchRequest& out) {
    for (const char* o : {"--text", "--partial"})
        if (args.has(o)) return usageError(kHelp, std::string(o) + " goes with a text item");
    const auto from = args.value("--from");
    const auto to = args.value("--to");
    if (!from || !to) return usageError(kHelp, std::string("--item ") + item.name + " needs --from and --to");
    const auto fromDate = dateOption(*from);
    if (!fromDate) return usageError(kHelp, "--from is not a date");
    const auto toDate = dateOption(*to);
    if (!toDate) return usageError(kHelp, "--to is not a date");
    out.spec.dateFrom = *fromDate;
    out.spec.dateTo = *toDate;
    return std::nullopt;
}

// --item: a search by condition.
std::optional<int> itemRequest(const Args& args, const std::string& itemText, int kind, SearchRequest& out) {
    const ItemName* item = nullptr;
    for (const ItemName& i : kItems)
        if (itemText == i.name) item = &i;
    if (item == nullptr) return usageError(kHelp, "unknown item '" + itemText + "'");
    if (args.has("--today")) return usageError(kHelp, "--today goes with --age");
    out.spec.extractMode = 0;
    out.spec.item = static_cast<std::int16_t>(item->item);
    out.spec.kindFilter = static_cast<std::int16_t>(kind - 1);
    return item->maxBytes > 0 ? textItemRequest(args, *item, out) : dateItemRequest(args, *item, out);
}

// --age: the information list by the age of the rental start.
std::optional<int> ageRequest(const Args& args, const std::string& ageText, int kind, SearchRequest& out) {
    const AgeName* age = nullptr;
    for (const AgeName& a : kAges)
        if (ageText == a.name) age = &a;
    if (age == nullptr) return usageError(kHelp, "--age takes 30, 60, 90 or future");
    for (const char* o : {"--text", "--partial", "--from", "--to"})
        if (args.has(o)) return usageError(kHelp, std::string(o) + " goes with --item");
    if (auto t = args.value("--today")) {
        out.day = dateOption(*t);
        if (!out.day) return usageError(kHelp, "--today is not a date");
        if (*out.day / 100 % 100 == 0 || *out.day % 100 == 0)
            return usageError(kHelp, "--today needs a month and a day");
    }
    out.spec.extractMode = 1;
    out.spec.ageKind = static_cast<std::int16_t>(kind - 1);
    out.spec.ageRange = static_cast<std::int16_t>(age->range);
    return std::nullopt;
}

std::optional<int> searchRequest(const Args& args, SearchRequest& out) {
    const auto itemText = args.value("--item");
    const auto ageText = args.value("--age");
    if (itemText && ageText) return usageError(kHelp, "--age and --item exclude each other");
    if (!itemText && !ageText) return usageError(kHelp, "--item or --age is required");
    int kind = 6;
    if (auto status = kindOption(args, kind)) return status;
    initExtractSpec(out.spec);
    clearCdRecord(out.key);
    return itemText ? itemRequest(args, *itemText, kind, out) : ageRequest(args, *ageText, kind, out);
}

// The results as `zemo show` prints records, or as the CSV of `zemo export`.
int printResults(const std::string& path, const TCddataArray& results, int count, bool csv) {
    std::string out = csv ? exportCsvHeader() : std::string();
    std::vector<std::string> problems;
    for (int i = 0; i < count; ++i) {
        const CdRecord& r = results[i];
        if (csv) {
            out += exportCsvRow(r, path + ": record " + std::to_string(r.catalogueIndex + 1), problems);
        } else {
            std::vector<std::string> fields = displayColumns(r, r.catalogueIndex + 1);
            for (std::string& f : fields) f = visibleControls(f);
            out += tabLine(fields);
        }
    }
    if (!problems.empty()) {
        for (const std::string& p : problems) std::fprintf(stderr, "%s\n", p.c_str());
        return failure(kHelp, std::to_string(problems.size()) + " texts cannot be written exactly; nothing written");
    }
    if (!writeStdout(out)) return failure(kHelp, "cannot write the output");
    return kExitOk;
}

}  // namespace

int runSearch(int argc, char** argv) {
    std::vector<char*> kept = lastOfEachOption(argc, argv, kOptions);
    Args args;
    if (auto status = parseCommandLine(kHelp, static_cast<int>(kept.size()), kept.data(), kOptions, 1, 1, args))
        return *status;
    std::filesystem::path home;
    if (auto status = checkProgramFolder(kHelp, args, false, home)) return *status;
    // Everything about the request is settled before the file is read.
    SearchRequest request;
    if (auto status = searchRequest(args, request)) return *status;

    DayClock clock(systemClock(), request.day);
    Session s(home, clock);
    if (auto status = takePassword(kHelp, args, s)) return *status;
    const std::string& path = args.positional[0];
    if (auto refused = refuseNonRegular(kHelp, path)) return *refused;
    LoadedFile file;
    if (auto status = readInputFile(kHelp, s, path, file)) return *status;
    if (searchRecordsAsCatalogue(s.ws, std::move(file.records), request.key, request.spec) != 0) {
        if (s.prompter.shown == 0) failure(kHelp, "the search failed");
        return kExitFailed;
    }
    return printResults(path, s.ws.arrays[kKindReference], request.spec.resultCount, args.has("--csv"));
}

}  // namespace zemo::cli
