// Angle and time helpers: the sun computation's value of pi, and the texts of numbers, times and
// angles that the window shows.
#pragma once

#include <string>

namespace orvalin {

// The value of pi of the sun computation (15 significant digits, slightly below the double
// nearest to pi). The displayed seconds depend on it.
inline constexpr double kPi15 = 3.14159265358979;

// (x / 360 - floor(x / 360)) * 360, written as this product on purpose.
double Reduce360(double x);

// General text of a number: at most 15 significant digits, a blank or "-" in front, no zero
// before the point (".5", "-.61"), exponent form outside 1e-5 < |x| < 1e15 ("1E+15").
std::string NumberText(double x);
// Decimal hours as " 3h 45mn 19.5s".
std::string TimeText(double hours);
// Decimal degrees as "  55° 53' 32.2\"".
std::string AngleText(double degrees);

}  // namespace orvalin
