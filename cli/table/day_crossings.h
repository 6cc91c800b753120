// A calendar day of a clock as a body's crossings of one altitude within it: its events, and
// the stretches of it that the body spends above the altitude.
#pragma once

#include <optional>
#include <vector>

#include "cli/table/sun_row.h"
#include "clock/clock.h"
#include "engine/body_path.h"

namespace orvalin {

// A day of a clock, as universal hours from 0 h UT of its date.
struct LocalDay {
  Day date;
  Clock::UtSpan span;
  const Clock& clock;

  // Hours of the day's clock from its start: 0 at the start, 24 at the end whatever its length.
  double ClockHours(double ut) const;
  // A moment within the day on its clock, and an angle that goes with it.
  struct Found {
    LocalTime time;
    double degrees = 0;
  };
  Found At(double ut, double degrees) const;
};

class DayCrossings {
 public:
  // The body at the place, crossing its own horizon altitude.
  DayCrossings(const Body& body, const TablePlace& place, const LocalDay& day);
  // The sun's centre crossing `altitude`.
  DayCrossings(const TablePlace& place, const LocalDay& day, double altitude);

  // Complete with any crossing; without, NoSunset when the body stays above, NoSunrise below.
  SunOutcome Status() const;
  // The stretches above the altitude, in hours of the day's clock; returns their universal
  // length in hours.
  double Stretches(std::vector<Stretch>& out) const;

  // Every crossing of a direction, on the day's clock with its azimuth, in order.
  using Found = LocalDay::Found;
  std::vector<Found> Of(bool rising) const;

 private:
  const LocalDay& day_;
  std::vector<BodyCrossing> list_;
  bool up_at_start_ = false;
};

// A row's event from a day's crossings of one direction: the first, how many, the later ones.
EventTime AsEvent(const std::vector<DayCrossings::Found>& found);

}  // namespace orvalin
