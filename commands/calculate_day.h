// The calculation of one day: place and date from the window, results back into it.
#pragma once

#include <cstdint>

#include "commands/session.h"
#include "commands/window.h"
#include "engine/sun_day.h"

namespace orvalin {

// Reports its own failures ("<description> in line <600|610|650> of ORVALIN", after a beep).
void CalculateDay(Session& s);

// The sun's day at a West-positive longitude, each early return told after a beep: "No sunrise"
// or "No sunset" in the selected language, or "<description> in line <step> of EPHEMERIDES".
SunDay ComputeAndTellDay(Window& window, double longitude_west, double latitude, double horizon,
                         std::int16_t day, std::int16_t month, std::int16_t year);

}  // namespace orvalin
