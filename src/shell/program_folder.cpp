// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/program_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "records/cd_record.h"

namespace zemo {

namespace fs = std::filesystem;

namespace {

fs::path absoluteFrom(const std::string& dir) {
    std::error_code ec;
    fs::path abs = fs::absolute(dir, ec);
    return (ec ? fs::path(dir) : abs).lexically_normal();
}

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

ProgramFolder chooseProgramFolder(const ProgramFolderSources& s) {
    if (!s.homeOption.empty()) return {absoluteFrom(s.homeOption), false};
    if (!s.zemoplanHome.empty()) return {absoluteFrom(s.zemoplanHome), false};
    std::error_code ec;
    if (!s.executableDir.empty() && fs::is_regular_file(s.executableDir / defaultFileName(kKindControl), ec))
        return {s.executableDir.lexically_normal(), false};
    fs::path data;
    if (!s.xdgDataHome.empty() && fs::path(s.xdgDataHome).is_absolute()) {
        data = s.xdgDataHome;
    } else if (!s.userHome.empty() && fs::path(s.userHome).is_absolute()) {
        data = fs::path(s.userHome) / ".local" / "share";
    } else {
        return {};
    }
    return {(data / "zemoplan").lexically_normal(), true};
}

ProgramFolderSources programFolderSources(std::string homeOption, fs::path executableDir) {
    ProgramFolderSources s;
    s.homeOption = std::move(homeOption);
    s.zemoplanHome = environment("ZEMOPLAN_HOME");
    s.executableDir = std::move(executableDir);
    s.xdgDataHome = environment("XDG_DATA_HOME");
    s.userHome = environment("HOME");
    if (s.userHome.empty()) {
        std::vector<char> buffer(16384);
        passwd entry{};
        passwd* found = nullptr;
        if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
            s.userHome = found->pw_dir;
    }
    return s;
}

void makeProgramFolder(const fs::path& dir, std::error_code& ec) {
    ec.clear();
    fs::path made;
    for (const fs::path& part : dir) {
        made /= part;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) {
            ec.assign(errno, std::generic_category());
            return;
        }
    }
    if (!fs::is_directory(dir, ec) && !ec) ec = std::make_error_code(std::errc::not_a_directory);
}

}  // namespace zemo
