#include "cli/day_crossings.h"

#include <algorithm>

namespace orvalin {

double LocalDay::ClockHours(double ut) const {
  if (ut >= span.to) return 24;
  const LocalTime t = clock.AtHours(date, ut);
  return t.date == date ? t.hours : 0;
}

DayCrossings::DayCrossings(const TablePlace& place, const LocalDay& day, double altitude)
    : day_(day) {
  const SunPath path(ObserverAt(place, altitude), CivilDateOf(day.date));
  list_ = path.Crossings(day.span.from, day.span.to);
  up_at_start_ = path.Up(day.span.from);
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
  for (const SunCrossing& c : list_) {
    if (!c.rising) close(c.hours);
    up = c.rising;
    from = c.hours;
  }
  close(day_.span.to);
  return length;
}

DayCrossings::First DayCrossings::FirstOf(bool rising) const {
  First first;
  first.count = static_cast<int>(std::count_if(
      list_.begin(), list_.end(), [&](const SunCrossing& c) { return c.rising == rising; }));
  const auto it = std::find_if(list_.begin(), list_.end(),
                               [&](const SunCrossing& c) { return c.rising == rising; });
  if (it == list_.end()) return first;
  first.time = day_.clock.AtHours(day_.date, it->hours);
  first.time->date = day_.date;  // a moment of a repeated hour belongs to the day it ends
  first.time->day_shift = 0;
  first.azimuth = it->azimuth;
  return first;
}

}  // namespace orvalin
