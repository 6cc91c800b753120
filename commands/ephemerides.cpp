#include "commands/ephemerides.h"

#include <optional>

#include "commands/messages.h"

namespace orvalin {
namespace {

void Keep(const std::optional<double>& value, double& result) {
  if (value) result = *value;
}

void KeepReached(const SunDay& day, DayResults& results) {
  Keep(day.CulminationTime, results.CulminationTime);
  Keep(day.CulminationElevation, results.CulminationElevation);
  Keep(day.SunriseTime, results.SunriseTime);
  Keep(day.SunsetTime, results.SunsetTime);
  Keep(day.DayLength, results.DayLength);
  Keep(day.SunriseAzimuth, results.SunriseAzimuth);
  Keep(day.CulminationAzimuth, results.CulminationAzimuth);
  Keep(day.SunsetAzimuth, results.SunsetAzimuth);
}

}  // namespace

SunDay EPHEMERIDES(Window& window, DayResults& results, double longitude_west, double latitude,
                   double horizon, std::int16_t day, std::int16_t month, std::int16_t year) {
  // The window counts longitudes West positive, the engine East.
  const SunDay sun = ComputeSunDay({latitude, -longitude_west, horizon}, {day, month, year});
  KeepReached(sun, results);
  switch (sun.outcome) {
    case SunOutcome::Complete:
      break;
    case SunOutcome::NoSunset:
      window.Beep();
      Tell(window, Message::NoSunset);
      break;
    case SunOutcome::NoSunrise:
      window.Beep();
      Tell(window, Message::NoSunrise);
      break;
    case SunOutcome::Fault:
      window.Beep();
      Tell(window, FaultReport(sun));
      break;
  }
  return sun;
}

}  // namespace orvalin
