// Degree trigonometry with the caller's value of pi, as the written method spells each step:
// the plain transcription of the sun computation is checked against the engine with these.
#pragma once

#include <cmath>

namespace orvalin {

inline double SinDeg(double x, double p) { return std::sin(x / 180 * p); }
inline double CosDeg(double x, double p) { return std::cos(x / 180 * p); }
inline double TanDeg(double x, double p) { return std::tan(x / 180 * p); }
inline double AtnDeg(double x, double p) { return std::atan(x) / p * 180; }

}  // namespace orvalin
