// The two time scales of the moon's computation: universal time, which the observer's clock and
// the Earth's turning follow, and Terrestrial Time (TT), in which the theories of the moon and the
// sun are written. Their difference, Delta T = TT - UT, is only known from observation; the model
// here extrapolates it.
#pragma once

namespace orvalin {

// Julian Day of J2000.0 (2000 January 1, 12 h TT) and the Julian year, days.
inline constexpr double kJ2000 = 2451545.0;
inline constexpr double kDaysPerJulianYear = 365.25;

// Delta T in seconds at a decimal year: the polynomials of Espenak and Meeus ("Polynomial
// Expressions for Delta T", NASA, 2006; Five Millennium Canon of Solar Eclipses, NASA/TP-2006-
// 214141), -1999 to +3000, and their parabola beyond. The year is continuous (2027.5 is mid-2027)
// rather than the month's middle the authors take, so that the value never jumps.
double DeltaTSeconds(double year);

// The decimal year of a Julian Day.
double DecimalYear(double julian_day);

// Julian centuries of TT from J2000.0 at a Julian Day of universal time, Delta T added.
double TerrestrialCenturies(double julian_day_ut);

}  // namespace orvalin
