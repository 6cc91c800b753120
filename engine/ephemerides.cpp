#include "engine/ephemerides.h"

namespace orvalin {

SunDay ComputeSunDay(double, double, double, std::int16_t, std::int16_t, std::int16_t) {
  return {};
}

EphemeridesStatus EPHEMERIDES(Window&, DayResults&, double, double, double, std::int16_t,
                              std::int16_t, std::int16_t) {
  return {};
}

}  // namespace orvalin
