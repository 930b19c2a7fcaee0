// SPDX-License-Identifier: GPL-3.0-or-later
// zemo: the command-line tool for scripting and headless use.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/cli/commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(int, char**);
    const char* summary;
};

constexpr Command kCommands[] = {
    {"init", zemo::cli::runInit, "create the control file and the work directories"},
    {"show", zemo::cli::runShow, "show a data file's summary and records"},
    {"export", zemo::cli::runExport, "write a data file's records as CSV"},
    {"import", zemo::cli::runImport, "make a data file from CSV"},
    {"plan", zemo::cli::runPlan, "plan a tape from a data file"},
    {"list", zemo::cli::runList, "print a data file's records as the data list"},
    {"search", zemo::cli::runSearch, "search a data file as the catalogue search does"},
    {"label", zemo::cli::runLabel, "print the cassette label of a tape plan"},
    {"migrate", zemo::cli::runMigrate, "make a program folder from the old program's folder"},
};

void usage(std::FILE* out) {
    std::fprintf(out, "usage: zemo COMMAND [OPTIONS]\n       zemo COMMAND --help\n       zemo --version\n\ncommands:\n");
    for (const Command& c : kCommands) std::fprintf(out, "  %-8s %s\n", c.name, c.summary);
    std::fputs("\nEvery command takes --home DIR, the program folder (control file ZEMOCTRL.DAT, settings\n"
               "WZEMO.INI, work directories); without it $ZEMOPLAN_HOME, else the current folder.\n"
               "Exit status: 0 done, 1 failed, 2 usage error.\n",
               out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        usage(stderr);
        return 2;
    }
    std::string first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        usage(stdout);
        return 0;
    }
    if (first == "--version") {
        std::printf("zemo %s\n", ZEMO_VERSION);
        return 0;
    }
    for (const Command& c : kCommands)
        if (first == c.name) return c.run(argc - 2, argv + 2);
    std::fprintf(stderr, "zemo: unknown command '%s'\n", first.c_str());
    usage(stderr);
    return 2;
}
