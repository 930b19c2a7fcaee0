#pragma once
// Whole-file replacement that never leaves a truncated target behind.
#include <cstddef>
#include <string>

namespace zemo {

// Writes size bytes to a temporary file in the target's folder, flushes it to the disk and renames
// it over path: afterwards path holds either its previous contents or all of the new bytes.
// false on any failure, with no temporary file left behind.
bool replaceFile(const std::string& path, const void* data, std::size_t size);

// Writes all n bytes to a file descriptor, going on after interrupted or partial writes.
bool writeAll(int fd, const char* p, std::size_t n);

}  // namespace zemo
