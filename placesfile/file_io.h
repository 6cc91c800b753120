// Whole reads and writes on a file descriptor, and system errors as the failures a trap reports.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace orvalin {

// "Path not found", "Permission denied", "Disk full" or "Device I/O error" for an errno value.
[[noreturn]] void FailFromErrno(int error);

void WriteFully(int fd, const char* data, std::size_t size, off_t at);
// Up to `size` bytes from `at`; fewer at the end of the file.
std::string ReadFully(int fd, std::size_t size, off_t at);

}  // namespace orvalin
