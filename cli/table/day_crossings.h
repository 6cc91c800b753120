// A calendar day of a clock as the sun's crossings of one altitude within it: its events, and
// the stretches of it that the sun spends above the altitude.
#pragma once

#include <optional>
#include <vector>

#include "cli/table/sun_row.h"
#include "clock/clock.h"
#include "engine/sun_path.h"

namespace orvalin {

// A day of a clock, as universal hours from 0 h UT of its date.
struct LocalDay {
  Day date;
  Clock::UtSpan span;
  const Clock& clock;

  // Hours of the day's clock from its start: 0 at the start, 24 at the end whatever its length.
  double ClockHours(double ut) const;
};

class DayCrossings {
 public:
  DayCrossings(const TablePlace& place, const LocalDay& day, double altitude);

  // Complete with any crossing; without, NoSunset when the sun stays above, NoSunrise below.
  SunOutcome Status() const;
  // The stretches above the altitude, in hours of the day's clock; returns their universal
  // length in hours.
  double Stretches(std::vector<Stretch>& out) const;

  // Every crossing of a direction, on the day's clock, in order.
  struct Found {
    LocalTime time;
    double azimuth = 0;
  };
  std::vector<Found> Of(bool rising) const;

 private:
  const LocalDay& day_;
  std::vector<SunCrossing> list_;
  bool up_at_start_ = false;
};

// A row's event from a day's crossings of one direction: the first, how many, the later ones.
EventTime AsEvent(const std::vector<DayCrossings::Found>& found);

}  // namespace orvalin
