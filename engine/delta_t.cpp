#include "engine/delta_t.h"

#include <array>
#include <cstddef>

namespace orvalin {
namespace {

constexpr double kSecondsPerDay = 86400;
constexpr double kDaysPerCentury = 36525;
constexpr double kYearsPerCentury = 100;
constexpr double kYearOfJ2000 = 2000;

// One of the polynomials: valid from `until` of the one before up to `until`, evaluated in
// u = (year - origin) / scale, coefficients from the constant term up, seconds.
struct Piece {
  double until;
  double origin;
  double scale;
  std::array<double, 8> c;
};

// Espenak and Meeus (NASA, 2006). The terms written t^3 / 7129, t^4 / 1174000, t^5 / 233174,
// t^2 / 233, t^3 / 2547, t^2 / 260 and t^3 / 718 there are written as their coefficients here.
// clang-format off
constexpr std::array<Piece, 12> kPieces{{
    {500, 0, 100,
     {10583.6, -1014.41, 33.78311, -5.952053, -0.1798452, 0.022174192, 0.0090316521, 0}},
    {1600, 1000, 100,
     {1574.2, -556.01, 71.23472, 0.319781, -0.8503463, -0.005050998, 0.0083572073, 0}},
    {1700, 1600, 1, {120, -0.9808, -0.01532, 1 / 7129.0, 0, 0, 0, 0}},
    {1800, 1700, 1, {8.83, 0.1603, -0.0059285, 0.00013336, -1 / 1174000.0, 0, 0, 0}},
    {1860, 1800, 1,
     {13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436, 0.0000121272, -0.0000001699,
      0.000000000875}},
    {1900, 1860, 1, {7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1 / 233174.0, 0, 0}},
    {1920, 1900, 1, {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197, 0, 0, 0}},
    {1941, 1920, 1, {21.20, 0.84493, -0.076100, 0.0020936, 0, 0, 0, 0}},
    {1961, 1950, 1, {29.07, 0.407, -1 / 233.0, 1 / 2547.0, 0, 0, 0, 0}},
    {1986, 1975, 1, {45.45, 1.067, -1 / 260.0, -1 / 718.0, 0, 0, 0, 0}},
    {2005, 2000, 1, {63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599, 0, 0}},
    {2050, 2000, 1, {62.92, 0.32217, 0.005589, 0, 0, 0, 0, 0}},
}};
// clang-format on

// Before -500 and after 2150: -20 + 32 u^2, u in centuries from 1820 (Morrison and Stephenson,
// 2004); from 2050 to 2150 the same less 0.5628 (2150 - year), which joins the two.
constexpr double kFirstPolynomialYear = -500;
constexpr double kLastJoinedYear = 2150;
constexpr double kParabolaOrigin = 1820;
constexpr double kParabolaConstant = -20;
constexpr double kParabolaCurvature = 32;
constexpr double kJoinSlope = 0.5628;

double Polynomial(const Piece& p, double year) {
  const double u = (year - p.origin) / p.scale;
  double sum = 0;
  for (std::size_t k = p.c.size(); k-- > 0;) sum = sum * u + p.c[k];
  return sum;
}

double Parabola(double year) {
  const double u = (year - kParabolaOrigin) / kYearsPerCentury;
  return kParabolaConstant + kParabolaCurvature * u * u;
}

}  // namespace

double DeltaTSeconds(double year) {
  if (year < kFirstPolynomialYear || year >= kLastJoinedYear) return Parabola(year);
  for (const Piece& p : kPieces) {
    if (year < p.until) return Polynomial(p, year);
  }
  return Parabola(year) - kJoinSlope * (kLastJoinedYear - year);
}

double DecimalYear(double julian_day) {
  return kYearOfJ2000 + (julian_day - kJ2000) / kDaysPerJulianYear;
}

double TerrestrialCenturies(double julian_day_ut) {
  const double tt = julian_day_ut + DeltaTSeconds(DecimalYear(julian_day_ut)) / kSecondsPerDay;
  return (tt - kJ2000) / kDaysPerCentury;
}

}  // namespace orvalin
