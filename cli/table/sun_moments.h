// What a table adds to a day on request: the sun at a time of the day, golden and blue hours.
#pragma once

#include "cli/table/day_crossings.h"
#include "cli/table/moon_day.h"
#include "cli/table/sun_row.h"
#include "engine/moon_sky.h"

namespace orvalin {

// `moon` is kept by the table from day to day.
void AddAskedMoments(SunRow& row, const TablePlace& place, const LocalDay& day,
                     const SunSettings& settings, MoonTables& moon);

// The moon at a moment, as a time of day or a path gives it beside the sun.
struct MoonSeen {
  double azimuth, elevation, apparent_elevation;  // degrees
  double illuminated;                              // fraction of the disc, 0 to 1
};

// The moon `sky` shows `ut` hours of universal time after 0 h of `date`, its sky's date, its
// light from `phases`.
MoonSeen MoonSeenAt(const MoonSky& sky, CivilDate date, double ut, MoonPhases& phases);

// Into the row's members of the moon at a time of day.
void SetMoonAt(SunRow::MoonDay& moon, const MoonSeen& seen);

}  // namespace orvalin
