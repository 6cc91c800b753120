#include "commands/date_commands.h"

#include <cmath>
#include <optional>
#include <string>

#include "commands/calculate_day.h"
#include "commands/load_default.h"
#include "commands/messages.h"
#include "commands/place_steps.h"
#include "commands/working_date.h"
#include "engine/date_text.h"

namespace orvalin {
namespace {

enum class DateOverflow { IsRefused, Fails };

// A part out of its range is refused; so is an overflow unless it `Fails`.
std::optional<DateNumbers> ReadTypedDate(std::string_view text, DateOverflow overflow) {
  try {
    return ReadDateNumbers(text, PartRanges::Typed);
  } catch (const Failure&) {
    if (overflow == DateOverflow::Fails) throw;
    return std::nullopt;
  }
}

void RefuseDate(Session& s) {
  s.window.Beep();
  Tell(s.window, Message::DateFormatError);
}

// Digits without sign, at least two.
std::string TwoDigits(int n) {
  std::string digits = std::to_string(std::abs(n));
  return digits.size() < 2 ? "0" + digits : digits;
}

void LoadDefaultWithToday(Session& s) {
  SetTodayDate(s);
  LoadDefaultPlace(s);
  SetHorizonAltitude(s);
}

// Datejour one day forward or back, on the proleptic Gregorian calendar within years 1 to 9999.
void StepDay(Session& s, int step) {
  if (!IsPlaceLoaded(s)) {
    LoadDefaultWithToday(s);
    CalculateDay(s);
    return;
  }
  using namespace std::chrono;
  const auto typed = ReadTypedDate(s.window.FieldText(Field::Date), DateOverflow::IsRefused);
  // Days past 31 are refused before chrono::day, which keeps only 8 bits, is built.
  if (!typed) return RefuseDate(s);
  const year_month_day date{year{typed->year}, month{static_cast<unsigned>(typed->month)},
                            day{static_cast<unsigned>(typed->day)}};
  if (!date.ok() || typed->year < 1 || typed->year > 9999) return RefuseDate(s);
  const year_month_day stepped{sys_days{date} + std::chrono::days{step}};
  if (stepped.year() < year{1} || stepped.year() > year{9999}) return RefuseDate(s);
  s.window.SetFieldText(Field::Date, DateText(stepped));
  CalculateWithNewDate(s);
}

}  // namespace

void CheckDateAndCalculate(Session& s, DateOverflow overflow) {
  if (!IsPlaceLoaded(s)) return LoadDefaultWithToday(s);
  const auto date = ReadTypedDate(s.window.FieldText(Field::Date), overflow);
  if (!date) return RefuseDate(s);
  if (date->year > kPreciseUntilYear) Tell(s.window, Message::ImpreciseAfterLastYear);
  if (date->year < kPreciseFromYear) Tell(s.window, Message::ImpreciseBeforeFirstYear);
  s.window.SetFieldText(Field::Date, TwoDigits(date->day) + "-" + TwoDigits(date->month) + "-" +
                                         TwoDigits(date->year));
  CalculateDay(s);
}

void CalculateWithNewDate(Session& s) { CheckDateAndCalculate(s, DateOverflow::IsRefused); }
void CalculateWithNewDateOrFail(Session& s) { CheckDateAndCalculate(s, DateOverflow::Fails); }

void Today(Session& s) {
  SetTodayDate(s);
  s.window.SetFieldText(Field::Date, s.WorkDate);
  CalculateWithNewDate(s);
  CalculateDay(s);
}

void NextDay(Session& s) { StepDay(s, +1); }
void PreviousDay(Session& s) { StepDay(s, -1); }

}  // namespace orvalin
