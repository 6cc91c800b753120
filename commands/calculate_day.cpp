#include "commands/calculate_day.h"

#include <optional>
#include <string>

#include "commands/verif_angle.h"
#include "commands/working_date.h"
#include "common/read_number.h"
#include "common/text.h"
#include "engine/date_text.h"
#include "engine/helpers.h"

namespace orvalin {
namespace {

// A result the computation did not reach is shown empty, never another day's value.
void ShowResult(Session& s, Field field, const std::optional<double>& reached,
                std::string (*format)(double)) {
  s.window.SetFieldText(field, reached ? format(*reached) : std::string());
}

}  // namespace

// Steps of the calculation, as its failure reports number them.
namespace calculate_day {
constexpr std::string_view kLabel = "ORVALIN";
constexpr int kTakePlace = 600, kCompute = 610, kShowResults = 650;
}  // namespace calculate_day

void CalculateDay(Session& s) {
  using namespace calculate_day;
  int line = kTakePlace;
  try {
    s.WorkPlace.PlaceName = FixedText(s.window.FieldText(Field::City), kNameWidth);
    s.WorkPlace.LongitudeText = FixedText(s.window.FieldText(Field::Longitude), kAngleWidth);
    s.WorkPlace.LatitudeText = FixedText(s.window.FieldText(Field::Latitude), kAngleWidth);
    s.WorkPlace.GmtHours = RoundToInt16(ReadNumber(s.window.FieldText(Field::Gmt)));

    line = kCompute;
    double longitude = 0, latitude = 0;
    s.Calculated.reset();
    VerifAngle(s.window, s.WorkPlace.LongitudeText, longitude);
    VerifAngle(s.window, s.WorkPlace.LatitudeText, latitude);
    s.Calculated = Session::CalculatedPlace{latitude, longitude};
    if (s.window.FieldText(Field::Date).empty()) SetTodayDate(s);
    // No range test: EPHEMERIDES takes the numbers as they are.
    const auto date = ReadDateNumbers(s.window.FieldText(Field::Date), PartRanges::Unchecked);
    if (!date) Fail(Fault::InvalidCall);
    const SunDay day = EPHEMERIDES(s.window, s.DayResults, longitude, latitude, s.HorizonAltitude,
                                   date->day, date->month, date->year);

    line = kShowResults;
    ShowResult(s, Field::SunriseTime, day.SunriseTime, TimeText);
    ShowResult(s, Field::SunriseAzimuth, day.SunriseAzimuth, AngleText);
    ShowResult(s, Field::CulminationTime, day.CulminationTime, TimeText);
    ShowResult(s, Field::CulminationAzimuth, day.CulminationAzimuth, AngleText);
    ShowResult(s, Field::SunsetTime, day.SunsetTime, TimeText);
    ShowResult(s, Field::SunsetAzimuth, day.SunsetAzimuth, AngleText);
    s.window.SetFieldText(Field::Horizon, NumberText(s.HorizonAltitude));
    ShowResult(s, Field::DayLength, day.DayLength, TimeText);
    ShowResult(s, Field::CulminationElevation, day.CulminationElevation, AngleText);
  } catch (const Failure& failure) {
    s.window.Beep();
    Tell(s.window, ReportText(Description(failure.fault()), line, kLabel));
  }
}

}  // namespace orvalin
