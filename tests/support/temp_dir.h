// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A fresh folder per test, removed afterwards even when a test left read-only folders in it.
#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace zemo::testsupport {

inline std::filesystem::path makeTempDir(const std::string& prefix) {
    std::string tmpl = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    return tmpl;
}

inline void removeTempDir(const std::filesystem::path& dir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
}

class TempDir {
public:
    explicit TempDir(const std::string& prefix = "zemo") : path_(makeTempDir(prefix)) {}
    ~TempDir() { removeTempDir(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string str(const std::string& rel = "") const { return rel.empty() ? path_.string() : (path_ / rel).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace zemo::testsupport
