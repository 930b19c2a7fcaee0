// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands of the command-line tool `zemo`. Each takes the arguments after its name and
// returns the exit status: 0 done, 1 failed (reason on stderr), 2 usage error.
namespace zemo::cli {

int runInit(int argc, char** argv);
int runShow(int argc, char** argv);
int runExport(int argc, char** argv);
int runImport(int argc, char** argv);
int runPlan(int argc, char** argv);
int runList(int argc, char** argv);
int runSearch(int argc, char** argv);
int runLabel(int argc, char** argv);
int runMigrate(int argc, char** argv);

}  // namespace zemo::cli
