// One writer at a time on the places file, across programs: an exclusive flock on a lock file
// beside the file's resolved target. The lock file outlives every replacement of the places
// file and is never removed, so that every writer meets on the same one; the system releases the
// lock when its holder dies.
#pragma once

#include <string>

#include "placesfile/file_io.h"

namespace orvalin {

// The file a path names once every symbolic link is followed, even to a target not yet there.
// A link is followed only where the kernel's protection of links would follow it: not one in a
// shared folder (sticky and writable by all, as /tmp) that belongs neither to the folder's owner
// nor to the user, which fails with "Places file is a link in a shared folder: LINK".
std::string ResolvedTarget(const std::string& path);
// The folder part of a path with its final "/", "./" when there is none.
std::string FolderOf(const std::string& path);
// The last part of a path.
std::string NameOf(const std::string& path);
// ".<name>.lock" beside the target.
std::string LockFileOf(const std::string& target);

// A file's target resolved once, with its folder held open: every later step is taken relative
// to that folder, so that a link swapped meanwhile redirects nothing.
struct TargetFolder {
  std::string folder;  // as the path names it, with its final "/"
  std::string name;    // the target's name in it
  Descriptor dir;
  // Fails with Path not found or Permission denied when the folder cannot be opened.
  static TargetFolder Of(const std::string& path);
};

class PlacesLock {
 public:
  PlacesLock() = default;
  // Waits up to kLockWait for the lock, then fails with Places file busy. A lock file that
  // cannot be one (a link, a folder, one that may not be read or made) fails with Places file
  // cannot be locked, naming it and why. Leftovers are removed once the lock is held.
  static PlacesLock Take(const TargetFolder& target);
  static PlacesLock Take(const std::string& path);  // of the file at `path`

  bool Held() const { return lock_.IsOpen(); }
  void Release() { lock_.Reset(); }  // closing the only descriptor releases the flock
  // Before a write and before a replacement takes the file's name: fails with Places file changed
  // by another program when the lock file at the lock's name is no longer the one locked. Another
  // program deleted or replaced it, and another writer may have written under a lock of its own.
  void Confirm() const;

 private:
  void Acquire();

  Descriptor folder_;      // a descriptor of its own on the target's folder
  std::string lock_path_;  // for messages
  std::string lock_name_;
  Descriptor lock_;
};

}  // namespace orvalin
