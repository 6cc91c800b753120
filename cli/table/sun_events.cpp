#include "cli/table/sun_events.h"

#include <cmath>
#include <vector>

#include "cli/table/moon_day.h"
#include "common/out_text.h"
#include "engine/moon_phases.h"
#include "engine/sun_path.h"

namespace orvalin {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

constexpr double kMicrosecondsPerHour = 3.6e9;
constexpr double kSecondsPerHour = 3600;

// The event's moments within a universal day, hours from its 0 h, in order. Each day's own
// path: one path held over many days would drift from the sun's.
std::vector<double> HoursOn(const Body& body, const TablePlace& place, const BodyEvent& event) {
  const BodyPath path(body, place.latitude);
  if (event.culmination) return path.Culminations({0, 24});
  std::vector<double> hours;
  for (const BodyCrossing& c : path.Crossings(0, 24)) {
    if (c.rising == event.rising) hours.push_back(c.hours);
  }
  return hours;
}

std::vector<double> PhaseHoursOn(CivilDate date, PrincipalPhase phase, MoonTables& moon) {
  std::vector<double> hours;
  for (const PhaseMoment& p : moon.phases.Principal(date, {0, 24})) {
    if (p.phase == phase) hours.push_back(p.hours);
  }
  return hours;
}

std::vector<double> HoursOn(const TablePlace& place, sys_days day, const BodyEvent& event,
                            MoonTables& moon) {
  const CivilDate date = CivilDateOf(Day{day});
  switch (event.body) {
    case Sky::Sun:
      return HoursOn(SunPath(ObserverAt(place, event.altitude), date), place, event);
    case Sky::Moon:
      return HoursOn(MoonPath(MoonObserverAt(place, event.metres), date, moon.ephemeris), place,
                     event);
    case Sky::MoonPhase:
      break;
  }
  return PhaseHoursOn(date, event.phase, moon);
}

}  // namespace

std::array<BodyEvent, 2> BandEntries(const AltitudeBand& band) {
  return {BodyEvent{false, band.low, true}, BodyEvent{false, band.high, false}};
}

std::array<BodyEvent, 2> BandExits(const AltitudeBand& band) {
  return {BodyEvent{false, band.high, true}, BodyEvent{false, band.low, false}};
}

Instant InstantOf(Day day, double hours) {
  return Instant{sys_days{day}} +
         std::chrono::microseconds{std::llround(hours * kMicrosecondsPerHour)};
}

Instant InstantOf(const LocalTime& t) {
  return InstantOf(t.date, t.hours - t.offset_seconds / kSecondsPerHour);
}

std::string LocalIso(const Clock& clock, Instant moment) {
  const auto second = std::chrono::round<std::chrono::seconds>(moment);
  const sys_days day = std::chrono::floor<days>(second);
  const LocalTime t = clock.At(Day{day}, static_cast<double>((second - day).count()) / kSecondsPerHour);
  return IsoTimestamp(t.date, t.hours, t.offset_seconds);
}

std::optional<FoundEvent> NextEvent(const TablePlace& place, std::span<const BodyEvent> events,
                                    Instant after, Instant until) {
  MoonTables moon;
  // Day by day, each crossing found in the one universal day that holds it.
  for (sys_days day = std::chrono::floor<days>(after); Instant{day} <= until; day += days{1}) {
    std::optional<FoundEvent> first;
    for (std::size_t i = 0; i < events.size(); ++i) {
      for (const double hours : HoursOn(place, day, events[i], moon)) {
        const Instant at = InstantOf(Day{day}, hours);
        if (at <= after) continue;
        if (at <= until && (!first || at < first->at)) first = FoundEvent{at, i};
        break;
      }
    }
    if (first) return first;
  }
  return std::nullopt;
}

}  // namespace orvalin
