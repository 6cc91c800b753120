// For tests of two writers, built into orvalin-driver only with ORVALIN_TEST_HOOKS: with
// ORVALIN_TEST_HOLD_LOCK naming a flag file, every lock the window takes makes the flag and is
// held until the flag is removed, so that another program meets a held lock; a minute at most,
// so that a forgotten flag does not hang a test run.
#pragma once

#include "placesfile/places_file.h"

namespace orvalin {

void HoldLocksAsTheEnvironmentSays(PlacesFile& file);

}  // namespace orvalin
