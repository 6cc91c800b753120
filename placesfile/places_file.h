// location.dat: an array of 72-byte records numbered from 1, opened for reading and writing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "placesfile/file_io.h"
#include "placesfile/leftovers.h"
#include "placesfile/place_record.h"
#include "placesfile/places_lock.h"

namespace orvalin {

inline constexpr std::string_view kPlacesFileName = "location.dat";

// The places file `name` of a folder ("" or a path ending in "/" or not); just the name for "".
std::string PlacesFileIn(std::string_view directory, std::string_view name = kPlacesFileName);

// Failures carry the standard descriptions: "Path not found", "Permission denied" (also for a
// folder in the file's place, and for a write to a file that may only be read), "Disk full",
// "Device I/O error", "Bad record number", "Places file not open" for a read or write before the
// opening, "Places file busy" when another writer keeps the lock,
// "Places file cannot be locked: ..." when the lock file cannot be one, and "Places file changed
// by another program" when the name no longer refers to the file that was read, when the file
// was written by another program meanwhile, or when the lock file was deleted or replaced while
// held (whoever wrote under another lock, the write that notices is refused, never lost unsaid).
class PlacesFile {
 public:
  PlacesFile() = default;
  PlacesFile(const PlacesFile&) = delete;
  PlacesFile& operator=(const PlacesFile&) = delete;
  ~PlacesFile() { Close(); }

  // Read: for commands that only read. Write: for a command that writes, or reads records to
  // decide a write; the file's lock is held from the opening to Close.
  enum class Use { Read, Write };

  // Opens for reading and writing; a missing file is created empty. A file that may only be read
  // opens for Read, and only a write to it is refused.
  void Open(const std::string& path, Use use = Use::Read);
  bool IsOpen() const { return fd_.IsOpen(); }
  void Close();  // closing a file that is not open does nothing; the lock goes with it

  // What a command that writes in two steps carries from the first to the second: the lock, the
  // folder found at the opening and the file the first step left, so that the second neither
  // lets another writer in nor resolves the name again.
  class Handover {
   public:
    bool Held() const { return lock_.Held(); }
    void Release() { *this = Handover(); }

   private:
    friend class PlacesFile;
    TargetFolder target_;
    PlacesLock lock_;
    Descriptor fd_;
    bool writable_ = false;
    FileState seen_;
  };
  Handover CloseKeepingLock();
  // The handed file open again, once its name is found still to be that file.
  void Open(Handover held);

  // Length in bytes / 72, a real number: a partial last record counts as a fraction.
  double RecordCount() const;
  std::int64_t SizeInBytes() const;

  // Record n (from 1). One wholly beyond the end fails with Bad record number; a partial last
  // record reads what is there.
  PlaceRecord Read(std::int64_t n) const;
  // The bytes of record n: 72, fewer for a partial last record, none beyond the end; and of
  // `count` records from n.
  std::string RecordBytesAt(std::int64_t n) const { return RecordsBytesAt(n, 1); }
  std::string RecordsBytesAt(std::int64_t n, std::int64_t count) const;
  // Writing at or past the end makes the file longer.
  void Write(std::int64_t n, const PlaceRecord& record);

  // The whole file's bytes; and an atomic replacement of them, after which this object holds the
  // new file open. The replacement is written to a temporary file beside the target of any
  // symbolic link, as resolved at the opening, flushed, and renamed over the target only while
  // that name still refers to the file that was read: the link stays a link, and the new file
  // keeps the read file's mode, its group where the process may set it, its owner when run as
  // root, its user.* attributes and its access ACL. A hard link elsewhere keeps the old contents:
  // only this name is replaced.
  std::string ReadAll() const;
  using PieceSink = std::function<void(std::string_view)>;
  // The file's bytes from `from` up to `to` (or its end), handed to `sink` a block at a time.
  void CopyBytes(std::int64_t from, std::int64_t to, const PieceSink& sink) const;
  void ReplaceAll(std::string_view bytes);
  // The same replacement with the file's present bytes followed by `tail`, copied a block at a
  // time rather than held in memory.
  void ReplaceWithAppended(std::string_view tail);
  void ReplaceWithAppended(const std::function<void(const PieceSink&)>& produce_tail);
  // The same replacement with the bytes that `produce` hands to its sink, piece by piece, so
  // that the new file is never whole in memory.
  void ReplaceWith(const std::function<void(const PieceSink&)>& produce);

  // Called each time this file has just taken its lock, before anything is read or written under
  // it: a test of two writers keeps one inside the lock while the other tries for it.
  void WhenLockTaken(std::function<void()> taken) { lock_taken_ = std::move(taken); }

 private:
  [[nodiscard]] PlacesLock TakeLock();
  void OpenLocked(Use use);  // with target_ and lock_ as they are
  void OpenDescriptor(Use use);
  // Before any write: the lock it goes under (the one held since the opening, confirmed, or one
  // taken for this write alone), once the name is found still to be the file that was read.
  [[nodiscard]] PlacesLock ReadyToWrite();
  void CheckStillTheFileRead() const;
  void CheckTheNameIsTheFileRead() const;
  void CheckAppended(const PlacesLock& lock, std::int64_t size) const;
  void TakeTheName(const TemporaryFile& temp);

  Descriptor fd_;
  bool writable_ = false;
  TargetFolder target_;
  PlacesLock lock_;
  FileState seen_;  // as the file was read, or as this object last wrote it
  std::function<void()> lock_taken_ = [] {};
};

}  // namespace orvalin
