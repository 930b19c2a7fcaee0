// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which folder the desktop program works in (control file, window settings, work directories).
// A shop that keeps the program beside its data goes on doing so; an installed program lives in a
// system folder no user can write, so it works in the user's data folder instead.
#include <filesystem>
#include <string>
#include <system_error>

namespace zemo {

// What the choice is made from; an empty string stands for an unset variable or option.
struct ProgramFolderSources {
    std::string homeOption;               // --home DIR
    std::string zemoplanHome;             // $ZEMOPLAN_HOME
    std::filesystem::path executableDir;  // the folder of the running executable
    std::string xdgDataHome;              // $XDG_DATA_HOME
    std::string userHome;                 // $HOME, else the account's home folder
};

struct ProgramFolder {
    std::filesystem::path path;  // absolute; empty when no folder can be named
    // Only the per-user data folder is made when missing: a folder the user named must exist.
    bool createWhenMissing = false;
};

// --home, else $ZEMOPLAN_HOME (relative ones from the current folder), else the executable's
// folder when it holds ZEMOCTRL.DAT, else $XDG_DATA_HOME/zemoplan; an XDG_DATA_HOME that is
// unset, empty or relative counts as $HOME/.local/share.
ProgramFolder chooseProgramFolder(const ProgramFolderSources& sources);

// The sources of this process: the two variables from the environment and $HOME, else the
// account's home folder from the password database.
ProgramFolderSources programFolderSources(std::string homeOption, std::filesystem::path executableDir);

// Makes the folder and its missing parents, private to the user (0700) as the XDG base
// directories are to be made.
void makeProgramFolder(const std::filesystem::path& dir, std::error_code& ec);

}  // namespace zemo
