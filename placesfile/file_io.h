// Whole reads and writes on a file descriptor, descriptors that close themselves, what a name
// refers to, what a file holds besides its bytes, and system errors as the failures a trap
// reports.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>

#include "common/failure.h"

namespace orvalin {

// The fault a trap reports for an errno value: Path not found, Permission denied, Disk full,
// Out of memory or Device I/O error.
Fault FaultOfErrno(int error);
[[noreturn]] void FailFromErrno(int error);

void WriteFully(int fd, const char* data, std::size_t size, off_t at);
// Up to `size` bytes from `at`; fewer at the end of the file.
std::string ReadFully(int fd, std::size_t size, off_t at);

// An open file descriptor, closed when its owner goes.
class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(other.Release()) {}
  Descriptor& operator=(Descriptor&& other) noexcept;
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() { Reset(); }

  int get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }
  int Release();
  void Reset(int fd = -1);

 private:
  int fd_ = -1;
};

// Device and inode: two looks at a name see the same file only when both agree.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const FileIdentity&) const = default;
};
FileIdentity IdentityOf(int fd);
// What `name` in the folder `dir` is now, the name itself when it is a link; nothing when there
// is no such name.
std::optional<FileIdentity> IdentityAt(int dir, const std::string& name);

// What any write to a file's bytes changes: its length or the time of its last write.
struct FileState {
  off_t size = 0;
  time_t modified_s = 0;
  long modified_ns = 0;
  bool operator==(const FileState&) const = default;
};
FileState StateOf(int fd);

// The extended attributes of `from` that go with the file's rights and notes, as its mode and
// owner do: every user.* one and the access ACL; `to` loses an access ACL `from` has not.
void CopyKeptAttributes(int from, int to);

}  // namespace orvalin
