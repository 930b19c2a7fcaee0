// SPDX-License-Identifier: GPL-3.0-or-later
// zemo migrate: the old program's folder, copied from the shop's Windows computer, made a working
// program folder here in one checked step.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/cli/cli_common.h"
#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "app/cli/migrate_source.h"
#include "platform/sjis.h"
#include "records/cd_record.h"
#include "records/file_services.h"
#include "records/safe_write.h"
#include "records/sys_control.h"
#include "shell/program_lock.h"

namespace zemo::cli {
namespace {

namespace fs = std::filesystem;
using namespace migrate;

const CommandHelp kHelp{
    "migrate", "OLD --home NEW [--dry-run] [--keep-going]",
    "Makes the program folder NEW from OLD, a copy of the old program's folder from the shop's\n"
    "Windows computer (a mounted disk, a USB stick, a network share). OLD is only read. NEW must be\n"
    "missing or empty.\n"
    "OLD/ZEMOCTRL.DAT (any case) names the work folders: a relative name is looked for from OLD, a\n"
    "Windows path (C:\\ZEMO\\CD_SYS, \\\\server\\share\\CD_MD) by its trailing folder names below OLD;\n"
    "names match whatever their case. Every .ZMO file there and its .BAK is checked as zemo show\n"
    "reads it (a share-form file by its header and size). Only when every file checked, NEW gets\n"
    "ZEMOCTRL.DAT with the work folders CD_SYS, CD_ADD, CD_TXT and CD_MD (nothing else changed),\n"
    "WZEMO.INI as it was, and the files under their own names in the program's case (CD_DATA.ZMO),\n"
    "with their times and modes.\n"
    "Prints one line per file: copied PATH, renamed OLDPATH → NEWPATH (case or folder changed),\n"
    "refused PATH: REASON (the program's message); paths below OLD and NEW. Then\n"
    "N files, M records in the catalogue, K refused. Exit status 0 when all were copied, 1 when any\n"
    "was refused (then nothing is written unless --keep-going), 2 usage error (also when NEW is\n"
    "not empty).\n"
    "  --dry-run          print the report only; nothing is written\n"
    "  --keep-going       write what checked even when some files were refused\n"};

// A data file is at most 384 + 32767 records; anything much larger is not one.
constexpr std::size_t kReadLimit = 64u << 20;
constexpr std::size_t kPathField = 64;
constexpr std::size_t kPathBlock = offsetof(SysControl, paths);

struct WorkFolder {
    int slot;
    const char* field;
    const char* newName;
};
// In the order of the control file; each gets the program's default name in NEW.
constexpr WorkFolder kFolders[] = {
    {kPathSys, "sysDir", "CD_SYS"},
    {kPathAdd, "addDir", "CD_ADD"},
    {kPathTxt, "txtDir", "CD_TXT"},
    {kPathLib, "libDir", "CD_MD"},
};
constexpr int kSys = 0, kAdd = 1, kLib = 3;

// One line of the report, and what goes to NEW for it.
struct Item {
    std::string from;  // below OLD, or the stored setting of a folder
    std::string to;    // below NEW
    bool refused = false;
    std::string reason, stored;
    std::string bytes;
    struct stat st {};
    int records = 0;
    std::string sortKey;
};

std::string itemLine(const Item& i) {
    if (i.refused)
        return "refused " + printable(i.from) + ": " + i.reason + (i.stored.empty() ? "" : " (" + i.stored + ")") +
               "\n";
    if (i.from == i.to) return "copied " + printable(i.to) + "\n";
    return "renamed " + printable(i.from) + " → " + printable(i.to) + "\n";
}

void refuse(Item& i, std::string reason, std::string stored = "") {
    i.refused = true;
    i.reason = std::move(reason);
    i.stored = std::move(stored);
    i.bytes.clear();
}

// Why a file could not be read, in the words of the other commands.
void refuseUnread(Item& i, const fs::path& p, int err) {
    if (err == EINVAL || err == EISDIR) {
        const std::string kind = nonRegularKind(p.string());
        return refuse(i, "is " + (kind.empty() ? std::string("not a regular file") : kind) + ", not a regular file");
    }
    if (err == EFBIG) return refuse(i, "larger than any file of the program");
    refuse(i, "cannot be read: " + reasonOf(err), errorText(kErrRead));
}

std::string relativeTo(const fs::path& p, const fs::path& base) { return p.lexically_relative(base).generic_string(); }

bool isInside(const fs::path& p, const fs::path& folder) {
    auto [a, b] = std::mismatch(folder.begin(), folder.end(), p.begin(), p.end());
    return a == folder.end();
}

std::string extensionOf(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return (dot == std::string::npos || dot == 0) ? "" : upperAscii(name.substr(dot + 1));
}
std::string stemOf(const std::string& name) { return name.substr(0, name.rfind('.')); }

// The kind whose default file this name is (1..11), else 0.
int reservedKind(const std::string& name) {
    for (int k = 1; k <= kKindLast; ++k)
        if (sameNameIgnoringCase(name, defaultFileName(k))) return k;
    return 0;
}
int folderOfKind(int kind) { return kind == kKindAdd ? kAdd : kind == kKindLast ? kLib : kSys; }

struct Plan {
    std::vector<Item> items;
    int catalogueRecords = 0;
    std::vector<fs::path> oldFolders;  // found, for the check that NEW is not among them
};

// The one file of a name in OLD's own folder (ZEMOCTRL.DAT, WZEMO.INI), read whole.
std::optional<Item> rootFile(const fs::path& old, const char* canonical, bool required) {
    const std::vector<std::string> like = namesLike(old, canonical, false);
    Item item;
    item.to = canonical;
    if (like.empty()) {
        if (!required) return std::nullopt;
        item.from = canonical;
        refuse(item, std::string("no ") + canonical + " in OLD (looked for it in any case)");
        return item;
    }
    item.from = like.front();
    if (like.size() > 1) {
        refuse(item, "two files for one name: " + printable(like[0]) + " and " + printable(like[1]));
        return item;
    }
    int err = 0;
    if (!readWhole(old / item.from, kReadLimit, item.bytes, item.st, err)) refuseUnread(item, old / item.from, err);
    return item;
}

std::string storedPath(const std::string& control, int slot) {
    const char* field = control.data() + kPathBlock + kPathField * static_cast<std::size_t>(slot);
    return std::string(field, strnlen(field, kPathField));
}

// The work folders named in OLD's control file as NEW names them.
void rewritePaths(std::string& control) {
    for (const WorkFolder& f : kFolders) {
        char* field = control.data() + kPathBlock + kPathField * static_cast<std::size_t>(f.slot);
        std::memset(field, 0, kPathField);
        std::memcpy(field, f.newName, std::strlen(f.newName));
    }
}

// The data files of one folder of OLD. first: the work folder it was found for first; kindFolder:
// whether each work folder is this folder too, so a kind's file goes where the program looks.
void planFolder(const fs::path& old, const fs::path& dir, int first, const bool (&kindFolder)[4], Plan& plan) {
    std::vector<std::string> names;
    int err = 0;
    std::vector<Item> items;
    if (!listFolder(dir, names, err)) {
        Item item;
        item.from = relativeTo(dir, old);
        refuse(item, "the folder cannot be read: " + reasonOf(err), errorText(kErrRead));
        plan.items.push_back(item);
        return;
    }
    std::vector<std::string> dataNames;
    for (const std::string& n : names) {
        struct stat st {};
        const std::string ext = extensionOf(n);
        if ((ext != "ZMO" && ext != "BAK") || (::stat((dir / n).c_str(), &st) == 0 && S_ISDIR(st.st_mode))) continue;
        dataNames.push_back(n);
    }
    for (const std::string& n : dataNames) {
        Item item;
        item.from = relativeTo(dir / n, old);
        const std::string ext = extensionOf(n);
        std::string stem = stemOf(n);
        const int kind = reservedKind(ext == "ZMO" ? n : stem + ".ZMO");
        if (kind != 0) {
            stem = upperAscii(stem);
        } else if (ext == "BAK") {
            // The backup takes the name the program gives the backup of its file.
            std::vector<std::string> owners;
            for (const std::string& m : dataNames)
                if (extensionOf(m) == "ZMO" && sameNameIgnoringCase(stemOf(m), stem)) owners.push_back(m);
            if (owners.size() == 1) stem = stemOf(owners[0]);
        }
        const std::string name = (ext == "BAK" || kind != 0) ? stem + "." + ext : n;
        const int folder = (kind != 0 && kindFolder[folderOfKind(kind)]) ? folderOfKind(kind) : first;
        item.to = std::string(kFolders[folder].newName) + "/" + name;
        item.sortKey = upperAscii(item.to.substr(0, item.to.rfind('.'))) + (ext == "ZMO" ? "\x01" : "\x02") + n;
        if (!readWhole(dir / n, kReadLimit, item.bytes, item.st, err)) {
            refuseUnread(item, dir / n, err);
        } else if (const FileCheck check = checkDataFile(item.bytes); !check.ok) {
            refuse(item, check.reason, check.stored);
        } else {
            item.records = check.records;
        }
        items.push_back(std::move(item));
    }
    // Windows kept one file per name whatever its case; a copy may hold both spellings.
    std::map<std::string, std::vector<std::size_t>> byTarget;
    for (std::size_t i = 0; i < items.size(); ++i) byTarget[items[i].to].push_back(i);
    for (auto& [target, list] : byTarget) {
        if (list.size() < 2) continue;
        std::vector<std::string> spellings;
        for (std::size_t i : list) spellings.push_back(printable(fs::path(items[i].from).filename().string()));
        std::sort(spellings.begin(), spellings.end());
        for (std::size_t i : list)
            refuse(items[i],
                   "two files for one name (" + printable(target) + "): " + spellings[0] + " and " + spellings[1]);
    }
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.sortKey < b.sortKey; });
    for (Item& item : items) plan.items.push_back(std::move(item));
}

