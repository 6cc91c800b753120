// What the window does once it has been created.
#pragma once

#include "commands/session.h"

namespace orvalin {

// Captions, data directory, today's date, the default place and its results.
void StartUp(Session& s);

}  // namespace orvalin
