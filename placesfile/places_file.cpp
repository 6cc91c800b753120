#include "placesfile/places_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

#include "common/failure.h"

namespace orvalin {
namespace {

[[noreturn]] void FailFromErrno(int error) {
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
    default:
      Fail(Fault::DeviceIO);
  }
}

constexpr std::int64_t kMaxRecord = std::numeric_limits<std::int64_t>::max() / kRecordSize - 1;

off_t RecordOffset(std::int64_t n) {
  if (n < 1 || n > kMaxRecord) Fail(Fault::BadRecordNumber);
  return static_cast<off_t>((n - 1) * static_cast<std::int64_t>(kRecordSize));
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

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

}  // namespace

std::string PlacesFileIn(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (!path.empty() && path.back() != '/') path += '/';
  return path + std::string(name);
}

void PlacesFile::Open(const std::string& path) {
  Close();
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) FailFromErrno(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    Fail(Fault::PermissionDenied);
  }
  fd_ = fd;
  path_ = path;
}

void PlacesFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::int64_t PlacesFile::SizeInBytes() const {
  if (fd_ < 0) Fail(Fault::BadRecordNumber);
  struct stat st {};
  if (::fstat(fd_, &st) != 0) FailFromErrno(errno);
  return st.st_size;
}

double PlacesFile::RecordCount() const {
  return static_cast<double>(SizeInBytes()) / static_cast<double>(kRecordSize);
}

PlaceRecord PlacesFile::Read(std::int64_t n) const {
  const off_t at = RecordOffset(n);
  if (at >= SizeInBytes()) Fail(Fault::BadRecordNumber);
  return DecodeRecord(ReadFully(fd_, kRecordSize, at));
}

void PlacesFile::Write(std::int64_t n, const PlaceRecord& record) {
  const off_t at = RecordOffset(n);
  if (fd_ < 0) Fail(Fault::BadRecordNumber);
  const RecordBytes bytes = EncodeRecord(record);
  const std::int64_t size_before = SizeInBytes();
  try {
    WriteFully(fd_, bytes.data(), bytes.size(), at);
  } catch (const Failure&) {
    // A record cut short by a full disk must not stay behind as a partial last record.
    if (at + static_cast<off_t>(kRecordSize) > size_before) {
      [[maybe_unused]] const int ignored = ::ftruncate(fd_, size_before);
    }
    throw;
  }
}

std::string PlacesFile::ReadAll() const {
  return ReadFully(fd_, static_cast<std::size_t>(SizeInBytes()), 0);
}

void PlacesFile::ReplaceAll(std::string_view bytes) {
  if (fd_ < 0) Fail(Fault::BadRecordNumber);
  struct stat st {};
  if (::fstat(fd_, &st) != 0) FailFromErrno(errno);

  std::string temp = DirectoryOf(path_) + ".location.dat.XXXXXX";
  int out = ::mkstemp(temp.data());
  if (out < 0) FailFromErrno(errno);
  try {
    ::fchmod(out, st.st_mode & 07777);
    WriteFully(out, bytes.data(), bytes.size(), 0);
    if (::fsync(out) != 0) FailFromErrno(errno);
    const int closed = ::close(out);
    out = -1;
    if (closed != 0) FailFromErrno(errno);
  } catch (...) {
    if (out >= 0) ::close(out);
    ::unlink(temp.c_str());
    throw;
  }
  if (::rename(temp.c_str(), path_.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    FailFromErrno(error);
  }
  // The directory entry itself must reach the disk for the replacement to survive a crash.
  const int dir = ::open(DirectoryOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  Open(path_);
}

}  // namespace orvalin