Plan makePlan(const fs::path& old) {
    Plan plan;
    std::optional<Item> control = rootFile(old, "ZEMOCTRL.DAT", true);
    if (!control->refused) {
        if (const FileCheck check = checkControlFile(control->bytes); !check.ok)
            refuse(*control, check.reason, check.stored);
    }
    const std::string controlBytes = control->bytes;
    if (!control->refused) rewritePaths(control->bytes);
    plan.items.push_back(*control);
    if (std::optional<Item> ini = rootFile(old, "WZEMO.INI", false)) plan.items.push_back(*ini);
    if (control->refused) return plan;

    // Each work folder found, by the folder it is (two settings may name one folder).
    struct Found {
        fs::path path;
        dev_t dev;
        ino_t ino;
    };
    std::vector<Found> found;
    int folderOf[4] = {-1, -1, -1, -1};
    std::optional<Item> missing[4];
    for (int f = 0; f < 4; ++f) {
        const std::string stored = storedPath(controlBytes, kFolders[f].slot);
        Item item;
        const ConvResult utf8 = sjisToUtf8Checked(stored);
        item.from = utf8.ok ? utf8.text : sjisToUtf8(stored);
        if (!utf8.ok) {
            refuse(item, std::string("the work folder ") + kFolders[f].field + " is not valid Shift-JIS at byte " +
                             std::to_string(utf8.badOffset + 1));
            missing[f] = item;
            continue;
        }
        const FoundFolder where = findOldFolder(old, utf8.text);
        struct stat st {};
        if (!where.path || ::stat(where.path->c_str(), &st) != 0) {
            std::string looked;
            for (const std::string& l : where.lookedFor) looked += (looked.empty() ? "" : ", ") + printable(l);
            refuse(item, std::string("the work folder ") + kFolders[f].field + " is not in OLD: looked for " +
                             (looked.empty() ? std::string("nothing") : looked) +
                             (where.problem.empty() ? "" : "; " + where.problem));
            missing[f] = item;
            continue;
        }
        for (std::size_t i = 0; i < found.size() && folderOf[f] < 0; ++i)
            if (found[i].dev == st.st_dev && found[i].ino == st.st_ino) folderOf[f] = static_cast<int>(i);
        if (folderOf[f] < 0) {
            folderOf[f] = static_cast<int>(found.size());
            found.push_back({*where.path, st.st_dev, st.st_ino});
        }
    }
    // In the order of the control file; a folder named twice is listed where it is named first.
    for (int f = 0; f < 4; ++f) {
        if (missing[f]) {
            plan.items.push_back(*missing[f]);
            continue;
        }
        const int i = folderOf[f];
        bool kindFolder[4] = {};
        int first = -1;
        for (int g = 0; g < 4; ++g) {
            if (folderOf[g] != i) continue;
            if (first < 0) first = g;
            kindFolder[g] = true;
        }
        if (first != f) continue;
        std::error_code ec;
        const fs::path real = fs::canonical(found[static_cast<std::size_t>(i)].path, ec);
        plan.oldFolders.push_back(ec ? found[static_cast<std::size_t>(i)].path : real);
        planFolder(old, found[static_cast<std::size_t>(i)].path, first, kindFolder, plan);
    }
    const std::string catalogue = std::string(kFolders[kSys].newName) + "/" + defaultFileName(kKindCatalogue);
    for (const Item& item : plan.items)
        if (!item.refused && item.to == catalogue) plan.catalogueRecords = item.records;
    return plan;
}

