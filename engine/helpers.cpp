#include "engine/helpers.h"

#include <cmath>
#include <string>

namespace orvalin {

double SinDeg(double x, double p) { return std::sin(x / 180 * p); }
double CosDeg(double x, double p) { return std::cos(x / 180 * p); }
double TanDeg(double x, double p) { return std::tan(x / 180 * p); }
double AtnDeg(double x, double p) { return std::atan(x) / p * 180; }
void FoldAzimuth(double&, double) {}
double Reduce360(double x) { return x; }
std::string NumberText(double x) {
  // Placeholder: integers only, replaced by the full general format.
  return (x < 0 ? "-" : " ") + std::to_string(static_cast<long long>(std::fabs(x)));
}
std::string TimeText(double) { return {}; }
std::string AngleText(double) { return {}; }

}  // namespace orvalin
