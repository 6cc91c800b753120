// The calculation of one day: place and date from the window, results back into it.
#pragma once

#include "commands/session.h"
#include "commands/window.h"
#include "engine/sun_day.h"

namespace orvalin {

// Reports its own failures ("<description> in line <600|610|650> of ORVALIN", after a beep).
void CalculateDay(Session& s);

// The sun's day, each early return told after a beep: "No sunrise" or "No sunset" in the
// selected language, or "<description> in line <step> of EPHEMERIDES".
SunDay ComputeAndTellDay(Window& window, const Observer& observer, CivilDate date);

}  // namespace orvalin
