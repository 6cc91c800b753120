#include "placesfile/places_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>

#include "common/failure.h"

namespace orvalin {
namespace {

constexpr std::int64_t kMaxRecord = std::numeric_limits<std::int64_t>::max() / kRecordSize - 1;

off_t RecordOffset(std::int64_t n) {
  if (n < 1 || n > kMaxRecord) Fail(Fault::BadRecordNumber);
  return static_cast<off_t>((n - 1) * static_cast<std::int64_t>(kRecordSize));
}

int OpenAt(int dir, const std::string& name, int flags) {
  int fd;
  do {
    fd = ::openat(dir, name.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool OnlyReadable(int error) { return error == EACCES || error == EPERM || error == EROFS; }

}  // namespace

std::string PlacesFileIn(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (!path.empty() && path.back() != '/') path += '/';
  return path + std::string(name);
}

void PlacesFile::Open(const std::string& path, Use use) {
  Close();
  target_ = TargetFolder::Of(path);
  if (use == Use::Write) lock_ = TakeLock();
  OpenLocked(use);
}

void PlacesFile::Open(Handover held) {
  Close();
  target_ = std::move(held.target_);
  lock_ = std::move(held.lock_);
  fd_ = std::move(held.fd_);
  writable_ = held.writable_;
  seen_ = held.seen_;
  try {
    lock_.Confirm();
    CheckStillTheFileRead();
  } catch (...) {
    Close();
    throw;
  }
}

PlacesFile::Handover PlacesFile::CloseKeepingLock() {
  Handover held;
  held.target_ = std::move(target_);
  held.lock_ = std::move(lock_);
  held.fd_ = std::move(fd_);
  held.writable_ = writable_;
  held.seen_ = seen_;
  Close();
  return held;
}

void PlacesFile::OpenLocked(Use use) {
  try {
    OpenDescriptor(use);
  } catch (...) {
    Close();
    throw;
  }
}

void PlacesFile::OpenDescriptor(Use use) {
  const int dir = target_.dir.get();
  Descriptor fd(OpenAt(dir, target_.name, O_RDWR | O_CREAT));
  writable_ = fd.IsOpen();
  // A file that may only be read is still shown and searched: only a write to it is refused.
  if (!fd.IsOpen() && use == Use::Read && OnlyReadable(errno)) {
    const int error = errno;
    fd.Reset(OpenAt(dir, target_.name, O_RDONLY));
    if (!fd.IsOpen()) FailFromErrno(error);
  }
  if (!fd.IsOpen()) FailFromErrno(errno);
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) Fail(Fault::PermissionDenied);
  fd_ = std::move(fd);
  seen_ = StateOf(fd_.get());
}

void PlacesFile::Close() {
  fd_.Reset();
  target_ = TargetFolder();
  lock_.Release();
}

PlacesLock PlacesFile::TakeLock() {
  PlacesLock lock = PlacesLock::Take(target_);
  lock_taken_();
  return lock;
}

PlacesLock PlacesFile::ReadyToWrite() {
  if (!IsOpen()) Fail(Fault::PlacesFileNotOpen);
  if (!writable_) Fail(Fault::PermissionDenied);
  PlacesLock own;
  if (lock_.Held()) {
    lock_.Confirm();
  } else {
    own = TakeLock();
  }
  CheckStillTheFileRead();
  return own;
}

void PlacesFile::CheckStillTheFileRead() const {
  CheckTheNameIsTheFileRead();
  if (StateOf(fd_.get()) != seen_) Fail(Fault::PlacesFileChanged);
}

void PlacesFile::CheckTheNameIsTheFileRead() const {
  if (IdentityAt(target_.dir.get(), target_.name) != IdentityOf(fd_.get())) {
    Fail(Fault::PlacesFileChanged);
  }
}

// After a write in place: a writer that went on under a lock of its own, the lock file deleted
// meanwhile, may have replaced the file or written beside this record.
void PlacesFile::CheckAppended(const PlacesLock& lock, std::int64_t size) const {
  lock.Confirm();
  CheckTheNameIsTheFileRead();
  if (SizeInBytes() != size) Fail(Fault::PlacesFileChanged);
}

std::int64_t PlacesFile::SizeInBytes() const {
  if (!IsOpen()) Fail(Fault::PlacesFileNotOpen);
  struct stat st {};
  if (::fstat(fd_.get(), &st) != 0) FailFromErrno(errno);
  return st.st_size;
}

double PlacesFile::RecordCount() const {
  return static_cast<double>(SizeInBytes()) / static_cast<double>(kRecordSize);
}

PlaceRecord PlacesFile::Read(std::int64_t n) const {
  const off_t at = RecordOffset(n);
  if (at >= SizeInBytes()) Fail(Fault::BadRecordNumber);
  return DecodeRecord(ReadFully(fd_.get(), kRecordSize, at));
}

std::string PlacesFile::RecordsBytesAt(std::int64_t n, std::int64_t count) const {
  const off_t at = RecordOffset(n);
  if (!IsOpen()) Fail(Fault::PlacesFileNotOpen);
  return ReadFully(fd_.get(), static_cast<std::size_t>(count) * kRecordSize, at);
}

void PlacesFile::Write(std::int64_t n, const PlaceRecord& record) {
  const off_t at = RecordOffset(n);
  const PlacesLock own = ReadyToWrite();
  const RecordBytes bytes = EncodeRecord(record);
  const std::int64_t size_before = SizeInBytes();
  const std::int64_t end = at + static_cast<off_t>(kRecordSize);
  try {
    WriteFully(fd_.get(), bytes.data(), bytes.size(), at);
  } catch (const Failure&) {
    // A record cut short by a full disk must not stay behind as a partial last record.
    if (end > size_before) [[maybe_unused]] const int ignored = ::ftruncate(fd_.get(), size_before);
    throw;
  }
  CheckAppended(own.Held() ? own : lock_, std::max(end, size_before));
  seen_ = StateOf(fd_.get());
}

std::string PlacesFile::ReadAll() const {
  return ReadFully(fd_.get(), static_cast<std::size_t>(SizeInBytes()), 0);
}

}  // namespace orvalin
