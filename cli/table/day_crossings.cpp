#include "cli/table/day_crossings.h"

#include "engine/helpers.h"
#include "engine/sun_path.h"

namespace orvalin {

double LocalDay::ClockHours(double ut) const {
  if (ut >= span.to) return 24;
  const LocalTime t = clock.AtHours(date, ut);
  return t.date == date ? t.hours : 0;
}

DayCrossings::DayCrossings(const Body& body, const TablePlace& place, const LocalDay& day)
    : day_(day) {
  const BodyPath path(body, place.latitude);
  list_ = path.Crossings(day.span.from, day.span.to);
  up_at_start_ = path.Up(day.span.from);
}

DayCrossings::DayCrossings(const TablePlace& place, const LocalDay& day, double altitude)
    : DayCrossings(SunPath(ObserverAt(place, altitude), CivilDateOf(day.date)), place, day) {}

LocalDay::Found LocalDay::At(double ut, double degrees) const {
  LocalTime time = clock.AtHours(date, ut);
  time.date = date;  // a moment of a repeated hour belongs to the day it ends
  time.day_shift = 0;
  return {time, degrees};
}

SunOutcome DayCrossings::Status() const {
  if (!list_.empty()) return SunOutcome::Complete;
  return up_at_start_ ? SunOutcome::NoSunset : SunOutcome::NoSunrise;
}

double DayCrossings::Stretches(std::vector<Stretch>& out) const {
  double length = 0, from = day_.span.from;
  // The crossings decide, where one lies so near the start that the altitude there could err.
  bool up = list_.empty() ? up_at_start_ : !list_.front().rising;
  const auto close = [&](double to) {
    if (!up) return;
    length += to - from;
    out.push_back({day_.ClockHours(from), day_.ClockHours(to)});
  };
  for (const BodyCrossing& c : list_) {
    if (!c.rising) close(c.hours);
    up = c.rising;
    from = c.hours;
  }
  close(day_.span.to);
  return length;
}

std::vector<DayCrossings::Found> DayCrossings::Of(bool rising) const {
  std::vector<Found> found;
  for (const BodyCrossing& c : list_) {
    if (c.rising != rising) continue;
    found.push_back(day_.At(c.hours, c.azimuth));
  }
  return found;
}

EventTime AsEvent(const std::vector<DayCrossings::Found>& found) {
  EventTime e;
  e.count = static_cast<int>(found.size());
  if (found.empty()) return e;
  e.known = true;
  e.local = found.front().time;
  e.text = TimeText(e.local.hours);
  for (std::size_t i = 1; i < found.size(); ++i)
    e.later.push_back({found[i].time, found[i].degrees});
  return e;
}

}  // namespace orvalin
