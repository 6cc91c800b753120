// The sun's centre crossing an altitude over any span of time: the events of a day on any clock,
// however it straddles universal days, and however close two crossings come near the poles.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/newcomb_sun.h"

namespace orvalin {

struct SunCrossing {
  double hours;    // from 0 h UT of the path's date
  bool rising;     // upwards (sunrise, dawn) or downwards (sunset, dusk)
  double azimuth;  // degrees, true, from the north through the east
};

class SunPath {
 public:
  // Times are counted in hours from 0 h UT of this Gregorian date; any span of some days around
  // it may be asked about. `horizon`: the altitude of the crossings, degrees.
  SunPath(double longitude_west, double latitude, double horizon, std::int16_t day,
          std::int16_t month, std::int16_t year);

  // Every crossing of the horizon altitude within [from, to), in order.
  std::vector<SunCrossing> Crossings(double from, double to) const;
  // Whether the sun's centre stands above the horizon altitude at `hours`.
  bool Up(double hours) const;

 private:
  struct Moment {
    double hours;
    double height;  // sine of the altitude less that of the horizon altitude
    newcomb::Sun sun;
    double hour_angle;  // local, degrees
  };
  Moment At(double hours) const;
  Moment Transit(double guess, double hour_angle) const;
  SunCrossing Between(const Moment& low, const Moment& high) const;

  newcomb::Place place_;
  double t0_;
  double s0_;
};

}  // namespace orvalin
