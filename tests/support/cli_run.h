// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the command-line tool as a separate process for the command tests: stdout and stderr are
// captured in files of the work folder, which is also the current folder of the run.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace zemo::testsupport {

struct CliResult {
    int status = -1;  // the exit status; -1 when the tool did not exit normally
    std::string out, err;
};

inline std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

// `zemo ARGS...` in workDir, without ZEMOPLAN_HOME, so that the program folder is what the
// arguments or the current folder say.
inline CliResult runZemo(const std::filesystem::path& workDir, std::vector<std::string> args) {
    const std::filesystem::path outFile = workDir / ".stdout", errFile = workDir / ".stderr";
    args.insert(args.begin(), ZEMO_CLI_PATH);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = ::fork();
    if (pid == 0) {
        int o = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int e = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (o < 0 || e < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 || ::chdir(workDir.c_str()) != 0) ::_exit(127);
        ::unsetenv("ZEMOPLAN_HOME");
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    CliResult r;
    int ws = 0;
    if (pid > 0 && ::waitpid(pid, &ws, 0) == pid && WIFEXITED(ws)) r.status = WEXITSTATUS(ws);
    r.out = slurp(outFile);
    r.err = slurp(errFile);
    return r;
}

}  // namespace zemo::testsupport
