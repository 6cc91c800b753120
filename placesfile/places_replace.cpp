// Replacing the places file whole: a temporary file beside it, written, synced and exchanged
// with it in one step, the old one checked again as it goes.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>

#include "common/failure.h"
#include "placesfile/places_file.h"

namespace orvalin {
namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

// Only root may give a file away; a member of the old group may give it that group.
void KeepOwnerAndMode(int fd, const struct stat& old) {
  const uid_t owner = ::geteuid() == 0 ? old.st_uid : static_cast<uid_t>(-1);
  [[maybe_unused]] const int ignored = ::fchown(fd, owner, old.st_gid);
  if (::fchmod(fd, old.st_mode & 07777) != 0) FailFromErrno(errno);
}

// What `produce` hands to its sink, written to `out` in blocks: pieces as small as one record
// are gathered before they are written.
void WritePieces(int out, const std::function<void(const PlacesFile::PieceSink&)>& produce) {
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
}

// Another program may have put something else at the name meanwhile: that stays.
void RemoveIfStill(int dir, const std::string& name, int fd) {
  struct stat there {}, own {};
  if (::fstatat(dir, name.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &own) == 0 &&
      there.st_dev == own.st_dev && there.st_ino == own.st_ino) {
    ::unlinkat(dir, name.c_str(), 0);
  }
}

}  // namespace

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
  if (!IsOpen()) Fail(Fault::PlacesFileNotOpen);
  for (auto at = static_cast<off_t>(from); at < to;) {
    const auto wanted = static_cast<std::size_t>(std::min<std::int64_t>(kCopyBlock, to - at));
    const std::string block = ReadFully(fd_.get(), wanted, at);
    if (block.empty()) return;
    sink(block);
    at += static_cast<off_t>(block.size());
  }
}

void PlacesFile::ReplaceWith(const std::function<void(const PieceSink&)>& produce) {
  PlacesLock own = ReadyToWrite();
  PlacesLock& lock = own.Held() ? own : lock_;
  struct stat read_file {};
  if (::fstat(fd_.get(), &read_file) != 0) FailFromErrno(errno);
  const int dir = target_.dir.get();
  TemporaryFile temp = CreateTemporary(dir, target_.name);
  try {
    // The attributes first: setting an ACL changes the mode, which then comes back exactly.
    CopyKeptAttributes(fd_.get(), temp.fd.get());
    KeepOwnerAndMode(temp.fd.get(), read_file);
    WritePieces(temp.fd.get(), produce);
    if (::fsync(temp.fd.get()) != 0) FailFromErrno(errno);
    // A long write gives another program time to meddle: the checks come again at the rename.
    lock.Confirm();
    CheckStillTheFileRead();
    TakeTheName(temp);
  } catch (...) {
    RemoveIfStill(dir, temp.name, temp.fd.get());
    throw;
  }
  // The directory entry itself must reach the disk for the replacement to survive a crash.
  ::fsync(dir);
  fd_ = std::move(temp.fd);
  writable_ = true;
  seen_ = StateOf(fd_.get());
}

// The new file and the old one exchange names in one step, and the old one, looked at again,
// must be as it was read: a write that reached it after the last check (another writer, under a
// lock of its own) puts it back. File systems that cannot exchange names get a plain rename.
void PlacesFile::TakeTheName(const TemporaryFile& temp) {
  const int dir = target_.dir.get();
  // Under this writer's flock, the old file is no dead writer's leftover while it bears the
  // temporary name.
  [[maybe_unused]] const int marked = ::flock(fd_.get(), LOCK_EX | LOCK_NB);
  if (::renameat2(dir, temp.name.c_str(), dir, target_.name.c_str(), RENAME_EXCHANGE) != 0) {
    if (errno == ENOENT) Fail(Fault::PlacesFileChanged);
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) FailFromErrno(errno);
    if (::renameat(dir, temp.name.c_str(), dir, target_.name.c_str()) != 0) FailFromErrno(errno);
    return;
  }
  if (IdentityAt(dir, temp.name) != IdentityOf(fd_.get()) || StateOf(fd_.get()) != seen_) {
    ::renameat2(dir, temp.name.c_str(), dir, target_.name.c_str(), RENAME_EXCHANGE);
    Fail(Fault::PlacesFileChanged);
  }
  RemoveIfStill(dir, temp.name, fd_.get());
}

}  // namespace orvalin
