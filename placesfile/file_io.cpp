#include "placesfile/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "common/failure.h"

namespace orvalin {
namespace {

constexpr char kAccessAcl[] = "system.posix_acl_access";

bool Unsupported(int error) { return error == ENOTSUP || error == ENODATA; }

// An attribute list or value, asked again when it grew between asking its size and reading it.
template <typename Get>
std::string AttributeBytes(Get get) {
  for (;;) {
    const ssize_t size = get(nullptr, 0);
    if (size < 0) {
      if (Unsupported(errno)) return {};
      FailFromErrno(errno);
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const ssize_t got = get(bytes.data(), bytes.size());
    if (got >= 0) {
      bytes.resize(static_cast<std::size_t>(got));
      return bytes;
    }
    if (errno != ERANGE) FailFromErrno(errno);
  }
}

bool Kept(std::string_view name) { return name.starts_with("user.") || name == kAccessAcl; }

}  // namespace

Fault FaultOfErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return Fault::PathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
      return Fault::PermissionDenied;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
      return Fault::DiskFull;
    case ENOMEM:
      return Fault::OutOfMemory;
    default:
      return Fault::DeviceIO;
  }
}

void FailFromErrno(int error) { Fail(FaultOfErrno(error)); }

void WriteFully(int fd, const char* data, std::size_t size, off_t at) {
  while (size > 0) {
    const ssize_t n = ::pwrite(fd, data, size, at);
    if (n < 0) {
      if (errno == EINTR) continue;
      FailFromErrno(errno);
    }
    if (n == 0) Fail(Fault::DiskFull);
    data += n, size -= static_cast<std::size_t>(n), at += n;
  }
}

std::string ReadFully(int fd, std::size_t size, off_t at) {
  std::string out(size, '\0');
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::pread(fd, out.data() + got, size - got, at + static_cast<off_t>(got));
    if (n < 0) {
      if (errno == EINTR) continue;
      FailFromErrno(errno);
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  out.resize(got);
  return out;
}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
  if (this != &other) Reset(other.Release());
  return *this;
}

int Descriptor::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

void Descriptor::Reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

FileIdentity IdentityOf(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) FailFromErrno(errno);
  return {st.st_dev, st.st_ino};
}

std::optional<FileIdentity> IdentityAt(int dir, const std::string& name) {
  struct stat st {};
  if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return std::nullopt;
    FailFromErrno(errno);
  }
  return FileIdentity{st.st_dev, st.st_ino};
}

FileState StateOf(int fd) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) FailFromErrno(errno);
  return {st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
}

void CopyKeptAttributes(int from, int to) {
  const std::string names =
      AttributeBytes([from](char* out, std::size_t size) { return ::flistxattr(from, out, size); });
  bool acl = false;
  for (std::size_t at = 0; at < names.size(); at += std::strlen(names.c_str() + at) + 1) {
    const char* name = names.c_str() + at;
    if (!Kept(name)) continue;
    acl = acl || std::string_view(name) == kAccessAcl;
    const std::string value = AttributeBytes(
        [from, name](char* out, std::size_t size) { return ::fgetxattr(from, name, out, size); });
    if (::fsetxattr(to, name, value.data(), value.size(), 0) != 0) FailFromErrno(errno);
  }
  // A new file takes its folder's default ACL: the old file's rights are kept, not those.
  if (!acl && ::fremovexattr(to, kAccessAcl) != 0 && !Unsupported(errno)) FailFromErrno(errno);
}

}  // namespace orvalin
