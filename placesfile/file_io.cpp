#include "placesfile/file_io.h"

#include <unistd.h>

#include <cerrno>

#include "common/failure.h"

namespace orvalin {

void FailFromErrno(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      Fail(Fault::PathNotFound);
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
      Fail(Fault::PermissionDenied);
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
      Fail(Fault::DiskFull);
    case ENOMEM:
      Fail(Fault::OutOfMemory);
    default:
      Fail(Fault::DeviceIO);
  }
}

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

}  // namespace orvalin