// What the writing made, so that a failure can take it all back: NEW was missing or empty.
struct Made {
    std::vector<fs::path> folders, files;
    void undo() {
        for (auto it = files.rbegin(); it != files.rend(); ++it) ::unlink(it->c_str());
        for (auto it = folders.rbegin(); it != folders.rend(); ++it) ::rmdir(it->c_str());
    }
};

bool isEmptyFolder(const fs::path& p, std::string& first) {
    std::vector<std::string> names;
    int err = 0;
    if (!listFolder(p, names, err)) return false;
    if (!names.empty()) first = names.front();
    return names.empty();
}

bool makeFolder(const fs::path& p, Made& made, int& err) {
    if (::mkdir(p.c_str(), 0777) != 0) {
        err = errno;
        return false;
    }
    made.folders.push_back(p);
    return true;
}

int writeNew(const fs::path& neu, const Plan& plan) {
    Made made;
    int err = 0;
    auto fail = [&](const fs::path& p, const std::string& what, std::uintmax_t bytes) {
        made.undo();
        failure(kHelp, p.string() + ": " + what + "; nothing written");
        explainFailure(kHelp, p.string(), Access::Write, bytes, err);
        return kExitFailed;
    };
    struct stat st {};
    if (::stat(neu.c_str(), &st) == 0) {
        std::string first;
        if (!S_ISDIR(st.st_mode) || !isEmptyFolder(neu, first))
            return failure(kHelp, neu.string() + " is no longer empty (" + printable(first) + "); nothing written");
    } else {
        std::vector<fs::path> missing;
        for (fs::path p = neu; ::stat(p.c_str(), &st) != 0 && p.has_relative_path(); p = p.parent_path())
            missing.push_back(p);
        for (auto it = missing.rbegin(); it != missing.rend(); ++it)
            if (!makeFolder(*it, made, err)) return fail(*it, "cannot make the folder: " + reasonOf(err), 0);
    }
    for (const WorkFolder& f : kFolders)
        if (!makeFolder(neu / f.newName, made, err))
            return fail(neu / f.newName, "cannot make the folder: " + reasonOf(err), 0);
    for (const Item& item : plan.items) {
        if (item.refused) continue;
        const fs::path target = neu / item.to;
        StagedFile file(target.string());
        const bool ok = file.open(item.st.st_mode & 07777) && file.write(item.bytes.data(), item.bytes.size()) &&
                        file.setTimes(item.st) && file.flush() && file.commit();
        if (!ok) {
            err = file.error();
            return fail(target, "cannot write: " + reasonOf(err), item.bytes.size());
        }
        made.files.push_back(target);
    }
    return kExitOk;
}

}  // namespace

