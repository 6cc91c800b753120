#include "cli/table/moon_day.h"

#include <string>
#include <vector>

#include "common/out_text.h"
#include "engine/body_path.h"
#include "engine/helpers.h"

namespace orvalin {
namespace {

// The moon's light is told at this time of the row's day on its clock, hours.
constexpr double kLightHour = 12;

constexpr std::string_view kPhaseNames[] = {"New Moon",       "Waxing Crescent", "First Quarter",
                                            "Waxing Gibbous", "Full Moon",       "Waning Gibbous",
                                            "Last Quarter",   "Waning Crescent"};
// The principal phases among the names, one in two.
constexpr std::size_t kNamesPerQuarter = 2;

AngleValue Angle(double degrees) { return {true, degrees, AngleText(degrees)}; }

// "no moonrise on this day", or "two moonsets on this day (the second at 23:58:12)".
void NoteCount(SunRow& row, const EventTime& event, std::string_view name) {
  if (event.count == 0) AddNote(row, "no " + std::string(name) + " on this day");
  if (event.count > 1 && !event.later.empty()) {
    AddNote(row, "two " + std::string(name) + "s on this day (the second at " +
                     ClockText(event.later.front().local.hours, false, true) + ")");
  }
}

void Transits(SunRow::MoonDay& moon, const MoonPath& path, const TablePlace& place,
              const LocalDay& day) {
  std::vector<DayCrossings::Found> found;
  for (const double ut :
       BodyPath(path, place.latitude).Culminations({day.span.from, day.span.to})) {
    found.push_back(day.At(ut, path.PositionAt(ut).elevation));
  }
  moon.transit = AsEvent(found);
  if (!found.empty()) moon.transit_elevation = Angle(found.front().degrees);
}

}  // namespace

MoonObserver MoonObserverAt(const TablePlace& place, double metres) {
  return {place.latitude, place.longitude, metres};
}

void AddMoon(SunRow& row, const TablePlace& place, const LocalDay& day, double metres,
             MoonTables& tables) {
  SunRow::MoonDay& moon = row.moon;
  const CivilDate date = CivilDateOf(day.date);
  const MoonPath path(MoonObserverAt(place, metres), date, tables.ephemeris);
  const DayCrossings horizon(path, place, day);
  const auto rises = horizon.Of(true), sets = horizon.Of(false);
  moon.rise = AsEvent(rises);
  moon.set = AsEvent(sets);
  if (!rises.empty()) moon.rise_azimuth = Angle(rises.front().degrees);
  if (!sets.empty()) moon.set_azimuth = Angle(sets.front().degrees);
  Transits(moon, path, place, day);
  NoteCount(row, moon.rise, "moonrise");
  NoteCount(row, moon.set, "moonset");
  const HourSpan span{day.span.from, day.span.to};
  const std::vector<PhaseMoment> phases = tables.phases.Principal(date, span);
  std::vector<LocalDay::Found> principal;
  principal.reserve(phases.size());
  for (const PhaseMoment& p : phases) principal.push_back(day.At(p.hours, 0));
  moon.principal = AsEvent(principal);
  const double noon = day.clock.UtHoursOf(day.date, kLightHour);
  const MoonLight light = tables.phases.LightAt(date, noon);
  // Without a principal phase the moon's lead keeps within one quarter all day: noon's tells it.
  const bool noon_within = noon >= span.from && noon < span.to;
  moon.phase = PhaseText(noon_within ? DayPhase(phases, light.lead)
                                     : tables.phases.DayPhase(date, span));
  moon.light_known = true;
  moon.illuminated = light.illuminated;
  moon.age = light.age;
}

std::string_view PhaseText(PhaseName name) { return kPhaseNames[static_cast<int>(name)]; }

std::string_view PhaseText(PrincipalPhase phase) {
  return kPhaseNames[kNamesPerQuarter * static_cast<std::size_t>(phase)];
}

}  // namespace orvalin
