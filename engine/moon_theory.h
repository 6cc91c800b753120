// The moon's geocentric place: the main terms of ELP-2000/82 as Meeus truncates them
// (Astronomical Algorithms, 2nd ed., 1998, ch. 47; engine/moon_terms.h), within about 10" in
// longitude and 4" in latitude of the whole theory.
#pragma once

#include "engine/nutation.h"

namespace orvalin::moon {

// The Earth's equatorial radius (WGS-84), km: the unit of the parallax and of the observer's place.
inline constexpr double kEarthRadius = 6378.137;

// Degrees and km.
struct EclipticPlace {
  double longitude;
  double latitude;
  double distance;
};

// The geometric place on the ecliptic and mean equinox of the date (the light time is in the
// theory's mean longitude), at `t` Julian centuries of TT from J2000.0.
EclipticPlace MeanPlace(double t);

// The apparent place: the ecliptic longitude with the nutation, and the right ascension and
// declination on the true equator and equinox of the date.
struct ApparentPlace {
  double longitude;        // degrees, [0, 360)
  double latitude;         // degrees
  double distance;         // km, between the centres
  double right_ascension;  // degrees, [0, 360)
  double declination;      // degrees
  double parallax;         // the equatorial horizontal parallax, degrees
};

ApparentPlace ApparentAt(double t, const Nutation& nutation);

}  // namespace orvalin::moon
