// From the mean equator and equinox of the date to the true ones: the nutation and the obliquity
// of the ecliptic, for the apparent places of the moon and the sun.
#pragma once

namespace orvalin {

// Degrees: the nutation in longitude and in obliquity, and the mean obliquity.
struct Nutation {
  double longitude;
  double obliquity;
  double mean_obliquity;

  double TrueObliquity() const { return mean_obliquity + obliquity; }
  // The equation of the equinoxes: apparent less mean sidereal time, degrees.
  double EquinoxEquation() const;
};

// At `t` Julian centuries of TT from J2000.0. The four main terms of the IAU 1980 theory as Meeus
// gives them (Astronomical Algorithms, 2nd ed., 1998, ch. 22), within 0.5" in longitude and 0.1"
// in obliquity of the whole series, and the mean obliquity of Lieske (IAU 1976, Meeus eq. 22.2).
Nutation NutationAt(double t);

}  // namespace orvalin
