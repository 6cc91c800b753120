#include "commands/calculate_day.h"

#include <optional>
#include <string>

#include "commands/angle_entry.h"
#include "commands/place_steps.h"
#include "commands/steps.h"
#include "commands/trap.h"
#include "commands/working_date.h"
#include "engine/date_text.h"
#include "engine/helpers.h"

namespace orvalin {
namespace {

// A result the computation did not reach is shown empty, never another day's value.
void ShowResult(Session& s, Field field, const std::optional<double>& reached,
                std::string (*format)(double)) {
  s.window.SetFieldText(field, reached ? format(*reached) : std::string());
}

void ShowResults(Session& s, const SunDay& day) {
  ShowResult(s, Field::SunriseTime, day.SunriseTime, TimeText);
  ShowResult(s, Field::SunriseAzimuth, day.SunriseAzimuth, AngleText);
  ShowResult(s, Field::CulminationTime, day.CulminationTime, TimeText);
  ShowResult(s, Field::CulminationAzimuth, day.CulminationAzimuth, AngleText);
  ShowResult(s, Field::SunsetTime, day.SunsetTime, TimeText);
  ShowResult(s, Field::SunsetAzimuth, day.SunsetAzimuth, AngleText);
  s.window.SetFieldText(Field::Horizon, NumberText(s.HorizonAltitude));
  ShowResult(s, Field::DayLength, day.DayLength, TimeText);
  ShowResult(s, Field::CulminationElevation, day.CulminationElevation, AngleText);
}

std::string EarlyReturnText(const Window& window, const SunDay& sun) {
  switch (sun.outcome) {
    case SunOutcome::Complete:
      break;
    case SunOutcome::NoSunset:
      return std::string(TextOf(window, Message::NoSunset));
    case SunOutcome::NoSunrise:
      return std::string(TextOf(window, Message::NoSunrise));
    case SunOutcome::Fault:
      return FaultReport(sun);
  }
  return {};
}

}  // namespace

SunDay ComputeAndTellDay(Window& window, const Observer& observer, CivilDate date) {
  const SunDay sun = ComputeSunDay(observer, date);
  if (sun.outcome != SunOutcome::Complete) {
    window.Beep();
    Tell(window, EarlyReturnText(window, sun));
  }
  return sun;
}

void CalculateDay(Session& s) {
  using namespace steps::calculate_day;
  int step = kTakePlace;
  RunTrapped(
      s, kLabel, step,
      [&] {
        TakePlace(s);
        step = kCompute;
        // An angle that cannot be read counts as 0.
        Longitude longitude = Longitude::FromWest(0);
        Latitude latitude(0);
        s.Calculated.reset();
        ReadAngleEntry(s.window, s.WorkPlace.LongitudeText, longitude);
        ReadAngleEntry(s.window, s.WorkPlace.LatitudeText, latitude);
        s.Calculated = Session::CalculatedPlace{latitude, longitude};
        if (s.window.FieldText(Field::Date).empty()) SetTodayDate(s);
        // No range test: the computation takes the numbers as they are.
        const auto date = ReadDateNumbers(s.window.FieldText(Field::Date), PartRanges::Unchecked);
        if (!date) Fail(Fault::InvalidCall);
        s.LastDay = ComputeAndTellDay(s.window, {latitude, longitude, s.HorizonAltitude},
                                      {date->day, date->month, date->year});
        step = kShowResults;
        ShowResults(s, s.LastDay);
      },
      {.beeps = true, .first = {}});
}

}  // namespace orvalin
