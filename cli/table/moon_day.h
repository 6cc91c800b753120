// The moon on a day of a clock: its rises, transits and sets, its phase and its light.
#pragma once

#include <string_view>

#include "cli/table/day_crossings.h"
#include "cli/table/sun_row.h"
#include "engine/moon_phases.h"
#include "engine/moon_sky.h"

namespace orvalin {

// The moon seen from `place`, its horizon lowered by the dip from `metres` above the ground.
MoonObserver MoonObserverAt(const TablePlace& place, double metres);

// What the moon's days of one table share: the ephemeris and the phases found.
struct MoonTables {
  MoonTables() = default;
  MoonTables(const MoonTables&) = delete;
  MoonTables& operator=(const MoonTables&) = delete;
  ~MoonTables() = default;

  MoonEphemeris ephemeris;
  MoonPhases phases{&ephemeris};
};

// Fills `row.moon`, and names in the row's note a moonrise or moonset the day lacks or holds twice.
void AddMoon(SunRow& row, const TablePlace& place, const LocalDay& day, double metres,
             MoonTables& tables);

// "New Moon", "Waxing Crescent", ... "Full Moon", ... "Waning Crescent".
std::string_view PhaseText(PhaseName name);
// "New Moon", "First Quarter", "Full Moon", "Last Quarter".
std::string_view PhaseText(PrincipalPhase phase);

}  // namespace orvalin
