// A body crossing an altitude over any span of time, whatever the body: the events of a day on
// any clock, however it straddles universal days, and however close two crossings come near the
// poles. The body says where it stands at a moment; the search finds its transits and crossings.
#pragma once

#include <vector>

#include "engine/coordinates.h"
#include "engine/newcomb_sun.h"
#include "engine/observer.h"

namespace orvalin {

// Where a body stands at a moment, as its crossings are computed from: its local hour angle and
// declination, degrees, and the sine of the altitude of its centre at which it rises and sets
// (for a near body it changes with its distance).
struct BodyPlace {
  double hour_angle;  // [-180, 180), west of the meridian > 0
  double delta;
  double sin_horizon;
  // What the search reads of the two angles at every step.
  double sin_delta, cos_delta, cos_hour_angle;
};

// How a body's hour angle runs: its mean pace, in sidereal hours per solar hour (the hour angle
// turns 15 degrees times this an hour), and the steps of the search for a transit, each a
// correction by that pace.
struct BodyPace {
  double per_solar_hour;
  int transit_steps;
  int culmination_steps;  // of the search for a culmination told as an event
  int hour_angle_steps;   // towards the hour angle of rise and set, before bracketing
};

class Body {
 public:
  Body() = default;
  Body(const Body&) = default;
  Body& operator=(const Body&) = default;
  virtual ~Body() = default;

  // Times are hours from 0 h UT of a date the body holds.
  virtual BodyPlace At(double hours) const = 0;
  virtual BodyPace Pace() const = 0;
};

struct BodyCrossing {
  double hours;    // from 0 h UT of the body's date
  bool rising;     // upwards (rise, dawn) or downwards (set, dusk)
  double azimuth;  // degrees, true, from the north through the east
};

class BodyPath {
 public:
  // The body must outlive the path.
  BodyPath(const Body& body, Latitude latitude);

  // Every crossing of the body's horizon altitude within [from, to), in order.
  std::vector<BodyCrossing> Crossings(double from, double to) const;
  // Every upper transit of the body (its culmination) within the span, in order.
  std::vector<double> Culminations(HourSpan span) const;
  // Whether the body's centre stands above its horizon altitude at `hours`.
  bool Up(double hours) const;

 private:
  struct Moment {
    double hours;
    double height;  // sine of the altitude less that of the horizon altitude
    BodyPlace place;
  };
  // Which transit: the upper one (hour angle 0, the body at its highest) or the lower (180).
  enum class Meridian { Upper, Lower };
  static Meridian Opposite(Meridian meridian);
  // Two transits in turn, the earlier `low`, with the horizon altitude between their heights.
  struct Transits {
    Moment low, high;
  };
  Moment At(double hours) const;
  double HoursOfTurn(double degrees) const;
  newcomb::Place PlaceOf(const Moment& m) const;
  double Azimuth(const Moment& m, double hour_angle) const;
  Moment Transit(double guess, Meridian meridian) const;
  Moment Culmination(Moment m) const;
  BodyCrossing Between(const Transits& transits) const;
  BodyCrossing Bracketed(const Transits& transits) const;

  const Body& body_;
  BodyPace pace_;
  double sin_latitude_;
  double cos_latitude_;
};

}  // namespace orvalin
