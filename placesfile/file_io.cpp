#include "placesfile/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "common/failure.h"

namespace orvalin {

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

}  // namespace orvalin
