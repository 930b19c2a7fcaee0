// SPDX-License-Identifier: GPL-3.0-or-later
// zemo init: what a first start does when the user answers Yes.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/cli/cli_common.h"
#include "app/cli/cli_files.h"
#include "app/cli/commands.h"
#include "platform/sjis.h"
#include "records/control_file.h"
#include "records/data_file.h"
#include "records/file_services.h"
#include "shell/program_lock.h"

namespace zemo::cli {
namespace {

const CommandHelp kHelp{
    "init", "[--home DIR]",
    "Creates the system control file ZEMOCTRL.DAT with its creation defaults in the program folder\n"
    "(when it is not there yet) and the four work directories it names (CD_SYS, CD_ADD, CD_TXT,\n"
    "CD_MD by default), answering Yes to the questions of a first start. An existing control file\n"
    "is read and kept; missing directories are created. Prints the control file and the directories.\n"
    "A missing program folder is made; one that is a file or cannot be read is a usage error.\n"
    "Refused while zemoplan runs on the program folder (it holds ZEMOPLAN.LCK there).\n"};

}  // namespace

int runInit(int argc, char** argv) {
    Args args;
    if (auto status = parseCommandLine(kHelp, argc, argv, {}, 0, 0, args)) return *status;
    std::filesystem::path home;
    if (auto status = checkProgramFolder(kHelp, args, true, home)) return *status;
    // A running copy of the program owns the control file and the work folders.
    if (auto holder = folderHolder(home))
        return failure(kHelp, "the program folder " + home.string() + " is in use by zemoplan, " +
                                  describeHolder(*holder) + "; nothing written");

    Session s(home);
    Workspace& ws = s.ws;
    const std::string control = controlFilePath(ws);
    if (auto refused = refuseNonRegular(kHelp, control)) return *refused;
    const bool existed = fileExists(ws, control);
    if (startControl(ws) != 0) {
        failure(kHelp, "the control file " + control + " is not usable");
        explainFailure(kHelp, control, existed ? Access::Read : Access::Write, sizeof(SysControl));
        return kExitFailed;
    }
    const std::pair<const char*, int> dirs[] = {
        {"sysDir", kPathSys}, {"addDir", kPathAdd}, {"txtDir", kPathTxt}, {"libDir", kPathLib}};
    // A stored name that is not Shift-JIS would be made as a folder of another name.
    for (auto [name, slot] : dirs) {
        const std::string stored = fieldText(ws.control.paths[slot]);
        if (ConvResult r = sjisToUtf8Checked(stored); !r.ok)
            return failure(kHelp, control + ": the work directory " + name + " (" +
                                      visibleControls(sjisToUtf8(stored)) + ") is not valid Shift-JIS at byte " +
                                      std::to_string(r.badOffset + 1) +
                                      "; nothing created, set it again in the program's system settings");
    }
    if (checkDataDirs(ws) != 0) return failure(kHelp, "the work directories are not ready");

    std::string out = "control\t" + controlFilePath(ws) + (existed ? "\tkept\n" : "\tcreated\n");
    bool missing = false;
    for (auto [name, slot] : dirs) {
        const std::string dir = workDir(ws, slot);
        out += std::string(name) + "\t" + visibleControls(dir) + "\n";
        if (!dirExists(ws, dir)) {
            std::fprintf(stderr, "zemo init: %s: not created\n", visibleControls(dir).c_str());
            missing = true;
        }
    }
    if (!writeStdout(out)) return failure(kHelp, "cannot write the output");
    return missing ? kExitFailed : kExitOk;
}

}  // namespace zemo::cli