int runMigrate(int argc, char** argv) {
    Args args;
    if (auto status = parseCommandLine(kHelp, argc, argv, {{"--dry-run", false}, {"--keep-going", false}}, 1, 1, args))
        return *status;

    std::error_code ec;
    const std::string oldArg = args.positional[0];
    struct stat st {};
    if (::stat(oldArg.c_str(), &st) != 0) return usageError(kHelp, "OLD " + oldArg + ": " + reasonOf(errno));
    if (!S_ISDIR(st.st_mode)) return usageError(kHelp, "OLD " + oldArg + ": not a folder");
    const fs::path old = fs::canonical(oldArg, ec);
    if (ec) return usageError(kHelp, "OLD " + oldArg + ": " + reasonOf(ec.value()));

    const fs::path neu = programFolder(args);
    const std::string source = args.has("--home") ? "--home " + *args.value("--home") : "NEW " + neu.string();
    if (::stat(neu.c_str(), &st) == 0) {
        std::string first;
        if (!S_ISDIR(st.st_mode)) return usageError(kHelp, source + ": not a folder");
        if (!isEmptyFolder(neu, first)) {
            std::string why = first.empty() ? std::string("cannot be read") : "not empty (" + printable(first) + ")";
            if (auto holder = folderHolder(neu)) why += "; zemoplan runs on it, " + describeHolder(*holder);
            return usageError(kHelp, source + ": " + why + "; NEW must be missing or empty");
        }
    } else if (errno != ENOENT) {
        return usageError(kHelp, source + ": " + reasonOf(errno));
    }
    const fs::path newReal = fs::weakly_canonical(neu, ec);
    if (isInside(ec ? neu : newReal, old))
        return usageError(kHelp, source + " is inside OLD " + old.string() + ", which is only read");

    const Plan plan = makePlan(old);
    for (const fs::path& folder : plan.oldFolders)
        if (isInside(ec ? neu : newReal, folder))
            return usageError(kHelp,
                              source + " is inside the old work folder " + folder.string() + ", which is only read");

    std::string report;
    int refused = 0;
    for (const Item& item : plan.items) {
        report += itemLine(item);
        if (item.refused) ++refused;
    }
    report += std::to_string(plan.items.size()) + " files, " + std::to_string(plan.catalogueRecords) +
              " records in the catalogue, " + std::to_string(refused) + " refused\n";
    if (!writeStdout(report)) return failure(kHelp, "cannot write the output");

    const int status = refused > 0 ? kExitFailed : kExitOk;
    if (args.has("--dry-run")) return status;
    if (refused > 0 && !args.has("--keep-going")) {
        failure(kHelp, std::to_string(refused) + " refused; nothing written to " + neu.string() +
                           " (--keep-going writes the files that checked)");
        return status;
    }
    if (const int written = writeNew(neu, plan); written != kExitOk) return written;
    return status;
}

}  // namespace zemo::cli
