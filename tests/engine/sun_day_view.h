// The eight results of a day laid out as one record of doubles with a mask of those reached: the
// shape the tables of expected days are written in, and compared bit for bit.
#pragma once

#include <optional>

#include "engine/sun_day.h"

namespace orvalin {

struct SunValues {
  double SunriseTime = 0, SunriseAzimuth = 0, CulminationTime = 0, CulminationAzimuth = 0,
         SunsetTime = 0, SunsetAzimuth = 0, DayLength = 0, CulminationElevation = 0;
};

enum : unsigned {
  kStoredCulminationTime = 1u << 0,
  kStoredCulminationElevation = 1u << 1,
  kStoredSunriseTime = 1u << 2,
  kStoredSunsetTime = 1u << 3,
  kStoredDayLength = 1u << 4,
  kStoredSunriseAzimuth = 1u << 5,
  kStoredCulminationAzimuth = 1u << 6,
  kStoredSunsetAzimuth = 1u << 7,
  kStoredAll = 0xFFu,
};

struct SunDayView {
  SunValues values;
  unsigned stored = 0;
};

inline SunDayView View(const SunDay& day) {
  SunDayView view;
  const auto take = [&view](const std::optional<double>& from, double& to, unsigned flag) {
    if (!from) return;
    to = *from;
    view.stored |= flag;
  };
  SunValues& v = view.values;
  take(day.CulminationTime, v.CulminationTime, kStoredCulminationTime);
  take(day.CulminationElevation, v.CulminationElevation, kStoredCulminationElevation);
  take(day.SunriseTime, v.SunriseTime, kStoredSunriseTime);
  take(day.SunsetTime, v.SunsetTime, kStoredSunsetTime);
  take(day.DayLength, v.DayLength, kStoredDayLength);
  take(day.SunriseAzimuth, v.SunriseAzimuth, kStoredSunriseAzimuth);
  take(day.CulminationAzimuth, v.CulminationAzimuth, kStoredCulminationAzimuth);
  take(day.SunsetAzimuth, v.SunsetAzimuth, kStoredSunsetAzimuth);
  return view;
}

}  // namespace orvalin
