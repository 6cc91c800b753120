#pragma once

#include "commands/session.h"

namespace orvalin {

// Record 1 into WorkPlace and the place fields; RecordN reads "1". Reports its own failures.
void LoadDefaultPlace(Session& s);

}  // namespace orvalin
