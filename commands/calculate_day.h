// The calculation of one day: place and date from the window, results back into it.
#pragma once

#include "commands/session.h"

namespace orvalin {

// Reports its own failures ("<description> in line <600|610|650> of ORVALIN", after a beep).
void CalculateDay(Session& s);

}  // namespace orvalin
