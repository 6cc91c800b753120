#include "placesfile/places_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>

#include "common/failure.h"
#include "placesfile/file_io.h"

namespace orvalin {
namespace {

constexpr std::int64_t kMaxRecord = std::numeric_limits<std::int64_t>::max() / kRecordSize - 1;

off_t RecordOffset(std::int64_t n) {
  if (n < 1 || n > kMaxRecord) Fail(Fault::BadRecordNumber);
  return static_cast<off_t>((n - 1) * static_cast<std::int64_t>(kRecordSize));
}

// Only root may give a file away; a member of the old group may give it that group.
void KeepOwnerAndMode(int fd, const struct stat& old) {
  const uid_t owner = ::geteuid() == 0 ? old.st_uid : static_cast<uid_t>(-1);
  [[maybe_unused]] const int ignored = ::fchown(fd, owner, old.st_gid);
  if (::fchmod(fd, old.st_mode & 07777) != 0) FailFromErrno(errno);
}

constexpr std::size_t kCopyBlock = 1 << 20;

// What `write` puts in a new temporary file beside the target, flushed; the file's name.
template <typename Writer>
std::string WriteTemporary(const std::string& target, const struct stat& old, Writer&& write) {
  std::string temp = TemporaryPatternOf(target);
  int out = ::mkostemp(temp.data(), O_CLOEXEC);
  if (out < 0) FailFromErrno(errno);
  try {
    KeepOwnerAndMode(out, old);
    write(out);
    if (::fsync(out) != 0) FailFromErrno(errno);
    const int closed = ::close(out);
    out = -1;
    if (closed != 0) FailFromErrno(errno);
  } catch (...) {
    if (out >= 0) ::close(out);
    ::unlink(temp.c_str());
    throw;
  }
  return temp;
}

}  // namespace

std::string PlacesFileIn(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (!path.empty() && path.back() != '/') path += '/';
  return path + std::string(name);
}

void PlacesFile::Open(const std::string& path, Use use) {
  Close();
  if (use == Use::Write) lock_ = PlacesLock::Take(path);
  OpenLocked(path);
}

void PlacesFile::Open(const std::string& path, PlacesLock held) {
  Close();
  lock_ = std::move(held);
  OpenLocked(path);
}

PlacesLock PlacesFile::CloseKeepingLock() {
  PlacesLock held = std::move(lock_);
  Close();
  return held;
}

void PlacesFile::OpenLocked(const std::string& path) {
  path_ = path;
  try {
    OpenDescriptor();
  } catch (...) {
    lock_.Release();
    throw;
  }
}

void PlacesFile::OpenDescriptor() {
  int fd;
  do {
    fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) FailFromErrno(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    Fail(Fault::PermissionDenied);
  }
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

void PlacesFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  lock_.Release();
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

std::string PlacesFile::RecordsBytesAt(std::int64_t n, std::int64_t count) const {
  const off_t at = RecordOffset(n);
  if (fd_ < 0) Fail(Fault::BadRecordNumber);
  return ReadFully(fd_, static_cast<std::size_t>(count) * kRecordSize, at);
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
  ReplaceWith([&](const PieceSink& sink) { sink(bytes); });
}

void PlacesFile::ReplaceWithAppended(std::string_view tail) {
  ReplaceWithAppended([&](const PieceSink& sink) { sink(tail); });
}

void PlacesFile::ReplaceWithAppended(const std::function<void(const PieceSink&)>& produce_tail) {
  ReplaceWith([&](const PieceSink& sink) {
    CopyBytes(0, std::numeric_limits<std::int64_t>::max(), sink);
    produce_tail(sink);
  });
}

void PlacesFile::CopyBytes(std::int64_t from, std::int64_t to, const PieceSink& sink) const {
  if (fd_ < 0) Fail(Fault::BadRecordNumber);
  for (auto at = static_cast<off_t>(from); at < to;) {
    const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(kCopyBlock, to - at));
    const std::string block = ReadFully(fd_, wanted, at);
    if (block.empty()) return;
    sink(block);
    at += static_cast<off_t>(block.size());
  }
}

void PlacesFile::ReplaceWith(const std::function<void(const PieceSink&)>& produce) {
  if (fd_ < 0) Fail(Fault::BadRecordNumber);
  // A file opened only to read is still replaced under the lock.
  const PlacesLock own = lock_.Held() ? PlacesLock() : PlacesLock::Take(path_);
  struct stat st {};
  if (::fstat(fd_, &st) != 0) FailFromErrno(errno);

  const std::string target = ResolvedTarget(path_);
  const std::string temp = WriteTemporary(target, st, [&](int out) {
    // Pieces as small as one record are gathered into blocks before they are written.
    std::string block;
    off_t at = 0;
    const auto write = [&](std::string_view bytes) {
      WriteFully(out, bytes.data(), bytes.size(), at);
      at += static_cast<off_t>(bytes.size());
    };
    produce([&](std::string_view piece) {
      if (block.size() + piece.size() > kCopyBlock) {
        write(block);
        block.clear();
      }
      if (piece.size() >= kCopyBlock) {
        write(piece);
      } else {
        block.append(piece);
      }
    });
    write(block);
  });
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temp.c_str());
    FailFromErrno(error);
  }
  // The directory entry itself must reach the disk for the replacement to survive a crash.
  const int dir = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  OpenDescriptor();
}

}  // namespace orvalin
