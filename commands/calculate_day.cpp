#include "commands/calculate_day.h"

#include <string>

#include "commands/verif_angle.h"
#include "common/read_number.h"
#include "common/text.h"
#include "commands/working_date.h"
#include "engine/helpers.h"

namespace orvalin {
namespace {

struct DayMonthYear {
  std::int16_t day = 0, month = 0, year = 0;
};

// Day before the first "-", month up to the next one (0 without it), year after it (the whole
// text without it). No range test: EPHEMERIDES takes the numbers as they are.
DayMonthYear SplitDate(const std::string& text) {
  const std::size_t p1 = text.find('-');
  if (p1 == std::string::npos) Fail(Fault::InvalidCall);  // no day part
  DayMonthYear date;
  date.day = RoundToInt16(ReadNumber(std::string_view(text).substr(0, p1)));
  const std::size_t p2 = text.find('-', p1 + 1);
  if (p2 == std::string::npos) {
    date.year = RoundToInt16(ReadNumber(text));
  } else {
    date.month = RoundToInt16(ReadNumber(std::string_view(text).substr(p1 + 1, p2 - p1 - 1)));
    date.year = RoundToInt16(ReadNumber(std::string_view(text).substr(p2 + 1)));
  }
  return date;
}

// A result the computation did not store is shown empty, never another day's value.
void ShowResult(Session& s, const char* field, unsigned stored, unsigned flag,
                std::string (*format)(double), double value) {
  s.window.SetFieldText(field, (stored & flag) != 0 ? format(value) : std::string());
}

}  // namespace

void CalculateDay(Session& s) {
  int line = 600;
  try {
    s.WorkPlace.PlaceName = FixedText(s.window.FieldText("City"), kNameWidth);
    s.WorkPlace.LongitudeText = FixedText(s.window.FieldText("Longitude"), kAngleWidth);
    s.WorkPlace.LatitudeText = FixedText(s.window.FieldText("Latitude"), kAngleWidth);
    s.WorkPlace.GmtHours = RoundToInt16(ReadNumber(s.window.FieldText("GMT")));

    line = 610;
    double longitude = 0, latitude = 0;
    VerifAngle(s.window, s.WorkPlace.LongitudeText, longitude);
    VerifAngle(s.window, s.WorkPlace.LatitudeText, latitude);
    if (s.window.FieldText("Datejour").empty()) SetTodayDate(s);
    const DayMonthYear date = SplitDate(s.window.FieldText("Datejour"));
    const EphemeridesStatus status =
        EPHEMERIDES(s.window, s.DayResults, longitude, latitude, s.HorizonAltitude, date.day,
                    date.month, date.year);

    line = 650;
    const DayResults& r = s.DayResults;
    const unsigned stored = status.stored;
    ShowResult(s, "SunRise", stored, kStoredSunriseTime, TimeText, r.SunriseTime);
    ShowResult(s, "Azimuth", stored, kStoredSunriseAzimuth, AngleText, r.SunriseAzimuth);
    ShowResult(s, "Culmination", stored, kStoredCulminationTime, TimeText, r.CulminationTime);
    ShowResult(s, "Azimuth3", stored, kStoredCulminationAzimuth, AngleText, r.CulminationAzimuth);
    ShowResult(s, "SunSet", stored, kStoredSunsetTime, TimeText, r.SunsetTime);
    ShowResult(s, "Azimuth2", stored, kStoredSunsetAzimuth, AngleText, r.SunsetAzimuth);
    s.window.SetFieldText("Horizon", NumberText(s.HorizonAltitude));
    ShowResult(s, "Duration", stored, kStoredDayLength, TimeText, r.DayLength);
    ShowResult(s, "Elevation", stored, kStoredCulminationElevation, AngleText,
               r.CulminationElevation);
  } catch (const Failure& failure) {
    s.window.Beep();
    Tell(s.window, ReportText(Description(failure.fault()), line, "ORVALIN"));
  }
}

}  // namespace orvalin
