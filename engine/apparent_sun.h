// The sun's apparent geocentric place to about an arcsecond, for the phases of the moon and its
// light (the sun's day keeps Newcomb's theory, to which the window's results are bound).
#pragma once

#include "engine/nutation.h"

namespace orvalin {

struct SunPlace {
  double longitude;  // degrees, apparent: true equinox of the date, aberration included
  double distance;   // km
};

// At `t` Julian centuries of TT from J2000.0: VSOP87 (engine/vsop87_earth.h) turned geocentric,
// brought to the FK5 frame, with the nutation and the annual aberration (Meeus, Astronomical
// Algorithms, 2nd ed., 1998, ch. 25, "higher accuracy").
SunPlace ApparentSun(double t, const Nutation& nutation);

}  // namespace orvalin
