// The temporary file a replacement writes beside the places file, and the clean-up of those that
// a killed writer left. Each carries the writer's mark: a name no person would choose, and a
// flock its writer holds as long as it lives, so that only the files of dead writers go.
#pragma once

#include <string>

#include "placesfile/file_io.h"

namespace orvalin {

struct TemporaryFile {
  std::string name;  // in the target's folder
  Descriptor fd;     // open to read and write, marked as the live writer's
};

// A new, empty temporary file for the target `name` in the folder `dir`; fails with the
// system's error when none can be made.
TemporaryFile CreateTemporary(int dir, const std::string& name);

// Removes the temporary files for the target `name` whose writers died before their rename.
void RemoveLeftovers(int dir, const std::string& name);

}  // namespace orvalin
