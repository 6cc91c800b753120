#include "cli/table/sun_moments.h"

#include "cli/table/moon_day.h"
#include "engine/helpers.h"
#include "engine/sun_path.h"

namespace orvalin {
namespace {

EventTime Shown(const LocalTime& t) { return {true, t, TimeText(t.hours), 1}; }

AngleValue Angle(double degrees) { return {true, degrees, AngleText(degrees)}; }

void SunAt(SunRow& row, const TablePlace& place, const LocalDay& day, double clock_hours) {
  const double ut = day.clock.UtHoursOf(day.date, clock_hours);
  const SunPath path(ObserverAt(place, kHorizonAltitude), CivilDateOf(day.date));
  const SunPosition p = path.PositionAt(ut);
  LocalTime moment = day.clock.AtHours(day.date, ut);
  if (moment.date == day.date) moment.hours = clock_hours;  // as asked, not as converted back
  row.at = Shown(moment);
  row.at_azimuth = Angle(p.azimuth);
  row.at_elevation = Angle(p.elevation);
  row.at_apparent_elevation = Angle(ApparentElevation(p.elevation));
}

void MoonAt(SunRow::MoonDay& moon, const TablePlace& place, const LocalDay& day,
            const SunSettings& settings, MoonPhases& phases) {
  const double ut = day.clock.UtHoursOf(day.date, *settings.at);
  const CivilDate date = CivilDateOf(day.date);
  const MoonSky sky(MoonObserverAt(place, settings.observer_metres), date);
  SetMoonAt(moon, MoonSeenAt(sky, date, ut, phases));
}

// The morning enters the band climbing through its low edge and leaves it through its high one;
// the evening the other way round.
SunRow::BandTimes Band(const TablePlace& place, const LocalDay& day, const AltitudeBand& band) {
  const DayCrossings low(place, day, band.low), high(place, day, band.high);
  return {AsEvent(low.Of(true)), AsEvent(high.Of(true)), AsEvent(high.Of(false)),
          AsEvent(low.Of(false))};
}

}  // namespace

void AddAskedMoments(SunRow& row, const TablePlace& place, const LocalDay& day,
                     const SunSettings& settings, MoonTables& moon) {
  if (settings.at) SunAt(row, place, day, *settings.at);
  if (settings.golden) row.golden = Band(place, day, *settings.golden);
  if (settings.blue) row.blue = Band(place, day, *settings.blue);
  if (settings.moon) AddMoon(row, place, day, settings.observer_metres, moon);
  if (settings.moon && settings.at) MoonAt(row.moon, place, day, settings, moon.phases);
}

MoonSeen MoonSeenAt(const MoonSky& sky, CivilDate date, double ut, MoonPhases& phases) {
  const MoonPosition p = sky.At(ut);
  return {p.azimuth, p.elevation, ApparentElevation(p.elevation),
          phases.LightAt(date, ut).illuminated};
}

void SetMoonAt(SunRow::MoonDay& moon, const MoonSeen& seen) {
  moon.at_azimuth = Angle(seen.azimuth);
  moon.at_elevation = Angle(seen.elevation);
  moon.at_apparent_elevation = Angle(seen.apparent_elevation);
  moon.at_illuminated = seen.illuminated;
}

}  // namespace orvalin
